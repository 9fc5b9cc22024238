// The chrome round the map: the overview's frame of the main view, pressing and dragging on the
// overview, the overview following edits, the status bar, the tool bar and its keys, and the
// options kept between runs.

#include "test_support.h"

#include "forms/Map.h"
#include "forms/Strat.h"
#include "forms/map_status_bar.h"
#include "forms/map_zoom.h"
#include "forms/picture_box.h"
#include "forms/windows.h"
#include "model/geometry.h"
#include "model/zoom_levels.h"
#include "render/strategic_map.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QToolBar>

using namespace vantor;

namespace {

void Start(VantorWindows &windows, const MapStore &map, const MapTables &tables = {})
{
    auto content = std::make_unique<MapContent>();
    content->map = map;
    content->tables = tables;
    windows.document().start(*content);
}

// Ocean icons hold no red, which the view's frame is drawn in.
std::unique_ptr<MapStore> OceanMap(int width, int height)
{
    auto map = testing::BlankMap(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            map->at(Terrain, x, y) = 31;
    return map;
}

QPointF PictureCentreOf(const QRect &hexRect) { return QRectF(hexRect).center(); }

// Where the main view's middle lies on the picture, worked out from the scroll bars alone.
QPointF ViewCentre(TMapForm &form)
{
    QScrollArea &box = form.mapScrollBox();
    const double scale = form.findChild<PictureBox *>(QStringLiteral("MapImage"))->scale();
    const QSize view = box.viewport()->size();
    return QPointF(box.horizontalScrollBar()->value() + view.width() / 2.0,
                   box.verticalScrollBar()->value() + view.height() / 2.0)
        / scale;
}

bool Near(QPointF a, QPointF b, double slack) { return std::abs(a.x() - b.x()) <= slack && std::abs(a.y() - b.y()) <= slack; }

const QRgb Red = qRgb(255, 0, 0);

} // namespace

class OverviewAndStatusTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); } // the settings are not the user's
    void init();
    void cleanup() { windows.reset(); }

    void overviewRedrawsOnlyTheChangedHexesAsAFullDrawWould();
    void overviewPointsMapToThePictureClampedPerAxis();
    void viewFrameFollowsScrollZoomAndWindowSize();
    void pressAndDragOnTheOverviewCentreTheMainView();
    void statusBarNamesTheHexUnderThePointer();
    void statusBarShowsZoomToolAndSelection();
    void toolBarActionsAndTheirKeys();
    void shapeWhilePaintingAndToolBarAreKeptBetweenRuns();

private:
    void showMain();
    void showOverview();
    TStratForm &strat() { return form->stratForm(); }
    QAction *action(const char *name) { return form->findChild<QAction *>(QLatin1String(name)); }

    testing::ScriptedDialogs dialogs;
    std::unique_ptr<VantorWindows> windows;
    TMapForm *form = nullptr;
};

void OverviewAndStatusTest::init()
{
    windows = std::make_unique<VantorWindows>();
    form = &windows->main();
}

void OverviewAndStatusTest::showMain()
{
    form->resize(700, 600);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
}

void OverviewAndStatusTest::showOverview()
{
    strat().show();
    QVERIFY(QTest::qWaitForWindowExposed(&strat()));
}

