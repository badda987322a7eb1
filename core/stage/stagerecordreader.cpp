#include <algorithm>

#include "host/host.h"
#include "picture/pictureloader.h"
#include "stage/CRKeditDoc.h"
#include "stage/settingtext.h"
#include "stage/stagefields.h"
#include "stage/stagerecord.h"
#include "text/stagepath.h"

namespace {

// Item k of the list goes to cell (k mod columns, k div columns), as the movie lays the
// stage out. The stage width is taken from the settings as read so far. Items that fall
// outside the 100 x 100 grid have nowhere to go and are skipped.
void placeBlockList(CRKeditDoc& doc, std::string_view list) {
    const std::int64_t columns = doc.columns();
    if (columns < 1)
        return;
    // A final "," closes the last item; the empty text after it is no item.
    if (list.ends_with(','))
        list.remove_suffix(1);
    std::int64_t k = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = list.find(',', start);
        const std::int64_t x = k % columns;
        const std::int64_t y = k / columns;
        if (y >= CRKeditDoc::gridSize)
            return; // every later item is below the grid too
        if (x < CRKeditDoc::gridSize) {
            const std::string_view item = list.substr(
                start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
            doc.cell(int(x), int(y)) = digitValue(item);
        }
        if (comma == std::string_view::npos)
            return;
        start = comma + 1;
        ++k;
    }
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

void readPair(CRKeditDoc& doc, std::string_view pair) {
    const std::size_t eq = pair.find('=');
    if (eq == std::string_view::npos || eq == 0)
        return; // no key
    const StageField* f = findStageField(pair.substr(0, eq));
    if (!f)
        return;
    const std::string_view value = pair.substr(eq + 1);
    const bool isList = value.find(',') != std::string_view::npos;
    if (isList) {
        if (f->kind == FieldKind::block)
            placeBlockList(doc, value);
        else if (f->kind == FieldKind::command)
            appendScriptLines(doc, value);
        return; // a list under any other key is ignored
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
        break; // a single value is no block list
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

void parseStageRecord(CRKeditDoc& doc, std::string_view fileBytes) {
    // Only the first line holds the record; its line end and everything after are ignored.
    // (Two single-byte searches: find_first_of looks up its set once per byte, far slower.)
    const std::string_view record =
        fileBytes.substr(0, std::min(fileBytes.find('\r'), fileBytes.find('\n')));
    std::size_t start = 0;
    while (true) {
        const std::size_t amp = record.find('&', start);
        readPair(doc, record.substr(start, amp == std::string_view::npos ? std::string_view::npos
                                                                         : amp - start));
        if (amp == std::string_view::npos)
            break;
        start = amp + 1;
    }
}

std::string foregroundPicturePath(const CRKeditDoc& doc, const std::string& filePath) {
    // The foreground picture lies beside the stage file. graphic1 is appended to the folder
    // as it stands, so a full path in it names no file there.
    return folderOf(filePath) + toFileSystemPath(doc.graphic1);
}

void readStageRecord(CRKeditDoc& doc, std::string_view fileBytes, const std::string& filePath,
                     Host& host) {
    parseStageRecord(doc, fileBytes);
    const std::string path = foregroundPicturePath(doc, filePath);
    // No file name holds a NUL byte; handed to the file system it would cut the name short
    // and open another file. Such a name is a file that cannot be opened.
    if (path.find('\0') != std::string::npos) {
        host.messageBox("ファイルをオープンできません。");
        return;
    }
    if (loadPicture(path, doc.picture, host)) {
        doc.picturePending = true;
        host.updateAllViews(doc);
    }
}
