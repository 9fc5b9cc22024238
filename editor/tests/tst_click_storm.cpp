// A long, seeded, random storm of presses, clicks, moves, menu commands and odd files through the
// real windows. Under the sanitizers it shows that nothing reads or writes outside the map; after
// every step the tools' state must be one the editor's modes allow.

#include "test_support.h"

#include "files/ascii_map_file.h"
#include "files/native_map_file.h"
#include "forms/City.h"
#include "forms/Input.h"
#include "forms/Map.h"
#include "forms/Places.h"
#include "forms/Strat.h"
#include "forms/Tiles.h"
#include "forms/picture_box.h"
#include "forms/windows.h"
#include "model/geometry.h"
#include "render/map_renderer.h"
#include "render/road_overlay.h"
#include "render/tile_set_library.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace vantor;
using testing::Write;

class ClickStormTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void stormThroughEveryMode();

private:
    void makeOddFiles();
    void queueDialogAnswers();
    void step();
    void clickOnMap();
    void useAMenuCommand();
    void useAnotherWindow();
    void checkTheClickState(int stepNumber);
    const MapStore &map() { return windows->document().map(); }
    int pick(int bound) { return int(random.bounded(bound)); }

    QTemporaryDir dir;
    QStringList files;
    QRandomGenerator random{20261207};
    std::unique_ptr<testing::ScriptedDialogs> dialogs;
    std::unique_ptr<VantorWindows> windows;
    TMapForm *form = nullptr;
    QList<QAction *> commands;
};

void ClickStormTest::initTestCase()
{
    QVERIFY(dir.isValid());
    for (const int s : {0, 1, 2, 5})
        testing::WriteSyntheticTileSet(dir.path(), s);
    makeOddFiles();
}

void ClickStormTest::makeOddFiles()
{
    for (const QSize size : {QSize(1, 1), QSize(1, 70), QSize(72, 1), QSize(72, 70), QSize(5, 5), QSize(13, 9)}) {
        auto map = testing::BlankMap(size.width(), size.height());
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x) {
                map->at(TileSet, x, y) = std::uint8_t(pick(20));   // some sets do not exist
                map->at(TileIndex, x, y) = std::uint8_t(pick(100)); // some tiles lie outside the bitmaps
                map->at(Terrain, x, y) = std::uint8_t(pick(40));    // some terrains have no name
                map->at(PlaceIndex, x, y) = std::uint8_t(pick(3) == 0 ? pick(256) : 255);
                map->at(PlaceIndexHigh, x, y) = std::uint8_t(pick(4) == 0 ? 0 : 127);
                map->at(RoadLinks, x, y) = std::uint8_t(pick(256));
            }
        const QString name = QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
        const QByteArray native = EncodeMapFile(*map);
        Write(dir.filePath(name + QStringLiteral(".map")), native);
        Write(dir.filePath(name + QStringLiteral("-cut.map")), native.left(native.size() / 3));
        Write(dir.filePath(name + QStringLiteral(".scn")), native + QByteArray(64, 'S'));
        PlaceTable places(3);
        places.setCell(PlaceTable::NameColumn, 1, QStringLiteral("Alpha Bravo"));
        places.setCell(PlaceTable::XColumn, 1, QStringLiteral("0"));
        places.setCell(PlaceTable::YColumn, 1, QStringLiteral("0"));
        const QByteArray ascii = EncodeAsciiMap(*map, places, 1);
        Write(dir.filePath(name + QStringLiteral(".amf")), ascii);
        Write(dir.filePath(name + QStringLiteral("-cut.amf")), ascii.left(ascii.size() / 2));
    }
    Write(dir.filePath(QStringLiteral("huge.map")), QByteArray("\xFF\x00\xFF\x00", 4) + QByteArray(1000, 1));
    Write(dir.filePath(QStringLiteral("garbage.map")), QByteArray(300, '\x9C'));
    Write(dir.filePath(QStringLiteral("bad.amf")), ";x\r\n4\r\n4\r\n0\r\nZZ ZZ\r\n");
    Write(dir.filePath(QStringLiteral("towns.tst")), QByteArray("Alpha\r\nBravo\r\n") + QByteArray(200, 'x') + "\r\n\r\nLast");
    Write(dir.filePath(QStringLiteral("terrain.txt")), "// x\r\nABC\r\n\x01\r\n" + QByteArray(300, 'T'));
    Write(dir.filePath(QStringLiteral("hm.scn")), QByteArray("\x03\x00\x02\x00\xFF\xFF\xFF\x7F", 8) + QByteArray(100, 0));
    Write(dir.filePath(QStringLiteral("empty.map")), QByteArray());
    for (const QString &name : QDir(dir.path()).entryList(QDir::Files))
        if (!name.startsWith(QLatin1String("SET")))
            files << dir.filePath(name);
    files << dir.filePath(QStringLiteral("missing.map")) << dir.filePath(QStringLiteral("no-folder/out.amf"))
          << dir.filePath(QStringLiteral("written.amf")) << dir.filePath(QStringLiteral("written.scn"))
          << dir.filePath(QStringLiteral("written.bmp"));
}

