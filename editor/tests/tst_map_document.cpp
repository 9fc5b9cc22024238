// The map document without windows: every kind of step undone and redone back to the same bytes,
// the clean state behind the modified mark, nesting, and the history's limit.

#include "test_support.h"

#include "document/map_document.h"
#include "files/ascii_map_file.h"
#include "model/terrain_tables.h"
#include "render/map_patch.h"
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
std::unique_ptr<MapStore> IslandMap()
{
    auto map = testing::BlankMap(20, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool land = x > 5 && x < 14 && y > 4 && y < 11;
            map->at(TileSet, x, y) = land ? 1 : 0;
            map->at(TileIndex, x, y) = 0;
            map->at(PlaceIndex, x, y) = 255;
            map->at(PlaceIndexHigh, x, y) = 127;
        }
    return map;
}

} // namespace

class MapDocumentTest : public QObject {
    Q_OBJECT
private slots:
    void eachKindOfStepUndoesAndRedoesToTheSameBytes_data();
    void eachKindOfStepUndoesAndRedoesToTheSameBytes();
    void tablesComeBackWithTheirStep();
    void aChangeThatChangesNothingIsNoStep();
    void nestedEditsAreOneStep();
    void modifiedFollowsTheCleanStep();
    void theHistoryKeepsTheLastTwoHundredSteps();
    void fewHexesArePatchedAndResizesRedraw();
    void aPatchedHexLooksAsAFullRedrawDrawsIt();
};

void MapDocumentTest::eachKindOfStepUndoesAndRedoesToTheSameBytes_data()
{
    QTest::addColumn<MapChange>("change");
    const DefaultTerrainTable terrain = InitialDefaultTerrain();
    QTest::newRow("paint") << MapChange([terrain](MapStore &map) {
        QImage picture = NewMapPicture(map);
        UndoRecord undo;
        PaintHex(map, picture, QImage(48, 40, QImage::Format_RGB32), {3, 2}, 4, 9, terrain, undo);
    });
    QTest::newRow("shift copy") << MapChange([](MapStore &map) {
        QImage picture = NewMapPicture(map);
        CopyHex(map, picture, {7, 6}, {1, 1});
    });
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
    QTest::newRow("new map of another size") << MapChange([](MapStore &map) {
        map = *testing::BlankMap(72, 70);
    });
    QTest::newRow("every byte") << MapChange([](MapStore &map) { map = *testing::RandomMap(31, 9, 99); });
}

void MapDocumentTest::eachKindOfStepUndoesAndRedoesToTheSameBytes()
{
    QFETCH(MapChange, change);
    auto map = IslandMap();
    MapDocument document(*map);
    const MapStore original = *map;

    document.edit(QStringLiteral("Step"), [&] { change(*map); });
    const MapStore changed = *map;
    QVERIFY(!SameBytes(original, changed));
    QCOMPARE(document.history().count(), 1);

    document.history().undo();
    QVERIFY(SameBytes(*map, original));
    document.history().redo();
    QVERIFY(SameBytes(*map, changed));
    document.history().undo();
    QVERIFY(SameBytes(*map, original));
}

void MapDocumentTest::tablesComeBackWithTheirStep()
{
    auto map = IslandMap();
    map->at(PlaceIndex, 8, 7) = 1;
    map->at(PlaceIndexHigh, 8, 7) = 0;
    MapDocument document(*map);
    PlaceTable places(3);
    places.setCell(PlaceTable::NameColumn, 2, QStringLiteral("Port Ambo"));
    places.setCell(PlaceTable::XColumn, 2, QStringLiteral("8"));
    places.setCell(PlaceTable::YColumn, 2, QStringLiteral("7"));
    const PlaceTable before = places;

    MapTables tables{places, {}};
    document.edit(QStringLiteral("Delete Place"), [&] { DeletePlaceReferences(*map, *tables.places, 2); }, &tables);
    QVERIFY(!(*tables.places == before));
    const PlaceTable after = *tables.places;

    QSignalSpy restored(&document, &MapDocument::tablesRestored);
    document.history().undo();
    QCOMPARE(restored.count(), 1);
    QVERIFY(*restored.at(0).at(0).value<MapTables>().places == before);
    QCOMPARE(int(map->at(PlaceIndex, 8, 7)), 1);
    document.history().redo();
    QVERIFY(*restored.at(1).at(0).value<MapTables>().places == after);
    QVERIFY(!restored.at(1).at(0).value<MapTables>().cities);
}

void MapDocumentTest::aChangeThatChangesNothingIsNoStep()
{
    auto map = IslandMap();
    MapDocument document(*map);
    document.edit(QStringLiteral("Nothing"), [&] { map->at(TileIndex, 0, 0) = map->at(TileIndex, 0, 0); });
    document.edit(QStringLiteral("Back and forth"), [&] {
        ++map->at(Terrain, 1, 1);
        --map->at(Terrain, 1, 1);
    });
    QCOMPARE(document.history().count(), 0);
    QVERIFY(!document.isModified());
}

