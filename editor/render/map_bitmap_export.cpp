#include "map_bitmap_export.h"

#include "files/file_io.h"
#include "model/geometry.h"
#include "render/bmp_encoding.h"


#include <algorithm>

namespace vantor {

namespace {

// Small enough to stay in the processor's cache while it is drawn and converted.
constexpr int BandHeight = 64;

} // namespace

RedrawReport RenderMapToBmp(const MapStore &map, TileSetLibrary &library, ColourValue background,
                            const QString &path, QString &error, const BandOverlay &overlay)
{
    const int width = MapPictureWidth(map.MapWidth);
    const int height = MapPictureHeight(map.MapHeight);
    const MapTileSets sets = LoadTileSetsOf(map, library);
    RedrawReport report{sets.unavailableSets, {}};
    ReplacingFileWriter file(path);
    if (!file.open()) {
        error = file.error();
        return report;
    }
    QByteArray chunk = Bmp24Header(width, height);
    QImage band(width, BandHeight, QImage::Format_RGB32);
    for (int bandBottom = height; bandBottom > 0; bandBottom -= BandHeight) {
        const int bandTop = std::max(0, bandBottom - BandHeight);
        if (bandBottom - bandTop != band.height())
            band = QImage(width, bandBottom - bandTop, QImage::Format_RGB32);
        DrawMap(map, sets, background, band, bandTop);
        if (overlay)
            overlay(band, bandTop);
        AppendBmp24Rows(chunk, band);
        if (!file.write(chunk))
            break;
        chunk.resize(0);
    }
    if (!file.commit())
        error = file.error();
    return report;
}

} // namespace vantor
