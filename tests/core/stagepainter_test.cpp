#include <gtest/gtest.h>

#include <random>
#include <set>
#include <utility>

#include "kindcolours.h"
#include "render/canvas.h"
#include "render/framebuffer.h"
#include "render/rasterop.h"
#include "render/stagepainter.h"
#include "stage/CRKeditDoc.h"
#include "stage/settingtext.h"
#include "testpicture.h"

namespace {
constexpr std::uint32_t invert = 0x00FFFFFF;
const std::uint32_t pen = framePixel(StageColours::blockPen);
const std::uint32_t brush = framePixel(StageColours::blockBrush);
const std::uint32_t dot = framePixel(StageColours::grid);
const std::uint32_t black = 0xFF000000;

std::uint32_t pic(int x, int y) {
    return 0xFF000000 | patternRgb(x, y);
}

CRKeditDoc stage(int w, int h, int bw, int bh, int bs, std::uint32_t bg = 0x00302010) {
    CRKeditDoc doc;
    doc.graphicWidth = decimalText(w);
    doc.graphicHeight = decimalText(h);
    doc.blockWidth = decimalText(bw);
    doc.blockHeight = decimalText(bh);
    doc.barSpace = decimalText(bs);
    doc.bgcolorGame = bg;
    return doc;
}

FrameBuffer paintOnce(const CRKeditDoc& doc, const PictureHolder& picture, int fw, int fh, int grid,
                      int reference, PaintResult* result = nullptr) {
    FrameBuffer f;
    f.resize(fw, fh);
    StagePainter painter;
    PaintResult r = painter.paint(f, doc, picture, grid, reference);
    if (result)
        *result = r;
    return f;
}

// Background and picture only: what every paint starts from.
std::uint32_t base(const CRKeditDoc& doc, int fw, int fh, int pw, int ph, int x, int y) {
    if (x < pw && y < ph)
        return pic(x, y);
    if (x == 0 || y == 0 || x == fw - 1 || y == fh - 1)
        return black;
    return framePixel(doc.bgcolorGame);
}

// The paint as its steps read, drawn over the whole frame at once with no cached picture:
// the painter's bands and cache must give exactly this.
FrameBuffer referencePaint(const CRKeditDoc& doc, const PictureHolder& picture, int fw, int fh,
                           int grid, int reference) {
    FrameBuffer f;
    f.resize(fw, fh);
    Canvas c(f);
    c.rectangle(0, 0, fw, fh, 0, doc.bgcolorGame, RasterOp::copyPen);
    const PictureBlock& b = *picture.block;
    const int pw = b.width(), ph = b.height();
    const std::size_t stride = PictureBlock::strideFor(pw);
    for (int y = 0; y < std::min(ph, fh); ++y)
        for (int x = 0; x < std::min(pw, fw); ++x) {
            const std::uint8_t* p = b.data() + 40 + (ph - 1 - y) * stride + 3 * x;
            f.row(y)[x] = 0xFF000000 | p[2] << 16 | p[1] << 8 | p[0];
        }
    const int W = digitValue(doc.graphicWidth), H = digitValue(doc.graphicHeight);
    const int BW = digitValue(doc.blockWidth), BH = digitValue(doc.blockHeight);
    if (grid == 2) {
        for (int y = BH - 1; y <= H; y += BH)
            c.horizontalLine(0, W, y, StageColours::grid, RasterOp::notDest);
        for (int x = BW - 1; x <= W; x += BW)
            c.verticalLine(x, 0, H, StageColours::grid, RasterOp::notDest);
    } else if (grid == 1) {
        for (int j = 1; j <= H / BH + 1; ++j)
            for (int k = 1; k <= W / BW + 1; ++k)
                c.setPixel(k * BW, j * BH, StageColours::grid);
    }
    const RasterOp op = reference == 2   ? RasterOp::copyPen
                        : reference == 1 ? RasterOp::mergePenNot
                                         : RasterOp::nop;
    for (int j = 0; j <= std::min(H / BH, 99); ++j)
        for (int i = 0; i <= std::min(W / BW, 99); ++i)
            drawCell(c, i * BW, j * BH, (i + 1) * BW, (j + 1) * BH, doc.cell(i, j), op);
    return f;
}
} // namespace

