#include "shell/recoverykeeper.h"

#include <QCoreApplication>
#include <QDir>
#include <QTimer>

#include <cstdio>

#include "document/stagedocument.h"
#include "panels/dialogs.h"
#include "panels/messagebox.h"
#include "shell/documentmanager.h"
#include "stage/CRKeditDoc.h"
#include "stage/stagerecord.h"

namespace {

struct Snapshot {
    QByteArray record;
    bool scriptPending = false; // the event tool holds text the document has not taken
};

// Writes the document as Save would, with the open event tool's text as its script; the
// document itself keeps its own script, and nothing is shown or updated.
Snapshot snapshotOf(StageDocument& document) {
    // The event tool reports text it cannot store when it takes its edit in; a copy made in
    // the background says nothing (the user hears of it when the tool's text is taken).
    const std::optional<std::string> script = document.pendingScript(true);
    const CRKeditDoc& doc = document.doc();
    const std::string record = writeStageRecord(doc, script ? *script : doc.command);
    return {QByteArray(record.data(), qsizetype(record.size())), script && *script != doc.command};
}

QString describe(const RecoveryStore::Entry& entry) {
    const QString name =
        entry.originalPath.isEmpty() ? entry.title : QDir::toNativeSeparators(entry.originalPath);
    const QString when = entry.written.isValid()
                             ? entry.written.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"))
                             : QString();
    QString text = when.isEmpty() ? name : QStringLiteral("%1  (%2)").arg(name, when);
    if (entry.damaged)
        text += QCoreApplication::translate("RecoveryKeeper",
                                            "  [破損: %1。新しい無題のステージとして開きます]")
                    .arg(entry.problem);
    return text;
}

// The copies shown in the question itself; the rest are in its scrollable details, so that
// hundreds of copies never make a box taller than the screen.
constexpr int linesShown = 10;

RecoveryKeeper::Answer ask(QWidget* parent, const QList<RecoveryStore::Orphan>& orphans) {
    QStringList lines;
    for (const auto& orphan : orphans)
        for (const auto& entry : orphan.entries)
            lines << (orphan.readOnly ? QCoreApplication::translate(
                                            "RecoveryKeeper", "・%1  [書き込めないフォルダー]")
                                      : QCoreApplication::translate("RecoveryKeeper", "・%1"))
                         .arg(describe(entry));
    QStringList shown = lines.mid(0, linesShown);
    if (lines.size() > linesShown)
        shown << QCoreApplication::translate("RecoveryKeeper", "ほか %1 件（すべては「詳細」に）")
                     .arg(lines.size() - linesShown);
    MessageChoice question;
    question.icon = QMessageBox::Question;
    question.text =
        QCoreApplication::translate("RecoveryKeeper",
                                    "rkedit が正常に終了しなかったため、保存されていない変更の"
                                    "復元用コピーが残っています。\n\n%1\n\n復元しますか？")
            .arg(shown.join(QLatin1Char('\n')));
    if (lines.size() > linesShown)
        question.details = lines.join(QLatin1Char('\n'));
    // Ok accepts, Discard is the destructive choice; a box closed without either keeps the
    // copies for the next start (nothing is deleted unasked).
    question.buttons = QMessageBox::Ok | QMessageBox::Discard;
    question.defaultButton = QMessageBox::Ok;
    question.buttonTexts = {
        {QMessageBox::Ok, QCoreApplication::translate("RecoveryKeeper", "復元する")},
        {QMessageBox::Discard, QCoreApplication::translate("RecoveryKeeper", "破棄する")}};
    switch (Dialogs::current().ask(parent, question)) {
    case QMessageBox::Ok:
        return RecoveryKeeper::Answer::Restore;
    case QMessageBox::Discard:
        return RecoveryKeeper::Answer::Discard;
    default:
        return RecoveryKeeper::Answer::Keep;
    }
}
} // namespace

RecoveryKeeper::RecoveryKeeper(DocumentManager* documents, std::unique_ptr<RecoveryStore> store,
                               QObject* parent)
    : QObject(parent), documents_(documents), store_(std::move(store)), timer_(new QTimer(this)) {
    timer_->setInterval(intervalFromEnvironment());
    connect(timer_, &QTimer::timeout, this, &RecoveryKeeper::writeDueCopies);
    connect(documents_, &DocumentManager::documentsChanged, this, [this] {
        const QList<StageDocument*>& open = documents_->documents();
        for (StageDocument* document : open)
            if (!tracked_.contains(document))
                track(document);
        for (StageDocument* document : tracked_.keys())
            if (!open.contains(document))
                forget(document);
    });
}

RecoveryKeeper::~RecoveryKeeper() = default;

int RecoveryKeeper::intervalFromEnvironment() {
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue("RKEDIT_RECOVERY_INTERVAL_MS", &ok);
    return ok && ms > 0 ? ms : defaultIntervalMs;
}

void RecoveryKeeper::setInterval(int ms) {
    timer_->setInterval(ms);
}

bool RecoveryKeeper::start(QWidget* dialogParent) {
    dialogParent_ = dialogParent;
    QString error;
    if (!store_->open(&error)) {
        reportFailure(error);
        return false;
    }
    for (StageDocument* document : documents_->documents())
        if (!tracked_.contains(document))
            track(document);
    timer_->start();
    return true;
}

void RecoveryKeeper::track(StageDocument* document) {
    tracked_.insert(document, Tracked{QStringLiteral("stage%1").arg(++nextKey_), 0, {}});
    connect(document, &StageDocument::edited, this, [this, document] {
        auto it = tracked_.find(document);
        if (it != tracked_.end() && ++it->edits % editsPerCopy == 0)
            writeCopy(document);
    });
    connect(document, &StageDocument::modifiedChanged, this, [this, document](bool modified) {
        // Back at the saved state: the copy has nothing left to keep.
        if (!modified && tracked_.contains(document))
            writeCopy(document);
    });
}

