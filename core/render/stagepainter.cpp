#include "render/stagepainter.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "render/canvas.h"
#include "render/framebuffer.h"
#include "render/gridaxis.h"
#include "render/paintworkers.h"
#include "render/picturelevels.h"
#include "render/pixelrow.h"
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
    // Wider pictures than any JPEG can hold are refused too, so that byte offsets in a row
    // stay 32-bit.
    if (w <= 0 || ht <= 0 || w > (1 << 28) || bitCount != 24 || readU32(h + 16) != 0)
        return false;
    const std::size_t rows = PictureBlock::strideFor(w) * std::size_t(ht);
    return rows <= block.size() - PictureBlock::headerSize;
}

// Rows per band: a band of the frame stays in the processor's first-level cache while all
// the paint's steps run over it.
int bandRows(int width) {
    constexpr int bandBytes = 32 * 1024;
    return int(std::max<i64>(1, bandBytes / std::max<i64>(1, i64(width) * 4)));
}

__extension__ typedef __int128 i128;

// The block pixel (column or row) that device pixel d shows when a block `blockLength` long
// stands for `stageLength` stage pixels at `zoom`: floor(d * den * blockLength / (num *
// stageLength)). d lies inside the picture's device length, so the result is inside the block.
i64 blockPixel(i64 d, const StageZoom& zoom, i64 blockLength, i64 stageLength) {
    if (blockLength == stageLength)
        return zoom.toStage(d);
    return i64(i128(d) * zoom.den() * blockLength / (i128(zoom.num()) * stageLength));
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

PaintResult StagePainter::paint(FrameBuffer& frame, const CRKeditDoc& doc,
                                const PictureHolder& picture, int gridMode, int referenceDisplay) {
    return paintRegion(frame, doc, picture, gridMode, referenceDisplay,
                       PaintArea::whole(frame.width, frame.height));
}

PaintResult StagePainter::paintRegion(FrameBuffer& frame, const CRKeditDoc& doc,
                                      const PictureHolder& picture, int gridMode,
                                      int referenceDisplay, const PaintArea& area) {
    PaintResult result;
    const bool shown = !picture.empty() && convertible(*picture.block);
    // Read before the caller writes the picture size back into graphicWidth/graphicHeight.
    const StageLayout s{digitValue(doc.graphicWidth), digitValue(doc.graphicHeight),
                        digitValue(doc.blockWidth), digitValue(doc.blockHeight),
                        digitValue(doc.barSpace)};
    const int blockWidth = shown ? picture.block->width() : 0;
    const int blockHeight = shown ? picture.block->height() : 0;
    // The picture's size on the stage.
    const int pictureWidth = shown && area.pictureWidth > 0 ? area.pictureWidth : blockWidth;
    const int pictureHeight = shown && area.pictureHeight > 0 ? area.pictureHeight : blockHeight;
    if (shown) {
        // The block size test is on the 32-bit product, as the settings are 32-bit values.
        const bool zero = std::uint32_t(s.bw) * std::uint32_t(s.bh) == 0;
        result.outcome = zero ? PaintOutcome::zeroBlockSize : PaintOutcome::complete;
    }
    if (result.outcome == PaintOutcome::complete) {
        result.fitAndWriteBack = true;
        result.pictureWidth = pictureWidth;
        result.pictureHeight = pictureHeight;
        result.fitWidth = pictureWidth;
        result.fitHeight = int(std::clamp<i64>(i64(pictureHeight) + s.bs, 0, INT_MAX));
    }
    const int fw = frame.width, fh = frame.height;
    if (fw <= 0 || fh <= 0)
        return result;

    const StageZoom& zoom = area.zoom;
    const i64 left = std::max<i64>(area.left, 0), top = std::max<i64>(area.top, 0);
    const i64 canvasWidth = std::max<i64>(area.canvasWidth, 0);
    const i64 canvasHeight = std::max<i64>(area.canvasHeight, 0);
    // The frame's part inside the canvas, and the part of that the picture covers.
    const int insideWidth = int(std::clamp<i64>(canvasWidth - left, 0, fw));
    const int insideHeight = int(std::clamp<i64>(canvasHeight - top, 0, fh));
    auto covered = [&](int stageLength, i64 canvasLength, i64 origin, int frameLength) {
        if (!shown)
            return 0;
        const i64 device = std::min(zoom.toDevice(stageLength), canvasLength);
        return int(std::clamp<i64>(device - origin, 0, frameLength));
    };
    const int coverWidth = covered(pictureWidth, canvasWidth, left, fw);
    const int coverHeight = covered(pictureHeight, canvasHeight, top, fh);

    // Where each covered column's pixel lies in a block row: straight runs at zoom 1 with the
    // block at its stage size, looked up otherwise.
    const bool straight = zoom.isOne() && blockWidth == pictureWidth;
    // Far below 100 % the pixels come from a reduced copy of the picture (PictureLevels):
    // level `reduced`, whose pixel (m, n) is the picture's (m * f, n * f).
    const PictureBlock* pixels = shown ? picture.block.get() : nullptr;
    std::shared_ptr<const PictureLevel> level;
    int reduced = 0;
    if (shown && useLevels_ && !straight && coverWidth > 0 && coverHeight > 0 &&
        blockWidth == pictureWidth && blockHeight == pictureHeight) {
        reduced = PictureLevels::levelFor(zoom, blockWidth, blockHeight);
        if (reduced > 0) {
            // The painter keeps the picture's copies while it paints that picture.
            if (!levels_ || levelsOf_.lock() != picture.block) {
                levels_ = PictureLevels::of(picture);
                levelsOf_ = picture.block;
            }
            level = levels_->level(*picture.block, reduced);
            if (!level)
                reduced = 0;
        }
    }
    const int sourceWidth = level ? level->width : blockWidth;
    const int sourceHeight = level ? level->height : blockHeight;
    // The source pixel (column or row) device pixel d shows.
    auto sourcePixel = [&](i64 d, i64 sourceLength, i64 stageLength) -> i64 {
        if (reduced == 0)
            return blockPixel(d, zoom, sourceLength, stageLength);
        const i64 f = i64(1) << reduced;
        return std::min((zoom.toStage(d) + f - 1) / f, sourceLength - 1);
    };
    // A block row's byte offset of each covered column's pixel, or a level row's pixel.
    if (!straight && coverWidth > 0) {
        const int scale = level ? 1 : 3;
        sourceColumn_.resize(std::size_t(coverWidth));
        for (int x = 0; x < coverWidth; ++x)
            sourceColumn_[std::size_t(x)] =
                std::uint32_t(scale * sourcePixel(left + x, sourceWidth, pictureWidth));
    }
    const std::size_t stride = shown ? PictureBlock::strideFor(sourceWidth) : 0;
    // Row by from the top is stored sourceHeight - 1 - by rows from the start: bottom-up.
    auto blockRowOffset = [&](i64 by) {
        return PictureBlock::headerSize + std::size_t(sourceHeight - 1 - by) * stride;
    };

    const bool complete = result.outcome == PaintOutcome::complete;
    const bool dots = complete && gridMode == 1 && s.bw > 0 && s.bh > 0;
    std::vector<int> dotColumns;
    if (dots) {
        const GridAxis columns(zoom, s.bw, s.w);
        for (int x = 0; x < insideWidth; ++x)
            if (columns.dot(left + x))
                dotColumns.push_back(x);
    }
    const GridAxis dotRows(zoom, s.bh > 0 ? s.bh : 1, s.h);
    const std::uint32_t dotPixel = framePixel(StageColours::grid);
    const std::uint32_t outside = framePixel(doc.bgcolorGame);

    // The frame's rows are painted in parts, each a run of whole bands with its own scratch
    // row and compositor; the parts may run side by side (PaintWorkers), and every row's
    // pixels depend on that row alone, so the split never changes the frame.
    const int step = bandRows(fw);
    const int bands = (fh + step - 1) / step;
    const int parts =
        std::clamp(parts_ > 0 ? parts_ : PaintWorkers::partsFor(i64(fw) * fh), 1, bands);
    const int partRows = (bands + parts - 1) / parts * step;
    if (!straight && coverWidth > 0) {
        if (pictureRows_.size() < std::size_t(parts))
            pictureRows_.resize(std::size_t(parts));
        for (int k = 0; k < parts; ++k)
            pictureRows_[std::size_t(k)].resize(std::size_t(coverWidth));
    }
    auto paintPart = [&](int part) {
        // Each part prepares its own grid and block rows, side by side with the others.
        RowCompositor rows(doc, s, complete && gridMode == 2,
                           complete ? blockRasterOp(referenceDisplay) : RasterOp::nop, zoom, left,
                           fw);
        std::uint32_t* pictureRow =
            straight || coverWidth <= 0 ? nullptr : pictureRows_[std::size_t(part)].data();
        i64 scaledRow = -1; // the block row pictureRow holds
        const int partBottom = std::min(fh, (part + 1) * partRows);
        for (int bandTop = part * partRows; bandTop < partBottom; bandTop += step) {
            const int bandBottom = std::min(partBottom, bandTop + step);
            // The background rectangle over the canvas, drawn only where the picture does
            // not cover it.
            const int besideBottom = std::min(bandBottom, coverHeight);
            for (Canvas region : {Canvas(frame, coverWidth, bandTop, insideWidth,
                                         std::min(besideBottom, insideHeight)),
                                  Canvas(frame, 0, std::max(bandTop, coverHeight), insideWidth,
                                         std::min(bandBottom, insideHeight))})
                region.rectangle(-left, -top, canvasWidth - left, canvasHeight - top,
                                 StageColours::backgroundPen, doc.bgcolorGame, RasterOp::copyPen);
            for (int y = bandTop; y < bandBottom; ++y) {
                std::uint32_t* row = frame.row(y);
                const i64 deviceY = top + y;
                const std::uint32_t* source = nullptr;
                int sourceCount = 0;
                if (y < coverHeight && coverWidth > 0) {
                    const i64 by = sourcePixel(deviceY, sourceHeight, pictureHeight);
                    const std::size_t at = blockRowOffset(by);
                    const std::size_t readable = pixels->size() - at;
                    if (straight) {
                        const std::size_t skip = 3 * std::size_t(left);
                        convertPixelRow(pixels->data() + at + skip, row, coverWidth,
                                        readable - skip);
                    } else {
                        if (by != scaledRow) {
                            if (level)
                                pickPixels(level->row(int(by)), sourceColumn_.data(), pictureRow,
                                           coverWidth, std::uint32_t(level->width));
                            else
                                gatherPixelRow(pixels->data() + at, sourceColumn_.data(),
                                               pictureRow, coverWidth, readable);
                            scaledRow = by;
                        }
                        source = pictureRow;
                        sourceCount = coverWidth;
                    }
                }
                if (dots && y < insideHeight && dotRows.dot(deviceY)) {
                    // Dots are set over the picture and under the blocks.
                    if (sourceCount > 0)
                        std::memcpy(row, source, std::size_t(sourceCount) * sizeof *row);
                    source = nullptr;
                    sourceCount = 0;
                    for (int x : dotColumns)
                        row[x] = dotPixel;
                }
                rows.compose(row, deviceY, source, sourceCount);
                // Beyond the canvas: the game background only.
                if (y >= insideHeight)
                    std::fill_n(row, fw, outside);
                else if (insideWidth < fw)
                    std::fill_n(row + insideWidth, fw - insideWidth, outside);
            }
        }
    };
    PaintWorkers::run(parts, paintPart);
    return result;
}

PixelRect StagePainter::dragRectangle(int x0, int y0, int x1, int y1, int bw, int bh) {
    if (bw <= 0 || bh <= 0)
        return {};
    const i64 minX = std::min(x0, x1), maxX = std::max(x0, x1);
    const i64 minY = std::min(y0, y1), maxY = std::max(y0, y1);
    return {minX * bw, minY * bh, (maxX + 1) * bw - 1, (maxY + 1) * bh - 1};
}

PixelRect StagePainter::toDevice(const PixelRect& stage, const StageZoom& zoom) {
    return {zoom.toDevice(stage.left), zoom.toDevice(stage.top), zoom.toDevice(stage.right),
            zoom.toDevice(stage.bottom)};
}

void StagePainter::drawDragRectangle(FrameBuffer& frame, int x0, int y0, int x1, int y1, int bw,
                                     int bh) {
    moveDragRectangle(frame, PaintArea::whole(frame.width, frame.height), {},
                      dragRectangle(x0, y0, x1, y1, bw, bh));
}

PixelRect StagePainter::moveDragRectangle(FrameBuffer& frame, const PaintArea& area,
                                          const PixelRect& from, const PixelRect& to) {
    // Both rectangles in frame coordinates, clipped to the frame.
    auto inFrame = [&](const PixelRect& r) -> PixelRect {
        if (r.empty())
            return {};
        const PixelRect c{std::max<i64>(r.left - area.left, 0), std::max<i64>(r.top - area.top, 0),
                          std::min<i64>(r.right - area.left, frame.width),
                          std::min<i64>(r.bottom - area.top, frame.height)};
        return c.empty() ? PixelRect{} : c;
    };
    const PixelRect a = inFrame(from), b = inFrame(to);
    if (a == b)
        return {};
    const std::uint32_t colour = framePixel(StageColours::drag) & 0x00FFFFFFu;
    auto xorSpan = [&](std::uint32_t* row, i64 x0, i64 x1) {
        for (i64 x = x0; x < x1; ++x)
            row[x] ^= colour;
    };
    PixelRect changed{INT64_MAX, INT64_MAX, INT64_MIN, INT64_MIN};
    auto mark = [&](i64 y, i64 x0, i64 x1) {
        if (x0 >= x1)
            return;
        changed = {std::min(changed.left, x0), std::min(changed.top, y),
                   std::max(changed.right, x1), std::max(changed.bottom, y + 1)};
    };
    const bool hasA = !a.empty(), hasB = !b.empty();
    const i64 y0 = std::min(hasA ? a.top : b.top, hasB ? b.top : a.top);
    const i64 y1 = std::max(a.bottom, b.bottom);
    for (i64 y = y0; y < y1; ++y) {
        const bool inA = hasA && y >= a.top && y < a.bottom;
        const bool inB = hasB && y >= b.top && y < b.bottom;
        std::uint32_t* row = frame.row(int(y));
        if (inA && inB) {
            // The symmetric difference of two spans.
            const i64 l0 = std::min(a.left, b.left), l1 = std::max(a.left, b.left);
            const i64 r0 = std::min(a.right, b.right), r1 = std::max(a.right, b.right);
            if (l1 >= r0) { // apart: both whole
                xorSpan(row, a.left, a.right);
                xorSpan(row, b.left, b.right);
                mark(y, l0, r1);
                continue;
            }
            xorSpan(row, l0, l1);
            xorSpan(row, r0, r1);
            mark(y, l0, l1);
            mark(y, r0, r1);
        } else if (inA || inB) {
            const PixelRect& r = inA ? a : b;
            xorSpan(row, r.left, r.right);
            mark(y, r.left, r.right);
        }
    }
    return changed.left == INT64_MAX ? PixelRect{} : changed;
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

bool writeBackPictureSize(CRKeditDoc& doc) {
    // A paint into an empty frame paints nothing and tells the stage's size.
    FrameBuffer none;
    StagePainter painter;
    const PaintResult result =
        painter.paintRegion(none, doc, doc.picture, 0, 0, PaintArea::whole(0, 0));
    return writeBackPictureSize(doc, result);
}

PixelRect StagePainter::repaintPart(FrameBuffer& frame, const CRKeditDoc& doc,
                                    const PictureHolder& picture, int gridMode,
                                    int referenceDisplay, const PaintArea& area,
                                    const PixelRect& rect, const PixelRect& drag) {
    const i64 left = std::max<i64>(rect.left - area.left, 0);
    const i64 top = std::max<i64>(rect.top - area.top, 0);
    const i64 right = std::min<i64>(rect.right - area.left, frame.width);
    const i64 bottom = std::min<i64>(rect.bottom - area.top, frame.height);
    if (right <= left || bottom <= top)
        return {};
    if (left == 0 && top == 0 && right == frame.width && bottom == frame.height) {
        // The whole frame: painted in place, with no copy.
        paintRegion(frame, doc, picture, gridMode, referenceDisplay, area);
        moveDragRectangle(frame, area, {}, drag);
        return {left, top, right, bottom};
    }
    // The part painted as a frame of its own at its place on the canvas has the pixels the
    // whole frame has there (each pixel depends on its place alone).
    FrameBuffer& part = part_;
    part.resize(int(right - left), int(bottom - top));
    PaintArea at = area;
    at.left += left;
    at.top += top;
    paintRegion(part, doc, picture, gridMode, referenceDisplay, at);
    moveDragRectangle(part, at, {}, drag);
    for (int y = 0; y < part.height; ++y)
        std::memcpy(frame.row(int(top) + y) + left, part.row(y),
                    std::size_t(part.width) * sizeof(std::uint32_t));
    return {left, top, right, bottom};
}
