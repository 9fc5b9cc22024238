// Editing through the real windows: painting, undo, Shift copy, click modes, spray, palette,
// New Map, Save As Bitmap and the settings windows, with mouse and keys sent by Qt Test.

#include "test_support.h"

#include "forms/City.h"
#include "forms/Input.h"
#include "forms/Map.h"
#include "forms/Misc.h"
#include "forms/Spray.h"
#include "forms/Tiles.h"
#include "forms/picture_box.h"
#include "forms/windows.h"
#include "model/geometry.h"
#include "model/hex_cube.h"
#include "model/hex_regions.h"
#include "model/tile_set_files.h"
#include "render/map_renderer.h"
#include "render/picture_files.h"
#include "render/road_overlay.h"
#include "render/tile_set_library.h"
#include "tools/painting.h"
#include "tools/pattern_passes.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

using namespace vantor;
using testing::TileColour;

class EditingTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void paintingStampsTheTileAndRightClickRestoresIt();
    void rightClickRightAfterStartUpChangesNothing();
    void aClickBeforeAnyTileIsPickedPaintsNothing();
    void clicksInTheMarginsTouchNothing();
    void shiftCopyCopiesPictureAndPlanes();
    void shiftClicksDoNotPaint();
    void pictureIsAFullRedrawAfterEveryStepItsUndoAndRedo();
    void dragsFillsAndPastesAreOneStepEachDrawnExactly();
    void shapingWhilePaintingGivesALandHexItsCoast();
    void copyPlaceNameClicks();
    void roadToggleModeAndItsPrompts();
    void startingACommandEndsTheOneCollectingClicks();
    void sprayIsCutAtTheMapEdge();
    void sprayDensityOneOrZeroPaintsNothing();
    void spraySettingsChangeOnlyWithOk();
    void palettePicksAndMovesItsMarker();
    void paletteIgnoresPointsPastTheLastTile();
    void choosingTheCurrentSetAgainDoesNothing();
    void terrainEditRewritesTheDefaultTerrain();
    void hoverLabelsFollowTheMouseInStepsOfTen();
    void hoverLabelNamesThePaintedTerrainAtOnce();
    void missingTileSetsAreReportedWithEveryFolderSearched();
    void newMapLimitsAndFill();
    void newMapCancelledKeepsTheMap();
    void saveAsBitmapWritesWhatIsShown();
    void backgroundColourEdit();
    void aboutAndHelp();

private:
    MapDocument &document() { return windows->document(); }
    const MapStore &map() { return windows->document().map(); }
    EditorSettings &settings() { return windows->settings(); }
    PaintTool &paint() { return form->tools().paint(); }
    TTilesForm &tiles() { return form->tilesForm(); }
    // Starts afresh from map, with fresh tables.
    void start(const MapStore &map, const MapTables &tables = {});
    // Starts from a 10 x 8 map of set 0, tile 0.
    void showSmallMap();
    void pressKeys(Qt::Key key, Qt::KeyboardModifiers modifiers);
    // Where the picture first differs from a full redraw of the map (with the road overlay when
    // roads); empty when it does not.
    QString differenceFromFullRedraw(bool roads);
    QPoint hexCentre(int x, int y);
    QRgb centreColour(int x, int y);
    template <typename T> T *child(QObject *parent, const char *name) { return parent->findChild<T *>(QLatin1String(name)); }
    QLabel *prompt() { return child<QLabel>(form, "PromptPanel"); }

    QTemporaryDir setsDir;
    QTemporaryDir work;
    std::unique_ptr<testing::ScriptedDialogs> dialogs;
    std::unique_ptr<VantorWindows> windows;
    TMapForm *form = nullptr;
    PictureBox *mapImage = nullptr;
};

void EditingTest::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true); // the user's tile sets and recent maps are not looked at
    QVERIFY(setsDir.isValid() && work.isValid());
    for (int s = 0; s < 16; ++s)
        testing::WriteSyntheticTileSet(setsDir.path(), s);
}

void EditingTest::init()
{
    dialogs = std::make_unique<testing::ScriptedDialogs>();
    windows = std::make_unique<VantorWindows>();
    form = &windows->main();
    // The tests' own tile sets, not those beside the program.
    settings().programDir = setsDir.path() + QLatin1Char('/');
    tiles().showSet(0);
    tiles().show();
    paint().seedSpray(12345);
    mapImage = child<PictureBox>(form, "MapImage");
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
}

void EditingTest::cleanup()
{
    windows.reset();
    dialogs.reset();
}

void EditingTest::start(const MapStore &map, const MapTables &tables)
{
    auto content = std::make_unique<MapContent>(MapContent{map, tables});
    document().start(*content);
}

void EditingTest::showSmallMap() { start(*testing::BlankMap(10, 8)); }

void EditingTest::pressKeys(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form));
    QTest::keyClick(form, key, modifiers);
}

QString EditingTest::differenceFromFullRedraw(bool roads)
{
    TileSetLibrary library(setsDir.path());
    QImage redrawn = NewMapPicture(map());
    RedrawMapPicture(map(), library, settings().backgroundColour, redrawn);
    if (roads)
        DrawRoadOverlay(map(), redrawn);
    const QImage &shown = form->mapPicture();
    if (shown.size() != redrawn.size())
        return QStringLiteral("size %1x%2").arg(shown.width()).arg(shown.height());
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            if (shown.pixel(x, y) != redrawn.pixel(x, y))
                return QStringLiteral("(%1, %2) shows #%3, the redraw #%4")
                    .arg(x)
                    .arg(y)
                    .arg(shown.pixel(x, y) & 0xFFFFFF, 6, 16, QLatin1Char('0'))
                    .arg(redrawn.pixel(x, y) & 0xFFFFFF, 6, 16, QLatin1Char('0'));
    return {};
}

