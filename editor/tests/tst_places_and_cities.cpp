// Place names and city captions through the real windows: Done, Delete, Clear Place Names,
// Copy Place Name's Shift rule, city caption and clear, the hover label's names, and a place rename
// as one step of the history.

#include "test_support.h"

#include "files/scenario_file.h"
#include "forms/City.h"
#include "forms/Map.h"
#include "forms/Places.h"
#include "forms/picture_box.h"
#include "forms/windows.h"
#include "model/geometry.h"
#include "tools/place_names.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace vantor;

class PlacesAndCitiesTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void doneWritesPlacesOnTheMap();
    void doneStopsAtABadNumberAndStaysOpen();
    void deleteRemovesOnePlacesReferences();
    void deleteOnARowWithoutAHexOnlyEmptiesItsCells();
    void clearPlaceNamesAskedYesAndNo();
    void copyPlaceNameShiftClickEndsTheCommand();
    void captionAndClearTheSameHex();
    void captionWithEmptyCellsStopsAfterThePlace();
    void cityClicksOffTheMapTouchNothing();
    void referencesThatDoNotFitAreNotWrapped();
    void hoverLabelNamesPlacesAndCities();
    void placeRenameIsOneStepSavedAskedAboutAndUndone();

private:
    MapDocument &document() { return windows->document(); }
    const MapStore &map() { return windows->document().map(); }
    // Starts afresh from the content as it is, changed by change.
    void restart(const std::function<void(MapContent &)> &change);
    void selectCityRow(int gridRow);
    void clickCityButton(const char *name);
    void pressKeys(Qt::Key key, Qt::KeyboardModifiers modifiers);
    QTableView *placeGrid() { return form->placeForm().findChild<QTableView *>(QStringLiteral("PlaceStringGrid")); }
    QTableView *cityGrid() { return form->cityForm().findChild<QTableView *>(QStringLiteral("CitySG")); }
    // Types text into a cell of the grid, grid row gridRow.
    static void type(QTableView *grid, int column, int gridRow, const QString &text)
    {
        QVERIFY(grid->model()->setData(grid->model()->index(gridRow - 1, column), text));
    }
    // The text the grid shows in a cell.
    static QString shown(QTableView *grid, int column, int gridRow)
    {
        return grid->model()->index(gridRow - 1, column).data().toString();
    }

    QTemporaryDir setsDir;
    std::unique_ptr<testing::ScriptedDialogs> dialogs;
    std::unique_ptr<VantorWindows> windows;
    TMapForm *form = nullptr;
};

void PlacesAndCitiesTest::initTestCase()
{
    QVERIFY(setsDir.isValid());
    for (int s = 0; s < 16; ++s)
        testing::WriteSyntheticTileSet(setsDir.path(), s);
}

void PlacesAndCitiesTest::init()
{
    dialogs = std::make_unique<testing::ScriptedDialogs>();
    windows = std::make_unique<VantorWindows>();
    form = &windows->main();
    windows->settings().programDir = setsDir.path() + QLatin1Char('/');
    restart([](MapContent &content) {
        MapStore &map = content.map;
        map.MapWidth = 12;
        map.MapHeight = 10;
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 12; ++x) {
                map.at(PlaceIndex, x, y) = 255;
                map.at(PlaceIndexHigh, x, y) = 127;
                map.at(CityAttr16, x, y) = 255;
            }
    });
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
}

void PlacesAndCitiesTest::restart(const std::function<void(MapContent &)> &change)
{
    auto content = std::make_unique<MapContent>(document().content());
    change(*content);
    document().start(*content);
}

void PlacesAndCitiesTest::pressKeys(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form));
    QTest::keyClick(form, key, modifiers);
}

void PlacesAndCitiesTest::cleanup()
{
    windows.reset();
    dialogs.reset();
}

void PlacesAndCitiesTest::selectCityRow(int gridRow)
{
    cityGrid()->setCurrentIndex(cityGrid()->model()->index(gridRow - 1, 1));
}

void PlacesAndCitiesTest::clickCityButton(const char *name)
{
    QTest::mouseClick(form->cityForm().findChild<QPushButton *>(QLatin1String(name)), Qt::LeftButton);
}


