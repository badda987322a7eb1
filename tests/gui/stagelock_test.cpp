// The lock an editor holds on each open stage file.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QSysInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <unistd.h>

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

TEST(StageLock, AHardLinkIsTheSameStageAndTheLockFollowsASave) {
    QTemporaryDir dir;
    const QString stage = dir.filePath(QStringLiteral("a.stage"));
    const QString other = dir.filePath(QStringLiteral("other-name.stage"));
    QFile(stage).open(QIODevice::WriteOnly);
    ASSERT_EQ(::link(QFile::encodeName(stage).constData(), QFile::encodeName(other).constData()),
              0);
    StageLock first;
    ASSERT_EQ(first.lock(stage), StageLock::Result::locked);
    {
        StageLock second;
        EXPECT_EQ(second.lock(other), StageLock::Result::heldByOther);
        EXPECT_EQ(second.holderPid(), QCoreApplication::applicationPid());
        EXPECT_FALSE(second.isLocked());
    }
    // A save puts a new file in place (the hard link keeps the old one: no longer the same
    // file). The lock by file moves to the new one.
    const QString fresh = dir.filePath(QStringLiteral("fresh"));
    QFile(fresh).open(QIODevice::WriteOnly);
    ASSERT_EQ(::rename(QFile::encodeName(fresh).constData(), QFile::encodeName(stage).constData()),
              0);
    first.followFile(stage);
    const QString byFile = StageLock::fileLockPath(stage);
    ASSERT_FALSE(byFile.isEmpty());
    QLockFile probe(byFile);
    EXPECT_FALSE(probe.tryLock(0)) << "the new file is held";
    StageLock oldFile;
    EXPECT_EQ(oldFile.lock(other), StageLock::Result::locked) << "the old file is free";
}

TEST(StageLock, ALockTakenAheadGoesToTheOpenOfItsStageOnlyAndHoldsForTheFileThere) {
    QTemporaryDir dir;
    const QString stage = dir.filePath(QStringLiteral("a.stage"));
    QFile(stage).open(QIODevice::WriteOnly);
    const QString other = dir.filePath(QStringLiteral("b.stage"));

    // Another stage's open does not get it; the stage's own does, and it holds.
    lockStageAhead(stage);
    StageLock lock;
    EXPECT_FALSE(takeStageLockAhead(other, lock).has_value());
    EXPECT_FALSE(lock.isLocked());
    ASSERT_EQ(takeStageLockAhead(stage, lock), StageLock::Result::locked);
    EXPECT_TRUE(lock.holdsFor(stage));
    {
        StageLock second;
        EXPECT_EQ(second.lock(stage), StageLock::Result::heldByOther);
    }
    EXPECT_FALSE(takeStageLockAhead(stage, lock).has_value()) << "handed over once";
    EXPECT_TRUE(lock.isLocked());

    // Held elsewhere: the open hears who holds it, as from lock().
    lockStageAhead(stage);
    StageLock refused;
    ASSERT_EQ(takeStageLockAhead(stage, refused), StageLock::Result::heldByOther);
    EXPECT_EQ(refused.holderPid(), QCoreApplication::applicationPid());
    EXPECT_FALSE(refused.isLocked());
    lock.unlock();

    // One nobody took is let go.
    lockStageAhead(other);
    dropStageLockAhead();
    StageLock free;
    EXPECT_EQ(free.lock(other), StageLock::Result::locked);
    free.unlock();

    // A file renamed over the stage while it was locked: what the open ends up holding is the
    // lock of the file there now, whichever of the two the lock ahead met.
    lockStageAhead(stage);
    const QString fresh = dir.filePath(QStringLiteral("fresh"));
    QFile(fresh).open(QIODevice::WriteOnly);
    ASSERT_EQ(::rename(QFile::encodeName(fresh).constData(), QFile::encodeName(stage).constData()),
              0);
    StageLock opened;
    if (!takeStageLockAhead(stage, opened)) {
        ASSERT_EQ(opened.lock(stage), StageLock::Result::locked);
    }
    EXPECT_TRUE(opened.holdsFor(stage));
    QLockFile probe(StageLock::fileLockPath(stage));
    EXPECT_FALSE(probe.tryLock(0)) << "the file there now is held";
}

} // namespace
