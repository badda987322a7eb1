// The application shell: start-up, menus, toolbar and stage windows, driven through the real
// actions on the offscreen platform.
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include <vector>

#include "document/stagedocument.h"
#include "document/stagelock.h"
#include "panels/eventtool.h"
#include "panels/placementtool.h"
#include "panels/propertypanel.h"
#include "shell/childframe.h"
#include "shell/commandids.h"
#include "shell/recentfilelist.h"
#include "shellfixture.h"
#include "view/CRKeditView.h"

namespace {

TEST_F(Shell, StartsWithOneNewStageWithoutArgument) {
    start();
    ASSERT_EQ(documents()->documents().size(), 1);
    StageDocument* document = documents()->documents().constFirst();
    EXPECT_EQ(document->title(), "RKedit1");
    EXPECT_TRUE(document->filePath().isEmpty());
    EXPECT_FALSE(document->isModified());
    EXPECT_EQ(frame()->currentMenuId(), 129);
    EXPECT_EQ(frame()->windowTitle(), "rkedit - RKedit1[*]");
    EXPECT_TRUE(frame()->isVisible());
    ASSERT_EQ(document->views().size(), 1);
    EXPECT_EQ(CRKeditView::current(), document->views().constFirst());
    // A second New numbers on.
    trigger(ID_FILE_NEW);
    ASSERT_EQ(documents()->documents().size(), 2);
    EXPECT_EQ(documents()->activeDocument()->title(), "RKedit2");
    EXPECT_EQ(frame()->windowTitle(), "rkedit - RKedit2[*]");
}

TEST_F(Shell, OpensTheStageNamedOnTheCommandLine) {
    start({path("sample.stage")});
    ASSERT_EQ(documents()->documents().size(), 1);
    StageDocument* document = documents()->documents().constFirst();
    EXPECT_EQ(document->filePath(), path("sample.stage"));
    EXPECT_EQ(document->title(), "sample.stage");
    EXPECT_EQ(document->doc().graphicWidth, "640");
    EXPECT_EQ(document->doc().version, "RK");
    EXPECT_FALSE(document->doc().picture.empty()) << "the foreground picture was not loaded";
    // The first paint handed the picture to the properties panel it opened.
    EXPECT_FALSE(document->doc().picturePending);
    EXPECT_EQ(qobject_cast<CRKeditView*>(document->views().constFirst())->picture,
              document->doc().picture);
    EXPECT_FALSE(document->isModified()) << "loading alone must not mark the stage modified";
    EXPECT_EQ(frame()->windowTitle(), "rkedit - sample.stage[*]");
    EXPECT_EQ(app->recentFiles()->files(), QStringList{path("sample.stage")});
}

// The size each stage view had at each of its paints, in order.
class ViewPaintSizes : public QObject {
public:
    std::vector<QSize> sizes;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            if (auto* view = qobject_cast<CRKeditView*>(watched))
                sizes.push_back(view->size());
        return false;
    }
};

// A stage window whose stage fits the area has the stage's size before it is first shown:
// every paint of its view, the first one too, is at the fitted size, and the first already
// shows the fitted stage. A stage whose paint fits nothing (no picture) keeps the default
// size.
TEST_F(Shell, AStageWindowIsFittedBeforeItsFirstPaint) {
    ViewPaintSizes paints;
    qApp->installEventFilter(&paints);
    start({path("sample.stage")});
    qApp->removeEventFilter(&paints);
    CRKeditView* view = documents()->activeView();
    ASSERT_NE(view, nullptr);
    ASSERT_FALSE(paints.sizes.empty());
    for (const QSize& size : paints.sizes)
        EXPECT_EQ(size, QSize(640, 630));
    EXPECT_TRUE(view->showsFittedStage());
    EXPECT_EQ(view->stageClientSize(), QSize(640, 630));

    // A new stage has no picture: nothing to fit, the window keeps its default size.
    trigger(ID_FILE_NEW);
    CRKeditView* empty = documents()->activeView();
    ASSERT_NE(empty, nullptr);
    EXPECT_TRUE(empty->stageClientSize().isEmpty());
    EXPECT_NE(empty->size(), QSize(640, 630));
}

