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
#include "render/strategic_map.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>
#include <QToolBar>

#include <algorithm>

using namespace vantor;

namespace {

void Start(VantorWindows &windows, const MapStore &map, const MapTables &tables = {})
{
    auto content = std::make_unique<MapContent>();
    content->map = map;
    content->tables = tables;
    windows.document().start(*content);
}

bool Near(QPointF a, QPointF b, double slack) { return std::abs(a.x() - b.x()) <= slack && std::abs(a.y() - b.y()) <= slack; }

} // namespace

class OverviewAndStatusTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); } // the settings are not the user's
    void init()
    {
        windows = std::make_unique<VantorWindows>();
        form = &windows->main();
        form->resize(700, 600);
    }
    void cleanup() { windows.reset(); }

    void overviewRedrawsOnlyTheChangedHexesAsAFullDrawWould();
    void viewFrameFollowsTheMainViewAndPressAndDragMoveIt();
    void statusBarShowsTheHexUnderThePointerZoomAndSelection();
    void toolBarActionsTheirKeysAndTheToolShown();
    void shapeWhilePaintingAndToolBarAreKeptBetweenRuns();

private:
    TStratForm &strat() { return form->stratForm(); }
    QAction *action(const char *name) { return form->findChild<QAction *>(QLatin1String(name)); }
    QString label(const char *name) { return form->findChild<QLabel *>(QLatin1String(name))->text(); }

    testing::ScriptedDialogs dialogs;
    std::unique_ptr<VantorWindows> windows;
    TMapForm *form = nullptr;
};

void OverviewAndStatusTest::overviewRedrawsOnlyTheChangedHexesAsAFullDrawWould()
{
    const StrategicIcons icons = LoadStrategicIcons();
    // Random terrains: many name no icon, so squares turn white as well as take icons; terrain 200
    // on a corner shows the frame again. A hex below the last row is passed over.
    auto map = testing::RandomMap(72, 60, 11);
    QImage picture = DrawStrategicMap(*map, icons);
    const std::vector<HexCoord> changed = {{0, 0}, {1, 0}, {71, 59}, {70, 59}, {35, 34}, {36, 0}, {0, 59}, {5, 60}};
    const int terrains[] = {200, 22, 200, 31, 5, 200, 25, 22};
    for (size_t i = 0; i < changed.size(); ++i)
        map->at(Terrain, changed[i].x, changed[i].y) = terrains[i];
    DrawStrategicHexes(picture, *map, icons, changed);
    QCOMPARE(picture, DrawStrategicMap(*map, icons));

    // Only the squares of the hexes named are drawn, nor any past the map's width.
    const QRgb ground = qRgb(1, 2, 3);
    QImage canvas = testing::Canvas(StrategicMapSize, StrategicMapSize, ground).convertToFormat(QImage::Format_RGB32);
    DrawStrategicHexes(canvas, *testing::BlankMap(10, 8), icons, {{3, 2}, {12, 2}});
    QCOMPARE(testing::CountColour(canvas, ground), StrategicMapSize * StrategicMapSize - 36);

    // The window follows every step, its undo and a new map, while hidden.
    Start(*windows, *testing::BlankMap(20, 15));
    const auto followsDocument = [&] { return strat().picture() == DrawStrategicMap(windows->document().map(), icons); };
    windows->document().edit(QStringLiteral("Hills"), [](MapContent &content) {
        content.map.at(Terrain, 4, 3) = 21;
        content.map.at(Terrain, 19, 14) = 200;
    });
    QVERIFY(!strat().isVisible() && followsDocument());
    windows->document().history().undo();
    QVERIFY(followsDocument());
    Start(*windows, *map);
    QVERIFY(followsDocument());
}

