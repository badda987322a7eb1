// Saving a stage where the disk has no room for it: the old file stays as it was, the stage
// keeps its unsaved mark, the user is told where and why, and the disk watcher, which sees
// the failed attempt come and go in the folder, offers no reload. Once there is room, the
// same save goes through.
//
// Two ways to make the write fail part-way, both through the editor's real saving path: a
// limit on the size of the files this process writes (EFBIG; always runs), and a real full
// tmpfs that tests/gui/full_disk.sh mounts in a private mount namespace when run as root
// (ENOSPC; skipped otherwise).
#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>

#include <cerrno>
#include <cstring>

#include "document/stagedocument.h"
#include "recoveryfixture.h"
#include "shell/commandids.h"
#include "shell/diskwatcher.h"
#include "shell/recoverykeeper.h"
#include "stage/CRKeditDoc.h"

namespace {

class SaveWithoutRoom : public Shell {
protected:
    DiskWatcher* watcher() const { return app->findChild<DiskWatcher*>(); }

    // Opens `stage`, edits it and saves it while `noRoom` holds (it makes the write fail
    // with `reason`), then saves again once `noRoom` has gone.
    template <class NoRoom>
    void saveFailsAndKeepsEverything(const QString& stage, const QString& reason, NoRoom&& noRoom) {
        const QByteArray before = fileBytes(stage);
        ASSERT_FALSE(before.isEmpty());
        const QStringList filesBefore =
            QDir(QFileInfo(stage).absolutePath()).entryList(QDir::Files);
        start({stage});
        StageDocument* document = documents()->activeDocument();
        ASSERT_NE(document, nullptr);
        document->doc().life = "9";
        document->doc().title = "full disk";
        document->setModified();
        document->updateAllViews(); // the open panel shows it, as after any edit
        ASSERT_TRUE(document->isModified());

        MessageBoxAnswer told(QMessageBox::Ok);
        QSignalSpy checks(watcher(), &DiskWatcher::checked);
        {
            auto held = noRoom();
            trigger(ID_FILE_SAVE);
        }
        EXPECT_EQ(told.answer.seen(), 1) << "a failed save says so";
        EXPECT_TRUE(told.text.contains(QDir::toNativeSeparators(stage))) << told.text.toStdString();
        EXPECT_TRUE(told.text.contains(reason)) << told.text.toStdString();
        EXPECT_TRUE(document->isModified()) << "the edits are still unsaved";
        EXPECT_TRUE(frame()->isWindowModified()) << "the title keeps its mark";
        EXPECT_EQ(fileBytes(stage), before) << "the old file is kept";
        for (const QString& name : QDir(QFileInfo(stage).absolutePath()).entryList(QDir::Files))
            EXPECT_TRUE(filesBefore.contains(name)) << "left behind: " << name.toStdString();

        // The attempt came and went in the watched folder: the watcher looks, finds the file
        // as the editor knows it, and asks nothing (an unanswered box fails the test).
        ASSERT_TRUE(checks.count() > 0 || checks.wait(5'000)) << "the watcher never looked";
        watcher()->checkNow();

        // With room again, the same command saves.
        MessageAnswer none([](const MessageChoice& box) {
            ADD_FAILURE() << box.text.toStdString();
            return QMessageBox::Ok;
        });
        trigger(ID_FILE_SAVE);
        EXPECT_EQ(none.seen(), 0);
        EXPECT_FALSE(document->isModified());
        EXPECT_EQ(fileBytes(stage), RecoveryKeeper::recordAsSaved(*document));
        EXPECT_TRUE(fileBytes(stage).contains("&life=9&"));
    }
};

TEST_F(SaveWithoutRoom, AWriteCutShortKeepsTheOldFileAndTheUnsavedMark) {
    // Far below the stage's size: the write stops part-way, and the system says why.
    saveFailsAndKeepsEverything(path("sample.stage"), QString::fromLocal8Bit(strerror(EFBIG)),
                                [] { return std::make_unique<FileSizeLimit>(64); });
}

TEST_F(SaveWithoutRoom, AFullFileSystemKeepsTheOldFileAndTheUnsavedMark) {
    // A folder on a full file system, holding a stage and its picture (full_disk.sh).
    const QString full = qEnvironmentVariable("RKEDIT_TEST_FULL_DIR");
    if (full.isEmpty())
        GTEST_SKIP() << "needs a full file system: run by tests/gui/full_disk.sh as root";
    // The disk stays full until the file filling it goes.
    struct Filler {
        QString path;
        ~Filler() { QFile::remove(path); }
    };
    saveFailsAndKeepsEverything(
        QDir(full).filePath("sample.stage"),
        QCoreApplication::translate("QIODevice", "No space left on device"),
        [&] { return std::make_unique<Filler>(QDir(full).filePath("filler")); });
}

} // namespace
