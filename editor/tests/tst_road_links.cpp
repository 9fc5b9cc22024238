// Road connections: the neighbour rule, making and clearing links, the toggle of one pair, and the
// overlay drawn over the map picture.

#include "test_support.h"

#include "render/road_overlay.h"
#include "tools/road_links.h"

#include <QPainter>
#include <QPen>
#include <QTest>

#include <random>

using namespace vantor;
using testing::CountColour;

namespace {

const QRgb Yellow = qRgb(255, 255, 0);
const QRgb Black = qRgb(0, 0, 0);

// A map whose hexes all have the given terrain and no tile that bears a road.
std::unique_ptr<MapStore> TerrainMap(int width, int height, int terrain)
{
    auto map = testing::BlankMap(width, height);
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y) {
            map->at(Terrain, x, y) = std::uint8_t(terrain);
            map->at(TileSet, x, y) = 1;
        }
    return map;
}

QImage BlackPicture(const MapStore &map)
{
    QImage picture(37 * map.MapWidth + 12, 40 * map.MapHeight + 20, QImage::Format_RGB32);
    picture.fill(Black);
    return picture;
}

int Links(const MapStore &map, int x, int y) { return map.at(RoadLinks, x, y); }

} // namespace

class RoadLinksTest : public QObject {
    Q_OBJECT
private slots:
    void neighbourRuleByColumnParity_data();
    void neighbourRuleByColumnParity();
    void roadHexes_data();
    void roadHexes();
    void roadOnlyMapGetsEveryLinkOnTheMap();
    void makingIsIdempotentAndRestoresToggledLinks();
    void airfieldLinksToRoadButJunglePathDoesNot();
    void clearingZeroesTheMapOnly();
    void togglePairsFlipTheirBits_data();
    void togglePairsFlipTheirBits();
    void toggleFollowsTheReferenceHex();
    void toggleIgnoresPairsThatAreNotNeighbours();
    void overlayDrawsHalfLines();
    void overlayLeavesTheOutermostRing();
    void overlayInBandsMatchesTheWholePicture();
    void overlayIsDrawnWithTheRoadPen();
};

void RoadLinksTest::neighbourRuleByColumnParity_data()
{
    QTest::addColumn<int>("direction");
    QTest::addColumn<int>("bit");
    QTest::addColumn<int>("opposite");
    QTest::addColumn<QPoint>("fromEven"); // neighbour of (4, 5)
    QTest::addColumn<QPoint>("fromOdd");  // neighbour of (3, 5)
    QTest::newRow("NW") << int(HexDirection::NW) << 0x80 << 0x08 << QPoint(3, 4) << QPoint(2, 5);
    QTest::newRow("N") << int(HexDirection::N) << 0x01 << 0x10 << QPoint(4, 4) << QPoint(3, 4);
    QTest::newRow("NE") << int(HexDirection::NE) << 0x02 << 0x20 << QPoint(5, 4) << QPoint(4, 5);
    QTest::newRow("SE") << int(HexDirection::SE) << 0x08 << 0x80 << QPoint(5, 5) << QPoint(4, 6);
    QTest::newRow("S") << int(HexDirection::S) << 0x10 << 0x01 << QPoint(4, 6) << QPoint(3, 6);
    QTest::newRow("SW") << int(HexDirection::SW) << 0x20 << 0x02 << QPoint(3, 5) << QPoint(2, 6);
}