void OverviewAndStatusTest::overviewRedrawsOnlyTheChangedHexesAsAFullDrawWould()
{
    const StrategicIcons icons = LoadStrategicIcons();
    // Random terrains: many name no icon, so squares turn white as well as take icons.
    auto map = testing::RandomMap(72, 70, 11);
    QImage picture = DrawStrategicMap(*map, icons);
    const std::vector<HexCoord> changed = {{0, 0}, {1, 0}, {71, 69}, {70, 69}, {35, 34}, {36, 0}, {0, 69}};
    map->at(Terrain, 0, 0) = 200;  // the frame shows again under a square without an icon
    map->at(Terrain, 71, 69) = 200;
    map->at(Terrain, 1, 0) = 22;
    map->at(Terrain, 70, 69) = 31;
    map->at(Terrain, 35, 34) = 5;
    map->at(Terrain, 36, 0) = 200;
    map->at(Terrain, 0, 69) = 25;
    DrawStrategicHexes(picture, *map, icons, changed);
    QCOMPARE(picture, DrawStrategicMap(*map, icons));

    // Only the squares of the hexes named are drawn; a hex off the map is passed over.
    QImage canvas = testing::Canvas(StrategicMapSize, StrategicMapSize, qRgb(1, 2, 3)).convertToFormat(QImage::Format_RGB32);
    auto small = testing::BlankMap(10, 8);
    DrawStrategicHexes(canvas, *small, icons, {{3, 2}, {12, 2}, {3, 9}});
    QCOMPARE(testing::CountColour(canvas, qRgb(1, 2, 3)), StrategicMapSize * StrategicMapSize - 36);
    QVERIFY(canvas.pixel(18, 15) != qRgb(1, 2, 3) && canvas.pixel(23, 20) != qRgb(1, 2, 3)); // odd column: 3 lower
    QCOMPARE(canvas.pixel(18, 14), qRgb(1, 2, 3));

    // The window follows every step, its undo and a new map, with no activation.
    Start(*windows, *testing::BlankMap(20, 15));
    QCOMPARE(strat().picture(), DrawStrategicMap(windows->document().map(), icons));
    windows->document().edit(QStringLiteral("Hills"), [](MapContent &content) {
        content.map.at(Terrain, 4, 3) = 21;
        content.map.at(Terrain, 19, 14) = 200;
    });
    QVERIFY(!strat().isVisible());
    QCOMPARE(strat().picture(), DrawStrategicMap(windows->document().map(), icons));
    windows->document().history().undo();
    QCOMPARE(strat().picture(), DrawStrategicMap(windows->document().map(), icons));
    Start(*windows, *map);
    QCOMPARE(strat().picture(), DrawStrategicMap(*map, icons));
}

void OverviewAndStatusTest::overviewPointsMapToThePictureClampedPerAxis()
{
    auto map = testing::BlankMap(10, 8);
    QCOMPARE(MapPicturePointAt({12, 30}, *map), QPointF(74, 200)); // 37/6 across, 40/6 down
    // Past the right edge only x is held back, past the bottom only y.
    QCOMPARE(MapPicturePointAt({400, 30}, *map), QPointF(MapPictureWidth(10), 200));
    QCOMPARE(MapPicturePointAt({12, 400}, *map), QPointF(74, MapPictureHeight(8)));
    QCOMPARE(MapPicturePointAt({-5, -5}, *map), QPointF(0, 0));
    QCOMPARE(StrategicAreaOf(QRectF(74, 200, 370, 400)), QRectF(12, 30, 60, 60));
}

void OverviewAndStatusTest::viewFrameFollowsScrollZoomAndWindowSize()
{
    showMain();
    Start(*windows, *OceanMap(72, 70));
    showOverview();
    QScrollArea &box = form->mapScrollBox();
    MapZoom &zoom = *form->findChild<MapZoom *>();
    const auto expectedFrame = [&] {
        const double scale = zoom.zoom();
        const QSize view = box.viewport()->size();
        return QRectF(box.horizontalScrollBar()->value() / scale * 6 / 37, box.verticalScrollBar()->value() / scale * 6 / 40,
                      view.width() / scale * 6 / 37, view.height() / scale * 6 / 40);
    };
    const auto frameIsExpected = [&] {
        const QRectF frame = strat().viewFrame();
        const QRectF expected = expectedFrame();
        return Near(frame.topLeft(), expected.topLeft(), 0.5) && Near(frame.bottomRight(), expected.bottomRight(), 0.5);
    };
    QVERIFY(frameIsExpected());
    QCOMPARE(strat().viewFrame().topLeft(), QPointF(0, 0));

    box.horizontalScrollBar()->setValue(740);
    box.verticalScrollBar()->setValue(800);
    QVERIFY(frameIsExpected());
    QVERIFY(Near(strat().viewFrame().topLeft(), QPointF(120, 120), 0.01));

    const double width = strat().viewFrame().width();
    zoom.setZoom(2);
    QVERIFY(frameIsExpected());
    QVERIFY(std::abs(strat().viewFrame().width() - width / 2) < 0.5);

    form->resize(900, 700);
    QTRY_VERIFY(std::abs(strat().viewFrame().width() - width / 2) > 1);
    QVERIFY(frameIsExpected());

    // Drawn in red over the overview, the saved picture left as it was.
    auto *image = strat().findChild<PictureBox *>(QStringLiteral("StratImage"));
    const QRectF frame = strat().viewFrame();
    const QImage shown = image->grab().toImage();
    const int middleY = int(frame.center().y());
    QCOMPARE(shown.pixel(int(frame.left()) + 1, middleY), Red);
    QVERIFY(shown.pixel(int(frame.center().x()), middleY) != Red);
    QCOMPARE(strat().picture(), DrawStrategicMap(windows->document().map(), LoadStrategicIcons()));
}

