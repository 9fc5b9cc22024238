// vantor-cli's map tools: tool steps, sketch conversion, the road overlay of render, and the sample
// map the build makes.

#include "test_support.h"

#include "files/native_map_file.h"
#include "model/terrain_tables.h"
#include "render/bmp_encoding.h"
#include "render/map_renderer.h"
#include "render/road_overlay.h"
#include "render/tile_set_library.h"
#include "tools/pattern_passes.h"
#include "tools/road_links.h"
#include "tools/sketch_conversion.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace vantor;
using testing::CliRun;
using testing::RunCli;
using testing::Contents;
using testing::Write;

namespace {

// A map with sea round an island of clear land, a road of set-2 tiles and a river of set-3 tiles.
std::unique_ptr<MapStore> ToolMap()
{
    auto map = testing::BlankMap(20, 16);
    for (int x = 0; x < 20; ++x)
        for (int y = 0; y < 16; ++y) {
            const bool land = x >= 4 && x <= 15 && y >= 3 && y <= 12;
            map->at(TileSet, x, y) = land ? 1 : 5;
            map->at(Terrain, x, y) = land ? 11 : 21;
            map->at(PlaceIndex, x, y) = 255;
            map->at(PlaceIndexHigh, x, y) = 127;
        }
    for (int y = 4; y <= 11; ++y) {
        map->at(TileSet, 8, y) = 2;
        map->at(TileIndex, 8, y) = 30;
        map->at(Terrain, 8, y) = 3;
        map->at(TileSet, 12, y) = 3;
        map->at(TileIndex, 12, y) = 10;
    }
    map->at(RoadLinks, 14, 5) = 0x30; // a link from an earlier edit
    return map;
}

std::unique_ptr<MapStore> ReadMap(const QString &path)
{
    auto map = std::make_unique<MapStore>();
    const QString error = ReadMapFile(path, *map);
    if (!error.isEmpty())
        qWarning("%s", qPrintable(error));
    return map;
}

QImage Sketch()
{
    QImage sketch(123, 87, QImage::Format_RGB32);
    const QRgb colours[] = {qRgb(0, 0, 127), qRgb(0, 255, 0), qRgb(0, 127, 0), qRgb(255, 255, 255),
                            qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(255, 255, 0)};
    for (int y = 0; y < sketch.height(); ++y)
        for (int x = 0; x < sketch.width(); ++x)
            sketch.setPixel(x, y, colours[(x / 7 + 2 * (y / 6)) % 7]);
    return sketch;
}

} // namespace

class ToolsCliTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void helpNamesTheNewCommands();
    void toolStepsApplyInOrder_data();
    void toolStepsApplyInOrder();
    void toolRefusesBadArguments();
    void sketchMakesAMapOfTheWindowsSize();
    void sketchSeedRepeatsTheVariants();
    void sketchRefusesBadArguments();
    void renderDrawsTheRoadOverlay();
    void sampleMapIsTheShapedIsland();

private:
    QString path(const QString &name) const { return dir.filePath(name); }
    QTemporaryDir dir;
    QTemporaryDir setsDir;
    QString toolMap;
    QString sketch;
};

void ToolsCliTest::initTestCase()
{
    QVERIFY(dir.isValid() && setsDir.isValid());
    for (int s = 0; s < 16; ++s)
        testing::WriteSyntheticTileSet(setsDir.path(), s);
    toolMap = path(QStringLiteral("tools.map"));
    QCOMPARE(WriteMapFile(toolMap, *ToolMap()), QString());
    sketch = path(QStringLiteral("sketch.bmp"));
    Write(sketch, EncodeBmp24(Sketch()));
}

void ToolsCliTest::helpNamesTheNewCommands()
{
    const CliRun run = RunCli({QStringLiteral("--help")});
    QCOMPARE(run.status, 0);
    QVERIFY(run.out.contains(QStringLiteral("tool IN OUT STEP...")));
    QVERIFY(run.out.contains(QStringLiteral("sketch SKETCH.bmp OUT [--scale N] [--seed N]")));
    QVERIFY(run.out.contains(QStringLiteral("--roads")));
}

