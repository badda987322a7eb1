// Painting a part of the stage at a zoom: the scale's arithmetic, the zoomed paint against
// the stage drawn forwards (each stage pixel, line, dot and cell placed on the device), parts
// against the whole, pictures decoded at a reduced size, and moving the drag rectangle.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <sstream>
#include <string>

#include "kindcolours.h"
#include "render/canvas.h"
#include "render/framebuffer.h"
#include "render/paintarea.h"
#include "render/picturelevels.h"
#include "render/rasterop.h"
#include "render/stagepainter.h"
#include "render/stagezoom.h"
#include "stage/CRKeditDoc.h"
#include "stage/settingtext.h"
#include "testpicture.h"

namespace {
using i64 = std::int64_t;
constexpr std::uint32_t invert = 0x00FFFFFF;

// The zoom steps of the view, a device pixel ratio of 2 on two of them, and the uneven
// scales a "whole stage in the window" fit gives.
const StageZoom zooms[] = {{1, 8}, {1, 4},       {1, 3}, {1, 2}, {2, 3}, {1, 1}, {3, 2},
                           {2, 1}, {3, 1},       {4, 1}, {8, 1}, {6, 1}, {4, 3}, {256, 4000},
                           {7, 5}, {1366, 4010}, {5, 9}, {9, 5}, {3, 7}, {1, 5}, {733, 3256}};

std::string name(const StageZoom& z) {
    std::ostringstream s;
    s << z.num() << '/' << z.den();
    return s.str();
}

// ceil(v * num / den) for v >= 0, written out apart from StageZoom.
i64 forward(i64 v, const StageZoom& z) {
    return (v * z.num() + z.den() - 1) / z.den();
}

CRKeditDoc stage(int w, int h, int bw, int bh, int bs, std::uint32_t bg) {
    CRKeditDoc doc;
    doc.graphicWidth = decimalText(w);
    doc.graphicHeight = decimalText(h);
    doc.blockWidth = decimalText(bw);
    doc.blockHeight = decimalText(bh);
    doc.barSpace = decimalText(bs);
    doc.bgcolorGame = bg;
    return doc;
}

RasterOp blockOp(int reference) {
    return reference == 2   ? RasterOp::copyPen
           : reference == 1 ? RasterOp::mergePenNot
                            : RasterOp::nop;
}

// The picture's reduced copies a paint at zoom z reads: every f-th pixel, f the largest power
// of two with f * z <= 1 (1 above 1/2), no larger than the picture's longer side needs.
i64 reductionFor(const StageZoom& z, i64 pw, i64 ph) {
    i64 f = 1;
    while (2 * f * z.num() <= z.den() && f < std::max(pw, ph))
        f *= 2;
    return f;
}

// The picture pixel (column or row, on an axis `length` long) that device pixel d shows: the
// stage pixel d shows, or with a reduction f the first multiple of f at or after it, held to
// the last multiple of f inside the picture.
i64 shownPixel(i64 d, const StageZoom& z, i64 f, i64 length) {
    const i64 s = d * z.den() / z.num();
    return f == 1 ? s : std::min((s + f - 1) / f * f, (length - 1) / f * f);
}

// The whole canvas of a zoomed paint built forwards from the stage: the background over the
// canvas; each device pixel of the picture from the 100 % frame at the pixel it shows
// (shownPixel);
// every grid line on the last device pixel before its boundary (a device pixel inverted once
// however many lines land on it, crossings twice); every dot on the first device pixel of
// its stage pixel; every block over its cells' device pixels, border on the first and last.
FrameBuffer forwardPaint(const CRKeditDoc& doc, const PictureHolder& picture, int grid,
                         int reference, const StageZoom& z, int cw, int ch) {
    const int pw = picture.block->width(), ph = picture.block->height();
    FrameBuffer full; // the 100 % frame of the picture alone
    full.resize(pw, ph);
    StagePainter().paint(full, doc, picture, 0, 0);

    FrameBuffer f;
    f.resize(cw, ch);
    Canvas c(f);
    c.rectangle(0, 0, cw, ch, 0, doc.bgcolorGame, RasterOp::copyPen);
    const i64 reduction = reductionFor(z, pw, ph);
    for (i64 y = 0; y < std::min<i64>(forward(ph, z), ch); ++y)
        for (i64 x = 0; x < std::min<i64>(forward(pw, z), cw); ++x)
            f.row(int(y))[x] =
                full.at(int(shownPixel(x, z, reduction, pw)), int(shownPixel(y, z, reduction, ph)));

    const i64 W = digitValue(doc.graphicWidth), H = digitValue(doc.graphicHeight);
    const i64 BW = digitValue(doc.blockWidth), BH = digitValue(doc.blockHeight);
    if (grid == 2) {
        std::set<i64> rows, columns;
        for (i64 k = 1; k * BH - 1 <= H; ++k)
            rows.insert(forward(k * BH, z) - 1);
        for (i64 k = 1; k * BW - 1 <= W; ++k)
            columns.insert(forward(k * BW, z) - 1);
        for (i64 y : rows)
            c.horizontalLine(0, forward(W, z), y, 0, RasterOp::notDest);
        for (i64 x : columns)
            c.verticalLine(x, 0, forward(H, z), 0, RasterOp::notDest);
    } else if (grid == 1) {
        for (i64 j = 1; j <= H / BH + 1; ++j)
            for (i64 k = 1; k <= W / BW + 1; ++k)
                c.setPixel(forward(k * BW, z), forward(j * BH, z), StageColours::grid);
    }
    for (i64 j = 0; j <= std::min<i64>(H / BH, 99); ++j)
        for (i64 i = 0; i <= std::min<i64>(W / BW, 99); ++i)
            drawCell(c, forward(i * BW, z), forward(j * BH, z), forward((i + 1) * BW, z),
                     forward((j + 1) * BH, z), doc.cell(int(i), int(j)), blockOp(reference));
    return f;
}

FrameBuffer paintArea(const CRKeditDoc& doc, const PictureHolder& picture, int grid, int reference,
                      const PaintArea& area, int fw, int fh) {
    FrameBuffer f;
    f.resize(fw, fh);
    StagePainter().paintRegion(f, doc, picture, grid, reference, area);
    return f;
}

// A random stage over a random picture, settings near the picture's size.
struct RandomStage {
    CRKeditDoc doc;
    PictureHolder picture;
    int grid, reference;
    int stageWidth, stageHeight; // picture width x (picture height + barSpace)
};

RandomStage randomStage(std::mt19937& rng, int maxWidth, int maxHeight) {
    auto in = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const int salt = in(0, 255);
    const int pw = in(1, maxWidth), ph = in(1, maxHeight);
    RandomStage r{stage(std::max(0, pw + in(-12, 12)), std::max(0, ph + in(-9, 9)), in(1, 17),
                        in(1, 13), in(0, 30), std::uint32_t(rng()) & 0xFFFFFF),
                  makePicture(pw, ph,
                              [salt](int x, int y) {
                                  return patternRgb(x + salt, y) ^ std::uint32_t(salt * 0x010101);
                              }),
                  in(0, 2),
                  in(0, 2),
                  pw,
                  0};
    r.stageHeight = ph + digitValue(r.doc.barSpace);
    for (int i = 0; i < 100; ++i)
        for (int j = 0; j < 100; ++j)
            r.doc.cell(i, j) = in(0, 3) == 0 ? in(0, 9) : 1;
    return r;
}
} // namespace

