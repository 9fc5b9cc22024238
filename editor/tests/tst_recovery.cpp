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
using testing::Write;

class RecoveryTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); } // the settings are not the user's
    void init();
    void cleanup();
    void recoveryFileRoundTripsByteForByte();
    void killedVantorIsRecoveredTiedToItsFile();
    void damagedRecoveryFileIsMovedAside();
    void discardRemovesAndSaveEndsTheRecoveryFile();
    void backupIsKeptOncePerRun();

private:
    QString path(const QString &name) const { return dir->filePath(name); }
    QStringList recoveryFiles() const
    {
        return QDir(RecoveryFolder()).entryList({QStringLiteral("*.vantor-recovery")}, QDir::Files, QDir::Name);
    }

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<testing::ScriptedDialogs> dialogs;
};

void RecoveryTest::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    qputenv("XDG_STATE_HOME", dir->filePath(QStringLiteral("state")).toLocal8Bit());
    dialogs = std::make_unique<testing::ScriptedDialogs>();
}

void RecoveryTest::cleanup()
{
    dialogs.reset();
    dir.reset();
}

void RecoveryTest::recoveryFileRoundTripsByteForByte()
{
    RecoverySnapshot snapshot;
    snapshot.content.map = *testing::RandomMap(61, 44, 7);
    snapshot.content.tables.places.setCell(PlaceTable::NameColumn, 300, QStringLiteral("Wewak ü"));
    snapshot.content.tables.cities.setCell(CityTable::NameColumn, 3, QStringLiteral("Hollandia"));
    snapshot.content.tables.placeCount = 300;
    snapshot.content.tables.homemade = true;
    snapshot.content.tables.citiesLoaded = true;
    snapshot.filePath = QStringLiteral("/maps/island.scn");
    snapshot.fileFormat = MapFileFormat::HomemadeScenario;

    const QByteArray bytes = EncodeRecovery(snapshot);
    const std::optional<RecoverySnapshot> read = DecodeRecovery(bytes);
    QVERIFY(read);
    QCOMPARE(read->content.map.bytes, snapshot.content.map.bytes);
    QCOMPARE(read->content.map.MapWidth, 61);
    QCOMPARE(read->content.map.MapHeight, 44);
    QVERIFY(read->content.tables == snapshot.content.tables);
    QCOMPARE(read->filePath, snapshot.filePath);
    QCOMPARE(read->fileFormat, MapFileFormat::HomemadeScenario);
    QCOMPARE(EncodeRecovery(*read), bytes);

    // Cut short, one byte changed, another version, a foreign file: each refused.
    QVERIFY(!DecodeRecovery(bytes.chopped(1)));
    QByteArray changed = bytes;
    changed[bytes.size() / 2] = char(changed[bytes.size() / 2] ^ 1);
    QVERIFY(!DecodeRecovery(changed));
    QByteArray otherVersion = bytes;
    otherVersion[13] = char(otherVersion[13] + 1);
    QVERIFY(!DecodeRecovery(otherVersion));
    QVERIFY(!DecodeRecovery(EncodeMapFile(snapshot.content.map)));
}

