// Sketch conversion without the window: colour classes, the nine-sample vote, map sizing, the
// random tile variants, what a conversion keeps, and reading sketch bitmaps.

#include "test_support.h"

#include "model/terrain_tables.h"
#include "render/bmp_encoding.h"
#include "tools/sketch_conversion.h"

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <set>

using namespace vantor;
using testing::Canvas;
using testing::BitmapsIn;

namespace {

const DefaultTerrainTable Terrains = InitialDefaultTerrain();

// The seven sketch colours as the user paints them.
const QRgb Navy = qRgb(0, 0, 127);
const QRgb Lime = qRgb(0, 255, 0);
const QRgb DarkGreen = qRgb(0, 127, 0);
const QRgb White = qRgb(255, 255, 255);
const QRgb Red = qRgb(255, 0, 0);
const QRgb Blue = qRgb(0, 0, 255);
const QRgb Yellow = qRgb(255, 255, 0);

// Paints the 3 x 3 samples of hex (x, y) at the given scale with the colours, row by row.
void PaintSamples(QImage &sketch, int scale, int x, int y, const QList<QRgb> &colours)
{
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 3; ++i)
            sketch.setPixel(scale * x + i, scale * y + j, colours[j * 3 + i]);
}

} // namespace

class SketchConversionTest : public QObject {
    Q_OBJECT
private slots:
    void classesHaveTheirColoursAndTiles();
    void classifierPicksTheNearestColour_data();
    void classifierPicksTheNearestColour();
    void greyIsTiedBetweenNavyAndDarkGreen();
    void voteTakesTheMostCommonClass();
    void sizingDividesAndCuts();
    void samplesOutsideTheSketchCountAsWhite();
    void seededVariantsRepeat();
    void variantsAreEquallyLikely();
    void conversionKeepsTheOtherPlanes();
    void sketchBitmapsAreRead();
    void unreadableFilesAreRefused();
    void corpusBitmapsLoadOrAreRefused();
};

void SketchConversionTest::classesHaveTheirColoursAndTiles()
{
    const struct {
        QRgb colour;
        int set;
        std::array<int, 3> tiles;
        const char *terrain;
    } expected[] = {
        {Navy, 0, {52, 53, 54}, "Deep Ocean"}, {Lime, 1, {0, 1, 2}, "Clear"},         {DarkGreen, 10, {59, 62, 63}, "Forest"},
        {White, 8, {59, 60, 61}, "Mountain"},  {Red, 2, {30, 30, 30}, "Paved Road"}, {Blue, 3, {10, 10, 10}, "River"},
        {Yellow, 11, {12, 14, 15}, "Desert"},
    };
    for (int k = 0; k < ColourClassCount; ++k) {
        const ColourClass &c = ColourClasses[k];
        QCOMPARE(c.reference, ColourOfPixel(expected[k].colour));
        QCOMPARE(int(c.tileSet), expected[k].set);
        for (int v = 0; v < 3; ++v) {
            QCOMPARE(int(c.tiles[v]), expected[k].tiles[v]);
            QCOMPARE(QString::fromLatin1(TerrainName(DefaultTerrainOf(Terrains, c.tileSet, c.tiles[v]))),
                     QString::fromLatin1(expected[k].terrain));
        }
        QCOMPARE(ClassifyColor(c.reference), k);
    }
    // Red sits in the low byte of a colour value.
    QCOMPARE(ColourOfPixel(qRgb(1, 2, 3)), ColourValue(0x030201));
}

void SketchConversionTest::classifierPicksTheNearestColour_data()
{
    QTest::addColumn<QRgb>("pixel");
    QTest::addColumn<int>("expected");
    QTest::newRow("black is nearest navy") << qRgb(0, 0, 0) << 0;
    QTest::newRow("dark red") << qRgb(200, 20, 10) << 4;
    QTest::newRow("light blue") << qRgb(10, 10, 200) << 5;
    QTest::newRow("olive") << qRgb(20, 140, 10) << 2;
    QTest::newRow("bright green") << qRgb(40, 230, 30) << 1;
    QTest::newRow("cream") << qRgb(250, 250, 60) << 6;
    QTest::newRow("light grey") << qRgb(220, 220, 220) << 3;
    QTest::newRow("magenta") << qRgb(255, 0, 255) << 3; // 255 from white, red and blue: the lowest class
    QTest::newRow("cyan") << qRgb(0, 255, 255) << 1;    // 255 from lime, white and blue
}

void SketchConversionTest::classifierPicksTheNearestColour()
{
    QFETCH(QRgb, pixel);
    QFETCH(int, expected);
    QCOMPARE(ClassifyColor(ColourOfPixel(pixel)), expected);
}

