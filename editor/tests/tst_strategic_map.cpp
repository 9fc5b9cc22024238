// The strategic map: the terrain icons, the overview picture, its hover labels and saving.

#include "test_support.h"

#include "forms/Map.h"
#include "forms/Strat.h"
#include "forms/Tiles.h"
#include "forms/picture_box.h"
#include "forms/windows.h"
#include "render/picture_files.h"
#include "render/strategic_map.h"

#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace vantor;

namespace {

// The icons as the terrain table gives them: name, colours ("a = RRGGBB, ..."), rows of letters.
struct IconRow {
    const char *name;
    const char *colours;
    const char *rows;
};
const IconRow IconTable[TerrainCount] = {
    {"CITYC", "a = 00FFFF, b = FF0000", "aaaaaa abbbba abbbba abbbba abbbba aaaaaa"},
    {"CITYI", "a = 0000FF, b = FF0000", "aaaaaa abbbba abbbba abbbba abbbba aaaaaa"},
    {"ROADD", "a = A06000, b = 006000", "bbaabb bbaabb aaaaaa aaaaaa bbaabb bbaabb"},
    {"ROADP", "a = 404000, b = 006000", "bbaabb bbaabb aaaaaa aaaaaa bbaabb bbaabb"},
    {"CLEAR", "a = 00FF00", "aaaaaa aaaaaa aaaaaa aaaaaa aaaaaa aaaaaa"},
    {"FORES", "a = 208000, b = 006000", "aaaaaa abbbba abbbba abbbba abbbba aaaaaa"},
    {"KUNAI", "a = 208000, b = 006000, c = C0FF00", "abcabc abcabc abcabc abcabc abcabc abcabc"},
    {"JUNGR", "a = 60C000, b = 206000", "aaaaaa aabbaa abbbba abbbba aabbaa aaaaaa"},
    {"JUNGD", "a = 206000, b = 000000", "aaaaaa aabbaa abbbba abbbba aabbaa aaaaaa"},
    {"PALMS", "a = 208000, b = FFFFFF, c = C08000, d = 808000", "baaaaa aaacab abacaa baccbb bbccbb dddddd"},
    {"BAMBO", "a = 80C000, b = FFC000, c = C0FF00", "baacab baacab baacab baacab baacab baacab"},
    {"BOCAG", "a = 206000, b = 20C000", "aaaaaa aabbba aabbba abbbba abbaaa aaaaaa"},
    {"PAVED", "a = 606040, b = 206000", "bbaabb bbaabb aaaaaa aaaaaa bbaabb bbaabb"},
    {"AGRIC", "a = 00FF00, b = 008000, c = C0C000", "bbaaaa bbaaaa abbbaa abbbcc abbbcc aaaacc"},
    {"RICEI", "a = 208000, b = 00FFFF", "aaaaaa abbbba abbaba ababba abbbba aaaaaa"},
    {"RICEO", "a = 208000, b = C0C000", "aaaaaa abbbba abbaba ababba abbbba aaaaaa"},
    {"DESER", "a = A0A080", "aaaaaa aaaaaa aaaaaa aaaaaa aaaaaa aaaaaa"},
    {"OASIS", "a = A0A080, b = 00FFFF, c = 208000", "acccca acccca aaaaaa aabbaa bbbbbb aabbaa"},
    {"SWAMP", "a = 00FFFF, b = 008000", "aaabaa aaabaa baabab abbbbb abbbba aabbaa"},
    {"ROUGH", "a = 206000, b = C02000", "baaaab abaaba aabbaa aabbaa abaaba baaaab"},
    {"VOLCA", "a = 000000, b = 00C000, c = FF2000, d = 008000", "bbccbb baccab aaaaaa aaaaaa aaaaaa daaaad"},
    {"HILLS", "a = 006000, b = 20C000, c = 00FF00", "aaaaaa accaaa accaaa accabb bccbbb bbbbbb"},
    {"MOUNT", "a = 006000, b = 0000FF, c = FFFFFF, d = 808000", "bbcbbb bcccbb ccaacd daaaaa aaaaaa aaaaaa"},
    {"ESCAR", "a = 000000, b = FF0000", "aaaaaa abbbba abbbba abbbba abbbba aaaaaa"},
    {"RIVER", "a = 00FFFF, b = 006000", "bbaabb bbaabb aaaaaa aaaaaa bbaabb bbaabb"},
    {"BEACH", "a = FFFF00", "aaaaaa aaaaaa aaaaaa aaaaaa aaaaaa aaaaaa"},
    {"PIERS", "a = 00FFFF, b = 000000", "aaaaaa bbbbba bbbbba bbbbba aaaaaa aaaaaa"},
    {"SEAWA", "a = 00FFFF, b = 000000", "bbbbba bbbbaa bbbaaa bbaaaa baaaaa aaaaaa"},
    {"TETRA", "a = FF00FF", "aaaaaa aaaaaa aaaaaa aaaaaa aaaaaa aaaaaa"},
    {"REEFS", "a = 00FFFF, b = 000000", "bbaaaa bbabba aaabba abbaaa abbabb aaaabb"},
    {"COAST", "a = 00FFFF, b = 006000", "aaaaaa abaaba aaaaaa aabaaa aaaaaa aaaaba"},
    {"OCEAN", "a = 0000FF, b = FFFFFF", "aaaaaa abaaaa aaaaba aaaaaa aabaaa aaaaaa"},
    {"JUNGP", "a = 006000, b = FF8000", "aabbaa aabbaa aabbaa aabbaa aabbaa aabbaa"},
    {"DIRTA", "a = FFFFFF, b = FF0000", "abbbaa aabbba abbbaa aabbaa aabbba abbbaa"},
    {"PAVEA", "a = FF0000, b = 000000", "abbbaa aabbba aabbaa abbbba aabbaa abbbba"},
    {"FORTI", "a = FFFFFF, b = 006000, c = 606040", "bbbbbb aabbaa aabbaa aaccaa aaaaaa aaaaaa"},
    {"OILFI", "a = 606040, b = FFFFFF", "aaaaaa aaaaaa abbbba abbbba abbbba abbbba"},
};

QImage IconFromTable(const IconRow &row)
{
    QHash<QChar, QRgb> colours;
    const QRegularExpression colour(QStringLiteral("([a-d]) = ([0-9A-F]{6})"));
    for (const QRegularExpressionMatch &match : colour.globalMatch(QString::fromLatin1(row.colours)))
        colours[match.captured(1)[0]] = 0xFF000000u | match.captured(2).toUInt(nullptr, 16);
    QImage icon(6, 6, QImage::Format_RGB32);
    const QStringList rows = QString::fromLatin1(row.rows).split(QLatin1Char(' '));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x)
            icon.setPixel(x, y, colours.value(rows[y][x]));
    return icon;
}

