// The Tools menu and the road overlay through the main window: road links, the road-toggle clicks,
// the pattern passes and the conversion window.

#include "test_support.h"

#include "forms/Map.h"
#include "forms/MapCvt.h"
#include "forms/picture_box.h"
#include "forms/windows.h"
#include "model/editor_state.h"
#include "model/geometry.h"
#include "tools/pattern_passes.h"
#include "tools/road_links.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

using namespace vantor;

namespace {

const QRgb Yellow = qRgb(255, 255, 0);
const QRgb Red = qRgb(255, 0, 0);

} // namespace

class ToolCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void makeAndClearRoadConnections();
    void overlayIsDrawnAndRemovedByARedraw();
    void roadToggleClicksFlipTheLink();
    void passesRunFromTheToolsMenu();
    void convertBitmapOpensTheConverter();

private:

    std::unique_ptr<testing::ScriptedDialogs> dialogs;
    std::unique_ptr<VantorWindows> windows;
    TMapForm *form = nullptr;
};

void ToolCommandsTest::init()
{
    Map = MapStore{};
    Editor = EditorState{};
    Map.MapWidth = 9;
    Map.MapHeight = 7;
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 9; ++x) {
            Map.at(TileSet, x, y) = 1; // jungle: no road
            Map.at(Terrain, x, y) = 7;
        }
    // A road along row 3 from column 2 to column 5.
    for (int x = 2; x <= 5; ++x)
        Map.at(Terrain, x, 3) = 2;
    dialogs = std::make_unique<testing::ScriptedDialogs>();
    windows = std::make_unique<VantorWindows>();
    form = &windows->main();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
    form->RefreshMapImage();
}

void ToolCommandsTest::cleanup()
{
    windows.reset();
    dialogs.reset();
}

void ToolCommandsTest::makeAndClearRoadConnections()
{
    const QImage before = form->mapPicture();
    testing::ClickMenuItem(*form, QStringLiteral("Tools"), QStringLiteral("Make Road Connections"));
    auto expected = std::make_unique<MapStore>(Map);
    ClearRoadConnections(*expected);
    MakeRoadConnections(*expected);
    QVERIFY(Map.bytes == expected->bytes);
    QVERIFY(Map.at(RoadLinks, 3, 3) != 0);
    QCOMPARE(int(Map.at(RoadLinks, 0, 0)), 0);
    QCOMPARE(form->mapPicture(), before); // data only: nothing is drawn

    testing::ClickMenuItem(*form, QStringLiteral("Tools"), QStringLiteral("Clear Road Connections"));
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 9; ++x)
            QCOMPARE(int(Map.at(RoadLinks, x, y)), 0);
}

void ToolCommandsTest::overlayIsDrawnAndRemovedByARedraw()
{
    testing::ClickMenuItem(*form, QStringLiteral("Tools"), QStringLiteral("Make Road Connections"));
    const QImage before = form->mapPicture();
    testing::ClickMenuItem(*form, QStringLiteral("Options"), QStringLiteral("Show Road Connections"));
    QImage expected = before;
    DrawRoadOverlay(Map, expected);
    QCOMPARE(form->mapPicture(), expected);
    QVERIFY(testing::CountColour(form->mapPicture(), Yellow) > testing::CountColour(before, Yellow));

    testing::ClickMenuItem(*form, QStringLiteral("Options"), QStringLiteral("Show Road Connections"));
    QCOMPARE(form->mapPicture(), before);
}

