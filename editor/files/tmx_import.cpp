#include "tmx_import.h"

#include "files/file_io.h"
#include "files/native_map_file.h"
#include "files/scenario_file.h"
#include "files/tmx_names.h"
#include "model/geometry.h"
#include "model/terrain_tables.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <zlib.h>
#include <zstd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <numbers>
#include <optional>

namespace vantor {

namespace {

constexpr int MaxDepth = 16;
// The longest text kept of one element: the base64 "vantor-map" of a 72 x 70 map is 249 KB.
constexpr qsizetype MaxTextLength = 512 * 1024;
constexpr std::uint32_t FlagBits = 0xF0000000u;

// Where an element sits: what the import reads from it.
enum class Node {
    Map, MapProperties, MapProperty, Tileset, TileImage, Tile, TileProperties, TileProperty,
    Layer, Data, DataTile, ObjectGroup, Object, ObjectProperties, ObjectProperty, ObjectText, Other
};

Node ChildOf(Node parent, QStringView name)
{
    struct Step {
        Node parent;
        const char *name;
        Node child;
    };
    static const Step steps[] = {
        {Node::Map, "properties", Node::MapProperties}, {Node::MapProperties, "property", Node::MapProperty},
        {Node::Map, "tileset", Node::Tileset},          {Node::Tileset, "image", Node::TileImage},
        {Node::Tileset, "tile", Node::Tile},            {Node::Tile, "properties", Node::TileProperties},
        {Node::TileProperties, "property", Node::TileProperty},
        {Node::Map, "layer", Node::Layer},              {Node::Layer, "data", Node::Data},
        {Node::Data, "tile", Node::DataTile},           {Node::Map, "objectgroup", Node::ObjectGroup},
        {Node::ObjectGroup, "object", Node::Object},    {Node::Object, "properties", Node::ObjectProperties},
        {Node::ObjectProperties, "property", Node::ObjectProperty},
        {Node::Object, "text", Node::ObjectText},
    };
    for (const Step &step : steps)
        if (step.parent == parent && name == QLatin1String(step.name))
            return step.child;
    return Node::Other;
}

struct Tileset {
    std::uint32_t firstGid = 0;
    int set = -1; // -1: not a set of the export
    int tileCount = -1;
    std::map<int, int> terrainOfTile; // from the tiles' "terrain" properties
};

struct Label {
    QString kind, name, text;
    bool hasText = false;
    double x = 0, y = 0, width = 0, height = 0, rotation = 0;
    std::optional<int> place, city;
    QString id;
};

struct Layer {
    bool found = false;
    int width = 0, height = 0;
    QString encoding, compression;
    QByteArray text;
    std::vector<std::uint32_t> tileGids; // the <tile gid> children of data without an encoding
};

struct Document {
    QString mapProperty;
    bool hasMapProperty = false;
    std::optional<int> placeCount;
    std::vector<Tileset> tilesets;
    Layer layer;
    std::vector<Label> labels;
};

QString Quoted(QStringView text) { return QLatin1Char('"') + text.toString() + QLatin1Char('"'); }

std::optional<int> ToInt(QStringView text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

std::optional<double> ToDouble(QStringView text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

// The set of a tileset the export wrote: named "Setxxm" or showing the image "Setxxm.png".
int SetOfName(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^Set(\\d\\d)m(\\.png)?$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(QFileInfo(name).fileName());
    if (!match.hasMatch())
        return -1;
    const int set = match.captured(1).toInt();
    return set < TileSetCount ? set : -1;
}

int TerrainOfName(QStringView name)
{
    for (int t = 0; t < TerrainCount; ++t)
        if (name == QLatin1String(TerrainNames[t]))
            return t;
    return -1;
}

// Reads the map element's attributes; the reason it is not a map the import reads, or empty.
QString CheckMapElement(const QXmlStreamAttributes &a)
{
    const std::pair<const char *, const char *> required[] = {
        {"orientation", "hexagonal"}, {"staggeraxis", "x"}, {"staggerindex", "odd"}};
    for (const auto &[name, value] : required)
        if (a.value(QLatin1String(name)) != QLatin1String(value))
            return QStringLiteral("%1 %2 is not Vantor's (a hex map has %1 \"%3\")")
                .arg(QLatin1String(name), Quoted(a.value(QLatin1String(name))), QLatin1String(value));
    if (a.value(QLatin1String("infinite")) == QLatin1String("1"))
        return QStringLiteral("an infinite map is not read; make it finite in Tiled (Map > Map Properties > Infinite)");
    if (ToInt(a.value(QLatin1String("tilewidth"))) != TileWidth || ToInt(a.value(QLatin1String("tileheight"))) != TileHeight)
        return QStringLiteral("tiles of %1 x %2 pixels are not Vantor's %3 x %4")
            .arg(a.value(QLatin1String("tilewidth")), a.value(QLatin1String("tileheight")))
            .arg(TileWidth)
            .arg(TileHeight);
    return {};
}

// Reads the whole XML document; the first bad item, or empty.
QString ReadDocument(const QByteArray &data, Document &doc)
{
    QXmlStreamReader xml(data);
    std::vector<Node> path;
    path.reserve(MaxDepth);
    std::optional<Tileset> tileset;
    int tileId = -1;
    std::optional<Label> label;
    bool inNames = false;
    QString propertyName;
    QString *text = nullptr; // where the current element's text goes
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartDocument:
            if (const QStringView encoding = xml.documentEncoding();
                !encoding.isEmpty() && encoding.compare(QLatin1String("UTF-8"), Qt::CaseInsensitive) != 0)
                return QStringLiteral("encoding %1 is not read; Tiled writes UTF-8").arg(encoding);
            break;
        case QXmlStreamReader::DTD:
        case QXmlStreamReader::EntityReference:
            return QStringLiteral("line %1: a document type declaration or an entity is not allowed").arg(xml.lineNumber());
        case QXmlStreamReader::StartElement: {
            if (path.size() >= MaxDepth)
                return QStringLiteral("line %1: elements nested deeper than %2").arg(xml.lineNumber()).arg(MaxDepth);
            const QXmlStreamAttributes a = xml.attributes();
            Node node = Node::Map;
            if (path.empty()) {
                if (xml.name() != QLatin1String("map"))
                    return QStringLiteral("not a TMX map: the document is <%1>").arg(xml.name());
                if (QString problem = CheckMapElement(a); !problem.isEmpty())
                    return problem;
            } else {
                node = path.back() == Node::Other ? Node::Other : ChildOf(path.back(), xml.name());
            }
            path.push_back(node);
            text = nullptr;
            switch (node) {
            case Node::MapProperty:
            case Node::TileProperty:
            case Node::ObjectProperty: {
                propertyName = a.value(QLatin1String("name")).toString();
                const QStringView value = a.value(QLatin1String("value"));
                if (node == Node::MapProperty && propertyName == QLatin1String(TmxMapProperty)) {
                    doc.hasMapProperty = true;
                    doc.mapProperty = value.toString();
                    if (!a.hasAttribute(QLatin1String("value")))
                        text = &doc.mapProperty; // Tiled writes long values as text
                } else if (node == Node::MapProperty && propertyName == QLatin1String(TmxPlaceCountProperty)) {
                    doc.placeCount = ToInt(value);
                    if (!doc.placeCount || *doc.placeCount < 0 || *doc.placeCount > MaxPlaceCount)
                        return QStringLiteral("property %1 %2 is not a place count")
                            .arg(QLatin1String(TmxPlaceCountProperty), Quoted(value));
                } else if (node == Node::TileProperty && propertyName == QLatin1String("terrain") && tileId >= 0) {
                    if (const int terrain = TerrainOfName(value); terrain >= 0)
                        tileset->terrainOfTile[tileId] = terrain;
                } else if (node == Node::ObjectProperty && label && inNames) {
                    const bool isPlace = propertyName == QLatin1String(TmxPlaceProperty);
                    if (isPlace || propertyName == QLatin1String(TmxCityProperty)) {
                        const std::optional<int> number = ToInt(value);
                        if (!number || *number < 0 || *number >= (isPlace ? MaxPlaceCount : LastCity + 1))
                            return QStringLiteral("object %1: property %2 %3 is out of range")
                                .arg(label->id, propertyName, Quoted(value));
                        (isPlace ? label->place : label->city) = number;
                    }
                }
                break;
            }
            case Node::Tileset: {
                if (a.hasAttribute(QLatin1String("source")))
                    return QStringLiteral("tileset %1 is an external tileset; embed it in Tiled (Tileset > Embed Tileset)")
                        .arg(Quoted(a.value(QLatin1String("source"))));
                bool ok = false;
                tileset = Tileset{};
                tileset->firstGid = a.value(QLatin1String("firstgid")).toUInt(&ok);
                if (!ok || tileset->firstGid == 0 || (tileset->firstGid & FlagBits))
                    return QStringLiteral("tileset %1: firstgid %2 is not a tile id")
                        .arg(Quoted(a.value(QLatin1String("name"))), Quoted(a.value(QLatin1String("firstgid"))));
                tileset->set = SetOfName(a.value(QLatin1String("name")).toString());
                tileset->tileCount = ToInt(a.value(QLatin1String("tilecount"))).value_or(-1);
                break;
            }
            case Node::TileImage:
                if (tileset->set < 0)
                    tileset->set = SetOfName(a.value(QLatin1String("source")).toString());
                break;
            case Node::Tile:
                tileId = ToInt(a.value(QLatin1String("id"))).value_or(-1);
                break;
            case Node::Layer:
                if (doc.layer.found || a.value(QLatin1String("name")) != QLatin1String(TmxTileLayerName))
                    path.back() = Node::Other;
                else {
                    doc.layer.found = true;
                    const std::optional<int> width = ToInt(a.value(QLatin1String("width")));
                    const std::optional<int> height = ToInt(a.value(QLatin1String("height")));
                    if (!width || !height || !IsValidMapSize(*width, *height))
                        return QStringLiteral("layer \"%1\" of %2 x %3 hexes: Vantor maps have 1 x 1 to %4 x %5")
                            .arg(QLatin1String(TmxTileLayerName), a.value(QLatin1String("width")),
                                 a.value(QLatin1String("height")))
                            .arg(StoreColumns)
                            .arg(StoreRows);
                    doc.layer.width = *width;
                    doc.layer.height = *height;
                }
                break;
            case Node::Data:
                doc.layer.encoding = a.value(QLatin1String("encoding")).toString();
                doc.layer.compression = a.value(QLatin1String("compression")).toString();
                doc.layer.text.clear();
                break;
            case Node::DataTile: {
                if (!doc.layer.encoding.isEmpty())
                    break;
                if (qsizetype(doc.layer.tileGids.size()) >= PlaneSize)
                    return QStringLiteral("layer \"%1\" holds more tiles than it has hexes").arg(QLatin1String(TmxTileLayerName));
                bool ok = true;
                const QStringView gid = a.value(QLatin1String("gid"));
                doc.layer.tileGids.push_back(gid.isEmpty() ? 0 : gid.toUInt(&ok));
                if (!ok)
                    return QStringLiteral("line %1: tile gid %2 is not a number").arg(xml.lineNumber()).arg(Quoted(gid));
                break;
            }
            case Node::ObjectGroup:
                inNames = a.value(QLatin1String("name")) == QLatin1String(TmxLabelLayerName);
                if (const std::optional<double> x = ToDouble(a.value(QLatin1String("offsetx"))); x && *x != 0)
                    return QStringLiteral("object layer \"%1\" has an offset; reset it in Tiled").arg(QLatin1String(TmxLabelLayerName));
                if (const std::optional<double> y = ToDouble(a.value(QLatin1String("offsety"))); y && *y != 0)
                    return QStringLiteral("object layer \"%1\" has an offset; reset it in Tiled").arg(QLatin1String(TmxLabelLayerName));
                break;
            case Node::Object: {
                if (!inNames)
                    break;
                label = Label{};
                label->id = a.value(QLatin1String("id")).toString();
                label->name = a.value(QLatin1String("name")).toString();
                label->kind = a.value(a.hasAttribute(QLatin1String("class")) ? QLatin1String("class") : QLatin1String("type")).toString();
                const char *numbers[] = {"x", "y", "width", "height", "rotation"};
                double *fields[] = {&label->x, &label->y, &label->width, &label->height, &label->rotation};
                for (int i = 0; i < 5; ++i) {
                    const QStringView value = a.value(QLatin1String(numbers[i]));
                    if (value.isEmpty())
                        continue;
                    const std::optional<double> number = ToDouble(value);
                    if (!number)
                        return QStringLiteral("object %1: %2 %3 is not a number").arg(label->id, QLatin1String(numbers[i]), Quoted(value));
                    *fields[i] = *number;
                }
                break;
            }
            case Node::ObjectText:
                if (label) {
                    label->hasText = true;
                    text = &label->text;
                }
                break;
            default:
                break;
            }
            break;
        }
        case QXmlStreamReader::Characters:
            if (path.empty())
                break;
            if (path.back() == Node::Data) {
                if (doc.layer.text.size() + xml.text().size() > MaxTextLength)
                    return QStringLiteral("layer \"%1\": the data is too long").arg(QLatin1String(TmxTileLayerName));
                doc.layer.text += xml.text().toLatin1();
            } else if (text) {
                if (text->size() + xml.text().size() > MaxTextLength)
                    return QStringLiteral("line %1: text too long").arg(xml.lineNumber());
                *text += xml.text();
            }
            break;
        case QXmlStreamReader::EndElement:
            switch (path.back()) {
            case Node::Tileset:
                doc.tilesets.push_back(*tileset);
                tileset.reset();
                break;
            case Node::Tile:
                tileId = -1;
                break;
            case Node::Object:
                if (label)
                    doc.labels.push_back(std::move(*label));
                label.reset();
                break;
            case Node::ObjectGroup:
                inNames = false;
                break;
            case Node::Data:
                if (doc.layer.encoding.isEmpty() && !doc.layer.text.trimmed().isEmpty())
                    return QStringLiteral("layer \"%1\": data without an encoding holds text").arg(QLatin1String(TmxTileLayerName));
                break;
            default:
                break;
            }
            path.pop_back();
            text = nullptr;
            break;
        default:
            break;
        }
        // A <chunk> is an infinite map's data, whatever the map element says.
        if (xml.isStartElement() && path.size() >= 2 && path[path.size() - 2] == Node::Data &&
            xml.name() == QLatin1String("chunk"))
            return QStringLiteral("layer \"%1\" is infinite (chunks); make the map finite in Tiled").arg(QLatin1String(TmxTileLayerName));
    }
    if (xml.hasError())
        return QStringLiteral("line %1: %2").arg(xml.lineNumber()).arg(xml.errorString());
    if (!doc.layer.found)
        return QStringLiteral("no tile layer named \"%1\"").arg(QLatin1String(TmxTileLayerName));
    return {};
}

// Inflates a zlib (windowBits 15) or gzip (31) stream into exactly want bytes, never more.
QString InflateExactly(QByteArrayView in, qsizetype want, int windowBits, QByteArray &out)
{
    out = QByteArray(want, Qt::Uninitialized);
    z_stream z{};
    if (inflateInit2(&z, windowBits) != Z_OK)
        return QStringLiteral("cannot start inflating");
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(in.data()));
    z.avail_in = uInt(in.size());
    z.next_out = reinterpret_cast<Bytef *>(out.data());
    z.avail_out = uInt(want);
    const int result = inflate(&z, Z_FINISH);
    const bool exact = result == Z_STREAM_END && z.avail_out == 0 && z.avail_in == 0;
    inflateEnd(&z);
    return exact ? QString() : QStringLiteral("the compressed data is corrupt or does not inflate to %1 bytes").arg(want);
}

QString Unzstd(QByteArrayView in, qsizetype want, QByteArray &out)
{
    if (ZSTD_getFrameContentSize(in.data(), size_t(in.size())) != std::uint64_t(want) ||
        ZSTD_findFrameCompressedSize(in.data(), size_t(in.size())) != size_t(in.size()))
        return QStringLiteral("the zstd frame does not hold exactly %1 bytes").arg(want);
    out = QByteArray(want, Qt::Uninitialized);
    const size_t made = ZSTD_decompress(out.data(), size_t(want), in.data(), size_t(in.size()));
    return !ZSTD_isError(made) && made == size_t(want) ? QString() : QStringLiteral("the zstd data is corrupt");
}

// Base64 as Tiled writes it, spread over lines: whitespace is skipped, anything else outside the
// alphabet refuses the whole text, and "=" may only end it. (Qt's decoder is three times slower
// on the 250 KB of a large map's "vantor-map".)
std::optional<QByteArray> StrictBase64(QByteArrayView text)
{
    static const auto values = [] {
        std::array<std::int8_t, 256> table;
        table.fill(-1);
        const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
        for (int i = 0; i < 64; ++i)
            table[std::uint8_t(alphabet[i])] = std::int8_t(i);
        for (const char c : {' ', '\n', '\r', '\t'})
            table[std::uint8_t(c)] = -2;
        return table;
    }();
    QByteArray out(text.size() / 4 * 3 + 3, Qt::Uninitialized);
    char *to = out.data();
    std::uint32_t bits = 0;
    int count = 0, padding = 0;
    for (const char c : text) {
        const int value = values[std::uint8_t(c)];
        if (value == -2)
            continue;
        if (c == '=') {
            ++padding;
            continue;
        }
        if (value < 0 || padding > 0)
            return std::nullopt;
        bits = bits << 6 | std::uint32_t(value);
        if (++count == 4) {
            *to++ = char(bits >> 16);
            *to++ = char(bits >> 8);
            *to++ = char(bits);
            bits = 0;
            count = 0;
        }
    }
    // What is left of the last group: 2 or 3 characters, padded to 4 or not at all.
    if (count == 1 || (padding > 0 && count + padding != 4))
        return std::nullopt;
    if (count >= 2)
        *to++ = char(bits >> (count == 2 ? 4 : 10));
    if (count == 3)
        *to++ = char(bits >> 2);
    out.truncate(to - out.data());
    return out;
}

QString DecodeCsv(QByteArrayView text, int count, std::vector<std::uint32_t> &gids)
{
    gids.clear();
    gids.reserve(size_t(count));
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = text.indexOf(',', start);
        if (end < 0)
            end = text.size();
        const QByteArrayView token = text.sliced(start, end - start).trimmed();
        if (qsizetype(gids.size()) >= count)
            return QStringLiteral("more than %1 tile ids").arg(count);
        bool ok = token.size() >= 1 && token.size() <= 10;
        std::uint64_t value = 0;
        for (const char c : token) {
            ok = ok && c >= '0' && c <= '9';
            value = value * 10 + std::uint64_t(c - '0');
        }
        if (!ok || value > 0xFFFFFFFFu)
            return QStringLiteral("tile id %1 is not a number").arg(Quoted(QString::fromLatin1(token.first(std::min<qsizetype>(token.size(), 16)))));
        gids.push_back(std::uint32_t(value));
        start = end + 1;
    }
    if (qsizetype(gids.size()) != count)
        return QStringLiteral("%1 tile ids where the layer has %2 hexes").arg(gids.size()).arg(count);
    return {};
}

} // namespace