TEST(StageZoom, DevicePixelsAndStagePixelsAgree) {
    for (const StageZoom& z : zooms) {
        // Each device pixel shows the stage pixel whose device pixels include it.
        for (i64 d = 0; d < 400; ++d) {
            const i64 s = z.toStage(d);
            ASSERT_LE(z.toDevice(s), d) << name(z) << " device " << d;
            ASSERT_GT(z.toDevice(s + 1), d) << name(z) << " device " << d;
        }
        // A stage pixel's first device pixel shows it, unless the zoom is below 1 and a
        // later stage pixel took that device pixel.
        for (i64 s = -50; s < 200; ++s) {
            const i64 shown = z.toStage(z.toDevice(s));
            ASSERT_TRUE(z.num() >= z.den() ? shown == s : shown >= s) << name(z) << " stage " << s;
        }
    }
    // Lowest terms, parts held to 1 .. INT32_MAX, products exact at the 32-bit limits.
    EXPECT_EQ(StageZoom(50, 100), StageZoom(1, 2));
    EXPECT_EQ(StageZoom(0, -3), StageZoom(1, 1));
    const StageZoom huge(INT32_MAX, 1);
    EXPECT_EQ(huge.toDevice(INT32_MAX), i64(INT32_MAX) * INT32_MAX);
    EXPECT_EQ(StageZoom(1, INT32_MAX).toStage(INT32_MAX), i64(INT32_MAX) * INT32_MAX);
    EXPECT_EQ(huge.toDevice(INT64_MAX), INT64_MAX);
    EXPECT_EQ(StageZoom(-7, 3).toStage(-1), -3); // floor, not truncation: zoom 1/3
    EXPECT_EQ(StageZoom(2, 3).toDevice(-1), 0);  // ceil(-2/3)
    // A device pixel ratio times a zoom step.
    EXPECT_EQ(StageZoom(2, 1).times(StageZoom(1, 3)), StageZoom(2, 3));
    EXPECT_EQ(StageZoom(3, 2).times(StageZoom(2, 3)), StageZoom(1, 1));
    // Parts past 32 bits: the nearest 32-bit ratio.
    const StageZoom big = StageZoom(1000003, 999983).times(StageZoom(999979, 1000033));
    EXPECT_LE(std::max(big.num(), big.den()), INT32_MAX);
    EXPECT_NEAR(big.factor(), 1000003.0 / 999983 * 999979 / 1000033, 1e-9);
    EXPECT_EQ(StageZoom(INT32_MAX, 1).times(StageZoom(4, 1)), StageZoom(INT32_MAX, 1));
    // Only one part past 32 bits: the other is scaled with it, so the ratio stays.
    for (const auto& [a, b] : {std::pair{StageZoom(65537, 40009), StageZoom(65521, 50021)},
                               std::pair{StageZoom(40009, 65537), StageZoom(50021, 65521)}}) {
        const StageZoom product = a.times(b);
        EXPECT_EQ(std::max(product.num(), product.den()), INT32_MAX);
        EXPECT_NEAR(product.factor() / (a.factor() * b.factor()), 1.0, 1e-9);
    }
}

