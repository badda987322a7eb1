#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "stage/CRKeditDoc.h"

struct PropertyValues;
struct HtmlExportValues;

// The stage's fields, one row each: the record's pairs in the order the writer puts them, then
// the export values the record does not hold. Every part of the program that handles the
// stage field by field reads this table: the record's reader, writer and read-back check,
// the undo steps' differences and what they announce, the properties panel's transfers and
// the HTML export dialog's values, so none of them can miss a field; a test checks that the
// table covers every member of CRKeditDoc.

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

// What a change of the field shows on: the layout on screen (picture size, cell size, paddle
// area height), the block grid, the event script, the HTML export's values, or the other
// settings.
enum class FieldScope { layout, grid, script, exportValue, settings };

struct StageField {
    std::string_view key; // the record's key; for a field the record does not hold, its name
    FieldKind kind;
    FieldScope scope;
    // The document's member: one of the three, none for the block list (the grid).
    std::string CRKeditDoc::*text = nullptr;     // version, text, leafName, ballRate, barRate
    std::int32_t CRKeditDoc::*flag = nullptr;    // flag
    std::uint32_t CRKeditDoc::*colour = nullptr; // colour
    // The properties panel's field: a number (a text's digit value, or a flag's check state)
    // or a text; none for what the panel does not edit.
    std::int32_t PropertyValues::*panelNumber = nullptr;
    std::string PropertyValues::*panelText = nullptr;
    // The panel's label of a text setting (UTF-8); it names an undo step changing only it.
    std::string_view label = {};
    // The HTML export dialog's value; none for what the dialog does not edit.
    std::string HtmlExportValues::*exportText = nullptr;
    std::uint32_t HtmlExportValues::*exportColour = nullptr;
    bool inRecord = true;
};

inline constexpr std::size_t stageFieldCount = 36;    // the record's pairs
inline constexpr std::size_t documentFieldCount = 38; // and the two export-only values
// Every field, the record's first.
const std::array<StageField, documentFieldCount>& documentFields();
// The record's pairs, in record order.
std::span<const StageField, stageFieldCount> stageFields();
// The record's field of `key` (exact, case-sensitive), or null.
const StageField* findStageField(std::string_view key);
// The field the properties panel edits in `member`, or null.
const StageField* findPanelField(std::int32_t PropertyValues::*member);
const StageField* findPanelField(std::string PropertyValues::*member);

// The fields of FieldScope::layout (texts all), in table order: what the stage's size on
// screen is computed from.
inline constexpr std::size_t layoutFieldCount = 5;
const std::array<const StageField*, layoutFieldCount>& layoutFields();

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
