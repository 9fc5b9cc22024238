// The tile archive decoder: signature scan, header fields, palettes, row coding, placement,
// and archives that are cut short or lie about their contents.

#include "TestSupport.h"
#include "core/Batch.h"
#include "core/PixelOps.h"
#include "core/TileArchive.h"

#include <QTest>

using namespace dovrel;
using namespace testing;

namespace {
constexpr ColorValue Background = 0x38B8A0;

QImage BackgroundCanvas()
{
    QImage image = MakeCanvas(LargeWidth, LargeHeight);
    image.fill(ToRgb(Background));
    return image;
}

// A palette listing index i with red i, green 2i, blue 3i (6-bit, wrapped).
QList<RawEntry> Ramp(std::initializer_list<int> indices)
{
    QList<RawEntry> entries;
    for (int i : indices)
        entries.append({i, i % 64, (2 * i) % 64, (3 * i) % 64});
    return entries;
}

ColorValue RampColor(int i) { return MakeColor((i % 64) * 4, ((2 * i) % 64) * 4, ((3 * i) % 64) * 4); }

// Counts the pixels of the image that differ from the background.
int Painted(const QImage &image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += PixelColor(image, x, y) != Background;
    return n;
}
} // namespace

class TestArchive : public QObject {
    Q_OBJECT
private slots:
    void signatureScanDoesNotRetryTheBreakingByte();
    void signatureScanStopsAtEndOfFile();
    void headerFieldsAreLittleEndian();
    void paletteColorPutsEachComponentInItsByte();
    void paletteBlockOverwritesOnlyListedEntries();
    void paletteIsLoadedOnceForConsecutiveTilesAndPersistsAcrossSets();
    void rowCodingExample();
    void rowBufferStopsAfterTheControlThatReaches128Bytes();
    void rowWalkNeverPassesTheStoredBytes();
    void tilesArePlacedOnTheLargeGrid();
    void onlyEightyTilesAreDrawn();
    void emptySetAndEmptyTileDrawNothing();
    void truncatedArchivesEndTheSetWithAMessage_data();
    void truncatedArchivesEndTheSetWithAMessage();
    void lyingArchivesAreRefusedWithoutReadingOutside_data();
    void lyingArchivesAreRefusedWithoutReadingOutside();
    void generateFillsWithTheBackgroundFirst();
};

void TestArchive::signatureScanDoesNotRetryTheBreakingByte()
{
    // "11.10" at the search start is missed; the scan goes on to the next "1.10".
    QByteArray bytes(100, 'x');
    bytes.replace(10, 5, Bytes({0x31, 0x31, 0x2E, 0x31, 0x30}));
    bytes.replace(40, 4, "1.10");
    ArchiveStream stream = StreamOver(bytes);
    QCOMPARE(FindSetHeader(stream, 10), std::optional<qint64>(40));
    QCOMPARE(stream.pos(), 44);

    // A signature right at the search start is its own base; one before it is not seen.
    QCOMPARE(FindSetHeader(stream, 40), std::optional<qint64>(40));
    QCOMPARE(FindSetHeader(stream, 41), std::nullopt);

    // "1.1.10": the second '1' breaks the match after "1.", so the scan misses this one too.
    QByteArray other(30, 'y');
    other.replace(0, 6, "1.1.10");
    other.replace(20, 4, "1.10");
    ArchiveStream second = StreamOver(other);
    QCOMPARE(FindSetHeader(second, 0), std::optional<qint64>(20));
}

void TestArchive::signatureScanStopsAtEndOfFile()
{
    const QByteArray bytes("abc1.1");
    ArchiveStream stream = StreamOver(bytes);
    QCOMPARE(FindSetHeader(stream, 0), std::nullopt);
    QVERIFY(stream.atEnd());
    QCOMPARE(FindSetHeader(stream, 1000), std::nullopt);
}

