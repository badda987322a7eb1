#include <gtest/gtest.h>

#include "text/cp932.h"
#include "text/stagepath.h"
#include "text/utf8.h"

TEST(Cp932, ConvertsBothWaysAndRefusesInvalidText) {
    const struct {
        const char* cp932;
        const char* utf8;
    } rows[] = {
        {"abc\\~", "abc\\~"},                   // 0x5C stays a backslash, 0x7E a tilde
        {"\x83\x5c\x83\x74\x83\x67", "ソフト"}, // trail byte 0x5C
        {"\x87\x40", "①"},                      // NEC extension
        {"\xb1\xba", "ｱｺ"},                     // half-width katakana
        {"\x82\xa0\x88\x9f", "あ亜"},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(cp932ToUtf8(r.cp932), std::optional<std::string>(r.utf8)) << r.utf8;
        EXPECT_EQ(utf8ToCp932(r.utf8), std::optional<std::string>(r.cp932)) << r.utf8;
        EXPECT_EQ(cp932ToUtf8Lossy(r.cp932), r.utf8);
    }
    EXPECT_EQ(cp932ToUtf8("a\x81"), std::nullopt);    // cut after a lead byte
    EXPECT_EQ(cp932ToUtf8("\x81\x20"), std::nullopt); // no trail byte
    EXPECT_EQ(cp932ToUtf8("\xff"), std::nullopt);
    EXPECT_EQ(utf8ToCp932("\xe2\x82"), std::nullopt); // broken UTF-8
    EXPECT_EQ(utf8ToCp932("😀"), std::nullopt);        // no CP932 form
}

TEST(Cp932, InvalidBytesAreMarkedOrKept) {
    const struct {
        const char* cp932;
        const char* lossy;
        const char* kept;
    } rows[] = {
        {"a\x81", "a\xEF\xBF\xBD", "a\x81"},
        {"\x81\x20x", "\xEF\xBF\xBD x", "\x81 x"}, // the blank after a broken lead survives
        {"\xff\x82\xa0\xfd",
         "\xEF\xBF\xBD"
         "あ\xEF\xBF\xBD",
         "\xff"
         "あ\xfd"},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(cp932ToUtf8Lossy(r.cp932), r.lossy);
        EXPECT_EQ(cp932ToUtf8KeepingInvalid(r.cp932), r.kept);
    }
}

TEST(StagePath, LeafNameFolderAndFileSystemPath) {
    const struct {
        const char* text;
        const char* leaf;
    } leaves[] = {
        {"C:\\stage\\pic.JPG", "pic.JPG"},
        {"pic.JPG", "pic.JPG"},
        {"/home/u/pic.JPG", "pic.JPG"},
        {"a\\b/c.JPG", "c.JPG"},
        {"\\pic.JPG", "\\pic.JPG"}, // a separator at the first byte does not count
        {"dir\\", "dir\\"},         // nor at the last
        {"d\\x", "x"},
        {"", ""},
        {"\x83\x5c.JPG", "\x83\x5c.JPG"},            // "ソ": its 0x5C is no separator
        {"a\\\x83\x5c\x83\x5c", "\x83\x5c\x83\x5c"}, // ... even at the end
        {"\x81/x", "x"},                             // "/" is never a trail byte
        {"\xfd\\x", "x"},                            // 0xFD leads no character
        // Both ends of both lead-byte ranges keep a "\\" trail byte; the bytes beside them
        // lead no character, so a "\\" after them is a separator.
        {"d\\\x81\x5c.JPG", "\x81\x5c.JPG"},
        {"d\\\x9f\x5c.JPG", "\x9f\x5c.JPG"},
        {"d\\\xe0\x5c.JPG", "\xe0\x5c.JPG"},
        {"d\\\xfc\x5c.JPG", "\xfc\x5c.JPG"},
        {"d\\\x80\\x.JPG", "x.JPG"},
        {"d\\\xa0\\x.JPG", "x.JPG"},
        {"d\\\xdf\\x.JPG", "x.JPG"},
    };
    for (const auto& r : leaves)
        EXPECT_EQ(leafName(r.text), r.leaf) << r.text;

    EXPECT_EQ(folderOf("/home/u/stage.txt"), "/home/u/");
    EXPECT_EQ(folderOf("stage.txt"), "");
    EXPECT_EQ(folderOf("/stage.txt"), "/");
    // The stage file's own path is a path of this file system, where "\\" is an ordinary
    // character of a name: a stage file "a\\b.stage" lies in the current folder.
    EXPECT_EQ(folderOf("a\\b.stage"), "");
    EXPECT_EQ(folderOf("/home/u/x\\y/s\\t.stage"), "/home/u/x\\y/");
    EXPECT_EQ(folderOf("/home/ソフト/s.txt"), "/home/ソフト/");

    EXPECT_EQ(toFileSystemPath("pic.JPG"), "pic.JPG");
    EXPECT_EQ(toFileSystemPath("sub\\pic.JPG"), "sub/pic.JPG");
    EXPECT_EQ(toFileSystemPath("\x83\x5c\x83\x74\x83\x67\\\x89\xe6.JPG"), "ソフト/画.JPG");
    EXPECT_EQ(toFileSystemPath("bad\xff.JPG"), "bad\xff.JPG");
    // A folder whose name ends in a character led by 0x9F keeps its folder part.
    EXPECT_EQ(toFileSystemPath("\x9f\x5c\\pic.JPG"), "歃/pic.JPG");
}

TEST(Utf8, WellFormedTextOnly) {
    struct Row {
        const char* text;
        bool valid;
    };
    const Row rows[] = {
        {"", true},
        {"plain", true},
        {"ステージ1", true},
        {"\xF0\x9F\x98\x80", true}, // U+1F600, four bytes
        {"\xF4\x8F\xBF\xBF", true}, // U+10FFFF, the last
        {"ab\xFF"
         "cd",
         false},             // never a UTF-8 byte
        {"\x80", false},     // a continuation byte alone
        {"\xE3\x81", false}, // cut short
        {"\xE3\x81"
         "a",
         false},                     // cut short before ASCII
        {"\xC0\xAF", false},         // overlong "/"
        {"\xE0\x80\xAF", false},     // overlong, three bytes
        {"\xED\xA0\x80", false},     // a surrogate
        {"\xF4\x90\x80\x80", false}, // above U+10FFFF
    };
    for (const Row& r : rows)
        EXPECT_EQ(isValidUtf8(r.text), r.valid) << r.text;
}
