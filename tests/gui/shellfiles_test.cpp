// Stage files through the shell: New / Open / Save / Save As through the menus, the recent-file
// list, the unsaved-changes question and failed saves.
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QSettings>

#include "document/stagedocument.h"
#include "panels/eventtool.h"
#include "shell/childframe.h"
#include "shell/commandids.h"
#include "shell/recentfilelist.h"
#include "shellfixture.h"
#include "stage/CRKeditDoc.h"
#include "stage/stagerecord.h"
#include "view/CRKeditView.h"

namespace {

// The record a document is expected to write, for comparing with files on disk.
std::string expectedRecord(const CRKeditDoc& doc) {
    return writeStageRecord(doc);
}

TEST_F(Shell, NewSaveCloseOpenRoundTripThroughTheMenus) {
    start();
    StageDocument* document = documents()->activeDocument();
    ASSERT_NE(document, nullptr);
    CRKeditDoc& doc = document->doc();
    doc.graphicWidth = "45";
    doc.graphicHeight = "24";
    doc.cell(2, 1) = 4;
    doc.title = "夕焼け";
    doc.command = "OnHit\r\nplay\r\n";
    document->updateAllViews(); // the open properties panel shows the new values
    document->setModified();
    const std::string record = expectedRecord(doc);

    // Save on a new stage asks for a name: the stage files' filter and every file, a name
    // ending .stage proposed, no extension added to the one typed.
    FileDialogAnswer saveAs(path("mystage"));
    trigger(ID_FILE_SAVE);
    EXPECT_EQ(saveAs.answer.seen(), 1);
    EXPECT_EQ(saveAs.title, "名前を付けて保存");
    EXPECT_TRUE(saveAs.suffix.isEmpty());
    EXPECT_EQ(saveAs.filters,
              QStringList({"ステージファイル (*.stage *.txt)", "すべてのファイル (*)"}));
    EXPECT_TRUE(saveAs.selection.endsWith(".stage")) << saveAs.selection.toStdString();
    EXPECT_EQ(fileBytes(path("mystage")).toStdString(), record);
    EXPECT_EQ(document->filePath(), path("mystage"));
    EXPECT_EQ(document->title(), "mystage");
    EXPECT_FALSE(document->isModified());
    EXPECT_EQ(frame()->windowTitle(), "rkedit - mystage[*]");
    EXPECT_EQ(app->recentFiles()->files().value(0), path("mystage"));

    // Save again writes in place, without a dialog.
    doc.cell(0, 0) = 1;
    document->setModified();
    trigger(ID_FILE_SAVE);
    EXPECT_EQ(saveAs.answer.seen(), 1);
    EXPECT_EQ(fileBytes(path("mystage")).toStdString(), expectedRecord(doc));
    const std::string saved = expectedRecord(doc);

    trigger(ID_FILE_CLOSE);
    EXPECT_TRUE(documents()->documents().isEmpty());

    FileDialogAnswer open(path("mystage"));
    MessageBoxAnswer noPicture(QMessageBox::Ok); // graphic1.JPG is not beside the file
    trigger(ID_FILE_OPEN);
    EXPECT_EQ(open.answer.seen(), 1);
    EXPECT_EQ(open.title, "開く");
    ASSERT_EQ(documents()->documents().size(), 1);
    StageDocument* reopened = documents()->activeDocument();
    EXPECT_EQ(reopened->doc().cell(2, 1), 4);
    EXPECT_EQ(reopened->doc().cell(0, 0), 1);
    EXPECT_EQ(reopened->doc().title, "夕焼け");
    EXPECT_EQ(reopened->doc().command, "OnHit\r\nplay\r\n");
    EXPECT_FALSE(reopened->isModified());

    // Save As to another name writes the same bytes there.
    FileDialogAnswer copy(path("copy.txt"));
    trigger(ID_FILE_SAVE_AS);
    EXPECT_EQ(fileBytes(path("copy.txt")).toStdString(), saved);
    EXPECT_EQ(reopened->filePath(), path("copy.txt"));
}

TEST_F(Shell, OpeningAnOpenStageShowsItsWindow) {
    start({path("sample.stage")});
    trigger(ID_FILE_NEW);
    StageDocument* sample = documents()->documents().constFirst();
    EXPECT_EQ(documents()->openDocument(path("sample.stage")), sample);
    EXPECT_EQ(documents()->documents().size(), 2);
    EXPECT_EQ(documents()->activeDocument(), sample);
}

TEST_F(Shell, RecentFileListKeepsTheFourNewest) {
    QStringList stages;
    for (int i = 1; i <= 5; ++i) {
        stages << path(QStringLiteral("stage%1").arg(i));
        ASSERT_TRUE(QFile::copy(path("sample.stage"), stages.last()));
    }
    start();
    for (const QString& stage : stages)
        ASSERT_NE(documents()->openDocument(stage), nullptr);
    settle();
    const QStringList newestFirst{stages[4], stages[3], stages[2], stages[1]};
    EXPECT_EQ(app->recentFiles()->files(), newestFirst);
    QList<QAction*> entries = frame()->recentFileActions();
    ASSERT_EQ(entries.size(), 4);
    EXPECT_EQ(entries[0]->text(), "&1 " + QDir::toNativeSeparators(stages[4]));
    EXPECT_EQ(entries[3]->text(), "&4 " + QDir::toNativeSeparators(stages[1]));

    // The list outlives the program; an entry opens its file.
    app.reset();
    settle();
    start({"--no-such-switch"});
    EXPECT_EQ(app->recentFiles()->files(), newestFirst);
    trigger(ID_FILE_CLOSE);
    entries = frame()->recentFileActions();
    ASSERT_EQ(entries.size(), 4);
    entries[2]->trigger();
    settle();
    ASSERT_EQ(documents()->documents().size(), 1);
    EXPECT_EQ(documents()->activeDocument()->filePath(), stages[2]);
    EXPECT_EQ(app->recentFiles()->files().value(0), stages[2]);

    // An entry whose file has gone is reported and leaves the list.
    QFile::remove(stages[4]);
    MessageBoxAnswer gone(QMessageBox::Ok);
    frame()->recentFileActions()[1]->trigger(); // stage5, second since stage3 moved up
    settle();
    EXPECT_EQ(gone.answer.seen(), 1);
    EXPECT_FALSE(app->recentFiles()->files().contains(stages[4]));
    EXPECT_EQ(frame()->recentFileActions().size(), 3);

    // The newest opened again changes nothing, and nothing is written: an entry the stored
    // list has (as another editor may have written it) stays. The list is written on another
    // thread: what was saved has landed before the test writes beside it.
    app->recentFiles()->finishWriting();
    {
        QSettings settings;
        settings.setValue(QStringLiteral("Recent File List/File4"), stages[0]);
    }
    const QStringList shown = app->recentFiles()->files();
    trigger(ID_FILE_CLOSE);
    ASSERT_NE(documents()->openDocument(stages[2]), nullptr);
    EXPECT_EQ(app->recentFiles()->files(), shown);
    EXPECT_EQ(QSettings().value(QStringLiteral("Recent File List/File4")).toString(), stages[0]);
    // Another stage opened writes the whole list again.
    ASSERT_NE(documents()->openDocument(stages[1]), nullptr);
    EXPECT_EQ(app->recentFiles()->files().value(0), stages[1]);
    app->recentFiles()->finishWriting();
    EXPECT_EQ(QSettings().value(QStringLiteral("Recent File List/File1")).toString(), stages[1]);
    EXPECT_EQ(QSettings().value(QStringLiteral("Recent File List/File4")).toString(), QString());
}

TEST_F(Shell, RecentFileListWritesLandInTheirOrderAndBeforeTheListGoes) {
    const auto stored = [] {
        QSettings settings;
        settings.beginGroup(QStringLiteral("Recent File List"));
        QStringList files;
        for (int i = 1; i <= 4; ++i)
            files << settings.value(QStringLiteral("File%1").arg(i)).toString();
        return files;
    };
    QStringList newest;
    {
        RecentFileList list(4);
        for (int i = 0; i < 40; ++i)
            list.add(path(QStringLiteral("stage%1").arg(i)));
        newest = list.files();
        list.finishWriting();
        EXPECT_EQ(stored(), newest);
        list.remove(newest[0]);
        list.add(path("last"));
        newest = list.files();
    }
    EXPECT_EQ(stored(), newest) << "written before the list went";
    RecentFileList again(4);
    again.load();
    EXPECT_EQ(again.files(), newest);
}

TEST_F(Shell, ModifiedStageShowsItAndAsksBeforeClosing) {
    start();
    StageDocument* document = documents()->activeDocument();
    CChildFrame* window = documents()->activeFrame();
    document->setModified();
    settle();
    EXPECT_TRUE(window->isWindowModified());
    EXPECT_TRUE(frame()->isWindowModified());
    EXPECT_EQ(frame()->windowTitle(), "rkedit - RKedit1[*]");

    { // Cancel keeps the window and the document.
        MessageBoxAnswer cancel(QMessageBox::Cancel);
        window->close();
        settle();
        EXPECT_EQ(cancel.answer.seen(), 1);
        EXPECT_EQ(cancel.text, "RKedit1 への変更を保存しますか?");
        EXPECT_EQ(cancel.buttons, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        // Qt's own Japanese texts are loaded for the standard buttons.
        EXPECT_TRUE(cancel.buttonTexts.contains("キャンセル"))
            << cancel.buttonTexts.join("|").toStdString();
        EXPECT_EQ(documents()->documents().size(), 1);
        EXPECT_TRUE(document->isModified());
    }
    { // The program's close asks too; Save goes through Save As for a new stage.
        MessageBoxAnswer save(QMessageBox::Save);
        FileDialogAnswer name(path("closing.stage"));
        frame()->close();
        settle();
        EXPECT_EQ(save.answer.seen(), 1);
        EXPECT_EQ(name.answer.seen(), 1);
        EXPECT_FALSE(frame()->isVisible());
        EXPECT_EQ(fileBytes(path("closing.stage")).toStdString(), expectedRecord(CRKeditDoc()));
        EXPECT_TRUE(documents()->documents().isEmpty());
    }
}

TEST_F(Shell, DiscardClosesWithoutWritingAndUnmodifiedClosesWithoutAsking) {
    start({path("sample.stage")});
    const QByteArray before = fileBytes(path("sample.stage"));
    StageDocument* document = documents()->activeDocument();
    document->doc().cell(0, 0) = 1;
    document->setModified();
    {
        MessageBoxAnswer discard(QMessageBox::Discard);
        trigger(ID_FILE_CLOSE);
        EXPECT_EQ(discard.answer.seen(), 1);
        EXPECT_TRUE(documents()->documents().isEmpty());
        EXPECT_EQ(fileBytes(path("sample.stage")), before);
    }
    {
        start({path("sample.stage")});
        MessageBoxAnswer unexpected(QMessageBox::Cancel);
        frame()->close();
        settle();
        EXPECT_EQ(unexpected.answer.seen(), 0);
        EXPECT_FALSE(frame()->isVisible());
    }
}

TEST_F(Shell, FailedSaveKeepsTheOldFileAndTheDocument) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("locked"));
    const QString target = path("locked/old.stage");
    {
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("version=RK&old=1&");
    }
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther |
                                      QFile::ReadGroup);
    QFile::setPermissions(path("locked"), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther |
                                              QFile::ExeOther | QFile::ReadGroup | QFile::ExeGroup);
    start({path("sample.stage")});
    StageDocument* document = documents()->activeDocument();
    document->doc().cell(1, 1) = 1;
    document->setModified();
    {
        UnprivilegedFileAccess unprivileged;
        MessageBoxAnswer error(QMessageBox::Ok);
        EXPECT_FALSE(documents()->writeDocument(document, target));
        EXPECT_EQ(error.answer.seen(), 1);
        EXPECT_TRUE(error.text.contains("保存できません")) << error.text.toStdString();
        EXPECT_TRUE(error.text.contains(QDir::toNativeSeparators(target)));
    }
    EXPECT_EQ(fileBytes(target), "version=RK&old=1&");
    EXPECT_EQ(QDir(path("locked")).entryList(QDir::Files | QDir::Hidden), QStringList{"old.stage"});
    EXPECT_EQ(documents()->documents().size(), 1);
    EXPECT_TRUE(document->isModified());
    EXPECT_EQ(document->filePath(), path("sample.stage"));

    // A folder that does not exist is reported the same way.
    MessageBoxAnswer error(QMessageBox::Ok);
    EXPECT_FALSE(documents()->writeDocument(document, path("nowhere/new.stage")));
    EXPECT_TRUE(error.text.contains("フォルダーが見つかりません")) << error.text.toStdString();
    EXPECT_FALSE(QFile::exists(path("nowhere")));
}

