// The map tools without windows: what each click of painting, spray, Shift copy, restore, the area
// commands and the name tools makes of the document, the prompts that guide them, and the hand-over
// between tools.

#include "test_support.h"

#include "files/ascii_map_file.h"
#include "model/geometry.h"
#include "model/hex_cube.h"
#include "model/hex_regions.h"
#include "tools/map_tools.h"
#include "tools/place_names.h"

#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace vantor;

namespace {

// Answers the tools' questions from queues and records what they showed.
class FakeHost final : public ToolHost {
public:
    QStringList saveFiles;  // empty queue: cancelled
    QStringList pasteFiles; // empty queue: cancelled
    bool overwrite = false;
    QStringList asked;
    QList<LoadResult> loadProblems;
    QStringList shown; // informs and errors

    QString askAreaFileToSave() override { return next(saveFiles, QStringLiteral("save")); }
    QString askAreaFileToPaste() override { return next(pasteFiles, QStringLiteral("paste")); }
    bool confirmOverwrite(const QString &path) override
    {
        asked << QStringLiteral("overwrite ") + QFileInfo(path).fileName();
        return overwrite;
    }
    void showLoadProblem(const LoadResult &result) override { loadProblems << result; }
    void inform(const QString &caption, const QString &text) override { shown << caption + QStringLiteral(": ") + text; }
    void showError(const QString &text) override { shown << text; }

private:
    QString next(QStringList &queue, const QString &what)
    {
        asked << what;
        return queue.isEmpty() ? QString() : queue.takeFirst();
    }
};

MapPointer At(int x, int y, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers modifiers = {})
{
    const PixelRect cell = HexRect(y * StoreColumns + x, StoreColumns);
    return {QPoint(cell.left + 24, cell.top + 20), HexCoord{x, y}, button, modifiers, HexCoord{x, y}};
}

// What the window hands the tools for a press and release in one place.
void Click(MapTool &tool, const MapPointer &pointer)
{
    tool.press(pointer);
    tool.release(pointer);
    tool.click(pointer);
}

// A pointer beside the map.
MapPointer Beside() { return {QPoint(-5, -5), std::nullopt, Qt::LeftButton, {}, HexCoord{-1, -1}}; }

// A 10 x 8 map of set 0, tile 0, no places, whose hexes differ in their terrain.
MapContent SmallMap()
{
    MapContent content;
    content.map = *testing::BlankMap(10, 8);
    for (int x = 0; x < 10; ++x)
        for (int y = 0; y < 8; ++y) {
            content.map.at(Terrain, x, y) = std::uint8_t(x + y);
            content.map.at(PlaceIndex, x, y) = 255;
            content.map.at(PlaceIndexHigh, x, y) = 127;
        }
    return content;
}

// The hexes whose bytes differ between two maps.
std::vector<HexCoord> Changed(const MapStore &a, const MapStore &b)
{
    std::vector<HexCoord> hexes;
    for (int x = 0; x < StoreColumns; ++x)
        for (int y = 0; y < StoreRows; ++y)
            if (ReadHex(a, x, y) != ReadHex(b, x, y))
                hexes.push_back({x, y});
    return hexes;
}

} // namespace

class MapToolsTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void paintNeedsAPickAndEachClickIsOneStep();
    void sprayIsOneStepCutAtTheMapsEdge();
    void shiftLeftAnchorsAndShiftRightCopies();
    void rightClickRestoresTheLastPaintOfThisMap();
    void saveAreaTakesTwoCornersThenAFile();
    void saveAreaFailuresTurnRedAndTheNextClickEnds();
    void pasteAreaTakesACornerThenAFile();
    void copyPlaceNameCopiesUntilAShiftClick();
    void cityCaptionCaptionsAndShowsItsError();
    void selectPutsDownTheToolInUse();

    void strokesPaintEveryHexOnThePointersPathAsOneStep();
    void brushesOfEverySizeAreCutAtTheMapsEdges();
    void ctrlClickPicksTheTileOfAHex();
    void fillsTheJoinedRegionWithinTheSelection();
    void selectionsAddAndTakeAwayAndAreNoSteps();
    void escapeEndsTheDragThenTheTool();

