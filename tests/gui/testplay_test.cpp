// Test play from the editor: the command on F5, the toolbar and the file menu; the stage as
// shown (unsaved edits and the panels' pending values) served from a temporary folder; the
// movie asked for once and remembered; the user's files left alone; clear messages when
// Ruffle or the movie is missing. The browser is never started: the tests take the address.
#include <QClipboard>
#include <QCryptographicHash>
#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QLineEdit>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include <optional>

#include "shellfixture.h"

#include "document/stagedocument.h"
#include "panels/eventtool.h"
#include "panels/placementtool.h"
#include "panels/propertypanel.h"
#include "shell/browser.h"
#include "shell/commandids.h"
#include "shell/playserverloader.h"
#include "shell/testplay.h"
#include "view/CRKeditView.h"

namespace {

// A stand-in for the Ruffle package: what a test play copies.
void makeRuffle(const QString& folder) {
    ASSERT_TRUE(QDir().mkpath(folder));
    writeFile(folder + QStringLiteral("/package.json"),
              "{\"name\":\"@ruffle-rs/ruffle\",\"version\":\"0.6.0\"}");
    writeFile(folder + QStringLiteral("/ruffle.js"), "// ruffle");
}

// Points the program at a Ruffle folder for the length of a test.
struct RuffleDirectory {
    explicit RuffleDirectory(const QString& path) {
        qputenv("RKEDIT_RUFFLE_DIR", path.toLocal8Bit());
    }
    ~RuffleDirectory() { qunsetenv("RKEDIT_RUFFLE_DIR"); }
};

// Takes the pages the editor would open in the browser.
struct BrowserStandIn {
    BrowserStandIn() {
        previous = replaceUrlOpener([this](const QUrl& url) {
            opened << url;
            return true;
        });
    }
    ~BrowserStandIn() { replaceUrlOpener(previous); }
    QList<QUrl> opened;
    UrlOpener previous;
};

// One GET as a browser on this machine sends it; nothing when no answer comes in 10 s.
struct Answer {
    int status = 0;
    QByteArray body;
};
std::optional<Answer> get(const QUrl& url) {
    QNetworkAccessManager network;
    QNetworkReply* reply = network.get(QNetworkRequest(url));
    QEventLoop loop;
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    if (!reply->isFinished())
        return std::nullopt;
    Answer answer{reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
                  reply->readAll()};
    reply->deleteLater();
    return answer;
}

// Every file under `folder` with its bytes' hash and modification time.
QMap<QString, QString> snapshot(const QString& folder) {
    QMap<QString, QString> files;
    for (const QFileInfo& info :
         QDir(folder).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        const QString hash =
            QCryptographicHash::hash(fileBytes(info.filePath()), QCryptographicHash::Sha256)
                .toHex();
        files.insert(info.fileName(), hash + QLatin1Char(' ') +
                                          QString::number(info.lastModified().toMSecsSinceEpoch()));
    }
    return files;
}

class TestPlayShell : public Shell {
protected:
    void SetUp() override {
        Shell::SetUp();
        ASSERT_TRUE(other.isValid());
        makeRuffle(other.filePath(QStringLiteral("ruffle")));
        movie = other.filePath(QStringLiteral("game.swf"));
        writeFile(movie, QByteArray("FWS\x06", 4) + QByteArray(20, '\0'));
    }
    TestPlay* testPlay() const { return app->testPlay(); }
    StageDocument* document() const { return documents()->activeDocument(); }

    QTemporaryDir other; // Ruffle and the movie, away from the stage
    QString movie;
};

} // namespace

TEST_F(TestPlayShell, IsOnF5TheToolbarAndTheFileMenu) {
    start({path("sample.stage")});
    QAction* action = frame()->action(ID_TEST_PLAY);
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->shortcuts(), QList<QKeySequence>{QKeySequence(Qt::Key_F5)});
    EXPECT_TRUE(frame()->toolBar()->actions().contains(action));
    EXPECT_FALSE(action->icon().isNull());
    ASSERT_FALSE(frame()->currentMenus().isEmpty());
    EXPECT_TRUE(frame()->currentMenus().constFirst()->actions().contains(action));
    EXPECT_TRUE(action->text().startsWith(QStringLiteral("テストプレイ")));
    EXPECT_TRUE(action->isEnabled());

    // Without a stage window there is nothing to play.
    trigger(ID_FILE_CLOSE);
    EXPECT_FALSE(action->isEnabled());
}

