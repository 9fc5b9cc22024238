// The ASCII map file: exact lines, the reader's rules, area save and paste, short and bad files.

#include "test_support.h"

#include "files/ascii_map_file.h"
#include "files/city_file.h"
#include "files/default_terrain_file.h"
#include "files/native_map_file.h"
#include "files/scenario_file.h"

#include <sys/resource.h>

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace vantor;
using testing::RandomMap;
using testing::Write;
using testing::Contents;

namespace {

// Every hex without a place: 255 in planes 0 and 16, 127 in plane 1, 0 elsewhere.
std::unique_ptr<MapStore> PlainMap(int width, int height)
{
    auto map = testing::BlankMap(width, height);
    for (int y = 0; y < StoreRows; ++y)
        for (int x = 0; x < StoreColumns; ++x) {
            map->at(PlaceIndex, x, y) = 255;
            map->at(PlaceIndexHigh, x, y) = 127;
            map->at(CityAttr16, x, y) = 255;
        }
    return map;
}

QByteArray Lines(const QList<QByteArray> &lines)
{
    QByteArray out;
    for (const QByteArray &line : lines)
        out += line + "\r\n";
    return out;
}

QByteArray HexLine(const MapStore &map, int x, int y)
{
    QByteArray line;
    for (int p = 0; p < 17; ++p)
        line += QByteArray::number(map.at(p, x, y), 16).toUpper().rightJustified(2, '0') + ' ';
    return line;
}

// A file of the given size and places, with the hex lines of map's hexes row by row.
QByteArray AsciiFile(int width, int height, const QList<QByteArray> &places, const MapStore &map)
{
    QList<QByteArray> lines{"3 1", QByteArray::number(width), QByteArray::number(height), QByteArray::number(places.size())};
    lines.removeFirst();
    lines += places;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            lines << HexLine(map, x, y);
    return Lines(lines);
}

PlaceTable Places(const QList<QStringList> &rows)
{
    PlaceTable table(int(rows.size()) + 1);
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < 3; ++c)
            table.setCell(c, r + 1, rows[r].value(c));
    return table;
}

} // namespace

class AsciiMapFileTest : public QObject {
    Q_OBJECT
private slots:
    void wholeMapLinesAreExact();
    void everyRowHasItsColumnComments();
    void roundTripKeepsSizePlacesAndPlanes0To16();
    void lfLineEndsReadAsCrLf();
    void placeLines_data();
    void placeLines();
    void hexValueTokens_data();
    void hexValueTokens();
    void aBadHexValueLeavesTheMapAsItWas();
    void commentsAnywhereAndLongLinesInPieces();
    void refusedFilesChangeNothing_data();
    void refusedFilesChangeNothing();
    void aShortFileIsRefused();
    void saveAreaOfOneHexAndOfNoColumns();
    void saveAreaOffTheMapWritesNothing();
    void pasteClipsAtTheMapEdges();
    void pasteSkipsPlacesAndStopsAtABadValue();
    void fileErrorsNameTheFile();
    void byteOrderMarkIsSkipped();
    void hugeFilesAreRefusedInBoundedMemory();
};

void AsciiMapFileTest::wholeMapLinesAreExact()
{
    auto map = PlainMap(12, 2);
    map->at(TileSet, 11, 1) = 0xAB;
    const PlaceTable places = Places({{"3", "12", "Port North"}, {"", "7", "Hill"}});
    const QByteArray data = EncodeAsciiMap(*map, places, 2);

    const QByteArray plain = "FF 7F 00 00 00 00 00 00 00 00 00 00 00 00 00 00 FF ";
    QList<QByteArray> expected{";ASCII map file for Vantor Version 0.50a", ";Width", "12", ";Height", "2",
                               ";Number of places", "2", ";Places X Y Name", "03 12 Port North", "00 07 Hill"};
    for (int y = 0; y < 2; ++y) {
        expected << ";Row " + QByteArray::number(y) << ";X=0 to 9";
        for (int x = 0; x < 12; ++x) {
            if (x == 10)
                expected << ";X=10 to 19";
            expected << (x == 11 && y == 1 ? QByteArray("FF 7F 00 00 00 00 00 00 00 00 00 00 00 00 AB 00 FF ") : plain);
        }
    }
    QCOMPARE(data, Lines(expected));

    // Without places neither the heading nor place lines appear.
    const QByteArray none = EncodeAsciiMap(*map, places, 0);
    QVERIFY(none.startsWith(Lines({";ASCII map file for Vantor Version 0.50a", ";Width", "12", ";Height", "2",
                                   ";Number of places", "0", ";Row 0", ";X=0 to 9", plain})));
}

