// The editor as a document editor, through the real windows: quitting, the modified mark and the
// question before unsaved work is lost, File > Save in each format, undo and redo by key, files
// opened from outside (command line, drop, recent list), the keys that work from every window, and
// the hints a click gives.

#include "test_support.h"

#include "files/ascii_map_file.h"
#include "files/map_file_formats.h"
#include "files/native_map_file.h"
#include "forms/City.h"
#include "forms/Map.h"
#include "forms/Places.h"
#include "forms/Strat.h"
#include "forms/Tiles.h"
#include "forms/picture_box.h"
#include "forms/windows.h"
#include "model/geometry.h"
#include "render/map_renderer.h"
#include "render/tile_set_library.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

using namespace vantor;
using testing::ScriptedDialogs;

class EditorHistoryTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void exitEndsTheEditorWithItsToolWindowsOpen();
    void unsavedWorkIsAskedAboutBeforeQuitting();
    void theTitleCarriesTheFileAndTheMark();
    void aLoadAsksFirstAndEachAnswerDoesWhatItSays();
    void saveWritesTheCurrentFileInItsFormat_data();
    void saveWritesTheCurrentFileInItsFormat();
    void saveWithoutAFileAsksForOne();
    void undoAndRedoKeysRestoreThePicture();
    void everyEditIsOneStepNamedInTheMenu();
    void commonCommandsAnswerTheirKeys();
    void keysWorkFromEveryWindow();
    void aDroppedFileOpensAfterTheQuestion();
    void recentMapsOpenAndForgetMissingFiles();
    void aRefusedLoadLeavesMapAndPictureAsTheyWere();
    void hintsWhenAClickCannotDoAnything();
    void exportToTiledWritesTheMapAndItsSheets();

private:
    QString path(const QString &name) const { return work.filePath(name); }
    QAction *action(const char *name) { return form->findChild<QAction *>(QLatin1String(name)); }
    QLabel *prompt() { return form->findChild<QLabel *>(QStringLiteral("PromptPanel")); }
    const MapStore &map() { return windows->document().map(); }
    // What Save As Bitmap would write of the map now.
    QImage fullRedraw();
    TTilesForm &tiles() { return form->tilesForm(); }
    // Writes a 12 x 10 map of set 0 into a native map file and opens it.
    QString openSmallMap(const QString &name = QStringLiteral("small.map"));
    // Presses the keys in window, made the active one first (the main window unless told).
    void pressKeys(Qt::Key key, Qt::KeyboardModifiers modifiers, QWidget *window = nullptr);
    // Runs the event loop until the editor quits; false when it still runs after five seconds.
    bool quitsWithin(const std::function<void()> &action);

    QTemporaryDir setsDir;
    QTemporaryDir work;
    std::unique_ptr<ScriptedDialogs> dialogs;
    std::unique_ptr<VantorWindows> windows;
    TMapForm *form = nullptr;
};

void EditorHistoryTest::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(setsDir.isValid() && work.isValid());
    for (int s = 0; s < 16; ++s)
        testing::WriteSyntheticTileSet(setsDir.path(), s);
}

void EditorHistoryTest::init()
{
    dialogs = std::make_unique<ScriptedDialogs>();
    windows = std::make_unique<VantorWindows>();
    form = &windows->main();
    windows->settings().programDir = setsDir.path() + QLatin1Char('/');
    tiles().show();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
}

void EditorHistoryTest::cleanup()
{
    windows.reset();
    dialogs.reset();
}

QString EditorHistoryTest::openSmallMap(const QString &name)
{
    const QString file = path(name);
    testing::Write(file, EncodeMapFile(*testing::BlankMap(12, 10)));
    if (!form->openFile(file))
        return {};
    return file;
}

QImage EditorHistoryTest::fullRedraw()
{
    TileSetLibrary library(windows->settings().programDir);
    QImage picture = NewMapPicture(map());
    RedrawMapPicture(map(), library, windows->settings().backgroundColour, picture);
    return picture;
}

void EditorHistoryTest::pressKeys(Qt::Key key, Qt::KeyboardModifiers modifiers, QWidget *window)
{
    if (!window)
        window = form;
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, key, modifiers);
}

bool EditorHistoryTest::quitsWithin(const std::function<void()> &action)
{
    QTimer::singleShot(0, form, action);
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    guard.start(5000);
    return QCoreApplication::exec() == 0;
}

