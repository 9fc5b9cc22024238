// The tile-pattern passes: every table row, the interior-only rule, patterns read before any change,
// and the coastline, road and river cases a map maker meets.

#include "test_support.h"

#include "model/terrain_tables.h"
#include "tools/pattern_passes.h"

#include <QTest>

#include <map>
#include <random>

using namespace vantor;

namespace {

const DefaultTerrainTable Terrains = InitialDefaultTerrain();

// The tables as the game's rules list them: "pattern=tile", centre letter first, then NW, N, NE,
// SE, S, SW.
const char *const CoastTable =
    "OLLLOOO=20 OLOOOOL=40 OOOOOLL=7 OOLOOOO=5 OOOOOOL=3 OLOOOLL=12 OOLLOOO=9 OOOOOLO=4 OOOOLLL=21 OOLLLOO=16 "
    "OOOOLOO=1 OOOOLLO=6 OOOLOOO=2 OOOLLLL=28 OLLLOOL=27 OLLLLOO=26 OLOOLLL=30 OLLLLLO=35 OLLOOOO=8 OOOLLOO=11 "
    "OOOLLLO=14 OLOOOOO=0 OLLOOOL=15";
const char *const BeachTable =
    "LLLLLCL=4 LCCCCLC=53 LLLLCLL=1 LLLLLCC=7 LLCLLLL=5 LLCCCCL=38 LLLCCCC=28 LLLCCLL=41 LLLLCCL=6 LLCCLLL=9 "
    "LLLCCCL=14 LCCCCLL=26 LLCCCLL=17 LLLCLLL=2 LCLLLLC=10 LCCCLLL=48 LCCLLLL=8 LCLLLCC=12 LLLLCCC=22 LCLCCLL=26 "
    "LCCLLLC=15 LCLLCCC=30";
const char *const ShallowTable =
    "OOOCCCC=23 OOOCCCO=48 OCOOOOO=1 OOOOOCC=49 OOOOCCC=23 OCCOOOC=10 OOOCCOO=18 OCOOOCC=24 OCOOCCC=35 "
    "OOOOOCO=21 OCOOOOC=10 OCCCOOO=28 OOOOCCO=14 OOOOOOC=49 OOCOOOO=16 OOOOCOO=22 OCCOOCC=34 OOCCCOO=42 "
    "OCCOOOO=5 OOCCOOO=17";
const char *const RoadTable = "ROROROO=27 ROROOOR=20 RORRROO=14 RROOROO=13 ROOOROR=36 ROORROR=35 RROROOO=31 "
                              "RRORROO=31 ROORORR=35 ROOROOR=35 ROROORO=20 ROORORO=35 RROOORO=24";
const char *const RiverTable = "ROROORO=9 ROROOOR=16 ROROROO=15 ROOROOR=16 RROOROO=14 RROROOO=16 RROOORO=14 ROOOROR=14";

struct Tile {
    std::uint8_t set;
    std::uint8_t tile;
};

// What each pass should do, written out independently of the code under test.
struct ExpectedPass {
    const PatternPassRules *rules;
    std::uint8_t tileSet;
    const char *table;
    std::map<char, Tile> tileOfLetter; // a hex that the pass gives this letter
    char (*classify)(Tile);
    int keptSet = -1; // a set whose hexes the pass never changes
};

char CoastLetter(Tile t) { return t.set == 0 || t.set == 5 ? 'O' : 'L'; }
char BeachLetter(Tile t) { return t.set == 0 ? 'C' : 'L'; }
char ShallowLetter(Tile t) { return t.set != 0 ? 'X' : (t.tile >= 52 && t.tile <= 54 ? 'O' : 'C'); }
char RoadLetter(Tile t) { return t.set == 2 && t.tile >= 16 && t.tile <= 56 ? 'R' : 'O'; }
char RiverLetter(Tile t) { return t.set == 3 ? 'R' : 'O'; }

const std::vector<ExpectedPass> &Passes()
{
    static const std::vector<ExpectedPass> passes = {
        {&CoastPass, 0, CoastTable, {{'O', {5, 3}}, {'L', {1, 0}}}, CoastLetter},
        {&BeachPass, 4, BeachTable, {{'C', {0, 7}}, {'L', {1, 2}}}, BeachLetter, 5},
        {&ShallowPass, 5, ShallowTable, {{'O', {0, 53}}, {'C', {0, 12}}, {'X', {1, 0}}}, ShallowLetter},
        {&RoadPass, 2, RoadTable, {{'R', {2, 30}}, {'O', {1, 0}}}, RoadLetter},
        {&RiverPass, 3, RiverTable, {{'R', {3, 10}}, {'O', {1, 0}}}, RiverLetter},
    };
    return passes;
}

std::map<std::string, int> ParseTable(const char *table)
{
    std::map<std::string, int> rows;
    for (const QString &item : QString::fromLatin1(table).split(QLatin1Char(' '))) {
        const QStringList parts = item.split(QLatin1Char('='));
        rows[parts[0].toStdString()] = parts[1].toInt();
    }
    return rows;
}

// The six neighbours NW, N, NE, SE, S, SW of (x, y).
std::array<HexCoord, 6> NeighboursOf(int x, int y)
{
    if (x % 2 == 0)
        return {{{x - 1, y - 1}, {x, y - 1}, {x + 1, y - 1}, {x + 1, y}, {x, y + 1}, {x - 1, y}}};
    return {{{x - 1, y}, {x, y - 1}, {x + 1, y}, {x + 1, y + 1}, {x, y + 1}, {x - 1, y + 1}}};
}

void Put(MapStore &map, int x, int y, Tile tile)
{
    map.at(TileSet, x, y) = tile.set;
    map.at(TileIndex, x, y) = tile.tile;
}

Tile TileAt(const MapStore &map, int x, int y) { return {map.at(TileSet, x, y), map.at(TileIndex, x, y)}; }

std::unique_ptr<MapStore> FilledMap(int width, int height, Tile tile)
{
    auto map = testing::BlankMap(width, height);
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y)
            Put(*map, x, y, tile);
    return map;
}

