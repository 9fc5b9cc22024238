#include "map_patch.h"

#include "model/geometry.h"

#include <QPainter>

#include <map>

namespace vantor {

namespace {

// The cells to patch by the top row of their band.
std::map<int, std::vector<PixelRect>> CellsByBand(const MapStore &map, const std::vector<HexCoord> &hexes)
{
    std::map<int, std::vector<PixelRect>> bands;
    for (const HexCoord hex : hexes) {
        if (!IsOnMap(map, hex.x, hex.y))
            continue;
        const PixelRect cell = HexRect(hex.y * map.MapWidth + hex.x, map.MapWidth);
        bands[cell.top].push_back(cell);
    }
    return bands;
}

} // namespace

void PatchMapPicture(const MapStore &map, const MapTileSets &sets, ColourValue background, QImage &picture,
                     const std::vector<HexCoord> &hexes, const PictureOverlay &overlay)
{
    // A band of the whole picture's width, one cell high, is drawn by the full redraw itself, so
    // that the overlaps of neighbouring hexagons come out as they do there; each band once for
    // all its cells.
    QImage band(picture.width(), TileHeight, picture.format());
    QPainter painter(&picture);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (const auto &[top, cells] : CellsByBand(map, hexes)) {
        DrawMap(map, sets, background, band, top);
        if (overlay)
            overlay(band, top);
        for (const PixelRect &cell : cells)
            painter.drawImage(QPoint(cell.left, cell.top), band, QRect(cell.left, 0, TileWidth, TileHeight));
    }
}

int PatchBandCount(const MapStore &map, const std::vector<HexCoord> &hexes) { return int(CellsByBand(map, hexes).size()); }

} // namespace vantor
