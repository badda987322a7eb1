#pragma once

#include "document/stageeditcommand.h"

// The event script taken over from the event tool. Undoing or redoing it also shows the
// restored script in an open event tool of the stage, unless the user has typed in that
// tool since (then the tool keeps the text, which a later take-over makes a step of its own).
class ScriptCommand : public StageEditCommand {
public:
    ScriptCommand(StageDocument* document, StageChange change)
        : StageEditCommand(document, std::move(change),
                           QStringLiteral("イベントスクリプトの変更")) {}

    // Shows the document's script in the open event tools of its views that still show
    // `replaced` (a tool the user has typed in since keeps its text).
    static void showInEventTools(StageDocument* document, const std::string& replaced);

protected:
    void refresh(bool forward) override;
};
