// Blocks of cells: the clipboard's text and binary forms, flips, and pasting and shifting
// them on a stage through the cell writer.
#include <gtest/gtest.h>

#include <string>

#include "stage/CRKeditDoc.h"
#include "stage/cellblock.h"
#include "stage/cellwriter.h"

namespace {
CellBlock block(int w, int h, std::initializer_list<CellCode> codes) {
    CellBlock b(w, h);
    auto it = codes.begin();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.at(x, y) = *it++;
    return b;
}

CRKeditDoc stage(int columns, int rows) {
    CRKeditDoc doc;
    doc.graphicWidth = std::to_string(columns * 10);
    doc.graphicHeight = std::to_string(rows * 10);
    doc.blockWidth = doc.blockHeight = "10";
    return doc;
}
} // namespace

TEST(CellBlockText, WritesAndReadsTheForm) {
    const CellBlock b = block(3, 2, {1, 0, 4, 2, 6, 8});
    EXPECT_EQ(b.toText(), "1,0,4\n2,6,8\n");
    const struct {
        const char* text;
        CellBlock want;
    } good[] = {
        {"1,0,4\n2,6,8\n", b},
        {"1,0,4\n2,6,8", b},              // no final line end
        {" 1 , 0,4 \r\n\t2,6 ,8\r\n", b}, // spaces, tabs and CR LF
        {"-2147483648,2147483647\n", block(2, 1, {INT32_MIN, INT32_MAX})},
        {"7", block(1, 1, {7})},
        {"007\n", block(1, 1, {7})},
    };
    for (const auto& g : good) {
        Message error;
        const auto read = CellBlock::fromText(g.text, &error);
        ASSERT_TRUE(read) << g.text << ": " << messageText(error);
        EXPECT_EQ(*read, g.want) << g.text;
    }
}

TEST(CellBlockText, RefusesAnythingElseAndSaysWhy) {
    std::string wide, tall;
    for (int i = 0; i < 101; ++i)
        wide += i ? ",0" : "0";
    for (int i = 0; i < 101; ++i)
        tall += "0\n";
    // Each refusal names its reason and, where a line is at fault, that line's number.
    const struct {
        std::string text;
        MessageId why;
        int line; // 0: no line named
    } bad[] = {
        {"", MessageId::cellNone, 0},
        {"\n", MessageId::cellNone, 0},
        {"1,2\n3\n", MessageId::cellRowLength, 2},
        {"1,,2\n", MessageId::cellNotNumber, 1},
        {"1,2,\n", MessageId::cellNotNumber, 1},
        {"a,b\n", MessageId::cellNotNumber, 1},
        {"1;2\n", MessageId::cellNotNumber, 1},
        {"1.5\n", MessageId::cellNotNumber, 1},
        {"-\n", MessageId::cellNotNumber, 1},
        {"2147483648\n", MessageId::cellTooLarge, 1},
        {"+1\n", MessageId::cellNotNumber, 1},
        {"1\n\n2\n", MessageId::cellLineEmpty, 2},
        {"1 2\n", MessageId::cellNotNumber, 1},
        {"0\n-2147483649", MessageId::cellTooLarge, 2},
        {"\xff\n", MessageId::cellNotNumber, 1},
        {wide, MessageId::cellTooWide, 1},
        {"0\n0\n" + wide, MessageId::cellTooWide, 3},
        {tall, MessageId::cellTooTall, 0},
    };
    for (const auto& b : bad) {
        SCOPED_TRACE('"' + b.text.substr(0, 20) + '"');
        Message error;
        EXPECT_FALSE(CellBlock::fromText(b.text, &error));
        Message want{b.why, {}};
        if (b.line > 0)
            want.arguments.emplace_back(std::to_string(b.line));
        EXPECT_EQ(error, want);
    }
    // The Japanese text rkstage and the tests read: the line's number in its place.
    Message error;
    ASSERT_FALSE(CellBlock::fromText("0\n0\n" + wide, &error));
    EXPECT_EQ(messageText(error), "3 行目: 100 列を超えています。");
    // 100 x 100 is the limit, not beyond it.
    std::string full;
    for (int y = 0; y < 100; ++y)
        full += wide.substr(2) + "\n";
    EXPECT_TRUE(CellBlock::fromText(full));
}

