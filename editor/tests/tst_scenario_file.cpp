// Scenario map blocks: both layouts read and written in place, the questions and refusals of the
// save, and a scenario that no save may damage.

#include "test_support.h"

#include "files/native_map_file.h"
#include "files/scenario_file.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

using namespace vantor;
using testing::RandomMap;
using testing::RandomBytes;
using testing::Write;
using testing::Contents;

namespace {

QByteArray Int32(qint32 value)
{
    QByteArray bytes;
    for (int i = 0; i < 4; ++i)
        bytes.append(char(quint32(value) >> (8 * i)));
    return bytes;
}

QByteArray Name30(const QByteArray &name) { return name.left(30) + QByteArray(30 - std::min<qsizetype>(name.size(), 30), '\0'); }

// A homemade map block with the given names (written as they stand, 30 bytes each).
QByteArray HomemadeBlock(const MapStore &map, const QList<QByteArray> &names)
{
    const QByteArray mapFile = EncodeMapFile(map);
    QByteArray block = mapFile.left(4) + Int32(qint32(names.size()));
    for (const QByteArray &name : names)
        block += Name30(name);
    return block + mapFile.mid(4);
}

// A map whose hex (0, 0) carries no place, as a regular scenario's does.
std::unique_ptr<MapStore> RegularMap(int width, int height, quint32 seed)
{
    auto map = RandomMap(width, height, seed);
    map->at(PlaceIndex, 0, 0) = 255;
    return map;
}

PlaceTable Names(const QStringList &names)
{
    PlaceTable table(int(names.size()) + 1);
    for (int k = 0; k < names.size(); ++k)
        table.setCell(PlaceTable::NameColumn, k + 1, names[k]);
    return table;
}

// The block with its set usage table (at tableAt) out of date: set 15 flipped.
QByteArray WithStaleTable(QByteArray block, qsizetype tableAt)
{
    block[tableAt + 15] = char(block[tableAt + 15] ? 0 : 1);
    return block;
}

// Hex (0, 0) gives bytes 4..7 of a regular block: place, high byte of the place, planes 2 and 3.
void SetFirstHex(MapStore &map, std::uint8_t place, std::uint8_t high, std::uint8_t plane2, std::uint8_t plane3)
{
    map.at(PlaceIndex, 0, 0) = place;
    map.at(PlaceIndexHigh, 0, 0) = high;
    map.at(2, 0, 0) = plane2;
    map.at(3, 0, 0) = plane3;
}

const QString NotHomemade = QStringLiteral("This is probably not a homemade (HM)scenario.\n      Proceed anyway?");
const QString NotBuiltin = QStringLiteral("This is probably not a builtin scenario.\n      Proceed anyway?");

} // namespace

