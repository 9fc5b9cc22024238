// The pixel operations and the numbers they read: EnhanceColor, the integer conversion,
// Shrink, Lines, Fill and Bleed.

#include "TestSupport.h"
#include "core/EnhanceColor.h"
#include "core/IntText.h"
#include "core/PixelOps.h"

#include <QSet>
#include <QTest>

#include <cmath>

using namespace dovrel;

namespace {
constexpr ColorValue Bg = DefaultBackground;

// A large image whose every pixel tells its own source column and row.
QImage CoordinateImage()
{
    QImage image = MakeCanvas(LargeWidth, LargeHeight);
    for (int y = 0; y < LargeHeight; ++y)
        for (int x = 0; x < LargeWidth; ++x)
            SetPixelColor(image, x, y, MakeColor(x & 0xFF, (x >> 8) | ((y >> 8) << 4), y & 0xFF));
    return image;
}
QPoint SourceOf(ColorValue c)
{
    return QPoint(RedOf(c) | ((GreenOf(c) & 0xF) << 8), BlueOf(c) | ((GreenOf(c) >> 4) << 8));
}

// The pixels nearest to the ideal straight segment from a to b, both ends included.
QList<QPoint> IdealSegment(QPoint a, QPoint b)
{
    QList<QPoint> pixels;
    const int dx = b.x() - a.x(), dy = b.y() - a.y();
    const int n = std::max(std::abs(dx), std::abs(dy));
    for (int t = 0; t <= n; ++t)
        pixels.append(n == 0 ? a
                             : QPoint(a.x() + int(std::lround(double(dx) * t / n)), a.y() + int(std::lround(double(dy) * t / n))));
    return pixels;
}

QSet<QPoint> OutlinePixels(int x, int y)
{
    QSet<QPoint> pixels;
    const auto v = OutlineVertices(x, y);
    for (int s = 0; s < 6; ++s)
        for (QPoint p : IdealSegment(v[size_t(s)], v[size_t((s + 1) % 6)]))
            pixels.insert(p);
    return pixels;
}

QSet<QPoint> PixelsOfColor(const QImage &image, ColorValue color)
{
    QSet<QPoint> found;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (PixelColor(image, x, y) == color)
                found.insert(QPoint(x, y));
    return found;
}
} // namespace

class TestPixels : public QObject {
    Q_OBJECT
private slots:
    void enhanceColor_data();
    void enhanceColor();
    void strToInt_data();
    void strToInt();
    void colorText();
    void shrinkDropsEvenlySpreadColumnsAndRows();
    void shrinkShiftsTheFirstRowAndWritesEveryTargetPixel();
    void shrinkEnhancesWhenAsked();
    void shrinkReadsWhiteBeyondASmallerImage();
    void linePixelsAreTheNearestToTheIdealLine();
    void linesDrawsEightyClosedOutlinesInTheBackground();
    void linesTwiceEqualsOnce();
    void fillSamplePoints();
    void fillRepaintsOutlinesFromInside();
    void bleedGrowsAreasUpwardOnePixelPerPress();
    void bleedLeavesImagesWithoutBoundariesAlone();
};

void TestPixels::enhanceColor_data()
{
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("green");
    QTest::addColumn<int>("blue");
    QTest::addColumn<int>("min");
    QTest::addColumn<uint>("in");
    QTest::addColumn<uint>("out");
    QTest::newRow("start values, background") << 20 << 20 << 20 << 20 << uint(0x38B8A0) << uint(MakeColor(192, 220, 67));
    QTest::newRow("start values, 51 stays, 250 held") << 20 << 20 << 20 << 20 << uint(MakeColor(51, 52, 250)) << uint(MakeColor(51, 62, 255));
    QTest::newRow("all at the top, threshold 100") << 100 << 100 << 100 << 100 << uint(MakeColor(255, 128, 7)) << uint(MakeColor(255, 128, 7));
    QTest::newRow("black stays black") << 100 << 100 << 100 << 0 << uint(0) << uint(0);
    QTest::newRow("doubled and held") << 100 << 100 << 100 << 0 << uint(MakeColor(100, 128, 0)) << uint(MakeColor(200, 255, 0));
    QTest::newRow("each component its own slider") << 0 << 50 << 10 << 0 << uint(MakeColor(100, 100, 100)) << uint(MakeColor(100, 150, 110));
    QTest::newRow("threshold drops the fraction") << 50 << 50 << 50 << 33 << uint(MakeColor(84, 85, 200)) << uint(MakeColor(84, 127, 255));
}

