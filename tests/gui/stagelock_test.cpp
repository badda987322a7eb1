// The lock an editor holds on each open stage file.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QSysInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "document/stagelock.h"

namespace {

TEST(StageLock, OneHolderPerFileWhateverItsName) {
    QTemporaryDir dir;
    const QString stage = dir.filePath(QStringLiteral("a.stage"));
    QFile(stage).open(QIODevice::WriteOnly);
    QFile::link(stage, dir.filePath(QStringLiteral("link.stage")));

    StageLock first;
    ASSERT_EQ(first.lock(stage), StageLock::Result::locked);
    EXPECT_TRUE(first.isLocked());
    // Another name of the same file meets the same lock; the holder is this process.
    for (const QString& other :
         {dir.filePath(QStringLiteral("link.stage")), dir.path() + QStringLiteral("/./a.stage")}) {
        StageLock second;
        EXPECT_EQ(second.lock(other), StageLock::Result::heldByOther) << other.toStdString();
        EXPECT_EQ(second.holderPid(), QCoreApplication::applicationPid());
        EXPECT_FALSE(second.isLocked());
    }
    // Another file is free; a released lock is free again.
    StageLock elsewhere;
    EXPECT_EQ(elsewhere.lock(dir.filePath(QStringLiteral("new.stage"))), StageLock::Result::locked);
    first.unlock();
    StageLock after;
    EXPECT_EQ(after.lock(stage), StageLock::Result::locked);
}

TEST(StageLock, LockFollowsTheFileItIsMovedTo) {
    QTemporaryDir dir;
    const QString a = dir.filePath(QStringLiteral("a.stage"));
    const QString b = dir.filePath(QStringLiteral("b.stage"));
    StageLock lock;
    ASSERT_EQ(lock.lock(a), StageLock::Result::locked);
    ASSERT_EQ(lock.lock(b), StageLock::Result::locked);
    StageLock other;
    EXPECT_EQ(other.lock(a), StageLock::Result::locked); // released by the move
    StageLock third;
    EXPECT_EQ(third.lock(b), StageLock::Result::heldByOther);
}

TEST(StageLock, LockOfAProcessThatHasEndedIsTakenOver) {
    QTemporaryDir dir;
    const QString stage = dir.filePath(QStringLiteral("crashed.stage"));
    const QString lockPath = StageLock::lockFilePath(stage);
    QDir().mkpath(QFileInfo(lockPath).absolutePath());
    // What a crashed editor leaves: its lock file naming a process that no longer runs.
    {
        QFile file(lockPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::number(0x7ffffff0) + "\nrkedit\n" +
                   QSysInfo::machineHostName().toUtf8() + "\n");
    }
    StageLock lock;
    EXPECT_EQ(lock.lock(stage), StageLock::Result::locked);
    EXPECT_TRUE(lock.isLocked());
}

} // namespace
