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
#include "model/editor_state.h"
#include "model/geometry.h"
#include "render/picture_files.h"

#include <QAction>
#include <QComboBox>
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

    void paintingStampsTheTileAndUndoPutsBackThePixelsAndPlanes();
    void undoRightAfterStartUpChangesNothing();
    void aClickBeforeAnyTileIsPickedPaintsNothing();
    void clicksInTheMarginsTouchNothing();
    void shiftCopyCopiesPictureAndPlanes();
    void shiftClicksDoNotPaint();
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
    void newMapLimitsAndFill();
    void newMapCancelledKeepsTheMap();
    void saveAsBitmapWritesWhatIsShown();
    void backgroundColourEdit();
    void aboutAndHelp();

private:
    // Makes a 10 x 8 map of set 0, tile 0 and shows it.
    void showSmallMap();
    QPoint hexCentre(int x, int y) const;
    QRgb centreColour(int x, int y) const;
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
    QVERIFY(setsDir.isValid() && work.isValid());
    for (int s = 0; s < 16; ++s)
        testing::WriteSyntheticTileSet(setsDir.path(), s);
}

void EditingTest::init()
{
    Map = MapStore{};
    Editor = EditorState{};
    dialogs = std::make_unique<testing::ScriptedDialogs>();
    windows = std::make_unique<VantorWindows>();
    form = &windows->main();
    // The tests' own tile sets, not those beside the program.
    Editor.ProgramDir = setsDir.path() + QLatin1Char('/');
    TilesForm->showSet(0);
    TilesForm->show();
    form->seedSpray(12345);
    mapImage = child<PictureBox>(form, "MapImage");
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
}

void EditingTest::cleanup()
{
    windows.reset();
    dialogs.reset();
}

void EditingTest::showSmallMap()
{
    Map.MapWidth = 10;
    Map.MapHeight = 8;
    form->RefreshMapImage();
}

QPoint EditingTest::hexCentre(int x, int y) const
{
    const PixelRect r = HexRect(y * Map.MapWidth + x, Map.MapWidth);
    return {r.left + 24, r.top + 20};
}

QRgb EditingTest::centreColour(int x, int y) const
{
    const QPoint c = hexCentre(x, y);
    return form->mapPicture().pixel(c);
}

void EditingTest::paintingStampsTheTileAndUndoPutsBackThePixelsAndPlanes()
{
    showSmallMap();
    const QImage before = form->mapPicture();
    testing::PickTile(*TilesForm, 1, 9);
    QCOMPARE(Editor.CurrentSet, 1);
    QCOMPARE(Editor.CurrentTile, 9);

    testing::ClickHex(*form, 3, 2);
    QCOMPARE(int(Map.at(TileIndex, 3, 2)), 9);
    QCOMPARE(int(Map.at(TileSet, 3, 2)), 1);
    QCOMPARE(int(Map.at(Terrain, 3, 2)), DefaultTerrainOf(Editor.DefaultTerrain, 1, 9));
    QCOMPARE(centreColour(3, 2), TileColour(1, 9));
    QCOMPARE(centreColour(4, 2), TileColour(0, 0)); // the neighbours keep their hexagons

    testing::ClickHex(*form, 5, 5, Qt::RightButton); // undo acts wherever the press is
    QCOMPARE(form->mapPicture(), before);
    QCOMPARE(int(Map.at(TileIndex, 3, 2)), 0);
    QCOMPARE(int(Map.at(TileSet, 3, 2)), 0);
    QCOMPARE(int(Map.at(Terrain, 3, 2)), 0);

    // Only one step: painting two hexes, then undoing twice, restores only the second.
    testing::ClickHex(*form, 1, 1);
    testing::ClickHex(*form, 2, 1);
    testing::ClickHex(*form, 0, 0, Qt::RightButton);
    testing::ClickHex(*form, 0, 0, Qt::RightButton);
    QCOMPARE(centreColour(1, 1), TileColour(1, 9));
    QCOMPARE(centreColour(2, 1), TileColour(0, 0));
}

void EditingTest::undoRightAfterStartUpChangesNothing()
{
    Map.at(TileIndex, 0, 0) = 7;
    Map.at(TileSet, 0, 0) = 2;
    Map.at(Terrain, 0, 0) = 3;
    const QImage before = form->mapPicture();
    QTest::mouseClick(mapImage, Qt::RightButton, {}, QPoint(20, 20));
    QCOMPARE(form->mapPicture(), before);
    QCOMPARE(int(Map.at(TileIndex, 0, 0)), 7);
    QCOMPARE(int(Map.at(TileSet, 0, 0)), 2);
    QCOMPARE(int(Map.at(Terrain, 0, 0)), 3);
}

