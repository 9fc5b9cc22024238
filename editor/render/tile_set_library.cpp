#include "tile_set_library.h"

#include "model/terrain_tables.h"
#include "model/tile_set_files.h"
#include "render/bmp_decoding.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace vantor {

TileSetLibrary::TileSetLibrary(QString folder)
    : folder_(std::move(folder))
{
}

void TileSetLibrary::setFolder(const QString &folder)
{
    if (folder == folder_)
        return;
    folder_ = folder;
    entries_ = {};
}

const QImage &TileSetLibrary::image(int set)
{
    Entry &entry = entries_.at(set);
    const QString path = FindSetFile(folder_, set);
    const QFileInfo info(path);
    if (path.isEmpty()) {
        entry = {};
        return entry.image;
    }
    if (path == entry.path && info.lastModified() == entry.modified && info.size() == entry.size)
        return entry.image;

    entry = {path, info.lastModified(), info.size(), ReadTileSetImage(path)};
    return entry.image;
}

QImage ReadTileSetImage(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.readAll();
    QImage image = DecodePlainBmp24(data);
    if (image.isNull()) {
        QBuffer buffer;
        buffer.setData(RelabelExtendedInfoHeader(data));
        QImageReader reader(&buffer);
        image = reader.read();
    }
    if (!image.isNull() && image.format() != QImage::Format_RGB32)
        image = image.convertToFormat(QImage::Format_RGB32);
    return image;
}

QString TileSetLibrary::fileNameOf(int set) const
{
    const QString found = FindSetFile(folder_, set);
    return QFileInfo(found.isEmpty() ? SetPath(folder_, set) : found).fileName();
}

} // namespace vantor
