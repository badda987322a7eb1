#pragma once

#include "document/stageeditcommand.h"

// The stage read again from its file after another program changed it; undoing it gives back
// the stage as it was before. An open event tool follows the script either way.
class ReloadCommand : public StageEditCommand {
public:
    ReloadCommand(StageDocument* document, StageChange change)
        : StageEditCommand(document, std::move(change),
                           QStringLiteral("ファイルから読み込み直し")) {}

protected:
    void refresh(bool forward) override;
};
