#include "document/stagedocument.h"

#include <cstring>

#include <QCoreApplication>
#include <QFileInfo>

#include "document/coretexts.h"
#include "document/picturecommand.h"
#include "document/stagelock.h"
#include "render/stagepainter.h"
#include "stage/stagechange.h"

StageDocument::Scopes StageDocument::scopesOf(const StageChange& change) {
    Scopes scopes;
    if (!change.grid().empty())
        scopes |= Scope::Grid;
    for (const StageField* f : change.changedFields()) {
        switch (f->scope) {
        case FieldScope::layout:
            scopes |= Scope::Layout;
            break;
        case FieldScope::grid:
            scopes |= Scope::Grid;
            break;
        case FieldScope::script:
            scopes |= Scope::Script;
            break;
        case FieldScope::exportValue:
            scopes |= Scope::Export;
            break;
        case FieldScope::settings:
            scopes |= Scope::Settings;
            break;
        }
    }
    return scopes;
}

StageDocument::StageDocument(QObject* parent)
    : QObject(parent), doc_(std::make_unique<CRKeditDoc>()), lock_(std::make_unique<StageLock>()) {
    connect(&undoStack_, &QUndoStack::cleanChanged, this,
            [this](bool clean) { emit modifiedChanged(!clean); });
    connect(&undoStack_, &QUndoStack::indexChanged, this, &StageDocument::edited);
}

StageDocument::~StageDocument() = default;

void StageDocument::setFilePath(const QString& path) {
    filePath_ = path;
    const QString name = QFileInfo(path).fileName();
    setTitle(readOnly_ ? QCoreApplication::translate("Document", "%1 (読み取り専用)").arg(name)
                       : name);
}

void StageDocument::setReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    if (!filePath_.isEmpty())
        setFilePath(filePath_);
}

void StageDocument::setTitle(const QString& title) {
    if (title == title_)
        return;
    title_ = title;
    emit titleChanged();
}

void StageDocument::setModified(bool modified) {
    if (modified) {
        // The clean state moves out of reach: no undo or redo can bring it back.
        undoStack_.resetClean();
        emit edited();
    } else {
        undoStack_.setClean();
    }
}

void StageDocument::pushEdit(QUndoCommand* step) {
    if (step != nullptr)
        undoStack_.push(step);
}

void StageDocument::setDiskContents(const QByteArray& bytes) {
    diskContents_ = bytes;
    emit diskContentsChanged();
}

void StageDocument::addView(QObject* view) {
    views_.append(view);
    emit viewsChanged();
}

void StageDocument::removeView(QObject* view) {
    if (!views_.removeOne(view))
        return;
    emit viewsChanged();
    if (views_.isEmpty())
        emit lastViewRemoved();
}

void StageDocument::updateAllViews() {
    emit viewsUpdateRequested();
}

void StageDocument::announceChange(Scopes scopes) {
    if (scopes & (Scope::Layout | Scope::Picture))
        fitPictureSize();
    if (scopes)
        emit stageChanged(scopes);
}

bool StageDocument::fitPictureSize() {
    return writeBackPictureSize(*doc_);
}

void StageDocument::announceChange(const StageChange& change, Scopes extra) {
    announceCells(change.grid().box());
    announceChange(scopesOf(change) | extra);
}

void StageDocument::announceCells(const CellRect& cells) {
    if (!cells.empty())
        emit cellsChanged(cells);
}

void StageDocument::announceScriptReplaced(const std::string& replaced) {
    emit scriptReplaced(replaced);
}

void StageDocument::takePendingEdits() {
    emit pendingEditsRequested();
}

std::optional<std::string> StageDocument::pendingScript(bool quiet) {
    // A copy: a source may add or remove sources while it answers.
    const QList<PendingScriptSource*> sources = scriptSources_;
    for (PendingScriptSource* source : sources)
        if (scriptSources_.contains(source))
            if (std::optional<std::string> script = source->pendingScript(quiet))
                return script;
    return std::nullopt;
}

void StageDocument::addScriptSource(PendingScriptSource* source) {
    if (source != nullptr && !scriptSources_.contains(source))
        scriptSources_.append(source);
}

void StageDocument::removeScriptSource(PendingScriptSource* source) {
    scriptSources_.removeOne(source);
}

namespace {
bool samePicture(const PictureHolder& a, const PictureHolder& b) {
    if (a.block == b.block)
        return true;
    return a.block && b.block && a.block->size() == b.block->size() &&
           std::memcmp(a.block->data(), b.block->data(), a.block->size()) == 0;
}
} // namespace

bool StageDocument::changePicture(bool foreground, const std::string& name,
                                  const PictureHolder& picture) {
    const CRKeditDoc before = *doc_;
    (foreground ? doc_->graphic1 : doc_->graphic2) = name;
    StageChange change = StageChange::between(before, *doc_);
    if (change.empty() && samePicture(before.picture, picture))
        return false;
    doc_->picture = picture;
    const Scopes scopes = scopesOf(change) | Scope::Picture; // a picture never touches cells
    pushEdit(new PictureCommand(this, std::move(change), before.picture, picture));
    announceChange(scopes);
    return true;
}

void StageDocument::messageBox(const Message& message) {
    emit messageRequested(coreMessage(message));
}
