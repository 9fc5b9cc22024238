// Place names and city captions through the real windows: Done, Delete, Clear Place Names,
// Copy Place Name's Shift rule, city caption and clear, and the hover label's names.

#include "test_support.h"

#include "forms/City.h"
#include "forms/Map.h"
#include "forms/Places.h"
#include "forms/picture_box.h"
#include "forms/windows.h"
#include "model/editor_state.h"
#include "model/geometry.h"
#include "tools/place_names.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using namespace vantor;

class PlacesAndCitiesTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void doneWritesPlacesOnTheMap();
    void doneStopsAtABadNumberAndStaysOpen();
    void deleteRemovesOnePlacesReferences();
    void deleteOnARowWithoutAHexOnlyEmptiesItsCells();
    void clearPlaceNamesAskedYesAndNo();
    void copyPlaceNameShiftClickFirstPicksThePreviousPoint();
    void captionAndClearTheSameHex();
    void captionWithEmptyCellsStopsAfterThePlace();
    void cityClicksOffTheMapTouchNothing();
    void referencesThatDoNotFitAreNotWrapped();
    void hoverLabelNamesPlacesAndCities();

private:
    void selectCityRow(int gridRow);
    void clickCityButton(const char *name);
    QTableWidget *placeGrid() { return PlaceForm->findChild<QTableWidget *>(QStringLiteral("PlaceStringGrid")); }
    QTableWidget *cityGrid() { return CityForm->findChild<QTableWidget *>(QStringLiteral("CitySG")); }

    std::unique_ptr<testing::ScriptedDialogs> dialogs;
    std::unique_ptr<VantorWindows> windows;
    TMapForm *form = nullptr;
};

void PlacesAndCitiesTest::init()
{
    Map = MapStore{};
    Editor = EditorState{};
    Map.MapWidth = 12;
    Map.MapHeight = 10;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x) {
            Map.at(PlaceIndex, x, y) = 255;
            Map.at(PlaceIndexHigh, x, y) = 127;
            Map.at(CityAttr16, x, y) = 255;
        }
    dialogs = std::make_unique<testing::ScriptedDialogs>();
    windows = std::make_unique<VantorWindows>();
    form = &windows->main();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
}

void PlacesAndCitiesTest::cleanup()
{
    windows.reset();
    dialogs.reset();
}

void PlacesAndCitiesTest::selectCityRow(int gridRow) { cityGrid()->setCurrentCell(gridRow - 1, 1); }

void PlacesAndCitiesTest::clickCityButton(const char *name)
{
    QTest::mouseClick(CityForm->findChild<QPushButton *>(QLatin1String(name)), Qt::LeftButton);
}

void PlacesAndCitiesTest::doneWritesPlacesOnTheMap()
{
    PlaceTable places(260);
    places.setCell(PlaceTable::XColumn, 1, QStringLiteral("0")); // 0, 0: no location
    places.setCell(PlaceTable::YColumn, 1, QStringLiteral("0"));
    places.setCell(PlaceTable::XColumn, 2, QStringLiteral("5")); // 5, 0
    places.setCell(PlaceTable::YColumn, 2, QStringLiteral("0"));
    places.setCell(PlaceTable::XColumn, 3, QStringLiteral("12")); // X equal to the width: skipped
    places.setCell(PlaceTable::YColumn, 3, QStringLiteral("4"));
    places.setCell(PlaceTable::XColumn, 258, QStringLiteral("7")); // place 257
    places.setCell(PlaceTable::YColumn, 258, QStringLiteral("9"));
    places.setCell(PlaceTable::NameColumn, 258, QStringLiteral("Far Point"));
    PlaceForm->setPlaces(places);
    form->findChild<QAction *>(QStringLiteral("EditPlaceNames1"))->setEnabled(true);
    testing::ClickMenuItem(*form, QStringLiteral("Tools"), QStringLiteral("Edit Place Names"));
    QTRY_VERIFY(PlaceForm->isVisible());
    QTest::mouseClick(PlaceForm->findChild<QPushButton *>(QStringLiteral("DoneBtn")), Qt::LeftButton);
    QVERIFY(!PlaceForm->isVisible());
    QCOMPARE(PlaceReferenceOf(Map, {0, 0}), NoPlace);
    QCOMPARE(PlaceReferenceOf(Map, {5, 0}), 1);
    for (int y = 0; y < 10; ++y)
        QCOMPARE(PlaceReferenceOf(Map, {0, y}), NoPlace); // the wrapped X = 12 wrote nothing
    QCOMPARE(int(Map.at(PlaceIndex, 7, 9)), 1); // 257: low byte 1, high byte 1
    QCOMPARE(int(Map.at(PlaceIndexHigh, 7, 9)), 1);
    QCOMPARE(PlaceForm->placeName(257), QStringLiteral("Far Point"));
}