void TestPixels::enhanceColor()
{
    QFETCH(int, red);
    QFETCH(int, green);
    QFETCH(int, blue);
    QFETCH(int, min);
    QFETCH(uint, in);
    QFETCH(uint, out);
    QCOMPARE(EnhanceColor(in, EnhanceSettings{red, green, blue, min}), ColorValue(out));
}

void TestPixels::strToInt_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("value");
    QTest::newRow("decimal") << "1234" << true << 1234;
    QTest::newRow("signed") << "-17" << true << -17;
    QTest::newRow("plus") << "+5" << true << 5;
    QTest::newRow("leading blanks") << "  42" << true << 42;
    QTest::newRow("0x") << "0x38B8A0" << true << 0x38B8A0;
    QTest::newRow("0X lower digits") << "0Xff" << true << 255;
    QTest::newRow("x") << "x10" << true << 16;
    QTest::newRow("X") << "X10" << true << 16;
    QTest::newRow("dollar") << "$38B8A0" << true << 0x38B8A0;
    QTest::newRow("all bits") << "0xFFFFFFFF" << true << -1;
    QTest::newRow("largest") << "2147483647" << true << 2147483647;
    QTest::newRow("smallest") << "-2147483648" << true << int(-2147483647 - 1);
    QTest::newRow("too large") << "2147483648" << false << 0;
    QTest::newRow("too many hex digits") << "0x100000000" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("sign only") << "-" << false << 0;
    QTest::newRow("prefix only") << "0x" << false << 0;
    QTest::newRow("trailing blank") << "12 " << false << 0;
    QTest::newRow("letters") << "zz" << false << 0;
    QTest::newRow("hex digit in decimal") << "12a" << false << 0;
    QTest::newRow("decimal point") << "1.5" << false << 0;
}

void TestPixels::strToInt()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, value);
    const std::optional<qint32> result = StrToInt(text);
    QCOMPARE(result.has_value(), valid);
    if (valid)
        QCOMPARE(*result, value);
}

void TestPixels::colorText()
{
    QString error;
    QCOMPARE(ParseColorText(QStringLiteral("0x38B8A0"), &error), std::optional<ColorValue>(0x38B8A0));
    QCOMPARE(ParseColorText(QStringLiteral("255"), &error), std::optional<ColorValue>(255));
    QCOMPARE(ParseColorText(QStringLiteral("zz"), &error), std::nullopt);
    QCOMPARE(error, QStringLiteral("'zz' is not a valid integer value"));
    QCOMPARE(ParseColorText(QStringLiteral("0x1000000"), &error), std::nullopt);
    QVERIFY(error.contains(QStringLiteral("'0x1000000' is not a valid colour")));
    QCOMPARE(ParseColorText(QStringLiteral("-1"), &error), std::nullopt);
    QCOMPARE(ColorHexText(0x38B8A0), QStringLiteral("38B8A0"));
    QCOMPARE(ColorHexText(0x0000FF), QStringLiteral("0000FF"));
}

