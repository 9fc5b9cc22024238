#pragma once
// Shaping while painting: the coastline, road and river passes run only around the hexes an edit
// changed, so the rest of the map, shaped or not, is left as it was.

#include "model/map_store.h"
#include "model/terrain_tables.h"

#include <span>
#include <vector>

namespace vantor {

// How far from a changed hex the passes may change hexes. On a map the passes leave as it is,
// an edit changes hexes up to three steps away and never farther: the coast pass reaches one step,
// the beach pass a second (land beside the new coast tiles), and the road and river passes a third
// (beside a road or river hex the beach pass took).
inline constexpr int ShapingReach = 3;

// Runs Make Coastline, Make Roads and Make Rivers around the changed hexes: every hex within
// ShapingReach steps of one gets what the whole-map passes would give it, no other hex changes.
// Returns the hexes it changed. That holds on a map the passes leave as it is; on another map it
// reshapes only hexes beside a changed hex or beside one an earlier pass changed, within reach.
std::vector<HexCoord> ShapeAround(MapStore &map, std::span<const HexCoord> changed,
                                  const DefaultTerrainTable &defaultTerrain);

} // namespace vantor
