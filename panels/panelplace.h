#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

// Where a tool panel opens, all in screen coordinates. `stage` is the frame of the panel's
// stage window, `others` the frames of the other stage windows, `main` the main window's
// frame, `available` the screen's available area, `frame` the panel's frame size and
// `preferred` its usual top-left corner. The places tried, in order: right of its stage
// window, left of it, right of the main window, left of it, each at the height of
// `preferred` kept inside the area. The first that lies inside the area and covers no stage
// window is taken; else the first that leaves its own stage window uncovered; else
// `preferred`, moved into the area as far as it can be. Returns the frame's top-left corner.
QPoint panelPlace(const QRect& stage, const QList<QRect>& others, const QRect& main,
                  const QSize& frame, const QPoint& preferred, const QRect& available);

// The top-left corner that keeps a window frame `frame` inside `available`, moving it as
// little as it can; a frame larger than the area keeps to its top-left edge.
QPoint movedInside(const QRect& frame, const QRect& available);
