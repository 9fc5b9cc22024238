#include "map_renderer.h"

#include "model/geometry.h"
#include "model/terrain_tables.h"
#include "render/tile_drawing.h"
#include "render/tile_set_library.h"

#include <algorithm>

namespace vantor {

QImage NewMapPicture(const MapStore &map)
{
    return QImage(MapPictureWidth(map.MapWidth), MapPictureHeight(map.MapHeight), QImage::Format_RGB32);
}

MapTileSets LoadTileSetsOf(const MapStore &map, TileSetLibrary &library)
{
    std::array<bool, TileSetCount> used{};
    for (int y = 0; y < map.MapHeight; ++y)
        for (int x = 0; x < map.MapWidth; ++x)
            if (const int s = map.at(TileSet, x, y); s < TileSetCount)
                used[s] = true;

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

std::optional<TileRef> DrawMap(const MapStore &map, const MapTileSets &sets, ColourValue background, QImage &picture,
                               int bandTop, const std::function<void(int set)> &afterSet)
{
    picture.fill(ToQColor(background));

    // Only the rows of hexes that reach into the band are visited.
    const int bandBottom = bandTop + picture.height();
    const int firstRow = std::max(0, (bandTop - 2 * TileHeight) / TileHeight);
    const int endRow = std::min(map.MapHeight, bandBottom / TileHeight + 1);

    std::optional<TileRef> lastTileDrawn;
    for (int s = 0; s < TileSetCount; ++s) {
        const QImage &setImage = sets.images[s];
        if (setImage.isNull())
            continue;
        for (int y = firstRow; y < endRow; ++y) {
            for (int x = 0; x < map.MapWidth; ++x) {
                if (map.at(TileSet, x, y) != s)
                    continue;
                const int tile = map.at(TileIndex, x, y);
                if (!TileFitsIn(setImage, tile))
                    continue;
                const PixelRect target = HexRect(y * map.MapWidth + x, map.MapWidth);
                DrawTile(setImage, tile, picture, target.left, target.top - bandTop);
                lastTileDrawn = TileRef{s, tile};
            }
        }
        if (afterSet)
            afterSet(s);
    }
    return lastTileDrawn;
}

RedrawReport RedrawMapPicture(const MapStore &map, TileSetLibrary &library, ColourValue background, QImage &picture,
                              const std::function<void(int set)> &afterSet)
{
    const MapTileSets sets = LoadTileSetsOf(map, library);
    return {sets.unavailableSets, DrawMap(map, sets, background, picture, 0, afterSet)};
}

} // namespace vantor