void PlacesAndCitiesTest::doneStopsAtABadNumberAndStaysOpen()
{
    PlaceTable places(4);
    places.setCell(PlaceTable::XColumn, 1, QStringLiteral("2"));
    places.setCell(PlaceTable::YColumn, 1, QStringLiteral("3"));
    places.setCell(PlaceTable::XColumn, 2, QStringLiteral("two"));
    places.setCell(PlaceTable::XColumn, 3, QStringLiteral("4"));
    places.setCell(PlaceTable::YColumn, 3, QStringLiteral("4"));
    PlaceForm->setPlaces(places);
    PlaceForm->show();
    QTest::mouseClick(PlaceForm->findChild<QPushButton *>(QStringLiteral("DoneBtn")), Qt::LeftButton);
    QCOMPARE(dialogs->errors, QStringList{QStringLiteral("'two' is not a valid integer value")});
    QVERIFY(PlaceForm->isVisible());
    QCOMPARE(PlaceReferenceOf(Map, {2, 3}), 0);       // written before the bad cell
    QCOMPARE(PlaceReferenceOf(Map, {4, 4}), NoPlace); // not reached
}

void PlacesAndCitiesTest::deleteRemovesOnePlacesReferences()
{
    Map.at(PlaceIndex, 1, 1) = 4;
    Map.at(PlaceIndexHigh, 1, 1) = 0;
    Map.at(PlaceIndex, 6, 6) = 4;
    Map.at(PlaceIndexHigh, 6, 6) = 0;
    Map.at(PlaceIndex, 2, 2) = 5;
    Map.at(PlaceIndexHigh, 2, 2) = 0;
    PlaceTable places(6);
    places.setCell(PlaceTable::XColumn, 5, QStringLiteral("1"));
    places.setCell(PlaceTable::YColumn, 5, QStringLiteral("1"));
    places.setCell(PlaceTable::NameColumn, 5, QStringLiteral("Lae"));
    PlaceForm->setPlaces(places);
    placeGrid()->setCurrentCell(4, 0);
    QTest::mouseClick(PlaceForm->findChild<QPushButton *>(QStringLiteral("DeleteBtn")), Qt::LeftButton);
    QCOMPARE(PlaceReferenceOf(Map, {1, 1}), NoPlace);
    QCOMPARE(PlaceReferenceOf(Map, {6, 6}), NoPlace);
    QCOMPARE(PlaceReferenceOf(Map, {2, 2}), 5);
    QCOMPARE(PlaceForm->places().cell(PlaceTable::XColumn, 5), QString());
    QCOMPARE(PlaceForm->places().cell(PlaceTable::YColumn, 5), QString());
    QCOMPARE(PlaceForm->places().cell(PlaceTable::NameColumn, 5), QStringLiteral("Lae"));
}

void PlacesAndCitiesTest::deleteOnARowWithoutAHexOnlyEmptiesItsCells()
{
    // The row points at a hex without a place: only hexes holding 255 with high byte 0 are cleared.
    Map.at(PlaceIndex, 3, 3) = 255;
    Map.at(PlaceIndexHigh, 3, 3) = 0;
    PlaceTable places(2);
    places.setCell(PlaceTable::XColumn, 1, QStringLiteral("8"));
    places.setCell(PlaceTable::YColumn, 1, QStringLiteral("8"));
    PlaceForm->setPlaces(places);
    placeGrid()->setCurrentCell(0, 0);
    QTest::mouseClick(PlaceForm->findChild<QPushButton *>(QStringLiteral("DeleteBtn")), Qt::LeftButton);
    QCOMPARE(int(Map.at(PlaceIndexHigh, 3, 3)), 127);
    QCOMPARE(PlaceReferenceOf(Map, {8, 8}), NoPlace);
    QCOMPARE(PlaceForm->places().cell(PlaceTable::XColumn, 1), QString());

    // A row off the map only loses its cells; an empty cell is not a number.
    places.setCell(PlaceTable::XColumn, 1, QStringLiteral("40"));
    places.setCell(PlaceTable::YColumn, 1, QStringLiteral("2"));
    PlaceForm->setPlaces(places);
    QTest::mouseClick(PlaceForm->findChild<QPushButton *>(QStringLiteral("DeleteBtn")), Qt::LeftButton);
    QCOMPARE(PlaceForm->places().cell(PlaceTable::XColumn, 1), QString());
    QVERIFY(dialogs->errors.isEmpty());
    QTest::mouseClick(PlaceForm->findChild<QPushButton *>(QStringLiteral("DeleteBtn")), Qt::LeftButton);
    QCOMPARE(dialogs->errors, QStringList{QStringLiteral("'' is not a valid integer value")});
}

