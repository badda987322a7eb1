#include "document/stageeditcommand.h"

#include "document/stagedocument.h"

StageEditCommand::StageEditCommand(StageDocument* document, StageChange change, const QString& text)
    : QUndoCommand(text), document_(document), change_(std::move(change)) {}

void StageEditCommand::undo() {
    change_.apply(document_->doc(), false);
    applied_ = false;
    refresh(false);
}

void StageEditCommand::redo() {
    if (applied_)
        return; // pushed after the edit itself
    change_.apply(document_->doc(), true);
    applied_ = true;
    refresh(true);
}

void StageEditCommand::refresh(bool) {
    // The open properties panels take the document's values; views repaint what changed.
    document_->updateAllViews();
    document_->announceChange(change_);
}
