// The "Map Converter" window through its real widgets: loading a sketch, sizing the map, the scale
// spinner, converting, the pass buttons, and returning to the main window.

#include "test_support.h"

#include "files/native_map_file.h"
#include "forms/Map.h"
#include "forms/MapCvt.h"
#include "forms/picture_box.h"
#include "forms/windows.h"
#include "model/editor_state.h"
#include "render/bmp_encoding.h"
#include "tools/pattern_passes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
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

} // namespace

class MapConvertTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void startsWithItsDesign();
    void loadingSizesTheMap();
    void scaleChangesResizeTheMap();
    void cancelledOrBadLoadsChangeNothing();
    void tooSmallSketchLeavesTheMapAlone();
    void largeSketchIsCut();
    void convertWritesTheMap();
    void convertBeforeLoadingReadsTheBlankCanvas();
    void passButtonsShapeTheMap();
    void returnRefreshesTheMainMap();
    void sampleSketchGivesTheSampleMap();

private:
    TMapConvert &window() { return *MapConvert; }
    void click(const char *button) { QTest::mouseClick(Control<QPushButton>(&window(), button), Qt::LeftButton); }
    QString label() { return Control<QLabel>(&window(), "SizeLbl")->text(); }
    QString memo() { return Control<QPlainTextEdit>(&window(), "Memo1")->toPlainText(); }

    QTemporaryDir dir;
    QTemporaryDir setsDir;
    std::unique_ptr<testing::ScriptedDialogs> dialogs;
    std::unique_ptr<TMapConvert> alone;
};

void MapConvertTest::initTestCase()
{
    QVERIFY(dir.isValid() && setsDir.isValid());
    for (int s = 0; s < 16; ++s)
        testing::WriteSyntheticTileSet(setsDir.path(), s);
}

// Most cases run the window on its own, as the main window is not needed to convert.
void MapConvertTest::init()
{
    Map = MapStore{};
    Editor = EditorState{};
    Editor.ProgramDir = setsDir.path() + QLatin1Char('/');
    dialogs = std::make_unique<testing::ScriptedDialogs>();
    alone = std::make_unique<TMapConvert>();
    MapConvert = alone.get();
    window().seedVariants(17);
    window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&window()));
}

void MapConvertTest::cleanup()
{
    MapConvert = nullptr;
    alone.reset();
    dialogs.reset();
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

void MapConvertTest::loadingSizesTheMap()
{
    const QImage sketch = IslandSketch(200, 150);
    dialogs->fileAnswers << WriteSketch(dir, QStringLiteral("island.bmp"), sketch);
    click("LoadBtn");
    QCOMPARE(dialogs->fileDialogsShown.size(), 1);
    QCOMPARE(dialogs->fileDialogsShown[0].filter, QStringLiteral("Windows Bitmap (*.bmp)| *.bmp"));
    QCOMPARE(window().sketch(), sketch);
    QCOMPARE(Control<PictureBox>(&window(), "CvtImage")->size(), QSize(200, 150));
    QCOMPARE(Map.MapWidth, 40);
    QCOMPARE(Map.MapHeight, 30);
    QCOMPARE(label(), QStringLiteral("Map Size40x30"));
    QCOMPARE(memo(), QStringLiteral("Now Convert to map format"));
    QVERIFY(dialogs->errors.isEmpty());
}

void MapConvertTest::scaleChangesResizeTheMap()
{
    // Before a sketch is loaded there is nothing to size the map from.
    auto *spinner = Control<QSpinBox>(&window(), "UpDown1");
    spinner->setValue(7);
    QCOMPARE(Map.MapWidth, 72);
    QCOMPARE(label(), QStringLiteral("Map Size 00x00 "));
    spinner->setValue(5);

    dialogs->fileAnswers << WriteSketch(dir, QStringLiteral("scaled.bmp"), IslandSketch(200, 150));
    click("LoadBtn");
    auto *edit = Control<QLineEdit>(&window(), "ScaleEdit");
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("10"));
    QCOMPARE(window().PixelsPerHex(), 10);
    QCOMPARE(Map.MapWidth, 20);
    QCOMPARE(Map.MapHeight, 15);
    QCOMPARE(label(), QStringLiteral("Map Size20x15"));
    QCOMPARE(memo(), QStringLiteral("Now Convert to map format")); // not changed by the scale

    // The spinner stops at its ends.
    spinner->setFocus();
    QTest::keyClick(spinner, Qt::Key_Up);
    QCOMPARE(spinner->value(), 10);
    for (int i = 0; i < 9; ++i)
        QTest::keyClick(spinner, Qt::Key_Down);
    QCOMPARE(spinner->value(), 3);
    QCOMPARE(Map.MapWidth, 66);
    QCOMPARE(Map.MapHeight, 50);
    QCOMPARE(label(), QStringLiteral("Map Size66x50"));
}