void RoadLinksTest::neighbourRuleByColumnParity()
{
    QFETCH(int, direction);
    QFETCH(int, bit);
    QFETCH(int, opposite);
    QFETCH(QPoint, fromEven);
    QFETCH(QPoint, fromOdd);
    const auto d = HexDirection(direction);
    QCOMPARE(int(LinkBitOf(d)), bit);
    QCOMPARE(int(LinkBitOf(Opposite(d))), opposite);
    QCOMPARE(Neighbour({4, 5}, d), (HexCoord{fromEven.x(), fromEven.y()}));
    QCOMPARE(Neighbour({3, 5}, d), (HexCoord{fromOdd.x(), fromOdd.y()}));
    // Going there and back again.
    QCOMPARE(Neighbour(Neighbour({4, 5}, d), Opposite(d)), (HexCoord{4, 5}));
    QCOMPARE(Neighbour(Neighbour({3, 5}, d), Opposite(d)), (HexCoord{3, 5}));
    QCOMPARE(DirectionTowards({4, 5}, {fromEven.x(), fromEven.y()}), std::optional<HexDirection>(d));
    QCOMPARE(DirectionTowards({3, 5}, {fromOdd.x(), fromOdd.y()}), std::optional<HexDirection>(d));
    // The overlay's half-line ends: from the centre halfway to the neighbour's centre.
    const QPoint centre = HexCentre({4, 5});
    const QPoint half = (HexCentre({fromEven.x(), fromEven.y()}) - centre);
    const QPoint expectedEnds[] = {{-18, -10}, {0, -20}, {18, -10}, {18, 10}, {0, 20}, {-18, 10}};
    QCOMPARE(QPoint(half.x() / 2, half.y() / 2), expectedEnds[direction]);
}

void RoadLinksTest::roadHexes_data()
{
    QTest::addColumn<int>("terrain");
    QTest::addColumn<int>("set");
    QTest::addColumn<int>("tile");
    QTest::addColumn<bool>("road");
    for (const int terrain : {0, 1, 2, 3, 12, 33, 34})
        QTest::addRow("terrain %d", terrain) << terrain << 1 << 0 << true;
    for (const int terrain : {4, 11, 13, 24, 32, 35, 36})
        QTest::addRow("terrain %d", terrain) << terrain << 1 << 0 << false;
    for (const int tile : {20, 27, 34, 39, 40, 76, 77, 78, 79})
        QTest::addRow("river tile %d", tile) << 24 << 3 << tile << true;
    for (const int tile : {10, 19, 35, 38, 41, 75, 80})
        QTest::addRow("river tile %d", tile) << 24 << 3 << tile << false;
    for (const int tile : {10, 14, 50, 54, 65, 69})
        QTest::addRow("fort tile %d", tile) << 7 << 9 << tile << true;
    for (const int tile : {9, 15, 49, 55, 64, 70})
        QTest::addRow("fort tile %d", tile) << 7 << 9 << tile << false;
    QTest::addRow("road tile of another set") << 7 << 2 << 30 << false;
}

void RoadLinksTest::roadHexes()
{
    QFETCH(int, terrain);
    QFETCH(int, set);
    QFETCH(int, tile);
    QFETCH(bool, road);
    auto map = testing::BlankMap(6, 4);
    map->at(Terrain, 2, 1) = std::uint8_t(terrain);
    map->at(TileSet, 2, 1) = std::uint8_t(set);
    map->at(TileIndex, 2, 1) = std::uint8_t(tile);
    QCOMPARE(IsRoadHex(*map, 2, 1), road);
    // Off the map nothing is a road, whatever the store holds there.
    map->at(Terrain, 6, 1) = 2;
    map->at(Terrain, 2, 4) = 2;
    QVERIFY(!IsRoadHex(*map, 6, 1));
    QVERIFY(!IsRoadHex(*map, 2, 4));
    QVERIFY(!IsRoadHex(*map, -1, 1));
    QVERIFY(!IsRoadHex(*map, 2, -1));
}

