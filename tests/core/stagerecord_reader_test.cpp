#include <gtest/gtest.h>

#include <cstdlib>

#include "host/filefault.h"
#include "recordinghost.h"
#include "stage/CRKeditDoc.h"
#include "stage/foregroundpicture.h"
#include "stage/stagefields.h"
#include "stage/stagerecord.h"

namespace {

// A folder that does not exist: no picture can be found beside the stage.
const std::string nowhere = "/nonexistent-rkedit-test-folder/stage.txt";
const std::string sampleFolderStage = RK_TEST_DATA_DIR "/../../res/sample/stage.txt";

CRKeditDoc read(std::string_view bytes) {
    return parseStageRecord(bytes);
}

// Opening's two steps: the record parsed, then the foreground picture beside `path` loaded.
struct Opened {
    CRKeditDoc doc;
    bool pictureLoaded = false;
};
Opened openBytes(std::string_view bytes, RecordingHost& host, const std::string& path) {
    Opened opened{parseStageRecord(bytes)};
    opened.pictureLoaded = loadForegroundPicture(opened.doc, path, host);
    return opened;
}

// Every member the record stores, for comparing whole documents.
void expectSameStoredMembers(const CRKeditDoc& a, const CRKeditDoc& b) {
    for (const StageField& f : stageFields()) {
        if (f.text) {
            EXPECT_EQ(a.*f.text, b.*f.text) << f.key;
        }
        if (f.flag) {
            EXPECT_EQ(a.*f.flag, b.*f.flag) << f.key;
        }
        if (f.colour) {
            EXPECT_EQ(a.*f.colour, b.*f.colour) << f.key;
        }
    }
    EXPECT_EQ(a.block, b.block);
}

} // namespace

TEST(StageRecordReader, NewRecordReadsBackAsANewDocument) {
    const CRKeditDoc fresh;
    const std::string record = writeStageRecord(fresh);
    CRKeditDoc doc = read(record);
    EXPECT_EQ(doc.version, "RK");
    doc.version.clear();
    expectSameStoredMembers(doc, fresh);
    EXPECT_EQ(doc.annotationPosition, "");
    EXPECT_EQ(doc.configFileName, "");
    // Parsing loads no picture.
    EXPECT_FALSE(doc.picturePending);
    EXPECT_TRUE(doc.picture.empty());

    // graphic1.JPG is not beside the file: the message once, no picture.
    RecordingHost host;
    const Opened opened = openBytes(record, host, nowhere);
    EXPECT_FALSE(opened.pictureLoaded);
    EXPECT_EQ(host.messages,
              std::vector<std::string>{messageText(cannotOpenMessage(
                  foregroundPicturePath(opened.doc, nowhere), FileFault::notFound))});
    EXPECT_FALSE(opened.doc.picturePending);
    EXPECT_TRUE(opened.doc.picture.empty());
}

TEST(StageRecordReader, RoundTripKeepsEveryStoredMember) {
    CRKeditDoc doc;
    doc.graphicWidth = "640";
    doc.graphicHeight = "480";
    doc.graphic1 = "pic.JPG";
    doc.graphic2 = "\x83\x5c\x83\x74\x83\x67.JPG"; // CP932 with a "\" trail byte
    doc.minRadian = "3";
    doc.ballSize = "0";
    doc.blockWidth = "7";
    doc.blockHeight = "9";
    doc.ballSpeedRate = " 25%";
    doc.barSpeedRate = "150%";
    doc.keyboardMode = 1;
    doc.soundMode = 0;
    doc.rankingEnable = 1;
    doc.bgcolorGame = 0xFF8000;
    doc.bgcolorHtml = 0x80000000; // beyond a 32-bit long; still read back
    doc.title = "\x83\x54\x83\x93\x83\x76\x83\x8B";
    doc.quality = "medium";
    doc.command = "OnHit\r\n\r\nplay 1\r\n";
    for (int x = 0; x < doc.columns(); ++x)
        for (int y = 0; y < doc.rows(); ++y)
            doc.cell(x, y) = (x * 7 + y * 3) % 9;
    doc.cell(91, 53) = 120; // last cell of the 92 x 54 stage
    ASSERT_TRUE(keysThatWillNotReadBack(doc).empty());

    const std::string record = writeStageRecord(doc);
    CRKeditDoc back = read(record);
    EXPECT_EQ(back.version, "RK");
    back.version = doc.version;
    expectSameStoredMembers(back, doc);
    EXPECT_EQ(writeStageRecord(back), record);
}

