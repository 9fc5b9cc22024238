// TMX maps read back: the export's own output byte for byte, every layer encoding, what Tiled
// writes after a change, what the import refuses, and File > Import from Tiled.

#include "test_support.h"

#include "files/ascii_map_file.h"
#include "files/map_file_formats.h"
#include "files/map_text.h"
#include "files/native_map_file.h"
#include "files/scenario_file.h"
#include "files/tmx_import.h"
#include "forms/Map.h"
#include "forms/windows.h"
#include "model/geometry.h"
#include "model/terrain_tables.h"
#include "render/tmx_export.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <zlib.h>
#include <zstd.h>

using namespace vantor;
using namespace testing;

namespace {

constexpr int Width = 9, Height = 7;

// A map whose every byte is random but for valid tiles and three places at known hexes.
std::unique_ptr<MapStore> SampleMap()
{
    auto map = RandomMap(Width, Height, 22);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            map->at(TileSet, x, y) = std::uint8_t((x + y) % TileSetCount);
            map->at(TileIndex, x, y) = std::uint8_t((7 * x + 3 * y) % 80);
            map->at(PlaceIndex, x, y) = 0xFF;
            map->at(PlaceIndexHigh, x, y) = 0x7F;
        }
    map->at(PlaceIndex, 1, 1) = 0;
    map->at(PlaceIndexHigh, 1, 1) = 0;
    map->at(PlaceIndex, 4, 2) = 2;
    map->at(PlaceIndexHigh, 4, 2) = 0;
    return map;
}

PlaceTable SamplePlaces()
{
    PlaceTable places(4);
    places.setCell(PlaceTable::NameColumn, 1, QStringLiteral("Kawai Point"));
    places.setCell(PlaceTable::NameColumn, 3, QStringLiteral("Old Mission"));
    SetPlaceCoordinates(*SampleMap(), 3, places);
    return places;
}

TmxTilesets AllTilesets()
{
    TmxTilesets tilesets;
    for (int s = 0; s < TileSetCount; ++s)
        tilesets[s] = {TmxSheetFileName(s), QSize(8 * TileWidth, 10 * TileHeight), 80};
    return tilesets;
}

QByteArray ExportSample(const MapStore &map)
{
    const PlaceTable places = SamplePlaces();
    return EncodeTmx(map, AllTilesets(), InitialDefaultTerrain(), MapLabelsOf(map, places, 3, CityTable()), 0x38b8a0, 3);
}

QList<quint32> GidsOf(const MapStore &map)
{
    QList<quint32> gids;
    for (int n = 0; n < map.MapWidth * map.MapHeight; ++n) {
        const HexCoord hex = SplitHexNumber(n, map.MapWidth);
        gids << quint32(TmxGid(map.at(TileSet, hex.x, hex.y), map.at(TileIndex, hex.x, hex.y)));
    }
    return gids;
}

QByteArray Deflate(const QByteArray &raw, int windowBits)
{
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(int(deflateBound(&z, uLong(raw.size()))) + 32, '\0');
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(raw.data()));
    z.avail_in = uInt(raw.size());
    z.next_out = reinterpret_cast<Bytef *>(out.data());
    z.avail_out = uInt(out.size());
    deflate(&z, Z_FINISH);
    out.resize(qsizetype(z.total_out));
    deflateEnd(&z);
    return out;
}

QByteArray Zstd(const QByteArray &raw)
{
    QByteArray out(qsizetype(ZSTD_compressBound(size_t(raw.size()))), '\0');
    out.resize(qsizetype(ZSTD_compress(out.data(), size_t(out.size()), raw.data(), size_t(raw.size()), 3)));
    return out;
}

