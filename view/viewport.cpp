// Scrolling and zooming the stage view, and the one mapping from the pointer to the stage.
#include "view/CRKeditView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <climits>
#include <cmath>

#include "render/framebuffer.h"
#include "stage/CRKeditDoc.h"
#include "stage/settingtext.h"
#include "view/zoomsteps.h"

namespace {
using i64 = std::int64_t;

int clampToInt(i64 v) {
    return int(std::clamp<i64>(v, INT_MIN / 2, INT_MAX / 2));
}

// The larger of the scroll bars' extents, so a bar never hides part of the canvas.
int barBreadth(const QScrollBar* bar, Qt::Orientation orientation) {
    const QSize hint = bar->sizeHint();
    return orientation == Qt::Horizontal ? hint.height() : hint.width();
}
} // namespace

QSize CRKeditView::stageSize() const {
    // A paint into an empty frame paints nothing and tells the stage's size.
    FrameBuffer none;
    StagePainter painter;
    const PaintResult result =
        painter.paintRegion(none, *GetDocument(), picture, 0, 0, PaintArea::whole(0, 0));
    return result.fitAndWriteBack ? QSize(result.fitWidth, result.fitHeight) : QSize();
}

StageZoom CRKeditView::deviceScale() const {
    // Device pixel ratios are such fractions as 1, 5/4, 3/2 or 2: 1/120 steps hold them all.
    const double ratio = devicePixelRatioF();
    return StageZoom(std::max<i64>(1, std::llround(ratio * 120.0)), 120);
}

QRect CRKeditView::visibleRect() const {
    const int w = width() - (vbar_->isHidden() ? 0 : vbar_->width());
    const int h = height() - (hbar_->isHidden() ? 0 : hbar_->height());
    return QRect(0, 0, std::max(0, w), std::max(0, h));
}

QPoint CRKeditView::scrollPosition() const {
    return {hbar_->value(), vbar_->value()};
}

void CRKeditView::setScrollPosition(QPoint position) {
    hbar_->setValue(position.x());
    vbar_->setValue(position.y());
}

void CRKeditView::layoutScrollBars() {
    const QSize stage = stageSize();
    laidOutStage_ = stage;
    // The canvas in view pixels: the stage at the zoom (nothing before there is a stage).
    const int contentWidth = stage.isValid() ? clampToInt(zoom_.toDevice(stage.width())) : 0;
    const int contentHeight = stage.isValid() ? clampToInt(zoom_.toDevice(stage.height())) : 0;
    const int breadthH = barBreadth(hbar_, Qt::Horizontal);
    const int breadthV = barBreadth(vbar_, Qt::Vertical);
    // A bar takes room from the other direction, which may then need its bar too.
    bool needH = contentWidth > width();
    bool needV = contentHeight > height();
    if (needH && !needV)
        needV = contentHeight > height() - breadthH;
    if (needV && !needH)
        needH = contentWidth > width() - breadthV;
    const int w = std::max(0, width() - (needV ? breadthV : 0));
    const int h = std::max(0, height() - (needH ? breadthH : 0));
    hbar_->setGeometry(0, height() - breadthH, w, breadthH);
    vbar_->setGeometry(width() - breadthV, 0, breadthV, h);
    hbar_->setVisible(needH);
    vbar_->setVisible(needV);
    hbar_->setRange(0, needH ? std::max(0, contentWidth - w) : 0);
    vbar_->setRange(0, needV ? std::max(0, contentHeight - h) : 0);
    hbar_->setPageStep(std::max(1, w));
    vbar_->setPageStep(std::max(1, h));
    const int step = std::max(1, clampToInt(zoom_.toDevice(16)));
    hbar_->setSingleStep(step);
    vbar_->setSingleStep(step);
}

PaintArea CRKeditView::paintArea(QSize frameDevice) const {
    const StageZoom scale = deviceScale();
    const QSize stage = stageSize();
    PaintArea area;
    area.zoom = zoom_.times(scale);
    area.left = scale.toDevice(hbar_->value());
    area.top = scale.toDevice(vbar_->value());
    // The canvas is the stage at the zoom, or the visible part where that is larger: the
    // background rectangle and its border then frame what is visible, as on a view of the
    // stage's own size.
    const i64 stageWidth = stage.isValid() ? area.zoom.toDevice(stage.width()) : 0;
    const i64 stageHeight = stage.isValid() ? area.zoom.toDevice(stage.height()) : 0;
    area.canvasWidth = std::max<i64>(stageWidth, area.left + frameDevice.width());
    area.canvasHeight = std::max<i64>(stageHeight, area.top + frameDevice.height());
    return area;
}

QPoint CRKeditView::stagePointAt(QPointF pos) const {
    const StageZoom scale = deviceScale();
    const StageZoom zoom = zoom_.times(scale);
    // The device pixel under the pointer, in the frame and then on the canvas.
    const auto device = [&](double viewPos, int scroll) {
        const double frame = std::floor(viewPos * double(scale.num()) / double(scale.den()));
        return i64(std::clamp(frame, -1e15, 1e15)) + scale.toDevice(scroll);
    };
    return QPoint(clampToInt(zoom.toStage(device(pos.x(), hbar_->value()))),
                  clampToInt(zoom.toStage(device(pos.y(), vbar_->value()))));
}

std::optional<GridCell> CRKeditView::cellAt(QPointF pos) const {
    const QPoint stage = stagePointAt(pos);
    const CRKeditDoc& doc = *GetDocument();
    return ::cellAt(stage.x(), stage.y(), digitValue(doc.blockWidth), digitValue(doc.blockHeight));
}

