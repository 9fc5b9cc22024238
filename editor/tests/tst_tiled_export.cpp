// PNG pictures, the tile sheets and TMX maps handed to Tiled, and where the tile sets are looked for.

#include "test_support.h"

#include "files/native_map_file.h"
#include "model/geometry.h"
#include "model/tile_set_files.h"
#include "render/bmp_encoding.h"
#include "render/map_renderer.h"
#include "render/picture_files.h"
#include "render/png_export.h"
#include "render/tile_set_library.h"
#include "render/tile_sheet.h"
#include "render/tmx_export.h"

#include <QCoreApplication>
#include <QDir>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <random>

using namespace vantor;
using namespace testing;

namespace {

// A map of the given size whose hexes use sets and tiles drawn at random, every set among them.
std::unique_ptr<MapStore> MapOfEverySet(int width, int height, quint32 seed)
{
    auto map = RandomMap(width, height, seed);
    std::mt19937 random(seed);
    for (int n = 0; n < width * height; ++n) {
        const HexCoord hex = SplitHexNumber(n, width);
        map->at(TileSet, hex.x, hex.y) = std::uint8_t(n < TileSetCount ? n : random() % TileSetCount);
        map->at(TileIndex, hex.x, hex.y) = std::uint8_t(random() % 80);
    }
    return map;
}

QImage Decode(const QByteArray &data) { return QImage::fromData(data).convertToFormat(QImage::Format_RGB32); }

// The parts of a TMX document the tests look at.
struct TmxDocument {
    QMap<QString, QString> map;                   // the map element's attributes
    QList<QMap<QString, QString>> tilesets;       // each tileset's attributes and "image"
    QMap<int, QString> terrainOfGid;              // from the tiles' "terrain" properties
    QList<int> gids;                              // the tile layer, row by row
    QList<QMap<QString, QString>> objects;        // each object's attributes and "text"
    QString error;                                // why the document is not well-formed XML
};

QMap<QString, QString> Attributes(const QXmlStreamReader &xml)
{
    QMap<QString, QString> attributes;
    for (const QXmlStreamAttribute &a : xml.attributes())
        attributes[a.name().toString()] = a.value().toString();
    return attributes;
}

TmxDocument ParseTmx(const QByteArray &data)
{
    TmxDocument tmx;
    QXmlStreamReader xml(data);
    int firstGid = 0, tileId = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QString name = xml.name().toString();
        if (name == QLatin1String("map")) {
            tmx.map = Attributes(xml);
        } else if (name == QLatin1String("tileset")) {
            tmx.tilesets.append(Attributes(xml));
            firstGid = tmx.tilesets.last()[QStringLiteral("firstgid")].toInt();
        } else if (name == QLatin1String("image")) {
            tmx.tilesets.last()[QStringLiteral("image")] = Attributes(xml)[QStringLiteral("source")];
        } else if (name == QLatin1String("tile")) {
            tileId = Attributes(xml)[QStringLiteral("id")].toInt();
        } else if (name == QLatin1String("property") && Attributes(xml)[QStringLiteral("name")] == QLatin1String("terrain")) {
            tmx.terrainOfGid[firstGid + tileId] = Attributes(xml)[QStringLiteral("value")];
        } else if (name == QLatin1String("data")) {
            for (const QString &gid : xml.readElementText().simplified().remove(QLatin1Char(' ')).split(QLatin1Char(',')))
                tmx.gids.append(gid.toInt());
        } else if (name == QLatin1String("object")) {
            tmx.objects.append(Attributes(xml));
        } else if (name == QLatin1String("text")) {
            tmx.objects.last()[QStringLiteral("text")] = xml.readElementText();
        }
    }
    if (xml.hasError())
        tmx.error = xml.errorString();
    return tmx;
}

} // namespace

class TiledExportTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void pngHoldsTheBitmapsPixels();
    void renderWritesTheFormatOfTheExtension();
    void sheetKeepsTheHexagonsAndClearsTheRest();
    void tmxHoldsTheMapTilesetsAndNames();
    void labelsNamePlacesBeforeCities();
    void exportWritesSheetsBesideTheMap();
    void exportRefusesAMissingSetAndWritesNothing();
    void tiledDrawsTheMapAsVantorDoes();
    void tileSetsAreSearchedBesideTheProgramFirst();

private:
    QTemporaryDir setsDir_;
};

void TiledExportTest::initTestCase()
{
    QVERIFY(setsDir_.isValid());
    for (int s = 0; s < TileSetCount; ++s)
        WriteSyntheticTileSet(setsDir_.path(), s);
}

