#include "map_text.h"

#include "model/terrain_tables.h"

#include <array>
#include <charconv>

namespace vantor {

namespace {

HexRecord NewMapHexRecord()
{
    HexRecord record{};
    SetNewMapFields(record, 1, 1, DefaultTerrainOf(InitialDefaultTerrain(), 1, 1));
    return record;
}

QString PlaceName(const MapWithPlaces &m, int k) { return m.places.cell(PlaceTable::NameColumn, k + 1); }

QString Quoted(const QString &text) { return QLatin1Char('"') + text + QLatin1Char('"'); }

} // namespace

QString PlaneName(int plane)
{
    switch (plane) {
    case PlaceIndex:
        return QStringLiteral("place");
    case PlaceIndexHigh:
        return QStringLiteral("place-high");
    case CityAttr03:
        return QStringLiteral("city03");
    case CityAttr04:
        return QStringLiteral("city04");
    case RoadLinks:
        return QStringLiteral("roads");
    case TileIndex:
        return QStringLiteral("tile");
    case TileSet:
        return QStringLiteral("set");
    case Terrain:
        return QStringLiteral("terrain");
    case CityAttr16:
        return QStringLiteral("city16");
    default:
        return QStringLiteral("byte%1").arg(plane, 2, 10, QLatin1Char('0'));
    }
}

QByteArray DumpMap(const MapWithPlaces &m)
{
    static const HexRecord fresh = NewMapHexRecord();
    static const auto names = [] {
        std::array<QByteArray, PlaneCount> names;
        for (int p = 0; p < PlaneCount; ++p)
            names[size_t(p)] = ' ' + PlaneName(p).toLatin1() + ' ';
        return names;
    }();
    QByteArray text = QStringLiteral("# vantor map: each hex lists the fields that differ from a New Map hex\n"
                                     "size %1 x %2\nplaces %3\n")
                          .arg(m.map.MapWidth)
                          .arg(m.map.MapHeight)
                          .arg(m.placeCount)
                          .toUtf8();
    for (int k = 0; k < m.placeCount; ++k)
        text += QStringLiteral("place %1: %2\n").arg(k).arg(Quoted(PlaceName(m, k))).toUtf8();
    // Some 5,000 hexes of up to 37 fields: numbers are written directly, not through QString::arg.
    text.reserve(text.size() + qsizetype(m.map.MapWidth) * m.map.MapHeight * 64);
    char number[8];
    const auto append = [&](int value) { text.append(number, std::to_chars(number, number + sizeof number, value).ptr - number); };
    for (int y = 0; y < m.map.MapHeight; ++y)
        for (int x = 0; x < m.map.MapWidth; ++x) {
            const HexRecord hex = ReadHex(m.map, x, y);
            if (hex == fresh)
                continue;
            text += "hex ";
            append(x);
            text += ',';
            append(y);
            text += ':';
            for (int p = 0; p < PlaneCount; ++p)
                if (hex[size_t(p)] != fresh[size_t(p)]) {
                    text += names[size_t(p)];
                    append(hex[size_t(p)]);
                }
            text += '\n';
        }
    return text;
}

MapDifferences DiffMaps(const MapWithPlaces &a, const MapWithPlaces &b)
{
    MapDifferences out;
    if (a.map.MapWidth != b.map.MapWidth || a.map.MapHeight != b.map.MapHeight)
        out.lines << QStringLiteral("size: %1 x %2 → %3 x %4")
                         .arg(a.map.MapWidth)
                         .arg(a.map.MapHeight)
                         .arg(b.map.MapWidth)
                         .arg(b.map.MapHeight);
    if (a.placeCount != b.placeCount)
        out.lines << QStringLiteral("places: %1 → %2").arg(a.placeCount).arg(b.placeCount);
    for (int k = 0; k < std::max(a.placeCount, b.placeCount); ++k) {
        const QString before = k < a.placeCount ? PlaceName(a, k) : QString();
        const QString after = k < b.placeCount ? PlaceName(b, k) : QString();
        if (before != after)
            out.lines << QStringLiteral("place %1: %2 → %3").arg(k).arg(Quoted(before), Quoted(after));
    }
    const int width = std::min(a.map.MapWidth, b.map.MapWidth);
    const int height = std::min(a.map.MapHeight, b.map.MapHeight);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            bool differs = false;
            for (int p = 0; p < PlaneCount; ++p)
                if (const int before = a.map.at(p, x, y), after = b.map.at(p, x, y); before != after) {
                    out.lines << QStringLiteral("%1,%2: %3 %4 → %5").arg(x).arg(y).arg(PlaneName(p)).arg(before).arg(after);
                    differs = true;
                }
            if (differs)
                out.hexes.push_back({x, y});
        }
    return out;
}

} // namespace vantor
