#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>

#include "picture/pictureblock.h"

// A synthetic decoded picture: the 40-byte header and bottom-up blue, green, red rows, built
// directly so that rendering tests need no JPEG. `rgb(x, y)` gives the pixel at column x,
// row y from the top as 0x00RRGGBB.
inline PictureHolder makePicture(int w, int h, const std::function<std::uint32_t(int, int)>& rgb) {
    const std::size_t stride = PictureBlock::strideFor(w);
    auto block = std::make_shared<PictureBlock>(PictureBlock::headerSize + stride * h);
    std::uint8_t* p = block->data();
    auto put32 = [](std::uint8_t* at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            at[i] = std::uint8_t(v >> (8 * i));
    };
    put32(p, 40);
    put32(p + 4, std::uint32_t(w));
    put32(p + 8, std::uint32_t(h));
    p[12] = 1;  // planes
    p[14] = 24; // bits per pixel
    for (int y = 0; y < h; ++y) {
        std::uint8_t* row = p + PictureBlock::headerSize + std::size_t(h - 1 - y) * stride;
        for (int x = 0; x < w; ++x) {
            const std::uint32_t c = rgb(x, y);
            row[3 * x] = std::uint8_t(c);
            row[3 * x + 1] = std::uint8_t(c >> 8);
            row[3 * x + 2] = std::uint8_t(c >> 16);
        }
    }
    return PictureHolder{block};
}

// A picture whose every pixel differs from its neighbours, so misplaced pixels show.
inline std::uint32_t patternRgb(int x, int y) {
    return std::uint32_t((x * 7 + y) & 0xFF) << 16 | std::uint32_t((y * 5 + 3) & 0xFF) << 8 |
           std::uint32_t((x ^ y) & 0xFF);
}