TEST_F(Shell, ReportsAFileThatCannotBeOpenedAndStillStarts) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    const QByteArray png("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10\0\0\0\x10", 24);
    QByteArray binary(4096, '\0');
    for (int i = 0; i < binary.size(); ++i)
        binary[i] = char((i * 7919) >> 3);
    const struct {
        QString file;
        QByteArray bytes; // written first unless empty
        const char* reason;
    } cases[] = {
        {path("missing.stage"), {}, "ファイルが見つかりません。"},
        {path("folder"), {}, "フォルダーです。"},
        {path("picture.png"), png, "ステージファイルではありません。"},
        {path("data.bin"), binary, "ステージファイルではありません。"},
        {path("notes.txt"), "hello=world&\r\ntitle=t&", "ステージファイルではありません。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        if (!c.bytes.isEmpty())
            writeFile(c.file, c.bytes);
        MessageBoxAnswer answer(QMessageBox::Ok);
        start({c.file});
        EXPECT_EQ(answer.answer.seen(), 1);
        // The usual first line, then the file and why.
        EXPECT_EQ(answer.text,
                  QStringLiteral("ファイルをオープンできません。\n%1: %2")
                      .arg(QDir::toNativeSeparators(c.file), QString::fromUtf8(c.reason)));
        EXPECT_TRUE(documents()->documents().isEmpty());
        EXPECT_EQ(frame()->currentMenuId(), 128);
        EXPECT_EQ(frame()->windowTitle(), "rkedit[*]");
        EXPECT_TRUE(frame()->isVisible());
        // Nothing is left to save over the file, and it is not offered as a recent stage.
        EXPECT_FALSE(frame()->action(ID_FILE_SAVE)->isEnabled());
        if (!c.bytes.isEmpty()) {
            EXPECT_EQ(fileBytes(c.file), c.bytes);
        }
        EXPECT_TRUE(app->recentFiles()->files().isEmpty());
        app.reset();
        settle();
    }
}

TEST_F(Shell, AnEmptyFileOpensAsANewStageUnderItsName) {
    writeFile(path("empty.stage"), {});
    MessageBoxAnswer answer(QMessageBox::Ok); // the new stage's picture is not there
    start({path("empty.stage")});
    ASSERT_EQ(documents()->documents().size(), 1);
    const StageDocument* document = documents()->documents().constFirst();
    EXPECT_EQ(document->filePath(), path("empty.stage"));
    EXPECT_EQ(document->title(), "empty.stage");
    EXPECT_EQ(document->doc().graphic1, "graphic1.JPG");
    EXPECT_FALSE(document->isModified());
}

TEST_F(Shell, StageWithMissingPictureOpensAfterTheMessage) {
    QFile::remove(path("sample.JPG"));
    MessageBoxAnswer answer(QMessageBox::Ok);
    start({path("sample.stage")});
    // The box names the picture and the reason.
    EXPECT_EQ(answer.text, "ファイルをオープンできません。\n" + path("sample.JPG") +
                               ": ファイルが見つかりません。");
    ASSERT_EQ(documents()->documents().size(), 1);
    EXPECT_EQ(documents()->documents().constFirst()->doc().graphicWidth, "640");
    EXPECT_TRUE(documents()->documents().constFirst()->doc().picture.empty());
}

// The entries of a menu as shown: labels, "-" for a separator; hidden entries left out.
QStringList entries(QMenu* menu) {
    QStringList shown;
    for (QAction* action : menu->actions())
        if (action->isVisible())
            shown << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return shown;
}

