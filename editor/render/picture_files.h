#pragma once
// Pictures written as a 24-bit bitmap or as PNG, chosen by the file's extension.

#include "render/map_bitmap_export.h"

#include <QImage>
#include <QString>

#include <optional>

namespace vantor {

enum class PictureFormat { Bmp, Png };

// The format of a ".bmp" or ".png" name (any case); nothing for any other name.
std::optional<PictureFormat> PictureFormatOf(const QString &path);

// The save dialogs' filter for pictures, in the editor's "Description|pattern" form.
inline constexpr char PictureSaveFilter[] = "Bitmap files (*.bmp)|*.bmp|PNG images (*.png)|*.png|All files (*.*)|*.*";

// Save As Bitmap and the strategic map's Save: writes picture to path, as PNG for a ".png" name and
// as a 24-bit bitmap for any other. Empty text, or why it failed (naming the file); the old file
// then stays as it was.
QString WritePictureFile(const QString &path, const QImage &picture);

// vantor-cli render: the map's full-redraw picture written in the given format.
RedrawReport RenderMapToPicture(const MapStore &map, TileSetLibrary &library, ColourValue background,
                                const QString &path, PictureFormat format, QString &error,
                                const BandOverlay &overlay = {});

} // namespace vantor
