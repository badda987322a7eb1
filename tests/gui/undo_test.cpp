// Undo and redo of a stage's edits through the editor's own commands: each edit one step,
// the stage given back byte for byte, and the modified mark as the undo stack's clean state.
#include <QLineEdit>
#include <QTest>

#include <malloc.h>

#include "document/stagedocument.h"
#include "document/stageedit.h"
#include "html/ChtmlDlg.h"
#include "panels/eventtool.h"
#include "panels/propertypanel.h"
#include "shell/commandids.h"
#include "shell/diskwatcher.h"
#include "shell/recoverykeeper.h"
#include "shellfixture.h"
#include "stage/CRKeditDoc.h"
#include "view/CRKeditView.h"

namespace {

class Undo : public Shell {
protected:
    StageDocument* openSample() {
        start({path("sample.stage")});
        StageDocument* document = documents()->activeDocument();
        EXPECT_NE(document, nullptr);
        return document;
    }
    // The record Save would write now.
    static QByteArray saved(StageDocument* document) {
        return RecoveryKeeper::recordAsSaved(*document);
    }
    CRKeditView* view() const { return documents()->activeView(); }
    QString text(int id) const { return frame()->action(id)->text(); }
    bool enabled(int id) const { return frame()->action(id)->isEnabled(); }

    // Runs the export command; the dialog gets `title` and OK, the file chooser is cancelled.
    void exportWithTitle(const QString& title) {
        ModalAnswer<ChtmlDlg> dialog([&](ChtmlDlg* d) {
            for (int i = 0; i < 100 && d->initRadioButtons; ++i)
                QTest::qWait(10);
            static_cast<QLineEdit*>(d->control(1000))->setText(title);
            // A title with markup characters is written after a warning.
            MessageBoxAnswer writeAnyway(QMessageBox::Yes);
            d->accept();
        });
        FileAnswer chooser([](const FileChoice&) { return QString(); });
        trigger(ID_HTML_EXPORT);
        EXPECT_EQ(dialog.seen(), 1);
    }
};

TEST_F(Undo, ExportValuesAreOneStepUndoneAndRedoneThroughTheEditMenu) {
    StageDocument* document = openSample();
    const QByteArray original = saved(document);
    EXPECT_FALSE(enabled(ID_EDIT_UNDO));
    EXPECT_FALSE(enabled(ID_EDIT_REDO));
    EXPECT_EQ(text(ID_EDIT_UNDO), "元に戻す(&U)\tCtrl+Z");

    exportWithTitle("夕焼け & 朝");
    const QByteArray edited = saved(document);
    ASSERT_NE(edited, original);
    EXPECT_EQ(document->undoStack()->count(), 1);
    EXPECT_TRUE(document->isModified());
    EXPECT_TRUE(enabled(ID_EDIT_UNDO));
    EXPECT_EQ(text(ID_EDIT_UNDO), "元に戻す(&U) HTML書き出しの設定\tCtrl+Z");

    // The same values again change nothing and add no step.
    exportWithTitle("夕焼け & 朝");
    EXPECT_EQ(document->undoStack()->count(), 1);

    trigger(ID_EDIT_UNDO);
    EXPECT_EQ(saved(document), original);
    EXPECT_FALSE(document->isModified()) << "back at the state read from the file";
    EXPECT_FALSE(enabled(ID_EDIT_UNDO));
    EXPECT_EQ(text(ID_EDIT_REDO), "やり直し(&R) HTML書き出しの設定\tCtrl+Y");

    trigger(ID_EDIT_REDO);
    EXPECT_EQ(saved(document), edited);
    EXPECT_TRUE(document->isModified());
    EXPECT_FALSE(enabled(ID_EDIT_REDO));
}

// The centre of cell (x, y) of the sample's 15 x 12 cells.
QPoint cellCentre(int x, int y) {
    return {x * 15 + 7, y * 12 + 6};
}

void drag(QWidget* view, QPoint from, QPoint to) {
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, from);
    for (int i = 1; i <= 4; ++i)
        QTest::mouseMove(view, from + (to - from) * i / 4);
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, to);
    settle();
}

// The panel-to-document transfer as the panel asks for it: the pointer moves over it.
void moveOverPanel(CPropertyPanel* panel) {
    // In its own window or docked in the main window: the window's coordinates.
    QWindow* window = panel->window()->windowHandle();
    QTest::mouseMove(window, panel->mapTo(panel->window(), QPoint(3, 3)));
    QTest::mouseMove(window, panel->mapTo(panel->window(), QPoint(4, 3)));
    settle();
}

