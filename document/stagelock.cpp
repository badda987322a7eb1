#include "document/stagelock.h"
#include "document/filesystemname.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <future>
#include <utility>

#include <sys/stat.h>

namespace {
// The canonical path when the file exists; otherwise its folder's canonical path and its
// name (a stage saved for the first time).
QString canonicalStagePath(const QString& path) {
    const QFileInfo info(path);
    if (const QString canonical = info.canonicalFilePath(); !canonical.isEmpty())
        return canonical;
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return (folder.isEmpty() ? info.absolutePath() : folder) + QLatin1Char('/') + info.fileName();
}

QString lockFolder() {
    QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty())
        runtime = QDir::tempPath();
    return runtime + QStringLiteral("/rkedit-locks");
}
} // namespace

StageLock::StageLock() = default;
StageLock::~StageLock() = default;
StageLock::StageLock(StageLock&&) noexcept = default;
StageLock& StageLock::operator=(StageLock&&) noexcept = default;

QString StageLock::fileLockPath(const QString& stagePath) {
    struct stat info;
    if (::stat(fileSystemName(stagePath).constData(), &info) != 0)
        return {};
    return lockFolder() + QStringLiteral("/file-%1-%2.lock")
                              .arg(quint64(info.st_dev), 0, 16)
                              .arg(quint64(info.st_ino), 0, 16);
}

QString StageLock::lockFilePath(const QString& stagePath) {
    const QByteArray key =
        QCryptographicHash::hash(canonicalStagePath(stagePath).toUtf8(), QCryptographicHash::Sha1)
            .toHex();
    return lockFolder() + QLatin1Char('/') + QString::fromLatin1(key) + QStringLiteral(".lock");
}

namespace {
enum class Taken { yes, byOther, impossible };

// Takes the lock file at `path` into `held`; `holder` is set when another process has it.
Taken take(const QString& path, std::unique_ptr<QLockFile>& held, qint64& holder) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    auto file = std::make_unique<QLockFile>(path);
    // Only a dead holder makes a lock stale, never its age: an editor may keep a stage open
    // for days.
    file->setStaleLockTime(0);
    if (file->tryLock(0)) {
        held = std::move(file);
        return Taken::yes;
    }
    if (file->error() == QLockFile::LockFailedError) {
        QString host, application;
        file->getLockInfo(&holder, &host, &application);
        return Taken::byOther;
    }
    return Taken::impossible;
}
} // namespace

StageLock::Result StageLock::lock(const QString& stagePath) {
    unlock();
    holderPid_ = 0;
    if (take(lockFilePath(stagePath), file_, holderPid_) == Taken::byOther)
        return Result::heldByOther;
    // The same file under another name (a hard link) is held by its device and inode.
    if (const QString byFile = fileLockPath(stagePath); !byFile.isEmpty()) {
        if (take(byFile, inode_, holderPid_) == Taken::byOther) {
            unlock();
            return Result::heldByOther;
        }
    }
    // No lock can be kept here (the folder cannot be written): nothing to ask about.
    return Result::locked;
}

void StageLock::followFile(const QString& stagePath) {
    const QString byFile = fileLockPath(stagePath);
    if (inode_ && inode_->isLocked() && byFile == inode_->fileName())
        return;
    std::unique_ptr<QLockFile> fresh;
    qint64 holder = 0;
    if (!byFile.isEmpty())
        take(byFile, fresh, holder);
    inode_ = std::move(fresh);
}

void StageLock::unlock() {
    file_.reset();
    inode_.reset();
}

bool StageLock::isLocked() const {
    return file_ && file_->isLocked();
}

bool StageLock::holdsFor(const QString& stagePath) const {
    if (!isLocked() || file_->fileName() != lockFilePath(stagePath))
        return false;
    const QString byFile = fileLockPath(stagePath);
    return byFile.isEmpty() ? !inode_
                            : inode_ && inode_->isLocked() && inode_->fileName() == byFile;
}

namespace {
struct AheadLock {
    QString path;
    std::future<std::pair<StageLock, StageLock::Result>> taken;
};

std::optional<AheadLock>& aheadLock() {
    static std::optional<AheadLock> ahead;
    return ahead;
}
} // namespace

void lockStageAhead(const QString& stagePath) {
    dropStageLockAhead();
    aheadLock() = AheadLock{stagePath, std::async(std::launch::async, [stagePath] {
                                StageLock lock;
                                const StageLock::Result result = lock.lock(stagePath);
                                return std::pair{std::move(lock), result};
                            })};
}

std::optional<StageLock::Result> takeStageLockAhead(const QString& stagePath, StageLock& lock) {
    std::optional<AheadLock>& ahead = aheadLock();
    if (!ahead || ahead->path != stagePath)
        return std::nullopt;
    auto [taken, result] = ahead->taken.get();
    ahead.reset();
    // A file put at the path since (renamed over it) is not the one locked by its inode.
    if (result == StageLock::Result::locked && !taken.holdsFor(stagePath))
        return std::nullopt;
    lock = std::move(taken);
    return result;
}

void dropStageLockAhead() {
    // Waits for a lock on its way, then releases it.
    aheadLock().reset();
}
