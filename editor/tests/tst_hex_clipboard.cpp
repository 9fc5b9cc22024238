// Copy and paste of hexes: the block keeps its shape wherever it lands, a paste is one step that
// writes every plane, and the clipboard forms (the exact hexes and the ASCII area text) survive a
// round trip while damaged or foreign data is refused. Also the half-transparent paste picture.

#include "test_support.h"

#include "files/ascii_map_file.h"
#include "model/geometry.h"
#include "render/hex_preview.h"
#include "tools/map_tools.h"

#include <QSignalSpy>
#include <QTest>
#include <QtEndian>

#include <cstring>

using namespace vantor;

namespace {

using PlacedHexes = std::vector<std::pair<HexCoord, HexRecord>>;

MapPointer PointerAt(HexCoord hex, const MapStore &map, Qt::MouseButton button = Qt::LeftButton)
{
    MapPointer pointer;
    pointer.nearHex = hex;
    if (IsOnMap(map, hex.x, hex.y))
        pointer.hex = hex;
    pointer.button = button;
    return pointer;
}

HexSet SetOf(std::initializer_list<HexCoord> hexes)
{
    HexSet set;
    for (const HexCoord hex : hexes)
        set.insert(hex);
    return set;
}

// Every hex of columns x1..x2 and rows y1..y2; its hexes() go column by column.
HexSet Block(int x1, int y1, int x2, int y2)
{
    HexSet set;
    for (int x = x1; x <= x2; ++x)
        for (int y = y1; y <= y2; ++y)
            set.insert({x, y});
    return set;
}

std::vector<HexCoord> CoordsOf(const PlacedHexes &placed)
{
    std::vector<HexCoord> hexes;
    for (const auto &each : placed)
        hexes.push_back(each.first);
    return hexes;
}

// Whether placed is source moved by one cube step for all (so the same shape on screen), each hex
// with the record its source hex has, planes from `planes` on zero.
bool IsMovedBlock(const PlacedHexes &placed, const std::vector<HexCoord> &source, const MapStore &map,
                  int planes = PlaneCount)
{
    if (placed.size() != source.size() || placed.empty())
        return false;
    const CubeHex move = ToCube(placed.front().first) - ToCube(source.front());
    for (std::size_t i = 0; i < placed.size(); ++i) {
        HexRecord record = ReadHex(map, source[i].x, source[i].y);
        std::fill(record.begin() + planes, record.end(), 0);
        if (ToCube(placed[i].first) - ToCube(source[i]) != move || placed[i].second != record)
            return false;
    }
    return true;
}

// before with each hex of from written over the hex of to beside it.
MapStore Pasted(const MapStore &before, const std::vector<HexCoord> &from, const std::vector<HexCoord> &to)
{
    MapStore after = before;
    for (std::size_t i = 0; i < from.size(); ++i)
        WriteHex(after, to[i].x, to[i].y, ReadHex(before, from[i].x, from[i].y));
    return after;
}

std::unique_ptr<QMimeData> TextOnly(const QString &text)
{
    auto mime = std::make_unique<QMimeData>();
    mime->setText(text);
    return mime;
}

// The message of a refused paste; nothing when the clipboard is pasted or the caption is not the refusal's.
std::optional<QString> Refusal(const QMimeData &mime)
{
    QString caption, message;
    if (FromMimeData(mime, &caption, &message) || caption != QStringLiteral("Area Not Pasted"))
        return std::nullopt;
    return message;
}

} // namespace

class HexClipboardTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void blockKeepsItsShapeAndIsHeldByItsMiddle();
    void pasteIsOneStepOfAll37PlanesAndTheToolStays();
    void pasteOverTheEdgePlacesThePartThatFits();
    void previewFollowsThePointerUntilEscapeOrRightClick();
    void exactHexesSurviveTheClipboardAndDamagedOnesAreRefused();
    void areaTextIsReadAsPasteAreaReadsIt();
    void previewPictureMatchesTheMapPicture();

private:
    const MapStore &map() { return document->map(); }

    std::unique_ptr<MapDocument> document;
    EditorSettings settings;
    testing::SilentToolHost host;
    std::unique_ptr<MapTools> tools;
};

void HexClipboardTest::init()
{
    tools.reset();
    document = std::make_unique<MapDocument>();
    MapContent content; // every byte, in all 37 planes, differs from hex to hex
    content.map = *testing::RandomMap(12, 10, 7);
    document->start(std::move(content));
    tools = std::make_unique<MapTools>(*document, settings, host);
}

