// The sample tile archive: layout, determinism, coding, tiles that face the right sides, and the
// program that writes it.

#include "TestSupport.h"
#include "core/Batch.h"
#include "core/PixelOps.h"
#include "core/TileArchive.h"
#include "samples/SampleArchive.h"

#include <QCryptographicHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>

using namespace dovrel;
using namespace testing;

namespace {
// Midpoints of the six sides of a sample tile (NW, N, NE, SE, S, SW), moved 5 pixels toward
// the centre, relative to the tile's top-left corner.
QPoint NearSide(int side)
{
    static const QPointF mids[6] = {{6.6, 11.75}, {30.15, -1}, {53.65, 11.75}, {53.65, 37.25}, {30.15, 50}, {6.6, 37.25}};
    const QPointF centre(30.15, 24.5);
    const QPointF d = centre - mids[side];
    const double len = std::hypot(d.x(), d.y());
    const QPointF p = mids[side] + d * (5.0 / len);
    return QPoint(int(std::lround(p.x())), int(std::lround(p.y())));
}

bool BlueDominant(ColorValue c) { return BlueOf(c) > GreenOf(c) && BlueOf(c) > RedOf(c); }
bool GreenDominant(ColorValue c) { return GreenOf(c) > RedOf(c) && GreenOf(c) > BlueOf(c); }

struct Decoded {
    QImage image;
    DecodeReport report;
};

Decoded DecodeSample(const QByteArray &archive, int set, DecoderState &state)
{
    Decoded d{MakeCanvas(LargeWidth, LargeHeight), {}};
    ArchiveStream stream = StreamOver(archive);
    d.report = GenerateSet(stream, set, d.image, state, DefaultBackground);
    return d;
}

ColorValue TilePixel(const Decoded &d, int tile, QPoint at)
{
    const int c = tile % 8, r = tile / 8;
    return PixelColor(d.image, LargeTileX(c) + at.x(), LargeTileY(c, r) + at.y());
}
} // namespace

class TestSample : public QObject {
    Q_OBJECT
private:
    QByteArray m_archive;

private slots:
    void initTestCase() { m_archive = BuildSampleArchive(); }
    void isTheSameOnEveryRun();
    void everySetIsFoundFromItsSearchOffset();
    void rowsUseEveryKindOfControl();
    void slotsWithoutATileStayEmpty();
    void sidesFollowTheShapingTables();
    void directionalTilesShowTheirFeatureTowardExactlyTheirSides_data();
    void directionalTilesShowTheirFeatureTowardExactlyTheirSides();
    void tilesOfASetDifferFromEachOther();
    void writesTheArchiveFile();
    void programWritesTheArchiveAndRefusesBadArguments();
};

void TestSample::isTheSameOnEveryRun()
{
    const QByteArray again = BuildSampleArchive();
    QCOMPARE(again.size(), m_archive.size());
    QVERIFY(again == m_archive);
    // About 12 MB, most of it padding up to the last set's search offset.
    QVERIFY(m_archive.size() > SetSearchOffsets[15]);
    QVERIFY(m_archive.size() < 13 * 1024 * 1024);
}

void TestSample::everySetIsFoundFromItsSearchOffset()
{
    DecoderState state;
    for (int set = 0; set < 16; ++set) {
        ArchiveStream stream = StreamOver(m_archive);
        const std::optional<qint64> base = FindSetHeader(stream, SetSearchOffsets[size_t(set)]);
        QVERIFY(base);
        QVERIFY(*base - SetSearchOffsets[size_t(set)] < 16);
        const Decoded d = DecodeSample(m_archive, set, state);
        QVERIFY2(d.report.complete, qPrintable(d.report.problem));
        const int slotCount = int(std::strlen(SampleTerrainRows[size_t(set)]));
        QCOMPARE(d.report.tileCount, slotCount);
        QCOMPARE(d.report.tilesDrawn, std::min(slotCount, 80));
        QVERIFY(d.report.paletteLoads >= 1);
    }
    // Set 0 lies behind the near miss "11.10", which the scan passes over.
    QCOMPARE(m_archive.mid(SetSearchOffsets[0], 5), QByteArray("11.10"));
}