TEST(StageRecordReader, ScalarValues) {
    const struct {
        const char* record;
        std::string CRKeditDoc::*member;
        const char* value;
    } texts[] = {
        {"ballSpeedRate=0.25", &CRKeditDoc::ballSpeedRate, " 25%"},
        {"ballSpeedRate=0.50", &CRKeditDoc::ballSpeedRate, " 50%"},
        {"ballSpeedRate=1", &CRKeditDoc::ballSpeedRate, "100%"},
        {"ballSpeedRate=1.5", &CRKeditDoc::ballSpeedRate, "150%"},
        {"ballSpeedRate=2.0", &CRKeditDoc::ballSpeedRate, "200%"},
        {"ballSpeedRate=0.5", &CRKeditDoc::ballSpeedRate, "0.5"},
        {"ballSpeedRate=75%", &CRKeditDoc::ballSpeedRate, "75%"},
        {"ballSpeedRate=", &CRKeditDoc::ballSpeedRate, ""},
        {"barSpeedRate=0.25", &CRKeditDoc::barSpeedRate, " 25%"},
        {"barSpeedRate=2.0", &CRKeditDoc::barSpeedRate, "200%"},
        {"barSpeedRate=0", &CRKeditDoc::barSpeedRate, "AUTO"},
        {"barSpeedRate=0.75", &CRKeditDoc::barSpeedRate, "AUTO"},
        {"barSpeedRate=1.50", &CRKeditDoc::barSpeedRate, "AUTO"},
        {"version=XY", &CRKeditDoc::version, "XY"},
        {"graphicWidth= 64 0", &CRKeditDoc::graphicWidth, " 64 0"},
        {"title=a=b", &CRKeditDoc::title, "a=b"}, // split at the first "="
        {"title=", &CRKeditDoc::title, ""},
        {"graphic1=C:\\pics\\a.JPG", &CRKeditDoc::graphic1, "C:\\pics\\a.JPG"},
        {"quality=low&quality=high", &CRKeditDoc::quality, "high"}, // the last one wins
        {"Quality=low", &CRKeditDoc::quality, ""},                  // case-sensitive keys
        {"quality =low", &CRKeditDoc::quality, ""},
        {"quality=a,b", &CRKeditDoc::quality, ""}, // a list under a scalar key is ignored
        {"=x&quality&quality=ok", &CRKeditDoc::quality, "ok"},
        {"life=9\r\nquality=late", &CRKeditDoc::quality, ""}, // only the first line counts
        {"life=9\nquality=late", &CRKeditDoc::quality, ""},
        {"life=9\rquality=late", &CRKeditDoc::quality, ""},
        {"life=9\r\nquality=late", &CRKeditDoc::life, "9"},
    };
    for (const auto& r : texts)
        EXPECT_EQ(read(r.record).*r.member, r.value) << r.record;

    const struct {
        const char* record;
        std::int32_t keyboardMode;
    } flags[] = {
        {"keyboardMode=true", 1},  {"keyboardMode=TRUE", 0}, {"keyboardMode=1", 0},
        {"keyboardMode=true ", 0}, {"keyboardMode=", 0},     {"keyboardMode=false", 0},
    };
    for (const auto& r : flags)
        EXPECT_EQ(read(r.record).keyboardMode, r.keyboardMode) << r.record;
    EXPECT_EQ(read("soundMode=false").soundMode, 0);
    EXPECT_EQ(read("soundMode=yes").soundMode, 0);
    EXPECT_EQ(read("").soundMode, 1); // absent keys keep their defaults
}