TEST_F(Shell, MenusToolbarAndAcceleratorsAsListed) {
    start();
    trigger(ID_FILE_CLOSE);
    ASSERT_EQ(frame()->currentMenuId(), 128);
    EXPECT_EQ(menuTitles(), (QStringList{"ﾌｧｲﾙ(&F)", "表示(&V)", "ﾍﾙﾌﾟ(&H)"}));
    const QList<QMenu*> menus128 = frame()->currentMenus();
    EXPECT_EQ(entries(menus128[0]), (QStringList{"新規作成(&N)\tCtrl+N", "開く(&O)...\tCtrl+O", "-",
                                                 "最近使ったﾌｧｲﾙ", "-", "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"}));
    EXPECT_EQ(entries(menus128[1]), (QStringList{"ﾂｰﾙ ﾊﾞｰ(&T)", "ｽﾃｰﾀｽ ﾊﾞｰ(&S)"}));
    EXPECT_EQ(entries(menus128[2]), (QStringList{"rkedit のﾊﾞｰｼﾞｮﾝ情報(&A)...", "-", "言語(&L)"}));
    // The placeholder of the empty recent-file list is greyed; save needs a stage window.
    EXPECT_FALSE(frame()->recentFileActions().constFirst()->isEnabled());
    EXPECT_FALSE(frame()->action(ID_FILE_SAVE)->isEnabled());

    trigger(ID_FILE_NEW);
    ASSERT_EQ(frame()->currentMenuId(), 129);
    EXPECT_EQ(menuTitles(), (QStringList{"ﾌｧｲﾙ(&F)", "編集(&E)", "表示(&V)", "ｳｨﾝﾄﾞｳ(&W)", "ツール",
                                         "ﾍﾙﾌﾟ(&H)", "データ"}));
    const QList<QMenu*> menus = frame()->currentMenus();
    EXPECT_EQ(
        entries(menus[0]),
        (QStringList{"新規作成(&N)\tCtrl+N", "開く(&O)...\tCtrl+O", "閉じる(&C)",
                     "上書き保存(&S)\tCtrl+S", "名前を付けて保存(&A)...", "HTMLファイルの書き出し",
                     "テストプレイ(&P)\tF5", "-", "最近使ったﾌｧｲﾙ", "-", "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"}));
    EXPECT_EQ(entries(menus[1]),
              (QStringList{"元に戻す(&U)\tCtrl+Z", "やり直し(&R)\tCtrl+Y", "-",
                           "切り取り(&T)\tCtrl+X", "コピー(&C)\tCtrl+C", "貼り付け(&P)\tCtrl+V",
                           "同じ位置に貼り付け\tCtrl+Shift+V", "削除(&D)\tDel", "-",
                           "すべて選択(&A)\tCtrl+A", "選択の解除\tCtrl+D", "空のセルも貼り付ける",
                           "-", "変形(&F)"}));
    EXPECT_EQ(entries(menus[2]), (QStringList{"ﾂｰﾙ ﾊﾞｰ(&T)", "ｽﾃｰﾀｽ ﾊﾞｰ(&S)", "-",
                                              "拡大(&I)\tCtrl++", "縮小(&O)\tCtrl+-",
                                              "100%(&1)\tCtrl+0", "ｳｨﾝﾄﾞｳに合わせる(&W)\tCtrl+9"}));
    EXPECT_EQ(entries(menus[4]),
              (QStringList{"プロパティ(&P)", "配置ツール(&A)", "アイテムツール(&I)",
                           "イベントツール(&E)", "描画ツール(&D)"}));
    // The drawing tools' submenu shows each tool's key after a tab; the key is no shortcut
    // of the application, so it never takes a letter from a text field.
    QMenu* drawing = menus[4]->findChild<QMenu*>("drawingTools");
    ASSERT_NE(drawing, nullptr);
    EXPECT_EQ(entries(drawing), (QStringList{"切り替え\tT", "ペン\tB", "矩形\tR", "塗りつぶし\tF",
                                             "消しゴム\tE", "スポイト\tI", "選択\tS"}));
    for (QAction* action : drawing->actions())
        EXPECT_TRUE(action->shortcut().isEmpty()) << action->text().toStdString();
    EXPECT_EQ(entries(menus[6]),
              (QStringList{"データ＜ＤＯＣ", "データ＞ＤＯＣ", "ダイアログＯＮ", "ダイアログOFF"}));

    // Commands without a handler are greyed, the others enabled (cut, copy and paste follow
    // the selection and the keyboard's text field: EditCommandsActOnTheFocusedTextFieldFirst).
    struct Row {
        int id;
        bool enabled;
    };
    const Row rows[] = {
        {ID_FILE_NEW, true},        {ID_FILE_OPEN, true},      {ID_FILE_CLOSE, true},
        {ID_FILE_SAVE, true},       {ID_FILE_SAVE_AS, true},   {ID_HTML_EXPORT, true},
        {ID_WINDOW_NEW, true},      {ID_WINDOW_CASCADE, true}, {ID_WINDOW_TILE_HORZ, true},
        {ID_WINDOW_ARRANGE, true},  {ID_PROPERTIES, true},     {ID_PLACEMENT_TOOL, true},
        {ID_EVENT_TOOL, true},      {ID_DOC_TO_PANEL, true},   {ID_PANEL_TO_DOC, true},
        {ID_ITEM_TOOL, false},      {ID_DIALOG_ON, false},     {ID_DIALOG_OFF, false},
        {ID_FILE_PRINT, false},     {ID_EDIT_UNDO, false},     {ID_EDIT_REDO, false},
        {ID_APP_ABOUT, true},       {ID_APP_EXIT, true},       {ID_VIEW_TOOLBAR, true},
        {ID_VIEW_STATUS_BAR, true}, {ID_TEST_PLAY, true},
    };
    for (const Row& row : rows)
        EXPECT_EQ(frame()->action(row.id)->isEnabled(), row.enabled) << row.id;

    // Toolbar 128, left to right.
    QList<int> buttons;
    for (QAction* action : frame()->toolBar()->actions())
        buttons << (action->isSeparator() ? 0 : action->data().toInt());
    EXPECT_EQ(buttons,
              (QList<int>{ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, 0, ID_EDIT_CUT, ID_EDIT_COPY,
                          ID_EDIT_PASTE, 0, ID_FILE_PRINT, 0, ID_TEST_PLAY, 0, ID_APP_ABOUT}));
    EXPECT_EQ(frame()->toolBar()->iconSize(), QSize(16, 15));
    for (QAction* action : frame()->toolBar()->actions())
        EXPECT_TRUE(action->isSeparator() || !action->icon().isNull())
            << action->text().toStdString();

    // Accelerator table 128.
    EXPECT_TRUE(frame()->action(ID_FILE_SAVE)->shortcuts().contains(QKeySequence("Ctrl+S")));
    EXPECT_TRUE(frame()->action(ID_EDIT_PASTE)->shortcuts().contains(QKeySequence("Shift+Ins")));
    EXPECT_TRUE(frame()->action(ID_EDIT_UNDO)->shortcuts().contains(QKeySequence("Alt+Backspace")));
    EXPECT_TRUE(frame()->action(ID_EDIT_REDO)->shortcuts().contains(QKeySequence("Ctrl+Shift+Z")));
    EXPECT_EQ(frame()->action(ID_VIEW_ZOOM_IN)->shortcuts(),
              (QList<QKeySequence>{QKeySequence("Ctrl++"), QKeySequence("Ctrl+=")}));
    EXPECT_TRUE(frame()->action(ID_VIEW_ZOOM_OUT)->shortcuts().contains(QKeySequence("Ctrl+-")));
    EXPECT_TRUE(frame()->action(ID_VIEW_ZOOM_100)->shortcuts().contains(QKeySequence("Ctrl+0")));
    EXPECT_TRUE(frame()->action(ID_VIEW_ZOOM_FIT)->shortcuts().contains(QKeySequence("Ctrl+9")));

    // The about box, modal, closed with OK.
    QString aboutTitle;
    ModalAnswer<QDialog> about([&aboutTitle](QDialog* box) {
        aboutTitle = box->windowTitle();
        box->accept();
    });
    trigger(ID_APP_ABOUT);
    EXPECT_EQ(about.seen(), 1);
    EXPECT_EQ(aboutTitle, "rkeditor");

    // The status bar's idle text and the four indicators.
    QStringList statusTexts;
    for (QLabel* label : frame()->statusBar()->findChildren<QLabel*>())
        if (!label->text().isEmpty())
            statusTexts << label->text();
    // The active stage window's zoom stands before the indicators.
    EXPECT_EQ(statusTexts, (QStringList{"ﾚﾃﾞｨ", "100 %", "ｶﾅ", "CAP", "NUM", "SCRL"}));
    // The pointer pane, measured after the first paint, has room for every cell it can name:
    // the panes keep their places as the pointer moves.
    auto* pointer = frame()->statusBar()->findChild<QLabel*>(QStringLiteral("pointer"));
    ASSERT_NE(pointer, nullptr);
    for (CellCode code = BlockKinds::first; code <= BlockKinds::last; ++code) {
        pointer->setText(QStringLiteral("(99, 99) ") + CRKeditView::codeName(code));
        EXPECT_LE(pointer->sizeHint().width(), pointer->minimumWidth()) << int(code);
    }
    pointer->clear();

    // The toolbar and status bar commands show and hide them.
    trigger(ID_VIEW_TOOLBAR);
    EXPECT_FALSE(frame()->toolBar()->isVisible());
    trigger(ID_VIEW_STATUS_BAR);
    EXPECT_FALSE(frame()->statusBar()->isVisible());
}

