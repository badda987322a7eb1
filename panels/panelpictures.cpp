#include "panels/panelpictures.h"

#include <QPainter>
#include <QPolygon>

#include "stage/blockkind.h"

QPixmap openFolderPicture() {
    QPixmap pixmap(16, 15);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    const QColor outline(0, 0, 0);
    const QColor back(128, 128, 0);  // the folder's back wall
    const QColor front(255, 255, 0); // its opened front flap
    // Back wall with its tab.
    p.setPen(outline);
    p.setBrush(back);
    p.drawPolygon(QPolygon({QPoint(0, 3), QPoint(1, 2), QPoint(5, 2), QPoint(6, 3), QPoint(12, 3),
                            QPoint(12, 6), QPoint(0, 13)}));
    // Front flap tilted forward.
    p.setBrush(front);
    p.drawPolygon(QPolygon({QPoint(3, 6), QPoint(15, 6), QPoint(12, 13), QPoint(0, 13)}));
    // A sheet sticking out of the folder.
    p.setPen(QColor(255, 255, 255));
    p.drawLine(8, 0, 13, 0);
    p.drawLine(14, 1, 14, 4);
    return pixmap;
}

QPixmap blockKindPicture(int kind) {
    // The kind as the stage shows it: a one-pixel border in its pen colour and the inside
    // in its brush colour (left clear for a kind drawn as a border only).
    QPixmap pixmap(8, 8);
    pixmap.fill(Qt::transparent);
    const std::optional<BlockStyle> style = BlockKinds::style(kind);
    if (!style)
        return pixmap;
    QPainter p(&pixmap);
    if (style->brush)
        p.fillRect(QRect(1, 1, 6, 6), colourOfValue(*style->brush));
    p.setPen(colourOfValue(style->pen));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(0, 0, 7, 7));
    return pixmap;
}

QColor colourOfValue(std::uint32_t bbggrr) {
    return QColor(int(bbggrr & 0xFF), int(bbggrr >> 8 & 0xFF), int(bbggrr >> 16 & 0xFF));
}
