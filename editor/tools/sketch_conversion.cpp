#include "sketch_conversion.h"

#include "files/file_io.h"
#include "render/bmp_decoding.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include <algorithm>
#include <cstdlib>

namespace vantor {

namespace {

constexpr ColourValue Rgb(int red, int green, int blue) { return ColourValue(red) | ColourValue(green) << 8 | ColourValue(blue) << 16; }

constexpr ColourValue White = Rgb(255, 255, 255);

// A sketch is a hand-made picture; anything larger than this is not one.
constexpr qint64 LargestSketchFile = 256 * 1024 * 1024;

} // namespace

const std::array<ColourClass, ColourClassCount> ColourClasses = {{
    {Rgb(0, 0, 127), 0, {52, 53, 54}},     // navy: deep ocean
    {Rgb(0, 255, 0), 1, {0, 1, 2}},        // lime: clear
    {Rgb(0, 127, 0), 10, {59, 62, 63}},    // dark green: forest
    {Rgb(255, 255, 255), 8, {59, 60, 61}}, // white: mountain
    {Rgb(255, 0, 0), 2, {30, 30, 30}},     // red: paved road
    {Rgb(0, 0, 255), 3, {10, 10, 10}},     // blue: river
    {Rgb(255, 255, 0), 11, {12, 14, 15}},  // yellow: desert
}};

int ColourDistance(ColourValue a, ColourValue b)
{
    int distance = 0;
    for (int shift = 0; shift < 24; shift += 8)
        distance += std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF));
    return distance;
}

int ClassifyColor(ColourValue colour)
{
    int best = 0;
    int bestDistance = ColourDistance(colour, ColourClasses[0].reference);
    for (int k = 1; k < ColourClassCount; ++k)
        if (const int distance = ColourDistance(colour, ColourClasses[k].reference); distance < bestDistance) {
            best = k;
            bestDistance = distance;
        }
    return best;
}

QSize SketchMapSize(QSize sketch, int pixelsPerHex)
{
    if (pixelsPerHex < 1 || sketch.width() < 0 || sketch.height() < 0)
        return {0, 0};
    return {std::min(sketch.width() / pixelsPerHex, StoreColumns), std::min(sketch.height() / pixelsPerHex, StoreRows)};
}

int SketchHexClass(const QImage &sketch, int pixelsPerHex, int x, int y)
{
    std::array<int, ColourClassCount> votes{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            const int px = pixelsPerHex * x + i;
            const int py = pixelsPerHex * y + j;
            const bool inside = px >= 0 && py >= 0 && px < sketch.width() && py < sketch.height();
            ++votes[ClassifyColor(inside ? ColourOfPixel(sketch.pixel(px, py)) : White)];
        }
    // The first of the most voted classes.
    return int(std::max_element(votes.begin(), votes.end()) - votes.begin());
}

int DrawVariant(VariantSource &random)
{
    // Draws above the largest multiple of 3 the source can give are drawn again, so that the three
    // variants have exactly the same chance.
    constexpr auto range = std::uint64_t(VariantSource::max() - VariantSource::min()) + 1;
    constexpr std::uint64_t limit = range - range % 3;
    std::uint64_t value;
    do
        value = random() - VariantSource::min();
    while (value >= limit);
    return int(value % 3);
}

void ConvertSketch(const QImage &sketch, int pixelsPerHex, MapStore &map, const DefaultTerrainTable &defaultTerrain,
                   VariantSource &random)
{
    const bool direct = sketch.format() == QImage::Format_RGB32 || sketch.format() == QImage::Format_ARGB32;
    const QImage picture = direct ? sketch : sketch.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < map.MapHeight; ++y)
        for (int x = 0; x < map.MapWidth; ++x) {
            const ColourClass &kind = ColourClasses[SketchHexClass(picture, pixelsPerHex, x, y)];
            map.at(CityAttr16, x, y) = 255;
            map.at(PlaceIndex, x, y) = 255;
            map.at(PlaceIndexHigh, x, y) = 127;
            const std::uint8_t tile = kind.tiles[DrawVariant(random)];
            map.at(TileIndex, x, y) = tile;
            map.at(TileSet, x, y) = kind.tileSet;
            map.at(Terrain, x, y) = std::uint8_t(DefaultTerrainOf(defaultTerrain, kind.tileSet, tile));
        }
}

QString ReadSketch(const QString &path, QImage &sketch)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return FileMessage(path, QStringLiteral("cannot open the file: %1").arg(file.errorString()));
    if (file.size() > LargestSketchFile)
        return FileMessage(path, QStringLiteral("the file is too large for a sketch"));
    const QByteArray data = file.readAll();
    if (!data.startsWith("BM"))
        return FileMessage(path, QStringLiteral("not a Windows bitmap"));
    QImage image = DecodePlainBmp24(data);
    if (image.isNull()) {
        QBuffer buffer;
        buffer.setData(RelabelExtendedInfoHeader(data));
        QImageReader reader(&buffer, "bmp");
        image = reader.read();
    }
    if (image.isNull() || image.width() < 1 || image.height() < 1)
        return FileMessage(path, QStringLiteral("not a readable Windows bitmap"));
    if (image.format() != QImage::Format_RGB32)
        image = image.convertToFormat(QImage::Format_RGB32);
    sketch = image;
    return {};
}

} // namespace vantor
