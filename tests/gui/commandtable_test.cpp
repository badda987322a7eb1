// The command table: one handler, one condition and the keys per command id; the frame's
// actions run and show exactly what the table says, and the view's commands reach the view
// the user acts on.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMdiArea>
#include <QMimeData>
#include <QSet>

#include "shell/childframe.h"
#include "shell/commandids.h"
#include "shell/commandtable.h"
#include "shell/mainframe.h"
#include "shellfixture.h"
#include "view/CRKeditView.h"
#include "view/cellclipboard.h"

namespace {

TEST(CommandTable, EachIdHasOneHandlerAndOneCondition) {
    CommandTable table;
    int told = 0;
    table.changed = [&told] { ++told; };
    // An id without a handler cannot act, and running it does nothing.
    EXPECT_FALSE(table.handles(ID_FILE_PRINT));
    EXPECT_FALSE(table.enabled(ID_FILE_PRINT));
    table.run(ID_FILE_PRINT);

    int first = 0, second = 0;
    bool can = false;
    table.define(ID_FILE_NEW, [&first] { ++first; });
    table.define(
        ID_FILE_SAVE, [&second] { ++second; }, [&can] { return can; });
    EXPECT_EQ(told, 2);
    EXPECT_TRUE(table.enabled(ID_FILE_NEW)); // no condition: always
    EXPECT_FALSE(table.enabled(ID_FILE_SAVE));
    can = true;
    EXPECT_TRUE(table.enabled(ID_FILE_SAVE));
    table.run(ID_FILE_SAVE);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 1);

    // A second definition replaces the first, its condition too.
    table.define(
        ID_FILE_SAVE, [&first] { ++first; }, [] { return false; });
    EXPECT_FALSE(table.enabled(ID_FILE_SAVE));
    table.run(ID_FILE_SAVE);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 1);

    // The keys, in the accelerator table's order.
    EXPECT_EQ(CommandTable::keys(ID_VIEW_ZOOM_IN),
              (QList<QKeySequence>{QKeySequence("Ctrl++"), QKeySequence("Ctrl+=")}));
    EXPECT_TRUE(CommandTable::keys(ID_FILE_CLOSE).isEmpty());
}

TEST_F(Shell, EveryActionShowsWhatTheCommandTableSays) {
    start({path("sample.stage")});
    const auto check = [this](const char* when) {
        SCOPED_TRACE(when);
        int handled = 0;
        for (QAction* action : frame()->findChildren<QAction*>()) {
            bool isCommand = false;
            const int id = action->data().toInt(&isCommand);
            if (!isCommand || frame()->action(id) != action)
                continue; // the recent files, the window list, the drawing tools
            EXPECT_EQ(action->isEnabled(), frame()->commands().enabled(id)) << id;
            handled += frame()->commands().handles(id) ? 1 : 0;
        }
        return handled;
    };
    const int withStage = check("a stage window open");
    // Commands with ids, keys or icons but no handler stay greyed.
    for (int id :
         {ID_FILE_PRINT, ID_NEXT_PANE, ID_PREV_PANE, ID_DIALOG_ON, ID_DIALOG_OFF, ID_ITEM_TOOL}) {
        ASSERT_NE(frame()->action(id), nullptr) << id;
        EXPECT_FALSE(frame()->commands().handles(id)) << id;
        EXPECT_FALSE(frame()->action(id)->isEnabled()) << id;
    }
    // Every one of the view's commands is in the table and has an action.
    QSet<int> viewIds;
    for (const CRKeditView::Command& command : CRKeditView::commands()) {
        EXPECT_TRUE(frame()->commands().handles(command.id)) << command.id;
        ASSERT_NE(frame()->action(command.id), nullptr) << command.id;
        EXPECT_TRUE(frame()->action(command.id)->isEnabled()) << command.id;
        viewIds.insert(command.id);
    }
    EXPECT_EQ(viewIds.size(), 10);

    trigger(ID_FILE_CLOSE);
    ASSERT_TRUE(documents()->documents().isEmpty());
    EXPECT_EQ(check("no stage window"), withStage); // the same handlers, other states
    for (int id : viewIds)
        EXPECT_FALSE(frame()->action(id)->isEnabled()) << id;
    for (int id : {ID_FILE_CLOSE, ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_WINDOW_NEW, ID_WINDOW_ARRANGE,
                   ID_WINDOW_CASCADE, ID_WINDOW_TILE_HORZ, ID_TEST_PLAY})
        EXPECT_FALSE(frame()->action(id)->isEnabled()) << id;
    for (int id : {ID_FILE_NEW, ID_FILE_OPEN, ID_APP_ABOUT, ID_APP_EXIT, ID_VIEW_TOOLBAR,
                   ID_VIEW_STATUS_BAR})
        EXPECT_TRUE(frame()->action(id)->isEnabled()) << id;
}