void PlacesAndCitiesTest::doneWritesPlacesOnTheMap()
{
    restart([](MapContent &content) {
        PlaceTable &places = content.tables.places;
        places = PlaceTable(260);
        places.setCell(PlaceTable::XColumn, 1, QStringLiteral("0")); // 0, 0: no location
        places.setCell(PlaceTable::YColumn, 1, QStringLiteral("0"));
        places.setCell(PlaceTable::XColumn, 2, QStringLiteral("5")); // 5, 0
        places.setCell(PlaceTable::YColumn, 2, QStringLiteral("0"));
        places.setCell(PlaceTable::XColumn, 3, QStringLiteral("12")); // X equal to the width: skipped
        places.setCell(PlaceTable::YColumn, 3, QStringLiteral("4"));
        places.setCell(PlaceTable::XColumn, 258, QStringLiteral("7")); // place 257
        places.setCell(PlaceTable::YColumn, 258, QStringLiteral("9"));
        places.setCell(PlaceTable::NameColumn, 258, QStringLiteral("Far Point"));
        content.tables.homemade = true; // the place-name commands serve a homemade scenario
    });
    testing::ClickMenuItem(*form, QStringLiteral("Tools"), QStringLiteral("Edit Place Names"));
    QTRY_VERIFY(form->placeForm().isVisible());
    QTest::mouseClick(form->placeForm().findChild<QPushButton *>(QStringLiteral("DoneBtn")), Qt::LeftButton);
    QVERIFY(!form->placeForm().isVisible());
    QCOMPARE(PlaceReferenceOf(map(), {0, 0}), NoPlace);
    QCOMPARE(PlaceReferenceOf(map(), {5, 0}), 1);
    for (int y = 0; y < 10; ++y)
        QCOMPARE(PlaceReferenceOf(map(), {0, y}), NoPlace); // the wrapped X = 12 wrote nothing
    QCOMPARE(int(map().at(PlaceIndex, 7, 9)), 1); // 257: low byte 1, high byte 1
    QCOMPARE(int(map().at(PlaceIndexHigh, 7, 9)), 1);
    QCOMPARE(document().tables().places.cell(PlaceTable::NameColumn, 258), QStringLiteral("Far Point"));
}

void PlacesAndCitiesTest::doneStopsAtABadNumberAndStaysOpen()
{
    restart([](MapContent &content) {
        PlaceTable &places = content.tables.places;
        places = PlaceTable(4);
        places.setCell(PlaceTable::XColumn, 1, QStringLiteral("2"));
        places.setCell(PlaceTable::YColumn, 1, QStringLiteral("3"));
        places.setCell(PlaceTable::XColumn, 2, QStringLiteral("two"));
        places.setCell(PlaceTable::XColumn, 3, QStringLiteral("4"));
        places.setCell(PlaceTable::YColumn, 3, QStringLiteral("4"));
    });
    form->placeForm().show();
    QTest::mouseClick(form->placeForm().findChild<QPushButton *>(QStringLiteral("DoneBtn")), Qt::LeftButton);
    QCOMPARE(dialogs->errors, QStringList{QStringLiteral("'two' is not a valid integer value")});
    QVERIFY(form->placeForm().isVisible());
    QCOMPARE(PlaceReferenceOf(map(), {2, 3}), 0);       // written before the bad cell
    QCOMPARE(PlaceReferenceOf(map(), {4, 4}), NoPlace); // not reached
}