void EditingTest::aClickBeforeAnyTileIsPickedPaintsNothing()
{
    showSmallMap();
    QCOMPARE(Editor.CurrentTile, -1);
    const QImage before = form->mapPicture();
    testing::ClickHex(*form, 2, 2);
    QCOMPARE(form->mapPicture(), before);
    QCOMPARE(int(Map.at(Terrain, 2, 2)), 0);
}

void EditingTest::clicksInTheMarginsTouchNothing()
{
    showSmallMap();
    testing::PickTile(*TilesForm, 2, 4);
    const auto before = std::make_unique<MapStore>(Map);
    const QImage picture = form->mapPicture();
    QTest::mouseClick(mapImage, Qt::LeftButton, {}, QPoint(37 * 10 + 9, 30));     // right margin
    QTest::mouseClick(mapImage, Qt::LeftButton, {}, QPoint(20, 40 * 8 + 10));     // below an even column
    QTest::mouseClick(mapImage, Qt::RightButton, Qt::ShiftModifier, QPoint(37 * 10 + 9, 30));
    QVERIFY(Map.bytes == before->bytes);
    QCOMPARE(form->mapPicture(), picture);
}

void EditingTest::shiftCopyCopiesPictureAndPlanes()
{
    showSmallMap();
    testing::PickTile(*TilesForm, 3, 12);
    testing::ClickHex(*form, 6, 3);
    const QImage afterPaint = form->mapPicture();
    Map.at(RoadLinks, 1, 4) = 9;

    testing::ClickHex(*form, 6, 3, Qt::LeftButton, Qt::ShiftModifier);  // anchor
    testing::ClickHex(*form, 1, 4, Qt::RightButton, Qt::ShiftModifier); // copy
    QCOMPARE(int(Map.at(TileIndex, 1, 4)), 12);
    QCOMPARE(int(Map.at(TileSet, 1, 4)), 3);
    QCOMPARE(int(Map.at(Terrain, 1, 4)), int(Map.at(Terrain, 6, 3)));
    QCOMPARE(int(Map.at(RoadLinks, 1, 4)), 9); // only tile, set and terrain are copied
    QCOMPARE(centreColour(1, 4), TileColour(3, 12));
    // The copy leaves the undo record alone: undo still takes back the paint at (6, 3).
    testing::ClickHex(*form, 0, 0, Qt::RightButton);
    QCOMPARE(centreColour(6, 3), TileColour(0, 0));
    QCOMPARE(centreColour(1, 4), TileColour(3, 12));
    Q_UNUSED(afterPaint);
}

void EditingTest::shiftClicksDoNotPaint()
{
    showSmallMap();
    testing::PickTile(*TilesForm, 4, 2);
    testing::ClickHex(*form, 2, 2, Qt::LeftButton, Qt::ShiftModifier);
    QCOMPARE(int(Map.at(TileSet, 2, 2)), 0);
    QCOMPARE(centreColour(2, 2), TileColour(0, 0));
}

void EditingTest::copyPlaceNameClicks()
{
    showSmallMap();
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x) {
            Map.at(PlaceIndex, x, y) = 255;
            Map.at(PlaceIndexHigh, x, y) = 127;
        }
    Map.at(PlaceIndex, 4, 4) = 7;
    Map.at(PlaceIndexHigh, 4, 4) = 0;
    Map.at(PlaceIndex, 5, 5) = 44;
    Map.at(PlaceIndexHigh, 5, 5) = 1; // place 300: copied whole, high byte too
    child<QAction>(form, "CopyPlaceName1")->setEnabled(true); // a homemade scenario enables it
    testing::ClickMenuItem(*form, QStringLiteral("Tools"), QStringLiteral("Copy Place Name"));
    QCOMPARE(Editor.ClickMode, int(CopyPlaceNameMode));
    QVERIFY(prompt()->isVisible());
    QCOMPARE(prompt()->text(), QStringLiteral("Click on name to Copy."));

    testing::ClickHex(*form, 1, 1); // no place here: still waiting for a source
    QCOMPARE(Editor.ClickCount, 0);
    testing::ClickHex(*form, 5, 5);
    QCOMPARE(prompt()->text(), QStringLiteral("Click destination(s). Shift click to exit"));
    testing::ClickHex(*form, 0, 0);
    testing::ClickHex(*form, 9, 7);
    QCOMPARE(int(Map.at(PlaceIndex, 0, 0)), 44);
    QCOMPARE(int(Map.at(PlaceIndexHigh, 0, 0)), 1);
    QCOMPARE(int(Map.at(PlaceIndex, 9, 7)), 44);
    QCOMPARE(int(Map.at(PlaceIndexHigh, 9, 7)), 1);

    testing::ClickHex(*form, 2, 6, Qt::LeftButton, Qt::ShiftModifier); // ends the command and copies nothing
    QCOMPARE(int(Map.at(PlaceIndex, 2, 6)), 255);
    QCOMPARE(Editor.ClickMode, int(PaintMode));
    QVERIFY(!Editor.CommandPending);
    QVERIFY(!prompt()->isVisible());
}

