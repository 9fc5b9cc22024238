#pragma once
// The hex grid's neighbours and the road-link bits that point at them.
//
// Odd columns sit half a hex lower than even ones, so which hexes are neighbours depends on the
// parity of the column. Every neighbourhood computation of the editor uses the rule given here.

#include "model/map_store.h"

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

inline bool IsOddColumn(int x) { return (x & 1) != 0; }

// The neighbour of a hex in a direction, by the parity of its column. It may lie off the map.
HexCoord Neighbour(HexCoord hex, HexDirection direction);

// The direction in which `to` neighbours `from`, or nothing when they are not neighbours.
std::optional<HexDirection> DirectionTowards(HexCoord from, HexCoord to);

// Centre of a hex on the map picture.
inline QPoint HexCentre(HexCoord hex) { return {37 * hex.x + 24, 40 * hex.y + (hex.x % 2 != 0 ? 40 : 20)}; }

} // namespace vantor