TEST(StagePainter, SixForty480StageLinesBlocksAndFit) {
    CRKeditDoc doc = stage(640, 480, 15, 12, 150);
    doc.cell(0, 40) = 1; // below the picture, in the paddle area
    const PictureHolder picture = makePicture(640, 480, patternRgb);
    PaintResult r;
    const FrameBuffer f = paintOnce(doc, picture, 640, 630, 2, 2, &r);

    EXPECT_EQ(r.outcome, PaintOutcome::complete);
    EXPECT_TRUE(r.fitAndWriteBack);
    EXPECT_EQ(std::make_pair(r.fitWidth, r.fitHeight), std::make_pair(640, 630));
    EXPECT_EQ(std::make_pair(r.pictureWidth, r.pictureHeight), std::make_pair(640, 480));

    // Down column 20 (no vertical line there): the horizontal lines, inverted picture.
    std::vector<int> lines;
    for (int y = 0; y < 630; ++y) {
        const std::uint32_t b = base(doc, 640, 630, 640, 480, 20, y);
        if (f.at(20, y) == (b ^ invert))
            lines.push_back(y);
        else
            ASSERT_EQ(f.at(20, y), b) << "y " << y;
    }
    ASSERT_EQ(lines.size(), 40u);
    EXPECT_EQ(lines.front(), 11);
    EXPECT_EQ(lines.back(), 479);
    // Along row 5: the vertical lines.
    lines.clear();
    for (int x = 0; x < 640; ++x) {
        if (f.at(x, 5) == (pic(x, 5) ^ invert))
            lines.push_back(x);
        else
            ASSERT_EQ(f.at(x, 5), pic(x, 5)) << "x " << x;
    }
    ASSERT_EQ(lines.size(), 42u);
    EXPECT_EQ(lines.front(), 14);
    EXPECT_EQ(lines.back(), 629);
    // Crossings are inverted twice.
    EXPECT_EQ(f.at(14, 11), pic(14, 11));
    EXPECT_EQ(f.at(629, 479), pic(629, 479));
    // Vertical lines stop at the picture's height: none in the paddle area.
    EXPECT_EQ(f.at(29, 485), framePixel(doc.bgcolorGame));

    // The block of row 40, column 0: y = 480..491, x = 0..14.
    EXPECT_EQ(f.at(0, 480), pen);
    EXPECT_EQ(f.at(14, 491), pen);
    EXPECT_EQ(f.at(7, 480), pen);
    EXPECT_EQ(f.at(7, 485), brush);
    EXPECT_EQ(f.at(13, 490), brush);
    EXPECT_EQ(f.at(15, 485), framePixel(doc.bgcolorGame));
    EXPECT_EQ(f.at(7, 492), framePixel(doc.bgcolorGame));
    // The background's black border.
    EXPECT_EQ(f.at(639, 600), black);
    EXPECT_EQ(f.at(300, 629), black);
    EXPECT_EQ(f.at(0, 600), black);
}

TEST(StagePainter, DotsSitOnePixelRightAndBelowTheCrossings) {
    const CRKeditDoc doc = stage(640, 480, 15, 12, 150);
    const PictureHolder picture = makePicture(640, 480, patternRgb);
    // A client wider than the picture shows the last column of dots at x = 645.
    const FrameBuffer f = paintOnce(doc, picture, 660, 630, 1, 1);
    std::set<std::pair<int, int>> dots;
    for (int j = 1; j <= 41; ++j)
        for (int k = 1; k <= 43; ++k)
            dots.insert({k * 15, j * 12}); // x = 15 .. 645, y = 12 .. 492
    for (int y = 0; y < 630; ++y)
        for (int x = 0; x < 660; ++x)
            ASSERT_EQ(f.at(x, y), dots.count({x, y}) ? dot : base(doc, 660, 630, 640, 480, x, y))
                << x << ',' << y;
}

