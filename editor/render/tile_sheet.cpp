#include "tile_sheet.h"

#include "model/geometry.h"
#include "model/terrain_tables.h"
#include "render/tile_drawing.h"

namespace vantor {

int TileCountOf(const QImage &setImage)
{
    int count = 0;
    while (count < TilesPerSet && TileFitsIn(setImage, count))
        ++count;
    return count;
}

int TileSheetRows(int tileCount) { return (tileCount + TileColumns - 1) / TileColumns; }

QImage RepackTileSet(const QImage &setImage)
{
    const int tileCount = TileCountOf(setImage);
    QImage sheet(TileColumns * TileWidth, TileSheetRows(tileCount) * TileHeight, QImage::Format_ARGB32);
    sheet.fill(Qt::transparent);
    // An opaque 32-bit RGB pixel is an ARGB pixel of alpha 255, so the hexagon copies opaque.
    const QImage rgb = setImage.convertToFormat(QImage::Format_RGB32);
    for (int tile = 0; tile < tileCount; ++tile)
        DrawTile(rgb, tile, sheet, tile % TileColumns * TileWidth, tile / TileColumns * TileHeight);
    return sheet;
}

} // namespace vantor