void HexClipboardTest::blockKeepsItsShapeAndIsHeldByItsMiddle()
{
    // Pasted at its anchor, the hex nearest the middle of its pixels, a block lands where it came
    // from; a ring is held by its middle too, though the middle was not copied.
    HexSet ring = Block(5, 5, 7, 7);
    ring.erase({6, 6});
    const std::pair<HexSet, HexCoord> middles[] = {
        {Block(2, 1, 6, 3), {4, 2}}, {Block(1, 4, 5, 8), {3, 6}}, {ring, {6, 6}}};
    for (const auto &[block, middle] : middles)
        QCOMPARE(CoordsOf(PlaceHexes(CopyHexes(map(), block), middle, map())), block.hexes());

    // A ragged block copied from both column parities lands as the same shape at odd and even targets.
    for (const int c : {2, 3}) {
        const HexSet ragged = SetOf({{c, 2}, {c, 3}, {c + 1, 1}, {c + 1, 4}, {c + 2, 2}, {c + 3, 3}});
        const ClipboardHexes copied = CopyHexes(map(), ragged);
        for (int x = 3; x <= 7; ++x)
            for (int y = 3; y <= 5; ++y)
                QVERIFY2(IsMovedBlock(PlaceHexes(copied, {x, y}, map()), ragged.hexes(), map()),
                         qPrintable(QStringLiteral("copied from column %1, pasted at (%2, %3)").arg(c).arg(x).arg(y)));
    }

    // Hexes of the set beyond the map's size are not copied.
    document->edit(QStringLiteral("Resize"), [](MapContent &content) { content.map.MapWidth = 4; });
    QCOMPARE(CopyHexes(map(), Block(2, 1, 6, 3)).hexes.size(), std::size_t(6));
    QVERIFY(CopyHexes(map(), {}).empty());
}

void HexClipboardTest::pasteIsOneStepOfAll37PlanesAndTheToolStays()
{
    const MapStore before = map();
    tools->startPaste(CopyHexes(before, Block(1, 1, 3, 2)));
    // The anchor of a 3 x 2 block from column 1 is (2, 2), its middle column's lower hex: at (6, 7)
    // the block lands on columns 5..7, and no other hex changes.
    tools->click(PointerAt({6, 7}, map()));
    QCOMPARE(document->history().count(), 1);
    QCOMPARE(document->history().undoText(), QStringLiteral("Paste"));
    QVERIFY(map().bytes == Pasted(before, Block(1, 1, 3, 2).hexes(), Block(5, 6, 7, 7).hexes()).bytes);

    // The tool stays for another paste, each its own step; undo takes back one paste at a time.
    QCOMPARE(tools->mode(), ClickMode::Paste);
    const MapStore afterFirst = map();
    tools->click(PointerAt({4, 8}, map()));
    QCOMPARE(document->history().count(), 2);
    document->history().undo();
    QVERIFY(map().bytes == afterFirst.bytes);
    document->history().undo();
    QVERIFY(map().bytes == before.bytes);
}

void HexClipboardTest::pasteOverTheEdgePlacesThePartThatFits()
{
    const MapStore before = map();
    const ClipboardHexes block = CopyHexes(before, Block(4, 4, 6, 6)); // anchor (5, 5)
    tools->startPaste(block);
    // The pointer beyond the lower-right corner: two hexes of the block's west column land in the
    // map's last column, the odd one, half a hex higher than the even column they came from.
    tools->click(PointerAt({12, 10}, map()));
    QCOMPARE(document->history().count(), 1);
    QVERIFY(map().bytes == Pasted(before, {{4, 4}, {4, 5}}, {{11, 8}, {11, 9}}).bytes);
    // Over the west edge: the two east columns land, the odd one still half a hex above the even.
    QCOMPARE(CoordsOf(PlaceHexes(block, {0, 3}, map())),
             (std::vector<HexCoord>{{0, 2}, {0, 3}, {0, 4}, {1, 1}, {1, 2}, {1, 3}}));
    // Wholly off the map: no step.
    tools->click(PointerAt({20, 20}, map()));
    QCOMPARE(document->history().count(), 1);
}