void TestPixels::shrinkDropsEvenlySpreadColumnsAndRows()
{
    const QImage large = CoordinateImage();
    QImage small = MakeCanvas(SmallWidth, SmallHeight);
    QList<int> rows;
    Shrink(large, small, nullptr, [&](int row) { rows.append(row); });
    QCOMPARE(rows.size(), SmallHeight);
    QCOMPARE(rows.first(), 0);
    QCOMPARE(rows.last(), SmallHeight - 1);

    // Row 0 keeps source columns 0..3, 5..8, 10..13, 15..17, 19..22, 24: 4, 9, 14, 18, 23 drop.
    const QList<int> firstColumns = {0, 1, 2, 3, 5, 6, 7, 8, 10, 11, 12, 13, 15, 16, 17, 19, 20, 21, 22, 24};
    for (int k = 0; k < firstColumns.size(); ++k)
        QCOMPARE(SourceOf(PixelColor(small, k, 0)), QPoint(firstColumns[k], 0));
    // Source rows 4, 9, 13, 18 and 23 drop.
    const QList<int> firstRows = {0, 1, 2, 3, 5, 6, 7, 8, 10, 11, 12, 14, 15, 16, 17, 19, 20, 21, 22, 24};
    for (int k = 1; k < firstRows.size(); ++k)
        QCOMPARE(SourceOf(PixelColor(small, 5, k)).y(), firstRows[k]);
    // 422 rows survive; the last of them (536) falls outside: the bottom row is source row 535.
    QCOMPARE(SourceOf(PixelColor(small, 100, SmallHeight - 1)).y(), 535);
    // Source columns increase strictly along every row, and the last one kept is 392.
    for (int y : {0, 1, 200, SmallHeight - 1}) {
        for (int x = 1; x < SmallWidth; ++x)
            QVERIFY(SourceOf(PixelColor(small, x, y)).x() > SourceOf(PixelColor(small, x - 1, y)).x());
        QCOMPARE(SourceOf(PixelColor(small, SmallWidth - 1, y)).x(), y == 0 ? 391 : 392);
    }
}

void TestPixels::shrinkShiftsTheFirstRowAndWritesEveryTargetPixel()
{
    const QImage large = CoordinateImage();
    QImage small = MakeCanvas(SmallWidth, SmallHeight); // white: no source pixel is white
    Shrink(large, small, nullptr);
    // Source column 0 appears only in the first row; elsewhere column 0 holds source column 1.
    QCOMPARE(SourceOf(PixelColor(small, 0, 0)).x(), 0);
    for (int y = 1; y < SmallHeight; ++y)
        QCOMPARE(SourceOf(PixelColor(small, 0, y)).x(), 1);
    // The first row is the others shifted one pixel to the right.
    for (int x = 1; x < SmallWidth; ++x)
        QCOMPARE(SourceOf(PixelColor(small, x, 0)).x(), SourceOf(PixelColor(small, x - 1, 1)).x());
    // No pixel is left as it was.
    QVERIFY(PixelsOfColor(small, 0xFFFFFF).isEmpty());
}

void TestPixels::shrinkEnhancesWhenAsked()
{
    QImage large = MakeCanvas(LargeWidth, LargeHeight);
    large.fill(ToRgb(Bg));
    QImage small = MakeCanvas(SmallWidth, SmallHeight);
    const EnhanceSettings settings;
    Shrink(large, small, &settings);
    QCOMPARE(PixelColor(small, 10, 10), MakeColor(192, 220, 67));
    // Outlines drawn afterwards keep the plain background colour.
    Lines(small, Bg);
    QCOMPARE(PixelColor(small, 48, 0), Bg);
    QCOMPARE(PixelColor(small, 48, 1), MakeColor(192, 220, 67));

    Shrink(large, small, nullptr);
    QCOMPARE(PixelColor(small, 10, 10), Bg);
}

void TestPixels::shrinkReadsWhiteBeyondASmallerImage()
{
    QImage large = MakeCanvas(100, 50);
    large.fill(Qt::black);
    QImage small = MakeCanvas(SmallWidth, SmallHeight);
    Shrink(large, small, nullptr);
    QCOMPARE(PixelColor(small, 5, 5), ColorValue(0));
    QCOMPARE(PixelColor(small, 200, 5), ColorValue(0xFFFFFF));
    QCOMPARE(PixelColor(small, 5, 300), ColorValue(0xFFFFFF));
}

void TestPixels::linePixelsAreTheNearestToTheIdealLine()
{
    // The first segment of the outline of column 1, row 0, pinned pixel by pixel.
    const QList<QPoint> expected = {{36, 20}, {37, 19}, {37, 18}, {38, 17}, {38, 16}, {39, 15}, {40, 14},
                                    {40, 13}, {41, 12}, {41, 11}, {42, 10}, {43, 9},  {43, 8},  {44, 7},
                                    {44, 6},  {45, 5},  {46, 4},  {46, 3},  {47, 2},  {47, 1},  {48, 0}};
    QCOMPARE(LinePixels({36, 20}, {48, 0}), expected);
    // Every segment direction of an outline, forward and backward.
    for (QPoint d : {QPoint(12, -20), QPoint(25, 0), QPoint(12, 20), QPoint(-12, 20), QPoint(-25, 0), QPoint(-12, -20)}) {
        const QPoint a(100, 100);
        QCOMPARE(LinePixels(a, a + d), IdealSegment(a, a + d));
    }
    QCOMPARE(LinePixels({3, 4}, {3, 4}), QList<QPoint>{QPoint(3, 4)});
}

