#include <algorithm>

#include "stage/CRKeditDoc.h"
#include "stage/settingtext.h"
#include "stage/stagefields.h"
#include "stage/stagerecord.h"
#include "text/stagepath.h"

// The record has no escape: "&" ends a pair, a CR or LF ends the line the reader takes, and
// "," turns a value into a list. These checks mirror what the reader would do with what the
// writer writes, so the editor can warn before a save that cannot be read back.

namespace {

bool hasRecordBreak(std::string_view written) {
    for (char c : written)
        if (c == '&' || c == '\r' || c == '\n')
            return true;
    return false;
}

bool scalarReadsBack(std::string_view written) {
    return !hasRecordBreak(written) && written.find(',') == std::string_view::npos;
}

// What the reader makes of a written script list.
std::string scriptReadBack(std::string_view written) {
    if (written.empty())
        return {};
    std::string script;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = written.find(',', start);
        script.append(written, start,
                      comma == std::string_view::npos ? std::string_view::npos : comma - start);
        script += "\r\n";
        if (comma == std::string_view::npos)
            return script;
        start = comma + 1;
    }
}

bool scriptReadsBack(const std::string& script) {
    std::string written;
    appendScriptList(written, script);
    if (hasRecordBreak(written))
        return false;
    // A last line without a line end gains one; that is no loss.
    std::string expected = script;
    if (!expected.empty() && !expected.ends_with("\r\n"))
        expected += "\r\n";
    return scriptReadBack(written) == expected;
}

bool cellReadsBack(std::int32_t kind) {
    return kind >= 0 && digitValue(decimalText(kind)) == kind;
}

bool blockReadsBack(const CRKeditDoc& doc) {
    const BlockListShape shape = blockListShape(doc);
    if (shape.cut)
        return false;
    const int columns = int(std::min<std::int64_t>(shape.columns, CRKeditDoc::gridSize));
    const int rows = int(std::min<std::int64_t>(shape.rows, CRKeditDoc::gridSize));
    for (int x = 0; x < columns; ++x)
        for (int y = 0; y < rows; ++y)
            if (!cellReadsBack(doc.cell(x, y)))
                return false;
    return true;
}

bool readsBack(const StageField& f, const CRKeditDoc& doc) {
    switch (f.kind) {
    case FieldKind::version:
    case FieldKind::colour:
        return true; // always written in a form that reads back
    case FieldKind::text:
        return scalarReadsBack(doc.*f.text);
    case FieldKind::leafName:
        return scalarReadsBack(leafName(doc.*f.text));
    case FieldKind::ballRate: {
        const std::string_view written = ballRateFileValue(doc.*f.text);
        return scalarReadsBack(written) && ballRateFromFile(written) == doc.*f.text;
    }
    case FieldKind::barRate:
        return barRateFromFile(barRateFileValue(doc.*f.text)) == doc.*f.text;
    case FieldKind::flag:
        return doc.*f.flag == 0 || doc.*f.flag == 1;
    case FieldKind::block:
        return blockReadsBack(doc);
    case FieldKind::command:
        return scriptReadsBack(doc.command);
    }
    return true;
}

} // namespace

std::vector<std::string> keysThatWillNotReadBack(const CRKeditDoc& doc) {
    std::vector<std::string> keys;
    for (const StageField& f : stageFields())
        if (!readsBack(f, doc))
            keys.emplace_back(f.key);
    return keys;
}
