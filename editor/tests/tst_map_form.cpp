// The main window through its real widgets: start-up pictures, menus, and the map file commands.

#include "test_support.h"

#include "files/native_map_file.h"
#include "forms/Input.h"
#include "forms/Map.h"
#include "forms/Tiles.h"
#include "forms/picture_box.h"
#include "forms/windows.h"
#include "model/geometry.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace vantor;

namespace {

QStringList MenuLayout(const QMainWindow &window)
{
    QStringList layout;
    for (QAction *title : window.menuBar()->actions()) {
        QStringList items;
        for (QAction *item : title->menu()->actions())
            items << (item->isSeparator() ? QStringLiteral("-") : item->text());
        layout << title->text() + QStringLiteral(": ") + items.join(QLatin1String(" | "));
    }
    return layout;
}

} // namespace

class MapFormTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void createdWithTheOlivePicture();
    void firstActivationDrawsTheTitlePanel();
    void menusHaveTheirCaptions();
    void loadMapDrawsTheMap();
    void loadMapRefusesABadFileAndKeepsTheMap();
    void loadMapCancelledChangesNothing();
    void missingTileSetsAreReportedOncePerRedraw();
    void saveMapWritesTheFileAndAsksBeforeOverwriting();
    void newMapHasNoFileSoCtrlSAsksForOne();
    void resizingTheWindowResizesTheScrollBox();
    void exitClosesTheWindow();

private:
    MapDocument &document() { return windows->document(); }
    const MapStore &map() { return windows->document().map(); }
    // Starts afresh from a default content changed by change.
    void start(const std::function<void(MapContent &)> &change);

    QTemporaryDir setsDir;
    QTemporaryDir work;
    std::unique_ptr<testing::ScriptedDialogs> dialogs;
    std::unique_ptr<VantorWindows> windows;
    TMapForm *form = nullptr;
    QString builtProgramDir; // the program folder the main window found for itself
};

void MapFormTest::initTestCase()
{
    QVERIFY(setsDir.isValid() && work.isValid());
    for (int s = 0; s < 16; ++s)
        if (s != 13)
            testing::WriteSyntheticTileSet(setsDir.path(), s);
}

void MapFormTest::init()
{
    dialogs = std::make_unique<testing::ScriptedDialogs>();
    windows = std::make_unique<VantorWindows>();
    form = &windows->main();
    builtProgramDir = windows->settings().programDir;
    windows->settings().programDir = setsDir.path() + QLatin1Char('/');
}

void MapFormTest::start(const std::function<void(MapContent &)> &change)
{
    auto content = std::make_unique<MapContent>();
    change(*content);
    document().start(*content);
}

void MapFormTest::cleanup()
{
    windows.reset();
    dialogs.reset();
}

void MapFormTest::createdWithTheOlivePicture()
{
    const QImage &picture = form->mapPicture();
    QCOMPARE(picture.size(), QSize(2675, 2820));
    QCOMPARE(picture.pixel(0, 0), qRgb(0x80, 0x80, 0));
    QCOMPARE(picture.pixel(648, 549), qRgb(0x80, 0x80, 0));
    QVERIFY(picture.pixel(649, 549) != qRgb(0x80, 0x80, 0));
    QCOMPARE(form->windowTitle(), QStringLiteral("Vantor Version 0.50b[*]"));
    QCOMPARE(form->findChild<QLabel *>(QStringLiteral("MapSizeLbl"))->text(), QStringLiteral("0x0"));
    QCOMPARE(form->findChild<QLabel *>(QStringLiteral("WhereLbl"))->text(), QStringLiteral("..."));
    QVERIFY(!form->findChild<QWidget *>(QStringLiteral("PromptPanel"))->isVisibleTo(form));
    QVERIFY(builtProgramDir.endsWith(QLatin1Char('/')));
}

