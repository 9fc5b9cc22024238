#include "tile_set_library.h"

#include "model/terrain_tables.h"
#include "model/tile_set_files.h"

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

    QImageReader reader(path);
    QImage loaded = reader.read();
    if (!loaded.isNull() && loaded.format() != QImage::Format_RGB32)
        loaded = loaded.convertToFormat(QImage::Format_RGB32);
    entry = {path, info.lastModified(), info.size(), std::move(loaded)};
    return entry.image;
}

QString TileSetLibrary::fileNameOf(int set) const
{
    const QString found = FindSetFile(folder_, set);
    return QFileInfo(found.isEmpty() ? SetPath(folder_, set) : found).fileName();
}

} // namespace vantor
