#include <gtest/gtest.h>

#include "host/filefault.h"
#include "host/message.h"

TEST(MessageTemplate, FillsEachPlaceOnceAndLeavesArgumentsAsTheyAre) {
    EXPECT_EQ(fillTemplate("%2 は %1 より前", {"a", "b"}), "b は a より前");
    // An argument that holds a place of its own is not filled again.
    EXPECT_EQ(fillTemplate("%1: %2", {"100%2.stage", "x"}), "100%2.stage: x");
    // A place with no argument, a lone "%" and "%0" stay as written.
    EXPECT_EQ(fillTemplate("%1 %3 100% %0 %", {"a"}), "a %3 100% %0 %");
    EXPECT_EQ(fillTemplate("", {"a"}), "");
}

TEST(MessageTemplate, EveryIdHasItsOwnJapaneseTextAndAMessageArgumentIsShownAsItsText) {
    for (std::size_t i = 0; i < messageIdCount; ++i) {
        const std::string_view text = messageTemplate(MessageId(i));
        EXPECT_FALSE(text.empty()) << i;
        for (std::size_t j = 0; j < i; ++j)
            EXPECT_NE(text, messageTemplate(MessageId(j))) << i << " and " << j;
    }
    EXPECT_TRUE(messageTemplate(MessageId(messageIdCount)).empty());
    EXPECT_EQ(messageText({MessageId::cannotOpenNamed, {"a.jpg", MessageId::faultNotJpeg}}),
              "ファイルをオープンできません。\na.jpg: JPEG ファイルではありません。");
    EXPECT_EQ(messageText({MessageId::cellLineEmpty, {"12"}}), "12 行目が空です。");
}
