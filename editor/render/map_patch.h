#pragma once
// Redrawing a few hexes of the map picture in place of a full redraw.

#include "render/map_renderer.h"

#include <vector>

namespace vantor {

// Draws the 48 x 40 cell of each hex anew, exactly as a full redraw of the map would draw those
// pixels: the background, then every hexagon reaching into the cell in the redraw's order.
void PatchMapPicture(const MapStore &map, const MapTileSets &sets, ColourValue background, QImage &picture,
                     const std::vector<HexCoord> &hexes);

} // namespace vantor