TEST_F(Shell, SeveralWindowsOnOneDocument) {
    start({path("sample.stage")});
    StageDocument* document = documents()->activeDocument();
    ASSERT_NE(document, nullptr);
    CRKeditView* first = documents()->activeView();
    trigger(ID_WINDOW_NEW);
    ASSERT_EQ(document->views().size(), 2);
    CRKeditView* second = documents()->activeView();
    EXPECT_NE(first, second);
    EXPECT_EQ(second->GetDocument(), first->GetDocument());
    EXPECT_EQ(CRKeditView::current(), second);
    const QList<CChildFrame*> frames = documents()->framesOf(document);
    ASSERT_EQ(frames.size(), 2);
    EXPECT_EQ(frames[0]->windowTitle(), "sample.stage:1[*]");
    EXPECT_EQ(frames[1]->windowTitle(), "sample.stage:2[*]");
    // Each view keeps its own display choices.
    second->gridMode = 0;
    EXPECT_EQ(first->gridMode, 2);

    // Closing one of two windows asks nothing, even for a modified stage, and the current
    // view falls back to the older one that still exists.
    document->setModified();
    MessageBoxAnswer unexpected(QMessageBox::Cancel);
    frames[1]->close();
    settle();
    EXPECT_EQ(unexpected.answer.seen(), 0);
    EXPECT_EQ(document->views().size(), 1);
    EXPECT_EQ(CRKeditView::current(), first);
    EXPECT_EQ(frames[0]->windowTitle(), "sample.stage[*]");
}