class ScenarioFileTest : public QObject {
    Q_OBJECT
private slots:
    void layoutQuestionsLookAtByte4();
    void layoutReadingsOfTheWholeBlock();
    void layoutOfAFileFromOutside();
    void regularLoadReadsTheMapBlockOnly();
    void homemadeLoadReadsNamesAndPlaceCoordinates();
    void refusedLoadsChangeNothing_data();
    void refusedLoadsChangeNothing();
    void regularSaveRewritesExactlyTheMapBlock();
    void homemadeSaveWritesThirtyByteNames();
    void saveRefusals();
    void extensionQuestionIsCaseSensitive();
    void saveIntoTheOtherLayoutAsksFirst();
    void saveIntoAScenarioOfTheOtherLayoutIsRefused();
    void regularSaveIntoAHomemadeScenarioWithAStaleTableIsRefused();
    void aFailedWriteLeavesTheScenarioAsItWas();

private:
    QString path(const QString &name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

void ScenarioFileTest::layoutQuestionsLookAtByte4()
{
    auto map = RegularMap(4, 4, 1);
    const QByteArray regular = EncodeMapFile(*map);
    QCOMPARE(GuessScenarioLayout(regular), ScenarioLayout::Regular);
    QVERIFY(ScenarioLayoutQuestion(regular, ScenarioLayout::Regular).isEmpty());
    UserMessage question = ScenarioLayoutQuestion(regular, ScenarioLayout::Homemade);
    QCOMPARE(question.caption, QStringLiteral("Warning! Bad file format?"));
    QCOMPARE(question.text, NotHomemade);

    // A regular scenario whose hex (0, 0) carries a name looks homemade.
    map->at(PlaceIndex, 0, 0) = 4;
    question = ScenarioLayoutQuestion(EncodeMapFile(*map), ScenarioLayout::Regular);
    QCOMPARE(question.caption, QStringLiteral("Warning! Bad file format?"));
    QCOMPARE(question.text, NotBuiltin);

    // A homemade scenario with 255 names looks regular; with 256 it does not.
    QList<QByteArray> names(255, QByteArray("n"));
    QCOMPARE(ScenarioLayoutQuestion(HomemadeBlock(*map, names), ScenarioLayout::Homemade).text, NotHomemade);
    names << "one more";
    QVERIFY(ScenarioLayoutQuestion(HomemadeBlock(*map, names), ScenarioLayout::Homemade).isEmpty());

    // A file too short to have byte 4 reads 255 there.
    QCOMPARE(GuessScenarioLayout(QByteArray("\x05\x00\x05\x00", 4)), ScenarioLayout::Regular);
}

void ScenarioFileTest::layoutReadingsOfTheWholeBlock()
{
    const auto reads = [](const QByteArray &data, bool regular, bool homemade) {
        const ScenarioLayoutReading reading = ReadScenarioLayouts(data);
        return reading.regular == regular && reading.homemade == homemade;
    };
    const QByteArray tail = RandomBytes(200, 40);
    auto map = RegularMap(6, 5, 41);

    // A regular block: its table agrees with its hexes; bytes 4..7 (255, 127, 3, 9) are no place
    // count that fits.
    SetFirstHex(*map, 255, 127, 3, 9);
    const QByteArray regular = EncodeMapFile(*map);
    QVERIFY(reads(regular + tail, true, false));
    QVERIFY(reads(regular, true, false)); // nothing after the block
    QVERIFY(reads(regular.left(regular.size() - 1), false, false)); // the table cut short
    QVERIFY(reads(WithStaleTable(regular, regular.size() - SetUsageTableSize) + tail, false, false));

    // A homemade block reads as homemade with or without a matching table, as regular never.
    const QByteArray homemade = HomemadeBlock(*map, {"Lae", QByteArray(30, 'W'), ""});
    QVERIFY(reads(homemade + tail, false, true));
    QVERIFY(reads(WithStaleTable(homemade, homemade.size() - SetUsageTableSize) + tail, false, true));
    QVERIFY(reads(homemade.left(homemade.size() - 1), false, false)); // the block does not fit the file
    QByteArray badName = homemade;
    badName[8 + 30 + 30 + 5] = 'x'; // the empty third name has a byte after its end
    QVERIFY(reads(badName + tail, false, false));
    QByteArray control = homemade;
    control[8 + 2] = '\t'; // names are text: "La\t" is none
    QVERIFY(reads(control + tail, false, false));
    QByteArray negative = homemade;
    negative[7] = char(0x80);
    QVERIFY(reads(negative + tail, false, false));

    // A regular block whose first hex reads as place count 0 reads as both.
    SetFirstHex(*map, 0, 0, 0, 0);
    QVERIFY(reads(EncodeMapFile(*map) + tail, true, true));

    // No header, or a size the map cannot have: neither.
    QVERIFY(reads(QByteArray("\x05\x00", 2), false, false));
    QVERIFY(reads(QByteArray("\x49\x00\x05\x00", 4) + QByteArray(20000, '\0'), false, false));
}

void ScenarioFileTest::layoutOfAFileFromOutside()
{
    const QByteArray tail = RandomBytes(300, 42);
    auto map = RegularMap(8, 6, 43);

    // A regular scenario whose first hex carries place 4: byte 4 guesses homemade, the block says regular.
    SetFirstHex(*map, 4, 0, 0, 0);
    const QByteArray regular = EncodeMapFile(*map) + tail;
    QCOMPARE(GuessScenarioLayout(regular), ScenarioLayout::Homemade);
    QCOMPARE(DecideScenarioLayout(regular), std::optional(ScenarioLayout::Regular));
    QCOMPARE(UndecidedScenarioLayout(regular), QString());

    // A homemade scenario with 255 names: byte 4 guesses regular, the block says homemade, stale table or not.
    const QByteArray homemade = HomemadeBlock(*map, QList<QByteArray>(255, QByteArray("Name")));
    QCOMPARE(GuessScenarioLayout(homemade), ScenarioLayout::Regular);
    QCOMPARE(DecideScenarioLayout(homemade + tail), std::optional(ScenarioLayout::Homemade));
    QCOMPARE(DecideScenarioLayout(WithStaleTable(homemade, homemade.size() - SetUsageTableSize) + tail),
             std::optional(ScenarioLayout::Homemade));

    // Both or neither: nothing is decided, and the user is told which.
    SetFirstHex(*map, 0, 0, 0, 0);
    const QByteArray both = EncodeMapFile(*map) + tail;
    QCOMPARE(DecideScenarioLayout(both), std::nullopt);
    QCOMPARE(UndecidedScenarioLayout(both), QStringLiteral("It reads as both a regular and a homemade (HM) scenario."));
    SetFirstHex(*map, 255, 127, 0, 0);
    const QByteArray stale = EncodeMapFile(*map);
    const QByteArray neither = WithStaleTable(stale, stale.size() - SetUsageTableSize) + tail;
    QCOMPARE(DecideScenarioLayout(neither), std::nullopt);
    QCOMPARE(UndecidedScenarioLayout(neither), QStringLiteral("It reads as neither a regular nor a homemade (HM) scenario."));
}

void ScenarioFileTest::regularLoadReadsTheMapBlockOnly()
{
    auto source = RegularMap(10, 8, 2);
    const QByteArray scenario = EncodeMapFile(*source) + RandomBytes(4000, 3);
    auto map = RandomMap(72, 70, 4);
    const auto before = std::make_unique<MapStore>(*map);
    PlaceTable places = Names({"Kept"});
    int count = 9;
    QCOMPARE(DecodeScenarioMap(scenario, ScenarioLayout::Regular, *map, places, count).outcome, LoadResult::Complete);
    QCOMPARE(map->MapWidth, 10);
    QCOMPARE(map->MapHeight, 8);
    QCOMPARE(count, 0);
    QCOMPARE(places, Names({"Kept"}));
    for (int y = 0; y < 70; ++y)
        for (int x = 0; x < 72; ++x)
            QCOMPARE(ReadHex(*map, x, y), x < 10 && y < 8 ? ReadHex(*source, x, y) : ReadHex(*before, x, y));
}

void ScenarioFileTest::homemadeLoadReadsNamesAndPlaceCoordinates()
{
    auto source = RandomMap(6, 5, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) {
            source->at(PlaceIndex, x, y) = 255;
            source->at(PlaceIndexHigh, x, y) = 127;
        }
    const auto carry = [&](int x, int y, int place) {
        source->at(PlaceIndex, x, y) = std::uint8_t(place % 256);
        source->at(PlaceIndexHigh, x, y) = std::uint8_t(place / 256);
    };
    carry(1, 0, 0);
    carry(4, 3, 0); // the later hex wins
    carry(2, 1, 2);
    carry(5, 4, 258); // place 258: PlaceIndex 2, PlaceIndexHigh 1
    carry(0, 4, 3);   // no such place
    const QByteArray thirty(30, 'T');
    const QByteArray scenario = HomemadeBlock(*source, {"Port Moresby", thirty, "Lae"}) + RandomBytes(500, 6);
    QCOMPARE(GuessScenarioLayout(scenario), ScenarioLayout::Homemade);

    auto map = testing::BlankMap(72, 70);
    PlaceTable places(9);
    places.setCell(0, 7, QStringLiteral("old"));
    int count = 0;
    QCOMPARE(DecodeScenarioMap(scenario, ScenarioLayout::Homemade, *map, places, count).outcome, LoadResult::Complete);
    QCOMPARE(count, 3);
    QCOMPARE(places.rowCount(), 4);
    QCOMPARE(places.cell(0, 0), QStringLiteral("  X"));
    QCOMPARE(places.cell(1, 0), QStringLiteral("  Y"));
    QCOMPARE(places.cell(2, 0), QStringLiteral("  Name"));
    QCOMPARE(places.cell(2, 1), QStringLiteral("Port Moresby"));
    QCOMPARE(places.cell(2, 2), QString::fromLatin1(thirty)); // no terminating 0: ends at 30
    QCOMPARE(places.cell(2, 3), QStringLiteral("Lae"));
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x)
            QCOMPARE(ReadHex(*map, x, y), ReadHex(*source, x, y));

    SetPlaceCoordinates(*map, count, places);
    QCOMPARE(places.cell(0, 1), QStringLiteral("4"));
    QCOMPARE(places.cell(1, 1), QStringLiteral("3"));
    QCOMPARE(places.cell(0, 2), QString()); // no hex carries place 1
    QCOMPARE(places.cell(1, 2), QString());
    QCOMPARE(places.cell(0, 3), QStringLiteral("2"));
    QCOMPARE(places.cell(1, 3), QStringLiteral("1"));
    QCOMPARE(places.rowCount(), 4);
}

void ScenarioFileTest::refusedLoadsChangeNothing_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("homemade");
    QTest::addColumn<QString>("reason");
    auto map = RandomMap(3, 3, 7);
    const QByteArray block = EncodeMapFile(*map);
    QTest::newRow("three bytes") << block.left(3) << false << "too short";
    QTest::newRow("width 73") << QByteArray("\x49\x00\x05\x00", 4) + QByteArray(2000, '\xff') << false << "73 x 5";
    QTest::newRow("height 0") << QByteArray("\x05\x00\x00\x00", 4) + QByteArray(2000, '\xff') << true << "5 x 0";
    QTest::newRow("no place count") << block.left(6) << true << "place count";
    QTest::newRow("negative place count") << block.left(4) + Int32(-1) + block.mid(4) << true << "-1";
    QTest::newRow("names past the end") << block.left(4) + Int32(100) + QByteArray(30 * 99, 'a') << true << "100";
    QTest::newRow("huge place count") << block.left(4) + Int32(0x7fffffff) + block.mid(4) << true << "2147483647";
}