TEST_F(Shell, TheViewsCommandsRunOnTheActiveStageWindowOnly) {
    start({path("sample.stage")});
    CRKeditView* first = documents()->activeView();
    ASSERT_NE(first, nullptr);
    trigger(ID_WINDOW_NEW);
    CRKeditView* second = documents()->activeView();
    ASSERT_NE(second, first);
    const StageZoom firstZoom = first->zoom(), secondZoom = second->zoom();

    // The newest view is not the one acted on once the first window is active again.
    // The main window has the keyboard (not the properties panel the new window opened).
    QApplication::setActiveWindow(frame());
    frame()->mdiArea()->setActiveSubWindow(documents()->framesOf(first->stageDocument())[0]);
    settle();
    ASSERT_EQ(documents()->commandView(), first);
    trigger(ID_VIEW_ZOOM_IN);
    EXPECT_NE(first->zoom(), firstZoom);
    EXPECT_EQ(second->zoom(), secondZoom);
    trigger(ID_VIEW_ZOOM_100);
    EXPECT_EQ(first->zoom(), StageZoom());
    EXPECT_EQ(second->zoom(), secondZoom);

    // A panel command, too: the placement tool opens for the active window's view.
    ASSERT_EQ(first->placementTool, nullptr);
    ASSERT_EQ(second->placementTool, nullptr);
    trigger(ID_PLACEMENT_TOOL);
    EXPECT_NE(first->placementTool, nullptr);
    EXPECT_EQ(second->placementTool, nullptr);
    trigger(ID_PLACEMENT_TOOL);
    EXPECT_EQ(first->placementTool, nullptr);
}

TEST_F(Shell, APasteCommandIsEnabledWhileTheClipboardHoldsWhatItTakes) {
    start({path("sample.stage")});
    QClipboard* clipboard = QGuiApplication::clipboard();
    const auto canPaste = [this](const char* when) {
        SCOPED_TRACE(when);
        settle();
        const bool paste = frame()->action(ID_EDIT_PASTE)->isEnabled();
        EXPECT_EQ(frame()->action(ID_EDIT_PASTE_IN_PLACE)->isEnabled(), paste);
        return paste;
    };
    clipboard->clear();
    EXPECT_FALSE(canPaste("an empty clipboard"));
    clipboard->setText(QStringLiteral("1, 2\n3, 4\n"));
    EXPECT_TRUE(canPaste("text"));
    clipboard->clear();
    EXPECT_FALSE(canPaste("emptied again"));
    auto* cells = new QMimeData;
    cells->setData(QString::fromLatin1(CellClipboard::mimeType), QByteArray("x"));
    clipboard->setMimeData(cells);
    EXPECT_TRUE(canPaste("cells"));
    auto* image = new QMimeData;
    image->setImageData(QImage(2, 2, QImage::Format_RGB32));
    clipboard->setMimeData(image);
    EXPECT_FALSE(canPaste("a picture only"));
}

TEST_F(Shell, ACommandDefinedLaterShowsOnceTheEventLoopRuns) {
    start({path("sample.stage")});
    QAction* print = frame()->action(ID_FILE_PRINT);
    ASSERT_FALSE(print->isEnabled());
    // A run of definitions is shown once, when control is back in the event loop...
    frame()->commands().define(ID_FILE_PRINT, [] {});
    settle();
    EXPECT_TRUE(print->isEnabled());
    // ... or at once by a direct update of the frame.
    frame()->commands().define(
        ID_FILE_PRINT, [] {}, [] { return false; });
    frame()->updateFrame();
    EXPECT_FALSE(print->isEnabled());
}

} // namespace
