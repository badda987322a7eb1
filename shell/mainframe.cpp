#include "shell/mainframe.h"

#include <algorithm>

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QWindow>

#include "document/coretexts.h"
#include "document/stagedocument.h"
#include "panels/panelplace.h"
#include "shell/childframe.h"
#include "shell/commandids.h"
#include "shell/documentmanager.h"
#include "shell/icons.h"
#include "shell/language.h"
#include "shell/menuresources.h"
#include "shell/paneldocks.h"
#include "shell/recentfilelist.h"
#include "view/CRKeditView.h"
#include "view/zoomsteps.h"

namespace {
// A path as a menu entry: "&1 /path/to/file", with the path's own "&" kept visible.
QString recentEntryText(int index, const QString& path) {
    QString shown = path;
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(shown);
}
} // namespace

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent), area_(new QMdiArea(this)) {
    setWindowTitle(QStringLiteral("rkedit"));
    setWindowIcon(mainWindowIcon());
    area_->setBackground(palette().dark());
    setCentralWidget(area_);
    // The stage windows fit themselves into the area, not the area around them: its
    // minimum size does not grow with theirs (tile and cascade would grow the main window).
    area_->setMinimumSize(1, 1);

    createActions();
    for (const MenuDefinition& definition : menu128())
        menus128_.append(buildMenu(definition));
    for (const MenuDefinition& definition : menu129())
        menus129_.append(buildMenu(definition));
    for (QMenu* menu : menus129_) {
        if (menu->actions().contains(actions_.value(ID_PLACEMENT_TOOL)))
            buildDrawingToolMenu(menu);
        if (menu->actions().contains(actions_.value(ID_EDIT_UNDO))) {
            QMenu* transforms = buildMenu(transformMenu());
            transforms->setObjectName(QStringLiteral("transforms"));
            menu->addSeparator();
            menu->addMenu(transforms);
        }
    }
    actions_.value(ID_EDIT_PASTE_EMPTY)->setCheckable(true);
    actions_.value(ID_WINDOW_TABBED)->setCheckable(true);
    docks_ = new PanelDocks(this);

    // Toolbar 128: flat buttons, tool tips, status prompts, dockable on every side.
    toolBar_ = new QToolBar(tr("ﾂｰﾙ ﾊﾞｰ"), this);
    toolBar_->setObjectName(QStringLiteral("toolbar128"));
    toolBar_->setIconSize(QSize(16, 15));
    toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
    for (int id : toolbarButtons()) {
        if (id == 0)
            toolBar_->addSeparator();
        else
            toolBar_->addAction(actions_.value(id));
    }
    addToolBar(Qt::TopToolBarArea, toolBar_);

    // Status bar: the message pane with its idle text, then the four lock indicators.
    readyLabel_ = new QLabel(readyText(), this);
    statusBar()->addWidget(readyLabel_, 1);
    // The active stage window's zoom, before the lock indicators.
    zoomLabel_ = new QLabel(this);
    zoomLabel_->setObjectName(QStringLiteral("zoom"));
    zoomLabel_->setAlignment(Qt::AlignCenter);
    zoomLabel_->setMinimumWidth(
        zoomLabel_->fontMetrics().horizontalAdvance(QStringLiteral("800.0 %")) + 8);
    statusBar()->addPermanentWidget(zoomLabel_);
    pointerLabel_ = new QLabel(this);
    pointerLabel_->setObjectName(QStringLiteral("pointer"));
    // Its width is measured once the window has first painted (event()).
    statusBar()->addPermanentWidget(pointerLabel_);
    for (const QString& text : indicatorTexts()) {
        auto* indicator = new QLabel(text, this);
        indicator->setAlignment(Qt::AlignCenter);
        indicator->setMinimumWidth(indicator->fontMetrics().horizontalAdvance(text) + 8);
        // The lock states cannot be read portably; the panes show their names greyed.
        indicator->setEnabled(false);
        statusBar()->addPermanentWidget(indicator);
    }

    connect(actions_.value(ID_VIEW_TOOLBAR), &QAction::toggled, toolBar_, &QToolBar::setVisible);
    connect(toolBar_, &QToolBar::visibilityChanged, actions_.value(ID_VIEW_TOOLBAR),
            &QAction::setChecked);
    connect(actions_.value(ID_VIEW_STATUS_BAR), &QAction::toggled, statusBar(),
            &QStatusBar::setVisible);

    commands_.changed = [this] { updateFrameSoon(); };
    const auto stageWindow = [this] { return documents_ && documents_->commandView(); };
    // Arranging the stage windows never makes the main window larger than its screen.
    // Each stage window then takes the room from its new place.
    commands_.define(
        ID_WINDOW_CASCADE,
        [this] {
            area_->cascadeSubWindows();
            keepOnScreen();
            fitStageWindows();
        },
        stageWindow);
    commands_.define(
        ID_WINDOW_TILE_HORZ,
        [this] {
            area_->tileSubWindows();
            keepOnScreen();
            fitStageWindows();
        },
        stageWindow);
    commands_.define(
        ID_WINDOW_ARRANGE, [this] { arrangeIcons(); }, stageWindow);
    commands_.define(ID_WINDOW_TABBED,
                     [this] { setTabbed(actions_.value(ID_WINDOW_TABBED)->isChecked()); });
    commands_.define(ID_APP_EXIT, [this] { close(); });
    // The bars' check items show and hide them through their toggled signals.
    commands_.define(ID_VIEW_TOOLBAR, [] {});
    commands_.define(ID_VIEW_STATUS_BAR, [] {});

    connect(area_, &QMdiArea::subWindowActivated, this, &CMainFrame::updateFrame);
    // The docks show the panels of the stage window now active.
    connect(area_, &QMdiArea::subWindowActivated, docks_, &PanelDocks::sync);
    // The open placement tools show the choices of the stage window now active.
    connect(area_, &QMdiArea::subWindowActivated, this, [] { CRKeditView::currentChanged(); });
    // The commands act on the view whose tool panel has the keyboard: what they can do
    // changes with the active window. Queued, so that the application's active window is
    // up to date when it is asked.
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &CMainFrame::updateFrame,
            Qt::QueuedConnection);
    updateFrame();
}