void OverviewAndStatusTest::viewFrameFollowsTheMainViewAndPressAndDragMoveIt()
{
    // 37 x 40 picture pixels to a 6 x 6 icon, clamped to the picture: past the right edge only x
    // is held back, past the bottom only y.
    auto small = testing::BlankMap(10, 8);
    QCOMPARE(MapPicturePointAt({12, 30}, *small), QPointF(74, 200));
    QCOMPARE(MapPicturePointAt({400, 30}, *small), QPointF(MapPictureWidth(10), 200));
    QCOMPARE(MapPicturePointAt({12, 400}, *small), QPointF(74, MapPictureHeight(8)));
    QCOMPARE(MapPicturePointAt({-5, -5}, *small), QPointF(0, 0));

    // Ocean icons hold no red, which the view's frame is drawn in.
    auto map = testing::BlankMap(72, 70);
    std::fill_n(&map->at(Terrain, 0, 0), PlaneSize, 31);
    form->show();
    Start(*windows, *map);
    strat().show();
    QVERIFY(QTest::qWaitForWindowExposed(form) && QTest::qWaitForWindowExposed(&strat()));
    QScrollArea &box = form->mapScrollBox();
    MapZoom &zoom = *form->findChild<MapZoom *>();
    const auto frameIsExpected = [&] {
        const QPointF corner(box.horizontalScrollBar()->value(), box.verticalScrollBar()->value());
        const QRectF shown(corner / zoom.zoom(), QSizeF(box.viewport()->size()) / zoom.zoom());
        const QRectF frame = strat().viewFrame(), expected = StrategicAreaOf(shown);
        return Near(frame.topLeft(), expected.topLeft(), 0.5) && Near(frame.bottomRight(), expected.bottomRight(), 0.5);
    };
    QVERIFY(frameIsExpected());
    box.horizontalScrollBar()->setValue(740);
    box.verticalScrollBar()->setValue(800);
    QVERIFY(Near(strat().viewFrame().topLeft(), QPointF(120, 120), 0.01) && frameIsExpected());
    zoom.setZoom(2);
    QVERIFY(frameIsExpected());
    const double width = strat().viewFrame().width();
    form->resize(900, 700);
    QTRY_VERIFY(strat().viewFrame().width() > width + 1);
    QVERIFY(frameIsExpected());

    // Drawn in red over the overview, the saved picture left as it was.
    const QRectF frame = strat().viewFrame();
    auto *image = strat().findChild<PictureBox *>(QStringLiteral("StratImage"));
    const QImage shown = image->grab().toImage();
    QCOMPARE(shown.pixel(int(frame.left()) + 1, int(frame.center().y())), qRgb(255, 0, 0));
    QVERIFY(shown.pixel(frame.center().toPoint()) != qRgb(255, 0, 0));
    QCOMPARE(strat().picture(), DrawStrategicMap(windows->document().map(), LoadStrategicIcons()));

    // A press or a drag centres the main view where it points, at 200 % too; a move with no
    // button held leaves it. The frame, checked against the scroll bars above, shows where.
    QTest::mousePress(image, Qt::LeftButton, {}, QPoint(100, 120));
    QVERIFY(Near(strat().viewFrame().center(), QPointF(100, 120), 0.3));
    QTest::mouseMove(image, QPoint(150, 200));
    QVERIFY(Near(strat().viewFrame().center(), QPointF(150, 200), 0.3));
    QTest::mouseRelease(image, Qt::LeftButton, {}, QPoint(150, 200));
    testing::HoverOver(image, QPoint(20, 20));
    QVERIFY(Near(strat().viewFrame().center(), QPointF(150, 200), 0.3) && frameIsExpected());

    // The corners: as far as the picture goes, each axis on its own; any button will do.
    QTest::mouseClick(image, Qt::LeftButton, {}, QPoint(2, 2));
    QCOMPARE(box.horizontalScrollBar()->value() + box.verticalScrollBar()->value(), 0);
    QTest::mouseClick(image, Qt::RightButton, {}, QPoint(428, 150));
    QCOMPARE(box.horizontalScrollBar()->value(), box.horizontalScrollBar()->maximum());
    QVERIFY(std::abs(strat().viewFrame().center().y() - 150) < 0.3);
}

