#pragma once

#include "app/stageeditcommand.h"

// The event script taken over from the event tool. Undoing or redoing it also shows the
// restored script in an open event tool of the stage, unless the user has typed in that
// tool since (then the tool keeps the text, which a later take-over makes a step of its own).
class ScriptCommand : public StageEditCommand {
public:
    ScriptCommand(StageDocument* document, StageChange change)
        : StageEditCommand(document, std::move(change),
                           QStringLiteral("イベントスクリプトの変更")) {}

protected:
    void refresh(bool forward) override;
};
