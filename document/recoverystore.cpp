#include "document/recoverystore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

namespace {
const QString lockName = QStringLiteral("lock");
const QString recordSuffix = QStringLiteral(".stage");
const QString descriptionSuffix = QStringLiteral(".json");

bool writeWhole(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (error != nullptr)
        *error = file.errorString();
    file.cancelWriting();
    return false;
}

// A lock that lives as long as the editor does: never stale by age, only when the process
// that wrote it is gone.
std::unique_ptr<QLockFile> takeLock(const QString& folder) {
    auto lock = std::make_unique<QLockFile>(QDir(folder).filePath(lockName));
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}

QList<RecoveryStore::Entry> readEntries(const QString& folder) {
    QList<RecoveryStore::Entry> entries;
    const QDir dir(folder);
    for (const QString& name :
         dir.entryList({QStringLiteral("*") + descriptionSuffix}, QDir::Files, QDir::Name)) {
        QFile description(dir.filePath(name));
        if (!description.open(QIODevice::ReadOnly))
            continue;
        const QJsonObject json = QJsonDocument::fromJson(description.readAll()).object();
        RecoveryStore::Entry entry;
        entry.key = name.chopped(descriptionSuffix.size());
        entry.recordFile = dir.filePath(entry.key + recordSuffix);
        if (json.isEmpty() || !QFileInfo(entry.recordFile).isFile())
            continue; // not a complete copy
        entry.originalPath = json.value(QStringLiteral("path")).toString();
        entry.title = json.value(QStringLiteral("title")).toString();
        entry.written = QDateTime::fromString(json.value(QStringLiteral("written")).toString(),
                                              Qt::ISODateWithMs);
        entries.append(entry);
    }
    std::sort(entries.begin(), entries.end(),
              [](const auto& a, const auto& b) { return a.written < b.written; });
    return entries;
}
} // namespace

RecoveryStore::RecoveryStore(QString root) : root_(std::move(root)) {}

RecoveryStore::~RecoveryStore() = default;

QString RecoveryStore::defaultRoot() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation))
        .filePath(QStringLiteral("recovery"));
}

bool RecoveryStore::open(QString* error) {
    if (isOpen())
        return true;
    const QString name = QStringLiteral("%1-%2")
                             .arg(QCoreApplication::applicationPid())
                             .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    const QString folder = QDir(root_).filePath(name);
    if (!QDir().mkpath(folder)) {
        if (error != nullptr)
            *error = QStringLiteral("%1 を作成できません。").arg(QDir::toNativeSeparators(folder));
        return false;
    }
    lock_ = takeLock(folder);
    if (!lock_) {
        if (error != nullptr)
            *error =
                QStringLiteral("%1 をロックできません。").arg(QDir::toNativeSeparators(folder));
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
            *error = QStringLiteral("復元用のフォルダーがありません。");
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
    // The description first, so that a half-removed copy is never offered.
    QFile::remove(dir.filePath(key + descriptionSuffix));
    QFile::remove(dir.filePath(key + recordSuffix));
}

void RecoveryStore::close() {
    if (!isOpen())
        return;
    const QString folder = session_;
    const bool empty = readEntries(folder).isEmpty();
    lock_->unlock();
    lock_.reset();
    session_.clear();
    if (empty)
        QDir(folder).removeRecursively();
}

QList<RecoveryStore::Orphan> RecoveryStore::takeOrphans() {
    QList<Orphan> orphans;
    const QDir root(root_);
    for (const QString& name : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString folder = root.filePath(name);
        if (folder == session_)
            continue;
        std::unique_ptr<QLockFile> lock = takeLock(folder);
        if (!lock)
            continue; // a running editor's session
        Orphan orphan{folder, readEntries(folder), std::shared_ptr<QLockFile>(std::move(lock))};
        if (orphan.entries.isEmpty())
            discard(orphan);
        else
            orphans.append(std::move(orphan));
    }
    return orphans;
}

void RecoveryStore::discard(Orphan& orphan) {
    if (orphan.lock)
        orphan.lock->unlock();
    orphan.lock.reset();
    QDir(orphan.folder).removeRecursively();
    orphan.entries.clear();
}

void RecoveryStore::release(Orphan& orphan) {
    if (orphan.lock)
        orphan.lock->unlock();
    orphan.lock.reset();
}

void RecoveryStore::removeEntry(const Entry& entry) {
    QFile::remove(entry.recordFile.chopped(recordSuffix.size()) + descriptionSuffix);
    QFile::remove(entry.recordFile);
}

QByteArray RecoveryStore::readRecord(const Entry& entry, QString* error) {
    QFile file(entry.recordFile);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error != nullptr)
            *error = file.errorString();
        return {};
    }
    return file.readAll();
}
