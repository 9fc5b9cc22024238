#pragma once
// The road links of the map: made for every road hex, cleared, or flipped between two hexes.

#include "model/hex_neighbours.h"

namespace vantor {

// Whether a hex bears a road for automatic linking: towns, roads and airfields by terrain, and the
// river tiles a road crosses and the fort tiles with a road by tile. Off the map, no.
bool IsRoadHex(const MapStore &map, int x, int y);

// Links every road hex to each neighbouring road hex. Links are only added, never removed.
void MakeRoadConnections(MapStore &map);

// Clears the road links of every hex of the map.
void ClearRoadConnections(MapStore &map);

enum class RoadToggle { Unchanged, LinkAdded, LinkRemoved };

// Flips the link between two neighbouring hexes, first's bit towards second and second's bit back.
// Whether it is added or removed is told by the reference hex of the pair,
// the upper one of a north-south pair and the even-column one of any other. A pair that is not a
// pair of neighbours, or has a hex off the map, changes nothing.
RoadToggle ToggleRoadLink(MapStore &map, HexCoord first, HexCoord second);

} // namespace vantor