// The export's <data> element rewritten with gids in encoding ("csv", "xml", "base64" or
// "base64+<compression>").
QByteArray Reencoded(const QByteArray &tmx, const QString &encoding, const QList<quint32> &gids)
{
    static const QRegularExpression data(QStringLiteral("<data encoding=\"csv\">([^<]*)</data>"));
    QString text = QString::fromUtf8(tmx);
    const QRegularExpressionMatch match = data.match(text);
    QStringList values;
    QByteArray payload;
    for (const quint32 gid : gids) {
        values << (encoding == QLatin1String("xml") ? QStringLiteral("<tile gid=\"%1\"/>") : QStringLiteral("%1")).arg(gid);
        for (int i = 0; i < 4; ++i)
            payload += char(gid >> (8 * i));
    }
    const QString compression = encoding.section(QLatin1Char('+'), 1);
    if (compression == QLatin1String("zstd"))
        payload = Zstd(payload);
    else if (!compression.isEmpty())
        payload = Deflate(payload, compression == QLatin1String("zlib") ? MAX_WBITS : 16 + MAX_WBITS);
    QString element = QStringLiteral("<data encoding=\"base64\"%1>\n   %2\n  </data>")
                          .arg(compression.isEmpty() ? QString() : QStringLiteral(" compression=\"%1\"").arg(compression),
                               QString::fromLatin1(payload.toBase64()));
    if (encoding == QLatin1String("csv"))
        element = QStringLiteral("<data encoding=\"csv\">\n%1\n</data>").arg(values.join(QStringLiteral(",\n")));
    else if (encoding == QLatin1String("xml"))
        element = QStringLiteral("<data>%1</data>").arg(values.join(QString()));
    return text.replace(match.capturedStart(), match.capturedLength(), element).toUtf8();
}

// What DecodeTmx read.
struct Read {
    MapStore map;
    PlaceTable places;
    int count = 0;
    QString problem;
    // The hexes that differ from map's.
    std::vector<HexCoord> changedFrom(const MapStore &before) const { return DiffMaps({before, places, 0}, {map, places, 0}).hexes; }
};

std::unique_ptr<Read> Decode(const QByteArray &tmx)
{
    auto read = std::make_unique<Read>();
    read->problem = DecodeTmx(tmx, read->map, read->places, read->count);
    return read;
}

} // namespace

class TmxImportTest : public QObject {
    Q_OBJECT
private slots:
    void roundTripIsByteForByte();
    void everyLayerEncodingReads();
    void changedTilesAndMovedLabelsMerge();
    void withoutTheMapPropertyANewMapIsMade();
    void tiledResavedAfterAChange();
    void refusalsNameTheItemAndChangeNothing_data();
    void refusalsNameTheItemAndChangeNothing();
    void oversizedPayloadsAreRefused();
    void importFromTiledMenuOpensTheMap();
};

void TmxImportTest::roundTripIsByteForByte()
{
    const auto map = SampleMap();
    QTemporaryDir dir;
    const QString tmx = dir.filePath(QStringLiteral("m.tmx"));
    Write(tmx, ExportSample(*map));
    MapStore read;
    MapFileExtras extras;
    MapFileFormat format = MapFileFormat::None;
    QCOMPARE(ReadMapFileAs(tmx, MapFileFormat::None, read, extras, {}, &format).outcome, LoadResult::Complete);
    QCOMPARE(format, MapFileFormat::TiledMap);
    QCOMPARE(EncodeMapFile(read), EncodeMapFile(*map));
    // The ASCII map, places and names included, is the one the original makes.
    QCOMPARE(EncodeAsciiMap(read, extras.places, extras.placeCount), EncodeAsciiMap(*map, SamplePlaces(), 3));
    // A TMX is read, never written.
    QCOMPARE(WriteMapFileAs(tmx, MapFileFormat::None, read, extras).outcome, LoadResult::Refused);
}

void TmxImportTest::everyLayerEncodingReads()
{
    const auto map = SampleMap();
    const QByteArray tmx = ExportSample(*map);
    for (const char *encoding : {"csv", "xml", "base64", "base64+zlib", "base64+gzip", "base64+zstd"}) {
        const auto read = Decode(Reencoded(tmx, QLatin1String(encoding), GidsOf(*map)));
        QCOMPARE(read->problem, QString());
        QVERIFY2(EncodeMapFile(read->map) == EncodeMapFile(*map), encoding);
    }
}