void TiledExportTest::pngHoldsTheBitmapsPixels()
{
    TileSetLibrary library(setsDir_.path());
    const auto map = MapOfEverySet(11, 6, 3);
    QImage picture = NewMapPicture(*map);
    RedrawMapPicture(*map, library, 0x38b8a0, picture);
    const QByteArray png = EncodePng(picture);
    QVERIFY(png.startsWith("\x89PNG\r\n\x1a\n"));
    const QImage fromPng = Decode(png);
    QCOMPARE(fromPng.size(), picture.size());
    QCOMPARE(fromPng, Decode(EncodeBmp24(picture)));
    QCOMPARE(fromPng, picture);
}

void TiledExportTest::renderWritesTheFormatOfTheExtension()
{
    QTemporaryDir dir;
    const auto map = MapOfEverySet(9, 7, 5);
    QCOMPARE(WriteMapFile(dir.filePath(QStringLiteral("m.map")), *map), QString());
    QStringList pictures;
    for (const char *name : {"m.bmp", "m.png", "M.PNG"}) {
        pictures.append(dir.filePath(QLatin1String(name)));
        // The map's random bytes link roads, drawn over each band the PNG is drawn in.
        const CliRun run = RunCli({QStringLiteral("render"), dir.filePath(QStringLiteral("m.map")), pictures.last(),
                                   QStringLiteral("--sets"), setsDir_.path(), QStringLiteral("--roads")});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.err, QString());
    }
    QVERIFY(Contents(pictures[0]).startsWith("BM"));
    QVERIFY(Contents(pictures[1]).startsWith("\x89PNG"));
    QVERIFY(Contents(pictures[2]).startsWith("\x89PNG"));
    QCOMPARE(Decode(Contents(pictures[1])), Decode(Contents(pictures[0])));

    // The windows' writer: PNG by its extension, a bitmap for any other name.
    const QImage picture = Canvas(5, 4, qRgb(10, 20, 30));
    QCOMPARE(WritePictureFile(dir.filePath(QStringLiteral("s.png")), picture), QString());
    QCOMPARE(WritePictureFile(dir.filePath(QStringLiteral("s.dat")), picture), QString());
    QVERIFY(Contents(dir.filePath(QStringLiteral("s.png"))).startsWith("\x89PNG"));
    QCOMPARE(Contents(dir.filePath(QStringLiteral("s.dat"))), EncodeBmp24(picture));
    QCOMPARE(PictureFormatOf(QStringLiteral("a.jpg")), std::nullopt);
}

void TiledExportTest::sheetKeepsTheHexagonsAndClearsTheRest()
{
    const QImage set = SyntheticTileSet(4).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(TileCountOf(set), 80);
    QCOMPARE(TileCountOf(set.copy(0, 0, 309, 419)), 72); // the last tile of column 0 is cut
    const QImage sheet = QImage::fromData(EncodePng(RepackTileSet(set)));
    QCOMPARE(sheet.size(), QSize(384, 400));
    const QImage argb = sheet.convertToFormat(QImage::Format_ARGB32);
    for (int tile = 0; tile < 80; ++tile) {
        const PixelRect cell = TileRect(tile);
        const int left = tile % 8 * 48, top = tile / 8 * 40;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 48; ++x) {
                const QRgb pixel = argb.pixel(left + x, top + y);
                if (IsInsideHexagon(x, y))
                    QCOMPARE(pixel, set.pixel(cell.left + x, cell.top + y) | 0xFF000000u);
                else
                    QCOMPARE(qAlpha(pixel), 0);
            }
    }
}