std::unique_ptr<MapStore> MapOfTerrain(int width, int height, int terrain)
{
    auto map = testing::BlankMap(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            map->at(Terrain, x, y) = std::uint8_t(terrain);
    return map;
}

// Starts the editor's document afresh from map.
void Start(VantorWindows &windows, const MapStore &map)
{
    auto content = std::make_unique<MapContent>();
    content->map = map;
    windows.document().start(*content);
}

const QRgb White = qRgb(255, 255, 255);
const QRgb Black = qRgb(0, 0, 0);

} // namespace

class StrategicMapTest : public QObject {
    Q_OBJECT
private slots:
    void iconsMatchTheTablePixelForPixel();
    void aFiveByFiveMapFillsThirtyByThirtyThree();
    void oddColumnsLieThreePixelsLower();
    void terrainsWithoutAnIconStayWhite();
    void hexUnderAPixel();
    void windowRedrawsOnActivationAndNamesTheHexUnderTheMouse();
    void saveWritesThePicture();
};

void StrategicMapTest::iconsMatchTheTablePixelForPixel()
{
    const StrategicIcons icons = LoadStrategicIcons();
    for (int t = 0; t < TerrainCount; ++t) {
        QCOMPARE(QString::fromLatin1(StrategicIconNames[t]), QString::fromLatin1(IconTable[t].name));
        QCOMPARE(icons[t].size(), QSize(6, 6));
        QVERIFY2(icons[t] == IconFromTable(IconTable[t]), IconTable[t].name);
    }
}

