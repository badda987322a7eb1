#include "render/canvas.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {
void applySpan(std::uint32_t* p, std::size_t n, RasterOp op, std::uint32_t pen) {
    forRasterOp(op, [&](auto apply) {
        for (std::size_t i = 0; i < n; ++i)
            p[i] = apply(p[i], pen);
    });
}
} // namespace

Canvas::Canvas(FrameBuffer& frame) : Canvas(frame, 0, 0, frame.width, frame.height) {}

Canvas::Canvas(FrameBuffer& frame, int top, int bottom)
    : Canvas(frame, 0, top, frame.width, bottom) {}

Canvas::Canvas(FrameBuffer& frame, int left, int top, int right, int bottom)
    : frame_(frame), left_(std::clamp(left, 0, frame.width)),
      top_(std::clamp(top, 0, frame.height)), right_(std::clamp(right, left_, frame.width)),
      bottom_(std::clamp(bottom, top_, frame.height)) {}

void Canvas::span(std::int64_t y, std::int64_t x0, std::int64_t x1, std::uint32_t pen,
                  RasterOp op) {
    x0 = std::max<std::int64_t>(x0, left_);
    x1 = std::min<std::int64_t>(x1, right_);
    if (x0 >= x1)
        return;
    applySpan(frame_.row(int(y)) + x0, std::size_t(x1 - x0), op, pen);
}

void Canvas::rectangle(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
                       std::uint32_t pen, std::uint32_t brush, RasterOp op) {
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
    if (left == right || top == bottom || op == RasterOp::nop)
        return;
    const std::uint32_t penPixel = framePixel(pen);
    const std::uint32_t brushPixel = framePixel(brush);
    const std::int64_t y0 = std::max<std::int64_t>(top, top_);
    const std::int64_t y1 = std::min<std::int64_t>(bottom, bottom_);
    for (std::int64_t y = y0; y < y1; ++y) {
        if (y == top || y == bottom - 1) {
            span(y, left, right, penPixel, op);
            continue;
        }
        span(y, left, left + 1, penPixel, op);
        if (right - left >= 2) {
            span(y, left + 1, right - 1, brushPixel, op);
            span(y, right - 1, right, penPixel, op);
        }
    }
}

void Canvas::horizontalLine(std::int64_t x0, std::int64_t x1, std::int64_t y, std::uint32_t pen,
                            RasterOp op) {
    if (!rowVisible(y) || x0 == x1)
        return;
    if (x1 > x0)
        span(y, x0, x1, framePixel(pen), op);
    else
        span(y, x1 + 1, x0 + 1, framePixel(pen), op);
}

void Canvas::verticalLine(std::int64_t x, std::int64_t y0, std::int64_t y1, std::uint32_t pen,
                          RasterOp op) {
    if (!columnVisible(x) || y0 == y1)
        return;
    const std::int64_t first = y1 > y0 ? y0 : y1 + 1;
    const std::int64_t last = y1 > y0 ? y1 : y0 + 1; // excluded
    const std::int64_t from = std::max<std::int64_t>(first, top_);
    const std::int64_t to = std::min<std::int64_t>(last, bottom_);
    if (from >= to)
        return;
    const std::uint32_t penPixel = framePixel(pen);
    std::uint32_t* p = frame_.row(int(from)) + x;
    const std::size_t pitch = std::size_t(frame_.width);
    forRasterOp(op, [&](auto apply) {
        for (std::int64_t y = from; y < to; ++y, p += pitch)
            *p = apply(*p, penPixel);
    });
}

void Canvas::setPixel(std::int64_t x, std::int64_t y, std::uint32_t colour) {
    if (!columnVisible(x) || !rowVisible(y))
        return;
    frame_.row(int(y))[x] = framePixel(colour);
}

void Canvas::copyPixels(const std::uint32_t* source, int sourceWidth, int sourceHeight,
                        std::int64_t x, std::int64_t y) {
    const std::int64_t x0 = std::max<std::int64_t>(x, left_);
    const std::int64_t x1 = std::min<std::int64_t>(x + sourceWidth, right_);
    const std::int64_t y0 = std::max<std::int64_t>(y, top_);
    const std::int64_t y1 = std::min<std::int64_t>(y + sourceHeight, bottom_);
    if (x0 >= x1)
        return;
    for (std::int64_t row = y0; row < y1; ++row) {
        const std::uint32_t* from =
            source + std::size_t(row - y) * std::size_t(sourceWidth) + std::size_t(x0 - x);
        std::memcpy(frame_.row(int(row)) + x0, from, std::size_t(x1 - x0) * sizeof *from);
    }
}