TEST_F(Undo, EveryRealEditIsOneStepAndUndoingAllGivesBackTheSavedRecord) {
    StageDocument* document = openSample();
    CRKeditView* v = view();
    ASSERT_NE(v, nullptr);
    ASSERT_NE(v->propertyPanel, nullptr);
    for (int i = 0; i < 50 && !v->propertyPanel->filledFromDocument; ++i)
        QTest::qWait(10);
    moveOverPanel(v->propertyPanel); // an untouched panel changes nothing
    ASSERT_EQ(document->undoStack()->count(), 0);
    ASSERT_FALSE(document->isModified());

    std::vector<QByteArray> states{saved(document)};
    std::vector<QString> names;
    auto step = [&](const char* what) {
        SCOPED_TRACE(what);
        EXPECT_EQ(document->undoStack()->count(), int(states.size())) << "one step per edit";
        names.push_back(document->undoStack()->undoText());
        states.push_back(saved(document));
        EXPECT_NE(states.back(), states[states.size() - 2]);
    };

    // A drag from press to release, over several cells, is one step.
    drag(v, cellCentre(5, 3), cellCentre(2, 1));
    EXPECT_EQ(document->doc().cell(3, 2), 1);
    step("drag");
    drag(v, cellCentre(0, 0), cellCentre(42, 39)); // the whole stage
    step("whole-stage drag");

    // A typed setting reaches the document at the next movement over the panel.
    CPropertyPanel* panel = v->propertyPanel;
    panel->control<QLineEdit>(CPropertyPanel::IDC_BALL_SIZE)->setText("12");
    moveOverPanel(panel);
    EXPECT_EQ(document->doc().ballSize, "12");
    step("settings transfer");
    moveOverPanel(panel); // again: nothing new
    EXPECT_EQ(document->undoStack()->count(), int(states.size()) - 1);

    // A new block size: its grid clear and the new size are one step.
    panel->blockWidth = 8;
    panel->blockHeight = 8;
    panel->UpdateData(false);
    moveOverPanel(panel);
    EXPECT_EQ(document->doc().blockWidth, "8");
    EXPECT_EQ(document->doc().cell(3, 2), 0);
    step("block size");

    // The event script taken over from the tool.
    v->runCommand(ID_EVENT_TOOL);
    ASSERT_NE(v->eventTool, nullptr);
    v->eventTool->edit()->setPlainText("OnHit\nplay");
    v->runCommand(ID_EVENT_TOOL);
    EXPECT_EQ(document->doc().command, "OnHit\r\nplay");
    step("script");

    exportWithTitle("夕焼け");
    step("export values");

    EXPECT_EQ(names, (std::vector<QString>{"ブロックの切り替え", "ブロックの切り替え", "直径の変更",
                                           "ブロックサイズの変更", "イベントスクリプトの変更",
                                           "HTML書き出しの設定"}));

    // Undo through the menu, step by step, back to the record read from the file; the open
    // panel shows each state.
    for (std::size_t i = states.size() - 1; i-- > 0;) {
        trigger(ID_EDIT_UNDO);
        EXPECT_EQ(saved(document), states[i]) << i;
        EXPECT_EQ(panel->control<QLineEdit>(CPropertyPanel::IDC_BALL_SIZE)->text().toStdString(),
                  document->doc().ballSize)
            << i;
    }
    EXPECT_FALSE(document->isModified());
    EXPECT_FALSE(enabled(ID_EDIT_UNDO));
    // Moving over the refreshed panel takes nothing back in.
    moveOverPanel(panel);
    EXPECT_TRUE(enabled(ID_EDIT_REDO)) << "a no-op transfer must not drop the redo steps";
    for (std::size_t i = 1; i < states.size(); ++i) {
        trigger(ID_EDIT_REDO);
        EXPECT_EQ(saved(document), states[i]) << i;
    }
    EXPECT_TRUE(document->isModified());
}

TEST_F(Undo, UndoingAScriptStepShowsTheScriptInTheOpenToolUnlessTypedOver) {
    StageDocument* document = openSample();
    CRKeditView* v = view();
    const std::string original = document->doc().command;
    v->runCommand(ID_EVENT_TOOL);
    CEventTool* tool = v->eventTool;
    const QString shown = tool->edit()->toPlainText();
    tool->edit()->setPlainText("first");
    v->commitToolEdits();
    ASSERT_EQ(document->doc().command, "first");
    trigger(ID_EDIT_UNDO);
    EXPECT_EQ(document->doc().command, original);
    EXPECT_EQ(tool->edit()->toPlainText(), shown);
    trigger(ID_EDIT_REDO);
    EXPECT_EQ(tool->edit()->toPlainText(), "first");
    tool->edit()->setPlainText("typed since");
    trigger(ID_EDIT_UNDO);
    EXPECT_EQ(document->doc().command, original);
    EXPECT_EQ(tool->edit()->toPlainText(), "typed since");
}

