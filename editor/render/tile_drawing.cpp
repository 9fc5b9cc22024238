#include "tile_drawing.h"

#include "model/geometry.h"

#include <algorithm>
#include <cstring>

namespace vantor {

namespace {

// Copies the hexagon of the 48 x 40 cell at (sourceLeft, sourceTop) of source.
void CopyHexagon(const QImage &source, int sourceLeft, int sourceTop, QImage &target, int left, int top)
{
    const int targetWidth = target.width();
    const int firstRow = std::max(0, -top);
    const int endRow = std::min(TileHeight, target.height() - top);
    for (int r = firstRow; r < endRow; ++r) {
        const int from = std::max(HexMask[r].transparentLeft, -left);
        const int to = std::min(TileWidth - HexMask[r].transparentRight, targetWidth - left);
        if (from >= to)
            continue;
        const auto *sourceRow = reinterpret_cast<const QRgb *>(source.constScanLine(sourceTop + r)) + sourceLeft;
        auto *targetRow = reinterpret_cast<QRgb *>(target.scanLine(top + r)) + left;
        std::memcpy(targetRow + from, sourceRow + from, sizeof(QRgb) * (to - from));
    }
}

} // namespace

bool TileFitsIn(const QImage &setImage, int tile)
{
    if (tile < 0)
        return false;
    const PixelRect cell = TileRect(tile);
    return cell.right <= setImage.width() && cell.bottom <= setImage.height();
}

void DrawTile(const QImage &setImage, int tile, QImage &target, int left, int top)
{
    if (!TileFitsIn(setImage, tile))
        return;
    const PixelRect cell = TileRect(tile);
    CopyHexagon(setImage, cell.left, cell.top, target, left, top);
}

void DrawMaskedTile(const QImage &source, QImage &target, int left, int top)
{
    if (source.width() < TileWidth || source.height() < TileHeight)
        return;
    CopyHexagon(source, 0, 0, target, left, top);
}

} // namespace vantor