TEST_F(TestPlayShell, PlaysTheStageAsShownAndLeavesTheUsersFilesAlone) {
    RuffleDirectory ruffle(other.filePath(QStringLiteral("ruffle")));
    BrowserStandIn browser;
    start({path("sample.stage")});
    CRKeditView* view = documents()->activeView();
    ASSERT_NE(view, nullptr);
    ASSERT_NE(view->propertyPanel, nullptr);
    for (int i = 0; i < 50 && !view->propertyPanel->filledFromDocument; ++i)
        QTest::qWait(10);
    const QMap<QString, QString> before = snapshot(dir.path());
    const QMap<QString, QString> otherBefore = snapshot(other.path());

    // An unsaved edit in the document, and values the panels hold but have not handed over.
    document()->doc().title = "edited";
    document()->setModified();
    view->propertyPanel->control<QLineEdit>(1026)->setText("13");
    view->runCommand(ID_EVENT_TOOL);
    ASSERT_NE(view->eventTool, nullptr);
    view->eventTool->edit()->setPlainText("OnHit\nplay");

    FileDialogAnswer chooser(movie);
    trigger(ID_TEST_PLAY);
    EXPECT_EQ(chooser.answer.seen(), 1) << "no rk.swf beside the stage: the movie is asked for";
    EXPECT_TRUE(chooser.filters.join(' ').contains(QStringLiteral("*.swf")));
    ASSERT_EQ(browser.opened.size(), 1);
    const QUrl page = browser.opened.constFirst();
    EXPECT_EQ(page, testPlay()->pageOf(document()));
    EXPECT_EQ(page.host(), QStringLiteral("127.0.0.1"));
    EXPECT_TRUE(page.path().endsWith(QStringLiteral("/index.html")));

    const QString folder = testPlay()->folderOf(document());
    ASSERT_FALSE(folder.isEmpty());
    EXPECT_FALSE(folder.startsWith(dir.path())) << "a folder of its own";
    const QByteArray record = fileBytes(folder + QStringLiteral("/sample.stage"));
    EXPECT_TRUE(record.contains("&title=edited&")) << "the unsaved edit";
    EXPECT_TRUE(record.contains("&ballSize=13&")) << "the properties panel's pending value";
    EXPECT_EQ(document()->doc().command, "OnHit\r\nplay") << "the event tool's pending script";
    EXPECT_TRUE(record.contains("&command=OnHit,play&")) << "the script as the record holds it";
    EXPECT_EQ(fileBytes(folder + QStringLiteral("/rk.swf")), fileBytes(movie));
    EXPECT_EQ(fileBytes(folder + QStringLiteral("/sample.JPG")), fileBytes(path("sample.JPG")));
    EXPECT_TRUE(QFileInfo(folder + QStringLiteral("/ruffle/ruffle.js")).isFile());

    // Served as the browser will ask for it: the page, and the record it names.
    const std::optional<Answer> served = get(page);
    ASSERT_TRUE(served);
    EXPECT_EQ(served->status, 200);
    EXPECT_TRUE(served->body.contains("rk.swf?cnf=sample.stage")) << served->body.toStdString();
    EXPECT_TRUE(served->body.contains("<script src=\"ruffle/ruffle.js\"></script>"));
    const std::optional<Answer> stage = get(page.resolved(QUrl(QStringLiteral("sample.stage"))));
    ASSERT_TRUE(stage);
    EXPECT_EQ(stage->body, record);

    // A second test play after another edit: the same folder and address, the stage written
    // anew, the movie not asked for again.
    document()->doc().title = "edited again";
    trigger(ID_TEST_PLAY);
    EXPECT_EQ(chooser.answer.seen(), 1);
    ASSERT_EQ(browser.opened.size(), 2);
    EXPECT_EQ(browser.opened.last(), page);
    EXPECT_EQ(testPlay()->folderOf(document()), folder);
    const std::optional<Answer> again = get(page.resolved(QUrl(QStringLiteral("sample.stage"))));
    ASSERT_TRUE(again);
    EXPECT_TRUE(again->body.contains("&title=edited again&"));
    EXPECT_EQ(QSettings().value(QLatin1String(TestPlay::movieSettingsKey)).toString(), movie);

    // Nothing saved, nothing touched: the stage folder and the movie's are as they were.
    EXPECT_TRUE(document()->isModified());
    EXPECT_EQ(snapshot(dir.path()), before);
    EXPECT_EQ(snapshot(other.path()), otherBefore);

    // The folder goes with the stage, and so does its server.
    document()->setModified(false);
    trigger(ID_FILE_CLOSE);
    settle();
    EXPECT_FALSE(QFileInfo::exists(folder));
    const std::optional<Answer> gone = get(page);
    EXPECT_TRUE(!gone || gone->status == 0) << "the server stopped";
}

