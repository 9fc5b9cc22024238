// The full redraw, tile drawing through the mask, tile-set loading and bitmap output.

#include "test_support.h"

#include "model/geometry.h"
#include "render/bmp_encoding.h"
#include "render/map_bitmap_export.h"
#include "render/map_renderer.h"
#include "render/tile_drawing.h"
#include "render/tile_set_library.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <algorithm>
#include <cstring>

using namespace vantor;
using testing::TileColour;

namespace {

constexpr ColourValue Background = 0x38b8a0;
const QRgb BackgroundRgb = ToQColor(Background).rgb();

// Straightforward pixel-by-pixel drawing of the map, for comparison with the real redraw.
QImage ReferencePicture(const MapStore &map, const std::array<QImage, 16> &sets)
{
    QImage picture(MapPictureWidth(map.MapWidth), MapPictureHeight(map.MapHeight), QImage::Format_RGB32);
    picture.fill(BackgroundRgb);
    for (int s = 0; s < 16; ++s) {
        if (sets[s].isNull())
            continue;
        for (int y = 0; y < map.MapHeight; ++y) {
            for (int x = 0; x < map.MapWidth; ++x) {
                if (map.at(TileSet, x, y) != s)
                    continue;
                const PixelRect cell = TileRect(map.at(TileIndex, x, y));
                if (cell.right > sets[s].width() || cell.bottom > sets[s].height())
                    continue;
                const PixelRect target = HexRect(y * map.MapWidth + x, map.MapWidth);
                for (int r = 0; r < TileHeight; ++r)
                    for (int c = 0; c < TileWidth; ++c)
                        if (IsInsideHexagon(c, r))
                            picture.setPixel(target.left + c, target.top + r, sets[s].pixel(cell.left + c, cell.top + r));
            }
        }
    }
    return picture;
}

// A map of random sets, some missing (9) or above 15, and random tiles, some outside the bitmaps.
std::unique_ptr<MapStore> MixedMap(int width, int height, quint32 seed)
{
    QRandomGenerator random(seed);
    auto map = testing::BlankMap(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            map->at(TileSet, x, y) = std::uint8_t(random.bounded(18));
            map->at(TileIndex, x, y) = std::uint8_t(random.bounded(90));
        }
    return map;
}

// A 32-bit bitmap file of image: blue, green, red and an unused byte a pixel, rows bottom-up.
QByteArray Bmp32(const QImage &image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const qint32 pixelBytes = rgb.width() * 4 * rgb.height();
    QByteArray data = Bmp24Header(rgb.width(), rgb.height());
    data[28] = 32;
    qToLittleEndian<qint32>(54 + pixelBytes, data.data() + 2);
    qToLittleEndian<qint32>(pixelBytes, data.data() + 34);
    for (int y = rgb.height() - 1; y >= 0; --y)
        data.append(reinterpret_cast<const char *>(rgb.constScanLine(y)), rgb.width() * 4);
    return data;
}

// The 24-bit bitmap file RenderMapToBmp writes for the map, read back.
QByteArray ExportedBitmap(const MapStore &map, TileSetLibrary &sets, const BandOverlay &overlay = {})
{
    QTemporaryDir out;
    const QString path = out.filePath(QStringLiteral("map.bmp"));
    QString error;
    RenderMapToBmp(map, sets, Background, path, error, overlay);
    if (!error.isEmpty())
        qWarning("%s", qPrintable(error));
    return testing::Contents(path);
}

QRgb CentreOf(const QImage &picture, int x, int y, int mapWidth)
{
    const PixelRect r = HexRect(y * mapWidth + x, mapWidth);
    return picture.pixel(r.left + 24, r.top + 20);
}

} // namespace

class MapRendererTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void drawsEveryHexWithItsTile();
    void matchesPixelByPixelDrawing();
    void laterSetsWinOnSharedEdges();
    void laterHexesOfOneSetWinOnSharedEdges();
    void cornersKeepTheBackground();
    void missingSetsLeaveTheBackgroundAndAreReported();
    void setsAbove15AreSkipped();
    void tilesOutsideTheBitmapDrawNothing();
    void reportsEachSetDrawn();
    void bandsDrawExactlyTheirPartOfThePicture();
    void librarySeesChangedAndUnreadableFiles();
    void bmpEncodingRoundTrips();
    void bitmapExportEqualsTheFullPicture();
    void bitmapExportFailureLeavesNoFile();
    void bitmapExportMatchesPixelByPixelDrawing();
    void bitmapExportReadsSetsOfEveryKind();
    void bitmapExportDrawsTheOverlayOnEveryBand();
    void bitmapExportOnAFullDiskKeepsTheOldFile();
    void bitmapRowsAreTheSetFilesOwnPixels();
    void tilesDrawIntoBottomUp24BitRows();

