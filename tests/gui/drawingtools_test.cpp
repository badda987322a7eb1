// The drawing tools on a real view: pen, eraser, rectangle, fill and pick, the keys that
// choose them and the kinds, Esc, releases outside the view, the stage's edge, one undo step
// per stroke, and every window of a stage showing the cells a stroke writes.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QUndoStack>

#include <algorithm>

#include "panels/placementtool.h"
#include "panels/propertypanel.h"
#include "paneltesthelpers.h"
#include "render/framebuffer.h"
#include "render/stagepainter.h"

namespace {
int blockCount(const CRKeditDoc& doc) {
    return int(std::count_if(doc.block.begin(), doc.block.end(), [](auto c) { return c != 0; }));
}

// The centre of cell (x, y) of the sample stage: 15 x 12 cells, 43 x 40 of them.
QPoint at(int x, int y) {
    return {x * 15 + 7, y * 12 + 6};
}

void press(CRKeditView& view, QPoint p, Qt::MouseButton button = Qt::LeftButton,
           Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::mousePress(&view, button, mods, p);
}
void release(CRKeditView& view, QPoint p, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseRelease(&view, button, Qt::NoModifier, p);
    settleEvents();
}
void stroke(CRKeditView& view, QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton) {
    press(view, from, button);
    QTest::mouseMove(&view, to);
    release(view, to, button);
}
} // namespace

TEST(DrawingTools, KeysChooseToolAndKindOnlyWhereTheStageHasTheKeyboard) {
    StageView s;
    CRKeditView& view = *s.view;
    EXPECT_EQ(view.tool(), ToolId::Toggle); // the default: the drag as it always was
    QSignalSpy changed(&view, &CRKeditView::toolStateChanged);
    QTest::keyClick(&view, Qt::Key_4);
    QTest::keyClick(&view, Qt::Key_B);
    EXPECT_EQ(view.blockKind, 4);
    EXPECT_EQ(view.tool(), ToolId::Pen);
    EXPECT_EQ(changed.count(), 2);
    QTest::keyClick(&view, Qt::Key_9); // no such kind
    EXPECT_EQ(view.blockKind, 4);
    for (auto [key, tool] : {std::pair{Qt::Key_R, ToolId::Rectangle},
                             {Qt::Key_F, ToolId::Fill},
                             {Qt::Key_E, ToolId::Eraser},
                             {Qt::Key_I, ToolId::Pick},
                             {Qt::Key_T, ToolId::Toggle}}) {
        QTest::keyClick(&view, key);
        EXPECT_EQ(view.tool(), tool);
    }
    // Typed into a text field of the panel, the same keys are text.
    QLineEdit* field = view.propertyPanel->findChild<QLineEdit*>();
    ASSERT_NE(field, nullptr);
    field->setFocus();
    field->clear();
    QTest::keyClicks(field, "b2");
    EXPECT_EQ(field->text(), "b2");
    EXPECT_EQ(view.tool(), ToolId::Toggle);
    EXPECT_EQ(view.blockKind, 4);
}

TEST(DrawingTools, PenFollowsAFastPathRightButtonEmptiesOneStepPerStroke) {
    StageView s;
    CRKeditView& view = *s.view;
    view.setTool(ToolId::Pen);
    view.setBlockKind(6);
    // One move across twenty cells: every column between is set (no gaps).
    press(view, at(1, 1));
    QTest::mouseMove(&view, at(21, 11));
    QTest::mouseMove(&view, at(21, 30));
    release(view, at(21, 30));
    for (int x = 1; x <= 21; ++x) {
        const auto column = [&](int y) { return s.doc().cell(x, y); };
        int set = 0;
        for (int y = 0; y < 40; ++y)
            set += column(y) == 6;
        EXPECT_GE(set, 1) << "column " << x;
    }
    for (int y = 11; y <= 30; ++y)
        EXPECT_EQ(s.doc().cell(21, y), 6) << y;
    const int placed = blockCount(s.doc());
    EXPECT_EQ(s.document->undoStack()->count(), 1);
    EXPECT_EQ(s.document->undoStack()->undoText(), "ペン");
    EXPECT_TRUE(s.document->isModified());

    // The right button empties along its path; a stroke over empty cells adds no step.
    stroke(view, at(21, 11), at(21, 20), Qt::RightButton);
    EXPECT_EQ(blockCount(s.doc()), placed - 10);
    EXPECT_EQ(s.document->undoStack()->count(), 2);
    stroke(view, at(30, 35), at(35, 35), Qt::RightButton);
    EXPECT_EQ(s.document->undoStack()->count(), 2);
    s.document->undoStack()->undo();
    EXPECT_EQ(blockCount(s.doc()), placed);
    s.document->undoStack()->undo();
    EXPECT_EQ(blockCount(s.doc()), 0);
    EXPECT_FALSE(s.document->isModified());

    // The eraser empties with either button.
    view.setTool(ToolId::Pen);
    stroke(view, at(0, 5), at(10, 5));
    view.setTool(ToolId::Eraser);
    stroke(view, at(0, 5), at(4, 5));
    stroke(view, at(5, 5), at(7, 5), Qt::RightButton);
    EXPECT_EQ(blockCount(s.doc()), 3);
    EXPECT_EQ(s.document->undoStack()->undoText(), "消しゴム");
}

