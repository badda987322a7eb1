// The selection, the clipboard, pasting, moving and transforming cells in a stage view.
#include "view/CRKeditView.h"

#include <QCoreApplication>
#include <QPainter>

#include <algorithm>

#include "document/stagedocument.h"
#include "document/stageedit.h"
#include "panels/panelpictures.h"
#include "stage/CRKeditDoc.h"
#include "stage/cellwriter.h"
#include "view/cellclipboard.h"

bool CRKeditView::pasteEmptyCells = false;

void CRKeditView::setSelection(std::optional<CellRect> cells) {
    if (cells) {
        *cells = cells->intersected(CellWriter::stageOf(*GetDocument()));
        if (cells->empty())
            cells.reset();
    }
    if (cells == selection_)
        return;
    selection_ = cells;
    update();
    if (selection_)
        emit statusMessage(QCoreApplication::translate("View", "選択 %1 × %2")
                               .arg(selection_->width)
                               .arg(selection_->height));
    emit selectionChanged();
}

void CRKeditView::selectAll() {
    setSelection(CellWriter::stageOf(*GetDocument()));
}

void CRKeditView::copySelection() {
    if (!selection_)
        return;
    CellClipboard::put(CellBlock::copyOf(*GetDocument(), *selection_),
                       {selection_->x, selection_->y});
    emit statusMessage(QCoreApplication::translate("View", "%1 × %2 のセルをコピーしました。")
                           .arg(selection_->width)
                           .arg(selection_->height));
    emit selectionChanged(); // paste can act now
}

void CRKeditView::cutSelection() {
    if (!selection_)
        return;
    CellClipboard::put(CellBlock::copyOf(*GetDocument(), *selection_),
                       {selection_->x, selection_->y});
    CellWriter& writer = beginStroke(QCoreApplication::translate("View", "切り取り"));
    cellsWritten(writer.fill(*selection_, 0));
    endStroke();
    emit selectionChanged();
}

void CRKeditView::deleteSelection() {
    if (!selection_)
        return;
    CellWriter& writer = beginStroke(QCoreApplication::translate("View", "削除"));
    cellsWritten(writer.fill(*selection_, 0));
    endStroke();
}

bool CRKeditView::paste(bool inPlace) {
    QString why;
    std::optional<CellClipboard::Taken> taken = CellClipboard::take(&why);
    if (!taken) {
        emit statusMessage(why);
        return false;
    }
    if (inPlace) {
        const GridCell at = taken->origin ? *taken->origin
                            : selection_  ? GridCell{selection_->x, selection_->y}
                                          : GridCell{0, 0};
        pasteBlock(taken->block, at.x, at.y,
                   QCoreApplication::translate("View", "同じ位置に貼り付け"));
        return true;
    }
    // It floats with its corner under the pointer, or at the visible part's corner.
    const QPoint pointer = mapFromGlobal(QCursor::pos());
    std::optional<GridCell> at = visibleRect().contains(pointer) ? cellAt(pointer) : std::nullopt;
    if (!at)
        at = cellAt(QPointF(visibleRect().topLeft()));
    floating_ = Floating{std::move(taken->block), at.value_or(GridCell{0, 0})};
    update();
    emit statusMessage(
        QCoreApplication::translate("View", "クリックか Enter で貼り付け、Esc でやめます。"));
    emit selectionChanged();
    return true;
}

std::optional<CellRect> CRKeditView::floatingCells() const {
    if (!floating_)
        return std::nullopt;
    return CellRect{floating_->at.x, floating_->at.y, floating_->block.width(),
                    floating_->block.height()};
}

void CRKeditView::floatTo(QPointF pos) {
    if (!floating_)
        return;
    if (const auto cell = cellAt(pos); cell && !(*cell == floating_->at)) {
        floating_->at = *cell;
        update();
    }
}

void CRKeditView::placeFloating() {
    if (!floating_)
        return;
    const Floating floating = std::move(*floating_);
    floating_.reset();
    pasteBlock(floating.block, floating.at.x, floating.at.y,
               QCoreApplication::translate("View", "貼り付け"));
    emit selectionChanged();
}

void CRKeditView::pasteBlock(const CellBlock& block, int x, int y, const QString& action) {
    CellWriter& writer = beginStroke(action);
    int cutOff = 0;
    cellsWritten(writer.paste(block, x, y, pasteEmptyCells, &cutOff));
    endStroke();
    setSelection(CellRect{x, y, block.width(), block.height()});
    if (cutOff > 0)
        emit statusMessage(
            QCoreApplication::translate(
                "View", "ステージの外にはみ出した %1 個のセルは貼り付けませんでした。")
                .arg(cutOff));
    update();
}

