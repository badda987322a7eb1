#include "panels/dialogunits.h"

#include <QFontMetrics>

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    // The average width of the 52 Latin letters, as Windows measures dialog base units.
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    cx_ = (metrics.horizontalAdvance(letters) / 26 + 1) / 2;
    cy_ = metrics.height();
}
