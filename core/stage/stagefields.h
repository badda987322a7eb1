#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "stage/CRKeditDoc.h"

// The pairs of the stage record, in the order the writer puts them, and the value rules
// they share. Used by the writer, the reader and the read-back check, so the three cannot
// disagree about a key.

enum class FieldKind {
    version,  // always written "RK"; read verbatim
    text,     // a setting text, verbatim both ways
    leafName, // a picture file: written as its leaf name, read verbatim
    ballRate, // the ball's speed rate: table, other texts as they are
    barRate,  // the paddle's speed rate: table, other texts "0" / "AUTO"
    flag,     // "true" / "false"; read as 1 only for exactly "true"
    block,    // the block list
    command,  // the script list
    colour,   // lowercase hexadecimal; read as strtol base 16 would
};

struct StageField {
    std::string_view key;
    FieldKind kind;
    std::string CRKeditDoc::*text = nullptr;     // version, text, leafName, ballRate, barRate
    std::int32_t CRKeditDoc::*flag = nullptr;    // flag
    std::uint32_t CRKeditDoc::*colour = nullptr; // colour
};

inline constexpr std::size_t stageFieldCount = 36;
const std::array<StageField, stageFieldCount>& stageFields();
// The field of `key` (exact, case-sensitive), or null.
const StageField* findStageField(std::string_view key);

// Speed rates between the document's texts and the file's values.
std::string_view ballRateFileValue(std::string_view text);
std::string_view barRateFileValue(std::string_view text);
std::string ballRateFromFile(std::string_view value);
std::string barRateFromFile(std::string_view value);

// Lowercase hexadecimal digits of the whole value, no prefix, "0" for 0.
void appendColourText(std::string& out, std::uint32_t colour);
// As strtol with base 16 reads `text` on this platform (leading white space, optional sign,
// optional "0x", digits up to the first non-digit, 0 when nothing converts, saturation at
// the limits of a 64-bit long), then the low 32 bits. Any value the writer writes reads
// back unchanged. Independent of the C locale.
std::uint32_t colourFromText(std::string_view text);

// The value the writer writes for `f` (without key and "&"), with `script` as the event
// script. Shared by the writer and the read-back check.
void appendStageValue(std::string& out, const StageField& f, const CRKeditDoc& doc,
                      std::string_view script);

// The script list: every CR LF becomes ","; the "," of a final CR LF is dropped.
void appendScriptList(std::string& out, std::string_view script);

// How much of the block list the writer writes. Normally the whole stage, `columns` items a
// row for `rows` rows, cells outside the 100 x 100 grid written as 0 so the list keeps the
// length the movie expects. A stage of more than `maxBlockListItems` cells (only from
// absurd settings) would make a record of gigabytes: then only the rows that meet the grid
// are written, or no row at all when even those are too many, and `cut` is set.
inline constexpr std::int64_t maxBlockListItems = 4'000'000;
struct BlockListShape {
    std::int64_t columns = 0;
    std::int64_t rows = 0;
    bool cut = false;
};
BlockListShape blockListShape(const CRKeditDoc& doc);
