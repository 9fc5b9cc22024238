// The default terrain file: its 34 lines, the reader's skip and length rules, and the line end
// that a loaded row keeps.

#include "test_support.h"

#include "files/default_terrain_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>

using namespace vantor;
using testing::Contents;

namespace {

QByteArray RowText(const DefaultTerrainTable &table, int set)
{
    const auto &row = table[set];
    return QByteArray(row.data(), qsizetype(strnlen(row.data(), row.size())));
}

// A table whose every slot holds 'Z', so that the slots a load does not write show.
DefaultTerrainTable Filled()
{
    DefaultTerrainTable table;
    for (auto &row : table)
        row.fill('Z');
    return table;
}

} // namespace

class DefaultTerrainFileTest : public QObject {
    Q_OBJECT
private slots:
    void builtInTableIsWrittenAs34Lines();
    void aLoadedRowKeepsItsLineEnd();
    void rowsTakeTheFirst85Characters();
    void skippedLines();
    void aFileWithFewerThan16RowsIsRefused();
    void fileErrorsNameTheFile();
};

void DefaultTerrainFileTest::builtInTableIsWrittenAs34Lines()
{
    const DefaultTerrainTable table = InitialDefaultTerrain();
    const QByteArray data = EncodeDefaultTerrain(table);
    QVERIFY(data.endsWith("\r\n"));
    const QList<QByteArray> lines = data.chopped(2).split('\n');
    QCOMPARE(lines.size(), 34);
    for (const QByteArray &line : lines.first(33))
        QVERIFY(line.endsWith('\r'));
    QCOMPARE(lines[0], QByteArray("// This is a default terrain map file for Vantor\r"));
    QCOMPARE(lines[1], QByteArray("// Comments start with \"//\" \r"));
    QCOMPARE(lines[2], QByteArray("// Set 00\r"));
    QCOMPARE(lines[3], QByteArray("NNNNNNNNNNNNNNNNNNNNNN....IIIIIIIIIIIIIIIIIIIIINNI..OOOO1111JJJJOOOO11.........\r"));
    QCOMPARE(lines[3].size(), 80);
    QCOMPARE(lines[8], QByteArray("// Set 03\r"));
    QCOMPARE(lines[9].size(), 81); // the only row of 80 characters
    QCOMPARE(lines[32], QByteArray("// Set 15\r"));
    QCOMPARE(lines[33], QByteArray("111001OOOI0020IOO101..........................................................."));
}

void DefaultTerrainFileTest::aLoadedRowKeepsItsLineEnd()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("terrain.txt"));
    QCOMPARE(WriteDefaultTerrainFile(path, InitialDefaultTerrain()), QString());

    DefaultTerrainTable loaded = Filled();
    QCOMPARE(ReadDefaultTerrainFile(path, loaded).outcome, LoadResult::Complete);
    const DefaultTerrainTable initial = InitialDefaultTerrain();
    for (int s = 0; s < 16; ++s) {
        QCOMPARE(RowText(loaded, s), RowText(initial, s) + '\n');
        for (int t = 0; t < 85; ++t)
            QCOMPARE(DefaultTerrainOf(loaded, s, t), DefaultTerrainOf(initial, s, t));
        QCOMPARE(QByteArray(loaded[s].data() + 85, 3), QByteArray("ZZZ")); // never written by a load
    }

    // Saved again, each row is followed by an empty line; loading that gives the same table.
    const QByteArray again = EncodeDefaultTerrain(loaded);
    QVERIFY(again.contains("// Set 00\r\n" + RowText(initial, 0) + "\r\n\r\n// Set 01\r\n"));
    QVERIFY(again.endsWith(RowText(initial, 15) + "\r\n\r\n"));
    DefaultTerrainTable reloaded = Filled();
    int rows = 0;
    DecodeDefaultTerrain(again, reloaded, rows);
    QCOMPARE(rows, 16);
    QCOMPARE(reloaded, loaded);

    // LF line ends read the same.
    QByteArray lf = again;
    lf.replace("\r\n", "\n");
    DecodeDefaultTerrain(lf, reloaded, rows);
    QCOMPARE(reloaded, loaded);
}

