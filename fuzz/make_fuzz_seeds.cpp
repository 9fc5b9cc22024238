// Writes the seed corpora of the fuzz targets: small files of every kind the readers take, made by
// the writers themselves, plus a few broken ones. Usage: make_fuzz_seeds <folder>; each target's
// seeds go into <folder>/<target name>/.

#include "fuzz_support.h"

#include "samples/SampleArchive.h"
#include "core/TileArchive.h"
#include "files/ascii_map_file.h"
#include "files/city_file.h"
#include "files/default_terrain_file.h"
#include "files/native_map_file.h"
#include "files/scenario_file.h"
#include "model/geometry.h"
#include "render/bmp_encoding.h"
#include "render/tmx_export.h"
#include "tools/sketch_conversion.h"

#include <QDir>
#include <QFile>

#include <cstdio>

namespace {

QString g_root;

void Seed(const char *target, const char *name, const QByteArray &bytes)
{
    const QDir folder(g_root + QLatin1Char('/') + QLatin1String(target));
    if (!folder.mkpath(QStringLiteral(".")))
        fuzzing::Fail("make_fuzz_seeds", "cannot make a seed folder");
    QFile file(folder.filePath(QLatin1String(name)));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        fuzzing::Fail("make_fuzz_seeds", "cannot write a seed");
}

QByteArray Byte(int value) { return QByteArray(1, char(value)); }

vantor::PlaceTable Places(int count)
{
    vantor::PlaceTable places(count + 1);
    places.writeHeadings();
    for (int k = 1; k <= count; ++k) {
        places.setCell(vantor::PlaceTable::XColumn, k, QString::number(k));
        places.setCell(vantor::PlaceTable::YColumn, k, QString::number(k + 1));
        places.setCell(vantor::PlaceTable::NameColumn, k, QStringLiteral("Place %1").arg(k));
    }
    return places;
}

// A sketch in the seven colours of the conversion, in bands.
QImage Sketch(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const vantor::ColourValue c = vantor::ColourClasses[size_t((x / 4 + y / 3) % vantor::ColourClassCount)].reference;
            image.setPixel(x, y, qRgb(int(c & 0xFF), int(c >> 8 & 0xFF), int(c >> 16 & 0xFF)));
        }
    return image;
}

// A tile-set bitmap just large enough for tiles 0..tiles-1, each hexagon in a colour of its own.
QImage TileSet(int tiles)
{
    int width = 0;
    int height = 0;
    for (int tile = 0; tile < tiles; ++tile) {
        width = std::max(width, vantor::TileRect(tile).right);
        height = std::max(height, vantor::TileRect(tile).bottom);
    }
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::black);
    for (int tile = 0; tile < tiles; ++tile) {
        const vantor::PixelRect cell = vantor::TileRect(tile);
        for (int y = 0; y < vantor::TileHeight; ++y)
            for (int x = 0; x < vantor::TileWidth; ++x)
                if (vantor::IsInsideHexagon(x, y))
                    image.setPixel(cell.left + x, cell.top + y, qRgb(40 * tile % 256, 90, 200 - 20 * tile));
    }
    return image;
}

void Append32(QByteArray &out, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        out.append(char(value >> (8 * i)));
}

