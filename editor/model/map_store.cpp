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

} // namespace vantor
