#include "shell/testplay.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMainWindow>
#include <QSettings>
#include <QStatusBar>

#include <cstdio>

#include "document/stagedocument.h"
#include "html/programruffle.h"
#include "panels/dialogs.h"
#include "panels/messagebox.h"
#include "playfolder.h"
#include "shell/browser.h"
#include "shell/playserverloader.h"

struct TestPlay::Session {
    std::unique_ptr<PlayFolder> folder;
    std::unique_ptr<PlayServer> server;
    QElapsedTimer sinceCommand;
    bool awaitingFirstRequest = false;
    QString warningShown; // the text warning last shown for this stage
};

namespace {

// True when `path` starts like an SWF movie (plain or compressed).
bool looksLikeMovie(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray start = file.read(3);
    return start == "FWS" || start == "CWS" || start == "ZWS";
}

} // namespace

TestPlay::TestPlay(QObject* parent) : QObject(parent) {
    // A browser that started and then failed: said as soon as it is known.
    onBrowserFailed([this](const QUrl& page, const QString& reason) {
        showBrowserProblem(page, reason, parent_);
    });
}

TestPlay::~TestPlay() {
    onBrowserFailed({});
}

QString TestPlay::folderOf(const StageDocument* document) const {
    const auto it = sessions_.find(document);
    return it == sessions_.end() ? QString() : it->second->folder->path();
}

QUrl TestPlay::pageOf(const StageDocument* document) const {
    const auto it = sessions_.find(document);
    return it == sessions_.end()
               ? QUrl()
               : it->second->server->url(QString::fromLatin1(PlayFolder::pageName));
}

QString TestPlay::movieFor(const StageDocument* document, QWidget* parent) {
    const QString stageFolder =
        document->filePath().isEmpty() ? QString() : QFileInfo(document->filePath()).absolutePath();
    if (!stageFolder.isEmpty()) {
        const QString beside = stageFolder + QStringLiteral("/rk.swf");
        if (QFileInfo(beside).isFile())
            return beside;
    }
    QSettings settings;
    const QString remembered = settings.value(QLatin1String(movieSettingsKey)).toString();
    if (!remembered.isEmpty()) {
        if (QFileInfo(remembered).isFile())
            return remembered;
        showMessage(QCoreApplication::translate(
                        "TestPlay", "テストプレイのゲームムービー %1 が見つかりません。\n"
                                    "使うムービー (rk.swf) を選び直してください。")
                        .arg(QDir::toNativeSeparators(remembered)),
                    parent);
    }
    FileChoice choice;
    choice.mode = FileChoice::Mode::Open;
    choice.caption = QCoreApplication::translate(
        "TestPlay", "テストプレイで使うゲームムービー (rk.swf) を選んでください");
    choice.nameFilters =
        QStringList{QCoreApplication::translate("TestPlay", "Flash ムービー (*.swf)"),
                    QCoreApplication::translate("TestPlay", "すべてのファイル (*)")};
    choice.directory = stageFolder;
    const QString chosen = Dialogs::current().chooseFile(parent, choice);
    if (chosen.isEmpty())
        return {};
    if (!looksLikeMovie(chosen)) {
        showMessage(
            QCoreApplication::translate("TestPlay", "%1 は Flash ムービー (SWF) ではありません。")
                .arg(QDir::toNativeSeparators(chosen)),
            parent);
        return {};
    }
    const QString path = QFileInfo(chosen).absoluteFilePath();
    settings.setValue(QLatin1String(movieSettingsKey), path);
    return path;
}

