#pragma once

#include "document/stageeditcommand.h"
#include "picture/pictureblock.h"

// A picture chosen or drawn again from the properties panel: the picture the stage shows and
// the file name that came with it (a text of the change), one step. Every window of the stage
// shows the picture of the current step.
class PictureCommand : public StageEditCommand {
public:
    PictureCommand(StageDocument* document, StageChange change, PictureHolder before,
                   PictureHolder after);

    void undo() override;
    void redo() override;

protected:
    void refresh(bool forward) override;

private:
    PictureHolder before_;
    PictureHolder after_;
};