void OverviewAndStatusTest::pressAndDragOnTheOverviewCentreTheMainView()
{
    showMain();
    Start(*windows, *testing::BlankMap(72, 70));
    showOverview();
    QScrollArea &box = form->mapScrollBox();
    QScrollBar *horizontal = box.horizontalScrollBar();
    QScrollBar *vertical = box.verticalScrollBar();
    auto *image = strat().findChild<PictureBox *>(QStringLiteral("StratImage"));

    QTest::mouseClick(image, Qt::LeftButton, {}, QPoint(180, 210));
    QVERIFY(Near(ViewCentre(*form), QPointF(180 * 37 / 6.0, 210 * 40 / 6.0), 1));

    // At 200 % the same point lands in the middle too.
    form->findChild<MapZoom *>()->setZoom(2);
    QTest::mousePress(image, Qt::LeftButton, {}, QPoint(100, 120));
    QVERIFY(Near(ViewCentre(*form), QPointF(100 * 37 / 6.0, 120 * 40 / 6.0), 1));
    QTest::mouseMove(image, QPoint(150, 200));
    QVERIFY(Near(ViewCentre(*form), QPointF(150 * 37 / 6.0, 200 * 40 / 6.0), 1));
    QTest::mouseRelease(image, Qt::LeftButton, {}, QPoint(150, 200));
    // A move with no button held leaves the view where it is.
    const QPointF held = ViewCentre(*form);
    testing::HoverOver(image, QPoint(20, 20));
    QCOMPARE(ViewCentre(*form), held);

    // The corners: as far as the picture goes, each axis on its own.
    QTest::mouseClick(image, Qt::LeftButton, {}, QPoint(2, 2));
    QCOMPARE(horizontal->value(), 0);
    QCOMPARE(vertical->value(), 0);
    QTest::mouseClick(image, Qt::RightButton, {}, QPoint(428, 150));
    QCOMPARE(horizontal->value(), horizontal->maximum());
    QVERIFY(Near(ViewCentre(*form), QPointF(ViewCentre(*form).x(), 150 * 40 / 6.0), 1));
    QVERIFY(vertical->value() > 0 && vertical->value() < vertical->maximum());
}