TEST_F(Shell, StageWindowsKeepTheirSizeAndArrange) {
    start();
    trigger(ID_FILE_NEW);
    const QList<QMdiSubWindow*> windows = frame()->mdiArea()->subWindowList();
    ASSERT_EQ(windows.size(), 2);
    auto* stage = qobject_cast<CChildFrame*>(windows[0]);
    ASSERT_NE(stage, nullptr);

    // A window shows its whole view inside its frame, before and after fitting; fitting sets
    // the client area exactly and leaves no size to drag to.
    for (const QSize client : {CChildFrame::defaultClientSize(), QSize(640, 630)}) {
        stage->fitClientArea(client);
        settle();
        EXPECT_EQ(stage->view()->size(), client);
        const QMargins m = stage->contentsMargins();
        EXPECT_GT(m.top(), 0) << "no title bar around the view";
        EXPECT_EQ(stage->size(), client.grownBy(m));
        EXPECT_EQ(stage->view()->geometry(), stage->rect().marginsRemoved(m));
        EXPECT_EQ(stage->minimumSize(), stage->maximumSize());
    }
    // Nor does the window menu offer a size to set.
    for (QAction* entry : stage->systemMenu()->actions())
        EXPECT_FALSE(entry->text() == "サイズ(&S)" && entry->isVisible());

    // Dragging the bottom-right corner changes nothing.
    const QSize fitted = stage->size();
    const QPoint corner(stage->width() - 2, stage->height() - 2);
    QTest::mousePress(stage, Qt::LeftButton, {}, corner);
    QTest::mouseMove(stage, corner + QPoint(60, 40));
    QTest::mouseRelease(stage, Qt::LeftButton, {}, corner + QPoint(60, 40));
    settle();
    EXPECT_EQ(stage->size(), fitted);

    const QSize wanted[] = {QSize(640, 630), CChildFrame::defaultClientSize()};
    trigger(ID_WINDOW_CASCADE);
    EXPECT_NE(windows[0]->pos(), windows[1]->pos());
    trigger(ID_WINDOW_TILE_HORZ);
    // Tiled, each window keeps its fitted size where the area has room for it, and takes the
    // room from its place to the area's edges where not (its view then scrolls).
    const QRect area(QPoint(0, 0), frame()->mdiArea()->viewport()->size());
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(area.contains(windows[i]->geometry())) << i;
        const QSize view = qobject_cast<CChildFrame*>(windows[i])->view()->size();
        EXPECT_EQ(view, wanted[i].boundedTo(view)) << i;
    }

    for (QMdiSubWindow* window : windows)
        window->showMinimized();
    settle();
    trigger(ID_WINDOW_ARRANGE);
    const QRect a = windows[0]->geometry();
    const QRect b = windows[1]->geometry();
    EXPECT_FALSE(a.intersects(b));
    const int bottom = frame()->mdiArea()->viewport()->height();
    EXPECT_EQ(a.bottom() + 1, bottom);
    EXPECT_EQ(b.bottom() + 1, bottom);
}

} // namespace

namespace {
TEST_F(Shell, SaveTakesWhatTheOpenPanelsShowAsOneStep) {
    start({path("sample.stage")});
    StageDocument* document = documents()->activeDocument();
    ASSERT_NE(document, nullptr);
    auto* view = qobject_cast<CRKeditView*>(document->views().constFirst());
    ASSERT_NE(view->propertyPanel, nullptr);
    // Typed, not yet taken in: no focus change, no pointer move.
    view->propertyPanel->control<QLineEdit>(1000)->setText(QStringLiteral("typed.JPG"));
    view->runCommand(ID_EVENT_TOOL);
    ASSERT_NE(view->eventTool, nullptr);
    view->eventTool->edit()->setPlainText(QStringLiteral("OnStart"));
    const int steps = document->undoStack()->count();
    trigger(ID_FILE_SAVE);
    const QByteArray saved = fileBytes(path("sample.stage"));
    EXPECT_TRUE(saved.contains("&graphic1=typed.JPG&")) << saved.left(200).toStdString();
    EXPECT_TRUE(saved.contains("&command=OnStart&"));
    EXPECT_EQ(document->doc().graphic1, "typed.JPG");
    EXPECT_EQ(document->undoStack()->count(), steps + 2); // the settings, the script
    EXPECT_FALSE(document->isModified());
    // Nothing new: a second save adds no step and writes the same.
    trigger(ID_FILE_SAVE);
    EXPECT_EQ(document->undoStack()->count(), steps + 2);
    EXPECT_EQ(fileBytes(path("sample.stage")), saved);
}
} // namespace

