#pragma once
// The picture of hexes not (yet) on the map, such as a paste under the pointer: their tiles through
// the hexagon mask on a transparent ground, for the window to lay over the map picture.

#include "model/map_store.h"
#include "render/map_renderer.h"

#include <QImage>
#include <QPoint>
#include <QRect>

#include <utility>
#include <vector>

namespace vantor {

struct PreviewPicture {
    QImage image;    // premultiplied ARGB; empty when there is nothing to draw
    QPoint topLeft;  // of image, in map-picture pixels
};

// Draws each hex's tile as the map picture would draw it at that hex (sets in increasing order,
// then row by row, west to east), into a picture covering just the hexes' cells; pixels no drawn
// hexagon covers stay transparent. Hexes of a set that is not loaded, or whose tile the set lacks,
// are left out. The hexes lie on a map of mapWidth columns. When visible (in map-picture pixels) is
// given, the picture covers only the part of the hexes' cells inside it: the part the window shows.
PreviewPicture DrawHexPreview(const std::vector<std::pair<HexCoord, HexRecord>> &hexes, const MapTileSets &sets,
                              int mapWidth, const QRect &visible = {});

} // namespace vantor
