#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QFont;

// Converts dialog-template units to pixels from a font's average character size, so that
// dialogs laid out in dialog units keep their proportions: x * cx / 4, y * cy / 8.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);
    DialogUnits(int averageCharWidth, int charHeight) : cx_(averageCharWidth), cy_(charHeight) {}

    int x(int units) const { return units * cx_ / 4; }
    int y(int units) const { return units * cy_ / 8; }
    QPoint point(int ux, int uy) const { return {x(ux), y(uy)}; }
    QSize size(int uw, int uh) const { return {x(uw), y(uh)}; }
    QRect rect(int ux, int uy, int uw, int uh) const { return {point(ux, uy), size(uw, uh)}; }

private:
    int cx_;
    int cy_;
};
