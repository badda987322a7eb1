#include "shell/menuresources.h"

#include <QCoreApplication>
#include <QHash>

#include "shell/commandids.h"
#include "view/CRKeditView.h"

namespace {
const MenuItem separator{0, ""};
} // namespace

QString menuText(const char* source) {
    return QCoreApplication::translate("Menu", source);
}

const QVector<MenuDefinition>& menu128() {
    static const QVector<MenuDefinition> menus{
        {QT_TRANSLATE_NOOP("Menu", "ﾌｧｲﾙ(&F)"),
         {{ID_FILE_NEW, QT_TRANSLATE_NOOP("Menu", "新規作成(&N)\tCtrl+N")},
          {ID_FILE_OPEN, QT_TRANSLATE_NOOP("Menu", "開く(&O)...\tCtrl+O")},
          separator,
          {ID_FILE_MRU_FILE1, QT_TRANSLATE_NOOP("Menu", "最近使ったﾌｧｲﾙ")},
          separator,
          {ID_APP_EXIT, QT_TRANSLATE_NOOP("Menu", "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)")}}},
        {QT_TRANSLATE_NOOP("Menu", "表示(&V)"),
         {{ID_VIEW_TOOLBAR, QT_TRANSLATE_NOOP("Menu", "ﾂｰﾙ ﾊﾞｰ(&T)")},
          {ID_VIEW_STATUS_BAR, QT_TRANSLATE_NOOP("Menu", "ｽﾃｰﾀｽ ﾊﾞｰ(&S)")}}},
        {QT_TRANSLATE_NOOP("Menu", "ﾍﾙﾌﾟ(&H)"),
         {{ID_APP_ABOUT, QT_TRANSLATE_NOOP("Menu", "rkedit のﾊﾞｰｼﾞｮﾝ情報(&A)...")}}},
    };
    return menus;
}

