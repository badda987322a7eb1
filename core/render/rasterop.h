#pragma once

#include <cstdint>

// The binary raster operations the stage view draws with. Each combines a pen (or brush)
// colour with the pixel already there, bit by bit. Because they work bit by bit, applying
// them to the RGB channels of a 0xFFRRGGBB frame pixel gives exactly the channels the same
// operation gives on a 0x00BBGGRR value; only the top byte has to be held at 0xFF.
enum class RasterOp {
    copyPen,     // R2_COPYPEN: the pen colour
    notDest,     // R2_NOT: the inverse of the pixel; the pen colour does not show
    xorPen,      // R2_XORPEN: pen XOR pixel (drawing twice restores the pixel)
    mergePenNot, // R2_MERGEPENNOT: pen OR (NOT pixel)
    nop,         // R2_NOP: the pixel is left as it is
};

// A 0x00BBGGRR colour value as a frame pixel 0xFFRRGGBB. The top byte of the value is
// ignored.
constexpr std::uint32_t framePixel(std::uint32_t bbggrr) {
    return 0xFF000000u | (bbggrr & 0xFFu) << 16 | (bbggrr & 0xFF00u) | (bbggrr >> 16 & 0xFFu);
}

// One raster operation on one frame pixel; `pen` is a frame pixel (framePixel()).
constexpr std::uint32_t applyRasterOp(RasterOp op, std::uint32_t dest, std::uint32_t pen) {
    constexpr std::uint32_t rgb = 0x00FFFFFFu;
    switch (op) {
    case RasterOp::copyPen:
        return pen | ~rgb;
    case RasterOp::notDest:
        return dest ^ rgb;
    case RasterOp::xorPen:
        return dest ^ (pen & rgb);
    case RasterOp::mergePenNot:
        return pen | ~dest | ~rgb;
    case RasterOp::nop:
        return dest;
    }
    return dest;
}

// Calls body(apply) with `apply(dest, pen)` bound to `op` at compile time, so that a loop
// inside `body` is compiled once per operation, with no switch per pixel. Does not call
// body for nop.
template <class Body> void forRasterOp(RasterOp op, Body&& body) {
    constexpr std::uint32_t rgb = 0x00FFFFFFu;
    switch (op) {
    case RasterOp::copyPen:
        body([](std::uint32_t, std::uint32_t pen) { return pen | ~rgb; });
        break;
    case RasterOp::notDest:
        body([](std::uint32_t dest, std::uint32_t) { return dest ^ rgb; });
        break;
    case RasterOp::xorPen:
        body([](std::uint32_t dest, std::uint32_t pen) { return dest ^ (pen & rgb); });
        break;
    case RasterOp::mergePenNot:
        body([](std::uint32_t dest, std::uint32_t pen) { return pen | ~dest | ~rgb; });
        break;
    case RasterOp::nop:
        break;
    }
}
