#include "terrain_tables.h"

#include <cstring>

namespace vantor {

namespace {

constexpr const char *InitialRows[TileSetCount] = {
    "NNNNNNNNNNNNNNNNNNNNNN....IIIIIIIIIIIIIIIIIIIIINNI..OOOO1111JJJJOOOO11.........",
    "444BBBBBB444474744448888777777777777777774447774444BBBCCCCCC4:::::4:::::::::...",
    "2222222222223<3333333333333<<33<<<33<<<<<3<<3<3<<<22<<<PPPPPPPPPPPPPPPPPP3333..",
    "HHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHH....HHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHH",
    "44444444444444444444444I..IIIIIIIIIIIIIIIIIIIIIIII..IIICCCCCCCCCC..............",
    "OOOOOOOOOOOOOOOOOOOOOOOOONNONNNNNNNNNNNNNNNNNNNOOONNNNNNNNNNNNNNNNNNNNNNNNNNNNN",
    "000000000QQQQQQRRRRRR1111QR000FFFFFFFFFFF0000..................................",
    "88FFFQQMMMMMMM8FQQ.............................................................",
    "FFFFFFFFFFFFFFFFFFFFF.GGGGGGGGGGGGGGGGGGEEEEEEEEEEEEEEFFFFFFFFFFFF..DDDDDDDDDD.",
    "SSSSSSSSSSSSSSS...IIIIIIII..............SSSSSSSSSSSSSSSS;;;;;;;;;;;;;;.........",
    "NNNNNNNNNNNNNNNNNNN6666666666666666666TTTNNNNNNNNNNNNNNNNNN55555...............",
    "AAAAAAAAA@@@@@@@@TTTQCCCCCC44444444444444444444@@@@@@@@@@@@@@@@@@@@222222222222",
    "=========.=========.>>>>>>>>>..................................................",
    "FFFFFFFFFFFFFFFFFFFFF.GGGGGGGGGGGGGEEEEEEEEEEEEEEFFFF...FFFFFFFFFF.............",
    "OOOOOOOOOOOOOOOOOOOOIIIOIIIIIIIIIIIIIIIIIIOIIOOOIINIIONOOOO<O44O0OO011.........",
    "111001OOOI0020IOO101...........................................................",
};

} // namespace

const std::array<const char *, TerrainCount> TerrainNames = {
    "Inland City", "Coastal City", "Dirt Road", "Paved Road", "Clear", "Forest", "Kunai",
    "Regular Jungle", "Dense Jungle", "Palm Trees", "Bamboo", "Bocage", "Paved Road",
    "Agriculture", "Rice Paddy-In Season", "Rice Paddy-Drained", "Desert", "Oasis", "Swamp",
    "Rough", "Volcanic", "Hill", "Mountain", "Escarpment", "River", "Beach", "Pier", "Seawall",
    "Tetrahedron", "Reef", "Coast", "Deep Ocean", "Jungle Path", "Dirt Airfield",
    "Paved Airfield", "Fortification", "Oilfield",
};

DefaultTerrainTable InitialDefaultTerrain()
{
    DefaultTerrainTable table{};
    for (int s = 0; s < TileSetCount; ++s)
        std::memcpy(table[s].data(), InitialRows[s], std::strlen(InitialRows[s]));
    return table;
}

int DefaultTerrainOf(const DefaultTerrainTable &table, int set, int tile)
{
    if (set < 0 || set >= TileSetCount || tile < 0 || tile >= TilesPerSet)
        return UnknownTerrain;
    // Read as a signed character, so bytes of 128 and more fall below '0' too.
    const signed char code = static_cast<signed char>(table[set][tile]);
    if (code < '0' || code > 'T')
        return UnknownTerrain;
    return code - '0';
}

const char *TerrainName(int terrain)
{
    return terrain >= 0 && terrain < TerrainCount ? TerrainNames[terrain] : "";
}

} // namespace vantor
