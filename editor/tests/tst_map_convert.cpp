// The "Map Converter" window through its real widgets: loading a sketch and the scale spinner size
// only the conversion; Convert asks about unsaved changes and replaces the map as one step; the
// pass buttons; and the main window's picture following the converted map.

#include "test_support.h"

#include "files/native_map_file.h"
#include "forms/Map.h"
#include "forms/MapCvt.h"
#include "forms/Tiles.h"
#include "forms/picture_box.h"
#include "forms/windows.h"
#include "model/geometry.h"
#include "render/bmp_encoding.h"
#include "render/map_renderer.h"
#include "render/tile_set_library.h"
#include "tools/pattern_passes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace vantor;
using testing::Canvas;

namespace {

const QRgb Navy = qRgb(0, 0, 127);
const QRgb Lime = qRgb(0, 255, 0);
const QRgb Red = qRgb(255, 0, 0);
const QRgb Blue = qRgb(0, 0, 255);

// An island of lime in navy with a red road and a blue river, 5 pixels per hex.
QImage IslandSketch(int width, int height)
{
    QImage sketch = Canvas(width, height, Navy);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const double dx = (x - width / 2.0) / (width * 0.35);
            const double dy = (y - height / 2.0) / (height * 0.35);
            if (dx * dx + dy * dy < 1)
                sketch.setPixel(x, y, Lime);
        }
    for (int y = height / 4; y < height * 3 / 4; ++y)
        for (int x = 0; x < 5; ++x) {
            sketch.setPixel(width / 2 - 10 + x, y, Blue);
            sketch.setPixel(width / 2 + 15 + x, y, Red);
        }
    return sketch;
}

QString WriteSketch(const QTemporaryDir &dir, const QString &name, const QImage &sketch)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(EncodeBmp24(sketch)) < 0)
        return {};
    return path;
}

template <typename Widget>
Widget *Control(QWidget *window, const char *name)
{
    auto *widget = window->findChild<Widget *>(QString::fromLatin1(name));
    if (!widget)
        qFatal("no control %s", name);
    return widget;
}

bool SameMap(const MapStore &a, const MapStore &b)
{
    return a.MapWidth == b.MapWidth && a.MapHeight == b.MapHeight && a.bytes == b.bytes;
}

} // namespace

class MapConvertTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void startsWithItsDesign();
    void loadingSizesOnlyTheConversion();
    void scaleSizesOnlyTheConversion();
    void cancelledOrBadLoadsChangeNothing();
    void tooSmallSketchConvertsToNothing();
    void convertAsksFirstAndIsOneStep();
    void largeSketchIsCut();
    void convertWritesTheMap();
    void convertBeforeLoadingReadsTheBlankCanvas();
    void passButtonsShapeTheMap();
    void mainPictureFollowsTheConversion();
    void sampleSketchGivesTheSampleMap();

private:
    MapDocument &document() { return windows->document(); }
    TMapForm &mainWindow() { return windows->main(); }
    TMapConvert &window() { return mainWindow().mapConvert(); }
    void click(const char *button) { QTest::mouseClick(Control<QPushButton>(&window(), button), Qt::LeftButton); }
    QString label() { return Control<QLabel>(&window(), "SizeLbl")->text(); }
    QString memo() { return Control<QPlainTextEdit>(&window(), "Memo1")->toPlainText(); }
    // Starts the document afresh from a width x height map of the synthetic sets' tiles.
    void startMap(int width, int height);
    // Shows the main window, past its first activation (which paints the title picture of a map
    // without a file).
    void showMainWindow();

    QTemporaryDir dir;
    QTemporaryDir setsDir;
    std::unique_ptr<testing::ScriptedDialogs> dialogs;
    std::unique_ptr<VantorWindows> windows;
};

void MapConvertTest::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true); // the recent maps are not the user's
    QVERIFY(dir.isValid() && setsDir.isValid());
    for (int s = 0; s < 16; ++s)
        testing::WriteSyntheticTileSet(setsDir.path(), s);
}

