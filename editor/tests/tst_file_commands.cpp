// The main window's file commands through the real menus, with the file dialogs and message boxes
// answered by the test: ASCII maps, area save and paste, default terrain, scenarios, opening from
// outside, and cities.

#include "test_support.h"

#include "files/ascii_map_file.h"
#include "files/native_map_file.h"
#include "files/scenario_file.h"
#include "forms/City.h"
#include "forms/Map.h"
#include "forms/picture_box.h"
#include "forms/windows.h"
#include "model/geometry.h"
#include "tools/place_names.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace vantor;
using testing::Contents;
using testing::Write;

class FileCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void asciiMapRoundTripWithPlaces();
    void asciiLoadWithABadValueStopsWithTheError();
    void asciiLoadOfAShortFileKeepsWhatWasRead();
    void saveAreaClicksAndTheirPrompts();
    void saveAreaFailurePromptsEndWithTheNextClick();
    void pasteAreaAtTheClickedHex();
    void pasteAreaCancelledTurnsThePromptRed();
    void defaultTerrainSaveAndLoad();
    void regularScenarioLoadAsksWhenByteFourLooksHomemade();
    void homemadeScenarioLoadFillsThePlaceNames();
    void cancelledLoadsKeepAHomemadeScenarioSavable();
    void scenarioSaveRefusalsAndInPlaceWrite();
    void openFileTakesTheLayoutTheScenarioReadsAs();
    void citiesLoadIsAStepShowsTheWindowAndSaves();

private:
    MapDocument &document() { return windows->document(); }
    const MapStore &map() { return windows->document().map(); }
    const MapTables &tables() { return windows->document().tables(); }
    // Starts afresh from the content as it is, changed by change.
    void restart(const std::function<void(MapContent &)> &change);
    // hm.scn: a 6 x 5 homemade scenario with Wewak at (2, 3) and Hollandia on no hex.
    QString writeHomemadeScenario();
    QLabel *prompt() { return form->findChild<QLabel *>(QStringLiteral("PromptPanel")); }
    QString path(const QString &name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    QTemporaryDir setsDir;
    std::unique_ptr<testing::ScriptedDialogs> dialogs;
    std::unique_ptr<VantorWindows> windows;
    TMapForm *form = nullptr;
};

void FileCommandsTest::initTestCase()
{
    QVERIFY(setsDir.isValid());
    for (int s = 0; s < 16; ++s)
        testing::WriteSyntheticTileSet(setsDir.path(), s);
}

void FileCommandsTest::init()
{
    dialogs = std::make_unique<testing::ScriptedDialogs>();
    windows = std::make_unique<VantorWindows>();
    form = &windows->main();
    windows->settings().programDir = setsDir.path() + QLatin1Char('/');
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
    restart([](MapContent &content) {
        MapStore &map = content.map;
        map.MapWidth = 8;
        map.MapHeight = 6;
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 8; ++x) {
                map.at(PlaceIndex, x, y) = 255;
                map.at(PlaceIndexHigh, x, y) = 127;
                map.at(TileIndex, x, y) = std::uint8_t(x + 8 * y);
                map.at(30, x, y) = 0x30; // beyond the planes an ASCII map carries
            }
    });
}

void FileCommandsTest::cleanup()
{
    windows.reset();
    dialogs.reset();
}

void FileCommandsTest::restart(const std::function<void(MapContent &)> &change)
{
    auto content = std::make_unique<MapContent>(document().content());
    change(*content);
    document().start(*content);
}

QString FileCommandsTest::writeHomemadeScenario()
{
    auto scenarioMap = testing::BlankMap(6, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) {
            scenarioMap->at(PlaceIndex, x, y) = 255;
            scenarioMap->at(PlaceIndexHigh, x, y) = 127;
        }
    scenarioMap->at(PlaceIndex, 2, 3) = 1;
    scenarioMap->at(PlaceIndexHigh, 2, 3) = 0;
    const QByteArray mapFile = EncodeMapFile(*scenarioMap);
    QByteArray block = mapFile.left(4) + QByteArray("\x02\x00\x00\x00", 4);
    block += QByteArray("Wewak").leftJustified(30, '\0') + QByteArray("Hollandia").leftJustified(30, '\0');
    const QString scenario = path(QStringLiteral("hm.scn"));
    Write(scenario, block + mapFile.mid(4) + QByteArray(50, 'G'));
    return scenario;
}

