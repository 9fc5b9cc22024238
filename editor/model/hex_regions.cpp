#include "hex_regions.h"

#include "model/hex_cube.h"
#include "model/hex_neighbours.h"

#include <algorithm>
#include <array>

namespace vantor {

HexSet BrushHexes(const MapStore &map, HexCoord centre, int radius)
{
    HexSet hexes;
    const CubeHex origin = ToCube(centre);
    for (const CubeHex step : DiscSteps(radius)) {
        const HexCoord hex = FromCube(origin + step);
        if (IsOnMap(map, hex.x, hex.y))
            hexes.insert(hex);
    }
    return hexes;
}

bool IsSameTile(const MapStore &map, HexCoord a, HexCoord b)
{
    return map.at(TileSet, a.x, a.y) == map.at(TileSet, b.x, b.y) && map.at(TileIndex, a.x, a.y) == map.at(TileIndex, b.x, b.y);
}

// Breadth first, each hex queued once: the queue never holds more than the store.
HexSet ConnectedSameTile(const MapStore &map, HexCoord start, const HexSet *within)
{
    HexSet region;
    if (!IsOnMap(map, start.x, start.y) || (within && !within->contains(start)))
        return region;
    std::array<HexCoord, PlaneSize> queue;
    std::size_t head = 0, tail = 0;
    queue[tail++] = start;
    region.insert(start);
    while (head < tail) {
        const HexCoord hex = queue[head++];
        for (const HexDirection direction : PatternOrder) {
            const HexCoord next = Neighbour(hex, direction);
            if (!IsOnMap(map, next.x, next.y) || region.contains(next) || (within && !within->contains(next)) ||
                !IsSameTile(map, start, next))
                continue;
            region.insert(next);
            queue[tail++] = next;
        }
    }
    return region;
}

HexSet SameTileHexes(const MapStore &map, HexCoord like)
{
    HexSet hexes;
    if (!IsOnMap(map, like.x, like.y))
        return hexes;
    for (int x = 0; x < map.MapWidth; ++x)
        for (int y = 0; y < map.MapHeight; ++y)
            if (IsSameTile(map, like, {x, y}))
                hexes.insert({x, y});
    return hexes;
}

namespace {

// Floor and ceiling of a division by a positive number, for negative numerators too.
int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
int CeilDiv(int a, int b) { return -FloorDiv(-a, b); }

// The y of a hex's centre on the map picture, less the 20 pixels every centre has.
int CentreRowY(HexCoord hex) { return 40 * hex.y + 20 * (hex.x & 1); }

} // namespace

HexSet HexRectangle(const MapStore &map, HexCoord a, HexCoord b)
{
    HexSet hexes;
    const int top = std::min(CentreRowY(a), CentreRowY(b));
    const int bottom = std::max(CentreRowY(a), CentreRowY(b));
    const int firstColumn = std::max(0, std::min(a.x, b.x));
    const int lastColumn = std::min(map.MapWidth - 1, std::max(a.x, b.x));
    for (int x = firstColumn; x <= lastColumn; ++x) {
        const int shift = 20 * (x & 1);
        const int firstRow = std::max(0, CeilDiv(top - shift, 40));
        const int lastRow = std::min(map.MapHeight - 1, FloorDiv(bottom - shift, 40));
        for (int y = firstRow; y <= lastRow; ++y)
            hexes.insert({x, y});
    }
    return hexes;
}

} // namespace vantor
