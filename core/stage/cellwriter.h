#pragma once

#include <cstdint>

#include "stage/blockkind.h"
#include "stage/cellrect.h"

class CRKeditDoc;

// The one place the editing tools write block grid cells. Every write is clipped to the
// stage: the top-left columns x rows cells the stage file holds (never beyond the 100 x 100
// grid). Cells outside it that a file brought in are kept as they are. Each function returns
// the cells it changed, as their bounding rectangle (empty when nothing changed), so that the
// caller repaints only that part.
class CellWriter {
public:
    explicit CellWriter(CRKeditDoc& doc);

    // The cells a tool may write: columns x rows of the stage, within the grid.
    CellRect stage() const { return stage_; }
    static CellRect stageOf(const CRKeditDoc& doc);

    // Sets one cell.
    CellRect set(int x, int y, CellCode code);
    // Sets every cell on the straight path from (x0, y0) to (x1, y1), both ends included, with
    // no gaps (each step moves to a cell sharing an edge or a corner), as a fast pointer draws.
    CellRect line(int x0, int y0, int x1, int y1, CellCode code);
    // Sets every cell of `rect`.
    CellRect fill(const CellRect& rect, CellCode code);
    // Toggles every cell of `rect`: 0 becomes a normal block (1), any other code becomes 0.
    CellRect toggle(const CellRect& rect);
    // Sets the 4-connected region of cells holding the code of (x, y) to `code`.
    CellRect flood(int x, int y, CellCode code);
    // How many cells flood() last visited (for tests of its bounds).
    int lastFloodVisits() const { return floodVisits_; }

private:
    bool write(int x, int y, CellCode code, CellRect& changed);

    CRKeditDoc& doc_;
    CellRect stage_;
    int floodVisits_ = 0;
};
