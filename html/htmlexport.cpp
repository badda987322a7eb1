#include "html/htmlexport.h"

#include <QDir>
#include <QFileInfo>

#include "document/savefile.h"
#include "html/ChtmlDlg.h"
#include "html/htmlexportvalues.h"
#include "html/htmlpage.h"
#include "panels/dataexchange.h"
#include "panels/dialogs.h"
#include "panels/messagebox.h"
#include "stage/CRKeditDoc.h"

bool runHtmlExport(QWidget* parent, CRKeditDoc& doc, const QString& stagePath) {
    ChtmlDlg dialog(parent);
    dialog.values = HtmlExportValues::from(doc);
    // A page whose movie is given no stage file loads none: while no name is set, the stage's
    // own file is proposed (it is stored only when the user accepts).
    if (dialog.values.configFileName.empty() && !stagePath.isEmpty()) {
        if (const auto name = displayToCp932(QFileInfo(stagePath).fileName()))
            dialog.values.configFileName = *name;
    }
    dialog.initRadioButtons = true;
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const bool changed = dialog.values.storeInto(doc);
    WriteHtmlPage(parent, doc, stagePath);
    return changed;
}

QString proposedPagePath(const QString& stagePath) {
    if (stagePath.isEmpty())
        return {};
    const QFileInfo stage(stagePath);
    return stage.dir().filePath(stage.completeBaseName() + QStringLiteral(".html"));
}

bool saveHtmlFile(const QString& path, std::string_view bytes, QString& error) {
    error = saveFileWhole(path, QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    return error.isEmpty();
}

bool WriteHtmlPage(QWidget* parent, const CRKeditDoc& doc, const QString& stagePath) {
    // The page is complete before the file chooser opens.
    const std::string page = composeHtmlPage(doc);

    FileChoice choice;
    choice.mode = FileChoice::Mode::Save; // asks before replacing an existing file
    choice.defaultSuffix = QStringLiteral("html");
    choice.nameFilters = QStringList(QStringLiteral("htmlファイル (*.html *.htm)"));
    // The page usually goes beside its stage, named after it.
    if (const QString proposed = proposedPagePath(stagePath); !proposed.isEmpty()) {
        choice.directory = QFileInfo(proposed).absolutePath();
        choice.selection = QFileInfo(proposed).fileName();
    }
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
