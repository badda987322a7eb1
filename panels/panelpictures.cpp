#include "panels/panelpictures.h"

#include <QPainter>
#include <QPolygon>

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
    QPixmap pixmap(8, 8);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    const QRect cell(0, 0, 7, 7);
    switch (kind) {
    case 2: // double durability: two bars
    case 3: // triple durability: three bars
        p.setPen(QColor(120, 0, 0));
        p.setBrush(QColor(200, 60, 60));
        p.drawRect(cell);
        p.setPen(QColor(255, 230, 230));
        for (int i = 0; i < kind; ++i)
            p.drawLine(1, 1 + i * 2, 5, 1 + i * 2);
        break;
    case 4: // indestructible: a grey block with rivets
        p.setPen(QColor(40, 40, 40));
        p.setBrush(QColor(150, 150, 150));
        p.drawRect(cell);
        p.setPen(QColor(40, 40, 40));
        p.drawPoint(2, 2);
        p.drawPoint(5, 5);
        p.drawPoint(2, 5);
        p.drawPoint(5, 2);
        break;
    case 5: // transparent: only the outline
        p.setPen(QColor(0, 90, 200));
        p.setBrush(Qt::NoBrush);
        p.drawRect(cell);
        break;
    case 6: // item: a star-like cross in gold
        p.setPen(QColor(120, 90, 0));
        p.setBrush(QColor(255, 210, 0));
        p.drawRect(cell);
        p.setPen(QColor(120, 90, 0));
        p.drawLine(3, 1, 3, 5);
        p.drawLine(1, 3, 5, 3);
        break;
    case 7: // acceleration: an arrow
        p.setPen(QColor(0, 110, 0));
        p.setBrush(QColor(90, 200, 90));
        p.drawRect(cell);
        p.setPen(QColor(255, 255, 255));
        p.drawLine(1, 3, 5, 3);
        p.drawLine(4, 2, 5, 3);
        p.drawLine(4, 4, 5, 3);
        break;
    default: // group: four small cells
        p.setPen(QColor(90, 0, 120));
        p.setBrush(QColor(190, 120, 220));
        p.drawRect(0, 0, 3, 3);
        p.drawRect(4, 0, 3, 3);
        p.drawRect(0, 4, 3, 3);
        p.drawRect(4, 4, 3, 3);
        break;
    }
    return pixmap;
}
