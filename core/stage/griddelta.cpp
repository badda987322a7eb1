#include "stage/griddelta.h"

#include <algorithm>

namespace {
constexpr int size = CRKeditDoc::gridSize;
bool plain(std::int32_t kind) {
    return kind == 0 || kind == 1;
}
} // namespace

GridDelta GridDelta::between(const Grid& before, const Grid& after) {
    GridDelta delta;
    // The box around every changed cell (element x * 100 + y is cell (x, y)).
    int minX = size, maxX = -1, minY = size, maxY = -1;
    for (int x = 0; x < size; ++x) {
        const std::int32_t* b = before.data() + x * size;
        const std::int32_t* a = after.data() + x * size;
        if (std::equal(b, b + size, a))
            continue;
        minX = std::min(minX, x);
        maxX = x;
        for (int y = 0; y < size; ++y) {
            if (b[y] != a[y]) {
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
        }
    }
    if (maxX < 0)
        return delta;

    delta.x0_ = minX;
    delta.y0_ = minY;
    delta.width_ = maxX - minX + 1;
    delta.height_ = maxY - minY + 1;
    const std::size_t cells = std::size_t(delta.width_) * std::size_t(delta.height_);
    delta.changedBits_.assign((cells + 63) / 64, 0);
    delta.blockBits_.assign((cells + 63) / 64, 0);
    std::size_t i = 0;
    for (int x = minX; x <= maxX; ++x) {
        for (int y = minY; y <= maxY; ++y, ++i) {
            const std::int32_t old = before[std::size_t(x * size + y)];
            const std::int32_t now = after[std::size_t(x * size + y)];
            if (old == now)
                continue;
            ++delta.changed_;
            delta.changedBits_[i / 64] |= std::uint64_t(1) << (i % 64);
            if (old != 0)
                delta.blockBits_[i / 64] |= std::uint64_t(1) << (i % 64);
            if (!plain(old) || !plain(now))
                delta.odd_.push_back({std::uint16_t(i), old, now});
        }
    }
    delta.odd_.shrink_to_fit();
    return delta;
}

void GridDelta::apply(Grid& grid, bool forward) const {
    if (empty())
        return;
    auto odd = odd_.begin();
    std::size_t i = 0;
    for (int x = x0_; x < x0_ + width_; ++x) {
        for (int y = y0_; y < y0_ + height_; ++y, ++i) {
            if (!bit(changedBits_, i))
                continue;
            std::int32_t& cell = grid[std::size_t(x * size + y)];
            if (odd != odd_.end() && odd->index == i) {
                cell = forward ? odd->after : odd->before;
                ++odd;
            } else {
                // A plain cell that changed flipped between 0 and 1.
                const bool wasBlock = bit(blockBits_, i);
                cell = (forward ? !wasBlock : wasBlock) ? 1 : 0;
            }
        }
    }
}

std::size_t GridDelta::memoryBytes() const {
    return (changedBits_.capacity() + blockBits_.capacity()) * sizeof(std::uint64_t) +
           odd_.capacity() * sizeof(OddCell);
}