// At every zoom, the picture's device pixels are the 100 % frame's pixels at the pixel they
// show (the stage pixel, or at 1/2 and below its reduced copy's, shownPixel), and lines, dots
// and blocks lie on the device pixels of their own rule.
TEST(ZoomedPaint, AgreesWithTheStageDrawnForwards) {
    std::mt19937 rng(2024);
    for (const StageZoom& z : zooms)
        for (int round = 0; round < 4; ++round) {
            RandomStage r = randomStage(rng, 90, 50);
            // The stage's own size at the zoom, or a window larger than that.
            const int cw = int(forward(r.stageWidth, z)) + (round % 2 ? 7 : 0);
            const int ch = int(forward(r.stageHeight, z)) + (round % 2 ? 0 : 5);
            const PaintArea area{z, cw, ch, 0, 0, 0, 0};
            const FrameBuffer want = forwardPaint(r.doc, r.picture, r.grid, r.reference, z, cw, ch);
            const FrameBuffer got = paintArea(r.doc, r.picture, r.grid, r.reference, area, cw, ch);
            for (int y = 0; y < ch; ++y)
                for (int x = 0; x < cw; ++x)
                    ASSERT_EQ(got.at(x, y), want.at(x, y))
                        << "zoom " << name(z) << " round " << round << " at " << x << ',' << y
                        << ": picture " << r.picture.block->width() << 'x'
                        << r.picture.block->height() << ", stage " << r.doc.graphicWidth << 'x'
                        << r.doc.graphicHeight << " cells " << r.doc.blockWidth << 'x'
                        << r.doc.blockHeight << ", grid " << r.grid << ", reference "
                        << r.reference;
        }
}

