#include "map_store.h"

namespace vantor {

HexRecord ReadHex(const MapStore &map, int x, int y)
{
    HexRecord record;
    for (int p = 0; p < PlaneCount; ++p)
        record[p] = map.at(p, x, y);
    return record;
}

void WriteHex(MapStore &map, int x, int y, const HexRecord &record)
{
    for (int p = 0; p < PlaneCount; ++p)
        map.at(p, x, y) = record[p];
}

void SetNewMapFields(HexRecord &record, int set, int tile, int terrain)
{
    record[CityAttr16] = 255;
    record[PlaceIndex] = NoPlace & 0xFF;
    record[PlaceIndexHigh] = NoPlace >> 8;
    record[TileIndex] = std::uint8_t(tile);
    record[TileSet] = std::uint8_t(set);
    record[Terrain] = std::uint8_t(terrain);
}

} // namespace vantor
