// Reading tile-set bitmaps: the quick reader for plain 24-bit files, and every public test bitmap.

#include "test_support.h"

#include "render/bmp_decoding.h"
#include "render/bmp_encoding.h"
#include "render/tile_set_library.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>

#include <array>

using namespace vantor;
using testing::BitmapsIn;

namespace {

QImage Pattern(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 13) % 256, (y * 29) % 256, (x ^ y) % 256));
    return image;
}

QByteArray Contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void PutLE32(QByteArray &data, int offset, qint32 value)
{
    for (int i = 0; i < 4; ++i)
        data[offset + i] = char((quint32(value) >> (8 * i)) & 0xFF);
}

} // namespace

class BitmapFilesTest : public QObject {
    Q_OBJECT
private slots:
    void plainBitmapsRoundTrip();
    void topDownBitmapsAreRead();
    void plainRowsLieInTheFileItself();
    void otherBitmapsAreLeftToTheGeneralReader();
    void damagedHeadersAreRefused();
    void goodCorpusBitmapsLoadAsQtReadsThem();
    void badCorpusBitmapsAreRefusedOrSurvived();
};

void BitmapFilesTest::plainBitmapsRoundTrip()
{
    for (const QSize size : {QSize(1, 1), QSize(3, 2), QSize(309, 421)}) {
        const QImage image = Pattern(size.width(), size.height());
        QCOMPARE(DecodePlainBmp24(EncodeBmp24(image)), image);
    }
}

void BitmapFilesTest::topDownBitmapsAreRead()
{
    const QImage image = Pattern(5, 4);
    QByteArray data = EncodeBmp24(image);
    PutLE32(data, 22, -4);
    QCOMPARE(DecodePlainBmp24(data), image.mirrored(false, true));
}

void BitmapFilesTest::plainRowsLieInTheFileItself()
{
    // 5 pixels a row: 15 bytes, stored in 16.
    QByteArray data = EncodeBmp24(Pattern(5, 4));
    const auto *pixels = reinterpret_cast<const uchar *>(data.constData()) + 54;
    const ConstPixelRows bottomUp = PlainBmp24Rows(data);
    QCOMPARE(bottomUp.top, pixels + 3 * 16);
    QCOMPARE(bottomUp.stride, qsizetype(-16));
    QCOMPARE(bottomUp.row(3), pixels);
    QCOMPARE((std::array<int, 3>{bottomUp.width, bottomUp.height, bottomUp.bytesPerPixel}), (std::array<int, 3>{5, 4, 3}));

    PutLE32(data, 22, -4);
    const ConstPixelRows topDown = PlainBmp24Rows(data);
    QCOMPARE(topDown.top, reinterpret_cast<const uchar *>(data.constData()) + 54);
    QCOMPARE(topDown.stride, qsizetype(16));

    data.chop(1); // the last stored row is cut short
    QVERIFY(PlainBmp24Rows(data).isEmpty());
    QVERIFY(PlainBmp24Rows(QByteArray("BM")).isEmpty());
}

void BitmapFilesTest::otherBitmapsAreLeftToTheGeneralReader()
{
    QByteArray eightBit = EncodeBmp24(Pattern(4, 4));
    eightBit[28] = 8;
    QVERIFY(DecodePlainBmp24(eightBit).isNull());
    QByteArray compressed = EncodeBmp24(Pattern(4, 4));
    compressed[30] = 1;
    QVERIFY(DecodePlainBmp24(compressed).isNull());
    QVERIFY(DecodePlainBmp24(QByteArray("GIF89a")).isNull());
}

