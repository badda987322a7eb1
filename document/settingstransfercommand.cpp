#include "document/settingstransfercommand.h"

#include <utility>

#include "stage/stagechange.h"

SettingsTransferCommand::SettingsTransferCommand(StageDocument* document, StageChange change)
    : StageEditCommand(document, std::move(change), QString()) {
    setText(textFor(this->change()));
}

QString SettingsTransferCommand::textFor(const StageChange& change) {
    if (!change.grid().empty())
        return QStringLiteral("ブロックサイズの変更");
    // One setting changed: named by its panel label, where it has one.
    const auto fields = change.changedFields();
    if (fields.size() == 1 && !fields.front()->label.empty()) {
        const std::string_view label = fields.front()->label;
        return QString::fromUtf8(label.data(), qsizetype(label.size())) + QStringLiteral("の変更");
    }
    return QStringLiteral("プロパティの変更");
}
