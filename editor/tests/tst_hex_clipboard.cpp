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

class SilentHost final : public ToolHost {
public:
    QString askAreaFileToSave() override { return {}; }
    bool confirmOverwrite(const QString &) override { return false; }
    QString askAreaFileToPaste() override { return {}; }
    void showLoadProblem(const LoadResult &) override {}
    void inform(const QString &, const QString &) override {}
    void showError(const QString &) override {}
};

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

// A map whose every byte, in all 37 planes, differs from hex to hex.
MapContent NumberedMap(int width, int height)
{
    MapContent content;
    content.map = *testing::RandomMap(width, height, 7);
    return content;
}

HexSet SetOf(const std::vector<HexCoord> &hexes)
{
    HexSet set;
    for (const HexCoord hex : hexes)
        set.insert(hex);
    return set;
}

std::vector<HexCoord> CoordsOf(const PlacedHexes &placed)
{
    std::vector<HexCoord> hexes;
    for (const auto &each : placed)
        hexes.push_back(each.first);
    return hexes;
}

// Whether placed is the source block moved by one cube step for all (so the same shape on screen),
// each hex with the record the source hex has.
bool IsMovedBlock(const PlacedHexes &placed, const std::vector<HexCoord> &source, const MapStore &map)
{
    if (placed.size() != source.size() || placed.empty())
        return false;
    const CubeHex move = ToCube(placed.front().first) - ToCube(source.front());
    for (std::size_t i = 0; i < placed.size(); ++i)
        if (ToCube(placed[i].first) - ToCube(source[i]) != move ||
            placed[i].second != ReadHex(map, source[i].x, source[i].y))
            return false;
    return true;
}

// Every hex of columns x1..x2 and rows y1..y2, column by column.
std::vector<HexCoord> Rectangle(int x1, int y1, int x2, int y2)
{
    std::vector<HexCoord> hexes;
    for (int x = x1; x <= x2; ++x)
        for (int y = y1; y <= y2; ++y)
            hexes.push_back({x, y});
    return hexes;
}

QByteArray PrivateData(const QMimeData &mime) { return mime.data(QString::fromLatin1(HexesMimeType)); }

std::optional<ClipboardHexes> FromPrivateOnly(const QByteArray &data, QString *caption = nullptr, QString *message = nullptr)
{
    QMimeData mime;
    mime.setData(QString::fromLatin1(HexesMimeType), data);
    return FromMimeData(mime, caption, message);
}

} // namespace

class HexClipboardTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void blockKeepsItsShapeAtOddAndEvenColumnMoves();
    void anchorIsTheMiddleOfTheBlock();
    void pasteIsOneStepOfAll37PlanesAndTheToolStays();
    void pasteOverTheEdgePlacesThePartThatFits();
    void previewFollowsThePointerHexByHex();
    void escapeAndRightClickEndThePaste();
    void exactHexesSurviveTheClipboard();
    void areaTextIsWhatPasteAreaReadsWithTheBlocksShape();
    void textThatIsNoAreaIsRefusedAsPasteAreaRefusesIt();
    void damagedOrForeignPrivateDataIsRefused();
    void previewPictureMatchesTheMapPicture();

private:
    const MapStore &map() { return document->map(); }

    std::unique_ptr<MapDocument> document;
    std::unique_ptr<EditorSettings> settings;
    std::unique_ptr<SilentHost> host;
    std::unique_ptr<MapTools> tools;
};

void HexClipboardTest::init()
{
    document = std::make_unique<MapDocument>();
    document->start(NumberedMap(12, 10));
    settings = std::make_unique<EditorSettings>();
    host = std::make_unique<SilentHost>();
    tools = std::make_unique<MapTools>(*document, *settings, *host);
}

void HexClipboardTest::cleanup()
{
    tools.reset();
    host.reset();
    settings.reset();
    document.reset();
}