// Every byte of every plane but TileIndex, TileSet and Terrain.
QByteArray OtherPlanes(const MapStore &map)
{
    QByteArray bytes;
    for (int p = 0; p < PlaneCount; ++p)
        if (p != TileIndex && p != TileSet && p != Terrain)
            bytes.append(reinterpret_cast<const char *>(&map.bytes[MapStore::index(p, 0, 0)]), PlaneSize);
    return bytes;
}

// A hex the pass left as it was: its set and tile, and the terrain it had.
void VerifyUnchanged(const MapStore &map, int x, int y, int set, int tile, int terrain = 0)
{
    QCOMPARE(int(map.at(TileSet, x, y)), set);
    QCOMPARE(int(map.at(TileIndex, x, y)), tile);
    QCOMPARE(int(map.at(Terrain, x, y)), terrain);
}

// A hex the pass wrote: the tile, and the tile's default terrain.
void VerifyHex(const MapStore &map, int x, int y, int set, int tile)
{
    QCOMPARE(int(map.at(TileSet, x, y)), set);
    QCOMPARE(int(map.at(TileIndex, x, y)), tile);
    QCOMPARE(int(map.at(Terrain, x, y)), DefaultTerrainOf(Terrains, set, tile));
}

} // namespace

class PatternPassesTest : public QObject {
    Q_OBJECT
private slots:
    void tablesHoldEveryRowOnce();
    void everyRowWritesItsTile_data();
    void everyRowWritesItsTile();
    void patternsAreReadBeforeAnyHexChanges();
    void randomMapsFollowTheTables();
    void smallMapsHaveNoInteriorHexes();
    void singleLandHexGetsSixCoastTiles();
    void unlistedPatternsLeaveTheHex();
    void roadPassTile13IsNotARoad();
    void riverPassTwiceChangesNothingMore();
    void coastlineOnLandOnlyChangesNothing();
    void coastlineOnAllDeepWater();
};

