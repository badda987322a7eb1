#pragma once

#include <QMdiSubWindow>

#include <functional>
#include <optional>

#include "render/stagezoom.h"

class CRKeditView;
class StageDocument;

// A stage window: one view on one document. It has no sizing border: its size follows the
// stage (the view fits it to the picture plus the paddle area at its zoom), not the user's
// drag, limited to the MDI area: where the stage is larger, the view scrolls.
class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    CChildFrame(StageDocument* document, QWidget* parent = nullptr);
    ~CChildFrame() override;

    CRKeditView* view() const { return view_; }
    StageDocument* document() const { return document_; }

    // Sizes the window so that the view's client area is `client`, or as much of it as the
    // MDI area has room for.
    void fitClientArea(QSize client);
    // Sizes the window again for the room it has where it now is.
    void refit() { applyClientSize(); }
    // Maximised, or shown as a tab: the window fills the MDI area instead of fitting the stage.
    bool fillsArea() const;
    // The window began or stopped filling the area: it is sized anew and its view shows the
    // whole stage at the zoom that fits.
    void fillsAreaChanged();
    // The room in the MDI area changed (its size, or the part of it on the screen): a view
    // showing the whole stage zooms to the new room, and the window is fitted again.
    void roomChanged();
    // The largest client area the window can have in its MDI area, from where it is.
    QSize roomForClient() const;
    // The MDI area's viewport (its own coordinates) as far as it lies on its screen's
    // available area: the room stage windows are fitted into.
    QRect usableArea() const;
    // The smallest client area a stage window is given.
    static QSize minimumClientSize() { return {120, 90}; }

    // Asked before the window closes when it is the last window of its document; false
    // keeps it open. Not asked while `closeWithoutAsking` is set.
    std::function<bool(StageDocument*)> canCloseDocument;
    bool closeWithoutAsking = false;

    // Client size of a stage window that shows no picture yet.
    static QSize defaultClientSize() { return {480, 360}; }

    // Sets the title: the document's title, ":n" when the document has several windows, and
    // the modified marker.
    void updateTitle();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Sizes the window around client_ with the frame's margins as they are now.
    void applyClientSize();
    // Takes the fixed sizes of the window and the view away.
    void releaseSize();
    // The title bar and borders around the view.
    QMargins frameAroundView() const;

    QSize client_;
    // The zoom to go back to from maximised or a tab, and whether it followed the room.
    struct ZoomBeforeFill {
        StageZoom zoom;
        bool showingWhole;
    };
    std::optional<ZoomBeforeFill> zoomBeforeFill_;
    bool watchingArea_ = false;
    StageDocument* document_;
    CRKeditView* view_;
};
