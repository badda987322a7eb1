#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>

#include "picture/pictureblock.h"
#include "render/stagezoom.h"

// One reduced copy of a picture: width x height frame pixels (0xFFRRGGBB), top-down rows,
// ready to be copied into a frame.
struct PictureLevel {
    int width = 0;
    int height = 0;
    std::unique_ptr<std::uint32_t[]> pixels;

    const std::uint32_t* row(int y) const {
        return pixels.get() + std::size_t(y) * std::size_t(width);
    }
    std::size_t bytes() const { return std::size_t(width) * std::size_t(height) * 4; }
};

// Reduced copies of a picture for paints far below 100 %. Level k (k >= 1) holds every
// 2^k-th pixel of every 2^k-th row: its pixel (m, n) is the picture's pixel (m * 2^k, n * 2^k),
// copied, never blended, so a paint from it shows only the picture's own colours. It is
// ceil(W / 2^k) x ceil(H / 2^k) pixels, held as frame pixels (PictureLevel): a paint picks
// them with one load each, where a picture's 3-byte pixels need a conversion.
//
// A paint at a zoom of 1/2 or below reads the level whose factor f is the largest power of
// two with f x zoom <= 1: the smallest copy still at least the picture's size on the device.
// Device pixel d then shows the level's pixel ceil(s / f) (held to the level), s being the
// stage pixel d shows at full size: the picture pixel f x ceil(s / f), one of the stage
// pixels d covers, or at the picture's last level column or row one less than f pixels before
// s. A whole-stage paint then reads a few megabytes instead of every cache line of hundreds of
// picture rows. At zooms that are powers of two (1/2, 1/4, ...) it shows exactly the pixels of
// the full-size picture.
//
// Levels are made on first need, each from the finest level already made (or the picture):
// together at most a third of the picture's pixels, 0.45 of its bytes. Every painter of one picture
// shares its levels (of()) and keeps them while it paints that picture; they are released with the
// last painter holding them. They hold no reference to the picture, so they never keep one alive.
class PictureLevels {
public:
    // The largest level there can be: beyond it no picture is more than one pixel wide.
    static constexpr int maxLevel = 28;

    PictureLevels() = default;

    // The levels of `picture`: the ones another holder already has, else new ones (empty
    // until a level is asked for).
    static std::shared_ptr<PictureLevels> of(const PictureHolder& picture);

    // The level a paint at `zoom` reads for a picture of width x height: 0 (the picture
    // itself) above 1/2, else the largest k with 2^k x zoom <= 1, no further than the level
    // at which both sides are one pixel.
    static int levelFor(const StageZoom& zoom, std::int64_t width, std::int64_t height);

    // Level k's block (1 <= k <= maxLevel) of `picture` (always the same picture for one
    // PictureLevels, a block the painter can show: bottom-up rows of 24-bit pixels), made now
    // when it was not yet; null when the memory for it cannot be had. Safe to call from
    // several threads.
    std::shared_ptr<const PictureLevel> level(const PictureBlock& picture, int k);

private:
    std::mutex mutex_;
    std::array<std::shared_ptr<const PictureLevel>, maxLevel + 1> levels_{};
};