void HexClipboardTest::previewFollowsThePointerUntilEscapeOrRightClick()
{
    tools->startPaste(CopyHexes(map(), Block(2, 2, 4, 3))); // anchor (3, 2)
    QSignalSpy previews(tools.get(), &MapTools::previewChanged);
    MapPointer pointer = PointerAt({7, 4}, map());
    tools->move(pointer);
    QCOMPARE(previews.count(), 1);
    const ToolPreview &preview = tools->current().preview();
    QCOMPARE(preview.outline, Block(6, 4, 8, 5));
    QCOMPARE(CoordsOf(preview.hexes), Block(6, 4, 8, 5).hexes());
    QCOMPARE(preview.hexes[5].second, ReadHex(map(), 4, 3));
    // Within the same hex nothing is redrawn; the next hex moves the block, cut at the map's edge.
    pointer.pixel += QPoint(3, 2);
    tools->move(pointer);
    QCOMPARE(previews.count(), 1);
    tools->move(PointerAt({11, 9}, map()));
    QCOMPARE(previews.count(), 2);
    QCOMPARE(CoordsOf(tools->current().preview().hexes), (std::vector<HexCoord>{{10, 9}, {11, 9}}));
    tools->move(PointerAt({30, 30}, map()));
    QVERIFY(tools->current().preview().outline.empty());

    // The first Escape drops the block under the pointer, which comes back at the next move; the
    // second puts the tool down.
    tools->move(PointerAt({5, 5}, map()));
    tools->escape();
    QCOMPARE(tools->mode(), ClickMode::Paste);
    QVERIFY(tools->current().preview().outline.empty());
    tools->move(PointerAt({5, 5}, map()));
    QVERIFY(!tools->current().preview().outline.empty());
    tools->escape();
    tools->escape();
    QCOMPARE(tools->mode(), ClickMode::Paint);

    // A right click puts the paste down too, without pasting.
    tools->startPaste(CopyHexes(map(), Block(2, 2, 3, 3)));
    tools->move(PointerAt({5, 5}, map()));
    tools->press(PointerAt({5, 5}, map(), Qt::RightButton));
    QCOMPARE(tools->mode(), ClickMode::Paint);
    QVERIFY(tools->current().preview().outline.empty());
    QCOMPARE(document->history().count(), 0);
}

void HexClipboardTest::exactHexesSurviveTheClipboardAndDamagedOnesAreRefused()
{
    const QString type = QString::fromLatin1(HexesMimeType);
    const HexSet ragged = SetOf({{3, 2}, {3, 3}, {4, 1}, {5, 5}, {6, 2}, {9, 9}});
    const std::unique_ptr<QMimeData> mime = ToMimeData(map(), ragged);
    const std::optional<ClipboardHexes> pasted = FromMimeData(*mime, nullptr, nullptr);
    QVERIFY(pasted);
    QCOMPARE(pasted->hexes, CopyHexes(map(), ragged).hexes);
    // Nothing copied, nothing on the clipboard.
    const std::unique_ptr<QMimeData> empty = ToMimeData(map(), {});
    QVERIFY(empty->formats().isEmpty());
    QVERIFY(!Refusal(*empty).value_or(QString()).isEmpty());

    // The tag, the count, then per hex a column and a row step and the 37 planes.
    const QByteArray good = mime->data(type);
    constexpr int Header = 8;
    constexpr int Entry = 4 + PlaneCount;
    const auto patched = [&](int offset, auto value) {
        QByteArray data = good;
        qToLittleEndian(value, data.data() + offset);
        return data;
    };
    QByteArray twice = good; // the second hex in the first one's place
    std::memcpy(twice.data() + Header + Entry, twice.constData() + Header, 4);
    QByteArray wide = patched(Header, qint16(-40)); // a block wider than the store
    qToLittleEndian(qint16(40), wide.data() + Header + Entry);
    const QByteArray damaged[] = {good.left(good.size() - 1), good + 'x', "VHX2" + good.mid(4), good.left(Header - 1),
                                  patched(4, quint32(5)), patched(4, quint32(0)).left(Header), twice,
                                  patched(Header, qint16(30000)) /* a step no store could hold */, wide};
    const std::optional<ClipboardHexes> fromText = FromMimeData(*TextOnly(mime->text()), nullptr, nullptr);
    QVERIFY(fromText);
    for (const QByteArray &data : damaged) {
        QMimeData clipboard;
        clipboard.setData(type, data);
        QVERIFY(Refusal(clipboard).value_or(QString()).contains(QStringLiteral("damaged")));
        // Beside the text, the text is pasted instead.
        clipboard.setText(mime->text());
        const std::optional<ClipboardHexes> fromBoth = FromMimeData(clipboard, nullptr, nullptr);
        QVERIFY(fromBoth && fromBoth->hexes == fromText->hexes);
    }
}

