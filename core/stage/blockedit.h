#pragma once

#include <cstdint>
#include <optional>

class CRKeditDoc;

// Edits of the document's block grid. Every function here touches only cells inside the
// 100 x 100 grid, whatever sizes and positions it is given.

struct GridCell {
    int x = 0; // column
    int y = 0; // row
    bool operator==(const GridCell&) const = default;
};

// The cell under pixel (px, py) of a view with cells of bw x bh pixels (integer divisions
// truncating toward zero, no clamping: the cell may lie outside the grid). Nothing when a
// cell size is 0, since then no cell can be computed.
std::optional<GridCell> cellAt(int px, int py, std::int32_t bw, std::int32_t bh);

// Toggles every cell of the rectangle spanned by `a` and `b` (any order, both included):
// 0 becomes 1 (a normal block), any other code becomes 0. The part of the rectangle outside
// the grid is left alone. Returns whether a cell changed.
bool toggleCells(CRKeditDoc& doc, GridCell a, GridCell b);

// Clears the cells (i, j) with i = 0 .. width / bw and j = 0 .. height / bh (both included):
// the picture area of a layout whose cell size changed, plus the partial row and column
// beyond it. With a cell size of 0 no cell can be computed and nothing is cleared. Returns
// whether a cell changed.
bool clearBlockArea(CRKeditDoc& doc, std::int32_t width, std::int32_t height, std::int32_t bw,
                    std::int32_t bh);
