// Every command of the editor that writes a file, against a write that fails: the disk is full,
// or the folder chosen has gone. The user is told, naming the file; the file that stood there is
// intact byte for byte; the map in memory is unchanged.

#include "test_support.h"

#include "files/native_map_file.h"
#include "forms/Map.h"
#include "forms/Strat.h"
#include "forms/picture_box.h"
#include "forms/windows.h"
#include "model/geometry.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace vantor;
using testing::Contents;
using testing::Write;

namespace {

// Far below what any of the commands writes, above nothing that a test writes itself.
constexpr unsigned long FullDisk = 64;

} // namespace

class FailedWritesTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void writeCommandsOnAFullDisk_data();
    void writeCommandsOnAFullDisk();
    void writeCommandsIntoAVanishedFolder_data();
    void writeCommandsIntoAVanishedFolder();
    void scenarioSaveOnAFullDisk();

private:
    // Runs a command that writes `target`, answering its dialogs with `target` and OK.
    void run(const QString &command, const QString &target);
    QStringList reports() const { return dialogs->messages + dialogs->errors; }
    const MapStore &map() { return windows->document().map(); }

    QTemporaryDir dir;
    QTemporaryDir setsDir;
    std::unique_ptr<testing::ScriptedDialogs> dialogs;
    std::unique_ptr<VantorWindows> windows;
    TMapForm *form = nullptr;
};

void FailedWritesTest::initTestCase()
{
    QVERIFY(setsDir.isValid());
    for (int s = 0; s < 16; ++s)
        testing::WriteSyntheticTileSet(setsDir.path(), s);
}

void FailedWritesTest::init()
{
    dialogs = std::make_unique<testing::ScriptedDialogs>();
    windows = std::make_unique<VantorWindows>();
    form = &windows->main();
    windows->settings().programDir = setsDir.path() + QLatin1Char('/');
    auto content = std::make_unique<MapContent>();
    content->map.MapWidth = 10;
    content->map.MapHeight = 8;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x)
            content->map.at(TileIndex, x, y) = std::uint8_t(x * y);
    content->tables.placeCount = 1;
    content->tables.places.setCell(PlaceTable::NameColumn, 1, QStringLiteral("Buin"));
    CityTable &cities = content->tables.cities;
    cities = CityTable(4);
    cities.setCell(CityTable::NameColumn, 1, QStringLiteral("Alpha, the first city of a list longer than the disk allows"));
    cities.setCell(CityTable::NameColumn, 2, QStringLiteral("Bravo"));
    windows->document().start(*content);
    form->stratForm().ShowStratMapBtnClick();
}

void FailedWritesTest::cleanup()
{
    windows.reset();
    dialogs.reset();
}

void FailedWritesTest::run(const QString &command, const QString &target)
{
    dialogs->fileAnswers.clear();
    dialogs->confirmAnswers.clear();
    for (int i = 0; i < 3; ++i) {
        dialogs->fileAnswers << target;
        dialogs->confirmAnswers << true;
    }
    if (command == QLatin1String("StratSave")) {
        QTest::mouseClick(form->stratForm().findChild<QPushButton *>(QStringLiteral("SaveBtn")), Qt::LeftButton);
        return;
    }
    if (command == QLatin1String("SaveArea")) {
        auto *image = form->findChild<PictureBox *>(QStringLiteral("MapImage"));
        form->findChild<QAction *>(QStringLiteral("SaveAreato1"))->trigger();
        const PixelRect first = HexRect(1 * 10 + 1, 10);
        const PixelRect second = HexRect(4 * 10 + 5, 10);
        QTest::mouseClick(image, Qt::LeftButton, {}, QPoint(first.left + 24, first.top + 20));
        QTest::mouseClick(image, Qt::LeftButton, {}, QPoint(second.left + 24, second.top + 20));
        return;
    }
    form->findChild<QAction *>(command)->trigger();
}

