#include "document/coretexts.h"

#include <QByteArray>
#include <QCoreApplication>

#include <iterator>
#include <string>

namespace {
// What core's tables name, listed for the translations: a name missing here stays Japanese in
// an English interface, which the English interface test finds in the panels.
[[maybe_unused]] const char* const names[] = {
    QT_TRANSLATE_NOOP("Core", "画像サイズ"),
    QT_TRANSLATE_NOOP("Core", "前景ファイル"),
    QT_TRANSLATE_NOOP("Core", "背景ファイル"),
    QT_TRANSLATE_NOOP("Core", "最小角度"),
    QT_TRANSLATE_NOOP("Core", "最大角度"),
    QT_TRANSLATE_NOOP("Core", "直径"),
    QT_TRANSLATE_NOOP("Core", "スピード"),
    QT_TRANSLATE_NOOP("Core", "衝突判定精度"),
    QT_TRANSLATE_NOOP("Core", "キーボード使用時移動速度"),
    QT_TRANSLATE_NOOP("Core", "幅"),
    QT_TRANSLATE_NOOP("Core", "厚さ"),
    QT_TRANSLATE_NOOP("Core", "スマッシュヒット幅"),
    QT_TRANSLATE_NOOP("Core", "エッジ幅"),
    QT_TRANSLATE_NOOP("Core", "横サイズ"),
    QT_TRANSLATE_NOOP("Core", "縦サイズ"),
    QT_TRANSLATE_NOOP("Core", "パドル領域高"),
    QT_TRANSLATE_NOOP("Core", "プレイヤー機数"),
    QT_TRANSLATE_NOOP("Core", "ブロックマスク"),
    QT_TRANSLATE_NOOP("Core", "ボール速度ユーザ設定"),
    QT_TRANSLATE_NOOP("Core", "パドル速度ユーザ設定"),
    QT_TRANSLATE_NOOP("Core", "通常ブロック"),
    QT_TRANSLATE_NOOP("Core", "２倍耐久ブロック"),
    QT_TRANSLATE_NOOP("Core", "３倍耐久ブロック"),
    QT_TRANSLATE_NOOP("Core", "破壊不能ブロック"),
    QT_TRANSLATE_NOOP("Core", "透過ブロック"),
    QT_TRANSLATE_NOOP("Core", "アイテムブロック"),
    QT_TRANSLATE_NOOP("Core", "加速ブロック"),
    QT_TRANSLATE_NOOP("Core", "グループ"),
    QT_TRANSLATE_NOOP("Core", "空"),
    QT_TRANSLATE_NOOP("Core", "切り替え"),
    QT_TRANSLATE_NOOP("Core", "ブロックの切り替え"),
    QT_TRANSLATE_NOOP("Core", "ペン"),
    QT_TRANSLATE_NOOP("Core", "矩形"),
    QT_TRANSLATE_NOOP("Core", "塗りつぶし"),
    QT_TRANSLATE_NOOP("Core", "消しゴム"),
    QT_TRANSLATE_NOOP("Core", "スポイト"),
    QT_TRANSLATE_NOOP("Core", "選択"),
    QT_TRANSLATE_NOOP("Core", "移動"),
};

// Core's message templates, in the order of MessageId (a test compares them with core's).
[[maybe_unused]] const char* const messages[] = {
    QT_TRANSLATE_NOOP("Core", "ファイルをオープンできません。"),
    QT_TRANSLATE_NOOP("Core", "ファイルをオープンできません。\n%1: %2"),
    QT_TRANSLATE_NOOP("Core", "ファイルが見つかりません。"),
    QT_TRANSLATE_NOOP("Core", "ファイルを読み書きする権限がありません。"),
    QT_TRANSLATE_NOOP("Core", "フォルダーです。"),
    QT_TRANSLATE_NOOP("Core", "通常のファイルではありません。"),
    QT_TRANSLATE_NOOP("Core", "ファイルが大きすぎます。"),
    QT_TRANSLATE_NOOP("Core", "JPEG ファイルではありません。"),
    QT_TRANSLATE_NOOP("Core", "JPEG ファイルが壊れているか、読み込めない形式です。"),
    QT_TRANSLATE_NOOP("Core", "画像が大きすぎます（67,108,864 画素まで）。"),
    QT_TRANSLATE_NOOP("Core", "ステージファイルではありません。"),
    QT_TRANSLATE_NOOP("Core", "ファイルを読み込めません。"),
    QT_TRANSLATE_NOOP("Core",
                      "%1: 画像ファイルが途中で切れています。読み込めた部分だけを表示します。"),
    QT_TRANSLATE_NOOP("Core",
                      "%1: 画像ファイルに壊れた部分があります。読み込めたとおりに表示します。"),
    QT_TRANSLATE_NOOP("Core", "このムービー (SWF 5 以前) では、Ruffle で再生すると日本語の文字が"
                              "正しく表示されないことがあります。"),
    QT_TRANSLATE_NOOP("Core", "%1 行目: 数値ではない項目があります。"),
    QT_TRANSLATE_NOOP("Core", "%1 行目: 32 ビットに収まらない数値があります。"),
    QT_TRANSLATE_NOOP("Core", "%1 行目: 100 列を超えています。"),
    QT_TRANSLATE_NOOP("Core", "%1 行目が空です。"),
    QT_TRANSLATE_NOOP("Core", "100 行を超えています。"),
    QT_TRANSLATE_NOOP("Core", "%1 行目の項目の数が 1 行目と違います。"),
    QT_TRANSLATE_NOOP("Core", "セルがありません。"),
};
static_assert(std::size(messages) == messageIdCount);
} // namespace

QString coreText(std::string_view utf8) {
    const QByteArray source(utf8.data(), qsizetype(utf8.size()));
    return QCoreApplication::translate("Core", source.constData());
}

QString coreMessage(const Message& message) {
    return QString::fromStdString(
        messageText(message, [](std::string_view text) { return coreText(text).toStdString(); }));
}
