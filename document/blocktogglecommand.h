#pragma once

#include "document/stageeditcommand.h"

// A mouse drag that toggled a rectangle of cells between empty and normal block.
class BlockToggleCommand : public StageEditCommand {
public:
    BlockToggleCommand(StageDocument* document, StageChange change)
        : StageEditCommand(document, std::move(change), QStringLiteral("ブロックの切り替え")) {}
};