private:
    QTemporaryDir setsDir;
    std::array<QImage, 16> setImages;
};

void MapRendererTest::initTestCase()
{
    QVERIFY(setsDir.isValid());
    for (int s = 0; s < 16; ++s) {
        if (s == 9)
            continue; // set 9 stays missing
        testing::WriteSyntheticTileSet(setsDir.path(), s);
        setImages[s] = testing::SyntheticTileSet(s);
    }
}

void MapRendererTest::drawsEveryHexWithItsTile()
{
    auto map = testing::BlankMap(6, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) {
            map->at(TileSet, x, y) = std::uint8_t((x + y) % 3);
            map->at(TileIndex, x, y) = std::uint8_t(x * 4 + y);
        }
    TileSetLibrary sets(setsDir.path());
    QImage picture = NewMapPicture(*map);
    QCOMPARE(picture.size(), QSize(37 * 6 + 12, 40 * 4 + 20));
    const RedrawReport report = RedrawMapPicture(*map, sets, Background, picture);
    QVERIFY(report.unavailableSets.empty());
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            QCOMPARE(CentreOf(picture, x, y, 6), TileColour((x + y) % 3, x * 4 + y));
}

void MapRendererTest::matchesPixelByPixelDrawing()
{
    QRandomGenerator random(2024);
    for (const QSize size : {QSize(1, 1), QSize(5, 5), QSize(13, 7), QSize(72, 70)}) {
        auto map = testing::BlankMap(size.width(), size.height());
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x) {
                map->at(TileSet, x, y) = std::uint8_t(random.bounded(18)); // 16 and 17 do not exist
                map->at(TileIndex, x, y) = std::uint8_t(random.bounded(90)); // 80..89 lie outside the bitmaps
            }
        TileSetLibrary sets(setsDir.path());
        QImage picture = NewMapPicture(*map);
        RedrawMapPicture(*map, sets, Background, picture);
        QCOMPARE(picture, ReferencePicture(*map, setImages));
    }
}

void MapRendererTest::laterSetsWinOnSharedEdges()
{
    auto map = testing::BlankMap(2, 1);
    map->at(TileSet, 0, 0) = 1;
    map->at(TileIndex, 0, 0) = 10;
    map->at(TileSet, 1, 0) = 0;
    map->at(TileIndex, 1, 0) = 20;
    TileSetLibrary sets(setsDir.path());
    QImage picture = NewMapPicture(*map);
    RedrawMapPicture(*map, sets, Background, picture);
    // (47, 20) lies in the hexagons of both hexes; set 1 is drawn after set 0.
    QVERIFY(IsInsideHexagon(47, 20) && IsInsideHexagon(47 - 37, 0));
    const PixelRect tile10 = TileRect(10);
    const PixelRect tile20 = TileRect(20);
    QCOMPARE(picture.pixel(47, 20), setImages[1].pixel(tile10.left + 47, tile10.top + 20));
    QVERIFY(picture.pixel(47, 20) != setImages[0].pixel(tile20.left + 10, tile20.top));
    QCOMPARE(picture.pixel(46, 20), TileColour(1, 10));
    QCOMPARE(picture.pixel(48, 20), TileColour(0, 20));
}

void MapRendererTest::laterHexesOfOneSetWinOnSharedEdges()
{
    auto map = testing::BlankMap(2, 1);
    map->at(TileIndex, 0, 0) = 10;
    map->at(TileIndex, 1, 0) = 20;
    TileSetLibrary sets(setsDir.path());
    QImage picture = NewMapPicture(*map);
    RedrawMapPicture(*map, sets, Background, picture);
    const PixelRect tile20 = TileRect(20);
    QCOMPARE(picture.pixel(47, 20), setImages[0].pixel(tile20.left + 10, tile20.top)); // hex (1, 0) comes later
    QVERIFY(picture.pixel(47, 20) != setImages[0].pixel(TileRect(10).left + 47, TileRect(10).top + 20));
}

