#pragma once
// The zoom levels of the map view: fixed steps from 25 % to 400 %, and what the wheel does to them.

#include <array>

namespace vantor {

inline constexpr std::array<double, 9> ZoomSteps = {0.25, 0.33, 0.5, 0.75, 1, 1.5, 2, 3, 4};
inline constexpr double MinimumZoom = ZoomSteps.front();
inline constexpr double MaximumZoom = ZoomSteps.back();

// The zoom kept within 25 % .. 400 %.
double ClampedZoom(double zoom);
// The first step above zoom (which may lie between steps, as after fitting the map), or 400 %.
double ZoomedIn(double zoom);
// The first step below zoom, or 25 %.
double ZoomedOut(double zoom);
// A wheel turn of angleDelta eighths of a degree: every full notch (120) moves one step;
// the finer turns of touch pads scale smoothly, by 30 % a notch.
double ZoomedByWheel(double zoom, int angleDelta);

} // namespace vantor
