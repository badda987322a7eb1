#include <gtest/gtest.h>

#include "stage/CRKeditDoc.h"
#include "stage/stagerecord.h"

namespace {

const char* const newDocumentRecord =
    "version=RK&graphicWidth=0&graphicHeight=0&graphic1=graphic1.JPG&graphic2=graphic2.JPG&"
    "minRadian=2&maxRadian=8&ballSize=10&baseSpeed=16&precision=4&xSpeed=10&barWidth=100&"
    "barHeight=12&criticalWidth=3&edgeWidth=5&blockWidth=15&blockHeight=12&barSpace=150&"
    "life=5&blockMask=1&ballSpeedRate=1&barSpeedRate=0&keyboardMode=false&blockMode=false&"
    "soundMode=true&effectMode=true&liteMode=true&edgeBack=true&timerVisible=true&"
    "rankingEnable=false&block=&command=&bgcolorGame=0&bgcolorHtml=0&title=&quality=&";

std::string write(const CRKeditDoc& doc) {
    return writeStageRecord(doc);
}

// The value written for `key` (the text between "key=" and the next "&").
std::string writtenValue(const CRKeditDoc& doc, const std::string& key) {
    const std::string record = write(doc);
    const std::size_t at = record.find("&" + key + "=");
    EXPECT_NE(at, std::string::npos) << key;
    const std::size_t start = at + key.size() + 2;
    return record.substr(start, record.find('&', start) - start);
}

} // namespace

TEST(StageRecordWriter, NewDocumentGivesThe495ByteRecord) {
    CRKeditDoc doc;
    const std::string record = write(doc);
    EXPECT_EQ(record, newDocumentRecord);
    EXPECT_EQ(record.size(), 495u);
    EXPECT_EQ(std::count(record.begin(), record.end(), '&'), 36);
}

// The editor passes the open event tool's script, which holds the newest text: it is written
// in place of the document's own, and the document is left as it was.
TEST(StageRecordWriter, ScriptArgumentReplacesCommand) {
    CRKeditDoc doc;
    doc.command = "old\r\n";
    const std::string record = writeStageRecord(doc, "OnHit\r\nplay\r\n");
    EXPECT_NE(record.find("&command=OnHit,play&"), std::string::npos);
    EXPECT_EQ(doc.command, "old\r\n");
    EXPECT_NE(write(doc).find("&command=old&"), std::string::npos);

    // Nothing but the script differs from writing a document that holds it.
    CRKeditDoc holding = doc;
    holding.command = "OnHit\r\nplay\r\n";
    EXPECT_EQ(record, write(holding));
    // The read-back check looks at the script that is written, not the document's.
    EXPECT_EQ(keysThatWillNotReadBack(doc, "a,b\r\n"), std::vector<std::string>{"command"});
    holding.command = "a,b\r\n";
    EXPECT_EQ(keysThatWillNotReadBack(holding), std::vector<std::string>{"command"});
    EXPECT_TRUE(keysThatWillNotReadBack(holding, "ok\r\n").empty());
}