void AsciiMapFileTest::everyRowHasItsColumnComments()
{
    auto map = PlainMap(25, 3);
    const QList<QByteArray> lines = EncodeAsciiMap(*map, PlaceTable(), 0).split('\n');
    QList<QByteArray> comments;
    for (const QByteArray &line : lines)
        if (line.startsWith(";Row") || line.startsWith(";X="))
            comments << line.chopped(1);
    QCOMPARE(comments, (QList<QByteArray>{";Row 0", ";X=0 to 9", ";X=10 to 19", ";X=20 to 29",
                                          ";Row 1", ";X=0 to 9", ";X=10 to 19", ";X=20 to 29",
                                          ";Row 2", ";X=0 to 9", ";X=10 to 19", ";X=20 to 29"}));
}

void AsciiMapFileTest::roundTripKeepsSizePlacesAndPlanes0To16()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("round.amf"));
    auto map = RandomMap(72, 70, 11);
    const PlaceTable places = Places({{"3", "12", "Port North"}, {"70", "69", "Gili"}, {"0", "0", "Three Word Name"}});
    QCOMPARE(WriteAsciiMapFile(path, *map, places, 3), QString());

    auto loaded = RandomMap(72, 70, 99);
    const auto before = std::make_unique<MapStore>(*loaded);
    PlaceTable table(8);
    table.setCell(0, 0, QStringLiteral("head"));
    table.setCell(1, 7, QStringLiteral("dropped with the rows after the places"));
    int count = -1;
    const LoadResult result = ReadAsciiMapFile(path, *loaded, table, count);
    QCOMPARE(result.outcome, LoadResult::Complete);
    QCOMPARE(loaded->MapWidth, 72);
    QCOMPARE(loaded->MapHeight, 70);
    QCOMPARE(count, 3);
    QCOMPARE(table.rowCount(), 4);
    QCOMPARE(table.cell(0, 0), QStringLiteral("head")); // the headings are not touched
    QCOMPARE(table.cell(0, 1), QStringLiteral("3"));
    QCOMPARE(table.cell(1, 1), QStringLiteral("12"));
    QCOMPARE(table.cell(2, 1), QStringLiteral("Port North"));
    QCOMPARE(table.cell(2, 2), QStringLiteral("Gili"));
    QCOMPARE(table.cell(2, 3), QStringLiteral("Three Word")); // a third word is dropped
    for (int y = 0; y < 70; ++y)
        for (int x = 0; x < 72; ++x)
            for (int p = 0; p < PlaneCount; ++p)
                QCOMPARE(loaded->at(p, x, y), p < 17 ? map->at(p, x, y) : before->at(p, x, y));

    // Saving what was read writes the same file but for the dropped word.
    QByteArray again = EncodeAsciiMap(*loaded, table, count);
    QCOMPARE(again, Contents(path).replace("Three Word Name", "Three Word"));
}

