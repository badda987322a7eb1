// Stage files that are no regular files, or far too large: the editor refuses them at once
// with the reason (a FIFO never holds it up, /dev/zero never fills its memory), and the disk
// watcher never blocks on a FIFO put in a stage file's place.
#include <QFile>
#include <QSignalSpy>

#include <sys/stat.h>

#include "document/stagedocument.h"
#include "file/regularfile.h"
#include "shell/diskwatcher.h"
#include "shellfixture.h"

namespace {

class SpecialStage : public Shell {};

TEST_F(SpecialStage, OnlyRegularFilesOfAStageFilesSizeOpen) {
    ASSERT_EQ(mkfifo(QFile::encodeName(path("fifo.stage")).constData(), 0600), 0);
    {
        // Sparse: past the limit without taking the disk.
        QFile huge(path("huge.stage"));
        ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
        ASSERT_TRUE(huge.write("version=RK&") > 0);
        ASSERT_TRUE(huge.resize(qint64(maxStageFileBytes) + 1));
    }
    ASSERT_TRUE(QDir().mkpath(path("folder.stage")));
    start();
    const qsizetype open = documents()->documents().size();
    const struct {
        QString file;
        const char* reason;
    } rows[] = {
        {path("fifo.stage"), "通常のファイルではありません。"},
        {QStringLiteral("/dev/zero"), "通常のファイルではありません。"},
        {path("huge.stage"), "ファイルが大きすぎます。"},
        {path("folder.stage"), "フォルダーです。"},
        {path("missing.stage"), "ファイルが見つかりません。"},
    };
    for (const auto& row : rows) {
        MessageBoxAnswer told(QMessageBox::Ok);
        EXPECT_EQ(documents()->openDocument(row.file), nullptr) << row.file.toStdString();
        EXPECT_EQ(told.answer.seen(), 1) << row.file.toStdString();
        EXPECT_TRUE(told.text.contains(row.reason)) << told.text.toStdString();
        EXPECT_TRUE(told.text.contains(QDir::toNativeSeparators(row.file)))
            << told.text.toStdString();
    }
    EXPECT_EQ(documents()->documents().size(), open);
}

TEST_F(SpecialStage, AFifoInAStageFilesPlaceHoldsNothingUp) {
    start({path("sample.stage")});
    ASSERT_NE(documents()->activeDocument(), nullptr);
    ASSERT_TRUE(QFile::remove(path("sample.stage")));
    ASSERT_EQ(mkfifo(QFile::encodeName(path("sample.stage")).constData(), 0600), 0);
    // Nothing can be read there: no question (an unanswered box fails the test), no wait.
    DiskWatcher* watcher = app->findChild<DiskWatcher*>();
    QSignalSpy checked(watcher, &DiskWatcher::checked);
    watcher->checkNow();
    EXPECT_EQ(checked.count(), 1);
    EXPECT_FALSE(documents()->activeDocument()->isModified());
}

} // namespace

namespace {

TEST_F(SpecialStage, ATemporaryFileLeftBesideTheStageIsMentioned) {
    // What a save killed part-way leaves where the file system has no unnamed temporaries.
    const auto put = [&](const QString& name, const QByteArray& bytes) {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    put("sample.stage.Ab12Cd", "version=RK&graphicWidth=6");
    put("sample.stage.backup", "a note of the user's"); // the right length, no record
    put("sample.stage.Zz9", "version=RK&");             // no name a save gives
    put("other.stage.Ef34Gh", "version=RK&");           // beside another stage
    MessageBoxAnswer told(QMessageBox::Ok);
    start({path("sample.stage")});
    EXPECT_EQ(told.answer.seen(), 1);
    EXPECT_TRUE(told.text.contains("sample.stage.Ab12Cd")) << told.text.toStdString();
    EXPECT_FALSE(told.text.contains("backup")) << told.text.toStdString();
    EXPECT_FALSE(told.text.contains("Zz9")) << told.text.toStdString();
    EXPECT_FALSE(told.text.contains("Ef34Gh")) << told.text.toStdString();
    ASSERT_NE(documents()->activeDocument(), nullptr);
    // Mentioned, never removed: it may hold the only copy of some edits.
    EXPECT_TRUE(QFileInfo::exists(path("sample.stage.Ab12Cd")));
}

} // namespace