TEST_F(TestPlayShell, F5InAFloatingToolPanelPlaysThePanelsStage) {
    RuffleDirectory ruffle(other.filePath(QStringLiteral("ruffle")));
    BrowserStandIn browser;
    ASSERT_TRUE(QFile::copy(path("sample.stage"), path("other.stage")));
    start({path("sample.stage")});
    QSettings().setValue(QLatin1String(TestPlay::movieSettingsKey), movie);
    StageDocument* behind = document();
    ASSERT_NE(behind, nullptr);
    StageDocument* front = documents()->openDocument(path("other.stage"));
    ASSERT_NE(front, nullptr);
    settle();
    ASSERT_EQ(document(), front);
    auto* view = qobject_cast<CRKeditView*>(behind->views().constFirst());
    ASSERT_NE(view->propertyPanel, nullptr);
    for (int i = 0; i < 50 && !view->propertyPanel->filledFromDocument; ++i)
        QTest::qWait(10);
    // A value the panel shows and its stage has not taken yet.
    view->propertyPanel->control<QLineEdit>(1026)->setText("13");

    ASSERT_NE(floatPanel(behind, ID_PROPERTIES), nullptr);
    QTest::keyClick(view->propertyPanel->control<QLineEdit>(1000), Qt::Key_F5);
    ASSERT_EQ(browser.opened.size(), 1) << "F5 in the panel plays";
    EXPECT_EQ(browser.opened.constFirst(), testPlay()->pageOf(behind));
    EXPECT_TRUE(testPlay()->folderOf(front).isEmpty()) << "the front stage is not played";
    const QString folder = testPlay()->folderOf(behind);
    EXPECT_TRUE(fileBytes(folder + QStringLiteral("/sample.stage")).contains("&ballSize=13&"));

    // The same from the placement tool of that view.
    view->runCommand(ID_PLACEMENT_TOOL);
    ASSERT_NE(view->placementTool, nullptr);
    ASSERT_NE(floatPanel(behind, ID_PLACEMENT_TOOL), nullptr);
    QTest::keyClick(view->placementTool, Qt::Key_F5);
    ASSERT_EQ(browser.opened.size(), 2);
    EXPECT_EQ(browser.opened.last(), testPlay()->pageOf(behind));
    EXPECT_TRUE(testPlay()->folderOf(front).isEmpty());
}

TEST_F(TestPlayShell, TheMovieBesideTheStageIsUsedAndANewStageGetsAName) {
    RuffleDirectory ruffle(other.filePath(QStringLiteral("ruffle")));
    BrowserStandIn browser;
    writeFile(path("rk.swf"), QByteArray("FWS\x07", 4) + QByteArray(8, '\x01'));
    start({path("sample.stage")});
    trigger(ID_TEST_PLAY); // no chooser: an unanswered one would fail the test
    ASSERT_EQ(browser.opened.size(), 1);
    EXPECT_EQ(fileBytes(testPlay()->folderOf(document()) + QStringLiteral("/rk.swf")),
              fileBytes(path("rk.swf")));

    // A new stage has no folder of its own: the movie chosen before, the record "stage.txt".
    QSettings().setValue(QLatin1String(TestPlay::movieSettingsKey), movie);
    trigger(ID_FILE_NEW);
    StageDocument* fresh = document();
    trigger(ID_TEST_PLAY);
    ASSERT_EQ(browser.opened.size(), 2);
    EXPECT_NE(testPlay()->folderOf(fresh), QString());
    EXPECT_TRUE(QFileInfo(testPlay()->folderOf(fresh) + QStringLiteral("/stage.txt")).isFile());
    EXPECT_TRUE(fileBytes(testPlay()->folderOf(fresh) + QStringLiteral("/index.html"))
                    .contains("rk.swf?cnf=stage.txt"));
    EXPECT_EQ(fileBytes(testPlay()->folderOf(fresh) + QStringLiteral("/rk.swf")), fileBytes(movie));

    // Both folders go when the editor ends.
    const QString first = testPlay()->folderOf(documents()->documents().constFirst());
    const QString second = testPlay()->folderOf(fresh);
    for (StageDocument* d : documents()->documents())
        d->setModified(false);
    app.reset();
    settle();
    EXPECT_FALSE(QFileInfo::exists(first));
    EXPECT_FALSE(QFileInfo::exists(second));
}

