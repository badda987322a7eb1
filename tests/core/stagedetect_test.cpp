#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "host/filefault.h"
#include "stage/stagedetect.h"

namespace {

TEST(StageDetect, WhatOpensAsAStage) {
    struct Row {
        const char* what;
        std::string bytes;
        StageBytes expected;
    };
    const Row rows[] = {
        {"no byte", "", StageBytes::empty},
        {"the editor's record", "version=RK&graphic1=a.JPG&title=t&", StageBytes::stage},
        {"one known pair", "title=x&", StageBytes::stage},
        {"known pair after unknown ones", "foo=1&bar=2&block=1,2,", StageBytes::stage},
        {"last pair without &", "graphicWidth=640", StageBytes::stage},
        {"record then other lines", "title=t&\r\n\x89PNG\x00\x01", StageBytes::stage},
        {"empty value", "title=&", StageBytes::stage},
        {"PNG signature", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), StageBytes::notStage},
        {"JPEG start", std::string("\xFF\xD8\xFF\xE0\0\x10JFIF\0", 11), StageBytes::notStage},
        {"plain text", "hello world\n", StageBytes::notStage},
        {"only a line end", "\n", StageBytes::notStage},
        {"unknown keys only", "foo=1&bar=2&", StageBytes::notStage},
        {"key differs in case", "Title=t&VERSION=RK&", StageBytes::notStage},
        {"key without =", "title&version&", StageBytes::notStage},
        {"= without key", "=title&", StageBytes::notStage},
        {"key on the second line only", "garbage\ntitle=t&", StageBytes::notStage},
        {"key after a CR", "garbage\rtitle=t&", StageBytes::notStage},
        {"key with spaces", " title=t&", StageBytes::notStage},
        {"NUL bytes", std::string(64, '\0'), StageBytes::notStage},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(classifyStageBytes(r.bytes), r.expected);
    }
}

TEST(FileFaultMessage, FirstLineAsEverThenTheFileAndTheReason) {
    EXPECT_EQ(messageText(cannotOpenMessage("/home/a/絵.png", FileFault::notStage)),
              "ファイルをオープンできません。\n/home/a/絵.png: ステージファイルではありません。");
    // Every reason is its own sentence, and none is empty.
    const FileFault all[] = {FileFault::notFound,       FileFault::noPermission,
                             FileFault::isFolder,       FileFault::notRegularFile,
                             FileFault::fileTooLarge,   FileFault::notJpeg,
                             FileFault::damagedPicture, FileFault::pictureTooLarge,
                             FileFault::notStage,       FileFault::readError};
    for (FileFault a : all) {
        EXPECT_TRUE(fileFaultText(a).ends_with("。"));
        for (FileFault b : all)
            if (a != b) {
                EXPECT_NE(fileFaultText(a), fileFaultText(b));
            }
    }
}

TEST(FileFaultMessage, ReasonsFromTheSystem) {
    EXPECT_EQ(fileFaultFromErrno(ENOENT), FileFault::notFound);
    EXPECT_EQ(fileFaultFromErrno(ENOTDIR), FileFault::notFound);
    EXPECT_EQ(fileFaultFromErrno(EACCES), FileFault::noPermission);
    EXPECT_EQ(fileFaultFromErrno(EISDIR), FileFault::isFolder);
    EXPECT_EQ(fileFaultFromErrno(EIO), FileFault::readError);
}

} // namespace
