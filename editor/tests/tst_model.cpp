// The map store's addressing, the terrain tables, the editor's start-up state and number parsing.

#include "document/editor_settings.h"
#include "document/map_content.h"
#include "files/ascii_map_file.h"
#include "model/integer_text.h"
#include "model/map_store.h"
#include "model/terrain_tables.h"
#include "tools/paint_tool.h"

#include <QTest>

using namespace vantor;

class ModelTest : public QObject {
    Q_OBJECT
private slots:
    void storeIsPlaneMajorThenColumnThenRow();
    void hexRecordsCarryEveryPlane();
    void hexNumbersUseTheWidthInUse();
    void defaultTerrainOfKnownTiles();
    void defaultTerrainOfUnusableCodes();
    void defaultTerrainRowsHaveTheirLengths();
    void terrainNames();
    void startUpState();
    void integersAreParsedStrictly_data();
    void integersAreParsedStrictly();
};

void ModelTest::storeIsPlaneMajorThenColumnThenRow()
{
    auto map = std::make_unique<MapStore>();
    map->at(TileSet, 3, 5) = 7;
    QCOMPARE(map->bytes[14 * 5040 + 3 * 70 + 5], std::uint8_t(7));
    map->at(36, 71, 69) = 9;
    QCOMPARE(map->bytes.back(), std::uint8_t(9));
    QCOMPARE(int(map->bytes.size()), 37 * 72 * 70);
    QCOMPARE(map->MapWidth, 72);
    QCOMPARE(map->MapHeight, 70);
}

void ModelTest::hexRecordsCarryEveryPlane()
{
    auto map = std::make_unique<MapStore>();
    HexRecord record;
    for (int p = 0; p < PlaneCount; ++p)
        record[p] = std::uint8_t(200 + p % 50);
    WriteHex(*map, 4, 6, record);
    QCOMPARE(ReadHex(*map, 4, 6), record);
    QCOMPARE(map->at(CityAttr16, 4, 6), std::uint8_t(216));
    QCOMPARE(ReadHex(*map, 4, 5), HexRecord{}); // the neighbours are untouched
}

void ModelTest::hexNumbersUseTheWidthInUse()
{
    QCOMPARE(SplitHexNumber(23, 10), (HexCoord{3, 2}));
    QCOMPARE(SplitHexNumber(10, 10), (HexCoord{0, 1}));
    auto map = std::make_unique<MapStore>();
    map->MapWidth = 10;
    map->MapHeight = 4;
    QVERIFY(IsOnMap(*map, 9, 3));
    QVERIFY(!IsOnMap(*map, 10, 0));
    QVERIFY(!IsOnMap(*map, 0, 4));
    QVERIFY(!IsOnMap(*map, -1, 0));
    QVERIFY(IsValidMapSize(1, 1) && IsValidMapSize(72, 70));
    QVERIFY(!IsValidMapSize(0, 5) && !IsValidMapSize(73, 5) && !IsValidMapSize(5, 71));
}

void ModelTest::defaultTerrainOfKnownTiles()
{
    const DefaultTerrainTable table = InitialDefaultTerrain();
    QCOMPARE(DefaultTerrainOf(table, 0, 0), 30);  // 'N' Coast
    QCOMPARE(DefaultTerrainOf(table, 1, 0), 4);   // '4' Clear
    QCOMPARE(DefaultTerrainOf(table, 2, 13), 12); // '<' the second Paved Road
    QCOMPARE(DefaultTerrainOf(table, 3, 79), 24); // the only 80th character, 'H'
    QCOMPARE(DefaultTerrainOf(table, 11, 9), 16); // '@' Desert
    QCOMPARE(DefaultTerrainOf(table, 15, 0), 1);
}

void ModelTest::defaultTerrainOfUnusableCodes()
{
    DefaultTerrainTable table = InitialDefaultTerrain();
    QCOMPARE(DefaultTerrainOf(table, 7, 40), UnknownTerrain); // '.'
    for (int set = 0; set < TileSetCount; ++set)
        for (int tile = 80; tile < TilesPerSet; ++tile)
            QCOMPARE(DefaultTerrainOf(table, set, tile), UnknownTerrain); // NUL
    table[4][2] = char(0xC8); // a byte of 128 or more reads as negative
    QCOMPARE(DefaultTerrainOf(table, 4, 2), UnknownTerrain);
    table[4][2] = 'U'; // just past 'T'
    QCOMPARE(DefaultTerrainOf(table, 4, 2), UnknownTerrain);
    table[4][2] = '/'; // just before '0'
    QCOMPARE(DefaultTerrainOf(table, 4, 2), UnknownTerrain);
    table[4][2] = 'T';
    QCOMPARE(DefaultTerrainOf(table, 4, 2), 36);
    // Outside the table.
    QCOMPARE(DefaultTerrainOf(table, 16, 0), UnknownTerrain);
    QCOMPARE(DefaultTerrainOf(table, -1, 0), UnknownTerrain);
    QCOMPARE(DefaultTerrainOf(table, 0, 88), UnknownTerrain);
    QCOMPARE(DefaultTerrainOf(table, 0, -1), UnknownTerrain);
}

