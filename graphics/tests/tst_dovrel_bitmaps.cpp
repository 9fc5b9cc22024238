// Bitmap files: the 24-bit writer, failed writes, and loading the public BMP corpora.

#include "TestSupport.h"
#include "core/BmpFile.h"
#include "core/ColorValue.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>

using namespace dovrel;
using namespace testing;

namespace {
quint32 U32(const QByteArray &b, int at)
{
    return quint32(quint8(b[at])) | quint32(quint8(b[at + 1])) << 8 | quint32(quint8(b[at + 2])) << 16 |
           quint32(quint8(b[at + 3])) << 24;
}
quint32 U16(const QByteArray &b, int at) { return quint32(quint8(b[at])) | quint32(quint8(b[at + 1])) << 8; }

QStringList BmpFilesUnder(const QString &dir)
{
    QStringList files;
    QDirIterator it(dir, {QStringLiteral("*.bmp")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(it.next());
    files.sort();
    return files;
}

QString Corpora() { return QStringLiteral(BMP_CORPORA_DIR); }
} // namespace

class TestBitmaps : public QObject {
    Q_OBJECT
private slots:
    void writes24BitBottomUpRowsPaddedToFourBytes();
    void savedBitmapReadsBackPixelForPixel();
    void failedWriteNamesTheFileAndKeepsTheOldOne();
    void loadRefusesWhatIsNotABitmap();
    void loadsEveryGoodCorpusBitmap();
    void survivesEveryQuestionableAndBadCorpusBitmap();
};

void TestBitmaps::writes24BitBottomUpRowsPaddedToFourBytes()
{
    QImage image = MakeCanvas(309, 2);
    SetPixelColor(image, 0, 0, MakeColor(1, 2, 3));     // top left
    SetPixelColor(image, 308, 1, MakeColor(10, 20, 30)); // bottom right
    const QByteArray bytes = EncodeBmp24(image);
    const int stride = 928; // 309 * 3 = 927, padded to 928
    QCOMPARE(bytes.size(), 54 + 2 * stride);
    QCOMPARE(bytes.left(2), QByteArray("BM"));
    QCOMPARE(U32(bytes, 2), quint32(bytes.size()));
    QCOMPARE(U32(bytes, 10), 54u);
    QCOMPARE(U32(bytes, 14), 40u);
    QCOMPARE(U32(bytes, 18), 309u);
    QCOMPARE(U32(bytes, 22), 2u); // positive height: bottom-up
    QCOMPARE(U16(bytes, 26), 1u);
    QCOMPARE(U16(bytes, 28), 24u);
    QCOMPARE(U32(bytes, 30), 0u);
    // The bottom row comes first; pixels are blue, green, red.
    QCOMPARE(bytes.mid(54 + 308 * 3, 3), Bytes({30, 20, 10}));
    QCOMPARE(bytes.at(54 + 927), '\0');
    QCOMPARE(bytes.mid(54 + stride, 3), Bytes({3, 2, 1}));
}

void TestBitmaps::savedBitmapReadsBackPixelForPixel()
{
    QTemporaryDir dir;
    QImage image = MakeCanvas(37, 11);
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 37; ++x)
            SetPixelColor(image, x, y, MakeColor(x * 7, y * 23, (x * y) & 0xFF));
    const QString path = dir.filePath(QStringLiteral("Set07m.bmp"));
    QString error;
    QVERIFY2(SaveBmp24(image, path, &error), qPrintable(error));
    QImageReader reader(path);
    QCOMPARE(reader.format(), QByteArray("bmp"));
    QCOMPARE(QImage(path).convertToFormat(CanvasFormat), image);
    const std::optional<QImage> loaded = LoadBitmap(path, &error);
    QVERIFY(loaded);
    QCOMPARE(*loaded, image);
}

void TestBitmaps::failedWriteNamesTheFileAndKeepsTheOldOne()
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("no/such/folder/Set00m.bmp"));
    QString error;
    QVERIFY(!SaveBmp24(MakeCanvas(4, 4), missing, &error));
    QVERIFY2(error.startsWith(QStringLiteral("Cannot write \"%1\"").arg(missing)), qPrintable(error));

    // A folder that cannot take a new file: the old bitmap stays whole.
    const QString path = dir.filePath(QStringLiteral("Set01m.bmp"));
    QVERIFY(SaveBmp24(MakeCanvas(4, 4), path, &error));
    const QByteArray before = ReadFile(path);
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    const bool refused = !SaveBmp24(MakeCanvas(8, 8), path, &error);
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!refused)
        QSKIP("this user may write into read-only folders (root): the refusal cannot be provoked here");
    QVERIFY(error.contains(path));
    QCOMPARE(ReadFile(path), before);
}

