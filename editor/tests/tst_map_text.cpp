// Maps as text for version control: the dump, the differences, `vantor-cli diff` and its exit
// codes and picture, and `git diff` through the dump as textconv driver.

#include "test_support.h"

#include "files/map_text.h"
#include "files/native_map_file.h"
#include "model/geometry.h"
#include "model/terrain_tables.h"
#include "render/hex_outlines.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace vantor;
using namespace testing;

namespace {

// A map as New Map makes it with nothing picked.
std::unique_ptr<MapStore> NewMap(int width, int height)
{
    auto map = BlankMap(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            HexRecord hex = ReadHex(*map, x, y);
            SetNewMapFields(hex, 1, 1, DefaultTerrainOf(InitialDefaultTerrain(), 1, 1));
            WriteHex(*map, x, y, hex);
        }
    return map;
}

} // namespace

class MapTextTest : public QObject {
    Q_OBJECT
private slots:
    void dumpListsOnlyWhatDiffersFromANewMap();
    void diffListsFieldsAndNames();
    void cliDiffExitCodesAndPicture();
    void gitDiffShowsTheHexLines();
};

void MapTextTest::dumpListsOnlyWhatDiffersFromANewMap()
{
    auto map = NewMap(4, 3);
    PlaceTable places(3);
    places.setCell(PlaceTable::NameColumn, 1, QStringLiteral("Kawai Point"));
    const QString header = QStringLiteral("# vantor map: each hex lists the fields that differ from a New Map hex\n"
                                          "size 4 x 3\nplaces 2\nplace 0: \"Kawai Point\"\nplace 1: \"\"\n");
    QCOMPARE(QString::fromUtf8(DumpMap({*map, places, 2})), header);
    map->at(TileSet, 2, 1) = 5;
    map->at(RoadLinks, 2, 1) = 9;
    map->at(30, 0, 2) = 7;
    QCOMPARE(QString::fromUtf8(DumpMap({*map, places, 2})), header + QStringLiteral("hex 2,1: roads 9 set 5\nhex 0,2: byte30 7\n"));
}

void MapTextTest::diffListsFieldsAndNames()
{
    const auto a = NewMap(4, 3);
    auto b = NewMap(4, 3);
    PlaceTable placesA(2), placesB(3);
    placesA.setCell(PlaceTable::NameColumn, 1, QStringLiteral("Kawai"));
    placesB.setCell(PlaceTable::NameColumn, 1, QStringLiteral("Kawai Point"));
    placesB.setCell(PlaceTable::NameColumn, 2, QStringLiteral("Rua"));
    QVERIFY(DiffMaps({*a, placesA, 1}, {*b, placesA, 1}).same());
    b->at(TileIndex, 3, 0) = 40;
    b->at(PlaceIndex, 1, 2) = 1;
    const MapDifferences d = DiffMaps({*a, placesA, 1}, {*b, placesB, 2});
    QCOMPARE(d.lines, (QStringList{QStringLiteral("places: 1 → 2"), QStringLiteral("place 0: \"Kawai\" → \"Kawai Point\""),
                                   QStringLiteral("place 1: \"\" → \"Rua\""), QStringLiteral("3,0: tile 1 → 40"),
                                   QStringLiteral("1,2: place 255 → 1")}));
    QCOMPARE(d.hexes, (std::vector<HexCoord>{{3, 0}, {1, 2}}));
    b->MapWidth = 3;
    QCOMPARE(DiffMaps({*a, placesA, 1}, {*b, placesA, 1}).lines,
             (QStringList{QStringLiteral("size: 4 x 3 → 3 x 3"), QStringLiteral("1,2: place 255 → 1")}));
}

void MapTextTest::cliDiffExitCodesAndPicture()
{
    QTemporaryDir dir;
    const auto a = NewMap(6, 5);
    auto b = NewMap(6, 5);
    b->at(Terrain, 4, 3) = 2;
    const QString pathA = dir.filePath(QStringLiteral("a.map")), pathB = dir.filePath(QStringLiteral("b.map"));
    Write(pathA, EncodeMapFile(*a));
    Write(pathB, EncodeMapFile(*b));
    QCOMPARE(RunCli({QStringLiteral("diff"), pathA, pathA}).status, 0);
    const CliRun differ = RunCli({QStringLiteral("diff"), pathA, pathB, QStringLiteral("--picture"),
                                  dir.filePath(QStringLiteral("d.png")), QStringLiteral("--sets"), dir.path()});
    QCOMPARE(differ.status, 1);
    QCOMPARE(differ.out, QStringLiteral("4,3: terrain %1 → 2\n").arg(a->at(Terrain, 4, 3)));
    QCOMPARE(RunCli({QStringLiteral("diff"), pathA, dir.filePath(QStringLiteral("missing.map"))}).status, 2);
    QCOMPARE(RunCli({QStringLiteral("diff"), pathA}).status, 2);
    // Only the changed hex is outlined.
    const QImage picture(dir.filePath(QStringLiteral("d.png")));
    QVERIFY(!picture.isNull());
    const PixelRect hex = HexRect(3 * 6 + 4, 6);
    const int outlined = CountColour(picture, HexOutlineColour);
    QVERIFY(outlined > 50);
    QCOMPARE(CountColour(picture.copy(hex.left, hex.top, TileWidth, TileHeight), HexOutlineColour), outlined);
}

void MapTextTest::gitDiffShowsTheHexLines()
{
    const QString git = QStandardPaths::findExecutable(QStringLiteral("git"));
    if (git.isEmpty())
        QSKIP("git is not installed");
    QTemporaryDir dir;
    const auto runGit = [&](const QStringList &arguments) {
        QProcess process;
        process.setWorkingDirectory(dir.path());
        process.start(git, QStringList{QStringLiteral("-c"), QStringLiteral("user.name=t"), QStringLiteral("-c"),
                                       QStringLiteral("user.email=t@t")} +
                               arguments);
        process.waitForFinished(60000);
        return QString::fromUtf8(process.readAllStandardOutput());
    };
    runGit({QStringLiteral("init"), QStringLiteral("-q")});
    // The set-up the README shows.
    Write(dir.filePath(QStringLiteral(".gitattributes")), "*.map diff=vantor\n*.amf diff=vantor\n*.scn diff=vantor\n");
    runGit({QStringLiteral("config"), QStringLiteral("diff.vantor.textconv"), QStringLiteral(VANTOR_CLI_PATH " dump")});
    auto map = NewMap(6, 5);
    const QString path = dir.filePath(QStringLiteral("island.map"));
    Write(path, EncodeMapFile(*map));
    runGit({QStringLiteral("add"), QStringLiteral(".")});
    runGit({QStringLiteral("commit"), QStringLiteral("-qm"), QStringLiteral("island")});
    map->at(TileSet, 2, 3) = 4; // painted
    Write(path, EncodeMapFile(*map));
    const QString diff = runGit({QStringLiteral("diff")});
    QVERIFY2(diff.contains(QStringLiteral("\n+hex 2,3: set 4\n")), qPrintable(diff));
    QVERIFY(!diff.contains(QStringLiteral("Binary files")));
}

QTEST_MAIN(MapTextTest)
#include "tst_map_text.moc"
