// vantor-cli with ASCII maps and scenarios: conversions, the scenario save and its refusals.

#include "test_support.h"

#include "files/ascii_map_file.h"
#include "files/native_map_file.h"
#include "files/scenario_file.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace vantor;
using testing::RandomBytes;
using testing::CliRun;
using testing::RunCli;
using testing::Contents;
using testing::Write;

namespace {

std::unique_ptr<MapStore> RandomMap(int width, int height, quint32 seed)
{
    auto map = testing::BlankMap(width, height);
    QRandomGenerator random(seed);
    for (auto &byte : map->bytes)
        byte = std::uint8_t(random.bounded(16));
    return map;
}

// The map with only planes 0..16 of the used hexes kept, as a fresh store holds it after reading an ASCII map.
std::unique_ptr<MapStore> Planes0To16(const MapStore &map)
{
    auto copy = testing::BlankMap(map.MapWidth, map.MapHeight);
    for (int y = 0; y < map.MapHeight; ++y)
        for (int x = 0; x < map.MapWidth; ++x)
            for (int p = 0; p < 17; ++p)
                copy->at(p, x, y) = map.at(p, x, y);
    return copy;
}

// Hex (0, 0) gives bytes 4..7 of a regular block: its place, then zeros.
void SetFirstHexPlace(MapStore &map, std::uint8_t place)
{
    map.at(PlaceIndex, 0, 0) = place;
    for (int p = 1; p < 4; ++p)
        map.at(p, 0, 0) = 0;
}

} // namespace

class CliMapFormatsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void convertBetweenMapAndAscii();
    void homemadeScenarioBringsItsPlaces();
    void convertIntoAScenarioPatchesItsMapBlock();
    void saveScenarioChecksWhatTheEditorChecks();
    void regularSaveIntoAHomemadeScenarioWithAStaleTable();
    void scenarioLayoutDecidedByTheWholeBlock();
    void shortAndBadAsciiFiles();
    void usageErrors_data();
    void usageErrors();

private:
    QString path(const QString &name) const { return dir.filePath(name); }
    QTemporaryDir dir;
    std::unique_ptr<MapStore> map;
};

void CliMapFormatsTest::initTestCase()
{
    QVERIFY(dir.isValid());
    map = RandomMap(9, 7, 1);
    map->at(PlaceIndex, 0, 0) = 255;
    QCOMPARE(WriteMapFile(path(QStringLiteral("island.map")), *map), QString());
}

void CliMapFormatsTest::convertBetweenMapAndAscii()
{
    const QString amf = path(QStringLiteral("island.amf"));
    CliRun run = RunCli({QStringLiteral("convert"), path(QStringLiteral("island.map")), amf});
    QCOMPARE(run.status, 0);
    QCOMPARE(Contents(amf), EncodeAsciiMap(*map, PlaceTable(), 0));

    const QString back = path(QStringLiteral("back.MAP"));
    run = RunCli({QStringLiteral("convert"), amf, back});
    QCOMPARE(run.status, 0);
    QCOMPARE(Contents(back), EncodeMapFile(*Planes0To16(*map)));

    run = RunCli({QStringLiteral("info"), amf});
    QCOMPARE(run.status, 0);
    QVERIFY(run.out.startsWith(QLatin1String("width: 9\nheight: 7\nplaces: 0\n")));
}