void ScenarioFileTest::refusedLoadsChangeNothing()
{
    QFETCH(QByteArray, data);
    QFETCH(bool, homemade);
    QFETCH(QString, reason);
    auto map = RandomMap(9, 9, 8);
    const auto before = std::make_unique<MapStore>(*map);
    PlaceTable places = Names({"a", "b"});
    int count = 2;
    const LoadResult result = DecodeScenarioMap(data, homemade ? ScenarioLayout::Homemade : ScenarioLayout::Regular, *map, places, count);
    QCOMPARE(result.outcome, LoadResult::Refused);
    QVERIFY2(result.message.text.contains(reason), qPrintable(result.message.text));
    QVERIFY(map->bytes == before->bytes);
    QCOMPARE(map->MapWidth, 9);
    QCOMPARE(places, Names({"a", "b"}));
    QCOMPARE(count, 2);
}

void ScenarioFileTest::regularSaveRewritesExactlyTheMapBlock()
{
    const QString scn = path(QStringLiteral("regular.scn"));
    const QByteArray tail = RandomBytes(5000, 9);
    const QByteArray original = EncodeMapFile(*RegularMap(10, 8, 10)) + tail;
    Write(scn, original);

    auto map = RegularMap(10, 8, 11);
    const ScenarioSave save = PrepareScenarioSave(scn, *map, ScenarioLayout::Regular, PlaceTable(), 0);
    QVERIFY(save.refusal.isEmpty());
    QVERIFY(save.question.isEmpty());
    QCOMPARE(Contents(scn), original); // nothing written before commit
    QCOMPARE(save.commit(), QString());

    const QByteArray written = Contents(scn);
    QCOMPARE(written.size(), original.size());
    QCOMPARE(written.left(3065), EncodeMapFile(*map)); // 4 + 37 * 80 + 101 bytes
    QCOMPARE(written.mid(3065), tail);

    // Read back, every plane of every hex is the saved one.
    auto loaded = testing::BlankMap(72, 70);
    PlaceTable places;
    int count = 0;
    QCOMPARE(DecodeScenarioMap(written, ScenarioLayout::Regular, *loaded, places, count).outcome, LoadResult::Complete);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x)
            QCOMPARE(ReadHex(*loaded, x, y), ReadHex(*map, x, y));
}

