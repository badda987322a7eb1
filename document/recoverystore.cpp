#include "document/recoverystore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QSysInfo>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <limits>

#include "document/coretexts.h"
#include "document/filesystemname.h"
#include "document/savefile.h"
#include "file/regularfile.h"
#include "host/filefault.h"
#include "stage/recordcheck.h"

namespace {
const QString lockName = QStringLiteral("lock");
const QString recordSuffix = QStringLiteral(".stage");
const QString descriptionSuffix = QStringLiteral(".json");

// The largest description read: a path and a title.
constexpr std::uint64_t maxDescriptionBytes = 1 << 20;

// Reads a file of the recovery folder whole, as a stage file is read: only a regular file of
// at most `limit` bytes (a copy replaced by a link to /dev/zero or a FIFO must neither fill
// the memory nor hold start-up). Empty on success, else why not.
QString readCopyFile(const QString& path, QByteArray& bytes,
                     std::uint64_t limit = maxStageFileBytes) {
    std::string read;
    FileFailure failure;
    if (!readRegularFile(fileSystemName(path).toStdString(), limit, read, failure)) {
        bytes.clear();
        return coreText(fileFaultText(fileFaultOf(failure)));
    }
    bytes = QByteArray(read.data(), qsizetype(read.size()));
    return {};
}

// Replaces the file at `path` with `bytes` all or nothing, then reads it back: a copy that
// does not hold exactly what was meant is reported, so the user is not left trusting it.
bool writeWhole(const QString& path, const QByteArray& bytes, QString* error) {
    QString reason = saveFileWhole(path, bytes);
    if (reason.isEmpty()) {
        QByteArray back;
        if (readCopyFile(path, back).isEmpty() && back == bytes)
            return true;
        reason = QCoreApplication::translate("Document", "書き込んだ内容を読み戻せません。");
    }
    if (error != nullptr)
        *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), reason);
    return false;
}

QString recordProblem(const QByteArray& bytes) {
    switch (checkRecord(std::string_view(bytes.constData(), std::size_t(bytes.size())))) {
    case RecordCheck::complete:
        return {};
    case RecordCheck::empty:
        return QCoreApplication::translate("Document", "中身が空です");
    case RecordCheck::unfinished:
        return QCoreApplication::translate("Document", "途中で切れています");
    case RecordCheck::keysMissing:
        return QCoreApplication::translate("Document", "項目が欠けています");
    }
    return {};
}

// Whether the folder holds any stage bytes: a record with something in it. A description
// alone holds nothing of a stage (its record was removed first), nor does an empty record
// without a description (a run stopped before its first byte).
bool holdsStageBytes(const QString& folder) {
    const QDir dir(folder);
    for (const QFileInfo& record :
         dir.entryInfoList({QStringLiteral("*") + recordSuffix}, QDir::Files))
        if (record.size() > 0)
            return true;
    return false;
}

// A lock that lives as long as the editor does: never stale by age, only when the process
// that wrote it is gone. Null when it cannot be taken; `error` says why.
std::unique_ptr<QLockFile> takeLock(const QString& folder, QLockFile::LockError* error = nullptr) {
    auto lock = std::make_unique<QLockFile>(QDir(folder).filePath(lockName));
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        if (error != nullptr)
            *error = lock->error();
        return nullptr;
    }
    return lock;
}

// Whether the lock in `folder` was left by an editor of this machine that is gone: a crash
// leaves its lock behind, and in a folder that has since become unwritable it can be neither
// taken over nor removed.
bool holderIsGone(const QString& folder) {
    QLockFile lock(QDir(folder).filePath(lockName));
    qint64 pid = 0;
    QString host, application;
    if (!lock.getLockInfo(&pid, &host, &application) || pid <= 0 ||
        pid > std::numeric_limits<pid_t>::max())
        return false;
    if (!host.isEmpty() && host != QSysInfo::machineHostName())
        return false;
    return ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
}