void PlacesAndCitiesTest::deleteRemovesOnePlacesReferences()
{
    restart([](MapContent &content) {
        MapStore &map = content.map;
        map.at(PlaceIndex, 1, 1) = 4;
        map.at(PlaceIndexHigh, 1, 1) = 0;
        map.at(PlaceIndex, 6, 6) = 4;
        map.at(PlaceIndexHigh, 6, 6) = 0;
        map.at(PlaceIndex, 2, 2) = 5;
        map.at(PlaceIndexHigh, 2, 2) = 0;
        PlaceTable &places = content.tables.places;
        places = PlaceTable(6);
        places.setCell(PlaceTable::XColumn, 5, QStringLiteral("1"));
        places.setCell(PlaceTable::YColumn, 5, QStringLiteral("1"));
        places.setCell(PlaceTable::NameColumn, 5, QStringLiteral("Lae"));
    });
    placeGrid()->setCurrentIndex(placeGrid()->model()->index(4, 0));
    QTest::mouseClick(form->placeForm().findChild<QPushButton *>(QStringLiteral("DeleteBtn")), Qt::LeftButton);
    QCOMPARE(PlaceReferenceOf(map(), {1, 1}), NoPlace);
    QCOMPARE(PlaceReferenceOf(map(), {6, 6}), NoPlace);
    QCOMPARE(PlaceReferenceOf(map(), {2, 2}), 5);
    QCOMPARE(shown(placeGrid(), PlaceTable::XColumn, 5), QString());
    QCOMPARE(shown(placeGrid(), PlaceTable::YColumn, 5), QString());
    QCOMPARE(shown(placeGrid(), PlaceTable::NameColumn, 5), QStringLiteral("Lae"));
}

void PlacesAndCitiesTest::deleteOnARowWithoutAHexOnlyEmptiesItsCells()
{
    // The row points at a hex without a place: only hexes holding 255 with high byte 0 are cleared.
    restart([](MapContent &content) {
        content.map.at(PlaceIndex, 3, 3) = 255;
        content.map.at(PlaceIndexHigh, 3, 3) = 0;
        content.tables.places = PlaceTable(2);
        content.tables.places.setCell(PlaceTable::XColumn, 1, QStringLiteral("8"));
        content.tables.places.setCell(PlaceTable::YColumn, 1, QStringLiteral("8"));
    });
    auto *deleteButton = form->placeForm().findChild<QPushButton *>(QStringLiteral("DeleteBtn"));
    placeGrid()->setCurrentIndex(placeGrid()->model()->index(0, 0));
    QTest::mouseClick(deleteButton, Qt::LeftButton);
    QCOMPARE(int(map().at(PlaceIndexHigh, 3, 3)), 127);
    QCOMPARE(PlaceReferenceOf(map(), {8, 8}), NoPlace);
    QCOMPARE(shown(placeGrid(), PlaceTable::XColumn, 1), QString());

    // A row off the map only loses its cells; an empty cell is not a number.
    type(placeGrid(), PlaceTable::XColumn, 1, QStringLiteral("40"));
    type(placeGrid(), PlaceTable::YColumn, 1, QStringLiteral("2"));
    QTest::mouseClick(deleteButton, Qt::LeftButton);
    QCOMPARE(shown(placeGrid(), PlaceTable::XColumn, 1), QString());
    QVERIFY(dialogs->errors.isEmpty());
    QTest::mouseClick(deleteButton, Qt::LeftButton);
    QCOMPARE(dialogs->errors, QStringList{QStringLiteral("'' is not a valid integer value")});
}

void PlacesAndCitiesTest::clearPlaceNamesAskedYesAndNo()
{
    restart([](MapContent &content) {
        content.map.at(PlaceIndex, 4, 4) = 9;
        content.map.at(PlaceIndexHigh, 4, 4) = 0;
        content.map.at(CityAttr03, 4, 4) = 3;
        content.tables.places = PlaceTable(3);
        content.tables.places.setCell(PlaceTable::XColumn, 2, QStringLiteral("4"));
        content.tables.places.setCell(PlaceTable::YColumn, 2, QStringLiteral("4"));
        content.tables.places.setCell(PlaceTable::NameColumn, 2, QStringLiteral("Buna"));
    });
    const PlaceTable &places = document().tables().places;

    dialogs->confirmAnswers << false;
    testing::ClickMenuItem(*form, QStringLiteral("Tools"), QStringLiteral("Clear Place Names"));
    QCOMPARE(dialogs->questions, QStringList{QStringLiteral(
        "Delete Place Coordinates: Are you sure that you want to remove all place name references?")});
    QCOMPARE(PlaceReferenceOf(map(), {4, 4}), 9);
    QCOMPARE(places.cell(PlaceTable::XColumn, 2), QStringLiteral("4"));

    dialogs->confirmAnswers << true;
    testing::ClickMenuItem(*form, QStringLiteral("Tools"), QStringLiteral("Clear Place Names"));
    QCOMPARE(PlaceReferenceOf(map(), {4, 4}), NoPlace);
    QCOMPARE(int(map().at(CityAttr03, 4, 4)), 3); // city attributes stay
    QCOMPARE(document().tables().places.cell(PlaceTable::XColumn, 2), QString());
    QCOMPARE(document().tables().places.cell(PlaceTable::NameColumn, 2), QStringLiteral("Buna"));
}

