// make_render_comparison: writes one map twice, as a native .map with its 16 tile-set bitmaps and
// as an equivalent Tiled .tmx with 16 tile sheets, so that `vantor-cli render` and Tiled's
// `tmxrasterizer` can be timed drawing the same picture. It also compares two rendered bitmaps.
//
//   make_render_comparison OUTDIR         write the data (see README.md for the files)
//   make_render_comparison --compare A B  compare two pictures of that map (exit status 3 if they differ
//                                         other than where two hexagons overlap)

#include "files/native_map_file.h"
#include "render/tmx_export.h"
#include "model/geometry.h"
#include "render/tile_sheet.h"

#include <QDir>
#include <QColor>
#include <QCoreApplication>
#include <QImage>
#include <QSaveFile>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdint>
#include <random>
#include <vector>

namespace {

constexpr int MapWidth = 72;
constexpr int MapHeight = 70;
constexpr int SetCount = 16;
constexpr int TilesPerSet = 80; // 8 columns x 10 rows
constexpr int SetBitmapWidth = 309;
constexpr int SetBitmapHeight = 421;
constexpr int HexRecordSize = 37;
constexpr int TileByte = 12;
constexpr int SetByte = 14;
constexpr int UsageTableSize = 101;
// The background vantor-cli draws by default (0x00BBGGRR).
constexpr vantor::ColourValue DefaultBackground = 0x38b8a0;

int Fail(const QString &message)
{
    std::fprintf(stderr, "make_render_comparison: %s\n", qPrintable(message));
    return 1;
}

quint32 Hash(quint32 a, quint32 b, quint32 c, quint32 d)
{
    quint32 h = 2166136261u;
    for (const quint32 v : {a, b, c, d}) {
        h ^= v;
        h *= 16777619u;
        h ^= h >> 13;
    }
    return h;
}

// A colour that depends on the set (hue), the tile (pattern and shade) and the pixel (grain).
QRgb TilePixel(int set, int tile, int x, int y)
{
    const int hue = (set * 360 / SetCount + tile * 3) % 360;
    int value = 120 + (tile % 10) * 10;
    switch (tile % 4) {
    case 0: value += ((x + y) / 4) % 2 ? 30 : -30; break;           // diagonal stripes
    case 1: value += ((x / 6 + y / 5) % 2) ? 25 : -25; break;       // checks
    case 2: value += (x * x + y * y) / 60 % 3 * 20 - 20; break;     // rings
    default: value += (y % 8 < 3) ? 35 : -15; break;                // bands
    }
    value += int(Hash(quint32(set), quint32(tile), quint32(x), quint32(y)) % 21) - 10;
    const int saturation = 90 + (tile / 8) * 15;
    return QColor::fromHsv(hue, std::min(saturation, 255), std::clamp(value, 0, 255)).rgb();
}

QImage MakeSetBitmap(int set)
{
    QImage image(SetBitmapWidth, SetBitmapHeight, QImage::Format_RGB32);
    // What lies outside every hexagon: a grain that should never show in a picture.
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(255, int(Hash(99, quint32(set), quint32(x), quint32(y)) % 64), 255));
    for (int tile = 0; tile < TilesPerSet; ++tile) {
        const vantor::PixelRect cell = vantor::TileRect(tile);
        for (int y = 0; y < vantor::TileHeight; ++y)
            for (int x = 0; x < vantor::TileWidth; ++x)
                if (vantor::IsInsideHexagon(x, y))
                    image.setPixel(cell.left + x, cell.top + y, TilePixel(set, tile, x, y));
    }
    return image;
}