void RecoveryTest::killedVantorIsRecoveredTiedToItsFile()
{
    const QString island = path(QStringLiteral("island.map"));
    const auto blank = testing::BlankMap(10, 8);
    QVERIFY(WriteMapFile(island, *blank).isEmpty());

    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(environment);
    child.start(QStringLiteral(RECOVERY_CHILD_PATH), {island});
    QVERIFY(child.waitForStarted());
    QVERIFY2(QTest::qWaitFor([&] { return recoveryFiles().size() == 1; }, 20000),
             qPrintable(QStringLiteral("state %1, child: %2").arg(child.state()).arg(QString::fromLocal8Bit(child.readAllStandardError()))));
    // The child has the file open: another Vantor asks before it opens it too.
    {
        VantorWindows second;
        QVERIFY(!second.main().openFile(island));
        QCOMPARE(dialogs->questions,
                 QStringList{QStringLiteral("File Open Elsewhere: island.map is open in another Vantor (process %1). "
                                            "Open it anyway?")
                                 .arg(child.processId())});
        QVERIFY(second.document().filePath().isEmpty());
        dialogs->questions.clear();
    }
    child.kill(); // SIGKILL: nothing of the child's clean end runs
    QVERIFY(child.waitForFinished());
    const QString left = recoveryFiles().first();

    dialogs->choiceAnswers = {0};
    VantorWindows windows;
    const std::optional<QString> recovered = windows.offerRecovery();
    QCOMPARE(recovered, island);
    QCOMPARE(dialogs->questions.size(), 1);
    QCOMPARE(dialogs->questions.first(),
             QStringLiteral("Vantor Version 0.50b: Vantor was not closed properly. Recover the unsaved changes to island.map?"));
    MapDocument &document = windows.document();
    QCOMPARE(document.map().at(Terrain, 2, 3), 7);
    QCOMPARE(document.map().at(TileIndex, 2, 3), 5);
    QCOMPARE(document.map().MapWidth, 10);
    QCOMPARE(document.filePath(), island);
    QCOMPARE(document.fileFormat(), MapFileFormat::NativeMap);
    QVERIFY(document.isModified());
    QCOMPARE(document.history().count(), 0);
    QCOMPARE(windows.main().windowTitle(), QStringLiteral("island.map[*] - Vantor Version 0.50b"));
    // The dead child's lock on the file is taken over without a question.
    QLockFile lock(FileLock::LockPathOf(island));
    qint64 owner = 0;
    QString host;
    QString application;
    QVERIFY(lock.getLockInfo(&owner, &host, &application));
    QCOMPARE(owner, QCoreApplication::applicationPid());
    QVERIFY(windows.main().isWindowModified());

    // The child's file goes once this process's copy is written.
    windows.main().autosave().writer().finishWrites();
    const QStringList now = recoveryFiles();
    QCOMPARE(now.size(), 1);
    QVERIFY(now.first() != left);

    // Ctrl+S writes the recovered map to its file.
    windows.main().show();
    QVERIFY(QTest::qWaitForWindowExposed(&windows.main()));
    QTest::keyClick(&windows.main(), Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!document.isModified());
    MapStore saved;
    QVERIFY(ReadMapFile(island, saved).isEmpty());
    QCOMPARE(saved.at(Terrain, 2, 3), 7);
    windows.main().autosave().writer().finishWrites();
    QVERIFY(recoveryFiles().isEmpty());
}

void RecoveryTest::damagedRecoveryFileIsMovedAside()
{
    QVERIFY(QDir().mkpath(RecoveryFolder()));
    RecoverySnapshot snapshot;
    const QString file = RecoveryFolder() + QStringLiteral("/1-1.vantor-recovery");
    Write(file, EncodeRecovery(snapshot).chopped(1));

    VantorWindows windows;
    QVERIFY(!windows.offerRecovery());
    QVERIFY(dialogs->questions.isEmpty());
    QCOMPARE(dialogs->messages.size(), 1);
    QVERIFY2(dialogs->messages.first().contains(QStringLiteral("1-1.vantor-recovery: the recovery file is damaged")),
             qPrintable(dialogs->messages.first()));
    QVERIFY(!QFile::exists(file));
    QVERIFY(QFile::exists(file + QStringLiteral(".damaged")));
    QVERIFY(!windows.document().isModified());
}