void ModelTest::defaultTerrainRowsHaveTheirLengths()
{
    const DefaultTerrainTable table = InitialDefaultTerrain();
    for (int set = 0; set < TileSetCount; ++set) {
        const int length = int(std::find(table[set].begin(), table[set].end(), '\0') - table[set].begin());
        QCOMPARE(length, set == 3 ? 80 : 79);
        QVERIFY(std::all_of(table[set].begin() + length, table[set].end(), [](char c) { return c == '\0'; }));
    }
    QCOMPARE(TerrainCode(31), 'O');
}

void ModelTest::terrainNames()
{
    QCOMPARE(int(TerrainNames.size()), 37);
    QCOMPARE(QString::fromLatin1(TerrainNames[0]), QStringLiteral("Inland City"));
    QCOMPARE(QString::fromLatin1(TerrainNames[3]), QStringLiteral("Paved Road"));
    QCOMPARE(QString::fromLatin1(TerrainNames[12]), QStringLiteral("Paved Road"));
    QCOMPARE(QString::fromLatin1(TerrainNames[14]), QStringLiteral("Rice Paddy-In Season"));
    QCOMPARE(QString::fromLatin1(TerrainNames[31]), QStringLiteral("Deep Ocean"));
    QCOMPARE(QString::fromLatin1(TerrainNames[36]), QStringLiteral("Oilfield"));
    for (const char *name : TerrainNames)
        QVERIFY(std::strlen(name) < 32);
    QCOMPARE(QString::fromLatin1(TerrainName(37)), QString());
}

void ModelTest::startUpState()
{
    const EditorSettings settings;
    QCOMPARE(settings.backgroundColour, ColourValue(0x38b8a0));
    QCOMPARE(settings.sprayRadius, 3);
    QCOMPARE(settings.sprayDensity, 33);
    QVERIFY(settings.defaultTerrain == InitialDefaultTerrain());
    const TilePick pick;
    QCOMPARE(pick.set, 0);
    QVERIFY(!pick.isPicked());
    const MapTables tables;
    QCOMPARE(tables.placeCount, 0);
    QVERIFY(!tables.homemade && !tables.citiesLoaded);
    QCOMPARE(tables.places.rowCount(), 2);
    QCOMPARE(QString::fromLatin1(VersionText), QStringLiteral("0.50a"));
    QCOMPARE(ToQColor(DefaultBackgroundColour), QColor(0xa0, 0xb8, 0x38));
    QCOMPARE(FromQColor(QColor(0xa0, 0xb8, 0x38)), DefaultBackgroundColour);
}

void ModelTest::integersAreParsedStrictly_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("value");
    QTest::newRow("decimal") << "3717280" << true << 3717280;
    QTest::newRow("signs") << "-42" << true << -42;
    QTest::newRow("plus") << "+7" << true << 7;
    QTest::newRow("leading blanks") << "  12" << true << 12;
    QTest::newRow("0x") << "0x38b8a0" << true << 0x38b8a0;
    QTest::newRow("0X") << "0X38B8A0" << true << 0x38b8a0;
    QTest::newRow("x") << "x10" << true << 16;
    QTest::newRow("X") << "XfF" << true << 255;
    QTest::newRow("dollar") << "$FF" << true << 255;
    QTest::newRow("negative hex") << "-$10" << true << -16;
    QTest::newRow("hex wraps to 32 bits") << "$FFFFFFFF" << true << -1;
    QTest::newRow("largest") << "2147483647" << true << 2147483647;
    QTest::newRow("smallest") << "-2147483648" << true << int(0x80000000u);
    QTest::newRow("too large") << "2147483648" << false << 0;
    QTest::newRow("hex too large") << "$100000000" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("sign only") << "-" << false << 0;
    QTest::newRow("prefix only") << "0x" << false << 0;
    QTest::newRow("trailing blank") << "12 " << false << 0;
    QTest::newRow("letters") << "abc" << false << 0;
    QTest::newRow("hex digit in decimal") << "12a" << false << 0;
    QTest::newRow("fraction") << "1.5" << false << 0;
    QTest::newRow("arabic digits") << QString::fromUtf8("\u0661\u0662") << false << 0;
}

void ModelTest::integersAreParsedStrictly()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, value);
    const std::optional<int> parsed = ParseInteger(text);
    QCOMPARE(parsed.has_value(), valid);
    if (valid)
        QCOMPARE(*parsed, value);
}

QTEST_GUILESS_MAIN(ModelTest)
#include "tst_model.moc"
