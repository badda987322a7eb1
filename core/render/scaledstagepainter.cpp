#include "render/scaledstagepainter.h"

#include <algorithm>
#include <vector>

#include "render/framebuffer.h"
#include "render/rowcompositor.h"
#include "render/stagepainter.h"
#include "stage/CRKeditDoc.h"
#include "stage/settingtext.h"

namespace {
using i64 = std::int64_t;

// The full-size coordinate whose pixel frame coordinate i (of `count`) shows: the centre of
// the span it covers.
i64 sampleAt(i64 i, i64 count, i64 full) {
    return std::min(full - 1, (2 * i + 1) * full / (2 * count));
}

RasterOp blockRasterOp(int referenceDisplay) {
    switch (referenceDisplay) {
    case 2:
        return RasterOp::copyPen;
    case 1:
        return RasterOp::mergePenNot;
    default:
        return RasterOp::nop;
    }
}

// The reduced picture's rows as the full-size paint would see them: row `y` of a
// fullWidth x fullHeight picture, at the columns listed, as frame pixels.
class PictureSampler {
public:
    PictureSampler(const PictureHolder& picture, i64 fullWidth, i64 fullHeight)
        : fullWidth_(fullWidth), fullHeight_(fullHeight) {
        if (picture.empty() || picture.block->size() < PictureBlock::headerSize)
            return;
        const PictureBlock& block = *picture.block;
        width_ = block.width();
        height_ = block.height();
        stride_ = PictureBlock::strideFor(width_);
        if (width_ <= 0 || height_ <= 0 ||
            stride_ * std::size_t(height_) > block.size() - PictureBlock::headerSize)
            width_ = height_ = 0;
        else
            bits_ = picture.pictureBits();
    }
    bool shown() const { return bits_ != nullptr && fullWidth_ > 0 && fullHeight_ > 0; }

    // Fills row[x] for each listed x < fullWidth with the picture pixel over stage pixel
    // (x, y), y < fullHeight.
    void fill(std::uint32_t* row, i64 y, const std::vector<i64>& columns) const {
        const i64 r = y * height_ / fullHeight_;
        const std::uint8_t* src = bits_ + std::size_t(height_ - 1 - r) * stride_; // bottom-up
        for (i64 x : columns) {
            if (x >= fullWidth_)
                break;
            const std::uint8_t* p = src + 3 * std::size_t(x * width_ / fullWidth_);
            row[x] = 0xFF000000u | std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0];
        }
    }

private:
    const std::uint8_t* bits_ = nullptr;
    i64 fullWidth_, fullHeight_;
    std::int32_t width_ = 0, height_ = 0;
    std::size_t stride_ = 0;
};
} // namespace

void paintScaledStage(FrameBuffer& frame, const CRKeditDoc& doc, const PictureHolder& picture,
                      const StageExtent& extent, int gridMode, int referenceDisplay) {
    const i64 width = extent.width, height = extent.height;
    if (frame.width <= 0 || frame.height <= 0 || width <= 0 || height <= 0)
        return;
    const StageLayout s{digitValue(doc.graphicWidth), digitValue(doc.graphicHeight),
                        digitValue(doc.blockWidth), digitValue(doc.blockHeight),
                        digitValue(doc.barSpace)};
    const bool layout = std::uint32_t(s.bw) * std::uint32_t(s.bh) != 0;
    RowCompositor rows(doc, s, layout && gridMode == 2,
                       layout ? blockRasterOp(referenceDisplay) : RasterOp::nop, StageZoom(), 0,
                       int(width));

    const PictureSampler sampler(picture, extent.pictureWidth, extent.pictureHeight);
    const i64 coverWidth = sampler.shown() ? std::min(extent.pictureWidth, width) : 0;
    const i64 coverHeight = sampler.shown() ? std::min(extent.pictureHeight, height) : 0;

    std::vector<i64> columns(std::size_t(frame.width));
    for (int x = 0; x < frame.width; ++x)
        columns[std::size_t(x)] = sampleAt(x, frame.width, width);
    // Dots sit one pixel right of and below each grid crossing: (k*BW, j*BH), j and k from 1.
    const bool dots = layout && gridMode == 1 && s.bw > 0 && s.bh > 0;
    const i64 dotRowLast = dots ? std::min(s.h / s.bh + 1, (height - 1) / s.bh) : 0;
    const i64 dotColumnLast = dots ? std::min(s.w / s.bw + 1, (width - 1) / s.bw) : 0;

    const std::uint32_t pen = framePixel(StageColours::backgroundPen);
    const std::uint32_t brush = framePixel(doc.bgcolorGame);
    const std::uint32_t dot = framePixel(StageColours::grid);
    std::vector<std::uint32_t> row(static_cast<std::size_t>(width));
    std::vector<std::uint32_t> source(std::size_t(std::max<i64>(coverWidth, 1)));
    for (int fy = 0; fy < frame.height; ++fy) {
        const i64 y = sampleAt(fy, frame.height, height);
        // The background rectangle: border in the pen, inside in the game's colour.
        const bool edge = y == 0 || y == height - 1;
        std::fill(row.begin(), row.end(), edge ? pen : brush);
        row.front() = row.back() = pen;
        const bool covered = y < coverHeight;
        if (covered)
            sampler.fill(source.data(), y, columns);
        if (dots) {
            if (covered)
                std::copy_n(source.begin(), coverWidth, row.begin());
            if (y % s.bh == 0 && y / s.bh >= 1 && y / s.bh <= dotRowLast)
                for (i64 k = 1; k <= dotColumnLast; ++k)
                    row[std::size_t(k * s.bw)] = dot;
            rows.compose(row.data(), y, nullptr, 0);
        } else {
            rows.compose(row.data(), y, covered ? source.data() : nullptr,
                         covered ? int(coverWidth) : 0);
        }
        std::uint32_t* out = frame.row(fy);
        for (int x = 0; x < frame.width; ++x)
            out[x] = row[std::size_t(columns[std::size_t(x)])];
    }
}