private:
    // Starts the document afresh from content: the hexes painted since are the ones that differ.
    void startWith(const MapContent &content)
    {
        started = content.map;
        document->start(content);
    }
    HexSet Painted()
    {
        HexSet hexes;
        for (const HexCoord hex : Changed(map(), started))
            hexes.insert(hex);
        return hexes;
    }
    MapStore started = SmallMap().map;

    const MapStore &map() { return document->map(); }
    QString undoText() { return document->history().undoText(); }

    QTemporaryDir work;
    std::unique_ptr<MapDocument> document;
    std::unique_ptr<EditorSettings> settings;
    std::unique_ptr<FakeHost> host;
    std::unique_ptr<MapTools> tools;
};

void MapToolsTest::init()
{
    document = std::make_unique<MapDocument>();
    document->start(SmallMap());
    settings = std::make_unique<EditorSettings>();
    host = std::make_unique<FakeHost>();
    tools = std::make_unique<MapTools>(*document, *settings, *host);
}

void MapToolsTest::cleanup()
{
    tools.reset();
    host.reset();
    settings.reset();
    document.reset();
}

void MapToolsTest::paintNeedsAPickAndEachClickIsOneStep()
{
    PaintTool &paint = tools->paint();
    Click(paint, At(2, 3));
    QCOMPARE(paint.prompt(), QStringLiteral("Pick a tile in the Tiles window"));
    QCOMPARE(document->history().count(), 0);

    QSignalSpy picked(&paint, &PaintTool::pickChanged);
    paint.setPick({4, 9});
    paint.setPick({4, 9});
    QCOMPARE(picked.count(), 1);
    Click(paint, At(2, 3));
    QCOMPARE(paint.prompt(), QString());
    QCOMPARE(document->history().count(), 1);
    QCOMPARE(undoText(), QStringLiteral("Paint"));
    QCOMPARE(int(map().at(TileSet, 2, 3)), 4);
    QCOMPARE(int(map().at(TileIndex, 2, 3)), 9);
    QCOMPARE(int(map().at(Terrain, 2, 3)), DefaultTerrainOf(settings->defaultTerrain, 4, 9));
    QCOMPARE(Changed(map(), SmallMap().map), (std::vector<HexCoord>{{2, 3}}));

    // A Shift click or a click beside the map paints nothing.
    Click(paint, At(5, 5, Qt::LeftButton, Qt::ShiftModifier));
    Click(paint, Beside());
    QCOMPARE(document->history().count(), 1);
}

void MapToolsTest::sprayIsOneStepCutAtTheMapsEdge()
{
    PaintTool &paint = tools->paint();
    paint.setPick({3, 2});
    paint.setSpraying(true);
    settings->sprayDensity = 101; // every hex of the square
    Click(paint, At(1, 6));
    QCOMPARE(document->history().count(), 1);
    QCOMPARE(undoText(), QStringLiteral("Spray"));
    std::vector<HexCoord> square;
    for (int x = 0; x <= 4; ++x)
        for (int y = 3; y <= 7; ++y)
            square.push_back({x, y});
    QCOMPARE(Changed(map(), SmallMap().map), square);

    // Thinner spray: the same seed sprays the same hexes, none outside the square.
    document->history().undo();
    settings->sprayDensity = 40;
    paint.seedSpray(11);
    Click(paint, At(1, 6));
    const std::vector<HexCoord> sprayed = Changed(map(), SmallMap().map);
    QVERIFY(!sprayed.empty() && sprayed.size() < square.size());
    for (const HexCoord hex : sprayed)
        QVERIFY(std::find(square.begin(), square.end(), hex) != square.end());
    document->history().undo();
    paint.seedSpray(11);
    Click(paint, At(1, 6));
    QCOMPARE(Changed(map(), SmallMap().map), sprayed);
    QCOMPARE(document->history().count(), 1);
}