void DefaultTerrainFileTest::rowsTakeTheFirst85Characters()
{
    QByteArray lines;
    const QByteArray of84(84, '4'), of85(85, '5'), of100 = QByteArray(85, '6') + QByteArray(15, 'x');
    const QByteArray of130 = QByteArray(126, '7') + "8888";
    for (const QByteArray &line : {of84, of85, of100, of130, QByteArray("ABC")})
        lines += line + "\r\n";
    // Seven rows only: the table is not touched.
    DefaultTerrainTable table = Filled();
    int rows = 0;
    DecodeDefaultTerrain(lines + "NO LINE END", table, rows);
    QCOMPARE(rows, 7);
    QCOMPARE(table, Filled());

    lines += QByteArray("F\n").repeated(9) + "NO LINE END";
    DecodeDefaultTerrain(lines, table, rows);
    QCOMPARE(rows, 16);
    QCOMPARE(QByteArray(table[0].data(), 85), of84 + '\n');
    QCOMPARE(QByteArray(table[1].data(), 85), of85);
    QCOMPARE(QByteArray(table[2].data(), 85), of100.left(85));
    QCOMPARE(QByteArray(table[3].data(), 85), of130.left(85));
    // The line of 130 characters counts as two: its last four characters are the next row.
    QCOMPARE(QByteArray(table[4].data(), 85), "8888\n" + QByteArray(80, '\0'));
    QCOMPARE(QByteArray(table[5].data(), 85), "ABC\n" + QByteArray(81, '\0'));
    QCOMPARE(QByteArray(table[15].data(), 85), "NO LINE END" + QByteArray(74, '\0'));
    for (int s = 0; s < 16; ++s)
        QCOMPARE(QByteArray(table[s].data() + 85, 3), QByteArray("ZZZ"));
}

void DefaultTerrainFileTest::skippedLines()
{
    QByteArray plain, noisy;
    for (int s = 0; s < 16; ++s) {
        const QByteArray row = QByteArray(10 + s, char('0' + s));
        plain += row + "\r\n";
        noisy += "// Set " + QByteArray::number(s) + "\r\n\r\n\n" + "\tindented\r\n" + "\x80high byte\n" + "\x7f" "delete\n" +
                 "\x01" "control\n" + row + "\n";
    }
    noisy += "surplus rows are not read\n";
    DefaultTerrainTable fromPlain = Filled(), fromNoisy = InitialDefaultTerrain();
    int rowsPlain = 0, rowsNoisy = 0;
    DecodeDefaultTerrain(plain, fromPlain, rowsPlain);
    DecodeDefaultTerrain(noisy, fromNoisy, rowsNoisy);
    QCOMPARE(rowsPlain, 16);
    QCOMPARE(rowsNoisy, 16);
    for (int s = 0; s < 16; ++s)
        QCOMPARE(QByteArray(fromNoisy[s].data(), 85), QByteArray(fromPlain[s].data(), 85));
    // A line that only starts like a comment is a row; "/" alone is no comment.
    DefaultTerrainTable table = Filled();
    int rows = 0;
    DecodeDefaultTerrain("/ not a comment\n" + QByteArray("row\n").repeated(15), table, rows);
    QCOMPARE(rows, 16);
    QCOMPARE(RowText(table, 0), QByteArray("/ not a comment\n"));
}

void DefaultTerrainFileTest::aFileWithFewerThan16RowsIsRefused()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("three.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("// three rows\r\nAAA\r\nBBB\r\n// more\r\nCCC");
    file.close();
    const DefaultTerrainTable initial = InitialDefaultTerrain();
    DefaultTerrainTable table = initial;
    const LoadResult result = ReadDefaultTerrainFile(path, table);
    QCOMPARE(result.outcome, LoadResult::Refused);
    QCOMPARE(result.message.caption, QStringLiteral("Default Terrain Not Loaded"));
    QCOMPARE(result.message.text, path + QStringLiteral(": the file holds 3 of the 16 rows; the table was not changed."));
    QCOMPARE(table, initial);

    // An empty file changes nothing either.
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.close();
    QCOMPARE(ReadDefaultTerrainFile(path, table).outcome, LoadResult::Refused);
    QCOMPARE(table, initial);
}

void DefaultTerrainFileTest::fileErrorsNameTheFile()
{
    QTemporaryDir dir;
    DefaultTerrainTable table = InitialDefaultTerrain();
    const QString missing = dir.filePath(QStringLiteral("missing.txt"));
    const LoadResult result = ReadDefaultTerrainFile(missing, table);
    QCOMPARE(result.outcome, LoadResult::Refused);
    QVERIFY(result.message.text.startsWith(missing));
    QCOMPARE(table, InitialDefaultTerrain());

    const QString path = dir.filePath(QStringLiteral("kept.txt"));
    QCOMPARE(WriteDefaultTerrainFile(path, table), QString());
    const QString nowhere = dir.filePath(QStringLiteral("none/t.txt"));
    QVERIFY(WriteDefaultTerrainFile(nowhere, table).startsWith(nowhere));
    QCOMPARE(Contents(path), EncodeDefaultTerrain(table));
}

QTEST_GUILESS_MAIN(DefaultTerrainFileTest)
#include "tst_default_terrain_file.moc"
