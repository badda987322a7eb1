#include "document/settingstransfercommand.h"

#include <QCoreApplication>

#include <utility>

#include "stage/stagechange.h"

SettingsTransferCommand::SettingsTransferCommand(StageDocument* document, StageChange change)
    : StageEditCommand(document, std::move(change), QString()) {
    setText(textFor(this->change()));
}

QString SettingsTransferCommand::textFor(const StageChange& change) {
    if (!change.grid().empty())
        return QCoreApplication::translate("Undo", "ブロックサイズの変更");
    // One setting changed: named by its panel label, where it has one.
    const auto fields = change.changedFields();
    if (fields.size() == 1 && !fields.front()->label.empty()) {
        const std::string_view label = fields.front()->label;
        const QByteArray source(label.data(), qsizetype(label.size()));
        return QCoreApplication::translate("Undo", "%1の変更")
            .arg(QCoreApplication::translate("Core", source.constData()));
    }
    return QCoreApplication::translate("Undo", "プロパティの変更");
}