void RecoveryTest::discardRemovesAndSaveEndsTheRecoveryFile()
{
    QVERIFY(QDir().mkpath(RecoveryFolder()));
    RecoverySnapshot snapshot;
    snapshot.filePath = path(QStringLiteral("gone.map")); // no longer exists
    snapshot.fileFormat = MapFileFormat::NativeMap;
    const QString first = RecoveryFolder() + QStringLiteral("/1-1.vantor-recovery");
    const QString second = RecoveryFolder() + QStringLiteral("/1-2.vantor-recovery");
    Write(first, EncodeRecovery(snapshot));
    Write(second, EncodeRecovery(snapshot));

    // Cancel leaves a file for the next start; Discard removes it.
    dialogs->choiceAnswers = {-1, 1};
    {
        VantorWindows windows;
        QVERIFY(!windows.offerRecovery());
        QCOMPARE(recoveryFiles().size(), 1);
    }
    QVERIFY(dialogs->questions.last().endsWith(QStringLiteral("Recover the unsaved changes to gone.map?")));

    // A file that no longer exists recovers as an unnamed map; its recovery file follows edits.
    dialogs->choiceAnswers = {0};
    VantorWindows windows;
    QCOMPARE(windows.offerRecovery(), QString());
    QVERIFY(windows.document().filePath().isEmpty());
    QVERIFY(windows.document().isModified());
    RecoveryWriter &writer = windows.main().autosave().writer();
    writer.finishWrites();
    QCOMPARE(recoveryFiles(), QStringList{QFileInfo(writer.path()).fileName()});
    windows.document().edit(QStringLiteral("Paint"), [](MapContent &content) { content.map.at(Terrain, 1, 1) = 9; });
    QTRY_VERIFY_WITH_TIMEOUT(DecodeRecovery(Contents(writer.path())) &&
                                 DecodeRecovery(Contents(writer.path()))->content.map.at(Terrain, 1, 1) == 9,
                             RecoveryAutosave::MaxDelayMs + 2000);
    // A save ends it.
    dialogs->fileAnswers = {path(QStringLiteral("kept.map"))};
    testing::ClickMenuItem(windows.main(), QStringLiteral("File"), QStringLiteral("Save"));
    writer.finishWrites();
    QVERIFY(recoveryFiles().isEmpty());
}

void RecoveryTest::backupIsKeptOncePerRun()
{
    const QString island = path(QStringLiteral("island.map"));
    const auto blank = testing::BlankMap(10, 8);
    QVERIFY(WriteMapFile(island, *blank).isEmpty());
    const QByteArray original = Contents(island);
    const auto paintAndSave = [](VantorWindows &windows, int terrain) {
        windows.document().edit(QStringLiteral("Paint"), [&](MapContent &content) { content.map.at(Terrain, 0, 0) = terrain; });
        testing::ClickMenuItem(windows.main(), QStringLiteral("File"), QStringLiteral("Save"));
    };
    QByteArray secondSave;
    {
        VantorWindows windows;
        QVERIFY(windows.main().openFile(island));
        paintAndSave(windows, 3);
        const QByteArray firstSave = Contents(island);
        QVERIFY(firstSave != original);
        paintAndSave(windows, 4);
        QCOMPARE(Contents(island + QStringLiteral(".bak")), original);
        secondSave = Contents(island);
        QVERIFY(secondSave != firstSave);
    }
    {
        // A new run keeps the file as that run found it.
        VantorWindows next;
        QVERIFY(next.main().openFile(island));
        paintAndSave(next, 5);
        QCOMPARE(Contents(island + QStringLiteral(".bak")), secondSave);
    }
    // A backup that cannot be written stops the save; the file stays as it was.
    QFile::remove(island + QStringLiteral(".bak"));
    QVERIFY(QDir().mkpath(island + QStringLiteral(".bak/x")));
    const QByteArray before = Contents(island);
    VantorWindows windows;
    QVERIFY(windows.main().openFile(island));
    dialogs->messages.clear(); // the missing tile sets
    paintAndSave(windows, 6);
    QCOMPARE(dialogs->messages.size(), 1);
    QVERIFY(dialogs->messages.first().contains(QStringLiteral("Map Not Saved: The backup of island.map could not be kept")));
    QCOMPARE(Contents(island), before);
    QVERIFY(windows.document().isModified());

    // Turned off in Options, saves go straight through, and the setting is kept.
    testing::ClickMenuItem(windows.main(), QStringLiteral("Options"), QStringLiteral("Keep a Backup When Saving"));
    QVERIFY(!ReadKeepBackups());
    testing::ClickMenuItem(windows.main(), QStringLiteral("File"), QStringLiteral("Save"));
    QVERIFY(!windows.document().isModified());
    QCOMPARE(dialogs->messages.size(), 1);
    testing::ClickMenuItem(windows.main(), QStringLiteral("Options"), QStringLiteral("Keep a Backup When Saving"));
    QVERIFY(ReadKeepBackups());
}

QTEST_MAIN(RecoveryTest)
#include "tst_recovery.moc"