QList<RecoveryStore::Entry> readEntries(const QString& folder) {
    QList<RecoveryStore::Entry> entries;
    const QDir dir(folder);
    // Every record is a copy to offer, with or without a description that can be read.
    for (const QString& name :
         dir.entryList({QStringLiteral("*") + recordSuffix}, QDir::Files, QDir::Name)) {
        RecoveryStore::Entry entry;
        entry.key = name.chopped(recordSuffix.size());
        entry.recordFile = dir.filePath(name);
        entry.title = entry.key;
        const QString descriptionFile = dir.filePath(entry.key + descriptionSuffix);
        const bool described =
            QFileInfo(descriptionFile).exists() || QFileInfo(descriptionFile).isSymLink();
        if (!described && QFileInfo(entry.recordFile).size() == 0 &&
            QFileInfo(entry.recordFile).isFile())
            continue; // nothing was written: nothing to offer
        QByteArray descriptionBytes;
        const bool descriptionRead =
            described &&
            readCopyFile(descriptionFile, descriptionBytes, maxDescriptionBytes).isEmpty();
        QJsonParseError parse{};
        const QJsonDocument json =
            descriptionRead ? QJsonDocument::fromJson(descriptionBytes, &parse) : QJsonDocument();
        if (!described) {
            entry.damaged = true;
            entry.problem = QCoreApplication::translate("Document", "元のファイル名がわかりません");
        } else if (!descriptionRead || parse.error != QJsonParseError::NoError ||
                   !json.isObject()) {
            entry.damaged = true;
            entry.problem = QCoreApplication::translate("Document", "説明ファイルが壊れています");
        } else {
            const QJsonObject object = json.object();
            entry.originalPath = object.value(QStringLiteral("path")).toString();
            entry.title = object.value(QStringLiteral("title")).toString(entry.key);
            entry.written = QDateTime::fromString(
                object.value(QStringLiteral("written")).toString(), Qt::ISODateWithMs);
        }
        QByteArray recordBytes;
        if (const QString unreadable = readCopyFile(entry.recordFile, recordBytes);
            !unreadable.isEmpty()) {
            entry.damaged = true;
            entry.problem =
                QCoreApplication::translate("Document", "読み込めません (%1)").arg(unreadable);
        } else if (const QString problem = recordProblem(recordBytes); !problem.isEmpty()) {
            entry.damaged = true;
            entry.problem = problem;
        }
        if (!entry.written.isValid())
            entry.written = QFileInfo(entry.recordFile).lastModified();
        entries.append(entry);
    }
    std::sort(entries.begin(), entries.end(),
              [](const auto& a, const auto& b) { return a.written < b.written; });
    return entries;
}
} // namespace

RecoveryStore::RecoveryStore(QString root) : root_(std::move(root)) {}

RecoveryStore::~RecoveryStore() {
    finishOpening();
}

QString RecoveryStore::defaultRoot() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation))
        .filePath(QStringLiteral("recovery"));
}

bool RecoveryStore::open(QString* error) {
    return isOpen() || openSession(error);
}

void RecoveryStore::openInBackground() {
    if (isOpen())
        return;
    opening_ = std::async(std::launch::async, [this] { openSession(nullptr); });
}

void RecoveryStore::finishOpening() const {
    if (opening_.valid())
        opening_.get();
}

bool RecoveryStore::openSession(QString* error) {
    const QString name = QStringLiteral("%1-%2")
                             .arg(QCoreApplication::applicationPid())
                             .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    const QString folder = QDir(root_).filePath(name);
    if (!QDir().mkpath(folder)) {
        if (error != nullptr)
            *error = QCoreApplication::translate("Document", "%1 を作成できません。")
                         .arg(QDir::toNativeSeparators(folder));
        return false;
    }
    lock_ = takeLock(folder);
    if (!lock_) {
        if (error != nullptr)
            *error = QCoreApplication::translate("Document", "%1 をロックできません。")
                         .arg(QDir::toNativeSeparators(folder));
        QDir(folder).removeRecursively();
        return false;
    }
    session_ = folder;
    return true;
}

