// The one way the editor saves a file: whole or not at all.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

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

QString fileMode(const QString& path) {
    struct stat info {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return QString::number(info.st_mode & 07777, 8) + ' ' + QString::number(info.st_uid) + ' ' +
           QString::number(info.st_gid);
}

TEST(SaveFileWhole, NoWriteBitIsRefusedForRootTooAndModeAndOwnerAreKept) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // 0444: refused with the user's words, whoever runs the editor; nothing changes.
    const QString locked = dir.filePath(QStringLiteral("locked.stage"));
    ASSERT_EQ(saveFileWhole(locked, "old"), QString());
    ASSERT_EQ(::chmod(QFile::encodeName(locked).constData(), 0444), 0);
    EXPECT_EQ(saveFileWhole(locked, "new"),
              QStringLiteral("ファイルは書き込み禁止になっています。"));
    EXPECT_EQ(saveObstacle(locked), QStringLiteral("ファイルは書き込み禁止になっています。"));
    EXPECT_EQ(bytesOf(locked), QByteArray("old"));
    EXPECT_EQ(fileMode(locked).section(' ', 0, 0), QStringLiteral("444"));

    // 0640 owned by another user (root can make it so): both kept by the new file.
    const QString shared = dir.filePath(QStringLiteral("shared.stage"));
    ASSERT_EQ(saveFileWhole(shared, "old"), QString());
    ASSERT_EQ(::chmod(QFile::encodeName(shared).constData(), 0640), 0);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(QFile::encodeName(shared).constData(), 65534, 65534), 0);
    }
    const QString before = fileMode(shared);
    EXPECT_EQ(saveFileWhole(shared, "new"), QString());
    EXPECT_EQ(bytesOf(shared), QByteArray("new"));
    EXPECT_EQ(fileMode(shared), before);
    EXPECT_EQ(entries(dir),
              QStringList({QStringLiteral("locked.stage"), QStringLiteral("shared.stage")}));
}

TEST(SaveFileWhole, SpecialFilesAndProtectedFilesAreNeverReplaced) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString fifo = dir.filePath(QStringLiteral("fifo.html"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // Refused at once (no writer waits on it), and still a FIFO.
    EXPECT_EQ(saveFileWhole(fifo, "<HTML>"), QStringLiteral("通常のファイルではありません。"));
    EXPECT_TRUE(!QFileInfo(fifo).isFile() && QFileInfo::exists(fifo));
    EXPECT_EQ(saveFileWhole(QStringLiteral("/dev/null"), "x"),
              QStringLiteral("通常のファイルではありません。"));

    // The open stage, under its own name, a symbolic link or a hard link: never written.
    const QString stage = dir.filePath(QStringLiteral("stage.txt"));
    ASSERT_EQ(saveFileWhole(stage, "version=RK&"), QString());
    const QString hard = dir.filePath(QStringLiteral("hard.html"));
    const QString soft = dir.filePath(QStringLiteral("soft.html"));
    ASSERT_EQ(::link(QFile::encodeName(stage).constData(), QFile::encodeName(hard).constData()), 0);
    ASSERT_TRUE(QFile::link(stage, soft));
    for (const QString& target : {stage, hard, soft}) {
        SCOPED_TRACE(target.toStdString());
        const QString reason = saveFileWhole(target, "<HTML>", {stage});
        EXPECT_TRUE(reason.contains(QStringLiteral("そのもの"))) << reason.toStdString();
        EXPECT_EQ(saveObstacle(target, {stage}), reason);
    }
    EXPECT_EQ(bytesOf(stage), QByteArray("version=RK&"));
    // Another file beside it is written as ever.
    EXPECT_EQ(saveFileWhole(dir.filePath(QStringLiteral("page.html")), "<HTML>", {stage}),
              QString());
}

TEST(SaveFileWhole, ALongNameSavesAndItsTemporaryFitsTheNameLimit) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // 250 bytes, a name the system allows (255): "<name>.XXXXXX" would not fit.
    const QString name = QString(244, QLatin1Char('a')) + QStringLiteral(".stage");
    ASSERT_EQ(QFile::encodeName(name).size(), 250);
    const QString path = dir.filePath(name);
    EXPECT_EQ(saveFileWhole(path, "version=RK&"), QString());
    EXPECT_EQ(saveFileWhole(path, "version=RK&life=3&"), QString());
    EXPECT_EQ(bytesOf(path), QByteArray("version=RK&life=3&"));
    EXPECT_EQ(entries(dir), QStringList(name));
    // The prefix a leftover temporary would have: cut to leave room, never inside a
    // character of a Japanese name.
    EXPECT_EQ(saveTemporaryPrefix(QStringLiteral("stage.txt")), QStringLiteral("stage.txt."));
    EXPECT_EQ(QFile::encodeName(saveTemporaryPrefix(name)).size() + 6, 255);
    const QString japanese = QString(84, QChar(0x30B9)) + QStringLiteral(".s"); // 254 bytes
    const QString prefix = saveTemporaryPrefix(japanese);
    EXPECT_LE(QFile::encodeName(prefix).size() + 6, 255);
    EXPECT_TRUE(prefix.endsWith(QStringLiteral("ススス."))) << prefix.toStdString();
    EXPECT_EQ(saveFileWhole(dir.filePath(japanese), "x"), QString());
    EXPECT_EQ(bytesOf(dir.filePath(japanese)), QByteArray("x"));
}

} // namespace
