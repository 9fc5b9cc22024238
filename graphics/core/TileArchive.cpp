#include "TileArchive.h"

#include <QFile>

namespace dovrel {

ArchiveFile::ArchiveFile() = default;
ArchiveFile::~ArchiveFile() { close(); }

bool ArchiveFile::open(const QString &path, QString *error)
{
    close();
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Cannot open \"%1\": %2").arg(path, file->errorString());
        return false;
    }
    m_path = path;
    m_size = file->size();
    if (m_size > 0) {
        m_data = file->map(0, m_size);
        if (!m_data) {
            // Not mappable (a pipe or an odd file system): read it whole.
            m_copy = file->readAll();
            m_size = m_copy.size();
            m_data = reinterpret_cast<const uchar *>(m_copy.constData());
        }
    }
    m_file = std::move(file);
    m_open = true;
    return true;
}

void ArchiveFile::close()
{
    if (m_file)
        m_file->close(); // also drops the mapping
    m_file.reset();
    m_copy.clear();
    m_data = nullptr;
    m_size = 0;
    m_open = false;
}

std::optional<qint64> FindSetHeader(ArchiveStream &stream, qint64 searchOffset)
{
    stream.seek(searchOffset);
    size_t matched = 0;
    while (matched < SetSignature.size()) {
        const std::optional<quint8> byte = stream.readByte();
        if (!byte)
            return std::nullopt;
        matched = (*byte == SetSignature[matched]) ? matched + 1 : 0;
    }
    return stream.pos() - qint64(SetSignature.size());
}

std::optional<int> ReadCount(ArchiveStream &stream)
{
    std::array<quint8, 4> b{};
    for (quint8 &x : b) {
        const std::optional<quint8> byte = stream.readByte();
        if (!byte)
            return std::nullopt;
        x = *byte;
    }
    return int(b[0]) + 256 * int(b[1]);
}

std::optional<qint32> ReadLong(ArchiveStream &stream)
{
    quint32 value = 0;
    for (int i = 0; i < 4; ++i) {
        const std::optional<quint8> byte = stream.readByte();
        if (!byte)
            return std::nullopt;
        value |= quint32(*byte) << (8 * i);
    }
    return qint32(value);
}

bool LoadPalette(ArchiveStream &stream, qint64 pos, PaletteTable &palette, QString *problem)
{
    const qint64 remembered = stream.pos();
    auto fail = [&](const QString &what) {
        stream.seek(remembered);
        if (problem)
            *problem = what;
        return false;
    };
    if (!stream.holds(pos, 4))
        return fail(QStringLiteral("a palette block lies outside the file"));
    stream.seek(pos);
    const quint32 entries = quint32(*ReadLong(stream));
    if (!stream.holds(pos + 4, qint64(entries) * 4))
        return fail(QStringLiteral("the file ends inside a palette block of %1 entries").arg(entries));
    for (quint32 i = 0; i < entries; ++i) {
        const quint8 index = *stream.readByte();
        PaletteEntry &e = palette.entries[index];
        // Components are 6-bit values; the upper two bits of the byte are not
        // part of the colour (and would spill into the next component).
        e.red = *stream.readByte() & 0x3F;
        e.green = *stream.readByte() & 0x3F;
        e.blue = *stream.readByte() & 0x3F;
    }
    stream.seek(remembered);
    return true;
}

int ReadTileRow(ArchiveStream &stream, RowBuffer &buffer)
{
    buffer.count = 0;
    buffer.endOfFile = false;
    auto store = [&]() {
        const std::optional<quint8> byte = stream.readByte();
        if (!byte) {
            buffer.endOfFile = true;
            return false;
        }
        buffer.bytes[size_t(buffer.count++)] = *byte;
        return true;
    };
    while (buffer.count < RowBufferLimit) {
        if (!store())
            break;
        const quint8 control = buffer.bytes[size_t(buffer.count - 1)];
        if (control == 0)
            break;
        const int dataBytes = (control == 1 || control % 2 == 0) ? 1 : control / 2;
        bool ok = true;
        for (int i = 0; i < dataBytes && ok; ++i)
            ok = store();
        if (!ok)
            break;
    }
    return buffer.count;
}

