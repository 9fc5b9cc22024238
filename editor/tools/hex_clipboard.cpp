#include "hex_clipboard.h"

#include "files/ascii_map_file.h"
#include "model/geometry.h"

#include <QtEndian>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace vantor {

namespace {

std::vector<HexCoord> HexesOnMap(const MapStore &map, const HexSet &hexes)
{
    std::vector<HexCoord> onMap = hexes.hexes();
    std::erase_if(onMap, [&](HexCoord hex) { return !IsOnMap(map, hex.x, hex.y); });
    return onMap;
}

struct HexBounds {
    int left = INT_MAX;
    int top = INT_MAX;
    int right = INT_MIN;
    int bottom = INT_MIN;
    void add(HexCoord hex)
    {
        left = std::min(left, hex.x);
        right = std::max(right, hex.x);
        top = std::min(top, hex.y);
        bottom = std::max(bottom, hex.y);
    }
};

HexBounds BoundsOf(const std::vector<HexCoord> &hexes)
{
    HexBounds bounds;
    for (const HexCoord hex : hexes)
        bounds.add(hex);
    return bounds;
}

PixelRect CellOf(HexCoord hex) { return HexRect(hex.y * StoreColumns + hex.x, StoreColumns); }

// The hex of the block's column and row rectangle whose centre lies nearest the centre of the
// pixels the block covers; the first such hex, column by column, on a tie. hexes is not empty.
HexCoord AnchorOf(const std::vector<HexCoord> &hexes)
{
    PixelRect box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (const HexCoord hex : hexes) {
        const PixelRect cell = CellOf(hex);
        box = {std::min(box.left, cell.left), std::min(box.top, cell.top), std::max(box.right, cell.right),
               std::max(box.bottom, cell.bottom)};
    }
    // In doubled pixels, so that every centre is whole.
    const long long centreX = box.left + box.right;
    const long long centreY = box.top + box.bottom;
    const HexBounds bounds = BoundsOf(hexes);
    HexCoord nearest = hexes.front();
    long long best = LLONG_MAX;
    for (int x = bounds.left; x <= bounds.right; ++x)
        for (int y = bounds.top; y <= bounds.bottom; ++y) {
            const PixelRect cell = CellOf({x, y});
            const long long dx = cell.left + cell.right - centreX;
            const long long dy = cell.top + cell.bottom - centreY;
            if (dx * dx + dy * dy < best) {
                best = dx * dx + dy * dy;
                nearest = {x, y};
            }
        }
    return nearest;
}

// hexes lie in the store; records gives each one's 37 planes.
template <typename Record>
ClipboardHexes FromHexes(const std::vector<HexCoord> &hexes, Record record)
{
    ClipboardHexes clipboard;
    if (hexes.empty())
        return clipboard;
    const CubeHex anchor = ToCube(AnchorOf(hexes));
    clipboard.hexes.reserve(hexes.size());
    for (const HexCoord hex : hexes)
        clipboard.hexes.emplace_back(ToCube(hex) - anchor, record(hex));
    return clipboard;
}

// The private format, little-endian: the tag, the number of hexes, then per hex the column step
// and the row step (16 bits each, signed) and the 37 planes.
constexpr char HexesTag[4] = {'V', 'H', 'X', '1'};
constexpr qsizetype HeaderSize = 8;
constexpr qsizetype EntrySize = 4 + PlaneCount;

QByteArray EncodeHexes(const ClipboardHexes &clipboard)
{
    QByteArray data(HeaderSize + EntrySize * qsizetype(clipboard.hexes.size()), Qt::Uninitialized);
    char *out = data.data();
    std::memcpy(out, HexesTag, 4);
    qToLittleEndian<quint32>(quint32(clipboard.hexes.size()), out + 4);
    out += HeaderSize;
    for (const auto &[step, record] : clipboard.hexes) {
        qToLittleEndian<qint16>(qint16(step.q), out);
        qToLittleEndian<qint16>(qint16(step.r), out + 2);
        std::memcpy(out + 4, record.data(), PlaneCount);
        out += EntrySize;
    }
    return data;
}

// Steps that no block of the store could have: beyond a store's width or height from the anchor,
// a block wider or taller than the store, or two hexes in one place.
bool AreStepsOfABlock(const ClipboardHexes &clipboard)
{
    std::vector<HexCoord> placed; // with the anchor at (0, 0)
    placed.reserve(clipboard.hexes.size());
    for (const auto &entry : clipboard.hexes) {
        const HexCoord hex = FromCube(entry.first);
        // A move by an odd number of columns can add a row to the block's height.
        if (std::abs(hex.x) >= StoreColumns || std::abs(hex.y) > StoreRows)
            return false;
        placed.push_back(hex);
    }
    const HexBounds bounds = BoundsOf(placed);
    if (bounds.right - bounds.left >= StoreColumns || bounds.bottom - bounds.top > StoreRows)
        return false;
    const auto before = [](HexCoord a, HexCoord b) { return a.x != b.x ? a.x < b.x : a.y < b.y; };
    std::sort(placed.begin(), placed.end(), before);
    return std::adjacent_find(placed.begin(), placed.end()) == placed.end();
}

std::optional<ClipboardHexes> DecodeHexes(const QByteArray &data)
{
    if (data.size() < HeaderSize || std::memcmp(data.constData(), HexesTag, 4) != 0)
        return std::nullopt;
    const quint32 count = qFromLittleEndian<quint32>(data.constData() + 4);
    if (count == 0 || count > quint32(PlaneSize) || data.size() != HeaderSize + EntrySize * qsizetype(count))
        return std::nullopt;
    ClipboardHexes clipboard;
    clipboard.hexes.reserve(count);
    for (const char *in = data.constData() + HeaderSize; in != data.constData() + data.size(); in += EntrySize) {
        const int q = qFromLittleEndian<qint16>(in);
        const int r = qFromLittleEndian<qint16>(in + 2);
        HexRecord record;
        std::memcpy(record.data(), in + 4, PlaneCount);
        clipboard.hexes.emplace_back(CubeHex{q, r, -q - r}, record);
    }
    if (!AreStepsOfABlock(clipboard))
        return std::nullopt;
    return clipboard;
}

const QString AreaNotPasted = QStringLiteral("Area Not Pasted");

// The text as Paste Area reads it, with the area's first column at column 0 of a store of its own.
std::optional<ClipboardHexes> DecodeAreaText(const QByteArray &text, QString *caption, QString *message)
{
    const auto refuse = [&](const QString &why) -> std::optional<ClipboardHexes> {
        if (caption)
            *caption = AreaNotPasted;
        if (message)
            *message = why;
        return std::nullopt;
    };
    auto area = std::make_unique<MapStore>();
    const LoadResult result = DecodeAsciiPaste(text, *area, 0, 0);
    if (result.outcome != LoadResult::Complete)
        return refuse(result.message.text);
    // A decoded text has a header. Hexes beyond the store were read and dropped.
    const QSize size = AsciiSizeOf(text).value_or(QSize());
    const int width = std::min(size.width(), StoreColumns);
    const int height = std::min(size.height(), StoreRows);
    if (width <= 0 || height <= 0)
        return refuse(QStringLiteral("The text is an area of %1 x %2 hexes: there is nothing to paste.")
                          .arg(size.width()).arg(size.height()));
    std::vector<HexCoord> hexes;
    hexes.reserve(std::size_t(width) * height);
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y)
            hexes.push_back({x, y});
    return FromHexes(hexes, [&](HexCoord hex) { return ReadHex(*area, hex.x, hex.y); });
}

} // namespace