void PatternPassesTest::tablesHoldEveryRowOnce()
{
    for (const ExpectedPass &pass : Passes()) {
        const std::map<std::string, int> expected = ParseTable(pass.table);
        std::map<std::string, int> actual;
        for (const PatternRow &row : pass.rules->rows) {
            const std::string pattern(row.pattern, PatternLength);
            QVERIFY2(!actual.count(pattern), pattern.c_str()); // no pattern twice within a pass
            actual[pattern] = row.tile;
            QCOMPARE(pattern[0], pass.rules->centre);
        }
        QCOMPARE(actual, expected);
        QCOMPARE(int(pass.rules->tileSet), int(pass.tileSet));
    }
    QCOMPARE(CoastPass.rows.size(), std::size_t(23));
    QCOMPARE(BeachPass.rows.size(), std::size_t(22));
    QCOMPARE(ShallowPass.rows.size(), std::size_t(20));
    QCOMPARE(RoadPass.rows.size(), std::size_t(13));
    QCOMPARE(RiverPass.rows.size(), std::size_t(8));
}

void PatternPassesTest::everyRowWritesItsTile_data()
{
    QTest::addColumn<int>("passIndex");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<int>("tile");
    for (int i = 0; i < int(Passes().size()); ++i)
        for (const auto &[pattern, tile] : ParseTable(Passes()[i].table))
            QTest::addRow("%s %s", Passes()[i].rules->name, pattern.c_str()) << i << QString::fromStdString(pattern) << tile;
}

// The pattern is built on the map around an interior hex of an even and of an odd column.
void PatternPassesTest::everyRowWritesItsTile()
{
    QFETCH(int, passIndex);
    QFETCH(QString, pattern);
    QFETCH(int, tile);
    const ExpectedPass &pass = Passes()[passIndex];
    for (const int x : {2, 3}) {
        auto map = FilledMap(6, 6, pass.tileOfLetter.begin()->second);
        Put(*map, x, 2, pass.tileOfLetter.at(pattern[0].toLatin1()));
        const std::array<HexCoord, 6> around = NeighboursOf(x, 2);
        for (int i = 0; i < 6; ++i)
            Put(*map, around[i].x, around[i].y, pass.tileOfLetter.at(pattern[i + 1].toLatin1()));
        QCOMPARE(QString::fromStdString(HexPattern(*map, *pass.rules, {x, 2})), pattern);

        PatternPass(*map, *pass.rules, Terrains);
        VerifyHex(*map, x, 2, pass.tileSet, tile);
    }
}

// The shallow pass turns deep water ('O') into set 5 ('X'); had a replacement been seen by a
// neighbour later in the same pass, that neighbour's pattern would hold an X and match no row.
void PatternPassesTest::patternsAreReadBeforeAnyHexChanges()
{
    auto map = FilledMap(7, 7, {0, 52});
    Put(*map, 3, 1, {0, 0}); // one coast tile ('C') in deep water
    PatternPass(*map, ShallowPass, Terrains);
    VerifyHex(*map, 3, 2, 5, 16); // odd: C to the N, "OOCOOOO"
    VerifyHex(*map, 4, 2, 5, 1);  // even: C to the NW, "OCOOOOO"; its SW (3, 2) changed before it
    VerifyHex(*map, 2, 1, 5, 22); // even: C to the SE, "OOOOCOO"
    VerifyHex(*map, 4, 1, 5, 49); // even: C to the SW, "OOOOOOC"; (4, 2) below it changes after it
    VerifyUnchanged(*map, 2, 2, 0, 52); // even: C to the NE, "OOOCOOO" is not listed
    VerifyUnchanged(*map, 3, 1, 0, 0);

    // A column of coast tiles: the deep hexes beside it are each other's N and S neighbours.
    auto column = FilledMap(7, 7, {0, 52});
    for (int y = 0; y < 7; ++y)
        Put(*column, 2, y, {0, 0});
    PatternPass(*column, ShallowPass, Terrains);
    for (int y = 1; y <= 5; ++y) {
        VerifyHex(*column, 3, y, 5, 10); // odd: C to the NW and SW, "OCOOOOC"
        VerifyHex(*column, 1, y, 5, 18); // even: C to the NE and SE, "OOOCCOO"
        VerifyUnchanged(*column, 4, y, 0, 52); // deep all round
    }
}