void SketchConversionTest::greyIsTiedBetweenNavyAndDarkGreen()
{
    const ColourValue grey = ColourOfPixel(qRgb(100, 100, 100));
    const int distances[] = {227, 355, 227, 465, 355, 355, 410};
    for (int k = 0; k < ColourClassCount; ++k)
        QCOMPARE(ColourDistance(grey, ColourClasses[k].reference), distances[k]);
    QCOMPARE(ClassifyColor(grey), 0);
}

void SketchConversionTest::voteTakesTheMostCommonClass()
{
    for (const int scale : {3, 5, 10}) {
        // The rest of each hex's square is yellow: only the 3 x 3 corner votes.
        QImage sketch = Canvas(scale * 6, scale * 3, Yellow);
        PaintSamples(sketch, scale, 0, 0, {White, Red, White, Red, White, Red, White, Red, White});
        PaintSamples(sketch, scale, 1, 0, {Lime, DarkGreen, Navy, Navy, Lime, DarkGreen, DarkGreen, Navy, Lime});
        PaintSamples(sketch, scale, 2, 0, {Red, Blue, Red, Blue, Red, Blue, Red, Blue, Navy});
        PaintSamples(sketch, scale, 3, 0, {Blue, Blue, Lime, Lime, Yellow, Yellow, DarkGreen, DarkGreen, White});
        PaintSamples(sketch, scale, 4, 1, {Lime, Lime, Lime, Lime, Lime, Navy, Navy, Navy, Navy});
        PaintSamples(sketch, scale, 5, 2, {qRgb(100, 100, 100), qRgb(100, 100, 100), qRgb(100, 100, 100), DarkGreen,
                                           DarkGreen, Navy, Navy, White, White});
        QCOMPARE(SketchHexClass(sketch, scale, 0, 0), 3); // 5 white, 4 red
        QCOMPARE(SketchHexClass(sketch, scale, 1, 0), 0); // 3 lime, 3 dark green, 3 navy
        QCOMPARE(SketchHexClass(sketch, scale, 2, 0), 4); // 4 red, 4 blue, 1 navy
        QCOMPARE(SketchHexClass(sketch, scale, 3, 0), 1); // 2 each of blue, lime, yellow, dark green
        QCOMPARE(SketchHexClass(sketch, scale, 4, 1), 1); // 5 lime, 4 navy: an odd column votes alike
        QCOMPARE(SketchHexClass(sketch, scale, 5, 2), 0); // grey votes navy: 5 navy
        QCOMPARE(SketchHexClass(sketch, scale, 4, 0), 6);

        auto map = testing::BlankMap(6, 3);
        VariantSource random(1);
        ConvertSketch(sketch, scale, *map, Terrains, random);
        const int expectedSets[] = {8, 0, 2, 1};
        for (int x = 0; x < 4; ++x)
            QCOMPARE(int(map->at(TileSet, x, 0)), expectedSets[x]);
        QCOMPARE(int(map->at(TileSet, 4, 1)), 1);
        QCOMPARE(int(map->at(TileSet, 5, 0)), 11);
    }
}

void SketchConversionTest::sizingDividesAndCuts()
{
    QCOMPARE(SketchMapSize({200, 150}, 5), QSize(40, 30));
    QCOMPARE(SketchMapSize({200, 150}, 10), QSize(20, 15));
    QCOMPARE(SketchMapSize({209, 154}, 10), QSize(20, 15));
    QCOMPARE(SketchMapSize({360, 350}, 5), QSize(72, 70));
    QCOMPARE(SketchMapSize({1000, 800}, 3), QSize(72, 70));
    QCOMPARE(SketchMapSize({4, 100}, 5), QSize(0, 20));
    QCOMPARE(SketchMapSize({100, 2}, 3), QSize(33, 0));
}

// The map may have been given another size after the sketch was loaded.
void SketchConversionTest::samplesOutsideTheSketchCountAsWhite()
{
    const QImage sketch = Canvas(11, 13, Navy); // at scale 5: two whole hexes across, two down
    QCOMPARE(SketchHexClass(sketch, 5, 1, 1), 0);
    QCOMPARE(SketchHexClass(sketch, 5, 2, 0), 3);  // column 10 inside, 11 and 12 outside: 3 navy, 6 white
    QCOMPARE(SketchHexClass(sketch, 5, 0, 2), 0);  // rows 10, 11, 12 inside
    QCOMPARE(SketchHexClass(sketch, 5, 9, 9), 3);  // wholly outside
    QCOMPARE(SketchHexClass(sketch, 5, -1, 0), 3); // never asked for, but still nothing read outside

    auto map = testing::BlankMap(8, 6);
    VariantSource random(5);
    ConvertSketch(sketch, 5, *map, Terrains, random);
    for (int x = 0; x < 8; ++x)
        for (int y = 0; y < 6; ++y)
            QCOMPARE(int(map->at(TileSet, x, y)), x < 2 && y < 3 ? 0 : 8);

    // An empty picture reads as white everywhere.
    auto blank = testing::BlankMap(3, 2);
    ConvertSketch(QImage(), 5, *blank, Terrains, random);
    QCOMPARE(int(blank->at(TileSet, 2, 1)), 8);
}

