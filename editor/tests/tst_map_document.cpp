// The map document without windows: every kind of step undone and redone back to the same bytes,
// the tables as part of a step, series that merge, the clean state behind the modified mark,
// starting afresh, a refused open, the file forgotten, the changes reported, and the history's limit.

#include "test_support.h"

#include "document/map_document.h"
#include "files/ascii_map_file.h"
#include "files/native_map_file.h"
#include "model/terrain_tables.h"
#include "render/map_patch.h"
#include "render/road_overlay.h"
#include "render/tile_set_library.h"
#include "tools/painting.h"
#include "tools/pattern_passes.h"
#include "tools/place_names.h"
#include "tools/road_links.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace vantor;

Q_DECLARE_METATYPE(std::function<void(vantor::MapStore &)>)

namespace {

using MapChange = std::function<void(MapStore &)>;

bool SameBytes(const MapStore &a, const MapStore &b)
{
    return a.MapWidth == b.MapWidth && a.MapHeight == b.MapHeight && a.bytes == b.bytes;
}

// A coast of land in open water, so that the passes have something to do.
std::unique_ptr<MapContent> Island()
{
    auto content = std::make_unique<MapContent>();
    content->map = *testing::BlankMap(20, 16);
    MapStore &map = content->map;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool land = x > 5 && x < 14 && y > 4 && y < 11;
            map.at(TileSet, x, y) = land ? 1 : 0;
            map.at(TileIndex, x, y) = 0;
            map.at(PlaceIndex, x, y) = 255;
            map.at(PlaceIndexHigh, x, y) = 127;
        }
    return content;
}

// A document that starts from the island.
struct IslandDocument {
    IslandDocument() { document.start(*Island()); }
    MapDocument document;
    void paint(int x, int y, int tile, const QString &name = QStringLiteral("Paint"))
    {
        document.edit(name, [&](MapContent &c) { c.map.at(TileIndex, x, y) = std::uint8_t(tile); });
    }
};

// Types a place's name into the table and presses Done, each as its own edit of one series.
void TypeAndDone(MapDocument &document, int series, const QString &name, HexCoord hex)
{
    const QString step = QStringLiteral("Place Names");
    document.edit(step, [&](MapContent &c) { c.tables.places.setCell(PlaceTable::NameColumn, 1, name); }, series);
    document.edit(step, [&](MapContent &c) { c.tables.places.setCell(PlaceTable::XColumn, 1, QString::number(hex.x)); }, series);
    document.edit(step, [&](MapContent &c) { c.tables.places.setCell(PlaceTable::YColumn, 1, QString::number(hex.y)); }, series);
    document.edit(step, [](MapContent &c) { QCOMPARE(ApplyPlaceCoordinates(c.map, c.tables.places), QString()); }, series);
}

} // namespace

class MapDocumentTest : public QObject {
    Q_OBJECT
private slots:
    void eachKindOfStepUndoesAndRedoesToTheSameBytes_data();
    void eachKindOfStepUndoesAndRedoesToTheSameBytes();
    void tablesComeBackWithTheirStep();
    void aSeriesOfTypedCellsAndDoneIsOneStep();
    void aChangeThatChangesNothingIsNoStep();
    void nestedEditsAreOneStep();
    void modifiedFollowsTheCleanStep();
    void startAndForgetFileLeaveNoFile();
    void aRefusedOpenChangesNothing();
    void everyStepUndoAndRedoReportsWhatChanged();
    void theHistoryKeepsTheLastTwoHundredSteps();
    void aPatchedHexLooksAsAFullRedrawDrawsIt();

private:
    QTemporaryDir work;
};

