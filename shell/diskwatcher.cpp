#include "shell/diskwatcher.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <memory>
#include <optional>

#include "document/filesystemname.h"
#include "document/readstagefile.h"
#include "document/stagedocument.h"
#include "document/stageedit.h"
#include "panels/dialogs.h"
#include "panels/messagebox.h"
#include "shell/documentmanager.h"
#include "stage/CRKeditDoc.h"
#include "stage/foregroundpicture.h"
#include "stage/ignoredcontent.h"
#include "stage/recordcheck.h"
#include "stage/stagerecord.h"

namespace {
// Changes come in bursts (write, then rename, then attributes): wait for the last one.
constexpr int settleMs = 200;

// A stage file as Open reads it: only a regular file of a stage file's size (a FIFO put in
// its place would hold the editor up for ever).
std::optional<QByteArray> readFile(const QString& path) {
    QByteArray bytes;
    if (readStageFile(path, bytes))
        return std::nullopt;
    return bytes;
}

// Whether `bytes` hold a stage record its writer has finished: the last pair closed by "&".
// A file another program is still writing is cut short (an empty one is not yet written).
bool recordFinished(const QByteArray& bytes) {
    const RecordCheck check =
        checkRecord(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    return check != RecordCheck::unfinished && check != RecordCheck::empty;
}

// The file's bytes once two reads `interval` apart agree and hold a finished record; null
// when it kept changing, stayed cut short (or could not be read) for `tries` waits.
std::optional<QByteArray> readStable(const QString& path, const DiskWatcher::Wait& wait,
                                     int interval, int tries) {
    std::optional<QByteArray> previous = readFile(path);
    for (int i = 0; i < tries; ++i) {
        wait(interval);
        std::optional<QByteArray> now = readFile(path);
        if (previous && now && *previous == *now && recordFinished(*now))
            return now;
        previous = std::move(now);
    }
    return std::nullopt;
}

bool askReload(QWidget* parent, const StageDocument* document) {
    // Whole messages, one for each case, so a translation keeps its own sentence order.
    const QString text =
        (document->isModified()
             ? QCoreApplication::translate("DiskWatcher",
                                           "%1 は他のプログラムによって変更されました。\n"
                                           "このステージには保存されていない変更があります。"
                                           "読み込み直すと、その変更は失われます。\n\n"
                                           "読み込み直しますか？")
             : QCoreApplication::translate("DiskWatcher",
                                           "%1 は他のプログラムによって変更されました。\n\n"
                                           "読み込み直しますか？"))
            .arg(QDir::toNativeSeparators(document->filePath()));
    // A modified stage keeps its edits unless the user says otherwise.
    MessageChoice question;
    question.icon = QMessageBox::Question;
    question.text = text;
    question.buttons = QMessageBox::Yes | QMessageBox::No;
    question.defaultButton = document->isModified() ? QMessageBox::No : QMessageBox::Yes;
    return Dialogs::current().ask(parent, question) == QMessageBox::Yes;
}
} // namespace

DiskWatcher::DiskWatcher(DocumentManager* documents, QWidget* dialogParent, QObject* parent)
    : QObject(parent), documents_(documents), dialogParent_(dialogParent) {
    wait_ = [](int ms) {
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    };
    settle_.setSingleShot(true);
    settle_.setInterval(settleMs);
    connect(&settle_, &QTimer::timeout, this, &DiskWatcher::checkNow);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &DiskWatcher::scheduleCheck);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &DiskWatcher::scheduleCheck);
    connect(documents_, &DocumentManager::documentsChanged, this, [this] {
        for (StageDocument* document : documents_->documents()) {
            if (baseline_.contains(document))
                continue;
            // Each document once: follow its saves (which may give it a new path).
            baseline_.insert(document, {});
            connect(document, &StageDocument::diskContentsChanged, this, &DiskWatcher::sync);
            connect(document, &StageDocument::titleChanged, this, &DiskWatcher::sync);
        }
        sync();
    });
}

