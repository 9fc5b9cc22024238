#pragma once
// Hexes outlined over the map's picture: the hexes `vantor-cli diff --picture` found changed.

#include "model/map_store.h"

#include <QImage>

#include <vector>

namespace vantor {

inline constexpr QRgb HexOutlineColour = 0xFFFF00FF; // magenta, seen on every terrain

// Draws the outline of each hex; picture may be a band of the whole picture starting at row bandTop.
void DrawHexOutlines(QImage &picture, int bandTop, const std::vector<HexCoord> &hexes, int mapWidth);

} // namespace vantor
