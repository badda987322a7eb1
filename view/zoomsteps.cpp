#include "view/zoomsteps.h"

#include <array>
#include <cmath>
#include <cstdio>

namespace {
const std::array<StageZoom, 11>& steps() {
    static const std::array<StageZoom, 11> all{StageZoom(1, 8), StageZoom(1, 4), StageZoom(1, 3),
                                               StageZoom(1, 2), StageZoom(2, 3), StageZoom(1, 1),
                                               StageZoom(3, 2), StageZoom(2, 1), StageZoom(3, 1),
                                               StageZoom(4, 1), StageZoom(8, 1)};
    return all;
}

// a < b, exactly (both parts fit in 32 bits, so the products fit in 64).
bool less(const StageZoom& a, const StageZoom& b) {
    return a.num() * b.den() < b.num() * a.den();
}
} // namespace

namespace ZoomSteps {

StageZoom larger(const StageZoom& zoom) {
    for (const StageZoom& step : steps())
        if (less(zoom, step))
            return step;
    return zoom;
}

StageZoom smaller(const StageZoom& zoom) {
    for (auto it = steps().rbegin(); it != steps().rend(); ++it)
        if (less(*it, zoom))
            return *it;
    return zoom;
}

StageZoom clamp(const StageZoom& zoom) {
    const StageZoom lowest(1, 64), highest(8, 1);
    if (less(zoom, lowest))
        return lowest;
    if (less(highest, zoom))
        return highest;
    return zoom;
}

std::string percentText(const StageZoom& zoom) {
    // One decimal, dropped when it is 0.
    const long long tenths = std::llround(double(zoom.num()) * 1000.0 / double(zoom.den()));
    char text[32];
    if (tenths % 10 == 0)
        std::snprintf(text, sizeof text, "%lld %%", tenths / 10);
    else
        std::snprintf(text, sizeof text, "%lld.%lld %%", tenths / 10, tenths % 10);
    return text;
}

} // namespace ZoomSteps