void TestSample::rowsUseEveryKindOfControl()
{
    // Walk the coded rows of every tile of set 6 (towns and airfields) and set 0.
    QSet<QString> kinds;
    for (int set : {0, 6}) {
        ArchiveStream stream = StreamOver(m_archive);
        const qint64 base = *FindSetHeader(stream, SetSearchOffsets[size_t(set)]);
        const int count = *ReadCount(stream);
        for (int i = 0; i < count; ++i) {
            const qint32 record = *ReadLong(stream);
            ReadLong(stream);
            const qint64 next = stream.pos();
            const int first = quint8(m_archive[base + record + TileFirstRowField]);
            const int last = quint8(m_archive[base + record + TileLastRowField]);
            stream.seek(base + record + TileRowsStart);
            RowBuffer buffer;
            for (int j = 0; j < last - first + 1; ++j) {
                const int stored = ReadTileRow(stream, buffer);
                QVERIFY(stored < RowBufferLimit); // every sample row is read whole
                QCOMPARE(buffer.bytes[size_t(stored - 1)], quint8(0));
                for (int at = 0; at < stored;) {
                    const int c = buffer.bytes[size_t(at)];
                    kinds.insert(c == 0 ? QStringLiteral("end") : c == 1 ? QStringLiteral("skip") : c % 2 ? QStringLiteral("literal") : QStringLiteral("run"));
                    at += c == 0 ? 1 : (c == 1 || c % 2 == 0) ? 2 : 1 + c / 2;
                }
            }
            stream.seek(next);
        }
    }
    QCOMPARE(kinds, (QSet<QString>{QStringLiteral("end"), QStringLiteral("skip"), QStringLiteral("literal"), QStringLiteral("run")}));
}

void TestSample::slotsWithoutATileStayEmpty()
{
    DecoderState state;
    const Decoded d = DecodeSample(m_archive, 7, state); // reefs: tiles 0..17, the rest empty
    for (int tile = 18; tile < 80; ++tile)
        QCOMPARE(TilePixel(d, tile, {30, 25}), DefaultBackground);
    for (int tile = 0; tile < 18; ++tile)
        QVERIFY(TilePixel(d, tile, {30, 25}) != DefaultBackground);
}

void TestSample::sidesFollowTheShapingTables()
{
    auto mask = [](std::initializer_list<HexSide> sides) {
        int m = 0;
        for (HexSide s : sides)
            m |= 1 << s;
        return m;
    };
    QCOMPARE(SampleTileSides(0, 20), mask({NW, N, NE}));    // coast "OLLLOOO"
    QCOMPARE(SampleTileSides(0, 0), mask({NW}));            // coast "OLOOOOO"
    QCOMPARE(SampleTileSides(4, 4), mask({S}));             // beach "LLLLLCL"
    QCOMPARE(SampleTileSides(5, 1), mask({NW}));            // shallow "OCOOOOO"
    QCOMPARE(SampleTileSides(2, 27), mask({N, SE}));        // road "ROROROO"
    QCOMPARE(SampleTileSides(2, 13), mask({NW, SE}));       // road "RROOROO"
    QCOMPARE(SampleTileSides(3, 9), mask({N, S}));          // river "ROROORO"
    QCOMPARE(SampleTileSides(3, 16), mask({NE, SW}));       // river: "ROROOOR", "ROOROOR", "RROROOO"
    QCOMPARE(SampleTileSides(3, 14), mask({NW, SE}));       // river: "RROOROO", "RROOORO", "ROOOROR"
    QCOMPARE(SampleTileSides(0, 52), 0);                    // deep water faces nothing
    QCOMPARE(SampleTileSides(1, 20), 0);                    // jungle has no direction
    // Tiles the tables do not name still face sides, each set's tiles all differently.
    for (int set : {0, 2, 3, 4}) {
        QSet<int> seen;
        const int slotCount = int(std::strlen(SampleTerrainRows[size_t(set)]));
        for (int tile = 0; tile < std::min(slotCount, 80); ++tile) {
            const char t = SampleTerrainRows[size_t(set)][tile];
            if (t == '.' || (set == 0 && !QByteArray("NI").contains(t)) || (set == 4 && !QByteArray("4I").contains(t)))
                continue;
            const int m = SampleTileSides(set, tile);
            QVERIFY2(m != 0, qPrintable(QStringLiteral("set %1 tile %2").arg(set).arg(tile)));
            if (set != 2 || !QList<int>{20, 31, 35}.contains(tile))
                seen.insert(m);
        }
        QVERIFY(seen.size() > 10);
    }
}

