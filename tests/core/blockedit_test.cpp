#include <gtest/gtest.h>

#include <numeric>

#include "stage/CRKeditDoc.h"
#include "stage/blockedit.h"

namespace {
int blockCount(const CRKeditDoc& doc) {
    return int(std::count_if(doc.block.begin(), doc.block.end(), [](auto c) { return c != 0; }));
}
} // namespace

TEST(CellAt, DividesByCellSizeAndRefusesZero) {
    EXPECT_EQ(cellAt(14, 11, 15, 12), (GridCell{0, 0}));
    EXPECT_EQ(cellAt(15, 12, 15, 12), (GridCell{1, 1}));
    EXPECT_EQ(cellAt(3999, 2999, 15, 12), (GridCell{266, 249})); // beyond the grid, unclamped
    EXPECT_FALSE(cellAt(10, 10, 0, 12));
    EXPECT_FALSE(cellAt(10, 10, 15, 0));
    EXPECT_EQ(cellAt(INT32_MIN, 0, -1, 1), (GridCell{INT32_MAX, 0})); // no overflow trap
}

TEST(ToggleCells, EitherDirectionTogglesEachCellOnce) {
    CRKeditDoc forward, backward;
    forward.cell(3, 2) = 4; // any block kind becomes empty
    backward.cell(3, 2) = 4;
    EXPECT_TRUE(toggleCells(forward, {2, 1}, {5, 3}));
    EXPECT_TRUE(toggleCells(backward, {5, 3}, {2, 1}));
    EXPECT_EQ(forward.block, backward.block);
    EXPECT_EQ(blockCount(forward), 4 * 3 - 1);
    EXPECT_EQ(forward.cell(3, 2), 0);
    EXPECT_EQ(forward.cell(2, 1), 1);
    EXPECT_EQ(forward.cell(6, 3), 0);
    EXPECT_EQ(forward.cell(5, 4), 0);
    // The same rectangle again restores every cell, except the kind-4 one, now a plain block.
    toggleCells(forward, {2, 1}, {5, 3});
    EXPECT_EQ(blockCount(forward), 1);
    EXPECT_EQ(forward.cell(3, 2), 1);
}

TEST(ToggleCells, KeepsInsideTheGrid) {
    const struct {
        GridCell a, b;
        int toggled;
    } rows[] = {
        {{98, 98}, {250, 400}, 4}, // reaches beyond the last column and row
        {{-5, -5}, {1, 0}, 2},     // starts left of and above the grid
        {{100, 0}, {300, 50}, 0},  // entirely right of the grid
        {{INT32_MIN, 0}, {INT32_MAX, 0}, 100},
    };
    for (const auto& r : rows) {
        CRKeditDoc doc;
        EXPECT_EQ(toggleCells(doc, r.a, r.b), r.toggled != 0);
        EXPECT_EQ(blockCount(doc), r.toggled) << r.a.x << ',' << r.a.y;
    }
}

TEST(ClearBlockArea, ClearsThePictureAreaPlusOneAndStaysInTheGrid) {
    const struct {
        std::int32_t w, h, bw, bh;
        int remaining; // of a grid filled with 1
    } rows[] = {
        {640, 480, 15, 12, 10000 - 43 * 41}, // columns 0..42, rows 0..40
        {4000, 3000, 8, 8, 0},               // quotients beyond 99 stop at the grid
        {640, 480, 0, 12, 10000},            // no cell size, nothing computed or cleared
        {640, 480, 15, 0, 10000},
        {-640, 480, 15, 12, 10000},        // a negative quotient clears nothing
        {INT32_MIN, INT32_MIN, -1, -1, 0}, // no overflow trap; all in range is cleared
    };
    for (const auto& r : rows) {
        CRKeditDoc doc;
        doc.block.fill(1);
        EXPECT_EQ(clearBlockArea(doc, r.w, r.h, r.bw, r.bh), r.remaining != 10000);
        EXPECT_EQ(blockCount(doc), r.remaining) << r.w << 'x' << r.h << '/' << r.bw;
    }
    CRKeditDoc empty;
    EXPECT_FALSE(clearBlockArea(empty, 640, 480, 15, 12)); // nothing changed, nothing to mark
}
