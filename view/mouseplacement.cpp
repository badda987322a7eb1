// Editing the block grid with the mouse: the view hands presses, moves and releases to its
// drawing tool, shows the tool's drag rectangle, and repaints only the cells that change.
#include "view/CRKeditView.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QRegion>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>

#include "document/stagedocument.h"
#include "document/stageedit.h"
#include "stage/CRKeditDoc.h"
#include "stage/blockedit.h"
#include "stage/cellwriter.h"
#include "stage/settingtext.h"
#include "view/paintinputs.h"

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

PixelRect CRKeditView::cellsDevice(const CellRect& cells) const {
    if (cells.empty())
        return {};
    const CRKeditDoc& doc = *GetDocument();
    const std::int64_t bw = digitValue(doc.blockWidth), bh = digitValue(doc.blockHeight);
    if (bw <= 0 || bh <= 0)
        return {};
    const PixelRect stage{cells.x * bw, cells.y * bh, cells.right() * bw, cells.bottom() * bh};
    return StagePainter::toDevice(stage, zoom_.times(deviceScale()));
}

bool CRKeditView::repaintDirtyCells(const PaintInputs& inputs) {
    if (dirtyCells_.empty() || frame_.width != inputs.width || frame_.height != inputs.height)
        return false;
    if (!inputs.sameButCells(*lastPaint_))
        return false; // more than cells changed
    painter_.repaintPart(frame_, *GetDocument(), picture, gridMode, referenceDisplay, frameArea_,
                         cellsDevice(dirtyCells_), frameDrag_);
    return true;
}

std::optional<GridCell> CRKeditView::toolCellAt(QPointF pos) const {
    std::optional<GridCell> cell = cellAt(pos);
    if (!cell || !tool_->overlay())
        return cell;
    // A rectangle's corner stays on the stage: a release outside ends the drag at its edge.
    const CellRect stage = CellWriter::stageOf(*GetDocument());
    if (stage.empty())
        return cell;
    cell->x = std::clamp(cell->x, stage.x, stage.right() - 1);
    cell->y = std::clamp(cell->y, stage.y, stage.bottom() - 1);
    return cell;
}

void CRKeditView::syncOverlay(const PixelRect& before) {
    if (const std::optional<CellRect> cells = tool_->overlay()) {
        dragStartX = cells->x;
        dragStartY = cells->y;
        dragEndX = cells->right() - 1;
        dragEndY = cells->bottom() - 1;
        emit pointerStatus(QStringLiteral("%1 × %2").arg(cells->width).arg(cells->height));
    } else {
        dragStartX = -1;
    }
    updateDragChange(before);
}

void CRKeditView::showPointer(QPointF pos) {
    QString text;
    const std::optional<GridCell> at =
        visibleRect().contains(pos.toPoint()) ? cellAt(pos) : std::nullopt;
    if (at && CellWriter::stageOf(*GetDocument()).contains(at->x, at->y)) {
        text = QStringLiteral("(%1, %2) %3")
                   .arg(at->x)
                   .arg(at->y)
                   .arg(codeName(GetDocument()->cell(at->x, at->y)));
    }
    if (text != shownPointer_) {
        shownPointer_ = text;
        emit pointerStatus(text);
    }
}

void CRKeditView::mousePressEvent(QMouseEvent* event) {
    const Qt::MouseButton button = event->button();
    if ((button != Qt::LeftButton && button != Qt::RightButton) || tool_->dragging() ||
        pressButton_ != Qt::NoButton) {
        // One press-to-release at a time: the other button does nothing meanwhile.
        event->accept();
        return;
    }
    if (!visibleRect().contains(event->position().toPoint())) {
        QWidget::mousePressEvent(event);
        return;
    }
    // Where no cell can be computed (a cell size of 0) no tool acts.
    const std::optional<GridCell> cell = cellAt(event->position());
    if (!cell) {
        event->accept();
        return;
    }
    if (floating_) {
        // A floating paste: the left button puts it down here, the right one gives it up.
        if (button == Qt::LeftButton) {
            floatTo(event->position());
            placeFloating();
        } else {
            floating_.reset();
            update();
            emit selectionChanged();
        }
        event->accept();
        return;
    }
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    pressDuplicates_ = ctrl;
    if (button == Qt::LeftButton && ctrl && toolId_ != ToolId::Select) {
        // Ctrl + click picks the kind under the pointer, whatever the tool.
        if (const CellCode code = this->cell(*cell); BlockKinds::placeable(code))
            setBlockKind(code);
        event->accept();
        return;
    }
    // A rectangle begins on the stage: one begun below it (in the paddle area) or right of it
    // would reach cells of the stage the user never pointed at once held to its edge.
    const bool spans = toolId_ == ToolId::Toggle || toolId_ == ToolId::Rectangle;
    if (spans && !CellWriter::stageOf(*GetDocument()).contains(cell->x, cell->y)) {
        event->accept();
        return;
    }
    pressButton_ = button;
    lastPointer_ = event->position();
    const PixelRect before = dragRectangleDevice();
    tool_->press(*this, *cell, button == Qt::RightButton);
    syncOverlay(before);
    if (!tool_->dragging())
        pressButton_ = Qt::NoButton; // a click tool has done its work
    event->accept();
}