// One block at cell (1, 1) of a 3 x 3 stage of 10 x 8 cells, probed where the grid, the
// block's border and its inside meet, in every grid and reference mode.
TEST(StagePainter, GridAndReferenceModes) {
    CRKeditDoc doc = stage(30, 24, 10, 8, 6);
    doc.cell(1, 1) = 1;
    const PictureHolder picture = makePicture(30, 24, patternRgb);
    const struct {
        int x, y;
        bool onLine, isDot, inBlock, border;
    } probes[] = {
        {5, 7, true, false, false, false},    // horizontal line, outside the block
        {9, 7, false, false, false, false},   // crossing: inverted twice
        {20, 16, false, true, false, false},  // dot outside the block
        {10, 8, false, true, true, true},     // dot under the block's top-left corner
        {15, 12, false, false, true, false},  // inside
        {15, 15, true, false, true, true},    // line under the bottom border
        {19, 12, true, false, true, true},    // vertical line under the right border
        {15, 16, false, false, false, false}, // just below the block: bottom edge excluded
        {12, 3, false, false, false, false},
    };
    for (int grid : {2, 1, 0})
        for (int reference : {2, 1, 0}) {
            const FrameBuffer f = paintOnce(doc, picture, 30, 30, grid, reference);
            for (const auto& p : probes) {
                std::uint32_t want = pic(p.x, p.y);
                if (grid == 2 && p.onLine)
                    want ^= invert;
                if (grid == 1 && p.isDot)
                    want = dot;
                if (p.inBlock) {
                    const std::uint32_t colour = p.border ? pen : brush;
                    if (reference == 2)
                        want = colour;
                    else if (reference == 1)
                        want = colour | ~want | 0xFF000000;
                }
                EXPECT_EQ(f.at(p.x, p.y), want)
                    << "grid " << grid << " reference " << reference << " at " << p.x << ',' << p.y;
            }
        }
}

// A picture 30 pixels wide holds exactly three 10-pixel columns: a block in the last one ends
// on the frame's last pixel column, which must carry its right border. A frame one pixel
// wider must show the same block.
TEST(StagePainter, BlockInTheLastColumnOfAnExactWidthKeepsItsRightBorder) {
    CRKeditDoc doc = stage(30, 24, 10, 8, 6);
    doc.cell(2, 1) = 1; // x = 20 .. 29, y = 8 .. 15
    const PictureHolder picture = makePicture(30, 24, patternRgb);
    for (int fw : {30, 31}) {
        const FrameBuffer f = paintOnce(doc, picture, fw, 30, 0, 2);
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 30; ++x) {
                std::uint32_t want = pic(x, y);
                if (x >= 20 && y >= 8 && y <= 15)
                    want = x == 20 || x == 29 || y == 8 || y == 15 ? pen : brush;
                ASSERT_EQ(f.at(x, y), want) << "frame width " << fw << " at " << x << ',' << y;
            }
    }
}

TEST(StagePainter, EveryCodeIsDrawnInItsKindsColours) {
    CRKeditDoc coded = stage(60, 48, 6, 4, 10);
    const int codes[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, -1, 9, 256, 257};
    for (int i = 0; i < 100; ++i)
        for (int j = 0; j < 100; ++j)
            coded.cell(i, j) = codes[(i + j) % std::size(codes)];
    const PictureHolder picture = makePicture(60, 48, patternRgb);
    for (int grid : {2, 1, 0})
        for (int reference : {2, 1, 0})
            EXPECT_EQ(paintOnce(coded, picture, 60, 58, grid, reference).pixels,
                      referencePaint(coded, picture, 60, 58, grid, reference).pixels)
                << "grid " << grid << ", reference " << reference;

    // A border-only kind leaves its inside as the picture and grid made it.
    CRKeditDoc transparent = stage(60, 48, 6, 4, 10);
    transparent.cell(2, 2) = 5;
    const FrameBuffer f = paintOnce(transparent, picture, 60, 58, 0, 2);
    EXPECT_EQ(f.at(12, 8), framePixel(bbggrr(80, 170, 255)));
    EXPECT_EQ(f.at(14, 10), pic(14, 10));
    CRKeditDoc durable = transparent;
    durable.cell(2, 2) = 4;
    EXPECT_EQ(paintOnce(durable, picture, 60, 58, 0, 2).at(14, 10),
              framePixel(bbggrr(105, 105, 105)));
}