void TestBitmaps::loadRefusesWhatIsNotABitmap()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("til.bmp"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("BM this is not a bitmap at all");
    file.close();
    QString error;
    QVERIFY(!LoadBitmap(path, &error));
    QVERIFY2(error.startsWith(QStringLiteral("Cannot load the bitmap \"%1\"").arg(path)), qPrintable(error));
    QVERIFY(!LoadBitmap(dir.filePath(QStringLiteral("missing.bmp")), &error));
    QVERIFY(error.contains(QStringLiteral("missing.bmp")));
}

void TestBitmaps::loadsEveryGoodCorpusBitmap()
{
    if (!QDir(Corpora()).exists())
        QSKIP("the BMP corpora are not beside the repository");
    QStringList good = BmpFilesUnder(Corpora() + QStringLiteral("/bmpsuite/g"));
    // image-rs: everything under images/ except the ones only a lenient reader takes.
    for (const QString &f : BmpFilesUnder(Corpora() + QStringLiteral("/image-rs/images")))
        if (!f.contains(QStringLiteral("/lenient/")) && !f.contains(QStringLiteral("invalid")))
            good.append(f);
    QVERIFY(good.size() >= 27 + 30);
    // Among them the 56-byte (V3) headers with colour masks, which need the program's own help.
    QVERIFY(good.contains(Corpora() + QStringLiteral("/image-rs/images/V3_R5_G6_B5_Top_Down.bmp")));
    for (const QString &path : std::as_const(good)) {
        QString error;
        const std::optional<QImage> image = LoadBitmap(path, &error);
        QVERIFY2(image, qPrintable(path + QStringLiteral(": ") + error));
        QCOMPARE(image->format(), CanvasFormat);
        QVERIFY2(image->width() > 0 && image->height() > 0, qPrintable(path));
    }
}

void TestBitmaps::survivesEveryQuestionableAndBadCorpusBitmap()
{
    if (!QDir(Corpora()).exists())
        QSKIP("the BMP corpora are not beside the repository");
    QStringList doubtful = BmpFilesUnder(Corpora() + QStringLiteral("/bmpsuite/q")) + BmpFilesUnder(Corpora() + QStringLiteral("/bmpsuite/b")) +
                           BmpFilesUnder(Corpora() + QStringLiteral("/bmpsuite/x")) + BmpFilesUnder(Corpora() + QStringLiteral("/image-rs/bad")) +
                           BmpFilesUnder(Corpora() + QStringLiteral("/image-rs/images/lenient"));
    QVERIFY(doubtful.size() >= 60);
    int refused = 0;
    for (const QString &path : std::as_const(doubtful)) {
        QString error;
        const std::optional<QImage> image = LoadBitmap(path, &error);
        if (image) {
            QVERIFY2(!image->isNull() && image->format() == CanvasFormat, qPrintable(path));
        } else {
            ++refused;
            QVERIFY2(error.contains(path) && error.size() > path.size() + 30, qPrintable(path + QStringLiteral(": ") + error));
        }
    }
    // The plainly broken files are refused with their message.
    for (const QString &name : {QStringLiteral("bmpsuite/b/badbitcount.bmp"), QStringLiteral("bmpsuite/b/reallybig.bmp"),
                                QStringLiteral("image-rs/bad/Bad_width.bmp"), QStringLiteral("image-rs/bad/Bad_height.bmp")}) {
        QString error;
        QVERIFY2(!LoadBitmap(Corpora() + QLatin1Char('/') + name, &error), qPrintable(name));
    }
    QVERIFY(refused >= 3);
}

QTEST_GUILESS_MAIN(TestBitmaps)
#include "tst_dovrel_bitmaps.moc"