// Known places at 300 %: a 30 x 24 stage of 10 x 8 cells, block (1, 1). Cell (1, 1) covers
// device columns 30..59 and rows 24..47; the line before x = 10 is device column 29, the
// one before y = 8 device row 23; the dot at stage (10, 8) is device pixel (30, 24).
TEST(ZoomedPaint, ThreeHundredPercentPlaces) {
    CRKeditDoc doc = stage(30, 24, 10, 8, 6, 0x00102030);
    doc.cell(1, 1) = 1;
    const PictureHolder picture = makePicture(30, 24, patternRgb);
    const StageZoom z(3, 1);
    const PaintArea area = PaintArea::scaledStage(z, 30, 30);
    ASSERT_EQ(area.canvasWidth, 90);
    ASSERT_EQ(area.canvasHeight, 90);
    const std::uint32_t pen = framePixel(StageColours::blockPen);
    const std::uint32_t brush = framePixel(StageColours::blockBrush);
    auto pic = [](int x, int y) { return 0xFF000000 | patternRgb(x / 3, y / 3); };

    const FrameBuffer lines = paintArea(doc, picture, 2, 2, area, 90, 90);
    EXPECT_EQ(lines.at(5, 23), pic(5, 23) ^ invert); // horizontal line, one device row
    EXPECT_EQ(lines.at(5, 22), pic(5, 22));
    EXPECT_EQ(lines.at(5, 21), pic(5, 21));
    EXPECT_EQ(lines.at(29, 5), pic(29, 5) ^ invert); // vertical line, one device column
    EXPECT_EQ(lines.at(28, 5), pic(28, 5));
    EXPECT_EQ(lines.at(29, 23), pic(29, 23)); // crossing: inverted twice
    EXPECT_EQ(lines.at(30, 24), pen);         // the block's border, one pixel wide
    EXPECT_EQ(lines.at(31, 25), brush);
    EXPECT_EQ(lines.at(59, 40), pen);
    EXPECT_EQ(lines.at(58, 40), brush);
    EXPECT_EQ(lines.at(45, 47), pen);
    EXPECT_EQ(lines.at(45, 48), pic(45, 48));
    EXPECT_EQ(lines.at(45, 71), pic(45, 71) ^ invert); // the last line, before y = 24
    EXPECT_EQ(lines.at(45, 72), framePixel(doc.bgcolorGame));
    EXPECT_EQ(lines.at(89, 80), 0xFF000000u); // the canvas's black border
    EXPECT_EQ(lines.at(40, 89), 0xFF000000u);

    const FrameBuffer dots = paintArea(doc, picture, 1, 0, area, 90, 90);
    EXPECT_EQ(dots.at(30, 24), framePixel(StageColours::grid));
    EXPECT_EQ(dots.at(31, 24), pic(31, 24));
    EXPECT_EQ(dots.at(30, 25), pic(30, 25));
    EXPECT_EQ(dots.at(60, 48), framePixel(StageColours::grid));
    EXPECT_EQ(dots.at(90 - 1, 72), 0xFF000000u); // a dot at x = 30 lies on device column 90
}

// A part of the canvas painted on its own equals the same part of the whole canvas; frame
// pixels beyond the canvas show the game background.
TEST(ZoomedPaint, PartsEqualTheWhole) {
    std::mt19937 rng(77);
    auto in = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (const StageZoom& z : zooms) {
        RandomStage r = randomStage(rng, 120, 60);
        const int cw = int(forward(r.stageWidth, z)), ch = int(forward(r.stageHeight, z));
        const FrameBuffer whole =
            paintArea(r.doc, r.picture, r.grid, r.reference, {z, cw, ch, 0, 0, 0, 0}, cw, ch);
        StagePainter painter; // one painter for all parts: its scratch rows are reused
        for (int part = 0; part < 12; ++part) {
            const int left = in(0, cw + 3), top = in(0, ch + 3);
            const int fw = in(1, cw + 5), fh = in(1, ch + 5);
            FrameBuffer f;
            f.resize(fw, fh);
            painter.paintRegion(f, r.doc, r.picture, r.grid, r.reference,
                                {z, cw, ch, left, top, 0, 0});
            for (int y = 0; y < fh; ++y)
                for (int x = 0; x < fw; ++x) {
                    const bool inside = left + x < cw && top + y < ch;
                    ASSERT_EQ(f.at(x, y),
                              inside ? whole.at(left + x, top + y) : framePixel(r.doc.bgcolorGame))
                        << "zoom " << name(z) << " part " << left << ',' << top << ' ' << fw << 'x'
                        << fh << " at " << x << ',' << y;
                }
        }
    }
}

