#include "tmx_export.h"

#include "files/file_io.h"
#include "files/native_map_file.h"
#include "model/geometry.h"
#include "render/png_export.h"
#include "render/tile_set_library.h"
#include "render/tile_sheet.h"


#include <QDir>
#include <QFileInfo>
#include <QXmlStreamWriter>

namespace vantor {

namespace {

// A label's text box: two hexes wide, centred on its hex, so that longer names fit.
constexpr int LabelWidth = 2 * TileWidth;

QString TiledColour(ColourValue value)
{
    return QStringLiteral("#%1").arg(ToQColor(value).rgb() & 0xFFFFFFu, 6, 16, QLatin1Char('0'));
}

QString Number(int value) { return QString::number(value); }

// Base64 in lines of 76 characters.
QString Base64Lines(const QByteArray &data)
{
    const QByteArray base64 = data.toBase64();
    QString lines;
    lines.reserve(base64.size() + base64.size() / 76 + 2);
    for (qsizetype i = 0; i < base64.size(); i += 76)
        lines += QLatin1Char('\n') + QLatin1String(base64.mid(i, 76));
    return lines + QLatin1Char('\n');
}

struct Property {
    const char *name;
    QString value;
    bool isInt;
};

void WriteProperties(QXmlStreamWriter &xml, std::initializer_list<Property> properties)
{
    xml.writeStartElement(QStringLiteral("properties"));
    for (const Property &property : properties) {
        // Tiled keeps a value of several lines as the element's text, which reads faster than a
        // long attribute.
        const bool lines = property.value.contains(QLatin1Char('\n'));
        if (lines)
            xml.writeStartElement(QStringLiteral("property"));
        else
            xml.writeEmptyElement(QStringLiteral("property"));
        xml.writeAttribute(QStringLiteral("name"), QLatin1String(property.name));
        if (property.isInt)
            xml.writeAttribute(QStringLiteral("type"), QStringLiteral("int"));
        if (lines) {
            xml.writeCharacters(property.value);
            xml.writeEndElement();
        } else {
            xml.writeAttribute(QStringLiteral("value"), property.value);
        }
    }
    xml.writeEndElement();
}

void WriteTileset(QXmlStreamWriter &xml, int set, const TmxTileset &tileset, const DefaultTerrainTable &terrain)
{
    xml.writeStartElement(QStringLiteral("tileset"));
    xml.writeAttribute(QStringLiteral("firstgid"), Number(TmxGid(set, 0)));
    xml.writeAttribute(QStringLiteral("name"), QFileInfo(TmxSheetFileName(set)).completeBaseName());
    xml.writeAttribute(QStringLiteral("tilewidth"), Number(TileWidth));
    xml.writeAttribute(QStringLiteral("tileheight"), Number(TileHeight));
    xml.writeAttribute(QStringLiteral("tilecount"), Number(tileset.tileCount));
    xml.writeAttribute(QStringLiteral("columns"), Number(TileColumns));
    xml.writeEmptyElement(QStringLiteral("image"));
    xml.writeAttribute(QStringLiteral("source"), tileset.image);
    xml.writeAttribute(QStringLiteral("width"), Number(tileset.imageSize.width()));
    xml.writeAttribute(QStringLiteral("height"), Number(tileset.imageSize.height()));
    for (int tile = 0; tile < tileset.tileCount; ++tile) {
        xml.writeStartElement(QStringLiteral("tile"));
        xml.writeAttribute(QStringLiteral("id"), Number(tile));
        xml.writeStartElement(QStringLiteral("properties"));
        xml.writeEmptyElement(QStringLiteral("property"));
        xml.writeAttribute(QStringLiteral("name"), QStringLiteral("terrain"));
        xml.writeAttribute(QStringLiteral("value"),
                           QString::fromLatin1(TerrainName(DefaultTerrainOf(terrain, set, tile))));
        xml.writeEndElement();
        xml.writeEndElement();
    }
    xml.writeEndElement();
}

QString TileLayerCsv(const MapStore &map, const TmxTilesets &tilesets)
{
    QString csv = QStringLiteral("\n");
    for (int y = 0; y < map.MapHeight; ++y) {
        for (int x = 0; x < map.MapWidth; ++x) {
            const int set = map.at(TileSet, x, y);
            const int tile = map.at(TileIndex, x, y);
            const bool drawn = set < TileSetCount && !tilesets[set].image.isEmpty() && tile < tilesets[set].tileCount;
            csv += Number(drawn ? TmxGid(set, tile) : 0);
            if (x + 1 < map.MapWidth || y + 1 < map.MapHeight)
                csv += QLatin1Char(',');
        }
        csv += QLatin1Char('\n');
    }
    return csv;
}

void WriteLabels(QXmlStreamWriter &xml, const MapStore &map, const std::vector<MapLabel> &labels)
{
    xml.writeStartElement(QStringLiteral("objectgroup"));
    xml.writeAttribute(QStringLiteral("id"), QStringLiteral("2"));
    xml.writeAttribute(QStringLiteral("name"), QLatin1String(TmxLabelLayerName));
    int id = 1;
    for (const MapLabel &label : labels) {
        const PixelRect hex = HexRect(label.hex.y * map.MapWidth + label.hex.x, map.MapWidth);
        xml.writeStartElement(QStringLiteral("object"));
        xml.writeAttribute(QStringLiteral("id"), Number(id++));
        xml.writeAttribute(QStringLiteral("name"), label.text);
        xml.writeAttribute(QStringLiteral("type"), label.kind);
        xml.writeAttribute(QStringLiteral("x"), Number(hex.left + (TileWidth - LabelWidth) / 2));
        xml.writeAttribute(QStringLiteral("y"), Number(hex.top));
        xml.writeAttribute(QStringLiteral("width"), Number(LabelWidth));
        xml.writeAttribute(QStringLiteral("height"), Number(TileHeight));
        const bool place = label.kind == QLatin1String(TmxPlaceKind);
        WriteProperties(xml, {{place ? TmxPlaceProperty : TmxCityProperty,
                               Number(place ? PlaceReferenceOf(map, label.hex) : map.at(PlaceIndex, label.hex.x, label.hex.y)),
                               true}});
        xml.writeStartElement(QStringLiteral("text"));
        xml.writeAttribute(QStringLiteral("pixelsize"), QStringLiteral("12"));
        xml.writeAttribute(QStringLiteral("wrap"), QStringLiteral("1"));
        xml.writeAttribute(QStringLiteral("halign"), QStringLiteral("center"));
        xml.writeAttribute(QStringLiteral("valign"), QStringLiteral("center"));
        xml.writeCharacters(label.text);
        xml.writeEndElement();
        xml.writeEndElement();
    }
    xml.writeEndElement();
}

} // namespace

std::vector<MapLabel> MapLabelsOf(const MapStore &map, const PlaceTable &places, int placeCount,
                                  const CityTable &cities)
{
    std::vector<MapLabel> labels;
    for (int y = 0; y < map.MapHeight; ++y)
        for (int x = 0; x < map.MapWidth; ++x) {
            const HexCoord hex{x, y};
            const int place = PlaceReferenceOf(map, hex);
            if (const QString name = places.cell(PlaceTable::NameColumn, place + 1); place < placeCount && !name.isEmpty())
                labels.push_back({hex, name, QStringLiteral("place")});
            else if (const QString city = cities.cell(CityTable::NameColumn, map.at(PlaceIndex, x, y) + 1); !city.isEmpty())
                labels.push_back({hex, city, QStringLiteral("city")});
        }
    return labels;
}

int TmxGid(int set, int tile) { return 1 + TilesPerSet * set + tile; }

QString TmxSheetFileName(int set) { return QStringLiteral("Set%1m.png").arg(set, 2, 10, QLatin1Char('0')); }

QByteArray EncodeTmx(const MapStore &map, const TmxTilesets &tilesets, const DefaultTerrainTable &terrain,
                     const std::vector<MapLabel> &labels, ColourValue background, int placeCount)
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(1);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("map"));
    const std::pair<const char *, QString> attributes[] = {
        {"version", QStringLiteral("1.8")},
        {"orientation", QStringLiteral("hexagonal")},
        {"renderorder", QStringLiteral("right-down")},
        {"width", Number(map.MapWidth)},
        {"height", Number(map.MapHeight)},
        {"tilewidth", Number(TileWidth)},
        {"tileheight", Number(TileHeight)},
        {"infinite", QStringLiteral("0")},
        {"hexsidelength", Number(TmxHexSideLength)},
        {"staggeraxis", QStringLiteral("x")},
        {"staggerindex", QStringLiteral("odd")},
        {"backgroundcolor", TiledColour(background)},
        {"nextlayerid", QStringLiteral("3")},
        {"nextobjectid", Number(int(labels.size()) + 1)},
    };
    for (const auto &[name, value] : attributes)
        xml.writeAttribute(QLatin1String(name), value);
    WriteProperties(xml, {{TmxMapProperty, Base64Lines(EncodeMapFile(map)), false},
                          {TmxPlaceCountProperty, Number(placeCount), true}});
    for (int set = 0; set < TileSetCount; ++set)
        if (!tilesets[set].image.isEmpty())
            WriteTileset(xml, set, tilesets[set], terrain);
    xml.writeStartElement(QStringLiteral("layer"));
    xml.writeAttribute(QStringLiteral("id"), QStringLiteral("1"));
    xml.writeAttribute(QStringLiteral("name"), QLatin1String(TmxTileLayerName));
    xml.writeAttribute(QStringLiteral("width"), Number(map.MapWidth));
    xml.writeAttribute(QStringLiteral("height"), Number(map.MapHeight));
    xml.writeStartElement(QStringLiteral("data"));
    xml.writeAttribute(QStringLiteral("encoding"), QStringLiteral("csv"));
    xml.writeCharacters(TileLayerCsv(map, tilesets));
    xml.writeEndElement();
    xml.writeEndElement();
    WriteLabels(xml, map, labels);
    xml.writeEndDocument();
    return out;
}