namespace {
TEST_F(Shell, AStageAnotherEditorHasOpenIsOpenedOnlyAfterAsking) {
    // The other editor's lock.
    StageLock other;
    ASSERT_EQ(other.lock(path("sample.stage")), StageLock::Result::locked);

    {
        MessageBoxAnswer cancel(QMessageBox::Cancel);
        start({path("sample.stage")});
        EXPECT_EQ(cancel.answer.seen(), 1);
        EXPECT_TRUE(cancel.text.contains(QDir::toNativeSeparators(path("sample.stage"))));
        EXPECT_TRUE(documents()->documents().isEmpty());
        app.reset();
        settle();
    }
    {
        MessageBoxAnswer anyway(QMessageBox::Ignore);
        start({path("sample.stage")});
        EXPECT_EQ(anyway.buttonTexts,
                  QStringList({"読み取り専用で開く", "それでも開く", "キャンセル"}));
        ASSERT_EQ(documents()->documents().size(), 1);
        EXPECT_FALSE(documents()->documents().constFirst()->isReadOnly());
        app.reset();
        settle();
    }

    MessageBoxAnswer readOnly(QMessageBox::Open);
    start({path("sample.stage")});
    ASSERT_EQ(documents()->documents().size(), 1);
    StageDocument* document = documents()->documents().constFirst();
    EXPECT_TRUE(document->isReadOnly());
    EXPECT_EQ(frame()->windowTitle(), "rkedit - sample.stage (読み取り専用)[*]");
    // Save is refused and the file left alone; Save As works and takes the lock along.
    const QByteArray before = fileBytes(path("sample.stage"));
    document->doc().title = "changed";
    document->setModified();
    MessageBoxAnswer refused(QMessageBox::Ok);
    trigger(ID_FILE_SAVE);
    EXPECT_EQ(refused.answer.seen(), 1);
    EXPECT_TRUE(refused.text.contains("読み取り専用")) << refused.text.toStdString();
    EXPECT_EQ(fileBytes(path("sample.stage")), before);
    FileDialogAnswer saveAs(path("copy.stage"));
    trigger(ID_FILE_SAVE_AS);
    EXPECT_EQ(saveAs.answer.seen(), 1);
    EXPECT_TRUE(fileBytes(path("copy.stage")).contains("&title=changed&"));
    EXPECT_FALSE(document->isReadOnly());
    EXPECT_EQ(document->title(), "copy.stage");
    StageLock third;
    EXPECT_EQ(third.lock(path("copy.stage")), StageLock::Result::heldByOther);
}
} // namespace

namespace {
TEST_F(Shell, KeysWorkFromTheToolPanelsAndFieldsUndoTheirOwnTypingFirst) {
    start({path("sample.stage")});
    StageDocument* document = documents()->activeDocument();
    ASSERT_NE(document, nullptr);
    CPropertyPanel* panel =
        qobject_cast<CRKeditView*>(document->views().constFirst())->propertyPanel;
    ASSERT_NE(panel, nullptr);
    // A step of the stage's to undo.
    panel->control<QLineEdit>(1012)->setText("9");
    document->takePendingEdits();
    ASSERT_EQ(document->doc().life, "9");

    // The panel in its dock: a click puts the keyboard in 前景ファイル.
    frame()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame()));
    QLineEdit* first = panel->control<QLineEdit>(1000);
    QTest::mouseClick(first, Qt::LeftButton);
    ASSERT_TRUE(first->hasFocus());
    const QString name = first->text();
    first->end(false);
    QTest::keyClicks(first, "x");
    EXPECT_EQ(first->text(), name + "x");
    QTest::keyClick(first, Qt::Key_Z, Qt::ControlModifier); // the field's own typing
    EXPECT_EQ(first->text(), name);
    EXPECT_EQ(document->doc().life, "9");
    QTest::keyClick(first, Qt::Key_Z, Qt::ControlModifier); // then the stage's step
    EXPECT_NE(document->doc().life, "9");
    EXPECT_FALSE(document->isModified());

    // Ctrl+S from the field saves what it shows.
    QTest::keyClicks(first, "y");
    QTest::keyClick(first, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(
        fileBytes(path("sample.stage")).contains("&graphic1=" + (name + "y").toUtf8() + "&"));
    EXPECT_FALSE(document->isModified());
}
} // namespace

