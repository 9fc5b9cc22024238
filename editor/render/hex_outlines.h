#pragma once
// Hexes outlined over the map's picture: the hexes `vantor-cli diff --picture` found changed, and the
// outline of a region (a selection, a brush) drawn over the map window.

#include "model/hex_set.h"

#include <QImage>
#include <QLineF>

#include <vector>

namespace vantor {

inline constexpr QRgb HexOutlineColour = 0xFFFF00FF; // magenta, seen on every terrain

// Draws the outline of each hex; picture may be a band of the whole picture starting at row bandTop.
void DrawHexOutlines(QImage &picture, int bandTop, const std::vector<HexCoord> &hexes, int mapWidth);

// The edges between the region's hexes and the hexes outside it, in map-picture pixels: one line
// around the region however many hexes it holds.
std::vector<QLineF> RegionOutline(const HexSet &region);

} // namespace vantor