void PlacesAndCitiesTest::copyPlaceNameShiftClickEndsTheCommand()
{
    restart([](MapContent &content) {
        content.map.at(PlaceIndex, 2, 2) = 3;
        content.map.at(PlaceIndexHigh, 2, 2) = 0;
        content.tables.homemade = true;
    });
    testing::ClickMenuItem(*form, QStringLiteral("Tools"), QStringLiteral("Copy Place Name"));
    auto *prompt = form->findChild<QLabel *>(QStringLiteral("PromptPanel"));
    QCOMPARE(prompt->text(), QStringLiteral("Click on name to Copy."));
    testing::ClickHex(*form, 9, 9); // no place there: nothing picked
    QCOMPARE(prompt->text(), QStringLiteral("Click on name to Copy."));
    testing::ClickHex(*form, 2, 2);
    QCOMPARE(prompt->text(), QStringLiteral("Click destination(s). Shift click to exit"));
    testing::ClickHex(*form, 5, 5);
    QCOMPARE(PlaceReferenceOf(map(), {5, 5}), 3);
    testing::ClickHex(*form, 5, 6, Qt::LeftButton, Qt::ShiftModifier);
    QCOMPARE(PlaceReferenceOf(map(), {5, 6}), NoPlace);
    QCOMPARE(form->tools().mode(), ClickMode::Paint);
    QVERIFY(!prompt->isVisible());
}

void PlacesAndCitiesTest::captionAndClearTheSameHex()
{
    restart([](MapContent &content) {
        CityTable &cities = content.tables.cities;
        cities = CityTable(3);
        cities.writeHeadings();
        cities.setCell(CityTable::NumberColumn, 1, QStringLiteral("0"));
        cities.setCell(CityTable::NameColumn, 1, QStringLiteral("Rabaul"));
        cities.setCell(CityTable::Attr03Column, 1, QStringLiteral("12"));
        cities.setCell(CityTable::Attr04Column, 1, QStringLiteral("$10"));
        cities.setCell(CityTable::Attr16Column, 1, QStringLiteral("300")); // stored as its low 8 bits
    });
    form->cityForm().show();
    auto *chosen = form->cityForm().findChild<QLabel *>(QStringLiteral("Chosen1Lbl"));
    QCOMPARE(chosen->text(), QStringLiteral("0"));
    QCOMPARE(cityGrid()->model()->headerData(7, Qt::Horizontal).toString(), QStringLiteral(" 16"));

    selectCityRow(1);
    clickCityButton("CaptionBtn");
    QCOMPARE(form->tools().mode(), ClickMode::CityCaption);
    QCOMPARE(chosen->text(), QStringLiteral("0"));
    testing::ClickHex(*form, 7, 9);
    QCOMPARE(int(map().at(PlaceIndex, 7, 9)), 0);
    QCOMPARE(int(map().at(PlaceIndexHigh, 7, 9)), 0);
    QCOMPARE(int(map().at(CityAttr03, 7, 9)), 12);
    QCOMPARE(int(map().at(CityAttr04, 7, 9)), 16);
    QCOMPARE(int(map().at(CityAttr16, 7, 9)), 300 & 0xFF);
    QCOMPARE(shown(cityGrid(), CityTable::XColumn, 1), QStringLiteral("7"));
    QCOMPARE(shown(cityGrid(), CityTable::YColumn, 1), QStringLiteral("9"));

    selectCityRow(2);
    clickCityButton("ClearBtn");
    QCOMPARE(chosen->text(), QStringLiteral("-1"));
    selectCityRow(1);
    clickCityButton("ClearBtn");
    QCOMPARE(chosen->text(), QStringLiteral("0"));
    testing::ClickHex(*form, 7, 9);
    QCOMPARE(PlaceReferenceOf(map(), {7, 9}), NoPlace);
    QCOMPARE(int(map().at(CityAttr03, 7, 9)), 0);
    QCOMPARE(int(map().at(CityAttr04, 7, 9)), 0);
    QCOMPARE(int(map().at(CityAttr16, 7, 9)), 255);
    QCOMPARE(shown(cityGrid(), CityTable::XColumn, 1), QString());

    clickCityButton("UncaptionBtn");
    QCOMPARE(form->tools().mode(), ClickMode::Paint);
    QCOMPARE(chosen->text(), QString());
}

