#pragma once

#include "document/stageeditcommand.h"

// The event script taken over from the event tool. Undoing or redoing it also tells that the
// script was replaced, so an open event tool of the stage shows the restored script unless
// the user has typed in that tool since (then the tool keeps the text, which a later
// take-over makes a step of its own).
class ScriptCommand : public StageEditCommand {
public:
    ScriptCommand(StageDocument* document, StageChange change)
        : StageEditCommand(document, std::move(change),
                           QStringLiteral("イベントスクリプトの変更")) {}

protected:
    void refresh(bool forward) override;
};