// On random maps every pass does exactly what its table says for the map as it was when the pass
// began, changes only interior hexes and only their tile, set and terrain.
void PatternPassesTest::randomMapsFollowTheTables()
{
    std::mt19937 random(7);
    for (const ExpectedPass &pass : Passes()) {
        const std::map<std::string, int> table = ParseTable(pass.table);
        std::vector<Tile> palette;
        for (const auto &[letter, tile] : pass.tileOfLetter)
            palette.push_back(tile);
        palette.push_back({2, 13}); // a road tile the road pass wrote, no longer 'R'
        palette.push_back({0, 54});
        palette.push_back({5, 3}); // open water: land to the beach pass, never made beach
        for (int round = 0; round < 20; ++round) {
            const int width = 3 + int(random() % 70);
            const int height = 3 + int(random() % 68);
            auto map = testing::BlankMap(width, height);
            for (std::size_t i = 0; i < map->bytes.size(); ++i)
                map->bytes[i] = std::uint8_t(random());
            for (int x = 0; x < StoreColumns; ++x)
                for (int y = 0; y < StoreRows; ++y)
                    Put(*map, x, y, palette[random() % palette.size()]);
            const MapStore before = *map;

            PatternPass(*map, *pass.rules, Terrains);

            QCOMPARE(OtherPlanes(*map), OtherPlanes(before));
            for (int x = 0; x < StoreColumns; ++x)
                for (int y = 0; y < StoreRows; ++y) {
                    const bool interior = x >= 1 && x <= width - 2 && y >= 1 && y <= height - 2;
                    int expected = -1;
                    if (interior && TileAt(before, x, y).set != pass.keptSet) {
                        std::string pattern(1, pass.classify(TileAt(before, x, y)));
                        for (const HexCoord &n : NeighboursOf(x, y))
                            pattern += pass.classify(TileAt(before, n.x, n.y));
                        if (const auto row = table.find(pattern); row != table.end())
                            expected = row->second;
                    }
                    if (expected < 0) {
                        QCOMPARE(map->at(TileSet, x, y), before.at(TileSet, x, y));
                        QCOMPARE(map->at(TileIndex, x, y), before.at(TileIndex, x, y));
                        QCOMPARE(map->at(Terrain, x, y), before.at(Terrain, x, y));
                    } else {
                        VerifyHex(*map, x, y, pass.tileSet, expected);
                    }
                }
        }
    }
}

void PatternPassesTest::smallMapsHaveNoInteriorHexes()
{
    for (const QSize size : {QSize(2, 10), QSize(10, 2), QSize(1, 1), QSize(2, 2)}) {
        // Water round a land hex: on a larger map the water would take coast tiles.
        auto map = FilledMap(size.width(), size.height(), {5, 0});
        Put(*map, 0, 0, {1, 0});
        Put(*map, 1, 1, {1, 0});
        const MapStore before = *map;
        for (const ExpectedPass &pass : Passes())
            PatternPass(*map, *pass.rules, Terrains);
        QVERIFY(map->bytes == before.bytes);
    }

    // A 5 x 5 map has 9 interior hexes. Land at (2, 2) gives its six neighbours coast tiles; land
    // in the corner (4, 4) gives one to (3, 3), but none to the ring hexes beside it.
    auto map = FilledMap(5, 5, {5, 0});
    Put(*map, 2, 2, {1, 0});
    Put(*map, 4, 4, {1, 0});
    QCOMPARE(HexPattern(*map, CoastPass, {3, 3}), std::string("OOOOLOO"));
    QCOMPARE(HexPattern(*map, CoastPass, {4, 3}), std::string("OOOOOLO")); // listed, but on the ring
    const MapStore before = *map;
    PatternPass(*map, CoastPass, Terrains);
    int changed = 0;
    for (int x = 0; x < 5; ++x)
        for (int y = 0; y < 5; ++y)
            if (map->at(TileSet, x, y) != before.at(TileSet, x, y)) {
                QVERIFY(x >= 1 && x <= 3 && y >= 1 && y <= 3);
                ++changed;
            }
    QCOMPARE(changed, 7);
    VerifyHex(*map, 3, 3, 0, 1);
    VerifyUnchanged(*map, 4, 3, 5, 0);
}