void AsciiMapFileTest::lfLineEndsReadAsCrLf()
{
    auto map = RandomMap(7, 4, 5);
    const QByteArray crlf = EncodeAsciiMap(*map, Places({{"1", "2", "Bay"}}), 1);
    QByteArray lf = crlf;
    lf.replace("\r\n", "\n");
    auto fromCrLf = testing::BlankMap(72, 70);
    auto fromLf = testing::BlankMap(72, 70);
    PlaceTable a, b;
    int countA = 0, countB = 0;
    QCOMPARE(DecodeAsciiMap(crlf, *fromCrLf, a, countA).outcome, LoadResult::Complete);
    QCOMPARE(DecodeAsciiMap(lf, *fromLf, b, countB).outcome, LoadResult::Complete);
    QVERIFY(fromCrLf->bytes == fromLf->bytes);
    QCOMPARE(a, b);
    QCOMPARE(countB, 1);
    QCOMPARE(b.cell(2, 1), QStringLiteral("Bay"));
}

void AsciiMapFileTest::placeLines_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("x");
    QTest::addColumn<QString>("y");
    QTest::addColumn<QString>("name");
    QTest::newRow("two words") << QByteArray("03 12 Port North") << "3" << "12" << "Port North";
    QTest::newRow("one word") << QByteArray("5 6 Gili") << "5" << "6" << "Gili";
    QTest::newRow("three words") << QByteArray("5 6 Port of Call") << "5" << "6" << "Port of";
    QTest::newRow("tabs and runs of blanks") << QByteArray("\t7  \t8   Big\t  Bay  ") << "7" << "8" << "Big Bay";
    QTest::newRow("no name") << QByteArray("03 12 ") << "3" << "12" << "";
    QTest::newRow("no y") << QByteArray("4") << "4" << "0" << "";
    QTest::newRow("not numbers") << QByteArray("Port North") << "0" << "0" << "";
    QTest::newRow("y not a number") << QByteArray("4 y Port") << "4" << "0" << "Port";
    QTest::newRow("empty line") << QByteArray("") << "0" << "0" << "";
    QTest::newRow("negative") << QByteArray("-1 +2 Reef") << "-1" << "2" << "Reef";
    QTest::newRow("long words cut to 63")
        << QByteArray("1 1 " + QByteArray(40, 'a') + " " + QByteArray(40, 'b')) << "1" << "1"
        << QString(QByteArray(40, 'a') + " " + QByteArray(22, 'b'));
    QTest::newRow("one word of 70") << QByteArray("1 1 " + QByteArray(70, 'c')) << "1" << "1" << QString(63, u'c');
    QTest::newRow("Latin-1 bytes") << QByteArray("2 3 K\xf6nig") << "2" << "3" << QString::fromLatin1("K\xf6nig");
}

void AsciiMapFileTest::placeLines()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, x);
    QFETCH(QString, y);
    QFETCH(QString, name);
    auto map = PlainMap(1, 1);
    const QByteArray data = Lines({"1", "1", "1", line, HexLine(*map, 0, 0)});
    PlaceTable table;
    int count = 0;
    QCOMPARE(DecodeAsciiMap(data, *map, table, count).outcome, LoadResult::Complete);
    QCOMPARE(count, 1);
    QCOMPARE(table.cell(0, 1), x);
    QCOMPARE(table.cell(1, 1), y);
    QCOMPARE(table.cell(2, 1), name);
}

void AsciiMapFileTest::hexValueTokens_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QList<int>>("values");
    const QList<int> counting{0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF, 0x10};
    QTest::newRow("as written") << QByteArray("00 11 22 33 44 55 66 77 88 99 AA BB CC DD EE FF 10 ") << counting;
    QTest::newRow("lower case") << QByteArray("00 11 22 33 44 55 66 77 88 99 aa bb cc dd ee ff 10") << counting;
    QTest::newRow("runs of spaces, text after the last")
        << QByteArray("   00  11 22 33 44 55 66 77 88 99 AA BB CC DD EE FF 10 and more") << counting;
    QList<int> firstTwo = counting;
    firstTwo[0] = 0x1F;
    firstTwo[1] = 0xAB;
    QTest::newRow("only the first two characters of a token")
        << QByteArray("1FF ABxyz 22 33 44 55 66 77 88 99 AA BB CC DD EE FF 10") << firstTwo;
}