void MapRendererTest::cornersKeepTheBackground()
{
    auto map = testing::BlankMap(3, 2);
    TileSetLibrary sets(setsDir.path());
    QImage picture = NewMapPicture(*map);
    picture.fill(Qt::red);
    RedrawMapPicture(*map, sets, Background, picture);
    QCOMPARE(picture.pixel(0, 0), BackgroundRgb);                       // outside hex (0, 0)'s hexagon
    QCOMPARE(picture.pixel(10, 0), TileColour(0, 0));                   // its top edge
    QCOMPARE(picture.pixel(44, 2), BackgroundRgb);                      // above odd column 1
    QCOMPARE(picture.pixel(picture.width() - 1, 0), BackgroundRgb);     // the right margin
    QCOMPARE(picture.pixel(20, picture.height() - 1), BackgroundRgb);   // below even column 0
}

void MapRendererTest::missingSetsLeaveTheBackgroundAndAreReported()
{
    auto map = testing::BlankMap(3, 1);
    map->at(TileSet, 1, 0) = 9;
    map->at(TileSet, 2, 0) = 4;
    map->at(TileIndex, 2, 0) = 3;
    TileSetLibrary sets(setsDir.path());
    QImage picture = NewMapPicture(*map);
    const RedrawReport report = RedrawMapPicture(*map, sets, Background, picture);
    QCOMPARE(report.unavailableSets, std::vector<int>{9});
    QCOMPARE(CentreOf(picture, 1, 0, 3), BackgroundRgb);
    QCOMPARE(CentreOf(picture, 0, 0, 3), TileColour(0, 0));
    QCOMPARE(CentreOf(picture, 2, 0, 3), TileColour(4, 3));
    QCOMPARE(sets.fileNameOf(9), QStringLiteral("SET09m.BMP"));

    TileSetLibrary nowhere(setsDir.filePath(QStringLiteral("no-such-folder")));
    const RedrawReport none = RedrawMapPicture(*map, nowhere, Background, picture);
    QCOMPARE(none.unavailableSets, (std::vector<int>{0, 4, 9}));
    QCOMPARE(picture, [&] { QImage blank = NewMapPicture(*map); blank.fill(BackgroundRgb); return blank; }());
}

void MapRendererTest::setsAbove15AreSkipped()
{
    auto map = testing::BlankMap(2, 2);
    map->at(TileSet, 0, 0) = 16;
    map->at(TileSet, 1, 1) = 255;
    TileSetLibrary sets(setsDir.path());
    QImage picture = NewMapPicture(*map);
    const RedrawReport report = RedrawMapPicture(*map, sets, Background, picture);
    QVERIFY(report.unavailableSets.empty());
    QCOMPARE(CentreOf(picture, 0, 0, 2), BackgroundRgb);
    QCOMPARE(CentreOf(picture, 1, 1, 2), BackgroundRgb);
    QCOMPARE(CentreOf(picture, 1, 0, 2), TileColour(0, 0));
}

void MapRendererTest::tilesOutsideTheBitmapDrawNothing()
{
    // Tile 80 would start at row 420 of a 421-row bitmap; tile 87 lies wholly below it.
    QVERIFY(TileFitsIn(setImages[0], 79));
    QVERIFY(!TileFitsIn(setImages[0], 80));
    QVERIFY(!TileFitsIn(setImages[0], 87));
    QVERIFY(!TileFitsIn(setImages[0], -1));
    QImage target(60, 60, QImage::Format_RGB32);
    target.fill(Qt::red);
    const QImage before = target;
    DrawTile(setImages[0], 85, target, 0, 0);
    DrawTile(QImage(100, 100, QImage::Format_RGB32), 3, target, 0, 0); // a bitmap too small for tile 3
    QCOMPARE(target, before);
    // Drawing past the edges of the target is clipped.
    DrawTile(setImages[0], 5, target, 40, -30);
    QCOMPARE(target.pixel(50, 0), TileColour(0, 5));      // row 30 of the tile
    QCOMPARE(target.pixel(45, 0), before.pixel(45, 0));   // outside its hexagon
    QCOMPARE(target.pixel(50, 10), before.pixel(50, 10)); // below the tile
    DrawMaskedTile(setImages[0].copy(0, 20, 48, 40), target, -20, 30);
    QCOMPARE(target.pixel(0, 50), TileColour(0, 0));
}