namespace {
TEST_F(Shell, SavingOffersToCopyAPictureFromAnotherFolderBesideTheStage) {
    const QString picture = path("pictures/pic.JPG");
    StageDocument* document = startWithPictureElsewhere(picture);
    ASSERT_NE(document, nullptr);

    {
        MessageBoxAnswer cancel(QMessageBox::Cancel);
        FileDialogAnswer saveAs(path("stages/a.stage"));
        trigger(ID_FILE_SAVE_AS);
        EXPECT_EQ(cancel.answer.seen(), 1);
        EXPECT_TRUE(cancel.text.contains(QDir::toNativeSeparators(picture)));
        EXPECT_FALSE(QFile::exists(path("stages/a.stage")));
        EXPECT_TRUE(document->isModified());
    }
    {
        MessageBoxAnswer without(QMessageBox::No);
        FileDialogAnswer saveAs(path("stages/b.stage"));
        trigger(ID_FILE_SAVE_AS);
        EXPECT_EQ(without.answer.seen(), 1);
        EXPECT_TRUE(fileBytes(path("stages/b.stage")).contains("&graphic1=pic.JPG&"));
        EXPECT_FALSE(QFile::exists(path("stages/pic.JPG")));
        // Not copied: the stage keeps the picture's whole path, and the next save asks again.
        EXPECT_EQ(document->doc().graphic1, picture.toStdString());
    }
    MessageBoxAnswer copy(QMessageBox::Yes);
    FileDialogAnswer saveAs(path("stages/c.stage"));
    trigger(ID_FILE_SAVE_AS);
    EXPECT_EQ(copy.answer.seen(), 1);
    EXPECT_TRUE(copy.buttonTexts.contains("コピーする"));
    EXPECT_EQ(fileBytes(path("stages/pic.JPG")), fileBytes(picture));
    EXPECT_TRUE(fileBytes(path("stages/c.stage")).contains("&graphic1=pic.JPG&"));
    // The stage now names the copy, as its file does.
    EXPECT_EQ(document->doc().graphic1, "pic.JPG");
    EXPECT_FALSE(document->isModified());
    // Once a picture of that name lies beside the stage, nothing is asked.
    MessageBoxAnswer none(QMessageBox::Cancel);
    trigger(ID_FILE_SAVE);
    EXPECT_EQ(none.answer.seen(), 0);
    EXPECT_FALSE(document->isModified());
}

TEST_F(Shell, APictureOfTheSameNameBesideTheStageIsReplacedOnlyWhenTheUserSays) {
    const QString picture = path("pictures/pic.JPG");
    StageDocument* document = startWithPictureElsewhere(picture);
    ASSERT_NE(document, nullptr);
    const QByteArray other = "another picture";
    {
        QFile file(path("stages/pic.JPG"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(other), other.size());
    }

    {
        MessageBoxAnswer cancel(QMessageBox::Cancel);
        FileDialogAnswer saveAs(path("stages/a.stage"));
        trigger(ID_FILE_SAVE_AS);
        ASSERT_EQ(cancel.answer.seen(), 1);
        EXPECT_TRUE(cancel.text.contains(QDir::toNativeSeparators(path("stages/pic.JPG"))))
            << cancel.text.toStdString();
        EXPECT_TRUE(cancel.buttonTexts.contains("置き換える"));
        EXPECT_FALSE(QFile::exists(path("stages/a.stage")));
        EXPECT_EQ(fileBytes(path("stages/pic.JPG")), other);
    }
    {
        MessageBoxAnswer keep(QMessageBox::No);
        FileDialogAnswer saveAs(path("stages/b.stage"));
        trigger(ID_FILE_SAVE_AS);
        ASSERT_EQ(keep.answer.seen(), 1);
        EXPECT_TRUE(fileBytes(path("stages/b.stage")).contains("&graphic1=pic.JPG&"));
        EXPECT_EQ(fileBytes(path("stages/pic.JPG")), other);
        EXPECT_EQ(document->doc().graphic1, picture.toStdString());
    }
    {
        MessageBoxAnswer replace(QMessageBox::Yes);
        FileDialogAnswer saveAs(path("stages/c.stage"));
        trigger(ID_FILE_SAVE_AS);
        ASSERT_EQ(replace.answer.seen(), 1);
        EXPECT_EQ(fileBytes(path("stages/pic.JPG")), fileBytes(picture));
        EXPECT_EQ(document->doc().graphic1, "pic.JPG");
    }

    // The same picture beside the stage already: nothing to ask (an unanswered box would fail
    // the test), and the stage names it.
    ASSERT_TRUE(QDir(dir.path()).mkdir("more"));
    ASSERT_TRUE(QFile::copy(picture, path("more/pic.JPG")));
    document->doc().graphic1 = picture.toStdString();
    document->setModified();
    FileDialogAnswer saveAs(path("more/d.stage"));
    trigger(ID_FILE_SAVE_AS);
    EXPECT_TRUE(fileBytes(path("more/d.stage")).contains("&graphic1=pic.JPG&"));
    EXPECT_EQ(document->doc().graphic1, "pic.JPG");
}
} // namespace

// The views' "current" one is the active stage window's: the placement tool of another
// window, the drawing tool menu and the kind keys act on the window the user has active.
TEST_F(Shell, ToolChoicesActOnTheActiveStageWindow) {
    start({path("sample.stage")});
    CRKeditView* first = documents()->activeView();
    ASSERT_NE(first, nullptr);
    trigger(ID_WINDOW_NEW);
    CRKeditView* second = documents()->activeView();
    ASSERT_NE(second, first);
    second->runCommand(ID_PLACEMENT_TOOL);
    CPlacementTool* tool = second->placementTool;
    ASSERT_NE(tool, nullptr);
    settle();

    const QList<CChildFrame*> frames = documents()->framesOf(first->stageDocument());
    frame()->mdiArea()->setActiveSubWindow(frames[0]);
    settle();
    EXPECT_EQ(CRKeditView::current(), first); // not the newest view
    tool->radio(CPlacementTool::IDC_KIND_SPEED)->click();
    EXPECT_EQ(first->blockKind, 7);
    EXPECT_EQ(second->blockKind, 1);
    // The drawing tool menu of the main window too, and it shows the active window's tool.
    QMenu* drawing = frame()->findChild<QMenu*>("drawingTools");
    ASSERT_NE(drawing, nullptr);
    drawing->actions()[3]->trigger(); // 塗りつぶし
    EXPECT_EQ(first->tool(), ToolId::Fill);
    EXPECT_EQ(second->tool(), ToolId::Toggle);
    frame()->mdiArea()->setActiveSubWindow(frames[1]);
    settle();
    EXPECT_TRUE(drawing->actions()[0]->isChecked());
    // The open tool shows the choices of the window now active.
    EXPECT_TRUE(tool->radio(CPlacementTool::IDC_KIND_NORMAL)->isChecked());
    EXPECT_TRUE(tool->radio(CPlacementTool::IDC_TOOL_FIRST)->isChecked());
}

// In a text field of a panel the edit keys keep their text meaning; on the stage they act on
// the selected cells.
TEST_F(Shell, EditCommandsActOnTheFocusedTextFieldFirst) {
    start({path("sample.stage")});
    CRKeditView* view = documents()->activeView();
    ASSERT_NE(view, nullptr);
    view->setSelection(CellRect{0, 0, 2, 2});
    view->stageDocument()->doc().cell(0, 0) = 4;
    QLineEdit* field = view->propertyPanel->findChild<QLineEdit*>();
    ASSERT_NE(field, nullptr);
    view->propertyPanel->activateWindow();
    field->setFocus();
    settle();
    ASSERT_EQ(QApplication::focusWidget(), field);
    field->setText("abc.jpg");
    trigger(ID_EDIT_SELECT_ALL);
    EXPECT_EQ(field->selectedText(), "abc.jpg");
    trigger(ID_EDIT_COPY);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "abc.jpg");
    field->setCursorPosition(0);
    trigger(ID_EDIT_CLEAR); // Del: the character after the cursor
    EXPECT_EQ(field->text(), "bc.jpg");
    EXPECT_EQ(view->stageDocument()->doc().cell(0, 0), 4);
    EXPECT_EQ(*view->selectedCells(), (CellRect{0, 0, 2, 2}));

