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
