// The Tools menu and the road overlay through the main window: road links, the road-toggle clicks,
// the pattern passes and the conversion window.

#include "test_support.h"

#include "forms/Map.h"
#include "forms/MapCvt.h"
#include "forms/picture_box.h"
#include "forms/windows.h"
#include "model/hex_neighbours.h"
#include "render/road_overlay.h"
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
    const MapStore &map() { return windows->document().map(); }
    // Starts afresh from the map that change makes of the current one.
    void restart(const std::function<void(MapContent &)> &change);

    std::unique_ptr<testing::ScriptedDialogs> dialogs;
    std::unique_ptr<VantorWindows> windows;
    TMapForm *form = nullptr;
};

void ToolCommandsTest::init()
{
    dialogs = std::make_unique<testing::ScriptedDialogs>();
    windows = std::make_unique<VantorWindows>();
    form = &windows->main();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
    restart([](MapContent &content) {
        MapStore &map = content.map;
        map.MapWidth = 9;
        map.MapHeight = 7;
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 9; ++x) {
                map.at(TileSet, x, y) = 1; // jungle: no road
                map.at(Terrain, x, y) = 7;
            }
        // A road along row 3 from column 2 to column 5.
        for (int x = 2; x <= 5; ++x)
            map.at(Terrain, x, 3) = 2;
    });
}

void ToolCommandsTest::restart(const std::function<void(MapContent &)> &change)
{
    auto content = std::make_unique<MapContent>(windows->document().content());
    change(*content);
    windows->document().start(*content);
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
    auto expected = std::make_unique<MapStore>(map());
    ClearRoadConnections(*expected);
    MakeRoadConnections(*expected);
    QVERIFY(map().bytes == expected->bytes);
    QVERIFY(map().at(RoadLinks, 3, 3) != 0);
    QCOMPARE(int(map().at(RoadLinks, 0, 0)), 0);
    QCOMPARE(form->mapPicture(), before); // data only: nothing is drawn

    testing::ClickMenuItem(*form, QStringLiteral("Tools"), QStringLiteral("Clear Road Connections"));
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 9; ++x)
            QCOMPARE(int(map().at(RoadLinks, x, y)), 0);
}

void ToolCommandsTest::overlayIsDrawnAndRemovedByARedraw()
{
    testing::ClickMenuItem(*form, QStringLiteral("Tools"), QStringLiteral("Make Road Connections"));
    const QImage before = form->mapPicture();
    testing::ClickMenuItem(*form, QStringLiteral("Options"), QStringLiteral("Show Road Connections"));
    QImage expected = before;
    DrawRoadOverlay(map(), expected);
    QCOMPARE(form->mapPicture(), expected);
    QVERIFY(testing::CountColour(form->mapPicture(), Yellow) > testing::CountColour(before, Yellow));

    testing::ClickMenuItem(*form, QStringLiteral("Options"), QStringLiteral("Show Road Connections"));
    QCOMPARE(form->mapPicture(), before);
}

// The toggle draws nothing itself: with the overlay shown, the picture is the full redraw with it.
void ToolCommandsTest::roadToggleClicksFlipTheLink()
{
    const QImage plain = form->mapPicture();
    testing::ClickMenuItem(*form, QStringLiteral("Options"), QStringLiteral("Show Road Connections"));
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("Toggle Road Connections"));
    testing::ClickHex(*form, 4, 2);
    testing::ClickHex(*form, 4, 3); // south of (4, 2)
    QCOMPARE(int(map().at(RoadLinks, 4, 2)), int(LinkS));
    QCOMPARE(int(map().at(RoadLinks, 4, 3)), int(LinkN));
    QImage expected = plain;
    DrawRoadOverlay(map(), expected);
    QCOMPARE(form->mapPicture(), expected);
    QCOMPARE(form->mapPicture().pixel(HexCentre({4, 2}) + QPoint(0, 10)), Yellow);

    testing::ClickHex(*form, 4, 3);
    testing::ClickHex(*form, 4, 2); // the same pair again removes it
    QCOMPARE(int(map().at(RoadLinks, 4, 2)), 0);
    QCOMPARE(int(map().at(RoadLinks, 4, 3)), 0);
    QCOMPARE(form->mapPicture(), plain);

    // A pair with a click beside the map changes nothing.
    const auto unchanged = std::make_unique<MapStore>(map());
    testing::ClickHex(*form, 8, 3);
    QTest::mouseClick(form->findChild<PictureBox *>(QStringLiteral("MapImage")), Qt::LeftButton, {},
                      QPoint(37 * 9 + 9, 40 * 3 + 30));
    QVERIFY(map().bytes == unchanged->bytes);
    QCOMPARE(form->findChild<QLabel *>(QStringLiteral("PromptPanel"))->text(), QStringLiteral("Road Toggle: Click 1st Tile"));
}

void ToolCommandsTest::passesRunFromTheToolsMenu()
{
    // An island of clear land in deep ocean gets its coast, and roads and rivers their shapes.
    const DefaultTerrainTable &terrain = windows->settings().defaultTerrain;
    restart([&](MapContent &content) {
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 9; ++x) {
                const bool land = x >= 3 && x <= 5 && y >= 2 && y <= 4;
                content.map.at(TileSet, x, y) = land ? 1 : 5;
                content.map.at(TileIndex, x, y) = 0;
                content.map.at(Terrain, x, y) = std::uint8_t(DefaultTerrainOf(terrain, land ? 1 : 5, 0));
            }
    });
    form->tools().paint().setPick({2, 6});
    auto expected = std::make_unique<MapStore>(map());
    MakeCoastline(*expected, terrain);
    testing::ClickMenuItem(*form, QStringLiteral("Tools"), QStringLiteral("Make Coastline"));
    QVERIFY(map().bytes == expected->bytes);

    MakeRoads(*expected, terrain);
    testing::ClickMenuItem(*form, QStringLiteral("Tools"), QStringLiteral("Make Roads"));
    QVERIFY(map().bytes == expected->bytes);

    MakeRivers(*expected, terrain);
    testing::ClickMenuItem(*form, QStringLiteral("Tools"), QStringLiteral("Make Rivers"));
    QVERIFY(map().bytes == expected->bytes);
    QCOMPARE(form->findChild<QLabel *>(QStringLiteral("MapSizeLbl"))->text(), QStringLiteral("9x7"));
    // A pass keeps the palette's pick.
    QCOMPARE(form->tools().paint().pick(), (TilePick{2, 6}));
}

// Opening the converter changes nothing: only its Convert button changes the map.
void ToolCommandsTest::convertBitmapOpensTheConverter()
{
    restart([](MapContent &content) { content.tables.homemade = true; });
    const auto before = std::make_unique<MapStore>(map());
    testing::ClickMenuItem(*form, QStringLiteral("Tools"), QStringLiteral("Convert Bitmap"));
    QTRY_VERIFY(form->mapConvert().isVisible());
    QCOMPARE(form->mapConvert().windowTitle(), QStringLiteral("Map Converter"));
    QVERIFY(windows->document().tables().homemade);
    QVERIFY(form->findChild<QAction *>(QStringLiteral("EditPlaceNames1"))->isEnabled());
    QVERIFY(form->findChild<QAction *>(QStringLiteral("CopyPlaceName1"))->isEnabled());
    QVERIFY(map().bytes == before->bytes);
    QVERIFY(!windows->document().isModified());
}

QTEST_MAIN(ToolCommandsTest)
#include "tst_tool_commands.moc"