void OverviewAndStatusTest::statusBarShowsTheHexUnderThePointerZoomAndSelection()
{
    auto map = testing::BlankMap(12, 9);
    std::fill_n(&map->at(PlaceIndex, 0, 0), PlaneSize, 255); // no place but the one below
    map->at(TileSet, 3, 2) = 1;
    map->at(TileIndex, 3, 2) = 9;
    map->at(Terrain, 3, 2) = 22;
    map->at(PlaceIndex, 3, 2) = 4;
    MapTables tables;
    tables.places.setCell(PlaceTable::NameColumn, 5, QStringLiteral("Wewak"));
    tables.homemade = true;
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
    Start(*windows, *map, tables);
    auto *image = form->findChild<PictureBox *>(QStringLiteral("MapImage"));
    const auto hover = [image](int x, int y) {
        const PixelRect r = HexRect(y * StoreColumns + x, StoreColumns);
        testing::HoverOver(image, image->toWidget(QPointF(r.left + 24, r.top + 20)).toPoint());
    };
    QCOMPARE(label("HexStatus"), QStringLiteral("off map"));

    hover(3, 2); // an odd column
    QCOMPARE(label("HexStatus"), QStringLiteral("3,2  set 1 tile 9  Mountain, Wewak"));
    // A message on the bar hides none of it, and a step shows at once, the pointer still.
    form->mapStatusBar().showMessage(QStringLiteral("Saved"));
    QVERIFY(form->findChild<QLabel *>(QStringLiteral("HexStatus"))->isVisible());
    windows->document().edit(QStringLiteral("Hills"), [](MapContent &content) { content.map.at(Terrain, 3, 2) = 21; });
    QCOMPARE(label("HexStatus"), QStringLiteral("3,2  set 1 tile 9  Hill, Wewak"));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(image, &leave);
    QCOMPARE(label("HexStatus"), QStringLiteral("off map"));

    hover(8, 0);
    QCOMPARE(label("HexStatus"), QStringLiteral("8,0  set 0 tile 0  Inland City"));
    // The right margin is past the last column.
    testing::HoverOver(image, image->toWidget(QPointF(MapPictureWidth(12) - 3, 30)).toPoint());
    QCOMPARE(label("HexStatus"), QStringLiteral("off map"));

    // A smaller map leaves the hex shown before off it.
    hover(3, 2);
    Start(*windows, *testing::BlankMap(5, 5));
    QCOMPARE(label("HexStatus"), QStringLiteral("3,2  set 0 tile 0  Inland City"));
    Start(*windows, *testing::BlankMap(3, 3));
    QCOMPARE(label("HexStatus"), QStringLiteral("off map"));

    QCOMPARE(label("ZoomStatus"), QStringLiteral("100 %"));
    action("ZoomOut1")->trigger();
    QCOMPARE(label("ZoomStatus"), QStringLiteral("75 %"));

    MapStatusBar &bar = form->mapStatusBar();
    bar.showSelection(12);
    QCOMPARE(label("SelectionStatus"), QStringLiteral("Selection: 12 hexes"));
    bar.showSelection(1);
    QCOMPARE(label("SelectionStatus"), QStringLiteral("Selection: 1 hex"));
    bar.showSelection(0);
    QVERIFY(form->findChild<QLabel *>(QStringLiteral("SelectionStatus"))->isHidden());
}

void OverviewAndStatusTest::toolBarActionsTheirKeysAndTheToolShown()
{
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form));
    auto *toolBar = form->findChild<QToolBar *>(QStringLiteral("ToolBar1"));
    QComboBox &sizes = form->brushSizeBox();
    QVERIFY(toolBar->isVisible() && toolBar->isAncestorOf(&sizes) && sizes.isVisible());
    QStringList items;
    for (int i = 0; i < sizes.count(); ++i)
        items << sizes.itemText(i) + QLatin1Char('=') + sizes.itemData(i).toString();
    QCOMPARE(items, QStringList({"1=1", "7=7", "19=19", "37=37"}));

    const std::pair<const char *, Qt::Key> tools[] = {{"BrushTool1", Qt::Key_B}, {"FillTool1", Qt::Key_F},
                                                      {"RectSelectTool1", Qt::Key_R}, {"MagicWandTool1", Qt::Key_W},
                                                      {"SameTileTool1", Qt::Key_S}};
    QVERIFY(action("BrushTool1")->isChecked() && label("ToolStatus") == QStringLiteral("Brush 1"));
    // Each key takes up its tool, with the tool bar shown or hidden; each tool's button names its key.
    for (const bool shown : {true, false}) {
        toolBar->setVisible(shown);
        for (const auto &[name, key] : tools) {
            QAction *tool = action(name);
            QTest::keyClick(form, key);
            QVERIFY2(tool->isChecked() && tool->actionGroup()->isExclusive() && toolBar->actions().contains(tool), name);
            QVERIFY2(!tool->icon().pixmap(24).isNull()
                         && tool->toolTip().contains(QStringLiteral("(%1)").arg(QKeySequence(key).toString())),
                     name);
        }
    }
    toolBar->show();
    QCOMPARE(label("ToolStatus"), QStringLiteral("Select Same Tile"));
    QTest::keyClick(form, Qt::Key_B);
    QTest::keyClick(form, Qt::Key_BracketRight);
    QCOMPARE(label("ToolStatus"), QStringLiteral("Brush 7"));
    QCOMPARE(sizes.currentText(), QStringLiteral("7"));
    QTest::keyClick(form, Qt::Key_BracketLeft);
    QCOMPARE(label("ToolStatus"), QStringLiteral("Brush 1"));

    // A text field with the focus keeps its letters.
    auto field = std::make_unique<QLineEdit>(form->centralWidget());
    field->show();
    field->setFocus();
    QTRY_VERIFY(field->hasFocus());
    QTest::keyClicks(field.get(), QStringLiteral("bfrws[]"));
    QCOMPARE(field->text(), QStringLiteral("bfrws[]"));
    QCOMPARE(label("ToolStatus"), QStringLiteral("Brush 1"));

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
        auto *toolBar = main.findChild<QToolBar *>(QStringLiteral("ToolBar1"));
        // Off and shown on the first start; each run finds what the last one left.
        const bool changed = run % 2 == 1;
        QCOMPARE(main.findChild<QAction *>(QStringLiteral("ShapeWhilePainting1"))->isChecked(), changed);
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