void TmxImportTest::changedTilesAndMovedLabelsMerge()
{
    const auto map = SampleMap();
    const QByteArray tmx = ExportSample(*map);
    QList<quint32> gids = GidsOf(*map);
    gids[2 * Width + 6] = quint32(TmxGid(3, 17)); // hex 6,2
    QString text = QString::fromUtf8(Reencoded(tmx, QStringLiteral("base64+zlib"), gids));
    // Kawai Point (place 0 at 1,1) moves to 5,3 and is renamed; a copy of it lands on 7,5.
    const QRegularExpression kawai(QStringLiteral("(<object id=\"1\" [^>]*)x=\"13\" y=\"60\""));
    QVERIFY(kawai.match(text).hasMatch());
    text.replace(kawai, QStringLiteral("\\1x=\"161\" y=\"140\""));
    text.replace(QStringLiteral(">Kawai Point<"), QStringLiteral(">Kawai Harbour<"));
    const QString copy = QStringLiteral("<object id=\"9\" name=\"Bay\" type=\"place\" x=\"235\" y=\"220\" width=\"96\" "
                                        "height=\"40\"><properties><property name=\"vantor-place\" type=\"int\" value=\"0\"/>"
                                        "</properties></object>");
    text.replace(QStringLiteral("</objectgroup>"), copy + QStringLiteral("</objectgroup>"));

    const auto read = Decode(text.toUtf8());
    QCOMPARE(read->problem, QString());
    QCOMPARE(read->changedFrom(*map), (std::vector<HexCoord>{{1, 1}, {6, 2}, {5, 3}, {7, 5}}));
    HexRecord painted = ReadHex(*map, 6, 2);
    painted[TileSet] = 3;
    painted[TileIndex] = 17;
    painted[Terrain] = std::uint8_t(DefaultTerrainOf(InitialDefaultTerrain(), 3, 17));
    QVERIFY(ReadHex(read->map, 6, 2) == painted);
    QCOMPARE(PlaceReferenceOf(read->map, {1, 1}), NoPlace);
    QCOMPARE(PlaceReferenceOf(read->map, {5, 3}), 0);
    QCOMPARE(PlaceReferenceOf(read->map, {7, 5}), 3);
    QCOMPARE(read->count, 4);
    const auto name = [&](int row) { return read->places.cell(PlaceTable::NameColumn, row); };
    QCOMPARE(QStringList({name(1), name(2), name(3), name(4)}),
             QStringList({QStringLiteral("Kawai Harbour"), QString(), QStringLiteral("Old Mission"), QStringLiteral("Bay")}));
    QCOMPARE(read->places.cell(PlaceTable::XColumn, 1), QStringLiteral("5"));
}

void TmxImportTest::withoutTheMapPropertyANewMapIsMade()
{
    const auto map = SampleMap();
    QString text = QString::fromUtf8(ExportSample(*map));
    text.remove(QRegularExpression(QStringLiteral("<property name=\"vantor-map\">[^<]*</property>")));
    const auto read = Decode(text.toUtf8());
    QCOMPARE(read->problem, QString());
    QCOMPARE(read->map.MapWidth, Width);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            HexRecord fresh{};
            SetNewMapFields(fresh, map->at(TileSet, x, y), map->at(TileIndex, x, y),
                            DefaultTerrainOf(InitialDefaultTerrain(), map->at(TileSet, x, y), map->at(TileIndex, x, y)));
            // The labels put the places back.
            if ((x == 1 && y == 1) || (x == 4 && y == 2)) {
                fresh[PlaceIndex] = x == 1 ? 0 : 2;
                fresh[PlaceIndexHigh] = 0;
            }
            QVERIFY2(ReadHex(read->map, x, y) == fresh, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
        }
}

// Tiled keeps the layer encoding it read: each one goes through Tiled's own writer.
void TmxImportTest::tiledResavedAfterAChange()
{
    const QString tiled = QStandardPaths::findExecutable(QStringLiteral("tiled"));
    if (tiled.isEmpty())
        QSKIP("tiled is not installed (Debian package tiled): Tiled's own saving is not checked");
    QProcess help;
    help.setProcessChannelMode(QProcess::MergedChannels);
    help.start(tiled, {QStringLiteral("--help")});
    help.waitForFinished(30000);
    if (!help.readAll().contains("--export-map"))
        QSKIP("this tiled has no --export-map: Tiled's own saving is not checked");
    const auto map = SampleMap();
    QList<quint32> gids = GidsOf(*map);
    gids[3 * Width + 2] = quint32(TmxGid(9, 40)); // hex 2,3
    QTemporaryDir dir;
    for (const char *encoding : {"csv", "base64", "base64+zlib", "base64+gzip", "base64+zstd"}) {
        const QString in = dir.filePath(QStringLiteral("in.tmx")), out = dir.filePath(QStringLiteral("out.tmx"));
        Write(in, Reencoded(ExportSample(*map), QLatin1String(encoding), gids));
        QProcess process;
        process.start(tiled, {QStringLiteral("--export-map"), in, out});
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), 0);
        const QByteArray resaved = Contents(out);
        QVERIFY(resaved.contains("tiledversion"));
        const auto read = Decode(resaved);
        QCOMPARE(read->problem, QString());
        QVERIFY2((read->changedFrom(*map) == std::vector<HexCoord>{{2, 3}}), encoding);
        QCOMPARE(int(read->map.at(TileSet, 2, 3)), 9);
        QCOMPARE(int(read->map.at(TileIndex, 2, 3)), 40);
        QCOMPARE(read->places.cell(PlaceTable::NameColumn, 3), QStringLiteral("Old Mission"));
    }
}