const QVector<MenuDefinition>& menu129() {
    static const QVector<MenuDefinition> menus{
        {QT_TRANSLATE_NOOP("Menu", "ﾌｧｲﾙ(&F)"),
         {{ID_FILE_NEW, QT_TRANSLATE_NOOP("Menu", "新規作成(&N)\tCtrl+N")},
          {ID_FILE_OPEN, QT_TRANSLATE_NOOP("Menu", "開く(&O)...\tCtrl+O")},
          {ID_FILE_CLOSE, QT_TRANSLATE_NOOP("Menu", "閉じる(&C)")},
          {ID_FILE_SAVE, QT_TRANSLATE_NOOP("Menu", "上書き保存(&S)\tCtrl+S")},
          {ID_FILE_SAVE_AS, QT_TRANSLATE_NOOP("Menu", "名前を付けて保存(&A)...")},
          {ID_HTML_EXPORT, QT_TRANSLATE_NOOP("Menu", "HTMLファイルの書き出し")},
          {ID_TEST_PLAY, QT_TRANSLATE_NOOP("Menu", "テストプレイ(&P)\tF5")},
          separator,
          {ID_FILE_MRU_FILE1, QT_TRANSLATE_NOOP("Menu", "最近使ったﾌｧｲﾙ")},
          separator,
          {ID_APP_EXIT, QT_TRANSLATE_NOOP("Menu", "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)")}}},
        {QT_TRANSLATE_NOOP("Menu", "編集(&E)"),
         {{ID_EDIT_UNDO, QT_TRANSLATE_NOOP("Menu", "元に戻す(&U)\tCtrl+Z")},
          {ID_EDIT_REDO, QT_TRANSLATE_NOOP("Menu", "やり直し(&R)\tCtrl+Y")},
          separator,
          {ID_EDIT_CUT, QT_TRANSLATE_NOOP("Menu", "切り取り(&T)\tCtrl+X")},
          {ID_EDIT_COPY, QT_TRANSLATE_NOOP("Menu", "コピー(&C)\tCtrl+C")},
          {ID_EDIT_PASTE, QT_TRANSLATE_NOOP("Menu", "貼り付け(&P)\tCtrl+V")},
          {ID_EDIT_PASTE_IN_PLACE, QT_TRANSLATE_NOOP("Menu", "同じ位置に貼り付け\tCtrl+Shift+V")},
          {ID_EDIT_CLEAR, QT_TRANSLATE_NOOP("Menu", "削除(&D)\tDel")},
          separator,
          {ID_EDIT_SELECT_ALL, QT_TRANSLATE_NOOP("Menu", "すべて選択(&A)\tCtrl+A")},
          {ID_EDIT_DESELECT, QT_TRANSLATE_NOOP("Menu", "選択の解除\tCtrl+D")},
          {ID_EDIT_PASTE_EMPTY, QT_TRANSLATE_NOOP("Menu", "空のセルも貼り付ける")}}},
        {QT_TRANSLATE_NOOP("Menu", "表示(&V)"),
         {{ID_VIEW_TOOLBAR, QT_TRANSLATE_NOOP("Menu", "ﾂｰﾙ ﾊﾞｰ(&T)")},
          {ID_VIEW_STATUS_BAR, QT_TRANSLATE_NOOP("Menu", "ｽﾃｰﾀｽ ﾊﾞｰ(&S)")},
          separator,
          {ID_VIEW_ZOOM_IN, QT_TRANSLATE_NOOP("Menu", "拡大(&I)\tCtrl++")},
          {ID_VIEW_ZOOM_OUT, QT_TRANSLATE_NOOP("Menu", "縮小(&O)\tCtrl+-")},
          {ID_VIEW_ZOOM_100, QT_TRANSLATE_NOOP("Menu", "100%(&1)\tCtrl+0")},
          {ID_VIEW_ZOOM_FIT, QT_TRANSLATE_NOOP("Menu", "ｳｨﾝﾄﾞｳに合わせる(&W)\tCtrl+9")}}},
        {QT_TRANSLATE_NOOP("Menu", "ｳｨﾝﾄﾞｳ(&W)"),
         {{ID_WINDOW_NEW, QT_TRANSLATE_NOOP("Menu", "新しいｳｨﾝﾄﾞｳを開く(&N)")},
          {ID_WINDOW_CASCADE, QT_TRANSLATE_NOOP("Menu", "重ねて表示(&C)")},
          {ID_WINDOW_TILE_HORZ, QT_TRANSLATE_NOOP("Menu", "並べて表示(&T)")},
          {ID_WINDOW_ARRANGE, QT_TRANSLATE_NOOP("Menu", "ｱｲｺﾝの整列(&A)")},
          {ID_WINDOW_TABBED, QT_TRANSLATE_NOOP("Menu", "タブで表示(&B)")}}},
        {QT_TRANSLATE_NOOP("Menu", "ツール"),
         {{ID_PROPERTIES, QT_TRANSLATE_NOOP("Menu", "プロパティ(&P)")},
          {ID_PLACEMENT_TOOL, QT_TRANSLATE_NOOP("Menu", "配置ツール(&A)")},
          {ID_ITEM_TOOL, QT_TRANSLATE_NOOP("Menu", "アイテムツール(&I)")},
          {ID_EVENT_TOOL, QT_TRANSLATE_NOOP("Menu", "イベントツール(&E)")}}},
        {QT_TRANSLATE_NOOP("Menu", "ﾍﾙﾌﾟ(&H)"),
         {{ID_APP_ABOUT, QT_TRANSLATE_NOOP("Menu", "rkedit のﾊﾞｰｼﾞｮﾝ情報(&A)...")}}},
        {QT_TRANSLATE_NOOP("Menu", "データ"),
         {{ID_DOC_TO_PANEL, QT_TRANSLATE_NOOP("Menu", "データ＜ＤＯＣ")},
          {ID_PANEL_TO_DOC, QT_TRANSLATE_NOOP("Menu", "データ＞ＤＯＣ")},
          {ID_DIALOG_ON, QT_TRANSLATE_NOOP("Menu", "ダイアログＯＮ")},
          {ID_DIALOG_OFF, QT_TRANSLATE_NOOP("Menu", "ダイアログOFF")}}},
    };
    return menus;
}