    // On the stage window the same commands act on the cells.
    frame()->activateWindow();
    view->setFocus();
    settle();
    trigger(ID_EDIT_COPY);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "4,0\n0,0\n");
    trigger(ID_EDIT_CLEAR);
    EXPECT_EQ(view->stageDocument()->doc().cell(0, 0), 0);
    trigger(ID_EDIT_DESELECT);
    EXPECT_FALSE(view->selectedCells());
    EXPECT_FALSE(frame()->action(ID_EDIT_COPY)->isEnabled());
}

// The text typed in a stage's event tool reaches its recovery copy and its save while the
// window of another stage is the active one.
TEST_F(Shell, PendingScriptComesFromTheStagesOwnEventToolWhenAnotherStageIsActive) {
    ASSERT_TRUE(QFile::copy(path("sample.stage"), path("other.stage")));
    start({path("sample.stage")});
    documents()->openDocument(path("other.stage"));
    settle();
    StageDocument *sample = nullptr, *other = nullptr;
    for (StageDocument* d : documents()->documents())
        (d->title() == "other.stage" ? other : sample) = d;
    ASSERT_NE(sample, nullptr);
    ASSERT_NE(other, nullptr);
    frame()->mdiArea()->setActiveSubWindow(documents()->framesOf(other).constFirst());
    settle();
    auto* view = qobject_cast<CRKeditView*>(sample->views().constFirst());
    ASSERT_NE(view, nullptr);
    view->runCommand(ID_EVENT_TOOL);
    ASSERT_NE(view->eventTool, nullptr);
    view->eventTool->edit()->setPlainText("typed");
    ASSERT_NE(CRKeditView::current(), view); // other.stage's window is active
    const std::optional<std::string> script = sample->pendingScript(true);
    ASSERT_TRUE(script);
    EXPECT_EQ(*script, "typed");
    // The active stage's own view answers for its stage, and only it.
    EXPECT_FALSE(other->pendingScript(true));
}
