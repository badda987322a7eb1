#include "panels/dialogunits.h"

#include <algorithm>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionFrame>

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    // The average width of the 52 Latin letters, as Windows measures dialog base units.
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    cx_ = std::max(1, (metrics.horizontalAdvance(letters) / 26 + 1) / 2);
    cy_ = std::max(1, metrics.height());
}

int numericFieldWidth(const QLineEdit* field, int digits) {
    const QFontMetrics metrics(field->font());
    int digit = 0;
    for (char c = '0'; c <= '9'; ++c)
        digit = std::max(digit, metrics.horizontalAdvance(QLatin1Char(c)));
    // As a line edit measures itself: its inner margin of 2 pixels a side, its text and
    // contents margins, then the style's frame around that; one more pixel for the cursor.
    const QMargins text = field->textMargins();
    const QMargins contents = field->contentsMargins();
    const int inner = digit * digits + 2 * 2 + 1 + text.left() + text.right() + contents.left() +
                      contents.right();
    QStyleOptionFrame option;
    option.initFrom(field);
    option.rect = field->rect();
    option.lineWidth = field->hasFrame() ? field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth,
                                                                       &option, field)
                                         : 0;
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    option.features = QStyleOptionFrame::None;
    return field->style()
        ->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(inner, metrics.height()), field)
        .width();
}

namespace {
// What a control needs to show its text whole (0 where it has no text of its own to fit).
QSize neededSize(QWidget* control) {
    if (auto* button = qobject_cast<QPushButton*>(control)) {
        // The text and the button's margins, without the style's minimum width for buttons.
        const QStyle* style = button->style();
        int width = button->fontMetrics().horizontalAdvance(button->text()) +
                    style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button) +
                    2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
        if (!button->icon().isNull())
            width += button->iconSize().width() + (button->text().isEmpty() ? 0 : 4);
        return {button->text().isEmpty() && button->icon().isNull() ? 0 : width,
                button->fontMetrics().height()};
    }
    if (qobject_cast<QCheckBox*>(control) || qobject_cast<QRadioButton*>(control))
        return {control->sizeHint().width(), control->fontMetrics().height()};
    if (qobject_cast<QLabel*>(control) || qobject_cast<QComboBox*>(control))
        return control->sizeHint();
    if (auto* group = qobject_cast<QGroupBox*>(control))
        return {group->minimumSizeHint().width(), 0};
    return {0, 0};
}
} // namespace

void UnitLayout::add(QWidget* control, QRect units) {
    Item item{control, units, units.width() == 0, neededSize(control), {}};
    if (item.fitsContents) {
        const QSize size = item.needed.expandedTo(QSize(1, 1));
        item.units.setSize(QSize(du_.unitsWide(size.width()), du_.unitsTall(size.height())));
    }
    items_.push_back(item);
}

void UnitLayout::addNumeric(QLineEdit* field, QRect units, int digits) {
    items_.push_back({field, units, false, QSize(numericFieldWidth(field, digits), 0), {}});
}

bool UnitLayout::contains(const Item& outer, const Item& inner) {
    return !outer.fitsContents && &outer != &inner && outer.units.contains(inner.units) &&
           outer.units != inner.units;
}

bool UnitLayout::leftOf(const Item& left, const Item& right) const {
    // On the same row: the template's rows overlap.
    const QRect& a = left.units;
    const QRect& b = right.units;
    if (a.top() > b.bottom() || b.top() > a.bottom())
        return false;
    if (a.x() >= b.x() || contains(left, right))
        return false;
    // A label sized to its text ends where its text does; anything the template put right
    // of its start follows it. Otherwise the template's rectangles must not overlap.
    return left.fitsContents || a.x() + a.width() <= b.x();
}

QSize UnitLayout::apply(QSize units) {
    for (Item& item : items_) {
        QRect r = item.fitsContents ? QRect(du_.point(item.units.x(), item.units.y()), item.needed)
                                    : du_.rect(item.units.x(), item.units.y(), item.units.width(),
                                               item.units.height());
        r.setWidth(std::max(r.width(), item.needed.width()));
        if (item.needed.height() > r.height()) {
            // Taller about the middle, so that the row keeps its line.
            r.translate(0, -(item.needed.height() - r.height()) / 2);
            r.setHeight(item.needed.height());
        }
        item.pixels = r;
    }
    std::vector<Item*> byX;
    for (Item& item : items_)
        byX.push_back(&item);
    std::stable_sort(byX.begin(), byX.end(),
                     [](const Item* a, const Item* b) { return a->units.x() < b->units.x(); });
    const int smallestGap = du_.x(2);
    // Each pass only moves controls right and widens containers, so this settles; the limit
    // only guards against a template that nests in circles.
    for (std::size_t pass = 0; pass <= items_.size(); ++pass) {
        bool moved = false;
        for (Item* c : byX) {
            int x = c->pixels.x();
            for (const Item& p : items_) {
                if (&p == c || !leftOf(p, *c))
                    continue;
                const int templateGap = du_.x(c->units.x() - (p.units.x() + p.units.width()));
                x = std::max(x,
                             p.pixels.x() + p.pixels.width() + std::max(templateGap, smallestGap));
            }
            if (x != c->pixels.x()) {
                c->pixels.moveLeft(x);
                moved = true;
            }
        }
        for (Item& outer : items_) {
            for (const Item& inner : items_) {
                if (!contains(outer, inner))
                    continue;
                const int margin = du_.x(outer.units.x() + outer.units.width() -
                                         (inner.units.x() + inner.units.width()));
                const int right = inner.pixels.x() + inner.pixels.width() + margin;
                if (right > outer.pixels.x() + outer.pixels.width()) {
                    outer.pixels.setWidth(right - outer.pixels.x());
                    moved = true;
                }
            }
        }
        if (!moved)
            break;
    }
    QSize size = du_.size(units.width(), units.height());
    for (const Item& item : items_) {
        item.control->setGeometry(item.pixels);
        // The template's margin to the dialog's right and bottom edges stays.
        const int right = std::max(units.width() - (item.units.x() + item.units.width()), 2);
        const int bottom = std::max(units.height() - (item.units.y() + item.units.height()), 0);
        size = size.expandedTo(QSize(item.pixels.x() + item.pixels.width() + du_.x(right),
                                     item.pixels.y() + item.pixels.height() + du_.y(bottom)));
    }
    return size;
}