void MapFormTest::firstActivationDrawsTheTitlePanel()
{
    form->show();
    form->activateWindow();
    QTRY_VERIFY(form->tilesForm().isVisible()); // the first activation shows the palette
    const QImage &picture = form->mapPicture();
    QCOMPARE(picture.size(), QSize(2676, 2820));
    QCOMPARE(picture.pixel(0, 0), qRgb(0, 0xFF, 0xFF));      // aqua
    QCOMPARE(picture.pixel(2675, 2819), qRgb(0, 0xFF, 0xFF));
    QCOMPARE(picture.pixel(20, 20), qRgb(0, 0x80, 0));       // the green panel
    QCOMPARE(picture.pixel(349, 249), qRgb(0, 0x80, 0));
    QCOMPARE(picture.pixel(350, 250), qRgb(0, 0xFF, 0xFF));
    int silver = 0; // the title lines are written in silver on the green panel
    for (int y = 20; y < 250; ++y)
        for (int x = 20; x < 350; ++x)
            silver += picture.pixel(x, y) == qRgb(0xC0, 0xC0, 0xC0);
    QVERIFY(silver > 100);

    // Later activations do not draw it again.
    QImage painted = picture;
    painted.setPixel(0, 0, qRgb(1, 2, 3));
    form->findChild<PictureBox *>(QStringLiteral("MapImage"))->picture().setPixel(0, 0, qRgb(1, 2, 3));
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form));
    QCOMPARE(form->mapPicture(), painted);
}

void MapFormTest::menusHaveTheirCaptions()
{
    const QStringList expected = {
        "File: Save | Recent Maps | - | Load ASCII Map | Save ASCII Map | - | Load Default Terrain | Save Default Terrain | - | "
        "Load Map | Save Map | - | Load Scenario Map | Save Map To Scenario | - | Load HM Scenario Map | Save HM Scenario Map | - | "
        "Save As Bitmap | Export to Tiled... | Import from Tiled... | - | Exit",
        "Edit: Undo | Redo | - | Copy | Paste | Select All | Select None | - | New Map | Save Area To ASCII Map | Paste from ASCII Map | - | Spray Can | Spray Can Settings | - | "
        "Toggle Road Connections | - | Misc",
        "Options: Show Tiles | Show Strategic Map | Show Road Connections | - | Keep a Backup When Saving | "
        "Shape While Painting",
        "View: Zoom In | Zoom Out | Actual Size | Fit Map in Window | - | Larger Brush | Smaller Brush | - | Tool Bar",
        "Tools: Convert Bitmap | Change Default Terrain Type | - | Clear Place Names | Edit Place Names | Copy Place Name | - | "
        "Clear Road Connections | Make Road Connections | - | Make Coastline | Make Roads | Make Rivers",
        "Cities: Load Cities | Save Cities",
        "Help: About | Vantor Help",
    };
    QCOMPARE(MenuLayout(*form), expected);
    QVERIFY(!form->findChild<QAction *>(QStringLiteral("EditPlaceNames1"))->isEnabled());
    QVERIFY(!form->findChild<QAction *>(QStringLiteral("CopyPlaceName1"))->isEnabled());
    QVERIFY(form->findChild<QAction *>(QStringLiteral("LoadMap1"))->isEnabled());
}

void MapFormTest::loadMapDrawsTheMap()
{
    auto thirty = testing::BlankMap(30, 20);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x) {
            thirty->at(TileSet, x, y) = std::uint8_t(y % 4);
            thirty->at(TileIndex, x, y) = std::uint8_t(x);
        }
    const QString path = work.filePath(QStringLiteral("thirty.map"));
    QCOMPARE(WriteMapFile(path, *thirty), QString());

    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
    start([](MapContent &content) { content.tables.placeCount = 9; });
    form->tools().paint().setPick({2, 4});
    dialogs->fileAnswers << path;
    testing::ClickMenuItem(*form, QStringLiteral("File"), QStringLiteral("Load Map"));

    QCOMPARE(dialogs->fileDialogsShown.size(), 1);
    QCOMPARE(dialogs->fileDialogsShown[0].title, QStringLiteral("Load Ketura Map File"));
    QCOMPARE(dialogs->fileDialogsShown[0].filter, QStringLiteral("Map files (*.map)|*.map|All files (*.*) | *.*"));
    QCOMPARE(dialogs->fileDialogsShown[0].defaultExt, QStringLiteral("map"));
    QCOMPARE(form->OpenDialog1.title, QStringLiteral("Load Ketura Map File"));

    QCOMPARE(map().MapWidth, 30);
    QCOMPARE(map().MapHeight, 20);
    QCOMPARE(document().tables().placeCount, 0);
    QCOMPARE(form->tools().paint().pick(), TilePick{}); // nothing picked, set 0
    QCOMPARE(form->findChild<QLabel *>(QStringLiteral("MapSizeLbl"))->text(), QStringLiteral("30x20"));
    const QImage &picture = form->mapPicture();
    QCOMPARE(picture.size(), QSize(37 * 30 + 12, 40 * 20 + 20));
    const PixelRect hex = HexRect(5 * 30 + 7, 30);
    QCOMPARE(picture.pixel(hex.left + 24, hex.top + 20), testing::TileColour(5 % 4, 7));
    QCOMPARE(picture.pixel(0, 0), ToQColor(windows->settings().backgroundColour).rgb());
    QVERIFY(dialogs->messages.isEmpty());
}