void RoadLinksTest::roadOnlyMapGetsEveryLinkOnTheMap()
{
    auto map = TerrainMap(6, 5, 2);
    map->at(RoadLinks, 2, 2) = 0x44; // bits the editor never touches
    MakeRoadConnections(*map);
    for (int x = 1; x <= 4; ++x)
        for (int y = 1; y <= 3; ++y)
            QCOMPARE(Links(*map, x, y) & 0xBB, 0xBB);
    QCOMPARE(Links(*map, 2, 2), 0xFF);
    QCOMPARE(Links(*map, 3, 2), 0xBB);
    // Column 0: no NW, no SW.
    QCOMPARE(Links(*map, 0, 2), 0x1B);
    // An even column in row 0: no N, NE or NW.
    QCOMPARE(Links(*map, 2, 0), 0x38);
    QCOMPARE(Links(*map, 0, 0), 0x18);
    // An odd column in row 0: no N, but NE and NW.
    QCOMPARE(Links(*map, 1, 0), 0xBA);
    // The last column (5, odd): no NE, no SE; the last row of an odd column: no S, SE, SW.
    QCOMPARE(Links(*map, 5, 2), 0xB1);
    QCOMPARE(Links(*map, 3, 4), 0x83);
    // Links come in pairs.
    for (int x = 0; x < 6; ++x)
        for (int y = 0; y < 5; ++y)
            for (const HexDirection d : PatternOrder)
                if (Links(*map, x, y) & LinkBitOf(d)) {
                    const HexCoord n = Neighbour({x, y}, d);
                    QVERIFY(IsOnMap(*map, n.x, n.y));
                    QVERIFY(Links(*map, n.x, n.y) & LinkBitOf(Opposite(d)));
                }
    // Nothing beyond the map.
    QCOMPARE(Links(*map, 6, 2), 0);
    QCOMPARE(Links(*map, 2, 5), 0);
}

void RoadLinksTest::makingIsIdempotentAndRestoresToggledLinks()
{
    auto map = TerrainMap(9, 8, 11);
    for (const HexCoord hex : {HexCoord{2, 2}, HexCoord{3, 3}, HexCoord{4, 2}, HexCoord{4, 3}, HexCoord{6, 5}})
        map->at(Terrain, hex.x, hex.y) = 3;
    map->at(RoadLinks, 7, 7) = 0x10; // a link from a file, kept
    MakeRoadConnections(*map);
    const MapStore once = *map;
    MakeRoadConnections(*map);
    QVERIFY(map->bytes == once.bytes);
    QCOMPARE(Links(*map, 7, 7), 0x10);
    QCOMPARE(Links(*map, 6, 5), 0);

    QCOMPARE(ToggleRoadLink(*map, {4, 2}, {4, 3}), RoadToggle::LinkRemoved);
    QCOMPARE(Links(*map, 4, 2) & LinkS, 0);
    MakeRoadConnections(*map);
    QVERIFY(map->bytes == once.bytes);
}

void RoadLinksTest::airfieldLinksToRoadButJunglePathDoesNot()
{
    auto map = TerrainMap(8, 8, 11);
    map->at(Terrain, 3, 3) = 33; // dirt airfield
    map->at(Terrain, 3, 4) = 2;  // dirt road to its S
    map->at(Terrain, 4, 3) = 32; // jungle path to its SE (3 is odd)
    map->at(Terrain, 2, 3) = 32; // and its NW
    MakeRoadConnections(*map);
    QCOMPARE(Links(*map, 3, 3), int(LinkS));
    QCOMPARE(Links(*map, 3, 4), int(LinkN));
    QCOMPARE(Links(*map, 4, 3), 0);
    QCOMPARE(Links(*map, 2, 3), 0);
}

void RoadLinksTest::clearingZeroesTheMapOnly()
{
    auto map = TerrainMap(10, 6, 2);
    MakeRoadConnections(*map);
    map->at(RoadLinks, 10, 0) = 0x21; // beyond the map's columns
    map->at(RoadLinks, 0, 6) = 0x12;  // beyond its rows
    map->at(TileIndex, 4, 4) = 17;
    ClearRoadConnections(*map);
    for (int x = 0; x < 10; ++x)
        for (int y = 0; y < 6; ++y)
            QCOMPARE(Links(*map, x, y), 0);
    QCOMPARE(Links(*map, 10, 0), 0x21);
    QCOMPARE(Links(*map, 0, 6), 0x12);
    QCOMPARE(int(map->at(TileIndex, 4, 4)), 17);
}

