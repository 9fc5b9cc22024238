#include "picture_files.h"

#include "files/file_io.h"
#include "render/bmp_encoding.h"
#include "render/png_export.h"

#include <QFileInfo>

namespace vantor {

std::optional<PictureFormat> PictureFormatOf(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("bmp"))
        return PictureFormat::Bmp;
    if (suffix == QLatin1String("png"))
        return PictureFormat::Png;
    return std::nullopt;
}

QString WritePictureFile(const QString &path, const QImage &picture)
{
    const bool png = PictureFormatOf(path) == PictureFormat::Png;
    return WriteFileAtomically(path, png ? EncodePng(picture) : EncodeBmp24(picture));
}

RedrawReport RenderMapToPicture(const MapStore &map, TileSetLibrary &library, ColourValue background,
                                const QString &path, PictureFormat format, QString &error, const BandOverlay &overlay)
{
    return format == PictureFormat::Png ? RenderMapToPng(map, library, background, path, error, overlay)
                                        : RenderMapToBmp(map, library, background, path, error, overlay);
}

} // namespace vantor
