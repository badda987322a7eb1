#pragma once

#include <cstdint>
#include <optional>

#include "render/canvas.h"
#include "render/rasterop.h"

// The colours every cell code is drawn in, written out here as the stage author sees them
// (R, G, B), independently of the painter's own table: a border in the pen colour and, for
// most kinds, the inside in the brush colour.
struct KindColours {
    std::uint32_t pen;
    std::optional<std::uint32_t> brush;
};

constexpr std::uint32_t bbggrr(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return b << 16 | g << 8 | r;
}

inline std::optional<KindColours> kindColours(std::int32_t code) {
    switch (code) {
    case 0:
        return std::nullopt;
    case 1:
        return KindColours{bbggrr(200, 50, 50), bbggrr(155, 0, 0)};
    case 2:
        return KindColours{bbggrr(230, 140, 40), bbggrr(185, 85, 0)};
    case 3:
        return KindColours{bbggrr(240, 210, 60), bbggrr(175, 135, 0)};
    case 4:
        return KindColours{bbggrr(210, 210, 210), bbggrr(105, 105, 105)};
    case 5:
        return KindColours{bbggrr(80, 170, 255), std::nullopt};
    case 6:
        return KindColours{bbggrr(255, 230, 90), bbggrr(30, 140, 30)};
    case 7:
        return KindColours{bbggrr(230, 120, 255), bbggrr(120, 0, 160)};
    case 8:
        return KindColours{bbggrr(255, 255, 255), bbggrr(0, 120, 120)};
    default:
        return KindColours{bbggrr(255, 0, 255), std::nullopt};
    }
}

// Draws the cell of `code` over (left, top) .. (right, bottom), right and bottom excluded,
// as the view does: the rectangle with a brush, or only its one-pixel border without one.
inline void drawCell(Canvas& c, std::int64_t left, std::int64_t top, std::int64_t right,
                     std::int64_t bottom, std::int32_t code, RasterOp op) {
    const std::optional<KindColours> k = kindColours(code);
    if (!k || right <= left || bottom <= top)
        return;
    if (k->brush) {
        c.rectangle(left, top, right, bottom, k->pen, *k->brush, op);
        return;
    }
    c.horizontalLine(left, right, top, k->pen, op);
    if (bottom - top > 1)
        c.horizontalLine(left, right, bottom - 1, k->pen, op);
    if (bottom - top > 2) {
        c.verticalLine(left, top + 1, bottom - 1, k->pen, op);
        if (right - left > 1)
            c.verticalLine(right - 1, top + 1, bottom - 1, k->pen, op);
    }
}