void TestArchive::headerFieldsAreLittleEndian()
{
    const QByteArray bytes = Bytes({0x34, 0x12, 0xFF, 0xFF, 0x78, 0x56, 0x34, 0x12, 0xFF, 0xFF, 0xFF, 0xFF, 0x01});
    ArchiveStream stream = StreamOver(bytes);
    // The count takes the first two bytes of its four and drops the other two.
    QCOMPARE(ReadCount(stream), std::optional<int>(0x1234));
    QCOMPARE(stream.pos(), 4);
    QCOMPARE(ReadLong(stream), std::optional<qint32>(0x12345678));
    QCOMPARE(ReadLong(stream), std::optional<qint32>(-1));
    QCOMPARE(ReadLong(stream), std::nullopt); // one byte left
    QCOMPARE(ReadCount(stream), std::nullopt);
}

void TestArchive::paletteColorPutsEachComponentInItsByte()
{
    PaletteTable palette;
    const QByteArray block = PaletteBlock({{1, 63, 0, 0}, {2, 0, 0, 63}, {3, 1, 2, 3}, {4, 0xFF, 0x40, 0x7F}});
    ArchiveStream stream = StreamOver(block);
    QVERIFY(LoadPalette(stream, 0, palette));
    QCOMPARE(palette.PaletteColor(1), ColorValue(252));
    QCOMPARE(palette.PaletteColor(2), ColorValue(0xFC0000));
    QCOMPARE(palette.PaletteColor(3), MakeColor(4, 8, 12));
    // Only the six colour bits of a component count: nothing spills into the next component.
    QCOMPARE(palette.PaletteColor(4), MakeColor(252, 0, 252));
    QCOMPARE(palette.PaletteColor(0), ColorValue(0)); // never listed: black
}

void TestArchive::paletteBlockOverwritesOnlyListedEntries()
{
    PaletteTable palette;
    const QByteArray bytes = PaletteBlock(Ramp({5, 6, 7})) + PaletteBlock({{6, 63, 63, 63}});
    ArchiveStream stream = StreamOver(bytes);
    stream.seek(3);
    QVERIFY(LoadPalette(stream, 0, palette));
    QCOMPARE(stream.pos(), 3); // the caller's position is kept
    QVERIFY(LoadPalette(stream, 4 + 3 * 4, palette));
    QCOMPARE(stream.pos(), 3);
    QCOMPARE(palette.PaletteColor(5), RampColor(5));
    QCOMPARE(palette.PaletteColor(6), MakeColor(252, 252, 252));
    QCOMPARE(palette.PaletteColor(7), RampColor(7));
}

void TestArchive::paletteIsLoadedOnceForConsecutiveTilesAndPersistsAcrossSets()
{
    // Set 1: tiles 0 and 1 share palette A, tile 2 uses B (listing only index 2), tile 3 A again.
    SetBuilder set;
    set.palettes = {PaletteBlock(Ramp({1, 2, 3})), PaletteBlock({{2, 63, 0, 0}})};
    set.records = {TileRecord(0, 0, Bytes({7, 1, 2, 3, 0}))}; // pixels of colours 1, 2, 3
    set.tiles = {{0, 0}, {0, 0}, {0, 1}, {0, 1}, {0, 0}};
    const QByteArray bytes = ArchiveWith(1, set.bytes());
    ArchiveStream stream = StreamOver(bytes);
    QImage image = BackgroundCanvas();
    DecoderState state;
    const DecodeReport report = DecodeSet(stream, 1, image, state);
    QVERIFY2(report.complete, qPrintable(report.problem));
    QCOMPARE(report.paletteLoads, 3); // A for tile 0, B for tile 2, A again for tile 4
    // Tile 2 (column 2, drawn at x 95, y 26) shows B's colour 2 and A's colours 1 and 3.
    QCOMPARE(PixelColor(image, 95, 26), RampColor(1));
    QCOMPARE(PixelColor(image, 96, 26), MakeColor(252, 0, 0));
    QCOMPARE(PixelColor(image, 97, 26), RampColor(3));
    // Tile 4 after A's reload shows A's colour 2.
    QCOMPARE(PixelColor(image, 190, 26), RampColor(2));

    // The next Generate always loads its first tile's palette, and the entries its block does
    // not list keep what the previous set left.
    SetBuilder next;
    next.palettes = {PaletteBlock({{1, 0, 63, 0}})};
    next.records = {TileRecord(0, 0, Bytes({7, 1, 2, 3, 0}))};
    next.tiles = {{0, 0}};
    const QByteArray second = ArchiveWith(4, next.bytes());
    ArchiveStream stream2 = StreamOver(second);
    QImage image2 = BackgroundCanvas();
    QVERIFY(DecodeSet(stream2, 4, image2, state).complete);
    QCOMPARE(PixelColor(image2, 1, 26), MakeColor(0, 252, 0));
    QCOMPARE(PixelColor(image2, 2, 26), RampColor(2));
    QCOMPARE(PixelColor(image2, 3, 26), RampColor(3));
}

