#pragma once

#include <string>

#include "render/stagezoom.h"

// The zoom steps of a stage view: 12.5, 25, 33, 50, 67, 100, 150, 200, 300, 400 and 800 %
// (the thirds exact). Zooming in or out goes to the next step from any zoom, also from one
// between the steps (the zoom that shows the whole stage); a zoom outside the steps' range
// stays where it is rather than jumping to the far end.
namespace ZoomSteps {
// The next step above `zoom` (zoom itself when there is none).
StageZoom larger(const StageZoom& zoom);
// The next step below `zoom` (zoom itself when there is none).
StageZoom smaller(const StageZoom& zoom);
// `zoom` held within the range a view accepts: 1/64 .. 8.
StageZoom clamp(const StageZoom& zoom);
// The zoom as the status bar shows it, to a tenth of a per cent: "100 %", "12.5 %", "33.3 %".
std::string percentText(const StageZoom& zoom);
} // namespace ZoomSteps
