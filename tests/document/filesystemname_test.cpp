// File names kept byte for byte through the editor's texts.
#include <QByteArray>
#include <QString>
#include <gtest/gtest.h>

#include "document/filesystemname.h"

namespace {

TEST(FileSystemName, EveryByteComesBackAndValidUtf8ReadsAsText) {
    const QByteArray names[] = {
        "plain.stage",
        "ステージ.stage",   // UTF-8
        "st\xff\xfe.stage", // bytes no UTF-8 holds
        "\x83"
        "X\x83"
        "e\x81[\x83W.txt", // Shift-JIS
        "\xc0\xaf overlong, \xed\xa0\x80 surrogate, \xf4\x90\x80\x80 past U+10FFFF",
        "cut \xe3\x82",                // a character cut short at the end
        "\xf0\x9f\x98\x80 four bytes", // outside the BMP: a real surrogate pair
    };
    for (const QByteArray& bytes : names) {
        SCOPED_TRACE(bytes.toStdString());
        const QString text = fromFileSystemName(bytes);
        EXPECT_EQ(fileSystemName(text), bytes);
    }
    EXPECT_EQ(fromFileSystemName("ステージ.stage"), QStringLiteral("ステージ.stage"));
    EXPECT_EQ(fromFileSystemName("\xf0\x9f\x98\x80"), QString::fromUtf8("\xf0\x9f\x98\x80"));
    // A byte that is not UTF-8 becomes one mark; the rest reads as it is.
    const QString odd = fromFileSystemName("st\xff\xfe.stage");
    EXPECT_EQ(odd.size(), 2 + 2 + 6);
    EXPECT_EQ(odd.left(2), QStringLiteral("st"));
    EXPECT_EQ(odd.mid(4), QStringLiteral(".stage"));
    // Text typed by the user converts as Qt converts it.
    EXPECT_EQ(fileSystemName(QStringLiteral("絵/a.JPG")), QStringLiteral("絵/a.JPG").toUtf8());
}

} // namespace