void FileCommandsTest::asciiMapRoundTripWithPlaces()
{
    restart([](MapContent &content) {
        PlaceTable &places = content.tables.places;
        places = PlaceTable(3);
        places.setCell(PlaceTable::XColumn, 1, QStringLiteral("3"));
        places.setCell(PlaceTable::YColumn, 1, QStringLiteral("4"));
        places.setCell(PlaceTable::NameColumn, 1, QStringLiteral("Port North"));
        places.setCell(PlaceTable::NameColumn, 2, QStringLiteral("Kiriwina"));
        content.tables.placeCount = 2;
    });
    const auto saved = std::make_unique<MapStore>(map());

    dialogs->fileAnswers << path(QStringLiteral("two.amf"));
    testing::ClickMenuItem(*form, QStringLiteral("File"), QStringLiteral("Save ASCII Map"));
    QCOMPARE(dialogs->fileDialogsShown.last().title, QStringLiteral("Save Map in ASCII File"));
    QCOMPARE(dialogs->fileDialogsShown.last().defaultExt, QStringLiteral("AMF"));
    QVERIFY(Contents(path(QStringLiteral("two.amf"))).contains("03 04 Port North\r\n"));

    // Load it into a changed map: planes 0..16 and the places come back; plane 30 is not in the file.
    restart([](MapContent &content) {
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 8; ++x) {
                content.map.at(TileIndex, x, y) = 0;
                content.map.at(30, x, y) = 0x99;
            }
        content.tables.places = PlaceTable(2);
        content.tables.homemade = true;
    });
    QVERIFY(form->findChild<QAction *>(QStringLiteral("EditPlaceNames1"))->isEnabled());
    dialogs->fileAnswers << path(QStringLiteral("two.amf"));
    testing::ClickMenuItem(*form, QStringLiteral("File"), QStringLiteral("Load ASCII Map"));
    QCOMPARE(dialogs->fileDialogsShown.last().title, QStringLiteral("Load ASCII Map File"));
    QCOMPARE(map().MapWidth, 8);
    QCOMPARE(tables().placeCount, 2);
    QCOMPARE(int(map().at(TileIndex, 7, 5)), int(saved->at(TileIndex, 7, 5)));
    QCOMPARE(int(map().at(30, 7, 5)), 0x99);
    QCOMPARE(tables().places.cell(PlaceTable::NameColumn, 1), QStringLiteral("Port North"));
    QCOMPARE(tables().places.cell(PlaceTable::XColumn, 1), QStringLiteral("3"));
    QCOMPARE(tables().places.cell(PlaceTable::NameColumn, 2), QStringLiteral("Kiriwina"));
    QVERIFY(!tables().homemade);
    QVERIFY(!form->findChild<QAction *>(QStringLiteral("EditPlaceNames1"))->isEnabled());
    QVERIFY(dialogs->messages.isEmpty());
}

void FileCommandsTest::asciiLoadWithABadValueStopsWithTheError()
{
    QByteArray text = EncodeAsciiMap(map(), PlaceTable(), 0);
    text.replace("FF 7F ", "FF ZZ ");
    Write(path(QStringLiteral("bad.amf")), text);
    restart([](MapContent &content) { content.tables.placeCount = 5; });
    dialogs->fileAnswers << path(QStringLiteral("bad.amf"));
    testing::ClickMenuItem(*form, QStringLiteral("File"), QStringLiteral("Load ASCII Map"));
    QCOMPARE(dialogs->errors, QStringList{path(QStringLiteral("bad.amf")) + QStringLiteral(": '$ZZ' is not a valid integer value")});
    QCOMPARE(tables().placeCount, 5); // a load that did not happen changes nothing
    QVERIFY(!document().isModified());
}