void RoadLinksTest::togglePairsFlipTheirBits_data()
{
    QTest::addColumn<QPoint>("first");
    QTest::addColumn<QPoint>("second");
    QTest::addColumn<int>("firstBit");
    QTest::addColumn<int>("secondBit");
    QTest::newRow("(4,5) (5,5)") << QPoint(4, 5) << QPoint(5, 5) << 0x08 << 0x80;
    QTest::newRow("(5,5) (4,5)") << QPoint(5, 5) << QPoint(4, 5) << 0x80 << 0x08;
    QTest::newRow("(3,5) (4,5)") << QPoint(3, 5) << QPoint(4, 5) << 0x02 << 0x20;
    QTest::newRow("(3,5) (4,6)") << QPoint(3, 5) << QPoint(4, 6) << 0x08 << 0x80;
    QTest::newRow("(4,6) (3,5)") << QPoint(4, 6) << QPoint(3, 5) << 0x80 << 0x08;
    QTest::newRow("(4,4) (4,5)") << QPoint(4, 4) << QPoint(4, 5) << 0x10 << 0x01;
    QTest::newRow("(3,6) (3,5)") << QPoint(3, 6) << QPoint(3, 5) << 0x01 << 0x10;
    QTest::newRow("(4,5) (3,4)") << QPoint(4, 5) << QPoint(3, 4) << 0x80 << 0x08;
    QTest::newRow("(0,0) (1,0)") << QPoint(0, 0) << QPoint(1, 0) << 0x08 << 0x80;
}

void RoadLinksTest::togglePairsFlipTheirBits()
{
    QFETCH(QPoint, first);
    QFETCH(QPoint, second);
    QFETCH(int, firstBit);
    QFETCH(int, secondBit);
    auto map = TerrainMap(10, 10, 11);
    map->at(RoadLinks, first.x(), first.y()) = 0x44;
    const HexCoord a{first.x(), first.y()};
    const HexCoord b{second.x(), second.y()};

    QCOMPARE(ToggleRoadLink(*map, a, b), RoadToggle::LinkAdded);
    QCOMPARE(Links(*map, a.x, a.y), 0x44 | firstBit);
    QCOMPARE(Links(*map, b.x, b.y), secondBit);

    // The second toggle, either way round, removes it.
    QCOMPARE(ToggleRoadLink(*map, b, a), RoadToggle::LinkRemoved);
    QCOMPARE(Links(*map, a.x, a.y), 0x44);
    QCOMPARE(Links(*map, b.x, b.y), 0);
}

// A one-sided link: the reference hex decides whether the toggle adds or removes, and both bits flip.
void RoadLinksTest::toggleFollowsTheReferenceHex()
{
    auto map = TerrainMap(10, 10, 11);
    // (4, 5) even, (5, 5) odd: (4, 5) is the reference. Only (5, 5) holds the link.
    map->at(RoadLinks, 5, 5) = LinkNW;
    QCOMPARE(ToggleRoadLink(*map, {5, 5}, {4, 5}), RoadToggle::LinkAdded);
    QCOMPARE(Links(*map, 5, 5), 0);
    QCOMPARE(Links(*map, 4, 5), int(LinkSE));
    // Only the reference holds it now: removing.
    QCOMPARE(ToggleRoadLink(*map, {5, 5}, {4, 5}), RoadToggle::LinkRemoved);
    QCOMPARE(Links(*map, 5, 5), int(LinkNW));
    QCOMPARE(Links(*map, 4, 5), 0);

    // A north-south pair: the upper hex is the reference, whichever is clicked first.
    map->at(RoadLinks, 7, 3) = LinkS;
    QCOMPARE(ToggleRoadLink(*map, {7, 4}, {7, 3}), RoadToggle::LinkRemoved);
    QCOMPARE(Links(*map, 7, 3), 0);
    QCOMPARE(Links(*map, 7, 4), int(LinkN));
    QCOMPARE(ToggleRoadLink(*map, {7, 3}, {7, 4}), RoadToggle::LinkAdded);
    QCOMPARE(Links(*map, 7, 3), int(LinkS));
    QCOMPARE(Links(*map, 7, 4), 0);
}

