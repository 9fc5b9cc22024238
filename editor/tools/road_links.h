#pragma once
// The hex grid's neighbours, the road-link bits of every hex, and the road overlay.
//
// Odd columns sit half a hex lower than even ones, so which hexes are neighbours depends on the
// parity of the column. Every neighbourhood computation of the editor uses the rule given here.

#include "model/colour_value.h"
#include "model/map_store.h"

#include <QImage>
#include <QPoint>

#include <array>
#include <cstdint>
#include <optional>

namespace vantor {

// The six directions, in the order the neighbourhood patterns list them.
enum class HexDirection { NW, N, NE, SE, S, SW };
inline constexpr std::array<HexDirection, 6> PatternOrder = {HexDirection::NW, HexDirection::N,  HexDirection::NE,
                                                             HexDirection::SE, HexDirection::S,  HexDirection::SW};

// The bits of the RoadLinks plane: one per neighbour a hex's road leads into.
// 0x04 and 0x40 belong to no direction; the editor never sets or clears them.
enum RoadLinkBit : std::uint8_t {
    LinkN = 0x01,
    LinkNE = 0x02,
    LinkSE = 0x08,
    LinkS = 0x10,
    LinkSW = 0x20,
    LinkNW = 0x80,
};
inline constexpr std::uint8_t AllLinkBits = LinkN | LinkNE | LinkSE | LinkS | LinkSW | LinkNW; // 0xBB

std::uint8_t LinkBitOf(HexDirection direction);
HexDirection Opposite(HexDirection direction);

// The neighbour of a hex in a direction, by the parity of its column. It may lie off the map.
HexCoord Neighbour(HexCoord hex, HexDirection direction);

// The direction in which `to` neighbours `from`, or nothing when they are not neighbours.
std::optional<HexDirection> DirectionTowards(HexCoord from, HexCoord to);

// Centre of a hex on the map picture.
inline QPoint HexCentre(HexCoord hex) { return {37 * hex.x + 24, 40 * hex.y + (hex.x % 2 != 0 ? 40 : 20)}; }

// Whether a hex bears a road for automatic linking: towns, roads and airfields by terrain, and the
// river tiles a road crosses and the fort tiles with a road by tile. Off the map, no.
bool IsRoadHex(const MapStore &map, int x, int y);

// Links every road hex to each neighbouring road hex. Links are only added, never removed.
void MakeRoadConnections(MapStore &map);

// Clears the road links of every hex of the map.
void ClearRoadConnections(MapStore &map);

// Overlay colours, 0x00BBGGRR.
inline constexpr ColourValue RoadOverlayColour = 0x00FFFF; // yellow
inline constexpr ColourValue RoadRemovedColour = 0x0000FF; // red
inline constexpr int RoadPenWidth = 3;

// Draws the links as half-lines from each hex centre towards the linked neighbour's centre, for the
// hexes inside the outermost ring. A link set on both sides shows as one line centre to centre.
// picture may be a horizontal band of the map picture starting at row bandTop of the whole.
void DrawRoadOverlay(const MapStore &map, QImage &picture, int bandTop = 0);

enum class RoadToggle { Unchanged, LinkAdded, LinkRemoved };

// Flips the link between two neighbouring hexes, first's bit towards second and second's bit back,
// and draws a line from centre to centre onto picture (when given): yellow when the link is added,
// red when it is removed. Whether it is added or removed is told by the reference hex of the pair,
// the upper one of a north-south pair and the even-column one of any other. A pair that is not a
// pair of neighbours, or has a hex off the map, changes nothing and draws nothing.
RoadToggle ToggleRoadLink(MapStore &map, HexCoord first, HexCoord second, QImage *picture = nullptr);

} // namespace vantor