void SketchConversionTest::seededVariantsRepeat()
{
    // Stripes of every colour, each hex one colour.
    QImage sketch(360, 350, QImage::Format_RGB32);
    const QRgb colours[] = {Navy, Lime, DarkGreen, White, Red, Blue, Yellow};
    for (int y = 0; y < 350; ++y)
        for (int x = 0; x < 360; ++x)
            sketch.setPixel(x, y, colours[(x / 5 + y / 5) % 7]);

    auto convert = [&](unsigned seed) {
        auto map = testing::BlankMap(72, 70);
        VariantSource random(seed);
        ConvertSketch(sketch, 5, *map, Terrains, random);
        return map;
    };
    const auto first = convert(11);
    const auto again = convert(11);
    const auto other = convert(12);
    QVERIFY(first->bytes == again->bytes);

    int differing = 0;
    std::array<std::set<int>, ColourClassCount> tilesSeen;
    for (int x = 0; x < 72; ++x)
        for (int y = 0; y < 70; ++y) {
            const int k = (x + y) % 7;
            QCOMPARE(int(first->at(TileSet, x, y)), int(ColourClasses[k].tileSet));
            QCOMPARE(other->at(TileSet, x, y), first->at(TileSet, x, y));
            tilesSeen[k].insert(first->at(TileIndex, x, y));
            differing += other->at(TileIndex, x, y) != first->at(TileIndex, x, y);
        }
    // Another seed picks other variants of the classes that have three different tiles.
    QVERIFY(differing > 1000);
    for (const int k : {0, 1, 2, 3, 6})
        QCOMPARE(tilesSeen[k].size(), std::size_t(3));
    QCOMPARE(tilesSeen[4], (std::set<int>{30}));
    QCOMPARE(tilesSeen[5], (std::set<int>{10}));
}

void SketchConversionTest::variantsAreEquallyLikely()
{
    VariantSource random(99);
    std::array<int, 3> counts{};
    for (int i = 0; i < 30000; ++i) {
        const int v = DrawVariant(random);
        QVERIFY(v >= 0 && v <= 2);
        ++counts[v];
    }
    for (const int count : counts)
        QVERIFY2(count > 9600 && count < 10400, qPrintable(QString::number(count)));
}

void SketchConversionTest::conversionKeepsTheOtherPlanes()
{
    auto map = testing::BlankMap(30, 20);
    std::mt19937 bytes(4);
    for (auto &byte : map->bytes)
        byte = std::uint8_t(bytes());
    const MapStore before = *map;
    QImage sketch = Canvas(150, 100, Lime);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 50; ++x)
            sketch.setPixel(x, y, Yellow);
    VariantSource random(2);
    ConvertSketch(sketch, 5, *map, Terrains, random);

    for (int p = 0; p < PlaneCount; ++p)
        for (int x = 0; x < StoreColumns; ++x)
            for (int y = 0; y < StoreRows; ++y) {
                const bool onMap = x < 30 && y < 20;
                const std::uint8_t old = before.at(p, x, y);
                const std::uint8_t now = map->at(p, x, y);
                if (!onMap) {
                    QCOMPARE(now, old);
                    continue;
                }
                switch (p) {
                case PlaceIndex:
                case CityAttr16:
                    QCOMPARE(int(now), 255);
                    break;
                case PlaceIndexHigh:
                    QCOMPARE(int(now), 127);
                    break;
                case TileSet:
                    QCOMPARE(int(now), x < 10 ? 11 : 1);
                    break;
                case TileIndex:
                    QVERIFY(x < 10 ? (now == 12 || now == 14 || now == 15) : now <= 2);
                    break;
                case Terrain:
                    QCOMPARE(int(now), DefaultTerrainOf(Terrains, map->at(TileSet, x, y), map->at(TileIndex, x, y)));
                    break;
                default: // RoadLinks, CityAttr03, CityAttr04 and every plane the editor carries
                    QCOMPARE(now, old);
                }
            }

    // The terrain follows the default-terrain table in use.
    DefaultTerrainTable changed = Terrains;
    for (int tile = 0; tile < 3; ++tile)
        changed[1][tile] = TerrainCode(20 + tile);
    ConvertSketch(sketch, 5, *map, changed, random);
    QCOMPARE(int(map->at(Terrain, 20, 5)), 20 + map->at(TileIndex, 20, 5));
}