void PlacesAndCitiesTest::captionWithEmptyCellsStopsAfterThePlace()
{
    restart([](MapContent &content) {
        content.tables.cities = CityTable(3);
        content.tables.cities.writeHeadings();
        content.tables.cities.setCell(CityTable::NameColumn, 2, QStringLiteral("Gona"));
    });
    selectCityRow(2);
    clickCityButton("CaptionBtn");
    testing::ClickHex(*form, 3, 4);
    QCOMPARE(dialogs->errors, QStringList{QStringLiteral("'' is not a valid integer value")});
    QCOMPARE(int(map().at(PlaceIndex, 3, 4)), 1);
    QCOMPARE(int(map().at(PlaceIndexHigh, 3, 4)), 0);
    QCOMPARE(int(map().at(CityAttr16, 3, 4)), 255); // not reached
    QCOMPARE(shown(cityGrid(), CityTable::XColumn, 2), QString());

    // Typing the three values first makes the caption complete; each typed cell is a step.
    type(cityGrid(), CityTable::Attr03Column, 2, QStringLiteral("1"));
    type(cityGrid(), CityTable::Attr04Column, 2, QStringLiteral("2"));
    type(cityGrid(), CityTable::Attr16Column, 2, QStringLiteral("3"));
    QCOMPARE(document().history().undoText(), QStringLiteral("City Names"));
    testing::ClickHex(*form, 3, 4);
    QCOMPARE(int(map().at(CityAttr16, 3, 4)), 3);
    QCOMPARE(shown(cityGrid(), CityTable::XColumn, 2), QStringLiteral("3"));
}

void PlacesAndCitiesTest::cityClicksOffTheMapTouchNothing()
{
    restart([](MapContent &content) {
        content.tables.cities = CityTable(2);
        for (const int column : {CityTable::Attr03Column, CityTable::Attr04Column, CityTable::Attr16Column})
            content.tables.cities.setCell(column, 1, QStringLiteral("1"));
    });
    selectCityRow(1);
    clickCityButton("CaptionBtn");
    const auto before = std::make_unique<MapStore>(map());
    QTest::mouseClick(form->findChild<PictureBox *>(QStringLiteral("MapImage")), Qt::LeftButton, {},
                      QPoint(37 * 12 + 9, 30));
    QVERIFY(map().bytes == before->bytes);
    QCOMPARE(shown(cityGrid(), CityTable::XColumn, 1), QString());
    QVERIFY(!document().isModified());
}