void EditingTest::roadToggleModeAndItsPrompts()
{
    showSmallMap();
    auto *toggle = child<QAction>(form, "RemoveRoadConnections1");
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("Toggle Road Connections"));
    QVERIFY(!toggle->isChecked()); // only while road connections are shown
    QCOMPARE(Editor.ClickMode, int(PaintMode));

    testing::ClickMenuItem(*form, QStringLiteral("Options"), QStringLiteral("Show Road Connections"));
    QVERIFY(child<QAction>(form, "ShowRoadConnections1")->isChecked());
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("Toggle Road Connections"));
    QVERIFY(toggle->isChecked());
    QCOMPARE(Editor.ClickMode, int(RoadToggleMode));
    QCOMPARE(prompt()->text(), QStringLiteral("Road Toggle: Click 1st tile"));
    testing::PickTile(*TilesForm, 2, 2);
    testing::ClickHex(*form, 3, 3);
    QCOMPARE(prompt()->text(), QStringLiteral("Road Toggle: Click 2nd Tile"));
    QCOMPARE(int(Map.at(TileSet, 3, 3)), 0); // road-toggle clicks do not paint
    testing::ClickHex(*form, 3, 4);
    QCOMPARE(prompt()->text(), QStringLiteral("Road Toggle: Click 1st Tile"));

    // Hiding the road connections leaves the mode.
    testing::ClickMenuItem(*form, QStringLiteral("Options"), QStringLiteral("Show Road Connections"));
    QCOMPARE(Editor.ClickMode, int(PaintMode));
    QVERIFY(!toggle->isChecked());
    QVERIFY(!prompt()->isVisible());
}

void EditingTest::startingACommandEndsTheOneCollectingClicks()
{
    showSmallMap();
    testing::PickTile(*TilesForm, 2, 2);
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("Save Area To ASCII Map"));
    testing::ClickHex(*form, 1, 1);
    QTest::mouseClick(CityForm->findChild<QPushButton *>(QStringLiteral("CaptionBtn")), Qt::LeftButton);
    QCOMPARE(Editor.ClickMode, int(CityCaptionMode));
    QVERIFY(!Editor.CommandPending);
    QCOMPARE(prompt()->text(), QStringLiteral("City Caption: click hexes. Uncaption to end."));
    QTest::mouseClick(CityForm->findChild<QPushButton *>(QStringLiteral("UncaptionBtn")), Qt::LeftButton);
    QCOMPARE(Editor.ClickMode, int(PaintMode));
    testing::ClickHex(*form, 3, 3); // painting works again
    QCOMPARE(int(Map.at(TileSet, 3, 3)), 2);

    // Road toggle, then Paste: the toggle item is unchecked and the paste owns the clicks.
    testing::ClickMenuItem(*form, QStringLiteral("Options"), QStringLiteral("Show Road Connections"));
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("Toggle Road Connections"));
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("Paste from ASCII Map"));
    QCOMPARE(Editor.ClickMode, int(PasteAreaMode));
    QVERIFY(!child<QAction>(form, "RemoveRoadConnections1")->isChecked());
    QCOMPARE(prompt()->text(), QStringLiteral("Click on upper left of paste area."));
    // Uncaption while pasting leaves the paste alone.
    QTest::mouseClick(CityForm->findChild<QPushButton *>(QStringLiteral("UncaptionBtn")), Qt::LeftButton);
    QCOMPARE(Editor.ClickMode, int(PasteAreaMode));
    QVERIFY(Editor.CommandPending);
}

