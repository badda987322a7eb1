#include "render/stagezoom.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <numeric>

namespace {
__extension__ typedef __int128 i128;

std::int64_t saturate(i128 v) {
    constexpr std::int64_t lo = std::numeric_limits<std::int64_t>::min();
    constexpr std::int64_t hi = std::numeric_limits<std::int64_t>::max();
    return v < lo ? lo : v > hi ? hi : std::int64_t(v);
}

i128 floorDiv(i128 a, i128 b) { // b > 0
    const i128 q = a / b;
    return q * b > a ? q - 1 : q;
}

i128 ceilDiv(i128 a, i128 b) { // b > 0
    const i128 q = a / b;
    return q * b < a ? q + 1 : q;
}

std::int64_t part(std::int64_t v) {
    return std::clamp<std::int64_t>(v, 1, std::numeric_limits<std::int32_t>::max());
}
// Values within 32 bits times a 32-bit part fit 64 bits: the common case avoids 128-bit
// division, which a paint would otherwise do for every row and column.
bool small(std::int64_t v) {
    return v > -(std::int64_t(1) << 31) && v < (std::int64_t(1) << 31);
}
} // namespace

StageZoom::StageZoom(std::int64_t num, std::int64_t den) : num_(part(num)), den_(part(den)) {
    const std::int64_t g = std::gcd(num_, den_);
    num_ /= g;
    den_ /= g;
}

std::int64_t StageZoom::toStage(std::int64_t device) const {
    if (num_ == den_)
        return device;
    if (small(device)) {
        const std::int64_t p = device * den_, q = p / num_;
        return q * num_ > p ? q - 1 : q;
    }
    return saturate(floorDiv(i128(device) * den_, num_));
}

std::int64_t StageZoom::toDevice(std::int64_t stage) const {
    if (num_ == den_)
        return stage;
    if (small(stage)) {
        const std::int64_t p = stage * num_, q = p / den_;
        return q * den_ < p ? q + 1 : q;
    }
    return saturate(ceilDiv(i128(stage) * num_, den_));
}

StageZoom StageZoom::times(const StageZoom& other) const {
    // Cross-reduce first so that common scales (steps times a ratio of 2) stay exact.
    const std::int64_t g1 = std::gcd(num_, other.den_), g2 = std::gcd(other.num_, den_);
    std::int64_t num = (num_ / g1) * (other.num_ / g2);
    std::int64_t den = (den_ / g2) * (other.den_ / g1);
    // Beyond 32 bits: the nearest ratio whose larger part is the 32-bit limit.
    constexpr std::int64_t limit = std::numeric_limits<std::int32_t>::max();
    if (num > limit || den > limit) {
        auto scaled = [](std::int64_t part, std::int64_t larger) {
            return std::int64_t((i128(part) * limit + larger / 2) / larger);
        };
        if (num >= den) {
            den = scaled(den, num);
            num = limit;
        } else {
            num = scaled(num, den);
            den = limit;
        }
    }
    return StageZoom(num, den);
}
