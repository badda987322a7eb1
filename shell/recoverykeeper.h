#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

#include "document/recoverystore.h"

class DocumentManager;
class QTimer;
class QWidget;
class StageDocument;

// Keeps a recovery copy of every modified stage, so that a crash or a killed editor loses at
// most the last half minute: the copy is written every `interval` while the stage differs
// from its file, and at once on every 50th edit. The copy holds the record exactly as Save
// would write it, the open event tool's text included, without taking that text into the
// document. Saving, undoing back to the saved state, closing the stage and a clean exit
// remove the copy.
//
// At start, offerRecovery() finds the copies a run that did not exit cleanly has left and
// asks "復元しますか？": restoring opens each stage modified, under its original path (a
// damaged copy only as a new untitled stage); discarding deletes them; a question closed
// without an answer keeps them for the next start. A copy that cannot be written is reported
// once per run; the previous good copy stays until a new one is complete.
class RecoveryKeeper : public QObject {
    Q_OBJECT
public:
    static constexpr int editsPerCopy = 50;
    static constexpr int defaultIntervalMs = 30'000;

    // What the start-up question answers; `Ask` shows it.
    enum class Answer { Ask, Restore, Discard, Keep };

    RecoveryKeeper(DocumentManager* documents, std::unique_ptr<RecoveryStore> store,
                   QObject* parent = nullptr);
    ~RecoveryKeeper() override;

    // The interval between copies: 30 s, or RKEDIT_RECOVERY_INTERVAL_MS when set (tests
    // shorten it).
    static int intervalFromEnvironment();
    void setInterval(int ms);

    // Opens this run's session and starts the timer; false when no copy can be kept (the
    // editor runs on without, after telling the user once).
    bool start(QWidget* dialogParent);
    // Offers what earlier runs left. Returns the number of stages restored. With an answer
    // given (the command line), nothing waits for the user: notes go to stderr.
    int offerRecovery(QWidget* dialogParent, Answer answer = Answer::Ask);
    // A clean exit: every copy of this run goes.
    void shutdown();

    // Writes the copies that are due now (the timer's work).
    void writeDueCopies();
    // Writes `document`'s copy now when it differs from its file; removes it otherwise.
    void writeCopy(StageDocument* document);

    RecoveryStore& store() { return *store_; }
    // The copy of `document` is on disk (for tests and the status of a document).
    bool hasCopy(StageDocument* document) const;

    // The record Save would write for `document` now, without changing the document.
    static QByteArray recordAsSaved(StageDocument& document);

signals:
    // A copy was written (tests wait for it).
    void copyWritten(StageDocument* document);
    // Copies cannot be written (`text` says so, for the status bar), or can again (empty).
    void copyProblemChanged(const QString& text);

private:
    struct Tracked {
        QString key;
        int edits = 0;
        QByteArray written; // the record of the copy on disk; empty when there is none
    };
    void track(StageDocument* document);
    void forget(StageDocument* document);
    void removeCopy(StageDocument* document);
    void reportFailure(const QString& error);

    DocumentManager* documents_;
    std::unique_ptr<RecoveryStore> store_;
    QTimer* timer_;
    QHash<StageDocument*, Tracked> tracked_;
    int nextKey_ = 0;
    bool failureReported_ = false;
    bool failing_ = false; // the last copy could not be written
    QPointer<QWidget> dialogParent_;
};
