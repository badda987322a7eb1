#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where a tool panel opens: beside the stage window `stage` (its frame on the screen), on its
// right or else on its left, where the screen's available area `available` has room for the
// panel's frame `frame` whole there; at the height of `preferred` (the panel's usual place),
// kept inside the area. Without such room: `preferred`, moved into the area as far as it
// can be. Returns the top-left corner of the panel's frame.
QPoint panelPlace(const QRect& stage, const QSize& frame, const QPoint& preferred,
                  const QRect& available);
