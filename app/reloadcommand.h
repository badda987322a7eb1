#pragma once

#include "app/stageeditcommand.h"

// The stage read again from its file after another program changed it; undoing it gives back the
// stage as it was before.
class ReloadCommand : public StageEditCommand {
public:
    ReloadCommand(StageDocument* document, StageChange change)
        : StageEditCommand(document, std::move(change),
                           QStringLiteral("ファイルから読み込み直し")) {}
};