TEST(StagePainter, EndsEarlyWithoutPictureOrBlockSize) {
    const PictureHolder picture = makePicture(20, 10, patternRgb);
    PictureHolder halfDecoded{std::make_shared<PictureBlock>(40 + 4 * 20 * 10)}; // header all 0
    const struct {
        const char* name;
        const char* bw;
        const char* bh;
        const PictureHolder* picture;
        PaintOutcome outcome;
    } rows[] = {
        {"no picture", "15", "12", nullptr, PaintOutcome::noPicture},
        {"header never filled", "15", "12", &halfDecoded, PaintOutcome::noPicture},
        {"block width 0", "0", "12", &picture, PaintOutcome::zeroBlockSize},
        {"block height empty", "15", "", &picture, PaintOutcome::zeroBlockSize},
    };
    for (const auto& row : rows) {
        CRKeditDoc doc = stage(20, 10, 1, 1, 5);
        doc.blockWidth = row.bw;
        doc.blockHeight = row.bh;
        doc.cell(0, 0) = 1;
        PaintResult r;
        const FrameBuffer f =
            paintOnce(doc, row.picture ? *row.picture : PictureHolder{}, 24, 16, 2, 2, &r);
        EXPECT_EQ(r.outcome, row.outcome) << row.name;
        EXPECT_FALSE(r.fitAndWriteBack) << row.name;
        const int pw = row.outcome == PaintOutcome::noPicture ? 0 : 20;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 24; ++x)
                ASSERT_EQ(f.at(x, y), base(doc, 24, 16, pw, pw ? 10 : 0, x, y))
                    << row.name << " at " << x << ',' << y;
        EXPECT_FALSE(writeBackPictureSize(doc, r));
        EXPECT_EQ(doc.graphicWidth, "20") << row.name;
    }
}

// 150 x 150 cells of one pixel: the loops would reach column and row 150, but only the
// 100 x 100 grid exists. Cell (1, 0) sits where a row index of 100 in column 0 would land.
TEST(StagePainter, NeverReachesPastTheBlockGrid) {
    CRKeditDoc doc = stage(150, 150, 1, 1, 0);
    for (int k = 0; k < 100; ++k)
        doc.cell(99, k) = doc.cell(k, 99) = 1;
    doc.cell(1, 0) = 1;
    const PictureHolder picture = makePicture(150, 150, patternRgb);
    const FrameBuffer f = paintOnce(doc, picture, 150, 150, 0, 2);
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 150; ++x) {
            const bool block = x < 100 && y < 100 && doc.cell(x, y) == 1;
            ASSERT_EQ(f.at(x, y), block ? pen : pic(x, y)) << x << ',' << y;
        }
}

TEST(StagePainter, SizeWriteBackAndTheNextPaint) {
    // Lines run while x <= W and y <= H: with W 599 and H 479 the last ones lie on W and H.
    CRKeditDoc doc = stage(599, 479, 15, 12, 150);
    const PictureHolder picture = makePicture(640, 480, patternRgb);
    FrameBuffer f;
    f.resize(640, 630);
    StagePainter painter;
    PaintResult r = painter.paint(f, doc, picture, 2, 1);
    // The first paint lays the grid over 599 x 479 pixels.
    EXPECT_EQ(f.at(620, 11), pic(620, 11));
    EXPECT_EQ(f.at(598, 11), pic(598, 11) ^ invert);
    EXPECT_EQ(f.at(599, 5), pic(599, 5) ^ invert);
    EXPECT_EQ(f.at(599, 478), pic(599, 478) ^ invert);
    EXPECT_EQ(f.at(599, 479), pic(599, 479));
    EXPECT_EQ(f.at(20, 479), pic(20, 479) ^ invert);
    EXPECT_EQ(f.at(614, 5), pic(614, 5));
    EXPECT_TRUE(writeBackPictureSize(doc, r));
    EXPECT_EQ(doc.graphicWidth, "640");
    EXPECT_EQ(doc.graphicHeight, "480");

    r = painter.paint(f, doc, picture, 2, 1);
    EXPECT_EQ(f.at(620, 11), pic(620, 11) ^ invert);
    EXPECT_EQ(f.at(614, 5), pic(614, 5) ^ invert);
    EXPECT_FALSE(writeBackPictureSize(doc, r));
}

