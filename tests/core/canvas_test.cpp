#include <gtest/gtest.h>

#include "render/canvas.h"
#include "render/framebuffer.h"
#include "render/rasterop.h"

namespace {
// The operations as the platform defines them on 0x00BBGGRR values.
std::uint32_t gdi(RasterOp op, std::uint32_t dest, std::uint32_t pen) {
    switch (op) {
    case RasterOp::copyPen:
        return pen;
    case RasterOp::notDest:
        return ~dest & 0xFFFFFF;
    case RasterOp::xorPen:
        return dest ^ pen;
    case RasterOp::mergePenNot:
        return (pen | ~dest) & 0xFFFFFF;
    case RasterOp::nop:
        return dest;
    }
    return dest;
}

constexpr RasterOp allOps[] = {RasterOp::copyPen, RasterOp::notDest, RasterOp::xorPen,
                               RasterOp::mergePenNot, RasterOp::nop};

FrameBuffer filled(int w, int h, std::uint32_t bbggrr) {
    FrameBuffer f;
    f.resize(w, h);
    std::fill(f.pixels.begin(), f.pixels.end(), framePixel(bbggrr));
    return f;
}
} // namespace

TEST(RasterOp, MatchesThePlatformOnColourValuesAndKeepsPixelsOpaque) {
    const std::uint32_t colours[] = {0x000000,   0xFFFFFF,   0x009B9B00, 0x003232C8,
                                     0x0000009B, 0x00CD3700, 0x00123456, 0x00A5F00F};
    EXPECT_EQ(framePixel(0x00563412), 0xFF123456u); // red lowest in, red in bits 16..23 out
    for (RasterOp op : allOps)
        for (std::uint32_t d : colours)
            for (std::uint32_t p : colours) {
                // The same operation on a drawn pixel, through the canvas and directly.
                FrameBuffer f = filled(3, 1, d);
                Canvas(f).horizontalLine(0, 3, 0, p, op);
                const std::uint32_t want = framePixel(gdi(op, d, p));
                EXPECT_EQ(f.at(1, 0), want) << int(op) << std::hex << " d=" << d << " p=" << p;
                EXPECT_EQ(applyRasterOp(op, framePixel(d), framePixel(p)), want);
            }
}

// Under XOR every pixel of a rectangle shows how often and with which colour it was drawn:
// the border exactly once with the pen, the inside exactly once with the brush.
TEST(CanvasRectangle, BorderAndInsideEachDrawnOnceRightAndBottomExcluded) {
    const std::uint32_t pen = 0x000000F0, brush = 0x00000F00;
    const struct {
        int l, t, r, b;
    } rects[] = {
        {2, 3, 8, 7}, {1, 1, 2, 2},  {1, 1, 3, 3}, {1, 1, 4, 4},
        {4, 2, 5, 9}, {0, 5, 10, 7}, {8, 7, 2, 3}, // reversed corners: the same as {2, 3, 8, 7}
    };
    for (const auto& q : rects) {
        FrameBuffer f = filled(10, 10, 0);
        Canvas(f).rectangle(q.l, q.t, q.r, q.b, pen, brush, RasterOp::xorPen);
        const int l = std::min(q.l, q.r), r = std::max(q.l, q.r);
        const int t = std::min(q.t, q.b), b = std::max(q.t, q.b);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x) {
                const bool in = x >= l && x < r && y >= t && y < b;
                const bool border = x == l || x == r - 1 || y == t || y == b - 1;
                const std::uint32_t want = !in ? 0 : border ? pen : brush;
                ASSERT_EQ(f.at(x, y), framePixel(want))
                    << "rect " << q.l << ',' << q.t << ',' << q.r << ',' << q.b << " at " << x
                    << ',' << y;
            }
        Canvas(f).rectangle(q.l, q.t, q.r, q.b, pen, brush, RasterOp::xorPen);
        EXPECT_EQ(f.pixels, filled(10, 10, 0).pixels) << "drawing twice restores";
    }
}

TEST(CanvasRectangle, EmptyOrOutsideDrawsNothingAndClipsSafely) {
    FrameBuffer f = filled(6, 4, 0x111111);
    const FrameBuffer before = f;
    Canvas c(f);
    c.rectangle(2, 1, 2, 3, 0xFF, 0xFF, RasterOp::copyPen); // zero width
    c.rectangle(1, 2, 4, 2, 0xFF, 0xFF, RasterOp::copyPen); // zero height
    c.rectangle(-50, -50, -1, -1, 0xFF, 0xFF, RasterOp::copyPen);
    c.rectangle(6, 0, INT64_MAX / 2, 4, 0xFF, 0xFF, RasterOp::copyPen);
    EXPECT_EQ(f.pixels, before.pixels);

    // A rectangle larger than the frame: only its inside reaches the frame.
    c.rectangle(-1, -1, 7, 5, 0x0000FF, 0x00FF00, RasterOp::copyPen);
    for (std::uint32_t p : f.pixels)
        EXPECT_EQ(p, framePixel(0x00FF00));
}

TEST(CanvasLine, StartIncludedEndExcludedInEitherDirection) {
    const struct {
        bool horizontal;
        int a0, a1, at;  // from a0 to a1 along the line, at the other coordinate
        int first, last; // pixels drawn, both included (first > last: none)
    } lines[] = {
        {true, 1, 5, 2, 1, 4},  {true, 5, 1, 2, 2, 5},   {true, 3, 3, 2, 1, 0},
        {true, -4, 2, 0, 0, 1}, {true, 0, 99, 6, 0, 6},  {false, 0, 4, 3, 0, 3},
        {false, 6, 2, 3, 3, 6}, {false, 2, -9, 0, 0, 2}, {false, 1, 4, 7, 1, 3},
    };
    for (const auto& q : lines) {
        FrameBuffer f = filled(7, 7, 0);
        Canvas c(f);
        if (q.horizontal)
            c.horizontalLine(q.a0, q.a1, q.at, 0xFFFFFF, RasterOp::notDest);
        else
            c.verticalLine(q.at, q.a0, q.a1, 0xFFFFFF, RasterOp::notDest);
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 7; ++x) {
                const int along = q.horizontal ? x : y, across = q.horizontal ? y : x;
                const bool on = across == q.at && along >= q.first && along <= q.last;
                ASSERT_EQ(f.at(x, y), framePixel(on ? 0xFFFFFF : 0))
                    << (q.horizontal ? "h " : "v ") << q.a0 << "->" << q.a1 << " at " << x << ','
                    << y;
            }
    }
}