void PlacesAndCitiesTest::clearPlaceNamesAskedYesAndNo()
{
    Map.at(PlaceIndex, 4, 4) = 9;
    Map.at(PlaceIndexHigh, 4, 4) = 0;
    Map.at(CityAttr03, 4, 4) = 3;
    PlaceTable places(3);
    places.setCell(PlaceTable::XColumn, 2, QStringLiteral("4"));
    places.setCell(PlaceTable::YColumn, 2, QStringLiteral("4"));
    places.setCell(PlaceTable::NameColumn, 2, QStringLiteral("Buna"));
    PlaceForm->setPlaces(places);

    dialogs->confirmAnswers << false;
    testing::ClickMenuItem(*form, QStringLiteral("Tools"), QStringLiteral("Clear Place Names"));
    QCOMPARE(dialogs->questions, QStringList{QStringLiteral(
        "Delete Place Coordinates: Are you sure that you want to remove all place name references?")});
    QCOMPARE(PlaceReferenceOf(Map, {4, 4}), 9);
    QCOMPARE(PlaceForm->places().cell(PlaceTable::XColumn, 2), QStringLiteral("4"));

    dialogs->confirmAnswers << true;
    testing::ClickMenuItem(*form, QStringLiteral("Tools"), QStringLiteral("Clear Place Names"));
    QCOMPARE(PlaceReferenceOf(Map, {4, 4}), NoPlace);
    QCOMPARE(int(Map.at(CityAttr03, 4, 4)), 3); // city attributes stay
    QCOMPARE(PlaceForm->places().cell(PlaceTable::XColumn, 2), QString());
    QCOMPARE(PlaceForm->places().cell(PlaceTable::NameColumn, 2), QStringLiteral("Buna"));
}

void PlacesAndCitiesTest::copyPlaceNameShiftClickFirstPicksThePreviousPoint()
{
    Map.at(PlaceIndex, 2, 2) = 3;
    Map.at(PlaceIndexHigh, 2, 2) = 0;
    form->findChild<QAction *>(QStringLiteral("CopyPlaceName1"))->setEnabled(true);
    testing::ClickHex(*form, 2, 2); // an ordinary click (nothing picked to paint) leaves the click point here
    testing::ClickMenuItem(*form, QStringLiteral("Tools"), QStringLiteral("Copy Place Name"));
    testing::ClickHex(*form, 9, 9, Qt::LeftButton, Qt::ShiftModifier); // picks the source at (2, 2), not at (9, 9)
    auto *prompt = form->findChild<QLabel *>(QStringLiteral("PromptPanel"));
    QCOMPARE(prompt->text(), QStringLiteral("Click destination(s). Shift click to exit"));
    testing::ClickHex(*form, 5, 5);
    QCOMPARE(PlaceReferenceOf(Map, {5, 5}), 3);
    testing::ClickHex(*form, 5, 6, Qt::LeftButton, Qt::ShiftModifier);
    QCOMPARE(Editor.ClickMode, int(PaintMode));
    QVERIFY(!prompt->isVisible());
}

