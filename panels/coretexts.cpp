#include "panels/coretexts.h"

#include <QByteArray>
#include <QCoreApplication>

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
} // namespace

QString coreText(std::string_view utf8) {
    const QByteArray source(utf8.data(), qsizetype(utf8.size()));
    return QCoreApplication::translate("Core", source.constData());
}
