#pragma once

#include <cstdint>

#include "render/framebuffer.h"
#include "render/rasterop.h"

// Drawing on a frame buffer with the semantics of the platform's pens, brushes and raster
// operations. Colours are 0x00BBGGRR values. Coordinates are 64-bit so that callers can
// multiply cell indices by any block size without overflow; everything is clipped to the
// canvas's clip rectangle, which lies inside the frame.
//
// The clip rectangle lets a painter draw a frame band by band: every operation changes each
// pixel on its own, so drawing the same sequence of operations band by band gives exactly
// the picture that drawing it over the whole frame gives.
class Canvas {
public:
    // A canvas over the whole frame.
    explicit Canvas(FrameBuffer& frame);
    // A canvas that draws only into rows top..bottom-1 of the frame (clipped to the frame).
    Canvas(FrameBuffer& frame, int top, int bottom);
    // A canvas that draws only into columns left..right-1 of rows top..bottom-1.
    Canvas(FrameBuffer& frame, int left, int top, int right, int bottom);

    // The rectangle from (left, top) to (right, bottom), right and bottom edges excluded
    // (reversed corners are put in order first). Its one-pixel border takes the pen colour
    // and its inside the brush colour, both under `op`; every pixel is changed exactly once,
    // corners included. An empty rectangle draws nothing.
    void rectangle(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
                   std::uint32_t pen, std::uint32_t brush, RasterOp op);

    // A line from (x0, y) to (x1, y), or from (x, y0) to (x, y1): the start point included,
    // the end point excluded, in either direction. Pen width 1.
    void horizontalLine(std::int64_t x0, std::int64_t x1, std::int64_t y, std::uint32_t pen,
                        RasterOp op);
    void verticalLine(std::int64_t x, std::int64_t y0, std::int64_t y1, std::uint32_t pen,
                      RasterOp op);

    // Sets one pixel to `colour` directly (no raster operation).
    void setPixel(std::int64_t x, std::int64_t y, std::uint32_t colour);

    // Copies a top-down picture of frame pixels with its top-left corner at (x, y) (SRCCOPY).
    void copyPixels(const std::uint32_t* source, int sourceWidth, int sourceHeight, std::int64_t x,
                    std::int64_t y);

private:
    // Applies `op` with frame pixel `pen` to pixels [x0, x1) of row y, clipped horizontally.
    // y must lie inside the clip rectangle.
    void span(std::int64_t y, std::int64_t x0, std::int64_t x1, std::uint32_t pen, RasterOp op);
    bool rowVisible(std::int64_t y) const { return y >= top_ && y < bottom_; }
    bool columnVisible(std::int64_t x) const { return x >= left_ && x < right_; }

    FrameBuffer& frame_;
    int left_;
    int top_;
    int right_;
    int bottom_;
};