void FileCommandsTest::asciiLoadOfAShortFileKeepsWhatWasRead()
{
    const QByteArray text = EncodeAsciiMap(map(), PlaceTable(), 0);
    Write(path(QStringLiteral("short.amf")), text.left(text.lastIndexOf("\r\n", text.size() / 2) + 2));
    dialogs->fileAnswers << path(QStringLiteral("short.amf"));
    testing::ClickMenuItem(*form, QStringLiteral("File"), QStringLiteral("Load ASCII Map"));
    QCOMPARE(dialogs->messages.size(), 1);
    QVERIFY(dialogs->messages[0].contains(path(QStringLiteral("short.amf"))));
    QCOMPARE(form->findChild<QLabel *>(QStringLiteral("MapSizeLbl"))->text(), QStringLiteral("8x6"));
}

void FileCommandsTest::saveAreaClicksAndTheirPrompts()
{
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("Save Area To ASCII Map"));
    QCOMPARE(form->tools().mode(), ClickMode::SaveArea);
    QCOMPARE(prompt()->text(), QStringLiteral("Click Upper Left"));
    QCOMPARE(prompt()->palette().color(QPalette::Window), QColor(0, 255, 0));
    testing::ClickHex(*form, 2, 1);
    QCOMPARE(prompt()->text(), QStringLiteral("Now click on lower right"));
    const QString area = path(QStringLiteral("area.amf"));
    dialogs->fileAnswers << area;
    testing::ClickHex(*form, 4, 3);
    QCOMPARE(dialogs->fileDialogsShown.last().filter, QStringLiteral("ASCII Map File (*amf)|*.amf"));
    QCOMPARE(form->tools().mode(), ClickMode::Paint);
    QVERIFY(!prompt()->isVisible());
    QString problem;
    QCOMPARE(Contents(area), EncodeAsciiArea(map(), 2, 1, 5, 4, &problem));
    QVERIFY(Contents(area).startsWith(";ASCII map file for Vantor Version 0.50a\r\n;Width\r\n3\r\n;Height\r\n3\r\n"));

    // Saving over it asks first; Cancel keeps the file.
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("Save Area To ASCII Map"));
    testing::ClickHex(*form, 0, 0);
    dialogs->fileAnswers << area;
    testing::ClickHex(*form, 0, 0);
    QCOMPARE(dialogs->questions.size(), 1);
    QVERIFY(dialogs->questions[0].startsWith(QLatin1String("Overwrite Warning")));
    QCOMPARE(Contents(area), EncodeAsciiArea(map(), 2, 1, 5, 4, &problem));
}

void FileCommandsTest::saveAreaFailurePromptsEndWithTheNextClick()
{
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("Save Area To ASCII Map"));
    testing::ClickHex(*form, 4, 4);
    testing::ClickHex(*form, 2, 2); // above and left of the first: invalid
    QCOMPARE(prompt()->text(), QStringLiteral("Invalid area. Click map to abort."));
    QCOMPARE(prompt()->palette().color(QPalette::Window), QColor(255, 0, 0));
    QVERIFY(dialogs->fileDialogsShown.isEmpty());
    testing::ClickHex(*form, 1, 1);
    QCOMPARE(form->tools().mode(), ClickMode::Paint);
    QVERIFY(!prompt()->isVisible());

    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("Save Area To ASCII Map"));
    QCOMPARE(prompt()->palette().color(QPalette::Window), QColor(0, 255, 0));
    testing::ClickHex(*form, 1, 1);
    testing::ClickHex(*form, 1, 1); // one hex is a valid area; the dialog is cancelled
    QCOMPARE(prompt()->text(), QStringLiteral("No save. Click map to abort."));
    testing::ClickHex(*form, 3, 3);
    QCOMPARE(form->tools().mode(), ClickMode::Paint);
    QVERIFY(!prompt()->isVisible());
}