void CMainFrame::buildDrawingToolMenu(QMenu* toolMenu) {
    QMenu* menu = toolMenu->addMenu(tr("描画ツール(&D)"));
    menu->setObjectName(QStringLiteral("drawingTools"));
    auto* group = new QActionGroup(this);
    group->setExclusive(true);
    for (const ToolInfo& info : stageTools()) {
        const QString name = coreText(info.name);
        auto* action = menu->addAction(QStringLiteral("%1\t%2").arg(name, QChar(info.key)));
        action->setCheckable(true);
        action->setToolTip(tr("%1（キー %2）").arg(name, QChar(info.key)));
        action->setData(int(info.id));
        group->addAction(action);
        const ToolId id = info.id;
        connect(action, &QAction::triggered, this, [this, id] {
            if (CRKeditView* view = documents_ ? documents_->activeView() : nullptr)
                view->setTool(id);
        });
        drawingTools_.append(action);
    }
}

void CMainFrame::showDrawingTool() {
    const CRKeditView* view = documents_ ? documents_->activeView() : nullptr;
    for (QAction* action : drawingTools_) {
        action->setEnabled(view != nullptr);
        action->setChecked(view && action->data().toInt() == int(view->tool()));
    }
}

CMainFrame::~CMainFrame() {
    CRKeditView::setActiveViewSource(nullptr);
    // The stage windows go first, one by one, while the frame and its MDI area are whole:
    // a closing view still stores its panels' contents in its document, which may update
    // the frame.
    // Every one of them: a window the area no longer lists (being closed as a tab) too.
    for (QMdiSubWindow* window : area_->findChildren<QMdiSubWindow*>())
        delete window;
    disconnect(area_, nullptr, this, nullptr);
    if (documents_ != nullptr)
        disconnect(documents_, nullptr, this, nullptr);
}

void CMainFrame::createActions() {
    QList<int> ids;
    for (const auto* menus : {&menu128(), &menu129()})
        for (const MenuDefinition& menu : *menus)
            for (const MenuItem& item : menu.items)
                if (item.id != 0 && item.id != ID_FILE_MRU_FILE1 && !ids.contains(item.id))
                    ids.append(item.id);
    for (const MenuItem& item : transformMenu().items)
        if (item.id != 0)
            ids.append(item.id);
    for (int id : toolbarButtons())
        if (id != 0 && !ids.contains(id))
            ids.append(id);
    for (const Accelerator& accelerator : acceleratorTable())
        if (!ids.contains(accelerator.id))
            ids.append(accelerator.id);

    for (int id : ids) {
        QString text = menuLabel(id);
        if (text.isEmpty())
            text = toolTipPrompt(id);
        auto* action = new QAction(text, this);
        action->setData(id);
        action->setIcon(toolbarIcon(id));
        action->setStatusTip(statusPrompt(id));
        const QString tip = toolTipPrompt(id);
        action->setToolTip(tip.isEmpty() ? QString(text).remove(QLatin1Char('&')) : tip);
        action->setShortcuts(CommandTable::keys(id));
        // The keys work from the tool panels too (windows of their own), not only while the
        // main window is active; a modal dialog still blocks them.
        action->setShortcutContext(Qt::ApplicationShortcut);
        // Keys of commands that live in no menu still need the action on a widget.
        addAction(action);
        connect(action, &QAction::triggered, this, [this, id] { commands_.run(id); });
        actions_.insert(id, action);
    }
    for (int id : {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR}) {
        actions_.value(id)->setCheckable(true);
        actions_.value(id)->setChecked(true);
    }
}

