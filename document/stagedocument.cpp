#include "document/stagedocument.h"

#include <QFileInfo>

#include "panels/messagebox.h"
#include "view/CRKeditView.h"

StageDocument::StageDocument(QObject* parent)
    : QObject(parent), doc_(std::make_unique<CRKeditDoc>()) {
    connect(&undoStack_, &QUndoStack::cleanChanged, this,
            [this](bool clean) { emit modifiedChanged(!clean); });
    connect(&undoStack_, &QUndoStack::indexChanged, this, &StageDocument::edited);
}

StageDocument::~StageDocument() = default;

void StageDocument::setFilePath(const QString& path) {
    filePath_ = path;
    setTitle(QFileInfo(path).fileName());
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

void StageDocument::addView(CRKeditView* view) {
    views_.append(view);
    emit viewsChanged();
}

void StageDocument::removeView(CRKeditView* view) {
    if (!views_.removeOne(view))
        return;
    emit viewsChanged();
    if (views_.isEmpty())
        emit lastViewRemoved();
}

void StageDocument::updateAllViews() {
    // A view's update may post work but never closes a view; copy anyway so the loop cannot
    // be disturbed by the list changing.
    const QList<CRKeditView*> views = views_;
    for (CRKeditView* view : views)
        view->OnUpdate();
}

void StageDocument::messageBox(const std::string& text) {
    showMessage(QString::fromStdString(text));
}

void StageDocument::updateAllViews(CRKeditDoc& doc) {
    if (&doc == doc_.get())
        updateAllViews();
}

std::optional<std::string> StageDocument::takeEventToolScript(const CRKeditDoc& doc) {
    CRKeditView* view = CRKeditView::current();
    if (view == nullptr || view->GetDocument() != &doc)
        return std::nullopt;
    return view->takeEventToolScript();
}