void AsciiMapFileTest::hexValueTokens()
{
    QFETCH(QByteArray, line);
    QFETCH(QList<int>, values);
    auto map = RandomMap(1, 1, 3);
    PlaceTable table;
    int count = 0;
    QCOMPARE(DecodeAsciiMap(Lines({"1", "1", "0", line}), *map, table, count).outcome, LoadResult::Complete);
    for (int p = 0; p < 17; ++p)
        QCOMPARE(int(map->at(p, 0, 0)), values[p]);
}

void AsciiMapFileTest::aBadHexValueLeavesTheMapAsItWas()
{
    auto source = RandomMap(3, 2, 8);
    QList<QByteArray> lines{"3", "2", "1", "4 5 Cape"};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            lines << HexLine(*source, x, y);
    lines[4 + 4] = "01 02 03 G1 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 11 "; // hex (1, 1)
    auto map = RandomMap(72, 70, 4);
    const auto before = std::make_unique<MapStore>(*map);
    PlaceTable table;
    table.setCell(PlaceTable::NameColumn, 1, QStringLiteral("Old"));
    const PlaceTable tableBefore = table;
    int count = 7;
    LoadResult result = DecodeAsciiMap(Lines(lines), *map, table, count);
    QCOMPARE(result.outcome, LoadResult::BadValue);
    QCOMPARE(result.message.text, QStringLiteral("'$G1' is not a valid integer value"));
    // The map, its size, the places and their count stay byte for byte.
    QVERIFY(map->bytes == before->bytes);
    QCOMPARE(map->MapWidth, 72);
    QCOMPARE(map->MapHeight, 70);
    QCOMPARE(count, 7);
    QCOMPARE(table, tableBefore);

    // A line that ends before its seventeenth value: nothing is left to take.
    lines[4 + 4] = "01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10";
    result = DecodeAsciiMap(Lines(lines), *map, table, count);
    QCOMPARE(result.outcome, LoadResult::BadValue);
    QCOMPARE(result.message.text, QStringLiteral("'$' is not a valid integer value"));
    QVERIFY(map->bytes == before->bytes);

    // One character left, and a tab where the value should start.
    lines[4 + 4] = "01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 1";
    QCOMPARE(DecodeAsciiMap(Lines(lines), *map, table, count).message.text, QStringLiteral("'$1' is not a valid integer value"));
    lines[4 + 4] = "01\t02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 11";
    QCOMPARE(DecodeAsciiMap(Lines(lines), *map, table, count).message.text, QStringLiteral("'$\t0' is not a valid integer value"));
}

void AsciiMapFileTest::commentsAnywhereAndLongLinesInPieces()
{
    auto source = RandomMap(2, 1, 21);
    // Comments between every line, and a comment of exactly 253 characters: one line.
    const QByteArray comment253 = ";" + QByteArray(252, 'c');
    const QByteArray data = Lines({";start", "2", comment253, ";", "1", ";places", "0", ";x", HexLine(*source, 0, 0),
                                   ";;", HexLine(*source, 1, 0), ";end"});
    auto map = testing::BlankMap(72, 70);
    PlaceTable table;
    int count = 0;
    QCOMPARE(DecodeAsciiMap(data, *map, table, count).outcome, LoadResult::Complete);
    QCOMPARE(HexLine(*map, 1, 0), HexLine(*source, 1, 0));

    // A comment of 254 characters is two lines: its last character is a data line (the height).
    const QByteArray comment254 = ";" + QByteArray(252, 'c') + "1";
    QCOMPARE(DecodeAsciiMap(Lines({"2", comment254, "0", HexLine(*source, 0, 0), HexLine(*source, 1, 0)}), *map, table, count).outcome,
             LoadResult::Complete);
    QCOMPARE(map->MapHeight, 1);

    // An empty line is a data line, not a comment: here it is the height, 0, which is refused.
    const LoadResult empty = DecodeAsciiMap(Lines({"2", "", "0", HexLine(*source, 0, 0)}), *map, table, count);
    QCOMPARE(empty.outcome, LoadResult::Refused);
    QVERIFY(empty.message.text.contains(QLatin1String("2 x 0")));

    // A place line of 300 characters: the second piece is the first hex line.
    const QByteArray longPlace = "1 1 " + QByteArray(249, 'n') + HexLine(*source, 0, 0);
    QCOMPARE(DecodeAsciiMap(Lines({"2", "1", "1", longPlace, HexLine(*source, 1, 0)}), *map, table, count).outcome,
             LoadResult::Complete);
    QCOMPARE(table.cell(2, 1), QString(63, u'n'));
    QCOMPARE(ReadHex(*map, 0, 0).at(5), source->at(5, 0, 0));
    QCOMPARE(ReadHex(*map, 1, 0).at(16), source->at(16, 1, 0));
}