void MapConvertTest::cancelledOrBadLoadsChangeNothing()
{
    Map.MapWidth = 12;
    Map.MapHeight = 9;
    click("LoadBtn"); // cancelled
    QCOMPARE(Map.MapWidth, 12);
    QCOMPARE(memo(), QStringLiteral("Please load a \nmap sketch in \n.bmp format"));

    const QString bad = dir.filePath(QStringLiteral("notes.bmp"));
    {
        QFile file(bad);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a bitmap at all");
    }
    const MapStore before = Map;
    dialogs->fileAnswers << bad;
    click("LoadBtn");
    QCOMPARE(dialogs->errors.size(), 1);
    QVERIFY(dialogs->errors[0].contains(QStringLiteral("notes.bmp")));
    QVERIFY(Map.bytes == before.bytes);
    QCOMPARE(Map.MapWidth, 12);
    QCOMPARE(Map.MapHeight, 9);
    QCOMPARE(window().sketch().size(), QSize(400, 400));
    QCOMPARE(label(), QStringLiteral("Map Size 00x00 "));
}

// A map needs at least one hex each way: a sketch smaller than one hex leaves the map's size, and
// Convert does nothing until a scale or sketch gives a map.
void MapConvertTest::tooSmallSketchLeavesTheMapAlone()
{
    Map.MapWidth = 12;
    Map.MapHeight = 9;
    const MapStore before = Map;
    dialogs->fileAnswers << WriteSketch(dir, QStringLiteral("thin.bmp"), Canvas(4, 100, Lime));
    click("LoadBtn");
    QCOMPARE(label(), QStringLiteral("Map Size0x20"));
    QCOMPARE(Map.MapWidth, 12);
    QCOMPARE(Map.MapHeight, 9);
    click("ConvertBtn");
    QVERIFY(Map.bytes == before.bytes);
    QCOMPARE(memo(), QStringLiteral("Now Convert to map format"));

    Control<QSpinBox>(&window(), "UpDown1")->setValue(4);
    QCOMPARE(label(), QStringLiteral("Map Size1x25"));
    QCOMPARE(Map.MapWidth, 1);
    QCOMPARE(Map.MapHeight, 25);
    click("ConvertBtn");
    QCOMPARE(int(Map.at(TileSet, 0, 24)), 1);
    QCOMPARE(memo(), QStringLiteral("Now Return to Vantor, Save then Load"));
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
    QCOMPARE(int(Map.at(TileSet, 70, 69)), 1);
    QCOMPARE(int(Map.at(TileSet, 71, 0)), 0); // the top-left part: column 71 starts at pixel 355
}

void MapConvertTest::convertWritesTheMap()
{
    const QImage sketch = IslandSketch(200, 150);
    dialogs->fileAnswers << WriteSketch(dir, QStringLiteral("island.bmp"), sketch);
    click("LoadBtn");
    Map.at(RoadLinks, 3, 3) = 0x11;
    Map.at(CityAttr03, 3, 3) = 7;
    auto expected = std::make_unique<MapStore>(Map);
    VariantSource random(17);
    ConvertSketch(sketch, 5, *expected, Editor.DefaultTerrain, random);

    click("ConvertBtn");
    QVERIFY(Map.bytes == expected->bytes);
    QCOMPARE(int(Map.at(RoadLinks, 3, 3)), 0x11);
    QCOMPARE(int(Map.at(CityAttr03, 3, 3)), 7);
    QCOMPARE(int(Map.at(PlaceIndex, 3, 3)), 255);
    QCOMPARE(int(Map.at(TileSet, 0, 0)), 0);   // navy
    QCOMPARE(int(Map.at(TileSet, 20, 15)), 1); // lime
    QCOMPARE(memo(), QStringLiteral("Now Return to Vantor, Save then Load"));

    // Converting again gives the same sets, with variants from where the source has got to.
    const MapStore first = Map;
    click("ConvertBtn");
    int differing = 0;
    for (int x = 0; x < 40; ++x)
        for (int y = 0; y < 30; ++y) {
            QCOMPARE(Map.at(TileSet, x, y), first.at(TileSet, x, y));
            differing += Map.at(TileIndex, x, y) != first.at(TileIndex, x, y);
        }
    QVERIFY(differing > 0);
}

void MapConvertTest::convertBeforeLoadingReadsTheBlankCanvas()
{
    Map.MapWidth = 15; // a size set elsewhere
    Map.MapHeight = 10;
    click("ConvertBtn");
    for (int x = 0; x < Map.MapWidth; ++x)
        for (int y = 0; y < Map.MapHeight; ++y) {
            QCOMPARE(int(Map.at(TileSet, x, y)), 8);
            const int tile = Map.at(TileIndex, x, y);
            QVERIFY(tile >= 59 && tile <= 61);
        }
    QCOMPARE(int(Map.at(TileSet, Map.MapWidth, 0)), 0);
}