// A block height whose text wraps to -1 puts every horizontal line and every block above the
// frame; the vertical lines remain. Empty frames are painted without touching memory.
TEST(StagePainter, WrappedBlockSizeAndEmptyFrames) {
    CRKeditDoc doc = stage(40, 30, 10, 1, 5);
    doc.blockHeight = "2147483647"; // digit value -1
    doc.block.fill(1);
    const PictureHolder picture = makePicture(40, 30, patternRgb);
    PaintResult r;
    const FrameBuffer f = paintOnce(doc, picture, 40, 35, 2, 2, &r);
    EXPECT_EQ(r.outcome, PaintOutcome::complete);
    for (int y = 0; y < 35; ++y)
        for (int x = 0; x < 40; ++x) {
            std::uint32_t want = base(doc, 40, 35, 40, 30, x, y);
            if (y < 30 && x % 10 == 9)
                want ^= invert;
            ASSERT_EQ(f.at(x, y), want) << x << ',' << y;
        }
    for (auto [w, h] : {std::pair{0, 10}, std::pair{10, 0}, std::pair{0, 0}})
        for (int grid : {2, 1})
            paintOnce(stage(40, 30, 10, 3, 5), picture, w, h, grid, 1, &r);
}

// Random stages, frames narrower and wider than the picture, settings that disagree with
// the picture: the painter must give exactly what the steps give drawn over the whole frame.
// One painter paints them all, so a converted picture kept past its block would show.
TEST(StagePainter, AgreesWithTheStepsDrawnOverTheWholeFrame) {
    std::mt19937 rng(12345);
    auto in = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    StagePainter painter; // one painter throughout, so its cache is exercised too
    PictureHolder picture;
    for (int round = 0; round < 40; ++round) {
        if (round % 3 == 0) {
            const int salt = in(0, 255);
            picture = makePicture(in(1, 520), in(1, 130), [salt](int x, int y) {
                return patternRgb(x + salt, y) ^ std::uint32_t(salt * 0x010101);
            });
        }
        const int pw = picture.block->width(), ph = picture.block->height();
        CRKeditDoc doc = stage(std::max(0, pw + in(-40, 40)), std::max(0, ph + in(-30, 30)),
                               in(1, 20), in(1, 14), in(0, 40), std::uint32_t(rng()) & 0xFFFFFF);
        for (int i = 0; i < 100; ++i)
            for (int j = 0; j < 100; ++j)
                doc.cell(i, j) = in(0, 3) == 0 ? in(0, 9) : 1;
        const int fw = std::max(1, pw + in(-60, 60)), fh = std::max(1, ph + in(-20, 60));
        const int grid = in(0, 2), reference = in(0, 2);
        FrameBuffer f;
        f.resize(fw, fh);
        painter.paint(f, doc, picture, grid, reference);
        ASSERT_EQ(f.pixels, referencePaint(doc, picture, fw, fh, grid, reference).pixels)
            << "round " << round << ": picture " << pw << 'x' << ph << ", frame " << fw << 'x' << fh
            << ", grid " << grid << ", reference " << reference;
    }
}

TEST(DragRectangle, XorsTheCellsOnePixelShortAndErasesItself) {
    const CRKeditDoc doc = stage(120, 60, 15, 12, 20);
    const PictureHolder picture = makePicture(120, 60, patternRgb);
    const FrameBuffer painted = paintOnce(doc, picture, 120, 80, 2, 1);
    const std::uint32_t drag = framePixel(StageColours::drag) & invert;
    FrameBuffer f = painted;
    // From cell (5, 3) back to cell (2, 1): x = 30 .. 88, y = 12 .. 46.
    StagePainter::drawDragRectangle(f, 5, 3, 2, 1, 15, 12);
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 120; ++x) {
            const bool in = x >= 30 && x <= 88 && y >= 12 && y <= 46;
            ASSERT_EQ(f.at(x, y), painted.at(x, y) ^ (in ? drag : 0)) << x << ',' << y;
        }
    StagePainter::drawDragRectangle(f, 5, 3, 2, 1, 15, 12);
    EXPECT_EQ(f.pixels, painted.pixels);

    // Nothing to draw, or nothing inside the frame: the frame stays as it was.
    StagePainter::drawDragRectangle(f, 3, 3, 3, 3, 1, 1); // one 1-pixel cell: empty rectangle
    StagePainter::drawDragRectangle(f, 1, 1, 2, 2, 0, 12);
    StagePainter::drawDragRectangle(f, 200, 7, INT32_MAX, 9, 15, 12);
    StagePainter::drawDragRectangle(f, -9, -9, -3, -3, 15, 12);
    EXPECT_EQ(f.pixels, painted.pixels);
}