void PlacesAndCitiesTest::referencesThatDoNotFitAreNotWrapped()
{
    // Place 300 keeps its high byte, and deleting it leaves place 44 (its low byte) alone.
    const auto scratch = std::make_unique<MapStore>(map());
    MapStore &onMap = *scratch;
    PlaceTable places(302);
    places.setCell(PlaceTable::XColumn, 301, QStringLiteral("4"));
    places.setCell(PlaceTable::YColumn, 301, QStringLiteral("5"));
    places.setCell(PlaceTable::XColumn, 45, QStringLiteral("6"));
    places.setCell(PlaceTable::YColumn, 45, QStringLiteral("6"));
    QCOMPARE(ApplyPlaceCoordinates(onMap, places), QString());
    QCOMPARE(PlaceReferenceOf(onMap, {4, 5}), 300);
    QCOMPARE(PlaceReferenceOf(onMap, {6, 6}), 44);
    QCOMPARE(DeletePlaceReferences(onMap, places, 301), QString());
    QCOMPARE(PlaceReferenceOf(onMap, {4, 5}), NoPlace);
    QCOMPARE(PlaceReferenceOf(onMap, {6, 6}), 44);
    QCOMPARE(SetPlaceReference(onMap, {1, 1}, NoPlace),
             QStringLiteral("Place 32767 cannot be written to a hex: a hex refers to places 0 to 32766."));

    // City 255 means no city: captioning with it is refused and the hex keeps its place.
    restart([](MapContent &content) {
        content.tables.cities = CityTable(258);
        for (const int column : {CityTable::Attr03Column, CityTable::Attr04Column, CityTable::Attr16Column})
            content.tables.cities.setCell(column, 256, QStringLiteral("1"));
    });
    selectCityRow(256);
    clickCityButton("CaptionBtn");
    const auto before = std::make_unique<MapStore>(map());
    testing::ClickHex(*form, 6, 6);
    QCOMPARE(dialogs->errors,
             QStringList{QStringLiteral("City 255 cannot caption a hex: a hex holds cities 0 to 254 (255 means no city).")});
    QVERIFY(map().bytes == before->bytes);

    // Load Cities brought fewer rows since Caption or Clear was pressed: a click does nothing.
    const auto loadCities = [this](int rows) {
        document().edit(QStringLiteral("Load Cities"), [rows](MapContent &content) { content.tables.cities = CityTable(rows); });
    };
    loadCities(3);
    testing::ClickHex(*form, 6, 6);
    clickCityButton("ClearBtn"); // row 1 of the new table is current now
    loadCities(1);
    testing::ClickHex(*form, 6, 6);
    QVERIFY(map().bytes == before->bytes);
    QCOMPARE(document().tables().cities.rowCount(), 1);
    QCOMPARE(dialogs->errors.size(), 1);
}

void PlacesAndCitiesTest::hoverLabelNamesPlacesAndCities()
{
    restart([](MapContent &content) {
        content.map.at(Terrain, 2, 1) = 4;
        content.map.at(PlaceIndex, 2, 1) = 1;
        content.map.at(PlaceIndexHigh, 2, 1) = 0;
        content.tables.places = PlaceTable(3);
        content.tables.places.setCell(PlaceTable::NameColumn, 2, QStringLiteral("Finschhafen"));
        content.tables.cities = CityTable(3);
        content.tables.cities.setCell(CityTable::NumberColumn, 2, QStringLiteral("1"));
        content.tables.cities.setCell(CityTable::NameColumn, 2, QStringLiteral("Madang"));
    });
    auto *image = form->findChild<PictureBox *>(QStringLiteral("MapImage"));
    auto *where = form->findChild<QLabel *>(QStringLiteral("WhereLbl"));
    const PixelRect r = HexRect(1 * 12 + 2, 12);

    testing::HoverOver(image, QPoint(r.left + 20, r.top + 20));
    QCOMPARE(where->text(), QStringLiteral("2,1 Clear"));
    restart([](MapContent &content) { content.tables.homemade = true; });
    testing::HoverOver(image, QPoint(r.left + 20, r.top + 35));
    QCOMPARE(where->text(), QStringLiteral("2,1 Clear, Finschhafen"));
    restart([](MapContent &content) {
        content.tables.homemade = false;
        content.tables.citiesLoaded = true;
    });
    testing::HoverOver(image, QPoint(r.left + 20, r.top + 5));
    QCOMPARE(where->text(), QStringLiteral("2,1 Clear, Madang 1"));
}

