#include "html/htmlexport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include "document/coretexts.h"
#include "document/savefile.h"
#include "html/ChtmlDlg.h"
#include "html/htmlexportvalues.h"
#include "html/htmlpage.h"
#include "html/programruffle.h"
#include "panels/dataexchange.h"
#include "panels/dialogs.h"
#include "panels/messagebox.h"
#include "ruffle/encodingwarning.h"
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
    dialog.ruffle = QSettings().value(QLatin1String(ruffleExportSettingsKey), false).toBool();
    if (dialog.exec() != QDialog::Accepted)
        return false;
    QSettings().setValue(QLatin1String(ruffleExportSettingsKey), dialog.ruffle);
    const bool changed = dialog.values.storeInto(doc);
    WriteHtmlPage(parent, doc, dialog.ruffle, stagePath);
    return changed;
}

QString proposedPagePath(const QString& stagePath) {
    if (stagePath.isEmpty())
        return {};
    const QFileInfo stage(stagePath);
    return stage.dir().filePath(stage.completeBaseName() + QStringLiteral(".html"));
}

bool saveHtmlFile(const QString& path, std::string_view bytes, QString& error,
                  const QString& stagePath) {
    error = saveFileWhole(path, QByteArrayView(bytes.data(), qsizetype(bytes.size())),
                          QStringList(stagePath));
    return error.isEmpty();
}

namespace {

// The first line names the page as ever; the second names the file that could not be
// written and the reason ("<file>: <reason>"), as an open failure does.
QString cannotWrite(const QString& pagePath, const QString& fileAndReason) {
    return QCoreApplication::translate("HtmlExport", "HTMLファイル %1 を書き出せませんでした。\n%2")
        .arg(QDir::toNativeSeparators(pagePath), fileAndReason);
}

// Puts Ruffle beside the page at `pagePath`. False, after saying why, when the page must not
// be written; `added` tells whether a new "ruffle" folder was made (to remove it if the page
// then cannot be written).
bool putRuffleBeside(QWidget* parent, const QString& pagePath, bool& added) {
    added = false;
    QString missing;
    const auto ruffle = programRuffle(missing);
    if (!ruffle) {
        showMessage(QCoreApplication::translate(
                        "HtmlExport", "Ruffle が見つからないため、書き出せませんでした。\n%1")
                        .arg(missing),
                    parent);
        return false;
    }
    const std::string folder = QFileInfo(pagePath).absolutePath().toStdString();
    std::string message;
    auto outcome = ruffle->copyInto(folder, false, message);
    if (outcome == RuffleFolder::Outcome::OtherVersion) {
        MessageChoice question;
        question.icon = QMessageBox::Question;
        question.text =
            QCoreApplication::translate("HtmlExport", "%1\nRuffle %2 に置き換えますか？")
                .arg(QString::fromStdString(message),
                     QString::fromStdString(RuffleFolder::versionIn(ruffle->path())));
        question.buttons = QMessageBox::Yes | QMessageBox::No;
        question.defaultButton = QMessageBox::No;
        if (Dialogs::current().ask(parent, question) == QMessageBox::Yes)
            outcome = ruffle->copyInto(folder, true, message);
        else
            outcome = RuffleFolder::Outcome::AlreadyThere; // the page works with it too
    }
    switch (outcome) {
    case RuffleFolder::Outcome::Copied:
        added = true;
        return true;
    case RuffleFolder::Outcome::AlreadyThere:
    case RuffleFolder::Outcome::Replaced:
    case RuffleFolder::Outcome::OtherVersion:
        return true;
    case RuffleFolder::Outcome::NotRuffle:
    case RuffleFolder::Outcome::Failed:
        break;
    }
    // Ruffle's message names the file or folder it could not write.
    showMessage(cannotWrite(pagePath, QString::fromStdString(message)), parent);
    return false;
}

// Says so when the movie beside the page may show the stage's Japanese text wrongly under
// the emulator.
void warnAboutText(QWidget* parent, const QString& pagePath, const CRKeditDoc& doc) {
    QFile movie(QFileInfo(pagePath).absolutePath() + QStringLiteral("/rk.swf"));
    const QByteArray start = movie.open(QIODevice::ReadOnly) ? movie.read(4) : QByteArray();
    if (!rufflesTextWarns(std::string_view(start.constData(), std::size_t(start.size())), doc))
        return;
    MessageChoice note;
    note.icon = QMessageBox::Information;
    note.text = coreMessage({MessageId::rufflesText, {}});
    Dialogs::current().ask(parent, note);
}

} // namespace

bool WriteHtmlPage(QWidget* parent, const CRKeditDoc& doc, bool ruffle, const QString& stagePath) {
    // The page is complete before the file chooser opens.
    const std::string page = composeHtmlPage(doc, ruffle);

    FileChoice choice;
    choice.mode = FileChoice::Mode::Save; // asks before replacing an existing file
    choice.defaultSuffix = QStringLiteral("html");
    choice.nameFilters =
        QStringList(QCoreApplication::translate("HtmlExport", "htmlファイル (*.html *.htm)"));
    // The page usually goes beside its stage, named after it.
    if (const QString proposed = proposedPagePath(stagePath); !proposed.isEmpty()) {
        choice.directory = QFileInfo(proposed).absolutePath();
        choice.selection = QFileInfo(proposed).fileName();
    }
    const QString path = Dialogs::current().chooseFile(parent, choice);
    if (path.isEmpty())
        return false;

    // Refused before Ruffle is put beside it: the open stage itself, a folder, a FIFO or a
    // device, a page without a write bit.
    if (const QString obstacle = saveObstacle(path, QStringList(stagePath)); !obstacle.isEmpty()) {
        showMessage(
            cannotWrite(path, QDir::toNativeSeparators(path) + QStringLiteral(": ") + obstacle),
            parent);
        return false;
    }
    bool ruffleAdded = false;
    if (ruffle && !putRuffleBeside(parent, path, ruffleAdded))
        return false;
    QString error;
    if (!saveHtmlFile(path, page, error, stagePath)) {
        // A Ruffle folder made for this page alone goes with it.
        if (ruffleAdded)
            QDir(QFileInfo(path).absolutePath() + QStringLiteral("/ruffle")).removeRecursively();
        showMessage(
            cannotWrite(path, QDir::toNativeSeparators(path) + QStringLiteral(": ") + error),
            parent);
        return false;
    }
    if (ruffle)
        warnAboutText(parent, path, doc);
    return true;
}