QMenu* CMainFrame::buildMenu(const MenuDefinition& definition) {
    auto* menu = new QMenu(menuText(definition.title), this);
    bool isFileMenu = false;
    for (const MenuItem& item : definition.items) {
        if (item.id == 0)
            menu->addSeparator();
        else if (item.id == ID_FILE_MRU_FILE1)
            isFileMenu = true; // filled by rebuildRecentFiles()
        else
            menu->addAction(actions_.value(item.id));
        if (item.id == ID_FILE_MRU_FILE1) {
            // A marker the recent entries are inserted before.
            QAction* marker = menu->addSeparator();
            marker->setVisible(false);
            marker->setObjectName(QStringLiteral("recentFiles"));
        }
    }
    if (isFileMenu)
        fileMenus_.append(menu);
    if (definition.items.constLast().id == ID_APP_ABOUT) {
        menu->addSeparator();
        addLanguageMenu(menu);
    }
    if (definition.items.constFirst().id == ID_WINDOW_NEW)
        connect(menu, &QMenu::aboutToShow, this, [this, menu] { rebuildWindowList(menu); });
    return menu;
}

void CMainFrame::attach(DocumentManager* documents, RecentFileList* recentFiles) {
    documents_ = documents;
    docks_->attach(documents);
    recentFiles_ = recentFiles;
    // Queued: the entry that opens a file changes the list while it is being triggered.
    connect(recentFiles_, &RecentFileList::changed, this, &CMainFrame::rebuildRecentFiles,
            Qt::QueuedConnection);
    connect(documents_, &DocumentManager::documentsChanged, this, &CMainFrame::updateFrame);
    connect(documents_, &DocumentManager::viewCreated, this, [this](CRKeditView* view) {
        StageDocument* document = view->stageDocument();
        // Title follows the document's name and modified mark (connected once per window).
        connect(document, &StageDocument::titleChanged, view, [this] { updateFrame(); });
        connect(document, &StageDocument::modifiedChanged, view, [this] { updateFrame(); });
        connect(view, &QObject::destroyed, this, &CMainFrame::updateFrame, Qt::QueuedConnection);
        connect(view, &CRKeditView::zoomChanged, this, &CMainFrame::showZoom);
        connect(view, &CRKeditView::statusMessage, this,
                [this](const QString& text) { statusBar()->showMessage(text); });
        connect(view, &CRKeditView::pointerStatus, this, [this, view](const QString& text) {
            if (documents_ && documents_->activeView() == view)
                pointerLabel_->setText(text);
        });
        connect(view, &CRKeditView::toolStateChanged, this, &CMainFrame::showDrawingTool);
    });
    // The view's own commands act on the view the user acts on.
    defineViewCommands(commands_,
                       [this] { return documents_ ? documents_->commandView() : nullptr; });
    // "The current view" of the views is the active stage window's.
    CRKeditView::setActiveViewSource(
        [this] { return documents_ ? documents_->activeView() : nullptr; });
    rebuildRecentFiles();
    updateFrame();
}

void CMainFrame::updateFrameSoon() {
    if (frameUpdatePending_)
        return;
    frameUpdatePending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (frameUpdatePending_)
                updateFrame();
        },
        Qt::QueuedConnection);
}

void CMainFrame::updateFrame() {
    frameUpdatePending_ = false;
    for (auto it = actions_.cbegin(); it != actions_.cend(); ++it)
        it.value()->setEnabled(commands_.enabled(it.key()));

    const bool stageOpen = !area_->subWindowList().isEmpty();
    const int wanted = stageOpen ? 129 : 128;
    if (wanted != currentMenuId_) {
        currentMenuId_ = wanted;
        menuBar()->clear();
        for (QMenu* menu : stageOpen ? menus129_ : menus128_)
            menuBar()->addMenu(menu);
    }

    QString title = QStringLiteral("rkedit");
    bool modified = false;
    if (documents_ != nullptr) {
        if (StageDocument* document = documents_->activeDocument()) {
            title += QStringLiteral(" - ") + document->title();
            modified = document->isModified();
        }
    }
    setWindowTitle(title + QStringLiteral("[*]"));
    setWindowModified(modified);
    showZoom();
    showDrawingTool();
    // The docks' titles name the stage as it is now called.
    if (docks_ != nullptr)
        docks_->sync();
}

