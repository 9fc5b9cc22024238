// The editor's own map file: layout, round trip, refusals and safe writing.

#include "test_support.h"

#include "files/native_map_file.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace vantor;
using testing::RandomMap;

namespace {

QByteArray Header(int width, int height)
{
    const char bytes[] = {char(width), 0, char(height), 0};
    return QByteArray(bytes, 4);
}

} // namespace

class NativeMapFileTest : public QObject {
    Q_OBJECT
private slots:
    void layoutIsHeaderRecordsAndUsageTable();
    void usageTableMarksSetZeroAndTheSetsInUse();
    void fileSizes();
    void roundTripCarriesAll37Planes();
    void loadingKeepsTheRestOfTheStore();
    void refusedHeadersLeaveTheMapUnchanged_data();
    void refusedHeadersLeaveTheMapUnchanged();
    void aFileCutInsideTheHexesIsRefused();
    void trailingBytesAreNotRead();
    void fileErrorsNameTheFile();
    void aFailedWriteKeepsTheOldFile();
};

void NativeMapFileTest::layoutIsHeaderRecordsAndUsageTable()
{
    auto map = testing::BlankMap(2, 3);
    for (int p = 0; p < PlaneCount; ++p) {
        map->at(p, 1, 0) = std::uint8_t(p + 1);   // second hex of the first row
        map->at(p, 0, 1) = std::uint8_t(100 + p); // first hex of the second row
    }
    map->at(TileSet, 1, 0) = 7;
    const QByteArray data = EncodeMapFile(*map);
    QCOMPARE(data.left(4), Header(2, 3));
    for (int p = 0; p < PlaneCount; ++p) {
        QCOMPARE(int(std::uint8_t(data[4 + 37 + p])), p == TileSet ? 7 : p + 1);
        QCOMPARE(int(std::uint8_t(data[4 + 2 * 37 + p])), 100 + p);
    }
}

void NativeMapFileTest::usageTableMarksSetZeroAndTheSetsInUse()
{
    auto map = testing::BlankMap(5, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x)
            map->at(TileSet, x, y) = 3;
    map->at(TileSet, 4, 4) = 200; // not a set: not counted
    QByteArray table = EncodeMapFile(*map).right(SetUsageTableSize);
    for (int i = 0; i < SetUsageTableSize; ++i)
        QCOMPARE(int(table[i]), i == 0 || i == 3 ? 1 : 0);

    map->at(TileSet, 0, 0) = 15;
    map->at(TileSet, 1, 0) = 0;
    table = EncodeMapFile(*map).right(SetUsageTableSize);
    for (int i = 0; i < SetUsageTableSize; ++i)
        QCOMPARE(int(table[i]), i == 0 || i == 3 || i == 15 ? 1 : 0);
}

void NativeMapFileTest::fileSizes()
{
    QCOMPARE(EncodeMapFile(*testing::BlankMap(5, 5)).size(), 1030);
    QCOMPARE(EncodeMapFile(*testing::BlankMap(72, 70)).size(), 186585);
    QCOMPARE(EncodeMapFile(*testing::BlankMap(1, 1)).size(), 105 + 37);
    QCOMPARE(MapFileSize(13, 4), 105 + 37 * 13 * 4);
}

void NativeMapFileTest::roundTripCarriesAll37Planes()
{
    QTemporaryDir dir;
    for (const QSize size : {QSize(1, 1), QSize(7, 3), QSize(72, 70)}) {
        auto map = RandomMap(size.width(), size.height(), quint32(size.width()));
        const QString path = dir.filePath(QStringLiteral("round.map"));
        QCOMPARE(WriteMapFile(path, *map), QString());
        QCOMPARE(QFileInfo(path).size(), MapFileSize(size.width(), size.height()));

        auto loaded = RandomMap(72, 70, 4242);
        QCOMPARE(ReadMapFile(path, *loaded), QString());
        QCOMPARE(loaded->MapWidth, size.width());
        QCOMPARE(loaded->MapHeight, size.height());
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                QCOMPARE(ReadHex(*loaded, x, y), ReadHex(*map, x, y));
    }
}

void NativeMapFileTest::loadingKeepsTheRestOfTheStore()
{
    auto map = RandomMap(72, 70, 1);
    const auto before = std::make_unique<MapStore>(*map);
    QCOMPARE(DecodeMapFile(EncodeMapFile(*testing::BlankMap(3, 2)), *map), QString());
    QCOMPARE(ReadHex(*map, 2, 1), HexRecord{});
    QCOMPARE(ReadHex(*map, 3, 1), ReadHex(*before, 3, 1)); // outside the loaded size
    QCOMPARE(ReadHex(*map, 0, 2), ReadHex(*before, 0, 2));
}

