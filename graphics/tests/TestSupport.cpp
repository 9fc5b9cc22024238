#include "TestSupport.h"

#include <QFile>

namespace testing {

namespace {
void AppendLE(QByteArray &out, qint64 value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.append(char((value >> (8 * i)) & 0xFF));
}
void PutLE(QByteArray &out, qsizetype at, qint64 value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out[at + i] = char((value >> (8 * i)) & 0xFF);
}
} // namespace

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v & 0xFF));
    return out;
}

QByteArray PaletteBlock(const QList<RawEntry> &entries)
{
    QByteArray out;
    AppendLE(out, entries.size(), 4);
    for (const RawEntry &e : entries)
        for (int v : e)
            out.append(char(v & 0xFF));
    return out;
}

QByteArray TileRecord(int first, int last, const QByteArray &rows)
{
    QByteArray out(dovrel::TileRowsStart, '\0');
    out[dovrel::TileFirstRowField] = char(first);
    out[dovrel::TileLastRowField] = char(last);
    return out + rows;
}

qint64 SetBuilder::paletteOffset(int index) const
{
    qint64 at = 8 + 8 * qint64(tiles.size());
    for (int i = 0; i < index; ++i)
        at += palettes[i].size();
    return at;
}

qint64 SetBuilder::recordOffset(int index) const
{
    qint64 at = paletteOffset(int(palettes.size()));
    for (int i = 0; i < index; ++i)
        at += records[i].size();
    return at;
}

QByteArray SetBuilder::bytes() const
{
    QByteArray out("1.10");
    AppendLE(out, declaredCount >= 0 ? declaredCount : tiles.size(), 2);
    AppendLE(out, 0, 2);
    const qsizetype directory = out.size();
    out.append(QByteArray(8 * tiles.size(), '\0'));
    for (const QByteArray &p : palettes)
        out.append(p);
    for (const QByteArray &r : records)
        out.append(r);
    for (int i = 0; i < tiles.size(); ++i) {
        PutLE(out, directory + 8 * i, recordOffset(tiles[i].record), 4);
        PutLE(out, directory + 8 * i + 4, paletteOffset(tiles[i].palette), 4);
    }
    return out;
}

QByteArray ArchiveWith(int set, const QByteArray &setBytes, int gap, int tail)
{
    const qint64 start = dovrel::SetSearchOffsets[size_t(set)] + gap;
    QByteArray out(start, '\0');
    out.append(setBytes);
    out.append(QByteArray(tail, '\0'));
    return out;
}

QByteArray ReadFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace testing
