#include "panels/panelplace.h"

#include <algorithm>

namespace {
int into(int at, int length, int first, int end) {
    return std::clamp(at, first, std::max(first, end - length));
}
} // namespace

QPoint panelPlace(const QRect& stage, const QSize& frame, const QPoint& preferred,
                  const QRect& available) {
    const int top = into(preferred.y(), frame.height(), available.top(), available.bottom() + 1);
    if (stage.right() + 1 + frame.width() <= available.right() + 1)
        return {std::max(stage.right() + 1, available.left()), top};
    if (stage.left() - frame.width() >= available.left())
        return {std::min(stage.left() - frame.width(), available.right() + 1 - frame.width()), top};
    return {into(preferred.x(), frame.width(), available.left(), available.right() + 1), top};
}