TEST_F(Shell, WarnsBeforeSavingValuesThatWillNotReadBack) {
    start();
    StageDocument* document = documents()->activeDocument();
    document->doc().title = "Tom&Jerry";
    document->setModified();
    const QString target = path("amp.stage");
    { // Cancel writes nothing.
        MessageBoxAnswer cancel(QMessageBox::Cancel);
        EXPECT_FALSE(documents()->writeDocument(document, target));
        EXPECT_EQ(cancel.answer.seen(), 1);
        EXPECT_TRUE(cancel.text.contains("title")) << cancel.text.toStdString();
        EXPECT_FALSE(QFile::exists(target));
        EXPECT_TRUE(document->isModified());
    }
    { // Saving anyway writes the record in its usual form.
        MessageBoxAnswer save(QMessageBox::Save);
        EXPECT_TRUE(documents()->writeDocument(document, target));
        EXPECT_EQ(fileBytes(target).toStdString(), expectedRecord(document->doc()));
        EXPECT_FALSE(document->isModified());
    }
}

TEST_F(Shell, TheWarningSeesTheEventToolsScriptAsItWillBeWritten) {
    start();
    StageDocument* document = documents()->activeDocument();
    ASSERT_NE(document, nullptr);
    auto* view = qobject_cast<CRKeditView*>(document->views().constFirst());
    view->runCommand(ID_EVENT_TOOL);
    ASSERT_NE(view->eventTool, nullptr);
    // Typed into the tool, not yet taken: the "&" would end the script's value in the record.
    view->eventTool->edit()->setPlainText("OnHit\nscore&1");
    const QString target = path("script.stage");
    { // Cancel writes nothing; the script has become a step of the stage.
        MessageBoxAnswer cancel(QMessageBox::Cancel);
        EXPECT_FALSE(documents()->writeDocument(document, target));
        EXPECT_EQ(cancel.answer.seen(), 1);
        EXPECT_TRUE(cancel.text.contains("command")) << cancel.text.toStdString();
        EXPECT_FALSE(QFile::exists(target));
        EXPECT_EQ(document->doc().command, "OnHit\r\nscore&1");
    }
    { // Saving anyway writes what was asked about.
        MessageBoxAnswer save(QMessageBox::Save);
        EXPECT_TRUE(documents()->writeDocument(document, target));
        EXPECT_EQ(save.answer.seen(), 1);
        EXPECT_EQ(fileBytes(target).toStdString(), expectedRecord(document->doc()));
    }
}

} // namespace

namespace {
TEST_F(Shell, SaveAsOfANewStageProposesAStageNameBesideTheStageOpenedLast) {
    start({path("sample.stage")});
    trigger(ID_FILE_NEW);
    StageDocument* fresh = documents()->activeDocument();
    ASSERT_NE(fresh, nullptr);
    FileDialogAnswer cancelled{QString()};
    trigger(ID_FILE_SAVE_AS);
    EXPECT_EQ(cancelled.answer.seen(), 1);
    EXPECT_EQ(QDir(cancelled.directory), QDir(dir.path()));
    EXPECT_EQ(cancelled.selection, fresh->title() + ".stage");
    EXPECT_TRUE(fresh->filePath().isEmpty()) << "cancelled: nothing saved";

    // A stage with a file keeps its own folder and name.
    FileDialogAnswer again{QString()};
    documents()->saveDocumentAs(documents()->documents().constFirst());
    EXPECT_EQ(again.selection, "sample.stage");
}
} // namespace