void FileCommandsTest::pasteAreaAtTheClickedHex()
{
    auto source = testing::BlankMap(3, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            source->at(TileIndex, x, y) = std::uint8_t(200 + x + 3 * y);
    QString problem;
    Write(path(QStringLiteral("piece.amf")), EncodeAsciiArea(*source, 0, 0, 3, 2, &problem));
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("Paste from ASCII Map"));
    QCOMPARE(prompt()->text(), QStringLiteral("Click on upper left of paste area."));
    dialogs->fileAnswers << path(QStringLiteral("piece.amf"));
    testing::ClickHex(*form, 6, 4); // the piece is cut at the map's right edge
    QCOMPARE(dialogs->fileDialogsShown.last().filter, QStringLiteral("ASCII Map File (*amf)|*.amf|All files (*.*)|*.*"));
    QCOMPARE(int(map().at(TileIndex, 6, 4)), 200);
    QCOMPARE(int(map().at(TileIndex, 7, 5)), 204);
    QCOMPARE(int(map().at(TileIndex, 5, 4)), 5 + 8 * 4);
    QCOMPARE(map().MapWidth, 8);
    QCOMPARE(form->tools().mode(), ClickMode::Paint);
    QVERIFY(!prompt()->isVisible());
}

void FileCommandsTest::pasteAreaCancelledTurnsThePromptRed()
{
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("Paste from ASCII Map"));
    testing::ClickHex(*form, 1, 1);
    QCOMPARE(prompt()->text(), QStringLiteral("Paste aborted. Click map to continue."));
    QCOMPARE(prompt()->palette().color(QPalette::Window), QColor(255, 0, 0));
    testing::ClickHex(*form, 1, 1);
    QCOMPARE(form->tools().mode(), ClickMode::Paint);
    QVERIFY(!prompt()->isVisible());
    QVERIFY(!document().isModified());
}

void FileCommandsTest::defaultTerrainSaveAndLoad()
{
    DefaultTerrainTable &defaultTerrain = windows->settings().defaultTerrain;
    defaultTerrain[2][5] = 'T';
    const QString file = path(QStringLiteral("terrain.txt"));
    dialogs->fileAnswers << file;
    testing::ClickMenuItem(*form, QStringLiteral("File"), QStringLiteral("Save Default Terrain"));
    QCOMPARE(dialogs->fileDialogsShown.last().title, QStringLiteral("Save Default Terrain"));
    QVERIFY(Contents(file).startsWith("// This is a default terrain map file for Vantor\r\n"));

    defaultTerrain = InitialDefaultTerrain();
    dialogs->fileAnswers << file;
    testing::ClickMenuItem(*form, QStringLiteral("File"), QStringLiteral("Load Default Terrain"));
    QCOMPARE(dialogs->fileDialogsShown.last().title, QStringLiteral("Read in Default Terrain"));
    QCOMPARE(defaultTerrain[2][5], 'T');
    QCOMPARE(DefaultTerrainOf(defaultTerrain, 2, 5), 36);
}

void FileCommandsTest::regularScenarioLoadAsksWhenByteFourLooksHomemade()
{
    auto scenarioMap = testing::BlankMap(5, 5);
    scenarioMap->at(PlaceIndex, 0, 0) = 7; // byte 4 is not 255: looks homemade
    scenarioMap->at(TileIndex, 4, 4) = 77;
    Write(path(QStringLiteral("odd.scn")), EncodeMapFile(*scenarioMap) + QByteArray(300, 'R'));
    dialogs->fileAnswers << path(QStringLiteral("odd.scn"));
    dialogs->confirmAnswers << false;
    testing::ClickMenuItem(*form, QStringLiteral("File"), QStringLiteral("Load Scenario Map"));
    QCOMPARE(dialogs->fileDialogsShown.last().title, QStringLiteral("Load Map From Regular Ketura Scenario"));
    QCOMPARE(dialogs->questions, QStringList{QStringLiteral(
        "Warning! Bad file format?: This is probably not a builtin scenario.\n      Proceed anyway?")});
    QCOMPARE(map().MapWidth, 8);

    dialogs->fileAnswers << path(QStringLiteral("odd.scn"));
    dialogs->confirmAnswers << true;
    testing::ClickMenuItem(*form, QStringLiteral("File"), QStringLiteral("Load Scenario Map"));
    QCOMPARE(map().MapWidth, 5);
    QCOMPARE(int(map().at(TileIndex, 4, 4)), 77);
    QCOMPARE(form->findChild<QLabel *>(QStringLiteral("MapSizeLbl"))->text(), QStringLiteral("5x5"));
}