void CRKeditView::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click starts nothing, so a double click toggles once.
    event->accept();
}

void CRKeditView::mouseMoveEvent(QMouseEvent* event) {
    lastPointer_ = event->position();
    showPointer(event->position());
    floatTo(event->position());
    if (tool_->dragging()) {
        // The view holds the mouse from press to release: moves outside it are followed.
        if (const auto cell = toolCellAt(event->position())) {
            const PixelRect before = dragRectangleDevice();
            tool_->move(*this, *cell);
            syncOverlay(before);
        }
        const bool outside = !visibleRect().contains(event->position().toPoint());
        if (outside && !scrollTimer_->isActive())
            scrollTimer_->start();
        else if (!outside)
            scrollTimer_->stop();
    }
    QWidget::mouseMoveEvent(event);
}

void CRKeditView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != pressButton_ || pressButton_ == Qt::NoButton) {
        event->accept();
        return;
    }
    pressButton_ = Qt::NoButton;
    scrollTimer_->stop();
    if (tool_->dragging()) {
        // A release anywhere ends the drag: outside the view at the stage's edge.
        const PixelRect before = dragRectangleDevice();
        if (const auto cell = toolCellAt(event->position()))
            tool_->release(*this, *cell);
        else
            tool_->cancel(*this);
        syncOverlay(before);
        showPointer(event->position());
    }
    event->accept();
}

void CRKeditView::leaveEvent(QEvent* event) {
    if (!tool_->dragging() && !shownPointer_.isEmpty()) {
        shownPointer_.clear();
        emit pointerStatus(QString());
    }
    QWidget::leaveEvent(event);
}

void CRKeditView::autoScroll() {
    if (!tool_->dragging()) {
        scrollTimer_->stop();
        return;
    }
    // Scrolls by how far the pointer is past the edge, a little at least.
    const QRect visible = visibleRect();
    const QPoint p = lastPointer_.toPoint();
    const auto past = [](int v, int lo, int hi) {
        if (v < lo)
            return std::min(-4, v - lo);
        if (v > hi)
            return std::max(4, v - hi);
        return 0;
    };
    const QPoint by(past(p.x(), visible.left(), visible.right()),
                    past(p.y(), visible.top(), visible.bottom()));
    if (by.isNull()) {
        scrollTimer_->stop();
        return;
    }
    const QPoint from = scrollPosition();
    setScrollPosition(from + by);
    if (scrollPosition() == from)
        return;
    // The stage moved under the pointer: the tool follows the cell now under it.
    if (const auto cell = toolCellAt(lastPointer_)) {
        const PixelRect before = dragRectangleDevice();
        tool_->move(*this, *cell);
        syncOverlay(before);
    }
}

bool CRKeditView::chooseByKey(QKeyEvent* event) {
    const Qt::KeyboardModifiers mods =
        event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
    if (mods != Qt::NoModifier)
        return false;
    const int key = event->key();
    if (key >= Qt::Key_1 && key <= Qt::Key_8) {
        setBlockKind(key - Qt::Key_1 + 1);
        return true;
    }
    for (const ToolInfo& info : stageTools())
        if (key == Qt::Key_A + (info.key - 'A') && !(event->modifiers() & Qt::ShiftModifier)) {
            setTool(info.id);
            return true;
        }
    return false;
}

CellCode CRKeditView::chosenKind() const {
    return BlockKinds::placeable(blockKind) ? blockKind : 1;
}

void CRKeditView::chooseKind(CellCode kind) {
    setBlockKind(kind);
}

CellCode CRKeditView::cell(GridCell at) const {
    return CRKeditDoc::inGrid(at.x, at.y) ? GetDocument()->cell(at.x, at.y) : 0;
}

CellWriter& CRKeditView::beginStroke(const QString& action) {
    if (stroke_)
        endStroke();
    stroke_ = std::make_unique<StageEdit>(*stageDocument(), StageEdit::Kind::BlockEdit, action);
    writer_ = std::make_unique<CellWriter>(*GetDocument());
    return *writer_;
}

void CRKeditView::cellsWritten(const CellRect& cells) {
    // Every window of the stage repaints the cells now, before the stroke is a step.
    stageDocument()->announceCells(cells);
}

void CRKeditView::endStroke() {
    std::unique_ptr<StageEdit> stroke = std::move(stroke_);
    writer_.reset();
    lifted_.reset();
    if (stroke)
        stroke->commit();
}

void CRKeditView::cancelStroke() {
    std::unique_ptr<StageEdit> stroke = std::move(stroke_);
    writer_.reset();
    if (lifted_) {
        // A move given up: the selection is back where its cells are.
        selection_ =
            CellRect{lifted_->at.x, lifted_->at.y, lifted_->block.width(), lifted_->block.height()};
        lifted_.reset();
        update();
    }
    if (stroke)
        stroke->revert();
}