// The converter belongs to the main window, which most cases leave hidden.
void MapConvertTest::init()
{
    dialogs = std::make_unique<testing::ScriptedDialogs>();
    windows = std::make_unique<VantorWindows>();
    windows->settings().programDir = setsDir.path() + QLatin1Char('/'); // the main window set its own
    window().seedVariants(17);
    window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&window()));
}

void MapConvertTest::cleanup()
{
    windows.reset();
    dialogs.reset();
}

void MapConvertTest::startMap(int width, int height)
{
    const std::unique_ptr<MapStore> map = testing::BlankMap(width, height);
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y) {
            map->at(TileSet, x, y) = std::uint8_t((x + y) % 16);
            map->at(TileIndex, x, y) = std::uint8_t((7 * x + y) % 80);
            map->at(RoadLinks, x, y) = std::uint8_t(x ^ y);
        }
    document().start(MapContent{*map, {}});
}

void MapConvertTest::showMainWindow()
{
    mainWindow().show();
    mainWindow().activateWindow();
    QTRY_VERIFY(mainWindow().tilesForm().isVisible()); // the first activation shows the palette
}

void MapConvertTest::startsWithItsDesign()
{
    QCOMPARE(window().windowTitle(), QStringLiteral("Map Converter"));
    QCOMPARE(window().size(), QSize(550, 455));
    const struct {
        const char *name;
        const char *caption;
        bool visible;
    } buttons[] = {
        {"LoadBtn", "Load Bitmap", true}, {"ConvertBtn", "Convert", true}, {"CoastBtn", "Coastline", true},
        {"RoadBtn", "Roads", true},       {"RiverBtn", "Rivers", true},    {"ReturnBtn", "Return", true},
        {"BeachBtn", "Beach", false},     {"ShallowBtn", "Shallow", false},
    };
    for (const auto &b : buttons) {
        QPushButton *button = Control<QPushButton>(&window(), b.name);
        QCOMPARE(button->text(), QString::fromLatin1(b.caption));
        QCOMPARE(button->isVisible(), b.visible);
    }
    QCOMPARE(label(), QStringLiteral("Map Size 00x00 "));
    QCOMPARE(Control<QLabel>(&window(), "Label1")->text(), QStringLiteral("Pix/Hex"));
    QCOMPARE(memo(), QStringLiteral("Please load a \nmap sketch in \n.bmp format"));
    auto *spinner = Control<QSpinBox>(&window(), "UpDown1");
    QCOMPARE(spinner->minimum(), 3);
    QCOMPARE(spinner->maximum(), 10);
    QCOMPARE(spinner->value(), 5);
    QVERIFY(!spinner->wrapping());
    QCOMPARE(Control<QLineEdit>(&window(), "ScaleEdit")->text(), QStringLiteral("5"));
    auto *image = Control<PictureBox>(&window(), "CvtImage");
    QCOMPARE(image->picture().size(), QSize(400, 400));
    QCOMPARE(image->picture().pixel(399, 399), qRgb(255, 255, 255));
    QCOMPARE(window().PixelsPerHex(), 5);
}

// The sketch gives the size Convert will make; the map keeps its own size and hexes, and no step is
// taken, until then.
void MapConvertTest::loadingSizesOnlyTheConversion()
{
    startMap(12, 9);
    const MapStore before = document().map();
    const QImage sketch = IslandSketch(200, 150);
    dialogs->fileAnswers << WriteSketch(dir, QStringLiteral("island.bmp"), sketch);
    click("LoadBtn");
    QCOMPARE(dialogs->fileDialogsShown.size(), 1);
    QCOMPARE(dialogs->fileDialogsShown[0].filter, QStringLiteral("Windows Bitmap (*.bmp)| *.bmp"));
    QCOMPARE(window().sketch(), sketch);
    QCOMPARE(Control<PictureBox>(&window(), "CvtImage")->size(), QSize(200, 150));
    QCOMPARE(window().convertedSize(), QSize(40, 30));
    QCOMPARE(label(), QStringLiteral("Map Size40x30"));
    QCOMPARE(memo(), QStringLiteral("Now Convert to map format"));
    QVERIFY(dialogs->errors.isEmpty());
    QVERIFY(SameMap(document().map(), before));
    QCOMPARE(document().history().count(), 0);
    QVERIFY(!document().isModified());
}

