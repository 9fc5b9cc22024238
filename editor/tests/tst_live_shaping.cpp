// Shaping around an edit: on a shaped map it gives what the whole-map passes give, and it never
// changes a hex farther than the reach from the edit, nor the map's outer ring.

#include "test_support.h"

#include "model/hex_cube.h"
#include "model/hex_neighbours.h"
#include "model/hex_regions.h"
#include "model/terrain_tables.h"
#include "tools/live_shaping.h"
#include "tools/painting.h"
#include "tools/pattern_passes.h"
#include "tools/sketch_conversion.h"

#include <QTest>

#include <algorithm>
#include <random>

using namespace vantor;

namespace {

const DefaultTerrainTable Terrains = InitialDefaultTerrain();

struct Tile {
    int set;
    int tile;
};

void WholeMapPasses(MapStore &map)
{
    MakeCoastline(map, Terrains);
    MakeRoads(map, Terrains);
    MakeRivers(map, Terrains);
}

// Runs the passes until they change nothing more; how many runs that took, the last included.
int ShapeFully(MapStore &map)
{
    for (int runs = 1; runs <= 20; ++runs) {
        const MapStore before = map;
        WholeMapPasses(map);
        if (map.bytes == before.bytes)
            return runs;
    }
    return -1;
}

int DistanceToAny(HexCoord hex, const std::vector<HexCoord> &hexes)
{
    int nearest = 1 << 20;
    for (const HexCoord other : hexes)
        nearest = std::min(nearest, HexDistance(hex, other));
    return nearest;
}

void Paint(MapStore &map, const std::vector<HexCoord> &hexes, Tile tile)
{
    for (const HexCoord hex : hexes)
        PaintHex(map, hex, tile.set, tile.tile, Terrains);
}

bool TileDiffers(const MapStore &a, const MapStore &b, int x, int y)
{
    return a.at(TileIndex, x, y) != b.at(TileIndex, x, y) || a.at(TileSet, x, y) != b.at(TileSet, x, y) ||
           a.at(Terrain, x, y) != b.at(Terrain, x, y);
}

// The hexes whose tile, set or terrain differ, sorted.
std::vector<std::pair<int, int>> Differences(const MapStore &a, const MapStore &b)
{
    std::vector<std::pair<int, int>> hexes;
    for (int x = 0; x < StoreColumns; ++x)
        for (int y = 0; y < StoreRows; ++y)
            if (TileDiffers(a, b, x, y))
                hexes.push_back({x, y});
    return hexes;
}

std::vector<std::pair<int, int>> Sorted(const std::vector<HexCoord> &hexes)
{
    std::vector<std::pair<int, int>> pairs;
    for (const HexCoord hex : hexes)
        pairs.push_back({hex.x, hex.y});
    std::sort(pairs.begin(), pairs.end());
    return pairs;
}

// Converted sketches as a map maker makes them: the sample island at several scales, so at several
// sizes, shaped until the passes change nothing more.
std::vector<std::unique_ptr<MapStore>> ShapedMaps()
{
    std::vector<std::unique_ptr<MapStore>> maps;
    QImage island;
    if (!ReadSketch(QStringLiteral(VANTOR_SAMPLE_SKETCH), island).isEmpty())
        return maps;
    for (const int pixelsPerHex : {3, 5, 7, 10}) {
        VariantSource variants(pixelsPerHex);
        maps.push_back(testing::BlankMap(StoreColumns, StoreRows));
        ConvertSketch(island, pixelsPerHex, *maps.back(), Terrains, variants);
        if (ShapeFully(*maps.back()) < 0)
            return {};
    }
    return maps;
}

// What a brush may put down: each class of the sketch, shore, beach, water, road and river tiles.
std::vector<Tile> BrushTiles()
{
    std::vector<Tile> tiles;
    for (const ColourClass &colourClass : ColourClasses)
        for (const int tile : colourClass.tiles)
            tiles.push_back({colourClass.tileSet, tile});
    for (const int tile : {0, 5, 20, 40, 53})
        tiles.push_back({0, tile});
    for (const int tile : {0, 7})
        tiles.push_back({5, tile});
    for (const int tile : {4, 26})
        tiles.push_back({4, tile});
    for (const int tile : {13, 14, 27, 56})
        tiles.push_back({2, tile});
    for (const int tile : {9, 16})
        tiles.push_back({3, tile});
    return tiles;
}

// A random dab: a disc of a random tile anywhere, a quarter of them on or next to an edge.
struct Dab {
    std::vector<HexCoord> hexes;
    Tile tile;
};
Dab RandomDab(const MapStore &map, std::mt19937 &random, const std::vector<Tile> &tiles)
{
    HexCoord centre{int(random() % map.MapWidth), int(random() % map.MapHeight)};
    if (random() % 4 == 0) {
        if (random() % 2)
            centre.x = random() % 2 ? int(random() % 2) : map.MapWidth - 1 - int(random() % 2);
        else
            centre.y = random() % 2 ? int(random() % 2) : map.MapHeight - 1 - int(random() % 2);
    }
    const Tile tile = random() % 10 == 0 ? Tile{int(random() % 16), int(random() % 80)} : tiles[random() % tiles.size()];
    return {BrushHexes(map, centre, int(random() % 4)).hexes(), tile};
}

// Shapes around the dab on one copy and runs the whole-map passes on another; they must agree on
// every byte, and the hexes shaping reports must be the ones that differ from the painted map.
void VerifyShapingMatchesWholeMap(const MapStore &shaped, const Dab &dab)
{
    auto painted = std::make_unique<MapStore>(shaped);
    Paint(*painted, dab.hexes, dab.tile);
    auto local = std::make_unique<MapStore>(*painted);
    const std::vector<HexCoord> reported = ShapeAround(*local, dab.hexes, Terrains);
    auto whole = std::make_unique<MapStore>(*painted);
    WholeMapPasses(*whole);
    QVERIFY(local->bytes == whole->bytes);
    QCOMPARE(Sorted(reported), Differences(*painted, *local));
}

} // namespace