QPoint EditingTest::hexCentre(int x, int y)
{
    const PixelRect r = HexRect(y * map().MapWidth + x, map().MapWidth);
    return {r.left + 24, r.top + 20};
}

QRgb EditingTest::centreColour(int x, int y) { return form->mapPicture().pixel(hexCentre(x, y)); }

void EditingTest::paintingStampsTheTileAndRightClickRestoresIt()
{
    showSmallMap();
    const QImage before = form->mapPicture();
    testing::PickTile(tiles(), 1, 9);
    QCOMPARE(paint().pick(), (TilePick{1, 9}));

    testing::ClickHex(*form, 3, 2);
    QCOMPARE(int(map().at(TileIndex, 3, 2)), 9);
    QCOMPARE(int(map().at(TileSet, 3, 2)), 1);
    QCOMPARE(int(map().at(Terrain, 3, 2)), DefaultTerrainOf(settings().defaultTerrain, 1, 9));
    QCOMPARE(centreColour(3, 2), TileColour(1, 9));
    QCOMPARE(centreColour(4, 2), TileColour(0, 0)); // the neighbours keep their hexagons

    testing::ClickHex(*form, 5, 5, Qt::RightButton); // the restore acts wherever the press is
    QCOMPARE(form->mapPicture(), before);
    QCOMPARE(int(map().at(TileIndex, 3, 2)), 0);
    QCOMPARE(int(map().at(TileSet, 3, 2)), 0);
    QCOMPARE(int(map().at(Terrain, 3, 2)), 0);

    // Only the last paint: painting two hexes, then restoring twice, restores only the second.
    testing::ClickHex(*form, 1, 1);
    testing::ClickHex(*form, 2, 1);
    testing::ClickHex(*form, 0, 0, Qt::RightButton);
    testing::ClickHex(*form, 0, 0, Qt::RightButton);
    QCOMPARE(centreColour(1, 1), TileColour(1, 9));
    QCOMPARE(centreColour(2, 1), TileColour(0, 0));
}

void EditingTest::rightClickRightAfterStartUpChangesNothing()
{
    auto initial = testing::BlankMap(10, 8);
    initial->at(TileIndex, 0, 0) = 7;
    initial->at(TileSet, 0, 0) = 2;
    initial->at(Terrain, 0, 0) = 3;
    start(*initial);
    const QImage before = form->mapPicture();
    QTest::mouseClick(mapImage, Qt::RightButton, {}, QPoint(20, 20));
    QCOMPARE(form->mapPicture(), before);
    QVERIFY(map().bytes == initial->bytes);
    QVERIFY(!document().isModified());
}

void EditingTest::aClickBeforeAnyTileIsPickedPaintsNothing()
{
    showSmallMap();
    QVERIFY(!paint().pick().isPicked());
    const QImage before = form->mapPicture();
    testing::ClickHex(*form, 2, 2);
    QCOMPARE(form->mapPicture(), before);
    QCOMPARE(int(map().at(Terrain, 2, 2)), 0);
}

void EditingTest::clicksInTheMarginsTouchNothing()
{
    showSmallMap();
    testing::PickTile(tiles(), 2, 4);
    const auto before = std::make_unique<MapStore>(map());
    const QImage picture = form->mapPicture();
    QTest::mouseClick(mapImage, Qt::LeftButton, {}, QPoint(37 * 10 + 9, 30));     // right margin
    QTest::mouseClick(mapImage, Qt::LeftButton, {}, QPoint(20, 40 * 8 + 10));     // below an even column
    QTest::mouseClick(mapImage, Qt::RightButton, Qt::ShiftModifier, QPoint(37 * 10 + 9, 30));
    QVERIFY(map().bytes == before->bytes);
    QCOMPARE(form->mapPicture(), picture);
}

void EditingTest::shiftCopyCopiesPictureAndPlanes()
{
    auto initial = testing::BlankMap(10, 8);
    initial->at(RoadLinks, 1, 4) = 9;
    start(*initial);
    testing::PickTile(tiles(), 3, 12);
    testing::ClickHex(*form, 6, 3);

    testing::ClickHex(*form, 6, 3, Qt::LeftButton, Qt::ShiftModifier);  // anchor
    testing::ClickHex(*form, 1, 4, Qt::RightButton, Qt::ShiftModifier); // copy
    QCOMPARE(int(map().at(TileIndex, 1, 4)), 12);
    QCOMPARE(int(map().at(TileSet, 1, 4)), 3);
    QCOMPARE(int(map().at(Terrain, 1, 4)), int(map().at(Terrain, 6, 3)));
    QCOMPARE(int(map().at(RoadLinks, 1, 4)), 9); // only tile, set and terrain are copied
    QCOMPARE(centreColour(1, 4), TileColour(3, 12));
    // The copy leaves the last paint alone: a right click still takes back the paint at (6, 3).
    testing::ClickHex(*form, 0, 0, Qt::RightButton);
    QCOMPARE(centreColour(6, 3), TileColour(0, 0));
    QCOMPARE(centreColour(1, 4), TileColour(3, 12));
}

void EditingTest::shiftClicksDoNotPaint()
{
    showSmallMap();
    testing::PickTile(tiles(), 4, 2);
    testing::ClickHex(*form, 2, 2, Qt::LeftButton, Qt::ShiftModifier);
    QCOMPARE(int(map().at(TileSet, 2, 2)), 0);
    QCOMPARE(centreColour(2, 2), TileColour(0, 0));
}

