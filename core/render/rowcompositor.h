#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "render/gridaxis.h"
#include "render/rasterop.h"
#include "render/stagezoom.h"

class CRKeditDoc;

// The settings a paint reads, as digit values, taken once before the size write-back.
struct StageLayout {
    std::int64_t w, h;   // graphicWidth, graphicHeight
    std::int64_t bw, bh; // blockWidth, blockHeight
    std::int64_t bs;     // barSpace
};

// Grid lines and blocks (every code, in its kind's colours) prepared as pixel rows, so that a frame
// row gets its picture, the grid lines over it and the blocks over both in one pass. The frame is a
// part of a zoomed stage's device pixels: columns left .. left + width - 1; rows are given by their
// device row. Lines and cell borders are one device pixel wide (GridAxis).
//
// Grid lines invert (R2_NOT): a row's lines become one XOR mask, horizontal line and
// vertical lines together (a crossing is inverted twice, the mask there is 0). Blocks are
// rectangles that never overlap when the block size is positive, so a row of cells becomes
// two prepared rows: the cells' top and bottom pixel rows (all pen) and the rows between
// (pen at each cell's left and right pixel, brush inside); 0 where no block lies and inside a
// kind drawn as a border only, so the pixel there keeps its picture and grid. A block
// size that is negative (a wrapped setting) puts every line and block above or left of the
// frame, where nothing is drawn.
class RowCompositor {
public:
    // blockOp is the blocks' raster operation: copyPen, mergePenNot or nop (no blocks).
    RowCompositor(const CRKeditDoc& doc, const StageLayout& s, bool gridLines, RasterOp blockOp,
                  const StageZoom& zoom, std::int64_t left, int width);
    // At zoom 1 over frame columns 0 .. width - 1.
    RowCompositor(const CRKeditDoc& doc, const StageLayout& s, bool gridLines, RasterOp blockOp,
                  int width)
        : RowCompositor(doc, s, gridLines, blockOp, StageZoom(), 0, width) {}

    // Composes the frame row of device row y in place: its first `sourceCount` pixels are
    // taken from `source` (a picture row; null when sourceCount is 0), the rest from the row
    // itself; grid lines and blocks are applied over them.
    void compose(std::uint32_t* row, std::int64_t y, const std::uint32_t* source, int sourceCount);

private:
    const std::uint32_t* gridMask(std::int64_t y) const;
    const std::uint32_t* blockRow(std::int64_t y);
    void prepareBlocks(int j);

    const CRKeditDoc& doc_;
    StageLayout s_;
    RasterOp op_;
    int width_;
    int activeWidth_ = 0; // columns 0 .. activeWidth_ - 1 may have a line or a block
    bool gridLines_;
    GridAxis rows_;                 // the grid's rows on device rows (meaningful when bh > 0)
    std::int64_t verticalRows_ = 0; // vertical lines cover device rows 0 .. verticalRows_ - 1
    bool anyVertical_ = false;
    std::vector<std::uint32_t> vertical_;   // XOR mask of the vertical lines
    std::vector<std::uint32_t> horizontal_; // ... of a horizontal line alone (row H)
    std::vector<std::uint32_t> both_;       // ... of a horizontal line and the vertical ones
    std::vector<std::uint32_t> zeros_;

    std::int64_t jLast_ = -1, iLast_ = -1; // cells examined: 0..jLast_ x 0..iLast_
    int preparedJ_ = -1;
    bool preparedAny_ = false;
    bool preparedOnce_ = false;
    std::array<std::int32_t, 100> preparedCells_{}; // the codes of the prepared row's cells
    std::vector<std::uint8_t> cellColumn_;          // each frame column's cell column; 100: none
    std::vector<bool> cellEdgeColumn_;              // ... the first or last column of its cell
    std::vector<std::uint32_t> edge_;
    std::vector<std::uint32_t> inner_;
};
