#include "shell/recoverykeeper.h"

#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "document/stagedocument.h"
#include "host/host.h"
#include "panels/dataexchange.h"
#include "panels/messagebox.h"
#include "shell/documentmanager.h"
#include "stage/CRKeditDoc.h"
#include "stage/stagerecord.h"

namespace {
// Writes a copy of a document as Save would: the open event tool's text goes into the
// copy, never into the document itself, and nothing is shown or updated.
class CopyHost : public Host {
public:
    explicit CopyHost(StageDocument& document) : document_(document) {}
    void messageBox(const std::string&) override {}
    void updateAllViews(CRKeditDoc&) override {}
    std::optional<std::string> takeEventToolScript(const CRKeditDoc&) override {
        return document_.takeEventToolScript(document_.doc());
    }

private:
    StageDocument& document_;
};

struct Snapshot {
    QByteArray record;
    bool scriptPending = false; // the event tool holds text the document has not taken
};

Snapshot snapshotOf(StageDocument& document) {
    CRKeditDoc copy = document.doc();
    CopyHost host(document);
    // The event tool reports text it cannot store when it takes its edit in; a copy made in
    // the background says nothing (the user hears of it when the tool's text is taken).
    const PanelMessageHandler previous = setPanelMessageHandler([](const QString&) {});
    const std::string record = writeStageRecord(copy, host);
    setPanelMessageHandler(previous);
    return {QByteArray(record.data(), qsizetype(record.size())),
            copy.command != document.doc().command};
}

QString describe(const RecoveryStore::Entry& entry) {
    const QString name =
        entry.originalPath.isEmpty() ? entry.title : QDir::toNativeSeparators(entry.originalPath);
    const QString when = entry.written.isValid()
                             ? entry.written.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"))
                             : QString();
    return when.isEmpty() ? name : QStringLiteral("%1  (%2)").arg(name, when);
}

RecoveryKeeper::Answer ask(QWidget* parent, const QList<RecoveryStore::Orphan>& orphans) {
    QStringList lines;
    for (const auto& orphan : orphans)
        for (const auto& entry : orphan.entries)
            lines << QStringLiteral("・") + describe(entry);
    QMessageBox box(QMessageBox::Question, applicationTitle(),
                    QStringLiteral("rkedit が正常に終了しなかったため、保存されていない変更の"
                                   "復元用コピーが残っています。\n\n%1\n\n復元しますか？")
                        .arg(lines.join(QLatin1Char('\n'))),
                    QMessageBox::NoButton, parent);
    QPushButton* restore = box.addButton(QStringLiteral("復元する"), QMessageBox::AcceptRole);
    box.addButton(QStringLiteral("破棄する"), QMessageBox::DestructiveRole);
    box.setDefaultButton(restore);
    box.exec();
    return box.clickedButton() == restore ? RecoveryKeeper::Answer::Restore
                                          : RecoveryKeeper::Answer::Discard;
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
    emit copyWritten(document);
}

void RecoveryKeeper::reportFailure(const QString& error) {
    // Once per run: a full disk would otherwise ask every half minute.
    if (failureReported_)
        return;
    failureReported_ = true;
    showMessage(
        QStringLiteral("復元用のコピーを保存できません。編集内容はこまめに保存してください。\n%1")
            .arg(error),
        dialogParent_);
}

int RecoveryKeeper::offerRecovery(QWidget* dialogParent, Answer answer) {
    QList<RecoveryStore::Orphan> orphans = store_->takeOrphans();
    if (orphans.isEmpty())
        return 0;
    if (answer == Answer::Ask)
        answer = ask(dialogParent, orphans);

    int restored = 0;
    QStringList failures;
    for (RecoveryStore::Orphan& orphan : orphans) {
        if (answer == Answer::Keep) {
            RecoveryStore::release(orphan);
            continue;
        }
        if (answer == Answer::Discard) {
            RecoveryStore::discard(orphan);
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
            StageDocument* document = documents_->openRecovered(record, entry.originalPath);
            ++restored;
            // This run's own copy exists before the old one goes.
            if (store_->isOpen())
                writeCopy(document);
            RecoveryStore::removeEntry(entry);
        }
        if (allRestored)
            RecoveryStore::discard(orphan);
        else
            RecoveryStore::release(orphan); // offered again next time
    }
    if (!failures.isEmpty())
        showMessage(QStringLiteral("次の復元用コピーを読み込めませんでした。\n%1")
                        .arg(failures.join(QLatin1Char('\n'))),
                    dialogParent);
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