// No click stamps pixels of its own: after each step, its undo and its redo the picture is what a
// full redraw draws, the edge pixels a hex shares with its neighbours included. Hexes of every set
// lie around the painted ones, so that the redraw draws some neighbours before them and some after.
void EditingTest::pictureIsAFullRedrawAfterEveryStepItsUndoAndRedo()
{
    auto initial = testing::RandomMap(10, 8, 41); // random road links too
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x) {
            initial->at(TileSet, x, y) = std::uint8_t((x * 7 + y * 5) % TileSetCount);
            initial->at(TileIndex, x, y) = std::uint8_t((x * 13 + y * 29) % 80);
        }
    initial->at(TileSet, 0, 7) = 0;
    initial->at(TileSet, 9, 0) = 0;
    start(*initial);
    settings().sprayRadius = 1;
    settings().sprayDensity = 100;
    testing::PickTile(tiles(), 0, 5);
    QUndoStack &history = document().history();

    for (const bool roads : {false, true}) {
        if (roads)
            testing::ClickMenuItem(*form, QStringLiteral("Options"), QStringLiteral("Show Road Connections"));
        QVERIFY2(differenceFromFullRedraw(roads).isEmpty(), qPrintable(differenceFromFullRedraw(roads)));
        const HexCoord anchor = roads ? HexCoord{9, 0} : HexCoord{0, 7};
        const std::vector<std::pair<QString, std::function<void()>>> steps = {
            {QStringLiteral("Paint"), [&] { testing::ClickHex(*form, roads ? 8 : 4, roads ? 1 : 6); }},
            {QStringLiteral("Spray"),
             [&] {
                 testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("Spray Can"));
                 testing::ClickHex(*form, roads ? 7 : 2, roads ? 5 : 2);
                 testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("Spray Can"));
             }},
            {QStringLiteral("Copy Hex"),
             [&] {
                 testing::ClickHex(*form, anchor.x, anchor.y, Qt::LeftButton, Qt::ShiftModifier);
                 testing::ClickHex(*form, roads ? 4 : 5, roads ? 6 : 3, Qt::RightButton, Qt::ShiftModifier);
             }},
            {QStringLiteral("Restore Hex"), [&] { testing::ClickHex(*form, 9, 7, Qt::RightButton); }},
        };
        for (const auto &[name, step] : steps) {
            const QString where = name + (roads ? QStringLiteral(" with roads") : QString());
            const int before = history.index();
            step();
            QCOMPARE(history.index(), before + 1);
            QCOMPARE(history.undoText(), name);
            QVERIFY2(differenceFromFullRedraw(roads).isEmpty(), qPrintable(where + QStringLiteral(": ") + differenceFromFullRedraw(roads)));
            pressKeys(Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(history.index(), before);
            QVERIFY2(differenceFromFullRedraw(roads).isEmpty(),
                     qPrintable(where + QStringLiteral(", undone: ") + differenceFromFullRedraw(roads)));
            pressKeys(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
            QCOMPARE(history.index(), before + 1);
            QVERIFY2(differenceFromFullRedraw(roads).isEmpty(),
                     qPrintable(where + QStringLiteral(", redone: ") + differenceFromFullRedraw(roads)));
        }
        if (roads)
            continue;
        // The neighbours of the painted hex (4, 6), all of sets drawn after set 0, keep the edge
        // pixels they share with it, which a stamped tile would have covered.
        const PixelRect cell = HexRect(6 * 10 + 4, 10);
        int neighbourPixels = 0;
        for (int y = 0; y < TileHeight; ++y)
            for (int x = 0; x < TileWidth; ++x)
                neighbourPixels += IsInsideHexagon(x, y) && form->mapPicture().pixel(cell.left + x, cell.top + y) != TileColour(0, 5);
        QVERIFY(neighbourPixels > 0);
    }
}

// The tool bar's tools through the real widgets and keys: each gesture is one step, the picture a
// full redraw after it, its undo and its redo.
void EditingTest::dragsFillsAndPastesAreOneStepEachDrawnExactly()
{
    auto initial = testing::RandomMap(12, 10, 7);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x) {
            initial->at(TileSet, x, y) = std::uint8_t(x < 6 ? 0 : 1);
            initial->at(TileIndex, x, y) = std::uint8_t(x < 6 ? 0 : (x * 13 + y * 29) % 80);
        }
    start(*initial);
    testing::PickTile(tiles(), 2, 5);
    QUndoStack &history = document().history();
    const auto drag = [&](HexCoord from, HexCoord to, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mousePress(mapImage, Qt::LeftButton, modifiers, hexCentre(from.x, from.y));
        QTest::mouseMove(mapImage, hexCentre(to.x, to.y));
        QTest::mouseRelease(mapImage, Qt::LeftButton, modifiers, hexCentre(to.x, to.y));
    };
    const auto hexRecords = [&](HexCoord from, HexCoord to) {
        std::vector<HexRecord> records;
        for (const HexCoord hex : HexRectangle(map(), from, to).hexes())
            records.push_back(ReadHex(map(), hex.x, hex.y));
        return records;
    };
    const std::vector<std::pair<QString, std::function<void()>>> steps = {
        {QStringLiteral("Paint"),
         [&] {
             // One jump of the pointer across the map: the 7-hex brush leaves no gap.
             pressKeys(Qt::Key_BracketRight, {});
             drag({1, 1}, {10, 8});
             HexSet painted;
             for (const HexCoord hex : HexLine({1, 1}, {10, 8}))
                 painted |= BrushHexes(map(), hex, 1);
             for (const HexCoord hex : painted.hexes())
                 QCOMPARE(int(map().at(TileSet, hex.x, hex.y)), 2);
         }},
        {QStringLiteral("Fill"),
         [&] {
             pressKeys(Qt::Key_F, {});
             QTest::mouseClick(mapImage, Qt::LeftButton, {}, hexCentre(0, 9));
             QCOMPARE(int(map().at(TileSet, 0, 9)), 2);
             QCOMPARE(int(map().at(TileSet, 6, 0)), 1); // another tile
         }},
        {QStringLiteral("Paste"),
         [&] {
             pressKeys(Qt::Key_R, {});
             drag({6, 2}, {8, 4});
             const std::vector<HexRecord> source = hexRecords({6, 2}, {8, 4});
             pressKeys(Qt::Key_C, Qt::ControlModifier);
             pressKeys(Qt::Key_V, Qt::ControlModifier);
             // The block is held by its middle hex, (7, 2); two columns left and a row down, it lands whole.
             QTest::mouseMove(mapImage, hexCentre(5, 3));
             QTest::mouseClick(mapImage, Qt::LeftButton, {}, hexCentre(5, 3));
             QCOMPARE(hexRecords({4, 3}, {6, 5}), source);
             pressKeys(Qt::Key_Escape, {});
             pressKeys(Qt::Key_Escape, {});
             QCOMPARE(form->tools().mode(), ClickMode::Paint);
         }},
    };
    for (const auto &[name, step] : steps) {
        const int before = history.index();
        step();
        QCOMPARE(history.index(), before + 1);
        QCOMPARE(history.undoText(), name);
        QVERIFY2(differenceFromFullRedraw(false).isEmpty(), qPrintable(name + QStringLiteral(": ") + differenceFromFullRedraw(false)));
        pressKeys(Qt::Key_Z, Qt::ControlModifier);
        QVERIFY2(differenceFromFullRedraw(false).isEmpty(), qPrintable(name + QStringLiteral(", undone: ") + differenceFromFullRedraw(false)));
        pressKeys(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(history.index(), before + 1);
    }
}