// Cells changed after a paint: painting again only their pixels (with the drag rectangle
// over them) gives the frame a whole new paint gives, at every zoom, for frames anywhere on
// the canvas.
TEST(ZoomedPaint, RepaintedCellsEqualANewPaint) {
    std::mt19937 rng(4242);
    auto in = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (const StageZoom& z : zooms) {
        RandomStage r = randomStage(rng, 120, 60);
        const int cw = int(forward(r.stageWidth, z)), ch = int(forward(r.stageHeight, z));
        const int fw = in(1, cw + 5), fh = in(1, ch + 5);
        const PaintArea area{z, cw, ch, in(0, cw / 2), in(0, ch / 2), 0, 0};
        const int bw = digitValue(r.doc.blockWidth), bh = digitValue(r.doc.blockHeight);
        const PixelRect drag = StagePainter::toDevice(
            StagePainter::dragRectangle(in(0, 5), in(0, 5), in(0, 9), in(0, 9), bw, bh), z);
        StagePainter painter;
        FrameBuffer frame;
        frame.resize(fw, fh);
        painter.paintRegion(frame, r.doc, r.picture, r.grid, r.reference, area);
        StagePainter::moveDragRectangle(frame, area, {}, drag);
        // Change a box of cells to other codes, then paint only the box again.
        const int x0 = in(0, 8), y0 = in(0, 6), x1 = x0 + in(0, 4), y1 = y0 + in(0, 4);
        for (int x = x0; x <= x1; ++x)
            for (int y = y0; y <= y1; ++y)
                r.doc.cell(x, y) = in(0, 10);
        const PixelRect cells = StagePainter::toDevice(
            {i64(x0) * bw, i64(y0) * bh, i64(x1 + 1) * bw, i64(y1 + 1) * bh}, z);
        painter.repaintPart(frame, r.doc, r.picture, r.grid, r.reference, area, cells, drag);

        FrameBuffer fresh;
        fresh.resize(fw, fh);
        StagePainter().paintRegion(fresh, r.doc, r.picture, r.grid, r.reference, area);
        StagePainter::moveDragRectangle(fresh, area, {}, drag);
        ASSERT_EQ(frame.pixels, fresh.pixels) << "zoom " << name(z);
        // A part covering the whole frame (painted in place) gives the same.
        r.doc.cell(x0, y0) = r.doc.cell(x0, y0) == 0 ? 3 : 0;
        painter.repaintPart(frame, r.doc, r.picture, r.grid, r.reference, area,
                            {0, 0, i64(1) << 40, i64(1) << 40}, drag);
        StagePainter().paintRegion(fresh, r.doc, r.picture, r.grid, r.reference, area);
        StagePainter::moveDragRectangle(fresh, area, {}, drag);
        ASSERT_EQ(frame.pixels, fresh.pixels) << "zoom " << name(z) << ", whole frame";
    }
}

// A frame's rows split into parts painted side by side give the frame one paint gives: parts
// of one band, uneven parts, more parts than bands, and more parts than processors.
TEST(ZoomedPaint, RowsPaintedSideBySideEqualOnePaint) {
    std::mt19937 rng(31);
    for (const StageZoom& z :
         {StageZoom(1, 1), StageZoom(1, 3), StageZoom(733, 3256), StageZoom(3, 1)})
        for (int round = 0; round < 3; ++round) {
            RandomStage r = randomStage(rng, 300, 200);
            const int cw = int(forward(r.stageWidth, z)), ch = int(forward(r.stageHeight, z));
            const PaintArea area{z, cw + 9, ch + 4, 0, 0, 0, 0};
            FrameBuffer one;
            one.resize(cw + 13, ch + 6);
            StagePainter single;
            single.setParts(1);
            single.paintRegion(one, r.doc, r.picture, r.grid, r.reference, area);
            StagePainter split; // one painter for every split: its scratch rows are reused
            for (int parts : {2, 3, 7, 1000}) {
                FrameBuffer f;
                f.resize(one.width, one.height);
                split.setParts(parts);
                split.paintRegion(f, r.doc, r.picture, r.grid, r.reference, area);
                for (int y = 0; y < f.height; ++y)
                    for (int x = 0; x < f.width; ++x)
                        ASSERT_EQ(f.at(x, y), one.at(x, y))
                            << "zoom " << name(z) << " round " << round << ", " << parts
                            << " parts, at " << x << ',' << y;
            }
        }
}