void CliMapFormatsTest::homemadeScenarioBringsItsPlaces()
{
    auto source = RandomMap(6, 4, 2);
    source->at(PlaceIndex, 2, 3) = 1;
    source->at(PlaceIndexHigh, 2, 3) = 0;
    PlaceTable names(3);
    names.setCell(2, 1, QStringLiteral("Lae"));
    names.setCell(2, 2, QStringLiteral("Port Moresby"));
    const QByteArray block = EncodeScenarioMapBlock(*source, ScenarioLayout::Homemade, names, 2);
    const QString scn = path(QStringLiteral("hm.scn"));
    Write(scn, block + RandomBytes(100, 3));

    CliRun run = RunCli({QStringLiteral("info"), scn});
    QCOMPARE(run.status, 0);
    QVERIFY2(run.out.contains(QLatin1String("places: 2\n")), qPrintable(run.out));

    const QString amf = path(QStringLiteral("hm.amf"));
    run = RunCli({QStringLiteral("convert"), scn, amf});
    QCOMPARE(run.status, 0);
    // Place 1 gets the column and row of the hex that carries it; place 0, carried by no hex, none.
    QVERIFY(Contents(amf).contains(";Number of places\r\n2\r\n;Places X Y Name\r\n00 00 Lae\r\n02 03 Port Moresby\r\n"));

    // Read as a regular scenario, byte 4 says otherwise: refused unless --proceed.
    run = RunCli({QStringLiteral("info"), scn, QStringLiteral("--regular")});
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains(QLatin1String("This is probably not a builtin scenario. Proceed anyway?")), qPrintable(run.err));
    run = RunCli({QStringLiteral("info"), scn, QStringLiteral("--regular"), QStringLiteral("--proceed")});
    QCOMPARE(run.status, 0);
    QVERIFY(run.out.contains(QLatin1String("places: 0\n")));
}

void CliMapFormatsTest::convertIntoAScenarioPatchesItsMapBlock()
{
    const QString scn = path(QStringLiteral("game.scn"));
    const QByteArray tail = RandomBytes(2000, 4);
    auto old = RandomMap(9, 7, 5);
    old->at(PlaceIndex, 0, 0) = 255;
    Write(scn, EncodeMapFile(*old) + tail);

    CliRun run = RunCli({QStringLiteral("convert"), path(QStringLiteral("island.map")), scn});
    QCOMPARE(run.status, 0);
    QCOMPARE(Contents(scn), EncodeMapFile(*map) + tail);

    // No scenario is made from nothing.
    const QString missing = path(QStringLiteral("new.scn"));
    run = RunCli({QStringLiteral("convert"), path(QStringLiteral("island.map")), missing});
    QCOMPARE(run.status, 1);
    QVERIFY(run.err.contains(QLatin1String("No Such Scenario File")));
    QVERIFY(!QFile::exists(missing));

    // A scenario of another size is left alone.
    const QString other = path(QStringLiteral("other.scn"));
    const QByteArray otherContent = EncodeMapFile(*RandomMap(10, 7, 6)) + tail;
    Write(other, otherContent);
    run = RunCli({QStringLiteral("convert"), path(QStringLiteral("island.map")), other});
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains(QLatin1String("This map is 9x7 but the scenario map is 10x7. SAVE ABORTED.")), qPrintable(run.err));
    QCOMPARE(Contents(other), otherContent);
}