void TiledExportTest::tmxHoldsTheMapTilesetsAndNames()
{
    auto map = BlankMap(5, 4);
    map->at(TileSet, 1, 0) = 3;
    map->at(TileIndex, 1, 0) = 17;
    map->at(TileSet, 4, 3) = 15;
    map->at(TileIndex, 4, 3) = 79;
    map->at(TileSet, 2, 2) = 200;                      // no set: an empty cell
    map->at(TileSet, 3, 2) = 3;
    map->at(TileIndex, 3, 2) = 85;                     // past the sheet: an empty cell
    TmxTilesets tilesets;
    for (const int s : {0, 3, 15})
        tilesets[s] = {TmxSheetFileName(s), QSize(384, 400), 80};
    const DefaultTerrainTable terrain = InitialDefaultTerrain();
    const std::vector<MapLabel> labels = {{{3, 1}, QStringLiteral("Port <Anvar> & Co"), QStringLiteral("city")}};
    const TmxDocument tmx = ParseTmx(EncodeTmx(*map, tilesets, terrain, labels, 0x38b8a0));
    QCOMPARE(tmx.error, QString());

    const QMap<QString, QString> expected = {
        {"orientation", "hexagonal"}, {"staggeraxis", "x"}, {"staggerindex", "odd"}, {"width", "5"}, {"height", "4"},
        {"tilewidth", "48"}, {"tileheight", "40"}, {"hexsidelength", "26"}, {"backgroundcolor", "#a0b838"}};
    for (auto it = expected.begin(); it != expected.end(); ++it)
        QCOMPARE(tmx.map.value(it.key()), it.value());
    QCOMPARE(tmx.tilesets.size(), 3);
    QCOMPARE(tmx.tilesets[1].value(QStringLiteral("firstgid")), QStringLiteral("265"));
    QCOMPARE(tmx.tilesets[1].value(QStringLiteral("image")), QStringLiteral("Set03m.png"));
    QCOMPARE(tmx.tilesets[2].value(QStringLiteral("columns")), QStringLiteral("8"));

    QCOMPARE(tmx.gids.size(), 20);
    QCOMPARE(tmx.gids[0], 1);                          // set 0, tile 0
    QCOMPARE(tmx.gids[1], 1 + 88 * 3 + 17);
    QCOMPARE(tmx.gids[19], 1 + 88 * 15 + 79);
    QCOMPARE(tmx.gids[2 * 5 + 2], 0);
    QCOMPARE(tmx.gids[2 * 5 + 3], 0);
    QCOMPARE(tmx.terrainOfGid.size(), 3 * 80);
    QCOMPARE(tmx.terrainOfGid.value(TmxGid(3, 17)), QLatin1String(TerrainName(DefaultTerrainOf(terrain, 3, 17))));

    QCOMPARE(tmx.objects.size(), 1);
    QCOMPARE(tmx.objects[0].value(QStringLiteral("text")), QStringLiteral("Port <Anvar> & Co"));
    QCOMPARE(tmx.objects[0].value(QStringLiteral("type")), QStringLiteral("city"));
    QCOMPARE(tmx.objects[0].value(QStringLiteral("x")), QString::number(37 * 3 - 24));
    QCOMPARE(tmx.objects[0].value(QStringLiteral("y")), QString::number(40 * 1 + 20));
}

void TiledExportTest::labelsNamePlacesBeforeCities()
{
    auto map = BlankMap(6, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) {
            map->at(PlaceIndex, x, y) = 255;
            map->at(PlaceIndexHigh, x, y) = 127;
        }
    PlaceTable places(3);
    places.setCell(PlaceTable::NameColumn, 1, QStringLiteral("Kawai Point"));
    places.setCell(PlaceTable::NameColumn, 2, QStringLiteral("Mount Seru"));
    CityTable cities(4);
    for (int n = 0; n < 3; ++n)
        cities.setCell(CityTable::NameColumn, n + 1, QStringLiteral("City %1").arg(n));
    map->at(PlaceIndex, 1, 1) = 1; // place 1
    map->at(PlaceIndexHigh, 1, 1) = 0;
    map->at(PlaceIndex, 4, 3) = 2; // no place 2: city 2
    map->at(PlaceIndexHigh, 4, 3) = 0;
    const std::vector<MapLabel> expected = {{{1, 1}, QStringLiteral("Mount Seru"), QStringLiteral("place")},
                                            {{4, 3}, QStringLiteral("City 2"), QStringLiteral("city")}};
    QCOMPARE(MapLabelsOf(*map, places, 2, cities), expected);
    QVERIFY(MapLabelsOf(*map, PlaceTable{}, 0, CityTable{}).empty());
}

void TiledExportTest::exportWritesSheetsBesideTheMap()
{
    QTemporaryDir out;
    auto map = BlankMap(4, 3);
    map->at(TileSet, 2, 1) = 9;
    const QString tmxPath = out.filePath(QStringLiteral("m.tmx"));
    QCOMPARE(ExportMapToTmx(tmxPath, *map, setsDir_.path(), InitialDefaultTerrain(), {}, 0), QString());
    QCOMPARE(QDir(out.path()).entryList(QDir::Files, QDir::Name),
             (QStringList{"Set00m.png", "Set09m.png", "m.tmx"}));
    const TmxDocument tmx = ParseTmx(Contents(tmxPath));
    QCOMPARE(tmx.error, QString());
    QCOMPARE(tmx.tilesets.size(), 2);
    QCOMPARE(tmx.gids[6], TmxGid(9, 0));
    QCOMPARE(QImage(out.filePath(QStringLiteral("Set09m.png"))).format(), QImage::Format_ARGB32);
}