// A small tile set as the archive holds one: signature, count, directory, a palette block and tile
// records whose rows use every kind of control.
QByteArray ArchiveSet(int tiles)
{
    QByteArray set("1.10");
    Append32(set, quint32(tiles));
    const int directoryEnd = 8 + 8 * tiles;
    const int paletteAt = directoryEnd;
    const int paletteEntries = 4;
    const int firstTileAt = paletteAt + 4 + 4 * paletteEntries;
    QByteArray records;
    for (int t = 0; t < tiles; ++t) {
        Append32(set, quint32(firstTileAt + records.size()));
        Append32(set, quint32(paletteAt));
        QByteArray record(dovrel::TileRowsStart, '\0');
        record[dovrel::TileFirstRowField] = char(0);
        record[dovrel::TileLastRowField] = char(2);
        // Row 0: skip 3, run of 4 of colour 1, three literal pixels, end.
        record.append(QByteArray::fromHex("0103" "0801" "07010203" "00"));
        // Row 1: run of 6 of colour 2, end.
        record.append(QByteArray::fromHex("0c02" "00"));
        // Row 2: one literal pixel, end.
        record.append(QByteArray::fromHex("0303" "00"));
        records.append(record);
    }
    Append32(set, quint32(paletteEntries));
    for (int i = 0; i < paletteEntries; ++i)
        set.append(char(i)).append(char(10 * i)).append(char(63 - 10 * i)).append(char(5 * i));
    set.append(records);
    return set;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_seeds <folder>\n");
        return 2;
    }
    g_root = QString::fromLocal8Bit(argv[1]);

    // The native map file.
    const auto small = fuzzing::PatternMap(9, 7);
    const QByteArray smallMap = vantor::EncodeMapFile(*small);
    Seed("fuzz_native_map_file", "map_9x7.map", smallMap);
    Seed("fuzz_native_map_file", "map_1x1.map", vantor::EncodeMapFile(*fuzzing::PatternMap(1, 1)));
    Seed("fuzz_native_map_file", "map_72x2.map", vantor::EncodeMapFile(*fuzzing::PatternMap(72, 2)));
    Seed("fuzz_native_map_file", "truncated.map", smallMap.left(100));
    QByteArray oversized = smallMap;
    oversized[0] = char(73);
    Seed("fuzz_native_map_file", "oversized.map", oversized);

    // The ASCII map file and its area paste (two position bytes first).
    const QByteArray ascii = vantor::EncodeAsciiMap(*fuzzing::PatternMap(4, 3), Places(2), 2);
    Seed("fuzz_ascii_map_file", "map_4x3.txt", ascii);
    Seed("fuzz_ascii_map_file", "map_2x2.txt", vantor::EncodeAsciiMap(*fuzzing::PatternMap(2, 2), Places(0), 0));
    Seed("fuzz_ascii_map_file", "bad_value.txt", "2\n1\n0\n00 01 02 zz\n");
    Seed("fuzz_ascii_map_file", "truncated.txt", ascii.left(ascii.size() / 2));
    const QByteArray area = vantor::EncodeAsciiArea(*small, 2, 1, 5, 3);
    Seed("fuzz_ascii_paste", "area_at_1_1.txt", Byte(1) + Byte(1) + area);
    Seed("fuzz_ascii_paste", "area_at_11_8.txt", Byte(11) + Byte(8) + area);
    Seed("fuzz_ascii_paste", "area_at_minus_2.txt", Byte(-2) + Byte(-1) + area);
    Seed("fuzz_ascii_paste", "with_places.txt", Byte(0) + Byte(0) + ascii);

    // The default-terrain file.
    const QByteArray terrain = vantor::EncodeDefaultTerrain(vantor::InitialDefaultTerrain());
    Seed("fuzz_default_terrain_file", "default.ter", terrain);
    Seed("fuzz_default_terrain_file", "half.ter", terrain.left(terrain.size() / 2));

    // Scenarios: a layout byte, then the file (the map block and the game's own bytes after it).
    const QByteArray gameBytes = QByteArray::fromHex("00112233445566778899aabbccddeeff").repeated(3);
    for (const auto &[name, width, height] : {std::tuple{"10x12", 10, 12}, std::tuple{"6x5", 6, 5}}) {
        const auto map = fuzzing::PatternMap(width, height);
        const QByteArray regular = vantor::EncodeScenarioMapBlock(*map, vantor::ScenarioLayout::Regular, {}, 0) + gameBytes;
        const QByteArray homemade =
            vantor::EncodeScenarioMapBlock(*map, vantor::ScenarioLayout::Homemade, Places(2), 2) + gameBytes;
        const QByteArray regularName = QByteArray("regular_") + name + ".scn";
        const QByteArray homemadeName = QByteArray("homemade_") + name + ".scn";
        for (const char *target : {"fuzz_scenario_load", "fuzz_scenario_save"}) {
            Seed(target, regularName.constData(), Byte(0) + regular);
            Seed(target, homemadeName.constData(), Byte(1) + homemade);
        }
    }

    // The city file.
    vantor::CityTable cities(5);
    cities.writeHeadings();
    for (int row = 1; row < 4; ++row)
        cities.setCell(vantor::CityTable::NameColumn, row, QStringLiteral("City %1").arg(row));
    Seed("fuzz_city_file", "cities.txt", vantor::EncodeCities(cities));
    Seed("fuzz_city_file", "long_line.txt", QByteArray(150, 'x') + "\r\nshort\nno end");

    // Sketches and tile sets: bitmaps as the programs write them (the BMP test suite is added by the
    // fuzz script).
    Seed("fuzz_sketch_conversion", "sketch_30x20.bmp", vantor::EncodeBmp24(Sketch(30, 20)));
    Seed("fuzz_sketch_conversion", "sketch_7x5.bmp", vantor::EncodeBmp24(Sketch(7, 5)));
    Seed("fuzz_tile_set_image", "set_4_tiles.bmp", vantor::EncodeBmp24(TileSet(4)));
    Seed("fuzz_tile_set_image", "set_1_tile.bmp", vantor::EncodeBmp24(TileSet(1)));

    // The tile archive: a set byte, then the bytes from the set's search offset on.
    Seed("fuzz_tile_archive", "set_00_small.pfp", Byte(0) + ArchiveSet(3));
    Seed("fuzz_tile_archive", "set_09_small.pfp", Byte(9) + ArchiveSet(9));
    Seed("fuzz_tile_archive", "whole_archive_small.pfp", Byte(0x20) + QByteArray(40, '\0') + ArchiveSet(2));
    const QByteArray sample = dovrel::BuildSampleArchive();
    for (int set : {0, 2, 7}) {
        const QByteArray name = "sample_set_" + QByteArray::number(set) + "_start.pfp";
        Seed("fuzz_tile_archive", name.constData(), Byte(set) + sample.mid(dovrel::SetSearchOffsets[size_t(set)], 6000));
    }

    // TMX maps as the export writes them (csv), their tile layer as base64 + zlib, and hazards.
    vantor::TmxTilesets tilesets;
    for (int s = 0; s < vantor::TileSetCount; ++s)
        tilesets[s] = {vantor::TmxSheetFileName(s), QSize(8 * 48, 10 * 40), 80};
    auto tiled = fuzzing::PatternMap(6, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) {
            tiled->at(vantor::TileSet, x, y) = std::uint8_t(x % vantor::TileSetCount);
            tiled->at(vantor::TileIndex, x, y) = std::uint8_t(y);
            tiled->at(vantor::PlaceIndex, x, y) = std::uint8_t(x == y ? x : 0xFF);
            tiled->at(vantor::PlaceIndexHigh, x, y) = std::uint8_t(x == y ? 0 : 0x7F);
        }
    const QByteArray tmx = vantor::EncodeTmx(*tiled, tilesets, vantor::InitialDefaultTerrain(),
                                             vantor::MapLabelsOf(*tiled, Places(4), 4, {}), 0x38b8a0, 4);
    Seed("fuzz_tmx_import", "export_6x5.tmx", tmx);
    QByteArray raw;
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) {
            const quint32 gid = quint32(vantor::TmxGid(tiled->at(vantor::TileSet, x, y), tiled->at(vantor::TileIndex, x, y)));
            for (int i = 0; i < 4; ++i)
                raw += char(gid >> (8 * i));
        }
    const qsizetype dataStart = tmx.indexOf("<data");
    const qsizetype dataEnd = tmx.indexOf("</data>") + 7;
    const QByteArray zlib = qCompress(raw).mid(4); // without Qt's length prefix: a plain zlib stream
    Seed("fuzz_tmx_import", "zlib_6x5.tmx",
         tmx.left(dataStart) + "<data encoding=\"base64\" compression=\"zlib\">" + zlib.toBase64() + "</data>" + tmx.mid(dataEnd));
    Seed("fuzz_tmx_import", "doctype.tmx", "<?xml version=\"1.0\"?><!DOCTYPE map [<!ENTITY w \"6\">]>" + tmx.mid(tmx.indexOf("<map")));
    QByteArray infinite = tmx;
    infinite.replace("infinite=\"0\"", "infinite=\"1\"");
    Seed("fuzz_tmx_import", "infinite.tmx", infinite);
    return 0;
}