void CMainFrame::setTabbed(bool tabbed) {
    actions_.value(ID_WINDOW_TABBED)->setChecked(tabbed);
    if (isTabbed() == tabbed)
        return;
    if (tabbed) {
        area_->setViewMode(QMdiArea::TabbedView);
        area_->setTabsClosable(true);
        area_->setTabsMovable(true);
        area_->setDocumentMode(true);
    } else {
        area_->setViewMode(QMdiArea::SubWindowView);
    }
    // Each window fills the area as a tab, and fits its stage again as a window.
    for (QMdiSubWindow* window : area_->subWindowList())
        if (auto* stage = qobject_cast<CChildFrame*>(window)) {
            if (!tabbed && stage->isMaximized())
                stage->showNormal();
            stage->fillsAreaChanged();
        }
}

bool CMainFrame::isTabbed() const {
    return area_->viewMode() == QMdiArea::TabbedView;
}

namespace {
const char layoutGroup[] = "Workspace";
} // namespace

void CMainFrame::restoreLayout() {
    QSettings settings;
    settings.beginGroup(QLatin1String(layoutGroup));
    const QByteArray geometry = settings.value(QStringLiteral("geometry")).toByteArray();
    const QByteArray state = settings.value(QStringLiteral("state")).toByteArray();
    const bool tabbed = settings.value(QStringLiteral("tabbed"), false).toBool();
    settings.endGroup();
    if (geometry.isEmpty() || !restoreGeometry(geometry)) {
        // The first start: the screen's whole available area.
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect available = screen->availableGeometry();
            // Placed at the area's top-left corner: the window manager adds its frame around
            // it, and keepOnScreen() takes that in once it is known.
            move(available.topLeft());
            resize(available.size());
        }
    }
    if (!state.isEmpty() && restoreState(state))
        docks_->restored();
    setTabbed(tabbed);
}

void CMainFrame::saveLayout() const {
    QSettings settings;
    settings.beginGroup(QLatin1String(layoutGroup));
    settings.setValue(QStringLiteral("geometry"), saveGeometry());
    settings.setValue(QStringLiteral("state"), saveState());
    settings.setValue(QStringLiteral("tabbed"), isTabbed());
    settings.endGroup();
}

void CMainFrame::showZoom() {
    if (zoomLabel_ == nullptr)
        return;
    CRKeditView* view = documents_ ? documents_->activeView() : nullptr;
    zoomLabel_->setText(view ? QString::fromStdString(ZoomSteps::percentText(view->zoom()))
                             : QString());
}

QList<QMenu*> CMainFrame::currentMenus() const {
    return currentMenuId_ == 129 ? menus129_ : menus128_;
}

QList<QAction*> CMainFrame::recentFileActions() const {
    QList<QAction*> entries;
    for (QMenu* menu : fileMenus_)
        if (currentMenus().contains(menu))
            for (QAction* action : menu->actions())
                if (action->property("recentIndex").isValid())
                    entries.append(action);
    return entries;
}

void CMainFrame::rebuildRecentFiles() {
    const QStringList files = recentFiles_ ? recentFiles_->files() : QStringList();
    for (QMenu* menu : fileMenus_) {
        for (QAction* action : menu->actions())
            if (action->property("recentIndex").isValid())
                delete action;
        QAction* marker = menu->findChild<QAction*>(QStringLiteral("recentFiles"));
        if (files.isEmpty()) {
            // The greyed placeholder stands where the list will be.
            auto* placeholder = new QAction(menuLabel(ID_FILE_MRU_FILE1), menu);
            placeholder->setProperty("recentIndex", -1);
            placeholder->setEnabled(false);
            menu->insertAction(marker, placeholder);
            continue;
        }
        for (int i = 0; i < files.size(); ++i) {
            auto* entry = new QAction(recentEntryText(i, QDir::toNativeSeparators(files[i])), menu);
            entry->setProperty("recentIndex", i);
            entry->setStatusTip(statusPrompt(ID_FILE_MRU_FILE1 + i));
            const QString path = files[i];
            connect(entry, &QAction::triggered, this, [this, path] {
                if (documents_)
                    documents_->openDocument(path);
            });
            menu->insertAction(marker, entry);
        }
    }
}