QString DecodeTmxLayerData(QByteArrayView text, const QString &encoding, const QString &compression, int count,
                           std::vector<std::uint32_t> &gids)
{
    if (encoding == QLatin1String("csv")) {
        if (!compression.isEmpty())
            return QStringLiteral("csv data cannot be compressed (%1)").arg(compression);
        return DecodeCsv(text, count, gids);
    }
    if (encoding != QLatin1String("base64"))
        return QStringLiteral("encoding %1 is not csv or base64").arg(Quoted(encoding));
    const std::optional<QByteArray> decoded = StrictBase64(text);
    if (!decoded)
        return QStringLiteral("the base64 data is not valid base64");
    const qsizetype want = 4 * qsizetype(count);
    QByteArray raw;
    QString problem;
    if (compression.isEmpty())
        raw = *decoded;
    else if (compression == QLatin1String("zlib"))
        problem = InflateExactly(*decoded, want, MAX_WBITS, raw);
    else if (compression == QLatin1String("gzip"))
        problem = InflateExactly(*decoded, want, 16 + MAX_WBITS, raw);
    else if (compression == QLatin1String("zstd"))
        problem = Unzstd(*decoded, want, raw);
    else
        return QStringLiteral("compression %1 is not zlib, gzip or zstd").arg(Quoted(compression));
    if (!problem.isEmpty())
        return problem;
    if (raw.size() != want)
        return QStringLiteral("%1 bytes of tile ids where the layer has %2 hexes").arg(raw.size()).arg(count);
    gids.resize(size_t(count));
    const auto *bytes = reinterpret_cast<const std::uint8_t *>(raw.constData());
    for (int i = 0; i < count; ++i)
        gids[size_t(i)] = std::uint32_t(bytes[4 * i]) | std::uint32_t(bytes[4 * i + 1]) << 8 |
                          std::uint32_t(bytes[4 * i + 2]) << 16 | std::uint32_t(bytes[4 * i + 3]) << 24;
    return {};
}

