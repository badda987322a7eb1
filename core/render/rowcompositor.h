#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "render/rasterop.h"

class CRKeditDoc;

// The settings a paint reads, as digit values, taken once before the size write-back.
struct StageLayout {
    std::int64_t w, h;   // graphicWidth, graphicHeight
    std::int64_t bw, bh; // blockWidth, blockHeight
    std::int64_t bs;     // barSpace
};

// Grid lines and normal blocks prepared as pixel rows, so that a frame row gets its
// picture, the grid lines over it and the blocks over both in one pass.
//
// Grid lines invert (R2_NOT): a row's lines become one XOR mask, horizontal line and
// vertical lines together (a crossing is inverted twice, the mask there is 0). Blocks are
// rectangles that never overlap when the block size is positive, so a row of cells becomes
// two prepared rows: the cells' top and bottom pixel rows (all pen) and the rows between
// (pen at each cell's left and right pixel, brush inside); 0 where no block lies. A block
// size that is negative (a wrapped setting) puts every line and block above or left of the
// frame, where nothing is drawn.
class RowCompositor {
public:
    // blockOp is the blocks' raster operation: copyPen, mergePenNot or nop (no blocks).
    RowCompositor(const CRKeditDoc& doc, const StageLayout& s, bool gridLines, RasterOp blockOp,
                  int width);

    // Composes frame row y in place: its first `sourceCount` pixels are taken from `source`
    // (a picture row; null when sourceCount is 0), the rest from the row itself; grid lines
    // and blocks are applied over them.
    void compose(std::uint32_t* row, std::int64_t y, const std::uint32_t* source, int sourceCount);

private:
    const std::uint32_t* gridMask(std::int64_t y) const;
    const std::uint32_t* blockRow(std::int64_t y);
    void prepareBlocks(int j);

    const CRKeditDoc& doc_;
    StageLayout s_;
    RasterOp op_;
    int width_;
    bool gridLines_;
    bool anyVertical_ = false;
    std::vector<std::uint32_t> vertical_;   // XOR mask of the vertical lines
    std::vector<std::uint32_t> horizontal_; // ... of a horizontal line alone (row H)
    std::vector<std::uint32_t> both_;       // ... of a horizontal line and the vertical ones
    std::vector<std::uint32_t> zeros_;

    std::int64_t jLast_ = -1, iLast_ = -1; // cells examined: 0..jLast_ x 0..iLast_
    int preparedJ_ = -1;
    bool preparedAny_ = false;
    std::array<bool, 100> preparedCells_{}; // which cells of the prepared row are blocks
    std::vector<std::uint32_t> edge_;
    std::vector<std::uint32_t> inner_;
};
