// The city file: names read in 62-character pieces, the city table filled from the map, and the
// names written back up to the first empty one.

#include "test_support.h"

#include "files/city_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace vantor;

namespace {

// A map without names but for the hexes given: PlaceIndex n and attributes 10n+3, 10n+4, 10n+6.
std::unique_ptr<MapStore> CityMap(int width, int height, const QList<std::array<int, 3>> &cities)
{
    auto map = testing::BlankMap(width, height);
    for (int y = 0; y < StoreRows; ++y)
        for (int x = 0; x < StoreColumns; ++x) {
            map->at(PlaceIndex, x, y) = 255;
            map->at(PlaceIndexHigh, x, y) = 127;
            map->at(CityAttr16, x, y) = 255;
        }
    for (const auto &[x, y, n] : cities) {
        map->at(PlaceIndex, x, y) = std::uint8_t(n);
        map->at(PlaceIndexHigh, x, y) = 0;
        map->at(CityAttr03, x, y) = std::uint8_t(10 * n + 3);
        map->at(CityAttr04, x, y) = std::uint8_t(10 * n + 4);
        map->at(CityAttr16, x, y) = std::uint8_t(10 * n + 6);
    }
    return map;
}

QStringList Row(const CityTable &table, int row)
{
    QStringList cells;
    for (int c = 0; c < CityTable::Columns; ++c)
        cells << table.cell(c, row);
    return cells;
}

QStringList Names(const CityTable &table)
{
    QStringList names;
    for (int r = 1; r < table.rowCount(); ++r)
        names << table.cell(CityTable::NameColumn, r);
    return names;
}

} // namespace

class CityFileTest : public QObject {
    Q_OBJECT
private slots:
    void threeCitiesRoundTrip();
    void citiesTakeTheirCellsFromTheMap();
    void readingQuirks_data();
    void readingQuirks();
    void savingStopsAtTheFirstEmptyName();
    void fileErrorsNameTheFile();
};

void CityFileTest::threeCitiesRoundTrip()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cities.tst"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("Alpha\r\nBravo\r\nCharlie\r\n");
    file.close();

    auto map = CityMap(10, 10, {});
    CityTable table;
    table.writeHeadings();
    QCOMPARE(ReadCityFile(path, *map, table).outcome, LoadResult::Complete);
    QCOMPARE(table.rowCount(), 5);
    QCOMPARE(Row(table, 0), (QStringList{"Num", "Place Name", " X", " Y", " 00", " 03", " 04", " 16"}));
    QCOMPARE(Row(table, 1), (QStringList{"0", "Alpha", "", "", "", "", "", ""}));
    QCOMPARE(Row(table, 3), (QStringList{"2", "Charlie", "", "", "", "", "", ""}));
    QCOMPARE(Row(table, 4), QStringList(8, QString()));

    const QString saved = dir.filePath(QStringLiteral("again.tst"));
    QCOMPARE(WriteCityFile(saved, table), QString());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray original = file.readAll();
    file.close();
    QFile again(saved);
    QVERIFY(again.open(QIODevice::ReadOnly));
    QCOMPARE(again.readAll(), original);
}

void CityFileTest::citiesTakeTheirCellsFromTheMap()
{
    // City 2 on two hexes (the later one, row by row, wins), city 0 once, city 1 on none: its
    // cells keep what they held.
    auto map = CityMap(8, 6, {{5, 1, 2}, {2, 4, 2}, {7, 5, 0}});
    map->at(PlaceIndex, 3, 2) = 200; // a name beyond the cities of the file
    CityTable table(12);
    table.setCell(CityTable::XColumn, 2, QStringLiteral("kept"));
    table.setCell(CityTable::NameColumn, 9, QStringLiteral("dropped"));
    QCOMPARE(DecodeCities("Lae\nMadang\nWewak\n", *map, table).outcome, LoadResult::Complete);
    QCOMPARE(Row(table, 1), (QStringList{"0", "Lae", "7", "5", "0", "3", "4", "6"}));
    QCOMPARE(Row(table, 2), (QStringList{"1", "Madang", "kept", "", "", "", "", ""}));
    QCOMPARE(Row(table, 3), (QStringList{"2", "Wewak", "2", "4", "2", "23", "24", "26"}));
    // The heading row, three cities and one empty row.
    QCOMPARE(table.rowCount(), 5);
    QCOMPARE(Row(table, 4), QStringList(8, QString()));

    // A hex outside the map's width counts for nothing.
    map->MapWidth = 7;
    CityTable narrow;
    DecodeCities("Lae\n", *map, narrow);
    QCOMPARE(Row(narrow, 1), (QStringList{"0", "Lae", "", "", "", "", "", ""}));
}