TEST(DrawingTools, RectangleShowsItsSizeFillsAndEmptiesAndEndsAtTheStagesEdge) {
    StageView s;
    CRKeditView& view = *s.view;
    view.setTool(ToolId::Rectangle);
    view.setBlockKind(3);
    QSignalSpy status(&view, &CRKeditView::pointerStatus);
    press(view, at(2, 3));
    QTest::mouseMove(&view, at(6, 4));
    ASSERT_FALSE(status.isEmpty());
    EXPECT_EQ(status.last().at(0).toString(), "5 × 2");
    EXPECT_EQ(blockCount(s.doc()), 0); // nothing written before the release
    release(view, at(6, 4));
    EXPECT_EQ(blockCount(s.doc()), 10);
    EXPECT_EQ(s.doc().cell(6, 4), 3);
    EXPECT_EQ(s.document->undoStack()->undoText(), "矩形");
    stroke(view, at(3, 3), at(4, 4), Qt::RightButton);
    EXPECT_EQ(blockCount(s.doc()), 6);

    // Released outside the view (right of and below it): the corner is the stage's last cell.
    press(view, at(40, 37));
    QTest::mouseMove(&view, QPoint(900, 900));
    release(view, QPoint(900, 900));
    EXPECT_EQ(s.doc().cell(42, 39), 3);
    EXPECT_EQ(s.doc().cell(43, 39), 0); // beyond the stage's 43 columns
    EXPECT_EQ(s.doc().cell(42, 40), 0); // and its 40 rows
    EXPECT_EQ(view.dragStartX, -1);

    // Esc gives the drag up: nothing changes, no step, and the drag rectangle goes.
    const int steps = s.document->undoStack()->count();
    press(view, at(10, 10));
    QTest::mouseMove(&view, at(12, 12));
    EXPECT_NE(view.dragStartX, -1);
    QTest::keyClick(&view, Qt::Key_Escape);
    EXPECT_EQ(view.dragStartX, -1);
    release(view, at(12, 12));
    EXPECT_EQ(s.doc().cell(11, 11), 0);
    EXPECT_EQ(s.document->undoStack()->count(), steps);
}

TEST(DrawingTools, EscGivesUpAPenStrokeAndKeysWaitWhileItLasts) {
    StageView s;
    CRKeditView& view = *s.view;
    view.setTool(ToolId::Pen);
    press(view, at(1, 1));
    QTest::mouseMove(&view, at(8, 1));
    EXPECT_EQ(blockCount(s.doc()), 8); // shown while drawing
    QTest::keyClick(&view, Qt::Key_R); // no tool change in the middle of a stroke
    EXPECT_EQ(view.tool(), ToolId::Pen);
    QTest::keyClick(&view, Qt::Key_Escape);
    EXPECT_EQ(blockCount(s.doc()), 0);
    QTest::mouseMove(&view, at(8, 5));
    release(view, at(8, 5));
    EXPECT_EQ(blockCount(s.doc()), 0);
    EXPECT_EQ(s.document->undoStack()->count(), 0);
    EXPECT_FALSE(s.document->isModified());
}

