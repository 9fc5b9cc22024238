// vantor-cli as a script runs it: output, exit status, and files left behind.

#include "test_support.h"

#include "files/native_map_file.h"
#include "render/bmp_encoding.h"
#include "render/map_renderer.h"
#include "render/tile_set_library.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace vantor;
using testing::CliRun;
using testing::RunCli;
using testing::Contents;
using testing::Write;

class VantorCliTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void helpListsTheCommands();
    void usageErrors_data();
    void usageErrors();
    void infoPrintsSizePlacesAndSets();
    void infoRefusesABadFile();
    void renderWritesTheFullRedrawPicture();
    void renderTakesTheBackgroundInAnyNotation();
    void renderWarnsOfMissingSets();
    void renderFailuresLeaveNoOutput();
    void convertCopiesAMapFile();
    void convertRefusalLeavesTheOutputAlone();

private:
    QString path(const QString &name) const { return dir.filePath(name); }
    QTemporaryDir dir;
    QTemporaryDir setsDir;
    std::unique_ptr<MapStore> map;
};

void VantorCliTest::initTestCase()
{
    QVERIFY(dir.isValid() && setsDir.isValid());
    for (int s = 0; s < 16; ++s)
        if (s != 6)
            testing::WriteSyntheticTileSet(setsDir.path(), s, s % 2 ? QStringLiteral("Set%1m.bmp").arg(s, 2, 10, QLatin1Char('0')) : QString());
    map = testing::BlankMap(9, 7);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 9; ++x) {
            map->at(TileSet, x, y) = std::uint8_t(x == 0 ? 3 : x == 1 ? 12 : 0);
            map->at(TileIndex, x, y) = std::uint8_t(x * 7 + y);
            map->at(30, x, y) = 0xEE;
        }
    QCOMPARE(WriteMapFile(path(QStringLiteral("island.map")), *map), QString());
}

void VantorCliTest::helpListsTheCommands()
{
    const CliRun run = RunCli({QStringLiteral("--help")});
    QCOMPARE(run.status, 0);
    for (const char *word : {"info FILE", "render FILE OUT.bmp", "--sets DIR", "--background VALUE", "convert IN OUT"})
        QVERIFY2(run.out.contains(QLatin1String(word)), word);
}

void VantorCliTest::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("nothing") << QStringList{};
    QTest::newRow("unknown command") << QStringList{"paint"};
    QTest::newRow("info without file") << QStringList{"info"};
    QTest::newRow("info with two files") << QStringList{"info", "a.map", "b.map"};
    QTest::newRow("info of an unknown type") << QStringList{"info", "a.xyz"};
    QTest::newRow("render without output") << QStringList{"render", "a.map"};
    QTest::newRow("render to a jpeg") << QStringList{"render", "a.map", "a.jpg"};
    QTest::newRow("render with a bad colour") << QStringList{"render", "a.map", "a.bmp", "--background", "teal"};
    QTest::newRow("render with an option lacking its value") << QStringList{"render", "a.map", "a.bmp", "--sets"};
    QTest::newRow("render with an unknown option") << QStringList{"render", "a.map", "a.bmp", "--zoom", "2"};
    QTest::newRow("convert to an unknown type") << QStringList{"convert", "a.map", "b.doc"};
}

void VantorCliTest::usageErrors()
{
    QFETCH(QStringList, arguments);
    const CliRun run = RunCli(arguments);
    QCOMPARE(run.status, 2);
    QVERIFY(run.err.startsWith(QLatin1String("vantor-cli: ")));
    QVERIFY(run.out.isEmpty());
    if (arguments.contains(QLatin1String("teal")))
        QVERIFY(run.err.contains(QLatin1String("'teal' is not a valid integer value")));
}

void VantorCliTest::infoPrintsSizePlacesAndSets()
{
    const CliRun run = RunCli({QStringLiteral("info"), path(QStringLiteral("island.map"))});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, QStringLiteral("width: 9\nheight: 7\nplaces: 0\nsets: 0 3 12\n"));

    // The extension is matched without regard to case.
    QVERIFY(QFile::copy(path(QStringLiteral("island.map")), path(QStringLiteral("COPY.MAP"))));
    QCOMPARE(RunCli({QStringLiteral("info"), path(QStringLiteral("COPY.MAP"))}).out, run.out);
}

void VantorCliTest::infoRefusesABadFile()
{
    Write(path(QStringLiteral("wide.map")), QByteArray("\x49\x00\x05\x00", 4) + QByteArray(500, 0));
    const CliRun wide = RunCli({QStringLiteral("info"), path(QStringLiteral("wide.map"))});
    QCOMPARE(wide.status, 1);
    QVERIFY(wide.err.contains(path(QStringLiteral("wide.map"))));
    QVERIFY(wide.err.contains(QLatin1String("73 x 5")));
    QVERIFY(wide.out.isEmpty());

    const CliRun missing = RunCli({QStringLiteral("info"), path(QStringLiteral("absent.map"))});
    QCOMPARE(missing.status, 1);
    QVERIFY(missing.err.contains(path(QStringLiteral("absent.map"))));
}