void OverviewAndStatusTest::statusBarNamesTheHexUnderThePointer()
{
    auto map = testing::BlankMap(12, 9);
    map->at(TileSet, 3, 2) = 1;
    map->at(TileIndex, 3, 2) = 9;
    map->at(Terrain, 3, 2) = 22;
    map->at(PlaceIndex, 3, 2) = 4;
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 12; ++x)
            if (x != 3 || y != 2)
                map->at(PlaceIndex, x, y) = 255;
    MapTables tables;
    tables.places.setCell(PlaceTable::NameColumn, 5, QStringLiteral("Wewak"));
    tables.homemade = true;
    showMain();
    Start(*windows, *map, tables);
    auto *image = form->findChild<PictureBox *>(QStringLiteral("MapImage"));
    auto *hexStatus = form->findChild<QLabel *>(QStringLiteral("HexStatus"));
    QVERIFY(hexStatus);
    QCOMPARE(hexStatus->text(), QStringLiteral("off map"));

    const QRect hexRect(HexRect(2 * 12 + 3, 12).left, HexRect(2 * 12 + 3, 12).top, 48, 40);
    testing::HoverOver(image, image->toWidget(PictureCentreOf(hexRect)).toPoint());
    QCOMPARE(hexStatus->text(), QStringLiteral("3,2  set 1 tile 9  Mountain, Wewak"));
    // The hover label names the same place.
    QVERIFY(form->findChild<QLabel *>(QStringLiteral("WhereLbl"))->text().endsWith(QStringLiteral("Mountain, Wewak")));
    // A message on the bar hides none of it.
    form->mapStatusBar().showMessage(QStringLiteral("Saved"));
    QVERIFY(hexStatus->isVisible());

    // A step shows at once, the pointer still.
    windows->document().edit(QStringLiteral("Hills"), [](MapContent &content) { content.map.at(Terrain, 3, 2) = 21; });
    QCOMPARE(hexStatus->text(), QStringLiteral("3,2  set 1 tile 9  Hill, Wewak"));

    testing::HoverOver(image, image->toWidget(QPointF(HexRect(8, 12).left + 24, HexRect(8, 12).top + 20)).toPoint());
    QCOMPARE(hexStatus->text(), QStringLiteral("8,0  set 0 tile 0  Inland City"));
    // The right margin is past the last column, and leaving the picture is off the map.
    testing::HoverOver(image, image->toWidget(QPointF(MapPictureWidth(12) - 3, 30)).toPoint());
    QCOMPARE(hexStatus->text(), QStringLiteral("off map"));
    testing::HoverOver(image, image->toWidget(PictureCentreOf(hexRect)).toPoint());
    QVERIFY(hexStatus->text().startsWith(QStringLiteral("3,2")));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(image, &leave);
    QCOMPARE(hexStatus->text(), QStringLiteral("off map"));

    // A smaller map leaves the hex shown before off it.
    testing::HoverOver(image, image->toWidget(PictureCentreOf(hexRect)).toPoint());
    Start(*windows, *testing::BlankMap(5, 5));
    QCOMPARE(hexStatus->text(), QStringLiteral("3,2  set 0 tile 0  Inland City"));
    Start(*windows, *testing::BlankMap(3, 3));
    QCOMPARE(hexStatus->text(), QStringLiteral("off map"));
}

void OverviewAndStatusTest::statusBarShowsZoomToolAndSelection()
{
    showMain();
    Start(*windows, *testing::BlankMap(30, 20));
    const auto text = [this](const char *label) { return form->findChild<QLabel *>(QLatin1String(label))->text(); };
    QCOMPARE(text("ZoomStatus"), QStringLiteral("100 %"));
    action("ZoomOut1")->trigger();
    QCOMPARE(text("ZoomStatus"), QStringLiteral("%1 %").arg(std::lround(ZoomedOut(1) * 100)));
    QVERIFY(text("ZoomStatus") != QStringLiteral("100 %"));
    action("ActualSize1")->trigger();
    QCOMPARE(text("ZoomStatus"), QStringLiteral("100 %"));

    MapStatusBar &bar = form->mapStatusBar();
    bar.showTool(QStringLiteral("Brush"), 7);
    QCOMPARE(text("ToolStatus"), QStringLiteral("Brush 7"));
    bar.showTool(QStringLiteral("Rectangle Select"), 0);
    QCOMPARE(text("ToolStatus"), QStringLiteral("Rectangle Select"));
    bar.showSelection(12);
    QCOMPARE(text("SelectionStatus"), QStringLiteral("Selection: 12 hexes"));
    bar.showSelection(1);
    QCOMPARE(text("SelectionStatus"), QStringLiteral("Selection: 1 hex"));
    bar.showSelection(0);
    QCOMPARE(text("SelectionStatus"), QString());
    QVERIFY(form->findChild<QLabel *>(QStringLiteral("SelectionStatus"))->isHidden());
}