TEST_F(Undo, SavingMarksTheCleanStateAndUndoingBackToItClearsTheMark) {
    StageDocument* document = openSample();
    exportWithTitle("one");
    const QByteArray first = saved(document);
    trigger(ID_FILE_SAVE);
    EXPECT_EQ(fileBytes(path("sample.stage")), first);
    EXPECT_FALSE(document->isModified());
    EXPECT_TRUE(enabled(ID_EDIT_UNDO)) << "saving keeps the steps";

    exportWithTitle("two");
    EXPECT_TRUE(document->isModified());
    EXPECT_TRUE(frame()->isWindowModified());
    trigger(ID_EDIT_UNDO);
    EXPECT_FALSE(document->isModified());
    EXPECT_FALSE(frame()->isWindowModified());
    EXPECT_EQ(saved(document), first);
    // Further back than the save is modified again, and so is redoing past it.
    trigger(ID_EDIT_UNDO);
    EXPECT_TRUE(document->isModified());
    trigger(ID_EDIT_REDO);
    EXPECT_FALSE(document->isModified());
    trigger(ID_EDIT_REDO);
    EXPECT_TRUE(document->isModified());

    // A new step after an undo drops the redo branch, the saved state's included: the mark
    // can then only be cleared by saving.
    trigger(ID_EDIT_UNDO);
    trigger(ID_EDIT_UNDO);
    exportWithTitle("three");
    EXPECT_FALSE(enabled(ID_EDIT_REDO));
    EXPECT_TRUE(document->isModified());
    trigger(ID_EDIT_UNDO);
    EXPECT_TRUE(document->isModified()) << "the file holds \"one\", which no step gives";
    trigger(ID_FILE_SAVE);
    EXPECT_FALSE(document->isModified());
}

TEST_F(Undo, EachDocumentHasItsOwnStepsAndTheMenuFollowsTheActiveOne) {
    StageDocument* sample = openSample();
    exportWithTitle("sample's");
    trigger(ID_FILE_NEW);
    StageDocument* fresh = documents()->activeDocument();
    ASSERT_NE(fresh, sample);
    EXPECT_FALSE(enabled(ID_EDIT_UNDO));
    exportWithTitle("fresh's");
    trigger(ID_EDIT_UNDO);
    EXPECT_EQ(fresh->doc().title, "");
    EXPECT_EQ(sample->doc().title, "sample's");
}

TEST_F(Undo, ReadingAChangedFileAgainIsAStepThatGivesBackTheEdits) {
    StageDocument* document = openSample();
    exportWithTitle("mine");
    const QByteArray mine = saved(document);
    QByteArray theirs = fileBytes(path("sample.stage"));
    theirs.replace("life=", "life=4");
    // An open event tool that shows the stage's script follows the file.
    documents()->activeView()->runCommand(ID_EVENT_TOOL);
    CEventTool* tool = documents()->activeView()->eventTool;
    ASSERT_NE(tool, nullptr);
    theirs.replace("command=", "command=fromDisk,");
    MessageBoxAnswer yes(QMessageBox::Yes);
    {
        QFile file(path("sample.stage"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(theirs);
    }
    app->findChild<DiskWatcher*>()->checkNow();
    ASSERT_EQ(yes.answer.seen(), 1);
    EXPECT_TRUE(tool->edit()->toPlainText().startsWith("fromDisk\n"))
        << tool->edit()->toPlainText().toStdString();
    EXPECT_FALSE(document->isModified());
    EXPECT_EQ(document->doc().life.substr(0, 1), "4");
    EXPECT_EQ(text(ID_EDIT_UNDO), "元に戻す(&U) ファイルから読み込み直し\tCtrl+Z");
    trigger(ID_EDIT_UNDO);
    EXPECT_EQ(saved(document), mine);
    EXPECT_TRUE(document->isModified());
    EXPECT_FALSE(tool->edit()->toPlainText().contains("fromDisk"));
}

// Heap held per undo step, measured with the allocator's own count over many steps.
TEST_F(Undo, AWholeGridToggleStepHoldsAFewKilobytes) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's allocator keeps no count of its own";
#endif
    StageDocument* document = openSample();
    constexpr int steps = 200;
    const std::size_t before = mallinfo2().uordblks;
    for (int i = 0; i < steps; ++i) {
        StageEdit edit(*document, StageEdit::Kind::BlockToggle);
        for (std::int32_t& cell : document->doc().block)
            cell = cell == 0 ? 1 : 0;
        ASSERT_TRUE(edit.commit());
    }
    const std::size_t perStep = (mallinfo2().uordblks - before) / steps;
    RecordProperty("bytesPerStep", int(perStep));
    EXPECT_EQ(document->undoStack()->count(), steps);
    EXPECT_LT(perStep, 4096u) << perStep;
    EXPECT_GT(perStep, 2500u) << "two bits a cell at least";
}

} // namespace