void ScenarioFileTest::homemadeSaveWritesThirtyByteNames()
{
    const QString scn = path(QStringLiteral("homemade.scn"));
    auto old = RandomMap(7, 6, 12);
    const QByteArray tail = RandomBytes(3000, 13);
    Write(scn, HomemadeBlock(*old, {"one", "two", "three"}) + tail);

    auto map = RandomMap(7, 6, 14);
    const QString thirty(30, u'x');
    const QString longer = QStringLiteral("A name that runs past thirty characters");
    const PlaceTable places = Names({thirty, longer, QString()});
    const ScenarioSave save = PrepareScenarioSave(scn, *map, ScenarioLayout::Homemade, places, 3);
    QVERIFY2(save.refusal.isEmpty(), qPrintable(save.refusal.text));
    QVERIFY(save.question.isEmpty());
    QCOMPARE(save.commit(), QString());

    const QByteArray written = Contents(scn);
    const QByteArray mapFile = EncodeMapFile(*map);
    const QByteArray expectedBlock = mapFile.left(4) + Int32(3) + thirty.toLatin1() + longer.toLatin1().left(30) +
                                     QByteArray(30, '\0') + mapFile.mid(4);
    QCOMPARE(written, expectedBlock + tail);
    QCOMPARE(EncodeScenarioMapBlock(*map, ScenarioLayout::Homemade, places, 3), expectedBlock);
    QCOMPARE(ScenarioBlockSize(7, 6, ScenarioLayout::Homemade, 3), expectedBlock.size());

    auto loaded = testing::BlankMap(72, 70);
    PlaceTable read;
    int count = 0;
    QCOMPARE(DecodeScenarioMap(written, ScenarioLayout::Homemade, *loaded, read, count).outcome, LoadResult::Complete);
    QCOMPARE(read.cell(2, 1), thirty);
    QCOMPARE(read.cell(2, 2), longer.left(30));
    QCOMPARE(read.cell(2, 3), QString());
}

