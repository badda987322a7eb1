#include "render/rowcompositor.h"

#include <algorithm>
#include <cstring>

#include "render/stagepainter.h"
#include "stage/CRKeditDoc.h"
#include "stage/blockkind.h"

namespace {
using i64 = std::int64_t;
constexpr std::uint32_t invert = 0x00FFFFFFu;

// The pass over one frame row: each pixel, taken from `source` for the first `sourceCount`
// and from the row itself after that, is XOR-ed with its grid mask g; where a block lies
// (t's top bit set, m all ones) it then becomes t (R2_COPYPEN) or t OR NOT the pixel
// (R2_MERGEPENNOT). Compiled for AVX2 as well where the compiler supports choosing at load
// time (not under a sanitizer, whose start-up runs after the choice is made); the loops are
// written out so that both versions vectorise.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) &&                             \
    !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
__attribute__((target_clones("avx2", "default")))
#endif
void composeRow(bool merge, std::uint32_t* row, const std::uint32_t* source, int sourceCount,
                const std::uint32_t* g, const std::uint32_t* t, int width) {
    auto mask = [](std::uint32_t block) { return std::uint32_t(std::int32_t(block) >> 31); };
    if (merge) {
        for (int x = 0; x < sourceCount; ++x) {
            const std::uint32_t v = source[x] ^ g[x], m = mask(t[x]);
            row[x] = ((~v | t[x]) & m) | (v & ~m);
        }
        for (int x = sourceCount; x < width; ++x) {
            const std::uint32_t v = row[x] ^ g[x], m = mask(t[x]);
            row[x] = ((~v | t[x]) & m) | (v & ~m);
        }
    } else {
        for (int x = 0; x < sourceCount; ++x)
            row[x] = t[x] | ((source[x] ^ g[x]) & ~mask(t[x]));
        for (int x = sourceCount; x < width; ++x)
            row[x] = t[x] | ((row[x] ^ g[x]) & ~mask(t[x]));
    }
}
} // namespace

RowCompositor::RowCompositor(const CRKeditDoc& doc, const StageLayout& s, bool gridLines,
                             RasterOp blockOp, const StageZoom& zoom, i64 left, int width)
    : doc_(doc), s_(s), op_(blockOp), width_(width), gridLines_(gridLines),
      rows_(zoom, s.bh > 0 ? s.bh : 1, s.h), zeros_(std::size_t(width), 0) {
    if (gridLines_) {
        // Vertical lines before each boundary x = k*BW with k*BW - 1 <= W, each from the
        // top to row H (excluded).
        vertical_.assign(std::size_t(width), 0);
        if (s.bw > 0) {
            const GridAxis columns(zoom, s.bw, s.w);
            for (int x = 0; x < width; ++x)
                if (columns.line(left + x)) {
                    vertical_[std::size_t(x)] = invert;
                    anyVertical_ = true;
                }
        }
        verticalRows_ = zoom.toDevice(s.h);
        // A horizontal line runs from the left edge to column W (excluded).
        horizontal_.assign(std::size_t(width), 0);
        std::fill_n(horizontal_.begin(), std::clamp<i64>(zoom.toDevice(s.w) - left, 0, width),
                    invert);
        both_.resize(std::size_t(width));
        for (int x = 0; x < width; ++x)
            both_[std::size_t(x)] = vertical_[std::size_t(x)] ^ horizontal_[std::size_t(x)];
    }
    // Cells of rows 0..H/BH and columns 0..W/BW, never outside the 100 x 100 grid and only
    // those that reach into the frame.
    if (op_ != RasterOp::nop && s.bw > 0 && s.bh > 0 && width > 0) {
        constexpr i64 last = CRKeditDoc::gridSize - 1;
        jLast_ = std::min(s.h / s.bh, last);
        iLast_ = std::min(s.w / s.bw, last);
        edge_.assign(std::size_t(width), 0);
        inner_.assign(std::size_t(width), 0);
        const GridAxis columns(zoom, s.bw, s.w);
        cellColumn_.resize(std::size_t(width));
        cellEdgeColumn_.resize(std::size_t(width));
        for (int x = 0; x < width; ++x) {
            const i64 i = columns.cellAt(left + x);
            cellColumn_[std::size_t(x)] = std::uint8_t(i <= iLast_ ? i : CRKeditDoc::gridSize);
            cellEdgeColumn_[std::size_t(x)] = columns.cellEdge(left + x);
        }
    }
    // Past the last column a line or a block can reach, a row keeps its pixels.
    for (int x = width; x > 0; --x) {
        const std::size_t c = std::size_t(x - 1);
        const bool line = gridLines_ && (vertical_[c] | horizontal_[c]) != 0;
        const bool block = !cellColumn_.empty() && cellColumn_[c] < CRKeditDoc::gridSize;
        if (line || block) {
            activeWidth_ = x;
            break;
        }
    }
}