void OverviewAndStatusTest::toolBarActionsAndTheirKeys()
{
    showMain();
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form));
    auto *toolBar = form->findChild<QToolBar *>(QStringLiteral("ToolBar1"));
    QVERIFY(toolBar && toolBar->isVisible());

    const std::pair<const char *, Qt::Key> tools[] = {{"BrushTool1", Qt::Key_B}, {"FillTool1", Qt::Key_F},
                                                      {"RectSelectTool1", Qt::Key_R}, {"MagicWandTool1", Qt::Key_W},
                                                      {"SameTileTool1", Qt::Key_S}};
    for (const auto &[name, key] : tools) {
        QAction *tool = action(name);
        QVERIFY2(tool && tool->isCheckable() && toolBar->actions().contains(tool), name);
        QVERIFY2(!tool->icon().pixmap(24).isNull(), name);
        QVERIFY2(tool->toolTip().contains(QStringLiteral("(%1)").arg(QKeySequence(key).toString())), name);
        QVERIFY(tool->actionGroup()->isExclusive());
    }
    QVERIFY(action("BrushTool1")->isChecked());

    // Each key takes up its tool, with the tool bar shown or hidden.
    for (const bool shown : {true, false}) {
        toolBar->setVisible(shown);
        for (const auto &[name, key] : tools) {
            QTest::keyClick(form, key);
            QVERIFY2(action(name)->isChecked(), name);
        }
    }
    toolBar->show();
    QSignalSpy larger(action("BrushLarger1"), &QAction::triggered);
    QSignalSpy smaller(action("BrushSmaller1"), &QAction::triggered);
    QTest::keyClick(form, Qt::Key_BracketRight);
    QTest::keyClick(form, Qt::Key_BracketLeft);
    QTest::keyClick(form, Qt::Key_BracketLeft);
    QCOMPARE(larger.count() * 10 + smaller.count(), 12);

    // A text field with the focus keeps its letters.
    auto *field = new QLineEdit(form->centralWidget());
    field->show();
    field->setFocus();
    QTRY_VERIFY(field->hasFocus());
    QTest::keyClicks(field, QStringLiteral("bfrws[]"));
    QCOMPARE(field->text(), QStringLiteral("bfrws[]"));
    QVERIFY(action("SameTileTool1")->isChecked());
    QCOMPARE(larger.count() * 10 + smaller.count(), 12);
    delete field;

    QComboBox &sizes = form->brushSizeBox();
    QCOMPARE(sizes.objectName(), QStringLiteral("BrushSizeBox"));
    QStringList items;
    for (int i = 0; i < sizes.count(); ++i)
        items << sizes.itemText(i) + QLatin1Char('=') + sizes.itemData(i).toString();
    QCOMPARE(items, QStringList({"1=1", "7=7", "19=19", "37=37"}));
    QVERIFY(toolBar->isAncestorOf(&sizes) && sizes.isVisible());

    const QKeySequence copy = action("Copy1")->shortcut();
    QCOMPARE(copy, QKeySequence(QKeySequence::Copy));
    QCOMPARE(action("SelectNone1")->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A));
}

void OverviewAndStatusTest::shapeWhilePaintingAndToolBarAreKeptBetweenRuns()
{
    windows.reset();
    QSettings().remove(QStringLiteral("shapeWhilePainting"));
    QSettings().remove(QStringLiteral("toolBarShown"));
    for (int run = 0; run < 3; ++run) {
        VantorWindows editor;
        TMapForm &main = editor.main();
        auto *shape = main.findChild<QAction *>(QStringLiteral("ShapeWhilePainting1"));
        auto *toolBar = main.findChild<QToolBar *>(QStringLiteral("ToolBar1"));
        // Off and shown on the first start; each run finds what the last one left.
        const bool changed = run % 2 == 1;
        QCOMPARE(shape->isChecked(), changed);
        QCOMPARE(editor.settings().shapeWhilePainting, changed);
        QCOMPARE(toolBar->isHidden(), changed);
        testing::ClickMenuItem(main, QStringLiteral("Options"), QStringLiteral("Shape While Painting"));
        QCOMPARE(editor.settings().shapeWhilePainting, !changed);
        QCOMPARE(ReadShapeWhilePainting(), !changed);
        testing::ClickMenuItem(main, QStringLiteral("View"), QStringLiteral("Tool Bar"));
        QCOMPARE(toolBar->isHidden(), !changed);
        QCOMPARE(ReadToolBarShown(), changed);
    }
    StoreToolBarShown(true);
    StoreShapeWhilePainting(false);
}

QTEST_MAIN(OverviewAndStatusTest)
#include "tst_overview_and_status.moc"