TEST(StageRecordReader, ColoursReadAsBase16StrtolWould) {
    const char* const values[] = {
        "ff8000",
        "FF",
        "0",
        "",
        "0x1A",
        "0X1a",
        "0x",
        "0xg",
        "  \t12",
        "+7f",
        "-1",
        "-0x10",
        "12zz",
        "zz",
        "ffffffff",
        "100000000",
        "7fffffffffffffff",
        "8000000000000000",
        "-8000000000000000",
        "-8000000000000001",
        "123456789abcdef0123",
        "- 5",
        "\v\f1",
    };
    for (const char* v : values) {
        const long expected = std::strtol(v, nullptr, 16);
        const CRKeditDoc doc = read(std::string("bgcolorGame=") + v + "&bgcolorHtml=" + v);
        EXPECT_EQ(doc.bgcolorGame, static_cast<std::uint32_t>(expected)) << '"' << v << '"';
        EXPECT_EQ(doc.bgcolorHtml, doc.bgcolorGame) << '"' << v << '"';
    }
    EXPECT_EQ(read("bgcolorGame=ff8000").bgcolorGame, 0xFF8000u);
}

TEST(StageRecordReader, BlockLists) {
    const struct {
        const char* record;
        std::vector<std::tuple<int, int, std::int32_t>> cells; // every non-zero cell
    } rows[] = {
        {"graphicWidth=45&blockWidth=15&block=1,0,0,0,0,4,", {{0, 0, 1}, {2, 1, 4}}},
        {"graphicWidth=15&block=3,5,", {{0, 0, 3}, {0, 1, 5}}}, // one column
        {"graphicWidth=15&block=3,5", {{0, 0, 3}, {0, 1, 5}}},  // no final ","
        {"graphicWidth=30&block=12x,-1,,7,", {{0, 0, 120}, {1, 0, 1}, {1, 1, 7}}},
        {"graphicWidth=30&block=,", {}},
        {"graphicWidth=30&block=9", {}},                 // a single value is no list
        {"block=1,2,&graphicWidth=30", {}},              // width not read yet
        {"graphicWidth=0&block=1,2,", {}},               // no columns
        {"graphicWidth=30&blockWidth=0&block=1,2,", {}}, // no columns can be computed
        {"graphicWidth=30&blockWidth=a&block=1,2,", {}},
        {"graphicWidth=30&block=1,2,&block=,3,", {{1, 0, 3}}}, // a later list overlays
        // The empty text after a final "," is no item: it must not clear (0, 2).
        {"graphicWidth=15&block=1,2,3,&block=9,9,", {{0, 0, 9}, {0, 1, 9}, {0, 2, 3}}},
        // Height settings are not consulted: rows go on as far as the list.
        {"graphicWidth=15&graphicHeight=0&block=0,0,0,8,", {{0, 3, 8}}},
    };
    for (const auto& r : rows) {
        const CRKeditDoc doc = read(r.record);
        CRKeditDoc expected;
        for (const auto& [x, y, kind] : r.cells)
            expected.cell(x, y) = kind;
        EXPECT_EQ(doc.block, expected.block) << r.record;
    }
}

TEST(StageRecordReader, BlockListBeyondTheGridIsSkipped) {
    // 150 columns: items of columns 100..149 have no cell; rows below 99 neither.
    std::string list;
    for (int y = 0; y < 102; ++y)
        for (int x = 0; x < 150; ++x)
            list += std::to_string(x < 100 && y < 100 ? 1 + (x * 31 + y) % 8 : 9) + ",";
    const CRKeditDoc doc = read("blockWidth=1&graphicWidth=150&block=" + list);
    for (int x = 0; x < 100; ++x)
        for (int y = 0; y < 100; ++y)
            ASSERT_EQ(doc.cell(x, y), 1 + (x * 31 + y) % 8) << x << "," << y;

    // One column: items beyond row 99 have no cell.
    std::string tall;
    for (int k = 0; k < 250; ++k)
        tall += "2,";
    const CRKeditDoc one = read("graphicWidth=1&blockWidth=1&block=" + tall);
    EXPECT_EQ(one.cell(0, 99), 2);
    EXPECT_EQ(one.cell(1, 0), 0);
}

