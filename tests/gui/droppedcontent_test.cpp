// A stage file holding content the editor does not read (an unknown key, a list under a key
// of one value, blocks beyond the grid, further lines): the user hears of it on opening, and
// again before the first save over the file, which they may call off.
#include <QFile>

#include "document/stagedocument.h"
#include "shell/commandids.h"
#include "shell/diskwatcher.h"
#include "shellfixture.h"
#include "stage/CRKeditDoc.h"

namespace {

class DroppedContent : public Shell {
protected:
    DiskWatcher* watcher() const { return app->findChild<DiskWatcher*>(); }
    void write(const QString& name, const QByteArray& bytes) {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
};

TEST_F(DroppedContent, OpeningSaysWhatIsLeftOutAndTheFirstSaveOverItAsks) {
    QByteArray bytes = fileBytes(path("sample.stage"));
    ASSERT_TRUE(bytes.endsWith('&'));
    bytes += "colour=red&\r\nsecond line\r\n";
    {
        QFile file(path("lossy.stage"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    MessageBoxAnswer opened(QMessageBox::Ok);
    start({path("lossy.stage")});
    EXPECT_EQ(opened.answer.seen(), 1);
    EXPECT_TRUE(opened.text.contains("知らない項目: colour")) << opened.text.toStdString();
    EXPECT_TRUE(opened.text.contains("2 行目以降の 1 行")) << opened.text.toStdString();
    StageDocument* document = documents()->activeDocument();
    ASSERT_NE(document, nullptr);
    document->doc().life = "9";
    document->setModified();

    // Called off: the file and the unsaved mark stay.
    MessageBoxAnswer cancel(QMessageBox::Cancel);
    trigger(ID_FILE_SAVE);
    EXPECT_EQ(cancel.answer.seen(), 1);
    EXPECT_TRUE(cancel.text.contains("上書き保存すると失われます")) << cancel.text.toStdString();
    EXPECT_TRUE(cancel.text.contains("colour")) << cancel.text.toStdString();
    EXPECT_EQ(cancel.buttons, QMessageBox::Save | QMessageBox::Cancel);
    EXPECT_EQ(fileBytes(path("lossy.stage")), bytes);
    EXPECT_TRUE(document->isModified());

    // Saved: the file holds the stage alone, and later saves ask nothing more.
    MessageBoxAnswer save(QMessageBox::Save);
    trigger(ID_FILE_SAVE);
    EXPECT_EQ(save.answer.seen(), 1);
    EXPECT_FALSE(document->isModified());
    EXPECT_FALSE(fileBytes(path("lossy.stage")).contains("colour"));
    document->doc().life = "8";
    document->setModified();
    trigger(ID_FILE_SAVE); // an unanswered box would fail the test
    EXPECT_FALSE(document->isModified());
}

TEST_F(DroppedContent, AWholeRecordOpensWithoutAWord) {
    start({path("sample.stage")}); // an unanswered box would fail the test
    ASSERT_NE(documents()->activeDocument(), nullptr);
    documents()->activeDocument()->setModified();
    trigger(ID_FILE_SAVE);
    EXPECT_FALSE(documents()->activeDocument()->isModified());
}

TEST_F(DroppedContent, AReloadedFileDecidesWhatASaveWouldDrop) {
    const QByteArray whole = fileBytes(path("sample.stage"));
    const QByteArray lossy = whole + "colour=red&";
    write("lossy.stage", lossy);
    MessageBoxAnswer opened(QMessageBox::Ok);
    start({path("lossy.stage")});
    ASSERT_EQ(opened.answer.seen(), 1);
    StageDocument* document = documents()->activeDocument();
    ASSERT_NE(document, nullptr);
    ASSERT_NE(watcher(), nullptr);

    // Another program writes a whole record: reloaded, nothing is left out any more, so the
    // next save asks nothing (an unanswered box would fail the test).
    write("lossy.stage", whole);
    MessageBoxAnswer reload(QMessageBox::Yes);
    watcher()->checkNow();
    ASSERT_EQ(reload.answer.seen(), 1);
    ASSERT_TRUE(reload.text.contains("読み込み直しますか")) << reload.text.toStdString();
    document->doc().life = "9";
    document->setModified();
    trigger(ID_FILE_SAVE);
    EXPECT_FALSE(document->isModified());

    // It writes a record with an unknown key again: the reload says so, and the next save
    // over the file asks first.
    write("lossy.stage", lossy);
    MessageBoxAnswer again(QMessageBox::Yes);
    MessageBoxAnswer told(QMessageBox::Ok);
    watcher()->checkNow();
    ASSERT_EQ(again.answer.seen(), 1);
    EXPECT_EQ(told.answer.seen(), 1);
    EXPECT_TRUE(told.text.contains("知らない項目: colour")) << told.text.toStdString();
    document->doc().life = "8";
    document->setModified();
    MessageBoxAnswer cancel(QMessageBox::Cancel);
    trigger(ID_FILE_SAVE);
    EXPECT_EQ(cancel.answer.seen(), 1);
    EXPECT_TRUE(cancel.text.contains("上書き保存すると失われます")) << cancel.text.toStdString();
    EXPECT_EQ(fileBytes(path("lossy.stage")), lossy);
}

} // namespace
