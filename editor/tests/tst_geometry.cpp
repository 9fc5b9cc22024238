// Hex and tile geometry, the hexagon mask, and where tile-set files are found.

#include "model/geometry.h"
#include "model/tile_set_files.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace vantor;

class GeometryTest : public QObject {
    Q_OBJECT
private slots:
    void hexRectPlacesOddColumnsLower();
    void hexAtPixelSplitsColumnsAtSevenPastTheStep();
    void hexAtPixelInTheMargins();
    void hexAtPixelFindsTheCentreOfEveryHex();
    void tileRectPlacesEvenColumnsLower();
    void tileAtPixelIsTheInverseOfTileRect();
    void hexMaskMatchesTheTableRowByRow();
    void hexMaskEdges();
    void setFileNames();
    void setFilesAreFoundWithoutRegardToCase();
};

void GeometryTest::hexRectPlacesOddColumnsLower()
{
    QCOMPARE(HexRect(0, 10), (PixelRect{0, 0, 48, 40}));
    QCOMPARE(HexRect(1, 10), (PixelRect{37, 20, 85, 60}));
    QCOMPARE(HexRect(11, 10), (PixelRect{37, 60, 85, 100}));
    QCOMPARE(HexRect(12, 10), (PixelRect{74, 40, 122, 80}));
    QCOMPARE(HexRect(72 * 70 - 1, 72), (PixelRect{37 * 71, 40 * 69 + 20, 37 * 71 + 48, 40 * 69 + 60}));
    QCOMPARE(MapPictureWidth(72), 2676);
    QCOMPARE(MapPictureHeight(70), 2820);
}

void GeometryTest::hexAtPixelSplitsColumnsAtSevenPastTheStep()
{
    QCOMPARE(HexAtPixel(0, 0, 10), 0);
    QCOMPARE(HexAtPixel(43, 19, 10), 0);  // column 1 starts at X = 44
    QCOMPARE(HexAtPixel(44, 19, 10), 1);  // odd column: (19 - 20) div 40 is 0
    QCOMPARE(HexAtPixel(44, 60, 10), 11);
    QCOMPARE(HexAtPixel(40, 60, 10), 10);
    QCOMPARE(HexAtPixel(6, 39, 10), 0);
    QCOMPARE(HexAtPixel(6, 40, 10), 10);
    QCOMPARE(HexAtPixel(80, 59, 10), 1); // column 1 ends at X = 80
    QCOMPARE(HexAtPixel(81, 59, 10), 12);
}

void GeometryTest::hexAtPixelInTheMargins()
{
    // The right margin yields column MapWidth, which splits into column 0 of the next row.
    const int n = HexAtPixel(37 * 10 + 7, 5, 10);
    QCOMPARE(n % 10, 0);
    QCOMPARE(n / 10, 1);
    // Below an even column the last 20 pixels yield row MapHeight.
    QCOMPARE(HexAtPixel(10, MapPictureHeight(5) - 1, 10) / 10, 5);
}

void GeometryTest::hexAtPixelFindsTheCentreOfEveryHex()
{
    for (const int width : {1, 5, 72}) {
        for (int n = 0; n < width * 70; ++n) {
            const PixelRect r = HexRect(n, width);
            QCOMPARE(HexAtPixel(r.left + 24, r.top + 20, width), n);
            // The point the spray stroke uses for a hex.
            const int x = n % width;
            QCOMPARE(HexAtPixel(37 * x + 18 + (x % 2 ? 20 : 0), 40 * (n / width) + 20, width), n);
        }
    }
}

void GeometryTest::tileRectPlacesEvenColumnsLower()
{
    QCOMPARE(TileRect(0), (PixelRect{0, 20, 48, 60}));
    QCOMPARE(TileRect(1), (PixelRect{37, 0, 85, 40}));
    QCOMPARE(TileRect(9), (PixelRect{37, 40, 85, 80}));
    QCOMPARE(TileRect(79), (PixelRect{259, 360, 307, 400}));
    QCOMPARE(TileRect(72), (PixelRect{0, 380, 48, 420}));
}