void PlacesAndCitiesTest::captionAndClearTheSameHex()
{
    CityTable cities(3);
    cities.writeHeadings();
    cities.setCell(CityTable::NumberColumn, 1, QStringLiteral("0"));
    cities.setCell(CityTable::NameColumn, 1, QStringLiteral("Rabaul"));
    cities.setCell(CityTable::Attr03Column, 1, QStringLiteral("12"));
    cities.setCell(CityTable::Attr04Column, 1, QStringLiteral("$10"));
    cities.setCell(CityTable::Attr16Column, 1, QStringLiteral("300")); // stored as its low 8 bits
    CityForm->setCities(cities);
    CityForm->show();
    auto *chosen = CityForm->findChild<QLabel *>(QStringLiteral("Chosen1Lbl"));
    QCOMPARE(chosen->text(), QStringLiteral("0"));
    QCOMPARE(cityGrid()->horizontalHeaderItem(7)->text(), QStringLiteral(" 16"));

    selectCityRow(1);
    clickCityButton("CaptionBtn");
    QCOMPARE(Editor.ClickMode, int(CityCaptionMode));
    QCOMPARE(chosen->text(), QStringLiteral("0"));
    testing::ClickHex(*form, 7, 9);
    QCOMPARE(int(Map.at(PlaceIndex, 7, 9)), 0);
    QCOMPARE(int(Map.at(PlaceIndexHigh, 7, 9)), 0);
    QCOMPARE(int(Map.at(CityAttr03, 7, 9)), 12);
    QCOMPARE(int(Map.at(CityAttr04, 7, 9)), 16);
    QCOMPARE(int(Map.at(CityAttr16, 7, 9)), 300 & 0xFF);
    QCOMPARE(CityForm->cities().cell(CityTable::XColumn, 1), QStringLiteral("7"));
    QCOMPARE(CityForm->cities().cell(CityTable::YColumn, 1), QStringLiteral("9"));

    selectCityRow(2);
    clickCityButton("ClearBtn");
    QCOMPARE(chosen->text(), QStringLiteral("-1"));
    selectCityRow(1);
    clickCityButton("ClearBtn");
    QCOMPARE(chosen->text(), QStringLiteral("0"));
    testing::ClickHex(*form, 7, 9);
    QCOMPARE(PlaceReferenceOf(Map, {7, 9}), NoPlace);
    QCOMPARE(int(Map.at(CityAttr03, 7, 9)), 0);
    QCOMPARE(int(Map.at(CityAttr04, 7, 9)), 0);
    QCOMPARE(int(Map.at(CityAttr16, 7, 9)), 255);
    QCOMPARE(CityForm->cities().cell(CityTable::XColumn, 1), QString());

    clickCityButton("UncaptionBtn");
    QCOMPARE(Editor.ClickMode, int(PaintMode));
    QCOMPARE(chosen->text(), QString());
}

void PlacesAndCitiesTest::captionWithEmptyCellsStopsAfterThePlace()
{
    CityTable cities(3);
    cities.writeHeadings();
    cities.setCell(CityTable::NameColumn, 2, QStringLiteral("Gona"));
    CityForm->setCities(cities);
    selectCityRow(2);
    clickCityButton("CaptionBtn");
    testing::ClickHex(*form, 3, 4);
    QCOMPARE(dialogs->errors, QStringList{QStringLiteral("'' is not a valid integer value")});
    QCOMPARE(int(Map.at(PlaceIndex, 3, 4)), 1);
    QCOMPARE(int(Map.at(PlaceIndexHigh, 3, 4)), 0);
    QCOMPARE(int(Map.at(CityAttr16, 3, 4)), 255); // not reached
    QCOMPARE(CityForm->cities().cell(CityTable::XColumn, 2), QString());

    // Typing the three values first makes the caption complete.
    cities = CityForm->cities();
    cities.setCell(CityTable::Attr03Column, 2, QStringLiteral("1"));
    cities.setCell(CityTable::Attr04Column, 2, QStringLiteral("2"));
    cities.setCell(CityTable::Attr16Column, 2, QStringLiteral("3"));
    CityForm->setCities(cities);
    testing::ClickHex(*form, 3, 4);
    QCOMPARE(int(Map.at(CityAttr16, 3, 4)), 3);
    QCOMPARE(CityForm->cities().cell(CityTable::XColumn, 2), QStringLiteral("3"));
}

void PlacesAndCitiesTest::cityClicksOffTheMapTouchNothing()
{
    CityTable cities(2);
    cities.setCell(CityTable::Attr03Column, 1, QStringLiteral("1"));
    cities.setCell(CityTable::Attr04Column, 1, QStringLiteral("1"));
    cities.setCell(CityTable::Attr16Column, 1, QStringLiteral("1"));
    CityForm->setCities(cities);
    selectCityRow(1);
    clickCityButton("CaptionBtn");
    const auto before = std::make_unique<MapStore>(Map);
    QTest::mouseClick(form->findChild<PictureBox *>(QStringLiteral("MapImage")), Qt::LeftButton, {},
                      QPoint(37 * 12 + 9, 30));
    QVERIFY(Map.bytes == before->bytes);
    QCOMPARE(CityForm->cities().cell(CityTable::XColumn, 1), QString());
}

