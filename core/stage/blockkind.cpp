#include "stage/blockkind.h"

namespace {
constexpr std::uint32_t rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return b << 16 | g << 8 | r; // 0x00BBGGRR
}

// Kind 1 keeps the colours the view has always drawn normal blocks in.
constexpr BlockKind kinds[] = {
    {1, "通常ブロック", {rgb(200, 50, 50), rgb(155, 0, 0)}},
    {2, "２倍耐久ブロック", {rgb(230, 140, 40), rgb(185, 85, 0)}},
    {3, "３倍耐久ブロック", {rgb(240, 210, 60), rgb(175, 135, 0)}},
    {4, "破壊不能ブロック", {rgb(210, 210, 210), rgb(105, 105, 105)}},
    {5, "透過ブロック", {rgb(80, 170, 255), std::nullopt}},
    {6, "アイテムブロック", {rgb(255, 230, 90), rgb(30, 140, 30)}},
    {7, "加速ブロック", {rgb(230, 120, 255), rgb(120, 0, 160)}},
    {8, "グループ", {rgb(255, 255, 255), rgb(0, 120, 120)}},
};
constexpr BlockStyle otherCode{rgb(255, 0, 255), std::nullopt};
} // namespace

const BlockKind* BlockKinds::find(CellCode code) {
    return placeable(code) ? &kinds[code - first] : nullptr;
}

std::optional<BlockStyle> BlockKinds::style(CellCode code) {
    if (code == 0)
        return std::nullopt;
    if (const BlockKind* kind = find(code))
        return kind->style;
    return otherCode;
}

const char* BlockKinds::emptyName() {
    return "空";
}
