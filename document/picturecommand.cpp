#include "document/picturecommand.h"

#include <QCoreApplication>

#include "document/stagedocument.h"

PictureCommand::PictureCommand(StageDocument* document, StageChange change, PictureHolder before,
                               PictureHolder after)
    : StageEditCommand(document, std::move(change),
                       QCoreApplication::translate("Undo", "画像の変更")),
      before_(std::move(before)), after_(std::move(after)) {}

void PictureCommand::undo() {
    document()->doc().picture = before_;
    StageEditCommand::undo();
}

void PictureCommand::redo() {
    // The first redo, when pushed, finds the picture in place already.
    document()->doc().picture = after_;
    StageEditCommand::redo();
}

void PictureCommand::refresh(bool forward) {
    StageEditCommand::refresh(forward);
    // The picture itself is no text of the change: every window repaints it.
    document()->announceChange(StageDocument::Scope::Picture);
}