// With Shape While Painting on, one land hex painted into open sea is shaped in the same step, as
// the whole-map passes would shape it.
void EditingTest::shapingWhilePaintingGivesALandHexItsCoast()
{
    auto sea = testing::BlankMap(12, 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x)
            PaintHex(*sea, {x, y}, 0, 53, settings().defaultTerrain);
    MakeCoastline(*sea, settings().defaultTerrain);
    start(*sea);
    testing::ClickMenuItem(*form, QStringLiteral("Options"), QStringLiteral("Shape While Painting"));
    QVERIFY(settings().shapeWhilePainting);
    testing::PickTile(tiles(), 1, 0);
    testing::ClickHex(*form, 5, 4);
    QCOMPARE(document().history().count(), 1);
    auto expected = std::make_unique<MapStore>(*sea);
    PaintHex(*expected, {5, 4}, 1, 0, settings().defaultTerrain);
    MakeCoastline(*expected, settings().defaultTerrain);
    MakeRoads(*expected, settings().defaultTerrain);
    MakeRivers(*expected, settings().defaultTerrain);
    QVERIFY(expected->bytes == map().bytes);
    QVERIFY(ReadHex(map(), 5, 3) != ReadHex(*sea, 5, 3)); // the coast took a shape
    QVERIFY2(differenceFromFullRedraw(false).isEmpty(), qPrintable(differenceFromFullRedraw(false)));
    pressKeys(Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(sea->bytes == map().bytes);
    testing::ClickMenuItem(*form, QStringLiteral("Options"), QStringLiteral("Shape While Painting"));
}

void EditingTest::copyPlaceNameClicks()
{
    auto initial = testing::BlankMap(10, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x) {
            initial->at(PlaceIndex, x, y) = 255;
            initial->at(PlaceIndexHigh, x, y) = 127;
        }
    initial->at(PlaceIndex, 4, 4) = 7;
    initial->at(PlaceIndexHigh, 4, 4) = 0;
    initial->at(PlaceIndex, 5, 5) = 44;
    initial->at(PlaceIndexHigh, 5, 5) = 1; // place 300: copied whole, high byte too
    MapTables homemade;
    homemade.homemade = true; // a homemade scenario enables the command
    start(*initial, homemade);
    testing::ClickMenuItem(*form, QStringLiteral("Tools"), QStringLiteral("Copy Place Name"));
    QCOMPARE(form->tools().mode(), ClickMode::CopyPlaceName);
    QVERIFY(prompt()->isVisible());
    QCOMPARE(prompt()->text(), QStringLiteral("Click on name to Copy."));

    testing::ClickHex(*form, 1, 1); // no place here: still waiting for a source
    QCOMPARE(prompt()->text(), QStringLiteral("Click on name to Copy."));
    testing::ClickHex(*form, 5, 5);
    QCOMPARE(prompt()->text(), QStringLiteral("Click destination(s). Shift click to exit"));
    testing::ClickHex(*form, 0, 0);
    testing::ClickHex(*form, 9, 7);
    QCOMPARE(int(map().at(PlaceIndex, 0, 0)), 44);
    QCOMPARE(int(map().at(PlaceIndexHigh, 0, 0)), 1);
    QCOMPARE(int(map().at(PlaceIndex, 9, 7)), 44);
    QCOMPARE(int(map().at(PlaceIndexHigh, 9, 7)), 1);

    testing::ClickHex(*form, 2, 6, Qt::LeftButton, Qt::ShiftModifier); // ends the command and copies nothing
    QCOMPARE(int(map().at(PlaceIndex, 2, 6)), 255);
    QCOMPARE(form->tools().mode(), ClickMode::Paint);
    QVERIFY(!prompt()->isVisible());
}

void EditingTest::roadToggleModeAndItsPrompts()
{
    showSmallMap();
    auto *toggle = child<QAction>(form, "RemoveRoadConnections1");
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("Toggle Road Connections"));
    QVERIFY(!toggle->isChecked()); // only while road connections are shown
    QCOMPARE(form->tools().mode(), ClickMode::Paint);

    testing::PickTile(tiles(), 2, 2);
    testing::ClickHex(*form, 6, 6);
    testing::ClickMenuItem(*form, QStringLiteral("Options"), QStringLiteral("Show Road Connections"));
    QVERIFY(child<QAction>(form, "ShowRoadConnections1")->isChecked());
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("Toggle Road Connections"));
    QVERIFY(toggle->isChecked());
    QCOMPARE(form->tools().mode(), ClickMode::RoadToggle);
    QCOMPARE(prompt()->text(), QStringLiteral("Road Toggle: Click 1st tile"));
    testing::ClickHex(*form, 3, 3);
    QCOMPARE(prompt()->text(), QStringLiteral("Road Toggle: Click 2nd Tile"));
    QCOMPARE(int(map().at(TileSet, 3, 3)), 0); // road-toggle clicks do not paint
    // A right click still restores the last paint, and leaves the pair half named.
    testing::ClickHex(*form, 0, 0, Qt::RightButton);
    QCOMPARE(int(map().at(TileSet, 6, 6)), 0);
    QCOMPARE(prompt()->text(), QStringLiteral("Road Toggle: Click 2nd Tile"));
    testing::ClickHex(*form, 3, 4);
    QCOMPARE(prompt()->text(), QStringLiteral("Road Toggle: Click 1st Tile"));

    // Hiding the road connections leaves the mode.
    testing::ClickMenuItem(*form, QStringLiteral("Options"), QStringLiteral("Show Road Connections"));
    QCOMPARE(form->tools().mode(), ClickMode::Paint);
    QVERIFY(!toggle->isChecked());
    QVERIFY(!prompt()->isVisible());
}