TEST(StageRecordReader, ScriptLists) {
    const struct {
        const char* record;
        const char* command;
    } rows[] = {
        {"command=OnHit", "OnHit\r\n"},
        {"command=OnHit,play", "OnHit\r\nplay\r\n"},
        {"command=a,,b,", "a\r\n\r\nb\r\n\r\n"},
        {"command=", ""},
        {"command=,", "\r\n\r\n"},
        {"command=a&command=b,c", "a\r\nb\r\nc\r\n"}, // appended, not replaced
        {"graphicWidth=0&block=1,2,&command=x,y", "x\r\ny\r\n"},
        {"command=\x83\x5c,\x82\xa0", "\x83\x5c\r\n\x82\xa0\r\n"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(read(r.record).command, r.command) << r.record;
}

TEST(StageRecordReader, ForegroundPictureBesideTheStageFile) {
    RecordingHost host;
    Opened opened =
        openBytes("graphicWidth=640&graphic1=sample.JPG&title=t", host, sampleFolderStage);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(opened.pictureLoaded);
    EXPECT_TRUE(opened.doc.picturePending);
    ASSERT_FALSE(opened.doc.picture.empty());
    EXPECT_EQ(opened.doc.graphicWidth, "640");

    // A full path is still appended to the stage's folder: no file there, settings read.
    for (const char* full : {"graphic1=C:\\rk\\sample.JPG", "graphic1=/res/sample/sample.JPG"}) {
        RecordingHost failing;
        opened = openBytes(std::string(full) + "&title=t&block=1,", failing, sampleFolderStage);
        EXPECT_EQ(failing.messages,
                  std::vector<std::string>{messageText(cannotOpenMessage(
                      foregroundPicturePath(opened.doc, sampleFolderStage), FileFault::notFound))});
        EXPECT_FALSE(opened.pictureLoaded);
        EXPECT_FALSE(opened.doc.picturePending);
        EXPECT_TRUE(opened.doc.picture.empty());
        EXPECT_EQ(opened.doc.title, "t");
    }

    // A NUL byte would cut the name to "sample.JPG", which exists: it must not be opened.
    RecordingHost nul;
    opened = openBytes(std::string_view("graphic1=sample.JPG\0.x", 22), nul, sampleFolderStage);
    EXPECT_EQ(nul.messages.size(), 1u);
    EXPECT_FALSE(opened.pictureLoaded);
    EXPECT_TRUE(opened.doc.picture.empty());
    EXPECT_EQ(opened.doc.graphic1.size(), 13u);

    // A stage path without any folder looks in the current directory.
    RecordingHost bare;
    EXPECT_FALSE(openBytes("graphic1=no-such-picture-here.JPG", bare, "stage.txt").pictureLoaded);
    EXPECT_EQ(bare.messages.size(), 1u);
}

// A picture that cannot be loaded leaves the picture the document had: the two steps are
// separate, so a caller may load into a document that already shows one.
TEST(StageRecordReader, FailedPictureLoadKeepsThePictureHeld) {
    RecordingHost host;
    Opened opened = openBytes("graphic1=sample.JPG", host, sampleFolderStage);
    ASSERT_TRUE(opened.pictureLoaded);
    const PictureHolder before = opened.doc.picture;
    opened.doc.picturePending = false;
    opened.doc.graphic1 = "missing.JPG";
    EXPECT_FALSE(loadForegroundPicture(opened.doc, sampleFolderStage, host));
    EXPECT_EQ(opened.doc.picture.block, before.block);
    EXPECT_FALSE(opened.doc.picturePending);
    EXPECT_EQ(host.messages.size(), 1u);
}