void TestSample::directionalTilesShowTheirFeatureTowardExactlyTheirSides_data()
{
    QTest::addColumn<int>("set");
    QTest::addColumn<int>("tile");
    const QList<QPair<int, QList<int>>> named = {
        {0, {20, 40, 7, 5, 3, 12, 9, 4, 21, 16, 1, 6, 2, 28, 27, 26, 30, 35, 8, 11, 14, 0, 15}},
        {4, {4, 53, 1, 7, 5, 38, 28, 41, 6, 9, 14, 26, 17, 2, 10, 48, 8, 12, 22, 30}},
        {5, {23, 48, 1, 49, 10, 18, 24, 35, 21, 28, 14, 16, 22, 34, 42, 5, 17}},
        {2, {27, 20, 14, 13, 36, 35, 31, 24}},
        {3, {9, 16, 15, 14}},
    };
    for (const auto &[set, tiles] : named)
        for (int tile : tiles)
            QTest::addRow("set %d tile %d", set, tile) << set << tile;
}

void TestSample::directionalTilesShowTheirFeatureTowardExactlyTheirSides()
{
    QFETCH(int, set);
    QFETCH(int, tile);
    static QHash<int, QImage> images;
    if (!images.contains(set)) {
        DecoderState state;
        images.insert(set, DecodeSample(m_archive, set, state).image);
    }
    const Decoded d{images.value(set), {}};
    const int sides = SampleTileSides(set, tile);
    for (int side = 0; side < 6; ++side) {
        const ColorValue c = TilePixel(d, tile, NearSide(side));
        bool feature = false;
        switch (set) {
        case 0: feature = !BlueDominant(c); break;                               // land or sand
        case 4: feature = RedOf(c) > GreenOf(c) || BlueDominant(c); break;       // sand or sea, not grass
        case 5: feature = 2 * GreenOf(c) > BlueOf(c); break;                     // shallow, not deep
        case 2: feature = !GreenDominant(c); break;                              // road surface
        case 3: feature = BlueDominant(c); break;                                // river water
        }
        const bool expected = sides & (1 << side);
        QVERIFY2(feature == expected, qPrintable(QStringLiteral("side %1 colour %2: expected %3")
                                                     .arg(side).arg(c, 6, 16, QLatin1Char('0')).arg(expected ? "feature" : "none")));
    }
}

void TestSample::tilesOfASetDifferFromEachOther()
{
    DecoderState state;
    for (int set = 0; set < 16; ++set) {
        const Decoded d = DecodeSample(m_archive, set, state);
        QSet<QByteArray> seen;
        int tiles = 0;
        for (int tile = 0; tile < 80; ++tile) {
            if (tile >= int(std::strlen(SampleTerrainRows[size_t(set)])) || SampleTerrainRows[size_t(set)][tile] == '.')
                continue;
            const int c = tile % 8, r = tile / 8;
            const QImage cell = d.image.copy(LargeTileX(c) + 12, LargeTileY(c, r) + 8, 36, 34);
            seen.insert(QCryptographicHash::hash(QByteArray(reinterpret_cast<const char *>(cell.constBits()), cell.sizeInBytes()),
                                                 QCryptographicHash::Sha1));
            ++tiles;
        }
        QCOMPARE(seen.size(), tiles);
    }
}

void TestSample::writesTheArchiveFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("til.pfp"));
    QString error;
    QVERIFY2(WriteSampleArchive(path, &error), qPrintable(error));
    QVERIFY(ReadFile(path) == m_archive);
    QVERIFY(!WriteSampleArchive(dir.filePath(QStringLiteral("none/til.pfp")), &error));
    QVERIFY(error.contains(QStringLiteral("none/til.pfp")));
}

void TestSample::programWritesTheArchiveAndRefusesBadArguments()
{
    auto run = [](const QStringList &args) {
        QProcess process;
        process.start(QStringLiteral(MAKE_SAMPLE_ARCHIVE_PATH), args);
        process.waitForFinished(120000);
        return std::pair{process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2,
                         QString::fromLocal8Bit(process.readAllStandardError())};
    };
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("til.pfp"));
    auto [code, err] = run({path});
    QCOMPARE(code, 0);
    QVERIFY2(err.isEmpty(), qPrintable(err));
    QVERIFY(ReadFile(path) == m_archive);

    for (const QStringList &args : {QStringList{}, QStringList{path, path}, QStringList{QStringLiteral("--help")}}) {
        std::tie(code, err) = run(args);
        QCOMPARE(code, 2);
        QVERIFY2(err.contains(QStringLiteral("Usage: make_sample_archive OUT")), qPrintable(err));
    }

    std::tie(code, err) = run({dir.filePath(QStringLiteral("no/til.pfp"))});
    QCOMPARE(code, 1);
    QVERIFY2(err.contains(QStringLiteral("no/til.pfp")), qPrintable(err));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("no/til.pfp"))));
}

QTEST_GUILESS_MAIN(TestSample)
#include "tst_dovrel_sample.moc"