void MapDocumentTest::eachKindOfStepUndoesAndRedoesToTheSameBytes_data()
{
    QTest::addColumn<MapChange>("change");
    const DefaultTerrainTable terrain = InitialDefaultTerrain();
    QTest::newRow("paint") << MapChange([terrain](MapStore &map) { PaintHex(map, {3, 2}, 4, 9, terrain); });
    QTest::newRow("shift copy") << MapChange([](MapStore &map) { CopyHex(map, {7, 6}, {1, 1}); });
    QTest::newRow("coastline") << MapChange([terrain](MapStore &map) { MakeCoastline(map, terrain); });
    QTest::newRow("road links") << MapChange([](MapStore &map) {
        for (int x = 6; x < 14; ++x)
            map.at(Terrain, x, 7) = 6; // a road across the island
        MakeRoadConnections(map);
    });
    QTest::newRow("road toggle") << MapChange([](MapStore &map) { ToggleRoadLink(map, {8, 7}, {9, 7}); });
    QTest::newRow("paste") << MapChange([](MapStore &map) {
        const auto area = testing::RandomMap(4, 3, 7);
        const QByteArray text = EncodeAsciiArea(*area, 0, 0, 4, 3);
        QCOMPARE(DecodeAsciiPaste(text, map, 2, 2).outcome, LoadResult::Complete);
    });
    QTest::newRow("new map of another size") << MapChange([](MapStore &map) { map = *testing::BlankMap(72, 70); });
    QTest::newRow("every byte") << MapChange([](MapStore &map) { map = *testing::RandomMap(31, 9, 99); });
}

void MapDocumentTest::eachKindOfStepUndoesAndRedoesToTheSameBytes()
{
    QFETCH(MapChange, change);
    IslandDocument island;
    MapDocument &document = island.document;
    const MapStore original = document.map();

    document.edit(QStringLiteral("Step"), [&](MapContent &c) { change(c.map); });
    const MapStore changed = document.map();
    QVERIFY(!SameBytes(original, changed));
    QCOMPARE(document.history().count(), 1);

    document.history().undo();
    QVERIFY(SameBytes(document.map(), original));
    document.history().redo();
    QVERIFY(SameBytes(document.map(), changed));
    document.history().undo();
    QVERIFY(SameBytes(document.map(), original));
}

void MapDocumentTest::tablesComeBackWithTheirStep()
{
    auto start = Island();
    start->map.at(PlaceIndex, 8, 7) = 1;
    start->map.at(PlaceIndexHigh, 8, 7) = 0;
    start->tables.places.setCell(PlaceTable::NameColumn, 2, QStringLiteral("Port Ambo"));
    start->tables.places.setCell(PlaceTable::XColumn, 2, QStringLiteral("8"));
    start->tables.places.setCell(PlaceTable::YColumn, 2, QStringLiteral("7"));
    MapDocument document;
    document.start(*start);
    const MapTables before = document.tables();

    document.edit(QStringLiteral("Delete Place"),
                  [](MapContent &c) { QCOMPARE(DeletePlaceReferences(c.map, c.tables.places, 2), QString()); });
    const MapTables after = document.tables();
    QVERIFY(!(after == before));
    QCOMPARE(int(document.map().at(PlaceIndex, 8, 7)), 255);

    QSignalSpy tablesChanged(&document, &MapDocument::tablesChanged);
    document.history().undo();
    QCOMPARE(tablesChanged.count(), 1);
    QVERIFY(document.tables() == before);
    QCOMPARE(int(document.map().at(PlaceIndex, 8, 7)), 1);
    document.history().redo();
    QCOMPARE(tablesChanged.count(), 2);
    QVERIFY(document.tables() == after);
}

void MapDocumentTest::aSeriesOfTypedCellsAndDoneIsOneStep()
{
    IslandDocument island;
    MapDocument &document = island.document;
    const MapContent first = document.content();

    const int series = document.newSeries();
    TypeAndDone(document, series, QStringLiteral("Mount Seru"), {9, 6});
    QCOMPARE(document.history().count(), 1);
    QCOMPARE(document.history().undoText(), QStringLiteral("Place Names"));
    QVERIFY(document.isModified());
    QCOMPARE(PlaceReferenceOf(document.map(), {9, 6}), 0);
    const MapContent typed = document.content();

    // The merged step undoes to the state before its first edit, cells and hexes together.
    document.history().undo();
    QVERIFY(document.tables() == first.tables);
    QVERIFY(SameBytes(document.map(), first.map));
    QVERIFY(!document.isModified());
    document.history().redo();
    QVERIFY(document.tables() == typed.tables);
    QVERIFY(SameBytes(document.map(), typed.map));

    // Another series, another name or no series at all: steps of their own.
    TypeAndDone(document, document.newSeries(), QStringLiteral("Port Ambo"), {3, 3});
    QCOMPARE(document.history().count(), 2);
    const int cities = document.newSeries();
    document.edit(QStringLiteral("City Names"), [](MapContent &c) { c.tables.cities.setCell(1, 1, QStringLiteral("Ambo")); }, cities);
    QCOMPARE(document.history().count(), 3);
    island.paint(4, 4, 9, QStringLiteral("City Names"));
    island.paint(4, 5, 9, QStringLiteral("City Names"));
    QCOMPARE(document.history().count(), 5);
    document.edit(QStringLiteral("Place Names"), [](MapContent &c) { c.tables.places.setCell(2, 1, QStringLiteral("Kai")); }, cities);
    QCOMPARE(document.history().count(), 6);
}

