// The workspace: the tool panels in docks of the main window beside the stage windows, the
// docks following the active stage window, maximised and tabbed stage windows at the fit
// zoom, and the layout kept from one start to the next.
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QScrollBar>

#include "shellfixture.h"

#include "panels/eventtool.h"
#include "panels/propertypanel.h"
#include "shell/commandids.h"
#include "view/CRKeditView.h"

namespace {

// Paints the view and lets what the paint posts run, a few times over.
void paintSettled(CRKeditView* v) {
    for (int i = 0; i < 3; ++i) {
        v->repaint();
        settle();
    }
}

class Docks : public Shell {
protected:
    void openSample() {
        start({path("sample.stage")});
        view = documents()->activeView();
        ASSERT_NE(view, nullptr);
        paintSettled(view);
    }
    PanelDock* dock(int id) const { return frame()->panelDocks()->dock(id); }
    // The rectangle of `w` in the main window's coordinates.
    QRect inFrame(const QWidget* w) const {
        return QRect(w->mapTo(frame(), QPoint(0, 0)), w->size());
    }
    CChildFrame* stageWindow() const {
        return qobject_cast<CChildFrame*>(frame()->mdiArea()->currentSubWindow());
    }
    // The view shows the whole stage: no scroll bars, the zoomed stage inside the view.
    static void expectWholeStage(CRKeditView* v) {
        EXPECT_TRUE(v->horizontalScrollBar()->isHidden());
        EXPECT_TRUE(v->verticalScrollBar()->isHidden());
        EXPECT_LE(v->zoom().toDevice(v->stageSize().width()), v->width());
        EXPECT_LE(v->zoom().toDevice(v->stageSize().height()), v->height());
    }

