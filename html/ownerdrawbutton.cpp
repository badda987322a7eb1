#include "html/ownerdrawbutton.h"

#include <QPainter>

void OwnerDrawButton::paintEvent(QPaintEvent*) {
    if (!draw_)
        return;
    QPainter painter(this);
    draw_(painter, rect());
}