// At zoom 1 a part equals the stage window's paint of the whole client area.
TEST(ZoomedPaint, PartsAtOneHundredPercentEqualTheWindowPaint) {
    std::mt19937 rng(5);
    auto in = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int round = 0; round < 10; ++round) {
        RandomStage r = randomStage(rng, 300, 120);
        const int cw = r.stageWidth + in(-20, 20), ch = r.stageHeight + in(-20, 20);
        FrameBuffer window;
        window.resize(cw, ch);
        StagePainter().paint(window, r.doc, r.picture, r.grid, r.reference);
        const int left = in(0, cw - 1), top = in(0, ch - 1);
        const int fw = in(1, cw - left), fh = in(1, ch - top);
        const FrameBuffer f = paintArea(r.doc, r.picture, r.grid, r.reference,
                                        {StageZoom(), cw, ch, left, top, 0, 0}, fw, fh);
        for (int y = 0; y < fh; ++y)
            for (int x = 0; x < fw; ++x)
                ASSERT_EQ(f.at(x, y), window.at(left + x, top + y))
                    << "round " << round << " at " << x << ',' << y;
    }
}

// A thumbnail's picture decoded at a half or a quarter of its size and stretched over the
// stage's picture size: the same device pixels as the full picture at that zoom, when the
// reduced block holds every second or fourth pixel. Sizes that do not divide (a reduced
// decode rounds up) stay inside the block.
TEST(ZoomedPaint, PictureDecodedAtAReducedSize) {
    const int pw = 96, ph = 64;
    CRKeditDoc doc = stage(pw, ph, 12, 8, 16, 0x00405060);
    doc.cell(2, 3) = doc.cell(7, 7) = doc.cell(0, 8) = 1;
    const PictureHolder full = makePicture(pw, ph, patternRgb);
    for (int reduce : {2, 4, 8}) {
        const PictureHolder reduced = makePicture(pw / reduce, ph / reduce, [reduce](int x, int y) {
            return patternRgb(x * reduce, y * reduce);
        });
        for (const StageZoom& z : {StageZoom(1, reduce), StageZoom(1, 2 * reduce)}) {
            const PaintArea area = PaintArea::scaledStage(z, pw, ph + 16);
            PaintArea stretched = area;
            stretched.pictureWidth = pw;
            stretched.pictureHeight = ph;
            const int cw = int(area.canvasWidth), ch = int(area.canvasHeight);
            EXPECT_EQ(paintArea(doc, reduced, 2, 1, stretched, cw, ch).pixels,
                      paintArea(doc, full, 2, 1, area, cw, ch).pixels)
                << "reduced 1/" << reduce << " zoom " << name(z);
        }
    }
    // 101 x 67 decoded at 1/8 rounds up to 13 x 9; a 200-pixel thumbnail of the stage.
    CRKeditDoc odd = stage(101, 67, 10, 10, 20, 0x00000000);
    odd.block.fill(1);
    const PictureHolder small = makePicture(13, 9, patternRgb);
    const StageZoom z(200, 101);
    PaintArea area = PaintArea::scaledStage(z, 101, 87);
    area.pictureWidth = 101;
    area.pictureHeight = 67;
    PaintResult result;
    FrameBuffer f;
    f.resize(int(area.canvasWidth), int(area.canvasHeight));
    result = StagePainter().paintRegion(f, odd, small, 0, 0, area);
    EXPECT_EQ(f.width, 200);
    EXPECT_EQ(f.height, 173);            // ceil(87 * 200 / 101)
    EXPECT_EQ(result.pictureWidth, 101); // the stage's picture size is written back
    EXPECT_EQ(result.pictureHeight, 67);
    EXPECT_EQ(result.fitHeight, 87);
    for (int y = 0; y < 133; ++y) // ceil(67 * 200 / 101) picture rows
        for (int x = 0; x < 200; ++x) {
            const int bx = x * 101 * 13 / (200 * 101), by = y * 101 * 9 / (200 * 67);
            ASSERT_EQ(f.at(x, y), 0xFF000000 | patternRgb(bx, by)) << x << ',' << y;
        }
}

