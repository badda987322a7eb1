#include "document/settingstransfercommand.h"

#include <utility>

#include "stage/CRKeditDoc.h"

namespace {
// The properties panel's labels of the settings it edits.
QString labelOf(std::string CRKeditDoc::*member) {
    static const std::pair<std::string CRKeditDoc::*, const char*> labels[] = {
        {&CRKeditDoc::graphic1, "前景ファイル"},
        {&CRKeditDoc::graphic2, "背景ファイル"},
        {&CRKeditDoc::graphicWidth, "画像サイズ"},
        {&CRKeditDoc::graphicHeight, "画像サイズ"},
        {&CRKeditDoc::blockWidth, "横サイズ"},
        {&CRKeditDoc::blockHeight, "縦サイズ"},
        {&CRKeditDoc::barSpace, "パドル領域高"},
        {&CRKeditDoc::minRadian, "最小角度"},
        {&CRKeditDoc::maxRadian, "最大角度"},
        {&CRKeditDoc::ballSize, "直径"},
        {&CRKeditDoc::baseSpeed, "スピード"},
        {&CRKeditDoc::precision, "衝突判定精度"},
        {&CRKeditDoc::barWidth, "幅"},
        {&CRKeditDoc::barHeight, "厚さ"},
        {&CRKeditDoc::edgeWidth, "エッジ幅"},
        {&CRKeditDoc::criticalWidth, "スマッシュヒット幅"},
        {&CRKeditDoc::xSpeed, "キーボード使用時移動速度"},
        {&CRKeditDoc::life, "プレイヤー機数"},
        {&CRKeditDoc::blockMask, "ブロックマスク"},
        {&CRKeditDoc::ballSpeedRate, "ボール速度ユーザ設定"},
        {&CRKeditDoc::barSpeedRate, "パドル速度ユーザ設定"},
    };
    for (const auto& [m, label] : labels)
        if (m == member)
            return QString::fromUtf8(label);
    return {};
}
} // namespace

SettingsTransferCommand::SettingsTransferCommand(StageDocument* document, StageChange change)
    : StageEditCommand(document, std::move(change), QString()) {
    setText(textFor(this->change()));
}

QString SettingsTransferCommand::textFor(const StageChange& change) {
    if (!change.grid().empty())
        return QStringLiteral("ブロックサイズの変更");
    const auto texts = change.changedTexts();
    if (texts.size() == 1 && !change.changesFlags() && !change.changesColours()) {
        const QString label = labelOf(texts.front());
        if (!label.isEmpty())
            return label + QStringLiteral("の変更");
    }
    return QStringLiteral("プロパティの変更");
}
