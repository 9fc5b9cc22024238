#include "tile_drawing.h"

#include "model/geometry.h"

#include <algorithm>
#include <cstring>

namespace vantor {

namespace {

// Copies the hexagon of the 48 x 40 cell at (sourceLeft, sourceTop) of source.
void CopyHexagon(const ConstPixelRows &source, int sourceLeft, int sourceTop, const PixelRows &target, int left,
                 int top)
{
    const int firstRow = std::max(0, -top);
    const int endRow = std::min(TileHeight, target.height - top);
    if (firstRow >= endRow)
        return;
    // Kept in locals: the copies could otherwise change them as far as the compiler knows.
    const int pixelSize = target.bytesPerPixel;
    const qsizetype sourceStride = source.stride;
    const qsizetype targetStride = target.stride;
    const int clipLeft = -left;
    const int clipRight = target.width - left;
    const bool clipped = clipLeft > 0 || clipRight < TileWidth;
    const uchar *sourceRow = source.row(sourceTop + firstRow) + qsizetype(sourceLeft) * pixelSize;
    uchar *targetRow = target.row(top + firstRow);
    for (int r = firstRow; r < endRow; ++r, sourceRow += sourceStride, targetRow += targetStride) {
        int from = HexMask[r].transparentLeft;
        int to = TileWidth - HexMask[r].transparentRight;
        if (clipped) {
            from = std::max(from, clipLeft);
            to = std::min(to, clipRight);
            if (from >= to)
                continue;
        }
        std::memcpy(targetRow + qsizetype(left + from) * pixelSize, sourceRow + qsizetype(from) * pixelSize,
                    std::size_t(to - from) * pixelSize);
    }
}

} // namespace

bool TileFitsIn(int setWidth, int setHeight, int tile)
{
    if (tile < 0)
        return false;
    const PixelRect cell = TileRect(tile);
    return cell.right <= setWidth && cell.bottom <= setHeight;
}

bool CanDrawTile(const ConstPixelRows &set, int tile, int targetPixelSize)
{
    return set.bytesPerPixel == targetPixelSize && TileFitsIn(set.width, set.height, tile);
}

bool DrawTile(const ConstPixelRows &set, int tile, const PixelRows &target, int left, int top)
{
    if (!CanDrawTile(set, tile, target.bytesPerPixel))
        return false;
    const PixelRect cell = TileRect(tile);
    CopyHexagon(set, cell.left, cell.top, target, left, top);
    return true;
}

void DrawTile(const QImage &setImage, int tile, QImage &target, int left, int top)
{
    DrawTile(RowsOf(setImage), tile, RowsOf(target), left, top);
}

void DrawMaskedTile(const QImage &source, QImage &target, int left, int top)
{
    if (source.width() < TileWidth || source.height() < TileHeight || source.depth() != target.depth())
        return;
    CopyHexagon(RowsOf(source), 0, 0, RowsOf(target), left, top);
}

} // namespace vantor