void MapRendererTest::reportsEachSetDrawn()
{
    auto map = testing::BlankMap(3, 2);
    map->at(TileSet, 0, 0) = 5;
    map->at(TileIndex, 0, 0) = 7;
    map->at(TileSet, 2, 1) = 2;
    map->at(TileIndex, 2, 1) = 11;
    map->at(TileIndex, 1, 1) = 3;
    TileSetLibrary sets(setsDir.path());
    QImage picture = NewMapPicture(*map);
    std::vector<int> setsDrawn;
    const RedrawReport report = RedrawMapPicture(*map, sets, Background, picture, [&](int s) { setsDrawn.push_back(s); });
    QCOMPARE(setsDrawn, (std::vector<int>{0, 2, 5}));
    QVERIFY(report.unavailableSets.empty());
}

void MapRendererTest::bandsDrawExactlyTheirPartOfThePicture()
{
    QRandomGenerator random(7);
    auto map = testing::BlankMap(9, 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 9; ++x) {
            map->at(TileSet, x, y) = std::uint8_t(random.bounded(4));
            map->at(TileIndex, x, y) = std::uint8_t(random.bounded(80));
        }
    TileSetLibrary sets(setsDir.path());
    QImage whole = NewMapPicture(*map);
    RedrawMapPicture(*map, sets, Background, whole);
    for (const int top : {0, 1, 19, 20, 39, 40, 59, 61, 150, whole.height() - 7}) {
        for (const int height : {1, 7, 40, 64}) {
            if (top + height > whole.height())
                continue;
            QImage band(whole.width(), height, QImage::Format_RGB32);
            DrawMap(*map, LoadTileSetsOf(*map, sets), Background, band, top);
            QCOMPARE(band, whole.copy(0, top, whole.width(), height));
        }
    }
}

void MapRendererTest::librarySeesChangedAndUnreadableFiles()
{
    QTemporaryDir dir;
    testing::WriteSyntheticTileSet(dir.path(), 2, QStringLiteral("Set02m.bmp"));
    TileSetLibrary sets(dir.path());
    QCOMPARE(sets.image(2).pixel(24, 40), TileColour(2, 0));
    QCOMPARE(sets.image(2).format(), QImage::Format_RGB32);

    // Another set's picture written under set 2's name, a moment later, is picked up.
    QTest::qWait(20);
    testing::WriteSyntheticTileSet(dir.path(), 6, QStringLiteral("Set02m.bmp"));
    QCOMPARE(sets.image(2).pixel(24, 40), TileColour(6, 0));

    QFile garbage(dir.filePath(QStringLiteral("SET03m.BMP")));
    QVERIFY(garbage.open(QIODevice::WriteOnly));
    garbage.write("BM this is not a bitmap");
    garbage.close();
    QVERIFY(sets.image(3).isNull());
    QVERIFY(sets.image(4).isNull());

    QVERIFY(QFile::remove(dir.filePath(QStringLiteral("Set02m.bmp"))));
    QVERIFY(sets.image(2).isNull());
}

void MapRendererTest::bmpEncodingRoundTrips()
{
    for (const int width : {1, 2, 3, 4, 5, 309}) {
        QImage image(width, 3, QImage::Format_RGB32);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < width; ++x)
                image.setPixel(x, y, qRgb(x * 7 % 256, y * 90, (x + y) % 256));
        const QByteArray bytes = EncodeBmp24(image);
        QCOMPARE(bytes.size(), 54 + Bmp24RowSize(width) * 3);
        QCOMPARE(bytes.left(2), QByteArray("BM"));
        QCOMPARE(int(std::uint8_t(bytes[28])), 24);
        const QImage decoded = QImage::fromData(bytes, "BMP").convertToFormat(QImage::Format_RGB32);
        QCOMPARE(decoded, image);
    }
    QCOMPARE(Bmp24RowSize(309), 928);
}