void MapDocumentTest::aChangeThatChangesNothingIsNoStep()
{
    IslandDocument island;
    MapDocument &document = island.document;
    document.edit(QStringLiteral("Nothing"), [](MapContent &c) { c.map.at(TileIndex, 0, 0) = c.map.at(TileIndex, 0, 0); });
    document.edit(QStringLiteral("Back and forth"), [](MapContent &c) {
        ++c.map.at(Terrain, 1, 1);
        --c.map.at(Terrain, 1, 1);
        c.tables.placeCount = 3;
        c.tables.placeCount = 0;
    });
    QCOMPARE(document.history().count(), 0);
    QVERIFY(!document.isModified());
}

void MapDocumentTest::nestedEditsAreOneStep()
{
    IslandDocument island;
    MapDocument &document = island.document;
    const MapStore original = document.map();
    document.edit(QStringLiteral("Spray"), [&](MapContent &) {
        for (int x = 0; x < 5; ++x)
            island.paint(x, 0, 3);
        QVERIFY(document.isEditing());
    });
    QVERIFY(!document.isEditing());
    QCOMPARE(document.history().count(), 1);
    QCOMPARE(document.history().undoText(), QStringLiteral("Spray"));
    document.history().undo();
    QVERIFY(SameBytes(document.map(), original));
}

void MapDocumentTest::modifiedFollowsTheCleanStep()
{
    IslandDocument island;
    MapDocument &document = island.document;
    QSignalSpy modified(&document, &MapDocument::modifiedChanged);

    island.paint(2, 2, 1);
    QVERIFY(document.isModified());
    const QString saved = work.filePath(QStringLiteral("a.map"));
    QCOMPARE(document.save(saved).outcome, LoadResult::Complete);
    QVERIFY(!document.isModified());
    QCOMPARE(document.filePath(), saved);
    QCOMPARE(document.fileFormat(), MapFileFormat::NativeMap);
    island.paint(2, 2, 2);
    QVERIFY(document.isModified());
    document.history().undo(); // back to the saved step
    QVERIFY(!document.isModified());
    document.history().undo(); // past it
    QVERIFY(document.isModified());
    QCOMPARE(modified.count(), 5);

    const QString ascii = work.filePath(QStringLiteral("b.amf"));
    testing::Write(ascii, EncodeAsciiMap(*testing::BlankMap(7, 5), PlaceTable(), 0));
    QSignalSpy reset(&document, &MapDocument::mapReset);
    QCOMPARE(document.open(ascii).outcome, LoadResult::Complete);
    QCOMPARE(reset.count(), 1);
    QVERIFY(!document.isModified());
    QVERIFY(!document.history().canUndo());
    QCOMPARE(document.fileFormat(), MapFileFormat::AsciiMap);
    QCOMPARE(document.map().MapWidth, 7);
}

