// The PNG writer's stream, compressed in bands on several threads at once: the bytes come out as
// they went in, whatever the number of bands.

#include "render/zlib_bands.h"

#include <QtEndian>
#include <QtTest>

#include <mutex>
#include <random>

using namespace vantor;

namespace {

// Rows with runs that repeat, as tiles do, between stretches of noise.
QByteArray SampleRows(int height, qsizetype rowSize)
{
    std::mt19937 random(7);
    QByteArray rows(height * rowSize, Qt::Uninitialized);
    for (qsizetype i = 0; i < rows.size(); ++i)
        rows[i] = char((i / 300) % 3 == 0 ? random() : i % 97);
    return rows;
}

} // namespace

class ZlibBandsTest : public QObject {
    Q_OBJECT

private slots:
    void bandsJoinIntoOneZlibStream_data();
    void bandsJoinIntoOneZlibStream();
};

void ZlibBandsTest::bandsJoinIntoOneZlibStream_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("bands");
    QTest::newRow("one row") << 1 << 1;
    QTest::newRow("more bands than rows") << 3 << 8;
    QTest::newRow("one band of many pieces") << 900 << 1;
    QTest::newRow("two bands") << 900 << 2;
    QTest::newRow("bands of uneven rows") << 901 << 7;
}

void ZlibBandsTest::bandsJoinIntoOneZlibStream()
{
    QFETCH(int, height);
    QFETCH(int, bands);
    const qsizetype rowSize = 1 + 3 * 700; // a few hundred rows fill a piece a band compresses at once
    const QByteArray data = SampleRows(height, rowSize);
    std::mutex lock;
    std::vector<int> timesMade(std::size_t(height), 0);
    const std::vector<QByteArray> parts = CompressRowsToZlib(height, rowSize, bands, [&](uchar *rows, int top, int count) {
        std::memcpy(rows, data.constData() + top * rowSize, std::size_t(count * rowSize));
        const std::lock_guard guard(lock);
        for (int y = top; y < top + count; ++y)
            ++timesMade[std::size_t(y)];
    });
    QCOMPARE(timesMade, std::vector<int>(std::size_t(height), 1));

    QByteArray stream(4, Qt::Uninitialized);
    qToBigEndian(quint32(data.size()), stream.data());
    for (const QByteArray &part : parts)
        stream += part;
    QVERIFY(stream.mid(4).startsWith("\x78\x01"));
    // zlib checks the stream's Adler-32, joined from the bands', too: a wrong one gives nothing back.
    QCOMPARE(qUncompress(stream), data);
}

QTEST_GUILESS_MAIN(ZlibBandsTest)
#include "tst_zlib_bands.moc"
