#pragma once

#include <QUndoCommand>

#include "stage/stagechange.h"

class StageDocument;

// One undo step of a stage: what the edit changed, applied forwards by redo and backwards by
// undo. The edit has already been made when the step is pushed, so the first redo changes
// nothing (and leaves open panels alone: they may hold text the user is still typing). Every
// later undo or redo repaints every view of the stage and refreshes its open properties
// panels from the document.
class StageEditCommand : public QUndoCommand {
public:
    StageEditCommand(StageDocument* document, StageChange change, const QString& text);

    void undo() override;
    void redo() override;

    const StageChange& change() const { return change_; }
    StageDocument* document() const { return document_; }

protected:
    // After the document has been changed by an undo or a redo.
    virtual void refresh(bool forward);

private:
    StageDocument* document_;
    StageChange change_;
    bool applied_ = true;
};
