#pragma once

#include "document/stageeditcommand.h"

// An edit of the block grid by the mouse: by default the toggle drag, which switches a
// rectangle of cells between empty and normal block; the other tools name their step.
class BlockToggleCommand : public StageEditCommand {
public:
    BlockToggleCommand(StageDocument* document, StageChange change,
                       const QString& text = QStringLiteral("ブロックの切り替え"))
        : StageEditCommand(document, std::move(change), text) {}
};
