// rkstage dump IN: the opened document as JSON (UTF-8). Every stage record key in record
// order with the document's value: texts as strings, flags and colours as integers,
// "command" as one string with its CR LF line ends, "block" as the stage's rows, each a list
// of its cells from the left. Then "columns" and "rows", the stage's size in cells as the
// settings give it; "block" holds only the part of the stage inside the 100 x 100 grid.
//
// Texts are CP932 in the document. Each byte that does not start a valid CP932 character is
// shown as U+FFFD, exactly as the editor shows such a text, so the output is always valid
// UTF-8 (JSON cannot carry raw bytes).
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "command.h"
#include "jsonwriter.h"
#include "openstage.h"
#include "stage/CRKeditDoc.h"
#include "stage/settingtext.h"
#include "stage/stagefields.h"
#include "terminalhost.h"
#include "text/cp932.h"

namespace {

void appendBlockRows(std::string& out, const CRKeditDoc& doc) {
    const int columns = std::min(doc.columns(), CRKeditDoc::gridSize);
    const int rows = std::min(doc.rows(), CRKeditDoc::gridSize);
    out += '[';
    for (int y = 0; y < rows; ++y) {
        out += y == 0 ? "\n    [" : ",\n    [";
        for (int x = 0; x < columns; ++x) {
            if (x != 0)
                out += ',';
            appendDecimalText(out, doc.cell(x, y));
        }
        out += ']';
    }
    out += rows == 0 ? "]" : "\n  ]";
}

std::string dumpJson(const CRKeditDoc& doc) {
    std::string out = "{";
    auto key = [&](std::string_view name) {
        out += out.size() == 1 ? "\n  " : ",\n  ";
        appendJsonString(out, name);
        out += ": ";
    };
    for (const StageField& f : stageFields()) {
        key(f.key);
        switch (f.kind) {
        case FieldKind::version:
        case FieldKind::text:
        case FieldKind::leafName:
        case FieldKind::ballRate:
        case FieldKind::barRate:
        case FieldKind::command:
            appendJsonString(out, cp932ToUtf8Lossy(doc.*f.text));
            break;
        case FieldKind::flag:
            appendDecimalText(out, doc.*f.flag);
            break;
        case FieldKind::colour:
            out += std::to_string(doc.*f.colour);
            break;
        case FieldKind::block:
            appendBlockRows(out, doc);
            break;
        }
    }
    key("columns");
    appendDecimalText(out, doc.columns());
    key("rows");
    appendDecimalText(out, doc.rows());
    out += "\n}\n";
    return out;
}

int dump(const std::vector<std::string>& args) {
    if (args.size() != 1)
        return usageError("dump");
    CRKeditDoc doc;
    TerminalHost host;
    std::string error;
    if (!openStage(args[0], doc, host, error))
        return fail(error);
    const std::string json = dumpJson(doc);
    if (std::fwrite(json.data(), 1, json.size(), stdout) != json.size() || std::fflush(stdout) != 0)
        return fail(std::string("standard output: ") + std::strerror(errno));
    return 0;
}

[[maybe_unused]] const bool registered = registerCommand({"dump", "IN", dump});

} // namespace
