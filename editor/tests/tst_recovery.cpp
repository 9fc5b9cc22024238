// Unsaved work kept through a crash: the recovery file, the recovery at the next start, the lock
// of a file open in another Vantor, and the backup kept before a file is replaced.

#include "test_support.h"

#include "document/recovery_files.h"
#include "files/file_lock.h"
#include "files/native_map_file.h"
#include "forms/Map.h"
#include "forms/recovery_autosave.h"
#include "forms/windows.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace vantor;
using testing::Contents;

class RecoveryTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); } // the settings are not the user's
    void init();
    void cleanup() { dialogs.reset(); }
    void recoveryFileRoundTripsByteForByte();
    void killedVantorIsRecoveredTiedToItsFile();
    void leftFilesDamagedCancelledDiscardedOrWithoutTheirFile();
    void backupIsKeptOncePerRun();

private:
    QString path(const QString &name) const { return dir->filePath(name); }
    QStringList recoveryFiles() const
    {
        return QDir(RecoveryFolder()).entryList({QStringLiteral("*.vantor-recovery")}, QDir::Files);
    }
    QString writeIsland() const
    {
        const QString island = path(QStringLiteral("island.map"));
        return WriteMapFile(island, *testing::BlankMap(10, 8)).isEmpty() ? island : QString();
    }

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<testing::ScriptedDialogs> dialogs;
};

void RecoveryTest::init()
{
    dir = std::make_unique<QTemporaryDir>();
    qputenv("XDG_STATE_HOME", dir->filePath(QStringLiteral("state")).toLocal8Bit());
    QVERIFY(QDir().mkpath(RecoveryFolder()));
    dialogs = std::make_unique<testing::ScriptedDialogs>();
}

void RecoveryTest::recoveryFileRoundTripsByteForByte()
{
    RecoverySnapshot snapshot{{*testing::RandomMap(61, 44, 7), {}}, QStringLiteral("/maps/island.scn"),
                              MapFileFormat::HomemadeScenario};
    MapTables &tables = snapshot.content.tables;
    tables.places.setCell(PlaceTable::NameColumn, 300, QStringLiteral("Wewak ü"));
    tables.cities.setCell(CityTable::NameColumn, 3, QStringLiteral("Hollandia"));
    tables = {tables.places, tables.cities, 300, true, true};

    const QByteArray bytes = EncodeRecovery(snapshot);
    const std::optional<RecoverySnapshot> read = DecodeRecovery(bytes);
    QVERIFY(read);
    QVERIFY(read->content.map.bytes == snapshot.content.map.bytes);
    QCOMPARE(read->content.map.MapWidth * 100 + read->content.map.MapHeight, 6144);
    QVERIFY(read->content.tables == tables);
    QCOMPARE(read->filePath + QString::number(int(read->fileFormat)), QStringLiteral("/maps/island.scn4"));
    QCOMPARE(EncodeRecovery(*read), bytes);

    // Cut short, one byte changed, a foreign file: each refused.
    QVERIFY(!DecodeRecovery(bytes.chopped(1)));
    QByteArray changed = bytes;
    changed[bytes.size() / 2] = char(changed[bytes.size() / 2] ^ 1);
    QVERIFY(!DecodeRecovery(changed));
    QVERIFY(!DecodeRecovery(EncodeMapFile(snapshot.content.map)));
}

void RecoveryTest::killedVantorIsRecoveredTiedToItsFile()
{
    const QString island = writeIsland();
    QProcess child;
    child.start(QStringLiteral(RECOVERY_CHILD_PATH), {island});
    QVERIFY(child.waitForStarted());
    QVERIFY2(QTest::qWaitFor([&] { return recoveryFiles().size() == 1; }, 20000),
             child.readAllStandardError().constData());
    // The child has the file open: another Vantor asks before it opens it too.
    {
        VantorWindows second;
        QVERIFY(!second.main().openFile(island));
        QCOMPARE(dialogs->questions, QStringList{QStringLiteral("File Open Elsewhere: island.map is open in another "
                                                                "Vantor (process %1). Open it anyway?")
                                                     .arg(child.processId())});
        dialogs->questions.clear();
    }
    child.kill(); // SIGKILL: nothing of the child's clean end runs
    QVERIFY(child.waitForFinished());
    const QString left = recoveryFiles().first();

    dialogs->choiceAnswers = {0};
    VantorWindows windows;
    QCOMPARE(windows.offerRecovery(), island);
    QCOMPARE(dialogs->questions, QStringList{QStringLiteral("Vantor Version 0.50b: Vantor was not closed properly. "
                                                            "Recover the unsaved changes to island.map?")});
    MapDocument &document = windows.document();
    QCOMPARE(document.map().at(Terrain, 2, 3) * 10 + document.map().at(TileIndex, 2, 3), 75);
    QCOMPARE(document.fileFormat(), MapFileFormat::NativeMap);
    QVERIFY(document.isModified());
    QCOMPARE(document.history().count(), 0);
    QCOMPARE(windows.main().windowTitle(), QStringLiteral("island.map[*] - Vantor Version 0.50b"));
    // The dead child's lock on the file is taken over without a question.
    QLockFile lock(FileLock::LockPathOf(island));
    qint64 owner = 0;
    QString host, application;
    QVERIFY(lock.getLockInfo(&owner, &host, &application));
    QCOMPARE(owner, QCoreApplication::applicationPid());
    // The child's recovery file goes once this process's copy is written.
    windows.main().autosave().writer().finishWrites();
    QCOMPARE(recoveryFiles().size(), 1);
    QVERIFY(recoveryFiles().first() != left);

    // Ctrl+S writes the recovered map to its file and ends the recovery file.
    windows.main().show();
    QVERIFY(QTest::qWaitForWindowExposed(&windows.main()));
    QTest::keyClick(&windows.main(), Qt::Key_S, Qt::ControlModifier);
    MapStore saved;
    QVERIFY(ReadMapFile(island, saved).isEmpty());
    QCOMPARE(saved.at(Terrain, 2, 3), 7);
    windows.main().autosave().writer().finishWrites();
    QVERIFY(recoveryFiles().isEmpty());
}

