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

TileSetLibrary::Entry &TileSetLibrary::entryOf(int set)
{
    Entry &entry = entries_.at(set);
    const QString path = FindSetFile(folder_, set);
    if (path.isEmpty()) {
        entry = {};
        return entry;
    }
    const QFileInfo info(path);
    if (path != entry.path || info.lastModified() != entry.modified || info.size() != entry.size)
        entry = {path, info.lastModified(), info.size(), {}, {}, {}, {}};
    return entry;
}

const QImage &TileSetLibrary::image(int set)
{
    Entry &entry = entryOf(set);
    if (!entry.image)
        entry.image = entry.path.isEmpty() ? QImage() : ReadTileSetImage(entry.path);
    return *entry.image;
}

ConstPixelRows TileSetLibrary::bitmapRows(int set)
{
    Entry &entry = entryOf(set);
    if (entry.bitmapRows)
        return *entry.bitmapRows;
    if (entry.path.isEmpty())
        return {};
    auto file = std::make_shared<QFile>(entry.path);
    const uchar *bytes = file->open(QIODevice::ReadOnly) && file->size() > 0 ? file->map(0, file->size()) : nullptr;
    const ConstPixelRows plain = bytes ? PlainBmp24Rows(QByteArrayView(bytes, file->size())) : ConstPixelRows{};
    if (!plain.isEmpty()) {
        entry.mappedFile = std::move(file);
        entry.bitmapRows = plain;
    } else {
        entry.bgrImage = image(set).convertToFormat(QImage::Format_BGR888);
        entry.bitmapRows = RowsOf(std::as_const(entry.bgrImage));
    }
    return *entry.bitmapRows;
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