void TmxImportTest::refusalsNameTheItemAndChangeNothing_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("message");
    const QString zeroGid = QStringLiteral("<data encoding=\"csv\">\n");
    QTest::newRow("orthogonal") << "orientation=\"hexagonal\"" << "orientation=\"orthogonal\"" << "orientation \"orthogonal\"";
    QTest::newRow("stagger axis") << "staggeraxis=\"x\"" << "staggeraxis=\"y\"" << "staggeraxis \"y\"";
    QTest::newRow("stagger index") << "staggerindex=\"odd\"" << "staggerindex=\"even\"" << "staggerindex \"even\"";
    QTest::newRow("infinite") << "infinite=\"0\"" << "infinite=\"1\"" << "infinite map";
    QTest::newRow("chunks") << zeroGid << "<data encoding=\"csv\"><chunk x=\"0\" y=\"0\" width=\"16\" height=\"16\"/>\n"
                            << "chunks";
    const QString firstGid = zeroGid + QStringLiteral("1,"); // hex 0,0: set 0, tile 0
    QTest::newRow("flipped gid") << firstGid << zeroGid + QString::number(0x80000000u + 1) + QLatin1Char(',')
                                 << "hex 0,0: tile id 2147483649 is flipped";
    QTest::newRow("gid of no set") << firstGid << zeroGid + QStringLiteral("99999,") << "hex 0,0: tile id 99999 belongs to no";
    QTest::newRow("tile past its set") << "name=\"Set00m\" tilewidth=\"48\" tileheight=\"40\" tilecount=\"80\""
                                       << "name=\"Set00m\" tilewidth=\"48\" tileheight=\"40\" tilecount=\"0\""
                                       << "hex 0,0: tile id 1 belongs to no";
    QTest::newRow("layer too large") << "<layer id=\"1\" name=\"hexes\" width=\"9\"" << "<layer id=\"1\" name=\"hexes\" width=\"73\""
                                     << "layer \"hexes\" of 73 x 7";
    QTest::newRow("bad vantor-map") << "<property name=\"vantor-map\">" << "<property name=\"vantor-map\">AAAA"
                                    << "property vantor-map is not a valid map";
    QTest::newRow("doctype") << "<map " << "<!DOCTYPE map [<!ENTITY w \"9\">]><map " << "document type declaration";
    QTest::newRow("too many gids") << zeroGid << zeroGid + QStringLiteral("1,") << "more than 63 tile ids";
}

void TmxImportTest::refusalsNameTheItemAndChangeNothing()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, message);
    const auto map = SampleMap();
    QString text = QString::fromUtf8(ExportSample(*map));
    QVERIFY(text.contains(from));
    text.replace(text.indexOf(from), from.size(), to);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bad.tmx"));
    Write(path, text.toUtf8());
    auto read = BlankMap(5, 5);
    const auto before = EncodeMapFile(*read);
    MapFileExtras extras{7, PlaceTable(2)};
    const LoadResult result = ReadMapFileAs(path, MapFileFormat::None, *read, extras);
    QCOMPARE(result.outcome, LoadResult::Refused);
    QVERIFY2(result.message.text.startsWith(path + QStringLiteral(": ")) && result.message.text.contains(message),
             qPrintable(result.message.text));
    QCOMPARE(EncodeMapFile(*read), before);
    QCOMPARE(extras.placeCount, 7);
}

