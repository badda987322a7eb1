#include <algorithm>
#include <array>

#include "stage/CRKeditDoc.h"
#include "stage/stagefields.h"
#include "stage/stagerecord.h"
#include "text/stagepath.h"

// Whether a value reads back is decided by the parser itself: each pair is written as the
// writer writes it, the pairs are parsed as one record and each value found is compared with
// the document's. Only what the record cannot carry at all is told from the written bytes:
// "&" ends a pair and a CR or LF ends the line the parser takes, so such a pair would cut
// into its neighbours; it is reported and left out of the record parsed.

namespace {

bool hasRecordBreak(std::string_view written) {
    return written.find_first_of("&\r\n") != std::string_view::npos;
}

// The script as the parser gives it back when nothing is lost: a last line without a line
// end gains one, which is no loss.
std::string scriptAsRead(std::string_view script) {
    std::string expected(script);
    if (!expected.empty() && !expected.ends_with("\r\n"))
        expected += "\r\n";
    return expected;
}

// The stage's cells inside the grid: those the block list carries.
bool sameCells(const CRKeditDoc& back, const CRKeditDoc& doc) {
    const BlockListShape shape = blockListShape(doc);
    if (shape.cut)
        return false;
    const int columns = int(std::min<std::int64_t>(shape.columns, CRKeditDoc::gridSize));
    const int rows = int(std::min<std::int64_t>(shape.rows, CRKeditDoc::gridSize));
    for (int x = 0; x < columns; ++x)
        for (int y = 0; y < rows; ++y)
            if (back.cell(x, y) != doc.cell(x, y))
                return false;
    return true;
}

bool readsBack(const StageField& f, const CRKeditDoc& back, const CRKeditDoc& doc,
               std::string_view script) {
    switch (f.kind) {
    case FieldKind::version:
        return true; // always written "RK", whatever the document held
    case FieldKind::text:
    case FieldKind::ballRate:
    case FieldKind::barRate:
        return back.*f.text == doc.*f.text;
    case FieldKind::leafName:
        return back.*f.text == leafName(doc.*f.text);
    case FieldKind::flag:
        return back.*f.flag == doc.*f.flag;
    case FieldKind::colour:
        return back.*f.colour == doc.*f.colour;
    case FieldKind::block:
        return sameCells(back, doc);
    case FieldKind::command:
        return back.command == scriptAsRead(script);
    }
    return true;
}

} // namespace

std::vector<std::string> keysThatWillNotReadBack(const CRKeditDoc& doc, std::string_view script) {
    std::array<bool, stageFieldCount> broken{};
    std::string record;
    std::string value;
    for (std::size_t i = 0; i < stageFieldCount; ++i) {
        const StageField& f = stageFields()[i];
        value.clear();
        appendStageValue(value, f, doc, script);
        if (hasRecordBreak(value)) {
            broken[i] = true;
            continue;
        }
        record += f.key;
        record += '=';
        record += value;
        record += '&';
    }
    const CRKeditDoc back = parseStageRecord(record);
    std::vector<std::string> keys;
    for (std::size_t i = 0; i < stageFieldCount; ++i) {
        const StageField& f = stageFields()[i];
        if (broken[i] || !readsBack(f, back, doc, script))
            keys.emplace_back(f.key);
    }
    return keys;
}

std::vector<std::string> keysThatWillNotReadBack(const CRKeditDoc& doc) {
    return keysThatWillNotReadBack(doc, doc.command);
}