void GeometryTest::tileAtPixelIsTheInverseOfTileRect()
{
    for (int tile = 0; tile < 88; ++tile) {
        const PixelRect r = TileRect(tile);
        QCOMPARE(TileAtPixel(r.left + 24, r.top + 20), tile);
    }
    // The strip right of the last column reads as the first tile of the next row.
    QCOMPARE(TileAtPixel(310, 100), 8 * ((100 - 20) / 40) + 8);
    QCOMPARE(TileAtPixel(0, 0), 0); // (0 - 20) div 40 is 0
}

void GeometryTest::hexMaskMatchesTheTableRowByRow()
{
    // '.' transparent, '#' hexagon; written out independently of the code's table.
    const char *const rows[TileHeight] = {
        "..........############################..........",
        ".........##############################.........",
        ".........##############################.........",
        "........###############################.........",
        "........################################........",
        ".......##################################.......",
        ".......###################################......",
        "......####################################......",
        ".....######################################.....",
        ".....######################################.....",
        "....########################################....",
        "...##########################################...",
        "...##########################################...",
        "..############################################..",
        "..#############################################.",
        ".##############################################.",
        ".###############################################",
        "################################################",
        "################################################",
        "################################################",
        "################################################",
        ".###############################################",
        ".##############################################.",
        ".##############################################.",
        "..############################################..",
        "...##########################################...",
        "...##########################################...",
        "....########################################....",
        "....#######################################.....",
        ".....######################################.....",
        "......####################################......",
        ".......###################################......",
        ".......##################################.......",
        "........#################################.......",
        "........################################........",
        ".........##############################.........",
        ".........##############################.........",
        "..........#############################.........",
        "...........###########################..........",
        "...........###########################..........",
    };
    for (int y = 0; y < TileHeight; ++y) {
        QString actual;
        for (int x = 0; x < TileWidth; ++x)
            actual += IsInsideHexagon(x, y) ? QLatin1Char('#') : QLatin1Char('.');
        QCOMPARE(actual, QString::fromLatin1(rows[y]));
    }
}

void GeometryTest::hexMaskEdges()
{
    // A 28-pixel top edge at columns 10..37 and a 27-pixel bottom edge at columns 11..37.
    QCOMPARE(TileWidth - HexMask[0].transparentLeft - HexMask[0].transparentRight, 28);
    QVERIFY(IsInsideHexagon(10, 0) && IsInsideHexagon(37, 0) && !IsInsideHexagon(38, 0));
    QCOMPARE(TileWidth - HexMask[39].transparentLeft - HexMask[39].transparentRight, 27);
    QVERIFY(IsInsideHexagon(11, 39) && IsInsideHexagon(37, 39) && !IsInsideHexagon(10, 39));
    QVERIFY(!IsInsideHexagon(0, -1) && !IsInsideHexagon(20, 40));
}

void GeometryTest::setFileNames()
{
    QCOMPARE(SetFileName(0), QStringLiteral("SET00m.BMP"));
    QCOMPARE(SetFileName(5), QStringLiteral("SET05m.BMP"));
    QCOMPARE(SetFileName(15), QStringLiteral("SET15m.BMP"));
    QVERIFY(SetPath(QStringLiteral("/opt/vantor/"), 12).endsWith(QLatin1String("/opt/vantor/SET12m.BMP")));
}

void GeometryTest::setFilesAreFoundWithoutRegardToCase()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const auto touch = [&dir](const QString &name) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    };
    touch(QStringLiteral("Set03m.bmp"));
    touch(QStringLiteral("SET07m.BMP"));
    touch(QStringLiteral("set07M.bmp"));
    QCOMPARE(FindSetFile(dir.path(), 3), dir.filePath(QStringLiteral("Set03m.bmp")));
    QCOMPARE(FindSetFile(dir.path(), 7), dir.filePath(QStringLiteral("SET07m.BMP"))); // the exact name wins
    QVERIFY(FindSetFile(dir.path(), 4).isEmpty());
    QVERIFY(FindSetFile(dir.filePath(QStringLiteral("missing")), 3).isEmpty());
}

QTEST_GUILESS_MAIN(GeometryTest)
#include "tst_geometry.moc"
