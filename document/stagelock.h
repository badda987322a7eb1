#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

// Keeps two editors from saving over each other: while a stage file is open, its editor holds
// a lock file for it in the user's runtime folder, named after the file's canonical path, so
// every name of the same file (a link, a relative path) meets the same lock. A lock left by a
// process that has ended (a crash) is stale and taken over.
class StageLock {
public:
    StageLock();
    ~StageLock(); // releases the lock
    StageLock(StageLock&&) noexcept;
    StageLock& operator=(StageLock&&) noexcept;

    // The lock file for the stage at `stagePath` (which need not exist yet).
    static QString lockFilePath(const QString& stagePath);

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
    // The process holding the lock when lock() found it taken; 0 when unknown.
    qint64 holderPid() const { return holderPid_; }

private:
    std::unique_ptr<QLockFile> file_;
    qint64 holderPid_ = 0;
};
