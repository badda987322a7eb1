#include "shell/childframe.h"

#include <algorithm>

#include <QCloseEvent>
#include <QLayout>
#include <QMdiArea>
#include <QScreen>
#include <QTimer>
#include <QWindowStateChangeEvent>

#include "document/stagedocument.h"
#include "shell/icons.h"
#include "view/CRKeditView.h"

CChildFrame::CChildFrame(StageDocument* document, QWidget* parent)
    : QMdiSubWindow(parent), document_(document) {
    setAttribute(Qt::WA_DeleteOnClose);
    // No sizing border (the fixed-size hint takes the resize handles and the system menu's
    // size entry away): the window's size follows the stage. Maximised it fills the area.
    setWindowFlags(Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setWindowIcon(stageWindowIcon());
    view_ = new CRKeditView(document, this);
    setWidget(view_);
    connect(view_, &CRKeditView::clientSizeWanted, this, &CChildFrame::fitClientArea);
    // The whole stage at the view's fit zoom goes into the largest client area there is room for.
    view_->roomForStage = [this] { return roomForClient(); };
    // A stage whose first paint will fit the window gets that size now, before the window
    // is first shown: it is then painted once, fitted, instead of at the default size first.
    if (const QSize fitted = view_->stageClientSize(); !fitted.isEmpty()) {
        fitClientArea(fitted);
        view_->clientSizeGiven(fitted);
    } else {
        fitClientArea(defaultClientSize());
    }

    connect(document, &StageDocument::titleChanged, this, &CChildFrame::updateTitle);
    connect(document, &StageDocument::viewsChanged, this, &CChildFrame::updateTitle);
    connect(document, &StageDocument::modifiedChanged, this, &CChildFrame::updateTitle);
}

CChildFrame::~CChildFrame() {
    // The view goes first, while this frame is whole; what its closing tools store in the
    // document no longer reaches this frame's title.
    disconnect(document_, nullptr, this, nullptr);
    CRKeditView* view = view_;
    view_ = nullptr;
    setWidget(nullptr);
    delete view;
}

void CChildFrame::fitClientArea(QSize client) {
    client_ = client;
    applyClientSize();
}

QMargins CChildFrame::frameAroundView() const {
    // The sub-window's contents margins (title bar and border) plus its layout's margins.
    QMargins margins = contentsMargins();
    if (layout() != nullptr)
        margins += layout()->contentsMargins();
    return margins;
}

QRect CChildFrame::usableArea() const {
    const QMdiArea* area = mdiArea();
    if (area == nullptr)
        return {};
    const QWidget* viewport = area->viewport();
    QRect usable = viewport->rect();
    // The part of the area on its screen: a main window held larger than a small screen by
    // its own minimum size has an area that reaches past the screen's edges.
    if (const QScreen* screen = viewport->screen()) {
        const QRect available = screen->availableGeometry();
        const QRect onScreen(viewport->mapFromGlobal(available.topLeft()), available.size());
        if (const QRect both = usable & onScreen; both.width() > 0 && both.height() > 0)
            usable.setBottomRight(both.bottomRight());
    }
    return usable;
}

QSize CChildFrame::roomForClient() const {
    if (mdiArea() == nullptr)
        return QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    // From where the window is to the area's right and bottom edges: a window stays where it
    // was put (by the user, cascade or tile) and takes the room from there.
    const QMargins margins = frameAroundView();
    const QPoint at(std::max(0, x()), std::max(0, y()));
    const QRect area = usableArea();
    const QSize room = QSize(area.right() + 1 - at.x(), area.bottom() + 1 - at.y()) -
                       QSize(margins.left() + margins.right(), margins.top() + margins.bottom());
    // A window never gets so small that its view has no room for its scroll bars.
    return room.expandedTo(minimumClientSize());
}

bool CChildFrame::fillsArea() const {
    const QMdiArea* area = mdiArea();
    return isMaximized() || (area && area->viewMode() == QMdiArea::TabbedView);
}

void CChildFrame::releaseSize() {
    if (view_ != nullptr) {
        view_->setMinimumSize(0, 0);
        view_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

void CChildFrame::applyClientSize() {
    if (view_ == nullptr || isMinimized())
        return; // the frame keeps its icon size; restoring brings back the fitted size
    // Maximised or a tab, the window takes the whole area and the view what is inside it;
    // the fitted size comes back when it is restored.
    if (fillsArea()) {
        releaseSize();
        return;
    }
    // The stage's size where the MDI area has room for it; the view scrolls the rest.
    const QSize client = client_.boundedTo(roomForClient());
    const QMargins margins = frameAroundView();
    const QSize outer(client.width() + margins.left() + margins.right(),
                      client.height() + margins.top() + margins.bottom());
    view_->setFixedSize(client);
    // A fixed size is what takes the sizing border away: the frame offers no drag handles.
    setFixedSize(outer);
    // Moved back into the area where the new size would stick out of it.
    if (mdiArea() != nullptr) {
        const QRect usable = usableArea();
        const QSize room(usable.right() + 1, usable.bottom() + 1);
        const QPoint at(std::clamp(x(), 0, std::max(0, room.width() - outer.width())),
                        std::clamp(y(), 0, std::max(0, room.height() - outer.height())));
        if (at != pos())
            move(at);
    }
}

void CChildFrame::roomChanged() {
    if (view_ != nullptr)
        view_->roomChanged();
    applyClientSize();
}

void CChildFrame::fillsAreaChanged() {
    if (view_ == nullptr)
        return;
    applyClientSize();
    // Filling the area: the whole stage at the zoom that fits it, once the window has taken
    // it; back to a window: the zoom it had before.
    if (fillsArea()) {
        if (!zoomBeforeFill_)
            zoomBeforeFill_ = ZoomBeforeFill{view_->zoom(), view_->showingWhole()};
        QTimer::singleShot(0, view_, [view = view_] { view->runCommand(ID_VIEW_ZOOM_FIT); });
    } else if (zoomBeforeFill_) {
        view_->restoreZoom(zoomBeforeFill_->zoom, zoomBeforeFill_->showingWhole);
        zoomBeforeFill_.reset();
    }
}

bool CChildFrame::eventFilter(QObject* watched, QEvent* event) {
    // The MDI area changed its size: the window takes the room there now is.
    if (event->type() == QEvent::Resize && mdiArea() && watched == mdiArea()->viewport())
        roomChanged();
    return QMdiSubWindow::eventFilter(watched, event);
}

void CChildFrame::showEvent(QShowEvent* event) {
    QMdiSubWindow::showEvent(event);
    if (QMdiArea* area = mdiArea(); area && !watchingArea_) {
        watchingArea_ = true;
        area->viewport()->installEventFilter(this);
    }
    // The title bar and border are known only once the window is polished and shown.
    applyClientSize();
}

void CChildFrame::changeEvent(QEvent* event) {
    // A window to be maximised first gives up its fixed size, or it could not grow.
    if (event->type() == QEvent::WindowStateChange && isMaximized())
        releaseSize();
    QMdiSubWindow::changeEvent(event);
    if (event->type() == QEvent::StyleChange || event->type() == QEvent::FontChange)
        applyClientSize();
    if (event->type() == QEvent::WindowStateChange) {
        const auto* change = static_cast<QWindowStateChangeEvent*>(event);
        if (bool(change->oldState() & Qt::WindowMaximized) != isMaximized() && !isMinimized())
            fillsAreaChanged();
    }
}

void CChildFrame::updateTitle() {
    if (view_ == nullptr)
        return;
    QString title = document_->title();
    const qsizetype count = document_->views().size();
    if (count > 1)
        title += QStringLiteral(":%1").arg(document_->views().indexOf(view_) + 1);
    setWindowTitle(title + QStringLiteral("[*]"));
    setWindowModified(document_->isModified());
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    const bool lastWindow = document_->views().size() == 1;
    if (lastWindow && !closeWithoutAsking && canCloseDocument && !canCloseDocument(document_)) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}