void CliMapFormatsTest::saveScenarioChecksWhatTheEditorChecks()
{
    PlaceTable names(4);
    for (int k = 1; k <= 3; ++k)
        names.setCell(2, k, QStringLiteral("Name %1").arg(k));
    auto withPlaces = RandomMap(9, 7, 7);
    const QString hm = path(QStringLiteral("three.scn"));
    const QByteArray tail = RandomBytes(999, 8);
    Write(hm, EncodeScenarioMapBlock(*withPlaces, ScenarioLayout::Homemade, names, 3) + tail);
    const QString amf = path(QStringLiteral("three.amf"));
    QCOMPARE(WriteAsciiMapFile(amf, *withPlaces, names, 3), QString());

    // The homemade save of a map with the same three places: the same bytes as the editor's save.
    auto edited = RandomMap(9, 7, 9);
    QCOMPARE(WriteAsciiMapFile(amf, *edited, names, 3), QString());
    CliRun run = RunCli({QStringLiteral("save-scenario"), amf, hm, QStringLiteral("--homemade")});
    QCOMPARE(run.status, 0);
    auto expectedMap = Planes0To16(*edited);
    const ScenarioSave save = PrepareScenarioSave(hm, *expectedMap, ScenarioLayout::Homemade, names, 3);
    QCOMPARE(Contents(hm), save.content);
    QCOMPARE(Contents(hm).mid(int(ScenarioBlockSize(9, 7, ScenarioLayout::Homemade, 3))), tail);

    // Another place count would shift the rest of the scenario: refused, file untouched.
    const QByteArray before = Contents(hm);
    QCOMPARE(WriteAsciiMapFile(amf, *edited, names, 2), QString());
    run = RunCli({QStringLiteral("save-scenario"), amf, hm, QStringLiteral("--homemade")});
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains(QLatin1String("Scenario Save Aborted!")) && run.err.contains(QLatin1String("2 place names")),
             qPrintable(run.err));
    QCOMPARE(Contents(hm), before);

    // The regular save into the homemade scenario would destroy its names: refused, even with --proceed.
    for (const QStringList &extra : {QStringList(), QStringList{QStringLiteral("--proceed")}}) {
        run = RunCli(QStringList{QStringLiteral("save-scenario"), path(QStringLiteral("island.map")), hm} + extra);
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains(QLatin1String("holds a homemade map with 3 place names")), qPrintable(run.err));
        QCOMPARE(Contents(hm), before);
    }

    // A path without ".scn" asks first; --proceed answers OK.
    const QString upper = path(QStringLiteral("GAME.SCN"));
    const QByteArray upperContent = EncodeMapFile(*RandomMap(9, 7, 10)) + tail;
    Write(upper, upperContent);
    run = RunCli({QStringLiteral("save-scenario"), path(QStringLiteral("island.map")), upper});
    QCOMPARE(run.status, 1);
    QVERIFY(run.err.contains(QLatin1String("Extension is not SCN")));
    QCOMPARE(Contents(upper), upperContent);
    QByteArray patched = upperContent;
    patched[4] = char(255); // byte 4 of the random map may make it look homemade
    Write(upper, patched);
    run = RunCli({QStringLiteral("save-scenario"), path(QStringLiteral("island.map")), upper, QStringLiteral("--proceed")});
    QCOMPARE(run.status, 0);
    QCOMPARE(Contents(upper), EncodeMapFile(*map) + tail);
}

void CliMapFormatsTest::regularSaveIntoAHomemadeScenarioWithAStaleTable()
{
    PlaceTable names(3);
    names.setCell(2, 1, QStringLiteral("Lae"));
    names.setCell(2, 2, QStringLiteral("Wewak"));
    QByteArray block = EncodeScenarioMapBlock(*RandomMap(9, 7, 20), ScenarioLayout::Homemade, names, 2);
    block[block.size() - SetUsageTableSize + 15] = char(block[block.size() - SetUsageTableSize + 15] ? 0 : 1);
    const QString scn = path(QStringLiteral("stale.scn"));
    const QByteArray content = block + RandomBytes(800, 21);
    Write(scn, content);

    for (const QStringList &extra : {QStringList(), QStringList{QStringLiteral("--proceed")}}) {
        const CliRun run = RunCli(QStringList{QStringLiteral("save-scenario"), path(QStringLiteral("island.map")), scn} + extra);
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains(QLatin1String("holds a homemade map with 2 place names")), qPrintable(run.err));
        QCOMPARE(Contents(scn), content);
    }
}

