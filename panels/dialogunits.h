#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <vector>

class QFont;
class QLineEdit;
class QWidget;

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
    // The fewest horizontal / vertical units at least `pixels` wide / tall.
    int unitsWide(int pixels) const { return (pixels * 4 + cx_ - 1) / cx_; }
    int unitsTall(int pixels) const { return (pixels * 8 + cy_ - 1) / cy_; }

private:
    int cx_;
    int cy_;
};

// The width of `field` that shows `digits` digits whole (its frame and margins included).
int numericFieldWidth(const QLineEdit* field, int digits = 5);

// Places controls laid out in dialog units so that each shows its whole text in the font it
// really has. A control keeps its template rectangle where its text fits; one whose text
// needs more grows to the right (and grows in height about its middle). Controls to its
// right on the same row move along, keeping their template gap (or a small one where the
// template had them touch); a control the template put inside another (a group box) makes
// that one grow with it. A template made for a narrower font thus keeps its rows and order.
class UnitLayout {
public:
    explicit UnitLayout(const DialogUnits& du) : du_(du) {}

    // `units` is the template rectangle; a width of 0 makes the control as large as its
    // contents (a label moved to a point and sized to its text).
    void add(QWidget* control, QRect units);
    // A numeric field: at least `digits` digits wide.
    void addNumeric(QLineEdit* field, QRect units, int digits = 5);
    // Sets every control's geometry; returns the pixel size the dialog needs for a template
    // of `units` (at least that size converted, more where its controls grew).
    QSize apply(QSize units);

private:
    struct Item {
        QWidget* control;
        QRect units; // as placed; for a control sized to its contents, what its size needs
        bool fitsContents;
        QSize needed; // pixels
        QRect pixels;
    };
    bool leftOf(const Item& left, const Item& right) const;
    static bool contains(const Item& outer, const Item& inner);
    const DialogUnits du_;
    std::vector<Item> items_;
};