class LiveShapingTest : public QObject {
    Q_OBJECT
private slots:
    void shapedMapsAgreeWithWholeMapPasses();
    void aChangeReachesThreeStepsOut();
    void unshapedMapsChangeOnlyWithinReach();
    void editsAtTheMapsEdges();
};

// Random dabs on shaped maps: shaping around the dab gives what the menu commands give.
void LiveShapingTest::shapedMapsAgreeWithWholeMapPasses()
{
    const std::vector<std::unique_ptr<MapStore>> maps = ShapedMaps();
    QCOMPARE(maps.size(), std::size_t(4));
    const std::vector<Tile> tiles = BrushTiles();
    std::mt19937 random(17);
    int dabsThatChangedSomething = 0;
    for (const auto &shaped : maps)
        for (int trial = 0; trial < 400; ++trial) {
            const Dab dab = RandomDab(*shaped, random, tiles);
            VerifyShapingMatchesWholeMap(*shaped, dab);
            if (QTest::currentTestFailed()) {
                qWarning("dab of %d hexes of tile %d/%d at (%d, %d)", int(dab.hexes.size()), dab.tile.set, dab.tile.tile,
                         dab.hexes.front().x, dab.hexes.front().y);
                return;
            }
            auto painted = std::make_unique<MapStore>(*shaped);
            Paint(*painted, dab.hexes, dab.tile);
            dabsThatChangedSomething += !ShapeAround(*painted, dab.hexes, Terrains).empty();
        }
    // Most dabs fall on land away from roads and need no shaping; many must have needed some.
    QVERIFY2(dabsThatChangedSomething > 300, qPrintable(QString::number(dabsThatChangedSomething)));
}

// Water painted beside a lake of one hex turns the lake into a coast tile; the road beyond takes a
// beach, and the road beside that beach loses a road neighbour: three steps from the paint.
void LiveShapingTest::aChangeReachesThreeStepsOut()
{
    auto map = testing::BlankMap(14, 14);
    const HexCoord water{6, 7};
    const HexCoord painted = Neighbour(water, HexDirection::SW);
    const HexCoord beach = Neighbour(water, HexDirection::N);
    const HexCoord road = Neighbour(beach, HexDirection::N);
    for (int x = 0; x < 14; ++x)
        for (int y = 0; y < 14; ++y)
            PaintHex(*map, {x, y}, 1, 0, Terrains);
    PaintHex(*map, water, 5, 0, Terrains);
    for (const HexCoord hex : {beach, road, Neighbour(road, HexDirection::N), Neighbour(road, HexDirection::SE)})
        PaintHex(*map, hex, 2, 30, Terrains);
    QVERIFY(ShapeFully(*map) > 0);
    QCOMPARE(HexPattern(*map, CoastPass, water), std::string("OLLLLLL")); // unlisted: the water stays set 5
    QCOMPARE(HexPattern(*map, RoadPass, road), std::string("RORORRO"));  // unlisted: the road keeps tile 30

    // Water painted to its SW leaves the water hex with land all round but there: "OLLLLLO".
    const std::vector<HexCoord> dab{painted};
    VerifyShapingMatchesWholeMap(*map, {dab, {5, 0}});
    PaintHex(*map, painted, 5, 0, Terrains);
    auto before = std::make_unique<MapStore>(*map);
    const std::vector<HexCoord> changed = ShapeAround(*map, dab, Terrains);
    QCOMPARE(HexDistance(road, painted), 3);
    QCOMPARE(int(map->at(TileSet, water.x, water.y)), 0);
    QCOMPARE(int(map->at(TileSet, beach.x, beach.y)), 4);
    QCOMPARE(HexPattern(*map, RoadPass, road), std::string("ROROROO")); // listed: tile 27
    QCOMPARE(int(map->at(TileSet, road.x, road.y)), 2);
    QCOMPARE(int(map->at(TileIndex, road.x, road.y)), 27);
    QVERIFY(std::find(changed.begin(), changed.end(), road) != changed.end());
    int farthest = 0;
    for (const auto &[x, y] : Differences(*before, *map))
        farthest = std::max(farthest, HexDistance({x, y}, painted));
    QCOMPARE(farthest, ShapingReach);
}