void CliMapFormatsTest::scenarioLayoutDecidedByTheWholeBlock()
{
    const QByteArray tail = RandomBytes(600, 22);

    // A regular scenario whose hex (0, 0) carries place 4: byte 4 alone would read it as homemade.
    auto source = RandomMap(9, 7, 23);
    SetFirstHexPlace(*source, 4);
    const QString named = path(QStringLiteral("named.scn"));
    Write(named, EncodeMapFile(*source) + tail);
    CliRun run = RunCli({QStringLiteral("info"), named});
    QVERIFY2(run.status == 0, qPrintable(run.err));
    QVERIFY2(run.out.startsWith(QLatin1String("width: 9\nheight: 7\nplaces: 0\n")), qPrintable(run.out));
    const QString converted = path(QStringLiteral("named.map"));
    run = RunCli({QStringLiteral("convert"), named, converted});
    QVERIFY2(run.status == 0, qPrintable(run.err));
    QCOMPARE(Contents(converted), EncodeMapFile(*source));

    // Written into, it is patched as the regular scenario it is, with no question.
    run = RunCli({QStringLiteral("convert"), path(QStringLiteral("island.map")), named});
    QVERIFY2(run.status == 0, qPrintable(run.err));
    QCOMPARE(Contents(named), EncodeMapFile(*map) + tail);

    // One whose hex (0, 0) reads as a place count of 0 reads as both layouts: the user must choose,
    // --proceed does not.
    SetFirstHexPlace(*source, 0);
    const QString both = path(QStringLiteral("both.scn"));
    const QByteArray bothContent = EncodeMapFile(*source) + tail;
    Write(both, bothContent);
    for (const QStringList &extra : {QStringList(), QStringList{QStringLiteral("--proceed")}}) {
        run = RunCli(QStringList{QStringLiteral("info"), both} + extra);
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains(both + QStringLiteral(": It reads as both a regular and a homemade (HM) scenario.")) &&
                     run.err.contains(QLatin1String("--homemade or --regular")),
                 qPrintable(run.err));
        run = RunCli(QStringList{QStringLiteral("convert"), path(QStringLiteral("island.map")), both} + extra);
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains(QLatin1String("--homemade or --regular")), qPrintable(run.err));
        QCOMPARE(Contents(both), bothContent);
    }
    run = RunCli({QStringLiteral("info"), both, QStringLiteral("--homemade"), QStringLiteral("--proceed")});
    QVERIFY2(run.status == 0, qPrintable(run.err));
    QVERIFY(run.out.contains(QLatin1String("places: 0\n")));
    run = RunCli({QStringLiteral("convert"), path(QStringLiteral("island.map")), both, QStringLiteral("--regular"),
                  QStringLiteral("--proceed")});
    QVERIFY2(run.status == 0, qPrintable(run.err));
    QCOMPARE(Contents(both), EncodeMapFile(*map) + tail);

    // A regular scenario whose table is out of date reads as neither.
    QByteArray stale = EncodeMapFile(*map);
    stale[stale.size() - SetUsageTableSize] = 0; // set 0 is always marked
    const QString neither = path(QStringLiteral("neither.scn"));
    Write(neither, stale + tail);
    run = RunCli({QStringLiteral("info"), neither});
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains(QLatin1String("It reads as neither a regular nor a homemade (HM) scenario.")), qPrintable(run.err));
    run = RunCli({QStringLiteral("info"), neither, QStringLiteral("--regular")});
    QVERIFY2(run.status == 0, qPrintable(run.err));
}

void CliMapFormatsTest::shortAndBadAsciiFiles()
{
    const QString cut = path(QStringLiteral("cut.amf"));
    const QByteArray whole = EncodeAsciiMap(*map, PlaceTable(), 0);
    Write(cut, whole.left(whole.indexOf("\r\n", 400) + 2)); // ends after a whole hex line
    const QString fromCut = path(QStringLiteral("cut.map"));
    CliRun run = RunCli({QStringLiteral("convert"), cut, fromCut});
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains(cut + QStringLiteral(": The file ends after")), qPrintable(run.err));
    QVERIFY(!QFile::exists(fromCut));

    const QString bad = path(QStringLiteral("bad.amf"));
    Write(bad, "1\r\n1\r\n0\r\nFF QQ\r\n");
    const QString out = path(QStringLiteral("bad.map"));
    run = RunCli({QStringLiteral("convert"), bad, out});
    QCOMPARE(run.status, 1);
    QVERIFY(run.err.contains(QLatin1String("'$QQ' is not a valid integer value")));
    QVERIFY(!QFile::exists(out));
}

void CliMapFormatsTest::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("both layouts") << QStringList{"info", "a.scn", "--homemade", "--regular"};
    QTest::newRow("unknown option") << QStringList{"convert", "a.map", "b.amf", "--force"};
    QTest::newRow("save-scenario with one file") << QStringList{"save-scenario", "a.map"};
    QTest::newRow("save-scenario --regular") << QStringList{"save-scenario", "a.map", "b.scn", "--regular"};
    QTest::newRow("save-scenario from an unknown type") << QStringList{"save-scenario", "a.txt", "b.scn"};
}

void CliMapFormatsTest::usageErrors()
{
    QFETCH(QStringList, arguments);
    const CliRun run = RunCli(arguments);
    QCOMPARE(run.status, 2);
    QVERIFY(run.err.startsWith(QLatin1String("vantor-cli: ")));
}

QTEST_GUILESS_MAIN(CliMapFormatsTest)
#include "tst_cli_map_formats.moc"