// The next dialogs get a random file (or a cancel) and random answers to their questions.
void ClickStormTest::queueDialogAnswers()
{
    dialogs->fileAnswers.clear();
    dialogs->confirmAnswers.clear();
    for (int i = 0; i < 3; ++i) {
        dialogs->fileAnswers << (pick(4) == 0 ? QString() : files[pick(int(files.size()))]);
        dialogs->confirmAnswers << (pick(2) == 0);
    }
}

void ClickStormTest::clickOnMap()
{
    auto *image = form->findChild<PictureBox *>(QStringLiteral("MapImage"));
    // Anywhere on the picture, its margins and a little beyond.
    const int width = MapPictureWidth(map().MapWidth) + 60;
    const int height = MapPictureHeight(map().MapHeight) + 60;
    const QPoint at(pick(width) - 10, pick(height) - 10);
    const Qt::MouseButton buttons[] = {Qt::LeftButton, Qt::LeftButton, Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};
    const Qt::MouseButton button = buttons[pick(5)];
    const Qt::KeyboardModifiers modifiers = pick(4) == 0 ? Qt::ShiftModifier : Qt::NoModifier;
    switch (pick(3)) {
    case 0:
        testing::HoverOver(image, at);
        break;
    case 1:
        QTest::mousePress(image, button, modifiers, at);
        QTest::mouseRelease(image, button, modifiers, at + QPoint(pick(3) - 1, pick(3) - 1));
        break;
    default:
        QTest::mouseClick(image, button, modifiers, at);
    }
}

void ClickStormTest::useAMenuCommand()
{
    QAction *command = commands[pick(int(commands.size()))];
    if (!command->isEnabled())
        return;
    if (command->objectName() == QLatin1String("NewMap1")) {
        // The New Map dialog is modal: answer it as soon as it shows.
        const QString x = QString::number(pick(90) - 5);
        const QString y = QString::number(pick(90) - 5);
        const bool ok = pick(4) != 0;
        QWidget *input = &form->inputForm();
        QTimer::singleShot(0, this, [input, x, y, ok] {
            input->findChild<QLineEdit *>(QStringLiteral("XEdit"))->setText(x);
            input->findChild<QLineEdit *>(QStringLiteral("YEdit"))->setText(y);
            input->findChild<QPushButton *>(QLatin1String(ok ? "OKBtn" : "CancelBtn"))->click();
        });
    }
    command->trigger();
}

void ClickStormTest::useAnotherWindow()
{
    QWidget &tiles = form->tilesForm();
    QWidget &cities = form->cityForm();
    TStratForm &strat = form->stratForm();
    switch (pick(6)) {
    case 0: {
        const int set = pick(16);
        QTest::mouseClick(tiles.findChild<QRadioButton *>(QStringLiteral("RadioGroup1Item%1").arg(set)), Qt::LeftButton);
        break;
    }
    case 1:
        QTest::mouseClick(tiles.findChild<PictureBox *>(QStringLiteral("TileImage")), Qt::LeftButton, {},
                          QPoint(pick(313), pick(425)));
        break;
    case 2: {
        auto *grid = cities.findChild<QTableView *>(QStringLiteral("CitySG"));
        if (const int rows = grid->model()->rowCount(); rows > 0)
            grid->setCurrentIndex(grid->model()->index(pick(rows), 1));
        const char *buttons[] = {"CaptionBtn", "ClearBtn", "UncaptionBtn"};
        QTest::mouseClick(cities.findChild<QPushButton *>(QLatin1String(buttons[pick(3)])), Qt::LeftButton);
        break;
    }
    case 3:
        QTest::mouseClick(form->placeForm().findChild<QPushButton *>(QLatin1String(pick(2) ? "DoneBtn" : "DeleteBtn")), Qt::LeftButton);
        break;
    case 4:
        QTest::mouseClick(strat.findChild<PictureBox *>(QStringLiteral("StratImage")), Qt::LeftButton, {},
                          QPoint(pick(430), pick(430)));
        break;
    default:
        strat.ShowStratMapBtnClick();
    }
}

