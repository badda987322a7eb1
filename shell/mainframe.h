#pragma once

#include <QHash>
#include <QMainWindow>

#include "shell/commandtable.h"

class DocumentManager;
class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QToolBar;
class PanelDocks;
class RecentFileList;

// The main window: the MDI area with the stage windows, menu 128 while no stage window is
// open and menu 129 while one is, accelerator table 128, toolbar 128 and the status bar.
// Every command is one QAction, found by its id.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    QMdiArea* mdiArea() const { return area_; }
    QToolBar* toolBar() const { return toolBar_; }

    // Wires the frame to the documents and the recent-file list (after construction, since
    // the document manager works in this frame's MDI area).
    void attach(DocumentManager* documents, RecentFileList* recentFiles);

    // The action of a command id; null for an id the frame does not know.
    QAction* action(int id) const { return actions_.value(id); }
    // The menus on the menu bar now, and which set it is (128 or 129).
    QList<QMenu*> currentMenus() const;
    int currentMenuId() const { return currentMenuId_; }
    // The recent-file entries of the menu bar's file menu now.
    QList<QAction*> recentFileActions() const;

    // The commands' handlers and when they can act; commands without a handler stay
    // disabled. A definition shows the commands' states anew; a condition that changes
    // otherwise is shown by updateFrame().
    CommandTable& commands() { return commands_; }

    // Shrinks and moves the window so that it lies inside its screen's available area
    // (frame included).
    void keepOnScreen();

    // The docks of the tool panels.
    PanelDocks* panelDocks() const { return docks_; }
    // The stage windows as tabs (タブで表示) or as windows in the area.
    void setTabbed(bool tabbed);
    bool isTabbed() const;

    // Where the window opens: as the user left it (its geometry, the docks and the tabbed
    // mode, kept in the settings), moved inside the screen should that have changed; the
    // first time, the screen's whole available area. saveLayout() keeps it for next time.
    void restoreLayout();
    void saveLayout() const;

    // Re-evaluates the menu set, the enabled commands and the title.
    void updateFrame();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void createActions();
    QMenu* buildMenu(const struct MenuDefinition& definition);
    void rebuildRecentFiles();
    void rebuildWindowList(QMenu* menu);
    void arrangeIcons();
    void fitStageWindows();
    // updateFrame() once control is back in the event loop: a run of changes (the commands
    // defined while the editor starts) is shown once. An updateFrame() before then does it.
    void updateFrameSoon();
    void sizePointerPane();
    void showZoom();
    // The ツール menu's 描画ツール submenu: one checkable entry per drawing tool, showing the
    // key that chooses it (the key itself is the stage window's and the placement tool's, so
    // it never reaches a text field).
    void buildDrawingToolMenu(QMenu* toolMenu);
    void showDrawingTool();

    QMdiArea* area_;
    QToolBar* toolBar_ = nullptr;
    QLabel* readyLabel_ = nullptr;
    QLabel* zoomLabel_ = nullptr;    // the active stage window's zoom
    QLabel* pointerLabel_ = nullptr; // the cell under the pointer, a rectangle's size
    QList<QAction*> drawingTools_;   // in the order of stageTools()
    DocumentManager* documents_ = nullptr;
    RecentFileList* recentFiles_ = nullptr;
    PanelDocks* docks_ = nullptr;
    QHash<int, QAction*> actions_;
    CommandTable commands_;
    QList<QMenu*> menus128_;
    QList<QMenu*> menus129_;
    QList<QMenu*> fileMenus_;
    int currentMenuId_ = 0;
    bool frameUpdatePending_ = false;
    bool placedOnScreen_ = false;
    bool pointerPaneSized_ = false;
};
