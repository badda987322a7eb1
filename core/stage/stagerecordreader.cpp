#include <algorithm>

#include "stage/CRKeditDoc.h"
#include "stage/ignoredcontent.h"
#include "stage/settingtext.h"
#include "stage/stagefields.h"
#include "stage/stagerecord.h"

namespace {

// Item k of the list goes to cell (k mod columns, k div columns), as the movie lays the
// stage out. The stage width is taken from the settings as read so far. Items that fall
// outside the 100 x 100 grid have nowhere to go and are skipped.
// Items with a block in them that fall outside the grid are counted in `ignored`.
void placeBlockList(CRKeditDoc& doc, std::string_view list, IgnoredContent* ignored) {
    const std::int64_t columns = doc.columns();
    // A final "," closes the last item; the empty text after it is no item.
    if (list.ends_with(','))
        list.remove_suffix(1);
    if (columns < 1) {
        // No width to lay the list out by (not read yet, or none): no item has a cell.
        if (ignored != nullptr)
            for (std::size_t start = 0; start <= list.size();) {
                const std::size_t comma = std::min(list.find(',', start), list.size());
                if (digitValue(list.substr(start, comma - start)) != 0)
                    ++ignored->cellsBeyondGrid;
                start = comma + 1;
            }
        return;
    }
    std::int64_t k = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = list.find(',', start);
        const std::int64_t x = k % columns;
        const std::int64_t y = k / columns;
        if (y >= CRKeditDoc::gridSize && ignored == nullptr)
            return; // every later item is below the grid too
        const std::string_view item = list.substr(
            start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        if (x < CRKeditDoc::gridSize && y < CRKeditDoc::gridSize)
            doc.cell(int(x), int(y)) = digitValue(item);
        else if (ignored != nullptr && digitValue(item) != 0)
            ++ignored->cellsBeyondGrid;
        if (comma == std::string_view::npos)
            return;
        start = comma + 1;
        ++k;
    }
}

void noteOnce(std::vector<std::string>& keys, std::string_view key) {
    if (std::find(keys.begin(), keys.end(), key) == keys.end())
        keys.emplace_back(key);
}

// Each item, empty ones included, becomes one script line. The script is not cleared: a
// second "command" pair adds its lines after the first's.
void appendScriptLines(CRKeditDoc& doc, std::string_view list) {
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = list.find(',', start);
        doc.command.append(
            list, start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        doc.command += "\r\n";
        if (comma == std::string_view::npos)
            return;
        start = comma + 1;
    }
}

void readPair(CRKeditDoc& doc, std::string_view pair, IgnoredContent* ignored) {
    const std::size_t eq = pair.find('=');
    if (eq == std::string_view::npos || eq == 0) {
        // No key: nothing to read (the empty text after the record's last "&" included).
        if (ignored != nullptr && !pair.empty())
            noteOnce(ignored->unknownKeys, pair.substr(0, eq));
        return;
    }
    const StageField* f = findStageField(pair.substr(0, eq));
    if (!f) {
        if (ignored != nullptr)
            noteOnce(ignored->unknownKeys, pair.substr(0, eq));
        return;
    }
    const std::string_view value = pair.substr(eq + 1);
    const bool isList = value.find(',') != std::string_view::npos;
    if (isList) {
        if (f->kind == FieldKind::block)
            placeBlockList(doc, value, ignored);
        else if (f->kind == FieldKind::command)
            appendScriptLines(doc, value);
        else if (ignored != nullptr)
            noteOnce(ignored->unreadValues, f->key); // a list under any other key is ignored
        return;
    }
    switch (f->kind) {
    case FieldKind::version:
    case FieldKind::text:
    case FieldKind::leafName:
        doc.*f->text = value;
        break;
    case FieldKind::ballRate:
        doc.*f->text = ballRateFromFile(value);
        break;
    case FieldKind::barRate:
        doc.*f->text = barRateFromFile(value);
        break;
    case FieldKind::flag:
        doc.*f->flag = value == "true" ? 1 : 0;
        break;
    case FieldKind::block:
        // A single value is no block list (an empty one holds nothing either).
        if (ignored != nullptr && !value.empty())
            noteOnce(ignored->unreadValues, f->key);
        break;
    case FieldKind::command:
        if (!value.empty()) {
            doc.command += value;
            doc.command += "\r\n";
        }
        break;
    case FieldKind::colour:
        doc.*f->colour = colourFromText(value);
        break;
    }
}

} // namespace

namespace {
CRKeditDoc parse(std::string_view fileBytes, IgnoredContent* ignored) {
    CRKeditDoc doc;
    // Only the first line holds the record; its line end and everything after are ignored.
    // (Two single-byte searches: find_first_of looks up its set once per byte, far slower.)
    const std::size_t lineEnd = std::min(fileBytes.find('\r'), fileBytes.find('\n'));
    const std::string_view record = fileBytes.substr(0, lineEnd);
    std::size_t start = 0;
    while (true) {
        const std::size_t amp = record.find('&', start);
        readPair(doc,
                 record.substr(start, amp == std::string_view::npos ? std::string_view::npos
                                                                    : amp - start),
                 ignored);
        if (amp == std::string_view::npos)
            break;
        start = amp + 1;
    }
    if (ignored != nullptr && lineEnd != std::string_view::npos) {
        // Lines of the rest, whatever ends them; empty ones (a line end) hold nothing.
        bool inLine = false;
        for (const char c : fileBytes.substr(lineEnd)) {
            const bool end = c == '\r' || c == '\n';
            if (!end && !inLine)
                ++ignored->extraLines;
            inLine = !end;
        }
    }
    return doc;
}
} // namespace

CRKeditDoc parseStageRecord(std::string_view fileBytes) {
    return parse(fileBytes, nullptr);
}

CRKeditDoc parseStageRecord(std::string_view fileBytes, IgnoredContent& ignored) {
    ignored = IgnoredContent{};
    return parse(fileBytes, &ignored);
}