void MapToolsTest::shiftLeftAnchorsAndShiftRightCopies()
{
    PaintTool &paint = tools->paint();
    paint.press(At(7, 2, Qt::LeftButton, Qt::ShiftModifier));
    QCOMPARE(document->history().count(), 0);
    paint.press(At(3, 5, Qt::RightButton, Qt::ShiftModifier));
    QCOMPARE(undoText(), QStringLiteral("Copy Hex"));
    QCOMPARE(int(map().at(Terrain, 3, 5)), 9);
    QCOMPARE(Changed(map(), SmallMap().map), (std::vector<HexCoord>{{3, 5}}));
    // A Shift press beside the map moves no anchor and copies nowhere.
    paint.press({QPoint(-5, -5), std::nullopt, Qt::LeftButton, Qt::ShiftModifier, HexCoord{-1, -1}});
    paint.press({QPoint(-5, -5), std::nullopt, Qt::RightButton, Qt::ShiftModifier, HexCoord{-1, -1}});
    QCOMPARE(document->history().count(), 1);
    paint.press(At(0, 0, Qt::RightButton, Qt::ShiftModifier));
    QCOMPARE(int(map().at(Terrain, 0, 0)), 9);
}

void MapToolsTest::rightClickRestoresTheLastPaintOfThisMap()
{
    PaintTool &paint = tools->paint();
    paint.setPick({6, 1});
    Click(paint, At(4, 4));
    paint.press(At(8, 8, Qt::RightButton));
    QCOMPARE(undoText(), QStringLiteral("Restore Hex"));
    QVERIFY(Changed(map(), SmallMap().map).empty());

    // A map started or opened since forgets it.
    Click(paint, At(4, 4));
    document->start(SmallMap());
    paint.press(At(4, 4, Qt::RightButton));
    QCOMPARE(document->history().count(), 0);
    const QString file = work.filePath(QStringLiteral("restore.map"));
    QCOMPARE(document->save(file).outcome, LoadResult::Complete);
    Click(paint, At(4, 4));
    QCOMPARE(document->open(file).outcome, LoadResult::Complete);
    paint.press(At(4, 4, Qt::RightButton));
    QCOMPARE(document->history().count(), 0);
    QCOMPARE(int(map().at(TileSet, 4, 4)), 0);
}

void MapToolsTest::saveAreaTakesTwoCornersThenAFile()
{
    const QString file = work.filePath(QStringLiteral("area.amf"));
    host->saveFiles = {file};
    tools->select(ClickMode::SaveArea);
    SaveAreaTool &tool = tools->saveArea();
    QCOMPARE(tool.prompt(), QStringLiteral("Click Upper Left"));
    QCOMPARE(tool.promptColour(), PromptLime);
    tool.click(Beside());
    QCOMPARE(tool.prompt(), QStringLiteral("Click Upper Left"));
    tool.click(At(1, 2));
    QCOMPARE(tool.prompt(), QStringLiteral("Now click on lower right"));
    tool.click(At(4, 3));
    QCOMPARE(host->asked, QStringList{QStringLiteral("save")});
    QCOMPARE(tools->mode(), ClickMode::Paint);
    QCOMPARE(testing::Contents(file), EncodeAsciiArea(map(), 1, 2, 5, 4));
    QCOMPARE(document->history().count(), 0);

    // An existing file is written only when the user agrees.
    host->saveFiles = {file};
    tools->select(ClickMode::SaveArea);
    tool.click(At(0, 0));
    tool.click(At(2, 2));
    QCOMPARE(host->asked.last(), QStringLiteral("overwrite area.amf"));
    QCOMPARE(testing::Contents(file), EncodeAsciiArea(map(), 1, 2, 5, 4));
    QCOMPARE(tools->mode(), ClickMode::Paint);
}

void MapToolsTest::saveAreaFailuresTurnRedAndTheNextClickEnds()
{
    SaveAreaTool &tool = tools->saveArea();
    QSignalSpy finished(&tool, &MapTool::finished);
    tools->select(ClickMode::SaveArea);
    tool.click(At(5, 5));
    tool.click(At(3, 3)); // above and left of the first corner
    QCOMPARE(tool.prompt(), QStringLiteral("Invalid area. Click map to abort."));
    QCOMPARE(tool.promptColour(), PromptRed);
    QVERIFY(host->asked.isEmpty());
    QCOMPARE(tools->mode(), ClickMode::SaveArea);
    tool.click(At(6, 6));
    QCOMPARE(finished.count(), 1);
    QCOMPARE(tools->mode(), ClickMode::Paint);

    tools->select(ClickMode::SaveArea);
    tool.click(At(1, 1));
    tool.click(At(2, 2)); // the file dialog is cancelled
    QCOMPARE(tool.prompt(), QStringLiteral("No save. Click map to abort."));
    QCOMPARE(tool.promptColour(), PromptRed);
    tool.click(Beside());
    QCOMPARE(tools->mode(), ClickMode::Paint);
    QCOMPARE(host->asked, QStringList{QStringLiteral("save")});
}