void PatternPassesTest::singleLandHexGetsSixCoastTiles()
{
    auto map = FilledMap(10, 10, {5, 0});
    Put(*map, 5, 5, {1, 0});
    map->at(Terrain, 5, 5) = 9;
    const struct {
        HexCoord hex;
        const char *pattern;
        int tile;
    } expected[] = {
        {{5, 4}, "OOOOOLO", 4}, {{6, 5}, "OOOOOOL", 3}, {{6, 6}, "OLOOOOO", 0},
        {{5, 6}, "OOLOOOO", 5}, {{4, 6}, "OOOLOOO", 2}, {{4, 5}, "OOOOLOO", 1},
    };
    for (const auto &e : expected)
        QCOMPARE(HexPattern(*map, CoastPass, e.hex), std::string(e.pattern));

    PatternPass(*map, CoastPass, Terrains);
    int changed = 0;
    for (int x = 0; x < 10; ++x)
        for (int y = 0; y < 10; ++y)
            changed += map->at(TileSet, x, y) == 0;
    QCOMPARE(changed, 6);
    for (const auto &e : expected)
        VerifyHex(*map, e.hex.x, e.hex.y, 0, e.tile);
    // The land hex stays: the beach pass reads it as LCCCCCC, unlisted. The set-5 water beyond the
    // coast tiles reads "LLLLLCL" north of the N coast tile but stays water. The shallow pass then
    // finds no deep water at all: the coast tiles' other neighbours are set 5 ('X').
    QCOMPARE(HexPattern(*map, BeachPass, {5, 5}), std::string("LCCCCCC"));
    QCOMPARE(HexPattern(*map, BeachPass, {5, 3}), std::string("LLLLLCL"));
    const MapStore afterCoast = *map;
    PatternPass(*map, BeachPass, Terrains);
    PatternPass(*map, ShallowPass, Terrains);
    QVERIFY(map->bytes == afterCoast.bytes);

    // Make Coastline as a whole: only the six neighbours change, and a second run changes nothing.
    auto whole = FilledMap(10, 10, {5, 0});
    Put(*whole, 5, 5, {1, 0});
    whole->at(Terrain, 5, 5) = 9;
    MakeCoastline(*whole, Terrains);
    QVERIFY(whole->bytes == afterCoast.bytes);
    MakeCoastline(*whole, Terrains);
    QVERIFY(whole->bytes == afterCoast.bytes);

    // Random islands of land in deep and open water: a second run changes nothing either.
    std::mt19937 random(11);
    const Tile tiles[] = {{1, 0}, {1, 0}, {0, 52}, {0, 53}, {5, 0}, {2, 30}};
    for (int round = 0; round < 20; ++round) {
        auto islands = FilledMap(30, 30, {0, 52});
        for (int x = 0; x < 30; ++x)
            for (int y = 0; y < 30; ++y)
                Put(*islands, x, y, tiles[random() % std::size(tiles)]);
        MakeCoastline(*islands, Terrains);
        const MapStore once = *islands;
        MakeCoastline(*islands, Terrains);
        QVERIFY(islands->bytes == once.bytes);
    }
}

void PatternPassesTest::unlistedPatternsLeaveTheHex()
{
    // Water with land on all six sides: OLLLLLL.
    auto map = FilledMap(7, 7, {1, 0});
    Put(*map, 3, 3, {5, 7});
    map->at(Terrain, 3, 3) = 21;
    QCOMPARE(HexPattern(*map, CoastPass, {3, 3}), std::string("OLLLLLL"));
    const MapStore before = *map;
    MakeCoastline(*map, Terrains);
    QVERIFY(map->bytes == before.bytes);

    // A lone road hex and a lone river hex: no neighbours of their kind, unlisted.
    auto lonely = FilledMap(7, 7, {1, 0});
    Put(*lonely, 2, 2, {2, 30});
    Put(*lonely, 4, 4, {3, 10});
    const MapStore lonelyBefore = *lonely;
    MakeRoads(*lonely, Terrains);
    MakeRivers(*lonely, Terrains);
    QVERIFY(lonely->bytes == lonelyBefore.bytes);
}