void EditingTest::sprayIsCutAtTheMapEdge()
{
    showSmallMap();
    testing::PickTile(*TilesForm, 5, 6);
    auto *spray = child<QAction>(form, "SprayCan1");
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("Spray Can"));
    QVERIFY(spray->isChecked());
    QCOMPARE(prompt()->text(), QStringLiteral("Sprayer in Operation"));
    QVERIFY(prompt()->isVisible());
    Editor.SprayDensity = 100;

    testing::ClickHex(*form, 0, 0);
    int painted = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool isPainted = Map.at(TileSet, x, y) == 5;
            painted += isPainted;
            if (x > 3 || y > 3)
                QVERIFY2(!isPainted, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
        }
    QVERIFY(painted >= 12); // each of the 16 hexes of the square with chance 99/100

    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("Spray Can"));
    QVERIFY(!spray->isChecked());
    QVERIFY(!prompt()->isVisible());

    testing::ClickHex(*form, 9, 7);
    QCOMPARE(int(Map.at(TileSet, 9, 7)), 5); // an ordinary paint again

    // Switched on and off while a command collects clicks, the spray gives the command its prompt back.
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("Save Area To ASCII Map"));
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("Spray Can"));
    QCOMPARE(prompt()->text(), QStringLiteral("Sprayer in Operation"));
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("Spray Can"));
    QVERIFY(prompt()->isVisible());
    QCOMPARE(prompt()->text(), QStringLiteral("Click Upper Left"));
}

void EditingTest::sprayDensityOneOrZeroPaintsNothing()
{
    showSmallMap();
    testing::PickTile(*TilesForm, 5, 6);
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("Spray Can"));
    Editor.SprayRadius = 15; // the whole map
    for (const int density : {0, 1}) {
        Editor.SprayDensity = density;
        for (int i = 0; i < 5; ++i)
            testing::ClickHex(*form, 4, 4);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 10; ++x)
                QCOMPARE(int(Map.at(TileSet, x, y)), 0);
    }
}

void EditingTest::spraySettingsChangeOnlyWithOk()
{
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("Spray Can Settings"));
    QTRY_VERIFY(SprayForm->isVisible());
    auto *density = child<QSpinBox>(SprayForm, "DensityUD");
    auto *size = child<QSpinBox>(SprayForm, "SizeUD");
    QCOMPARE(density->value(), 33);
    QCOMPARE(size->value(), 3);
    QCOMPARE(density->minimum(), 0);
    QCOMPARE(density->maximum(), 100);
    QCOMPARE(size->minimum(), 1);
    QCOMPARE(size->maximum(), 15);
    size->setValue(7);
    density->setValue(80);
    SprayForm->close();
    QCOMPARE(Editor.SprayRadius, 3);
    QCOMPARE(Editor.SprayDensity, 33);
    SprayForm->show();
    QTest::mouseClick(child<QPushButton>(SprayForm, "OKBtn"), Qt::LeftButton);
    QCOMPARE(Editor.SprayRadius, 7);
    QCOMPARE(Editor.SprayDensity, 80);
    QVERIFY(!SprayForm->isVisible());
}

void EditingTest::palettePicksAndMovesItsMarker()
{
    const QImage set1 = testing::SyntheticTileSet(1);
    testing::PickTile(*TilesForm, 1, 9);
    const QImage &palette = TilesForm->picture();
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
    // The paint image is the tile at (37, 40)-(85, 80).
    QCOMPARE(form->paintImage(), set1.copy(37, 40, 48, 40));

    testing::PickTile(*TilesForm, 1, 10);
    for (int y = 56; y < 62; ++y)
        for (int x = 58; x < 64; ++x)
            QCOMPARE(palette.pixel(x, y), set1.pixel(x, y)); // the first marker is gone
    QCOMPARE(Editor.CurrentTile, 10);
}

void EditingTest::paletteIgnoresPointsPastTheLastTile()
{
    testing::PickTile(*TilesForm, 0, 3);
    QTest::mouseClick(child<PictureBox>(TilesForm, "TileImage"), Qt::LeftButton, {}, QPoint(310, 420));
    QCOMPARE(Editor.CurrentTile, 3);
}

void EditingTest::choosingTheCurrentSetAgainDoesNothing()
{
    testing::PickTile(*TilesForm, 3, 5);
    QCOMPARE(Editor.CurrentTile, 5);
    QTest::mouseClick(child<QRadioButton>(TilesForm, "RadioGroup1Item3"), Qt::LeftButton);
    QCOMPARE(Editor.CurrentTile, 5);
    QTest::mouseClick(child<QRadioButton>(TilesForm, "RadioGroup1Item4"), Qt::LeftButton);
    QCOMPARE(Editor.CurrentSet, 4);
    QCOMPARE(Editor.CurrentTile, -1);
}

