// The one writer of block grid cells: clipped to the stage, the changed box, paths without
// gaps, and a 4-connected flood fill.
#include <gtest/gtest.h>

#include <cstdlib>

#include "stage/CRKeditDoc.h"
#include "stage/blockkind.h"
#include "stage/cellwriter.h"

namespace {
// A stage of `columns` x `rows` cells of 10 x 10 pixels.
CRKeditDoc stage(int columns, int rows) {
    CRKeditDoc doc;
    doc.graphicWidth = std::to_string(columns * 10 - 5); // a partial last column counts
    doc.graphicHeight = std::to_string(rows * 10);
    doc.blockWidth = "10";
    doc.blockHeight = "10";
    return doc;
}

int count(const CRKeditDoc& doc, CellCode code) {
    int n = 0;
    for (int x = 0; x < CRKeditDoc::gridSize; ++x)
        for (int y = 0; y < CRKeditDoc::gridSize; ++y)
            n += doc.cell(x, y) == code;
    return n;
}
} // namespace

TEST(CellWriter, WritesOnlyTheStageAndTellsTheChangedBox) {
    CRKeditDoc doc = stage(12, 8);
    CellWriter w(doc);
    EXPECT_EQ(w.stage(), (CellRect{0, 0, 12, 8}));
    EXPECT_EQ(w.fill({10, 6, 5, 5}, 3), (CellRect{10, 6, 2, 2})); // cut at the stage's edge
    EXPECT_EQ(count(doc, 3), 4);
    EXPECT_TRUE(w.fill({10, 6, 2, 2}, 3).empty()); // nothing changed, nothing told
    EXPECT_TRUE(w.set(12, 0, 1).empty());
    EXPECT_TRUE(w.set(-1, 0, 1).empty());
    EXPECT_EQ(w.set(0, 0, 1), (CellRect{0, 0, 1, 1}));
    // Toggle: empty becomes a normal block, any kind becomes empty, the box covers both.
    EXPECT_EQ(w.toggle({9, 5, 2, 2}), (CellRect{9, 5, 2, 2}));
    EXPECT_EQ(doc.cell(9, 5), 1);
    EXPECT_EQ(doc.cell(10, 6), 0);

    // A stage larger than the grid is held to it; a stage without a cell size has no cells.
    CRKeditDoc big = stage(100, 100);
    big.graphicWidth = "4000";
    EXPECT_EQ(CellWriter(big).stage(), (CellRect{0, 0, 100, 100}));
    CRKeditDoc none = stage(5, 5);
    none.blockWidth = "0";
    CellWriter nothing(none);
    EXPECT_TRUE(nothing.fill({0, 0, 100, 100}, 1).empty());
    EXPECT_EQ(count(none, 0), 100 * 100);
}

TEST(CellWriter, LineLeavesNoGapsAndStaysShortForFarEnds) {
    const struct {
        int x0, y0, x1, y1;
    } rows[] = {{0, 0, 39, 7}, {39, 0, 0, 29}, {5, 5, 5, 5}, {3, 29, 3, 0}, {0, 10, 39, 10}};
    for (const auto& r : rows) {
        CRKeditDoc doc = stage(40, 30);
        CellWriter(doc).line(r.x0, r.y0, r.x1, r.y1, 2);
        EXPECT_EQ(doc.cell(r.x0, r.y0), 2);
        EXPECT_EQ(doc.cell(r.x1, r.y1), 2);
        // Each cell of the path touches the next one: the set cells of every column (or row,
        // for a steep line) between the ends form one unbroken run that meets its neighbours.
        const int dx = std::abs(r.x1 - r.x0), dy = std::abs(r.y1 - r.y0);
        EXPECT_EQ(count(doc, 2), std::max(dx, dy) + 1) << r.x0 << ',' << r.y0;
        for (int x = std::min(r.x0, r.x1); x <= std::max(r.x0, r.x1); ++x) {
            bool any = false;
            for (int y = 0; y < 30; ++y)
                any = any || doc.cell(x, y) == 2;
            EXPECT_TRUE(any) << "column " << x;
        }
    }
    // Ends far outside the grid: the part of the line on the stage is written, quickly.
    CRKeditDoc doc = stage(40, 30);
    const CellRect changed = CellWriter(doc).line(-2000000000, 10, 2000000000, 10, 7);
    EXPECT_EQ(changed, (CellRect{0, 10, 40, 1}));
}

TEST(CellWriter, FloodFillsTheFourConnectedRegionOnly) {
    CRKeditDoc doc = stage(20, 20);
    // A diamond wall of kind 4 touching only at corners: the fill inside stays inside.
    for (int i = 0; i < 5; ++i) {
        doc.cell(10 + i, 5 + i) = 4;
        doc.cell(10 - i, 5 + i) = 4;
        doc.cell(10 + i, 13 - i) = 4;
        doc.cell(10 - i, 13 - i) = 4;
    }
    CellWriter w(doc);
    const CellRect inside = w.flood(10, 9, 6);
    EXPECT_FALSE(inside.empty());
    EXPECT_EQ(doc.cell(10, 9), 6);
    EXPECT_EQ(doc.cell(0, 0), 0); // the outside did not leak in through the corners
    EXPECT_TRUE(CellRect({6, 5, 9, 9}).contains(inside.x, inside.y));
    // Filling with the code already there changes nothing; outside the stage neither.
    EXPECT_TRUE(w.flood(10, 9, 6).empty());
    EXPECT_TRUE(w.flood(25, 25, 1).empty());
    // The empty outside: every empty stage cell outside the diamond, none beyond the stage.
    const int empty = count(doc, 0);
    w.flood(0, 0, 1);
    EXPECT_EQ(count(doc, 0), empty - (20 * 20 - count(doc, 4) - count(doc, 6)));
    EXPECT_EQ(doc.cell(20, 0), 0);
    EXPECT_LE(w.lastFloodVisits(), 20 * 20);
}

TEST(BlockKinds, EveryCodeHasAStyleAndOnlyOneToEightAreKinds) {
    EXPECT_FALSE(BlockKinds::style(0));
    for (CellCode code = 1; code <= 8; ++code) {
        ASSERT_NE(BlockKinds::find(code), nullptr);
        EXPECT_EQ(BlockKinds::find(code)->code, code);
        EXPECT_TRUE(BlockKinds::style(code));
    }
    EXPECT_EQ(BlockKinds::find(9), nullptr);
    EXPECT_EQ(BlockKinds::find(-1), nullptr);
    EXPECT_EQ(BlockKinds::style(-1), BlockKinds::style(257)); // one look for unknown codes
    EXPECT_FALSE(BlockKinds::style(5)->brush);                // transparent: a border only
}