void TestArchive::rowCodingExample()
{
    // 1, 5 skips pixels 0..4; 4, 7 sets 5 and 6 to colour 7; 5, 9, 10 sets 7 and 8; 0 ends.
    const QByteArray bytes = Bytes({1, 5, 4, 7, 5, 9, 10, 0});
    PaletteTable palette;
    const QByteArray block = PaletteBlock(Ramp({7, 9, 10}));
    ArchiveStream paletteStream = StreamOver(block);
    QVERIFY(LoadPalette(paletteStream, 0, palette));
    ArchiveStream stream = StreamOver(bytes);
    QImage image = BackgroundCanvas();
    QVERIFY(DrawTile(stream, image, 1, 0, 1, palette)); // column 1: x0 48, y0 1
    for (int x = 48; x < 53; ++x)
        QCOMPARE(PixelColor(image, x, 1), Background);
    QCOMPARE(PixelColor(image, 53, 1), RampColor(7));
    QCOMPARE(PixelColor(image, 54, 1), RampColor(7));
    QCOMPARE(PixelColor(image, 55, 1), RampColor(9));
    QCOMPARE(PixelColor(image, 56, 1), RampColor(10));
    QCOMPARE(PixelColor(image, 57, 1), Background);
    QCOMPARE(Painted(image), 4);
    QCOMPARE(stream.pos(), bytes.size());
}

void TestArchive::rowBufferStopsAfterTheControlThatReaches128Bytes()
{
    RowBuffer buffer;
    // 63 runs of two bytes (126 bytes), then a literal of 3 pixels reaches 130: the reader stops
    // after it, and the rest of the row stays in the stream.
    QByteArray row;
    for (int i = 0; i < 63; ++i)
        row += Bytes({4, 1});
    row += Bytes({7, 1, 2, 3});
    row += Bytes({4, 2, 0});
    ArchiveStream stream = StreamOver(row);
    QCOMPARE(ReadTileRow(stream, buffer), 130);
    QCOMPARE(stream.pos(), 130);
    QVERIFY(!buffer.endOfFile);
    // The leftover is read as the next row.
    QCOMPARE(ReadTileRow(stream, buffer), 3);

    // A literal of 127 pixels is read whole: 128 bytes.
    QByteArray longLiteral = Bytes({255}) + QByteArray(127, char(5)) + Bytes({0});
    ArchiveStream second = StreamOver(longLiteral);
    QCOMPARE(ReadTileRow(second, buffer), 128);

    // A short row ends with its end control.
    const QByteArray shortRow = Bytes({1, 3, 0, 4, 4});
    ArchiveStream third = StreamOver(shortRow);
    QCOMPARE(ReadTileRow(third, buffer), 3);
    QCOMPARE(third.pos(), 3);
}