void MapRendererTest::bitmapExportEqualsTheFullPicture()
{
    QRandomGenerator random(99);
    auto map = testing::BlankMap(11, 9);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 11; ++x) {
            map->at(TileSet, x, y) = std::uint8_t(random.bounded(16));
            map->at(TileIndex, x, y) = std::uint8_t(random.bounded(80));
        }
    TileSetLibrary sets(setsDir.path());
    QImage whole = NewMapPicture(*map);
    RedrawMapPicture(*map, sets, Background, whole);

    QTemporaryDir out;
    const QString path = out.filePath(QStringLiteral("map.bmp"));
    QString error;
    const RedrawReport report = RenderMapToBmp(*map, sets, Background, path, error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QVERIFY(std::find(report.unavailableSets.begin(), report.unavailableSets.end(), 9) != report.unavailableSets.end());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), EncodeBmp24(whole));
}

void MapRendererTest::bitmapExportFailureLeavesNoFile()
{
    auto map = testing::BlankMap(5, 5);
    TileSetLibrary sets(setsDir.path());
    QTemporaryDir out;
    const QString path = out.filePath(QStringLiteral("missing-folder/map.bmp"));
    QString error;
    RenderMapToBmp(*map, sets, Background, path, error);
    QVERIFY(error.contains(QLatin1String("missing-folder/map.bmp")));
    QVERIFY(!QFile::exists(path));
}

void MapRendererTest::bitmapExportMatchesPixelByPixelDrawing()
{
    // Widths with and without row padding; heights ending mid-band and on a band's edge.
    for (const QSize size : {QSize(1, 1), QSize(2, 3), QSize(11, 9), QSize(30, 25), QSize(72, 70)}) {
        const auto map = MixedMap(size.width(), size.height(), quint32(size.width() * 100 + size.height()));
        TileSetLibrary sets(setsDir.path());
        QCOMPARE(ExportedBitmap(*map, sets), EncodeBmp24(ReferencePicture(*map, setImages)));
    }
}

void MapRendererTest::bitmapExportReadsSetsOfEveryKind()
{
    // Set 0 stored top-down, set 1 as PNG under the bitmap's name, set 2 as a 32-bit bitmap: only
    // plain bottom-up bitmaps are drawn from their file's bytes, the others are decoded first.
    QTemporaryDir dir;
    QByteArray topDown = EncodeBmp24(setImages[0].mirrored(false, true));
    const qint32 negativeHeight = -setImages[0].height();
    topDown.replace(22, 4, reinterpret_cast<const char *>(&negativeHeight), 4);
    testing::Write(dir.filePath(QStringLiteral("SET00m.BMP")), topDown);
    QVERIFY(setImages[1].save(dir.filePath(QStringLiteral("SET01m.BMP")), "PNG"));
    testing::Write(dir.filePath(QStringLiteral("SET02m.BMP")), Bmp32(setImages[2]));

    const auto map = MixedMap(9, 7, 5);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 9; ++x)
            map->at(TileSet, x, y) = std::uint8_t((x + y) % 4); // set 3 is missing here
    TileSetLibrary sets(dir.path());
    std::array<QImage, 16> images;
    std::copy_n(setImages.begin(), 3, images.begin());
    QCOMPARE(ExportedBitmap(*map, sets), EncodeBmp24(ReferencePicture(*map, images)));
}

void MapRendererTest::bitmapExportDrawsTheOverlayOnEveryBand()
{
    // A diagonal line of the whole picture, drawn by an overlay that sees one band at a time.
    const auto diagonal = [](QImage &picture, int top) {
        for (int y = 0; y < picture.height(); ++y)
            picture.setPixel((top + y) % picture.width(), y, qRgb(255, 0, 255));
    };
    const auto map = MixedMap(13, 11, 8);
    TileSetLibrary sets(setsDir.path());
    QImage expected = ReferencePicture(*map, setImages);
    diagonal(expected, 0);
    std::vector<QPair<int, int>> bands; // top and height
    const QByteArray exported = ExportedBitmap(*map, sets, [&](QImage &band, int top) {
        QCOMPARE(band.format(), QImage::Format_RGB32);
        bands.emplace_back(top, band.height());
        diagonal(band, top);
    });
    QCOMPARE(exported, EncodeBmp24(expected));
    // From the bottom up, each band reaching the one below it.
    QVERIFY(bands.size() > 2);
    QCOMPARE(bands.front().first + bands.front().second, expected.height());
    QCOMPARE(bands.back().first, 0);
    for (std::size_t i = 1; i < bands.size(); ++i)
        QVERIFY(bands[i].first < bands[i - 1].first && bands[i].first + bands[i].second >= bands[i - 1].first);
}