void EditingTest::startingACommandEndsTheOneCollectingClicks()
{
    showSmallMap();
    TCityForm &cities = form->cityForm();
    testing::PickTile(tiles(), 2, 2);
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("Save Area To ASCII Map"));
    testing::ClickHex(*form, 1, 1);
    QTest::mouseClick(cities.findChild<QPushButton *>(QStringLiteral("CaptionBtn")), Qt::LeftButton);
    QCOMPARE(form->tools().mode(), ClickMode::CityCaption);
    QCOMPARE(prompt()->text(), QStringLiteral("City Caption: click hexes. Uncaption to end."));
    QTest::mouseClick(cities.findChild<QPushButton *>(QStringLiteral("UncaptionBtn")), Qt::LeftButton);
    QCOMPARE(form->tools().mode(), ClickMode::Paint);
    testing::ClickHex(*form, 3, 3); // painting works again
    QCOMPARE(int(map().at(TileSet, 3, 3)), 2);

    // Road toggle, then Paste: the toggle item is unchecked and the paste owns the clicks.
    testing::ClickMenuItem(*form, QStringLiteral("Options"), QStringLiteral("Show Road Connections"));
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("Toggle Road Connections"));
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("Paste from ASCII Map"));
    QCOMPARE(form->tools().mode(), ClickMode::PasteArea);
    QVERIFY(!child<QAction>(form, "RemoveRoadConnections1")->isChecked());
    QCOMPARE(prompt()->text(), QStringLiteral("Click on upper left of paste area."));
    // Uncaption while pasting leaves the paste alone.
    QTest::mouseClick(cities.findChild<QPushButton *>(QStringLiteral("UncaptionBtn")), Qt::LeftButton);
    QCOMPARE(form->tools().mode(), ClickMode::PasteArea);
    QCOMPARE(prompt()->text(), QStringLiteral("Click on upper left of paste area."));
}

void EditingTest::sprayIsCutAtTheMapEdge()
{
    showSmallMap();
    testing::PickTile(tiles(), 5, 6);
    auto *spray = child<QAction>(form, "SprayCan1");
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("Spray Can"));
    QVERIFY(spray->isChecked());
    QCOMPARE(prompt()->text(), QStringLiteral("Sprayer in Operation"));
    QVERIFY(prompt()->isVisible());
    settings().sprayDensity = 100;

    testing::ClickHex(*form, 0, 0);
    int painted = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool isPainted = map().at(TileSet, x, y) == 5;
            painted += isPainted;
            if (x > 3 || y > 3)
                QVERIFY2(!isPainted, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
        }
    QVERIFY(painted >= 12); // each of the 16 hexes of the square with chance 99/100

    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("Spray Can"));
    QVERIFY(!spray->isChecked());
    QVERIFY(!prompt()->isVisible());

    testing::ClickHex(*form, 9, 7);
    QCOMPARE(int(map().at(TileSet, 9, 7)), 5); // an ordinary paint again

    // Switched on and off while a command collects clicks, the spray gives the command its prompt back.
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("Spray Can"));
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("Save Area To ASCII Map"));
    QCOMPARE(prompt()->text(), QStringLiteral("Click Upper Left"));
    // The spray sprays only while painting is in use: here the click names the area's first corner.
    const auto before = std::make_unique<MapStore>(map());
    testing::ClickHex(*form, 6, 5);
    QVERIFY(map().bytes == before->bytes);
    QCOMPARE(prompt()->text(), QStringLiteral("Now click on lower right"));
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("Spray Can"));
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("Spray Can"));
    QCOMPARE(prompt()->text(), QStringLiteral("Sprayer in Operation"));
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("Spray Can"));
    QVERIFY(prompt()->isVisible());
    QCOMPARE(prompt()->text(), QStringLiteral("Now click on lower right"));
}