void RecoveryKeeper::forget(StageDocument* document) {
    // The stage is closed: saved, or its changes discarded by the user.
    removeCopy(document);
    tracked_.remove(document);
    disconnect(document, nullptr, this, nullptr);
}

void RecoveryKeeper::removeCopy(StageDocument* document) {
    auto it = tracked_.find(document);
    if (it == tracked_.end() || it->written.isEmpty())
        return;
    store_->remove(it->key);
    it->written.clear();
}

bool RecoveryKeeper::hasCopy(StageDocument* document) const {
    auto it = tracked_.constFind(document);
    return it != tracked_.cend() && !it->written.isEmpty();
}

QByteArray RecoveryKeeper::recordAsSaved(StageDocument& document) {
    return snapshotOf(document).record;
}

void RecoveryKeeper::writeDueCopies() {
    for (StageDocument* document : tracked_.keys())
        writeCopy(document);
}

void RecoveryKeeper::writeCopy(StageDocument* document) {
    auto it = tracked_.find(document);
    if (it == tracked_.end() || !store_->isOpen())
        return;
    const Snapshot snapshot = snapshotOf(*document);
    if (!document->isModified() && !snapshot.scriptPending) {
        removeCopy(document);
        return;
    }
    if (snapshot.record == it->written)
        return; // the copy on disk is current
    QString error;
    if (!store_->write(it->key, snapshot.record, document->filePath(), document->title(), &error)) {
        reportFailure(error);
        return;
    }
    it->written = snapshot.record;
    if (failing_) {
        failing_ = false;
        emit copyProblemChanged({});
    }
    emit copyWritten(document);
}

void RecoveryKeeper::reportFailure(const QString& error) {
    // The status bar says so while it lasts; the message comes once per run (a full disk
    // would otherwise ask every half minute).
    if (!failing_) {
        failing_ = true;
        emit copyProblemChanged(
            QCoreApplication::translate("RecoveryKeeper", "復元用のコピーを保存できません"));
    }
    if (failureReported_)
        return;
    failureReported_ = true;
    showMessage(QCoreApplication::translate(
                    "RecoveryKeeper",
                    "復元用のコピーを保存できません。編集内容はこまめに保存してください。\n%1")
                    .arg(error),
                dialogParent_);
}

int RecoveryKeeper::offerRecovery(QWidget* dialogParent, Answer answer) {
    QList<RecoveryStore::Orphan> orphans = store_->takeOrphans();
    if (orphans.isEmpty())
        return 0;
    // Answered on the command line, the start-up runs unattended (a script, a test): what
    // there is to say about the copies goes to stderr rather than into a box nobody answers.
    const bool attended = answer == Answer::Ask;
    if (attended)
        answer = ask(dialogParent, orphans);

    int restored = 0;
    QStringList failures;
    QStringList damaged;
    QStringList kept; // folders that could not be removed
    for (RecoveryStore::Orphan& orphan : orphans) {
        if (answer == Answer::Keep) {
            RecoveryStore::release(orphan);
            continue;
        }
        if (answer == Answer::Discard) {
            if (!RecoveryStore::discard(orphan))
                kept << QDir::toNativeSeparators(orphan.folder);
            continue;
        }
        bool allRestored = true;
        for (const RecoveryStore::Entry& entry : orphan.entries) {
            QString error;
            const QByteArray record = RecoveryStore::readRecord(entry, &error);
            if (!error.isEmpty()) {
                failures << QStringLiteral("%1: %2").arg(describe(entry), error);
                allRestored = false;
                continue;
            }
            // A damaged copy never takes the original file's place: saving it would put a blank
            // or half stage over a good file.
            StageDocument* document =
                documents_->openRecovered(record, entry.damaged ? QString() : entry.originalPath);
            if (entry.damaged)
                damaged << QStringLiteral("%1 → %2").arg(describe(entry), document->title());
            ++restored;
            // This run's own copy exists before the old one goes.
            if (store_->isOpen())
                writeCopy(document);
            RecoveryStore::removeEntry(entry);
        }
        if (allRestored) {
            if (!RecoveryStore::discard(orphan))
                kept << QDir::toNativeSeparators(orphan.folder);
        } else
            RecoveryStore::release(orphan); // offered again next time
    }
    const auto tell = [&](const QString& text) {
        if (attended)
            showMessage(text, dialogParent);
        else
            std::fprintf(stderr, "rkedit: %s\n", text.toUtf8().constData());
    };
    if (!damaged.isEmpty())
        tell(QCoreApplication::translate(
                 "RecoveryKeeper", "次の復元用コピーは壊れているため、新しい無題のステージとして"
                                   "開きました。内容を確かめてから保存してください。\n%1")
                 .arg(damaged.join(QLatin1Char('\n'))));
    if (!failures.isEmpty())
        tell(QCoreApplication::translate("RecoveryKeeper",
                                         "次の復元用コピーを読み込めませんでした。\n%1")
                 .arg(failures.join(QLatin1Char('\n'))));
    if (!kept.isEmpty())
        tell(QCoreApplication::translate(
                 "RecoveryKeeper",
                 "次のフォルダーに書き込めないため、復元用コピーを削除できませんでした。"
                 "次回の起動時にも表示されます。不要なら手動で削除してください。\n%1")
                 .arg(kept.join(QLatin1Char('\n'))));
    return restored;
}

void RecoveryKeeper::shutdown() {
    timer_->stop();
    // Stages still open here were neither saved nor discarded by the user (the program was
    // told to quit without closing its windows): their copies stay for the next start.
    writeDueCopies();
    tracked_.clear();
    store_->close();
}