void EditorHistoryTest::exitEndsTheEditorWithItsToolWindowsOpen()
{
    tiles().show();
    form->cityForm().show();
    form->placeForm().show();
    form->stratForm().show();
    QVERIFY(quitsWithin([this] { action("Exit1")->trigger(); }));
    for (QWidget *window : QApplication::topLevelWidgets())
        QVERIFY2(!window->isVisible(), qPrintable(window->objectName()));

    // Ctrl+Q and the close button end it in the same way.
    form->show();
    tiles().show();
    QVERIFY(quitsWithin([this] { pressKeys(Qt::Key_Q, Qt::ControlModifier); }));
    QVERIFY(!tiles().isVisible());
    form->show();
    QVERIFY(quitsWithin([this] { form->close(); }));
}

void EditorHistoryTest::unsavedWorkIsAskedAboutBeforeQuitting()
{
    QVERIFY(!openSmallMap().isEmpty());
    testing::PickTile(tiles(), 1, 3);
    testing::ClickHex(*form, 2, 2);

    dialogs->saveAnswers = {SaveChoice::Cancel};
    QTimer::singleShot(0, form, [this] { pressKeys(Qt::Key_Q, Qt::ControlModifier); });
    QTimer::singleShot(300, [] { QCoreApplication::exit(7); }); // still running: the test ends the loop
    QCOMPARE(QCoreApplication::exec(), 7);

    QCOMPARE(dialogs->saveQuestions, QStringList{QStringLiteral("Vantor Version 0.50b: Save changes to small.map?")});
    QVERIFY(form->isVisible());
    QCOMPARE(int(map().at(TileSet, 2, 2)), 1);

    dialogs->saveAnswers = {SaveChoice::Discard};
    QVERIFY(quitsWithin([this] { pressKeys(Qt::Key_Q, Qt::ControlModifier); }));
    auto onDisk = std::make_unique<MapStore>();
    QCOMPARE(ReadMapFile(path(QStringLiteral("small.map")), *onDisk), QString());
    QCOMPARE(int(onDisk->at(TileSet, 2, 2)), 0); // discarded, not saved
}

void EditorHistoryTest::theTitleCarriesTheFileAndTheMark()
{
    QCOMPARE(form->windowTitle(), QStringLiteral("Vantor Version 0.50b[*]"));
    QVERIFY(!form->isWindowModified());
    openSmallMap(QStringLiteral("island.map"));
    QCOMPARE(form->windowTitle(), QStringLiteral("island.map[*] - Vantor Version 0.50b"));
    QVERIFY(!form->isWindowModified());
    testing::PickTile(tiles(), 2, 5);
    testing::ClickHex(*form, 4, 4);
    QVERIFY(form->isWindowModified());
    pressKeys(Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!form->isWindowModified());
    testing::ClickHex(*form, 5, 4);
    QVERIFY(form->isWindowModified());
    QVERIFY(form->openFile(path(QStringLiteral("island.map")))); // Discard: the load clears the mark
    QVERIFY(!form->isWindowModified());
    QCOMPARE(int(map().at(TileSet, 5, 4)), 0);
    QCOMPARE(int(map().at(TileSet, 4, 4)), 2);
}

void EditorHistoryTest::aLoadAsksFirstAndEachAnswerDoesWhatItSays()
{
    const QString first = openSmallMap(QStringLiteral("first.map"));
    const QString second = path(QStringLiteral("second.map"));
    testing::Write(second, EncodeMapFile(*testing::BlankMap(7, 6)));
    testing::PickTile(tiles(), 3, 1);
    testing::ClickHex(*form, 1, 1);

    // Cancel: no file dialog, nothing changes.
    dialogs->saveAnswers = {SaveChoice::Cancel};
    dialogs->fileAnswers = {second};
    action("LoadMap1")->trigger();
    QVERIFY(dialogs->fileDialogsShown.isEmpty());
    QCOMPARE(map().MapWidth, 12);
    QVERIFY(form->isWindowModified());

    // Save: the map goes to its file first, then the load goes on.
    dialogs->saveAnswers = {SaveChoice::Save};
    action("LoadMap1")->trigger();
    QCOMPARE(map().MapWidth, 7);
    QCOMPARE(form->document().filePath(), second);
    auto saved = std::make_unique<MapStore>();
    QCOMPARE(ReadMapFile(first, *saved), QString());
    QCOMPARE(int(saved->at(TileSet, 1, 1)), 3);

    // A save that fails stops the load.
    testing::PickTile(tiles(), 3, 1); // a load forgets the pick
    testing::ClickHex(*form, 2, 2);
    dialogs->saveAnswers = {SaveChoice::Save};
    dialogs->fileAnswers = {first};
    {
        const testing::FileSizeLimit diskFull(16);
        action("LoadMap1")->trigger();
    }
    QCOMPARE(map().MapWidth, 7);
    QCOMPARE(dialogs->messages.size(), 1);

    // Discard: the load goes on and the change is gone.
    dialogs->saveAnswers = {SaveChoice::Discard};
    action("LoadMap1")->trigger();
    QCOMPARE(map().MapWidth, 12);
    QVERIFY(!form->isWindowModified());
}

