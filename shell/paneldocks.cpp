#include "shell/paneldocks.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QMainWindow>
#include <QMdiSubWindow>

#include "shell/childframe.h"
#include "shell/documentmanager.h"
#include "view/CRKeditView.h"

PanelDock::PanelDock(int commandId, const QString& title, QMainWindow* parent)
    : QDockWidget(title, parent), commandId_(commandId) {
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                QDockWidget::DockWidgetFloatable);
}

void PanelDock::closeEvent(QCloseEvent* event) {
    // The dock stays as it is until its panel has closed; the panel may keep it open.
    event->ignore();
    emit closeClicked(commandId_);
}

PanelDocks::PanelDocks(QMainWindow* main) : QObject(main) {
    struct Kind {
        int id;
        const char* title;
        const char* name;
        Qt::DockWidgetArea area;
    };
    const Kind kinds[] = {
        {ID_PROPERTIES, QT_TRANSLATE_NOOP("Panel", "プロパティ"), "propertiesDock",
         Qt::RightDockWidgetArea},
        {ID_PLACEMENT_TOOL, QT_TRANSLATE_NOOP("Panel", "配置ツール"), "placementDock",
         Qt::RightDockWidgetArea},
        {ID_EVENT_TOOL, QT_TRANSLATE_NOOP("Panel", "イベントツール"), "eventDock",
         Qt::BottomDockWidgetArea},
    };
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        auto* dock =
            new PanelDock(kinds[i].id, QCoreApplication::translate("Panel", kinds[i].title), main);
        dock->setObjectName(QString::fromLatin1(kinds[i].name));
        dock->hide();
        main->addDockWidget(kinds[i].area, dock);
        connect(dock, &PanelDock::closeClicked, this, &PanelDocks::closeClicked);
        entries_[i].dock = dock;
    }
    CRKeditView::setPanelsDocked(true);
}

PanelDocks::~PanelDocks() {
    CRKeditView::setPanelsDocked(false);
}

void PanelDocks::attach(DocumentManager* documents) {
    documents_ = documents;
    connect(documents_, &DocumentManager::viewCreated, this, [this](CRKeditView* view) {
        connect(view, &CRKeditView::toolPanelsChanged, this, [this, view] { panelsChanged(view); });
    });
}

PanelDock* PanelDocks::dock(int commandId) const {
    for (const Entry& entry : entries_)
        if (entry.dock->commandId() == commandId)
            return entry.dock;
    return nullptr;
}

void PanelDocks::restored() {
    for (Entry& entry : entries_)
        entry.wanted = !entry.dock->isHidden();
    sync();
}

void PanelDocks::panelsChanged(CRKeditView* view) {
    // What the user opens or closes in the active stage window is what the docks keep; a
    // kind of panel whose state did not change is left as it is.
    if (documents_ && view == documents_->activeView()) {
        for (Entry& entry : entries_) {
            const int id = entry.dock->commandId();
            const bool open = view->toolPanel(id) != nullptr;
            const bool shown = entry.shownFor == view;
            if (open && !shown) {
                entry.wanted = true;
            } else if (!open && shown) {
                entry.wanted = false;
                // The same kind of panel of the other stage windows closes too.
                for (StageDocument* document : documents_->documents())
                    for (CChildFrame* frame : documents_->framesOf(document))
                        if (CRKeditView* other = frame->view();
                            other && other != view && other->toolPanel(id))
                            other->runCommand(id);
            }
        }
    }
    sync();
}

void PanelDocks::sync() {
    if (syncing_) {
        syncAgain_ = true;
        return;
    }
    syncing_ = true;
    do {
        syncAgain_ = false;
        CRKeditView* view = documents_ ? documents_->activeView() : nullptr;
        for (Entry& entry : entries_) {
            const int id = entry.dock->commandId();
            QWidget* panel = view ? view->toolPanel(id) : nullptr;
            if (view && entry.wanted && !panel) {
                view->runCommand(id); // opens it; its change comes back as syncAgain_
                panel = view->toolPanel(id);
            }
            QWidget* shown = entry.dock->widget();
            if (shown != panel) {
                if (shown) {
                    // Back to its own view, hidden, with the values it holds.
                    entry.dock->setWidget(nullptr);
                    shown->hide();
                    shown->setParent(entry.shownFor ? static_cast<QWidget*>(entry.shownFor.data())
                                                    : nullptr);
                }
                if (panel) {
                    entry.dock->setWidget(panel);
                    panel->show();
                }
                entry.shownFor = panel ? view : nullptr;
            }
            if (panel) {
                entry.dock->setWindowTitle(dockTitle(panel, view));
                if (entry.dock->isHidden())
                    entry.dock->show();
            } else if (!entry.dock->isHidden()) {
                entry.dock->hide();
            }
        }
    } while (syncAgain_);
    syncing_ = false;
}

void PanelDocks::closeClicked(int commandId) {
    CRKeditView* view = documents_ ? documents_->activeView() : nullptr;
    if (view && view->toolPanel(commandId))
        view->runCommand(commandId);
    else
        sync();
}

QString PanelDocks::dockTitle(const QWidget* panel, const CRKeditView* view) {
    QString stage;
    for (const QWidget* w = view; w; w = w->parentWidget())
        if (const auto* window = qobject_cast<const QMdiSubWindow*>(w)) {
            stage = window->windowTitle().remove(QLatin1String("[*]"));
            break;
        }
    return stage.isEmpty() ? panel->windowTitle()
                           : QStringLiteral("%1 - %2").arg(panel->windowTitle(), stage);
}