void EditingTest::terrainEditRewritesTheDefaultTerrain()
{
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form));
    testing::ClickMenuItem(*form, QStringLiteral("Tools"), QStringLiteral("Change Default Terrain Type"));
    auto *terrains = child<QComboBox>(TilesForm, "TerrainCBox");
    QVERIFY(TilesForm->isVisible());
    QVERIFY(terrains->isVisible());
    QVERIFY(!child<QGroupBox>(TilesForm, "RadioGroup1")->isVisible());
    QCOMPARE(terrains->count(), 37);
    terrains->setCurrentIndex(31);
    QCOMPARE(terrains->currentText(), QStringLiteral("Deep Ocean"));

    const PixelRect cell = TileRect(5);
    auto *tileImage = child<PictureBox>(TilesForm, "TileImage");
    const QImage before = TilesForm->picture();
    QTest::mouseClick(tileImage, Qt::LeftButton, {}, QPoint(cell.left + 24, cell.top + 20));
    QCOMPARE(Editor.DefaultTerrain[0][5], 'O');
    QCOMPARE(Editor.CurrentTile, -1);
    QCOMPARE(TilesForm->picture(), before); // no marker in terrain-edit mode
    testing::HoverOver(tileImage, QPoint(cell.left + 24, cell.top + 40));
    testing::HoverOver(tileImage, QPoint(cell.left + 24, cell.top + 20));
    QCOMPARE(child<QLabel>(TilesForm, "WhereLbl")->text(), QStringLiteral("#5  Deep Ocean"));

    // Coming back to the main window ends terrain-edit mode.
    TilesForm->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(TilesForm));
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form));
    QVERIFY(!terrains->isVisible());
    QVERIFY(child<QGroupBox>(TilesForm, "RadioGroup1")->isVisible());
}

void EditingTest::hoverLabelsFollowTheMouseInStepsOfTen()
{
    showSmallMap();
    Map.at(Terrain, 2, 1) = 31;
    auto *where = child<QLabel>(form, "WhereLbl");
    const QPoint start = hexCentre(2, 1);
    testing::HoverOver(mapImage, start);
    QCOMPARE(where->text(), QStringLiteral("2,1 Deep Ocean"));
    Map.at(Terrain, 2, 1) = 4;
    testing::HoverOver(mapImage, start + QPoint(10, -10)); // within 10 pixels: unchanged
    QCOMPARE(where->text(), QStringLiteral("2,1 Deep Ocean"));
    testing::HoverOver(mapImage, start + QPoint(0, 11));
    QCOMPARE(where->text(), QStringLiteral("2,1 Clear"));

    auto *tileImage = child<PictureBox>(TilesForm, "TileImage");
    auto *tileWhere = child<QLabel>(TilesForm, "WhereLbl");
    const PixelRect cell = TileRect(17); // set 0, tile 17 holds 'N'; tile 25 below it holds '.'
    testing::HoverOver(tileImage, QPoint(cell.left + 24, cell.bottom - 5));
    QCOMPARE(tileWhere->text(), QStringLiteral("#17  Coast"));
    testing::HoverOver(tileImage, QPoint(cell.left + 24, cell.bottom + 5));
    QCOMPARE(tileWhere->text(), QStringLiteral("#17  Coast"));
    testing::HoverOver(tileImage, QPoint(cell.left + 24, cell.bottom + 6));
    QCOMPARE(tileWhere->text(), QStringLiteral("#25  Tetrahedron"));
}

