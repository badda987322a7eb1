#include "html/htmlexport.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QSaveFile>

#include "html/ChtmlDlg.h"
#include "html/htmlexportvalues.h"
#include "html/htmlpage.h"
#include "panels/dataexchange.h"
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

bool WriteHtmlPage(QWidget* parent, const CRKeditDoc& doc, const QString& stagePath) {
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
    // The page usually goes beside its stage, named after it.
    if (const QString proposed = proposedPagePath(stagePath); !proposed.isEmpty()) {
        chooser.setDirectory(QFileInfo(proposed).absolutePath());
        chooser.selectFile(QFileInfo(proposed).fileName());
    }
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