void ClickStormTest::step()
{
    queueDialogAnswers();
    const int kind = pick(10);
    if (kind < 6)
        clickOnMap();
    else if (kind < 8)
        useAMenuCommand();
    else
        useAnotherWindow();
}

void ClickStormTest::checkTheClickState(int stepNumber)
{
    const QString where = QStringLiteral("step %1").arg(stepNumber);
    MapTools &tools = form->tools();
    const ClickMode mode = tools.mode();
    // A command that collects clicks always says what its next click does; the spray's prompt may
    // stand in for it. The tool bar's tools say nothing.
    const ClickMode commands[] = {ClickMode::SaveArea,   ClickMode::PasteArea,   ClickMode::CopyPlaceName,
                                  ClickMode::RoadToggle, ClickMode::CityCaption, ClickMode::Paste};
    if (std::find(std::begin(commands), std::end(commands), mode) != std::end(commands)) {
        const auto *prompt = form->findChild<QLabel *>(QStringLiteral("PromptPanel"));
        QVERIFY2(prompt->isVisibleTo(form), qPrintable(where));
        QVERIFY2(!tools.current().prompt().isEmpty(), qPrintable(where));
        QVERIFY2(prompt->text() == tools.current().prompt() || prompt->text() == QLatin1String("Sprayer in Operation"),
                 qPrintable(where + QStringLiteral(": ") + prompt->text()));
    }
    QVERIFY2((mode == ClickMode::RoadToggle) == form->findChild<QAction *>(QStringLiteral("RemoveRoadConnections1"))->isChecked(),
             qPrintable(where));
    if (mode == ClickMode::RoadToggle)
        QVERIFY2(form->findChild<QAction *>(QStringLiteral("ShowRoadConnections1"))->isChecked(), qPrintable(where));
    QVERIFY2(IsValidMapSize(map().MapWidth, map().MapHeight), qPrintable(where));
    const TilePick &picked = tools.paint().pick();
    QVERIFY2(picked.tile >= -1 && picked.tile < TilesPerSet, qPrintable(where));
    QVERIFY2(picked.set >= 0 && picked.set < TileSetCount, qPrintable(where));
}

void ClickStormTest::stormThroughEveryMode()
{
    dialogs = std::make_unique<testing::ScriptedDialogs>();
    windows = std::make_unique<VantorWindows>();
    form = &windows->main();
    form->tools().paint().seedSpray(7); // the storm repeats exactly, sprays included
    windows->settings().programDir = dir.path() + QLatin1Char('/');
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
    for (QAction *action : form->findChildren<QAction *>())
        if (!action->isSeparator() && !action->menu() && action->objectName() != QLatin1String("Exit1") &&
            action->objectName() != QLatin1String("VantorHelp1") && !action->objectName().isEmpty())
            commands << action;
    QVERIFY(commands.size() > 30);

    constexpr int Steps = 1500;
    for (int i = 0; i < Steps; ++i) {
        step();
        checkTheClickState(i);
        if (QTest::currentTestFailed())
            return;
    }
    // Whatever the steps were, the picture is what a full redraw of the map draws.
    TileSetLibrary library(dir.path());
    QImage redrawn = NewMapPicture(map());
    RedrawMapPicture(map(), library, windows->settings().backgroundColour, redrawn);
    if (form->findChild<QAction *>(QStringLiteral("ShowRoadConnections1"))->isChecked())
        DrawRoadOverlay(map(), redrawn);
    QVERIFY(form->mapPicture() == redrawn);
    windows.reset();
    dialogs.reset();
}

QTEST_MAIN(ClickStormTest)
#include "tst_click_storm.moc"
