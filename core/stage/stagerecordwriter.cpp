#include <algorithm>

#include "stage/CRKeditDoc.h"
#include "stage/settingtext.h"
#include "stage/stagefields.h"
#include "stage/stagerecord.h"
#include "text/stagepath.h"

namespace {

// Row by row from the top, each row from the left, every cell followed by ",". Cells of a
// stage larger than the grid that fall outside it are written as 0.
void appendBlockList(std::string& out, const CRKeditDoc& doc) {
    const BlockListShape shape = blockListShape(doc);
    const std::int64_t gridColumns = std::min<std::int64_t>(shape.columns, CRKeditDoc::gridSize);
    for (std::int64_t y = 0; y < shape.rows; ++y) {
        std::int64_t x = 0;
        if (y < CRKeditDoc::gridSize) {
            for (; x < gridColumns; ++x) {
                appendDecimalText(out, doc.cell(int(x), int(y)));
                out += ',';
            }
        }
        for (; x < shape.columns; ++x)
            out += "0,";
    }
}

} // namespace

void appendStageValue(std::string& out, const StageField& f, const CRKeditDoc& doc,
                      std::string_view script) {
    switch (f.kind) {
    case FieldKind::version:
        out += "RK";
        break;
    case FieldKind::text:
        out += doc.*f.text;
        break;
    case FieldKind::leafName:
        out += leafName(doc.*f.text);
        break;
    case FieldKind::ballRate:
        out += ballRateFileValue(doc.*f.text);
        break;
    case FieldKind::barRate:
        out += barRateFileValue(doc.*f.text);
        break;
    case FieldKind::flag:
        out += doc.*f.flag != 0 ? "true" : "false";
        break;
    case FieldKind::block:
        appendBlockList(out, doc);
        break;
    case FieldKind::command:
        appendScriptList(out, script);
        break;
    case FieldKind::colour:
        appendColourText(out, doc.*f.colour);
        break;
    }
}

std::string writeStageRecord(const CRKeditDoc& doc, std::string_view script) {
    std::string out;
    out.reserve(640 + script.size() +
                2 * std::size_t(CRKeditDoc::gridSize) * std::size_t(CRKeditDoc::gridSize));
    for (const StageField& f : stageFields()) {
        out += f.key;
        out += '=';
        appendStageValue(out, f, doc, script);
        out += '&';
    }
    return out;
}

std::string writeStageRecord(const CRKeditDoc& doc) {
    return writeStageRecord(doc, doc.command);
}