void RoadLinksTest::toggleIgnoresPairsThatAreNotNeighbours()
{
    auto map = TerrainMap(10, 10, 2);
    MakeRoadConnections(*map);
    const MapStore before = *map;
    const QList<QPair<HexCoord, HexCoord>> pairs = {
        {{4, 5}, {4, 5}},   // the same hex twice
        {{3, 5}, {5, 5}},   // two columns apart
        {{4, 2}, {4, 4}},   // two rows apart
        {{3, 5}, {4, 4}},   // a diagonal step that is no neighbour of an odd column
        {{4, 5}, {5, 6}},   // nor of an even one
        {{0, 0}, {-1, 0}},  // off the map to the west
        {{0, 0}, {0, -1}},  // and to the north
        {{9, 9}, {10, 9}},  // beyond the last column
        {{9, 9}, {9, 10}},  // beyond the last row
        {{-1, -1}, {0, 0}}, // a first click off the map
    };
    for (const auto &[first, second] : pairs) {
        QCOMPARE(ToggleRoadLink(*map, first, second), RoadToggle::Unchanged);
        QVERIFY(map->bytes == before.bytes);
    }

    // On a smaller map the bytes beyond its edge are left alone too.
    auto small = TerrainMap(4, 3, 2);
    small->at(RoadLinks, 4, 1) = 0x55;
    QCOMPARE(ToggleRoadLink(*small, {3, 1}, {4, 1}), RoadToggle::Unchanged);
    QCOMPARE(Links(*small, 3, 1), 0);
    QCOMPARE(Links(*small, 4, 1), 0x55);
}

void RoadLinksTest::overlayDrawsHalfLines()
{
    struct Case {
        HexDirection direction;
        QPoint end;
    };
    const Case cases[] = {{HexDirection::N, {0, -20}},  {HexDirection::NE, {18, -10}}, {HexDirection::SE, {18, 10}},
                          {HexDirection::S, {0, 20}},   {HexDirection::SW, {-18, 10}}, {HexDirection::NW, {-18, -10}}};
    for (const HexCoord hex : {HexCoord{4, 4}, HexCoord{3, 4}}) {
        for (const Case &c : cases) {
            auto map = TerrainMap(9, 9, 11);
            map->at(RoadLinks, hex.x, hex.y) = LinkBitOf(c.direction);
            QImage picture = BlackPicture(*map);
            DrawRoadOverlay(*map, picture);
            const QPoint centre = HexCentre(hex);
            // The line runs from the centre to the end point...
            for (int step = 0; step <= 8; ++step)
                QVERIFY2(picture.pixel(centre + c.end * step / 8) == Yellow, qPrintable(QStringLiteral("step %1").arg(step)));
            // ...and stops there: the rest of the way to the neighbour's centre stays dark.
            const QPoint neighbour = HexCentre(Neighbour(hex, c.direction));
            for (int step = 2; step <= 8; ++step) {
                const QPoint beyond = centre + c.end + (neighbour - centre - c.end) * step / 8;
                QVERIFY2(picture.pixel(beyond) == Black, qPrintable(QStringLiteral("beyond, step %1").arg(step)));
            }
            // Nothing in the other directions.
            for (const Case &other : cases)
                if (other.direction != c.direction)
                    QCOMPARE(picture.pixel(centre + other.end * 3 / 4), Black);
        }
    }

    // A link on both sides draws one line from centre to centre; no other colour is used.
    auto map = TerrainMap(9, 9, 11);
    QCOMPARE(ToggleRoadLink(*map, {4, 4}, {5, 4}), RoadToggle::LinkAdded);
    QImage picture = BlackPicture(*map);
    DrawRoadOverlay(*map, picture);
    for (int step = 0; step <= 10; ++step)
        QCOMPARE(picture.pixel(HexCentre({4, 4}) + (HexCentre({5, 4}) - HexCentre({4, 4})) * step / 10), Yellow);
    QCOMPARE(CountColour(picture, Yellow) + CountColour(picture, Black), picture.width() * picture.height());
    // The bits without a direction draw nothing.
    auto unnamed = TerrainMap(9, 9, 11);
    unnamed->at(RoadLinks, 4, 4) = 0x44;
    QImage blank = BlackPicture(*unnamed);
    DrawRoadOverlay(*unnamed, blank);
    QCOMPARE(CountColour(blank, Black), blank.width() * blank.height());
}

