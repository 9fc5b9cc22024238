// Cube coordinates, lines, brushes, fills and rectangles on the staggered hex grid.

#include "model/hex_cube.h"
#include "model/hex_neighbours.h"
#include "model/hex_regions.h"

#include <QRandomGenerator>
#include <QTest>

using namespace vantor;

namespace {

MapStore MapOf(int width, int height, int tile)
{
    MapStore map;
    map.MapWidth = width;
    map.MapHeight = height;
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y) {
            map.at(TileSet, x, y) = 1;
            map.at(TileIndex, x, y) = std::uint8_t(tile);
        }
    return map;
}

void PutTile(MapStore &map, HexCoord hex, int tile) { map.at(TileIndex, hex.x, hex.y) = std::uint8_t(tile); }

} // namespace

class HexRegionsTest : public QObject {
    Q_OBJECT
private slots:
    void cubeStepsAreTheNeighbourTable();
    void linesStepFromNeighbourToNeighbour();
    void brushesAreDiscsCutAtTheEdges();
    void fillsCrossBothColumnParities();
    void fillsStayWithinTheirBounds();
    void rectanglesHoldBothEndsAndFollowTheStagger();
    void setsCombine();
};

// The cube form and the road links' neighbour table are two accounts of one grid: they must agree
// in both column parities and for columns left of the map, where a moved block may land.
void HexRegionsTest::cubeStepsAreTheNeighbourTable()
{
    for (const HexCoord hex : {HexCoord{4, 5}, HexCoord{5, 5}, HexCoord{0, 0}, HexCoord{-3, 2}, HexCoord{-4, -1}}) {
        QCOMPARE(FromCube(ToCube(hex)), hex);
        std::vector<HexCoord> ring;
        for (const CubeHex step : DiscSteps(1).subspan(1))
            ring.push_back(FromCube(ToCube(hex) + step));
        for (const HexDirection direction : PatternOrder) {
            const HexCoord neighbour = Neighbour(hex, direction);
            QVERIFY(std::find(ring.begin(), ring.end(), neighbour) != ring.end());
            QCOMPARE(HexDistance(hex, neighbour), 1);
        }
    }
    QCOMPARE(HexDistance({0, 0}, {1, 1}), 2); // a diagonal step in rows and columns from an even column
    QCOMPARE(HexDistance({1, 0}, {2, 1}), 1);
}

void HexRegionsTest::linesStepFromNeighbourToNeighbour()
{
    QRandomGenerator random(7);
    for (int i = 0; i < 500; ++i) {
        const HexCoord a{random.bounded(-2, 74), random.bounded(-2, 72)};
        const HexCoord b{random.bounded(-2, 74), random.bounded(-2, 72)};
        const std::vector<HexCoord> line = HexLine(a, b);
        QCOMPARE(int(line.size()), HexDistance(a, b) + 1);
        QCOMPARE(line.front(), a);
        QCOMPARE(line.back(), b);
        for (std::size_t k = 1; k < line.size(); ++k)
            QCOMPARE(HexDistance(line[k - 1], line[k]), 1);
    }
    // Along a column the line takes every row; across the stagger it takes no wider path than needed.
    QCOMPARE(HexLine({3, 1}, {3, 4}).size(), std::size_t(4));
    QCOMPARE(HexLine({0, 0}, {6, 3}).size(), std::size_t(7));
}

void HexRegionsTest::brushesAreDiscsCutAtTheEdges()
{
    const MapStore map = MapOf(10, 8, 1);
    for (int radius = 0; radius <= LargestBrushRadius; ++radius) {
        QCOMPARE(int(DiscSteps(radius).size()), BrushSizes[radius]);
        for (const HexCoord centre : {HexCoord{4, 4}, HexCoord{5, 4}, HexCoord{0, 0}, HexCoord{9, 7}, HexCoord{1, 7}}) {
            const HexSet brush = BrushHexes(map, centre, radius);
            int expected = 0;
            for (int x = 0; x < map.MapWidth; ++x)
                for (int y = 0; y < map.MapHeight; ++y) {
                    const bool inside = HexDistance(centre, {x, y}) <= radius;
                    expected += inside;
                    QCOMPARE(brush.contains({x, y}), inside);
                }
            QCOMPARE(brush.size(), expected);
        }
        QCOMPARE(BrushHexes(map, {4, 4}, radius).size(), BrushSizes[radius]);
        QCOMPARE(BrushHexes(map, {5, 3}, radius).size(), BrushSizes[radius]);
    }
    // A brush centred off the map paints what reaches onto it.
    QCOMPARE(BrushHexes(map, {-1, 3}, 1).size(), 2);
}

