#include "stage/blockedit.h"

#include <algorithm>

#include "stage/CRKeditDoc.h"

std::optional<GridCell> cellAt(int px, int py, std::int32_t bw, std::int32_t bh) {
    if (bw == 0 || bh == 0)
        return std::nullopt;
    // 64-bit so that no pairing of pointer and cell size can overflow the division.
    const auto x = static_cast<std::int64_t>(px) / bw;
    const auto y = static_cast<std::int64_t>(py) / bh;
    const auto fit = [](std::int64_t v) {
        return static_cast<int>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
    };
    return GridCell{fit(x), fit(y)};
}

bool toggleCells(CRKeditDoc& doc, GridCell a, GridCell b) {
    const int last = CRKeditDoc::gridSize - 1;
    const int x0 = std::max(std::min(a.x, b.x), 0);
    const int x1 = std::min(std::max(a.x, b.x), last);
    const int y0 = std::max(std::min(a.y, b.y), 0);
    const int y1 = std::min(std::max(a.y, b.y), last);
    bool changed = false;
    for (int x = x0; x <= x1; ++x)
        for (int y = y0; y <= y1; ++y) {
            std::int32_t& c = doc.cell(x, y);
            c = c == 0 ? 1 : 0;
            changed = true;
        }
    return changed;
}

bool clearBlockArea(CRKeditDoc& doc, std::int32_t width, std::int32_t height, std::int32_t bw,
                    std::int32_t bh) {
    if (bw == 0 || bh == 0)
        return false;
    const std::int64_t last = CRKeditDoc::gridSize - 1;
    const auto lastX = std::min(static_cast<std::int64_t>(width) / bw, last);
    const auto lastY = std::min(static_cast<std::int64_t>(height) / bh, last);
    bool changed = false;
    for (std::int64_t i = 0; i <= lastX; ++i)
        for (std::int64_t j = 0; j <= lastY; ++j) {
            std::int32_t& c = doc.cell(int(i), int(j));
            if (c != 0) {
                c = 0;
                changed = true;
            }
        }
    return changed;
}