ClipboardHexes CopyHexes(const MapStore &map, const HexSet &hexes)
{
    return FromHexes(HexesOnMap(map, hexes), [&](HexCoord hex) { return ReadHex(map, hex.x, hex.y); });
}

std::vector<std::pair<HexCoord, HexRecord>> PlaceHexes(const ClipboardHexes &clipboard, HexCoord target,
                                                       const MapStore &map)
{
    const CubeHex anchor = ToCube(target);
    std::vector<std::pair<HexCoord, HexRecord>> placed;
    placed.reserve(clipboard.hexes.size());
    for (const auto &[step, record] : clipboard.hexes)
        if (const HexCoord hex = FromCube(anchor + step); IsOnMap(map, hex.x, hex.y))
            placed.emplace_back(hex, record);
    return placed;
}

QByteArray AreaTextOf(const MapStore &map, const HexSet &hexes)
{
    const std::vector<HexCoord> onMap = HexesOnMap(map, hexes);
    if (onMap.empty())
        return {};
    const HexBounds bounds = BoundsOf(onMap);
    return EncodeAsciiArea(map, bounds.left - (bounds.left & 1), bounds.top, bounds.right + 1, bounds.bottom + 1);
}

std::unique_ptr<QMimeData> ToMimeData(const MapStore &map, const HexSet &hexes)
{
    auto mime = std::make_unique<QMimeData>();
    const ClipboardHexes clipboard = CopyHexes(map, hexes);
    if (clipboard.empty())
        return mime;
    mime->setData(QString::fromLatin1(HexesMimeType), EncodeHexes(clipboard));
    mime->setText(QString::fromLatin1(AreaTextOf(map, hexes)));
    return mime;
}

// Private data from another version, or damaged, gives way to the text beside it.
std::optional<ClipboardHexes> FromMimeData(const QMimeData &mime, QString *caption, QString *message)
{
    const QString type = QString::fromLatin1(HexesMimeType);
    if (mime.hasFormat(type))
        if (std::optional<ClipboardHexes> hexes = DecodeHexes(mime.data(type)))
            return hexes;
    if (mime.hasText())
        return DecodeAreaText(mime.text().toLatin1(), caption, message);
    if (caption)
        *caption = AreaNotPasted;
    if (message)
        *message = mime.hasFormat(type) ? QStringLiteral("The hexes on the clipboard are damaged: nothing was pasted.")
                                        : QStringLiteral("The clipboard holds no hexes.");
    return std::nullopt;
}

} // namespace vantor