void MapDocumentTest::startAndForgetFileLeaveNoFile()
{
    IslandDocument island;
    MapDocument &document = island.document;
    const QString file = work.filePath(QStringLiteral("start.map"));
    QCOMPARE(document.save(file).outcome, LoadResult::Complete);
    island.paint(5, 5, 6);
    QSignalSpy paths(&document, &MapDocument::filePathChanged);

    // Forgetting the file keeps the map and its history.
    document.forgetFile();
    QCOMPARE(paths.count(), 1);
    QCOMPARE(paths.at(0).at(0).toString(), QString());
    QCOMPARE(document.fileFormat(), MapFileFormat::None);
    QCOMPARE(int(document.map().at(TileIndex, 5, 5)), 6);
    QCOMPARE(document.history().count(), 1);
    QVERIFY(document.isModified());

    // Starting afresh replaces both, from a clean state.
    QCOMPARE(document.save(file).outcome, LoadResult::Complete);
    island.paint(1, 1, 4);
    auto fresh = std::make_unique<MapContent>();
    fresh->map = *testing::RandomMap(8, 6, 3);
    fresh->tables.placeCount = 4;
    fresh->tables.homemade = true;
    QSignalSpy reset(&document, &MapDocument::mapReset);
    QSignalSpy tables(&document, &MapDocument::tablesChanged);
    document.start(*fresh);
    QVERIFY(SameBytes(document.map(), fresh->map));
    QVERIFY(document.tables() == fresh->tables);
    QCOMPARE(reset.count(), 1);
    QCOMPARE(tables.count(), 1);
    QCOMPARE(paths.count(), 3);
    QCOMPARE(document.filePath(), QString());
    QCOMPARE(document.fileFormat(), MapFileFormat::None);
    QCOMPARE(document.history().count(), 0);
    QVERIFY(!document.isModified());
}

// A load that does not happen changes nothing: not the map, the tables, the place count, the file
// or the history.
void MapDocumentTest::aRefusedOpenChangesNothing()
{
    auto start = Island();
    start->tables.placeCount = 7;
    start->tables.homemade = true;
    start->tables.places.setCell(PlaceTable::NameColumn, 1, QStringLiteral("Mount Seru"));
    MapDocument document;
    document.start(*start);
    const QString file = work.filePath(QStringLiteral("kept.map"));
    QCOMPARE(document.save(file).outcome, LoadResult::Complete);
    document.edit(QStringLiteral("Paint"), [](MapContent &c) { c.map.at(TileIndex, 3, 3) = 8; });
    const MapContent before = document.content();

    // A valid header and first hex, then a value that is not hexadecimal.
    QByteArray text = EncodeAsciiMap(*testing::BlankMap(20, 20), PlaceTable(), 0);
    const int firstHex = text.indexOf("00 00 00");
    QVERIFY(firstHex > 0);
    text.replace(firstHex + 3, 2, "zz");
    const QString bad = work.filePath(QStringLiteral("bad.amf"));
    testing::Write(bad, text);
    const QString shortMap = work.filePath(QStringLiteral("short.map"));
    testing::Write(shortMap, QByteArray(10, '\1'));

    QSignalSpy reset(&document, &MapDocument::mapReset);
    QSignalSpy tables(&document, &MapDocument::tablesChanged);
    for (const QString &path : {bad, shortMap, work.filePath(QStringLiteral("missing.map"))}) {
        QVERIFY2(document.open(path).outcome != LoadResult::Complete, qPrintable(path));
        QVERIFY(SameBytes(document.map(), before.map));
        QVERIFY(document.tables() == before.tables);
        QCOMPARE(document.filePath(), file);
        QCOMPARE(document.fileFormat(), MapFileFormat::NativeMap);
        QCOMPARE(document.history().count(), 1);
        QVERIFY(document.isModified());
    }
    QCOMPARE(reset.count() + tables.count(), 0);
}

