#pragma once
// The full-redraw picture of a map written straight to a 24-bit bitmap file.

#include "render/map_renderer.h"

#include <QString>

#include <functional>

namespace vantor {

// Draws the map band by band from the bottom up, straight into the 24-bit rows of the file, and
// writes each band as it is done, in blocks of equal size at offsets that are multiples of it, so
// the whole picture never has to be held in memory. The set bitmaps are drawn from their files'
// own bytes when they are plain 24-bit bitmaps. The file is replaced only once it is complete (a
// picture can be drawn again, so the disk is not waited for); on failure error names the file and
// the reason. The report names no last tile.
// overlay, when given, draws over each band once the map is drawn in it (a 32-bit copy of the
// band, its top row), band after band from the bottom up; neighbouring bands may share a row,
// which is drawn anew for each. A PNG's bands are drawn on several threads at once, so an overlay
// only reads what the bands share.
using BandOverlay = std::function<void(QImage &band, int bandTop)>;

// The pixels of the sets the map uses, as 3-byte pixels in blue, green, red order; the sets that
// are missing or unreadable are added to report.unavailableSets.
SetPixels Bgr24SetsOf(const MapStore &map, TileSetLibrary &library, RedrawReport &report);

// Runs overlay on a 32-bit copy of the 3-byte pixels of band (in the order rowFormat names:
// QImage::Format_BGR888 or QImage::Format_RGB888), which then takes the band's place.
void DrawOverlayOnRows(const BandOverlay &overlay, const PixelRows &band, int bandTop, QImage::Format rowFormat);

RedrawReport RenderMapToBmp(const MapStore &map, TileSetLibrary &library, ColourValue background,
                            const QString &path, QString &error, const BandOverlay &overlay = {});

} // namespace vantor