void HexClipboardTest::areaTextIsReadAsPasteAreaReadsIt()
{
    // An L of hexes: the text holds its bounding rectangle from an even column, and is pasted
    // alone as that rectangle with the shape as copied, planes 17..36 zero, at odd and even targets.
    for (const int c : {4, 5}) {
        const QString text = ToMimeData(map(), SetOf({{c, 2}, {c, 3}, {c, 4}, {c + 1, 4}}))->text();
        const std::optional<ClipboardHexes> hexes = FromMimeData(*TextOnly(text), nullptr, nullptr);
        QVERIFY(hexes);
        for (const HexCoord target : {HexCoord{5, 5}, HexCoord{6, 5}})
            QVERIFY(IsMovedBlock(PlaceHexes(*hexes, target, map()), Block(c - c % 2, 2, c + 1, 4).hexes(), map(),
                                 AsciiPlaneCount));
    }

    // Text that is no area is refused with the message Paste Area gives for it.
    const QByteArray good = ToMimeData(map(), Block(2, 2, 3, 3))->text().toLatin1();
    QByteArray badValue = good;
    badValue.replace(badValue.lastIndexOf("\r\n", badValue.size() - 3) + 2, 2, "zz");
    for (const QByteArray &text : {QByteArray("hello"), badValue, good.left(good.lastIndexOf(";Row 1"))}) {
        auto scratch = testing::BlankMap(12, 10);
        const LoadResult refused = DecodeAsciiPaste(text, *scratch, 0, 0);
        QVERIFY(refused.outcome != LoadResult::Complete);
        QCOMPARE(Refusal(*TextOnly(QString::fromLatin1(text))), std::optional(refused.message.text));
    }
    // A header that announces no hexes is no area either.
    const std::optional<QString> noHexes = Refusal(*TextOnly(QStringLiteral("0\r\n3\r\n0\r\n")));
    QVERIFY(noHexes && noHexes->contains(QStringLiteral("0 x 3")));
}

void HexClipboardTest::previewPictureMatchesTheMapPicture()
{
    // Hexes of two sets on a map where nothing else draws: the preview's opaque pixels are the map
    // picture's, the rest of its rectangle is the map's background.
    MapStore picked = *testing::BlankMap(12, 10);
    std::fill_n(picked.bytes.begin() + MapStore::index(TileSet, 0, 0), PlaneSize, std::uint8_t(255));
    PlacedHexes hexes;
    for (const HexCoord hex : Block(3, 2, 6, 5).hexes()) {
        HexRecord record{};
        record[TileSet] = std::uint8_t((hex.x + hex.y) % 2);
        record[TileIndex] = std::uint8_t(hex.x * 7 + hex.y);
        WriteHex(picked, hex.x, hex.y, record);
        hexes.emplace(hexes.begin(), hex, record); // out of order, as a paste may hold them
    }
    MapTileSets sets;
    sets.images[0] = testing::SyntheticTileSet(0);
    sets.images[1] = testing::SyntheticTileSet(1);
    constexpr ColourValue Background = 0x102030;
    QImage picture = NewMapPicture(picked);
    DrawMap(picked, sets, Background, picture);

    const PreviewPicture preview = DrawHexPreview(hexes, sets, 12);
    // From the left of column 3 and the top of the even column 4's row 2.
    QCOMPARE(preview.topLeft, QPoint(3 * ColumnStep, 2 * TileHeight));
    QCOMPARE(preview.image.size(), QSize(3 * ColumnStep + TileWidth, 4 * TileHeight + TileHeight / 2));
    for (int y = 0; y < preview.image.height(); ++y)
        for (int x = 0; x < preview.image.width(); ++x) {
            const QRgb shown = preview.image.pixel(x, y);
            const QRgb drawn = picture.pixel(preview.topLeft + QPoint(x, y));
            QCOMPARE(drawn, qAlpha(shown) == 0 ? ToQColor(Background).rgb() : shown);
        }

    // Cut to the part a window shows: the same pixels, from the window's corner.
    const PreviewPicture part = DrawHexPreview(hexes, sets, 12, QRect(150, 50, 60, 100));
    QCOMPARE(part.topLeft, QPoint(150, 80));
    QCOMPARE(part.image.size(), QSize(60, 70));
    QCOMPARE(part.image, preview.image.copy(QRect(part.topLeft - preview.topLeft, part.image.size())));
    QVERIFY(DrawHexPreview(hexes, sets, 12, QRect(0, 0, 100, 500)).image.isNull());

    // A set that is not loaded, or a tile the set lacks, draws nothing.
    PlacedHexes missing{{HexCoord{1, 1}, HexRecord{}}, {HexCoord{2, 1}, HexRecord{}}};
    missing[0].second[TileSet] = 5;
    missing[1].second[TileIndex] = 200;
    QVERIFY(DrawHexPreview(missing, sets, 12).image.isNull());
}

QTEST_GUILESS_MAIN(HexClipboardTest)
#include "tst_hex_clipboard.moc"
