// Undo steps as differences: every kind of edit, undone and redone, gives back the stage
// byte for byte, and a whole-grid toggle stays small.
#include <gtest/gtest.h>

#include <functional>

#include "stage/CRKeditDoc.h"
#include "stage/griddelta.h"
#include "stage/stagechange.h"
#include "stage/stagerecord.h"

namespace {

std::string record(const CRKeditDoc& doc) {
    // The export values the record does not hold are compared as well.
    return writeStageRecord(doc) + "|" + doc.configFileName + "|" + doc.annotationPosition;
}

// A 100 x 100 stage with blocks of every kind and some codes no tool gives.
CRKeditDoc busyStage() {
    CRKeditDoc doc;
    doc.graphicWidth = "1500";
    doc.graphicHeight = "1200";
    for (int x = 0; x < CRKeditDoc::gridSize; ++x)
        for (int y = 0; y < CRKeditDoc::gridSize; ++y)
            doc.cell(x, y) = (x * 7 + y * 3) % 5 == 0 ? 1 : 0;
    doc.cell(3, 4) = 4;
    doc.cell(10, 10) = 8;
    doc.cell(50, 60) = -1;
    doc.cell(99, 99) = 120;
    doc.command = "OnHit\r\nplay\r\n";
    return doc;
}

void toggle(CRKeditDoc& doc, int x0, int y0, int x1, int y1) {
    for (int x = x0; x <= x1; ++x)
        for (int y = y0; y <= y1; ++y)
            doc.cell(x, y) = doc.cell(x, y) == 0 ? 1 : 0;
}

TEST(StageChange, UndoAndRedoGiveBackEveryEditByteForByte) {
    const struct Row {
        const char* name;
        std::function<void(CRKeditDoc&)> edit;
    } rows[] = {
        {"one cell", [](CRKeditDoc& d) { toggle(d, 5, 3, 5, 3); }},
        {"rectangle over odd kinds", [](CRKeditDoc& d) { toggle(d, 2, 2, 60, 70); }},
        {"whole grid", [](CRKeditDoc& d) { toggle(d, 0, 0, 99, 99); }},
        {"corner cell of kind 120", [](CRKeditDoc& d) { toggle(d, 99, 99, 99, 99); }},
        {"grid clear with new block size",
         [](CRKeditDoc& d) {
             for (int x = 0; x <= 75; ++x)
                 for (int y = 0; y <= 99; ++y)
                     d.cell(x, y) = 0;
             d.blockWidth = "20";
         }},
        {"settings, flags and rates",
         [](CRKeditDoc& d) {
             d.ballSize = "12";
             d.graphic1 = "夜.JPG";
             d.keyboardMode = 1;
             d.soundMode = 0;
             d.ballSpeedRate = " 25%";
         }},
        {"script", [](CRKeditDoc& d) { d.command = "OnStart\r\n"; }},
        {"export values",
         [](CRKeditDoc& d) {
             d.title = "ステージ";
             d.quality = "low";
             d.bgcolorGame = 0xff8000;
             d.bgcolorHtml = 0x123456;
             d.configFileName = "s1.txt";
             d.annotationPosition = "bottom";
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CRKeditDoc doc = busyStage();
        const CRKeditDoc before = doc;
        row.edit(doc);
        const std::string edited = record(doc);
        ASSERT_NE(edited, record(before));

        const StageChange change = StageChange::between(before, doc);
        ASSERT_FALSE(change.empty());
        change.apply(doc, false);
        EXPECT_EQ(record(doc), record(before));
        EXPECT_EQ(doc.block, before.block);
        change.apply(doc, true);
        EXPECT_EQ(record(doc), edited);
        // Twice in a row changes nothing more.
        change.apply(doc, true);
        EXPECT_EQ(record(doc), edited);
    }
}

TEST(StageChange, NothingChangedIsEmptyAndThePictureIsNoEdit) {
    CRKeditDoc doc = busyStage();
    CRKeditDoc same = doc;
    same.picturePending = true;
    EXPECT_TRUE(StageChange::between(doc, same).empty());
    EXPECT_TRUE(GridDelta::between(doc.block, same.block).empty());
}

TEST(StageChange, StepsUndoneInReverseOrderRestoreEachState) {
    CRKeditDoc doc = busyStage();
    std::vector<std::string> states{record(doc)};
    std::vector<StageChange> steps;
    const std::function<void(CRKeditDoc&)> edits[] = {
        [](CRKeditDoc& d) { toggle(d, 0, 0, 99, 99); },
        [](CRKeditDoc& d) { toggle(d, 40, 40, 45, 50); },
        [](CRKeditDoc& d) { d.life = "9"; },
        [](CRKeditDoc& d) { toggle(d, 0, 0, 99, 99); },
    };
    for (const auto& edit : edits) {
        const CRKeditDoc before = doc;
        edit(doc);
        steps.push_back(StageChange::between(before, doc));
        states.push_back(record(doc));
    }
    for (std::size_t i = steps.size(); i-- > 0;) {
        steps[i].apply(doc, false);
        EXPECT_EQ(record(doc), states[i]) << i;
    }
    for (std::size_t i = 0; i < steps.size(); ++i) {
        steps[i].apply(doc, true);
        EXPECT_EQ(record(doc), states[i + 1]) << i;
    }
}

TEST(StageChange, AWholeGridToggleTakesTwoBitsACell) {
    CRKeditDoc doc;
    for (int x = 0; x < CRKeditDoc::gridSize; ++x)
        for (int y = 0; y < CRKeditDoc::gridSize; ++y)
            doc.cell(x, y) = (x + y) % 3 == 0;
    const CRKeditDoc before = doc;
    toggle(doc, 0, 0, 99, 99);
    const GridDelta delta = GridDelta::between(before.block, doc.block);
    EXPECT_EQ(delta.changedCells(), 10'000);
    // Two planes of 10 000 bits, rounded up to whole 64-bit words.
    EXPECT_EQ(delta.memoryBytes(), 2u * 157u * 8u);
    EXPECT_EQ(StageChange::between(before, doc).memoryBytes(), delta.memoryBytes());

    // A small drag costs only its box.
    CRKeditDoc small = before;
    toggle(small, 10, 10, 12, 11);
    EXPECT_EQ(GridDelta::between(before.block, small.block).memoryBytes(), 2u * 8u);
}

} // namespace