void EditingTest::sprayDensityOneOrZeroPaintsNothing()
{
    showSmallMap();
    testing::PickTile(tiles(), 5, 6);
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("Spray Can"));
    settings().sprayRadius = 15; // the whole map
    for (const int density : {0, 1}) {
        settings().sprayDensity = density;
        for (int i = 0; i < 5; ++i)
            testing::ClickHex(*form, 4, 4);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 10; ++x)
                QCOMPARE(int(map().at(TileSet, x, y)), 0);
    }
}

void EditingTest::spraySettingsChangeOnlyWithOk()
{
    TSprayForm &sprayForm = form->sprayForm();
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("Spray Can Settings"));
    QTRY_VERIFY(sprayForm.isVisible());
    auto *density = child<QSpinBox>(&sprayForm, "DensityUD");
    auto *size = child<QSpinBox>(&sprayForm, "SizeUD");
    QCOMPARE(density->value(), 33);
    QCOMPARE(size->value(), 3);
    QCOMPARE(density->minimum(), 0);
    QCOMPARE(density->maximum(), 100);
    QCOMPARE(size->minimum(), 1);
    QCOMPARE(size->maximum(), 15);
    size->setValue(7);
    density->setValue(80);
    sprayForm.close();
    QCOMPARE(settings().sprayRadius, 3);
    QCOMPARE(settings().sprayDensity, 33);
    sprayForm.show();
    QTest::mouseClick(child<QPushButton>(&sprayForm, "OKBtn"), Qt::LeftButton);
    QCOMPARE(settings().sprayRadius, 7);
    QCOMPARE(settings().sprayDensity, 80);
    QVERIFY(!sprayForm.isVisible());
}

void EditingTest::palettePicksAndMovesItsMarker()
{
    const QImage set1 = testing::SyntheticTileSet(1);
    testing::PickTile(tiles(), 1, 9);
    QCOMPARE(paint().pick(), (TilePick{1, 9}));
    const QImage &palette = tiles().picture();
    // The marker: a red dot in the box (58, 56)-(64, 62), nothing changed outside it.
    int red = 0;
    for (int y = 40; y < 80; ++y)
        for (int x = 37; x < 85; ++x) {
            const bool inBox = x >= 58 && x < 64 && y >= 56 && y < 62;
            if (!inBox)
                QCOMPARE(palette.pixel(x, y), set1.pixel(x, y));
            red += palette.pixel(x, y) == qRgb(255, 0, 0);
        }
    QVERIFY(red > 0);

    testing::PickTile(tiles(), 1, 10);
    for (int y = 56; y < 62; ++y)
        for (int x = 58; x < 64; ++x)
            QCOMPARE(palette.pixel(x, y), set1.pixel(x, y)); // the first marker is gone
    QCOMPARE(paint().pick(), (TilePick{1, 10}));
}

void EditingTest::paletteIgnoresPointsPastTheLastTile()
{
    testing::PickTile(tiles(), 0, 3);
    QTest::mouseClick(child<PictureBox>(&tiles(), "TileImage"), Qt::LeftButton, {}, QPoint(310, 420));
    QCOMPARE(paint().pick().tile, 3);
}

void EditingTest::choosingTheCurrentSetAgainDoesNothing()
{
    testing::PickTile(tiles(), 3, 5);
    QCOMPARE(paint().pick().tile, 5);
    QTest::mouseClick(child<QRadioButton>(&tiles(), "RadioGroup1Item3"), Qt::LeftButton);
    QCOMPARE(paint().pick().tile, 5);
    QTest::mouseClick(child<QRadioButton>(&tiles(), "RadioGroup1Item4"), Qt::LeftButton);
    QCOMPARE(paint().pick().set, 4);
    QVERIFY(!paint().pick().isPicked());
}

void EditingTest::terrainEditRewritesTheDefaultTerrain()
{
    TTilesForm &tilesForm = tiles();
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form));
    testing::ClickMenuItem(*form, QStringLiteral("Tools"), QStringLiteral("Change Default Terrain Type"));
    auto *terrains = child<QComboBox>(&tilesForm, "TerrainCBox");
    QVERIFY(tilesForm.isVisible());
    QVERIFY(terrains->isVisible());
    QVERIFY(!child<QGroupBox>(&tilesForm, "RadioGroup1")->isVisible());
    QCOMPARE(terrains->count(), 37);
    terrains->setCurrentIndex(31);
    QCOMPARE(terrains->currentText(), QStringLiteral("Deep Ocean"));

    const PixelRect cell = TileRect(5);
    auto *tileImage = child<PictureBox>(&tilesForm, "TileImage");
    const QImage before = tilesForm.picture();
    QTest::mouseClick(tileImage, Qt::LeftButton, {}, QPoint(cell.left + 24, cell.top + 20));
    QCOMPARE(settings().defaultTerrain[0][5], 'O');
    QVERIFY(!paint().pick().isPicked());
    QCOMPARE(tilesForm.picture(), before); // no marker in terrain-edit mode
    testing::HoverOver(tileImage, QPoint(cell.left + 24, cell.top + 40));
    testing::HoverOver(tileImage, QPoint(cell.left + 24, cell.top + 20));
    QCOMPARE(child<QLabel>(&tilesForm, "WhereLbl")->text(), QStringLiteral("#5  Deep Ocean"));

    // Coming back to the main window ends terrain-edit mode.
    tilesForm.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&tilesForm));
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form));
    QVERIFY(!terrains->isVisible());
    QVERIFY(child<QGroupBox>(&tilesForm, "RadioGroup1")->isVisible());
}

