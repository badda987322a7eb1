#pragma once

#include <algorithm>

// A rectangle of block grid cells: columns x .. x + width - 1, rows y .. y + height - 1.
struct CellRect {
    int x = 0, y = 0, width = 0, height = 0;

    bool empty() const { return width <= 0 || height <= 0; }
    int right() const { return x + width; }   // one past the last column
    int bottom() const { return y + height; } // one past the last row
    bool contains(int cx, int cy) const {
        return cx >= x && cx < right() && cy >= y && cy < bottom();
    }
    // The rectangle spanned by two cells, both included, in any order.
    static CellRect spanning(int x0, int y0, int x1, int y1) {
        const int left = std::min(x0, x1), top = std::min(y0, y1);
        return {left, top, std::max(x0, x1) - left + 1, std::max(y0, y1) - top + 1};
    }
    CellRect intersected(const CellRect& o) const {
        const int l = std::max(x, o.x), t = std::max(y, o.y);
        const int r = std::min(right(), o.right()), b = std::min(bottom(), o.bottom());
        return r > l && b > t ? CellRect{l, t, r - l, b - t} : CellRect{};
    }
    CellRect united(const CellRect& o) const {
        if (empty())
            return o;
        if (o.empty())
            return *this;
        const int l = std::min(x, o.x), t = std::min(y, o.y);
        return {l, t, std::max(right(), o.right()) - l, std::max(bottom(), o.bottom()) - t};
    }
    bool operator==(const CellRect&) const = default;
};