void MapConvertTest::scaleSizesOnlyTheConversion()
{
    startMap(12, 9);
    const MapStore before = document().map();
    // Before a sketch is loaded there is nothing to size from: Convert keeps the map's size.
    auto *spinner = Control<QSpinBox>(&window(), "UpDown1");
    spinner->setValue(7);
    QCOMPARE(window().convertedSize(), QSize(12, 9));
    QCOMPARE(label(), QStringLiteral("Map Size 00x00 "));
    spinner->setValue(5);

    dialogs->fileAnswers << WriteSketch(dir, QStringLiteral("scaled.bmp"), IslandSketch(200, 150));
    click("LoadBtn");
    auto *edit = Control<QLineEdit>(&window(), "ScaleEdit");
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("10"));
    QCOMPARE(window().PixelsPerHex(), 10);
    QCOMPARE(window().convertedSize(), QSize(20, 15));
    QCOMPARE(label(), QStringLiteral("Map Size20x15"));
    QCOMPARE(memo(), QStringLiteral("Now Convert to map format")); // not changed by the scale

    // The spinner stops at its ends.
    spinner->setFocus();
    QTest::keyClick(spinner, Qt::Key_Up);
    QCOMPARE(spinner->value(), 10);
    for (int i = 0; i < 9; ++i)
        QTest::keyClick(spinner, Qt::Key_Down);
    QCOMPARE(spinner->value(), 3);
    QCOMPARE(window().convertedSize(), QSize(66, 50));
    QCOMPARE(label(), QStringLiteral("Map Size66x50"));

    QVERIFY(SameMap(document().map(), before));
    QCOMPARE(document().history().count(), 0);
    QVERIFY(!document().isModified());
}

void MapConvertTest::cancelledOrBadLoadsChangeNothing()
{
    startMap(12, 9);
    const MapStore before = document().map();
    click("LoadBtn"); // cancelled
    QCOMPARE(memo(), QStringLiteral("Please load a \nmap sketch in \n.bmp format"));

    const QString bad = dir.filePath(QStringLiteral("notes.bmp"));
    testing::Write(bad, "not a bitmap at all");
    dialogs->fileAnswers << bad;
    click("LoadBtn");
    QCOMPARE(dialogs->errors.size(), 1);
    QVERIFY(dialogs->errors[0].contains(QStringLiteral("notes.bmp")));
    QCOMPARE(window().sketch().size(), QSize(400, 400));
    QCOMPARE(label(), QStringLiteral("Map Size 00x00 "));
    QCOMPARE(window().convertedSize(), QSize(12, 9));
    QVERIFY(SameMap(document().map(), before));
    QCOMPARE(document().history().count(), 0);
}

// A map needs at least one hex each way: Convert of a sketch smaller than one hex does nothing, not
// even ask about unsaved changes, until a scale gives a map.
void MapConvertTest::tooSmallSketchConvertsToNothing()
{
    startMap(12, 9);
    document().edit(QStringLiteral("Paint"), [](MapContent &content) { content.map.at(TileIndex, 2, 2) ^= 1; });
    const MapStore before = document().map();
    dialogs->fileAnswers << WriteSketch(dir, QStringLiteral("thin.bmp"), Canvas(4, 100, Lime));
    click("LoadBtn");
    QCOMPARE(label(), QStringLiteral("Map Size0x20"));
    QVERIFY(window().convertedSize().isEmpty());
    click("ConvertBtn");
    QVERIFY(dialogs->saveQuestions.isEmpty());
    QVERIFY(SameMap(document().map(), before));
    QCOMPARE(document().history().count(), 1);
    QCOMPARE(memo(), QStringLiteral("Now Convert to map format"));

    Control<QSpinBox>(&window(), "UpDown1")->setValue(4);
    QCOMPARE(label(), QStringLiteral("Map Size1x25"));
    QVERIFY(SameMap(document().map(), before));
    click("ConvertBtn"); // "Save changes?" answered Discard
    QCOMPARE(dialogs->saveQuestions.size(), 1);
    QCOMPARE(document().map().MapWidth, 1);
    QCOMPARE(document().map().MapHeight, 25);
    QCOMPARE(int(document().map().at(TileSet, 0, 24)), 1);
    QCOMPARE(memo(), QStringLiteral("Now Return to Vantor, Save then Load"));
}