const MenuDefinition& transformMenu() {
    static const MenuDefinition menu{
        QT_TRANSLATE_NOOP("Menu", "変形(&F)"),
        {{ID_TRANSFORM_FLIP_H, QT_TRANSLATE_NOOP("Menu", "左右反転(&H)")},
         {ID_TRANSFORM_FLIP_V, QT_TRANSLATE_NOOP("Menu", "上下反転(&V)")},
         {ID_TRANSFORM_ROTATE_180, QT_TRANSLATE_NOOP("Menu", "180° 回転(&R)")},
         separator,
         {ID_TRANSFORM_SHIFT_LEFT, QT_TRANSLATE_NOOP("Menu", "左へ 1 セルずらす")},
         {ID_TRANSFORM_SHIFT_RIGHT, QT_TRANSLATE_NOOP("Menu", "右へ 1 セルずらす")},
         {ID_TRANSFORM_SHIFT_UP, QT_TRANSLATE_NOOP("Menu", "上へ 1 セルずらす")},
         {ID_TRANSFORM_SHIFT_DOWN, QT_TRANSLATE_NOOP("Menu", "下へ 1 セルずらす")}}};
    return menu;
}

QString menuLabel(int id) {
    for (const MenuItem& item : transformMenu().items)
        if (item.id == id)
            return menuText(item.label);
    for (const auto* menus : {&menu129(), &menu128()})
        for (const MenuDefinition& menu : *menus)
            for (const MenuItem& item : menu.items)
                if (item.id == id)
                    return menuText(item.label);
    return {};
}

const QVector<Accelerator>& acceleratorTable() {
    static const QVector<Accelerator> table{
        {QKeySequence(Qt::CTRL | Qt::Key_N), ID_FILE_NEW},
        {QKeySequence(Qt::CTRL | Qt::Key_O), ID_FILE_OPEN},
        {QKeySequence(Qt::CTRL | Qt::Key_S), ID_FILE_SAVE},
        {QKeySequence(Qt::CTRL | Qt::Key_Z), ID_EDIT_UNDO},
        {QKeySequence(Qt::CTRL | Qt::Key_X), ID_EDIT_CUT},
        {QKeySequence(Qt::CTRL | Qt::Key_C), ID_EDIT_COPY},
        {QKeySequence(Qt::CTRL | Qt::Key_V), ID_EDIT_PASTE},
        {QKeySequence(Qt::ALT | Qt::Key_Backspace), ID_EDIT_UNDO},
        {QKeySequence(Qt::CTRL | Qt::Key_Y), ID_EDIT_REDO},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), ID_EDIT_REDO},
        {QKeySequence(Qt::SHIFT | Qt::Key_Delete), ID_EDIT_CUT},
        {QKeySequence(Qt::CTRL | Qt::Key_Insert), ID_EDIT_COPY},
        {QKeySequence(Qt::SHIFT | Qt::Key_Insert), ID_EDIT_PASTE},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V), ID_EDIT_PASTE_IN_PLACE},
        {QKeySequence(Qt::Key_Delete), ID_EDIT_CLEAR},
        {QKeySequence(Qt::CTRL | Qt::Key_A), ID_EDIT_SELECT_ALL},
        {QKeySequence(Qt::CTRL | Qt::Key_D), ID_EDIT_DESELECT},
        {QKeySequence(Qt::Key_F6), ID_NEXT_PANE},
        {QKeySequence(Qt::SHIFT | Qt::Key_F6), ID_PREV_PANE},
        // Zoom: Ctrl+= is Ctrl++ without Shift on keyboards where + needs it.
        {QKeySequence(Qt::CTRL | Qt::Key_Plus), ID_VIEW_ZOOM_IN},
        {QKeySequence(Qt::CTRL | Qt::Key_Equal), ID_VIEW_ZOOM_IN},
        {QKeySequence(Qt::CTRL | Qt::Key_Minus), ID_VIEW_ZOOM_OUT},
        {QKeySequence(Qt::CTRL | Qt::Key_0), ID_VIEW_ZOOM_100},
        {QKeySequence(Qt::CTRL | Qt::Key_9), ID_VIEW_ZOOM_FIT},
        {QKeySequence(Qt::Key_F5), ID_TEST_PLAY},
    };
    return table;
}