void MapFormTest::loadMapRefusesABadFileAndKeepsTheMap()
{
    const QString path = work.filePath(QStringLiteral("tall.map"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("\x05\x00\x47\x00", 4) + QByteArray(37 * 5 * 71, 1));
    file.close();
    start([](MapContent &content) { content.map.at(TileIndex, 3, 3) = 42; });
    const auto before = std::make_unique<MapStore>(map());
    const QString sizeShown = form->findChild<QLabel *>(QStringLiteral("MapSizeLbl"))->text();

    dialogs->fileAnswers << path;
    testing::ClickMenuItem(*form, QStringLiteral("File"), QStringLiteral("Load Map"));
    QCOMPARE(dialogs->messages.size(), 1);
    QVERIFY(dialogs->messages[0].contains(path));
    QVERIFY(dialogs->messages[0].contains(QLatin1String("5 x 71")));
    QVERIFY(map().bytes == before->bytes);
    QCOMPARE(map().MapWidth, 72);
    QCOMPARE(form->findChild<QLabel *>(QStringLiteral("MapSizeLbl"))->text(), sizeShown);
}

// A load that does not happen changes nothing, the place count included.
void MapFormTest::loadMapCancelledChangesNothing()
{
    start([](MapContent &content) {
        content.tables.placeCount = 12;
        content.map.at(Terrain, 0, 0) = 7;
    });
    testing::ClickMenuItem(*form, QStringLiteral("File"), QStringLiteral("Load Map"));
    QCOMPARE(dialogs->fileDialogsShown.size(), 1);
    QCOMPARE(document().tables().placeCount, 12);
    QCOMPARE(map().at(Terrain, 0, 0), std::uint8_t(7));
    QVERIFY(!document().isModified());
    QVERIFY(dialogs->messages.isEmpty());
}

void MapFormTest::missingTileSetsAreReportedOncePerRedraw()
{
    auto map = testing::BlankMap(5, 5);
    map->at(TileSet, 1, 1) = 13;
    map->at(TileSet, 2, 2) = 13;
    const QString path = work.filePath(QStringLiteral("thirteen.map"));
    QCOMPARE(WriteMapFile(path, *map), QString());
    dialogs->fileAnswers << path << path;
    testing::ClickMenuItem(*form, QStringLiteral("File"), QStringLiteral("Load Map"));
    QCOMPARE(dialogs->messages.size(), 1);
    QVERIFY(dialogs->messages[0].contains(QLatin1String("SET13m.BMP")));
    QVERIFY(!dialogs->messages[0].contains(QLatin1String("SET00m.BMP")));
    testing::ClickMenuItem(*form, QStringLiteral("File"), QStringLiteral("Load Map"));
    QCOMPARE(dialogs->messages.size(), 2);
    const PixelRect hex = HexRect(1 * 5 + 1, 5);
    QCOMPARE(form->mapPicture().pixel(hex.left + 24, hex.top + 20), ToQColor(windows->settings().backgroundColour).rgb());
}

void MapFormTest::saveMapWritesTheFileAndAsksBeforeOverwriting()
{
    start([](MapContent &content) {
        content.map.MapWidth = 6;
        content.map.MapHeight = 5;
        content.map.at(TileSet, 5, 4) = 11;
        content.map.at(36, 2, 2) = 0x77;
    });
    const QString path = work.filePath(QStringLiteral("saved.map"));
    dialogs->fileAnswers << path;
    testing::ClickMenuItem(*form, QStringLiteral("File"), QStringLiteral("Save Map"));
    QCOMPARE(dialogs->fileDialogsShown[0].title, QStringLiteral("Save Ketura Map File"));
    QCOMPARE(dialogs->fileDialogsShown[0].filter, QStringLiteral("Map files (*.map)|*.map| All files (*.*) |*.*"));
    QCOMPARE(dialogs->fileDialogsShown[0].defaultExt, QStringLiteral("map"));
    QVERIFY(dialogs->questions.isEmpty()); // a new file needs no question
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray saved = file.readAll();
    file.close();
    QCOMPARE(saved, EncodeMapFile(map()));
    QCOMPARE(saved.size(), 105 + 37 * 30);

    // Overwriting asks; Cancel keeps the file.
    document().edit(QStringLiteral("Paint"), [](MapContent &content) { content.map.at(TileSet, 0, 0) = 2; });
    dialogs->fileAnswers << path;
    dialogs->confirmAnswers << false;
    testing::ClickMenuItem(*form, QStringLiteral("File"), QStringLiteral("Save Map"));
    QCOMPARE(dialogs->questions.size(), 1);
    QCOMPARE(dialogs->questions[0], QStringLiteral("Overwrite Warning: Warning. You are about to overwrite\n%1\nGo ahead????").arg(path));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), saved);
    file.close();

    // OK overwrites.
    dialogs->fileAnswers << path;
    dialogs->confirmAnswers << true;
    testing::ClickMenuItem(*form, QStringLiteral("File"), QStringLiteral("Save Map"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), EncodeMapFile(map()));
    file.close();

    // A file that cannot be written is reported, naming it.
    const QString nowhere = work.filePath(QStringLiteral("no-folder/saved.map"));
    dialogs->fileAnswers << nowhere;
    testing::ClickMenuItem(*form, QStringLiteral("File"), QStringLiteral("Save Map"));
    QCOMPARE(dialogs->messages.size(), 1);
    QVERIFY(dialogs->messages[0].contains(nowhere));
}