void TiledExportTest::exportRefusesAMissingSetAndWritesNothing()
{
    QTemporaryDir sets, out;
    for (const int s : {0, 1, 2})
        WriteSyntheticTileSet(sets.path(), s);
    Write(sets.filePath(QStringLiteral("SET05m.BMP")), "not a bitmap");
    auto map = BlankMap(6, 2);
    map->at(TileSet, 1, 0) = 2;
    for (const int missing : {5, 7}) {
        map->at(TileSet, 3, 1) = std::uint8_t(missing);
        const QString error = ExportMapToTmx(out.filePath(QStringLiteral("m.tmx")), *map, sets.path(),
                                             InitialDefaultTerrain(), {}, 0);
        QVERIFY2(error.contains(QStringLiteral("tile set %1 is missing or unreadable").arg(missing)), qPrintable(error));
        QVERIFY(QDir(out.path()).isEmpty());
    }
    const CliRun run = RunCli({QStringLiteral("convert"), QStringLiteral("nothing.map"), out.filePath(QStringLiteral("m.tmx")),
                               QStringLiteral("--sets"), out.filePath(QStringLiteral("none"))});
    QCOMPARE(run.status, 2);
    QVERIFY(QDir(out.path()).isEmpty());
}

// Tiled's own rasterizer draws the exported map; every pixel one hexagon covers, or none, must be
// Vantor's. Where two hexagons share a pixel the order of drawing decides: Vantor draws set by set,
// Tiled row by row.
void TiledExportTest::tiledDrawsTheMapAsVantorDoes()
{
    const QString rasterizer = QStandardPaths::findExecutable(QStringLiteral("tmxrasterizer"));
    if (rasterizer.isEmpty())
        QSKIP("tmxrasterizer is not installed (Debian package tiled): Tiled's picture is not compared");
    QTemporaryDir out;
    const auto map = MapOfEverySet(9, 7, 11);
    const QString tmxPath = out.filePath(QStringLiteral("m.tmx"));
    QCOMPARE(ExportMapToTmx(tmxPath, *map, setsDir_.path(), InitialDefaultTerrain(), {}, 0), QString());
    QProcess tiled;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    tiled.setProcessEnvironment(environment);
    tiled.start(rasterizer, {tmxPath, out.filePath(QStringLiteral("tiled.png"))});
    QVERIFY(tiled.waitForFinished(60000));
    QCOMPARE(tiled.exitCode(), 0);
    const QImage drawnByTiled = QImage(out.filePath(QStringLiteral("tiled.png"))).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(drawnByTiled.size(), QSize(37 * 9 + 11, 40 * 7 + 20));

    TileSetLibrary library(setsDir_.path());
    QImage drawnByVantor = NewMapPicture(*map);
    RedrawMapPicture(*map, library, 0, drawnByVantor);
    QVector<int> coverage(drawnByTiled.width() * drawnByTiled.height());
    for (int n = 0; n < 9 * 7; ++n) {
        const PixelRect hex = HexRect(n, 9);
        for (int y = 0; y < TileHeight; ++y)
            for (int x = 0; x < TileWidth; ++x)
                if (IsInsideHexagon(x, y) && hex.left + x < drawnByTiled.width())
                    ++coverage[(hex.top + y) * drawnByTiled.width() + hex.left + x];
    }
    int compared = 0;
    for (int y = 0; y < drawnByTiled.height(); ++y)
        for (int x = 0; x < drawnByTiled.width(); ++x) {
            if (coverage[y * drawnByTiled.width() + x] > 1)
                continue;
            ++compared;
            if (drawnByTiled.pixel(x, y) != drawnByVantor.pixel(x, y))
                QFAIL(qPrintable(QStringLiteral("(%1, %2): Tiled #%3, Vantor #%4")
                                     .arg(x).arg(y)
                                     .arg(drawnByTiled.pixel(x, y) & 0xFFFFFF, 6, 16, QLatin1Char('0'))
                                     .arg(drawnByVantor.pixel(x, y) & 0xFFFFFF, 6, 16, QLatin1Char('0'))));
        }
    QVERIFY(compared > drawnByTiled.width() * drawnByTiled.height() * 9 / 10);
}

void TiledExportTest::tileSetsAreSearchedBesideTheProgramFirst()
{
    QCOMPARE(TileSetSearchFolders(setsDir_.path()), QStringList{setsDir_.path()});
    const QString program = QCoreApplication::applicationDirPath();
    QCOMPARE(TileSetSearchFolders(program), (QStringList{program, UserTileSetFolder(), InstalledTileSetFolder(program)}));
    QCOMPARE(InstalledTileSetFolder(QStringLiteral("/opt/maps/bin")), QStringLiteral("/opt/maps/share/vantor"));
    QVERIFY(UserTileSetFolder().endsWith(QLatin1String("/vantor")));
}

QTEST_MAIN(TiledExportTest)
#include "tst_tiled_export.moc"
