#pragma once

#include <cstdint>
#include <optional>

// A block grid cell's code: 0 empty, 1..8 the block kinds the game reads, anything else a
// code some file brought in (kept and drawn, never offered).
using CellCode = std::int32_t;

// How a cell's code is drawn: a one-pixel border in `pen` and, where there is one, the
// inside in `brush` (0x00BBGGRR colour values); without a brush the inside is left as it is.
struct BlockStyle {
    std::uint32_t pen = 0;
    std::optional<std::uint32_t> brush;
    bool operator==(const BlockStyle&) const = default;
};

// One block kind a stage author can place.
struct BlockKind {
    CellCode code;
    const char* name; // UTF-8, as the placement tool names it
    BlockStyle style;
};

namespace BlockKinds {
constexpr CellCode first = 1;
constexpr CellCode last = 8;

constexpr bool placeable(CellCode code) {
    return code >= first && code <= last;
}

// The kind of `code` (1..8); null for 0 and for any other code.
const BlockKind* find(CellCode code);

// How `code` is drawn; nothing for an empty cell (0). Codes other than 1..8 are drawn as a
// magenta border, so a cell no kind names is still seen and can be removed.
std::optional<BlockStyle> style(CellCode code);

// The name shown for an empty cell.
const char* emptyName();
} // namespace BlockKinds
