// A stage file that another program is still writing when the editor notices the change:
// the reload reads the file as it is once the user has answered and it has stopped
// changing, never the half-written bytes seen before the question; a file that keeps
// changing is not read at all, and the user is told so. The watcher's clock is replaced, so
// the writer advances exactly between the watcher's reads.
#include <QSaveFile>

#include "document/stagedocument.h"
#include "shell/commandids.h"
#include "shell/diskwatcher.h"
#include "shellfixture.h"
#include "stage/CRKeditDoc.h"

namespace {

void writeExternally(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    ASSERT_TRUE(file.commit());
}

class SlowWriter : public Shell {
protected:
    void SetUp() override {
        Shell::SetUp();
        original = fileBytes(path("sample.stage"));
        ASSERT_FALSE(original.isEmpty());
        whole = original;
        whole.replace("life=", "life=5");
        ASSERT_NE(whole, original);
    }
    DiskWatcher* watcher() const { return app->findChild<DiskWatcher*>(); }
    // Replaces the watcher's clock: each wait is counted and lets the writer take `step`.
    void writerAdvancesOnEachWait(std::function<void(int wait)> step) {
        watcher()->setWait([this, step = std::move(step)](int ms) {
            waits << ms;
            step(int(waits.size()));
        });
    }

    QByteArray original;
    QByteArray whole;
    QList<int> waits;
};

TEST_F(SlowWriter, TheReloadReadsTheFileOnceItHasStoppedChanging) {
    start({path("sample.stage")});
    StageDocument* document = documents()->activeDocument();
    const std::string life = document->doc().life;

    // The writer has put half the file down when the watcher looks, more while the
    // question is open, and the rest during the first wait.
    writeExternally(path("sample.stage"), whole.left(whole.size() / 3));
    MessageAnswer yes([&](const MessageChoice& box) {
        EXPECT_TRUE(box.text.contains("他のプログラムによって変更されました"))
            << box.text.toStdString();
        writeExternally(path("sample.stage"), whole.left(whole.size() * 2 / 3));
        return QMessageBox::Yes;
    });
    writerAdvancesOnEachWait([&](int wait) {
        if (wait == 1)
            writeExternally(path("sample.stage"), whole);
    });
    watcher()->checkNow();
    EXPECT_EQ(yes.seen(), 1);
    // Two thirds, then the whole (differs), then the whole again (the same): two waits.
    EXPECT_EQ(waits, (QList<int>{DiskWatcher::stableIntervalMs, DiskWatcher::stableIntervalMs}));
    EXPECT_EQ(document->doc().life, "5" + life);
    EXPECT_FALSE(document->isModified());
    EXPECT_EQ(document->diskContents(), whole);

    // The stage matches its file: looking again asks nothing.
    watcher()->checkNow();
    EXPECT_EQ(yes.seen(), 1);
}

TEST_F(SlowWriter, AFileThatKeepsChangingIsNotReadAndTheUserIsTold) {
    start({path("sample.stage")});
    StageDocument* document = documents()->activeDocument();
    document->doc().life = "7";
    document->setModified();

    writeExternally(path("sample.stage"), whole.left(100));
    MessageBoxAnswer yes(QMessageBox::Yes);
    MessageBoxAnswer told(QMessageBox::Ok);
    writerAdvancesOnEachWait([&](int wait) {
        // A file that grows on every look: never the same twice.
        writeExternally(path("sample.stage"), whole.left(100 + 10 * wait));
    });
    watcher()->checkNow();
    EXPECT_EQ(yes.answer.seen(), 1);
    EXPECT_EQ(waits.size(), DiskWatcher::stableTries) << "a bounded number of tries";
    EXPECT_EQ(told.answer.seen(), 1);
    EXPECT_TRUE(told.text.contains("書き込みを続けている")) << told.text.toStdString();
    EXPECT_TRUE(told.text.contains(QDir::toNativeSeparators(path("sample.stage"))));
    // Nothing was read: the user's edits are as they were.
    EXPECT_EQ(document->doc().life, "7");
    EXPECT_TRUE(document->isModified());
    EXPECT_EQ(document->undoStack()->count(), 0) << "no reload step";

    // Once the writer has finished, the next change asks again and reads the whole file.
    writerAdvancesOnEachWait([](int) {});
    writeExternally(path("sample.stage"), whole);
    yes.answer.rearm();
    watcher()->checkNow();
    EXPECT_EQ(yes.answer.seen(), 2);
    EXPECT_EQ(document->diskContents(), whole);
    EXPECT_FALSE(document->isModified());
}

TEST_F(SlowWriter, AWriterThatPausesMidRecordIsWaitedForAndACutShortFileIsNeverReadClean) {
    start({path("sample.stage")});
    StageDocument* document = documents()->activeDocument();
    const std::string life = document->doc().life;

    // The writer stops half-way for longer than one interval (the same bytes twice), then
    // finishes: the half is not taken for the file.
    writeExternally(path("sample.stage"), whole.left(whole.size() / 2));
    MessageBoxAnswer yes(QMessageBox::Yes);
    writerAdvancesOnEachWait([&](int wait) {
        if (wait == 3)
            writeExternally(path("sample.stage"), whole);
    });
    watcher()->checkNow();
    EXPECT_EQ(yes.answer.seen(), 1);
    EXPECT_EQ(waits.size(), 4) << "half, half, half, whole, whole";
    EXPECT_EQ(document->doc().life, "5" + life);
    EXPECT_EQ(document->diskContents(), whole);
    EXPECT_FALSE(document->isModified());

    // A writer that never finishes: nothing is read within the limit, the user is told.
    waits.clear();
    writeExternally(path("sample.stage"), original.left(original.size() - 3));
    yes.answer.rearm();
    MessageBoxAnswer told(QMessageBox::Ok);
    writerAdvancesOnEachWait([](int) {});
    watcher()->checkNow();
    EXPECT_EQ(yes.answer.seen(), 2);
    EXPECT_EQ(waits.size(), DiskWatcher::stableTries);
    EXPECT_EQ(told.answer.seen(), 1);
    EXPECT_EQ(document->diskContents(), whole) << "the cut-short bytes were not read";
    EXPECT_EQ(document->doc().life, "5" + life);
}

TEST_F(SlowWriter, OpeningACutShortStageSaysSoAndASaveOverItAsksFirst) {
    const QByteArray cut = original.left(original.indexOf("&command=") + 20);
    ASSERT_FALSE(cut.endsWith('&'));
    writeExternally(path("cut.stage"), cut);
    MessageBoxAnswer told(QMessageBox::Ok);
    start({path("cut.stage")});
    ASSERT_GE(told.answer.seen(), 1);
    EXPECT_TRUE(told.text.contains("途中で切れています")) << told.text.toStdString();
    EXPECT_TRUE(told.text.contains(QDir::toNativeSeparators(path("cut.stage"))));
    StageDocument* document = documents()->activeDocument();
    ASSERT_NE(document, nullptr);
    EXPECT_FALSE(document->isModified());

    // Saving over it asks; declined, the file keeps its bytes.
    MessageBoxAnswer declined(QMessageBox::Cancel);
    trigger(ID_FILE_SAVE);
    EXPECT_EQ(declined.answer.seen(), 1);
    EXPECT_TRUE(declined.text.contains("途中で切れた")) << declined.text.toStdString();
    EXPECT_EQ(fileBytes(path("cut.stage")), cut);

    // A whole stage says nothing of the kind.
    MessageBoxAnswer none(QMessageBox::Ok);
    start({path("sample.stage")});
    EXPECT_EQ(none.answer.seen(), 0) << none.text.toStdString();
}

} // namespace
