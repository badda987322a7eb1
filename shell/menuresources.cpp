#include "shell/menuresources.h"

#include <QHash>

#include "shell/commandids.h"
#include "view/CRKeditView.h"

namespace {
const MenuItem separator{0, ""};
} // namespace

const QVector<MenuDefinition>& menu128() {
    static const QVector<MenuDefinition> menus{
        {"ﾌｧｲﾙ(&F)",
         {{ID_FILE_NEW, "新規作成(&N)\tCtrl+N"},
          {ID_FILE_OPEN, "開く(&O)...\tCtrl+O"},
          separator,
          {ID_FILE_MRU_FILE1, "最近使ったﾌｧｲﾙ"},
          separator,
          {ID_APP_EXIT, "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"}}},
        {"表示(&V)", {{ID_VIEW_TOOLBAR, "ﾂｰﾙ ﾊﾞｰ(&T)"}, {ID_VIEW_STATUS_BAR, "ｽﾃｰﾀｽ ﾊﾞｰ(&S)"}}},
        {"ﾍﾙﾌﾟ(&H)", {{ID_APP_ABOUT, "rkedit のﾊﾞｰｼﾞｮﾝ情報(&A)..."}}},
    };
    return menus;
}

const QVector<MenuDefinition>& menu129() {
    static const QVector<MenuDefinition> menus{
        {"ﾌｧｲﾙ(&F)",
         {{ID_FILE_NEW, "新規作成(&N)\tCtrl+N"},
          {ID_FILE_OPEN, "開く(&O)...\tCtrl+O"},
          {ID_FILE_CLOSE, "閉じる(&C)"},
          {ID_FILE_SAVE, "上書き保存(&S)\tCtrl+S"},
          {ID_FILE_SAVE_AS, "名前を付けて保存(&A)..."},
          {ID_HTML_EXPORT, "HTMLファイルの書き出し"},
          {ID_TEST_PLAY, "テストプレイ(&P)\tF5"},
          separator,
          {ID_FILE_MRU_FILE1, "最近使ったﾌｧｲﾙ"},
          separator,
          {ID_APP_EXIT, "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"}}},
        {"編集(&E)",
         {{ID_EDIT_UNDO, "元に戻す(&U)\tCtrl+Z"},
          {ID_EDIT_REDO, "やり直し(&R)\tCtrl+Y"},
          separator,
          {ID_EDIT_CUT, "切り取り(&T)\tCtrl+X"},
          {ID_EDIT_COPY, "コピー(&C)\tCtrl+C"},
          {ID_EDIT_PASTE, "貼り付け(&P)\tCtrl+V"},
          {ID_EDIT_PASTE_IN_PLACE, "同じ位置に貼り付け\tCtrl+Shift+V"},
          {ID_EDIT_CLEAR, "削除(&D)\tDel"},
          separator,
          {ID_EDIT_SELECT_ALL, "すべて選択(&A)\tCtrl+A"},
          {ID_EDIT_DESELECT, "選択の解除\tCtrl+D"},
          {ID_EDIT_PASTE_EMPTY, "空のセルも貼り付ける"}}},
        {"表示(&V)",
         {{ID_VIEW_TOOLBAR, "ﾂｰﾙ ﾊﾞｰ(&T)"},
          {ID_VIEW_STATUS_BAR, "ｽﾃｰﾀｽ ﾊﾞｰ(&S)"},
          separator,
          {ID_VIEW_ZOOM_IN, "拡大(&I)\tCtrl++"},
          {ID_VIEW_ZOOM_OUT, "縮小(&O)\tCtrl+-"},
          {ID_VIEW_ZOOM_100, "100%(&1)\tCtrl+0"},
          {ID_VIEW_ZOOM_FIT, "ｳｨﾝﾄﾞｳに合わせる(&W)\tCtrl+9"}}},
        {"ｳｨﾝﾄﾞｳ(&W)",
         {{ID_WINDOW_NEW, "新しいｳｨﾝﾄﾞｳを開く(&N)"},
          {ID_WINDOW_CASCADE, "重ねて表示(&C)"},
          {ID_WINDOW_TILE_HORZ, "並べて表示(&T)"},
          {ID_WINDOW_ARRANGE, "ｱｲｺﾝの整列(&A)"},
          {ID_WINDOW_TABBED, "タブで表示(&B)"}}},
        {"ツール",
         {{ID_PROPERTIES, "プロパティ(&P)"},
          {ID_PLACEMENT_TOOL, "配置ツール(&A)"},
          {ID_ITEM_TOOL, "アイテムツール(&I)"},
          {ID_EVENT_TOOL, "イベントツール(&E)"}}},
        {"ﾍﾙﾌﾟ(&H)", {{ID_APP_ABOUT, "rkedit のﾊﾞｰｼﾞｮﾝ情報(&A)..."}}},
        {"データ",
         {{ID_DOC_TO_PANEL, "データ＜ＤＯＣ"},
          {ID_PANEL_TO_DOC, "データ＞ＤＯＣ"},
          {ID_DIALOG_ON, "ダイアログＯＮ"},
          {ID_DIALOG_OFF, "ダイアログOFF"}}},
    };
    return menus;
}

const MenuDefinition& transformMenu() {
    static const MenuDefinition menu{"変形(&F)",
                                     {{ID_TRANSFORM_FLIP_H, "左右反転(&H)"},
                                      {ID_TRANSFORM_FLIP_V, "上下反転(&V)"},
                                      {ID_TRANSFORM_ROTATE_180, "180° 回転(&R)"},
                                      separator,
                                      {ID_TRANSFORM_SHIFT_LEFT, "左へ 1 セルずらす"},
                                      {ID_TRANSFORM_SHIFT_RIGHT, "右へ 1 セルずらす"},
                                      {ID_TRANSFORM_SHIFT_UP, "上へ 1 セルずらす"},
                                      {ID_TRANSFORM_SHIFT_DOWN, "下へ 1 セルずらす"}}};
    return menu;
}