void FileCommandsTest::homemadeScenarioLoadFillsThePlaceNames()
{
    const QString scenario = writeHomemadeScenario();
    dialogs->fileAnswers << scenario;
    testing::ClickMenuItem(*form, QStringLiteral("File"), QStringLiteral("Load HM Scenario Map"));
    QCOMPARE(dialogs->fileDialogsShown.last().title, QStringLiteral("Load Map From Homemade Ketura Scenario"));
    QVERIFY(dialogs->questions.isEmpty());
    QCOMPARE(tables().placeCount, 2);
    QVERIFY(tables().homemade);
    QVERIFY(form->findChild<QAction *>(QStringLiteral("EditPlaceNames1"))->isEnabled());
    QVERIFY(form->findChild<QAction *>(QStringLiteral("CopyPlaceName1"))->isEnabled());
    const PlaceTable &places = tables().places;
    QCOMPARE(places.cell(PlaceTable::NameColumn, 1), QStringLiteral("Wewak"));
    QCOMPARE(places.cell(PlaceTable::NameColumn, 2), QStringLiteral("Hollandia"));
    QCOMPARE(places.cell(PlaceTable::XColumn, 2), QStringLiteral("2"));
    QCOMPARE(places.cell(PlaceTable::YColumn, 2), QStringLiteral("3"));
    QCOMPARE(places.cell(PlaceTable::NameColumn, 0), QStringLiteral("  Name"));

    // Saving it back as homemade rewrites the block in place and keeps the rest byte for byte.
    const QByteArray before = Contents(scenario);
    document().edit(QStringLiteral("Paint"), [](MapContent &content) { content.map.at(TileIndex, 1, 1) = 99; });
    dialogs->fileAnswers << scenario;
    testing::ClickMenuItem(*form, QStringLiteral("File"), QStringLiteral("Save HM Scenario Map"));
    QVERIFY2(dialogs->messages.isEmpty(), qPrintable(dialogs->messages.join(QLatin1Char('\n'))));
    const QByteArray after = Contents(scenario);
    QCOMPARE(after.size(), before.size());
    QCOMPARE(after.right(50), QByteArray(50, 'G'));
    QCOMPARE(int(std::uint8_t(after[8 + 60 + 37 * (1 * 6 + 1) + TileIndex])), 99);
    QVERIFY(tables().homemade); // the map still belongs to a homemade scenario
    QVERIFY(!document().isModified());
}