void VantorCliTest::renderWritesTheFullRedrawPicture()
{
    const QString out = path(QStringLiteral("island.bmp"));
    const CliRun run = RunCli({QStringLiteral("render"), path(QStringLiteral("island.map")), out, QStringLiteral("--sets"), setsDir.path()});
    QCOMPARE(run.status, 0);
    QVERIFY2(run.err.isEmpty(), qPrintable(run.err));

    TileSetLibrary sets(setsDir.path());
    QImage expected = NewMapPicture(*map);
    RedrawMapPicture(*map, sets, 0x38b8a0, expected);
    const QByteArray written = Contents(out);
    QCOMPARE(written, EncodeBmp24(expected));
    QCOMPARE(QImage::fromData(written).size(), QSize(37 * 9 + 12, 40 * 7 + 20));
    QCOMPARE(int(std::uint8_t(written[28])), 24);
}

void VantorCliTest::renderTakesTheBackgroundInAnyNotation()
{
    for (const QString &value : {QStringLiteral("255"), QStringLiteral("0xff"), QStringLiteral("$FF"), QStringLiteral("xFF")}) {
        const QString out = path(QStringLiteral("red.bmp"));
        const CliRun run = RunCli({QStringLiteral("render"), path(QStringLiteral("island.map")), out, QStringLiteral("--background"), value,
                                QStringLiteral("--sets"), setsDir.path()});
        QCOMPARE(run.status, 0);
        // 0x00BBGGRR: 255 is pure red; the top-left corner lies outside every hexagon.
        QCOMPARE(QImage(out).pixel(0, 0), qRgb(255, 0, 0));
    }
}

void VantorCliTest::renderWarnsOfMissingSets()
{
    auto withSix = testing::BlankMap(2, 2);
    withSix->at(TileSet, 1, 1) = 6;
    QCOMPARE(WriteMapFile(path(QStringLiteral("six.map")), *withSix), QString());
    const QString out = path(QStringLiteral("six.bmp"));
    const CliRun run = RunCli({QStringLiteral("render"), path(QStringLiteral("six.map")), out, QStringLiteral("--sets"), setsDir.path()});
    QCOMPARE(run.status, 0);
    QVERIFY(run.err.contains(QLatin1String("tile set 6")));
    QVERIFY(run.err.contains(QLatin1String("SET06m.BMP")));
    QVERIFY(QFile::exists(out));
}

void VantorCliTest::renderFailuresLeaveNoOutput()
{
    const QString out = path(QStringLiteral("kept.bmp"));
    Write(out, "old picture");
    Write(path(QStringLiteral("short.map")), "\x05");
    const CliRun refused = RunCli({QStringLiteral("render"), path(QStringLiteral("short.map")), out, QStringLiteral("--sets"), setsDir.path()});
    QCOMPARE(refused.status, 1);
    QCOMPARE(Contents(out), QByteArray("old picture"));

    const QString nowhere = path(QStringLiteral("no/such/folder/out.bmp"));
    const CliRun unwritable = RunCli({QStringLiteral("render"), path(QStringLiteral("island.map")), nowhere, QStringLiteral("--sets"), setsDir.path()});
    QCOMPARE(unwritable.status, 1);
    QVERIFY(unwritable.err.contains(nowhere));
    QVERIFY(!QFile::exists(nowhere));

    const CliRun noSets = RunCli({QStringLiteral("render"), path(QStringLiteral("island.map")), out, QStringLiteral("--sets"), path(QStringLiteral("nosets"))});
    QCOMPARE(noSets.status, 2);
    QCOMPARE(Contents(out), QByteArray("old picture"));
}

void VantorCliTest::convertCopiesAMapFile()
{
    const QString out = path(QStringLiteral("converted.map"));
    const CliRun run = RunCli({QStringLiteral("convert"), path(QStringLiteral("island.map")), out});
    QCOMPARE(run.status, 0);
    QCOMPARE(Contents(out), Contents(path(QStringLiteral("island.map"))));
}

void VantorCliTest::convertRefusalLeavesTheOutputAlone()
{
    const QString out = path(QStringLiteral("target.map"));
    Write(out, "precious");
    Write(path(QStringLiteral("zero.map")), QByteArray("\x00\x00\x05\x00", 4));
    const CliRun run = RunCli({QStringLiteral("convert"), path(QStringLiteral("zero.map")), out});
    QCOMPARE(run.status, 1);
    QVERIFY(run.err.contains(path(QStringLiteral("zero.map"))));
    QCOMPARE(Contents(out), QByteArray("precious"));

    const CliRun nowhere = RunCli({QStringLiteral("convert"), path(QStringLiteral("island.map")), path(QStringLiteral("none/x.map"))});
    QCOMPARE(nowhere.status, 1);
    QVERIFY(!QFile::exists(path(QStringLiteral("none/x.map"))));
}

QTEST_GUILESS_MAIN(VantorCliTest)
#include "tst_vantor_cli.moc"
