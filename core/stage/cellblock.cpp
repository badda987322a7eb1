#include "stage/cellblock.h"

#include <charconv>
#include <cstring>

#include "stage/CRKeditDoc.h"

CellBlock::CellBlock(int width, int height)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      codes_(std::size_t(width_) * std::size_t(height_), 0) {}

CellBlock CellBlock::copyOf(const CRKeditDoc& doc, const CellRect& rect) {
    CellBlock block(rect.width, rect.height);
    for (int y = 0; y < block.height_; ++y)
        for (int x = 0; x < block.width_; ++x) {
            const int gx = rect.x + x, gy = rect.y + y;
            block.at(x, y) = CRKeditDoc::inGrid(gx, gy) ? doc.cell(gx, gy) : 0;
        }
    return block;
}

CellBlock CellBlock::flippedHorizontally() const {
    CellBlock out(width_, height_);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            out.at(width_ - 1 - x, y) = at(x, y);
    return out;
}

CellBlock CellBlock::flippedVertically() const {
    CellBlock out(width_, height_);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            out.at(x, height_ - 1 - y) = at(x, y);
    return out;
}

CellBlock CellBlock::rotated180() const {
    return flippedHorizontally().flippedVertically();
}

std::string CellBlock::toText() const {
    std::string text;
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            if (x > 0)
                text += ',';
            text += std::to_string(at(x, y));
        }
        text += '\n';
    }
    return text;
}

namespace {
bool blank(char c) {
    return c == ' ' || c == '\t';
}
bool fail(Message* error, MessageId why, int line = 0) {
    if (error) {
        *error = {why, {}};
        if (line > 0)
            error->arguments.emplace_back(std::to_string(line));
    }
    return false;
}

// One line of codes into `row`; false with the reason otherwise.
bool readRow(const std::string& line, int number, std::vector<CellCode>& row, Message* error) {
    std::size_t i = 0;
    for (;;) {
        while (i < line.size() && blank(line[i]))
            ++i;
        const std::size_t start = i;
        if (i < line.size() && line[i] == '-')
            ++i;
        while (i < line.size() && line[i] >= '0' && line[i] <= '9')
            ++i;
        CellCode code = 0;
        const auto [end, ec] = std::from_chars(line.data() + start, line.data() + i, code);
        if (start == i || end != line.data() + i || ec == std::errc::invalid_argument)
            return fail(error, MessageId::cellNotNumber, number);
        if (ec == std::errc::result_out_of_range)
            return fail(error, MessageId::cellTooLarge, number);
        if (row.size() >= std::size_t(CellBlock::maxSide))
            return fail(error, MessageId::cellTooWide, number);
        row.push_back(code);
        while (i < line.size() && blank(line[i]))
            ++i;
        if (i == line.size())
            return true;
        if (line[i] != ',')
            return fail(error, MessageId::cellNotNumber, number);
        ++i;
    }
}
} // namespace

std::optional<CellBlock> CellBlock::fromText(const std::string& text, Message* error) {
    std::vector<std::vector<CellCode>> rows;
    std::size_t at = 0;
    int number = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        const bool last = end == std::string::npos;
        if (last)
            end = text.size();
        std::string line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        at = last ? text.size() : end + 1;
        ++number;
        // Only the final line end may leave an empty line behind; blanks alone count as empty.
        bool onlyBlanks = true;
        for (char c : line)
            onlyBlanks = onlyBlanks && blank(c);
        if (onlyBlanks) {
            if (at >= text.size())
                break;
            fail(error, MessageId::cellLineEmpty, number);
            return std::nullopt;
        }
        if (rows.size() >= std::size_t(maxSide)) {
            fail(error, MessageId::cellTooTall);
            return std::nullopt;
        }
        std::vector<CellCode> row;
        if (!readRow(line, number, row, error))
            return std::nullopt;
        if (!rows.empty() && row.size() != rows.front().size()) {
            fail(error, MessageId::cellRowLength, number);
            return std::nullopt;
        }
        rows.push_back(std::move(row));
    }
    if (rows.empty()) {
        fail(error, MessageId::cellNone);
        return std::nullopt;
    }
    CellBlock block(int(rows.front().size()), int(rows.size()));
    for (int y = 0; y < block.height_; ++y)
        for (int x = 0; x < block.width_; ++x)
            block.at(x, y) = rows[std::size_t(y)][std::size_t(x)];
    return block;
}

namespace {
void put32(std::string& out, std::uint32_t v) {
    for (int k = 0; k < 4; ++k)
        out += char(v >> (8 * k) & 0xFF);
}
std::uint32_t get32(const std::string& in, std::size_t at) {
    std::uint32_t v = 0;
    for (int k = 0; k < 4; ++k)
        v |= std::uint32_t(std::uint8_t(in[at + std::size_t(k)])) << (8 * k);
    return v;
}
} // namespace

std::string CellBlock::toBytes() const {
    std::string out;
    out.reserve(8 + codes_.size() * 4);
    put32(out, std::uint32_t(width_));
    put32(out, std::uint32_t(height_));
    for (CellCode c : codes_)
        put32(out, std::uint32_t(c));
    return out;
}

std::optional<CellBlock> CellBlock::fromBytes(const std::string& bytes) {
    if (bytes.size() < 8)
        return std::nullopt;
    const std::uint32_t w = get32(bytes, 0), h = get32(bytes, 4);
    if (w == 0 || h == 0 || w > std::uint32_t(maxSide) || h > std::uint32_t(maxSide) ||
        bytes.size() != 8 + std::size_t(w) * h * 4)
        return std::nullopt;
    CellBlock block{int(w), int(h)};
    for (std::size_t i = 0; i < block.codes_.size(); ++i)
        block.codes_[i] = CellCode(get32(bytes, 8 + 4 * i));
    return block;
}