void RoadLinksTest::overlayLeavesTheOutermostRing()
{
    auto map = TerrainMap(5, 5, 2);
    MakeRoadConnections(*map);
    QImage picture = BlackPicture(*map);
    DrawRoadOverlay(*map, picture);
    for (int x = 0; x < 5; ++x)
        for (int y = 0; y < 5; ++y) {
            const bool interior = x >= 1 && x <= 3 && y >= 1 && y <= 3;
            const QPoint centre = HexCentre({x, y});
            // Interior hexes draw all six half-lines; ring hexes draw none of their own, so only
            // their side of the lines coming in from interior neighbours is lit.
            QCOMPARE(picture.pixel(centre), interior ? Yellow : Black);
            for (const QPoint towards : {QPoint(0, -12), QPoint(0, 12), QPoint(11, -6), QPoint(-11, 6)})
                QCOMPARE(picture.pixel(centre + towards), interior ? Yellow : Black);
        }
}

// The command-line render draws the overlay band by band; the bands must join into the same picture.
void RoadLinksTest::overlayInBandsMatchesTheWholePicture()
{
    auto map = TerrainMap(20, 17, 11);
    std::mt19937 random(3);
    for (int x = 0; x < 20; ++x)
        for (int y = 0; y < 17; ++y)
            map->at(RoadLinks, x, y) = std::uint8_t(random());
    QImage whole = BlackPicture(*map);
    DrawRoadOverlay(*map, whole);
    QVERIFY(CountColour(whole, Yellow) > 1000);
    for (const int bandHeight : {64, 13, 1}) {
        QImage joined(whole.size(), QImage::Format_RGB32);
        for (int top = 0; top < whole.height(); top += bandHeight) {
            QImage band(whole.width(), std::min(bandHeight, whole.height() - top), QImage::Format_RGB32);
            band.fill(Black);
            DrawRoadOverlay(*map, band, top);
            for (int y = 0; y < band.height(); ++y)
                std::copy_n(reinterpret_cast<const QRgb *>(band.constScanLine(y)), band.width(),
                            reinterpret_cast<QRgb *>(joined.scanLine(top + y)));
        }
        QCOMPARE(joined, whole);
    }
}

// The overlay's lines are those of a yellow pen 3 pixels wide, from each interior hex centre halfway
// to each linked neighbour's centre.
void RoadLinksTest::overlayIsDrawnWithTheRoadPen()
{
    auto map = TerrainMap(14, 11, 11);
    std::mt19937 random(8);
    for (int x = 0; x < 14; ++x)
        for (int y = 0; y < 11; ++y)
            map->at(RoadLinks, x, y) = std::uint8_t(random() & random());
    QImage expected = BlackPicture(*map);
    {
        QPainter painter(&expected);
        QPen pen(QColor(255, 255, 0));
        pen.setWidth(3);
        pen.setCapStyle(Qt::RoundCap);
        painter.setPen(pen);
        for (int x = 1; x <= 12; ++x)
            for (int y = 1; y <= 9; ++y)
                for (const HexDirection d : PatternOrder)
                    if (map->at(RoadLinks, x, y) & LinkBitOf(d)) {
                        const QPoint centre = HexCentre({x, y});
                        const QPoint towards = HexCentre(Neighbour({x, y}, d)) - centre;
                        painter.drawLine(centre, centre + QPoint(towards.x() / 2, towards.y() / 2));
                    }
    }
    QImage picture = BlackPicture(*map);
    DrawRoadOverlay(*map, picture);
    QCOMPARE(picture, expected);
    // Any 32-bit picture takes it alike.
    QImage premultiplied = BlackPicture(*map).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    DrawRoadOverlay(*map, premultiplied);
    QCOMPARE(premultiplied.convertToFormat(QImage::Format_RGB32), expected);
}

QTEST_GUILESS_MAIN(RoadLinksTest)
#include "tst_road_links.moc"