void MapFormTest::newMapHasNoFileSoCtrlSAsksForOne()
{
    const QString island = work.filePath(QStringLiteral("island.map"));
    QCOMPARE(WriteMapFile(island, *testing::BlankMap(12, 9)), QString());
    const QByteArray original = testing::Contents(island);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
    QVERIFY(form->openFile(island));
    QCOMPARE(form->windowTitle(), QStringLiteral("island.map[*] - Vantor Version 0.50b"));

    // The New Map dialog is modal: answer it as soon as it shows.
    QTimer::singleShot(0, form, [this] {
        TInputForm &input = form->inputForm();
        input.findChild<QLineEdit *>(QStringLiteral("XEdit"))->setText(QStringLiteral("10"));
        input.findChild<QLineEdit *>(QStringLiteral("YEdit"))->setText(QStringLiteral("8"));
        QTest::mouseClick(input.findChild<QPushButton *>(QStringLiteral("OKBtn")), Qt::LeftButton);
    });
    testing::ClickMenuItem(*form, QStringLiteral("Edit"), QStringLiteral("New Map"));
    QCOMPARE(map().MapWidth, 10);
    QCOMPARE(document().filePath(), QString());
    QCOMPARE(form->windowTitle(), QStringLiteral("Vantor Version 0.50b[*]"));
    QVERIFY(form->isWindowModified());

    // Ctrl+S asks for a name through Save Map's dialog; cancelled, the old file stays as it was.
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form));
    QTest::keyClick(form, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(dialogs->fileDialogsShown.size(), 1);
    QCOMPARE(dialogs->fileDialogsShown[0].title, QStringLiteral("Save Ketura Map File"));
    QCOMPARE(testing::Contents(island), original);
    QVERIFY(form->isWindowModified());
}

void MapFormTest::resizingTheWindowResizesTheScrollBox()
{
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
    auto *box = form->findChild<QScrollArea *>(QStringLiteral("MapScrollBox"));
    form->resize(800, 700);
    QTRY_COMPARE(box->width(), form->centralWidget()->width() - 15);
    QCOMPARE(box->height(), form->centralWidget()->height() - 43);
    QCOMPARE(box->pos(), QPoint(8, 32));
}

void MapFormTest::exitClosesTheWindow()
{
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
    testing::ClickMenuItem(*form, QStringLiteral("File"), QStringLiteral("Exit"));
    QTRY_VERIFY(!form->isVisible());
}

QTEST_MAIN(MapFormTest)
#include "tst_map_form.moc"