// A line of tile 2 that zig-zags down the columns is one region only through the stagger: (0,2)
// and (1,2) touch, (1,2) and (2,3) touch, but never in the same row from an even column.
void HexRegionsTest::fillsCrossBothColumnParities()
{
    MapStore map = MapOf(6, 6, 1);
    const std::vector<HexCoord> chain = {{0, 2}, {1, 2}, {2, 3}, {3, 3}, {4, 4}, {5, 3}};
    for (const HexCoord hex : chain)
        PutTile(map, hex, 2);
    PutTile(map, {2, 0}, 2); // same tile, not joined
    const HexSet region = ConnectedSameTile(map, {3, 3});
    QCOMPARE(region.size(), int(chain.size()));
    for (const HexCoord hex : chain)
        QVERIFY(region.contains(hex));
    QCOMPARE(SameTileHexes(map, {3, 3}).size(), int(chain.size()) + 1);
    // (1,1) odd and (2,0) even are not neighbours, (1,0) and (2,0) are.
    PutTile(map, {1, 1}, 2);
    QVERIFY(!ConnectedSameTile(map, {2, 0}).contains({1, 1}));
    PutTile(map, {1, 0}, 2);
    QVERIFY(ConnectedSameTile(map, {2, 0}).contains({1, 1}));
    // Another set's tile of the same number is another tile.
    map.at(TileSet, 0, 2) = 3;
    QVERIFY(!ConnectedSameTile(map, {3, 3}).contains({0, 2}));
}

void HexRegionsTest::fillsStayWithinTheirBounds()
{
    const MapStore map = MapOf(8, 8, 1);
    QCOMPARE(ConnectedSameTile(map, {0, 0}), WholeMap(map));
    QVERIFY(ConnectedSameTile(map, {8, 0}).empty());
    HexSet within = HexRectangle(map, {2, 2}, {5, 5});
    within.erase({4, 4});
    const HexSet region = ConnectedSameTile(map, {3, 3}, &within);
    QCOMPARE(region, within);
    QVERIFY(ConnectedSameTile(map, {0, 0}, &within).empty());
}

void HexRegionsTest::rectanglesHoldBothEndsAndFollowTheStagger()
{
    const MapStore map = MapOf(10, 10, 1);
    // Between rows 2 and 4 of even columns, the odd columns' centres at rows 2 and 3 lie inside.
    const HexSet even = HexRectangle(map, {2, 2}, {4, 4});
    QCOMPARE(even.size(), 3 + 2 + 3);
    QVERIFY(even.contains({3, 2}) && even.contains({3, 3}) && !even.contains({3, 4}));
    // From an odd column's top the even columns lose their top row.
    const HexSet odd = HexRectangle(map, {3, 2}, {5, 4});
    QCOMPARE(odd.size(), 3 + 2 + 3);
    QVERIFY(odd.contains({4, 3}) && odd.contains({4, 4}) && !odd.contains({4, 2}));
    QCOMPARE(HexRectangle(map, {4, 4}, {2, 2}), even);
    QCOMPARE(HexRectangle(map, {6, 6}, {6, 6}).size(), 1);
    // Dragged past the map, the rectangle keeps to it.
    QCOMPARE(HexRectangle(map, {-3, -3}, {20, 20}), WholeMap(map));
}

void HexRegionsTest::setsCombine()
{
    const MapStore map = MapOf(5, 5, 1);
    HexSet a = HexRectangle(map, {0, 0}, {2, 2});
    const HexSet b = HexRectangle(map, {2, 2}, {4, 4});
    HexSet both = a;
    both &= b;
    QCOMPARE(both.hexes(), (std::vector<HexCoord>{HexCoord{2, 2}}));
    a |= b;
    a -= both;
    QCOMPARE(a.size(), 8 + 8 - 2); // the odd middle column of each holds two rows
    QVERIFY(!a.contains({2, 2}) && a.contains({4, 4}));
    QVERIFY(!a.contains({-1, 0}) && !a.contains({StoreColumns, 0}));
}

QTEST_APPLESS_MAIN(HexRegionsTest)
#include "tst_hex_regions.moc"