// A 32-bit bitmap with an alpha channel (BITMAPV5HEADER with bit fields), which Qt reads as ARGB32;
// Qt's own BMP writer keeps no alpha.
QByteArray EncodeBmp32WithAlpha(const QImage &image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    constexpr int FileHeaderSize = 14;
    constexpr int InfoHeaderSize = 124;
    const quint32 imageSize = quint32(argb.width()) * quint32(argb.height()) * 4;
    QByteArray out(FileHeaderSize + InfoHeaderSize, '\0');
    char *h = out.data();
    const auto put32 = [h](int at, quint32 v) { qToLittleEndian(v, h + at); };
    const auto put16 = [h](int at, quint16 v) { qToLittleEndian(v, h + at); };
    h[0] = 'B';
    h[1] = 'M';
    put32(2, FileHeaderSize + InfoHeaderSize + imageSize);
    put32(10, FileHeaderSize + InfoHeaderSize);
    put32(14, InfoHeaderSize);
    put32(18, quint32(argb.width()));
    put32(22, quint32(argb.height())); // positive: bottom row first
    put16(26, 1);
    put16(28, 32);
    put32(30, 3); // BI_BITFIELDS
    put32(34, imageSize);
    put32(38, 3780);
    put32(42, 3780);
    put32(54, 0x00FF0000u); // red mask
    put32(58, 0x0000FF00u); // green mask
    put32(62, 0x000000FFu); // blue mask
    put32(66, 0xFF000000u); // alpha mask
    put32(70, 0x73524742u); // colour space 'sRGB'
    put32(122, 4);          // rendering intent: LCS_GM_IMAGES
    out.reserve(out.size() + imageSize);
    for (int y = argb.height() - 1; y >= 0; --y) {
        const auto *row = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            char pixel[4];
            qToLittleEndian(quint32(row[x]), pixel); // B, G, R, A
            out.append(pixel, 4);
        }
    }
    return out;
}