// Below 1/2 the picture comes from its reduced copies. Over a picture whose every pixel spells
// its own coordinates: each device pixel shows a picture pixel that lies on the reduced copy's
// grid (a multiple of f on both axes, f * zoom <= 1 < 2 * f * zoom) and among the stage pixels
// the device pixel covers, [toStage(d), toStage(d + 1)); at the picture's last copy column or
// row it may lie before them, by less than f. So it is never more than one device pixel's
// width from the nearest-neighbour pixel. At zooms that are powers of two the paint is the
// exact nearest-neighbour one; the copies together take 0.45 of the picture's bytes.
TEST(ZoomedPaint, ReducedCopiesShowAPicturePixelTheDevicePixelCovers) {
    const int pw = 1500, ph = 1100; // 12 bits a coordinate
    auto spell = [](int x, int y) {
        return std::uint32_t(x & 0xFF) | std::uint32_t(x >> 8 | (y & 0xF) << 4) << 8 |
               std::uint32_t(y >> 4) << 16;
    };
    const PictureHolder picture = makePicture(pw, ph, spell);
    const CRKeditDoc doc = stage(pw, ph, 15, 11, 40, 0x00102030);
    for (const StageZoom& z :
         {StageZoom(1, 2), StageZoom(1, 3), StageZoom(2, 9), StageZoom(1, 4), StageZoom(3, 13),
          StageZoom(1, 8), StageZoom(733, 3256), StageZoom(1366, 4010), StageZoom(3, 7),
          StageZoom(1, 5), StageZoom(1, 16), StageZoom(1, 1000), StageZoom(1, 5000)}) {
        const i64 f = reductionFor(z, pw, ph);
        ASSERT_GE(f, 2) << name(z);
        const PaintArea area = PaintArea::scaledStage(z, pw, ph + 40);
        const int cw = int(area.canvasWidth), ch = int(area.canvasHeight);
        const FrameBuffer got = paintArea(doc, picture, 0, 0, area, cw, ch);
        const i64 lastX = (pw - 1) / f * f, lastY = (ph - 1) / f * f;
        for (int y = 0; y < forward(ph, z); ++y)
            for (int x = 0; x < forward(pw, z); ++x) {
                const std::uint32_t p = got.at(x, y);
                const i64 px = i64(p & 0xFF) | i64(p >> 8 & 0xF) << 8;
                const i64 py = i64(p >> 12 & 0xF) | i64(p >> 16 & 0xFF) << 4;
                auto covered = [&](i64 shown, i64 d, i64 last) {
                    const i64 first = z.toStage(d), next = z.toStage(d + 1);
                    return shown % f == 0 &&
                           ((shown >= first && shown < next) ||
                            (shown == last && shown < first && first - shown < f));
                };
                ASSERT_TRUE(covered(px, x, lastX) && covered(py, y, lastY))
                    << "zoom " << name(z) << " at " << x << ',' << y << " shows " << px << ','
                    << py;
            }
        // Exactly nearest-neighbour at the powers of two.
        if (z.num() == 1 && (z.den() & (z.den() - 1)) == 0) {
            FrameBuffer exact;
            exact.resize(cw, ch);
            StagePainter plain;
            plain.setUseLevels(false);
            plain.paintRegion(exact, doc, picture, 0, 0, area);
            EXPECT_EQ(got.pixels, exact.pixels) << name(z);
        }
    }
    // Every level this picture can have, made: at most a third of its pixels, as frame
    // pixels of 4 bytes (0.45 of its bytes, with the rounding of each level's sides).
    auto levels = PictureLevels::of(picture);
    ASSERT_EQ(levels, PictureLevels::of(picture)); // one set per picture
    std::size_t bytes = 0;
    for (int k = 1; k <= PictureLevels::levelFor(StageZoom(1, INT32_MAX), pw, ph); ++k) {
        const auto level = levels->level(*picture.block, k);
        ASSERT_TRUE(level) << k;
        EXPECT_EQ(level->width, (pw + (1 << k) - 1) >> k);
        EXPECT_EQ(level->height, (ph + (1 << k) - 1) >> k);
        bytes += level->bytes();
    }
    EXPECT_LE(double(bytes), 0.45 * double(picture.block->size() - PictureBlock::headerSize));
    levels.reset();
    EXPECT_EQ(PictureLevels::levelFor(StageZoom(1, INT32_MAX), pw, ph), 11); // 2048 >= 1500
    EXPECT_EQ(PictureLevels::levelFor(StageZoom(2, 3), pw, ph), 0);
    EXPECT_EQ(PictureLevels::levelFor(StageZoom(1, 2), pw, ph), 1);
    EXPECT_EQ(PictureLevels::levelFor(StageZoom(5, 21), pw, ph), 2);

    // A painter keeps the copies it paints from, shared with other painters of the picture,
    // until the last of them is gone.
    std::weak_ptr<PictureLevels> held;
    {
        StagePainter first, second;
        FrameBuffer f;
        f.resize(100, 100);
        const PaintArea quarter = PaintArea::scaledStage(StageZoom(1, 4), pw, ph);
        first.paintRegion(f, doc, picture, 0, 0, quarter);
        held = PictureLevels::of(picture);
        ASSERT_NE(held.lock().get(), nullptr);
        second.paintRegion(f, doc, picture, 0, 0, quarter);
        EXPECT_EQ(held.lock(), PictureLevels::of(picture));
        EXPECT_EQ(held.use_count(), 2); // the two painters
    }
    EXPECT_TRUE(held.expired());
}

