#include "map_patch.h"

#include "model/geometry.h"

#include <QPainter>

#include <algorithm>
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
    SetPixels pixels;
    for (int s = 0; s < TileSetCount; ++s)
        pixels[s] = RowsOf(sets.images[s]);
    // The cells of a band, one cell high, are drawn as one window of the picture, from the leftmost
    // cell to the rightmost, by the full redraw's own code: the overlaps of neighbouring hexagons
    // come out as they do there.
    QPainter painter(&picture);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (const auto &[top, cells] : CellsByBand(map, hexes)) {
        int left = cells.front().left;
        int right = cells.front().left + TileWidth;
        for (const PixelRect &cell : cells) {
            left = std::min(left, cell.left);
            right = std::max(right, cell.left + TileWidth);
        }
        QImage window(right - left, TileHeight, picture.format());
        const PixelRows rows = RowsOf(window);
        FillAroundHexes(map, pixels, rows, top, RowOfColour(background, rows.width, rows.bytesPerPixel), left);
        DrawHexes(map, pixels, rows, top, left);
        if (overlay)
            overlay(window, top, left);
        for (const PixelRect &cell : cells)
            painter.drawImage(QPoint(cell.left, cell.top), window, QRect(cell.left - left, 0, TileWidth, TileHeight));
    }
}

int PatchBandCount(const MapStore &map, const std::vector<HexCoord> &hexes) { return int(CellsByBand(map, hexes).size()); }

} // namespace vantor