TEST(StageRecordWriter, ValueForms) {
    const struct {
        const char* key;
        void (*set)(CRKeditDoc&);
        const char* written;
    } rows[] = {
        {"ballSpeedRate", [](CRKeditDoc& d) { d.ballSpeedRate = " 25%"; }, "0.25"},
        {"ballSpeedRate", [](CRKeditDoc& d) { d.ballSpeedRate = " 50%"; }, "0.50"},
        {"ballSpeedRate", [](CRKeditDoc& d) { d.ballSpeedRate = "150%"; }, "1.5"},
        {"ballSpeedRate", [](CRKeditDoc& d) { d.ballSpeedRate = "200%"; }, "2.0"},
        {"ballSpeedRate", [](CRKeditDoc& d) { d.ballSpeedRate = "75%"; }, "75%"},
        {"ballSpeedRate", [](CRKeditDoc& d) { d.ballSpeedRate = "25%"; }, "25%"}, // no blank
        {"barSpeedRate", [](CRKeditDoc& d) { d.barSpeedRate = "100%"; }, "1"},
        {"barSpeedRate", [](CRKeditDoc& d) { d.barSpeedRate = "75%"; }, "0"},
        {"barSpeedRate", [](CRKeditDoc& d) { d.barSpeedRate = "auto"; }, "0"},
        {"keyboardMode", [](CRKeditDoc& d) { d.keyboardMode = -7; }, "true"},
        {"bgcolorGame", [](CRKeditDoc& d) { d.bgcolorGame = 0xFF8000; }, "ff8000"},
        {"bgcolorGame", [](CRKeditDoc& d) { d.bgcolorGame = 0xFF; }, "ff"},
        {"bgcolorHtml", [](CRKeditDoc& d) { d.bgcolorHtml = 0xFFFFFFFF; }, "ffffffff"},
        {"bgcolorHtml", [](CRKeditDoc& d) { d.bgcolorHtml = 0x0A0B0C; }, "a0b0c"},
        {"graphic1", [](CRKeditDoc& d) { d.graphic1 = "C:\\stage\\pic.JPG"; }, "pic.JPG"},
        {"graphic2", [](CRKeditDoc& d) { d.graphic2 = "\\back.JPG"; }, "\\back.JPG"},
        // Texts are written byte for byte, even the ones that cannot be read back.
        {"title", [](CRKeditDoc& d) { d.title = "a,b"; }, "a,b"},
        {"command", [](CRKeditDoc& d) { d.command = "OnHit\r\nplay\r\n"; }, "OnHit,play"},
        {"command", [](CRKeditDoc& d) { d.command = "OnHit\r\nplay"; }, "OnHit,play"},
        {"command", [](CRKeditDoc& d) { d.command = "a\r\n\r\n"; }, "a,"},
        {"command", [](CRKeditDoc& d) { d.command = "a\rb\nc\r\r\n"; }, "a\rb\nc\r"},
        // Only CR LF ends a script line: a lone LF or CR at the end is part of the text.
        {"command", [](CRKeditDoc& d) { d.command = "a\n"; }, "a\n"},
        {"command", [](CRKeditDoc& d) { d.command = "OnHit\r\nplay\n"; }, "OnHit,play\n"},
        {"command", [](CRKeditDoc& d) { d.command = "a\r"; }, "a\r"},
    };
    for (const auto& r : rows) {
        CRKeditDoc doc;
        r.set(doc);
        EXPECT_EQ(writtenValue(doc, r.key), r.written) << r.key << " -> " << r.written;
    }
}

TEST(StageRecordWriter, BlockListRowByRow) {
    CRKeditDoc doc;
    doc.graphicWidth = "45";  // 3 columns of 15
    doc.graphicHeight = "24"; // 2 rows of 12
    doc.cell(0, 0) = 1;
    doc.cell(2, 1) = 4;
    doc.cell(3, 0) = 7; // outside the stage: not written
    EXPECT_EQ(writtenValue(doc, "block"), "1,0,0,0,0,4,");

    doc.cell(1, 0) = -3; // kinds outside 0..8 are written as they are
    doc.cell(0, 1) = 1234;
    EXPECT_EQ(writtenValue(doc, "block"), "1,-3,0,1234,0,4,");

    doc.graphicHeight = "0"; // no rows
    EXPECT_EQ(writtenValue(doc, "block"), "");
    doc.graphicHeight = "24";
    doc.blockWidth = "0"; // no columns can be computed
    EXPECT_EQ(writtenValue(doc, "block"), "");
}

TEST(StageRecordWriter, StageBeyondTheGridWritesZerosOutsideIt) {
    CRKeditDoc doc;
    doc.blockWidth = doc.blockHeight = "1";
    doc.graphicWidth = "102";
    doc.graphicHeight = "101";
    for (int x = 0; x < 100; ++x)
        for (int y = 0; y < 100; ++y)
            doc.cell(x, y) = 1 + (x + y) % 8;
    const std::string list = writtenValue(doc, "block");
    // 102 x 101 items, each closed by ",".
    ASSERT_EQ(std::count(list.begin(), list.end(), ','), 102 * 101);
    std::vector<std::string> items;
    for (std::size_t start = 0, comma; (comma = list.find(',', start)) != std::string::npos;
         start = comma + 1)
        items.push_back(list.substr(start, comma - start));
    for (int y = 0; y < 101; ++y)
        for (int x = 0; x < 102; ++x) {
            const std::string expected = x < 100 && y < 100 ? std::to_string(1 + (x + y) % 8) : "0";
            ASSERT_EQ(items[std::size_t(y * 102 + x)], expected) << x << "," << y;
        }
}