void PatternPassesTest::roadPassTile13IsNotARoad()
{
    // A road through (3, 3) from its NW neighbour (2, 3) to its SE neighbour (4, 4).
    auto road = FilledMap(8, 8, {1, 0});
    for (const HexCoord hex : {HexCoord{2, 3}, HexCoord{3, 3}, HexCoord{4, 4}})
        Put(*road, hex.x, hex.y, {2, 30});
    QCOMPARE(HexPattern(*road, RoadPass, {3, 3}), std::string("RROOROO"));
    QCOMPARE(HexPattern(*road, RoadPass, {2, 3}), std::string("ROOOROO"));
    MakeRoads(*road, Terrains);
    VerifyHex(*road, 3, 3, 2, 13);
    // A second pass reads the tile-13 hex as 'O': its neighbours no longer see a road there.
    QCOMPARE(HexPattern(*road, RoadPass, {3, 3}), std::string("OROOROO"));
    QCOMPARE(HexPattern(*road, RoadPass, {2, 3}), std::string("ROOOOOO"));
    const MapStore once = *road;
    MakeRoads(*road, Terrains);
    QVERIFY(road->bytes == once.bytes);

    // The road tiles are 16 to 56 of set 2.
    for (const auto &[tile, letter] : {std::pair{15, 'O'}, {16, 'R'}, {56, 'R'}, {57, 'O'}}) {
        Put(*road, 3, 3, {2, std::uint8_t(tile)});
        QCOMPARE(HexPattern(*road, RoadPass, {3, 3})[0], letter);
    }
    Put(*road, 3, 3, {3, 30});
    QCOMPARE(HexPattern(*road, RoadPass, {3, 3})[0], 'O');
}

void PatternPassesTest::riverPassTwiceChangesNothingMore()
{
    // A river winding down column 3 and then east.
    auto map = FilledMap(10, 10, {1, 0});
    for (int y = 1; y <= 6; ++y)
        Put(*map, 3, y, {3, 10});
    Put(*map, 4, 6, {3, 10});
    Put(*map, 5, 7, {3, 10});
    Put(*map, 6, 7, {3, 10});
    MakeRivers(*map, Terrains);
    VerifyHex(*map, 3, 3, 3, 9); // N and S: "ROROORO"
    const MapStore once = *map;
    MakeRivers(*map, Terrains);
    QVERIFY(map->bytes == once.bytes);
}

void PatternPassesTest::coastlineOnLandOnlyChangesNothing()
{
    auto map = FilledMap(12, 9, {1, 0});
    for (int x = 0; x < 12; ++x)
        Put(*map, x, 4, {x % 2 ? std::uint8_t(8) : std::uint8_t(10), 59});
    const MapStore before = *map;
    MakeCoastline(*map, Terrains);
    QVERIFY(map->bytes == before.bytes);
}

// Water all of set-0 deep tiles: the coast pass shapes the shore first (its tiles are set 0 and
// no longer deep), then the shallow pass replaces deep hexes next to those coast tiles.
void PatternPassesTest::coastlineOnAllDeepWater()
{
    auto map = FilledMap(12, 12, {0, 52});
    Put(*map, 5, 5, {1, 0});
    MakeCoastline(*map, Terrains);
    // The six shore hexes as around a land hex in set-5 water; the land hex stays.
    VerifyHex(*map, 5, 4, 0, 4);
    VerifyHex(*map, 6, 5, 0, 3);
    VerifyHex(*map, 6, 6, 0, 0);
    VerifyHex(*map, 5, 6, 0, 5);
    VerifyHex(*map, 4, 6, 0, 2);
    VerifyHex(*map, 4, 5, 0, 1);
    QCOMPARE(int(map->at(TileSet, 5, 5)), 1);
    // Deep hexes next to the shore take shallow tiles where their pattern is listed.
    VerifyHex(*map, 5, 3, 5, 21); // odd: the shore tile to its S, "OOOOOCO"
    VerifyHex(*map, 5, 7, 5, 16); // odd: the shore tile to its N, "OOCOOOO"
    VerifyHex(*map, 4, 4, 5, 14); // even: shore tiles to its SE (5, 4) and S (4, 5), "OOOOCCO"
    // Far from the shore the water stays deep.
    VerifyUnchanged(*map, 9, 9, 0, 52);
    VerifyUnchanged(*map, 1, 1, 0, 52);
}

QTEST_GUILESS_MAIN(PatternPassesTest)
#include "tst_pattern_passes.moc"