void RecoveryTest::leftFilesDamagedCancelledDiscardedOrWithoutTheirFile()
{
    RecoverySnapshot snapshot{{}, path(QStringLiteral("gone.map")), MapFileFormat::NativeMap};
    const QString file = RecoveryFolder() + QStringLiteral("/1-1.vantor-recovery");
    testing::Write(file, EncodeRecovery(snapshot).chopped(1));
    VantorWindows damaged;
    QVERIFY(!damaged.offerRecovery());
    QVERIFY(dialogs->questions.isEmpty());
    QCOMPARE(dialogs->messages.size(), 1);
    QVERIFY2(dialogs->messages.first().contains(QStringLiteral("1-1.vantor-recovery: the recovery file is damaged")),
             qPrintable(dialogs->messages.first()));
    QVERIFY(QFile::exists(file + QStringLiteral(".damaged")));

    // Cancel leaves the file for the next start; Discard removes it.
    testing::Write(file, EncodeRecovery(snapshot));
    dialogs->choiceAnswers = {-1, 1};
    for (int start = 0; start < 2; ++start)
        QVERIFY(!VantorWindows().offerRecovery());
    QVERIFY(recoveryFiles().isEmpty());
    QCOMPARE(dialogs->questions.size(), 2);

    // A file that no longer exists recovers as an unnamed map, and the autosave keeps it.
    testing::Write(file, EncodeRecovery(snapshot));
    dialogs->choiceAnswers = {0};
    VantorWindows windows;
    QCOMPARE(windows.offerRecovery(), QString());
    QVERIFY(windows.document().isModified());
    windows.document().edit(QStringLiteral("Paint"), [](MapContent &content) { content.map.at(Terrain, 1, 1) = 9; });
    const QString own = windows.main().autosave().writer().path();
    QTRY_VERIFY_WITH_TIMEOUT(DecodeRecovery(Contents(own)) && DecodeRecovery(Contents(own))->content.map.at(Terrain, 1, 1) == 9,
                             RecoveryAutosave::MaxDelayMs + 2000);
    QCOMPARE(recoveryFiles(), QStringList{QFileInfo(own).fileName()});
}

void RecoveryTest::backupIsKeptOncePerRun()
{
    const QString island = writeIsland();
    const QString backup = island + QStringLiteral(".bak");
    const QByteArray original = Contents(island);
    const auto openPaintAndSave = [&](VantorWindows &windows, QList<int> terrains) {
        if (windows.document().filePath().isEmpty())
            QVERIFY(windows.main().openFile(island));
        dialogs->messages.clear(); // the missing tile sets
        for (const int terrain : terrains) {
            windows.document().edit(QStringLiteral("Paint"), [&](MapContent &content) { content.map.at(Terrain, 0, 0) = terrain; });
            testing::ClickMenuItem(windows.main(), QStringLiteral("File"), QStringLiteral("Save"));
        }
    };
    QByteArray lastSave;
    {
        VantorWindows windows;
        openPaintAndSave(windows, {3, 4});
        QCOMPARE(Contents(backup), original);
        lastSave = Contents(island);
    }
    {
        // A new run keeps the file as that run found it.
        VantorWindows next;
        openPaintAndSave(next, {5});
        QCOMPARE(Contents(backup), lastSave);
    }
    // A backup that cannot be written stops the save; the file stays as it was.
    QVERIFY(QFile::remove(backup) && QDir().mkpath(backup + QStringLiteral("/x")));
    lastSave = Contents(island);
    VantorWindows windows;
    openPaintAndSave(windows, {6});
    QCOMPARE(dialogs->messages.size(), 1);
    QVERIFY(dialogs->messages.first().contains(QStringLiteral("Map Not Saved: The backup of island.map could not be kept")));
    QCOMPARE(Contents(island), lastSave);

    // Turned off in Options, saves go straight through, and the setting is kept.
    testing::ClickMenuItem(windows.main(), QStringLiteral("Options"), QStringLiteral("Keep a Backup When Saving"));
    QVERIFY(!ReadKeepBackups());
    openPaintAndSave(windows, {7});
    QVERIFY(!windows.document().isModified());
    QVERIFY(dialogs->messages.isEmpty());
    StoreKeepBackups(true);
}

QTEST_MAIN(RecoveryTest)
#include "tst_recovery.moc"