namespace {

// The hex under a label's box centre, its rotation turning the box about (x, y).
std::optional<HexCoord> HexOfLabel(const Label &label, const MapStore &map)
{
    const double angle = label.rotation * std::numbers::pi / 180.0;
    const double dx = label.width / 2, dy = label.height / 2;
    const double cx = label.x + dx * std::cos(angle) - dy * std::sin(angle);
    const double cy = label.y + dx * std::sin(angle) + dy * std::cos(angle);
    if (!(cx >= 0 && cy >= 0 && cx < 1e6 && cy < 1e6))
        return std::nullopt;
    return HexOnMapAt(int(cx), int(cy), map.MapWidth, map.MapHeight);
}

void SetPlaceReference(MapStore &map, HexCoord hex, int place)
{
    map.at(PlaceIndex, hex.x, hex.y) = std::uint8_t(place & 0xFF);
    map.at(PlaceIndexHigh, hex.x, hex.y) = std::uint8_t(place >> 8);
}

// Moves place (or, for a city, the place index byte) onto hex when it is elsewhere.
void MoveReference(MapStore &map, HexCoord hex, int number, bool city)
{
    const auto holds = [&](int x, int y) {
        return city ? map.at(PlaceIndex, x, y) == number : PlaceReferenceOf(map, {x, y}) == number;
    };
    if (holds(hex.x, hex.y))
        return;
    for (int y = 0; y < map.MapHeight; ++y)
        for (int x = 0; x < map.MapWidth; ++x)
            if (holds(x, y)) {
                if (city)
                    map.at(PlaceIndex, x, y) = NoPlace & 0xFF;
                else
                    SetPlaceReference(map, {x, y}, NoPlace);
            }
    if (city)
        map.at(PlaceIndex, hex.x, hex.y) = std::uint8_t(number);
    else
        SetPlaceReference(map, hex, number);
}

QString PlaceLabels(const Document &doc, MapStore &map, PlaceTable &places, int &placeCount)
{
    std::vector<QString> names(static_cast<size_t>(placeCount));
    std::vector<bool> taken(static_cast<size_t>(placeCount));
    for (const Label &label : doc.labels) {
        const bool isPlace = label.kind == QLatin1String(TmxPlaceKind);
        if (!isPlace && label.kind != QLatin1String(TmxCityKind))
            continue;
        const std::optional<HexCoord> hex = HexOfLabel(label, map);
        if (!hex)
            return QStringLiteral("object %1 %2 lies outside the map").arg(label.id, Quoted(label.name));
        if (!isPlace) {
            if (label.city)
                MoveReference(map, *hex, *label.city, true);
            continue;
        }
        // A copy of a label made in Tiled keeps the number: it is a new place.
        int place = label.place.value_or(placeCount);
        // The export labels every hex of a place that several hexes refer to.
        if (place < placeCount && taken[size_t(place)] && PlaceReferenceOf(map, *hex) == place)
            continue;
        if (place >= placeCount || taken[size_t(place)]) {
            if (placeCount >= MaxPlaceCount)
                return QStringLiteral("object %1 %2: more than %3 places").arg(label.id, Quoted(label.name)).arg(MaxPlaceCount);
            place = placeCount++;
            names.emplace_back();
            taken.push_back(false);
        }
        taken[size_t(place)] = true;
        names[size_t(place)] = label.hasText ? label.text : label.name;
        MoveReference(map, *hex, place, false);
    }
    if (placeCount > 0 && places.rowCount() < placeCount + 1)
        places.setRowCount(placeCount + 1);
    for (int k = 0; k < placeCount; ++k) {
        places.setCell(PlaceTable::XColumn, k + 1, {});
        places.setCell(PlaceTable::YColumn, k + 1, {});
        places.setCell(PlaceTable::NameColumn, k + 1, names[size_t(k)]);
    }
    SetPlaceCoordinates(map, placeCount, places);
    return {};
}

} // namespace

