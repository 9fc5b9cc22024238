// dovrel-cli: its arguments, exit codes and the files it writes.

#include "TestSupport.h"
#include "core/Batch.h"
#include "core/BmpFile.h"
#include "samples/SampleArchive.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace dovrel;
using namespace testing;

namespace {
struct Run {
    int code = -1;
    QString out;
    QString err;
};

Run Cli(const QStringList &args, const QString &workDir = {})
{
    QProcess process;
    if (!workDir.isEmpty())
        process.setWorkingDirectory(workDir);
    process.start(QStringLiteral(DOVREL_CLI_PATH), args);
    process.waitForFinished(120000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2, QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

QStringList Files(const QString &dir)
{
    return QDir(dir).entryList({QStringLiteral("*.bmp")}, QDir::Files, QDir::Name);
}
} // namespace

class TestCli : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_archive;

private slots:
    void initTestCase();
    void usageErrorsExitWith2_data();
    void usageErrorsExitWith2();
    void refusedInputExitsWith1();
    void writesTheChosenSetsUnderTheirNames();
    void writesNothingWithoutSmallOrLarge();
    void defaultsToTilPfpInTheCurrentFolderAndAllSixteenSets();
    void settingsChangeThePixelsAsTheWindowWould();
    void damagedArchiveWritesWhatItCanAndExitsWith1();
    void failedWriteExitsWith1();
};

void TestCli::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_archive = m_dir.filePath(QStringLiteral("til.pfp"));
    QString error;
    QVERIFY2(WriteSampleArchive(m_archive, &error), qPrintable(error));
}

void TestCli::usageErrorsExitWith2_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");
    QTest::newRow("nothing") << QStringList{} << "no command given";
    QTest::newRow("unknown command") << QStringList{"make"} << "unknown command make";
    QTest::newRow("unknown option") << QStringList{"generate", "--fast"} << "unknown option --fast";
    QTest::newRow("set out of range") << QStringList{"generate", "--set", "16"} << "--set takes a number from 0 to 15, not '16'";
    QTest::newRow("set not a number") << QStringList{"generate", "--set", "one"} << "--set takes a number";
    QTest::newRow("slider too large") << QStringList{"generate", "--red", "101"} << "--red takes a number from 0 to 100";
    QTest::newRow("missing value") << QStringList{"generate", "--min"} << "--min needs a value";
    QTest::newRow("two archives") << QStringList{"generate", "a.pfp", "b.pfp"} << "more than one archive";
    QTest::newRow("the sample maker's command") << QStringList{"sample-archive", "til.pfp"} << "unknown command sample-archive";
}

void TestCli::usageErrorsExitWith2()
{
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    const Run run = Cli(args);
    QCOMPARE(run.code, 2);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QVERIFY(run.err.contains(QStringLiteral("Usage:")));
    const Run help = Cli({QStringLiteral("--help")});
    QCOMPARE(help.code, 0);
    QVERIFY(help.out.contains(QStringLiteral("dovrel-cli generate")));
    QVERIFY(!help.out.contains(QStringLiteral("sample")));
}

void TestCli::refusedInputExitsWith1()
{
    QTemporaryDir out;
    Run run = Cli({QStringLiteral("generate"), out.filePath(QStringLiteral("missing.pfp")), QStringLiteral("--out"), out.path()});
    QCOMPARE(run.code, 1);
    QVERIFY2(run.err.contains(QStringLiteral("missing.pfp")), qPrintable(run.err));

    run = Cli({QStringLiteral("generate"), m_archive, QStringLiteral("--out"), out.path(), QStringLiteral("--background"), QStringLiteral("zz")});
    QCOMPARE(run.code, 1);
    QVERIFY2(run.err.contains(QStringLiteral("'zz' is not a valid integer value")), qPrintable(run.err));

    run = Cli({QStringLiteral("generate"), m_archive, QStringLiteral("--out"), out.filePath(QStringLiteral("nowhere"))});
    QCOMPARE(run.code, 1);
    QVERIFY(run.err.contains(QStringLiteral("nowhere")));
    QVERIFY(Files(out.path()).isEmpty());
}

void TestCli::writesTheChosenSetsUnderTheirNames()
{
    QTemporaryDir out;
    const Run run = Cli({QStringLiteral("generate"), m_archive, QStringLiteral("--out"), out.path(), QStringLiteral("--set"),
                         QStringLiteral("7"), QStringLiteral("--large"), QStringLiteral("--set"), QStringLiteral("12")});
    QCOMPARE(run.code, 0);
    QCOMPARE(Files(out.path()), (QStringList{"Set07m.bmp", "Set12m.bmp", "SetL07.bmp", "SetL12.bmp"}));
    QString error;
    const std::optional<QImage> small = LoadBitmap(out.filePath(QStringLiteral("Set07m.bmp")), &error);
    QVERIFY(small);
    QCOMPARE(small->size(), QSize(SmallWidth, SmallHeight));
    QCOMPARE(LoadBitmap(out.filePath(QStringLiteral("SetL12.bmp")), &error)->size(), QSize(LargeWidth, LargeHeight));
    QCOMPARE(SmallSetFileName(7), QStringLiteral("Set07m.bmp"));
    QCOMPARE(LargeSetFileName(7), QStringLiteral("SetL07.bmp"));
    QCOMPARE(SmallSetFileName(15), QStringLiteral("Set15m.bmp"));
}