void AsciiMapFileTest::refusedFilesChangeNothing_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("reason");
    QTest::newRow("empty") << QByteArray() << "ends before";
    QTest::newRow("only comments") << Lines({";Width", ";Height"}) << "ends before";
    QTest::newRow("no place count") << Lines({"5", "5"}) << "ends before";
    QTest::newRow("width 73") << Lines({"73", "5", "0"}) << "73 x 5";
    QTest::newRow("height 71") << Lines({"5", "71", "0"}) << "5 x 71";
    QTest::newRow("width 0") << Lines({"x", "5", "0"}) << "0 x 5";
    QTest::newRow("negative height") << Lines({"5", "-1", "0"}) << "5 x -1";
    QTest::newRow("huge width") << Lines({"99999999999", "5", "0"}) << "2147483647 x 5";
    QTest::newRow("negative places") << Lines({"5", "5", "-2"}) << "-2";
}

void AsciiMapFileTest::refusedFilesChangeNothing()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, reason);
    auto map = RandomMap(10, 9, 2);
    const auto before = std::make_unique<MapStore>(*map);
    PlaceTable table = Places({{"1", "2", "Old"}});
    const PlaceTable tableBefore = table;
    int count = 7;
    const LoadResult result = DecodeAsciiMap(data, *map, table, count);
    QCOMPARE(result.outcome, LoadResult::Refused);
    QVERIFY2(result.message.text.contains(reason), qPrintable(result.message.text));
    QCOMPARE(result.message.caption, QStringLiteral("ASCII Map Not Loaded"));
    QVERIFY(map->bytes == before->bytes);
    QCOMPARE(map->MapWidth, 10);
    QCOMPARE(map->MapHeight, 9);
    QCOMPARE(table, tableBefore);
    QCOMPARE(count, 7);
}

void AsciiMapFileTest::aShortFileIsRefused()
{
    auto source = RandomMap(4, 3, 31);
    const QByteArray whole = AsciiFile(4, 3, {"1 2 Alpha", "3 4 Beta"}, *source);
    const QList<QByteArray> lines = whole.split('\n');

    // Ends after five of the twelve hex lines, or inside the place lines: nothing changes.
    auto map = RandomMap(72, 70, 32);
    const auto before = std::make_unique<MapStore>(*map);
    PlaceTable table;
    int count = 0;
    LoadResult result = DecodeAsciiMap(lines.mid(0, 5 + 5).join('\n') + '\n', *map, table, count);
    QCOMPARE(result.outcome, LoadResult::Refused);
    QCOMPARE(result.message.text, QStringLiteral("The file ends after 5 of the 12 hex lines it announces."));
    result = DecodeAsciiMap(lines.mid(0, 4).join('\n'), *map, table, count);
    QCOMPARE(result.outcome, LoadResult::Refused);
    QCOMPARE(result.message.text, QStringLiteral("The file ends after 1 of its 2 place lines, before its hexes."));
    QVERIFY(map->bytes == before->bytes);
    QCOMPARE(map->MapWidth, 72);
    QCOMPARE(count, 0);
    QCOMPARE(table, PlaceTable());
}