namespace {
inline void PutPixel(QImage &image, int x, int y, ColorValue color)
{
    if (x >= 0 && y >= 0 && x < image.width() && y < image.height())
        reinterpret_cast<QRgb *>(image.scanLine(y))[x] = ToRgb(color);
}
} // namespace

bool DrawTile(ArchiveStream &stream, QImage &image, int column, int row, int rowCount, const PaletteTable &palette)
{
    const int x0 = LargeTileX(column);
    const int y0 = LargeTileY(column, row);
    RowBuffer buffer;
    for (int j = 0; j < rowCount; ++j) {
        const int stored = ReadTileRow(stream, buffer);
        const int y = y0 + j;
        int x = 0;
        int at = 0;
        while (at < stored && buffer.bytes[size_t(at)] != 0) {
            const int control = buffer.bytes[size_t(at++)];
            if (control == 1) {
                if (at >= stored)
                    break;
                x += buffer.bytes[size_t(at++)];
            } else if (control % 2 == 0) {
                if (at >= stored)
                    break;
                const ColorValue color = palette.PaletteColor(buffer.bytes[size_t(at++)]);
                for (int k = 0; k < control / 2; ++k)
                    PutPixel(image, x0 + x++, y, color);
            } else {
                for (int k = 0; k < control / 2 && at < stored; ++k)
                    PutPixel(image, x0 + x++, y, palette.PaletteColor(buffer.bytes[size_t(at++)]));
            }
        }
        if (buffer.endOfFile)
            return false;
    }
    return true;
}

DecodeReport DecodeSet(ArchiveStream &stream, int set, QImage &image, DecoderState &state,
                       const std::function<void()> &afterTile)
{
    DecodeReport report;
    auto fail = [&](const QString &what) {
        report.problem = QStringLiteral("Tile set %1: %2.").arg(set).arg(what);
        return report;
    };
    if (set < 0 || set >= int(SetSearchOffsets.size()))
        return fail(QStringLiteral("there is no such tile set (0 to 15)"));

    const qint64 searchOffset = SetSearchOffsets[size_t(set)];
    if (searchOffset >= stream.size())
        return fail(QStringLiteral("the archive is too short (%1 bytes) to hold this set, which is searched from offset %2")
                        .arg(stream.size()).arg(searchOffset));
    const std::optional<qint64> base = FindSetHeader(stream, searchOffset);
    if (!base)
        return fail(QStringLiteral("the archive ends before the set's signature \"1.10\" (searched from offset %1)").arg(searchOffset));
    const std::optional<int> count = ReadCount(stream);
    if (!count)
        return fail(QStringLiteral("the archive ends inside the set's header"));
    report.tileCount = *count;

    for (int i = 0; i < *count; ++i) {
        const std::optional<qint32> tileOffset = ReadLong(stream);
        const std::optional<qint32> paletteOffset = ReadLong(stream);
        if (!tileOffset || !paletteOffset)
            return fail(QStringLiteral("the archive ends inside the tile directory, at tile %1 of %2").arg(i).arg(*count));

        if (i == 0 || *paletteOffset != state.previousPaletteOffset) {
            QString problem;
            if (!LoadPalette(stream, *base + *paletteOffset, state.palette, &problem))
                return fail(QStringLiteral("tile %1: %2").arg(i).arg(problem));
            ++report.paletteLoads;
        }
        state.previousPaletteOffset = *paletteOffset;

        const qint64 next = stream.pos();
        const qint64 record = *base + *tileOffset;
        if (!stream.holds(record, TileRowsStart))
            return fail(QStringLiteral("tile %1 points outside the archive (offset %2)").arg(i).arg(*tileOffset));
        stream.seek(record + TileFirstRowField);
        const int first = *stream.readByte();
        stream.seek(record + TileLastRowField);
        const int last = *stream.readByte();
        const int rowCount = last - first + 1;
        stream.seek(record + TileRowsStart);

        if (i / LargeColumns < LargeRows) {
            if (!DrawTile(stream, image, i % LargeColumns, i / LargeColumns, rowCount, state.palette))
                return fail(QStringLiteral("the archive ends inside the rows of tile %1").arg(i));
            ++report.tilesDrawn;
        }
        stream.seek(next);
        if (afterTile)
            afterTile();
    }
    report.complete = true;
    return report;
}

} // namespace dovrel
