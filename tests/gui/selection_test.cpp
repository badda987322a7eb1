// Selections, the clipboard and transforms on real views: select, copy, a floating paste,
// pasting between stages of different sizes and at the edge, moving and duplicating, the
// arrows, flips and shifts, Esc one thing at a time, and the plain-text form.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTest>
#include <QUndoStack>

#include <algorithm>

#include "paneltesthelpers.h"
#include "stage/cellwriter.h"

namespace {
int blockCount(const CRKeditDoc& doc) {
    return int(std::count_if(doc.block.begin(), doc.block.end(), [](auto c) { return c != 0; }));
}

// The centre of cell (x, y) of the sample stage: 15 x 12 cells, 43 x 40 of them.
QPoint at(int x, int y) {
    return {x * 15 + 7, y * 12 + 6};
}

void drag(CRKeditView& view, QPoint from, QPoint to, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::mousePress(&view, Qt::LeftButton, mods, from);
    QTest::mouseMove(&view, to);
    QTest::mouseRelease(&view, Qt::LeftButton, mods, to);
    settleEvents();
}
void click(CRKeditView& view, QPoint p) {
    QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, p);
    settleEvents();
}

// A 3 x 2 pattern at (2, 3): 1 0 4 / 2 6 8.
void pattern(CRKeditDoc& doc) {
    const int codes[2][3] = {{1, 0, 4}, {2, 6, 8}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            doc.cell(2 + x, 3 + y) = codes[y][x];
}
} // namespace

TEST(Selection, SelectCopyAndPasteFloatingThenPlaced) {
    StageView s;
    CRKeditView& view = *s.view;
    pattern(s.doc());
    view.setTool(ToolId::Select);
    QSignalSpy status(&view, &CRKeditView::statusMessage);
    drag(view, at(2, 3), at(4, 4));
    ASSERT_TRUE(view.selectedCells());
    EXPECT_EQ(*view.selectedCells(), (CellRect{2, 3, 3, 2}));
    ASSERT_FALSE(status.isEmpty());
    EXPECT_EQ(status.last().at(0).toString(), "選択 3 × 2");
    view.copySelection();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "1,0,4\n2,6,8\n");

    // The paste follows the pointer, snapped to cells; a click puts it down there. The
    // pasted block's empty cell leaves the stage's cell as it is.
    s.doc().cell(21, 10) = 3;
    ASSERT_TRUE(view.paste(false));
    EXPECT_TRUE(view.isFloating());
    QTest::mouseMove(&view, at(20, 10));
    EXPECT_EQ(*view.floatingCells(), (CellRect{20, 10, 3, 2}));
    EXPECT_EQ(s.doc().cell(20, 10), 0); // nothing written while it floats
    click(view, at(20, 10));
    EXPECT_FALSE(view.isFloating());
    EXPECT_EQ(s.doc().cell(20, 10), 1);
    EXPECT_EQ(s.doc().cell(21, 10), 3);
    EXPECT_EQ(s.doc().cell(22, 11), 8);
    EXPECT_EQ(s.document->undoStack()->undoText(), "貼り付け");
    EXPECT_EQ(*view.selectedCells(), (CellRect{20, 10, 3, 2})); // the pasted cells
    s.document->undoStack()->undo();
    EXPECT_EQ(s.doc().cell(20, 10), 0);
    EXPECT_EQ(s.doc().cell(21, 10), 3);
    EXPECT_TRUE(view.selectedCells()); // an undo keeps the selection

    // With 空のセルも貼り付ける the empty cell is written too; Enter places, Esc gives up.
    CRKeditView::pasteEmptyCells = true;
    view.paste(false);
    QTest::mouseMove(&view, at(20, 10));
    QTest::keyClick(&view, Qt::Key_Return);
    EXPECT_EQ(s.doc().cell(21, 10), 0);
    CRKeditView::pasteEmptyCells = false;
    const int steps = s.document->undoStack()->count();
    view.paste(false);
    QTest::keyClick(&view, Qt::Key_Escape);
    EXPECT_FALSE(view.isFloating());
    EXPECT_TRUE(view.selectedCells()); // Esc took the paste only
    QTest::keyClick(&view, Qt::Key_Escape);
    EXPECT_FALSE(view.selectedCells());
    EXPECT_EQ(s.document->undoStack()->count(), steps);
}