void MapToolsTest::pasteAreaTakesACornerThenAFile()
{
    PasteAreaTool &tool = tools->pasteArea();
    tools->select(ClickMode::PasteArea);
    QCOMPARE(tool.prompt(), QStringLiteral("Click on upper left of paste area."));
    tool.click(Beside());
    QVERIFY(host->asked.isEmpty());
    tool.click(At(2, 2)); // cancelled
    QCOMPARE(tool.prompt(), QStringLiteral("Paste aborted. Click map to continue."));
    QCOMPARE(tool.promptColour(), PromptRed);
    tool.click(At(2, 2));
    QCOMPARE(host->asked, QStringList{QStringLiteral("paste")});
    QCOMPARE(tools->mode(), ClickMode::Paint);

    const auto area = testing::RandomMap(3, 2, 4);
    const QString file = work.filePath(QStringLiteral("paste.amf"));
    testing::Write(file, EncodeAsciiArea(*area, 0, 0, 3, 2));
    host->pasteFiles = {file};
    tools->select(ClickMode::PasteArea);
    tool.click(At(6, 5));
    QCOMPARE(tools->mode(), ClickMode::Paint);
    QCOMPARE(document->history().count(), 1);
    QCOMPARE(undoText(), QStringLiteral("Paste"));
    for (const Plane plane : {TileSet, TileIndex, Terrain, RoadLinks})
        QCOMPARE(map().at(plane, 8, 6), area->at(plane, 2, 1));
    QVERIFY(host->loadProblems.isEmpty());

    // A file that cannot be pasted is shown, and is no step.
    testing::Write(file, "not a map");
    host->pasteFiles = {file};
    tools->select(ClickMode::PasteArea);
    tool.click(At(0, 0));
    QCOMPARE(host->loadProblems.size(), 1);
    QVERIFY(host->loadProblems.first().outcome != LoadResult::Complete);
    QCOMPARE(document->history().count(), 1);
    QCOMPARE(tools->mode(), ClickMode::Paint);
}

void MapToolsTest::copyPlaceNameCopiesUntilAShiftClick()
{
    document->edit(QStringLiteral("Place"), [](MapContent &c) { SetPlaceReference(c.map, {3, 3}, 300); });
    CopyPlaceNameTool &tool = tools->copyPlaceName();
    tools->select(ClickMode::CopyPlaceName);
    QCOMPARE(tool.prompt(), QStringLiteral("Click on name to Copy."));
    tool.click(At(1, 1)); // no place there
    QCOMPARE(tool.prompt(), QStringLiteral("Click on name to Copy."));
    tool.click(At(3, 3));
    QCOMPARE(tool.prompt(), QStringLiteral("Click destination(s). Shift click to exit"));
    tool.click(At(5, 1));
    tool.click(At(6, 2));
    QCOMPARE(document->history().count(), 3);
    QCOMPARE(undoText(), QStringLiteral("Copy Place Name"));
    QCOMPARE(PlaceReferenceOf(map(), {5, 1}), 300);
    QCOMPARE(PlaceReferenceOf(map(), {6, 2}), 300);
    tool.click(At(7, 7, Qt::LeftButton, Qt::ShiftModifier));
    QCOMPARE(PlaceReferenceOf(map(), {7, 7}), NoPlace);
    QCOMPARE(tools->mode(), ClickMode::Paint);
}