void EditorHistoryTest::saveWritesTheCurrentFileInItsFormat_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::newRow("native map") << QStringLiteral("map.map");
    QTest::newRow("ASCII map") << QStringLiteral("map.amf");
    QTest::newRow("regular scenario") << QStringLiteral("map.scn");
}

void EditorHistoryTest::saveWritesTheCurrentFileInItsFormat()
{
    QFETCH(QString, fileName);
    const QString file = path(fileName);
    auto start = testing::BlankMap(9, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 9; ++x) {
            start->at(PlaceIndex, x, y) = 255;
            start->at(PlaceIndexHigh, x, y) = 127;
        }
    const QByteArray tail(300, 'T'); // the rest of a scenario, which a save never touches
    if (fileName.endsWith(QLatin1String(".amf")))
        testing::Write(file, EncodeAsciiMap(*start, PlaceTable(), 0));
    else
        testing::Write(file, EncodeMapFile(*start) + (fileName.endsWith(QLatin1String(".scn")) ? tail : QByteArray()));
    QVERIFY(form->openFile(file));

    testing::PickTile(tiles(), 4, 7);
    testing::ClickHex(*form, 3, 3);
    pressKeys(Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!form->isWindowModified());
    QVERIFY(dialogs->fileDialogsShown.isEmpty());

    auto reread = std::make_unique<MapStore>();
    MapFileExtras extras;
    QCOMPARE(ReadMapFileAs(file, MapFileFormat::None, *reread, extras).outcome, LoadResult::Complete);
    QCOMPARE(int(reread->at(TileSet, 3, 3)), 4);
    QCOMPARE(int(reread->at(TileIndex, 3, 3)), 7);
    if (fileName.endsWith(QLatin1String(".scn")))
        QVERIFY(testing::Contents(file).endsWith(tail));
}

