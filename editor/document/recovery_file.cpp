#include "recovery_file.h"

#include <QCryptographicHash>
#include <QDataStream>

namespace vantor {

namespace {

const QByteArray Magic = QByteArrayLiteral("VANTORREC\n");
constexpr quint32 Version = 1;
constexpr int HashSize = 32;
// The stream's own encoding is pinned, so that a later Qt reads what this one wrote.
constexpr QDataStream::Version StreamVersion = QDataStream::Qt_6_4;

void WriteGrid(QDataStream &out, const TextGrid &grid)
{
    out << qint32(grid.rowCount());
    for (int row = 0; row < grid.rowCount(); ++row)
        for (int column = 0; column < grid.columnCount(); ++column)
            out << grid.cell(column, row);
}

bool ReadGrid(QDataStream &in, TextGrid &grid)
{
    qint32 rows = 0;
    in >> rows;
    // A table never has more rows than a scenario has places or cities, by far.
    if (in.status() != QDataStream::Ok || rows < 1 || rows > 1 << 20)
        return false;
    grid.setRowCount(rows);
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < grid.columnCount(); ++column) {
            QString text;
            in >> text;
            grid.setCell(column, row, text);
        }
    return in.status() == QDataStream::Ok;
}

} // namespace

QByteArray EncodeRecovery(const RecoverySnapshot &snapshot)
{
    QByteArray payload;
    {
        QDataStream out(&payload, QIODevice::WriteOnly);
        out.setVersion(StreamVersion);
        const MapContent &content = snapshot.content;
        out << snapshot.filePath << qint32(snapshot.fileFormat);
        out << qint32(content.map.MapWidth) << qint32(content.map.MapHeight);
        out.writeRawData(reinterpret_cast<const char *>(content.map.bytes.data()), int(content.map.bytes.size()));
        WriteGrid(out, content.tables.places);
        WriteGrid(out, content.tables.cities);
        out << qint32(content.tables.placeCount) << content.tables.homemade << content.tables.citiesLoaded;
    }
    QByteArray file = Magic;
    QDataStream header(&file, QIODevice::Append);
    header.setVersion(StreamVersion);
    header << Version << quint32(payload.size());
    file += payload;
    file += QCryptographicHash::hash(payload, QCryptographicHash::Sha256);
    return file;
}

std::optional<RecoverySnapshot> DecodeRecovery(const QByteArray &bytes)
{
    constexpr int HeaderSize = 8;
    if (!bytes.startsWith(Magic) || bytes.size() < Magic.size() + HeaderSize + HashSize)
        return std::nullopt;
    QDataStream header(bytes.mid(Magic.size(), HeaderSize));
    header.setVersion(StreamVersion);
    quint32 version = 0;
    quint32 length = 0;
    header >> version >> length;
    if (version != Version || qint64(length) != bytes.size() - Magic.size() - HeaderSize - HashSize)
        return std::nullopt;
    const QByteArray payload = bytes.mid(Magic.size() + HeaderSize, length);
    if (QCryptographicHash::hash(payload, QCryptographicHash::Sha256) != bytes.right(HashSize))
        return std::nullopt;

    QDataStream in(payload);
    in.setVersion(StreamVersion);
    RecoverySnapshot snapshot;
    MapContent &content = snapshot.content;
    qint32 format = 0;
    qint32 width = 0;
    qint32 height = 0;
    in >> snapshot.filePath >> format >> width >> height;
    if (format < qint32(MapFileFormat::None) || format > qint32(MapFileFormat::HomemadeScenario) ||
        !IsValidMapSize(width, height))
        return std::nullopt;
    snapshot.fileFormat = MapFileFormat(format);
    content.map.MapWidth = width;
    content.map.MapHeight = height;
    const int size = int(content.map.bytes.size());
    if (in.readRawData(reinterpret_cast<char *>(content.map.bytes.data()), size) != size)
        return std::nullopt;
    qint32 placeCount = 0;
    if (!ReadGrid(in, content.tables.places) || !ReadGrid(in, content.tables.cities))
        return std::nullopt;
    in >> placeCount >> content.tables.homemade >> content.tables.citiesLoaded;
    content.tables.placeCount = placeCount;
    if (in.status() != QDataStream::Ok || !in.atEnd() || placeCount < 0)
        return std::nullopt;
    return snapshot;
}

} // namespace vantor