void PlacesAndCitiesTest::referencesThatDoNotFitAreNotWrapped()
{
    // Place 300 keeps its high byte, and deleting it leaves place 44 (its low byte) alone.
    PlaceTable places(302);
    places.setCell(PlaceTable::XColumn, 301, QStringLiteral("4"));
    places.setCell(PlaceTable::YColumn, 301, QStringLiteral("5"));
    places.setCell(PlaceTable::XColumn, 45, QStringLiteral("6"));
    places.setCell(PlaceTable::YColumn, 45, QStringLiteral("6"));
    QCOMPARE(ApplyPlaceCoordinates(Map, places), QString());
    QCOMPARE(PlaceReferenceOf(Map, {4, 5}), 300);
    QCOMPARE(PlaceReferenceOf(Map, {6, 6}), 44);
    QCOMPARE(DeletePlaceReferences(Map, places, 301), QString());
    QCOMPARE(PlaceReferenceOf(Map, {4, 5}), NoPlace);
    QCOMPARE(PlaceReferenceOf(Map, {6, 6}), 44);
    QCOMPARE(SetPlaceReference(Map, {1, 1}, NoPlace),
             QStringLiteral("Place 32767 cannot be written to a hex: a hex refers to places 0 to 32766."));

    // City 255 means no city: captioning with it is refused and the hex keeps its place.
    CityTable cities(258);
    for (const int column : {CityTable::Attr03Column, CityTable::Attr04Column, CityTable::Attr16Column})
        cities.setCell(column, 256, QStringLiteral("1"));
    CityForm->setCities(cities);
    selectCityRow(256);
    clickCityButton("CaptionBtn");
    const auto before = std::make_unique<MapStore>(Map);
    testing::ClickHex(*form, 6, 6);
    QCOMPARE(dialogs->errors,
             QStringList{QStringLiteral("City 255 cannot caption a hex: a hex holds cities 0 to 254 (255 means no city).")});
    QVERIFY(Map.bytes == before->bytes);

    // Load Cities brought fewer rows since Caption or Clear was pressed: a click does nothing.
    CityForm->setCities(CityTable(3));
    testing::ClickHex(*form, 6, 6);
    clickCityButton("ClearBtn"); // row 1 of the new table is current now
    CityForm->setCities(CityTable(1));
    testing::ClickHex(*form, 6, 6);
    QVERIFY(Map.bytes == before->bytes);
    QCOMPARE(CityForm->cities().rowCount(), 1);
    QCOMPARE(dialogs->errors.size(), 1);
}

void PlacesAndCitiesTest::hoverLabelNamesPlacesAndCities()
{
    Map.at(Terrain, 2, 1) = 4;
    Map.at(PlaceIndex, 2, 1) = 1;
    Map.at(PlaceIndexHigh, 2, 1) = 0;
    PlaceTable places(3);
    places.setCell(PlaceTable::NameColumn, 2, QStringLiteral("Finschhafen"));
    PlaceForm->setPlaces(places);
    CityTable cities(3);
    cities.setCell(CityTable::NumberColumn, 2, QStringLiteral("1"));
    cities.setCell(CityTable::NameColumn, 2, QStringLiteral("Madang"));
    CityForm->setCities(cities);
    auto *image = form->findChild<PictureBox *>(QStringLiteral("MapImage"));
    auto *where = form->findChild<QLabel *>(QStringLiteral("WhereLbl"));
    const PixelRect r = HexRect(1 * 12 + 2, 12);

    testing::HoverOver(image, QPoint(r.left + 20, r.top + 20));
    QCOMPARE(where->text(), QStringLiteral("2,1 Clear"));
    Editor.HomemadeMode = true;
    testing::HoverOver(image, QPoint(r.left + 20, r.top + 35));
    QCOMPARE(where->text(), QStringLiteral("2,1 Clear, Finschhafen"));
    Editor.HomemadeMode = false;
    Editor.CityMode = true;
    testing::HoverOver(image, QPoint(r.left + 20, r.top + 5));
    QCOMPARE(where->text(), QStringLiteral("2,1 Clear, Madang 1"));
}

QTEST_MAIN(PlacesAndCitiesTest)
#include "tst_places_and_cities.moc"
