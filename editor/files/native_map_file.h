#pragma once
// The editor's own map file: width, 0, height, 0, the 37-byte record of every hex row by row,
// then a 101-byte table of the tile sets in use. A regular scenario starts with the same block.

#include "model/map_store.h"

#include <QByteArray>
#include <QString>

namespace vantor {

inline constexpr int MapFileHeaderSize = 4;
inline constexpr int SetUsageTableSize = 101;
// A hex refers to a place by PlaceIndex + 256 x PlaceIndexHigh, and 0x7FFF means no place: a map
// has at most this many places.
inline constexpr int MaxPlaceCount = 0x7FFF;

inline qint64 MapFileSize(int width, int height)
{
    return MapFileHeaderSize + qint64(PlaneCount) * width * height + SetUsageTableSize;
}

QByteArray EncodeMapFile(const MapStore &map);

// Reads a map block into map. A header that is cut short, a size the store cannot hold or data
// that ends inside the hex records is refused, and map is left unchanged. The set usage table
// after the records is not read. Returns an empty text on success, otherwise the reason.
QString DecodeMapFile(const QByteArray &data, MapStore &map);

// The file-level versions: messages name the file. Writing replaces the file only once the whole
// new content is on disk, so a failed write leaves the old file whole.
QString ReadMapFile(const QString &path, MapStore &map);
QString WriteMapFile(const QString &path, const MapStore &map);

} // namespace vantor