// Unsaved changes are asked about first; Cancel changes nothing. Then the map is resized and
// converted as one step, which undo takes back whole, and the converted map has no file: Ctrl+S
// asks for one and leaves the old file alone.
void MapConvertTest::convertAsksFirstAndIsOneStep()
{
    startMap(12, 9);
    const QString island = dir.filePath(QStringLiteral("island.map"));
    QCOMPARE(document().save(island).outcome, LoadResult::Complete);
    const QByteArray saved = testing::Contents(island);
    document().edit(QStringLiteral("Paint"), [](MapContent &content) { content.map.at(TileIndex, 2, 2) ^= 1; });
    const MapStore before = document().map();
    showMainWindow();
    dialogs->fileAnswers << WriteSketch(dir, QStringLiteral("island.bmp"), IslandSketch(200, 150));
    click("LoadBtn");

    dialogs->saveAnswers << SaveChoice::Cancel;
    click("ConvertBtn");
    QCOMPARE(dialogs->saveQuestions, QStringList{QStringLiteral("Vantor Version 0.50b: Save changes to island.map?")});
    QVERIFY(SameMap(document().map(), before));
    QCOMPARE(document().history().count(), 1);
    QCOMPARE(document().filePath(), island);
    QCOMPARE(memo(), QStringLiteral("Now Convert to map format"));

    dialogs->saveAnswers << SaveChoice::Discard;
    click("ConvertBtn");
    QCOMPARE(dialogs->saveQuestions.size(), 2);
    QCOMPARE(document().map().MapWidth, 40);
    QCOMPARE(document().map().MapHeight, 30);
    QCOMPARE(document().history().count(), 2);
    QCOMPARE(document().history().undoText(), QStringLiteral("Convert"));
    QCOMPARE(document().filePath(), QString());
    QCOMPARE(mainWindow().windowTitle(), QStringLiteral("Vantor Version 0.50b[*]"));
    QVERIFY(mainWindow().isWindowModified());
    QCOMPARE(mainWindow().mapPicture().size(), QSize(MapPictureWidth(40), MapPictureHeight(30)));

    mainWindow().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&mainWindow()));
    QTest::keyClick(&mainWindow(), Qt::Key_S, Qt::ControlModifier); // the name dialog, cancelled
    QCOMPARE(dialogs->fileDialogsShown.size(), 2);
    QCOMPARE(dialogs->fileDialogsShown[1].title, QStringLiteral("Save Ketura Map File"));
    QCOMPARE(testing::Contents(island), saved);

    const MapStore converted = document().map();
    document().history().undo();
    QVERIFY(SameMap(document().map(), before));
    QCOMPARE(mainWindow().mapPicture().size(), QSize(MapPictureWidth(12), MapPictureHeight(9)));
    document().history().redo();
    QVERIFY(SameMap(document().map(), converted));
}

void MapConvertTest::largeSketchIsCut()
{
    QImage sketch = Canvas(500, 420, Lime);
    for (int y = 0; y < 420; ++y)
        for (int x = 355; x < 500; ++x)
            sketch.setPixel(x, y, Navy);
    dialogs->fileAnswers << WriteSketch(dir, QStringLiteral("large.bmp"), sketch);
    click("LoadBtn");
    QCOMPARE(label(), QStringLiteral("Map Size72x70"));
    click("ConvertBtn");
    QCOMPARE(int(document().map().at(TileSet, 70, 69)), 1);
    QCOMPARE(int(document().map().at(TileSet, 71, 0)), 0); // the top-left part: column 71 starts at pixel 355
}