void EditingTest::hoverLabelsFollowTheMouseInStepsOfTen()
{
    auto initial = testing::BlankMap(10, 8);
    initial->at(Terrain, 2, 1) = 31;
    initial->at(Terrain, 2, 2) = 4;
    start(*initial);
    auto *where = child<QLabel>(form, "WhereLbl");
    // (98, 72) lies in hex (2, 1), ten and eleven pixels below it lies hex (2, 2).
    const QPoint from(98, 72);
    QCOMPARE(HexOnMapAt(98, 82, 10, 8), (std::optional<HexCoord>{{2, 2}}));
    testing::HoverOver(mapImage, from);
    QCOMPARE(where->text(), QStringLiteral("2,1 Deep Ocean"));
    testing::HoverOver(mapImage, from + QPoint(0, 10)); // within 10 pixels: unchanged
    QCOMPARE(where->text(), QStringLiteral("2,1 Deep Ocean"));
    testing::HoverOver(mapImage, from + QPoint(0, 11));
    QCOMPARE(where->text(), QStringLiteral("2,2 Clear"));

    auto *tileImage = child<PictureBox>(&tiles(), "TileImage");
    auto *tileWhere = child<QLabel>(&tiles(), "WhereLbl");
    const PixelRect cell = TileRect(17); // set 0, tile 17 holds 'N'; tile 25 below it holds '.'
    testing::HoverOver(tileImage, QPoint(cell.left + 24, cell.bottom - 5));
    QCOMPARE(tileWhere->text(), QStringLiteral("#17  Coast"));
    testing::HoverOver(tileImage, QPoint(cell.left + 24, cell.bottom + 5));
    QCOMPARE(tileWhere->text(), QStringLiteral("#17  Coast"));
    testing::HoverOver(tileImage, QPoint(cell.left + 24, cell.bottom + 6));
    QCOMPARE(tileWhere->text(), QStringLiteral("#25  Tetrahedron"));
}

// The pointer does not move, yet the label names what the paint made of the hex.
void EditingTest::hoverLabelNamesThePaintedTerrainAtOnce()
{
    showSmallMap();
    auto *where = child<QLabel>(form, "WhereLbl");
    testing::HoverOver(mapImage, hexCentre(3, 2));
    const QString before = where->text();
    QVERIFY(before.startsWith(QStringLiteral("3,2 ")));
    testing::PickTile(tiles(), 1, 9);
    testing::ClickHex(*form, 3, 2);
    const QString painted =
        QStringLiteral("3,2 ") + QLatin1String(TerrainName(DefaultTerrainOf(settings().defaultTerrain, 1, 9)));
    QVERIFY(painted != before);
    QCOMPARE(where->text(), painted);
}

void EditingTest::missingTileSetsAreReportedWithEveryFolderSearched()
{
    // An empty folder of sets: the message names the set and each folder it was looked for in.
    QTemporaryDir empty;
    QVERIFY(empty.isValid());
    settings().programDir = empty.path() + QLatin1Char('/');
    const QStringList folders = TileSetSearchFolders(settings().programDir);
    QVERIFY(!folders.isEmpty());
    showSmallMap();
    QCOMPARE(dialogs->messages.size(), 1);
    const QString message = dialogs->messages.first();
    QVERIFY2(message.startsWith(QStringLiteral("Missing Tile Sets: ")) && message.contains(SetFileName(0)), qPrintable(message));
    for (const QString &folder : folders)
        QVERIFY2(message.contains(QDir::toNativeSeparators(QDir::cleanPath(folder))), qPrintable(folder + QStringLiteral(" in ") + message));
}

void EditingTest::newMapLimitsAndFill()
{
    auto initial = std::make_unique<MapStore>();
    initial->at(RoadLinks, 3, 3) = 0x21;
    initial->at(CityAttr03, 3, 3) = 5;
    initial->at(20, 3, 3) = 0x99;
    start(*initial);
    TInputForm &input = form->inputForm();
    const auto answer = [this, &input](const QString &x, const QString &y, bool ok) {
        QTimer::singleShot(0, this, [=, this, &input] {
            auto *xEdit = child<QLineEdit>(&input, "XEdit");
            auto *yEdit = child<QLineEdit>(&input, "YEdit");
            xEdit->clear();
            QTest::keyClicks(xEdit, x);
            yEdit->clear();
            QTest::keyClicks(yEdit, y);
            QTest::mouseClick(child<QPushButton>(&input, ok ? "OKBtn" : "CancelBtn"), Qt::LeftButton);
        });
    };

    answer(QStringLiteral("4"), QStringLiteral("10"), true);
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("New Map"));
    QCOMPARE(dialogs->questions, QStringList{QStringLiteral("New Map Failure: New map must be at least 5x5")});
    QCOMPARE(map().MapWidth, 72);

    answer(QStringLiteral("ten"), QStringLiteral("10"), true);
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("New Map"));
    QCOMPARE(dialogs->questions.size(), 2);

    answer(QStringLiteral("100"), QStringLiteral("100"), true);
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("New Map"));
    QCOMPARE(map().MapWidth, 72);
    QCOMPARE(map().MapHeight, 70);
    QCOMPARE(child<QLabel>(&input, "TerrainLbl")->text(), QStringLiteral("Clear")); // tile 1 of set 1
    QCOMPARE(child<QPlainTextEdit>(&input, "InfoMemo")->toPlainText(),
             QStringLiteral("Please enter the\nEast-West and North-South\ndimensions of your new map."));
    QCOMPARE(int(map().at(TileIndex, 71, 69)), 1);
    QCOMPARE(int(map().at(TileSet, 71, 69)), 1);
    QCOMPARE(int(map().at(Terrain, 71, 69)), 4);

    testing::PickTile(tiles(), 7, 3);
    answer(QStringLiteral("5"), QStringLiteral("6"), true);
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("New Map"));
    QCOMPARE(map().MapWidth, 5);
    QCOMPARE(map().MapHeight, 6);
    QCOMPARE(child<QLabel>(form, "MapSizeLbl")->text(), QStringLiteral("5x6"));
    QCOMPARE(int(map().at(TileSet, 3, 3)), 7);
    QCOMPARE(int(map().at(TileIndex, 3, 3)), 3);
    QCOMPARE(int(map().at(Terrain, 3, 3)), DefaultTerrainOf(settings().defaultTerrain, 7, 3));
    QCOMPARE(int(map().at(PlaceIndex, 3, 3)), 255);
    QCOMPARE(int(map().at(PlaceIndexHigh, 3, 3)), 127);
    QCOMPARE(int(map().at(CityAttr16, 3, 3)), 255);
    QCOMPARE(int(map().at(RoadLinks, 3, 3)), 0x21); // planes a new map does not set keep their bytes
    QCOMPARE(int(map().at(CityAttr03, 3, 3)), 5);
    QCOMPARE(int(map().at(20, 3, 3)), 0x99);
    QCOMPARE(form->mapPicture().size(), QSize(37 * 5 + 12, 40 * 6 + 20));
    QCOMPARE(centreColour(4, 5), TileColour(7, 3));
    QVERIFY(!child<QAction>(form, "EditPlaceNames1")->isEnabled());
    QVERIFY(!document().tables().homemade);
    QCOMPARE(child<QLineEdit>(&input, "XEdit")->text(), QStringLiteral("5")); // kept for next time
}

