#pragma once
// The full redraw: the whole map drawn from its tile sets into the map picture.

#include "model/colour_value.h"
#include "model/map_store.h"

#include <QImage>

#include <functional>
#include <optional>
#include <vector>

namespace vantor {

class TileSetLibrary;

struct TileRef {
    int set = 0;
    int tile = 0;
    friend bool operator==(const TileRef &, const TileRef &) = default;
};

struct RedrawReport {
    std::vector<int> unavailableSets;      // sets the map uses whose file is missing or unreadable
    std::optional<TileRef> lastTileDrawn;  // the tile drawn last, if any
};

// Fills picture with the background and draws every hex of the map through the hexagon mask:
// sets in increasing order, and within a set row by row, west to east, so that where two hexagons
// share an edge pixel the later one wins. Hexes whose set is above 15 are skipped.
//
// picture may be a horizontal band of the map picture whose first row is row bandTop of the whole
// picture; the band is drawn exactly as that part of the whole picture would be.
// afterSet, when given, is called after each set that the map uses has been drawn.
RedrawReport DrawMap(const MapStore &map, TileSetLibrary &sets, ColourValue background, QImage &picture,
                     int bandTop = 0, const std::function<void(int set)> &afterSet = {});

// A fresh 32-bit map picture of the size the map needs.
QImage NewMapPicture(const MapStore &map);

} // namespace vantor