void EditorHistoryTest::saveWithoutAFileAsksForOne()
{
    windows->document().start(MapContent{*testing::BlankMap(6, 5), {}});
    testing::PickTile(tiles(), 1, 1);
    testing::ClickHex(*form, 0, 0);
    dialogs->fileAnswers = {path(QStringLiteral("new.map"))};
    pressKeys(Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(dialogs->fileDialogsShown.size(), 1);
    QCOMPARE(dialogs->fileDialogsShown.first().title, QStringLiteral("Save Ketura Map File"));
    QCOMPARE(form->document().filePath(), path(QStringLiteral("new.map")));
    QCOMPARE(form->windowTitle(), QStringLiteral("new.map[*] - Vantor Version 0.50b"));
    QVERIFY(!form->isWindowModified());
}

void EditorHistoryTest::undoAndRedoKeysRestoreThePicture()
{
    openSmallMap();
    const QImage loaded = form->mapPicture();
    testing::PickTile(tiles(), 5, 12);
    testing::ClickHex(*form, 6, 5);
    const QImage painted = form->mapPicture();
    QVERIFY(painted != loaded);
    QCOMPARE(painted, fullRedraw());

    pressKeys(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(form->mapPicture(), loaded);
    QVERIFY(!form->isWindowModified());
    QCOMPARE(int(map().at(TileSet, 6, 5)), 0);

    pressKeys(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(int(map().at(TileSet, 6, 5)), 5);
    QCOMPARE(form->mapPicture(), painted);
    QCOMPARE(form->mapPicture().pixel(HexRect(5 * 12 + 6, 12).left + 24, HexRect(5 * 12 + 6, 12).top + 20),
             testing::TileColour(5, 12));
    QVERIFY(form->isWindowModified());
    pressKeys(Qt::Key_Z, Qt::ControlModifier);
    pressKeys(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(int(map().at(TileSet, 6, 5)), 5);

    // Steps of many hexes redraw the whole picture.
    action("MakeCoastline1")->trigger();
    action("ClearPlaceNames1")->trigger();
    pressKeys(Qt::Key_Z, Qt::ControlModifier);
    pressKeys(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(form->mapPicture(), loaded);
}

void EditorHistoryTest::everyEditIsOneStepNamedInTheMenu()
{
    openSmallMap();
    QVERIFY(!action("Undo1")->isEnabled());
    QVERIFY(!action("Redo1")->isEnabled());
    testing::PickTile(tiles(), 1, 2);
    testing::ClickHex(*form, 1, 1);
    QCOMPARE(action("Undo1")->text(), QStringLiteral("Undo Paint"));
    testing::ClickHex(*form, 1, 1, Qt::RightButton);
    QCOMPARE(action("Undo1")->text(), QStringLiteral("Undo Restore Hex"));
    action("SprayCan1")->trigger();
    testing::ClickHex(*form, 5, 5);
    action("SprayCan1")->trigger();
    QCOMPARE(action("Undo1")->text(), QStringLiteral("Undo Spray"));
    action("ClearRoadConnections1")->trigger(); // no links to clear: no step
    QCOMPARE(action("Undo1")->text(), QStringLiteral("Undo Spray"));
    action("Undo1")->trigger();
    QCOMPARE(action("Redo1")->text(), QStringLiteral("Redo Spray"));
    QVERIFY(action("Redo1")->isEnabled());
    QCOMPARE(form->document().history().count(), 3);
}

void EditorHistoryTest::commonCommandsAnswerTheirKeys()
{
    openSmallMap();
    tiles().hide();
    pressKeys(Qt::Key_O, Qt::ControlModifier); // the dialog is cancelled: nothing opens
    pressKeys(Qt::Key_B, Qt::ControlModifier);
    QCOMPARE(dialogs->fileDialogsShown.size(), 2);
    QCOMPARE(dialogs->fileDialogsShown.at(0).title, QStringLiteral("Load Ketura Map File"));
    QCOMPARE(dialogs->fileDialogsShown.at(1).title, QStringLiteral("Save Ketura Map bmp"));
    pressKeys(Qt::Key_T, Qt::ControlModifier);
    QVERIFY(tiles().isVisible());
    pressKeys(Qt::Key_F1, Qt::NoModifier);
    QTRY_VERIFY(form->findChild<QWidget *>(QStringLiteral("VantorHelp")) &&
                form->findChild<QWidget *>(QStringLiteral("VantorHelp"))->isVisible());
}

void EditorHistoryTest::keysWorkFromEveryWindow()
{
    const QString file = openSmallMap();
    testing::PickTile(tiles(), 1, 3);
    testing::ClickHex(*form, 2, 2);
    pressKeys(Qt::Key_Z, Qt::ControlModifier, &form->cityForm());
    QCOMPARE(int(map().at(TileSet, 2, 2)), 0);
    QVERIFY(!form->isWindowModified());

    testing::ClickHex(*form, 3, 3);
    pressKeys(Qt::Key_S, Qt::ControlModifier, &tiles());
    QVERIFY(!form->isWindowModified());
    QVERIFY(dialogs->fileDialogsShown.isEmpty());
    auto saved = std::make_unique<MapStore>();
    QCOMPARE(ReadMapFile(file, *saved), QString());
    QCOMPARE(int(saved->at(TileSet, 3, 3)), 1);

    QVERIFY(quitsWithin([this] { pressKeys(Qt::Key_Q, Qt::ControlModifier, &tiles()); }));
}

void EditorHistoryTest::aDroppedFileOpensAfterTheQuestion()
{
    openSmallMap();
    testing::PickTile(tiles(), 1, 2);
    testing::ClickHex(*form, 1, 1);
    const QString dropped = path(QStringLiteral("dropped.map"));
    testing::Write(dropped, EncodeMapFile(*testing::BlankMap(30, 20)));

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(dropped)});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(form, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(form, &drop);
    QTRY_COMPARE(form->document().filePath(), dropped);
    QCOMPARE(map().MapWidth, 30);
    QCOMPARE(dialogs->saveQuestions.size(), 1);
}

void EditorHistoryTest::recentMapsOpenAndForgetMissingFiles()
{
    const QString a = openSmallMap(QStringLiteral("a.map"));
    const QString b = openSmallMap(QStringLiteral("b.map"));
    auto *recent = form->findChild<QMenu *>(QStringLiteral("RecentMaps1"));
    QVERIFY(recent->actions().size() >= 2);
    QCOMPARE(recent->actions().at(0)->toolTip(), QDir::toNativeSeparators(b));
    QCOMPARE(recent->actions().at(1)->toolTip(), QDir::toNativeSeparators(a));

    recent->actions().at(1)->trigger();
    QCOMPARE(form->document().filePath(), a);
    QCOMPARE(recent->actions().at(0)->toolTip(), QDir::toNativeSeparators(a));

    QFile::remove(b);
    recent->actions().at(1)->trigger();
    QCOMPARE(form->document().filePath(), a);
    QCOMPARE(dialogs->messages.size(), 1);
    QVERIFY(dialogs->messages.first().contains(QStringLiteral("b.map")));
    for (QAction *entry : recent->actions())
        QVERIFY(entry->toolTip() != QDir::toNativeSeparators(b));
}

void EditorHistoryTest::aRefusedLoadLeavesMapAndPictureAsTheyWere()
{
    openSmallMap();
    testing::PickTile(tiles(), 2, 2);
    testing::ClickHex(*form, 3, 3);
    const auto before = std::make_unique<MapStore>(map());
    const QImage picture = form->mapPicture();

    // A valid header and first hex, then a value that is not hexadecimal.
    QByteArray text = EncodeAsciiMap(*testing::BlankMap(20, 20), PlaceTable(), 0);
    const int firstHex = text.indexOf("00 00 00");
    QVERIFY(firstHex > 0);
    text.replace(firstHex + 3, 2, "zz");
    const QString bad = path(QStringLiteral("bad.amf"));
    testing::Write(bad, text);
    QVERIFY(!form->openFile(bad));
    QCOMPARE(dialogs->errors.size(), 1);
    QVERIFY(map().bytes == before->bytes);
    QCOMPARE(map().MapWidth, 12);
    QCOMPARE(form->mapPicture(), picture);
    QVERIFY(form->isWindowModified());
}

void EditorHistoryTest::hintsWhenAClickCannotDoAnything()
{
    openSmallMap();
    testing::ClickHex(*form, 1, 1);
    QVERIFY(prompt()->isVisible());
    QCOMPARE(prompt()->text(), QStringLiteral("Pick a tile in the Tiles window"));
    QVERIFY(!form->isWindowModified());

    testing::PickTile(tiles(), 6, 1);
    testing::ClickHex(*form, 1, 1);
    QVERIFY(!prompt()->isVisible());

    // A full redraw keeps the pick; a load shows set 0 with nothing picked, and so do its buttons.
    const auto setButton = [this](int set) {
        return tiles().findChild<QRadioButton *>(QStringLiteral("RadioGroup1Item%1").arg(set));
    };
    form->RedrawMap();
    QCOMPARE(form->tools().paint().pick(), (TilePick{6, 1}));
    QVERIFY(setButton(6)->isChecked());
    openSmallMap();
    QVERIFY(!form->tools().paint().pick().isPicked());
    QVERIFY(setButton(0)->isChecked());
    QVERIFY(!setButton(6)->isChecked());

    // City captions show their prompt while they last.
    form->cityForm().CaptionBtnClick();
    QVERIFY(prompt()->isVisible());
    QVERIFY(prompt()->text().startsWith(QStringLiteral("City Caption")));
    form->cityForm().UncaptionBtnClick();
    QVERIFY(!prompt()->isVisible());
}

void EditorHistoryTest::exportToTiledWritesTheMapAndItsSheets()
{
    openSmallMap(); // set 0 only
    const QString tmx = path(QStringLiteral("small.tmx"));
    dialogs->fileAnswers = {tmx};
    action("ExportToTiled1")->trigger();
    QCOMPARE(dialogs->fileDialogsShown.last().defaultExt, QStringLiteral("tmx"));
    QVERIFY(dialogs->messages.isEmpty());
    QVERIFY(testing::Contents(tmx).contains("orientation=\"hexagonal\""));
    QVERIFY(QFileInfo::exists(path(QStringLiteral("Set00m.png"))));
    QVERIFY(!QFileInfo::exists(path(QStringLiteral("Set01m.png"))));
}

QTEST_MAIN(EditorHistoryTest)
#include "tst_editor_history.moc"