// Moving the rectangle XORs exactly the pixels in one rectangle but not the other: the frame
// ends as if the old one had been drawn again (erased) and the new one drawn, and the
// rectangle returned holds every pixel that changed.
TEST(DragRectangle, MovesByItsDifference) {
    std::mt19937 rng(9);
    auto in = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    FrameBuffer base;
    base.resize(70, 50);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 70; ++x)
            base.row(y)[x] = 0xFF000000 | patternRgb(x, y);
    const std::uint32_t drag = framePixel(StageColours::drag) & invert;
    auto randomRect = [&]() -> PixelRect {
        if (in(0, 7) == 0)
            return {};
        const i64 l = in(-10, 150), t = in(-10, 110);
        return {l, t, l + in(0, 60), t + in(0, 40)};
    };
    for (int round = 0; round < 300; ++round) {
        const PaintArea area{StageZoom(), 200, 200, in(0, 60), in(0, 40), 0, 0};
        const PixelRect a = randomRect(), b = round % 5 == 0 ? a : randomRect();
        FrameBuffer f = base;
        StagePainter::moveDragRectangle(f, area, {}, a);
        const FrameBuffer before = f;
        const PixelRect changed = StagePainter::moveDragRectangle(f, area, a, b);
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 70; ++x) {
                const i64 cx = area.left + x, cy = area.top + y;
                auto inside = [&](const PixelRect& r) {
                    return cx >= r.left && cx < r.right && cy >= r.top && cy < r.bottom;
                };
                ASSERT_EQ(f.at(x, y), base.at(x, y) ^ (inside(b) ? drag : 0))
                    << "round " << round << " at " << x << ',' << y;
                const bool within = x >= changed.left && x < changed.right && y >= changed.top &&
                                    y < changed.bottom;
                ASSERT_TRUE(within || f.at(x, y) == before.at(x, y))
                    << "round " << round << " at " << x << ',' << y;
            }
        EXPECT_TRUE(a != b || changed.empty()) << "round " << round;
    }
    // At 400 % the rectangle of cells (1, 1)..(2, 2) with 10 x 8 cells covers stage pixels
    // 10..28 x 8..22, device pixels 40..115 x 32..91.
    const PixelRect cells = StagePainter::dragRectangle(2, 2, 1, 1, 10, 8);
    EXPECT_EQ(cells, (PixelRect{10, 8, 29, 23}));
    EXPECT_EQ(StagePainter::toDevice(cells, StageZoom(4, 1)), (PixelRect{40, 32, 116, 92}));
    EXPECT_TRUE(StagePainter::dragRectangle(0, 0, 3, 3, 0, 8).empty());
}