bool RecoveryStore::write(const QString& key, const QByteArray& record, const QString& originalPath,
                          const QString& title, QString* error) {
    if (!isOpen()) {
        if (error != nullptr)
            *error = QCoreApplication::translate("Document", "復元用のフォルダーがありません。");
        return false;
    }
    const QDir dir(session_);
    QJsonObject json;
    json.insert(QStringLiteral("path"), originalPath);
    json.insert(QStringLiteral("title"), title);
    json.insert(QStringLiteral("written"),
                QDateTime::currentDateTime().toString(Qt::ISODateWithMs));
    // The description goes second: a copy is offered only once both are in place.
    return writeWhole(dir.filePath(key + recordSuffix), record, error) &&
           writeWhole(dir.filePath(key + descriptionSuffix),
                      QJsonDocument(json).toJson(QJsonDocument::Indented), error);
}

void RecoveryStore::remove(const QString& key) {
    if (!isOpen())
        return;
    const QDir dir(session_);
    // The record first: a copy removed only half leaves a description, which holds nothing
    // of the stage, never a record that would be offered without its description.
    QFile::remove(dir.filePath(key + recordSuffix));
    QFile::remove(dir.filePath(key + descriptionSuffix));
}

void RecoveryStore::close() {
    if (!isOpen())
        return;
    const QString folder = session_;
    const bool empty = !holdsStageBytes(folder);
    lock_->unlock();
    lock_.reset();
    session_.clear();
    if (empty)
        QDir(folder).removeRecursively();
}

QList<RecoveryStore::Orphan> RecoveryStore::takeOrphans() {
    finishOpening(); // this run's own folder is passed over
    QList<Orphan> orphans;
    const QDir root(root_);
    for (const QString& name : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString folder = root.filePath(name);
        if (folder == session_)
            continue;
        QLockFile::LockError error = QLockFile::NoError;
        std::unique_ptr<QLockFile> lock = takeLock(folder, &error);
        if (!lock) {
            // A running editor holds its session's lock. A folder where no lock can be made,
            // or whose lock was left by an editor that is gone and cannot be taken over, is
            // no running editor's: what it holds is offered to read.
            if (error == QLockFile::PermissionError ||
                (error == QLockFile::LockFailedError && holderIsGone(folder))) {
                Orphan orphan{folder, readEntries(folder), nullptr, true};
                if (!orphan.entries.isEmpty())
                    orphans.append(std::move(orphan));
            }
            continue;
        }
        Orphan orphan{folder, readEntries(folder), std::shared_ptr<QLockFile>(std::move(lock))};
        if (!orphan.entries.isEmpty())
            orphans.append(std::move(orphan));
        else if (!holdsStageBytes(folder))
            discard(orphan); // nothing but the lock (and unfinished temporaries)
        else
            release(orphan); // stage bytes that could not be listed just now: kept
    }
    return orphans;
}

bool RecoveryStore::discard(Orphan& orphan) {
    if (orphan.lock)
        orphan.lock->unlock();
    orphan.lock.reset();
    const bool removed = QDir(orphan.folder).removeRecursively();
    orphan.entries.clear();
    return removed;
}

void RecoveryStore::release(Orphan& orphan) {
    if (orphan.lock)
        orphan.lock->unlock();
    orphan.lock.reset();
}

bool RecoveryStore::removeEntry(const Entry& entry) {
    const QString description = entry.recordFile.chopped(recordSuffix.size()) + descriptionSuffix;
    QFile::remove(entry.recordFile);
    QFile::remove(description);
    return !QFileInfo::exists(description) && !QFileInfo::exists(entry.recordFile);
}

QByteArray RecoveryStore::readRecord(const Entry& entry, QString* error) {
    QByteArray bytes;
    if (const QString reason = readCopyFile(entry.recordFile, bytes); !reason.isEmpty()) {
        if (error != nullptr)
            *error = reason;
        return {};
    }
    return bytes;
}
