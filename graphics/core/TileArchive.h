#pragma once

#include "ColorValue.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class QFile;

namespace dovrel {

// The archive is read only here; the name the program looks for first.
inline constexpr const char *ArchiveFileName = "til.pfp";

// Absolute file offsets from which the scan for each tile set's signature starts.
inline constexpr std::array<qint64, 16> SetSearchOffsets = {
    3963473, 505952, 4894378, 5846377, 1466118, 2361846, 6616770, 7050967,
    7633322, 3157381, 8553982, 9352405, 9925074, 10462577, 11211713, 11823495,
};

// The signature in front of every tile set: "1.10".
inline constexpr std::array<quint8, 4> SetSignature = {0x31, 0x2E, 0x31, 0x30};

// Placement of tiles in the large image: 8 columns, at most 10 rows.
inline constexpr int LargeColumns = 8;
inline constexpr int LargeRows = 10;
inline constexpr int LargeTileStepX = 47;
inline constexpr int LargeTileStepY = 51;
inline constexpr int LargeEvenColumnDrop = 25;

// Top-left corner of tile `column`, `row` in the large image.
inline constexpr int LargeTileX(int column) { return LargeTileStepX * column + 1; }
inline constexpr int LargeTileY(int column, int row)
{
    return LargeTileStepY * row + 1 + (column % 2 == 0 ? LargeEvenColumnDrop : 0);
}

// Positions inside a tile record.
inline constexpr int TileFirstRowField = 12;
inline constexpr int TileLastRowField = 20;
inline constexpr int TileRowsStart = 24;

struct PaletteEntry {
    quint8 red = 0;
    quint8 green = 0;
    quint8 blue = 0;
};

// 256 entries of 6-bit red, green and blue. A palette block overwrites only the
// entries that it lists.
struct PaletteTable {
    std::array<PaletteEntry, 256> entries{};

    // Each 6-bit component times 4, in its own byte (0 to 252).
    ColorValue PaletteColor(int index) const
    {
        const PaletteEntry &e = entries[size_t(index & 0xFF)];
        return ColorValue(e.red) * 4 + ColorValue(e.green) * 1024 + ColorValue(e.blue) * 262144;
    }
};

// What lives from one Generate to the next for the whole run of the program.
struct DecoderState {
    PaletteTable palette;
    qint32 previousPaletteOffset = 0;
};

// Random-access byte stream over the archive's bytes.
class ArchiveStream {
public:
    ArchiveStream() = default;
    ArchiveStream(const uchar *data, qint64 size) : m_data(data), m_size(size) {}

    qint64 size() const { return m_size; }
    qint64 pos() const { return m_pos; }
    // Places the stream; a position outside 0..size() leaves it at the end.
    void seek(qint64 pos) { m_pos = (pos < 0 || pos > m_size) ? m_size : pos; }
    bool atEnd() const { return m_pos >= m_size; }
    // Whether `count` bytes can be read from `pos` on.
    bool holds(qint64 pos, qint64 count) const { return pos >= 0 && count >= 0 && pos <= m_size && count <= m_size - pos; }

    std::optional<quint8> readByte()
    {
        if (m_pos >= m_size)
            return std::nullopt;
        return m_data[m_pos++];
    }

private:
    const uchar *m_data = nullptr;
    qint64 m_size = 0;
    qint64 m_pos = 0;
};

// An opened archive file. The bytes are mapped when the file system allows it
// and read into memory otherwise.
class ArchiveFile {
public:
    ArchiveFile();
    ~ArchiveFile();
    ArchiveFile(const ArchiveFile &) = delete;
    ArchiveFile &operator=(const ArchiveFile &) = delete;

    // Opens the file for reading; on failure returns false and sets `error`.
    bool open(const QString &path, QString *error = nullptr);
    void close();
    bool isOpen() const { return m_open; }
    ArchiveStream stream() const { return ArchiveStream(m_data, m_size); }
    QString path() const { return m_path; }

private:
    std::unique_ptr<QFile> m_file;
    QByteArray m_copy;
    const uchar *m_data = nullptr;
    qint64 m_size = 0;
    bool m_open = false;
    QString m_path;
};

// Scans forward from `searchOffset` for the set signature. A byte that breaks a
// partial match is not tried again as a first signature byte. On success the
// stream stands behind the signature and the set base (the position of the
// signature's first byte) is returned; at end of file there is no result.
std::optional<qint64> FindSetHeader(ArchiveStream &stream, qint64 searchOffset);

// The tile count: of the 4-byte field, the first byte plus 256 times the second.
std::optional<int> ReadCount(ArchiveStream &stream);

// A little-endian signed 32-bit field.
std::optional<qint32> ReadLong(ArchiveStream &stream);

// Reads the palette block at absolute position `pos` into `palette` without
// moving the stream. Returns false (with `problem` set) when the block does not
// lie whole inside the file; the palette is then left untouched.
bool LoadPalette(ArchiveStream &stream, qint64 pos, PaletteTable &palette, QString *problem = nullptr);

// One coded row. The reader stops once 128 or more bytes are stored at the end
// of a control; a control's data is always read whole, hence the extra room.
inline constexpr int RowBufferLimit = 128;
struct RowBuffer {
    std::array<quint8, RowBufferLimit + 127> bytes{};
    int count = 0;
    bool endOfFile = false; // the file ended before the row did
};

// Reads one coded row into `buffer` and returns the number of bytes stored.
int ReadTileRow(ArchiveStream &stream, RowBuffer &buffer);

// Decodes `rowCount` rows from the stream position into `image` at the large
// tile cell `column`, `row`. Pixels off the image are dropped. Returns false
// when the file ends inside the rows.
bool DrawTile(ArchiveStream &stream, QImage &image, int column, int row, int rowCount, const PaletteTable &palette);

// What became of decoding one set.
struct DecodeReport {
    bool complete = false;   // every tile was read without a problem
    QString problem;         // otherwise what went wrong, naming the set
    int tileCount = 0;       // tiles the directory announces
    int tilesDrawn = 0;      // tiles decoded into the image
    int paletteLoads = 0;    // palette blocks read
};

// Decodes tile set `set` (0 to 15) from the archive into the large image,
// which the caller has filled with the background. `afterTile` runs after
// every tile (the window repaints there).
DecodeReport DecodeSet(ArchiveStream &stream, int set, QImage &image, DecoderState &state,
                       const std::function<void()> &afterTile = {});

} // namespace dovrel