void FileCommandsTest::cancelledLoadsKeepAHomemadeScenarioSavable()
{
    const QString scenario = writeHomemadeScenario();
    QCOMPARE(document().open(scenario, MapFileFormat::HomemadeScenario).outcome, LoadResult::Complete);
    const QByteArray original = Contents(scenario);
    const auto loaded = std::make_unique<MapContent>(document().content());

    // Both dialogs are cancelled, then a load of a missing file is refused: none of them happened.
    testing::ClickMenuItem(*form, QStringLiteral("File"), QStringLiteral("Load Map"));
    testing::ClickMenuItem(*form, QStringLiteral("File"), QStringLiteral("Load HM Scenario Map"));
    dialogs->fileAnswers << path(QStringLiteral("missing.scn"));
    testing::ClickMenuItem(*form, QStringLiteral("File"), QStringLiteral("Load HM Scenario Map"));
    QCOMPARE(dialogs->fileDialogsShown.size(), 3);
    QCOMPARE(dialogs->messages.size(), 1);
    QVERIFY(tables() == loaded->tables);
    QVERIFY(map().bytes == loaded->map.bytes);
    QVERIFY(!document().isModified());
    QCOMPARE(document().filePath(), scenario);
    QVERIFY(form->findChild<QAction *>(QStringLiteral("EditPlaceNames1"))->isEnabled());

    // So the names are still the map's own: Save HM Scenario Map writes them back.
    dialogs->messages.clear();
    dialogs->fileAnswers << scenario;
    testing::ClickMenuItem(*form, QStringLiteral("File"), QStringLiteral("Save HM Scenario Map"));
    QVERIFY2(dialogs->messages.isEmpty(), qPrintable(dialogs->messages.join(QLatin1Char('\n'))));
    QCOMPARE(Contents(scenario), original);
}

void FileCommandsTest::scenarioSaveRefusalsAndInPlaceWrite()
{
    const QString scenario = path(QStringLiteral("war.scn"));
    auto other = testing::BlankMap(9, 6);
    other->at(PlaceIndex, 0, 0) = 255;
    const QByteArray original = EncodeMapFile(*other) + QByteArray(1000, 'S');
    Write(scenario, original);

    // The wrong size is refused, the file untouched.
    dialogs->fileAnswers << scenario;
    testing::ClickMenuItem(*form, QStringLiteral("File"), QStringLiteral("Save Map To Scenario"));
    QCOMPARE(dialogs->fileDialogsShown.last().title, QStringLiteral("Save Map to Regular Ketura Scenario File"));
    QCOMPARE(dialogs->messages, QStringList{QStringLiteral(
        "Scenario Save Aborted!: This map is 8x6 but\n the scenario map is 9x6.\n     SAVE ABORTED.")});
    QCOMPARE(Contents(scenario), original);

    // No such file.
    dialogs->messages.clear();
    dialogs->fileAnswers << path(QStringLiteral("none.scn"));
    testing::ClickMenuItem(*form, QStringLiteral("File"), QStringLiteral("Save Map To Scenario"));
    QCOMPARE(dialogs->messages, QStringList{QStringLiteral(
        "No Such Scenario File: There is no file:\n%1\nYou must save into an existing      scenario file.")
                                                .arg(path(QStringLiteral("none.scn")))});
    QVERIFY(!QFile::exists(path(QStringLiteral("none.scn"))));

    // A name without ".scn" is asked about; Cancel ends.
    dialogs->fileAnswers << path(QStringLiteral("war.dat"));
    testing::ClickMenuItem(*form, QStringLiteral("File"), QStringLiteral("Save Map To Scenario"));
    QVERIFY(dialogs->questions.last().startsWith(QLatin1String("Extension is not SCN: ")));

    // The right size: the block is rewritten, the rest stays.
    auto sameSize = testing::BlankMap(8, 6);
    sameSize->at(PlaceIndex, 0, 0) = 255; // byte 4 as a regular scenario has it
    Write(scenario, EncodeMapFile(*sameSize) + QByteArray(1000, 'S'));
    dialogs->messages.clear();
    dialogs->fileAnswers << scenario;
    testing::ClickMenuItem(*form, QStringLiteral("File"), QStringLiteral("Save Map To Scenario"));
    QVERIFY(dialogs->messages.isEmpty());
    QCOMPARE(Contents(scenario), EncodeMapFile(map()) + QByteArray(1000, 'S'));
}