void FailedWritesTest::writeCommandsOnAFullDisk_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("Save Map") << "SaveMap1" << "old.map";
    QTest::newRow("Save ASCII Map") << "SaveASCII" << "old.amf";
    QTest::newRow("Save Area To ASCII Map") << "SaveArea" << "area.amf";
    QTest::newRow("Save Default Terrain") << "SaveDefaultTerrain1" << "old.txt";
    QTest::newRow("Save Cities") << "SaveCities1" << "old.tst";
    QTest::newRow("Save As Bitmap") << "SaveAsBitmap1" << "old.bmp";
    QTest::newRow("strategic map Save") << "StratSave" << "strat.bmp";
}

void FailedWritesTest::writeCommandsOnAFullDisk()
{
    QFETCH(QString, command);
    QFETCH(QString, fileName);
    const QString target = dir.filePath(fileName);
    const QByteArray previous = "the file that stood here before, longer than the limit allows";
    Write(target, previous);
    const auto before = std::make_unique<MapStore>(map());
    {
        const testing::FileSizeLimit full(FullDisk);
        run(command, target);
    }
    QCOMPARE(Contents(target), previous);
    QVERIFY(map().bytes == before->bytes);
    QCOMPARE(map().MapWidth, 10);
    QCOMPARE(reports().size(), 1);
    QVERIFY2(reports()[0].contains(QDir::toNativeSeparators(target)), qPrintable(reports()[0]));
    if (command != QLatin1String("SaveAsBitmap1")) // that one says only "Cannot create file"
        QVERIFY2(reports()[0].contains(QLatin1String("full")), qPrintable(reports()[0]));
    // No half-written file is left beside it either; a backup, when one fitted, is the whole old file.
    const QString backup = fileName + QStringLiteral(".bak");
    QStringList left = QDir(dir.path()).entryList({QStringLiteral("*") + fileName + QStringLiteral("*")}, QDir::Files | QDir::Hidden);
    if (left.removeAll(backup) > 0)
        QCOMPARE(Contents(dir.filePath(backup)), previous);
    QCOMPARE(left, QStringList{fileName});
}

void FailedWritesTest::writeCommandsIntoAVanishedFolder_data() { writeCommandsOnAFullDisk_data(); }

void FailedWritesTest::writeCommandsIntoAVanishedFolder()
{
    QFETCH(QString, command);
    QFETCH(QString, fileName);
    const QString folder = dir.filePath(QStringLiteral("gone"));
    QVERIFY(QDir().mkpath(folder));
    const QString target = folder + QLatin1Char('/') + fileName;
    QVERIFY(QDir(folder).removeRecursively()); // chosen, then removed before the write
    const auto before = std::make_unique<MapStore>(map());
    run(command, target);
    QVERIFY(!QFile::exists(target));
    QVERIFY(map().bytes == before->bytes);
    QCOMPARE(reports().size(), 1);
    QVERIFY2(reports()[0].contains(QDir::toNativeSeparators(target)), qPrintable(reports()[0]));
}

void FailedWritesTest::scenarioSaveOnAFullDisk()
{
    const QString scenario = dir.filePath(QStringLiteral("campaign.scn"));
    auto scenarioMap = testing::BlankMap(10, 8);
    scenarioMap->at(PlaceIndex, 0, 0) = 255;
    const QByteArray previous = EncodeMapFile(*scenarioMap) + QByteArray(4000, 'C');
    Write(scenario, previous);
    const auto before = std::make_unique<MapStore>(map());
    {
        const testing::FileSizeLimit full(FullDisk);
        run(QStringLiteral("SaveMapToScenario1"), scenario);
    }
    QCOMPARE(Contents(scenario), previous);
    QVERIFY(map().bytes == before->bytes);
    QCOMPARE(reports().size(), 1);
    QVERIFY2(reports()[0].contains(scenario), qPrintable(reports()[0]));

    // Into a folder that has gone: the scenario is not there to save into.
    dialogs->messages.clear();
    run(QStringLiteral("SaveMapToScenario1"), dir.filePath(QStringLiteral("gone/campaign.scn")));
    QCOMPARE(reports().size(), 1);
    QVERIFY(reports()[0].contains(dir.filePath(QStringLiteral("gone/campaign.scn"))));
}

QTEST_MAIN(FailedWritesTest)
#include "tst_failed_writes.moc"
