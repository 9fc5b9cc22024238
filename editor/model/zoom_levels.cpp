#include "model/zoom_levels.h"

#include <algorithm>

namespace vantor {

namespace {
// Steps are compared with room for a zoom such as 1/3 that was computed rather than picked.
constexpr double Tolerance = 1e-6;
} // namespace

double ClampedZoom(double zoom) { return std::clamp(zoom, MinimumZoom, MaximumZoom); }

double ZoomedIn(double zoom)
{
    const auto next = std::find_if(ZoomSteps.begin(), ZoomSteps.end(), [zoom](double step) { return step > zoom + Tolerance; });
    return next == ZoomSteps.end() ? MaximumZoom : *next;
}

double ZoomedOut(double zoom)
{
    const auto previous = std::find_if(ZoomSteps.rbegin(), ZoomSteps.rend(), [zoom](double step) { return step < zoom - Tolerance; });
    return previous == ZoomSteps.rend() ? MinimumZoom : *previous;
}

double ZoomedByWheel(double zoom, int angleDelta)
{
    constexpr int Notch = 120;
    if (angleDelta % Notch != 0)
        return ClampedZoom(zoom * (1 + 0.3 * angleDelta / Notch));
    for (int notches = angleDelta / Notch; notches > 0; --notches)
        zoom = ZoomedIn(zoom);
    for (int notches = angleDelta / Notch; notches < 0; ++notches)
        zoom = ZoomedOut(zoom);
    return ClampedZoom(zoom);
}

} // namespace vantor