TEST(DrawingTools, FillIsFourConnectedAndPickChoosesTheKind) {
    StageView s;
    CRKeditView& view = *s.view;
    CRKeditDoc& doc = s.doc();
    // A closed ring of kind 4 around (5, 5) with a diagonal gap at a corner: a 4-connected
    // fill does not leak through a corner.
    for (int i = 3; i <= 7; ++i)
        doc.cell(i, 3) = doc.cell(i, 7) = doc.cell(3, i) = doc.cell(7, i) = 4;
    doc.cell(7, 7) = 0;
    view.setTool(ToolId::Fill);
    view.setBlockKind(2);
    press(view, at(5, 5));
    release(view, at(5, 5));
    for (int x = 4; x <= 6; ++x)
        for (int y = 4; y <= 6; ++y)
            EXPECT_EQ(doc.cell(x, y), 2);
    EXPECT_EQ(doc.cell(0, 0), 0);
    EXPECT_EQ(s.document->undoStack()->undoText(), "塗りつぶし");
    // The right button empties the clicked region: the ring.
    press(view, at(3, 3), Qt::RightButton);
    release(view, at(3, 3), Qt::RightButton);
    EXPECT_EQ(doc.cell(5, 3), 0);
    EXPECT_EQ(doc.cell(5, 5), 2);
    // Filling the empty outside fills the whole stage but no cell beyond it.
    press(view, at(0, 0));
    release(view, at(0, 0));
    EXPECT_EQ(blockCount(doc), 43 * 40);
    EXPECT_EQ(doc.cell(43, 0), 0);

    // The pick tool and Ctrl + click in any drawing tool choose the clicked cell's kind; an
    // empty cell or a code no kind names chooses nothing.
    doc.cell(20, 20) = 7;
    doc.cell(21, 20) = 0;
    doc.cell(22, 20) = 42;
    view.setTool(ToolId::Pick);
    press(view, at(20, 20));
    release(view, at(20, 20));
    EXPECT_EQ(view.blockKind, 7);
    view.setTool(ToolId::Pen);
    view.setBlockKind(1);
    const int steps = s.document->undoStack()->count();
    press(view, at(5, 5), Qt::LeftButton, Qt::ControlModifier);
    release(view, at(5, 5));
    EXPECT_EQ(view.blockKind, 2);
    for (int x : {21, 22}) {
        press(view, at(x, 20), Qt::LeftButton, Qt::ControlModifier);
        release(view, at(x, 20));
        EXPECT_EQ(view.blockKind, 2);
    }
    EXPECT_EQ(s.document->undoStack()->count(), steps); // picking writes nothing
}

TEST(DrawingTools, NoToolWritesOutsideTheStage) {
    StageView s;
    CRKeditView& view = *s.view;
    // Row 40 is the paddle area below the 480-pixel picture; column 43 right of the stage.
    for (ToolId tool : {ToolId::Toggle, ToolId::Pen, ToolId::Rectangle, ToolId::Fill}) {
        view.setTool(tool);
        stroke(view, at(5, 41), at(8, 45));
        EXPECT_EQ(blockCount(s.doc()), 0) << int(tool);
    }
    EXPECT_EQ(s.document->undoStack()->count(), 0);
    EXPECT_FALSE(s.document->isModified());
    // A cell beyond the stage that a file brought in stays as it is.
    s.doc().cell(10, 41) = 5;
    view.setTool(ToolId::Eraser);
    stroke(view, at(5, 41), at(15, 41));
    EXPECT_EQ(s.doc().cell(10, 41), 5);
}

TEST(DrawingTools, EveryWindowOfTheStageShowsTheCellsAsPainted) {
    StageView s;
    CRKeditView& first = *s.view;
    CRKeditView second(s.document.get());
    second.resize(640, 630);
    second.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&second));
    settleEvents();
    for (CRKeditView* view : {&first, &second}) {
        view->referenceDisplay = 2;
        view->update();
    }
    settleEvents();
    first.grab(); // both have painted their frame once
    second.grab();
    first.setTool(ToolId::Pen);
    first.setBlockKind(4);
    stroke(first, at(2, 2), at(9, 6));
    first.setTool(ToolId::Rectangle);
    first.setBlockKind(5);
    stroke(first, at(20, 20), at(25, 22));

    // What each window shows, repainted in part, is the whole stage painted anew.
    FrameBuffer expected;
    expected.resize(640, 630);
    StagePainter().paint(expected, s.doc(), s.doc().picture, 2, 2);
    for (CRKeditView* view : {&first, &second}) {
        const QImage shown = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(shown.size(), QSize(640, 630));
        int differing = 0;
        for (int y = 0; y < 630; ++y)
            for (int x = 0; x < 640; ++x)
                differing += (shown.pixel(x, y) | 0xFF000000) != expected.at(x, y);
        EXPECT_EQ(differing, 0) << (view == &first ? "first" : "second");
    }
    const QImage shown = second.grab().toImage();
    EXPECT_EQ(QColor(shown.pixel(at(2, 2))), QColor(105, 105, 105));        // kind 4's inside
    EXPECT_EQ(QColor(shown.pixel(20 * 15, 20 * 12)), QColor(80, 170, 255)); // kind 5's border
}