TEST(StageRecordWriter, AbsurdStageSizeIsCutAndReported) {
    CRKeditDoc doc;
    doc.blockWidth = doc.blockHeight = "1";
    doc.graphicWidth = "30000";
    doc.graphicHeight = "30000"; // 900 million cells: only the rows that meet the grid
    doc.cell(29, 99) = 5;
    std::string list = writtenValue(doc, "block");
    EXPECT_EQ(std::count(list.begin(), list.end(), ','), 30000 * 100);
    EXPECT_EQ(list.substr(2 * (99 * 30000 + 29), 2), "5,");
    EXPECT_EQ(keysThatWillNotReadBack(doc), std::vector<std::string>{"block"});

    doc.graphicWidth = "999999999"; // even the grid's rows are too many: no cell at all
    EXPECT_EQ(writtenValue(doc, "block"), "");
    EXPECT_EQ(keysThatWillNotReadBack(doc), std::vector<std::string>{"block"});
}

TEST(StageRecordWriter, KeysThatWillNotReadBack) {
    const struct {
        void (*set)(CRKeditDoc&);
        std::vector<std::string> keys;
    } rows[] = {
        {[](CRKeditDoc&) {}, {}},
        {[](CRKeditDoc& d) { d.title = "Tom & Jerry"; }, {"title"}},
        {[](CRKeditDoc& d) { d.quality = "high,low"; }, {"quality"}},
        {[](CRKeditDoc& d) { d.barSpace = "1\n5"; }, {"barSpace"}},
        {[](CRKeditDoc& d) { d.graphic1 = "a&b\\pic.JPG"; }, {}}, // only the leaf is written
        {[](CRKeditDoc& d) { d.graphic1 = "dir\\p,ic.JPG"; }, {"graphic1"}},
        {[](CRKeditDoc& d) { d.command = "say a,b\r\n"; }, {"command"}},
        {[](CRKeditDoc& d) { d.command = "say a&b\r\n"; }, {"command"}},
        {[](CRKeditDoc& d) { d.command = "one\ntwo\r\n"; }, {"command"}},
        {[](CRKeditDoc& d) { d.command = "one\r"; }, {"command"}},
        {[](CRKeditDoc& d) { d.command = "\r\n"; }, {"command"}}, // a lone empty line
        {[](CRKeditDoc& d) { d.command = "one\r\n\r\ntwo"; }, {}},
        {[](CRKeditDoc& d) { d.ballSpeedRate = "1"; }, {"ballSpeedRate"}}, // reads "100%"
        {[](CRKeditDoc& d) { d.ballSpeedRate = "75%"; }, {}},
        {[](CRKeditDoc& d) { d.barSpeedRate = "75%"; }, {"barSpeedRate"}}, // reads "AUTO"
        {[](CRKeditDoc& d) { d.barSpeedRate = " 50%"; }, {}},
        {[](CRKeditDoc& d) { d.edgeBack = 2; }, {"edgeBack"}},
        {[](CRKeditDoc& d) { d.bgcolorGame = 0xFFFFFFFF; }, {}},
        {[](CRKeditDoc& d) {
             d.graphicWidth = "15";
             d.graphicHeight = "12";
             d.cell(0, 0) = -1; // written "-1", read back as 1
         },
         {"block"}},
        {[](CRKeditDoc& d) { d.cell(0, 0) = -1; }, {}}, // not a stage cell: not written
        {[](CRKeditDoc& d) {
             d.life = "&";
             d.title = ",";
             d.quality = "&";
         },
         {"life", "title", "quality"}},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        CRKeditDoc doc;
        rows[i].set(doc);
        EXPECT_EQ(keysThatWillNotReadBack(doc), rows[i].keys) << "row " << i;
    }
}