void DiskWatcher::sync() {
    QSet<QString> wanted;
    const QList<StageDocument*>& open = documents_->documents();
    for (auto it = baseline_.begin(); it != baseline_.end();) {
        if (!open.contains(it.key()))
            it = baseline_.erase(it);
        else
            ++it;
    }
    for (StageDocument* document : open) {
        const QString path = document->filePath();
        if (path.isEmpty())
            continue;
        if (document->diskContents().isEmpty() && baseline_.value(document).isEmpty()) {
            if (const auto bytes = readFile(path))
                baseline_[document] = *bytes;
        }
        wanted.insert(path);
        wanted.insert(QFileInfo(path).absolutePath());
    }
    const QStringList watched = watcher_.files() + watcher_.directories();
    for (const QString& path : watched)
        if (!wanted.contains(path))
            watcher_.removePath(path);
    for (const QString& path : wanted)
        if (!watched.contains(path) && QFileInfo::exists(path))
            watcher_.addPath(path);
}

void DiskWatcher::setWait(Wait wait) {
    wait_ = std::move(wait);
}

void DiskWatcher::scheduleCheck() {
    settle_.start();
}

QByteArray DiskWatcher::knownContents(StageDocument* document) const {
    return document->diskContents().isEmpty() ? baseline_.value(document)
                                              : document->diskContents();
}

void DiskWatcher::checkNow() {
    if (asking_) {
        // One question at a time; look again once it is answered.
        recheck_ = true;
        return;
    }
    // A file replaced by a rename is a new file: watch it again.
    sync();
    const QList<StageDocument*> open = documents_->documents();
    for (StageDocument* document : open)
        if (documents_->documents().contains(document))
            check(document);
    emit checked();
}

void DiskWatcher::check(StageDocument* document) {
    const QString path = document->filePath();
    if (path.isEmpty())
        return;
    const std::optional<QByteArray> bytes = readFile(path);
    if (!bytes || *bytes == knownContents(document))
        return;

    asking_ = true;
    const bool reloadIt = askReload(dialogParent_, document);
    // The file as it is now, once its writer has finished: what was read before the
    // question may be half of it.
    const std::optional<QByteArray> stable =
        reloadIt ? readStable(path, wait_, stableIntervalMs, stableTries) : std::nullopt;
    // The stage may have been closed while the question was open.
    if (documents_->documents().contains(document)) {
        if (reloadIt && stable) {
            reload(document, *stable);
        } else if (reloadIt) {
            // Still being written (or gone): nothing is read, and the next change asks again.
            const QString name = QDir::toNativeSeparators(path);
            showMessage(
                QFileInfo::exists(path)
                    ? QCoreApplication::translate("DiskWatcher",
                                                  "%1 は他のプログラムが書き込みを続けているため、"
                                                  "読み込み直しませんでした。")
                          .arg(name)
                    : QCoreApplication::translate(
                          "DiskWatcher", "%1 が見つからないため、読み込み直しませんでした。")
                          .arg(name),
                dialogParent_);
        } else {
            // Declined: this version of the file is not asked about again.
            baseline_[document] = *bytes;
            if (!document->diskContents().isEmpty())
                document->setDiskContents(*bytes);
        }
    }
    asking_ = false;
    if (recheck_) {
        recheck_ = false;
        scheduleCheck();
    }
}

void DiskWatcher::reload(StageDocument* document, const QByteArray& bytes) {
    // Read into a fresh document first (Open's reading of a new document), then take it over.
    IgnoredContent ignored;
    auto fresh = std::make_unique<CRKeditDoc>(
        parseStageRecord(std::string_view(bytes.constData(), size_t(bytes.size())), ignored));
    loadForegroundPicture(*fresh, fileSystemName(document->filePath()).toStdString(), *document);
    // One undo step, so edits the reading replaced can be brought back; the stage now
    // matches its file, which is the clean state.
    StageEdit edit(*document, StageEdit::Kind::Reload);
    const std::string script = document->doc().command;
    document->doc() = std::move(*fresh);
    edit.commit();
    // The picture read anew may have another size than the one before.
    document->fitPictureSize();
    document->announceScriptReplaced(script);
    document->setDiskContents(bytes);
    document->setModified(false);
    document->updateAllViews();
    // The new contents decide what a save over the file would drop.
    documents_->noteIgnoredContent(document, ignored, bytes);
}