void HexClipboardTest::blockKeepsItsShapeAtOddAndEvenColumnMoves()
{
    // The block {(2,3), (2,4), (3,3)}: its anchor is (3,3), the hex nearest the middle of its pixels.
    const std::vector<HexCoord> block{{2, 3}, {2, 4}, {3, 3}};
    const ClipboardHexes clipboard = CopyHexes(map(), SetOf(block));
    QCOMPARE(clipboard.hexes.size(), std::size_t(3));
    QCOMPARE(CoordsOf(PlaceHexes(clipboard, {3, 3}, map())), block);
    // One column east: the odd column's hex drops a row with the anchor instead of shearing away.
    QCOMPARE(CoordsOf(PlaceHexes(clipboard, {4, 4}, map())), (std::vector<HexCoord>{{3, 3}, {3, 4}, {4, 4}}));
    // Two columns east: every hex moves by the same rows.
    QCOMPARE(CoordsOf(PlaceHexes(clipboard, {5, 3}, map())), (std::vector<HexCoord>{{4, 3}, {4, 4}, {5, 3}}));
    // One column west: the anchor's NW and SW neighbours stay its NW and SW neighbours.
    QCOMPARE(CoordsOf(PlaceHexes(clipboard, {2, 3}, map())), (std::vector<HexCoord>{{1, 2}, {1, 3}, {2, 3}}));

    // A ragged block copied from both column parities lands as the same shape at every target.
    for (const int firstColumn : {2, 3}) {
        const std::vector<HexCoord> ragged{{firstColumn, 2},     {firstColumn, 3},     {firstColumn + 1, 1},
                                           {firstColumn + 1, 4}, {firstColumn + 2, 2}, {firstColumn + 3, 3}};
        const ClipboardHexes copied = CopyHexes(map(), SetOf(ragged));
        for (int x = 3; x <= 7; ++x)
            for (int y = 3; y <= 5; ++y) {
                const PlacedHexes placed = PlaceHexes(copied, {x, y}, map());
                QVERIFY2(IsMovedBlock(placed, ragged, map()),
                         qPrintable(QStringLiteral("copied from column %1, pasted at (%2, %3)").arg(firstColumn).arg(x).arg(y)));
            }
    }
}

void HexClipboardTest::anchorIsTheMiddleOfTheBlock()
{
    // Pasted at its anchor a block lands where it was copied from.
    const std::vector<HexCoord> even = Rectangle(2, 1, 6, 3); // 5 x 3: the middle is (4, 2)
    QCOMPARE(CoordsOf(PlaceHexes(CopyHexes(map(), SetOf(even)), {4, 2}, map())), even);
    const std::vector<HexCoord> odd = Rectangle(1, 4, 5, 8); // 5 x 5: the middle is (3, 6)
    QCOMPARE(CoordsOf(PlaceHexes(CopyHexes(map(), SetOf(odd)), {3, 6}, map())), odd);
    // A ring holds its middle too, though the middle was not copied.
    std::vector<HexCoord> ring = Rectangle(5, 5, 7, 7);
    std::erase(ring, HexCoord{6, 6});
    QCOMPARE(CoordsOf(PlaceHexes(CopyHexes(map(), SetOf(ring)), {6, 6}, map())), ring);
    // Hexes of the set beyond the map's size are not copied.
    document->edit(QStringLiteral("Resize"), [](MapContent &content) { content.map.MapWidth = 4; });
    QCOMPARE(CopyHexes(map(), SetOf(even)).hexes.size(), std::size_t(6));
    QVERIFY(CopyHexes(map(), {}).empty());
}

void HexClipboardTest::pasteIsOneStepOfAll37PlanesAndTheToolStays()
{
    const MapStore before = map();
    const std::vector<HexCoord> block = Rectangle(1, 1, 3, 2);
    tools->startPaste(CopyHexes(before, SetOf(block)));
    QCOMPARE(tools->mode(), ClickMode::Paste);
    QCOMPARE(tools->currentName(), QStringLiteral("Paste"));
    QVERIFY(!tools->current().prompt().isEmpty());

    // The anchor of a 3 x 2 block from column 1 is (2, 2), its middle column's lower hex: at (6, 7)
    // the block lands on columns 5..7.
    const std::vector<HexCoord> landing = Rectangle(5, 6, 7, 7);
    tools->click(PointerAt({6, 7}, map()));
    QCOMPARE(document->history().count(), 1);
    QCOMPARE(document->history().undoText(), QStringLiteral("Paste"));
    for (std::size_t i = 0; i < block.size(); ++i)
        QCOMPARE(ReadHex(map(), landing[i].x, landing[i].y), ReadHex(before, block[i].x, block[i].y));
    // Place and city references come along unchanged, with every other plane.
    QCOMPARE(PlaceReferenceOf(map(), {5, 6}), PlaceReferenceOf(before, {1, 1}));
    QCOMPARE(map().at(CityAttr16, 7, 7), before.at(CityAttr16, 3, 2));
    for (int x = 0; x < StoreColumns; ++x)
        for (int y = 0; y < StoreRows; ++y)
            if (std::find(landing.begin(), landing.end(), HexCoord{x, y}) == landing.end())
                QCOMPARE(ReadHex(map(), x, y), ReadHex(before, x, y));

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
    const std::vector<HexCoord> block = Rectangle(4, 4, 6, 6); // anchor (5, 5)
    tools->startPaste(CopyHexes(before, SetOf(block)));
    // The pointer beyond the lower-right corner: two hexes of the block's west column land in
    // the map's last column, the odd one, half a hex higher than the even column they came from.
    tools->click(PointerAt({12, 10}, map()));
    QCOMPARE(document->history().count(), 1);
    QCOMPARE(ReadHex(map(), 11, 8), ReadHex(before, 4, 4));
    QCOMPARE(ReadHex(map(), 11, 9), ReadHex(before, 4, 5));
    int changed = 0;
    for (int x = 0; x < StoreColumns; ++x)
        for (int y = 0; y < StoreRows; ++y)
            changed += ReadHex(map(), x, y) != ReadHex(before, x, y);
    QCOMPARE(changed, 2);
    // Over the west edge: the two east columns land, the odd one still half a hex above the even.
    const PlacedHexes placed = PlaceHexes(CopyHexes(before, SetOf(block)), {0, 3}, map());
    QCOMPARE(CoordsOf(placed), (std::vector<HexCoord>{{0, 2}, {0, 3}, {0, 4}, {1, 1}, {1, 2}, {1, 3}}));
    // Wholly off the map: no step.
    tools->click(PointerAt({20, 20}, map()));
    QCOMPARE(document->history().count(), 1);
}

