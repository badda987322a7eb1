#include "stage/stagefields.h"

#include <algorithm>
#include <limits>

namespace {

using D = CRKeditDoc;

constexpr StageField textField(std::string_view key, std::string D::*m,
                               FieldKind kind = FieldKind::text) {
    return {key, kind, m, nullptr, nullptr};
}
constexpr StageField flagField(std::string_view key, std::int32_t D::*m) {
    return {key, FieldKind::flag, nullptr, m, nullptr};
}
constexpr StageField colourField(std::string_view key, std::uint32_t D::*m) {
    return {key, FieldKind::colour, nullptr, nullptr, m};
}

// "ballSize" comes before "baseSpeed" in the record although the document declares
// baseSpeed first; the movie and existing files rely on this order.
constexpr std::array<StageField, stageFieldCount> fields = {{
    textField("version", &D::version, FieldKind::version),
    textField("graphicWidth", &D::graphicWidth),
    textField("graphicHeight", &D::graphicHeight),
    textField("graphic1", &D::graphic1, FieldKind::leafName),
    textField("graphic2", &D::graphic2, FieldKind::leafName),
    textField("minRadian", &D::minRadian),
    textField("maxRadian", &D::maxRadian),
    textField("ballSize", &D::ballSize),
    textField("baseSpeed", &D::baseSpeed),
    textField("precision", &D::precision),
    textField("xSpeed", &D::xSpeed),
    textField("barWidth", &D::barWidth),
    textField("barHeight", &D::barHeight),
    textField("criticalWidth", &D::criticalWidth),
    textField("edgeWidth", &D::edgeWidth),
    textField("blockWidth", &D::blockWidth),
    textField("blockHeight", &D::blockHeight),
    textField("barSpace", &D::barSpace),
    textField("life", &D::life),
    textField("blockMask", &D::blockMask),
    textField("ballSpeedRate", &D::ballSpeedRate, FieldKind::ballRate),
    textField("barSpeedRate", &D::barSpeedRate, FieldKind::barRate),
    flagField("keyboardMode", &D::keyboardMode),
    flagField("blockMode", &D::blockMode),
    flagField("soundMode", &D::soundMode),
    flagField("effectMode", &D::effectMode),
    flagField("liteMode", &D::liteMode),
    flagField("edgeBack", &D::edgeBack),
    flagField("timerVisible", &D::timerVisible),
    flagField("rankingEnable", &D::rankingEnable),
    {"block", FieldKind::block},
    textField("command", &D::command, FieldKind::command),
    colourField("bgcolorGame", &D::bgcolorGame),
    colourField("bgcolorHtml", &D::bgcolorHtml),
    textField("title", &D::title),
    textField("quality", &D::quality),
}};

struct Rate {
    std::string_view text;
    std::string_view fileValue;
};
// The two lowest texts carry a leading blank, as the panel's lists show them.
constexpr Rate rates[] = {
    {" 25%", "0.25"}, {" 50%", "0.50"}, {"100%", "1"}, {"150%", "1.5"}, {"200%", "2.0"},
};

const Rate* rateByText(std::string_view text) {
    for (const Rate& r : rates)
        if (r.text == text)
            return &r;
    return nullptr;
}
const Rate* rateByFileValue(std::string_view value) {
    for (const Rate& r : rates)
        if (r.fileValue == value)
            return &r;
    return nullptr;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

const std::array<StageField, stageFieldCount>& stageFields() {
    return fields;
}

const StageField* findStageField(std::string_view key) {
    for (const StageField& f : fields)
        if (f.key == key)
            return &f;
    return nullptr;
}

std::string_view ballRateFileValue(std::string_view text) {
    const Rate* r = rateByText(text);
    return r ? r->fileValue : text;
}

std::string_view barRateFileValue(std::string_view text) {
    const Rate* r = rateByText(text);
    return r ? r->fileValue : std::string_view("0");
}

std::string ballRateFromFile(std::string_view value) {
    const Rate* r = rateByFileValue(value);
    return std::string(r ? r->text : value);
}

std::string barRateFromFile(std::string_view value) {
    const Rate* r = rateByFileValue(value);
    return std::string(r ? r->text : std::string_view("AUTO"));
}

void appendColourText(std::string& out, std::uint32_t colour) {
    char digits[8];
    char* p = digits + sizeof digits;
    do {
        *--p = "0123456789abcdef"[colour & 0xFu];
        colour >>= 4;
    } while (colour != 0);
    out.append(p, digits + sizeof digits);
}

std::uint32_t colourFromText(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // "0x" is a prefix only when a digit follows; otherwise the "0" alone converts.
    if (i + 2 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
        hexDigit(text[i + 2]) >= 0)
        i += 2;
    // Accumulate the magnitude, saturating just past what a 64-bit long can hold.
    constexpr std::uint64_t limit = std::uint64_t(std::numeric_limits<std::int64_t>::max()) + 1;
    std::uint64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const int d = hexDigit(text[i]);
        if (d < 0)
            break;
        if (magnitude > limit)
            continue; // saturated already; strtol still consumes the digits
        if (magnitude > (limit - std::uint64_t(d)) / 16)
            magnitude = limit + 1;
        else
            magnitude = magnitude * 16 + std::uint64_t(d);
    }
    std::int64_t value;
    if (!negative)
        value =
            magnitude >= limit ? std::numeric_limits<std::int64_t>::max() : std::int64_t(magnitude);
    else if (magnitude >= limit)
        value = std::numeric_limits<std::int64_t>::min();
    else
        value = -std::int64_t(magnitude);
    // Conversion to unsigned is modular: the low 32 bits.
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(value));
}

void appendScriptList(std::string& out, std::string_view script) {
    std::size_t start = 0;
    for (std::size_t at = script.find("\r\n"); at != std::string_view::npos;
         at = script.find("\r\n", start)) {
        out.append(script, start, at - start);
        out += ',';
        start = at + 2;
    }
    out.append(script, start);
    if (script.ends_with("\r\n"))
        out.pop_back();
}

BlockListShape blockListShape(const CRKeditDoc& doc) {
    BlockListShape shape{doc.columns(), doc.rows(), false};
    if (shape.columns == 0 || shape.rows == 0) {
        shape.columns = shape.rows = 0;
        return shape;
    }
    if (shape.columns * shape.rows > maxBlockListItems) {
        shape.cut = true;
        shape.rows = std::min<std::int64_t>(shape.rows, CRKeditDoc::gridSize);
        if (shape.columns * shape.rows > maxBlockListItems)
            shape.rows = 0;
    }
    return shape;
}
