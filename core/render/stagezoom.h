#pragma once

#include <cstdint>

// The scale of a painted stage: num / den device pixels per stage pixel (both at least 1).
//
// Device pixel X shows stage pixel floor(X * den / num), the one its left (or top) edge lies
// in; so stage pixel x covers the device pixels from ceil(x * num / den) up to, but not
// including, ceil((x + 1) * num / den) (none at all when the scale is below 1 and a
// neighbour takes the only device pixel there). Pointer mapping, painting and scroll ranges
// all go through these two functions, so the cell under the pointer is the cell shown there.
// The arithmetic is exact for every 32-bit scale and saturates at the 64-bit range.
class StageZoom {
public:
    constexpr StageZoom() = default;
    // Reduced to lowest terms; a part below 1 counts as 1, a part above INT32_MAX as INT32_MAX.
    StageZoom(std::int64_t num, std::int64_t den);

    std::int64_t num() const { return num_; }
    std::int64_t den() const { return den_; }
    bool isOne() const { return num_ == den_; }
    double factor() const { return double(num_) / double(den_); }

    // The stage pixel that device pixel `device` shows: floor(device * den / num).
    std::int64_t toStage(std::int64_t device) const;
    // The first device pixel of stage pixel `stage`: ceil(stage * num / den). Also the device
    // length of a stage length.
    std::int64_t toDevice(std::int64_t stage) const;
    // Another scale times this one (for instance a device pixel ratio times a view's zoom).
    StageZoom times(const StageZoom& other) const;

    bool operator==(const StageZoom&) const = default;

private:
    std::int64_t num_ = 1;
    std::int64_t den_ = 1;
};