void EditingTest::newMapCancelledKeepsTheMap()
{
    showSmallMap();
    TInputForm &input = form->inputForm();
    QTimer::singleShot(0, this, [this, &input] { QTest::mouseClick(child<QPushButton>(&input, "CancelBtn"), Qt::LeftButton); });
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("New Map"));
    QCOMPARE(map().MapWidth, 10);
    QTimer::singleShot(0, this, [&input] { input.close(); });
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("New Map"));
    QCOMPARE(map().MapWidth, 10);
    QVERIFY(dialogs->questions.isEmpty());
    QVERIFY(!document().isModified());
}

void EditingTest::saveAsBitmapWritesWhatIsShown()
{
    showSmallMap();
    testing::PickTile(tiles(), 6, 1);
    testing::ClickHex(*form, 2, 2);
    const QString path = work.filePath(QStringLiteral("shown.bmp"));
    dialogs->fileAnswers << path;
    testing::ClickMenuItem(*form, QStringLiteral("File"), QStringLiteral("Save As Bitmap"));
    QCOMPARE(dialogs->fileDialogsShown.last().title, QStringLiteral("Save Ketura Map bmp"));
    QCOMPARE(dialogs->fileDialogsShown.last().filter, QLatin1String(PictureSaveFilter));
    QCOMPARE(dialogs->fileDialogsShown.last().defaultExt, QStringLiteral("bmp"));
    const QImage saved(path);
    QCOMPARE(saved.size(), QSize(382, 340));
    QCOMPARE(saved.convertToFormat(QImage::Format_RGB32), form->mapPicture());

    // A .png name gives a PNG of the same pixels.
    const QString png = work.filePath(QStringLiteral("shown.png"));
    dialogs->fileAnswers << png;
    testing::ClickMenuItem(*form, QStringLiteral("File"), QStringLiteral("Save As Bitmap"));
    QVERIFY(testing::Contents(png).startsWith("\x89PNG"));
    QCOMPARE(QImage(png).convertToFormat(QImage::Format_RGB32), form->mapPicture());

    const QString nowhere = work.filePath(QStringLiteral("missing/shown.bmp"));
    dialogs->fileAnswers << nowhere;
    testing::ClickMenuItem(*form, QStringLiteral("File"), QStringLiteral("Save As Bitmap"));
    QCOMPARE(dialogs->errors, QStringList{QStringLiteral("Cannot create file %1").arg(nowhere)});
}

void EditingTest::backgroundColourEdit()
{
    TMiscForm &misc = form->miscForm();
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("Misc"));
    QTRY_VERIFY(misc.isVisible());
    auto *edit = child<QLineEdit>(&misc, "BackEdit");
    QCOMPARE(edit->text(), QStringLiteral("0x38b8a0"));
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("255"));
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(settings().backgroundColour, ColourValue(255));
    QVERIFY(dialogs->errors.isEmpty());

    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("$FF0000")); // "$" on the way raises nothing
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(settings().backgroundColour, ColourValue(0xFF0000));
    QVERIFY(dialogs->errors.isEmpty());

    QTest::keyClick(edit, Qt::Key_End);
    QTest::keyClicks(edit, QStringLiteral("g"));
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(dialogs->errors, QStringList{QStringLiteral("'$FF0000g' is not a valid integer value")});
    QCOMPARE(settings().backgroundColour, ColourValue(0xFF0000));

    showSmallMap(); // the new colour shows at the next full redraw
    QCOMPARE(form->mapPicture().pixel(0, 0), qRgb(0, 0, 255));
}

void EditingTest::aboutAndHelp()
{
    testing::ClickMenuItem(*form, QStringLiteral("Help"), QStringLiteral("About"));
    QCOMPARE(dialogs->messages.size(), 1);
    QVERIFY(dialogs->messages[0].contains(QLatin1String("Vantor Version 0.50b")));

    testing::ClickMenuItem(*form, QStringLiteral("Help"), QStringLiteral("Vantor Help"));
    auto *help = form->findChild<QTextBrowser *>(QStringLiteral("VantorHelp"));
    QVERIFY(help);
    QTRY_VERIFY(help->isVisible());
    QCOMPARE(help->windowTitle(), QStringLiteral("Vantor Help"));
    QVERIFY(help->toPlainText().contains(QLatin1String("Painting")));
}

QTEST_MAIN(EditingTest)
#include "tst_editing.moc"
