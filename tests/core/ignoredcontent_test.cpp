// Reading says what of a stage file the document does not hold, so that nothing is dropped
// by an open and a save without the user hearing of it.
#include <gtest/gtest.h>

#include <string>

#include "stage/CRKeditDoc.h"
#include "stage/ignoredcontent.h"
#include "stage/stagerecord.h"

namespace {

struct Expected {
    std::int64_t cells = 0;
    std::vector<std::string> unknown;
    std::vector<std::string> unread;
    std::int64_t lines = 0;
};

TEST(IgnoredContent, ReadingSaysWhatTheDocumentDoesNotHold) {
    const struct {
        std::string bytes;
        Expected expected;
    } rows[] = {
        // A record as the writer writes it leaves nothing out.
        {writeStageRecord(CRKeditDoc{}), {}},
        {writeStageRecord(CRKeditDoc{}) + "\r\n", {}},
        {"version=RK&title=a&", {}},
        // Lines after the first: those holding anything, whatever ends them.
        {"version=RK&\r\nsecond\nthird\r\n\r\n", {0, {}, {}, 2}},
        {"version=RK&\n\n\r\r", {}},
        // Keys the record does not have, each once, and pairs without a key.
        {"version=RK&colour=red&title=a&colour=blue&&=x&junk&", {0, {"colour", "", "junk"}, {}, 0}},
        // A list under a key that holds one value; one value under the block list.
        {"title=a,b&life=1,2&block=5&block=&", {0, {}, {"title", "life", "block"}, 0}},
        // The script and the block list take lists.
        {"graphicWidth=30&command=a,b&block=1,2,", {}},
        // Blocks with no cell: beyond the 100 columns, below row 99, or before the width.
        {"block=1,0,2,&graphicWidth=30", {2, {}, {}, 0}},
    };
    for (const auto& r : rows) {
        IgnoredContent ignored;
        parseStageRecord(r.bytes, ignored);
        EXPECT_EQ(ignored.cellsBeyondGrid, r.expected.cells) << r.bytes;
        EXPECT_EQ(ignored.unknownKeys, r.expected.unknown) << r.bytes;
        EXPECT_EQ(ignored.unreadValues, r.expected.unread) << r.bytes;
        EXPECT_EQ(ignored.extraLines, r.expected.lines) << r.bytes;
        EXPECT_EQ(ignored.empty(), r.expected.cells == 0 && r.expected.unknown.empty() &&
                                       r.expected.unread.empty() && r.expected.lines == 0)
            << r.bytes;
    }
}

TEST(IgnoredContent, BlocksOutsideTheGridAreCountedAndEmptyCellsThereAreNot) {
    // 150 columns, 102 rows: columns 100..149 and rows 100, 101 have no cell. Every third
    // item there holds a block.
    std::string list;
    std::int64_t outside = 0;
    for (int y = 0; y < 102; ++y)
        for (int x = 0; x < 150; ++x) {
            const bool beyond = x >= 100 || y >= 100;
            const bool block = (x + y) % 3 == 0;
            list += beyond && block ? "7," : (beyond ? "0," : "1,");
            outside += beyond && block;
        }
    IgnoredContent ignored;
    const CRKeditDoc doc = parseStageRecord("blockWidth=1&graphicWidth=150&block=" + list, ignored);
    EXPECT_EQ(ignored.cellsBeyondGrid, outside);
    EXPECT_EQ(doc.cell(99, 99), 1);
    // The same as the reading without a report.
    EXPECT_EQ(doc.block, parseStageRecord("blockWidth=1&graphicWidth=150&block=" + list).block);
    // Saved and read again, nothing is left out: the cells outside the grid are written empty.
    const std::string full = writeStageRecord(doc);
    parseStageRecord(full, ignored);
    EXPECT_TRUE(ignored.empty());
}

} // namespace
