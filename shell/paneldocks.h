#pragma once

#include <QDockWidget>
#include <QObject>
#include <QPointer>

#include <array>

class CRKeditView;
class DocumentManager;
class QMainWindow;

// A dock of the main window for one kind of tool panel. Its close box closes the panel it
// shows, as the panel's command does (the panel takes its values into the document first).
class PanelDock : public QDockWidget {
    Q_OBJECT
public:
    PanelDock(int commandId, const QString& title, QMainWindow* parent);
    int commandId() const { return commandId_; }

signals:
    void closeClicked(int commandId);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    int commandId_;
};

// The docks of the properties panel, the placement tool and the event tool. Each stage
// window's view owns its own panels and their values; a dock shows the panel of the active
// stage window and switches with it. A panel the user has open stays open as the active
// window changes: a window that has none yet gets one, so a shown dock is never empty while
// a stage window is open. Closing a panel (its command, its Esc or the dock's close box)
// closes that kind of panel of every stage window, each taking its values in.
class PanelDocks : public QObject {
    Q_OBJECT
public:
    PanelDocks(QMainWindow* main);
    ~PanelDocks() override;
    void attach(DocumentManager* documents);

    // The dock of a panel command (ID_PROPERTIES, ID_PLACEMENT_TOOL, ID_EVENT_TOOL).
    PanelDock* dock(int commandId) const;
    // Shows in each dock the active stage window's panel, titled after the stage.
    void sync();
    // The docks' visibility was put back from the settings: the panels shown then are the
    // ones the user has open.
    void restored();
    // A view's panel opened or closed.
    void panelsChanged(CRKeditView* view);

private:
    void closeClicked(int commandId);
    // "プロパティ - stage1.stage": the panel's title and the stage window's.
    static QString dockTitle(const QWidget* panel, const CRKeditView* view);

    struct Entry {
        PanelDock* dock = nullptr;
        QPointer<CRKeditView> shownFor; // whose panel the dock holds
        bool wanted = false;            // the user has this kind of panel open
    };
    std::array<Entry, 3> entries_;
    DocumentManager* documents_ = nullptr;
    bool syncing_ = false;
    bool syncAgain_ = false;
};