TEST(CellBlockBytes, RoundTripAndRefusesOtherSizes) {
    const CellBlock b = block(2, 3, {1, -1, 0, 8, 257, INT32_MIN});
    const std::string bytes = b.toBytes();
    EXPECT_EQ(bytes.size(), 8u + 6 * 4);
    EXPECT_EQ(CellBlock::fromBytes(bytes), b);
    EXPECT_FALSE(CellBlock::fromBytes(bytes.substr(0, bytes.size() - 1)));
    EXPECT_FALSE(CellBlock::fromBytes(bytes + "x"));
    EXPECT_FALSE(CellBlock::fromBytes(std::string(8, '\0'))); // 0 x 0
    std::string huge = bytes;
    huge[0] = char(101);
    EXPECT_FALSE(CellBlock::fromBytes(huge));
}

TEST(CellBlock, FlipsAndTurns) {
    const CellBlock b = block(3, 2, {1, 2, 3, 4, 5, 6});
    EXPECT_EQ(b.flippedHorizontally(), block(3, 2, {3, 2, 1, 6, 5, 4}));
    EXPECT_EQ(b.flippedVertically(), block(3, 2, {4, 5, 6, 1, 2, 3}));
    EXPECT_EQ(b.rotated180(), block(3, 2, {6, 5, 4, 3, 2, 1}));
    EXPECT_EQ(b.rotated180().rotated180(), b);
}

TEST(CellWriterPaste, KeepsCellsUnderEmptyOnesAndCountsWhatFallsOff) {
    CRKeditDoc doc = stage(5, 4);
    doc.cell(1, 1) = 7;
    CellWriter w(doc);
    const CellBlock b = block(2, 2, {0, 3, 3, 3});
    int cut = -1;
    EXPECT_EQ(w.paste(b, 1, 1, false, &cut), (CellRect{1, 1, 2, 2}));
    EXPECT_EQ(cut, 0);
    EXPECT_EQ(doc.cell(1, 1), 7); // under an empty cell of the block
    EXPECT_EQ(doc.cell(2, 1), 3);
    w.paste(b, 1, 1, true, &cut);
    EXPECT_EQ(doc.cell(1, 1), 0); // with empty cells written too
    // At the stage's corner three of the four cells fall off; the block's empty cell lands
    // on the stage and is not written.
    w.paste(b, 4, 3, false, &cut);
    EXPECT_EQ(cut, 3);
    EXPECT_EQ(doc.cell(4, 3), 0);
    w.paste(b, 3, 2, false, &cut); // one empty cell falls off: not counted
    EXPECT_EQ(cut, 0);
    w.paste(block(2, 2, {9, 9, 9, 9}), 4, 3, false, &cut);
    EXPECT_EQ(cut, 3);
    EXPECT_EQ(doc.cell(4, 3), 9);
    EXPECT_TRUE(w.paste(b, INT32_MAX, INT32_MAX, true, &cut).empty()); // no wrap round
    EXPECT_EQ(cut, 4);
}

TEST(CellWriterShift, MovesTheWholeStageWithWrapAround) {
    CRKeditDoc doc = stage(4, 3);
    doc.cell(0, 0) = 1;
    doc.cell(3, 2) = 2;
    doc.cell(50, 50) = 5; // outside the stage: stays
    CellWriter w(doc);
    w.shift(-1, 0);
    EXPECT_EQ(doc.cell(3, 0), 1);
    EXPECT_EQ(doc.cell(2, 2), 2);
    w.shift(0, 1);
    EXPECT_EQ(doc.cell(3, 1), 1);
    EXPECT_EQ(doc.cell(2, 0), 2);
    w.shift(1, -1);
    EXPECT_EQ(doc.cell(0, 0), 1);
    EXPECT_EQ(doc.cell(3, 2), 2);
    EXPECT_EQ(doc.cell(50, 50), 5);
}