TEST(DrawingTools, PlacementToolChoosesAndCountsForTheCurrentView) {
    StageView s;
    CRKeditView& view = *s.view;
    view.runCommand(ID_PLACEMENT_TOOL);
    CPlacementTool* tool = view.placementTool;
    ASSERT_NE(tool, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(tool));
    QTest::keyClick(tool, Qt::Key_8);
    EXPECT_EQ(view.blockKind, 8);
    EXPECT_TRUE(tool->radio(CPlacementTool::IDC_KIND_GROUP)->isChecked());
    QTest::keyClick(tool, Qt::Key_F);
    EXPECT_EQ(view.tool(), ToolId::Fill);
    // A key pressed in the view shows in the tool.
    QTest::keyClick(&view, Qt::Key_2);
    EXPECT_TRUE(tool->radio(CPlacementTool::IDC_KIND_DOUBLE)->isChecked());
    QTest::mouseClick(tool->radio(CPlacementTool::IDC_TOOL_FIRST + 1), Qt::LeftButton);
    EXPECT_EQ(view.tool(), ToolId::Pen);

    s.doc().cell(0, 0) = 1;
    s.doc().cell(1, 0) = 1;
    s.doc().cell(2, 0) = 4;
    s.doc().cell(50, 50) = 1; // outside the stage: not counted
    QSignalSpy status(&view, &CRKeditView::statusMessage);
    auto* measure = qobject_cast<QPushButton*>(tool->control(CPlacementTool::IDC_MEASURE));
    ASSERT_NE(measure, nullptr);
    QTest::mouseClick(measure, Qt::LeftButton);
    auto* count = qobject_cast<QLineEdit*>(tool->control(CPlacementTool::IDC_BLOCK_COUNT));
    ASSERT_NE(count, nullptr);
    EXPECT_EQ(count->text(), "3");
    EXPECT_EQ(count->toolTip(), "通常ブロック 2、破壊不能ブロック 1");
    ASSERT_EQ(status.count(), 1);
    EXPECT_EQ(status.at(0).at(0).toString(), "ブロック数 3（通常ブロック 2、破壊不能ブロック 1）");
}

TEST(DrawingTools, PointerStatusNamesTheCellAndItsKind) {
    StageView s;
    CRKeditView& view = *s.view;
    s.doc().cell(3, 2) = 4;
    QSignalSpy status(&view, &CRKeditView::pointerStatus);
    QTest::mouseMove(&view, at(3, 2));
    ASSERT_FALSE(status.isEmpty());
    EXPECT_EQ(status.last().at(0).toString(), "(3, 2) 破壊不能ブロック");
    QTest::mouseMove(&view, at(4, 2));
    EXPECT_EQ(status.last().at(0).toString(), "(4, 2) 空");
    QTest::mouseMove(&view, at(4, 45)); // the paddle area: no cell of the stage
    EXPECT_EQ(status.last().at(0).toString(), "");
}

TEST(DrawingTools, ADragPastTheEdgeOfAZoomedViewScrollsIt) {
    StageView s;
    CRKeditView& view = *s.view;
    view.setZoom(StageZoom(4, 1));
    settleEvents();
    ASSERT_FALSE(view.horizontalScrollBar()->isHidden());
    view.setScrollPosition({0, 0});
    view.setTool(ToolId::Rectangle);
    press(view, QPoint(30, 30));
    QSignalSpy scrolled(view.horizontalScrollBar(), &QScrollBar::valueChanged);
    const QPoint outside(view.visibleRect().right() + 40, 30);
    QTest::mouseMove(&view, outside); // held there: the view goes on scrolling
    ASSERT_TRUE(scrolled.wait(3000));
    EXPECT_GT(view.scrollPosition().x(), 0);
    release(view, outside);
    // The rectangle reaches the cells scrolled into view, beyond those first shown.
    const int firstShown = view.visibleRect().width() / (15 * 4);
    int filled = 0;
    for (int x = 0; x < 43; ++x)
        filled += s.doc().cell(x, 0) != 0;
    EXPECT_GT(filled, firstShown);
}
