#include "pattern_passes.h"

#include "model/hex_neighbours.h"

#include <array>

namespace vantor {

namespace {

// ---- Classifiers ----------------------------------------------------------------------------

// Water of either kind against everything else.
char CoastClass(std::uint8_t set, std::uint8_t) { return set == 0 || set == 5 ? 'O' : 'L'; }

// Coast tiles against everything else. Open water of set 5 reads as land beside a coast tile, so
// that land hexes keep their patterns, but the pass keeps it water (keptSet).
char BeachClass(std::uint8_t set, std::uint8_t) { return set == 0 ? 'C' : 'L'; }

// Deep water (set 0, tiles 52..54), other set-0 tiles, and other sets.
char ShallowClass(std::uint8_t set, std::uint8_t tile)
{
    if (set != 0)
        return 'X';
    return tile >= 52 && tile <= 54 ? 'O' : 'C';
}

char RoadClass(std::uint8_t set, std::uint8_t tile) { return set == 2 && tile >= 16 && tile <= 56 ? 'R' : 'O'; }

char RiverClass(std::uint8_t set, std::uint8_t) { return set == 3 ? 'R' : 'O'; }

// ---- Tables: centre letter, then NW, N, NE, SE, S, SW ---------------------------------------

constexpr PatternRow CoastRows[] = {
    {"OLLLOOO", 20}, {"OLOOOOL", 40}, {"OOOOOLL", 7},  {"OOLOOOO", 5},  {"OOOOOOL", 3},  {"OLOOOLL", 12},
    {"OOLLOOO", 9},  {"OOOOOLO", 4},  {"OOOOLLL", 21}, {"OOLLLOO", 16}, {"OOOOLOO", 1},  {"OOOOLLO", 6},
    {"OOOLOOO", 2},  {"OOOLLLL", 28}, {"OLLLOOL", 27}, {"OLLLLOO", 26}, {"OLOOLLL", 30}, {"OLLLLLO", 35},
    {"OLLOOOO", 8},  {"OOOLLOO", 11}, {"OOOLLLO", 14}, {"OLOOOOO", 0},  {"OLLOOOL", 15},
};

constexpr PatternRow BeachRows[] = {
    {"LLLLLCL", 4},  {"LCCCCLC", 53}, {"LLLLCLL", 1},  {"LLLLLCC", 7},  {"LLCLLLL", 5},  {"LLCCCCL", 38},
    {"LLLCCCC", 28}, {"LLLCCLL", 41}, {"LLLLCCL", 6},  {"LLCCLLL", 9},  {"LLLCCCL", 14}, {"LCCCCLL", 26},
    {"LLCCCLL", 17}, {"LLLCLLL", 2},  {"LCLLLLC", 10}, {"LCCCLLL", 48}, {"LCCLLLL", 8},  {"LCLLLCC", 12},
    {"LLLLCCC", 22}, {"LCLCCLL", 26}, {"LCCLLLC", 15}, {"LCLLCCC", 30},
};

constexpr PatternRow ShallowRows[] = {
    {"OOOCCCC", 23}, {"OOOCCCO", 48}, {"OCOOOOO", 1},  {"OOOOOCC", 49}, {"OOOOCCC", 23},
    {"OCCOOOC", 10}, {"OOOCCOO", 18}, {"OCOOOCC", 24}, {"OCOOCCC", 35}, {"OOOOOCO", 21},
    {"OCOOOOC", 10}, {"OCCCOOO", 28}, {"OOOOCCO", 14}, {"OOOOOOC", 49}, {"OOCOOOO", 16},
    {"OOOOCOO", 22}, {"OCCOOCC", 34}, {"OOCCCOO", 42}, {"OCCOOOO", 5},  {"OOCCOOO", 17},
};

constexpr PatternRow RoadRows[] = {
    {"ROROROO", 27}, {"ROROOOR", 20}, {"RORRROO", 14}, {"RROOROO", 13}, {"ROOOROR", 36},
    {"ROORROR", 35}, {"RROROOO", 31}, {"RRORROO", 31}, {"ROORORR", 35}, {"ROOROOR", 35},
    {"ROROORO", 20}, {"ROORORO", 35}, {"RROOORO", 24},
};

constexpr PatternRow RiverRows[] = {
    {"ROROORO", 9},  {"ROROOOR", 16}, {"ROROROO", 15}, {"ROOROOR", 16},
    {"RROOROO", 14}, {"RROROOO", 16}, {"RROOORO", 14}, {"ROOOROR", 14},
};

} // namespace

const PatternPassRules CoastPass{"coast", CoastClass, 'O', 0, CoastRows};
const PatternPassRules BeachPass{"beach", BeachClass, 'L', 4, BeachRows, 5};
const PatternPassRules ShallowPass{"shallow", ShallowClass, 'O', 5, ShallowRows};
const PatternPassRules RoadPass{"road", RoadClass, 'R', 2, RoadRows};
const PatternPassRules RiverPass{"river", RiverClass, 'R', 3, RiverRows};

std::uint64_t PatternKey(const MapStore &map, const PatternPassRules &pass, HexCoord hex)
{
    std::uint64_t key = std::uint8_t(pass.classify(map.at(TileSet, hex.x, hex.y), map.at(TileIndex, hex.x, hex.y)));
    int shift = 8;
    for (const HexDirection direction : PatternOrder) {
        const HexCoord next = Neighbour(hex, direction);
        key |= std::uint64_t(std::uint8_t(pass.classify(map.at(TileSet, next.x, next.y), map.at(TileIndex, next.x, next.y))))
               << shift;
        shift += 8;
    }
    return key;
}

std::string HexPattern(const MapStore &map, const PatternPassRules &pass, HexCoord hex)
{
    const std::uint64_t key = PatternKey(map, pass, hex);
    std::string pattern(PatternLength, ' ');
    for (int i = 0; i < PatternLength; ++i)
        pattern[std::size_t(i)] = char(key >> (8 * i));
    return pattern;
}

std::optional<std::uint8_t> PassTile(const PatternPassRules &pass, std::uint64_t key, std::uint8_t set)
{
    if (char(key & 0xFF) != pass.centre || set == pass.keptSet)
        return std::nullopt;
    for (const PatternRow &row : pass.rows)
        if (row.key == key)
            return row.tile;
    return std::nullopt;
}

void PutPassTile(MapStore &map, HexCoord hex, const PatternPassRules &pass, std::uint8_t tile,
                 const DefaultTerrainTable &defaultTerrain)
{
    map.at(TileIndex, hex.x, hex.y) = tile;
    map.at(TileSet, hex.x, hex.y) = pass.tileSet;
    map.at(Terrain, hex.x, hex.y) = std::uint8_t(DefaultTerrainOf(defaultTerrain, pass.tileSet, tile));
}

void PatternPass(MapStore &map, const PatternPassRules &pass, const DefaultTerrainTable &defaultTerrain)
{
    const int width = map.MapWidth;
    const int height = map.MapHeight;
    if (width < 3 || height < 3)
        return;

    // Letters of every hex of the map, laid out like a plane, and the tiles the pass will write.
    std::array<char, PlaneSize> letters;
    std::array<std::optional<std::uint8_t>, PlaneSize> passTiles;
    const std::uint8_t *sets = &map.bytes[MapStore::index(TileSet, 0, 0)];
    const std::uint8_t *tiles = &map.bytes[MapStore::index(TileIndex, 0, 0)];
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y) {
            const int at = x * StoreRows + y;
            letters[at] = pass.classify(sets[at], tiles[at]);
        }

