#include "document/stagelock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

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

QString StageLock::lockFilePath(const QString& stagePath) {
    const QByteArray key =
        QCryptographicHash::hash(canonicalStagePath(stagePath).toUtf8(), QCryptographicHash::Sha1)
            .toHex();
    return lockFolder() + QLatin1Char('/') + QString::fromLatin1(key) + QStringLiteral(".lock");
}

StageLock::Result StageLock::lock(const QString& stagePath) {
    unlock();
    holderPid_ = 0;
    const QString path = lockFilePath(stagePath);
    QDir().mkpath(QFileInfo(path).absolutePath());
    auto file = std::make_unique<QLockFile>(path);
    // Only a dead holder makes a lock stale, never its age: an editor may keep a stage open
    // for days.
    file->setStaleLockTime(0);
    if (file->tryLock(0)) {
        file_ = std::move(file);
        return Result::locked;
    }
    if (file->error() == QLockFile::LockFailedError) {
        QString host, application;
        file->getLockInfo(&holderPid_, &host, &application);
        return Result::heldByOther;
    }
    // No lock can be kept here (the folder cannot be written): nothing to ask about.
    return Result::locked;
}

void StageLock::unlock() {
    file_.reset();
}

bool StageLock::isLocked() const {
    return file_ && file_->isLocked();
}