void HexClipboardTest::previewFollowsThePointerHexByHex()
{
    const std::vector<HexCoord> block = Rectangle(2, 2, 4, 3); // anchor (3, 2)
    tools->startPaste(CopyHexes(map(), SetOf(block)));
    QSignalSpy previews(tools.get(), &MapTools::previewChanged);
    MapPointer pointer = PointerAt({7, 4}, map());
    tools->move(pointer);
    QCOMPARE(previews.count(), 1);
    const ToolPreview &preview = tools->current().preview();
    const std::vector<HexCoord> landing = Rectangle(6, 4, 8, 5);
    QCOMPARE(preview.outline, SetOf(landing));
    QCOMPARE(CoordsOf(preview.hexes), landing);
    QCOMPARE(preview.hexes[5].second, ReadHex(map(), 4, 3));
    // Within the same hex nothing is redrawn; the next hex moves the block.
    pointer.pixel += QPoint(3, 2);
    tools->move(pointer);
    QCOMPARE(previews.count(), 1);
    tools->move(PointerAt({11, 9}, map()));
    QCOMPARE(previews.count(), 2);
    QCOMPARE(CoordsOf(tools->current().preview().hexes), (std::vector<HexCoord>{{10, 9}, {11, 9}}));
    // Wholly off the map nothing shows.
    tools->move(PointerAt({30, 30}, map()));
    QVERIFY(tools->current().preview().outline.empty());
}

void HexClipboardTest::escapeAndRightClickEndThePaste()
{
    tools->startPaste(CopyHexes(map(), SetOf(Rectangle(2, 2, 3, 3))));
    tools->move(PointerAt({5, 5}, map()));
    QVERIFY(!tools->current().preview().outline.empty());
    // The first Escape drops the block under the pointer; it comes back at the next move.
    tools->escape();
    QCOMPARE(tools->mode(), ClickMode::Paste);
    QVERIFY(tools->current().preview().outline.empty());
    tools->move(PointerAt({5, 5}, map()));
    QVERIFY(!tools->current().preview().outline.empty());
    tools->escape();
    tools->escape();
    QCOMPARE(tools->mode(), ClickMode::Paint);

    // A right click puts the paste down without restoring any paint.
    tools->startPaste(CopyHexes(map(), SetOf(Rectangle(2, 2, 3, 3))));
    tools->move(PointerAt({5, 5}, map()));
    tools->press(PointerAt({5, 5}, map(), Qt::RightButton));
    QCOMPARE(tools->mode(), ClickMode::Paint);
    QVERIFY(tools->current().preview().outline.empty());
    QCOMPARE(document->history().count(), 0);
}

void HexClipboardTest::exactHexesSurviveTheClipboard()
{
    const HexSet ragged = SetOf({{3, 2}, {3, 3}, {4, 1}, {5, 5}, {6, 2}, {9, 9}});
    const std::unique_ptr<QMimeData> mime = ToMimeData(map(), ragged);
    QVERIFY(mime->hasFormat(QString::fromLatin1(HexesMimeType)));
    QVERIFY(mime->hasText());
    QString caption, message;
    const std::optional<ClipboardHexes> pasted = FromMimeData(*mime, &caption, &message);
    QVERIFY(pasted);
    QCOMPARE(pasted->hexes, CopyHexes(map(), ragged).hexes);
    QVERIFY(message.isEmpty());
    // Nothing copied, nothing on the clipboard.
    const std::unique_ptr<QMimeData> empty = ToMimeData(map(), {});
    QVERIFY(empty->formats().isEmpty());
    QVERIFY(!FromMimeData(*empty, &caption, &message));
    QCOMPARE(caption, QStringLiteral("Area Not Pasted"));
    QVERIFY(!message.isEmpty());
}

