#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <future>
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
// temporary, flushed, renamed into place and read back, so a copy is complete, or the
// previous copy stays. Copies damaged all the same (a crash of the system, another program)
// are offered as damaged; nothing the program cannot understand is deleted unasked.
class RecoveryStore {
public:
    // One recovery copy.
    struct Entry {
        QString key;
        QString recordFile;
        QString originalPath; // empty for a stage never saved, or when unknown
        QString title;
        QDateTime written;
        // A copy that cannot be trusted as the stage it was meant to keep: its record is
        // empty or cut short, or its description is missing or unreadable. It is offered all
        // the same, but restored only as a new untitled stage, never under the original path.
        bool damaged = false;
        QString problem; // why it is damaged, for the user
    };
    // Copies left by a run that has gone. While this object lives, this run holds the
    // session's lock, so no other editor offers the same copies.
    struct Orphan {
        QString folder;
        QList<Entry> entries;
        std::shared_ptr<QLockFile> lock;
        // A folder this user cannot write (its permissions changed, a read-only mount): its
        // copies can be read and restored, but neither locked nor removed. Offered all the
        // same, and again at every start until the user removes the folder.
        bool readOnly = false;
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
    // The same on another thread: the lock file is flushed to disk as it is written, and a
    // slow disk would hold up the start. Every call below waits for it first; open() then
    // answers as it would have (trying again when it failed, for the error).
    void openInBackground();
    bool isOpen() const {
        finishOpening();
        return lock_ != nullptr;
    }
    const QString& sessionFolder() const {
        finishOpening();
        return session_;
    }

    // Writes (or replaces) the copy `key`: record first, then its description.
    bool write(const QString& key, const QByteArray& record, const QString& originalPath,
               const QString& title, QString* error = nullptr);
    // Removes the copy `key`, if any.
    void remove(const QString& key);
    // The end of this run: removes the session folder when it holds no copy (a clean exit),
    // else only releases it, so the copies are offered at the next start.
    void close();

    // Session folders left by runs that did not exit cleanly, each locked by this run now.
    // Sessions of editors still running are left alone; a session holding no stage bytes
    // (nothing but descriptions whose records were removed, or empty records never
    // described) is removed on the way. Every record with something in it is offered.
    QList<Orphan> takeOrphans();
    // Removes an orphan's folder and its copies; false when some could not be removed.
    static bool discard(Orphan& orphan);
    // Lets an orphan go untouched: it is offered again at a later start.
    static void release(Orphan& orphan);

    // Removes one copy of an orphan (it has been restored); false when it could not be.
    static bool removeEntry(const Entry& entry);
    // The record bytes of a copy; empty with `error` set when unreadable.
    static QByteArray readRecord(const Entry& entry, QString* error = nullptr);

private:
    bool openSession(QString* error);
    void finishOpening() const;

    QString root_;
    QString session_;
    std::unique_ptr<QLockFile> lock_;
    // Last, so that it goes first: an open on its way ends before what it fills goes.
    mutable std::future<void> opening_;
};