void NativeMapFileTest::refusedHeadersLeaveTheMapUnchanged_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("reason");
    QTest::newRow("empty") << QByteArray() << "too short";
    QTest::newRow("three bytes") << QByteArray("\x05\x00\x05", 3) << "too short";
    QTest::newRow("width 0") << Header(0, 5) + QByteArray(100, 0) << "0 x 5";
    QTest::newRow("height 0") << Header(5, 0) + QByteArray(100, 0) << "5 x 0";
    QTest::newRow("width 73") << Header(73, 5) + QByteArray(100, 0) << "73 x 5";
    QTest::newRow("height 71") << Header(5, 71) + QByteArray(100, 0) << "5 x 71";
    QTest::newRow("width 255") << Header(255, 255) << "255 x 255";
}

void NativeMapFileTest::refusedHeadersLeaveTheMapUnchanged()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, reason);
    auto map = RandomMap(10, 10, 5);
    const auto before = std::make_unique<MapStore>(*map);
    const QString error = DecodeMapFile(data, *map);
    QVERIFY2(error.contains(reason), qPrintable(error));
    QVERIFY(map->bytes == before->bytes);
    QCOMPARE(map->MapWidth, 10);
    QCOMPARE(map->MapHeight, 10);
}

void NativeMapFileTest::aFileCutInsideTheHexesIsRefused()
{
    auto source = RandomMap(4, 3, 9);
    const QByteArray whole = EncodeMapFile(*source);
    auto map = RandomMap(10, 10, 5);
    const auto before = std::make_unique<MapStore>(*map);
    const int kept = 4 + 37 * 5 + 10; // five whole hexes and ten bytes of the sixth
    QCOMPARE(DecodeMapFile(whole.left(kept), *map),
             QStringLiteral("The file ends inside the hex records: it has 199 bytes, the records of a 4 x 3 map end at byte 448."));
    QVERIFY(DecodeMapFile(Header(2, 2), *map).startsWith(QLatin1String("The file ends inside the hex records")));
    QVERIFY(map->bytes == before->bytes);
    QCOMPARE(map->MapWidth, 10);

    // The set usage table is not read: a file cut inside it loads whole.
    QCOMPARE(DecodeMapFile(whole.left(4 + 37 * 12), *map), QString());
    QCOMPARE(ReadHex(*map, 3, 2), ReadHex(*source, 3, 2));
}

void NativeMapFileTest::trailingBytesAreNotRead()
{
    // A regular scenario starts with the same block and goes on with other data.
    auto source = RandomMap(6, 5, 77);
    QByteArray scenario = EncodeMapFile(*source);
    scenario += QByteArray(5000, '\x5A');
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("game.scn"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(scenario);
    file.close();
    auto map = testing::BlankMap(72, 70);
    QCOMPARE(ReadMapFile(path, *map), QString());
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x)
            QCOMPARE(ReadHex(*map, x, y), ReadHex(*source, x, y));
}

void NativeMapFileTest::fileErrorsNameTheFile()
{
    QTemporaryDir dir;
    auto map = testing::BlankMap(5, 5);
    const QString missing = dir.filePath(QStringLiteral("nothing.map"));
    QVERIFY(ReadMapFile(missing, *map).startsWith(missing));

    const QString tiny = dir.filePath(QStringLiteral("tiny.map"));
    QFile file(tiny);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("\x05\x00", 2);
    file.close();
    const QString error = ReadMapFile(tiny, *map);
    QVERIFY(error.startsWith(tiny));
    QVERIFY(error.contains(QLatin1String("too short")));
    QCOMPARE(map->MapWidth, 5);
}

void NativeMapFileTest::aFailedWriteKeepsTheOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("keep.map"));
    auto old = RandomMap(3, 3, 3);
    QCOMPARE(WriteMapFile(path, *old), QString());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    // A folder that cannot be written to: the new content never replaces the old.
    QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const bool folderIsProtected = !QFile(dir.filePath(QStringLiteral("probe"))).open(QIODevice::WriteOnly);
    const QString error = WriteMapFile(path, *RandomMap(8, 8, 8));
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (folderIsProtected) { // root may write anywhere
        QVERIFY(error.startsWith(path));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
        file.close();
    }

    const QString vanished = dir.filePath(QStringLiteral("gone/keep.map"));
    QVERIFY(WriteMapFile(vanished, *old).startsWith(vanished));
    QVERIFY(!QFile::exists(vanished));
}

QTEST_GUILESS_MAIN(NativeMapFileTest)
#include "tst_native_map_file.moc"