void HexClipboardTest::areaTextIsWhatPasteAreaReadsWithTheBlocksShape()
{
    for (const int firstColumn : {4, 5}) {
        // An L of hexes: the text holds its bounding rectangle, from an even column.
        const HexSet selection = SetOf({{firstColumn, 2}, {firstColumn, 3}, {firstColumn, 4}, {firstColumn + 1, 4}});
        const std::unique_ptr<QMimeData> mime = ToMimeData(map(), selection);
        const QByteArray text = mime->text().toLatin1();
        const int x1 = firstColumn - firstColumn % 2;
        const std::vector<HexCoord> rectangle = Rectangle(x1, 2, firstColumn + 1, 4);
        QCOMPARE(AsciiSizeOf(text).value_or(QSize()), QSize(firstColumn + 2 - x1, 3));

        // Paste Area of the text at (0, 0) of a blank map gives planes 0..16 of the rectangle.
        auto pasted = testing::BlankMap(12, 10);
        QCOMPARE(DecodeAsciiPaste(text, *pasted, 0, 0).outcome, LoadResult::Complete);
        for (const HexCoord hex : rectangle)
            for (int p = 0; p < PlaneCount; ++p)
                QCOMPARE(pasted->at(p, hex.x - x1, hex.y - 2), p < AsciiPlaneCount ? map().at(p, hex.x, hex.y) : 0);

        // The text alone is pasted as that rectangle with its shape as copied, planes 17..36 zero.
        QMimeData textOnly;
        textOnly.setText(mime->text());
        const std::optional<ClipboardHexes> hexes = FromMimeData(textOnly, nullptr, nullptr);
        QVERIFY(hexes);
        for (const HexCoord target : {HexCoord{5, 5}, HexCoord{6, 5}}) {
            const PlacedHexes placed = PlaceHexes(*hexes, target, map());
            QCOMPARE(placed.size(), rectangle.size());
            const CubeHex move = ToCube(placed.front().first) - ToCube(rectangle.front());
            for (std::size_t i = 0; i < placed.size(); ++i) {
                QCOMPARE(ToCube(placed[i].first) - ToCube(rectangle[i]), move);
                HexRecord expected = ReadHex(map(), rectangle[i].x, rectangle[i].y);
                std::fill(expected.begin() + AsciiPlaneCount, expected.end(), 0);
                QCOMPARE(placed[i].second, expected);
            }
        }
    }
}

void HexClipboardTest::textThatIsNoAreaIsRefusedAsPasteAreaRefusesIt()
{
    const QByteArray good = ToMimeData(map(), SetOf(Rectangle(2, 2, 3, 3)))->text().toLatin1();
    QByteArray badValue = good;
    badValue.replace(badValue.lastIndexOf("\r\n", badValue.size() - 3) + 2, 2, "zz");
    const QByteArray shortOfHexes = good.left(good.lastIndexOf(";Row 1"));
    for (const QByteArray &text : {QByteArray("hello"), badValue, shortOfHexes}) {
        auto scratch = testing::BlankMap(12, 10);
        const LoadResult refused = DecodeAsciiPaste(text, *scratch, 0, 0);
        QVERIFY(refused.outcome != LoadResult::Complete);
        QMimeData mime;
        mime.setText(QString::fromLatin1(text));
        QString caption, message;
        QVERIFY(!FromMimeData(mime, &caption, &message));
        QCOMPARE(caption, QStringLiteral("Area Not Pasted"));
        QCOMPARE(message, refused.message.text);
    }
    // A header that announces no hexes is no area either.
    QMimeData empty;
    empty.setText(QStringLiteral("0\r\n3\r\n0\r\n"));
    QString caption, message;
    QVERIFY(!FromMimeData(empty, &caption, &message));
    QCOMPARE(caption, QStringLiteral("Area Not Pasted"));
    QVERIFY(message.contains(QStringLiteral("0 x 3")));

    // A refused paste leaves the paste tool with what it held.
    const ClipboardHexes held = CopyHexes(map(), SetOf(Rectangle(1, 1, 2, 2)));
    tools->startPaste(held);
    QVERIFY(!FromMimeData(empty, nullptr, nullptr));
    QCOMPARE(tools->paste().hexes().hexes, held.hexes);
}