void MapToolsTest::cityCaptionCaptionsAndShowsItsError()
{
    document->edit(QStringLiteral("Cities"), [](MapContent &c) {
        for (int row = 1; row <= 2; ++row) {
            c.tables.cities.setCell(CityTable::NameColumn, row, QStringLiteral("City %1").arg(row));
            for (const int column : {CityTable::Attr03Column, CityTable::Attr04Column, CityTable::Attr16Column})
                c.tables.cities.setCell(column, row, QString::number(column * 10));
        }
        c.tables.cities.setCell(CityTable::Attr04Column, 2, QStringLiteral("high"));
    });
    CityCaptionTool &tool = tools->cityCaption();
    tools->select(ClickMode::CityCaption);
    QVERIFY(tool.prompt().startsWith(QStringLiteral("City Caption")));
    tool.click(At(2, 2)); // nothing chosen yet
    QCOMPARE(document->history().count(), 1);

    tool.choose(CityCaptionTool::Action::Caption, 1);
    tool.click(At(2, 2));
    QCOMPARE(undoText(), QStringLiteral("City Caption"));
    QCOMPARE(int(map().at(PlaceIndex, 2, 2)), 0);
    QCOMPARE(int(map().at(CityAttr16, 2, 2)), CityTable::Attr16Column * 10);
    QCOMPARE(document->tables().cities.cell(CityTable::XColumn, 1), QStringLiteral("2"));

    // An attribute that is no number stops the caption with the place written, and says why.
    tool.choose(CityCaptionTool::Action::Caption, 2);
    tool.click(At(4, 4));
    QCOMPARE(host->shown, QStringList{QStringLiteral("'high' is not a valid integer value")});
    QCOMPARE(int(map().at(PlaceIndex, 4, 4)), 1);
    QCOMPARE(document->history().count(), 3);

    tool.choose(CityCaptionTool::Action::Clear, 1);
    tool.click(At(2, 2));
    QCOMPARE(PlaceReferenceOf(map(), {2, 2}), NoPlace);
    QCOMPARE(document->tables().cities.cell(CityTable::XColumn, 1), QString());
}

void MapToolsTest::selectPutsDownTheToolInUse()
{
    QSignalSpy modes(tools.get(), &MapTools::modeChanged);
    QSignalSpy prompts(tools.get(), &MapTools::promptChanged);
    QCOMPARE(tools->mode(), ClickMode::Paint);
    tools->select(ClickMode::SaveArea);
    tools->saveArea().click(At(1, 1));
    QCOMPARE(&tools->current(), static_cast<MapTool *>(&tools->saveArea()));

    tools->select(ClickMode::CityCaption);
    QCOMPARE(modes.count(), 2);
    QCOMPARE(modes.last().at(0).value<ClickMode>(), ClickMode::SaveArea);
    QCOMPARE(modes.last().at(1).value<ClickMode>(), ClickMode::CityCaption);
    QSignalSpy actions(&tools->cityCaption(), &CityCaptionTool::actionChanged);
    tools->cityCaption().choose(CityCaptionTool::Action::Caption, 1);
    // A prompt of a tool not in use is not the window's.
    const int promptsBefore = int(prompts.count());
    tools->saveArea().start();
    QCOMPARE(prompts.count(), promptsBefore);

    tools->select(ClickMode::Paint);
    QCOMPARE(actions.count(), 2);
    QCOMPARE(tools->cityCaption().action(), CityCaptionTool::Action::None);
    QCOMPARE(modes.count(), 3);
    QVERIFY(prompts.count() > promptsBefore);

    // The area command starts again from its first corner.
    tools->select(ClickMode::SaveArea);
    QCOMPARE(tools->saveArea().prompt(), QStringLiteral("Click Upper Left"));
    tools->saveArea().click(At(2, 2));
    QCOMPARE(tools->saveArea().prompt(), QStringLiteral("Now click on lower right"));
    // Taking up the tool in use again starts it afresh, without a change of mode.
    tools->select(ClickMode::SaveArea);
    QCOMPARE(tools->saveArea().prompt(), QStringLiteral("Click Upper Left"));
    QCOMPARE(modes.count(), 4);
}