const std::uint32_t* RowCompositor::gridMask(i64 y) const {
    if (!gridLines_ || y < 0)
        return nullptr;
    const bool horizontal = s_.bh > 0 && rows_.line(y);
    const bool vertical = anyVertical_ && y < verticalRows_;
    if (horizontal)
        return vertical ? both_.data() : horizontal_.data();
    return vertical ? vertical_.data() : nullptr;
}

void RowCompositor::prepareBlocks(int j) {
    std::array<CellCode, 100> cells{};
    for (int i = 0; i <= iLast_; ++i)
        cells[std::size_t(i)] = doc_.cell(i, j);
    preparedJ_ = j;
    if (cells == preparedCells_ && preparedOnce_)
        return; // the same blocks as the row prepared before: typical of a stage
    preparedOnce_ = true;
    preparedCells_ = cells;
    preparedAny_ = false;
    // Each code's border and inside as frame pixels; 0 where nothing is drawn (an empty
    // cell, or the inside of a kind drawn as a border only).
    struct Pixels {
        std::uint32_t pen = 0, brush = 0;
    };
    std::array<Pixels, 100> pixels{};
    for (std::size_t i = 0; i < cells.size(); ++i)
        if (const auto style = BlockKinds::style(cells[i])) {
            pixels[i].pen = framePixel(style->pen);
            pixels[i].brush = style->brush ? framePixel(*style->brush) : 0;
        }
    for (int x = 0; x < width_; ++x) {
        const std::size_t i = cellColumn_[std::size_t(x)];
        const Pixels p = i < cells.size() ? pixels[i] : Pixels{};
        edge_[std::size_t(x)] = p.pen;
        inner_[std::size_t(x)] = cellEdgeColumn_[std::size_t(x)] ? p.pen : p.brush;
        preparedAny_ = preparedAny_ || p.pen != 0;
    }
}

const std::uint32_t* RowCompositor::blockRow(i64 y) {
    if (jLast_ < 0 || iLast_ < 0 || y < 0)
        return nullptr;
    const i64 j = rows_.cellAt(y);
    if (j > jLast_)
        return nullptr;
    if (j != preparedJ_)
        prepareBlocks(int(j));
    if (!preparedAny_)
        return nullptr;
    return rows_.cellEdge(y) ? edge_.data() : inner_.data();
}

void RowCompositor::compose(std::uint32_t* row, i64 y, const std::uint32_t* source,
                            int sourceCount) {
    const std::uint32_t* g = gridMask(y);
    const std::uint32_t* t = blockRow(y);
    if (!g && !t) {
        if (sourceCount > 0)
            std::memcpy(row, source, std::size_t(sourceCount) * sizeof *row);
        return;
    }
    if (!g)
        g = zeros_.data();
    if (!t)
        t = zeros_.data(); // no block anywhere in the row: every pixel keeps its grid value
    composeRow(op_ == RasterOp::mergePenNot, row, source, sourceCount, g, t,
               std::max(sourceCount, activeWidth_));
}