void BitmapFilesTest::damagedHeadersAreRefused()
{
    const QByteArray good = EncodeBmp24(Pattern(6, 5));
    QVERIFY(DecodePlainBmp24(good.left(good.size() - 1)).isNull()); // the last row is cut short
    QVERIFY(DecodePlainBmp24(good.left(53)).isNull());
    QByteArray wide = good;
    PutLE32(wide, 18, 0x7FFFFFFF);
    QVERIFY(DecodePlainBmp24(wide).isNull());
    QByteArray negative = good;
    PutLE32(negative, 18, -6);
    QVERIFY(DecodePlainBmp24(negative).isNull());
    QByteArray zeroHeight = good;
    PutLE32(zeroHeight, 22, 0);
    QVERIFY(DecodePlainBmp24(zeroHeight).isNull());
    QByteArray farOffset = good;
    PutLE32(farOffset, 10, 0x7FFFFFF0);
    QVERIFY(DecodePlainBmp24(farOffset).isNull());
    QByteArray shortHeader = good;
    PutLE32(shortHeader, 14, 12);
    QVERIFY(DecodePlainBmp24(shortHeader).isNull());
}

void BitmapFilesTest::goodCorpusBitmapsLoadAsQtReadsThem()
{
    const QString corpora = QStringLiteral(BMP_CORPORA_DIR);
    QStringList good = BitmapsIn(corpora + QStringLiteral("/bmpsuite/g"));
    good += BitmapsIn(corpora + QStringLiteral("/image-rs/images"));
    if (good.isEmpty())
        QSKIP("the public bitmap corpora are not beside the repository");
    int quick = 0;
    for (const QString &path : good) {
        const QImage loaded = ReadTileSetImage(path);
        QVERIFY2(!loaded.isNull(), qPrintable(path));
        QCOMPARE(loaded.format(), QImage::Format_RGB32);
        const QImage byQt = QImage(path).convertToFormat(QImage::Format_RGB32);
        if (!byQt.isNull())
            QVERIFY2(loaded == byQt, qPrintable(path));
        quick += !DecodePlainBmp24(Contents(path)).isNull();
    }
    QVERIFY(quick >= 2); // rgb24.bmp at least takes the quick path

    // The 56-byte headers the general reader does not know hold the same picture as the plain ones.
    const QString images = corpora + QStringLiteral("/image-rs/images/");
    const QImage plain = ReadTileSetImage(images + QStringLiteral("Info_R8_G8_B8.bmp"));
    QCOMPARE(ReadTileSetImage(images + QStringLiteral("V3_X8_R8_G8_B8.bmp")), plain);
    QCOMPARE(ReadTileSetImage(images + QStringLiteral("V3_X8_R8_G8_B8_Top_Down.bmp")), plain);
    QCOMPARE(ReadTileSetImage(images + QStringLiteral("Info_R8_G8_B8_Top_Down.bmp")), plain);
}

void BitmapFilesTest::badCorpusBitmapsAreRefusedOrSurvived()
{
    const QString corpora = QStringLiteral(BMP_CORPORA_DIR);
    QStringList others = BitmapsIn(corpora + QStringLiteral("/bmpsuite/b"));
    others += BitmapsIn(corpora + QStringLiteral("/bmpsuite/q"));
    others += BitmapsIn(corpora + QStringLiteral("/bmpsuite/x"));
    others += BitmapsIn(corpora + QStringLiteral("/image-rs/bad"));
    others += BitmapsIn(corpora + QStringLiteral("/image-rs/images/lenient"));
    if (others.isEmpty())
        QSKIP("the public bitmap corpora are not beside the repository");
    QTemporaryDir dir;
    for (const QString &path : others) {
        // Whatever comes back is either nothing or a picture of sane size.
        const QImage loaded = ReadTileSetImage(path);
        QVERIFY2(loaded.isNull() || (loaded.width() > 0 && loaded.height() > 0), qPrintable(path));
        // The same file as a tile set: loaded or reported as unavailable, never a crash.
        QFile::remove(dir.filePath(QStringLiteral("SET00m.BMP")));
        QVERIFY(QFile::copy(path, dir.filePath(QStringLiteral("SET00m.BMP"))));
        TileSetLibrary library(dir.path());
        QCOMPARE(library.image(0).isNull(), loaded.isNull());
    }
}

QTEST_GUILESS_MAIN(BitmapFilesTest)
#include "tst_bitmap_files.moc"