QRect CRKeditView::frameToView(const PixelRect& rect) const {
    if (rect.empty())
        return {};
    // Frame pixels to view pixels, rounded outwards.
    const StageZoom scale = deviceScale();
    const auto down = [&](i64 d) { return clampToInt(d * scale.den() / scale.num()); };
    const auto up = [&](i64 d) {
        return clampToInt((d * scale.den() + scale.num() - 1) / scale.num());
    };
    const i64 left = rect.left - frameArea_.left, top = rect.top - frameArea_.top;
    const i64 right = rect.right - frameArea_.left, bottom = rect.bottom - frameArea_.top;
    const QRect visible = visibleRect();
    const QRect view(QPoint(down(std::max<i64>(left, 0)), down(std::max<i64>(top, 0))),
                     QPoint(up(std::max<i64>(right, 0)) - 1, up(std::max<i64>(bottom, 0)) - 1));
    return view.intersected(visible);
}

void CRKeditView::setZoom(const StageZoom& zoom, std::optional<QPointF> anchor) {
    const StageZoom wanted = ZoomSteps::clamp(zoom);
    if (wanted == zoom_)
        return;
    const QPointF at = anchor.value_or(QRectF(visibleRect()).center());
    // The stage point under the anchor, as a real number of stage pixels.
    const double stageX = (at.x() + hbar_->value()) * double(zoom_.den()) / double(zoom_.num());
    const double stageY = (at.y() + vbar_->value()) * double(zoom_.den()) / double(zoom_.num());
    zoom_ = wanted;
    layoutScrollBars();
    const auto place = [&](double stagePos, double viewPos) {
        return clampToInt(std::llround(std::clamp(
            stagePos * double(wanted.num()) / double(wanted.den()) - viewPos, -1e15, 1e15)));
    };
    setScrollPosition({place(stageX, at.x()), place(stageY, at.y())});
    update();
    emit zoomChanged(zoom_);
    // The window around the view follows the stage's size at the new zoom (a view on its own
    // keeps its size).
    if (isSignalConnected(QMetaMethod::fromSignal(&CRKeditView::clientSizeWanted)))
        lastFit_ = QSize();
}

StageZoom CRKeditView::fitZoom(QSize room) const {
    const QSize stage = stageSize();
    if (!stage.isValid() || stage.isEmpty() || room.isEmpty())
        return StageZoom();
    // The larger factor at which both sides fit: room / stage, the smaller of the two.
    const i64 wide = i64(room.width()) * stage.height(), tall = i64(room.height()) * stage.width();
    return wide <= tall ? StageZoom(room.width(), stage.width())
                        : StageZoom(room.height(), stage.height());
}

void CRKeditView::resizeEvent(QResizeEvent* event) {
    layoutScrollBars();
    QWidget::resizeEvent(event);
}

void CRKeditView::wheelEvent(QWheelEvent* event) {
    const QPoint angle = event->angleDelta();
    if (event->modifiers() & Qt::ControlModifier) {
        // Zooms about the point under the pointer, one step a notch.
        wheelZoom_ += angle.y() != 0 ? angle.y() : angle.x();
        while (std::abs(wheelZoom_) >= 120) {
            const bool in = wheelZoom_ > 0;
            wheelZoom_ -= in ? 120 : -120;
            showingWhole_ = false;
            setZoom(in ? ZoomSteps::larger(zoom_) : ZoomSteps::smaller(zoom_), event->position());
        }
        event->accept();
        return;
    }
    QPoint pixels = event->pixelDelta();
    if (pixels.isNull()) {
        // Notches of 1/8 degree, 120 a notch: so many lines of singleStep each.
        const int lines = QApplication::wheelScrollLines();
        pixels = QPoint(clampToInt(i64(angle.x()) * lines * hbar_->singleStep() / 120),
                        clampToInt(i64(angle.y()) * lines * vbar_->singleStep() / 120));
    }
    // Shift turns the wheel sideways.
    if ((event->modifiers() & Qt::ShiftModifier) && pixels.x() == 0)
        pixels = QPoint(pixels.y(), 0);
    setScrollPosition(scrollPosition() - pixels);
    event->accept();
}

void CRKeditView::keyPressEvent(QKeyEvent* event) {
    if (tool_->dragging()) {
        // While a drag is in progress Esc gives it up, and no key does anything else.
        if (event->key() == Qt::Key_Escape) {
            const PixelRect before = dragRectangleDevice();
            tool_->cancel(*this);
            scrollTimer_->stop();
            syncOverlay(before);
        }
        event->accept();
        return;
    }
    if (chooseByKey(event)) {
        event->accept();
        return;
    }
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    QPoint to = scrollPosition();
    switch (event->key()) {
    case Qt::Key_Left:
        to.rx() -= hbar_->singleStep();
        break;
    case Qt::Key_Right:
        to.rx() += hbar_->singleStep();
        break;
    case Qt::Key_Up:
        to.ry() -= vbar_->singleStep();
        break;
    case Qt::Key_Down:
        to.ry() += vbar_->singleStep();
        break;
    case Qt::Key_PageUp:
        (shift ? to.rx() : to.ry()) -= shift ? hbar_->pageStep() : vbar_->pageStep();
        break;
    case Qt::Key_PageDown:
        (shift ? to.rx() : to.ry()) += shift ? hbar_->pageStep() : vbar_->pageStep();
        break;
    case Qt::Key_Home: // the top; with Shift the left edge
        (shift ? to.rx() : to.ry()) = 0;
        break;
    case Qt::Key_End: // the bottom; with Shift the right edge
        if (shift)
            to.rx() = hbar_->maximum();
        else
            to.ry() = vbar_->maximum();
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    setScrollPosition(to);
    event->accept();
}