TEST_F(TestPlayShell, MissingRuffleOrMovieIsSaidAndNothingIsPlayed) {
    BrowserStandIn browser;
    start({path("sample.stage")});
    {
        RuffleDirectory nowhere(other.filePath(QStringLiteral("no-ruffle-here")));
        MessageBoxAnswer box(QMessageBox::Ok);
        trigger(ID_TEST_PLAY);
        EXPECT_TRUE(box.text.contains(QStringLiteral("Ruffle"))) << box.text.toStdString();
        EXPECT_TRUE(box.text.contains(QStringLiteral("no-ruffle-here"))) << box.text.toStdString();
    }
    RuffleDirectory ruffle(other.filePath(QStringLiteral("ruffle")));

    // The chooser cancelled: nothing more is said, nothing played.
    {
        FileAnswer cancel([](const FileChoice&) { return QString(); });
        trigger(ID_TEST_PLAY);
        EXPECT_EQ(cancel.seen(), 1);
    }
    // A file that is no movie is refused and not remembered.
    {
        const QString notMovie = other.filePath(QStringLiteral("notes.swf"));
        writeFile(notMovie, "just text");
        FileAnswer chooser([&](const FileChoice&) { return notMovie; });
        MessageBoxAnswer box(QMessageBox::Ok);
        trigger(ID_TEST_PLAY);
        EXPECT_TRUE(box.text.contains(QStringLiteral("notes.swf"))) << box.text.toStdString();
        EXPECT_FALSE(QSettings().contains(QLatin1String(TestPlay::movieSettingsKey)));
    }
    // The movie chosen before has gone: said so, and asked for again.
    QSettings().setValue(QLatin1String(TestPlay::movieSettingsKey),
                         other.filePath(QStringLiteral("gone.swf")));
    {
        MessageBoxAnswer box(QMessageBox::Ok);
        FileAnswer chooser([&](const FileChoice&) { return movie; });
        trigger(ID_TEST_PLAY);
        EXPECT_TRUE(box.text.contains(QStringLiteral("gone.swf"))) << box.text.toStdString();
        EXPECT_EQ(chooser.seen(), 1);
    }
    ASSERT_EQ(browser.opened.size(), 1);
    EXPECT_EQ(QSettings().value(QLatin1String(TestPlay::movieSettingsKey)).toString(), movie);
}

TEST_F(TestPlayShell, AServerModuleThatCannotBeLoadedIsSaidAndLookedForAgain) {
    if (playServerModuleLoaded())
        GTEST_SKIP() << "an earlier test of this process loaded the module (run this case alone)";
    BrowserStandIn browser;
    RuffleDirectory ruffle(other.filePath(QStringLiteral("ruffle")));
    start({path("sample.stage")});
    QSettings().setValue(QLatin1String(TestPlay::movieSettingsKey), movie);
    const QByteArray module = qgetenv("RKEDIT_PLAY_SERVER");
    const QString notModule = other.filePath(QStringLiteral("librkplayserver.so"));
    writeFile(notModule, "no module");
    qputenv("RKEDIT_PLAY_SERVER", QFile::encodeName(notModule));
    {
        MessageBoxAnswer box(QMessageBox::Ok);
        trigger(ID_TEST_PLAY);
        ASSERT_EQ(box.answer.seen(), 1);
        EXPECT_TRUE(box.text.contains(QStringLiteral("テストプレイの準備ができませんでした")))
            << box.text.toStdString();
        EXPECT_TRUE(box.text.contains(QStringLiteral("librkplayserver.so")))
            << box.text.toStdString();
    }
    EXPECT_TRUE(browser.opened.isEmpty());
    EXPECT_TRUE(testPlay()->folderOf(document()).isEmpty()) << "no play folder is kept";
    // Once the module is there, the next test play loads it.
    qputenv("RKEDIT_PLAY_SERVER", module);
    trigger(ID_TEST_PLAY);
    EXPECT_TRUE(playServerModuleLoaded());
    EXPECT_EQ(browser.opened.size(), 1);
}

