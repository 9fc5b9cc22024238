#include "map_bitmap_export.h"

#include "files/file_io.h"
#include "model/geometry.h"
#include "render/bmp_encoding.h"
#include "render/tile_set_library.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace vantor {

namespace {

// Rows per band: small enough for the band to stay in the processor's cache from its drawing to
// its writing, and for the next band to find it there.
constexpr int BandHeight = 40;

// The bands of a picture counted from the bottom, the order of a bitmap file.
struct BandLayout {
    int width;
    int height;
    int rowSize; // bytes of a stored row

    int count() const { return (height + BandHeight - 1) / BandHeight; }
    int bottom(int band) const { return height - band * BandHeight; }
    int top(int band) const { return std::max(0, bottom(band) - BandHeight); }
    int rows(int band) const { return bottom(band) - top(band); }
};

// The overlay draws on a 32-bit copy of the band, which then takes the band's place.
void DrawOverlay(const BandOverlay &overlay, const PixelRows &band, int bandTop)
{
    const std::size_t rowBytes = std::size_t(band.width) * 3;
    QImage picture(band.width, band.height, QImage::Format_BGR888);
    for (int y = 0; y < band.height; ++y)
        std::memcpy(picture.scanLine(y), band.row(y), rowBytes);
    picture.convertTo(QImage::Format_RGB32);
    overlay(picture, bandTop);
    picture.convertTo(QImage::Format_BGR888);
    for (int y = 0; y < band.height; ++y)
        std::memcpy(band.row(y), picture.constScanLine(y), rowBytes);
}

} // namespace

RedrawReport RenderMapToBmp(const MapStore &map, TileSetLibrary &library, ColourValue background,
                            const QString &path, QString &error, const BandOverlay &overlay)
{
    const BandLayout layout{MapPictureWidth(map.MapWidth), MapPictureHeight(map.MapHeight),
                            Bmp24RowSize(MapPictureWidth(map.MapWidth))};
    RedrawReport report;
    const std::array<bool, TileSetCount> used = SetsUsedBy(map);
    SetPixels sets;
    for (int s = 0; s < TileSetCount; ++s) {
        if (!used[s])
            continue;
        sets[s] = library.bitmapRows(s);
        if (sets[s].isEmpty())
            report.unavailableSets.push_back(s);
    }

    ReplacingFileWriter file(path);
    if (!file.open() || !file.write(Bmp24Header(layout.width, layout.height))) {
        error = file.error();
        return report;
    }
    const std::vector<uchar> backgroundRow = RowOfColour(background, layout.width, 3);
    std::vector<uchar> buffer(std::size_t(layout.rowSize) * BandHeight, 0); // the pad bytes of every row stay 0
    for (int band = 0; band < layout.count(); ++band) {
        // The band's rows stored bottom-up, as in the file.
        const int rowCount = layout.rows(band);
        const PixelRows rows{buffer.data() + qsizetype(rowCount - 1) * layout.rowSize, -qsizetype(layout.rowSize),
                             layout.width, rowCount, 3};
        FillAroundHexes(map, sets, rows, layout.top(band), backgroundRow);
        DrawHexes(map, sets, rows, layout.top(band));
        if (overlay)
            DrawOverlay(overlay, rows, layout.top(band));
        const char *stored = reinterpret_cast<const char *>(buffer.data());
        if (!file.write(QByteArray::fromRawData(stored, qsizetype(rowCount) * layout.rowSize)))
            break;
    }
    if (!file.commit())
        error = file.error();
    return report;
}

} // namespace vantor
