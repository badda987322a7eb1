#include "shell/icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include "shell/commandids.h"

namespace {
constexpr int buttonWidth = 16;
constexpr int buttonHeight = 15;

QPixmap blank(int w, int h) {
    QPixmap pixmap(w, h);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// A sheet of paper with a folded corner at (x, y), w x h.
void drawPage(QPainter& p, int x, int y, int w, int h) {
    const QPolygon page{{x, y}, {x + w - 4, y}, {x + w, y + 4}, {x + w, y + h}, {x, y + h}};
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawPolygon(page);
    p.drawPolyline(QPolygon{{x + w - 4, y}, {x + w - 4, y + 4}, {x + w, y + 4}});
}

void drawFolder(QPainter& p) {
    p.setPen(Qt::black);
    p.setBrush(QColor(255, 220, 90));
    p.drawPolygon(QPolygon{{1, 3}, {5, 3}, {6, 4}, {12, 4}, {12, 13}, {1, 13}});
    p.setBrush(QColor(240, 190, 40));
    p.drawPolygon(QPolygon{{3, 7}, {15, 7}, {12, 13}, {1, 13}});
}

QPixmap drawButton(int id) {
    QPixmap pixmap = blank(buttonWidth, buttonHeight);
    QPainter p(&pixmap);
    switch (id) {
    case ID_FILE_NEW:
        drawPage(p, 3, 1, 10, 13);
        break;
    case ID_FILE_OPEN:
        drawFolder(p);
        p.setPen(QPen(QColor(0, 0, 160), 1));
        p.drawLine(10, 1, 13, 1);
        p.drawLine(13, 1, 13, 4);
        break;
    case ID_FILE_SAVE:
        p.setPen(Qt::black);
        p.setBrush(QColor(40, 60, 160));
        p.drawRect(1, 1, 13, 12);
        p.setBrush(Qt::white);
        p.drawRect(4, 1, 7, 5);
        p.setBrush(QColor(190, 190, 190));
        p.drawRect(4, 9, 7, 4);
        break;
    case ID_EDIT_CUT:
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Qt::black, 1));
        p.drawLine(5, 1, 9, 9);
        p.drawLine(10, 1, 6, 9);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(0, 0, 160), 1.2));
        p.drawEllipse(QRectF(2, 9, 4, 4));
        p.drawEllipse(QRectF(9, 9, 4, 4));
        break;
    case ID_EDIT_COPY:
        drawPage(p, 1, 1, 8, 9);
        drawPage(p, 6, 4, 8, 10);
        break;
    case ID_EDIT_PASTE:
        p.setPen(Qt::black);
        p.setBrush(QColor(160, 110, 50));
        p.drawRect(1, 2, 10, 12);
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(4, 1, 4, 2);
        drawPage(p, 7, 5, 8, 9);
        break;
    case ID_FILE_PRINT:
        p.setPen(Qt::black);
        p.setBrush(Qt::white);
        p.drawRect(4, 1, 8, 5);
        p.setBrush(QColor(190, 190, 190));
        p.drawRect(1, 6, 14, 5);
        p.setBrush(Qt::white);
        p.drawRect(4, 10, 8, 4);
        p.setPen(QColor(0, 160, 0));
        p.drawPoint(13, 8);
        break;
    case ID_APP_ABOUT: {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QColor(0, 0, 128));
        p.setBrush(QColor(255, 255, 200));
        p.drawEllipse(QRectF(1.5, 0.5, 12, 12));
        // The question mark drawn as strokes, not set in a font: the toolbar is made before
        // the first paint, and a bold face of its own would be looked up just for this.
        QPainterPath mark;
        mark.moveTo(5.0, 4.8);
        mark.cubicTo(5.0, 2.4, 10.0, 2.4, 10.0, 4.8);
        mark.cubicTo(10.0, 6.6, 7.5, 6.4, 7.5, 8.4);
        p.setPen(QPen(QColor(0, 0, 128), 1.7, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(mark);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 128));
        p.drawEllipse(QPointF(7.5, 10.6), 1.0, 1.0);
        break;
    }
    case ID_TEST_PLAY:
        // A green "play" triangle.
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QColor(0, 90, 0));
        p.setBrush(QColor(40, 170, 60));
        p.drawPolygon(QPolygonF{{3.5, 1.5}, {13.5, 7.5}, {3.5, 13.5}});
        break;
    default:
        break;
    }
    return pixmap;
}

// The game itself in miniature: a row of blocks, a ball and a paddle on a dark field.
QPixmap drawGameIcon(int size, QColor field) {
    QPixmap pixmap = blank(size, size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const double u = size / 32.0;
    p.setPen(Qt::NoPen);
    p.setBrush(field);
    p.drawRoundedRect(QRectF(0.5 * u, 0.5 * u, 31 * u, 31 * u), 4 * u, 4 * u);
    const QColor blocks[] = {QColor(200, 50, 50), QColor(230, 160, 40), QColor(60, 170, 80),
                             QColor(60, 120, 220)};
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 4; ++col) {
            p.setBrush(blocks[(row + col) % 4]);
            p.drawRect(QRectF((3 + col * 6.7) * u, (4 + row * 5) * u, 5.7 * u, 4 * u));
        }
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(17 * u, 16 * u, 4 * u, 4 * u));
    p.setBrush(QColor(220, 220, 220));
    p.drawRoundedRect(QRectF(9 * u, 25 * u, 14 * u, 3 * u), 1.5 * u, 1.5 * u);
    return pixmap;
}

QIcon gameIcon(QColor field) {
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addPixmap(drawGameIcon(size, field));
    return icon;
}
} // namespace

QIcon toolbarIcon(int commandId) {
    switch (commandId) {
    case ID_FILE_NEW:
    case ID_FILE_OPEN:
    case ID_FILE_SAVE:
    case ID_EDIT_CUT:
    case ID_EDIT_COPY:
    case ID_EDIT_PASTE:
    case ID_FILE_PRINT:
    case ID_APP_ABOUT:
    case ID_TEST_PLAY:
        return QIcon(drawButton(commandId));
    default:
        return {};
    }
}

QIcon mainWindowIcon() {
    return gameIcon(QColor(20, 30, 70));
}
QIcon stageWindowIcon() {
    return gameIcon(QColor(40, 80, 60));
}
QPixmap aboutBoxIcon() {
    return drawGameIcon(32, QColor(20, 30, 70));
}

QPixmap openFolderBitmap() {
    QPixmap pixmap = blank(buttonWidth, buttonHeight);
    QPainter p(&pixmap);
    drawFolder(p);
    return pixmap;
}