bool WriteFile(const QString &path, const QByteArray &data, QString &error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit()) {
        error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

struct Hex {
    int set;
    int tile;
};
using Hexes = std::array<std::array<Hex, MapWidth>, MapHeight>;

// Regions of sets with stray hexes of other sets, and a tile of 0..79 in every hex.
Hexes MakeHexes()
{
    std::mt19937 random(20240531);
    Hexes hexes{};
    for (int y = 0; y < MapHeight; ++y)
        for (int x = 0; x < MapWidth; ++x) {
            int set = (x / 18) + 4 * (y / 18);
            if (random() % 5 == 0)
                set = int(random() % SetCount);
            hexes[y][x] = {set, int(random() % TilesPerSet)};
        }
    return hexes;
}

QByteArray EncodeNativeMap(const Hexes &hexes)
{
    std::mt19937 random(7);
    QByteArray data;
    data.append(char(MapWidth)).append('\0').append(char(MapHeight)).append('\0');
    std::array<char, UsageTableSize> used{};
    used[0] = 1;
    for (int y = 0; y < MapHeight; ++y)
        for (int x = 0; x < MapWidth; ++x) {
            char record[HexRecordSize];
            for (char &byte : record)
                byte = char(random() % 8); // the other planes: anything
            record[TileByte] = char(hexes[y][x].tile);
            record[SetByte] = char(hexes[y][x].set);
            used[hexes[y][x].set] = 1;
            data.append(record, HexRecordSize);
        }
    data.append(used.data(), UsageTableSize);
    return data;
}

// The map as vantor-cli exports it to Tiled, with the sheets sheets/sheetNN.<sheetExtension>.
QByteArray EncodeTmx(const vantor::MapStore &map, const QString &sheetExtension)
{
    vantor::TmxTilesets tilesets;
    for (int s = 0; s < SetCount; ++s)
        tilesets[s] = {QStringLiteral("sheets/sheet%1.%2").arg(s, 2, 10, QLatin1Char('0')).arg(sheetExtension),
                       QSize(vantor::TileColumns * vantor::TileWidth, vantor::TileSheetRows(TilesPerSet) * vantor::TileHeight),
                       TilesPerSet};
    return vantor::EncodeTmx(map, tilesets, vantor::InitialDefaultTerrain(), {}, DefaultBackground);
}

int Generate(const QString &folder)
{
    const QDir out(folder);
    if (!out.mkpath(QStringLiteral("sets")) || !out.mkpath(QStringLiteral("sheets")))
        return Fail(QStringLiteral("%1: cannot make the folders").arg(folder));
    QString error;
    for (int s = 0; s < SetCount; ++s) {
        const QImage setBitmap = MakeSetBitmap(s);
        const QString setPath = out.filePath(QStringLiteral("sets/SET%1m.BMP").arg(s, 2, 10, QLatin1Char('0')));
        // Qt writes a 32-bit RGB image as a 24-bit bitmap.
        if (!setBitmap.convertToFormat(QImage::Format_RGB888).save(setPath, "BMP"))
            return Fail(QStringLiteral("%1: cannot write").arg(setPath));
        const QImage sheet = vantor::RepackTileSet(setBitmap);
        const QString sheetBase = out.filePath(QStringLiteral("sheets/sheet%1").arg(s, 2, 10, QLatin1Char('0')));
        if (!sheet.save(sheetBase + QStringLiteral(".png"), "PNG"))
            return Fail(QStringLiteral("%1.png: cannot write").arg(sheetBase));
        if (!WriteFile(sheetBase + QStringLiteral(".bmp"), EncodeBmp32WithAlpha(sheet), error))
            return Fail(error);
    }
    const QByteArray nativeMap = EncodeNativeMap(MakeHexes());
    vantor::MapStore map;
    if (const QString problem = vantor::DecodeMapFile(nativeMap, map); !problem.isEmpty())
        return Fail(problem);
    if (!WriteFile(out.filePath(QStringLiteral("map.map")), nativeMap, error) ||
        !WriteFile(out.filePath(QStringLiteral("map_png.tmx")), EncodeTmx(map, QStringLiteral("png")), error) ||
        !WriteFile(out.filePath(QStringLiteral("map.tmx")), EncodeTmx(map, QStringLiteral("bmp")), error))
        return Fail(error);
    return 0;
}

// How many hexagons of the map cover each pixel of its picture.
std::vector<std::uint8_t> HexCoverage(int width, int height)
{
    std::vector<std::uint8_t> coverage(std::size_t(width) * std::size_t(height), 0);
    for (int n = 0; n < MapWidth * MapHeight; ++n) {
        const vantor::PixelRect hex = vantor::HexRect(n, MapWidth);
        for (int y = 0; y < vantor::TileHeight; ++y)
            for (int x = 0; x < vantor::TileWidth; ++x)
                if (vantor::IsInsideHexagon(x, y) && hex.left + x < width && hex.top + y < height)
                    ++coverage[std::size_t(hex.top + y) * std::size_t(width) + std::size_t(hex.left + x)];
    }
    return coverage;
}

// Pixels that two hexagons cover depend on which of them is drawn last, and the two programs draw in
// different orders (by tile set, or by row); every other pixel must match.
int Compare(const QString &a, const QString &b)
{
    const QImage first = QImage(a).convertToFormat(QImage::Format_RGB32);
    const QImage second = QImage(b).convertToFormat(QImage::Format_RGB32);
    if (first.isNull() || second.isNull())
        return Fail(QStringLiteral("cannot read %1").arg(first.isNull() ? a : b));
    const int width = std::min(first.width(), second.width());
    const int height = std::min(first.height(), second.height());
    const std::vector<std::uint8_t> coverage = HexCoverage(width, height);
    qint64 shared = 0, differingShared = 0, differingOther = 0;
    int firstX = -1, firstY = -1;
    for (int y = 0; y < height; ++y) {
        const auto *p = reinterpret_cast<const QRgb *>(first.constScanLine(y));
        const auto *q = reinterpret_cast<const QRgb *>(second.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            const bool isShared = coverage[std::size_t(y) * std::size_t(width) + std::size_t(x)] > 1;
            shared += isShared;
            if (((p[x] ^ q[x]) & 0xFFFFFFu) == 0)
                continue;
            if (isShared) {
                ++differingShared;
            } else if (differingOther++ == 0) {
                firstX = x;
                firstY = y;
            }
        }
    }
    std::printf("%dx%d vs %dx%d, compared %dx%d: %lld of %lld pixels covered by two hexagons differ (drawing order), "
                "%lld other pixels differ",
                first.width(), first.height(), second.width(), second.height(), width, height,
                static_cast<long long>(differingShared), static_cast<long long>(shared),
                static_cast<long long>(differingOther));
    if (differingOther > 0)
        std::printf(", the first at (%d, %d): #%06x vs #%06x", firstX, firstY, first.pixel(firstX, firstY) & 0xFFFFFFu,
                    second.pixel(firstX, firstY) & 0xFFFFFFu);
    std::printf("\n");
    return differingOther == 0 ? 0 : 3;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 3 && args[0] == QLatin1String("--compare"))
        return Compare(args[1], args[2]);
    if (args.size() == 1 && !args[0].startsWith(QLatin1String("-")))
        return Generate(args[0]);
    std::fputs("Usage: make_render_comparison OUTDIR\n       make_render_comparison --compare A.bmp B.bmp\n", stderr);
    return 2;
}