void HexClipboardTest::damagedOrForeignPrivateDataIsRefused()
{
    const HexSet block = SetOf(Rectangle(2, 2, 4, 3));
    const std::unique_ptr<QMimeData> mime = ToMimeData(map(), block);
    const QByteArray good = PrivateData(*mime);
    QVERIFY(FromPrivateOnly(good));
    constexpr int Header = 8;
    constexpr int Entry = 4 + PlaneCount;

    QList<QByteArray> damaged;
    damaged << good.left(good.size() - 1) << good + 'x' << QByteArray("VHX2") + good.mid(4) << good.left(7);
    QByteArray count = good;
    qToLittleEndian<quint32>(7, count.data() + 4); // six hexes follow
    damaged << count;
    QByteArray none = good.left(Header);
    qToLittleEndian<quint32>(0, none.data() + 4);
    damaged << none;
    QByteArray twice = good; // the second hex in the first one's place
    std::memcpy(twice.data() + Header + Entry, twice.constData() + Header, 4);
    damaged << twice;
    QByteArray far = good; // a step no store could hold
    qToLittleEndian<qint16>(30000, far.data() + Header);
    damaged << far;
    QByteArray wide = good; // a block wider than the store
    qToLittleEndian<qint16>(-40, wide.data() + Header);
    qToLittleEndian<qint16>(40, wide.data() + Header + Entry);
    damaged << wide;

    for (const QByteArray &data : std::as_const(damaged)) {
        QString caption, message;
        QVERIFY(!FromPrivateOnly(data, &caption, &message));
        QCOMPARE(caption, QStringLiteral("Area Not Pasted"));
        QVERIFY(message.contains(QStringLiteral("damaged")));
        // Beside the text, the text is pasted instead.
        QMimeData both;
        both.setData(QString::fromLatin1(HexesMimeType), data);
        both.setText(mime->text());
        QMimeData textOnly;
        textOnly.setText(mime->text());
        const std::optional<ClipboardHexes> fromBoth = FromMimeData(both, nullptr, nullptr);
        QVERIFY(fromBoth);
        QCOMPARE(fromBoth->hexes, FromMimeData(textOnly, nullptr, nullptr)->hexes);
    }
}

void HexClipboardTest::previewPictureMatchesTheMapPicture()
{
    // Hexes of two sets on a map where nothing else draws: the preview's opaque pixels are the map
    // picture's, the rest of its rectangle is the map's background.
    MapStore picked = *testing::BlankMap(12, 10);
    for (int x = 0; x < 12; ++x)
        for (int y = 0; y < 10; ++y)
            picked.at(TileSet, x, y) = 255;
    PlacedHexes hexes;
    for (const HexCoord hex : Rectangle(3, 2, 6, 5)) {
        HexRecord record{};
        record[TileSet] = std::uint8_t((hex.x + hex.y) % 2);
        record[TileIndex] = std::uint8_t(hex.x * 7 + hex.y);
        WriteHex(picked, hex.x, hex.y, record);
        hexes.emplace_back(hex, record);
    }
    MapTileSets sets;
    sets.images[0] = testing::SyntheticTileSet(0);
    sets.images[1] = testing::SyntheticTileSet(1);
    constexpr ColourValue Background = 0x102030;
    QImage picture = NewMapPicture(picked);
    DrawMap(picked, sets, Background, picture);

    // Out of order, as a paste may hold them.
    std::reverse(hexes.begin(), hexes.end());
    const PreviewPicture preview = DrawHexPreview(hexes, sets, 12);
    // From the left of column 3 and the top of the even column 4's row 2.
    QCOMPARE(preview.topLeft, QPoint(3 * ColumnStep, 2 * TileHeight));
    QCOMPARE(preview.image.size(), QSize(3 * ColumnStep + TileWidth, 4 * TileHeight + TileHeight / 2));
    int opaque = 0;
    for (int y = 0; y < preview.image.height(); ++y)
        for (int x = 0; x < preview.image.width(); ++x) {
            const QRgb shown = preview.image.pixel(x, y);
            const QRgb drawn = picture.pixel(preview.topLeft + QPoint(x, y));
            if (qAlpha(shown) == 0) {
                QCOMPARE(drawn, ToQColor(Background).rgb());
            } else {
                QCOMPARE(qAlpha(shown), 255);
                QCOMPARE(shown, drawn);
                ++opaque;
            }
        }
    QVERIFY(opaque > 16 * 1000);

    // Cut to the part a window shows: the same pixels, from the window's corner.
    const QRect visible(150, 50, 60, 100);
    const PreviewPicture part = DrawHexPreview(hexes, sets, 12, visible);
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
