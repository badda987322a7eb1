#include "render/stagepainter.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "render/canvas.h"
#include "render/framebuffer.h"
#include "render/rowcompositor.h"
#include "stage/CRKeditDoc.h"
#include "stage/settingtext.h"

namespace {
using i64 = std::int64_t;

std::uint32_t readU32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

// True when the block holds what its header says: a bottom-up, uncompressed 24-bit picture
// of positive size whose rows all lie inside the block.
bool convertible(const PictureBlock& block) {
    if (block.size() < PictureBlock::headerSize)
        return false;
    const std::uint8_t* h = block.data();
    const std::int32_t w = block.width();
    const std::int32_t ht = block.height();
    const unsigned bitCount = unsigned(h[14]) | unsigned(h[15]) << 8;
    if (w <= 0 || ht <= 0 || bitCount != 24 || readU32(h + 16) != 0)
        return false;
    const std::size_t rows = PictureBlock::strideFor(w) * std::size_t(ht);
    return rows <= block.size() - PictureBlock::headerSize;
}

// One row of blue, green, red bytes as frame pixels 0xFFRRGGBB. Four pixels are twelve
// bytes, read as three little-endian words.
void convertRow(const std::uint8_t* src, std::uint32_t* dst, int w) {
    constexpr std::uint32_t opaque = 0xFF000000u;
    auto word = [](const std::uint8_t* p) {
        return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
               std::uint32_t(p[3]) << 24;
    };
    int x = 0;
    for (; x + 4 <= w; x += 4, src += 12) {
        const std::uint32_t a = word(src), b = word(src + 4), c = word(src + 8);
        dst[x] = opaque | (a & 0xFFFFFFu);
        dst[x + 1] = opaque | a >> 24 | (b & 0xFFFFu) << 8;
        dst[x + 2] = opaque | b >> 16 | (c & 0xFFu) << 16;
        dst[x + 3] = opaque | c >> 8;
    }
    for (; x < w; ++x, src += 3)
        dst[x] = opaque | std::uint32_t(src[2]) << 16 | std::uint32_t(src[1]) << 8 | src[0];
}

// Rows per band: a band of the frame stays in the processor's first-level cache while all
// the paint's steps run over it.
int bandRows(int width) {
    constexpr int bandBytes = 32 * 1024;
    return int(std::max<i64>(1, bandBytes / std::max<i64>(1, i64(width) * 4)));
}

// First k >= kMin with k * step + offset >= from (step > 0).
i64 firstStep(i64 from, i64 step, i64 offset, i64 kMin) {
    const i64 d = from - offset;
    const i64 k = d <= 0 ? 0 : (d + step - 1) / step;
    return std::max(k, kMin);
}

// Grid dots: pixel (k*BW, j*BH) for j = 1 .. H/BH + 1 and k = 1 .. W/BW + 1.
void drawGridDots(Canvas& c, const StageLayout& s, int frameWidth, int top, int bottom) {
    if (s.bh <= 0 || s.bw <= 0)
        return; // every dot would lie above or left of the frame
    const i64 jLast = std::min(s.h / s.bh + 1, i64(bottom - 1) / s.bh);
    const i64 kLast = std::min(s.w / s.bw + 1, i64(frameWidth - 1) / s.bw);
    for (i64 j = firstStep(top, s.bh, 0, 1); j <= jLast; ++j)
        for (i64 k = 1; k <= kLast; ++k)
            c.setPixel(k * s.bw, j * s.bh, StageColours::grid);
}

RasterOp blockRasterOp(int referenceDisplay) {
    switch (referenceDisplay) {
    case 2:
        return RasterOp::copyPen;
    case 1:
        return RasterOp::mergePenNot;
    default:
        return RasterOp::nop; // 0, and any value the placement tool never sets
    }
}
} // namespace

bool StagePainter::preparePicture(const PictureHolder& picture) {
    if (picture.empty() || !convertible(*picture.block)) {
        cachedBlock_.reset();
        cachedPixels_ = {};
        cachedWidth_ = cachedHeight_ = 0;
        return false;
    }
    if (cachedBlock_ == picture.block)
        return true;
    const PictureBlock& block = *picture.block;
    const int w = block.width();
    const int h = block.height();
    const std::size_t stride = PictureBlock::strideFor(w);
    cachedPixels_.resize(std::size_t(w) * std::size_t(h));
    for (int r = 0; r < h; ++r) {
        // Row r from the top is stored h - 1 - r rows from the start: the block is bottom-up.
        convertRow(block.data() + PictureBlock::headerSize + std::size_t(h - 1 - r) * stride,
                   cachedPixels_.data() + std::size_t(r) * std::size_t(w), w);
    }
    cachedBlock_ = picture.block;
    cachedWidth_ = w;
    cachedHeight_ = h;
    return true;
}