// The picture follows the document: every step reports what it changed when it is made, undone
// and redone alike.
void MapDocumentTest::everyStepUndoAndRedoReportsWhatChanged()
{
    IslandDocument island;
    MapDocument &document = island.document;
    QSignalSpy hexes(&document, &MapDocument::hexesChanged);
    QSignalSpy reset(&document, &MapDocument::mapReset);
    QSignalSpy tables(&document, &MapDocument::tablesChanged);
    const auto lastHexes = [&] { return hexes.last().at(0).value<std::vector<HexCoord>>(); };

    island.paint(4, 3, 2);
    QCOMPARE(hexes.count(), 1);
    QCOMPARE(lastHexes(), (std::vector<HexCoord>{{4, 3}}));
    document.edit(QStringLiteral("Two"), [](MapContent &c) {
        c.map.at(Terrain, 9, 1) = 3;
        c.map.at(Terrain, 2, 8) = 3;
    });
    QCOMPARE(lastHexes(), (std::vector<HexCoord>{{2, 8}, {9, 1}})); // store order: column by column
    document.edit(QStringLiteral("Count"), [](MapContent &c) { c.tables.placeCount = 2; });
    QCOMPARE(tables.count(), 1);
    document.edit(QStringLiteral("New Map"), [](MapContent &c) { c.map.MapWidth = 5; });
    QCOMPARE(hexes.count(), 2);
    QCOMPARE(reset.count(), 1);

    document.history().undo();
    QCOMPARE(reset.count(), 2);
    document.history().undo();
    QCOMPARE(tables.count(), 2);
    QCOMPARE(hexes.count(), 2);
    document.history().undo();
    document.history().undo();
    QCOMPARE(hexes.count(), 4);
    QCOMPARE(lastHexes(), (std::vector<HexCoord>{{4, 3}}));
    document.history().redo();
    QCOMPARE(hexes.count(), 5);
    QCOMPARE(lastHexes(), (std::vector<HexCoord>{{4, 3}}));
    QCOMPARE(reset.count(), 2);
    QCOMPARE(tables.count(), 2);
}

void MapDocumentTest::theHistoryKeepsTheLastTwoHundredSteps()
{
    IslandDocument island;
    MapDocument &document = island.document;
    for (int i = 0; i < MapDocument::HistoryLimit + 50; ++i)
        island.paint(i % 20, i / 20, 7);
    QCOMPARE(document.history().count(), MapDocument::HistoryLimit);
    for (int i = 0; i < MapDocument::HistoryLimit; ++i)
        document.history().undo();
    QVERIFY(!document.history().canUndo());
    // The 50 oldest steps are gone for good; the 200 newest were taken back.
    QCOMPARE(int(document.map().at(TileIndex, 49 % 20, 49 / 20)), 7);
    QCOMPARE(int(document.map().at(TileIndex, 50 % 20, 50 / 20)), 0);
    // A one-hex step holds its record, not a copy of the map (186,480 bytes).
    QVERIFY(document.historyFootprint() < std::size_t(MapDocument::HistoryLimit) * 512);
}

void MapDocumentTest::aPatchedHexLooksAsAFullRedrawDrawsIt()
{
    QTemporaryDir sets;
    for (int s = 0; s < 16; ++s)
        testing::WriteSyntheticTileSet(sets.path(), s);
    TileSetLibrary library(sets.path() + QLatin1Char('/'));
    auto map = testing::RandomMap(12, 9, 5);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 12; ++x) {
            map->at(TileSet, x, y) %= 16;
            map->at(TileIndex, x, y) %= 80;
        }
    // The random road links draw lines that cross from one cell into the next.
    const PictureOverlay roads = [&map](QImage &window, int top, int left) { DrawRoadOverlay(*map, window, top, left); };
    for (const bool withRoads : {false, true}) {
        const auto redraw = [&] {
            QImage whole = NewMapPicture(*map);
            RedrawMapPicture(*map, library, 0x38b8a0, whole);
            if (withRoads)
                DrawRoadOverlay(*map, whole);
            return whole;
        };
        QImage picture = redraw();
        // Cells far apart in one band, neighbours in the next band, and the corners.
        const std::vector<HexCoord> hexes{{0, 0}, {1, 4}, {5, 4}, {6, 4}, {10, 4}, {11, 8}};
        for (const HexCoord hex : hexes) {
            map->at(TileSet, hex.x, hex.y) = (map->at(TileSet, hex.x, hex.y) + 3) % 16;
            map->at(TileIndex, hex.x, hex.y) = (map->at(TileIndex, hex.x, hex.y) + 11) % 80;
        }
        PatchMapPicture(*map, LoadTileSetsOf(*map, library), 0x38b8a0, picture, hexes, withRoads ? roads : PictureOverlay());
        QCOMPARE(picture, redraw());
    }
}

QTEST_GUILESS_MAIN(MapDocumentTest)
#include "tst_map_document.moc"