const QVector<int>& toolbarButtons() {
    static const QVector<int> buttons{ID_FILE_NEW,   ID_FILE_OPEN,
                                      ID_FILE_SAVE,  0,
                                      ID_EDIT_CUT,   ID_EDIT_COPY,
                                      ID_EDIT_PASTE, 0,
                                      ID_FILE_PRINT, 0,
                                      ID_TEST_PLAY,  0,
                                      ID_APP_ABOUT};
    return buttons;
}

QString commandPrompt(int id) {
    static const QHash<int, const char*> prompts{
        {ID_FILE_NEW, QT_TRANSLATE_NOOP("Prompt", "新規にﾌｧｲﾙを作成\n新規ﾌｧｲﾙ")},
        {ID_FILE_OPEN, QT_TRANSLATE_NOOP("Prompt", "既存のﾌｧｲﾙを開く\n開く")},
        {ID_FILE_CLOSE, QT_TRANSLATE_NOOP("Prompt", "作業中のﾌｧｲﾙを閉じる\n閉じる")},
        {ID_FILE_SAVE, QT_TRANSLATE_NOOP("Prompt", "作業中のﾌｧｲﾙを上書きして保存\n保存")},
        {ID_FILE_SAVE_AS,
         QT_TRANSLATE_NOOP("Prompt", "作業中のﾌｧｲﾙを新しい名前で保存\n名前を付けて保存")},
        {ID_FILE_PRINT, QT_TRANSLATE_NOOP("Prompt", "作業中のﾌｧｲﾙを印刷\n印刷")},
        {ID_FILE_MRU_FILE1, QT_TRANSLATE_NOOP("Prompt", "このﾌｧｲﾙを開く")},
        {ID_FILE_MRU_FILE1 + 1, QT_TRANSLATE_NOOP("Prompt", "このﾌｧｲﾙを開く")},
        {ID_FILE_MRU_FILE1 + 2, QT_TRANSLATE_NOOP("Prompt", "このﾌｧｲﾙを開く")},
        {ID_FILE_MRU_FILE1 + 3, QT_TRANSLATE_NOOP("Prompt", "このﾌｧｲﾙを開く")},
        {ID_EDIT_COPY, QT_TRANSLATE_NOOP("Prompt", "選択範囲をｺﾋﾟｰしてｸﾘｯﾌﾟﾎﾞｰﾄﾞに保存\nｺﾋﾟｰ")},
        {ID_EDIT_CUT,
         QT_TRANSLATE_NOOP("Prompt", "選択範囲を切り取ってｸﾘｯﾌﾟﾎﾞｰﾄﾞに移動\n切り取り")},
        {ID_EDIT_PASTE, QT_TRANSLATE_NOOP("Prompt", "ｸﾘｯﾌﾟﾎﾞｰﾄﾞの内容を貼り付け\n貼り付け")},
        {ID_EDIT_UNDO, QT_TRANSLATE_NOOP("Prompt", "直前に行った動作を元に戻す\n元に戻す")},
        {ID_EDIT_REDO, QT_TRANSLATE_NOOP("Prompt", "直前に元に戻した動作をやり直す\nやり直し")},
        {ID_WINDOW_NEW, QT_TRANSLATE_NOOP("Prompt", "作業中のｳｨﾝﾄﾞｳを複写して表示\n新規ｳｨﾝﾄﾞｳ")},
        {ID_WINDOW_ARRANGE, QT_TRANSLATE_NOOP("Prompt", "ｱｲｺﾝをｳｨﾝﾄﾞｳの下に整列\nｱｲｺﾝの整列")},
        {ID_WINDOW_CASCADE, QT_TRANSLATE_NOOP("Prompt", "ｳｨﾝﾄﾞｳを重ねて表示\n重ねて表示")},
        {ID_WINDOW_TILE_HORZ, QT_TRANSLATE_NOOP("Prompt", "ｳｨﾝﾄﾞｳを並べて表示\n並べて表示")},
        {ID_WINDOW_TABBED, QT_TRANSLATE_NOOP("Prompt", "ｳｨﾝﾄﾞｳをタブで切り替えて表示\nタブで表示")},
        {ID_APP_ABOUT,
         QT_TRANSLATE_NOOP("Prompt", "ﾌﾟﾛｸﾞﾗﾑの情報、ﾊﾞｰｼﾞｮﾝそして著作権を表示\nﾊﾞｰｼﾞｮﾝ情報")},
        {ID_APP_EXIT, QT_TRANSLATE_NOOP("Prompt", "ｱﾌﾟﾘｹｰｼｮﾝを終了し、ﾌｧｲﾙの保存を指示\n終了")},
        {ID_NEXT_PANE, QT_TRANSLATE_NOOP("Prompt", "次のｳｨﾝﾄﾞｳ ﾍﾟｲﾝに切り替え\n次のﾍﾟｲﾝ")},
        {ID_PREV_PANE, QT_TRANSLATE_NOOP("Prompt", "前のｳｨﾝﾄﾞｳ ﾍﾟｲﾝに切り替え\n前のﾍﾟｲﾝ")},
        {ID_VIEW_TOOLBAR,
         QT_TRANSLATE_NOOP("Prompt", "ﾂｰﾙ ﾊﾞｰの表示/非表示\nﾂｰﾙ ﾊﾞｰの表示切り替え")},
        {ID_VIEW_STATUS_BAR,
         QT_TRANSLATE_NOOP("Prompt", "ｽﾃｰﾀｽ ﾊﾞｰの表示/非表示\nｽﾃｰﾀｽ ﾊﾞｰの表示切り替え")},
        {ID_HTML_EXPORT, QT_TRANSLATE_NOOP("Prompt", "HTMLファイルの作成")},
        {ID_VIEW_ZOOM_IN, QT_TRANSLATE_NOOP("Prompt", "ｽﾃｰｼﾞを拡大して表示\n拡大")},
        {ID_VIEW_ZOOM_OUT, QT_TRANSLATE_NOOP("Prompt", "ｽﾃｰｼﾞを縮小して表示\n縮小")},
        {ID_VIEW_ZOOM_100, QT_TRANSLATE_NOOP("Prompt", "ｽﾃｰｼﾞを 100% で表示\n100%")},
        {ID_VIEW_ZOOM_FIT,
         QT_TRANSLATE_NOOP("Prompt", "ｽﾃｰｼﾞ全体をｳｨﾝﾄﾞｳに合わせて表示\nｳｨﾝﾄﾞｳに合わせる")},
        {ID_TEST_PLAY,
         QT_TRANSLATE_NOOP("Prompt", "ステージをブラウザで再生 (Ruffle)\nテストプレイ")},
    };
    const char* prompt = prompts.value(id, nullptr);
    return prompt == nullptr ? QString() : QCoreApplication::translate("Prompt", prompt);
}

QString statusPrompt(int id) {
    return commandPrompt(id).section(QLatin1Char('\n'), 0, 0);
}
QString toolTipPrompt(int id) {
    return commandPrompt(id).section(QLatin1Char('\n'), 1, 1);
}

QString readyText() {
    return QCoreApplication::translate("Prompt", "ﾚﾃﾞｨ");
}

QVector<QString> indicatorTexts() {
    return {QCoreApplication::translate("Prompt", "ｶﾅ"), QStringLiteral("CAP"),
            QStringLiteral("NUM"), QStringLiteral("SCRL")};
}