void TestPixels::linesDrawsEightyClosedOutlinesInTheBackground()
{
    QImage small = MakeCanvas(SmallWidth, SmallHeight);
    Lines(small, Bg);
    QSet<QPoint> expected;
    const QList<QPoint> origins = OutlineOrigins();
    QCOMPARE(origins.size(), 80);
    QCOMPARE(origins.first(), QPoint(36, 20));  // column 1, row 0
    QCOMPARE(origins[4], QPoint(36, 60));       // column 1, row 1
    QCOMPARE(origins[40], QPoint(-1, 40));      // column 0, row 0
    QCOMPARE(origins.last(), QPoint(221, 400)); // column 6, row 9
    for (QPoint o : origins)
        expected.unite(OutlinePixels(o.x(), o.y()));
    QSet<QPoint> onImage;
    for (QPoint p : std::as_const(expected))
        if (small.rect().contains(p))
            onImage.insert(p);
    QCOMPARE(PixelsOfColor(small, Bg), onImage);

    // One outline whole: every vertex included, the top edge on the cell's top row.
    const QSet<QPoint> one = OutlinePixels(36, 20);
    for (QPoint v : {QPoint(36, 20), QPoint(48, 0), QPoint(73, 0), QPoint(85, 20), QPoint(73, 40), QPoint(48, 40)})
        QVERIFY(one.contains(v) && PixelColor(small, v.x(), v.y()) == Bg);
    QCOMPARE(one.size(), 2 * 21 + 2 * 21 + 2 * 26 - 6);
}

void TestPixels::linesTwiceEqualsOnce()
{
    QImage once = MakeCanvas(SmallWidth, SmallHeight);
    Lines(once, Bg);
    QImage twice = once.copy();
    Lines(twice, Bg);
    QCOMPARE(twice, once);
}

void TestPixels::fillSamplePoints()
{
    QCOMPARE(FillSamplePoint(36, 20, 1, 0), QPoint(42, 17));
    QCOMPARE(FillSamplePoint(36, 20, 1, 1), QPoint(60, 2));
    QCOMPARE(FillSamplePoint(-1, 40, 0, 1), QPoint(23, 21));
    QCOMPARE(FillSamplePoint(36, 20, 1, 2), QPoint(83, 18)); // just inside, not on the segment
    QCOMPARE(FillSamplePoint(36, 20, 1, 3), QPoint(72, 39));
    QCOMPARE(FillSamplePoint(36, 20, 1, 4), QPoint(60, 39));
    QCOMPARE(FillSamplePoint(36, 20, 1, 5), QPoint(46, 25));
    // No sample point lies on the outline it colours.
    for (QPoint o : OutlineOrigins()) {
        const QSet<QPoint> outline = OutlinePixels(o.x(), o.y());
        for (int s = 0; s < 6; ++s)
            QVERIFY(!outline.contains(FillSamplePoint(o.x(), o.y(), (o.x() + 1) / 37, s)));
    }
}

