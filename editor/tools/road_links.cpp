#include "road_links.h"

namespace vantor {

namespace {

bool InList(int value, std::initializer_list<int> list)
{
    for (const int item : list)
        if (item == value)
            return true;
    return false;
}

bool InRange(int value, int low, int high) { return value >= low && value <= high; }

} // namespace

bool IsRoadHex(const MapStore &map, int x, int y)
{
    if (!IsOnMap(map, x, y))
        return false;
    if (InList(map.at(Terrain, x, y), {0, 1, 2, 3, 12, 33, 34}))
        return true;
    const int tile = map.at(TileIndex, x, y);
    switch (map.at(TileSet, x, y)) {
    case 3:
        return InRange(tile, 20, 34) || InList(tile, {39, 40, 76, 77, 78, 79});
    case 9:
        return InRange(tile, 10, 14) || InRange(tile, 50, 54) || InRange(tile, 65, 69);
    default:
        return false;
    }
}

void MakeRoadConnections(MapStore &map)
{
    for (int y = 0; y < map.MapHeight; ++y)
        for (int x = 0; x < map.MapWidth; ++x) {
            if (!IsRoadHex(map, x, y))
                continue;
            std::uint8_t links = map.at(RoadLinks, x, y);
            for (const HexDirection direction : PatternOrder) {
                const HexCoord next = Neighbour({x, y}, direction);
                if (IsRoadHex(map, next.x, next.y))
                    links |= LinkBitOf(direction);
            }
            map.at(RoadLinks, x, y) = links;
        }
}

void ClearRoadConnections(MapStore &map)
{
    for (int x = 0; x < map.MapWidth; ++x)
        for (int y = 0; y < map.MapHeight; ++y)
            map.at(RoadLinks, x, y) = 0;
}

RoadToggle ToggleRoadLink(MapStore &map, HexCoord first, HexCoord second)
{
    if (!IsOnMap(map, first.x, first.y) || !IsOnMap(map, second.x, second.y))
        return RoadToggle::Unchanged;
    const std::optional<HexDirection> direction = DirectionTowards(first, second);
    if (!direction)
        return RoadToggle::Unchanged;

    // The reference hex tells whether the link is there: the upper hex of a north-south pair, the
    // even-column hex of any other pair.
    bool linked = false;
    if (first.x == second.x)
        linked = first.y < second.y ? (map.at(RoadLinks, first.x, first.y) & LinkBitOf(*direction))
                                    : (map.at(RoadLinks, second.x, second.y) & LinkBitOf(Opposite(*direction)));
    else
        linked = !IsOddColumn(first.x) ? (map.at(RoadLinks, first.x, first.y) & LinkBitOf(*direction))
                                       : (map.at(RoadLinks, second.x, second.y) & LinkBitOf(Opposite(*direction)));

    map.at(RoadLinks, first.x, first.y) ^= LinkBitOf(*direction);
    map.at(RoadLinks, second.x, second.y) ^= LinkBitOf(Opposite(*direction));

    return linked ? RoadToggle::LinkRemoved : RoadToggle::LinkAdded;
}

} // namespace vantor
