#include "render/rowcompositor.h"

#include <algorithm>
#include <cstring>

#include "render/stagepainter.h"
#include "stage/CRKeditDoc.h"

namespace {
using i64 = std::int64_t;
constexpr std::uint32_t invert = 0x00FFFFFFu;

// The pass over one frame row: each pixel, taken from `source` for the first `sourceCount`
// and from the row itself after that, is XOR-ed with its grid mask g; where a block lies
// (t's top bit set, m all ones) it then becomes t (R2_COPYPEN) or t OR NOT the pixel
// (R2_MERGEPENNOT). Compiled for AVX2 as well where the compiler supports choosing at load
// time; the loops are written out so that both versions vectorise.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) &&                             \
    !defined(__SANITIZE_ADDRESS__)
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
                             RasterOp blockOp, int width)
    : doc_(doc), s_(s), op_(blockOp), width_(width), gridLines_(gridLines),
      zeros_(std::size_t(width), 0) {
    if (gridLines_) {
        // Vertical lines at x = k*BW - 1 while x <= W, each from (x, 0) to (x, H).
        vertical_.assign(std::size_t(width), 0);
        if (s.bw > 0)
            for (i64 x = s.bw - 1; x <= s.w && x < width; x += s.bw) {
                vertical_[std::size_t(x)] = invert;
                anyVertical_ = true;
            }
        // A horizontal line runs from (0, y) to (W, y).
        horizontal_.assign(std::size_t(width), 0);
        std::fill_n(horizontal_.begin(), std::clamp<i64>(s.w, 0, width), invert);
        both_.resize(std::size_t(width));
        for (int x = 0; x < width; ++x)
            both_[std::size_t(x)] = vertical_[std::size_t(x)] ^ horizontal_[std::size_t(x)];
    }
    // Cells of rows 0..H/BH and columns 0..W/BW, never outside the 100 x 100 grid and only
    // those that reach into the frame.
    if (op_ != RasterOp::nop && s.bw > 0 && s.bh > 0 && width > 0) {
        constexpr i64 last = CRKeditDoc::gridSize - 1;
        jLast_ = std::min(s.h / s.bh, last);
        iLast_ = std::min({s.w / s.bw, last, i64(width - 1) / s.bw});
        edge_.assign(std::size_t(width), 0);
        inner_.assign(std::size_t(width), 0);
    }
}

const std::uint32_t* RowCompositor::gridMask(i64 y) const {
    if (!gridLines_ || y < 0)
        return nullptr;
    // Horizontal lines at y = k*BH - 1 (k >= 1) while y <= H; vertical lines cover 0..H-1.
    const bool horizontal = s_.bh > 0 && y <= s_.h && (y + 1) % s_.bh == 0;
    const bool vertical = anyVertical_ && y < s_.h;
    if (horizontal)
        return vertical ? both_.data() : horizontal_.data();
    return vertical ? vertical_.data() : nullptr;
}

void RowCompositor::prepareBlocks(int j) {
    std::array<bool, 100> cells{};
    for (int i = 0; i <= iLast_; ++i)
        cells[std::size_t(i)] = doc_.cell(i, j) == 1;
    preparedJ_ = j;
    if (cells == preparedCells_ && !edge_.empty())
        return; // the same blocks as the row prepared before: typical of a stage
    preparedCells_ = cells;
    preparedAny_ = false;
    std::fill(edge_.begin(), edge_.end(), 0);
    std::fill(inner_.begin(), inner_.end(), 0);
    const std::uint32_t pen = framePixel(StageColours::blockPen);
    const std::uint32_t brush = framePixel(StageColours::blockBrush);
    for (int i = 0; i <= iLast_; ++i) {
        if (!cells[std::size_t(i)])
            continue;
        const i64 left = i * s_.bw, right = left + s_.bw; // left < width_ (iLast_)
        const auto x0 = std::size_t(left), x1 = std::size_t(std::min<i64>(right, width_));
        std::fill(edge_.begin() + x0, edge_.begin() + x1, pen);
        std::fill(inner_.begin() + x0, inner_.begin() + x1, brush);
        inner_[x0] = pen;
        if (right <= width_)
            inner_[std::size_t(right - 1)] = pen;
        preparedAny_ = true;
    }
}

const std::uint32_t* RowCompositor::blockRow(i64 y) {
    if (jLast_ < 0 || iLast_ < 0 || y < 0)
        return nullptr;
    const i64 j = y / s_.bh;
    if (j > jLast_)
        return nullptr;
    if (j != preparedJ_)
        prepareBlocks(int(j));
    if (!preparedAny_)
        return nullptr;
    const i64 inCell = y % s_.bh;
    return inCell == 0 || inCell == s_.bh - 1 ? edge_.data() : inner_.data();
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
    composeRow(op_ == RasterOp::mergePenNot, row, source, sourceCount, g, t, width_);
}
