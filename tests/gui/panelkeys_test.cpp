// The application's keys pressed in a tool panel act on the stage of the panel's own view,
// also when the panel's dock floats in a window of its own: two stages open, the keyboard in
// a floating panel of the one opened first, and Ctrl+S, Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z
// reach that stage and leave the other alone. The event tool's edit, like the properties
// panel's fields, undoes its own typing first.
#include <QLineEdit>
#include <QPlainTextEdit>

#include "shellfixture.h"

#include "document/stagedocument.h"
#include "panels/eventtool.h"
#include "panels/propertypanel.h"
#include "shell/childframe.h"
#include "shell/commandids.h"
#include "view/CRKeditView.h"

namespace {

CRKeditView* firstView(StageDocument* document) {
    return qobject_cast<CRKeditView*>(document->views().constFirst());
}

// Waits until the view's properties panel shows the document (its first transfer is posted).
bool panelFilled(CRKeditView* view) {
    for (int i = 0; i < 100 && !(view->propertyPanel && view->propertyPanel->filledFromDocument);
         ++i)
        QTest::qWait(10);
    return view->propertyPanel && view->propertyPanel->filledFromDocument;
}

// An undo step of the stage's own: a value typed into its properties panel and taken.
void lifeStep(StageDocument* document, const QString& life) {
    firstView(document)->propertyPanel->control<QLineEdit>(1012)->setText(life);
    document->takePendingEdits();
}

class PanelKeys : public Shell {
protected:
    // Two stages, each in its window: `behind` (sample.stage, opened first) and `front`
    // (other.stage, opened last); each has one step of its own to undo.
    void openTwoStages() {
        ASSERT_TRUE(QFile::copy(path("sample.stage"), path("other.stage")));
        start({path("sample.stage")});
        behind = documents()->activeDocument();
        ASSERT_NE(behind, nullptr);
        front = documents()->openDocument(path("other.stage"));
        ASSERT_NE(front, nullptr);
        settle();
        ASSERT_TRUE(panelFilled(firstView(behind)));
        ASSERT_TRUE(panelFilled(firstView(front)));
        lifeStep(behind, "9");
        lifeStep(front, "7");
        ASSERT_EQ(behind->doc().life, "9");
        ASSERT_EQ(front->doc().life, "7");
        ASSERT_EQ(documents()->activeDocument(), front);
        behindBytes = fileBytes(path("sample.stage"));
        frontBytes = fileBytes(path("other.stage"));
    }
    // Gives the keyboard to the floating dock of the panel `id` of the stage behind.
    void focusPanel(int id) {
        ASSERT_NE(floatPanel(behind, id), nullptr);
        EXPECT_EQ(documents()->activeDocument(), behind);
        EXPECT_EQ(documents()->commandDocument(), behind);
    }

    StageDocument* behind = nullptr;
    StageDocument* front = nullptr;
    QByteArray behindBytes;
    QByteArray frontBytes;
};

TEST_F(PanelKeys, ThePropertiesPanelInAFloatingDockSavesUndoesAndRedoesItsOwnStage) {
    openTwoStages();
    CPropertyPanel* panel = firstView(behind)->propertyPanel;
    focusPanel(ID_PROPERTIES);
    QLineEdit* field = panel->control<QLineEdit>(1000);
    field->setFocus();
    ASSERT_TRUE(field->hasFocus());
    // The edit menu names the step it would undo: the panel's stage's.
    EXPECT_TRUE(frame()->action(ID_EDIT_UNDO)->isEnabled());

    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_NE(behind->doc().life, "9") << "the stage behind undid its step";
    EXPECT_EQ(front->doc().life, "7") << "the front stage kept its step";
    EXPECT_TRUE(front->undoStack()->canUndo());

    QTest::keyClick(field, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(behind->doc().life, "9");
    EXPECT_EQ(front->doc().life, "7");
    EXPECT_FALSE(front->undoStack()->canRedo());

    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
    ASSERT_NE(behind->doc().life, "9");
    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(behind->doc().life, "9");
    EXPECT_EQ(front->doc().life, "7");

    // Ctrl+S writes the stage behind, with what its panel shows, and not the front one.
    QTest::keyClicks(field, "x");
    const QString shown = field->text();
    QTest::keyClick(field, Qt::Key_S, Qt::ControlModifier);
    const QByteArray saved = fileBytes(path("sample.stage"));
    EXPECT_NE(saved, behindBytes);
    EXPECT_TRUE(saved.contains("&life=9&")) << saved.toStdString();
    EXPECT_TRUE(saved.contains("&graphic1=" + shown.toUtf8() + "&")) << saved.toStdString();
    EXPECT_FALSE(behind->isModified());
    EXPECT_EQ(fileBytes(path("other.stage")), frontBytes) << "the front stage was not saved";
    EXPECT_TRUE(front->isModified());
    EXPECT_EQ(front->doc().life, "7");

    // The main window's own keys act on its active stage window, now the other one's.
    frame()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame()));
    frame()->mdiArea()->setActiveSubWindow(documents()->framesOf(front).constFirst());
    settle();
    EXPECT_EQ(documents()->commandDocument(), front);
    QTest::keyClick(frame(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_NE(front->doc().life, "7");
    EXPECT_EQ(behind->doc().life, "9");
}

TEST_F(PanelKeys, TheEventToolInAFloatingDockUndoesItsTypingThenItsOwnStage) {
    openTwoStages();
    CRKeditView* view = firstView(behind);
    view->runCommand(ID_EVENT_TOOL);
    ASSERT_NE(view->eventTool, nullptr);
    focusPanel(ID_EVENT_TOOL);
    QPlainTextEdit* edit = view->eventTool->edit();
    edit->setFocus();
    ASSERT_TRUE(edit->hasFocus());
    edit->moveCursor(QTextCursor::End);
    const QString script = edit->toPlainText();

    // The edit's own typing goes first, then the stage's step; the front stage keeps its.
    QTest::keyClicks(edit, "ab");
    ASSERT_EQ(edit->toPlainText(), script + "ab");
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(edit->toPlainText(), script);
    EXPECT_EQ(behind->doc().life, "9");
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_NE(behind->doc().life, "9");
    EXPECT_EQ(front->doc().life, "7");
    // The edit redoes its typing before the stage redoes its step.
    QTest::keyClick(edit, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(edit->toPlainText(), script + "ab");
    EXPECT_NE(behind->doc().life, "9");
    QTest::keyClick(edit, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(behind->doc().life, "9");
    EXPECT_EQ(front->doc().life, "7");

    // Ctrl+S takes the script into the stage behind and writes it there only.
    QTest::keyClick(edit, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(behind->doc().command.substr(behind->doc().command.size() - 2), "ab");
    EXPECT_TRUE(fileBytes(path("sample.stage")).contains("ab&")) << "the script as typed";
    EXPECT_FALSE(behind->isModified());
    EXPECT_EQ(fileBytes(path("other.stage")), frontBytes);
    EXPECT_TRUE(front->isModified());
}

} // namespace