void AsciiMapFileTest::saveAreaOfOneHexAndOfNoColumns()
{
    QTemporaryDir dir;
    auto map = RandomMap(20, 20, 41);
    const QString one = dir.filePath(QStringLiteral("one.amf"));
    QCOMPARE(SaveArea(one, *map, 13, 7, 14, 8), QString());
    QCOMPARE(Contents(one), Lines({";ASCII map file for Vantor Version 0.50a", ";Width", "1", ";Height", "1", ";Number of places",
                                   "0", ";Row 0", ";X=0 to 9", HexLine(*map, 13, 7)}));

    const QString none = dir.filePath(QStringLiteral("none.amf"));
    QCOMPARE(SaveArea(none, *map, 5, 2, 5, 4), QString());
    QCOMPARE(Contents(none), Lines({";ASCII map file for Vantor Version 0.50a", ";Width", "0", ";Height", "2", ";Number of places",
                                    "0", ";Row 0", ";Row 1"}));

    // An area of 12 columns counts its columns from its own left edge.
    const QByteArray area = EncodeAsciiArea(*map, 8, 3, 20, 5);
    QVERIFY(area.contains(Lines({";Row 1", ";X=0 to 9", HexLine(*map, 8, 4)})));
    QVERIFY(area.contains(Lines({";X=10 to 19", HexLine(*map, 18, 4), HexLine(*map, 19, 4)})));

    // Pasted back where it came from, the area changes nothing.
    auto copy = std::make_unique<MapStore>(*map);
    for (int p = 0; p < 17; ++p)
        copy->at(p, 10, 4) ^= 0x5A;
    QCOMPARE(DecodeAsciiPaste(area, *copy, 8, 3).outcome, LoadResult::Complete);
    QVERIFY(copy->bytes == map->bytes);
}

void AsciiMapFileTest::saveAreaOffTheMapWritesNothing()
{
    QTemporaryDir dir;
    auto map = RandomMap(20, 10, 42);
    const QString path = dir.filePath(QStringLiteral("off.amf"));
    Write(path, "old");
    const struct { int x1, y1, xe, ye; } areas[] = {{15, 0, 21, 2}, {0, 8, 3, 11}, {-1, 0, 2, 2}, {5, 5, 3, 6}, {75, 0, 76, 1}};
    for (const auto &a : areas) {
        const QString error = SaveArea(path, *map, a.x1, a.y1, a.xe, a.ye);
        QVERIFY2(error.startsWith(path) && error.contains(QLatin1String("does not lie on the map")), qPrintable(error));
        QCOMPARE(Contents(path), QByteArray("old"));
    }
    // Up to the edges is fine.
    QCOMPARE(SaveArea(path, *map, 0, 0, 20, 10), QString());
    QCOMPARE(Contents(path), EncodeAsciiMap(*map, PlaceTable(), 0));
}

