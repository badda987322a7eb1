#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "stage/CRKeditDoc.h"
#include "stage/cellrect.h"

// The difference between two states of the block grid, kept small enough that many undo
// steps cost little: only the box around the changed cells is described, with one bit per
// cell saying whether it changed and one saying whether it held a block before. Nearly every
// change flips cells between empty (0) and a normal block (1), which those two bits describe
// completely; a cell whose old or new kind is anything else is listed with both values.
// A toggle of the whole 100 x 100 grid of empty and normal cells takes 2 500 bytes.
class GridDelta {
public:
    using Grid = std::array<std::int32_t, CRKeditDoc::gridSize * CRKeditDoc::gridSize>;

    static GridDelta between(const Grid& before, const Grid& after);

    bool empty() const { return changed_ == 0; }
    // How many cells differ.
    int changedCells() const { return changed_; }
    // The box around the changed cells (empty when none changed).
    CellRect box() const { return empty() ? CellRect{} : CellRect{x0_, y0_, width_, height_}; }
    // Writes the new values (redo) or the old ones (undo) into the changed cells.
    void apply(Grid& grid, bool forward) const;
    // Heap bytes this delta holds.
    std::size_t memoryBytes() const;

private:
    struct OddCell {
        std::uint16_t index; // position in the box
        std::int32_t before;
        std::int32_t after;
    };
    bool bit(const std::vector<std::uint64_t>& plane, std::size_t i) const {
        return (plane[i / 64] >> (i % 64)) & 1U;
    }

    int x0_ = 0, y0_ = 0, width_ = 0, height_ = 0; // the box, in columns and rows
    int changed_ = 0;
    std::vector<std::uint64_t> changedBits_; // one bit per cell of the box, column by column
    std::vector<std::uint64_t> blockBits_;   // the cell was not 0 before
    std::vector<OddCell> odd_;               // changed cells with a kind other than 0 or 1
};
