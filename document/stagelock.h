#pragma once

#include <QLockFile>
#include <QString>

#include <memory>
#include <optional>

// Keeps two editors from saving over each other: while a stage file is open, its editor holds
// lock files for it in the user's runtime folder, one named after the file's canonical path
// (every symbolic link or relative path of it meets it, also before the file exists) and one
// after the file itself, its device and inode (a hard link meets that one). A save replaces
// the file by a new one: followFile() moves the second lock to it. A lock left by a process
// that has ended (a crash) is stale and taken over.
class StageLock {
public:
    StageLock();
    ~StageLock(); // releases the lock
    StageLock(StageLock&&) noexcept;
    StageLock& operator=(StageLock&&) noexcept;

    // The lock file for the stage at `stagePath` (which need not exist yet), by its path.
    static QString lockFilePath(const QString& stagePath);
    // The lock file for the file at `stagePath` by its device and inode; empty when there is
    // no such file.
    static QString fileLockPath(const QString& stagePath);

    enum class Result {
        locked,     // this process holds the lock now
        heldByOther // another living process holds it (holderPid() says which)
    };
    // Releases any lock held and tries to lock `stagePath`. A lock that cannot be written at
    // all (no runtime folder) counts as locked: the editor then works as if no other editor
    // could be asked.
    Result lock(const QString& stagePath);
    void unlock();
    bool isLocked() const;
    // After a save put a new file at `stagePath`: the lock by device and inode follows it
    // (taken for the new file before the old one is let go).
    void followFile(const QString& stagePath);
    // The process holding the lock when lock() found it taken; 0 when unknown.
    qint64 holderPid() const { return holderPid_; }
    // Whether the locks held are the ones lock() would take for `stagePath` now: the file
    // there is still the one locked by its device and inode.
    bool holdsFor(const QString& stagePath) const;

private:
    std::unique_ptr<QLockFile> file_;
    std::unique_ptr<QLockFile> inode_;
    qint64 holderPid_ = 0;
};

// The stage the start opens (the command line's) is locked on another thread while the
// windows are built: a lock file is flushed to disk as it is written, and a slow disk would
// hold up the start. lockStageAhead() starts that; takeStageLockAhead() hands the open of the
// stage at `stagePath` the lock and its result, waiting for it, when it was started for that
// path and, if taken, holds for the file there now (else nothing: the open locks as usual);
// dropStageLockAhead() lets go of a lock nobody took. All three are for the main thread.
void lockStageAhead(const QString& stagePath);
std::optional<StageLock::Result> takeStageLockAhead(const QString& stagePath, StageLock& lock);
void dropStageLockAhead();