TEST_F(TestPlayShell, AMovieAboveTheSizeLimitIsRefusedBeforeAnythingIsCopied) {
    BrowserStandIn browser;
    RuffleDirectory ruffle(other.filePath(QStringLiteral("ruffle")));
    // rk.swf beside the stage, a movie header and then a hole: 3 GiB that take no room.
    const QString big = path("rk.swf");
    writeFile(big, QByteArray("FWS\x06", 4));
    ASSERT_TRUE(QFile::resize(big, qint64(3) << 30));
    start({path("sample.stage")});
    MessageBoxAnswer box(QMessageBox::Ok);
    QElapsedTimer took;
    took.start();
    trigger(ID_TEST_PLAY);
    EXPECT_LT(took.elapsed(), 5000);
    ASSERT_EQ(box.answer.seen(), 1);
    EXPECT_TRUE(box.text.contains(QStringLiteral("rk.swf"))) << box.text.toStdString();
    EXPECT_TRUE(box.text.contains(QStringLiteral("64 MiB"))) << box.text.toStdString();
    EXPECT_TRUE(browser.opened.isEmpty());
    // The play folder holds nothing: no picture, no Ruffle, no page copied.
    for (const QFileInfo& folder :
         QDir(QDir::tempPath())
             .entryInfoList(
                 {QStringLiteral("rkedit-play-%1-*").arg(QCoreApplication::applicationPid())},
                 QDir::Dirs | QDir::NoDotAndDotDot))
        EXPECT_TRUE(QDir(folder.filePath()).isEmpty()) << folder.filePath().toStdString();
}

TEST_F(TestPlayShell, AnOldMovieWithJapaneseTextWarnsOnce) {
    RuffleDirectory ruffle(other.filePath(QStringLiteral("ruffle")));
    BrowserStandIn browser;
    writeFile(path("rk.swf"), QByteArray("FWS\x05", 4) + QByteArray(8, '\0'));
    start({path("sample.stage")});
    document()->doc().title = "\x83\x58\x83\x65\x81\x5b\x83\x57"; // ステージ in CP932
    {
        MessageBoxAnswer box(QMessageBox::Ok);
        trigger(ID_TEST_PLAY);
        EXPECT_EQ(box.answer.seen(), 1);
        EXPECT_TRUE(box.text.contains(QStringLiteral("日本語"))) << box.text.toStdString();
    }
    trigger(ID_TEST_PLAY); // the same warning is not repeated: an unanswered box would fail
    EXPECT_EQ(browser.opened.size(), 2);
    document()->setModified(false);
}

namespace {
// A browser that cannot start, or that starts and then fails: the page's address is in the
// status bar and in a box that says why, and the box's copy button puts it on the clipboard.
TEST_F(TestPlayShell, ABrowserThatFailsShowsTheAddressAndTheReasonAndCopiesIt) {
    RuffleDirectory ruffle(other.filePath(QStringLiteral("ruffle")));
    QList<QUrl> asked;
    const UrlOpener previous = replaceUrlOpener([&asked](const QUrl& url) {
        asked << url;
        return false;
    });
    writeFile(path("rk.swf"), QByteArray("FWS\x07", 4) + QByteArray(8, '\x01'));
    start({path("sample.stage")});
    {
        MessageBoxAnswer copy(QMessageBox::Save);
        trigger(ID_TEST_PLAY);
        ASSERT_EQ(asked.size(), 1);
        const QString address = asked.constFirst().toString();
        EXPECT_EQ(copy.answer.seen(), 1);
        EXPECT_TRUE(copy.text.contains(address)) << copy.text.toStdString();
        EXPECT_TRUE(copy.buttonTexts.contains(QStringLiteral("アドレスをコピー")));
        EXPECT_EQ(QGuiApplication::clipboard()->text(), address);
        EXPECT_EQ(frame()->statusBar()->currentMessage(),
                  QStringLiteral("テストプレイ: ") + address);
    }
    // Started, then exited with an error: said with the reason, nothing copied on OK.
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    {
        MessageBoxAnswer ok(QMessageBox::Ok);
        reportBrowserFailure(asked.constFirst(),
                             QStringLiteral("xdg-open が終了コード 4 で終わりました"));
        EXPECT_EQ(ok.answer.seen(), 1);
        EXPECT_TRUE(ok.text.contains(asked.constFirst().toString()));
        EXPECT_TRUE(
            ok.text.contains(QStringLiteral("理由: xdg-open が終了コード 4 で終わりました")));
        EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
    }
    replaceUrlOpener(previous);
}
} // namespace
