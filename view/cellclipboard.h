#pragma once

#include <QString>

#include <optional>

#include "stage/blockedit.h"
#include "stage/cellblock.h"

// Cells on the system's clipboard, so they travel between stage windows, between two running
// editors and to and from a text editor: our own MIME type (the block's bytes, CellBlock::
// toBytes) with the place it was copied from, and plain text ("1,0,4\n2,6,8\n").
namespace CellClipboard {
inline constexpr const char* mimeType = "application/x-rkedit-cells";
inline constexpr const char* originType = "application/x-rkedit-cells-origin";

void put(const CellBlock& block, GridCell origin);

struct Taken {
    CellBlock block;
    std::optional<GridCell> origin; // where it was copied from, when we copied it
};
// The clipboard's cells: our own form first, else its plain text read strictly. Nothing
// when it holds neither; `why` then says so (UTF-8 text for the status bar).
std::optional<Taken> take(QString* why);
} // namespace CellClipboard