QString ExportMapToTmx(const QString &tmxPath, const MapStore &map, const QString &setsFolder,
                       const DefaultTerrainTable &terrain, const std::vector<MapLabel> &labels,
                       ColourValue background, int placeCount)
{
    // Everything is made before the first file is written, so that a missing set writes nothing.
    TileSetLibrary library(setsFolder);
    const MapTileSets sets = LoadTileSetsOf(map, library);
    if (!sets.unavailableSets.empty()) {
        const int set = sets.unavailableSets.front();
        return FileMessage(tmxPath, QStringLiteral("not exported: tile set %1 is missing or unreadable (%2)")
                                        .arg(set)
                                        .arg(QDir(setsFolder).filePath(library.fileNameOf(set))));
    }
    const QDir folder = QFileInfo(tmxPath).absoluteDir();
    std::vector<std::pair<QString, QByteArray>> files;
    TmxTilesets tilesets;
    for (int set = 0; set < TileSetCount; ++set) {
        if (sets.images[set].isNull())
            continue;
        const QImage sheet = RepackTileSet(sets.images[set]);
        tilesets[set] = {TmxSheetFileName(set), sheet.size(), TileCountOf(sets.images[set])};
        files.emplace_back(folder.filePath(TmxSheetFileName(set)), EncodePng(sheet));
    }
    files.emplace_back(tmxPath, EncodeTmx(map, tilesets, terrain, labels, background, placeCount));

    std::vector<QString> created;
    for (const auto &[path, data] : files) {
        const bool existed = QFileInfo::exists(path);
        if (const QString error = WriteFileAtomically(path, data); !error.isEmpty()) {
            for (const QString &made : created)
                QFile::remove(made);
            return error;
        }
        if (!existed)
            created.push_back(path);
    }
    return {};
}

} // namespace vantor