void MapDocumentTest::nestedEditsAreOneStep()
{
    auto map = IslandMap();
    MapDocument document(*map);
    const MapStore original = *map;
    document.edit(QStringLiteral("Spray"), [&] {
        for (int x = 0; x < 5; ++x)
            document.edit(QStringLiteral("Paint"), [&] { map->at(TileIndex, x, 0) = 3; });
    });
    QCOMPARE(document.history().count(), 1);
    QCOMPARE(document.history().undoText(), QStringLiteral("Spray"));
    document.history().undo();
    QVERIFY(SameBytes(*map, original));
}

void MapDocumentTest::modifiedFollowsTheCleanStep()
{
    auto map = IslandMap();
    MapDocument document(*map);
    QSignalSpy modified(&document, &MapDocument::modifiedChanged);
    const auto paint = [&](int tile) { document.edit(QStringLiteral("Paint"), [&] { map->at(TileIndex, 2, 2) = tile; }); };

    paint(1);
    QVERIFY(document.isModified());
    document.saved(QStringLiteral("/maps/a.map"), MapFileFormat::NativeMap);
    QVERIFY(!document.isModified());
    QCOMPARE(document.filePath(), QStringLiteral("/maps/a.map"));
    paint(2);
    QVERIFY(document.isModified());
    document.history().undo(); // back to the saved step
    QVERIFY(!document.isModified());
    document.history().undo(); // past it
    QVERIFY(document.isModified());
    QCOMPARE(modified.count(), 5);

    document.loaded(QStringLiteral("/maps/b.amf"), MapFileFormat::AsciiMap);
    QVERIFY(!document.isModified());
    QVERIFY(!document.history().canUndo());
    QCOMPARE(document.fileFormat(), MapFileFormat::AsciiMap);
}

void MapDocumentTest::theHistoryKeepsTheLastTwoHundredSteps()
{
    auto map = IslandMap();
    MapDocument document(*map);
    for (int i = 0; i < MapDocument::HistoryLimit + 50; ++i)
        document.edit(QStringLiteral("Paint"), [&] { map->at(TileIndex, i % 20, i / 20) = 7; });
    QCOMPARE(document.history().count(), MapDocument::HistoryLimit);
    for (int i = 0; i < MapDocument::HistoryLimit; ++i)
        document.history().undo();
    QVERIFY(!document.history().canUndo());
    // The 50 oldest steps are gone for good; the 200 newest were taken back.
    QCOMPARE(int(map->at(TileIndex, 49 % 20, 49 / 20)), 7);
    QCOMPARE(int(map->at(TileIndex, 50 % 20, 50 / 20)), 0);
    // A one-hex step holds its two records, not a copy of the map (186,480 bytes).
    QVERIFY(document.historyFootprint() < std::size_t(MapDocument::HistoryLimit) * 512);
}

void MapDocumentTest::fewHexesArePatchedAndResizesRedraw()
{
    auto map = IslandMap();
    MapDocument document(*map);
    QSignalSpy patched(&document, &MapDocument::hexesChanged);
    QSignalSpy redrawn(&document, &MapDocument::mapChanged);

    document.edit(QStringLiteral("Paint"), [&] { map->at(TileIndex, 4, 3) = 2; });
    document.edit(QStringLiteral("Coast"), [&] { MakeCoastline(*map, InitialDefaultTerrain()); });
    document.edit(QStringLiteral("New Map"), [&] { map->MapWidth = 5; });
    QCOMPARE(patched.count() + redrawn.count(), 0); // a step made by its edit is already shown

    document.history().undo();
    document.history().undo();
    QCOMPARE(redrawn.count(), 2);
    document.history().undo();
    QCOMPARE(patched.count(), 1);
    QCOMPARE(patched.at(0).at(0).value<std::vector<HexCoord>>(), (std::vector<HexCoord>{{4, 3}}));
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
    QImage picture = NewMapPicture(*map);
    RedrawMapPicture(*map, library, 0x38b8a0, picture);

    const std::vector<HexCoord> hexes{{0, 0}, {5, 4}, {6, 4}, {11, 8}};
    for (const HexCoord hex : hexes) {
        map->at(TileSet, hex.x, hex.y) = (map->at(TileSet, hex.x, hex.y) + 3) % 16;
        map->at(TileIndex, hex.x, hex.y) = (map->at(TileIndex, hex.x, hex.y) + 11) % 80;
    }
    PatchMapPicture(*map, LoadTileSetsOf(*map, library), 0x38b8a0, picture, hexes);
    QImage redrawn = NewMapPicture(*map);
    RedrawMapPicture(*map, library, 0x38b8a0, redrawn);
    QCOMPARE(picture, redrawn);
}

QTEST_GUILESS_MAIN(MapDocumentTest)
#include "tst_map_document.moc"
