// The one way the editor saves a file: whole or not at all.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "document/savefile.h"

namespace {

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList entries(const QTemporaryDir& dir) {
    return QDir(dir.path())
        .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

TEST(SaveFileWhole, WritesEveryByteAndReplacesTheOldFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("stage.txt"));
    QByteArray bytes("version=RK&\r\n");
    bytes.append('\0');
    bytes.append(QByteArray(100'000, '\x82'));
    EXPECT_EQ(saveFileWhole(path, bytes), QString());
    EXPECT_EQ(bytesOf(path), bytes);
    EXPECT_EQ(saveFileWhole(path, "short"), QString());
    EXPECT_EQ(bytesOf(path), QByteArray("short"));
    EXPECT_EQ(entries(dir), QStringList(QStringLiteral("stage.txt"))); // no temporary left
}

TEST(SaveFileWhole, AFailureSaysWhyAndLeavesEverythingAsItWas) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString plain = dir.filePath(QStringLiteral("plain"));
    ASSERT_EQ(saveFileWhole(plain, "keep"), QString());
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    // Root may write anywhere: the failures come from the paths themselves.
    for (const QString& target :
         {plain + QStringLiteral("/under-a-file"), dir.filePath(QStringLiteral("folder")),
          dir.filePath(QStringLiteral("missing/stage.txt"))}) {
        SCOPED_TRACE(target.toStdString());
        EXPECT_FALSE(saveFileWhole(target, "new").isEmpty());
    }
    EXPECT_EQ(bytesOf(plain), QByteArray("keep"));
    EXPECT_EQ(entries(dir), QStringList({QStringLiteral("folder"), QStringLiteral("plain")}));
    EXPECT_TRUE(QDir(dir.filePath(QStringLiteral("folder"))).isEmpty());
}

} // namespace
