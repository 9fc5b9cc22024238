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

RedrawReport DrawMap(const MapStore &map, TileSetLibrary &sets, ColourValue background, QImage &picture,
                     int bandTop, const std::function<void(int set)> &afterSet)
{
    RedrawReport report;
    picture.fill(ToQColor(background));

    std::array<int, TileSetCount> hexesOfSet{};
    for (int y = 0; y < map.MapHeight; ++y)
        for (int x = 0; x < map.MapWidth; ++x)
            if (const int s = map.at(TileSet, x, y); s < TileSetCount)
                ++hexesOfSet[s];

    // Only the rows of hexes that reach into the band are visited.
    const int bandBottom = bandTop + picture.height();
    const int firstRow = std::max(0, (bandTop - 2 * TileHeight) / TileHeight);
    const int endRow = std::min(map.MapHeight, bandBottom / TileHeight + 1);

    for (int s = 0; s < TileSetCount; ++s) {
        if (hexesOfSet[s] == 0)
            continue;
        const QImage &setImage = sets.image(s);
        if (setImage.isNull()) {
            report.unavailableSets.push_back(s);
            continue;
        }
        for (int y = firstRow; y < endRow; ++y) {
            for (int x = 0; x < map.MapWidth; ++x) {
                if (map.at(TileSet, x, y) != s)
                    continue;
                const int tile = map.at(TileIndex, x, y);
                const PixelRect target = HexRect(y * map.MapWidth + x, map.MapWidth);
                DrawTile(setImage, tile, picture, target.left, target.top - bandTop);
                if (TileFitsIn(setImage, tile))
                    report.lastTileDrawn = TileRef{s, tile};
            }
        }
        if (afterSet)
            afterSet(s);
    }
    return report;
}

} // namespace vantor
