#include <gtest/gtest.h>

#include <string>

#include "render/framebuffer.h"
#include "render/rasterop.h"
#include "render/scaledstagepainter.h"
#include "render/stagepainter.h"
#include "stage/CRKeditDoc.h"
#include "stage/settingtext.h"
#include "testpicture.h"

namespace {
const std::uint32_t pen = framePixel(StageColours::blockPen);
const std::uint32_t brush = framePixel(StageColours::blockBrush);
const std::uint32_t black = 0xFF000000;
constexpr std::uint32_t invert = 0x00FFFFFF;

// A 23 x 17 picture under 5 x 4 blocks and a paddle area of 9: blocks in three cells, one of
// them in the last partial column, one reaching into the paddle area.
CRKeditDoc stage() {
    CRKeditDoc doc;
    doc.graphicWidth = "23";
    doc.graphicHeight = "17";
    doc.blockWidth = "5";
    doc.blockHeight = "4";
    doc.barSpace = "9";
    doc.bgcolorGame = 0x00406080;
    doc.cell(1, 0) = 1;
    doc.cell(4, 2) = 1;
    doc.cell(2, 4) = 1;
    doc.cell(3, 1) = 2; // a double-durability block, in its own colours
    return doc;
}

const StageExtent extent{23, 26, 23, 17};

FrameBuffer fullPaint(const CRKeditDoc& doc, const PictureHolder& picture, int grid, int ref) {
    FrameBuffer f;
    f.resize(int(extent.width), int(extent.height));
    StagePainter painter;
    painter.paint(f, doc, picture, grid, ref);
    return f;
}

FrameBuffer scaledPaint(const CRKeditDoc& doc, const PictureHolder& picture, int fw, int fh,
                        int grid, int ref, const StageExtent& e = extent) {
    FrameBuffer f;
    f.resize(fw, fh);
    paintScaledStage(f, doc, picture, e, grid, ref);
    return f;
}

// At the stage's own size the scaled paint is the view's paint, pixel for pixel, for every
// grid and block display; reduced or enlarged, each pixel is the view's pixel at the centre
// of the area it covers.
TEST(ScaledStagePainter, IsTheViewsPaintSampledAtPixelCentres) {
    const CRKeditDoc doc = stage();
    const PictureHolder picture = makePicture(23, 17, patternRgb);
    const int sizes[][2] = {{23, 26}, {12, 13}, {7, 8}, {3, 2}, {46, 52}, {1, 1}, {23, 5}};
    for (int grid : {0, 1, 2})
        for (int ref : {0, 1, 2}) {
            const FrameBuffer full = fullPaint(doc, picture, grid, ref);
            for (const auto& size : sizes) {
                SCOPED_TRACE("grid " + std::to_string(grid) + " reference " + std::to_string(ref) +
                             " at " + std::to_string(size[0]) + "x" + std::to_string(size[1]));
                const FrameBuffer f = scaledPaint(doc, picture, size[0], size[1], grid, ref);
                for (int y = 0; y < f.height; ++y)
                    for (int x = 0; x < f.width; ++x) {
                        const int sx = int((2 * x + 1) * extent.width / (2 * f.width));
                        const int sy = int((2 * y + 1) * extent.height / (2 * f.height));
                        ASSERT_EQ(f.at(x, y), full.at(sx, sy)) << x << "," << y;
                    }
            }
        }
}

// A reduced decode is read at the same relative position: a picture of 2 x 2 pixel squares
// reduced to half shows the same picture as the full one.
TEST(ScaledStagePainter, TakesAReducedPictureAtTheSamePlace) {
    const CRKeditDoc doc = stage();
    auto squares = [](int x, int y) { return patternRgb(x / 2, y / 2); };
    const PictureHolder full = makePicture(24, 18, squares);
    const PictureHolder half = makePicture(12, 9, patternRgb);
    const StageExtent e{24, 27, 24, 18};
    for (int grid : {0, 1, 2}) {
        const FrameBuffer a = scaledPaint(doc, full, 12, 14, grid, 1, e);
        const FrameBuffer b = scaledPaint(doc, half, 12, 14, grid, 1, e);
        EXPECT_EQ(a.pixels, b.pixels) << "grid " << grid;
    }
}

// No picture (a thumbnail whose picture cannot be read): the grid and blocks over the game's
// background inside its black border, as if the picture were there.
TEST(ScaledStagePainter, WithoutAPictureShowsGridAndBlocksOverTheBackground) {
    const CRKeditDoc doc = stage();
    const std::uint32_t bg = framePixel(doc.bgcolorGame);
    const FrameBuffer f = scaledPaint(doc, {}, 23, 26, 2, 2);
    EXPECT_EQ(f.at(0, 10), black);
    EXPECT_EQ(f.at(22, 25), black);
    EXPECT_EQ(f.at(2, 2), bg);
    EXPECT_EQ(f.at(4, 2), bg ^ invert); // a vertical grid line
    EXPECT_EQ(f.at(2, 3), bg ^ invert); // a horizontal one
    EXPECT_EQ(f.at(4, 3), bg);          // crossings are inverted twice
    EXPECT_EQ(f.at(5, 0), pen);         // block (1, 0), opaque
    EXPECT_EQ(f.at(7, 1), brush);
    EXPECT_EQ(f.at(21, 9), brush); // block (4, 2) in the last, partial column
    EXPECT_EQ(f.at(12, 16), pen);  // block (2, 4) reaches into the paddle area
    EXPECT_EQ(f.at(12, 18), brush);
    EXPECT_EQ(f.at(15, 4), framePixel(0x00288CE6)); // kind 2's border, RGB(230, 140, 40)
    EXPECT_EQ(f.at(16, 6), framePixel(0x000055B9)); // and inside, RGB(185, 85, 0)
    EXPECT_EQ(f.at(10, 22), bg);                    // below the blocks

    // Blocks are left out when the block size is 0, as in the view.
    CRKeditDoc zero = stage();
    zero.blockHeight = "0";
    const FrameBuffer z = scaledPaint(zero, {}, 23, 26, 2, 2);
    EXPECT_EQ(z.at(5, 1), bg);
    EXPECT_EQ(z.at(4, 2), bg);
}
} // namespace
