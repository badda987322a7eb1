#pragma once

#include "document/stageeditcommand.h"

// The values the HTML export dialog stored: title, stage file name, quality, colours and annotation
// layout.
class ExportValuesCommand : public StageEditCommand {
public:
    ExportValuesCommand(StageDocument* document, StageChange change)
        : StageEditCommand(document, std::move(change), QStringLiteral("HTML書き出しの設定")) {}
};