void SketchConversionTest::sketchBitmapsAreRead()
{
    QTemporaryDir dir;
    QImage picture(23, 17, QImage::Format_RGB32);
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 23; ++x)
            picture.setPixel(x, y, qRgb(x * 10, y * 14, (x * y) % 256));
    const QString plain = dir.filePath(QStringLiteral("plain.bmp"));
    testing::Write(plain, EncodeBmp24(picture));
    QImage sketch;
    QCOMPARE(ReadSketch(plain, sketch), QString());
    QCOMPARE(sketch, picture);

    // A palette bitmap as a paint program saves it.
    QImage indexed = Canvas(40, 30, Navy).convertToFormat(QImage::Format_Indexed8);
    const QString paletted = dir.filePath(QStringLiteral("paletted.BMP"));
    QVERIFY(indexed.save(paletted, "BMP"));
    QCOMPARE(ReadSketch(paletted, sketch), QString());
    QCOMPARE(sketch.size(), QSize(40, 30));
    QCOMPARE(sketch.format(), QImage::Format_RGB32);
    QCOMPARE(sketch.pixel(39, 29), Navy);
}

void SketchConversionTest::unreadableFilesAreRefused()
{
    QTemporaryDir dir;
    const QByteArray good = EncodeBmp24(Canvas(8, 8, Red));
    QByteArray wide = good;
    wide[18] = char(0xFF);
    wide[19] = char(0xFF);
    wide[20] = char(0xFF);
    wide[21] = char(0x7F);
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(Canvas(8, 8, Red).save(&buffer, "PNG"));
    }
    const QList<QPair<QString, QByteArray>> files = {
        {QStringLiteral("empty.bmp"), QByteArray()},
        {QStringLiteral("text.bmp"), QByteArray("this is not a picture\n")},
        {QStringLiteral("header.bmp"), good.left(20)},
        {QStringLiteral("wide.bmp"), wide},
        {QStringLiteral("png.bmp"), png},
    };
    const QImage sentinel = Canvas(3, 3, Blue);
    for (const auto &[name, data] : files) {
        const QString path = dir.filePath(name);
        testing::Write(path, data);
        QImage sketch = sentinel;
        const QString message = ReadSketch(path, sketch);
        QVERIFY2(message.contains(name), qPrintable(name + QStringLiteral(": ") + message));
        QCOMPARE(sketch, sentinel);
    }
    QImage sketch = sentinel;
    const QString missing = dir.filePath(QStringLiteral("missing.bmp"));
    QVERIFY(ReadSketch(missing, sketch).startsWith(QDir::toNativeSeparators(missing)));
    QCOMPARE(sketch, sentinel);
    QVERIFY(!ReadSketch(dir.path(), sketch).isEmpty()); // a folder
    QCOMPARE(sketch, sentinel);
}

void SketchConversionTest::corpusBitmapsLoadOrAreRefused()
{
    const QString suite = QStringLiteral(BMP_CORPORA_DIR "/bmpsuite");
    const QStringList all = BitmapsIn(suite, true);
    if (all.isEmpty())
        QSKIP("the public bitmap corpora are not beside the repository");
    const QImage sentinel = Canvas(2, 2, Blue);
    int loaded = 0;
    for (const QString &path : all) {
        QImage sketch = sentinel;
        const QString message = ReadSketch(path, sketch);
        if (message.isEmpty()) {
            QVERIFY2(sketch.width() > 0 && sketch.height() > 0, qPrintable(path));
            QCOMPARE(sketch.format(), QImage::Format_RGB32);
            ++loaded;
            // A loaded sketch converts like any other.
            auto map = testing::BlankMap(72, 70);
            const QSize size = SketchMapSize(sketch.size(), 3);
            if (IsValidMapSize(size.width(), size.height())) {
                map->MapWidth = size.width();
                map->MapHeight = size.height();
            }
            VariantSource random(1);
            ConvertSketch(sketch, 3, *map, Terrains, random);
        } else {
            QVERIFY2(message.startsWith(QDir::toNativeSeparators(path)), qPrintable(message));
            QCOMPARE(sketch, sentinel);
            // The good bitmaps are all read.
            QVERIFY2(!path.contains(QStringLiteral("/g/")), qPrintable(message));
        }
    }
    QVERIFY(loaded >= 27);
}

QTEST_GUILESS_MAIN(SketchConversionTest)
#include "tst_sketch_conversion.moc"