void CityFileTest::readingQuirks_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QStringList>("names");
    const QByteArray of62(62, 'a');
    QTest::newRow("LF line ends") << QByteArray("One\nTwo\n") << QStringList{"One", "Two"};
    QTest::newRow("empty line") << QByteArray("One\r\n\r\nThree\r\n") << QStringList{"One", "", "Three"};
    QTest::newRow("no last line end") << QByteArray("One\r\nTwo") << QStringList{"One", "Tw"};
    QTest::newRow("62 characters") << of62 + "\r\n" << QStringList{QString::fromLatin1(of62)};
    QTest::newRow("63 characters") << of62 + "b\r\nNext\r\n" << QStringList{QString(61, u'a'), "b", "Next"};
    QTest::newRow("130 characters") << of62 + QByteArray(62, 'b') + "cccccc\n"
                                    << QStringList{QString(61, u'a'), QString(61, u'b'), "cccccc"};
    QTest::newRow("124 characters") << of62 + QByteArray(62, 'b') + "\n" << QStringList{QString(61, u'a'), QString(62, u'b')};
    QTest::newRow("Latin-1") << QByteArray("Bogia\xe9\n") << QStringList{QString::fromLatin1("Bogia\xe9")};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("byte-order mark skipped") << QByteArray("\xEF\xBB\xBFLae\r\nWewak\n") << QStringList{"Lae", "Wewak"};
}

void CityFileTest::readingQuirks()
{
    QFETCH(QByteArray, data);
    QFETCH(QStringList, names);
    auto map = CityMap(5, 5, {});
    CityTable table;
    QCOMPARE(DecodeCities(data, *map, table).outcome, LoadResult::Complete);
    QCOMPARE(table.rowCount(), names.isEmpty() ? 1 : int(names.size()) + 2);
    if (!names.isEmpty())
        QCOMPARE(Names(table), names + QStringList{QString()});
}

void CityFileTest::savingStopsAtTheFirstEmptyName()
{
    auto map = CityMap(20, 20, {{3, 4, 255}, {6, 7, 2}});
    map->at(PlaceIndex, 19, 19) = 255; // the last hex without a name
    CityTable table;
    QByteArray data;
    for (int n = 0; n < 260; ++n)
        data += n == 1 ? QByteArray("\r\n") : "City " + QByteArray::number(n) + "\r\n";
    QCOMPARE(DecodeCities(data, *map, table).outcome, LoadResult::Complete);
    QCOMPARE(table.rowCount(), 262);
    QCOMPARE(Row(table, 3), (QStringList{"2", "City 2", "6", "7", "2", "23", "24", "26"}));
    // City 255 is every hex without a name; the last one is (19, 19). Cities above 255 match no hex.
    QCOMPARE(Row(table, 256).mid(0, 5), (QStringList{"255", "City 255", "19", "19", "255"}));
    QCOMPARE(Row(table, 258), (QStringList{"257", "City 257", "", "", "", "", "", ""}));
    QCOMPARE(EncodeCities(table), QByteArray("City 0\r\n"));

    table.setCell(CityTable::NameColumn, 2, QStringLiteral("Filled"));
    QVERIFY(EncodeCities(table).startsWith("City 0\r\nFilled\r\nCity 2\r\n"));
    QVERIFY(EncodeCities(table).endsWith("City 259\r\n"));
    QCOMPARE(EncodeCities(CityTable()), QByteArray());
}

void CityFileTest::fileErrorsNameTheFile()
{
    QTemporaryDir dir;
    auto map = CityMap(5, 5, {});
    CityTable table;
    table.setCell(CityTable::NameColumn, 1, QStringLiteral("Kept"));
    const CityTable before = table;
    const QString missing = dir.filePath(QStringLiteral("missing.tst"));
    const LoadResult result = ReadCityFile(missing, *map, table);
    QCOMPARE(result.outcome, LoadResult::Refused);
    QVERIFY(result.message.text.startsWith(missing));
    QCOMPARE(table, before);

    // More names than a map's name list holds: refused, reading stops there, the table stays.
    const QString many = dir.filePath(QStringLiteral("many.tst"));
    QFile file(many);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("City\n").repeated(32768));
    file.close();
    const LoadResult tooMany = ReadCityFile(many, *map, table);
    QCOMPARE(tooMany.outcome, LoadResult::Refused);
    QCOMPARE(tooMany.message.text, many + QStringLiteral(": The file holds more than 32767 names, more than a map's name list can hold."));
    QCOMPARE(table, before);

    const QString nowhere = dir.filePath(QStringLiteral("none/c.tst"));
    QVERIFY(WriteCityFile(nowhere, table).startsWith(nowhere));
    QVERIFY(!QFile::exists(nowhere));
}

QTEST_GUILESS_MAIN(CityFileTest)
#include "tst_city_file.moc"
