#pragma once

#include <QByteArray>
#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <functional>

class DocumentManager;
class QWidget;
class StageDocument;

// Notices when another program changes an open stage file and asks whether to read it
// again. Only a real change of the file's bytes counts: the editor's own saves and a file
// merely touched ask nothing. A modified stage is never replaced without the user's word,
// and the question says what would be lost. A file that disappears asks nothing; the stage
// stays open and can be saved again. What is read in is the file as it is once the user has
// answered and it has stopped changing, never the bytes seen before the question.
//
// Saving programs often replace a file by renaming a new one over it, which ends the watch
// on the old file; the folder is watched too, so the new file is noticed and watched.
class DiskWatcher : public QObject {
    Q_OBJECT
public:
    DiskWatcher(DocumentManager* documents, QWidget* dialogParent, QObject* parent = nullptr);

    // Compares every open stage file with what the editor last read or wrote, now (the
    // watcher calls this shortly after a change; tests call it directly).
    void checkNow();

    // Reads `bytes` (the file's new contents) into `document` as Open would, in place: its
    // windows and panels stay, and it is no longer modified. What the new contents leave
    // out is told, as on opening.
    void reload(StageDocument* document, const QByteArray& bytes);

    // A file another program is still writing is read only once it has stopped changing:
    // the same bytes in two reads `stableIntervalMs` apart, at most `stableTries` times.
    static constexpr int stableIntervalMs = 200;
    static constexpr int stableTries = 10;
    // How the watcher waits between those reads: the event loop runs on meanwhile (user
    // input aside). Tests put their own clock in place.
    using Wait = std::function<void(int ms)>;
    void setWait(Wait wait);

signals:
    // A check has finished (tests wait for it).
    void checked();

private:
    void sync();
    void scheduleCheck();
    // What the editor last knew of `document`'s file.
    QByteArray knownContents(StageDocument* document) const;
    void check(StageDocument* document);

    DocumentManager* documents_;
    QPointer<QWidget> dialogParent_;
    QFileSystemWatcher watcher_;
    QTimer settle_;
    // The file as it was when the document was restored from a recovery copy (such a
    // document has read nothing itself).
    QHash<StageDocument*, QByteArray> baseline_;
    Wait wait_;
    bool asking_ = false;
    bool recheck_ = false;
};