void TestPixels::fillRepaintsOutlinesFromInside()
{
    // Every pixel its own colour, then outlines in black.
    QImage small = MakeCanvas(SmallWidth, SmallHeight);
    for (int y = 0; y < SmallHeight; ++y)
        for (int x = 0; x < SmallWidth; ++x)
            SetPixelColor(small, x, y, MakeColor(x & 0xFF, y & 0xFF, 0x80 | (x >> 8) | ((y >> 8) << 1)));
    Lines(small, 0);
    const QImage withLines = small.copy();
    Fill(small);

    // The first segment drawn takes the colour of its sample point, untouched until then.
    for (QPoint p : LinePixels({36, 20}, {48, 0}))
        if (p != QPoint(36, 20) && p != QPoint(48, 0)) // shared with segments drawn later
            QCOMPARE(PixelColor(small, p.x(), p.y()), PixelColor(withLines, 42, 17));
    // The last segment drawn shows the colour its sample point held at that moment, which is
    // what the point holds now unless the segment itself covers it.
    const QPoint last = OutlineOrigins().last();
    const QPoint sample = FillSamplePoint(last.x(), last.y(), 6, 5);
    const ColorValue sampleColor = PixelColor(small, sample.x(), sample.y());
    for (QPoint p : LinePixels(last + QPoint(12, 20), last))
        QCOMPARE(PixelColor(small, p.x(), p.y()), sampleColor);
    // No black outline pixel is left where a sample point lies inside a tile's own colour.
    QVERIFY(PixelsOfColor(small, 0).size() < PixelsOfColor(withLines, 0).size() / 10);
    // Fill after Lines on a plain image makes the outlines vanish into the plain colour.
    QImage plain = MakeCanvas(SmallWidth, SmallHeight);
    plain.fill(ToRgb(0x123456));
    Lines(plain, Bg);
    Fill(plain);
    QCOMPARE(PixelsOfColor(plain, 0x123456).size(), SmallWidth * SmallHeight);
}

void TestPixels::bleedGrowsAreasUpwardOnePixelPerPress()
{
    QImage large = MakeCanvas(LargeWidth, LargeHeight);
    large.fill(ToRgb(Bg));
    // A red block at rows 100..109 over columns 50..59, a green pixel on the bottom row.
    for (int y = 100; y < 110; ++y)
        for (int x = 50; x < 60; ++x)
            SetPixelColor(large, x, y, 0x0000FF);
    SetPixelColor(large, 7, LargeHeight - 1, 0x00FF00);
    SetPixelColor(large, 7, LargeHeight - 2, 0x00FF00);
    Bleed(large, Bg);
    QCOMPARE(PixelColor(large, 50, 99), ColorValue(0x0000FF));
    QCOMPARE(PixelColor(large, 59, 99), ColorValue(0x0000FF));
    QCOMPARE(PixelColor(large, 50, 98), Bg);
    QCOMPARE(PixelColor(large, 49, 99), Bg);
    QCOMPARE(PixelsOfColor(large, 0x0000FF).size(), 110);
    QCOMPARE(PixelColor(large, 7, LargeHeight - 3), ColorValue(0x00FF00));
    Bleed(large, Bg);
    QCOMPARE(PixelColor(large, 55, 98), ColorValue(0x0000FF));
    QCOMPARE(PixelColor(large, 55, 97), Bg);
    QCOMPARE(PixelsOfColor(large, 0x0000FF).size(), 120);
    QCOMPARE(PixelsOfColor(large, 0x00FF00).size(), 4);
}

void TestPixels::bleedLeavesImagesWithoutBoundariesAlone()
{
    QImage all = MakeCanvas(LargeWidth, LargeHeight);
    all.fill(ToRgb(Bg));
    const QImage allBefore = all.copy();
    Bleed(all, Bg);
    QCOMPARE(all, allBefore);

    QImage none = MakeCanvas(LargeWidth, LargeHeight);
    for (int y = 0; y < LargeHeight; ++y)
        SetPixelColor(none, y % LargeWidth, y, 0x010203);
    const QImage noneBefore = none.copy();
    Bleed(none, Bg);
    QCOMPARE(none, noneBefore);

    // A bottom row of background never changes; a loaded image of another size is bled whole.
    QImage odd = MakeCanvas(20, 600);
    odd.fill(ToRgb(Bg));
    SetPixelColor(odd, 3, 599, 0x0000FF);
    SetPixelColor(odd, 4, 560, 0x0000FF);
    Bleed(odd, Bg);
    QCOMPARE(PixelColor(odd, 3, 598), ColorValue(0x0000FF));
    QCOMPARE(PixelColor(odd, 4, 559), ColorValue(0x0000FF));
    QCOMPARE(PixelColor(odd, 0, 599), Bg);
}

QTEST_APPLESS_MAIN(TestPixels)
#include "tst_dovrel_pixels.moc"
