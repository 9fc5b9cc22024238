#pragma once
// Pictures written as PNG: lossless, so a PNG holds exactly the pixels of the 24-bit bitmap.

#include "render/map_bitmap_export.h"

#include <QByteArray>
#include <QImage>

namespace vantor {

// A whole PNG file of image: 24-bit RGB for an image without alpha, with its alpha channel otherwise.
QByteArray EncodePng(const QImage &image);

// The full-redraw picture of the map written as a PNG file, replaced only once complete. On
// failure error names the file and the reason. The report names no last tile; overlay as for the
// bitmap, but called for the bands of several threads at once.
RedrawReport RenderMapToPng(const MapStore &map, TileSetLibrary &library, ColourValue background,
                            const QString &path, QString &error, const BandOverlay &overlay = {});

} // namespace vantor
