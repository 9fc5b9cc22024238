#pragma once
// The regions the map tools work on: a brush's disc, the connected hexes of one tile, every hex of
// one tile, and a dragged rectangle. Each holds only hexes of the map in use.

#include "model/hex_set.h"

namespace vantor {

// The hexes at most radius steps from centre.
HexSet BrushHexes(const MapStore &map, HexCoord centre, int radius);

// Whether two hexes hold the same tile of the same set.
bool IsSameTile(const MapStore &map, HexCoord a, HexCoord b);

// The hexes holding start's tile that are joined to it through their six neighbours, within
// within when it is given; empty when start is not on the map or not within.
HexSet ConnectedSameTile(const MapStore &map, HexCoord start, const HexSet *within = nullptr);

// Every hex of the map holding like's tile.
HexSet SameTileHexes(const MapStore &map, HexCoord like);

// The hexes whose centres lie in the rectangle through the centres of a and b: both ends always,
// and in each column between them the rows the rectangle covers.
HexSet HexRectangle(const MapStore &map, HexCoord a, HexCoord b);

} // namespace vantor
