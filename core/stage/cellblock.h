#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/message.h"
#include "stage/blockkind.h"
#include "stage/cellrect.h"

class CRKeditDoc;

// A rectangle of cell codes taken out of a stage (a copy, a selection being moved, the
// clipboard's cells): width x height codes, row by row from the top.
class CellBlock {
public:
    // The largest block the clipboard's text form is read into: the grid's size.
    static constexpr int maxSide = 100;

    CellBlock() = default;
    CellBlock(int width, int height);
    // The codes of `rect` of the grid (cells outside the grid are taken as empty).
    static CellBlock copyOf(const CRKeditDoc& doc, const CellRect& rect);

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ <= 0 || height_ <= 0; }
    CellCode at(int x, int y) const { return codes_[std::size_t(y) * width_ + x]; }
    CellCode& at(int x, int y) { return codes_[std::size_t(y) * width_ + x]; }
    bool operator==(const CellBlock&) const = default;

    CellBlock flippedHorizontally() const;
    CellBlock flippedVertically() const;
    CellBlock rotated180() const;

    // The plain-text form: one row per line, codes separated by ",", each line ended by
    // "\n" ("1,0,4\n2,6,8\n").
    std::string toText() const;
    // Reads the plain-text form: rows of the same length, codes that fit a signed 32-bit
    // integer (an optional "-" and digits), spaces and tabs around codes and a final line end
    // tolerated, "\r\n" taken as "\n", at most maxSide x maxSide cells. Anything else gives
    // nothing and `error` says why.
    static std::optional<CellBlock> fromText(const std::string& text, Message* error = nullptr);

    // Our own binary form for the clipboard: width, height, then the codes, each a 32-bit
    // little-endian integer. fromBytes refuses what is not exactly that.
    std::string toBytes() const;
    static std::optional<CellBlock> fromBytes(const std::string& bytes);

private:
    int width_ = 0, height_ = 0;
    std::vector<CellCode> codes_;
};
