#pragma once
// The road overlay: the road links of the map drawn over its picture.

#include "model/colour_value.h"
#include "model/map_store.h"

#include <QImage>

namespace vantor {

inline constexpr ColourValue RoadOverlayColour = 0x00FFFF; // yellow, 0x00BBGGRR
inline constexpr int RoadPenWidth = 3;

// Draws the links as half-lines from each hex centre towards the linked neighbour's centre, for the
// hexes inside the outermost ring. A link set on both sides shows as one line centre to centre.
// picture may be a window of the map picture whose top-left pixel is (bandLeft, bandTop) of the whole.
void DrawRoadOverlay(const MapStore &map, QImage &picture, int bandTop = 0, int bandLeft = 0);

} // namespace vantor
