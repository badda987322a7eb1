// Never losing an edit: recovery copies (written, offered after a crash, restored, removed),
// stage files changed by another program, and stage files dropped onto the main window.
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QProcess>
#include <QSaveFile>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

#include "document/recoverystore.h"
#include "document/stagedocument.h"
#include "document/stageedit.h"
#include "panels/eventtool.h"
#include "recoveryfixture.h"
#include "shell/commandids.h"
#include "shell/diskwatcher.h"
#include "shell/filedrop.h"
#include "shell/recoverykeeper.h"
#include "stage/CRKeditDoc.h"
#include "stage/stagerecord.h"
#include "view/CRKeditView.h"

namespace {

QByteArray sessionRecord(const QString& json) {
    return fileBytes(json.chopped(int(qstrlen(".json"))) + QStringLiteral(".stage"));
}

void writeExternally(const QString& path, const QByteArray& bytes) {
    // As another program saves: a new file renamed over the old one.
    QSaveFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    ASSERT_TRUE(file.commit());
}

class Recovery : public RecoveryShell {
protected:
    RecoveryKeeper* keeper() const { return app->recovery(); }
};

TEST_F(Recovery, CopyHoldsTheRecordAsSavedAndGoesWhenSavedOrUndoneToClean) {
    start({path("sample.stage")});
    StageDocument* document = documents()->activeDocument();
    ASSERT_NE(document, nullptr);
    EXPECT_TRUE(root.startsWith(QDir::homePath())) << root.toStdString();

    // Unmodified: no copy.
    keeper()->writeDueCopies();
    EXPECT_TRUE(copiesUnder(root).isEmpty());

    document->doc().cell(3, 2) = 7;
    document->doc().title = "朝焼け";
    document->setModified();
    keeper()->writeDueCopies();
    const QStringList copies = copiesUnder(root);
    ASSERT_EQ(copies.size(), 1);
    EXPECT_TRUE(copies[0].startsWith(keeper()->store().sessionFolder()));
    // Exactly the bytes Save writes, and the user's file untouched.
    const QByteArray copy = sessionRecord(copies[0]);
    const QByteArray before = fileBytes(path("sample.stage"));
    ASSERT_TRUE(documents()->writeDocument(document, path("saved-elsewhere.stage")));
    EXPECT_EQ(copy, fileBytes(path("saved-elsewhere.stage")));
    EXPECT_EQ(fileBytes(path("sample.stage")), before);
    // That save made the document clean: its copy is gone.
    EXPECT_TRUE(copiesUnder(root).isEmpty());
    EXPECT_FALSE(keeper()->hasCopy(document));

    // An edit brings a copy back; undoing it to the saved state takes it away again.
    {
        StageEdit edit(*document, StageEdit::Kind::Script);
        document->doc().command = "OnStart\r\n";
        ASSERT_TRUE(edit.commit());
    }
    keeper()->writeDueCopies();
    EXPECT_EQ(copiesUnder(root).size(), 1);
    document->undoStack()->undo();
    EXPECT_FALSE(document->isModified());
    EXPECT_TRUE(copiesUnder(root).isEmpty());
}

TEST_F(Recovery, TextTypedInTheEventToolIsKeptWithoutTakingItIntoTheStage) {
    start({path("sample.stage")});
    StageDocument* document = documents()->activeDocument();
    CRKeditView* view = documents()->activeView();
    const std::string script = document->doc().command;
    view->runCommand(ID_EVENT_TOOL);
    ASSERT_NE(view->eventTool, nullptr);
    view->eventTool->edit()->setPlainText("OnHit\nnot yet taken");
    keeper()->writeDueCopies();
    const QStringList copies = copiesUnder(root);
    ASSERT_EQ(copies.size(), 1) << "the typed text would be lost in a crash";
    EXPECT_TRUE(sessionRecord(copies[0]).contains("&command=OnHit,not yet taken&"));
    // The stage itself is as it was: no step, no mark.
    EXPECT_EQ(document->doc().command, script);
    EXPECT_FALSE(document->isModified());
    EXPECT_EQ(document->undoStack()->count(), 0);
    // Typed back to what the stage holds: nothing left to keep.
    view->eventTool->edit()->setPlainText(QString::fromStdString(script).replace("\r\n", "\n"));
    keeper()->writeDueCopies();
    EXPECT_TRUE(copiesUnder(root).isEmpty());
}

TEST_F(Recovery, EveryFiftiethEditWritesACopyWithoutWaiting) {
    start({path("sample.stage")});
    StageDocument* document = documents()->activeDocument();
    keeper()->setInterval(3'600'000);
    for (int edit = 1; edit <= RecoveryKeeper::editsPerCopy; ++edit) {
        document->doc().cell(edit % 10, edit / 10) ^= 1;
        document->setModified();
        EXPECT_EQ(copiesUnder(root).size(), edit == RecoveryKeeper::editsPerCopy ? 1 : 0) << edit;
    }
}

TEST_F(Recovery, CleanExitAndDiscardRemoveCopiesAndAnUncleanEndLeavesThemOffered) {
    start({path("sample.stage")});
    StageDocument* document = documents()->activeDocument();
    document->doc().life = "9";
    document->setModified();
    keeper()->writeDueCopies();
    ASSERT_EQ(copiesUnder(root).size(), 1);

    // Closing the stage and discarding its changes removes the copy.
    MessageBoxAnswer discard(QMessageBox::Discard);
    trigger(ID_FILE_CLOSE);
    EXPECT_EQ(discard.answer.seen(), 1);
    EXPECT_TRUE(copiesUnder(root).isEmpty());

    // The program told to end with a modified stage still open keeps the copy...
    documents()->openDocument(path("sample.stage"))->doc().life = "8";
    documents()->activeDocument()->setModified();
    app.reset();
    settle();
    ASSERT_EQ(copiesUnder(root).size(), 1);

    // ... and the next start offers it; discarding deletes it for good.
    QString offer;
    MessageAnswer clickDiscard([&](const MessageChoice& box) {
        offer = box.text;
        for (const auto& [button, text] : box.buttonTexts)
            if (text == "破棄する")
                return button;
        return QMessageBox::NoButton;
    });
    start();
    EXPECT_EQ(clickDiscard.seen(), 1);
    EXPECT_TRUE(offer.contains("復元しますか？")) << offer.toStdString();
    EXPECT_TRUE(offer.contains(QDir::toNativeSeparators(path("sample.stage"))));
    EXPECT_TRUE(copiesUnder(root).isEmpty());
    ASSERT_EQ(documents()->documents().size(), 1);
    EXPECT_FALSE(documents()->activeDocument()->isModified());

    // A clean exit leaves no session folder behind.
    app.reset();
    settle();
    EXPECT_TRUE(QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
}

TEST_F(Recovery, ACopyOfAKilledEditorIsOfferedAndRestored) {
    // The stage as edited: cells, script and texts that differ from the file.
    CRKeditDoc edited;
    {
        QFile file(path("sample.stage"));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        edited = parseStageRecord(std::string_view(bytes.constData(), size_t(bytes.size())));
        edited.cell(0, 0) = edited.cell(0, 0) ? 0 : 1;
        edited.cell(5, 4) = 3;
        edited.command = "OnHit\r\n速く\r\n";
        edited.barSpeedRate = "150%";
        const std::string record = writeStageRecord(edited);
        // A run that ended with this copy left: the editor started below restores it.
        RecoveryStore earlier(root);
        ASSERT_TRUE(earlier.open());
        ASSERT_TRUE(earlier.write("stage1", QByteArray::fromStdString(record), path("sample.stage"),
                                  "sample.stage"));
        earlier.close();
    }
    const QByteArray expected = sessionRecord(copiesUnder(root).value(0));
    ASSERT_FALSE(expected.isEmpty());

    // The real editor, as a child process: it restores the copy, writes its own at once,
    // and is killed before it can exit cleanly.
    QProcess editor;
    QProcessEnvironment env = childEnvironment();
    env.insert("RKEDIT_RECOVERY_INTERVAL_MS", "100");
    editor.setProcessEnvironment(env);
    editor.start(QStringLiteral(RK_EDITOR_PATH), {"--recovery=restore"});
    ASSERT_TRUE(editor.waitForStarted(10'000));
    const QString earlierSession = QFileInfo(copiesUnder(root).value(0)).absolutePath();
    QStringList copies = waitForChildCopy(root, earlierSession);
    ASSERT_EQ(copies.size(), 1) << "the child wrote no copy of its own";
    ASSERT_FALSE(copies[0].startsWith(earlierSession));
    EXPECT_EQ(sessionRecord(copies[0]), expected);
    editor.kill(); // SIGKILL: no clean exit
    ASSERT_TRUE(editor.waitForFinished(10'000));
    EXPECT_EQ(editor.exitStatus(), QProcess::CrashExit);

    // The next start offers what the killed editor left, and restores it.
    MessageAnswer restore([](const MessageChoice& box) {
        for (const auto& [button, text] : box.buttonTexts)
            if (text == "復元する")
                return button;
        return QMessageBox::NoButton;
    });
    start();
    EXPECT_EQ(restore.seen(), 1);
    ASSERT_EQ(documents()->documents().size(), 1) << "restored stages replace the new one";
    StageDocument* document = documents()->activeDocument();
    EXPECT_EQ(document->filePath(), path("sample.stage"));
    EXPECT_EQ(document->title(), "sample.stage");
    EXPECT_TRUE(document->isModified());
    EXPECT_EQ(document->doc().command, edited.command);
    EXPECT_EQ(document->doc().cell(5, 4), 3);
    EXPECT_EQ(RecoveryKeeper::recordAsSaved(*document), expected);
    EXPECT_FALSE(document->doc().picture.empty()) << "the picture comes from the stage's folder";
    // Only this run's copy is left; the killed run's folder is gone.
    copies = copiesUnder(root);
    ASSERT_EQ(copies.size(), 1);
    EXPECT_TRUE(copies[0].startsWith(keeper()->store().sessionFolder()));
}

TEST_F(Recovery, CopiesOfARunningEditorAreNotOffered) {
    RecoveryStore running(root);
    ASSERT_TRUE(running.open());
    ASSERT_TRUE(running.write("stage1", "version=RK&", QString(), "RKedit1"));
    RecoveryStore other(root);
    EXPECT_TRUE(other.takeOrphans().isEmpty());
    // A session with no complete copy (a record without its description) is tidied away.
    const QString broken = QDir(root).filePath("gone");
    ASSERT_TRUE(QDir().mkpath(broken));
    QFile record(QDir(broken).filePath("stage1.stage"));
    ASSERT_TRUE(record.open(QIODevice::WriteOnly));
    record.close();
    EXPECT_TRUE(other.takeOrphans().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(broken));
    EXPECT_EQ(copiesUnder(root).size(), 1);
}

// ---- changes on disk ----

class DiskChanges : public Shell {
protected:
    DiskWatcher* watcher() const { return app->findChild<DiskWatcher*>(); }
    // Waits for the watcher's own check after a change on disk.
    bool waitForCheck() {
        QSignalSpy spy(watcher(), &DiskWatcher::checked);
        return spy.wait(5'000);
    }
};

TEST_F(DiskChanges, AnotherProgramsSaveAsksAndReloadsAndOwnSavesAskNothing) {
    start({path("sample.stage")});
    StageDocument* document = documents()->activeDocument();
    ASSERT_NE(watcher(), nullptr);
    QByteArray changed = fileBytes(path("sample.stage"));
    changed.replace("title=", "title=changed");
    ASSERT_NE(changed, fileBytes(path("sample.stage")));

    MessageBoxAnswer yes(QMessageBox::Yes);
    writeExternally(path("sample.stage"), changed);
    ASSERT_TRUE(waitForCheck());
    EXPECT_EQ(yes.answer.seen(), 1);
    EXPECT_TRUE(yes.text.contains("読み込み直しますか")) << yes.text.toStdString();
    EXPECT_EQ(document->doc().title.substr(0, 7), "changed");
    EXPECT_FALSE(document->isModified());
    EXPECT_EQ(documents()->documents().size(), 1) << "reloaded in place";

    // The editor's own save is no change from another program; a second external write is
    // noticed again (the file it replaced was a new one).
    yes.answer.rearm();
    document->doc().life = "7";
    document->setModified();
    document->updateAllViews(); // the open panel shows it, as after any edit
    trigger(ID_FILE_SAVE);
    waitForCheck();
    EXPECT_EQ(yes.answer.seen(), 1);
    writeExternally(path("sample.stage"), changed);
    ASSERT_TRUE(waitForCheck());
    EXPECT_EQ(yes.answer.seen(), 2);
    EXPECT_EQ(document->doc().life, "5");
}

TEST_F(DiskChanges, AModifiedStageIsKeptWhenTheUserSaysNoAndNotAskedAgain) {
    start({path("sample.stage")});
    StageDocument* document = documents()->activeDocument();
    document->doc().life = "7";
    document->setModified();
    QByteArray changed = fileBytes(path("sample.stage"));
    changed.replace("life=", "life=3");

    MessageBoxAnswer no(QMessageBox::No);
    writeExternally(path("sample.stage"), changed);
    watcher()->checkNow();
    EXPECT_EQ(no.answer.seen(), 1);
    EXPECT_TRUE(no.text.contains("保存されていない変更")) << no.text.toStdString();
    EXPECT_EQ(no.buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(document->doc().life, "7");
    EXPECT_TRUE(document->isModified());
    no.answer.rearm();
    watcher()->checkNow();
    EXPECT_EQ(no.answer.seen(), 1) << "the same version of the file is not asked about again";
}

TEST_F(DiskChanges, DroppedStageFilesOpenAndOtherDropsAreRefused) {
    start();
    ASSERT_TRUE(QFile::copy(path("sample.stage"), path("second.stage")));
    QMimeData files;
    files.setUrls(
        {QUrl::fromLocalFile(path("sample.stage")), QUrl::fromLocalFile(path("second.stage"))});
    QMimeData web;
    web.setUrls({QUrl("https://example.com/a.stage")});
    QMimeData folder;
    folder.setUrls({QUrl::fromLocalFile(dir.path())});
    for (const QMimeData* refused : {&web, &folder}) {
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, refused, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(frame(), &enter);
        EXPECT_FALSE(enter.isAccepted());
    }
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame(), &drop);
    settle();
    QStringList opened;
    for (StageDocument* document : documents()->documents())
        opened << document->filePath();
    EXPECT_TRUE(opened.contains(path("sample.stage")));
    EXPECT_TRUE(opened.contains(path("second.stage")));
    EXPECT_EQ(opened.size(), 3); // with the new stage of the start
}

} // namespace