void ToolsCliTest::toolStepsApplyInOrder_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::newRow("coastline") << QStringList{"coastline"};
    QTest::newRow("roads") << QStringList{"roads"};
    QTest::newRow("rivers") << QStringList{"rivers"};
    QTest::newRow("links") << QStringList{"links"};
    QTest::newRow("clear-links") << QStringList{"clear-links"};
    QTest::newRow("links then clear-links") << QStringList{"links", "clear-links"};
    QTest::newRow("clear-links then links") << QStringList{"clear-links", "links"};
    QTest::newRow("roads then links") << QStringList{"roads", "links"};
    QTest::newRow("links then roads") << QStringList{"links", "roads"};
    QTest::newRow("everything") << QStringList{"coastline", "roads", "rivers", "links"};
    QTest::newRow("coastline twice") << QStringList{"coastline", "coastline"};
}

// Each step changes the map as its menu command does.
void ToolsCliTest::toolStepsApplyInOrder()
{
    QFETCH(QStringList, steps);
    auto expected = ToolMap();
    const DefaultTerrainTable terrains = InitialDefaultTerrain();
    for (const QString &step : steps) {
        if (step == QLatin1String("coastline"))
            MakeCoastline(*expected, terrains);
        else if (step == QLatin1String("roads"))
            MakeRoads(*expected, terrains);
        else if (step == QLatin1String("rivers"))
            MakeRivers(*expected, terrains);
        else if (step == QLatin1String("links"))
            MakeRoadConnections(*expected);
        else
            ClearRoadConnections(*expected);
    }
    const QString out = path(QStringLiteral("tool-out.map"));
    QFile::remove(out);
    const CliRun run = RunCli(QStringList{QStringLiteral("tool"), toolMap, out} + steps);
    QCOMPARE(run.status, 0);
    QCOMPARE(run.err, QString());
    QCOMPARE(Contents(out), EncodeMapFile(*expected));
    QVERIFY(Contents(out) != Contents(toolMap));
}

void ToolsCliTest::toolRefusesBadArguments()
{
    const QString out = path(QStringLiteral("refused.map"));
    const struct {
        QStringList arguments;
        int status;
    } cases[] = {
        {{"tool", toolMap, out}, 2},                                 // no step
        {{"tool", toolMap, out, "coastline", "bridges"}, 2},         // an unknown step: nothing is done
        {{"tool", toolMap, out, "--seed", "3", "roads"}, 2},         // an unknown option
        {{"tool", toolMap, path("out.txt"), "roads"}, 2},            // an unknown output type
        {{"tool", path("missing.map"), out, "roads"}, 1},            // no such input
        {{"tool", toolMap, path("no/such/folder/out.map"), "links"}, 1}, // the output cannot be written
    };
    for (const auto &c : cases) {
        QFile::remove(out);
        const CliRun run = RunCli(c.arguments);
        QVERIFY2(run.status == c.status, qPrintable(c.arguments.join(' ') + QStringLiteral(": ") + run.err));
        QVERIFY(run.err.startsWith(QStringLiteral("vantor-cli: ")));
        QVERIFY(!QFileInfo::exists(out));
    }
    // A map file that is no map.
    const QString bad = path(QStringLiteral("bad.map"));
    Write(bad, QByteArray("\x01", 1));
    QCOMPARE(RunCli({"tool", bad, out, "coastline"}).status, 1);
    QVERIFY(!QFileInfo::exists(out));
}

