// Recovery copies are checked before they are offered as the stage they were meant to keep.
#include <gtest/gtest.h>

#include <string>

#include "stage/CRKeditDoc.h"
#include "stage/recordcheck.h"
#include "stage/stagerecord.h"

namespace {

TEST(RecordCheck, OnlyAWholeRecordAsWrittenIsComplete) {
    CRKeditDoc doc;
    const std::string record = writeStageRecord(doc);
    ASSERT_EQ(checkRecord(record), RecordCheck::complete);
    EXPECT_EQ(checkRecord(record + "\r\nanother line"), RecordCheck::complete);

    EXPECT_EQ(checkRecord(""), RecordCheck::empty);
    // Cut anywhere but after a closing "&": unfinished; after one: keys missing.
    for (std::size_t keep = 1; keep < record.size(); ++keep) {
        const RecordCheck check = checkRecord(record.substr(0, keep));
        if (record[keep - 1] == '&')
            EXPECT_EQ(check, RecordCheck::keysMissing) << keep;
        else
            EXPECT_EQ(check, RecordCheck::unfinished) << keep;
    }
    // A line end inside the record cuts it there.
    std::string broken = record;
    broken.insert(record.find("title="), "\n");
    EXPECT_EQ(checkRecord(broken), RecordCheck::keysMissing);
    // A key left out, even with the rest closed.
    std::string noTitle = record;
    const std::size_t title = noTitle.find("&title=") + 1;
    noTitle.erase(title, noTitle.find('&', title) + 1 - title);
    EXPECT_EQ(checkRecord(noTitle), RecordCheck::keysMissing);
}

} // namespace