QString DecodeTmx(const QByteArray &data, MapStore &map, PlaceTable &places, int &placeCount)
{
    Document doc;
    if (QString problem = ReadDocument(data, doc); !problem.isEmpty())
        return problem;
    const int width = doc.layer.width, height = doc.layer.height;
    std::vector<std::uint32_t> gids;
    if (doc.layer.encoding.isEmpty()) {
        gids = std::move(doc.layer.tileGids);
        if (qsizetype(gids.size()) != qsizetype(width) * height)
            return QStringLiteral("layer \"%1\": %2 tiles where it has %3 hexes")
                .arg(QLatin1String(TmxTileLayerName))
                .arg(gids.size())
                .arg(width * height);
    } else if (QString problem = DecodeTmxLayerData(doc.layer.text, doc.layer.encoding, doc.layer.compression, width * height, gids);
               !problem.isEmpty()) {
        return QStringLiteral("layer \"%1\": %2").arg(QLatin1String(TmxTileLayerName), problem);
    }

    auto read = std::make_unique<MapStore>();
    const bool merging = doc.hasMapProperty;
    if (merging) {
        const std::optional<QByteArray> bytes = StrictBase64(doc.mapProperty.toLatin1());
        const QString problem = bytes ? DecodeMapFile(*bytes, *read) : QStringLiteral("not base64");
        if (!problem.isEmpty())
            return QStringLiteral("property %1 is not a valid map: %2").arg(QLatin1String(TmxMapProperty), problem);
        if (read->MapWidth != width || read->MapHeight != height)
            return QStringLiteral("layer \"%1\" is %2 x %3 hexes but property %4 holds a map of %5 x %6")
                .arg(QLatin1String(TmxTileLayerName))
                .arg(width)
                .arg(height)
                .arg(QLatin1String(TmxMapProperty))
                .arg(read->MapWidth)
                .arg(read->MapHeight);
    } else {
        read->MapWidth = width;
        read->MapHeight = height;
    }

    std::sort(doc.tilesets.begin(), doc.tilesets.end(), [](const Tileset &a, const Tileset &b) { return a.firstGid < b.firstGid; });
    const DefaultTerrainTable defaults = InitialDefaultTerrain();
    for (int n = 0; n < width * height; ++n) {
        const HexCoord hex = SplitHexNumber(n, width);
        const std::uint32_t gid = gids[size_t(n)];
        const auto where = [&] { return QStringLiteral("hex %1,%2: ").arg(hex.x).arg(hex.y); };
        if (gid & FlagBits)
            return where() + QStringLiteral("tile id %1 is flipped or rotated, which Vantor cannot draw").arg(gid);
        if (gid == 0) {
            if (!merging)
                return where() + QStringLiteral("the hex is empty");
            continue;
        }
        const auto next = std::upper_bound(doc.tilesets.begin(), doc.tilesets.end(), gid,
                                           [](std::uint32_t g, const Tileset &t) { return g < t.firstGid; });
        const Tileset *tileset = next == doc.tilesets.begin() ? nullptr : &*std::prev(next);
        const std::uint32_t tile = tileset ? gid - tileset->firstGid : 0;
        if (!tileset || tileset->set < 0 || tile >= std::uint32_t(tileset->tileCount < 0 ? TilesPerSet : tileset->tileCount) ||
            tile >= std::uint32_t(TilesPerSet))
            return where() + QStringLiteral("tile id %1 belongs to no tile set Vantor exported").arg(gid);
        const int set = tileset->set;
        if (merging && read->at(TileSet, hex.x, hex.y) == set && read->at(TileIndex, hex.x, hex.y) == tile)
            continue;
        const auto named = tileset->terrainOfTile.find(int(tile));
        const int terrain = named != tileset->terrainOfTile.end() ? named->second : DefaultTerrainOf(defaults, set, int(tile));
        HexRecord record = ReadHex(*read, hex.x, hex.y);
        if (merging) {
            record[TileSet] = std::uint8_t(set);
            record[TileIndex] = std::uint8_t(tile);
            record[Terrain] = std::uint8_t(terrain);
        } else {
            SetNewMapFields(record, set, int(tile), terrain);
        }
        WriteHex(*read, hex.x, hex.y, record);
    }

    PlaceTable readPlaces = places;
    int readCount = doc.placeCount.value_or(0);
    if (QString problem = PlaceLabels(doc, *read, readPlaces, readCount); !problem.isEmpty())
        return problem;
    map = *read;
    places = std::move(readPlaces);
    placeCount = readCount;
    return {};
}

LoadResult ReadTmxFile(const QString &path, MapStore &map, PlaceTable &places, int &placeCount)
{
    const auto refused = [&](const QString &problem) {
        return LoadResult{LoadResult::Refused, {QStringLiteral("Map Not Loaded"), FileMessage(path, problem)}};
    };
    if (const qint64 size = QFileInfo(path).size(); size > MaxTmxFileSize)
        return refused(QStringLiteral("a TMX map of %1 bytes is larger than %2 bytes").arg(size).arg(MaxTmxFileSize));
    QByteArray data;
    if (const QString error = ReadFilePrefix(path, MaxTmxFileSize + 1, data); !error.isEmpty())
        return {LoadResult::Refused, {QStringLiteral("Map Not Loaded"), error}};
    if (data.size() > MaxTmxFileSize)
        return refused(QStringLiteral("a TMX map larger than %1 bytes").arg(MaxTmxFileSize));
    if (const QString problem = DecodeTmx(data, map, places, placeCount); !problem.isEmpty())
        return refused(problem);
    return {};
}

} // namespace vantor