void MapRendererTest::bitmapExportOnAFullDiskKeepsTheOldFile()
{
    QTemporaryDir out;
    const QString path = out.filePath(QStringLiteral("map.bmp"));
    testing::Write(path, "the old picture");
    const auto map = MixedMap(20, 20, 3);
    TileSetLibrary sets(setsDir.path());
    QString error;
    {
        const testing::FileSizeLimit fullDisk(100000);
        RenderMapToBmp(*map, sets, Background, path, error);
    }
    QVERIFY(error.contains(QLatin1String("map.bmp")));
    QCOMPARE(testing::Contents(path), QByteArray("the old picture"));
    QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("map.bmp")});
}

void MapRendererTest::bitmapRowsAreTheSetFilesOwnPixels()
{
    QTemporaryDir dir;
    testing::WriteSyntheticTileSet(dir.path(), 4, QStringLiteral("Set04m.bmp"));
    QVERIFY(setImages[5].save(dir.filePath(QStringLiteral("SET05m.BMP")), "PNG"));
    TileSetLibrary sets(dir.path());
    for (const int s : {4, 5}) {
        const ConstPixelRows rows = sets.bitmapRows(s);
        QCOMPARE(QSize(rows.width, rows.height), setImages[s].size());
        QCOMPARE(rows.bytesPerPixel, 3);
        for (const QPoint at : {QPoint(0, 0), QPoint(24, 40), QPoint(308, 420), QPoint(200, 13)}) {
            const uchar *pixel = rows.row(at.y()) + 3 * at.x();
            QCOMPARE(qRgb(pixel[2], pixel[1], pixel[0]), setImages[s].pixel(at));
        }
    }
    QVERIFY(sets.bitmapRows(4).stride < 0); // the file's rows, stored bottom-up
    QVERIFY(sets.bitmapRows(6).isEmpty());

    // Another set's picture written under set 4's name, a moment later, is picked up.
    QTest::qWait(20);
    testing::WriteSyntheticTileSet(dir.path(), 7, QStringLiteral("Set04m.bmp"));
    const ConstPixelRows changed = sets.bitmapRows(4);
    const uchar *centre = changed.row(40) + 3 * 24;
    QCOMPARE(qRgb(centre[2], centre[1], centre[0]), TileColour(7, 0));
}

void MapRendererTest::tilesDrawIntoBottomUp24BitRows()
{
    // The same tiles drawn into a 32-bit picture and into bottom-up 24-bit rows, clipped at every
    // side, give the same pixels.
    QImage expected(70, 50, QImage::Format_RGB32);
    expected.fill(Qt::red);
    const QImage set24 = setImages[3].convertToFormat(QImage::Format_BGR888);
    const int rowSize = Bmp24RowSize(70);
    QByteArray stored(rowSize * 50, '\0');
    const PixelRows target{reinterpret_cast<uchar *>(stored.data()) + rowSize * 49, -rowSize, 70, 50, 3};
    QImage red(70, 1, QImage::Format_BGR888);
    red.fill(Qt::red);
    for (int y = 0; y < 50; ++y)
        std::memcpy(target.row(y), red.constBits(), 70 * 3);
    const QList<QPoint> places = {{-20, 5}, {40, -30}, {30, 25}, {10, 3}, {60, 40}};
    for (int i = 0; i < places.size(); ++i) {
        DrawTile(setImages[3], i * 7, expected, places[i].x(), places[i].y());
        QVERIFY(DrawTile(RowsOf(set24), i * 7, target, places[i].x(), places[i].y()));
    }
    QImage drawn(70, 50, QImage::Format_BGR888);
    for (int y = 0; y < 50; ++y)
        std::memcpy(drawn.scanLine(y), target.row(y), 70 * 3);
    QCOMPARE(drawn.convertToFormat(QImage::Format_RGB32), expected);
    QCOMPARE(stored.left(3), QByteArray("\0\0\xff", 3)); // the bottom row is stored first; blue, green, red

    // Pixels of another size, or a tile beyond the bitmap, draw nothing.
    const QByteArray before = stored;
    QVERIFY(!DrawTile(RowsOf(std::as_const(setImages[3])), 1, target, 10, 3));
    QVERIFY(!DrawTile(RowsOf(set24), 85, target, 10, 3));
    QCOMPARE(stored, before);
}

QTEST_GUILESS_MAIN(MapRendererTest)
#include "tst_map_renderer.moc"
