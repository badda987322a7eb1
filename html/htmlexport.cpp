#include "html/htmlexport.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QSaveFile>

#include "html/ChtmlDlg.h"
#include "html/htmlexportvalues.h"
#include "html/htmlpage.h"
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
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        return false;
    }
    if (file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size())) {
        error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

bool WriteHtmlPage(QWidget* parent, const CRKeditDoc& doc) {
    // The page is complete before the file chooser opens.
    const std::string page = composeHtmlPage(doc);

    QFileDialog chooser(parent);
    chooser.setAcceptMode(QFileDialog::AcceptSave);
    chooser.setFileMode(QFileDialog::AnyFile);
    chooser.setDefaultSuffix(QStringLiteral("html"));
    chooser.setNameFilter(QStringLiteral("htmlファイル (*.html *.htm)"));
    // Qt's own chooser asks before replacing an existing file (the default) and works the
    // same on every platform.
    chooser.setOption(QFileDialog::DontUseNativeDialog);
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty())
        return false;
    const QString path = chooser.selectedFiles().constFirst();

    QString error;
    if (!saveHtmlFile(path, page, error)) {
        QMessageBox::warning(parent, QGuiApplication::applicationDisplayName(),
                             QStringLiteral("HTMLファイル %1 を書き出せませんでした。\n%2")
                                 .arg(QDir::toNativeSeparators(path), error));
        return false;
    }
    return true;
}