void FileCommandsTest::openFileTakesTheLayoutTheScenarioReadsAs()
{
    // A regular scenario whose hex (0, 0) names place 3: byte 4 looks homemade, the block does not.
    auto regular = testing::BlankMap(5, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x)
            regular->at(TileIndex, x, y) = 1;
    QCOMPARE(SetPlaceReference(*regular, {0, 0}, 3), QString());
    const QString regularPath = path(QStringLiteral("regular.scn"));
    Write(regularPath, EncodeMapFile(*regular) + QByteArray(300, 'R'));
    QVERIFY(form->openFile(regularPath));
    QVERIFY(dialogs->questions.isEmpty());
    QCOMPARE(document().fileFormat(), MapFileFormat::RegularScenario);
    QVERIFY(!tables().homemade);
    QCOMPARE(map().MapWidth, 5);
    QCOMPARE(PlaceReferenceOf(map(), {0, 0}), 3);
    QCOMPARE(int(map().at(TileIndex, 4, 4)), 1);
    const auto opened = std::make_unique<MapStore>(map());

    // A blank block reads as both layouts: the user chooses, and Cancel opens nothing.
    const QString both = path(QStringLiteral("both.scn"));
    Write(both, EncodeMapFile(*testing::BlankMap(6, 4)) + QByteArray(300, 'B'));
    QVERIFY(!form->openFile(both));
    QCOMPARE(dialogs->questions.size(), 1);
    QVERIFY2(dialogs->questions[0].startsWith(QLatin1String("Scenario Layout: ")), qPrintable(dialogs->questions[0]));
    QVERIFY(dialogs->messages.isEmpty());
    QCOMPARE(document().filePath(), regularPath);
    QVERIFY(map().bytes == opened->bytes);

    dialogs->choiceAnswers << 1;
    QVERIFY(form->openFile(both));
    QCOMPARE(document().filePath(), both);
    QCOMPARE(document().fileFormat(), MapFileFormat::HomemadeScenario);
    QVERIFY(tables().homemade);
    QCOMPARE(map().MapWidth, 6);
}

void FileCommandsTest::citiesLoadIsAStepShowsTheWindowAndSaves()
{
    restart([](MapContent &content) {
        content.map.at(PlaceIndex, 5, 2) = 1;
        content.map.at(CityAttr03, 5, 2) = 4;
    });
    const auto before = std::make_unique<MapContent>(document().content());
    Write(path(QStringLiteral("towns.tst")), "Alpha\r\nBravo\r\nCharlie\r\n");
    dialogs->fileAnswers << path(QStringLiteral("towns.tst"));
    testing::ClickMenuItem(*form, QStringLiteral("Cities"), QStringLiteral("Load Cities"));
    QCOMPARE(dialogs->fileDialogsShown.last().title, QStringLiteral("Load Ketura City File"));
    QVERIFY(tables().citiesLoaded);
    QTRY_VERIFY(form->cityForm().isVisible());
    const auto loaded = std::make_unique<MapTables>(tables());
    QCOMPARE(loaded->cities.cell(CityTable::NameColumn, 2), QStringLiteral("Bravo"));
    QCOMPARE(loaded->cities.cell(CityTable::XColumn, 2), QStringLiteral("5"));
    QCOMPARE(loaded->cities.cell(CityTable::Attr03Column, 2), QStringLiteral("4"));
    QCOMPARE(loaded->cities.rowCount(), 5);

    // The load is a step of its own: undone and redone whole.
    QVERIFY(form->isWindowModified());
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("Undo Load Cities"));
    QVERIFY(tables() == before->tables);
    QVERIFY(!tables().citiesLoaded);
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("Redo Load Cities"));
    QVERIFY(tables() == *loaded);

    dialogs->fileAnswers << path(QStringLiteral("again.tst"));
    testing::ClickMenuItem(*form, QStringLiteral("Cities"), QStringLiteral("Save Cities"));
    QCOMPARE(dialogs->fileDialogsShown.last().title, QStringLiteral("City Ketura City File"));
    QCOMPARE(Contents(path(QStringLiteral("again.tst"))), QByteArray("Alpha\r\nBravo\r\nCharlie\r\n"));
}

QTEST_MAIN(FileCommandsTest)
#include "tst_file_commands.moc"