void PlacesAndCitiesTest::placeRenameIsOneStepSavedAskedAboutAndUndone()
{
    // A homemade scenario with Wewak at (2, 3) and Hollandia at (4, 4).
    QTemporaryDir dir;
    const QString scenario = dir.filePath(QStringLiteral("hm.scn"));
    auto scenarioMap = std::make_unique<MapStore>(map());
    QCOMPARE(SetPlaceReference(*scenarioMap, {2, 3}, 0), QString());
    QCOMPARE(SetPlaceReference(*scenarioMap, {4, 4}, 1), QString());
    PlaceTable names(3);
    names.setCell(PlaceTable::NameColumn, 1, QStringLiteral("Wewak"));
    names.setCell(PlaceTable::NameColumn, 2, QStringLiteral("Hollandia"));
    testing::Write(scenario, EncodeScenarioMapBlock(*scenarioMap, ScenarioLayout::Homemade, names, 2) + QByteArray(50, 'G'));
    QCOMPARE(document().open(scenario, MapFileFormat::HomemadeScenario).outcome, LoadResult::Complete);
    const auto loaded = std::make_unique<MapContent>(document().content());

    // Rename Hollandia and move it to (7, 8): the typed cells and Done are one step.
    testing::ClickMenuItem(*form, QStringLiteral("Tools"), QStringLiteral("Edit Place Names"));
    QTRY_VERIFY(form->placeForm().isVisible());
    QCOMPARE(shown(placeGrid(), PlaceTable::NameColumn, 2), QStringLiteral("Hollandia"));
    type(placeGrid(), PlaceTable::NameColumn, 2, QStringLiteral("Aitape"));
    type(placeGrid(), PlaceTable::XColumn, 2, QStringLiteral("7"));
    type(placeGrid(), PlaceTable::YColumn, 2, QStringLiteral("8"));
    QTest::mouseClick(form->placeForm().findChild<QPushButton *>(QStringLiteral("DoneBtn")), Qt::LeftButton);
    QCOMPARE(document().history().count(), 1);
    QCOMPARE(document().history().undoText(), QStringLiteral("Place Names"));
    QCOMPARE(PlaceReferenceOf(map(), {7, 8}), 1);
    QVERIFY(form->isWindowModified());
    QCOMPARE(form->windowTitle(), QStringLiteral("hm.scn[*] - Vantor Version 0.50b"));

    dialogs->saveAnswers = {SaveChoice::Cancel};
    pressKeys(Qt::Key_Q, Qt::ControlModifier);
    QCOMPARE(dialogs->saveQuestions, QStringList{QStringLiteral("Vantor Version 0.50b: Save changes to hm.scn?")});
    QVERIFY(form->isVisible());

    pressKeys(Qt::Key_S, Qt::ControlModifier);
    QVERIFY2(dialogs->messages.isEmpty(), qPrintable(dialogs->messages.join(QLatin1Char('\n'))));
    QVERIFY(!form->isWindowModified());
    QByteArray saved;
    QCOMPARE(ReadScenarioFile(scenario, saved), QString());
    auto onDisk = std::make_unique<MapStore>();
    PlaceTable savedNames;
    int savedCount = 0;
    QCOMPARE(DecodeScenarioMap(saved, ScenarioLayout::Homemade, *onDisk, savedNames, savedCount).outcome, LoadResult::Complete);
    QCOMPARE(savedCount, 2);
    QCOMPARE(savedNames.cell(PlaceTable::NameColumn, 2), QStringLiteral("Aitape"));
    QCOMPARE(PlaceReferenceOf(*onDisk, {7, 8}), 1);

    // Undo brings back the cells and the hexes together; redo the rename and the move.
    pressKeys(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(shown(placeGrid(), PlaceTable::NameColumn, 2), QStringLiteral("Hollandia"));
    QCOMPARE(shown(placeGrid(), PlaceTable::XColumn, 2), QStringLiteral("4"));
    QCOMPARE(PlaceReferenceOf(map(), {7, 8}), NoPlace);
    QVERIFY(document().tables() == loaded->tables);
    QVERIFY(map().bytes == loaded->map.bytes);
    pressKeys(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(shown(placeGrid(), PlaceTable::NameColumn, 2), QStringLiteral("Aitape"));
    QCOMPARE(shown(placeGrid(), PlaceTable::YColumn, 2), QStringLiteral("8"));
    QCOMPARE(PlaceReferenceOf(map(), {7, 8}), 1);
    QVERIFY(!form->isWindowModified()); // back at the step saved
}

QTEST_MAIN(PlacesAndCitiesTest)
#include "tst_places_and_cities.moc"
