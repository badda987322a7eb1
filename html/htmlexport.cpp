#include "html/htmlexport.h"

#include <QDir>

#include "document/savefile.h"
#include "html/ChtmlDlg.h"
#include "html/htmlexportvalues.h"
#include "html/htmlpage.h"
#include "panels/dialogs.h"
#include "panels/messagebox.h"
#include "stage/CRKeditDoc.h"

bool runHtmlExport(QWidget* parent, CRKeditDoc& doc) {
    ChtmlDlg dialog(parent);
    dialog.values = HtmlExportValues::from(doc);
    dialog.initRadioButtons = true;
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const bool changed = dialog.values.storeInto(doc);
    WriteHtmlPage(parent, doc);
    return changed;
}

bool saveHtmlFile(const QString& path, std::string_view bytes, QString& error) {
    error = saveFileWhole(path, QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    return error.isEmpty();
}

bool WriteHtmlPage(QWidget* parent, const CRKeditDoc& doc) {
    // The page is complete before the file chooser opens.
    const std::string page = composeHtmlPage(doc);

    FileChoice choice;
    choice.mode = FileChoice::Mode::Save; // asks before replacing an existing file
    choice.defaultSuffix = QStringLiteral("html");
    choice.nameFilters = QStringList(QStringLiteral("htmlファイル (*.html *.htm)"));
    const QString path = Dialogs::current().chooseFile(parent, choice);
    if (path.isEmpty())
        return false;

    QString error;
    if (!saveHtmlFile(path, page, error)) {
        showMessage(QStringLiteral("HTMLファイル %1 を書き出せませんでした。\n%2")
                        .arg(QDir::toNativeSeparators(path), error),
                    parent);
        return false;
    }
    return true;
}