TEST(Selection, PasteBetweenStagesOfOtherSizesCutsAtTheEdgeAndSaysSo) {
    StageView s;
    pattern(s.doc());
    s.view->setSelection(CellRect{2, 3, 3, 2});
    s.view->copySelection();
    // A second stage of 20 x 10 cells of 32 x 48 pixels, in its own window.
    StageView other;
    other.view->move(700, 0); // beside the first window: the pointer finds each
    other.doc().blockWidth = "32";
    other.doc().blockHeight = "48";
    other.view->update();
    settleEvents();
    ASSERT_EQ(CellWriter::stageOf(other.doc()), (CellRect{0, 0, 20, 10}));
    QSignalSpy status(other.view.get(), &CRKeditView::statusMessage);
    ASSERT_TRUE(other.view->paste(false));
    QTest::mouseMove(other.view.get(), QPoint(19 * 32 + 5, 9 * 48 + 5)); // the last cell
    QTest::keyClick(other.view.get(), Qt::Key_Return);
    EXPECT_EQ(other.doc().cell(19, 9), 1);
    EXPECT_EQ(blockCount(other.doc()), 1); // the rest fell off the stage
    EXPECT_EQ(other.doc().cell(20, 9), 0);
    ASSERT_FALSE(status.isEmpty());
    EXPECT_TRUE(status.last().at(0).toString().contains("4 個"))
        << status.last().at(0).toString().toStdString();
    // Paste in place: where it was copied from.
    other.view->paste(true);
    EXPECT_EQ(other.doc().cell(2, 3), 1);
    EXPECT_EQ(other.doc().cell(4, 4), 8);
    EXPECT_EQ(other.document->undoStack()->undoText(), "同じ位置に貼り付け");
}