void ScenarioFileTest::saveRefusals()
{
    auto map = RegularMap(10, 8, 15);
    const auto refusal = [&](const QString &file, ScenarioLayout layout, int placeCount, const PlaceTable &places = {}) {
        const ScenarioSave save = PrepareScenarioSave(file, *map, layout, places, placeCount);
        // A refused save cannot be committed either.
        if (!save.refusal.isEmpty() && save.commit().isEmpty())
            return UserMessage{QStringLiteral("committed"), QStringLiteral("a refused save wrote the file")};
        return save.refusal;
    };

    // Another size: the size message, W, H, FW, FH in that order.
    const QString other = path(QStringLiteral("other.scn"));
    const QByteArray otherContent = EncodeMapFile(*RegularMap(12, 9, 16)) + RandomBytes(100, 17);
    Write(other, otherContent);
    UserMessage message = refusal(other, ScenarioLayout::Regular, 0);
    QCOMPARE(message.caption, QStringLiteral("Scenario Save Aborted!"));
    QCOMPARE(message.text, QStringLiteral("This map is 10x8 but\n the scenario map is 12x9.\n     SAVE ABORTED."));
    QCOMPARE(Contents(other), otherContent);

    // No such file: nothing is created.
    const QString missing = path(QStringLiteral("missing.scn"));
    message = refusal(missing, ScenarioLayout::Regular, 0);
    QCOMPARE(message.caption, QStringLiteral("No Such Scenario File"));
    QCOMPARE(message.text, QStringLiteral("There is no file:\n") + missing +
                               QStringLiteral("\nYou must save into an existing      scenario file."));
    QVERIFY(!QFile::exists(missing));

    // A homemade save whose place count differs from the scenario's would shift the rest of it.
    const QString homemade = path(QStringLiteral("count.scn"));
    const QByteArray homemadeContent = HomemadeBlock(*map, {"a", "b", "c"}) + RandomBytes(700, 18);
    Write(homemade, homemadeContent);
    for (const int count : {2, 4}) {
        message = refusal(homemade, ScenarioLayout::Homemade, count, Names({"a", "b", "c", "d"}));
        QCOMPARE(message.caption, QStringLiteral("Scenario Save Aborted!"));
        QVERIFY2(message.text.contains(QStringLiteral("%1 place names").arg(count)) && message.text.contains(QLatin1String("has 3")),
                 qPrintable(message.text));
        QCOMPARE(Contents(homemade), homemadeContent);
    }

    // A file shorter than the map block it would get: not a scenario of this map.
    const QString cut = path(QStringLiteral("cut.scn"));
    const QByteArray cutContent = EncodeMapFile(*map).left(3000);
    Write(cut, cutContent);
    message = refusal(cut, ScenarioLayout::Regular, 0);
    QVERIFY2(message.text.contains(QLatin1String("3000")) && message.text.contains(QLatin1String("3065")), qPrintable(message.text));
    QCOMPARE(Contents(cut), cutContent);

    // A folder is no scenario.
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.scn")));
    QVERIFY(!refusal(path(QStringLiteral("folder.scn")), ScenarioLayout::Regular, 0).isEmpty());
}

