#include "hex_preview.h"

#include "model/geometry.h"
#include "render/tile_drawing.h"

#include <algorithm>
#include <climits>
#include <memory>

namespace vantor {

// The hexes go into a map of their own where no other hex draws, and that map is drawn as the
// map picture is, into the window of the picture the hexes cover: the same pixels win where two
// hexagons meet, and each pixel is written about once (the picture is not cleared first).
PreviewPicture DrawHexPreview(const std::vector<std::pair<HexCoord, HexRecord>> &hexes, const MapTileSets &sets,
                              int mapWidth, const QRect &visible)
{
    auto alone = std::make_unique<MapStore>();
    alone->MapWidth = std::clamp(mapWidth, 1, StoreColumns);
    std::fill_n(alone->bytes.begin() + MapStore::index(TileSet, 0, 0), PlaneSize, std::uint8_t(255));
    PixelRect box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (const auto &[hex, record] : hexes) {
        const int set = record[TileSet];
        if (!IsOnMap(*alone, hex.x, hex.y) || set >= TileSetCount || !TileFitsIn(sets.images[set], record[TileIndex]))
            continue;
        alone->at(TileSet, hex.x, hex.y) = std::uint8_t(set);
        alone->at(TileIndex, hex.x, hex.y) = record[TileIndex];
        const PixelRect cell = HexRect(hex.y * alone->MapWidth + hex.x, alone->MapWidth);
        box = {std::min(box.left, cell.left), std::min(box.top, cell.top), std::max(box.right, cell.right),
               std::max(box.bottom, cell.bottom)};
    }
    if (visible.isValid())
        box = {std::max(box.left, visible.left()), std::max(box.top, visible.top()),
               std::min(box.right, visible.right() + 1), std::min(box.bottom, visible.bottom() + 1)};
    if (box.left >= box.right || box.top >= box.bottom)
        return {};

    PreviewPicture preview{QImage(box.right - box.left, box.bottom - box.top, QImage::Format_ARGB32_Premultiplied),
                           QPoint(box.left, box.top)};
    SetPixels pixels;
    for (int s = 0; s < TileSetCount; ++s)
        pixels[s] = RowsOf(sets.images[s]);
    // The sets are opaque 32-bit pictures (0xffRRGGBB), so their pixels are opaque premultiplied ones.
    const PixelRows window = RowsOf(preview.image);
    const std::vector<uchar> transparent(std::size_t(window.width) * window.bytesPerPixel, 0);
    FillAroundHexes(*alone, pixels, window, box.top, transparent, box.left);
    DrawHexes(*alone, pixels, window, box.top, box.left);
    return preview;
}

} // namespace vantor
