#include "native_map_file.h"

#include "files/file_io.h"
#include "model/terrain_tables.h"

#include <QCoreApplication>

namespace vantor {

namespace {

QString tr(const char *text, int n = -1) { return QCoreApplication::translate("MapFile", text, nullptr, n); }

} // namespace

QByteArray EncodeMapFile(const MapStore &map)
{
    const int width = map.MapWidth;
    const int height = map.MapHeight;
    QByteArray data;
    data.reserve(MapFileSize(width, height));
    data.append(char(width)).append('\0').append(char(height)).append('\0');

    std::array<bool, TileSetCount> setUsed{};
    setUsed[0] = true; // set 0 is always marked as used
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int p = 0; p < PlaneCount; ++p)
                data.append(char(map.at(p, x, y)));
            if (const int s = map.at(TileSet, x, y); s < TileSetCount)
                setUsed[s] = true;
        }
    }
    for (int i = 0; i < SetUsageTableSize; ++i)
        data.append(i < TileSetCount && setUsed[i] ? '\1' : '\0');
    return data;
}

QString DecodeMapFile(const QByteArray &data, MapStore &map)
{
    if (data.size() < MapFileHeaderSize)
        return tr("The file is too short to hold a map: it has %n byte(s), a map header has 4.", int(data.size()));
    const int width = std::uint8_t(data[0]);
    const int height = std::uint8_t(data[2]);
    if (!IsValidMapSize(width, height))
        return tr("The map size %1 x %2 is not valid: the width must be 1 to %3 and the height 1 to %4.")
            .arg(width).arg(height).arg(StoreColumns).arg(StoreRows);
    const qint64 hexesEnd = MapFileHeaderSize + qint64(PlaneCount) * width * height;
    if (data.size() < hexesEnd)
        return tr("The file ends inside the hex records: it has %1 bytes, the records of a %2 x %3 map end at byte %4.")
            .arg(data.size()).arg(width).arg(height).arg(hexesEnd);

    map.MapWidth = width;
    map.MapHeight = height;
    const auto *record = reinterpret_cast<const std::uint8_t *>(data.constData()) + MapFileHeaderSize;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int p = 0; p < PlaneCount; ++p)
                map.at(p, x, y) = *record++;
    return {};
}

QString ReadMapFile(const QString &path, MapStore &map)
{
    QByteArray data;
    // The hex records of the largest map; anything after them (a scenario's other blocks) is not read.
    const qint64 wanted = MapFileHeaderSize + qint64(PlaneCount) * StoreColumns * StoreRows;
    if (QString error = ReadFilePrefix(path, wanted, data); !error.isEmpty())
        return error;
    if (QString problem = DecodeMapFile(data, map); !problem.isEmpty())
        return FileMessage(path, problem);
    return {};
}

QString WriteMapFile(const QString &path, const MapStore &map)
{
    return WriteFileAtomically(path, EncodeMapFile(map));
}

} // namespace vantor
