#include "map_renderer.h"

#include "model/geometry.h"
#include "model/terrain_tables.h"
#include "render/tile_drawing.h"
#include "render/tile_set_library.h"

#include <algorithm>
#include <cstring>

namespace vantor {

namespace {

// The rows of hexes that reach into the picture rows bandTop to bandTop + bandHeight - 1: row y
// covers at most the picture rows 40y to 40y + 59, its odd columns being 20 pixels lower.
struct HexRowRange {
    int first;
    int end;
};

HexRowRange HexRowsReaching(int bandTop, int bandHeight, int mapHeight)
{
    constexpr int RowReach = TileHeight + TileHeight / 2;
    const int first = bandTop < RowReach ? 0 : (bandTop - RowReach) / TileHeight + 1;
    const int end = std::min(mapHeight, (bandTop + bandHeight + TileHeight - 1) / TileHeight);
    return {first, std::max(first, end)};
}

// The columns of hexes that reach into the picture columns bandLeft to bandLeft + bandWidth - 1:
// column x covers the picture columns 37x to 37x + 47.
struct HexColumnRange {
    int first;
    int end;
};

HexColumnRange HexColumnsReaching(int bandLeft, int bandWidth, int mapWidth)
{
    const int first = bandLeft < TileWidth ? 0 : (bandLeft - TileWidth) / ColumnStep + 1;
    const int end = std::min(mapWidth, (bandLeft + bandWidth + ColumnStep - 1) / ColumnStep);
    return {first, std::max(first, end)};
}

} // namespace

QImage NewMapPicture(const MapStore &map)
{
    return QImage(MapPictureWidth(map.MapWidth), MapPictureHeight(map.MapHeight), QImage::Format_RGB32);
}

std::array<bool, TileSetCount> SetsUsedBy(const MapStore &map)
{
    std::array<bool, TileSetCount> used{};
    for (int y = 0; y < map.MapHeight; ++y)
        for (int x = 0; x < map.MapWidth; ++x)
            if (const int s = map.at(TileSet, x, y); s < TileSetCount)
                used[s] = true;
    return used;
}

MapTileSets LoadTileSetsOf(const MapStore &map, TileSetLibrary &library)
{
    const std::array<bool, TileSetCount> used = SetsUsedBy(map);
    MapTileSets sets;
    for (int s = 0; s < TileSetCount; ++s) {
        if (!used[s])
            continue;
        sets.images[s] = library.image(s);
        if (sets.images[s].isNull())
            sets.unavailableSets.push_back(s);
    }
    return sets;
}

void DrawHexes(const MapStore &map, const SetPixels &sets, const PixelRows &picture, int bandTop, int bandLeft,
               const std::function<void(int set)> &afterSet)
{
    const HexRowRange rows = HexRowsReaching(bandTop, picture.height, map.MapHeight);
    const HexColumnRange columns = HexColumnsReaching(bandLeft, picture.width, map.MapWidth);

    for (int s = 0; s < TileSetCount; ++s) {
        const ConstPixelRows &set = sets[s];
        if (set.isEmpty())
            continue;
        for (int y = rows.first; y < rows.end; ++y) {
            for (int x = columns.first; x < columns.end; ++x) {
                if (map.at(TileSet, x, y) != s)
                    continue;
                const int tile = map.at(TileIndex, x, y);
                const PixelRect target = HexRect(y * map.MapWidth + x, map.MapWidth);
                DrawTile(set, tile, picture, target.left - bandLeft, target.top - bandTop);
            }
        }
        if (afterSet)
            afterSet(s);
    }
}

std::vector<uchar> RowOfColour(ColourValue colour, int width, int bytesPerPixel)
{
    const uchar pixel[4] = {uchar(colour >> 16), uchar(colour >> 8), uchar(colour), 0xFF};
    std::vector<uchar> row(std::size_t(std::max(width, 0)) * bytesPerPixel);
    for (std::size_t i = 0; i < row.size(); i += bytesPerPixel)
        std::memcpy(row.data() + i, pixel, bytesPerPixel);
    return row;
}

void FillAroundHexes(const MapStore &map, const SetPixels &sets, const PixelRows &picture, int bandTop,
                     const std::vector<uchar> &background, int bandLeft)
{
    const int pixelSize = picture.bytesPerPixel;
    const auto fill = [&](uchar *row, int from, int to) {
        if (from < to)
            std::memcpy(row + qsizetype(from) * pixelSize, background.data() + qsizetype(from) * pixelSize,
                        std::size_t(to - from) * pixelSize);
    };
    // Which hexes of the rows reaching into the band are drawn.
    const HexRowRange rows = HexRowsReaching(bandTop, picture.height, map.MapHeight);
    const int width = map.MapWidth;
    std::vector<char> drawn(std::size_t(rows.end - rows.first) * width);
    for (int y = rows.first; y < rows.end; ++y)
        for (int x = 0; x < width; ++x)
            if (const int s = map.at(TileSet, x, y); s < TileSetCount)
                drawn[std::size_t(y - rows.first) * width + x] = CanDrawTile(sets[s], map.at(TileIndex, x, y), pixelSize);

    // In a picture row, all even columns show the same row of the hexagon mask, and so do all odd
    // ones: a column's hexes lie 40 pixels apart, the odd columns' 20 pixels lower (see HexRect).
    struct ColumnsCover {
        const char *drawn = nullptr; // of the hex row that covers the picture row; null for none
        MaskRow mask{0, 0};
    };
    for (int y = 0; y < picture.height; ++y) {
        std::array<ColumnsCover, 2> covers;
        for (int parity = 0; parity < 2; ++parity) {
            const int fromFirstHexTop = bandTop + y - parity * (TileHeight / 2);
            const int hexRow = fromFirstHexTop / TileHeight;
            if (fromFirstHexTop >= 0 && hexRow >= rows.first && hexRow < rows.end)
                covers[parity] = {drawn.data() + std::size_t(hexRow - rows.first) * width,
                                  HexMask[fromFirstHexTop % TileHeight]};
        }
        uchar *row = picture.row(y);
        int filledTo = 0; // every pixel left of it is covered by a hexagon or filled
        for (int x = 0, left = -bandLeft; x < width; ++x, left += ColumnStep) {
            const ColumnsCover &cover = covers[x % 2];
            if (!cover.drawn || !cover.drawn[x])
                continue;
            fill(row, filledTo, std::min(left + cover.mask.transparentLeft, picture.width));
            filledTo = std::max(filledTo, std::min(left + TileWidth - cover.mask.transparentRight, picture.width));
        }
        fill(row, filledTo, picture.width);
    }
}

void DrawMap(const MapStore &map, const MapTileSets &sets, ColourValue background, QImage &picture, int bandTop,
             const std::function<void(int set)> &afterSet)
{
    SetPixels pixels;
    for (int s = 0; s < TileSetCount; ++s)
        pixels[s] = RowsOf(sets.images[s]);
    const PixelRows rows = RowsOf(picture);
    // A picture shown set by set starts from the background everywhere.
    if (afterSet)
        picture.fill(ToQColor(background));
    else
        FillAroundHexes(map, pixels, rows, bandTop, RowOfColour(background, rows.width, rows.bytesPerPixel));
    DrawHexes(map, pixels, rows, bandTop, 0, afterSet);
}

RedrawReport RedrawMapPicture(const MapStore &map, TileSetLibrary &library, ColourValue background, QImage &picture,
                              const std::function<void(int set)> &afterSet)
{
    const MapTileSets sets = LoadTileSetsOf(map, library);
    DrawMap(map, sets, background, picture, 0, afterSet);
    return {sets.unavailableSets};
}

} // namespace vantor