// Convert gives every hex in the sketch's size its class and a variant, keeps the road links and
// city bytes, and ends the homemade layout.
void MapConvertTest::convertWritesTheMap()
{
    auto start = std::make_unique<MapStore>();
    start->at(RoadLinks, 3, 3) = 0x11;
    start->at(CityAttr03, 3, 3) = 7;
    MapTables homemade;
    homemade.homemade = true;
    document().start(MapContent{*start, homemade});

    const QImage sketch = IslandSketch(200, 150);
    dialogs->fileAnswers << WriteSketch(dir, QStringLiteral("island.bmp"), sketch);
    click("LoadBtn");
    auto expected = std::make_unique<MapStore>(*start);
    expected->MapWidth = 40;
    expected->MapHeight = 30;
    VariantSource random(17);
    ConvertSketch(sketch, 5, *expected, windows->settings().defaultTerrain, random);

    click("ConvertBtn");
    const MapStore &map = document().map();
    QVERIFY(SameMap(map, *expected));
    QCOMPARE(int(map.at(RoadLinks, 3, 3)), 0x11);
    QCOMPARE(int(map.at(CityAttr03, 3, 3)), 7);
    QCOMPARE(int(map.at(PlaceIndex, 3, 3)), 255);
    QCOMPARE(int(map.at(TileSet, 0, 0)), 0);   // navy
    QCOMPARE(int(map.at(TileSet, 20, 15)), 1); // lime
    QVERIFY(!document().tables().homemade);
    QCOMPARE(memo(), QStringLiteral("Now Return to Vantor, Save then Load"));

    // Converting again gives the same sets, with variants from where the source has got to.
    const MapStore first = map;
    click("ConvertBtn");
    int differing = 0;
    for (int x = 0; x < 40; ++x)
        for (int y = 0; y < 30; ++y) {
            QCOMPARE(map.at(TileSet, x, y), first.at(TileSet, x, y));
            differing += map.at(TileIndex, x, y) != first.at(TileIndex, x, y);
        }
    QVERIFY(differing > 0);
    document().history().undo();
    QVERIFY(SameMap(map, first));
    document().history().undo();
    QVERIFY(SameMap(map, *start));
    QVERIFY(document().tables().homemade);
}

void MapConvertTest::convertBeforeLoadingReadsTheBlankCanvas()
{
    document().start(MapContent{*testing::BlankMap(15, 10), {}}); // a size set elsewhere
    click("ConvertBtn");
    const MapStore &map = document().map();
    QCOMPARE(map.MapWidth, 15);
    QCOMPARE(map.MapHeight, 10);
    for (int x = 0; x < map.MapWidth; ++x)
        for (int y = 0; y < map.MapHeight; ++y) {
            QCOMPARE(int(map.at(TileSet, x, y)), 8);
            const int tile = map.at(TileIndex, x, y);
            QVERIFY(tile >= 59 && tile <= 61);
        }
    QCOMPARE(int(map.at(TileSet, map.MapWidth, 0)), 0);
}

// Each pass is a step of its own and keeps the palette's pick; Convert drops the pick.
void MapConvertTest::passButtonsShapeTheMap()
{
    PaintTool &paint = mainWindow().tools().paint();
    paint.setPick({3, 7});
    dialogs->fileAnswers << WriteSketch(dir, QStringLiteral("island.bmp"), IslandSketch(200, 150));
    click("LoadBtn");
    click("ConvertBtn");
    QCOMPARE(paint.pick(), TilePick{});
    paint.setPick({3, 7});
    const DefaultTerrainTable &terrain = windows->settings().defaultTerrain;
    auto expected = std::make_unique<MapStore>(document().map());

    const struct {
        const char *button;
        const char *step;
        WholeMapPass pass;
    } passes[] = {
        {"CoastBtn", "Make Coastline", MakeCoastline},
        {"RoadBtn", "Make Roads", MakeRoads},
        {"RiverBtn", "Make Rivers", MakeRivers},
    };
    for (const auto &p : passes) {
        click(p.button);
        p.pass(*expected, terrain);
        QVERIFY2(SameMap(document().map(), *expected), p.button);
        QCOMPARE(document().history().undoText(), QString::fromLatin1(p.step));
    }
    QCOMPARE(document().history().count(), 4);
    QCOMPARE(paint.pick(), (TilePick{3, 7}));

    // The island now has coast, beach and shallow tiles, and the road and river took shapes.
    const MapStore &map = document().map();
    std::array<int, 16> sets{};
    for (int x = 0; x < 40; ++x)
        for (int y = 0; y < 30; ++y)
            ++sets[map.at(TileSet, x, y)];
    QVERIFY(sets[4] > 0 && sets[5] > 0);
    QCOMPARE(int(map.at(TileIndex, 18, 15)), 9);  // the river runs north-south: tile 9
    QCOMPARE(int(map.at(TileIndex, 23, 15)), 20); // so does the road: tile 20

    // The hidden buttons run the beach and shallow passes on their own.
    auto beach = std::make_unique<MapStore>(map);
    window().BeachBtnClick();
    PatternPass(*beach, BeachPass, terrain);
    window().ShallowBtnClick();
    PatternPass(*beach, ShallowPass, terrain);
    QVERIFY(SameMap(map, *beach));
}

