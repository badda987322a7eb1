#include "stage/stagefields.h"

#include <algorithm>
#include <limits>

#include "html/htmlexportvalues.h"
#include "stage/propertyvalues.h"

namespace {

using D = CRKeditDoc;
using P = PropertyValues;
using H = HtmlExportValues;
using K = FieldKind;
using S = FieldScope;

// A setting text the panel edits as a number.
constexpr StageField number(std::string_view key, std::string D::*m, std::int32_t P::*panel,
                            std::string_view label, S scope = S::settings) {
    return {.key = key,
            .kind = K::text,
            .scope = scope,
            .text = m,
            .panelNumber = panel,
            .label = label};
}
// A text the panel edits as a text.
constexpr StageField panelText(std::string_view key, K kind, std::string D::*m,
                               std::string P::*panel, std::string_view label) {
    return {.key = key,
            .kind = kind,
            .scope = S::settings,
            .text = m,
            .panelText = panel,
            .label = label};
}
constexpr StageField flag(std::string_view key, std::int32_t D::*m, std::int32_t P::*panel) {
    return {.key = key, .kind = K::flag, .scope = S::settings, .flag = m, .panelNumber = panel};
}
constexpr StageField exportText(std::string_view key, std::string D::*m, std::string H::*value,
                                bool inRecord = true) {
    return {.key = key,
            .kind = K::text,
            .scope = S::exportValue,
            .text = m,
            .exportText = value,
            .inRecord = inRecord};
}
constexpr StageField exportColour(std::string_view key, std::uint32_t D::*m,
                                  std::uint32_t H::*value) {
    return {
        .key = key, .kind = K::colour, .scope = S::exportValue, .colour = m, .exportColour = value};
}

// "ballSize" comes before "baseSpeed" in the record although the document declares
// baseSpeed first; the movie and existing files rely on this order.
constexpr std::array<StageField, documentFieldCount> fields = {{
    {.key = "version", .kind = K::version, .scope = S::settings, .text = &D::version},
    number("graphicWidth", &D::graphicWidth, &P::graphicWidth, "画像サイズ", S::layout),
    number("graphicHeight", &D::graphicHeight, &P::graphicHeight, "画像サイズ", S::layout),
    panelText("graphic1", K::leafName, &D::graphic1, &P::graphic1, "前景ファイル"),
    panelText("graphic2", K::leafName, &D::graphic2, &P::graphic2, "背景ファイル"),
    number("minRadian", &D::minRadian, &P::minRadian, "最小角度"),
    number("maxRadian", &D::maxRadian, &P::maxRadian, "最大角度"),
    number("ballSize", &D::ballSize, &P::ballSize, "直径"),
    number("baseSpeed", &D::baseSpeed, &P::baseSpeed, "スピード"),
    number("precision", &D::precision, &P::precision, "衝突判定精度"),
    number("xSpeed", &D::xSpeed, &P::xSpeed, "キーボード使用時移動速度"),
    number("barWidth", &D::barWidth, &P::barWidth, "幅"),
    number("barHeight", &D::barHeight, &P::barHeight, "厚さ"),
    number("criticalWidth", &D::criticalWidth, &P::criticalWidth, "スマッシュヒット幅"),
    number("edgeWidth", &D::edgeWidth, &P::edgeWidth, "エッジ幅"),
    number("blockWidth", &D::blockWidth, &P::blockWidth, "横サイズ", S::layout),
    number("blockHeight", &D::blockHeight, &P::blockHeight, "縦サイズ", S::layout),
    number("barSpace", &D::barSpace, &P::barSpace, "パドル領域高", S::layout),
    number("life", &D::life, &P::life, "プレイヤー機数"),
    number("blockMask", &D::blockMask, &P::blockMask, "ブロックマスク"),
    panelText("ballSpeedRate", K::ballRate, &D::ballSpeedRate, &P::ballSpeedRate,
              "ボール速度ユーザ設定"),
    panelText("barSpeedRate", K::barRate, &D::barSpeedRate, &P::barSpeedRate,
              "パドル速度ユーザ設定"),
    flag("keyboardMode", &D::keyboardMode, &P::keyboardMode),
    flag("blockMode", &D::blockMode, &P::blockMode),
    flag("soundMode", &D::soundMode, &P::soundMode),
    flag("effectMode", &D::effectMode, &P::effectMode),
    flag("liteMode", &D::liteMode, &P::liteMode),
    flag("edgeBack", &D::edgeBack, &P::edgeBack),
    flag("timerVisible", &D::timerVisible, &P::timerVisible),
    flag("rankingEnable", &D::rankingEnable, &P::rankingEnable),
    {.key = "block", .kind = K::block, .scope = S::grid},
    {.key = "command", .kind = K::command, .scope = S::script, .text = &D::command},
    // Both colours are chosen in the export dialog.
    exportColour("bgcolorGame", &D::bgcolorGame, &H::bgcolorGame),
    exportColour("bgcolorHtml", &D::bgcolorHtml, &H::bgcolorHtml),
    exportText("title", &D::title, &H::title),
    exportText("quality", &D::quality, &H::quality),
    exportText("configFileName", &D::configFileName, &H::configFileName, false),
    exportText("annotationPosition", &D::annotationPosition, &H::annotationPosition, false),
}};

constexpr bool recordFieldsComeFirst() {
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields[i].inRecord != (i < stageFieldCount))
            return false;
    return true;
}
static_assert(recordFieldsComeFirst());

constexpr bool layoutFieldsAreTexts() {
    std::size_t count = 0;
    for (const StageField& f : fields)
        if (f.scope == S::layout) {
            if (f.text == nullptr)
                return false;
            ++count;
        }
    return count == layoutFieldCount;
}
static_assert(layoutFieldsAreTexts());

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

const std::array<StageField, documentFieldCount>& documentFields() {
    return fields;
}

std::span<const StageField, stageFieldCount> stageFields() {
    return std::span<const StageField, stageFieldCount>(fields.data(), stageFieldCount);
}

const StageField* findStageField(std::string_view key) {
    for (const StageField& f : stageFields())
        if (f.key == key)
            return &f;
    return nullptr;
}

const StageField* findPanelField(std::int32_t PropertyValues::*member) {
    for (const StageField& f : fields)
        if (member != nullptr && f.panelNumber == member)
            return &f;
    return nullptr;
}

const StageField* findPanelField(std::string PropertyValues::*member) {
    for (const StageField& f : fields)
        if (member != nullptr && f.panelText == member)
            return &f;
    return nullptr;
}

const std::array<const StageField*, layoutFieldCount>& layoutFields() {
    static const std::array<const StageField*, layoutFieldCount> layout = [] {
        std::array<const StageField*, layoutFieldCount> found{};
        std::size_t i = 0;
        for (const StageField& f : fields)
            if (f.scope == S::layout)
                found[i++] = &f;
        return found;
    }();
    return layout;
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