void CRKeditView::liftSelection(bool duplicate) {
    if (!selection_)
        return;
    lifted_ =
        Floating{CellBlock::copyOf(*GetDocument(), *selection_), {selection_->x, selection_->y}};
    liftedDuplicate_ = duplicate;
    beginStroke(duplicate ? QCoreApplication::translate("View", "複製")
                          : QCoreApplication::translate("View", "移動"));
}

void CRKeditView::dropLifted(int dx, int dy) {
    if (!lifted_ || !stroke_ || !writer_)
        return;
    // From the grid as it was at the press: the place left (unless a copy is made), then the
    // cells put down at their new place.
    CellRect changed = stroke_->restoreGrid();
    const CellRect from{lifted_->at.x, lifted_->at.y, lifted_->block.width(),
                        lifted_->block.height()};
    if (!liftedDuplicate_)
        changed = changed.united(writer_->fill(from, 0));
    const int x = lifted_->at.x + dx, y = lifted_->at.y + dy;
    int cutOff = 0;
    changed = changed.united(writer_->paste(lifted_->block, x, y, pasteEmptyCells, &cutOff));
    if (cutOff > 0)
        emit statusMessage(
            QCoreApplication::translate("View", "ステージの外に出た %1 個のセルは置かれません。")
                .arg(cutOff));
    cellsWritten(changed);
    selection_ =
        CellRect{x, y, from.width, from.height}.intersected(CellWriter::stageOf(*GetDocument()));
    if (selection_->empty())
        selection_.reset();
    update();
}

void CRKeditView::nudgeSelection(int dx, int dy) {
    if (!selection_)
        return;
    liftSelection(false);
    dropLifted(dx, dy);
    lifted_.reset();
    endStroke();
    emit selectionChanged();
}

void CRKeditView::transform(Transform how) {
    const CellRect stage = CellWriter::stageOf(*GetDocument());
    const CellRect area = selection_.value_or(stage);
    if (area.empty())
        return;
    const CellBlock block = CellBlock::copyOf(*GetDocument(), area);
    const auto put = [&](const QString& action, const CellBlock& result) {
        CellWriter& writer = beginStroke(action);
        cellsWritten(writer.paste(result, area.x, area.y, true));
        endStroke();
    };
    const auto shift = [&](const QString& action, int dx, int dy) {
        CellWriter& writer = beginStroke(action);
        cellsWritten(writer.shift(dx, dy));
        endStroke();
    };
    switch (how) {
    case Transform::FlipHorizontal:
        put(QCoreApplication::translate("View", "左右反転"), block.flippedHorizontally());
        break;
    case Transform::FlipVertical:
        put(QCoreApplication::translate("View", "上下反転"), block.flippedVertically());
        break;
    case Transform::Rotate180:
        put(QCoreApplication::translate("View", "180° 回転"), block.rotated180());
        break;
    case Transform::ShiftLeft:
        shift(QCoreApplication::translate("View", "左へずらす"), -1, 0);
        break;
    case Transform::ShiftRight:
        shift(QCoreApplication::translate("View", "右へずらす"), 1, 0);
        break;
    case Transform::ShiftUp:
        shift(QCoreApplication::translate("View", "上へずらす"), 0, -1);
        break;
    case Transform::ShiftDown:
        shift(QCoreApplication::translate("View", "下へずらす"), 0, 1);
        break;
    }
}

void CRKeditView::drawSelection(QPainter& painter) {
    const auto outline = [&](const CellRect& cells) {
        const QRect r = frameToView(cellsDevice(cells));
        if (r.isEmpty())
            return QRect();
        // White under black dashes: seen over any picture.
        const QRect edge = r.adjusted(0, 0, -1, -1);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Qt::white, 1));
        painter.drawRect(edge);
        QPen dashes(Qt::black, 1, Qt::DashLine);
        dashes.setDashPattern({4, 4});
        painter.setPen(dashes);
        painter.drawRect(edge);
        return r;
    };
    if (selection_ && !floating_)
        outline(*selection_);
    if (!floating_)
        return;
    // The floating cells in their kinds' colours, half seen through.
    painter.save();
    painter.setOpacity(0.7);
    const CellBlock& block = floating_->block;
    for (int y = 0; y < block.height(); ++y)
        for (int x = 0; x < block.width(); ++x) {
            const auto style = BlockKinds::style(block.at(x, y));
            if (!style)
                continue;
            const QRect r =
                frameToView(cellsDevice(CellRect{floating_->at.x + x, floating_->at.y + y, 1, 1}));
            if (r.isEmpty())
                continue;
            painter.fillRect(r, colourOfValue(style->brush.value_or(style->pen)));
            painter.setPen(colourOfValue(style->pen));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(r.adjusted(0, 0, -1, -1));
        }
    painter.restore();
    outline(*floatingCells());
}