void TestCli::writesNothingWithoutSmallOrLarge()
{
    QTemporaryDir out;
    const Run run = Cli({QStringLiteral("generate"), m_archive, QStringLiteral("--out"), out.path(), QStringLiteral("--no-small")});
    QCOMPARE(run.code, 0);
    QVERIFY(Files(out.path()).isEmpty());
}

void TestCli::defaultsToTilPfpInTheCurrentFolderAndAllSixteenSets()
{
    const Run run = Cli({QStringLiteral("generate")}, m_dir.path());
    QCOMPARE(run.code, 0);
    QStringList expected;
    for (int s = 0; s < 16; ++s)
        expected.append(SmallSetFileName(s));
    QCOMPARE(Files(m_dir.path()), expected);
    // The same bytes as the batch run in this process.
    QTemporaryDir out;
    ArchiveFile archive;
    QVERIFY(archive.open(m_archive));
    DecoderState state;
    BatchOptions options;
    options.outputDir = out.path();
    const BatchResult result = RunBatch(archive.stream(), options, state);
    QVERIFY(result.ok());
    QCOMPARE(result.written.size(), 16);
    for (const QString &name : expected)
        QVERIFY2(ReadFile(m_dir.filePath(name)) == ReadFile(out.filePath(name)), qPrintable(name));
}

void TestCli::settingsChangeThePixelsAsTheWindowWould()
{
    QTemporaryDir plain, custom;
    QCOMPARE(Cli({QStringLiteral("generate"), m_archive, QStringLiteral("--out"), plain.path(), QStringLiteral("--set"), QStringLiteral("3"),
                  QStringLiteral("--no-enhance"), QStringLiteral("--no-lines")})
                 .code,
             0);
    QCOMPARE(Cli({QStringLiteral("generate"), m_archive, QStringLiteral("--out"), custom.path(), QStringLiteral("--set"), QStringLiteral("3"),
                  QStringLiteral("--background"), QStringLiteral("$0000FF"), QStringLiteral("--red"), QStringLiteral("0x32"),
                  QStringLiteral("--green"), QStringLiteral("0"), QStringLiteral("--blue"), QStringLiteral("0"), QStringLiteral("--min"),
                  QStringLiteral("0")})
                 .code,
             0);
    QString error;
    const QImage a = *LoadBitmap(plain.filePath(QStringLiteral("Set03m.bmp")), &error);
    const QImage b = *LoadBitmap(custom.filePath(QStringLiteral("Set03m.bmp")), &error);
    // Without enhancement and lines the background is the plain colour; with a red background,
    // red +50 % and lines, the outline vertex at (48, 0) is pure red and a background pixel is
    // red held at 255.
    QCOMPARE(PixelColor(a, 0, 0), DefaultBackground);
    QCOMPARE(PixelColor(a, 48, 0), DefaultBackground);
    QCOMPARE(PixelColor(b, 48, 0), ColorValue(0x0000FF));
    QCOMPARE(PixelColor(b, 0, 0), ColorValue(0x0000FF));
    // A tile pixel: red grows by half, green and blue stay.
    const ColorValue pa = PixelColor(a, 60, 20), pb = PixelColor(b, 60, 20);
    QCOMPARE(GreenOf(pb), GreenOf(pa));
    QCOMPARE(BlueOf(pb), BlueOf(pa));
    QCOMPARE(RedOf(pb), std::min(255, RedOf(pa) + RedOf(pa) / 2));
}

void TestCli::damagedArchiveWritesWhatItCanAndExitsWith1()
{
    QTemporaryDir out;
    const QString cut = out.filePath(QStringLiteral("cut.pfp"));
    QFile file(cut);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(ReadFile(m_archive).left(int(SetSearchOffsets[12]) + 5000)); // set 12 ends early; 13..15 are missing
    file.close();
    const Run run = Cli({QStringLiteral("generate"), cut, QStringLiteral("--out"), out.path()});
    QCOMPARE(run.code, 1);
    QVERIFY2(run.err.contains(QStringLiteral("Tile set 12: the archive ends inside the rows of tile")), qPrintable(run.err));
    QVERIFY(run.err.contains(QStringLiteral("Tile set 13: ")));
    QVERIFY(run.err.contains(QStringLiteral("Tile set 15: ")));
    QVERIFY(!run.err.contains(QStringLiteral("Tile set 11: ")));
    QCOMPARE(Files(out.path()).size(), 16);
}

void TestCli::failedWriteExitsWith1()
{
    QTemporaryDir out;
    QDir(out.path()).mkdir(QStringLiteral("Set00m.bmp")); // a folder where the bitmap should go
    const Run run = Cli({QStringLiteral("generate"), m_archive, QStringLiteral("--out"), out.path()});
    QCOMPARE(run.code, 1);
    QVERIFY2(run.err.contains(QStringLiteral("Cannot write \"%1\"").arg(out.filePath(QStringLiteral("Set00m.bmp")))), qPrintable(run.err));
    QVERIFY(Files(out.path()).isEmpty() || Files(out.path()) == QStringList{QStringLiteral("Set00m.bmp")});
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_dovrel_cli.moc"