void AsciiMapFileTest::pasteClipsAtTheMapEdges()
{
    auto source = RandomMap(10, 10, 51);
    const QByteArray file = AsciiFile(10, 10, {}, *source);
    auto map = RandomMap(72, 70, 52);
    const auto before = std::make_unique<MapStore>(*map);
    QCOMPARE(DecodeAsciiPaste(file, *map, 65, 0).outcome, LoadResult::Complete);
    QCOMPARE(map->MapWidth, 72);
    for (int y = 0; y < StoreRows; ++y)
        for (int x = 0; x < StoreColumns; ++x)
            for (int p = 0; p < PlaneCount; ++p) {
                const bool pasted = x >= 65 && y < 10 && p < 17;
                QCOMPARE(map->at(p, x, y), pasted ? source->at(p, x - 65, y) : before->at(p, x, y));
            }

    // Bottom edge of a smaller map, and a target above and left of the map.
    map = RandomMap(12, 8, 53);
    auto kept = std::make_unique<MapStore>(*map);
    QCOMPARE(DecodeAsciiPaste(file, *map, 3, 5).outcome, LoadResult::Complete);
    QCOMPARE(ReadHex(*map, 11, 7).at(0), source->at(0, 8, 2));
    QCOMPARE(ReadHex(*map, 3, 8), ReadHex(*kept, 3, 8)); // row 8 is outside the map of 8 rows
    QCOMPARE(ReadHex(*map, 12, 5), ReadHex(*kept, 12, 5));
    map = RandomMap(12, 8, 54);
    kept = std::make_unique<MapStore>(*map);
    QCOMPARE(DecodeAsciiPaste(file, *map, -8, -9).outcome, LoadResult::Complete);
    QCOMPARE(map->at(4, 0, 0), source->at(4, 8, 9));
    QCOMPARE(map->at(4, 1, 0), source->at(4, 9, 9));
    QCOMPARE(ReadHex(*map, 2, 0), ReadHex(*kept, 2, 0));
    QCOMPARE(ReadHex(*map, 0, 1), ReadHex(*kept, 0, 1));
}

void AsciiMapFileTest::pasteSkipsPlacesAndStopsAtABadValue()
{
    auto source = RandomMap(3, 1, 61);
    QByteArray file = AsciiFile(3, 1, {"1 1 Somewhere", "2 2 Else"}, *source);
    auto map = RandomMap(5, 5, 62);
    QCOMPARE(DecodeAsciiPaste(file, *map, 2, 4).outcome, LoadResult::Complete);
    QCOMPARE(map->MapWidth, 5);
    QCOMPARE(map->at(0, 4, 4), source->at(0, 2, 0));

    // A bad value on a line that falls outside the map is never looked at.
    file = Lines({"3", "1", "0", HexLine(*source, 0, 0), "zz", "zz"});
    QCOMPARE(DecodeAsciiPaste(file, *map, 4, 0).outcome, LoadResult::Complete);
    QCOMPARE(map->at(7, 4, 0), source->at(7, 0, 0));
    // A bad value, a file that ends early or in its header: the hexes before it are not pasted either.
    const auto before = std::make_unique<MapStore>(*map);
    const LoadResult bad = DecodeAsciiPaste(file, *map, 0, 0);
    QCOMPARE(bad.outcome, LoadResult::BadValue);
    QCOMPARE(bad.message.text, QStringLiteral("'$zz' is not a valid integer value"));
    const LoadResult cut = DecodeAsciiPaste(Lines({"2", "2", "0", HexLine(*source, 1, 0)}), *map, 0, 3);
    QCOMPARE(cut.outcome, LoadResult::Refused);
    QCOMPARE(cut.message.caption, QStringLiteral("Area Not Pasted"));
    QCOMPARE(DecodeAsciiPaste(Lines({"2", "2"}), *map, 0, 0).outcome, LoadResult::Refused);
    QVERIFY(map->bytes == before->bytes);
}