// However far the pointer jumps between two moves, the stroke takes every hex between, each a
// neighbour of the last; the whole stroke, also where it leaves the map and comes back, is one step.
void MapToolsTest::strokesPaintEveryHexOnThePointersPathAsOneStep()
{
    PaintTool &paint = tools->paint();
    paint.setPick({4, 9});
    tools->press(At(1, 1));
    tools->move(At(8, 6));
    tools->move(At(8, 6));
    MapPointer beyond = At(9, 2);
    beyond.nearHex = {13, 2};
    beyond.hex.reset();
    tools->move(beyond);
    tools->move(At(9, 0));
    tools->release(At(9, 0));
    HexSet expected;
    for (const auto &[from, to] : {std::pair{HexCoord{1, 1}, HexCoord{8, 6}}, std::pair{HexCoord{8, 6}, HexCoord{13, 2}},
                                   std::pair{HexCoord{13, 2}, HexCoord{9, 0}}})
        for (const HexCoord hex : HexLine(from, to))
            if (IsOnMap(map(), hex.x, hex.y))
                expected.insert(hex);
    QCOMPARE(Painted(), expected);
    QCOMPARE(document->history().count(), 1);
    QCOMPARE(undoText(), QStringLiteral("Paint"));

    // The next stroke is a step of its own, even when its first hex changes nothing.
    tools->press(At(1, 1));
    tools->move(At(1, 3));
    tools->release(At(1, 3));
    QCOMPARE(document->history().count(), 2);
    document->history().undo();
    QCOMPARE(Painted(), expected);
    document->history().undo();
    QVERIFY(Painted().empty());
    // A move without a press paints nothing.
    tools->move(At(5, 5));
    QCOMPARE(document->history().count(), 2);
}

void MapToolsTest::brushesOfEverySizeAreCutAtTheMapsEdges()
{
    PaintTool &paint = tools->paint();
    paint.setPick({4, 9});
    QSignalSpy brushes(&paint, &PaintTool::brushChanged);
    for (int radius = 0; radius <= LargestBrushRadius; ++radius) {
        paint.setBrushRadius(radius);
        for (const HexCoord centre : {HexCoord{0, 0}, HexCoord{9, 7}, HexCoord{5, 0}, HexCoord{4, 4}}) {
            Click(paint, At(centre.x, centre.y));
            QCOMPARE(Painted(), BrushHexes(map(), centre, radius));
            tools->move(At(centre.x, centre.y));
            QCOMPARE(paint.preview().outline, BrushHexes(map(), centre, radius));
            document->history().undo();
        }
    }
    // The sizes stop at both ends.
    paint.setBrushRadius(9);
    QCOMPARE(paint.brushRadius(), LargestBrushRadius);
    paint.setBrushRadius(-1);
    QCOMPARE(paint.brushRadius(), 0);
    QCOMPARE(brushes.count(), 4); // 1, 2, 3 and back to 0: the clamped 9 changed nothing
}

void MapToolsTest::ctrlClickPicksTheTileOfAHex()
{
    MapContent content = SmallMap();
    content.map.at(TileSet, 3, 3) = 7;
    content.map.at(TileIndex, 3, 3) = 12;
    startWith(content);
    for (const ClickMode mode : {ClickMode::Paint, ClickMode::Fill}) {
        tools->select(mode);
        tools->paint().setPick({});
        tools->press(At(3, 3, Qt::LeftButton, Qt::ControlModifier));
        tools->release(At(3, 3, Qt::LeftButton, Qt::ControlModifier));
        tools->click(At(3, 3, Qt::LeftButton, Qt::ControlModifier));
        QCOMPARE(tools->paint().pick(), (TilePick{7, 12}));
        QCOMPARE(document->history().count(), 0);
    }
}

void MapToolsTest::fillsTheJoinedRegionWithinTheSelection()
{
    MapContent content = SmallMap();
    // A ring of tile 5 splits the map into its inside and its outside.
    const HexSet ring = [] {
        MapStore whole;
        HexSet hexes = BrushHexes(whole, {5, 4}, 2);
        hexes -= BrushHexes(whole, {5, 4}, 1);
        return hexes;
    }();
    for (const HexCoord hex : ring.hexes())
        content.map.at(TileIndex, hex.x, hex.y) = 5;
    startWith(content);
    tools->paint().setPick({4, 9});
    tools->select(ClickMode::Fill);
    FillTool &fill = tools->fill();
    Click(fill, At(5, 4));
    QCOMPARE(Painted(), BrushHexes(map(), {5, 4}, 1));
    QCOMPARE(undoText(), QStringLiteral("Fill"));
    QCOMPARE(int(map().at(Terrain, 5, 4)), DefaultTerrainOf(settings->defaultTerrain, 4, 9));
    document->history().undo();

    // Outside the ring: everything else of tile 0, reached round the ring through both parities.
    Click(fill, At(0, 0));
    HexSet outside = WholeMap(map());
    outside -= BrushHexes(map(), {5, 4}, 2);
    QCOMPARE(Painted(), outside);
    QCOMPARE(document->history().count(), 1);
    document->history().undo();

    // Within a selection the fill keeps to it; Shift fills the whole selection.
    const HexSet top = HexRectangle(map(), {0, 0}, {9, 2});
    tools->selection().set(top);
    Click(fill, At(0, 0));
    HexSet topOutside = top;
    topOutside -= BrushHexes(map(), {5, 4}, 2);
    QCOMPARE(Painted(), topOutside);
    document->history().undo();
    Click(fill, At(0, 0, Qt::LeftButton, Qt::ShiftModifier));
    QCOMPARE(Painted(), top);
    QCOMPARE(document->history().count(), 1);
    document->history().undo();
    Click(fill, At(5, 6)); // outside the selection
    QCOMPARE(document->history().count(), 1);
    // The brush keeps to the selection too.
    tools->select(ClickMode::Paint);
    tools->paint().setBrushRadius(3);
    Click(tools->paint(), At(3, 2));
    HexSet brushed = BrushHexes(map(), {3, 2}, 3);
    brushed &= top;
    QCOMPARE(Painted(), brushed);
}