PaintResult StagePainter::paint(FrameBuffer& frame, const CRKeditDoc& doc,
                                const PictureHolder& picture, int gridMode, int referenceDisplay) {
    PaintResult result;
    const bool shown = preparePicture(picture);
    // Read before the caller writes the picture size back into graphicWidth/graphicHeight.
    const StageLayout s{digitValue(doc.graphicWidth), digitValue(doc.graphicHeight),
                        digitValue(doc.blockWidth), digitValue(doc.blockHeight),
                        digitValue(doc.barSpace)};
    if (shown) {
        // The block size test is on the 32-bit product, as the settings are 32-bit values.
        const bool zero = std::uint32_t(s.bw) * std::uint32_t(s.bh) == 0;
        result.outcome = zero ? PaintOutcome::zeroBlockSize : PaintOutcome::complete;
    }
    const bool complete = result.outcome == PaintOutcome::complete;
    RowCompositor rows(doc, s, complete && gridMode == 2,
                       complete ? blockRasterOp(referenceDisplay) : RasterOp::nop, frame.width);
    // The picture covers the background's top-left part: the background is drawn only
    // beside and below it.
    const int coverWidth = shown ? std::min(cachedWidth_, frame.width) : 0;
    const int coverHeight = shown ? std::min(cachedHeight_, frame.height) : 0;
    const int step = bandRows(frame.width);
    for (int top = 0; top < frame.height; top += step) {
        const int bottom = std::min(frame.height, top + step);
        const int besideBottom = std::min(bottom, coverHeight);
        for (Canvas part : {Canvas(frame, coverWidth, top, frame.width, besideBottom),
                            Canvas(frame, 0, std::max(top, coverHeight), frame.width, bottom)})
            part.rectangle(0, 0, frame.width, frame.height, StageColours::backgroundPen,
                           doc.bgcolorGame, RasterOp::copyPen);
        auto source = [&](int y) {
            return y < coverHeight ? cachedPixels_.data() + std::size_t(y) * cachedWidth_ : nullptr;
        };
        if (complete && gridMode == 1) {
            // Dots are set over the picture and under the blocks: picture first, then the
            // dots, then the blocks over the frame's own pixels.
            for (int y = top; y < besideBottom && coverWidth > 0; ++y)
                std::memcpy(frame.row(y), source(y), std::size_t(coverWidth) * 4);
            Canvas band(frame, top, bottom);
            drawGridDots(band, s, frame.width, top, bottom);
            for (int y = top; y < bottom; ++y)
                rows.compose(frame.row(y), y, nullptr, 0);
            continue;
        }
        for (int y = top; y < bottom; ++y)
            rows.compose(frame.row(y), y, source(y), y < coverHeight ? coverWidth : 0);
    }
    if (result.outcome == PaintOutcome::complete) {
        result.fitAndWriteBack = true;
        result.pictureWidth = cachedWidth_;
        result.pictureHeight = cachedHeight_;
        result.fitWidth = cachedWidth_;
        result.fitHeight = int(std::clamp<i64>(cachedHeight_ + s.bs, 0, INT_MAX));
    }
    return result;
}

void StagePainter::drawDragRectangle(FrameBuffer& frame, int x0, int y0, int x1, int y1, int bw,
                                     int bh) {
    if (bw <= 0 || bh <= 0)
        return;
    const i64 minX = std::min(x0, x1), maxX = std::max(x0, x1);
    const i64 minY = std::min(y0, y1), maxY = std::max(y0, y1);
    Canvas c(frame);
    c.rectangle(minX * bw, minY * bh, (maxX + 1) * bw - 1, (maxY + 1) * bh - 1, StageColours::drag,
                StageColours::drag, RasterOp::xorPen);
}

bool writeBackPictureSize(CRKeditDoc& doc, const PaintResult& result) {
    if (!result.fitAndWriteBack)
        return false;
    const std::string w = decimalText(result.pictureWidth);
    const std::string h = decimalText(result.pictureHeight);
    const bool changed = doc.graphicWidth != w || doc.graphicHeight != h;
    doc.graphicWidth = w;
    doc.graphicHeight = h;
    return changed;
}
