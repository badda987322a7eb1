#pragma once

#include "app/stageeditcommand.h"

// The event script taken over from the event tool.
class ScriptCommand : public StageEditCommand {
public:
    ScriptCommand(StageDocument* document, StageChange change)
        : StageEditCommand(document, std::move(change),
                           QStringLiteral("イベントスクリプトの変更")) {}
};