void MapToolsTest::selectionsAddAndTakeAwayAndAreNoSteps()
{
    MapSelection &selection = tools->selection();
    tools->select(ClickMode::RectangleSelect);
    tools->press(At(1, 1));
    tools->move(At(2, 2));
    tools->move(At(3, 3));
    tools->release(At(3, 3));
    QCOMPARE(selection.hexes(), HexRectangle(map(), {1, 1}, {3, 3}));
    tools->press(At(6, 5, Qt::LeftButton, Qt::ShiftModifier));
    tools->move(At(8, 6));
    tools->release(At(8, 6));
    HexSet both = HexRectangle(map(), {1, 1}, {3, 3});
    both |= HexRectangle(map(), {6, 5}, {8, 6});
    QCOMPARE(selection.hexes(), both);

    // The wand takes away the joined hexes of one tile with Ctrl; Shift adds every hex of a tile.
    MapContent content = SmallMap();
    content.map.at(TileIndex, 2, 2) = 3;
    content.map.at(TileIndex, 3, 2) = 3; // touches (2,2) from the odd column below
    content.map.at(TileIndex, 7, 7) = 3;
    startWith(content);
    selection.set(both);
    tools->select(ClickMode::MagicWand);
    Click(tools->current(), At(2, 2, Qt::LeftButton, Qt::ControlModifier));
    HexSet expected = both;
    expected.erase({2, 2});
    expected.erase({3, 2});
    QCOMPARE(selection.hexes(), expected);
    tools->select(ClickMode::SameTile);
    Click(tools->current(), At(2, 2, Qt::LeftButton, Qt::ShiftModifier));
    expected.insert({2, 2});
    expected.insert({3, 2});
    expected.insert({7, 7});
    QCOMPARE(selection.hexes(), expected);
    Click(tools->current(), At(7, 7));
    QCOMPARE(selection.hexes().size(), 3);

    // None of it is a step of the history or marks the map.
    QCOMPARE(document->history().count(), 0);
    QVERIFY(!document->isModified());
    selection.selectAll();
    QCOMPARE(selection.hexes().size(), 80);
    document->start(SmallMap());
    QVERIFY(selection.isEmpty());
}

void MapToolsTest::escapeEndsTheDragThenTheTool()
{
    tools->selection().set(HexRectangle(map(), {0, 0}, {1, 1}));
    tools->select(ClickMode::RectangleSelect);
    tools->press(At(4, 4));
    tools->move(At(6, 6));
    tools->escape();
    QCOMPARE(tools->selection().hexes(), HexRectangle(map(), {0, 0}, {1, 1}));
    QCOMPARE(tools->mode(), ClickMode::RectangleSelect);
    tools->move(At(7, 7));
    QCOMPARE(tools->selection().hexes(), HexRectangle(map(), {0, 0}, {1, 1}));
    tools->escape();
    QCOMPARE(tools->mode(), ClickMode::Paint);
    QCOMPARE(tools->currentName(), QStringLiteral("Brush"));
}

QTEST_GUILESS_MAIN(MapToolsTest)
#include "tst_map_tools.moc"
