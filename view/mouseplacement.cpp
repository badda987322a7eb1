// Block placement with the mouse: a drag toggles the rectangle of cells it spans.
#include "view/CRKeditView.h"

#include <QMouseEvent>
#include <QRegion>

#include <algorithm>

#include "document/stagedocument.h"
#include "document/stageedit.h"
#include "stage/CRKeditDoc.h"
#include "stage/blockedit.h"
#include "stage/settingtext.h"

PixelRect CRKeditView::dragRectangleDevice() const {
    if (dragStartX == -1)
        return {};
    const CRKeditDoc& doc = *GetDocument();
    // The rectangle over its cells in stage pixels, then the device pixels showing those.
    const PixelRect stage =
        StagePainter::dragRectangle(dragStartX, dragStartY, dragEndX, dragEndY,
                                    digitValue(doc.blockWidth), digitValue(doc.blockHeight));
    return StagePainter::toDevice(stage, zoom_.times(deviceScale()));
}

void CRKeditView::updateDragChange(const PixelRect& before) {
    const QRegion from(frameToView(before)), to(frameToView(dragRectangleDevice()));
    // Only what the rectangle leaves or newly covers is painted again. View pixels hold
    // whole device pixels only at an integral device pixel ratio; otherwise both go.
    const StageZoom scale = deviceScale();
    update(scale.den() == 1 ? from.xored(to) : from.united(to));
}

void CRKeditView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        // From now on a drag follows the pointer over the view whether a button is held or not
        // (a release outside the view is not seen and leaves the drag in progress).
        setMouseTracking(true);
        const PixelRect before = dragRectangleDevice();
        // A press during a drag starts a new one; where no cell can be computed (a cell size
        // of 0) no drag starts.
        const auto cell = visibleRect().contains(event->position().toPoint())
                              ? cellAt(event->position())
                              : std::nullopt;
        if (cell) {
            dragStartX = dragEndX = cell->x;
            dragStartY = dragEndY = cell->y;
        } else {
            dragStartX = -1;
        }
        updateDragChange(before);
    }
    QWidget::mousePressEvent(event);
}

void CRKeditView::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click starts no drag, so a double click toggles once.
    event->accept();
}

void CRKeditView::mouseMoveEvent(QMouseEvent* event) {
    // The view does not hold the mouse: movement outside it is not followed.
    if (dragStartX != -1 && visibleRect().contains(event->position().toPoint())) {
        if (const auto cell = cellAt(event->position());
            cell && (cell->x != dragEndX || cell->y != dragEndY)) {
            const PixelRect before = dragRectangleDevice();
            dragEndX = cell->x;
            dragEndY = cell->y;
            updateDragChange(before);
        }
    }
    QWidget::mouseMoveEvent(event);
}

void CRKeditView::mouseReleaseEvent(QMouseEvent* event) {
    // A release outside the view is not seen: the drag stays in progress.
    if (event->button() == Qt::LeftButton && dragStartX != -1 &&
        visibleRect().contains(event->position().toPoint())) {
        // The whole drag, press to release, is one undo step; every window of the stage
        // shows the toggled cells as the document tells them.
        const PixelRect before = dragRectangleDevice();
        StageEdit edit(*stageDocument(), StageEdit::Kind::BlockToggle);
        toggleCells(*GetDocument(), {dragStartX, dragStartY}, {dragEndX, dragEndY});
        edit.commit();
        dragStartX = -1;
        // The drag rectangle goes, whether or not a cell changed.
        updateDragChange(before);
    }
    QWidget::mouseReleaseEvent(event);
}
