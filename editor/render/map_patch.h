#pragma once
// Redrawing a few hexes of the map picture in place of a full redraw.

#include "render/map_renderer.h"

#include <functional>
#include <vector>

namespace vantor {

// Draws over a window of the map picture whose top-left pixel is (bandLeft, bandTop) of the whole.
using PictureOverlay = std::function<void(QImage &window, int bandTop, int bandLeft)>;

// Draws the 48 x 40 cell of each hex anew, exactly as a full redraw of the map (and the overlay,
// when given) would draw those pixels: the background, then every hexagon reaching into the cell
// in the redraw's order, then the overlay.
void PatchMapPicture(const MapStore &map, const MapTileSets &sets, ColourValue background, QImage &picture,
                     const std::vector<HexCoord> &hexes, const PictureOverlay &overlay = {});

// The number of bands of the picture, one cell high, that a patch of these hexes draws.
int PatchBandCount(const MapStore &map, const std::vector<HexCoord> &hexes);

} // namespace vantor