// On a map nobody shaped the whole-map passes would reshape it all; shaping around a dab leaves
// every hex beyond the reach, and the outer ring, as it was.
void LiveShapingTest::unshapedMapsChangeOnlyWithinReach()
{
    const Tile mix[] = {{1, 0}, {1, 0}, {0, 52}, {0, 52}, {5, 0}, {2, 30}, {2, 30}, {3, 10}, {0, 20}};
    std::mt19937 random(23);
    const std::vector<Tile> tiles = BrushTiles();
    int farthest = 0;
    for (int round = 0; round < 1000; ++round) {
        const int width = 5 + int(random() % 40), height = 5 + int(random() % 40);
        auto map = testing::BlankMap(width, height);
        for (int x = 0; x < StoreColumns; ++x)
            for (int y = 0; y < StoreRows; ++y) {
                const Tile tile = mix[random() % std::size(mix)];
                PaintHex(*map, {x, y}, tile.set, tile.tile, Terrains);
            }
        const Dab dab = RandomDab(*map, random, tiles);
        Paint(*map, dab.hexes, dab.tile);
        const auto painted = std::make_unique<MapStore>(*map);
        const std::vector<HexCoord> reported = ShapeAround(*map, dab.hexes, Terrains);

        for (int plane = 0; plane < PlaneCount; ++plane)
            if (plane != TileIndex && plane != TileSet && plane != Terrain)
                QVERIFY(std::equal(map->bytes.begin() + MapStore::index(plane, 0, 0),
                                   map->bytes.begin() + MapStore::index(plane + 1, 0, 0),
                                   painted->bytes.begin() + MapStore::index(plane, 0, 0)));
        QCOMPARE(Sorted(reported), Differences(*painted, *map));
        for (const HexCoord hex : reported) {
            QVERIFY(hex.x >= 1 && hex.x <= width - 2 && hex.y >= 1 && hex.y <= height - 2);
            QVERIFY(DistanceToAny(hex, dab.hexes) <= ShapingReach);
            farthest = std::max(farthest, DistanceToAny(hex, dab.hexes));
        }
        auto whole = std::make_unique<MapStore>(*painted);
        WholeMapPasses(*whole);
        int changedFarAway = 0;
        for (const auto &[x, y] : Differences(*painted, *whole))
            changedFarAway += DistanceToAny({x, y}, dab.hexes) > ShapingReach;
        QVERIFY(changedFarAway > 0 || width * height < 100);
    }
    QCOMPARE(farthest, ShapingReach);
}

// Dabs on the corners and edges of shaped maps of several sizes, the smallest with one interior
// hex; hexes off the map in the changed list are ignored.
void LiveShapingTest::editsAtTheMapsEdges()
{
    std::mt19937 random(31);
    const Tile mix[] = {{1, 0}, {0, 52}, {0, 52}, {5, 0}, {2, 30}, {3, 10}};
    const std::vector<Tile> tiles = BrushTiles();
    for (const QSize size : {QSize(3, 3), QSize(4, 7), QSize(11, 5), QSize(72, 70)}) {
        const int w = size.width(), h = size.height();
        auto shaped = testing::BlankMap(w, h);
        for (int x = 0; x < w; ++x)
            for (int y = 0; y < h; ++y) {
                const Tile tile = mix[random() % std::size(mix)];
                PaintHex(*shaped, {x, y}, tile.set, tile.tile, Terrains);
            }
        QVERIFY(ShapeFully(*shaped) > 0);
        for (const HexCoord corner : {HexCoord{0, 0}, HexCoord{w - 1, 0}, HexCoord{0, h - 1}, HexCoord{w - 1, h - 1},
                                      HexCoord{w / 2, 0}, HexCoord{w - 1, h / 2}, HexCoord{1, h - 2}})
            for (int radius = 0; radius <= 3; ++radius)
                for (const Tile tile : {Tile{1, 0}, Tile{0, 53}, Tile{5, 0}, tiles[random() % tiles.size()]}) {
                    VerifyShapingMatchesWholeMap(*shaped, {BrushHexes(*shaped, corner, radius).hexes(), tile});
                    if (QTest::currentTestFailed()) {
                        qWarning("%dx%d map, disc of radius %d at (%d, %d), tile %d/%d", w, h, radius, corner.x, corner.y,
                                 tile.set, tile.tile);
                        return;
                    }
                }

        // Coordinates beside the map, as a dab hanging over its edge names them, change nothing.
        auto map = std::make_unique<MapStore>(*shaped);
        const std::vector<HexCoord> offMap{{-1, 0}, {w, h - 1}, {0, -1}, {w + 3, h + 3}};
        QVERIFY(ShapeAround(*map, offMap, Terrains).empty());
        QVERIFY(map->bytes == shaped->bytes);
    }
}

QTEST_GUILESS_MAIN(LiveShapingTest)
#include "tst_live_shaping.moc"