void ScenarioFileTest::extensionQuestionIsCaseSensitive()
{
    const UserMessage upper = ScenarioExtensionQuestion(QStringLiteral("/games/ISLAND.SCN"));
    QCOMPARE(upper.caption, QStringLiteral("Extension is not SCN"));
    QCOMPARE(upper.text, QStringLiteral("/games/ISLAND.SCN \nmay not be a scenario file.\n Proceed?"));
    QVERIFY(ScenarioExtensionQuestion(QStringLiteral("/games/island.scn")).isEmpty());
    QVERIFY(ScenarioExtensionQuestion(QStringLiteral("/games/island.scn.old")).isEmpty()); // anywhere in the path
    QVERIFY(ScenarioExtensionQuestion(QStringLiteral("/games/old.scn/island.dat")).isEmpty());
    QVERIFY(!ScenarioExtensionQuestion(QStringLiteral("/games/island.map")).isEmpty());
}

void ScenarioFileTest::saveIntoTheOtherLayoutAsksFirst()
{
    auto map = RandomMap(5, 5, 19);
    map->at(PlaceIndex, 0, 0) = 3;

    // A regular save into a scenario whose byte 4 is not 255 asks the loader's question.
    const QString named = path(QStringLiteral("named.scn"));
    const QByteArray tail = RandomBytes(300, 20);
    Write(named, EncodeMapFile(*map) + tail);
    ScenarioSave save = PrepareScenarioSave(named, *map, ScenarioLayout::Regular, PlaceTable(), 0);
    QVERIFY(save.refusal.isEmpty());
    QCOMPARE(save.question.caption, QStringLiteral("Warning! Bad file format?"));
    QCOMPARE(save.question.text, NotBuiltin);
    QCOMPARE(save.commit(), QString()); // OK goes on
    QCOMPARE(Contents(named), EncodeMapFile(*map) + tail);

    // A homemade save into a scenario with 255 names asks too.
    const QString many = path(QStringLiteral("many.scn"));
    const QList<QByteArray> names(255, QByteArray("x"));
    Write(many, HomemadeBlock(*map, names) + tail);
    PlaceTable places(256);
    save = PrepareScenarioSave(many, *map, ScenarioLayout::Homemade, places, 255);
    QVERIFY(save.refusal.isEmpty());
    QCOMPARE(save.question.text, NotHomemade);

    // A homemade save into a regular scenario: its "place count" is hex (0, 0), which cannot match.
    map->at(PlaceIndex, 0, 0) = 255;
    const QString regular = path(QStringLiteral("regular2.scn"));
    const QByteArray regularContent = EncodeMapFile(*map) + tail;
    Write(regular, regularContent);
    save = PrepareScenarioSave(regular, *map, ScenarioLayout::Homemade, Names({"a"}), 1);
    QCOMPARE(save.refusal.caption, QStringLiteral("Scenario Save Aborted!"));
    QVERIFY(!save.commit().isEmpty());
    QCOMPARE(Contents(regular), regularContent);
}