    // Offsets of the six neighbours within a plane, NW, N, NE, SE, S, SW, by column parity.
    constexpr int Col = StoreRows;
    constexpr std::array<int, 6> EvenOffsets = {-Col - 1, -1, Col - 1, Col, 1, -Col};
    constexpr std::array<int, 6> OddOffsets = {-Col, -1, Col, Col + 1, 1, -Col + 1};

    for (int y = 1; y < height - 1; ++y)
        for (int x = 1; x < width - 1; ++x) {
            const int at = x * StoreRows + y;
            const std::array<int, 6> &offsets = x % 2 != 0 ? OddOffsets : EvenOffsets;
            std::uint64_t key = std::uint8_t(letters[at]);
            for (int i = 0; i < 6; ++i)
                key |= std::uint64_t(std::uint8_t(letters[at + offsets[i]])) << (8 * (i + 1));
            passTiles[at] = PassTile(pass, key, sets[at]);
        }

    for (int y = 1; y < height - 1; ++y)
        for (int x = 1; x < width - 1; ++x)
            if (const std::optional<std::uint8_t> tile = passTiles[x * StoreRows + y])
                PutPassTile(map, {x, y}, pass, *tile, defaultTerrain);
}

void MakeCoastline(MapStore &map, const DefaultTerrainTable &defaultTerrain)
{
    PatternPass(map, CoastPass, defaultTerrain);
    PatternPass(map, BeachPass, defaultTerrain);
    PatternPass(map, ShallowPass, defaultTerrain);
}

void MakeRoads(MapStore &map, const DefaultTerrainTable &defaultTerrain) { PatternPass(map, RoadPass, defaultTerrain); }

void MakeRivers(MapStore &map, const DefaultTerrainTable &defaultTerrain) { PatternPass(map, RiverPass, defaultTerrain); }

} // namespace vantor