QString menuLabel(int id) {
    for (const MenuItem& item : transformMenu().items)
        if (item.id == id)
            return QString::fromUtf8(item.label);
    for (const auto* menus : {&menu129(), &menu128()})
        for (const MenuDefinition& menu : *menus)
            for (const MenuItem& item : menu.items)
                if (item.id == id)
                    return QString::fromUtf8(item.label);
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
        {ID_FILE_NEW, "新規にﾌｧｲﾙを作成\n新規ﾌｧｲﾙ"},
        {ID_FILE_OPEN, "既存のﾌｧｲﾙを開く\n開く"},
        {ID_FILE_CLOSE, "作業中のﾌｧｲﾙを閉じる\n閉じる"},
        {ID_FILE_SAVE, "作業中のﾌｧｲﾙを上書きして保存\n保存"},
        {ID_FILE_SAVE_AS, "作業中のﾌｧｲﾙを新しい名前で保存\n名前を付けて保存"},
        {ID_FILE_PRINT, "作業中のﾌｧｲﾙを印刷\n印刷"},
        {ID_FILE_MRU_FILE1, "このﾌｧｲﾙを開く"},
        {ID_FILE_MRU_FILE1 + 1, "このﾌｧｲﾙを開く"},
        {ID_FILE_MRU_FILE1 + 2, "このﾌｧｲﾙを開く"},
        {ID_FILE_MRU_FILE1 + 3, "このﾌｧｲﾙを開く"},
        {ID_EDIT_COPY, "選択範囲をｺﾋﾟｰしてｸﾘｯﾌﾟﾎﾞｰﾄﾞに保存\nｺﾋﾟｰ"},
        {ID_EDIT_CUT, "選択範囲を切り取ってｸﾘｯﾌﾟﾎﾞｰﾄﾞに移動\n切り取り"},
        {ID_EDIT_PASTE, "ｸﾘｯﾌﾟﾎﾞｰﾄﾞの内容を貼り付け\n貼り付け"},
        {ID_EDIT_UNDO, "直前に行った動作を元に戻す\n元に戻す"},
        {ID_EDIT_REDO, "直前に元に戻した動作をやり直す\nやり直し"},
        {ID_WINDOW_NEW, "作業中のｳｨﾝﾄﾞｳを複写して表示\n新規ｳｨﾝﾄﾞｳ"},
        {ID_WINDOW_ARRANGE, "ｱｲｺﾝをｳｨﾝﾄﾞｳの下に整列\nｱｲｺﾝの整列"},
        {ID_WINDOW_CASCADE, "ｳｨﾝﾄﾞｳを重ねて表示\n重ねて表示"},
        {ID_WINDOW_TILE_HORZ, "ｳｨﾝﾄﾞｳを並べて表示\n並べて表示"},
        {ID_WINDOW_TABBED, "ｳｨﾝﾄﾞｳをタブで切り替えて表示\nタブで表示"},
        {ID_APP_ABOUT, "ﾌﾟﾛｸﾞﾗﾑの情報、ﾊﾞｰｼﾞｮﾝそして著作権を表示\nﾊﾞｰｼﾞｮﾝ情報"},
        {ID_APP_EXIT, "ｱﾌﾟﾘｹｰｼｮﾝを終了し、ﾌｧｲﾙの保存を指示\n終了"},
        {ID_NEXT_PANE, "次のｳｨﾝﾄﾞｳ ﾍﾟｲﾝに切り替え\n次のﾍﾟｲﾝ"},
        {ID_PREV_PANE, "前のｳｨﾝﾄﾞｳ ﾍﾟｲﾝに切り替え\n前のﾍﾟｲﾝ"},
        {ID_VIEW_TOOLBAR, "ﾂｰﾙ ﾊﾞｰの表示/非表示\nﾂｰﾙ ﾊﾞｰの表示切り替え"},
        {ID_VIEW_STATUS_BAR, "ｽﾃｰﾀｽ ﾊﾞｰの表示/非表示\nｽﾃｰﾀｽ ﾊﾞｰの表示切り替え"},
        {ID_HTML_EXPORT, "HTMLファイルの作成"},
        {ID_VIEW_ZOOM_IN, "ｽﾃｰｼﾞを拡大して表示\n拡大"},
        {ID_VIEW_ZOOM_OUT, "ｽﾃｰｼﾞを縮小して表示\n縮小"},
        {ID_VIEW_ZOOM_100, "ｽﾃｰｼﾞを 100% で表示\n100%"},
        {ID_VIEW_ZOOM_FIT, "ｽﾃｰｼﾞ全体をｳｨﾝﾄﾞｳに合わせて表示\nｳｨﾝﾄﾞｳに合わせる"},
        {ID_TEST_PLAY, "ステージをブラウザで再生 (Ruffle)\nテストプレイ"},
    };
    return QString::fromUtf8(prompts.value(id, ""));
}

QString statusPrompt(int id) {
    return commandPrompt(id).section(QLatin1Char('\n'), 0, 0);
}
QString toolTipPrompt(int id) {
    return commandPrompt(id).section(QLatin1Char('\n'), 1, 1);
}

QString readyText() {
    return QStringLiteral("ﾚﾃﾞｨ");
}

QVector<QString> indicatorTexts() {
    return {QStringLiteral("ｶﾅ"), QStringLiteral("CAP"), QStringLiteral("NUM"),
            QStringLiteral("SCRL")};
}
