// The open file changed by another program: Reload as one step of the history, Keep Mine with a
// question before the next save writes over it, and a file removed elsewhere.

#include "test_support.h"

#include "files/native_map_file.h"
#include "forms/Map.h"
#include "forms/windows.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace vantor;

class DiskChangesTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void changeOnDiskAnsweredEachWay();
    void fileRemovedElsewhereMarksTheMapModified();

private:
    // island.map, 10 x 8, with terrain at (1, 1) open in a shown and active main window.
    void openIsland(int terrain);
    void writeIsland(int terrain);
    QString island() const { return dir.filePath(QStringLiteral("island.map")); }

    QTemporaryDir dir;
    std::unique_ptr<testing::ScriptedDialogs> dialogs;
    std::unique_ptr<VantorWindows> windows;
};

void DiskChangesTest::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(dir.isValid());
}

void DiskChangesTest::writeIsland(int terrain)
{
    auto map = testing::BlankMap(10, 8);
    map->at(Terrain, 1, 1) = terrain;
    QVERIFY(WriteMapFile(island(), *map).isEmpty());
}

void DiskChangesTest::openIsland(int terrain)
{
    writeIsland(terrain);
    windows.reset();
    dialogs.reset(); // before the next installs itself
    dialogs = std::make_unique<testing::ScriptedDialogs>();
    windows = std::make_unique<VantorWindows>();
    windows->main().show();
    QVERIFY(QTest::qWaitForWindowExposed(&windows->main()));
    // The first activation shows the palette, which may take the focus.
    for (int round = 0; round < 2; ++round) {
        windows->main().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&windows->main()));
    }
    QVERIFY(windows->main().openFile(island()));
    dialogs->messages.clear(); // the missing tile sets
}

void DiskChangesTest::changeOnDiskAnsweredEachWay()
{
    openIsland(1);
    MapDocument &document = windows->document();
    // Our own save is no change on disk.
    document.edit(QStringLiteral("Paint"), [](MapContent &content) { content.map.at(Terrain, 2, 2) = 4; });
    QTest::keyClick(&windows->main(), Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!document.isModified());
    QTest::qWait(600);
    QVERIFY(dialogs->questions.isEmpty());

    // Reload is one step: Ctrl+Z brings back what was shown.
    dialogs->choiceAnswers = {0};
    writeIsland(2);
    QTRY_COMPARE(dialogs->questions, QStringList{QStringLiteral("File Changed on Disk: island.map has changed on disk. Reload it?")});
    QCOMPARE(document.map().at(Terrain, 1, 1), 2);
    QCOMPARE(document.map().at(Terrain, 2, 2), 0);
    QVERIFY(!document.isModified());
    QTest::keyClick(&windows->main(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(document.map().at(Terrain, 1, 1), 1);
    QCOMPARE(document.map().at(Terrain, 2, 2), 4);
    QVERIFY(document.isModified());
    QTest::keyClick(&windows->main(), Qt::Key_Y, Qt::ControlModifier);
    QVERIFY(!document.isModified());

    // Keep Mine: modified, and the next save asks before it writes over the newer file.
    dialogs->choiceAnswers = {1};
    writeIsland(3);
    QTRY_COMPARE(dialogs->questions.size(), 2);
    QCOMPARE(document.map().at(Terrain, 1, 1), 2);
    QVERIFY(document.isModified());
    const QByteArray newer = testing::Contents(island());
    dialogs->confirmAnswers = {false};
    QTest::keyClick(&windows->main(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(dialogs->questions.size(), 3);
    QVERIFY(dialogs->questions.last().contains(QStringLiteral("island.map has changed on disk since Vantor read it")));
    QCOMPARE(testing::Contents(island()), newer);
    dialogs->confirmAnswers = {true};
    QTest::keyClick(&windows->main(), Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!document.isModified());
    MapStore saved;
    QVERIFY(ReadMapFile(island(), saved).isEmpty());
    QCOMPARE(saved.at(Terrain, 1, 1), 2);
    // Written by Vantor, the file asks nothing more.
    QTest::qWait(600);
    QCOMPARE(dialogs->questions.size(), 4);
}

void DiskChangesTest::fileRemovedElsewhereMarksTheMapModified()
{
    openIsland(1);
    QVERIFY(QFile::remove(island()));
    QTRY_COMPARE(dialogs->messages.size(), 1);
    QVERIFY(dialogs->messages.first().contains(QStringLiteral("island.map was removed or moved away on disk")));
    QVERIFY(windows->document().isModified());
    QVERIFY(dialogs->questions.isEmpty());
    // Saving writes it again, without asking.
    QTest::keyClick(&windows->main(), Qt::Key_S, Qt::ControlModifier);
    QVERIFY(QFile::exists(island()));
    QVERIFY(dialogs->questions.isEmpty());
    windows.reset();
}

QTEST_MAIN(DiskChangesTest)
#include "tst_disk_changes.moc"
