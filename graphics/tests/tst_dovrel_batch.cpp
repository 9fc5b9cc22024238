// The batch that the window and dovrel-cli share: its steps in order, the steps a window changes
// for each set, where it stops, and what it writes.

#include "TestSupport.h"
#include "core/Batch.h"
#include "core/BmpFile.h"
#include "samples/SampleArchive.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace dovrel;
using namespace testing;

class TestBatch : public QObject {
    Q_OBJECT
private:
    QByteArray m_archive;
    std::unique_ptr<QTemporaryDir> m_out;

    BatchOptions optionsFor(const QList<int> &sets) const
    {
        BatchOptions options;
        options.sets = sets;
        options.outputDir = m_out->path();
        return options;
    }
    QStringList files() const { return QDir(m_out->path()).entryList(QDir::Files, QDir::Name); }

private slots:
    void initTestCase() { m_archive = BuildSampleArchive(); }
    void init() { m_out = std::make_unique<QTemporaryDir>(); }
    void observerSeesEveryStepOfEverySetInOrder();
    void imagesKeepTheLastSetAsItWasSaved();
    void stepsChangedBeforeASetApplyToThatSet();
    void falseBeforeASetEndsTheBatchThere();
    void pendingMessagesRunAfterEachSet();
    void withoutAFolderTheBareNamesAreWrittenHere();
    void aFailedWriteEndsTheBatchWithItsMessage();
};

void TestBatch::observerSeesEveryStepOfEverySetInOrder()
{
    QStringList events;
    int tiles = 0, rows = 0;
    BatchObserver observer;
    observer.beforeSet = [&](int set, int index, int total, SetSteps &) {
        events << QStringLiteral("set %1 (%2 of %3)").arg(set).arg(index + 1).arg(total);
        return true;
    };
    observer.stepDone = [&](BatchStep step) {
        if (step == BatchStep::Generated)
            events << QStringLiteral("%1 tiles").arg(tiles);
        if (step == BatchStep::SmallDrawn)
            events << QStringLiteral("%1 rows").arg(rows);
        events << QString::number(int(step));
        tiles = rows = 0;
    };
    observer.afterTile = [&] { ++tiles; };
    observer.afterRow = [&](int) { ++rows; };

    QImage large = MakeCanvas(LargeWidth, LargeHeight), small = MakeCanvas(SmallWidth, SmallHeight);
    DecoderState state;
    const BatchResult result = RunBatch(StreamOver(m_archive), optionsFor({7, 12}), state, large, small, observer);
    QVERIFY(result.ok());
    QCOMPARE(result.setsDone, 2);

    // What one Generate and one Shrink of each set report on their own.
    QStringList expected;
    DecoderState fresh;
    for (int set : {7, 12}) {
        QImage image = MakeCanvas(LargeWidth, LargeHeight), target = MakeCanvas(SmallWidth, SmallHeight);
        ArchiveStream stream = StreamOver(m_archive);
        int drawn = 0, written = 0;
        GenerateSet(stream, set, image, fresh, DefaultBackground, [&] { ++drawn; });
        Shrink(image, target, nullptr, [&](int) { ++written; });
        expected << QStringLiteral("set %1 (%2 of 2)").arg(set).arg(set == 7 ? 1 : 2) << QStringLiteral("0")
                 << QStringLiteral("%1 tiles").arg(drawn) << QStringLiteral("1") << QStringLiteral("%1 rows").arg(written)
                 << QStringLiteral("2");
    }
    QCOMPARE(events, expected);
    QVERIFY(!events.contains(QStringLiteral("0 tiles")));
}

void TestBatch::imagesKeepTheLastSetAsItWasSaved()
{
    QImage large = MakeCanvas(LargeWidth, LargeHeight), small = MakeCanvas(SmallWidth, SmallHeight);
    DecoderState state;
    BatchOptions options = optionsFor({3, 9});
    options.steps.saveLarge = true;
    const BatchResult result = RunBatch(StreamOver(m_archive), options, state, large, small);
    QVERIFY(result.ok());
    QCOMPARE(result.written, (QStringList{QDir(m_out->path()).filePath(QStringLiteral("Set03m.bmp")),
                                          QDir(m_out->path()).filePath(QStringLiteral("SetL03.bmp")),
                                          QDir(m_out->path()).filePath(QStringLiteral("Set09m.bmp")),
                                          QDir(m_out->path()).filePath(QStringLiteral("SetL09.bmp"))}));
    QVERIFY(ReadFile(result.written[2]) == EncodeBmp24(small));
    QVERIFY(ReadFile(result.written[3]) == EncodeBmp24(large));

    // The same pixels as the steps run one by one, the palette table carried from set 3 to set 9.
    DecoderState steps;
    QImage expectedLarge = MakeCanvas(LargeWidth, LargeHeight), expectedSmall = MakeCanvas(SmallWidth, SmallHeight);
    for (int set : {3, 9}) {
        ArchiveStream stream = StreamOver(m_archive);
        GenerateSet(stream, set, expectedLarge, steps, DefaultBackground);
    }
    const EnhanceSettings enhance;
    Shrink(expectedLarge, expectedSmall, &enhance);
    Lines(expectedSmall, DefaultBackground);
    QCOMPARE(large, expectedLarge);
    QCOMPARE(small, expectedSmall);
}

