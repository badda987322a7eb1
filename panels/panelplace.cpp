#include "panels/panelplace.h"

#include <algorithm>

namespace {
int into(int at, int length, int first, int end) {
    return std::clamp(at, first, std::max(first, end - length));
}
} // namespace

QPoint panelPlace(const QRect& stage, const QList<QRect>& others, const QRect& main,
                  const QSize& frame, const QPoint& preferred, const QRect& available) {
    const int top = into(preferred.y(), frame.height(), available.top(), available.bottom() + 1);
    const QRect tries[] = {
        QRect(QPoint(stage.right() + 1, top), frame),
        QRect(QPoint(stage.left() - frame.width(), top), frame),
        QRect(QPoint(main.right() + 1, top), frame),
        QRect(QPoint(main.left() - frame.width(), top), frame),
    };
    const auto coversNone = [&](const QRect& place) {
        return std::none_of(others.begin(), others.end(),
                            [&](const QRect& other) { return place.intersects(other); });
    };
    for (bool strict : {true, false})
        for (const QRect& place : tries)
            if (!main.isEmpty() || &place < &tries[2])
                if (available.contains(place) && !place.intersects(stage) &&
                    (!strict || coversNone(place)))
                    return place.topLeft();
    return {into(preferred.x(), frame.width(), available.left(), available.right() + 1), top};
}

QPoint movedInside(const QRect& frame, const QRect& available) {
    return {into(frame.x(), frame.width(), available.left(), available.right() + 1),
            into(frame.y(), frame.height(), available.top(), available.bottom() + 1)};
}