void ToolsCliTest::sketchMakesAMapOfTheWindowsSize()
{
    const QString out = path(QStringLiteral("sketch.map"));
    CliRun run = RunCli({"sketch", sketch, out, "--seed", "9"});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.err, QString());
    auto map = ReadMap(out);
    QCOMPARE(map->MapWidth, 123 / 5);
    QCOMPARE(map->MapHeight, 87 / 5);

    // The same conversion as the window's, on a new, empty map.
    auto expected = testing::BlankMap(24, 17);
    VariantSource random(9);
    ConvertSketch(Sketch(), 5, *expected, InitialDefaultTerrain(), random);
    QCOMPARE(Contents(out), EncodeMapFile(*expected));
    QCOMPARE(int(map->at(RoadLinks, 3, 3)), 0);
    QCOMPARE(int(map->at(PlaceIndexHigh, 3, 3)), 127);

    for (const auto &[scale, width, height] : {std::tuple{3, 41, 29}, {10, 12, 8}}) {
        run = RunCli({"sketch", sketch, out, "--scale", QString::number(scale)});
        QCOMPARE(run.status, 0);
        map = ReadMap(out);
        QCOMPARE(map->MapWidth, width);
        QCOMPARE(map->MapHeight, height);
        QCOMPARE(int(map->at(TileSet, 0, 0)), 0);
    }

    // A large sketch is cut to 72 x 70 hexes.
    const QString large = path(QStringLiteral("large.bmp"));
    QImage big(400, 380, QImage::Format_RGB32);
    big.fill(qRgb(0, 255, 0));
    Write(large, EncodeBmp24(big));
    QCOMPARE(RunCli({"sketch", large, out}).status, 0);
    map = ReadMap(out);
    QCOMPARE(map->MapWidth, 72);
    QCOMPARE(map->MapHeight, 70);
    QCOMPARE(int(map->at(TileSet, 71, 69)), 1);
}

void ToolsCliTest::sketchSeedRepeatsTheVariants()
{
    const QString a = path(QStringLiteral("a.map"));
    const QString b = path(QStringLiteral("b.map"));
    const QString c = path(QStringLiteral("c.map"));
    QCOMPARE(RunCli({"sketch", sketch, a, "--seed", "0x2A"}).status, 0);
    QCOMPARE(RunCli({"sketch", "--seed", "42", sketch, b}).status, 0);
    QCOMPARE(RunCli({"sketch", sketch, c, "--seed", "43"}).status, 0);
    QCOMPARE(Contents(a), Contents(b));
    auto first = ReadMap(a);
    auto other = ReadMap(c);
    int differing = 0;
    for (int x = 0; x < first->MapWidth; ++x)
        for (int y = 0; y < first->MapHeight; ++y) {
            QCOMPARE(other->at(TileSet, x, y), first->at(TileSet, x, y));
            differing += other->at(TileIndex, x, y) != first->at(TileIndex, x, y);
        }
    QVERIFY(differing > 50);
}

void ToolsCliTest::sketchRefusesBadArguments()
{
    const QString out = path(QStringLiteral("refused-sketch.map"));
    const QString notBitmap = path(QStringLiteral("text.bmp"));
    Write(notBitmap, QByteArray("plain words"));
    const QString tiny = path(QStringLiteral("tiny.bmp"));
    QImage small(4, 40, QImage::Format_RGB32);
    small.fill(Qt::white);
    Write(tiny, EncodeBmp24(small));
    const struct {
        QStringList arguments;
        int status;
        const char *message;
    } cases[] = {
        {{"sketch", sketch}, 2, "sketch takes"},
        {{"sketch", sketch, out, "--scale", "2"}, 2, "3 to 10"},
        {{"sketch", sketch, out, "--scale", "11"}, 2, "3 to 10"},
        {{"sketch", sketch, out, "--scale", "five"}, 2, "'five' is not a valid integer value"},
        {{"sketch", sketch, out, "--seed"}, 2, "--seed needs a value"},
        {{"sketch", sketch, out, "--size", "4"}, 2, "unknown option --size"},
        {{"sketch", sketch, path("out.png")}, 2, "cannot write this type of file"},
        {{"sketch", notBitmap, out}, 1, "not a Windows bitmap"},
        {{"sketch", path("missing.bmp"), out}, 1, "missing.bmp"},
        {{"sketch", tiny, out}, 1, "smaller than one hex"},
    };
    for (const auto &c : cases) {
        const CliRun run = RunCli(c.arguments);
        QVERIFY2(run.status == c.status, qPrintable(c.arguments.join(' ') + QStringLiteral(": ") + run.err));
        QVERIFY2(run.err.contains(QString::fromLatin1(c.message)), qPrintable(run.err));
        QVERIFY(!QFileInfo::exists(out));
    }
}