void ScenarioFileTest::saveIntoAScenarioOfTheOtherLayoutIsRefused()
{
    const QByteArray tail = RandomBytes(500, 24);

    // A regular save into a homemade scenario would destroy its names: refused, no question.
    auto map = RandomMap(6, 4, 25);
    const QString homemade = path(QStringLiteral("homemade.scn"));
    const QByteArray homemadeContent = HomemadeBlock(*map, {"Lae", "Madang", "A name of thirty characters!!!"}) + tail;
    Write(homemade, homemadeContent);
    ScenarioSave save = PrepareScenarioSave(homemade, *map, ScenarioLayout::Regular, PlaceTable(), 0);
    QCOMPARE(save.refusal.caption, QStringLiteral("Scenario Save Aborted!"));
    QCOMPARE(save.refusal.text, QStringLiteral("This scenario holds a homemade map with 3 place names. Saving a regular map\n"
                                               " into it would overwrite them and misalign the rest of the scenario.\n"
                                               "     SAVE ABORTED."));
    QVERIFY(save.question.isEmpty());
    QVERIFY(!save.commit().isEmpty());
    QCOMPARE(Contents(homemade), homemadeContent);

    // A homemade save of one place into a regular scenario whose first hex reads as that count.
    for (int p = 0; p < 4; ++p)
        map->at(p, 0, 0) = p == 0 ? 1 : 0;
    const QString regular = path(QStringLiteral("regular.scn"));
    const QByteArray regularContent = EncodeMapFile(*map) + tail;
    Write(regular, regularContent);
    save = PrepareScenarioSave(regular, *map, ScenarioLayout::Homemade, Names({"Lae"}), 1);
    QCOMPARE(save.refusal.text, QStringLiteral("This scenario holds a regular map. Saving a homemade map into it\n"
                                               " would misalign the rest of the scenario.\n     SAVE ABORTED."));
    QVERIFY(!save.commit().isEmpty());
    QCOMPARE(Contents(regular), regularContent);

    // The same save into itself in its own layout goes on (after the question byte 4 asks).
    save = PrepareScenarioSave(regular, *map, ScenarioLayout::Regular, PlaceTable(), 0);
    QVERIFY(save.refusal.isEmpty());
    QCOMPARE(save.question.text, NotBuiltin);
}

void ScenarioFileTest::regularSaveIntoAHomemadeScenarioWithAStaleTableIsRefused()
{
    auto map = RandomMap(6, 4, 44);
    const QByteArray block = HomemadeBlock(*map, {"Lae", "Madang"});
    const QByteArray tail = RandomBytes(400, 45);
    const QString scn = path(QStringLiteral("stale.scn"));
    const QByteArray content = WithStaleTable(block, block.size() - SetUsageTableSize) + tail;
    Write(scn, content);

    const ScenarioSave save = PrepareScenarioSave(scn, *map, ScenarioLayout::Regular, PlaceTable(), 0);
    QCOMPARE(save.refusal.caption, QStringLiteral("Scenario Save Aborted!"));
    QVERIFY2(save.refusal.text.contains(QLatin1String("homemade map with 2 place names")), qPrintable(save.refusal.text));
    QVERIFY(save.question.isEmpty());
    QVERIFY(!save.commit().isEmpty());
    QCOMPARE(Contents(scn), content);

    // Its own layout may still be saved, and rewrites the table.
    const ScenarioSave own = PrepareScenarioSave(scn, *map, ScenarioLayout::Homemade, Names({"Lae", "Madang"}), 2);
    QVERIFY2(own.refusal.isEmpty(), qPrintable(own.refusal.text));
    QCOMPARE(own.commit(), QString());
    QCOMPARE(Contents(scn), block + tail);
}

void ScenarioFileTest::aFailedWriteLeavesTheScenarioAsItWas()
{
    const QString scn = path(QStringLiteral("precious.scn"));
    const QByteArray original = EncodeMapFile(*RegularMap(20, 20, 21)) + RandomBytes(20000, 22);
    Write(scn, original);
    const ScenarioSave save = PrepareScenarioSave(scn, *RegularMap(20, 20, 23), ScenarioLayout::Regular, PlaceTable(), 0);
    QVERIFY(save.refusal.isEmpty());

    // Files may not grow past 4 KiB while the save runs, so the new content cannot be written
    // whole (this holds for root too).
    struct rlimit saved {};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    const QString error = save.commit();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    QVERIFY2(error.startsWith(scn), qPrintable(error));
    QCOMPARE(Contents(scn), original);
    QCOMPARE(QDir(dir.path()).entryList({QStringLiteral("*precious*")}, QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("precious.scn")});
}

QTEST_GUILESS_MAIN(ScenarioFileTest)
#include "tst_scenario_file.moc"