void TestArchive::rowWalkNeverPassesTheStoredBytes()
{
    PaletteTable palette;
    palette.entries[2] = {63, 63, 63};
    // The file ends inside a literal: the three stored data bytes are drawn, nothing more.
    const QByteArray bytes = Bytes({11, 2, 2, 2});
    ArchiveStream stream = StreamOver(bytes);
    QImage image = BackgroundCanvas();
    QVERIFY(!DrawTile(stream, image, 1, 0, 5, palette));
    QCOMPARE(Painted(image), 3);

    // Runs and skips that reach past the image are cut at its edge.
    const QByteArray wide = Bytes({1, 250, 254, 2, 254, 2, 0, 254, 2, 0});
    ArchiveStream wideStream = StreamOver(wide);
    QImage image2 = BackgroundCanvas();
    QVERIFY(DrawTile(wideStream, image2, 7, 9, 2, palette)); // x0 330, y0 460
    QCOMPARE(Painted(image2), LargeWidth - 330);
    QCOMPARE(PixelColor(image2, LargeWidth - 1, 461), MakeColor(252, 252, 252));
}

void TestArchive::tilesArePlacedOnTheLargeGrid()
{
    SetBuilder set;
    set.palettes = {PaletteBlock(Ramp({1}))};
    set.records = {TileRecord(3, 4, Bytes({3, 1, 0, 3, 1, 0}))}; // one pixel in each of two rows
    for (int i = 0; i < 9; ++i)
        set.tiles.append({0, 0});
    const QByteArray bytes = ArchiveWith(6, set.bytes(), 17);
    ArchiveStream stream = StreamOver(bytes);
    QImage image = BackgroundCanvas();
    DecoderState state;
    int callbacks = 0;
    const DecodeReport report = DecodeSet(stream, 6, image, state, [&]() { ++callbacks; });
    QVERIFY(report.complete);
    QCOMPARE(callbacks, 9);
    QCOMPARE(report.tilesDrawn, 9);
    // Tile 0 at (1, 26), tile 1 at (48, 1), tile 8 at (1, 77); the first row number only counts rows.
    for (QPoint p : {QPoint(1, 26), QPoint(1, 27), QPoint(48, 1), QPoint(48, 2), QPoint(1, 77), QPoint(1, 78), QPoint(142, 1), QPoint(330, 1)})
        QVERIFY2(PixelColor(image, p.x(), p.y()) == RampColor(1), qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
    QCOMPARE(Painted(image), 18);
    QCOMPARE(LargeTileY(2, 0), 26);
    QCOMPARE(LargeTileX(7), 330);
    QCOMPARE(LargeTileY(7, 9), 460);
}

void TestArchive::onlyEightyTilesAreDrawn()
{
    SetBuilder set;
    set.palettes = {PaletteBlock(Ramp({1})), PaletteBlock(Ramp({2}))};
    set.records = {TileRecord(0, 0, Bytes({3, 1, 0})), TileRecord(0, 0, Bytes({3, 2, 0}))};
    for (int i = 0; i < 80; ++i)
        set.tiles.append({0, 0});
    set.tiles.append({1, 1}); // tiles 80 and 81: read, not drawn
    set.tiles.append({1, 1});
    const QByteArray bytes = ArchiveWith(1, set.bytes());
    ArchiveStream stream = StreamOver(bytes);
    QImage image = BackgroundCanvas();
    DecoderState state;
    const DecodeReport report = DecodeSet(stream, 1, image, state);
    QVERIFY(report.complete);
    QCOMPARE(report.tileCount, 82);
    QCOMPARE(report.tilesDrawn, 80);
    QCOMPARE(report.paletteLoads, 2); // the directory of tiles 80 on is still read
    QCOMPARE(Painted(image), 80);
}

void TestArchive::emptySetAndEmptyTileDrawNothing()
{
    SetBuilder empty;
    const QByteArray bytes = ArchiveWith(2, empty.bytes());
    ArchiveStream stream = StreamOver(bytes);
    QImage image = BackgroundCanvas();
    DecoderState state;
    const DecodeReport report = DecodeSet(stream, 2, image, state);
    QVERIFY(report.complete);
    QCOMPARE(report.tileCount, 0);
    QCOMPARE(Painted(image), 0);

    // A tile whose last row number is below its first has no rows.
    SetBuilder backwards;
    backwards.palettes = {PaletteBlock(Ramp({1}))};
    backwards.records = {TileRecord(9, 8, Bytes({3, 1, 0})), TileRecord(0, 0, Bytes({3, 1, 0}))};
    backwards.tiles = {{0, 0}, {1, 0}};
    const QByteArray bytes2 = ArchiveWith(2, backwards.bytes());
    ArchiveStream stream2 = StreamOver(bytes2);
    QVERIFY(DecodeSet(stream2, 2, image, state).complete);
    QCOMPARE(Painted(image), 1);
    QCOMPARE(PixelColor(image, 48, 1), RampColor(1));
}

void TestArchive::truncatedArchivesEndTheSetWithAMessage_data()
{
    QTest::addColumn<int>("cut"); // bytes kept after the search offset of set 3
    QTest::addColumn<QString>("problem");
    QTest::addColumn<int>("painted");
    // The set: 3 tiles with one pixel each, on a 5-byte gap.
    QTest::newRow("before the signature") << 7 << "ends before the set's signature" << 0;
    QTest::newRow("inside the header") << 5 + 6 << "ends inside the set's header" << 0;
    QTest::newRow("palette block cut off") << 5 + 8 + 8 + 3 << "tile 0: a palette block lies outside the file" << 0;
    QTest::newRow("inside the rows") << 5 + 65 << "ends inside the rows of tile 0" << 0;
    QTest::newRow("archive shorter than the offset") << -1 << "too short" << 0;
}

void TestArchive::truncatedArchivesEndTheSetWithAMessage()
{
    QFETCH(int, cut);
    QFETCH(QString, problem);
    QFETCH(int, painted);
    SetBuilder set;
    set.palettes = {PaletteBlock(Ramp({1}))};
    set.records = {TileRecord(0, 0, Bytes({3, 1, 0}))};
    set.tiles = {{0, 0}, {0, 0}, {0, 0}};
    QByteArray bytes = ArchiveWith(3, set.bytes(), 5);
    bytes.truncate(cut < 0 ? SetSearchOffsets[3] - 1 : SetSearchOffsets[3] + cut);
    ArchiveStream stream = StreamOver(bytes);
    QImage image = BackgroundCanvas();
    DecoderState state;
    const DecodeReport report = DecodeSet(stream, 3, image, state);
    QVERIFY(!report.complete);
    QVERIFY2(report.problem.startsWith(QStringLiteral("Tile set 3: ")), qPrintable(report.problem));
    QVERIFY2(report.problem.contains(problem), qPrintable(report.problem));
    QCOMPARE(Painted(image), painted);
}

void TestArchive::lyingArchivesAreRefusedWithoutReadingOutside_data()
{
    QTest::addColumn<QByteArray>("setBytes");
    QTest::addColumn<int>("cutFromEnd");
    QTest::addColumn<QString>("problem");
    QTest::addColumn<int>("painted");

    auto make = [](auto change) {
        SetBuilder set;
        set.palettes = {PaletteBlock(Ramp({1}))};
        set.records = {TileRecord(0, 1, Bytes({3, 1, 0, 3, 1, 0}))};
        set.tiles = {{0, 0}, {0, 0}};
        change(set);
        return set.bytes();
    };
    auto patchLong = [](QByteArray bytes, int at, qint32 value) {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = char((quint32(value) >> (8 * i)) & 0xFF);
        return bytes;
    };
    const QByteArray good = make([](SetBuilder &) {});
    {
        // Palette and record before the set base (negative offsets are fine), a directory that
        // announces 60000 tiles and holds two.
        const QByteArray palette = PaletteBlock(Ramp({1}));
        const QByteArray record = TileRecord(0, 1, Bytes({3, 1, 0, 3, 1, 0}));
        QByteArray lying = palette + record + QByteArray("1.10") + Bytes({0x60, 0xEA, 0, 0});
        for (int i = 0; i < 2; ++i)
            lying += patchLong(patchLong(QByteArray(8, '\0'), 0, -qint32(record.size())), 4, -qint32(palette.size() + record.size()));
        QTest::newRow("count larger than the directory") << lying << 0 << "ends inside the tile directory, at tile 2 of 60000" << 4;
    }
    QTest::newRow("tile offset beyond the file") << patchLong(good, 16, 0x7FFFFFF0) << 0 << "tile 1 points outside the archive" << 2;
    QTest::newRow("negative tile offset") << patchLong(good, 8, -100000000) << 0 << "tile 0 points outside the archive" << 0;
    QTest::newRow("palette offset beyond the file") << patchLong(good, 12, 1 << 30) << 0 << "tile 0: a palette block lies outside the file" << 0;
    QTest::newRow("palette count beyond the file")
        << make([](SetBuilder &s) { s.palettes = {QByteArray("\xFF\xFF\xFF\x7F", 4) + PaletteBlock(Ramp({1})).mid(4)}; }) << 0
        << "ends inside a palette block" << 0;
    QTest::newRow("rows beyond the file") << make([](SetBuilder &s) { s.records = {TileRecord(0, 200, Bytes({3, 1, 0, 3, 1, 0}))}; })
                                          << 0 << "ends inside the rows of tile 0" << 2;
    QTest::newRow("record header cut") << good << 30 << "tile 0 points outside the archive" << 0;
}

void TestArchive::lyingArchivesAreRefusedWithoutReadingOutside()
{
    QFETCH(QByteArray, setBytes);
    QFETCH(int, cutFromEnd);
    QFETCH(QString, problem);
    QFETCH(int, painted);
    QByteArray bytes = ArchiveWith(5, setBytes);
    bytes.chop(cutFromEnd);
    // A detached copy of exactly the file's bytes, so that the sanitizers see any read past it.
    const QByteArray exact(bytes.constData(), bytes.size());
    ArchiveStream stream = StreamOver(exact);
    QImage image = BackgroundCanvas();
    DecoderState state;
    const DecodeReport report = DecodeSet(stream, 5, image, state);
    QVERIFY(!report.complete);
    QVERIFY2(report.problem.startsWith(QStringLiteral("Tile set 5: ")), qPrintable(report.problem));
    QVERIFY2(report.problem.contains(problem), qPrintable(report.problem));
    QCOMPARE(Painted(image), painted);
}

void TestArchive::generateFillsWithTheBackgroundFirst()
{
    SetBuilder set;
    set.palettes = {PaletteBlock(Ramp({1}))};
    set.records = {TileRecord(0, 0, Bytes({3, 1, 0}))};
    set.tiles = {{0, 0}};
    const QByteArray bytes = ArchiveWith(0, set.bytes());
    ArchiveStream stream = StreamOver(bytes);
    QImage image = MakeCanvas(400, 600); // a loaded bitmap of another size keeps its size
    DecoderState state;
    QVERIFY(GenerateSet(stream, 0, image, state, 0x123456).complete);
    QCOMPARE(image.size(), QSize(400, 600));
    QCOMPARE(PixelColor(image, 399, 599), ColorValue(0x123456));
    QCOMPARE(PixelColor(image, 1, 26), RampColor(1));
}

QTEST_APPLESS_MAIN(TestArchive)
#include "tst_dovrel_archive.moc"
