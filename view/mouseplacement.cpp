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

namespace {
// The pixels the drag rectangle over cells (x0, y0)..(x1, y1) covers: from the first cell's
// top-left corner to one pixel short of the last cell's right and bottom edges, so it covers a
// pixel less on the right and at the bottom than its cells.
QRect dragPixels(int x0, int y0, int x1, int y1, int bw, int bh) {
    if (bw <= 0 || bh <= 0)
        return {};
    const auto at = [](long long v) { return int(std::clamp<long long>(v, -(1 << 24), 1 << 24)); };
    const long long left = std::min(x0, x1) * (long long)bw;
    const long long top = std::min(y0, y1) * (long long)bh;
    const long long right = (std::max(x0, x1) + 1LL) * bw - 1;  // excluded
    const long long bottom = (std::max(y0, y1) + 1LL) * bh - 1; // excluded
    return QRect(at(left), at(top), at(right) - at(left), at(bottom) - at(top));
}

std::optional<GridCell> cellUnderPointer(const CRKeditView& view, const QPoint& pos) {
    const CRKeditDoc& doc = *view.GetDocument();
    return cellAt(pos.x(), pos.y(), digitValue(doc.blockWidth), digitValue(doc.blockHeight));
}

} // namespace

QRect CRKeditView::dragRectanglePixels() const {
    if (dragStartX == -1)
        return {};
    const CRKeditDoc& doc = *GetDocument();
    return dragPixels(dragStartX, dragStartY, dragEndX, dragEndY, digitValue(doc.blockWidth),
                      digitValue(doc.blockHeight));
}

void CRKeditView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        // From now on a drag follows the pointer over the view whether a button is held or not
        // (a release outside the view is not seen and leaves the drag in progress).
        setMouseTracking(true);
        const QRegion before(dragRectanglePixels());
        // A press during a drag starts a new one; where no cell can be computed (a cell size
        // of 0) no drag starts.
        if (const auto cell = cellUnderPointer(*this, event->position().toPoint())) {
            dragStartX = dragEndX = cell->x;
            dragStartY = dragEndY = cell->y;
        } else {
            dragStartX = -1;
        }
        // Only what the rectangle leaves or newly covers is painted again.
        update(before.xored(QRegion(dragRectanglePixels())));
    }
    QWidget::mousePressEvent(event);
}

void CRKeditView::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click starts no drag, so a double click toggles once.
    event->accept();
}

void CRKeditView::mouseMoveEvent(QMouseEvent* event) {
    // The view does not hold the mouse: movement outside it is not followed.
    const QPoint pos = event->position().toPoint();
    if (dragStartX != -1 && rect().contains(pos)) {
        if (const auto cell = cellUnderPointer(*this, pos);
            cell && (cell->x != dragEndX || cell->y != dragEndY)) {
            const QRegion before(dragRectanglePixels());
            dragEndX = cell->x;
            dragEndY = cell->y;
            // Only what the rectangle leaves or newly covers is painted again.
            update(before.xored(QRegion(dragRectanglePixels())));
        }
    }
    QWidget::mouseMoveEvent(event);
}

void CRKeditView::mouseReleaseEvent(QMouseEvent* event) {
    // A release outside the view is not seen: the drag stays in progress.
    if (event->button() == Qt::LeftButton && dragStartX != -1 &&
        rect().contains(event->position().toPoint())) {
        // The whole drag, press to release, is one undo step.
        StageEdit edit(*stageDocument(), StageEdit::Kind::BlockToggle);
        toggleCells(*GetDocument(), {dragStartX, dragStartY}, {dragEndX, dragEndY});
        edit.commit();
        dragStartX = -1;
        // Every window of the stage shows the toggled cells.
        for (CRKeditView* view : stageDocument()->views())
            view->update();
    }
    QWidget::mouseReleaseEvent(event);
}
