#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <memory>

class QLockFile;

// Recovery copies of modified stages, in the user's state folder, never beside the user's
// files. Each run of the editor keeps its copies in a session folder of its own, locked
// while the run lives:
//
//   <root>/<session>/lock           held by the running editor
//   <root>/<session>/<key>.stage    the stage record, exactly as Save would write it
//   <root>/<session>/<key>.json     the original path and the title, written after the record
//
// A session folder whose lock no living editor holds was left by a run that did not exit
// cleanly: its copies are the ones to offer at start. Every file is written through a
// temporary and renamed into place, so a copy is either complete or absent.
class RecoveryStore {
public:
    // One recovery copy.
    struct Entry {
        QString key;
        QString recordFile;
        QString originalPath; // empty for a stage never saved
        QString title;
        QDateTime written;
    };
    // Copies left by a run that has gone. While this object lives, this run holds the
    // session's lock, so no other editor offers the same copies.
    struct Orphan {
        QString folder;
        QList<Entry> entries;
        std::shared_ptr<QLockFile> lock;
    };

    // `root` is the folder that holds the session folders (created when needed).
    explicit RecoveryStore(QString root);
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore&) = delete;
    RecoveryStore& operator=(const RecoveryStore&) = delete;

    // The user's state folder for recovery copies.
    static QString defaultRoot();

    // Creates and locks this run's session folder; false (with `error`) when impossible.
    bool open(QString* error = nullptr);
    bool isOpen() const { return lock_ != nullptr; }
    const QString& sessionFolder() const { return session_; }

    // Writes (or replaces) the copy `key`: record first, then its description.
    bool write(const QString& key, const QByteArray& record, const QString& originalPath,
               const QString& title, QString* error = nullptr);
    // Removes the copy `key`, if any.
    void remove(const QString& key);
    // The end of this run: removes the session folder when it holds no copy (a clean exit),
    // else only releases it, so the copies are offered at the next start.
    void close();

    // Session folders left by runs that did not exit cleanly, each locked by this run now.
    // Sessions of editors still running are left alone; a session holding no complete copy
    // is removed on the way.
    QList<Orphan> takeOrphans();
    // Removes an orphan's folder and its copies.
    static void discard(Orphan& orphan);
    // Lets an orphan go untouched: it is offered again at a later start.
    static void release(Orphan& orphan);

    // Removes one copy of an orphan (it has been restored).
    static void removeEntry(const Entry& entry);
    // The record bytes of a copy; empty with `error` set when unreadable.
    static QByteArray readRecord(const Entry& entry, QString* error = nullptr);

private:
    QString root_;
    QString session_;
    std::unique_ptr<QLockFile> lock_;
};
