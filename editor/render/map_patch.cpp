#include "map_patch.h"

#include "model/geometry.h"

#include <QPainter>

namespace vantor {

void PatchMapPicture(const MapStore &map, const MapTileSets &sets, ColourValue background, QImage &picture,
                     const std::vector<HexCoord> &hexes)
{
    // A band of the whole picture's width, one cell high, is drawn by the full redraw itself, so
    // that the overlaps of neighbouring hexagons come out as they do there.
    QImage band(picture.width(), TileHeight, picture.format());
    QPainter painter(&picture);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (const HexCoord hex : hexes) {
        if (!IsOnMap(map, hex.x, hex.y))
            continue;
        const PixelRect cell = HexRect(hex.y * map.MapWidth + hex.x, map.MapWidth);
        DrawMap(map, sets, background, band, cell.top);
        painter.drawImage(QPoint(cell.left, cell.top), band, QRect(cell.left, 0, TileWidth, TileHeight));
    }
}

} // namespace vantor