void TestBatch::stepsChangedBeforeASetApplyToThatSet()
{
    BatchOptions options = optionsFor({3, 4});
    options.steps.lines = false;
    QList<SetSteps> seen;
    BatchObserver observer;
    observer.beforeSet = [&](int set, int, int, SetSteps &steps) {
        seen.append(steps);
        steps.saveLarge = set == 3;
        steps.lines = set == 4;
        steps.background = set == 4 ? 0x0000FF : DefaultBackground;
        return true;
    };
    QImage large = MakeCanvas(LargeWidth, LargeHeight), small = MakeCanvas(SmallWidth, SmallHeight);
    DecoderState state;
    QVERIFY(RunBatch(StreamOver(m_archive), options, state, large, small, observer).ok());

    // The first set starts from the options, the next from what the set before it was given.
    QCOMPARE(seen.size(), 2);
    QVERIFY(!seen[0].lines && !seen[0].saveLarge);
    QVERIFY(!seen[1].lines && seen[1].saveLarge);
    QCOMPARE(files(), (QStringList{"Set03m.bmp", "Set04m.bmp", "SetL03.bmp"}));
    QString error;
    const QImage set3 = *LoadBitmap(m_out->filePath(QStringLiteral("Set03m.bmp")), &error);
    const QImage set4 = *LoadBitmap(m_out->filePath(QStringLiteral("Set04m.bmp")), &error);
    QCOMPARE(PixelColor(set3, 48, 0), ColorValue(0x43DCC0)); // no outline: the enhanced background
    QCOMPARE(PixelColor(set4, 48, 0), ColorValue(0x0000FF)); // an outline vertex in set 4's colour
    QCOMPARE(PixelColor(*LoadBitmap(m_out->filePath(QStringLiteral("SetL03.bmp")), &error), 1, 1), DefaultBackground);
}

void TestBatch::falseBeforeASetEndsTheBatchThere()
{
    BatchObserver observer;
    QList<int> asked;
    observer.beforeSet = [&](int set, int index, int, SetSteps &) {
        asked.append(set);
        return index < 2;
    };
    bool drawnAfterStop = false;
    observer.stepDone = [&](BatchStep) { drawnAfterStop = asked.size() > 2; };
    QImage large = MakeCanvas(LargeWidth, LargeHeight), small = MakeCanvas(SmallWidth, SmallHeight);
    DecoderState state;
    const BatchResult result = RunBatch(StreamOver(m_archive), optionsFor({}), state, large, small, observer);
    QCOMPARE(asked, (QList<int>{0, 1, 2}));
    QVERIFY(!drawnAfterStop);
    QCOMPARE(result.setsDone, 2);
    QVERIFY(result.ok());
    QCOMPARE(files(), (QStringList{"Set00m.bmp", "Set01m.bmp"}));
}

void TestBatch::pendingMessagesRunAfterEachSet()
{
    // A message posted before the batch runs once the first set is saved, before the second starts.
    int setsStarted = 0;
    int startedWhenRun = -1;
    QStringList filesWhenRun;
    QTimer::singleShot(0, this, [&] {
        startedWhenRun = setsStarted;
        filesWhenRun = files();
    });
    BatchObserver observer;
    observer.beforeSet = [&](int, int, int, SetSteps &) {
        ++setsStarted;
        return true;
    };
    QImage large = MakeCanvas(LargeWidth, LargeHeight), small = MakeCanvas(SmallWidth, SmallHeight);
    DecoderState state;
    QVERIFY(RunBatch(StreamOver(m_archive), optionsFor({5, 6, 8}), state, large, small, observer).ok());
    QCOMPARE(startedWhenRun, 1);
    QCOMPARE(filesWhenRun, QStringList{QStringLiteral("Set05m.bmp")});
}

void TestBatch::withoutAFolderTheBareNamesAreWrittenHere()
{
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_out->path()));
    DecoderState state;
    BatchOptions options;
    options.sets = {1};
    const BatchResult result = RunBatch(StreamOver(m_archive), options, state);
    QDir::setCurrent(before);
    QVERIFY(result.ok());
    QCOMPARE(result.written, QStringList{QStringLiteral("Set01m.bmp")});
    QCOMPARE(files(), QStringList{QStringLiteral("Set01m.bmp")});
}

void TestBatch::aFailedWriteEndsTheBatchWithItsMessage()
{
    QVERIFY(QDir(m_out->path()).mkdir(QStringLiteral("SetL01.bmp"))); // a folder where the bitmap should go
    BatchOptions options = optionsFor({0, 1, 2});
    options.steps.saveLarge = true;
    DecoderState state;
    const BatchResult result = RunBatch(StreamOver(m_archive), options, state);
    QVERIFY(!result.ok());
    QVERIFY2(result.error.startsWith(QStringLiteral("Cannot write \"%1\"").arg(m_out->filePath(QStringLiteral("SetL01.bmp")))),
             qPrintable(result.error));
    QVERIFY(result.problems.isEmpty());
    QCOMPARE(result.setsDone, 1);
    QCOMPARE(result.written.size(), 3); // set 0's two files and set 1's small one
    QCOMPARE(files(), (QStringList{"Set00m.bmp", "Set01m.bmp", "SetL00.bmp"}));
}

QTEST_GUILESS_MAIN(TestBatch)
#include "tst_dovrel_batch.moc"
