#pragma once

#include <cstdint>

#include "render/stagezoom.h"

// One axis of the block grid on the device pixels of a zoomed paint: cells `cell` stage
// pixels long (positive), a stage `extent` long (W or H, any value). Grid lines, dots and
// cell borders are one device pixel wide whatever the zoom, placed where the cell
// boundaries fall; at zoom 1 they are exactly the stage pixels the stage window's paint
// uses. Device positions are not negative.
class GridAxis {
public:
    GridAxis(const StageZoom& zoom, std::int64_t cell, std::int64_t extent)
        : zoom_(zoom), cell_(cell), extent_(extent) {}

    // The cell that device pixel d shows.
    std::int64_t cellAt(std::int64_t d) const { return zoom_.toStage(d) / cell_; }

    // A grid line: the stage draws one on stage pixel k*cell - 1 for every k >= 1 with
    // k*cell - 1 <= extent, the last pixel before boundary k*cell. On the device it is the
    // last device pixel before that boundary: d with toStage(d) < k*cell <= toStage(d + 1).
    // Two boundaries falling on one device pixel make one line there.
    bool line(std::int64_t d) const {
        const std::int64_t m = (zoom_.toStage(d) / cell_ + 1) * cell_;
        return m <= zoom_.toStage(d + 1) && m - 1 <= extent_;
    }

    // A dot: the stage sets stage pixel k*cell for k = 1 .. extent/cell + 1. On the device it
    // is that stage pixel's first device pixel: d with toStage(d - 1) < k*cell <= toStage(d).
    bool dot(std::int64_t d) const {
        if (d <= 0)
            return false;
        const std::int64_t k = zoom_.toStage(d - 1) / cell_ + 1;
        return k * cell_ <= zoom_.toStage(d) && k <= extent_ / cell_ + 1;
    }

    // The first or the last device pixel of its cell: where a block's border lies.
    bool cellEdge(std::int64_t d) const {
        const std::int64_t c = cellAt(d);
        return (d == 0 || cellAt(d - 1) != c) || cellAt(d + 1) != c;
    }

private:
    StageZoom zoom_;
    std::int64_t cell_;
    std::int64_t extent_;
};