// The overlay drawn over the streamed picture is the one drawn over the whole picture at once.
void ToolsCliTest::renderDrawsTheRoadOverlay()
{
    auto map = ToolMap();
    MakeRoadConnections(*map);
    const QString linked = path(QStringLiteral("linked.map"));
    QCOMPARE(WriteMapFile(linked, *map), QString());
    const QString plain = path(QStringLiteral("plain.bmp"));
    const QString roads = path(QStringLiteral("roads.bmp"));
    QCOMPARE(RunCli({"render", linked, plain, "--sets", setsDir.path()}).status, 0);
    QCOMPARE(RunCli({"render", "--roads", linked, roads, "--sets", setsDir.path()}).status, 0);

    QImage expected = ReadTileSetImage(plain);
    QVERIFY(!expected.isNull());
    DrawRoadOverlay(*map, expected);
    const QImage withRoads = ReadTileSetImage(roads);
    QCOMPARE(withRoads, expected);
    // The road runs down column 8: its centre shows the overlay's yellow, its ends do not.
    QCOMPARE(withRoads.pixel(HexCentre({8, 7})), qRgb(255, 255, 0));
    QVERIFY(ReadTileSetImage(plain).pixel(HexCentre({8, 7})) != qRgb(255, 255, 0));

    // Without links there is nothing to draw.
    QCOMPARE(RunCli({"render", toolMap, roads, "--sets", setsDir.path(), "--roads"}).status, 0);
    QCOMPARE(RunCli({"render", toolMap, plain, "--sets", setsDir.path()}).status, 0);
    auto unlinked = ToolMap();
    QImage once = ReadTileSetImage(plain);
    DrawRoadOverlay(*unlinked, once); // the one link of the map, at (14, 5)
    QCOMPARE(ReadTileSetImage(roads), once);
}

// The sample map the build puts beside the programs: the island sketch converted with seed 1 and
// shaped by every pass, its roads linked.
void ToolsCliTest::sampleMapIsTheShapedIsland()
{
    const QString island = QFileInfo(QStringLiteral(VANTOR_CLI_PATH)).dir().filePath(QStringLiteral("island.map"));
    QVERIFY2(QFileInfo::exists(island), qPrintable(island));
    QImage image;
    QCOMPARE(ReadSketch(QStringLiteral(VANTOR_SAMPLE_SKETCH), image), QString());
    auto expected = testing::BlankMap(image.width() / 5, image.height() / 5);
    VariantSource random(1);
    const DefaultTerrainTable terrains = InitialDefaultTerrain();
    ConvertSketch(image, 5, *expected, terrains, random);
    MakeCoastline(*expected, terrains);
    MakeRoads(*expected, terrains);
    MakeRivers(*expected, terrains);
    MakeRoadConnections(*expected);
    QCOMPARE(Contents(island), EncodeMapFile(*expected));

    // What the tools made of it: every kind of coast, a shaped road with its links, a shaped river.
    std::array<int, 16> sets{};
    int linked = 0;
    int straightRoad = 0;
    int straightRiver = 0;
    for (int x = 0; x < expected->MapWidth; ++x)
        for (int y = 0; y < expected->MapHeight; ++y) {
            const int set = expected->at(TileSet, x, y);
            ++sets[set];
            linked += expected->at(RoadLinks, x, y) != 0;
            straightRoad += set == 2 && expected->at(TileIndex, x, y) == 20;
            straightRiver += set == 3 && expected->at(TileIndex, x, y) == 9;
        }
    for (const int set : {0, 1, 2, 3, 4, 5, 8, 10, 11})
        QVERIFY2(sets[set] > 0, qPrintable(QString::number(set)));
    QVERIFY(linked >= 10);
    QVERIFY(straightRoad >= 5);
    QVERIFY(straightRiver >= 5);
}

QTEST_GUILESS_MAIN(ToolsCliTest)
#include "tst_tools_cli.moc"