bool TestPlay::play(StageDocument* document, QWidget* parent) {
    if (document == nullptr)
        return false;
    QElapsedTimer sinceCommand;
    sinceCommand.start();

    QString error;
    const auto ruffle = programRuffle(error);
    if (!ruffle) {
        showMessage(QCoreApplication::translate(
                        "TestPlay", "Ruffle が見つからないため、テストプレイできません。\n%1")
                        .arg(error),
                    parent);
        return false;
    }
    const QString movie = movieFor(document, parent);
    if (movie.isEmpty())
        return false;
    // What the panels show and the document has not taken yet is played too.
    document->takePendingEdits();

    auto& session = sessions_[document];
    if (!session) {
        auto fresh = std::make_unique<Session>();
        fresh->folder = std::make_unique<PlayFolder>(*ruffle);
        // The server module is loaded on the first test play.
        fresh->server = loadPlayServer(fresh->folder->path(), error);
        Session* s = fresh.get();
        if (fresh->server)
            fresh->server->onAnswered([this, s](const QByteArray& method, const QByteArray& target,
                                                int status) {
                // Each request is logged, as rkstage play logs them: what the browser and
                // the movie asked for tells why a stage does not play.
                std::fprintf(stderr, "rkedit: test play: %d %s %s\n", status, method.constData(),
                             target.constData());
                if (!s->awaitingFirstRequest)
                    return;
                s->awaitingFirstRequest = false;
                const qint64 elapsed = s->sinceCommand.elapsed();
                std::fprintf(stderr, "rkedit: test play: first request %lld ms after the command\n",
                             static_cast<long long>(elapsed));
                emit firstRequestAnswered(elapsed, target);
            });
        if (!fresh->server || !fresh->folder->isValid() || !fresh->server->start(0, error)) {
            sessions_.erase(document);
            showMessage(QCoreApplication::translate("TestPlay",
                                                    "テストプレイの準備ができませんでした。\n%1")
                            .arg(error.isEmpty() ? QDir::tempPath() : error),
                        parent);
            return false;
        }
        std::fprintf(stderr, "rkedit: test play: serving %s\n",
                     fresh->folder->path().toUtf8().constData());
        session = std::move(fresh);
        // The folder and its server go with the stage.
        connect(document, &QObject::destroyed, this,
                [this, document] { sessions_.erase(document); });
    }

    if (!session->folder->refresh(document->doc(), document->filePath(), movie, error)) {
        showMessage(
            QCoreApplication::translate("TestPlay", "テストプレイの準備ができませんでした。\n%1")
                .arg(error),
            parent);
        return false;
    }
    session->server->setContentType(session->folder->stageName(), "text/plain; charset=Shift_JIS");
    const QString warning = session->folder->textWarning();
    if (!warning.isEmpty() && warning != session->warningShown) {
        MessageChoice note;
        note.icon = QMessageBox::Information;
        note.text = warning;
        Dialogs::current().ask(parent, note);
    }
    session->warningShown = warning;

    const QUrl page = session->server->url(QString::fromLatin1(PlayFolder::pageName));
    session->sinceCommand = sinceCommand;
    session->awaitingFirstRequest = true;
    parent_ = parent;
    showAddress(page, parent);
    if (!openInBrowser(page)) {
        session->awaitingFirstRequest = false;
        showBrowserProblem(page, browserFailure(), parent);
        return false;
    }
    return true;
}

void TestPlay::showAddress(const QUrl& page, QWidget* parent) {
    if (auto* main = qobject_cast<QMainWindow*>(parent ? parent->window() : nullptr))
        main->statusBar()->showMessage(
            QCoreApplication::translate("TestPlay", "テストプレイ: %1").arg(page.toString()));
}

void TestPlay::showBrowserProblem(const QUrl& page, const QString& reason, QWidget* parent) {
    showAddress(page, parent);
    MessageChoice box;
    box.text =
        QCoreApplication::translate(
            "TestPlay", "ブラウザを開けませんでした。次のアドレスをブラウザで開いてください。\n%1")
            .arg(page.toString());
    if (!reason.isEmpty())
        box.text += QCoreApplication::translate("TestPlay", "\n\n理由: %1").arg(reason);
    box.buttons = QMessageBox::Ok | QMessageBox::Save;
    box.defaultButton = QMessageBox::Ok;
    box.buttonTexts = {
        {QMessageBox::Save, QCoreApplication::translate("TestPlay", "アドレスをコピー")}};
    if (Dialogs::current().ask(parent, box) == QMessageBox::Save)
        QGuiApplication::clipboard()->setText(page.toString());
}