void EditingTest::newMapLimitsAndFill()
{
    Map.at(RoadLinks, 3, 3) = 0x21;
    Map.at(CityAttr03, 3, 3) = 5;
    Map.at(20, 3, 3) = 0x99;
    const auto answer = [this](const QString &x, const QString &y, bool ok) {
        QTimer::singleShot(0, this, [=, this] {
            auto *xEdit = child<QLineEdit>(InputForm, "XEdit");
            auto *yEdit = child<QLineEdit>(InputForm, "YEdit");
            xEdit->clear();
            QTest::keyClicks(xEdit, x);
            yEdit->clear();
            QTest::keyClicks(yEdit, y);
            QTest::mouseClick(child<QPushButton>(InputForm, ok ? "OKBtn" : "CancelBtn"), Qt::LeftButton);
        });
    };

    answer(QStringLiteral("4"), QStringLiteral("10"), true);
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("New Map"));
    QCOMPARE(dialogs->questions, QStringList{QStringLiteral("New Map Failure: New map must be at least 5x5")});
    QCOMPARE(Map.MapWidth, 72);

    answer(QStringLiteral("ten"), QStringLiteral("10"), true);
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("New Map"));
    QCOMPARE(dialogs->questions.size(), 2);

    answer(QStringLiteral("100"), QStringLiteral("100"), true);
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("New Map"));
    QCOMPARE(Map.MapWidth, 72);
    QCOMPARE(Map.MapHeight, 70);
    QCOMPARE(child<QLabel>(InputForm, "TerrainLbl")->text(), QStringLiteral("Clear")); // tile 1 of set 1
    QCOMPARE(child<QPlainTextEdit>(InputForm, "InfoMemo")->toPlainText(),
             QStringLiteral("Please enter the\nEast-West and North-South\ndimensions of your new map."));
    QCOMPARE(int(Map.at(TileIndex, 71, 69)), 1);
    QCOMPARE(int(Map.at(TileSet, 71, 69)), 1);
    QCOMPARE(int(Map.at(Terrain, 71, 69)), 4);

    testing::PickTile(*TilesForm, 7, 3);
    answer(QStringLiteral("5"), QStringLiteral("6"), true);
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("New Map"));
    QCOMPARE(Map.MapWidth, 5);
    QCOMPARE(Map.MapHeight, 6);
    QCOMPARE(child<QLabel>(form, "MapSizeLbl")->text(), QStringLiteral("5x6"));
    QCOMPARE(int(Map.at(TileSet, 3, 3)), 7);
    QCOMPARE(int(Map.at(TileIndex, 3, 3)), 3);
    QCOMPARE(int(Map.at(Terrain, 3, 3)), DefaultTerrainOf(Editor.DefaultTerrain, 7, 3));
    QCOMPARE(int(Map.at(PlaceIndex, 3, 3)), 255);
    QCOMPARE(int(Map.at(PlaceIndexHigh, 3, 3)), 127);
    QCOMPARE(int(Map.at(CityAttr16, 3, 3)), 255);
    QCOMPARE(int(Map.at(RoadLinks, 3, 3)), 0x21); // planes a new map does not set keep their bytes
    QCOMPARE(int(Map.at(CityAttr03, 3, 3)), 5);
    QCOMPARE(int(Map.at(20, 3, 3)), 0x99);
    QCOMPARE(form->mapPicture().size(), QSize(37 * 5 + 12, 40 * 6 + 20));
    QCOMPARE(centreColour(4, 5), TileColour(7, 3));
    QVERIFY(!child<QAction>(form, "EditPlaceNames1")->isEnabled());
    QVERIFY(!Editor.HomemadeMode);
    QCOMPARE(child<QLineEdit>(InputForm, "XEdit")->text(), QStringLiteral("5")); // kept for next time
}

void EditingTest::newMapCancelledKeepsTheMap()
{
    showSmallMap();
    QTimer::singleShot(0, this, [this] { QTest::mouseClick(child<QPushButton>(InputForm, "CancelBtn"), Qt::LeftButton); });
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("New Map"));
    QCOMPARE(Map.MapWidth, 10);
    QTimer::singleShot(0, this, [] { InputForm->close(); });
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("New Map"));
    QCOMPARE(Map.MapWidth, 10);
    QVERIFY(dialogs->questions.isEmpty());
}

void EditingTest::saveAsBitmapWritesWhatIsShown()
{
    showSmallMap();
    testing::PickTile(*TilesForm, 6, 1);
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
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("Misc"));
    QTRY_VERIFY(MiscForm->isVisible());
    auto *edit = child<QLineEdit>(MiscForm, "BackEdit");
    QCOMPARE(edit->text(), QStringLiteral("0x38b8a0"));
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("255"));
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(Editor.BackgroundColor, ColourValue(255));
    QVERIFY(dialogs->errors.isEmpty());

    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("$FF0000")); // "$" on the way raises nothing
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(Editor.BackgroundColor, ColourValue(0xFF0000));
    QVERIFY(dialogs->errors.isEmpty());

    QTest::keyClick(edit, Qt::Key_End);
    QTest::keyClicks(edit, QStringLiteral("g"));
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(dialogs->errors, QStringList{QStringLiteral("'$FF0000g' is not a valid integer value")});
    QCOMPARE(Editor.BackgroundColor, ColourValue(0xFF0000));

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