void ToolCommandsTest::roadToggleClicksFlipTheLink()
{
    testing::ClickMenuItem(*form, QStringLiteral("Options"), QStringLiteral("Show Road Connections"));
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("Toggle Road Connections"));
    const std::uint8_t before = Map.at(RoadLinks, 4, 2);
    testing::ClickHex(*form, 4, 2);
    testing::ClickHex(*form, 4, 3); // south of (4, 2)
    QVERIFY(Map.at(RoadLinks, 4, 2) != before);
    QCOMPARE(int(Map.at(RoadLinks, 4, 2)), int(LinkS));
    QCOMPARE(int(Map.at(RoadLinks, 4, 3)), int(LinkN));
    QCOMPARE(form->mapPicture().pixel(HexCentre({4, 2}) + QPoint(0, 20)), Yellow);

    testing::ClickHex(*form, 4, 3);
    testing::ClickHex(*form, 4, 2); // the same pair again removes it, in red
    QCOMPARE(int(Map.at(RoadLinks, 4, 2)), 0);
    QCOMPARE(int(Map.at(RoadLinks, 4, 3)), 0);
    QCOMPARE(form->mapPicture().pixel(HexCentre({4, 2}) + QPoint(0, 20)), Red);

    // A pair with a click beside the map changes nothing.
    const auto unchanged = std::make_unique<MapStore>(Map);
    testing::ClickHex(*form, 8, 3);
    QTest::mouseClick(form->findChild<PictureBox *>(QStringLiteral("MapImage")), Qt::LeftButton, {},
                      QPoint(37 * 9 + 9, 40 * 3 + 30));
    QVERIFY(Map.bytes == unchanged->bytes);
    QCOMPARE(form->findChild<QLabel *>(QStringLiteral("PromptPanel"))->text(), QStringLiteral("Road Toggle: Click 1st Tile"));
}

void ToolCommandsTest::passesRunFromTheToolsMenu()
{
    // An island of clear land in deep ocean gets its coast, and roads and rivers their shapes.
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 9; ++x) {
            const bool land = x >= 3 && x <= 5 && y >= 2 && y <= 4;
            Map.at(TileSet, x, y) = land ? 1 : 5;
            Map.at(TileIndex, x, y) = 0;
            Map.at(Terrain, x, y) = std::uint8_t(DefaultTerrainOf(Editor.DefaultTerrain, land ? 1 : 5, 0));
        }
    auto expected = std::make_unique<MapStore>(Map);
    MakeCoastline(*expected, Editor.DefaultTerrain);
    testing::ClickMenuItem(*form, QStringLiteral("Tools"), QStringLiteral("Make Coastline"));
    QVERIFY(Map.bytes == expected->bytes);

    MakeRoads(*expected, Editor.DefaultTerrain);
    testing::ClickMenuItem(*form, QStringLiteral("Tools"), QStringLiteral("Make Roads"));
    QVERIFY(Map.bytes == expected->bytes);

    MakeRivers(*expected, Editor.DefaultTerrain);
    testing::ClickMenuItem(*form, QStringLiteral("Tools"), QStringLiteral("Make Rivers"));
    QVERIFY(Map.bytes == expected->bytes);
    QCOMPARE(form->findChild<QLabel *>(QStringLiteral("MapSizeLbl"))->text(), QStringLiteral("9x7"));
}

void ToolCommandsTest::convertBitmapOpensTheConverter()
{
    Editor.HomemadeMode = true;
    form->findChild<QAction *>(QStringLiteral("EditPlaceNames1"))->setEnabled(true);
    form->findChild<QAction *>(QStringLiteral("CopyPlaceName1"))->setEnabled(true);
    testing::ClickMenuItem(*form, QStringLiteral("Tools"), QStringLiteral("Convert Bitmap"));
    QTRY_VERIFY(MapConvert->isVisible());
    QCOMPARE(MapConvert->windowTitle(), QStringLiteral("Map Converter"));
    QVERIFY(!Editor.HomemadeMode);
    QVERIFY(!form->findChild<QAction *>(QStringLiteral("EditPlaceNames1"))->isEnabled());
    QVERIFY(!form->findChild<QAction *>(QStringLiteral("CopyPlaceName1"))->isEnabled());
}

QTEST_MAIN(ToolCommandsTest)
#include "tst_tool_commands.moc"