TEST(Selection, MoveDuplicateAndNudge) {
    StageView s;
    CRKeditView& view = *s.view;
    pattern(s.doc());
    view.setTool(ToolId::Select);
    view.setSelection(CellRect{2, 3, 3, 2});
    // Dragged inside the selection: the cells move, the place they leave is empty.
    drag(view, at(3, 3), at(13, 8));
    EXPECT_EQ(*view.selectedCells(), (CellRect{12, 8, 3, 2}));
    EXPECT_EQ(s.doc().cell(2, 3), 0);
    EXPECT_EQ(s.doc().cell(12, 8), 1);
    EXPECT_EQ(s.doc().cell(14, 9), 8);
    EXPECT_EQ(blockCount(s.doc()), 5);
    EXPECT_EQ(s.document->undoStack()->undoText(), "移動");
    // Moved onto itself, one cell right: nothing lost, the old first column empty.
    drag(view, at(12, 8), at(13, 8));
    EXPECT_EQ(s.doc().cell(12, 8), 0);
    EXPECT_EQ(s.doc().cell(13, 8), 1);
    EXPECT_EQ(s.doc().cell(15, 9), 8);
    EXPECT_EQ(blockCount(s.doc()), 5);
    // Ctrl+drag: a copy moves, the cells stay.
    drag(view, at(13, 8), at(13, 20), Qt::ControlModifier);
    EXPECT_EQ(s.doc().cell(13, 8), 1);
    EXPECT_EQ(s.doc().cell(13, 20), 1);
    EXPECT_EQ(blockCount(s.doc()), 10);
    EXPECT_EQ(s.document->undoStack()->undoText(), "複製");
    // The arrows move the selected cells one cell, with Shift five.
    QTest::keyClick(&view, Qt::Key_Left);
    EXPECT_EQ(s.doc().cell(12, 20), 1);
    QTest::keyClick(&view, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(s.doc().cell(12, 25), 1);
    EXPECT_EQ(*view.selectedCells(), (CellRect{12, 25, 3, 2}));
    // Every step undoes on its own, back to the pattern where it began.
    for (int i = 0; i < 5; ++i)
        s.document->undoStack()->undo();
    EXPECT_EQ(blockCount(s.doc()), 5);
    EXPECT_EQ(s.doc().cell(2, 3), 1);
    EXPECT_EQ(s.doc().cell(4, 4), 8);
    // Esc during a move gives it up.
    view.setSelection(CellRect{2, 3, 3, 2});
    QTest::mousePress(&view, Qt::LeftButton, Qt::NoModifier, at(2, 3));
    QTest::mouseMove(&view, at(30, 30));
    EXPECT_EQ(s.doc().cell(30, 30), 1); // shown while dragged
    QTest::keyClick(&view, Qt::Key_Escape);
    QTest::mouseRelease(&view, Qt::LeftButton, Qt::NoModifier, at(30, 30));
    EXPECT_EQ(s.doc().cell(30, 30), 0);
    EXPECT_EQ(s.doc().cell(2, 3), 1);
    EXPECT_EQ(*view.selectedCells(), (CellRect{2, 3, 3, 2}));
}

TEST(Selection, TransformsOfTheSelectionOrTheWholeStage) {
    StageView s;
    CRKeditView& view = *s.view;
    pattern(s.doc());
    view.setSelection(CellRect{2, 3, 3, 2});
    view.transform(CRKeditView::Transform::FlipHorizontal);
    EXPECT_EQ(s.doc().cell(2, 3), 4);
    EXPECT_EQ(s.doc().cell(4, 4), 2);
    EXPECT_EQ(s.document->undoStack()->undoText(), "左右反転");
    view.transform(CRKeditView::Transform::FlipVertical);
    EXPECT_EQ(s.doc().cell(2, 3), 8);
    view.transform(CRKeditView::Transform::Rotate180);
    EXPECT_EQ(s.doc().cell(2, 3), 1); // back to the pattern
    // Nothing selected: the whole stage (43 x 40 cells) turns.
    view.setSelection(std::nullopt);
    view.transform(CRKeditView::Transform::FlipHorizontal);
    EXPECT_EQ(s.doc().cell(40, 3), 1);
    EXPECT_EQ(s.doc().cell(38, 3), 4);
    view.transform(CRKeditView::Transform::ShiftRight);
    view.transform(CRKeditView::Transform::ShiftRight);
    view.transform(CRKeditView::Transform::ShiftRight);
    EXPECT_EQ(s.doc().cell(0, 3), 1); // wrapped round from column 43
    view.transform(CRKeditView::Transform::ShiftUp);
    EXPECT_EQ(s.doc().cell(0, 2), 1);
    EXPECT_EQ(s.document->undoStack()->undoText(), "上へずらす");
    for (int i = 0; i < 8; ++i)
        s.document->undoStack()->undo();
    EXPECT_EQ(s.doc().cell(2, 3), 1);
    EXPECT_EQ(s.doc().cell(4, 4), 8);
    EXPECT_EQ(blockCount(s.doc()), 5);
    EXPECT_FALSE(s.document->isModified());
}

TEST(Selection, PlainTextOnTheClipboardIsReadStrictly) {
    StageView s;
    CRKeditView& view = *s.view;
    QSignalSpy status(&view, &CRKeditView::statusMessage);
    QGuiApplication::clipboard()->setText("1, 2\n3, 4\n");
    ASSERT_TRUE(view.paste(true));
    EXPECT_EQ(s.doc().cell(0, 0), 1);
    EXPECT_EQ(s.doc().cell(1, 1), 4);
    for (const char* bad : {"1,2\n3\n", "hello", "1,,2", "99999999999"}) {
        QGuiApplication::clipboard()->setText(bad);
        const CRKeditDoc before = s.doc();
        EXPECT_FALSE(view.paste(false)) << bad;
        EXPECT_FALSE(view.isFloating());
        EXPECT_EQ(s.doc().block, before.block);
        EXPECT_TRUE(status.last().at(0).toString().startsWith("クリップボードの文字は")) << bad;
    }
}