// The main window's picture is the converted map's full redraw as soon as Convert is done; Return
// closes the converter, and the scale moved afterwards changes nothing there.
void MapConvertTest::mainPictureFollowsTheConversion()
{
    showMainWindow();
    QCOMPARE(mainWindow().mapPicture().pixel(0, 0), qRgb(0, 255, 255)); // the title picture
    window().seedVariants(3);
    dialogs->fileAnswers << WriteSketch(dir, QStringLiteral("island.bmp"), IslandSketch(200, 150));
    click("LoadBtn");
    click("ConvertBtn");
    const MapStore &map = document().map();
    QImage redrawn = NewMapPicture(map);
    TileSetLibrary library(windows->settings().programDir);
    RedrawMapPicture(map, library, windows->settings().backgroundColour, redrawn);
    QCOMPARE(mainWindow().mapPicture(), redrawn);
    // Hex (0, 0) is navy sea: set 0, one of tiles 52 to 54, drawn from the synthetic tile set.
    QCOMPARE(mainWindow().mapPicture().pixel(24, 20), testing::TileColour(0, map.at(TileIndex, 0, 0)));

    click("ReturnBtn");
    QVERIFY(!window().isVisible());
    QVERIFY(mainWindow().isVisible());
    QVERIFY(dialogs->messages.isEmpty());

    window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&window()));
    Control<QSpinBox>(&window(), "UpDown1")->setValue(10);
    window().close();
    QCOMPARE(map.MapWidth, 40);
    QCOMPARE(mainWindow().mapPicture(), redrawn);
}

// The window makes of the sample sketch what the build's command line made of it: with the same seed
// the same map, but for the road links, which the window does not make.
void MapConvertTest::sampleSketchGivesTheSampleMap()
{
    const QString island = QFileInfo(QStringLiteral(VANTOR_CLI_PATH)).dir().filePath(QStringLiteral("island.map"));
    auto sample = std::make_unique<MapStore>();
    QCOMPARE(ReadMapFile(island, *sample), QString());

    window().seedVariants(1);
    dialogs->fileAnswers << QStringLiteral(VANTOR_SAMPLE_SKETCH);
    click("LoadBtn");
    QCOMPARE(window().convertedSize(), QSize(sample->MapWidth, sample->MapHeight));
    click("ConvertBtn");
    click("CoastBtn");
    click("RoadBtn");
    click("RiverBtn");
    const MapStore &map = document().map();
    QCOMPARE(map.MapWidth, sample->MapWidth);
    QCOMPARE(map.MapHeight, sample->MapHeight);
    int linked = 0;
    for (int x = 0; x < map.MapWidth; ++x)
        for (int y = 0; y < map.MapHeight; ++y) {
            for (const Plane plane : {TileSet, TileIndex, Terrain, PlaceIndex, CityAttr16})
                QCOMPARE(map.at(plane, x, y), sample->at(plane, x, y));
            QCOMPARE(int(map.at(RoadLinks, x, y)), 0);
            linked += sample->at(RoadLinks, x, y) != 0;
        }
    QVERIFY(linked > 0);
}

QTEST_MAIN(MapConvertTest)
#include "tst_map_convert.moc"