void AsciiMapFileTest::fileErrorsNameTheFile()
{
    QTemporaryDir dir;
    auto map = RandomMap(5, 5, 71);
    const auto before = std::make_unique<MapStore>(*map);
    PlaceTable table;
    int count = 0;
    const QString missing = dir.filePath(QStringLiteral("missing.amf"));
    LoadResult result = ReadAsciiMapFile(missing, *map, table, count);
    QCOMPARE(result.outcome, LoadResult::Refused);
    QVERIFY(result.message.text.startsWith(missing));
    result = PasteArea(missing, *map, 0, 0);
    QCOMPARE(result.outcome, LoadResult::Refused);
    QVERIFY(result.message.text.startsWith(missing));
    QVERIFY(map->bytes == before->bytes);

    const QString wide = dir.filePath(QStringLiteral("wide.amf"));
    Write(wide, Lines({"80", "5", "0"}));
    result = ReadAsciiMapFile(wide, *map, table, count);
    QVERIFY(result.message.text.startsWith(wide));
    QVERIFY(result.message.text.contains(QLatin1String("80 x 5")));

    const QString nowhere = dir.filePath(QStringLiteral("no/such/dir/x.amf"));
    QVERIFY(WriteAsciiMapFile(nowhere, *map, table, 0).startsWith(nowhere));
    QVERIFY(SaveArea(nowhere, *map, 0, 0, 1, 1).startsWith(nowhere));
    QVERIFY(!QFile::exists(nowhere));
}

void AsciiMapFileTest::byteOrderMarkIsSkipped()
{
    QTemporaryDir dir;
    auto source = RandomMap(5, 4, 71);
    PlaceTable names(2);
    names.setCell(PlaceTable::NameColumn, 1, QStringLiteral("Buna"));
    const QString path = dir.filePath(QStringLiteral("bom.amf"));
    Write(path, "\xEF\xBB\xBF" + EncodeAsciiMap(*source, names, 1));
    auto map = RandomMap(72, 70, 72);
    PlaceTable table;
    int count = 0;
    QCOMPARE(ReadAsciiMapFile(path, *map, table, count).outcome, LoadResult::Complete);
    QCOMPARE(map->MapWidth, 5);
    QCOMPARE(map->MapHeight, 4);
    QCOMPARE(ReadHex(*map, 4, 3).at(16), source->at(16, 4, 3));
    QCOMPARE(table.cell(PlaceTable::NameColumn, 1), QStringLiteral("Buna"));
}

// A 300 MB file picked by mistake (sparse: it takes no disk) is refused by every reader without
// being held in memory.
void AsciiMapFileTest::hugeFilesAreRefusedInBoundedMemory()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("huge.bin"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.resize(300LL * 1024 * 1024));
    file.close();
    const auto peakMegabytes = [] {
        struct rusage usage {};
        getrusage(RUSAGE_SELF, &usage);
        return usage.ru_maxrss / 1024;
    };
    [[maybe_unused]] const long before = peakMegabytes();

    auto map = RandomMap(7, 6, 73);
    const auto mapBefore = std::make_unique<MapStore>(*map);
    PlaceTable places;
    int count = 3;
    QCOMPARE(ReadAsciiMapFile(path, *map, places, count).outcome, LoadResult::Refused);
    QCOMPARE(PasteArea(path, *map, 0, 0).outcome, LoadResult::Complete); // a 0 x 0 area
    QVERIFY(!ReadMapFile(path, *map).isEmpty());
    QByteArray scenario;
    QCOMPARE(ReadScenarioFile(path, scenario), QString());
    QCOMPARE(scenario.size(), LargestScenarioBlock);
    CityTable cities;
    QCOMPARE(ReadCityFile(path, *map, cities).outcome, LoadResult::Refused);
    DefaultTerrainTable terrain = InitialDefaultTerrain();
    QCOMPARE(ReadDefaultTerrainFile(path, terrain).outcome, LoadResult::Refused);

    QVERIFY(map->bytes == mapBefore->bytes);
    QCOMPARE(count, 3);
    QCOMPARE(cities, CityTable());
    QCOMPARE(terrain, InitialDefaultTerrain());
#ifndef __SANITIZE_ADDRESS__
    // (AddressSanitizer keeps up to 256 MB of freed memory aside, so there the peak tells nothing.)
    QVERIFY2(peakMegabytes() - before < 40, qPrintable(QString::number(peakMegabytes() - before)));
#endif
}

QTEST_GUILESS_MAIN(AsciiMapFileTest)
#include "tst_ascii_map_file.moc"
