#pragma once

#include "document/stageeditcommand.h"

// One panel-to-document transfer that changed settings, together with the grid clear a new
// block size causes. Named after the setting when only one changed ("直径の変更").
class SettingsTransferCommand : public StageEditCommand {
public:
    SettingsTransferCommand(StageDocument* document, StageChange change);

    // The step's name for `change`.
    static QString textFor(const StageChange& change);
};
