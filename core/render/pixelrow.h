#pragma once

#include <cstddef>
#include <cstdint>

// Picture rows of blue, green, red bytes as frame pixels 0xFFRRGGBB. `readable` is how many
// bytes from `src` (or `row`) may be read: the conversions read whole words past the last
// pixel where that many bytes exist, and fall back to single bytes where they do not.

// `count` pixels in a row: pixel x from bytes 3x .. 3x + 2.
void convertPixelRow(const std::uint8_t* src, std::uint32_t* dst, int count, std::size_t readable);

// `count` pixels picked from a row: pixel x from bytes offsets[x] .. offsets[x] + 2 (offsets
// not decreasing).
void gatherPixelRow(const std::uint8_t* row, const std::uint32_t* offsets, std::uint32_t* dst,
                    int count, std::size_t readable);

// `count` frame pixels picked from a row of rowWidth frame pixels: pixel x is row[index[x]]
// (indexes not decreasing, each below rowWidth).
void pickPixels(const std::uint32_t* row, const std::uint32_t* index, std::uint32_t* dst, int count,
                std::uint32_t rowWidth);