void MapConvertTest::passButtonsShapeTheMap()
{
    dialogs->fileAnswers << WriteSketch(dir, QStringLiteral("island.bmp"), IslandSketch(200, 150));
    click("LoadBtn");
    click("ConvertBtn");
    auto expected = std::make_unique<MapStore>(Map);

    click("CoastBtn");
    MakeCoastline(*expected, Editor.DefaultTerrain);
    QVERIFY(Map.bytes == expected->bytes);
    click("RoadBtn");
    MakeRoads(*expected, Editor.DefaultTerrain);
    QVERIFY(Map.bytes == expected->bytes);
    click("RiverBtn");
    MakeRivers(*expected, Editor.DefaultTerrain);
    QVERIFY(Map.bytes == expected->bytes);

    // The island now has coast, beach and shallow tiles, and the road and river took shapes.
    std::array<int, 16> sets{};
    for (int x = 0; x < 40; ++x)
        for (int y = 0; y < 30; ++y)
            ++sets[Map.at(TileSet, x, y)];
    QVERIFY(sets[4] > 0 && sets[5] > 0);
    QCOMPARE(int(Map.at(TileIndex, 18, 15)), 9);  // the river runs north-south: tile 9
    QCOMPARE(int(Map.at(TileIndex, 23, 15)), 20); // so does the road: tile 20

    // The hidden buttons run the beach and shallow passes on their own.
    auto beach = std::make_unique<MapStore>(Map);
    window().BeachBtnClick();
    PatternPass(*beach, BeachPass, Editor.DefaultTerrain);
    window().ShallowBtnClick();
    PatternPass(*beach, ShallowPass, Editor.DefaultTerrain);
    QVERIFY(Map.bytes == beach->bytes);
}

// With the editor's windows: Return closes the converter and the main map is sized and redrawn.
void MapConvertTest::returnRefreshesTheMainMap()
{
    MapConvert = nullptr;
    alone.reset();
    auto windows = std::make_unique<VantorWindows>();
    QVERIFY(MapConvert && MapForm);
    Editor.ProgramDir = setsDir.path() + QLatin1Char('/'); // the main window set its own
    MapForm->show();
    MapForm->activateWindow();
    // Past the first activation, which paints the title picture.
    QTRY_COMPARE(MapForm->mapPicture().pixel(0, 0), qRgb(0, 255, 255));
    MapConvert->seedVariants(3);
    MapConvert->show();
    QVERIFY(QTest::qWaitForWindowExposed(MapConvert));
    dialogs->fileAnswers << WriteSketch(dir, QStringLiteral("island.bmp"), IslandSketch(200, 150));
    click("LoadBtn");
    click("ConvertBtn");
    QCOMPARE(MapForm->mapPicture().size(), QSize(MapPictureWidth(72), MapPictureHeight(70))); // not yet
    click("ReturnBtn");
    QVERIFY(!MapConvert->isVisible());
    QVERIFY(MapForm->isVisible());
    QCOMPARE(MapForm->mapPicture().size(), QSize(MapPictureWidth(40), MapPictureHeight(30)));
    // Hex (0, 0) is navy sea: set 0, one of tiles 52 to 54, drawn from the synthetic tile set.
    const QRgb drawn = MapForm->mapPicture().pixel(24, 20);
    QCOMPARE(drawn, testing::TileColour(0, Map.at(TileIndex, 0, 0)));
    QVERIFY(dialogs->messages.isEmpty());

    // Closing by the window frame refreshes too.
    MapConvert->show();
    QVERIFY(QTest::qWaitForWindowExposed(MapConvert));
    Control<QSpinBox>(MapConvert, "UpDown1")->setValue(10);
    MapConvert->close();
    QCOMPARE(MapForm->mapPicture().size(), QSize(MapPictureWidth(20), MapPictureHeight(15)));
    MapConvert = nullptr;
    windows.reset();
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
    QCOMPARE(Map.MapWidth, sample->MapWidth);
    QCOMPARE(Map.MapHeight, sample->MapHeight);
    click("ConvertBtn");
    click("CoastBtn");
    click("RoadBtn");
    click("RiverBtn");
    int linked = 0;
    for (int x = 0; x < Map.MapWidth; ++x)
        for (int y = 0; y < Map.MapHeight; ++y) {
            for (const Plane plane : {TileSet, TileIndex, Terrain, PlaceIndex, CityAttr16})
                QCOMPARE(Map.at(plane, x, y), sample->at(plane, x, y));
            QCOMPARE(int(Map.at(RoadLinks, x, y)), 0);
            linked += sample->at(RoadLinks, x, y) != 0;
        }
    QVERIFY(linked > 0);
}

QTEST_MAIN(MapConvertTest)
#include "tst_map_convert.moc"