void StrategicMapTest::aFiveByFiveMapFillsThirtyByThirtyThree()
{
    const StrategicIcons icons = LoadStrategicIcons();
    const QImage picture = DrawStrategicMap(*MapOfTerrain(5, 5, 31), icons);
    QCOMPARE(picture.size(), QSize(430, 430));
    for (int y = 0; y < 430; ++y) {
        for (int x = 0; x < 430; ++x) {
            const bool oddColumn = x / 6 % 2 == 1;
            const bool insideIcons = x < 30 && (oddColumn ? y >= 3 && y < 33 : y < 30);
            const bool frame = x == 0 || y == 0 || x == 429 || y == 429;
            const QRgb expected = insideIcons ? icons[31].pixel(x % 6, (oddColumn ? y - 3 : y) % 6) : frame ? Black : White;
            if (picture.pixel(x, y) != expected)
                QFAIL(qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
        }
    }
}

void StrategicMapTest::oddColumnsLieThreePixelsLower()
{
    const StrategicIcons icons = LoadStrategicIcons();
    auto map = MapOfTerrain(72, 70, 4);
    map->at(Terrain, 1, 0) = 28;
    map->at(Terrain, 71, 69) = 28;
    const QImage picture = DrawStrategicMap(*map, icons);
    QCOMPARE(picture.pixel(6, 3), icons[28].pixel(0, 0));
    QCOMPARE(picture.pixel(11, 8), icons[28].pixel(5, 5));
    QCOMPARE(picture.pixel(6, 2), White);
    // The last column shows only four of its six pixel columns.
    QCOMPARE(picture.pixel(428, 6 * 69 + 3 + 2), icons[28].pixel(2, 2));
    QCOMPARE(picture.pixel(429, 6 * 69 + 3 + 2), icons[28].pixel(3, 2));
}

void StrategicMapTest::terrainsWithoutAnIconStayWhite()
{
    const QImage picture = DrawStrategicMap(*MapOfTerrain(3, 3, 200), LoadStrategicIcons());
    QCOMPARE(picture.pixel(8, 8), White);
}

void StrategicMapTest::hexUnderAPixel()
{
    auto map = MapOfTerrain(10, 8, 4);
    using Hex = std::optional<HexCoord>;
    QCOMPARE(StrategicHexAt(0, 0, *map), Hex(HexCoord{0, 0}));
    QCOMPARE(StrategicHexAt(6, 0, *map), Hex(HexCoord{1, 0})); // odd column: (0 - 3) div 6 is 0
    QCOMPARE(StrategicHexAt(6, 2, *map), Hex(HexCoord{1, 0}));
    QCOMPARE(StrategicHexAt(6, 8, *map), Hex(HexCoord{1, 0}));
    QCOMPARE(StrategicHexAt(6, 9, *map), Hex(HexCoord{1, 1}));
    QCOMPARE(StrategicHexAt(60, 5, *map), Hex(HexCoord{0, 0})); // wraps at the width
    QCOMPARE(StrategicHexAt(66, 5, *map), Hex(HexCoord{1, 0}));
    QVERIFY(!StrategicHexAt(0, 48, *map)); // below the last row
}

void StrategicMapTest::windowRedrawsOnActivationAndNamesTheHexUnderTheMouse()
{
    auto map = MapOfTerrain(12, 9, 31);
    map->at(Terrain, 3, 2) = 22;
    testing::ScriptedDialogs dialogs;
    VantorWindows windows;
    Start(windows, *map);
    TStratForm &strat = windows.main().stratForm();
    QWidget &tiles = windows.main().tilesForm();
    windows.main().show();
    windows.main().activateWindow();
    QTRY_VERIFY(tiles.isVisible()); // the main window's first activation shows the palette
    QVERIFY(QTest::qWaitForWindowActive(&tiles));
    strat.show();
    strat.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&strat));
    QCOMPARE(strat.picture(), DrawStrategicMap(*map, LoadStrategicIcons()));

    auto *image = strat.findChild<PictureBox *>(QStringLiteral("StratImage"));
    auto *xy = strat.findChild<QLabel *>(QStringLiteral("StratXYLbl"));
    auto *terrain = strat.findChild<QLabel *>(QStringLiteral("StratTerLbl"));
    QCOMPARE(xy->text(), QStringLiteral("?,?"));
    QCOMPARE(terrain->text(), QStringLiteral("Clear"));
    testing::HoverOver(image, QPoint(6 * 3 + 1, 6 * 2 + 3 + 1));
    QCOMPARE(xy->text(), QStringLiteral("3,2"));
    QCOMPARE(terrain->text(), QStringLiteral("Mountain"));
    testing::HoverOver(image, QPoint(6 * 12 + 1, 1)); // past the last column: column 0 again
    QCOMPARE(xy->text(), QStringLiteral("0,0"));
    QCOMPARE(terrain->text(), QStringLiteral("Deep Ocean"));
    testing::HoverOver(image, QPoint(1, 6 * 9 + 1)); // below the last row: nothing to name
    QCOMPARE(xy->text(), QStringLiteral("0,0"));

    // Changes show at the next activation.
    windows.document().edit(QStringLiteral("Beach"), [](MapContent &content) { content.map.at(Terrain, 0, 0) = 25; });
    tiles.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&tiles));
    strat.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&strat));
    QCOMPARE(strat.picture().pixel(2, 2), qRgb(0xFF, 0xFF, 0));
}

void StrategicMapTest::saveWritesThePicture()
{
    testing::ScriptedDialogs dialogs;
    VantorWindows windows;
    Start(windows, *MapOfTerrain(8, 8, 7));
    TStratForm &strat = windows.main().stratForm();
    strat.ShowStratMapBtnClick();
    QTemporaryDir dir;
    // The format follows the extension: a bitmap, or a PNG.
    for (const char *name : {"overview.bmp", "overview.png"}) {
        const QString path = dir.filePath(QLatin1String(name));
        dialogs.fileAnswers << path;
        QTest::mouseClick(strat.findChild<QPushButton *>(QStringLiteral("SaveBtn")), Qt::LeftButton);
        QCOMPARE(dialogs.fileDialogsShown.last().filter, QLatin1String(PictureSaveFilter));
        QCOMPARE(testing::Contents(path).left(2), QByteArray(QByteArrayView(name).endsWith("png") ? "\x89P" : "BM"));
        const QImage saved(path);
        QCOMPARE(saved.size(), QSize(430, 430));
        QCOMPARE(saved.convertToFormat(QImage::Format_RGB32), strat.picture());
    }
}

QTEST_MAIN(StrategicMapTest)
#include "tst_strategic_map.moc"