void CMainFrame::rebuildWindowList(QMenu* menu) {
    for (QAction* action : menu->actions())
        if (action->property("windowEntry").isValid())
            delete action;
    const QList<QMdiSubWindow*> windows = area_->subWindowList();
    if (windows.isEmpty())
        return;
    QAction* separator = menu->addSeparator();
    separator->setProperty("windowEntry", true);
    for (int i = 0; i < windows.size(); ++i) {
        QMdiSubWindow* window = windows[i];
        QString title = window->windowTitle();
        title.replace(QStringLiteral("[*]"), window->isWindowModified() ? "*" : "");
        title.replace(QLatin1Char('&'), QStringLiteral("&&"));
        auto* entry = menu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(title));
        entry->setProperty("windowEntry", true);
        entry->setCheckable(true);
        entry->setChecked(window == area_->currentSubWindow());
        connect(entry, &QAction::triggered, this, [this, window] {
            if (area_->subWindowList().contains(window)) {
                if (window->isMinimized())
                    window->showNormal();
                area_->setActiveSubWindow(window);
            }
        });
    }
}

void CMainFrame::fitStageWindows() {
    for (QMdiSubWindow* window : area_->subWindowList())
        if (auto* stage = qobject_cast<CChildFrame*>(window))
            stage->refit();
    // The properties panels go beside their windows' new places, clear of the others.
    for (QMdiSubWindow* window : area_->subWindowList())
        if (auto* stage = qobject_cast<CChildFrame*>(window); stage && stage->view())
            stage->view()->placePropertiesPanel();
}

void CMainFrame::keepOnScreen() {
    const QScreen* screen = this->screen();
    if (screen == nullptr || isMaximized() || isFullScreen())
        return;
    const QRect available = screen->availableGeometry();
    // The window manager's frame around the window (none before it is decorated).
    const QRect outer = frameGeometry();
    const QSize decoration = outer.size() - size();
    const QSize room = available.size() - decoration;
    if (width() > room.width() || height() > room.height())
        resize(size().boundedTo(room.expandedTo(minimumSize())));
    const QRect now = frameGeometry();
    if (const QPoint at = movedInside(now, available); at != now.topLeft())
        move(at);
    // The part of the MDI area on the screen may have changed with the window.
    for (QMdiSubWindow* window : area_->subWindowList())
        if (auto* stage = qobject_cast<CChildFrame*>(window))
            stage->roomChanged();
}

void CMainFrame::arrangeIcons() {
    // Minimised stage windows in rows along the bottom of the area, left to right.
    int x = 0;
    int y = area_->viewport()->height();
    int rowHeight = 0;
    for (QMdiSubWindow* window : area_->subWindowList()) {
        if (!window->isMinimized())
            continue;
        const QSize size = window->size();
        if (x > 0 && x + size.width() > area_->viewport()->width()) {
            x = 0;
            y -= rowHeight;
            rowHeight = 0;
        }
        if (rowHeight == 0)
            rowHeight = size.height();
        window->move(x, y - rowHeight);
        x += size.width();
    }
}

void CMainFrame::sizePointerPane() {
    // As wide as the widest cell it can name, in the interface's language, so that the panes
    // keep their places as the pointer moves. Measuring loads the glyphs of every name, which
    // the window's first paint does not show.
    int pointerWidth = 0;
    for (CellCode code = BlockKinds::first; code <= BlockKinds::last; ++code)
        pointerWidth =
            std::max(pointerWidth, pointerLabel_->fontMetrics().horizontalAdvance(
                                       QStringLiteral("(99, 99) ") + CRKeditView::codeName(code)));
    pointerLabel_->setMinimumWidth(pointerWidth + 8);
}

bool CMainFrame::event(QEvent* event) {
    // The pointer pane is empty until the pointer is over a stage: its width is measured
    // right after the first paint, with the work that follows it (the properties panel).
    if (event->type() == QEvent::Paint && !pointerPaneSized_) {
        pointerPaneSized_ = true;
        QMetaObject::invokeMethod(this, &CMainFrame::sizePointerPane, Qt::QueuedConnection);
    }
    // The first activation comes once the window manager has framed the window: its frame
    // is known then, and the window is kept inside the screen with it.
    if (event->type() == QEvent::WindowActivate && !placedOnScreen_) {
        placedOnScreen_ = true;
        QTimer::singleShot(0, this, &CMainFrame::keepOnScreen);
    }
    return QMainWindow::event(event);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (documents_ != nullptr) {
        if (!documents_->saveAllModified()) {
            event->ignore();
            return;
        }
        // Kept while the docks still show the stage windows' panels.
        saveLayout();
        documents_->closeAll();
    } else {
        saveLayout();
    }
    if (recentFiles_ != nullptr)
        recentFiles_->save();
    event->accept();
}