    CRKeditView* view = nullptr;
};

TEST_F(Docks, ThePropertiesPanelOpensInItsDockBesideTheStageWindowAndNamesTheStage) {
    openSample();
    PanelDock* properties = dock(ID_PROPERTIES);
    ASSERT_NE(view->propertyPanel, nullptr);
    EXPECT_TRUE(properties->isVisible());
    EXPECT_EQ(properties->widget(), view->propertyPanel);
    EXPECT_FALSE(view->propertyPanel->isWindow());
    EXPECT_EQ(frame()->dockWidgetArea(properties), Qt::RightDockWidgetArea);
    EXPECT_EQ(properties->windowTitle(), QStringLiteral("プロパティ - sample.stage"));
    // The stage window lies in the area the docks leave: nothing of it under the dock.
    EXPECT_FALSE(inFrame(properties).intersects(inFrame(stageWindow())));
    EXPECT_FALSE(inFrame(properties).intersects(inFrame(frame()->mdiArea())));
    EXPECT_TRUE(view->showsFittedStage());
    EXPECT_EQ(view->size(), QSize(640, 630));
    // The other docks stay closed until asked for.
    EXPECT_FALSE(dock(ID_PLACEMENT_TOOL)->isVisible());
    EXPECT_FALSE(dock(ID_EVENT_TOOL)->isVisible());
    trigger(ID_EVENT_TOOL);
    EXPECT_TRUE(dock(ID_EVENT_TOOL)->isVisible());
    EXPECT_EQ(dock(ID_EVENT_TOOL)->widget(), view->eventTool);
    EXPECT_EQ(frame()->dockWidgetArea(dock(ID_EVENT_TOOL)), Qt::BottomDockWidgetArea);
    EXPECT_FALSE(inFrame(dock(ID_EVENT_TOOL)).intersects(inFrame(frame()->mdiArea())));
}

TEST_F(Docks, EachStageWindowKeepsItsOwnPanelAndTheDockSwitchesWithTheActiveWindow) {
    openSample();
    CPropertyPanel* first = view->propertyPanel;
    ASSERT_NE(first, nullptr);
    // A value typed into the first window's panel and not yet taken.
    first->control<QLineEdit>(CPropertyPanel::IDC_LIFE)->setText("8");

    trigger(ID_WINDOW_NEW);
    CRKeditView* second = documents()->activeView();
    ASSERT_NE(second, view);
    paintSettled(second);
    ASSERT_NE(second->propertyPanel, nullptr) << "the dock is never left empty";
    EXPECT_NE(second->propertyPanel, first);
    EXPECT_EQ(dock(ID_PROPERTIES)->widget(), second->propertyPanel);
    EXPECT_EQ(dock(ID_PROPERTIES)->windowTitle(), QStringLiteral("プロパティ - sample.stage:2"));
    EXPECT_FALSE(first->isVisible());
    // The second window shows the picture too.
    EXPECT_EQ(second->picture, view->picture);

    frame()->mdiArea()->setActiveSubWindow(documents()->framesOf(view->stageDocument()).first());
    settle();
    EXPECT_EQ(dock(ID_PROPERTIES)->widget(), first);
    EXPECT_EQ(dock(ID_PROPERTIES)->windowTitle(), QStringLiteral("プロパティ - sample.stage:1"));
    EXPECT_EQ(first->control<QLineEdit>(CPropertyPanel::IDC_LIFE)->text(), "8")
        << "the panel kept what was typed";
    EXPECT_TRUE(first->isVisible());
}

TEST_F(Docks, ClosingTheDockClosesThePanelOfEveryWindowAndTakesTheirValuesIn) {
    openSample();
    StageDocument* document = view->stageDocument();
    trigger(ID_WINDOW_NEW);
    CRKeditView* second = documents()->activeView();
    paintSettled(second);
    ASSERT_NE(second->propertyPanel, nullptr);
    second->propertyPanel->control<QLineEdit>(CPropertyPanel::IDC_LIFE)->setText("4");

    dock(ID_PROPERTIES)->close();
    settle();
    EXPECT_FALSE(dock(ID_PROPERTIES)->isVisible());
    EXPECT_EQ(second->propertyPanel, nullptr);
    EXPECT_EQ(view->propertyPanel, nullptr);
    EXPECT_EQ(document->doc().life, "4") << "the closing panel's values reached the stage";

    // Switching windows does not bring it back; the command does, for the active window.
    frame()->mdiArea()->setActiveSubWindow(documents()->framesOf(document).first());
    settle();
    EXPECT_EQ(view->propertyPanel, nullptr);
    EXPECT_FALSE(dock(ID_PROPERTIES)->isVisible());
    trigger(ID_PROPERTIES);
    ASSERT_NE(view->propertyPanel, nullptr);
    EXPECT_TRUE(dock(ID_PROPERTIES)->isVisible());
    EXPECT_EQ(view->propertyPanel->control<QLineEdit>(CPropertyPanel::IDC_LIFE)->text(), "4");

    // The last stage window closed: no dock is left showing a panel.
    document->setModified(false);
    trigger(ID_FILE_CLOSE);
    EXPECT_FALSE(dock(ID_PROPERTIES)->isVisible());
    EXPECT_EQ(dock(ID_PROPERTIES)->widget(), nullptr);
}

TEST_F(Docks, MaximisedAndTabbedWindowsShowTheWholeStageAtTheFitZoom) {
    openSample();
    CChildFrame* window = stageWindow();
    const QSize fitted = window->size();
    const StageZoom opened = view->zoom();
    const bool followedRoom = view->showingWhole();
    window->showMaximized();
    paintSettled(view);
    EXPECT_TRUE(window->isMaximized());
    EXPECT_GT(view->width(), 640) << "the window fills the area";
    expectWholeStage(view);

    window->showNormal();
    paintSettled(view);
    EXPECT_EQ(window->size(), fitted) << "restored, the window fits its stage again";
    // Back at the zoom it opened with, which follows the room only if it did then: the fit
    // made while maximised must not stay and enlarge the restored window.
    EXPECT_EQ(view->zoom(), opened);
    EXPECT_EQ(view->showingWhole(), followedRoom);

    frame()->action(ID_WINDOW_TABBED)->trigger();
    settle();
    EXPECT_TRUE(frame()->isTabbed());
    paintSettled(view);
    EXPECT_GT(view->width(), 640);
    expectWholeStage(view);
    frame()->action(ID_WINDOW_TABBED)->trigger();
    settle();
    EXPECT_FALSE(frame()->isTabbed());
}

TEST_F(Docks, TheLayoutComesBackAtTheNextStart) {
    openSample();
    // The first start takes the screen's available area.
    EXPECT_EQ(frame()->frameGeometry().size(), frame()->screen()->availableGeometry().size());
    frame()->action(ID_WINDOW_TABBED)->trigger();
    trigger(ID_EVENT_TOOL);
    frame()->resize(900, 640);
    settle();
    view->stageDocument()->setModified(false);
    ASSERT_TRUE(frame()->close());
    app.reset();
    settle();

    start({path("sample.stage")});
    EXPECT_TRUE(frame()->isTabbed());
    EXPECT_TRUE(frame()->action(ID_WINDOW_TABBED)->isChecked());
    EXPECT_EQ(frame()->size(), QSize(900, 640));
    // The docks open as they were left, each showing the new window's panel.
    settle();
    CRKeditView* again = documents()->activeView();
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(dock(ID_EVENT_TOOL)->isVisible());
    EXPECT_EQ(dock(ID_EVENT_TOOL)->widget(), again->eventTool);
    EXPECT_NE(again->eventTool, nullptr);
    EXPECT_TRUE(dock(ID_PROPERTIES)->isVisible());
    EXPECT_FALSE(dock(ID_PLACEMENT_TOOL)->isVisible());
}

} // namespace