// Layer data that inflates past its layer, or holds junk, is refused: the inflate never grows.
void TmxImportTest::oversizedPayloadsAreRefused()
{
    const QByteArray raw(4 * 10 + 4, '\1');
    std::vector<std::uint32_t> gids;
    const std::pair<QString, QByteArray> cases[] = {
        {QStringLiteral("zlib"), Deflate(raw, MAX_WBITS)},
        {QStringLiteral("gzip"), Deflate(raw, 16 + MAX_WBITS)},
        {QStringLiteral("zstd"), Zstd(raw)},
        {QString(), raw},
    };
    for (const auto &[compression, payload] : cases) {
        const QString problem = DecodeTmxLayerData(payload.toBase64(), QStringLiteral("base64"), compression, 10, gids);
        QVERIFY2(!problem.isEmpty(), qPrintable(compression));
    }
    // A bomb: 16 MiB of zeros in 16 KB of zlib for a layer of 10 hexes.
    const QByteArray bomb = Deflate(QByteArray(16 << 20, '\0'), MAX_WBITS);
    QVERIFY(bomb.size() < 20000);
    QVERIFY(!DecodeTmxLayerData(bomb.toBase64(), QStringLiteral("base64"), QStringLiteral("zlib"), 10, gids).isEmpty());
    QCOMPARE(DecodeTmxLayerData("AQAAAAIAAAA=!", QStringLiteral("base64"), {}, 2, gids),
             QStringLiteral("the base64 data is not valid base64"));
    // Padded base64 of one and two gids, spread over lines.
    QCOMPARE(DecodeTmxLayerData("\n  BwAA\n  AA==\n", QStringLiteral("base64"), {}, 1, gids), QString());
    QCOMPARE(gids, std::vector<std::uint32_t>{7});
    QCOMPARE(DecodeTmxLayerData("CQAAAAoAAA=", QStringLiteral("base64"), {}, 2, gids),
             QStringLiteral("the base64 data is not valid base64"));
    QCOMPARE(DecodeTmxLayerData("CQAAAAoAAAA=", QStringLiteral("base64"), {}, 2, gids), QString());
    QCOMPARE(gids, (std::vector<std::uint32_t>{9, 10}));
    QVERIFY(!DecodeTmxLayerData("CQ=AAAAoAAAA", QStringLiteral("base64"), {}, 2, gids).isEmpty());
    QCOMPARE(DecodeTmxLayerData(" 1 ,\n2", QStringLiteral("csv"), {}, 2, gids), QString());
    QCOMPARE(gids, (std::vector<std::uint32_t>{1, 2}));
    QVERIFY(!DecodeTmxLayerData("1 2,3", QStringLiteral("csv"), {}, 2, gids).isEmpty());
    QVERIFY(!DecodeTmxLayerData("4294967296,3", QStringLiteral("csv"), {}, 2, gids).isEmpty());
}

void TmxImportTest::importFromTiledMenuOpensTheMap()
{
    const auto map = SampleMap();
    QTemporaryDir dir;
    const QString tmx = dir.filePath(QStringLiteral("m.tmx"));
    Write(tmx, ExportSample(*map));
    ScriptedDialogs dialogs;
    VantorWindows windows;
    TMapForm &form = windows.main();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    dialogs.fileAnswers << tmx;
    ClickMenuItem(form, QStringLiteral("File"), QStringLiteral("Import from Tiled..."));
    QCOMPARE(dialogs.fileDialogsShown.last().title, QStringLiteral("Import Map from Tiled"));
    QCOMPARE(EncodeMapFile(windows.document().map()), EncodeMapFile(*map));
    QCOMPARE(windows.document().tables().placeCount, 3);
    // Save does not write the TMX: it asks for a map file.
    const QString saved = dir.filePath(QStringLiteral("m.map"));
    dialogs.fileAnswers << saved;
    ClickMenuItem(form, QStringLiteral("File"), QStringLiteral("Save"));
    QCOMPARE(dialogs.fileDialogsShown.last().title, QStringLiteral("Save Ketura Map File"));
    QCOMPARE(Contents(saved), EncodeMapFile(*map));
}

QTEST_MAIN(TmxImportTest)
#include "tst_tmx_import.moc"
