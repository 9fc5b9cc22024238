#include "ascii_map_file.h"

#include "files/all_or_nothing.h"
#include "files/file_io.h"
#include "files/native_map_file.h"

#include "model/integer_text.h"

#include <QCoreApplication>

#include <array>
#include <climits>

namespace vantor {

namespace {

QString tr(const char *text) { return QCoreApplication::translate("AsciiMapFile", text); }

bool IsCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Skips leading white space, then reads an optional sign and decimal digits; 0 when no digit
// follows. Values beyond 32 bits stop at the nearest limit. *end, when given, receives the
// position after the last character used.
int LeadingNumber(QByteArrayView text, qsizetype *end = nullptr)
{
    qsizetype i = 0;
    while (i < text.size() && IsCSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    const qsizetype digitsStart = i;
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min<long long>(value * 10 + (text[i] - '0'), 1LL + INT_MAX);
    if (i == digitsStart) {
        if (end)
            *end = 0;
        return 0;
    }
    if (end)
        *end = i;
    if (negative)
        return int(std::max<long long>(-value, INT_MIN));
    return int(std::min<long long>(value, INT_MAX));
}

// A word of a place line counts as a number only when it is one from its first to its last character.
int WordNumber(QByteArrayView word)
{
    qsizetype end = 0;
    const int value = LeadingNumber(word, &end);
    return end == word.size() ? value : 0;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The next data line: comment lines (";" first) are skipped, an empty line is data.
class DataLines {
public:
    explicit DataLines(TextPieceReader &pieces) : pieces_(pieces) {}
    bool next(QByteArray &line)
    {
        while (!pieces_.atEnd()) {
            TextPiece piece = pieces_.next();
            if (!piece.text.startsWith(';')) {
                line = std::move(piece.text);
                return true;
            }
        }
        return false;
    }

private:
    TextPieceReader &pieces_;
};

struct HexLine {
    std::array<std::uint8_t, AsciiPlaneCount> values{};
    int count = 0;        // values read before the first bad one
    QByteArray badToken;  // the characters taken for the bad value
    bool ok() const { return count == AsciiPlaneCount; }
};

// Each value: skip spaces, take two characters as hexadecimal digits, then drop the rest of the
// token (every character above the space character). Text after the seventeenth value is ignored.
HexLine ParseHexLine(const QByteArray &line)
{
    HexLine hex;
    qsizetype pos = 0;
    for (; hex.count < AsciiPlaneCount; ++hex.count) {
        while (pos < line.size() && line[pos] == ' ')
            ++pos;
        const QByteArray taken = line.mid(pos, 2);
        const int high = taken.size() == 2 ? HexDigit(taken[0]) : -1;
        const int low = taken.size() == 2 ? HexDigit(taken[1]) : -1;
        if (high < 0 || low < 0) {
            hex.badToken = taken;
            return hex;
        }
        hex.values[hex.count] = std::uint8_t(high * 16 + low);
        pos += 2;
        while (pos < line.size() && std::uint8_t(line[pos]) > ' ')
            ++pos;
    }
    return hex;
}

LoadResult BadValue(const HexLine &hex)
{
    return {LoadResult::BadValue, {QString(), InvalidIntegerMessage(QLatin1Char('$') + QString::fromLatin1(hex.badToken))}};
}

void StoreHexLine(MapStore &map, int x, int y, const HexLine &hex)
{
    for (int p = 0; p < AsciiPlaneCount; ++p)
        map.at(p, x, y) = hex.values[p];
}

struct AsciiHeader {
    int width = 0;
    int height = 0;
    int placeCount = 0;
};

bool ReadHeader(DataLines &lines, AsciiHeader &header)
{
    QByteArray width, height, places;
    if (!lines.next(width) || !lines.next(height) || !lines.next(places))
        return false;
    header = {LeadingNumber(width), LeadingNumber(height), LeadingNumber(places)};
    return true;
}

LoadResult EndsInHeader(const QString &caption)
{
    return {LoadResult::Refused, {caption, tr("The file ends before its width, height and number of places.")}};
}

LoadResult ShortOfHexes(const QString &caption, long long read, long long announced)
{
    return {LoadResult::Refused,
            {caption, tr("The file ends after %1 of the %2 hex lines it announces.").arg(read).arg(announced)}};
}

void AppendNumberLine(QByteArray &out, int value) { AppendLine(out, QByteArray::number(value)); }

void AppendHexLine(QByteArray &out, const MapStore &map, int x, int y)
{
    static const char digits[] = "0123456789ABCDEF";
    for (int p = 0; p < AsciiPlaneCount; ++p) {
        const std::uint8_t value = map.at(p, x, y);
        out.append(digits[value >> 4]).append(digits[value & 15]).append(' ');
    }
    out.append("\r\n");
}

// The lines of a map of width x height hexes taken from the map at (x1, y1), with the given place lines.
QByteArray EncodeAscii(const MapStore &map, int x1, int y1, int width, int height, const QList<QByteArray> &placeLines)
{
    QByteArray out;
    out.reserve(200 + 60 * placeLines.size() + 55 * std::max(width, 0) * std::max(height, 0) + 30 * std::max(height, 0));
    AppendLine(out, QByteArray(";ASCII map file for Vantor Version ") + VersionText);
    AppendLine(out, ";Width");
    AppendNumberLine(out, width);
    AppendLine(out, ";Height");
    AppendNumberLine(out, height);
    AppendLine(out, ";Number of places");
    AppendNumberLine(out, int(placeLines.size()));
    if (!placeLines.isEmpty())
        AppendLine(out, ";Places X Y Name");
    for (const QByteArray &line : placeLines)
        AppendLine(out, line);
    for (int y = 0; y < height; ++y) {
        AppendLine(out, ";Row " + QByteArray::number(y));
        for (int x = 0; x < width; ++x) {
            if (x % 10 == 0)
                AppendLine(out, ";X=" + QByteArray::number(x) + " to " + QByteArray::number(x + 9));
            AppendHexLine(out, map, x1 + x, y1 + y);
        }
    }
    return out;
}

LoadResult NameFile(const QString &path, LoadResult result)
{
    if (result.outcome != LoadResult::Complete)
        result.message.text = FileMessage(path, result.message.text);
    return result;
}

const char *const MapNotLoaded = "ASCII Map Not Loaded";
const char *const AreaNotPasted = "Area Not Pasted";

LoadResult DecodeAsciiMapFrom(TextPieceReader &pieces, MapStore &map, PlaceTable &places, int &placeCount)
{
    const QString refused = tr(MapNotLoaded);
    DataLines lines(pieces);
    AsciiHeader header;
    if (!ReadHeader(lines, header))
        return EndsInHeader(refused);
    if (!IsValidMapSize(header.width, header.height))
        return {LoadResult::Refused,
                {refused, tr("The map size %1 x %2 is not valid: the width must be 1 to %3 and the height 1 to %4.")
                              .arg(header.width).arg(header.height).arg(StoreColumns).arg(StoreRows)}};
    if (header.placeCount < 0 || header.placeCount > MaxPlaceCount)
        return {LoadResult::Refused, {refused, tr("The number of places, %1, is not valid: a map has 0 to %2 places.")
                                                   .arg(header.placeCount).arg(MaxPlaceCount)}};

    map.MapWidth = header.width;
    map.MapHeight = header.height;

    // Place lines: X, Y and a name of at most two words, split at white space.
    if (header.placeCount > 0)
        places.setRowCount(header.placeCount + 1);
    QByteArray line;
    QList<QByteArrayView> words;
    for (int k = 0; k < header.placeCount; ++k) {
        if (!lines.next(line))
            return {LoadResult::Refused,
                    {refused, tr("The file ends after %1 of its %2 place lines, before its hexes.").arg(k).arg(header.placeCount)}};
        words.clear();
        for (qsizetype i = 0; i < line.size();) {
            while (i < line.size() && IsCSpace(line[i]))
                ++i;
            const qsizetype start = i;
            while (i < line.size() && !IsCSpace(line[i]))
                ++i;
            if (i > start)
                words << QByteArrayView(line).sliced(start, i - start);
        }
        const int x = words.size() > 0 ? WordNumber(words[0]) : 0;
        const int y = words.size() > 1 ? WordNumber(words[1]) : 0;
        QByteArray name = words.size() > 2 ? words[2].toByteArray() : QByteArray();
        if (words.size() > 3)
            name += ' ' + words[3].toByteArray();
        places.setCell(PlaceTable::XColumn, k + 1, QString::number(x));
        places.setCell(PlaceTable::YColumn, k + 1, QString::number(y));
        places.setCell(PlaceTable::NameColumn, k + 1, QString::fromLatin1(name.left(AsciiPlaceNameLength)));
    }
    placeCount = header.placeCount;

    for (int y = 0; y < header.height; ++y) {
        for (int x = 0; x < header.width; ++x) {
            if (!lines.next(line))
                return ShortOfHexes(refused, y * header.width + x, header.width * header.height);
            const HexLine hex = ParseHexLine(line);
            if (!hex.ok())
                return BadValue(hex);
            StoreHexLine(map, x, y, hex);
        }
    }
    return {};
}

LoadResult DecodeAsciiPasteFrom(TextPieceReader &pieces, MapStore &map, int x0, int y0)
{
    const QString refused = tr(AreaNotPasted);
    DataLines lines(pieces);
    AsciiHeader header;
    if (!ReadHeader(lines, header))
        return EndsInHeader(refused);
    const long long announced = std::max(header.width, 0) * (long long)std::max(header.height, 0);
    QByteArray line;
    for (int k = 0; k < header.placeCount; ++k)
        if (!lines.next(line))
            return ShortOfHexes(refused, 0, announced);
    for (int j = 0; j < header.height; ++j) {
        for (int k = 0; k < header.width; ++k) {
            if (!lines.next(line))
                return ShortOfHexes(refused, (long long)j * header.width + k, announced);
            const long long x = (long long)x0 + k;
            const long long y = (long long)y0 + j;
            if (x < 0 || y < 0 || x >= map.MapWidth || y >= map.MapHeight)
                continue; // outside the map: read and dropped
            const HexLine hex = ParseHexLine(line);
            if (!hex.ok())
                return BadValue(hex);
            StoreHexLine(map, int(x), int(y), hex);
        }
    }
    return {};
}

LoadResult ReadAsciiMap(TextPieceReader &pieces, MapStore &map, PlaceTable &places, int &placeCount)
{
    return DecodeAllOrNothing([&pieces](MapStore &m, PlaceTable &p, int &c) { return DecodeAsciiMapFrom(pieces, m, p, c); },
                              map, places, placeCount);
}

LoadResult ReadAsciiPaste(TextPieceReader &pieces, MapStore &map, int x0, int y0)
{
    return DecodeAllOrNothing([&](MapStore &m) { return DecodeAsciiPasteFrom(pieces, m, x0, y0); }, map);
}

// The file-level reads: a file that cannot be opened or read is refused, and every message names it.
template <typename Read>
LoadResult ReadAsciiFile(const QString &path, const char *caption, Read read)
{
    TextPieceReader pieces(path, AsciiLineLength);
    if (!pieces.openError().isEmpty())
        return {LoadResult::Refused, {tr(caption), pieces.openError()}};
    LoadResult result = NameFile(path, read(pieces));
    if (const QString error = pieces.readError(); !error.isEmpty())
        return {LoadResult::Refused, {tr(caption), error}};
    return result;
}

} // namespace

QByteArray EncodeAsciiMap(const MapStore &map, const PlaceTable &places, int placeCount)
{
    QList<QByteArray> placeLines;
    for (int k = 0; k < placeCount; ++k) {
        const int x = LeadingNumber(places.cell(PlaceTable::XColumn, k + 1).toLatin1());
        const int y = LeadingNumber(places.cell(PlaceTable::YColumn, k + 1).toLatin1());
        placeLines << QString::asprintf("%02d %02d ", x, y).toLatin1() + places.cell(PlaceTable::NameColumn, k + 1).toLatin1();
    }
    return EncodeAscii(map, 0, 0, map.MapWidth, map.MapHeight, placeLines);
}

QByteArray EncodeAsciiArea(const MapStore &map, int x1, int y1, int xe, int ye, QString *problem)
{
    if (x1 < 0 || y1 < 0 || xe < x1 || ye < y1 || xe > map.MapWidth || ye > map.MapHeight) {
        if (problem)
            *problem = tr("The area of columns %1 to %2 and rows %3 to %4 does not lie on the map of %5 x %6 hexes; "
                          "nothing was saved.")
                           .arg(x1).arg(xe - 1).arg(y1).arg(ye - 1).arg(map.MapWidth).arg(map.MapHeight);
        return {};
    }
    return EncodeAscii(map, x1, y1, xe - x1, ye - y1, {});
}

LoadResult DecodeAsciiMap(const QByteArray &data, MapStore &map, PlaceTable &places, int &placeCount)
{
    TextPieceReader pieces(data, AsciiLineLength);
    return ReadAsciiMap(pieces, map, places, placeCount);
}

LoadResult DecodeAsciiPaste(const QByteArray &data, MapStore &map, int x0, int y0)
{
    TextPieceReader pieces(data, AsciiLineLength);
    return ReadAsciiPaste(pieces, map, x0, y0);
}

std::optional<QSize> AsciiSizeOf(const QByteArray &data)
{
    TextPieceReader pieces(data, AsciiLineLength);
    DataLines lines(pieces);
    AsciiHeader header;
    if (!ReadHeader(lines, header))
        return std::nullopt;
    return QSize(header.width, header.height);
}

QString WriteAsciiMapFile(const QString &path, const MapStore &map, const PlaceTable &places, int placeCount)
{
    return WriteFileAtomically(path, EncodeAsciiMap(map, places, placeCount));
}

LoadResult ReadAsciiMapFile(const QString &path, MapStore &map, PlaceTable &places, int &placeCount)
{
    return ReadAsciiFile(path, MapNotLoaded,
                         [&](TextPieceReader &pieces) { return ReadAsciiMap(pieces, map, places, placeCount); });
}

QString SaveArea(const QString &path, const MapStore &map, int x1, int y1, int xe, int ye)
{
    QString problem;
    const QByteArray data = EncodeAsciiArea(map, x1, y1, xe, ye, &problem);
    if (!problem.isEmpty())
        return FileMessage(path, problem);
    return WriteFileAtomically(path, data);
}

LoadResult PasteArea(const QString &path, MapStore &map, int x0, int y0)
{
    return ReadAsciiFile(path, AreaNotPasted, [&](TextPieceReader &pieces) { return ReadAsciiPaste(pieces, map, x0, y0); });
}

} // namespace vantor
