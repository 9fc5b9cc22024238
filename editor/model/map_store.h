#pragma once
// The map in use: its size and the 37 byte planes of every hex.

#include <array>
#include <cstdint>

namespace vantor {

inline constexpr int PlaneCount = 37;
inline constexpr int StoreColumns = 72;
inline constexpr int StoreRows = 70;
inline constexpr int PlaneSize = StoreColumns * StoreRows;

// The planes the editor gives meaning to; every other plane is carried unchanged.
enum Plane : int {
    PlaceIndex = 0,
    PlaceIndexHigh = 1,
    CityAttr03 = 3,
    CityAttr04 = 4,
    RoadLinks = 11,
    TileIndex = 12,
    TileSet = 14,
    Terrain = 15,
    CityAttr16 = 16,
};

// The 37 bytes of one hex, byte p = plane p: the unit of the map and scenario files.
using HexRecord = std::array<std::uint8_t, PlaneCount>;

struct HexCoord {
    int x = 0;
    int y = 0;
    friend bool operator==(const HexCoord &, const HexCoord &) = default;
};

// The store always holds 72 x 70 hexes per plane; only MapWidth x MapHeight of them are in use.
// Byte (plane p, column x, row y) lives at p * 5040 + x * 70 + y.
struct MapStore {
    int MapWidth = StoreColumns;
    int MapHeight = StoreRows;
    std::array<std::uint8_t, PlaneCount * PlaneSize> bytes{};

    std::uint8_t &at(int plane, int x, int y) { return bytes[index(plane, x, y)]; }
    std::uint8_t at(int plane, int x, int y) const { return bytes[index(plane, x, y)]; }

    static constexpr int index(int plane, int x, int y) { return plane * PlaneSize + x * StoreRows + y; }
};

inline bool IsValidMapSize(int width, int height)
{
    return width >= 1 && width <= StoreColumns && height >= 1 && height <= StoreRows;
}

inline bool IsOnMap(const MapStore &map, int x, int y)
{
    return x >= 0 && x < map.MapWidth && y >= 0 && y < map.MapHeight;
}

// A hex number is y * MapWidth + x, row-major in the width in use.
inline HexCoord SplitHexNumber(int n, int mapWidth) { return {n % mapWidth, n / mapWidth}; }

// The place number a hex refers to (place index + 256 x high byte); 0x7FFF means none.
inline int PlaceReferenceOf(const MapStore &map, HexCoord hex)
{
    return map.at(PlaceIndex, hex.x, hex.y) + 256 * map.at(PlaceIndexHigh, hex.x, hex.y);
}
inline constexpr int NoPlace = 0x7FFF;
// The highest city number a hex holds; the next, 255, means no city.
inline constexpr int LastCity = 254;

HexRecord ReadHex(const MapStore &map, int x, int y);
// The bytes New Map gives a hex: the tile, its set and terrain, no place and no city. The other
// planes keep what they hold, so a hex of a fresh store made so is "a hex made by New Map".
void SetNewMapFields(HexRecord &record, int set, int tile, int terrain);
void WriteHex(MapStore &map, int x, int y, const HexRecord &record);

} // namespace vantor
