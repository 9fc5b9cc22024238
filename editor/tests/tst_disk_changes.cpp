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
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void cleanup() { windows.reset(); }
    void changeOnDiskAnsweredEachWay();
    void fileRemovedElsewhereMarksTheMapModified();

private:
    // island.map, 10 x 8, with terrain at (1, 1), as another program writes it.
    void writeIsland(int terrain)
    {
        auto map = testing::BlankMap(10, 8);
        map->at(Terrain, 1, 1) = terrain;
        QVERIFY(WriteMapFile(island(), *map).isEmpty());
    }
    QString island() const { return dir.filePath(QStringLiteral("island.map")); }
    int terrainAt(int x, int y) { return windows->document().map().at(Terrain, x, y); }
    void ctrl(Qt::Key key) { QTest::keyClick(&windows->main(), key, Qt::ControlModifier); }

    QTemporaryDir dir;
    testing::ScriptedDialogs dialogs;
    std::unique_ptr<VantorWindows> windows;
};

// island.map with terrain 1 open in the shown, active main window.
void DiskChangesTest::init()
{
    writeIsland(1);
    windows = std::make_unique<VantorWindows>();
    windows->main().show();
    QVERIFY(QTest::qWaitForWindowExposed(&windows->main()));
    // The first activation shows the palette, which may take the focus.
    for (int round = 0; round < 2; ++round) {
        windows->main().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&windows->main()));
    }
    QVERIFY(windows->main().openFile(island()));
    dialogs.messages.clear(); // the missing tile sets
    dialogs.questions.clear();
}

void DiskChangesTest::changeOnDiskAnsweredEachWay()
{
    MapDocument &document = windows->document();
    // Our own save is no change on disk.
    document.edit(QStringLiteral("Paint"), [](MapContent &content) { content.map.at(Terrain, 2, 2) = 4; });
    ctrl(Qt::Key_S);
    QTest::qWait(600);
    QVERIFY(dialogs.questions.isEmpty());

    // Reload is one step: Ctrl+Z brings back what was shown.
    dialogs.choiceAnswers = {0};
    writeIsland(2);
    QTRY_COMPARE(dialogs.questions, QStringList{QStringLiteral("File Changed on Disk: island.map has changed on disk. Reload it?")});
    QCOMPARE(terrainAt(1, 1) * 10 + terrainAt(2, 2), 20);
    QVERIFY(!document.isModified());
    ctrl(Qt::Key_Z);
    QCOMPARE(terrainAt(1, 1) * 10 + terrainAt(2, 2), 14);
    QVERIFY(document.isModified());
    ctrl(Qt::Key_Y);

    // Keep Mine: modified, and the next save asks before it writes over the newer file.
    dialogs.choiceAnswers = {1};
    writeIsland(3);
    QTRY_COMPARE(dialogs.questions.size(), 2);
    QCOMPARE(terrainAt(1, 1), 2);
    QVERIFY(document.isModified());
    const QByteArray newer = testing::Contents(island());
    dialogs.confirmAnswers = {false, true};
    ctrl(Qt::Key_S);
    QVERIFY(dialogs.questions.last().contains(QStringLiteral("island.map has changed on disk since Vantor read it")));
    QCOMPARE(testing::Contents(island()), newer);
    ctrl(Qt::Key_S);
    QCOMPARE(dialogs.questions.size(), 4);
    MapStore saved;
    QVERIFY(ReadMapFile(island(), saved).isEmpty());
    QCOMPARE(saved.at(Terrain, 1, 1), 2);
    QTest::qWait(600);
    QCOMPARE(dialogs.questions.size(), 4);
}

void DiskChangesTest::fileRemovedElsewhereMarksTheMapModified()
{
    QVERIFY(QFile::remove(island()));
    QTRY_COMPARE(dialogs.messages.size(), 1);
    QVERIFY(dialogs.messages.first().contains(QStringLiteral("island.map was removed or moved away on disk")));
    QVERIFY(windows->document().isModified());
    // Saving writes it again, without asking.
    ctrl(Qt::Key_S);
    QVERIFY(QFile::exists(island()));
    QVERIFY(dialogs.questions.isEmpty());
}

QTEST_MAIN(DiskChangesTest)
#include "tst_disk_changes.moc"
