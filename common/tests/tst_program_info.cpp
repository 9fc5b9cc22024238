// --help, --version and file:// arguments, answered the same way by all four programs.

#include "program_info.h"

#include <QTest>

#include <vector>

namespace {

const char *const Help = "Usage: prog [FILE]\n";

std::optional<std::string> Answer(std::vector<const char *> args, const char *program = "prog")
{
    args.insert(args.begin(), "/usr/bin/prog");
    return HelpOrVersionText(int(args.size()), args.data(), program, Help);
}

} // namespace

class TestProgramInfo : public QObject
{
    Q_OBJECT

private slots:
    void versionLineNamesProgramPackageAndRelease()
    {
        // help2man takes "program (package) version"; the release is the one the window caption shows.
        QCOMPARE(Answer({"--version"}, "vantor"), std::optional<std::string>("vantor (Vantor) 0.50b\n"));
        QCOMPARE(Answer({"--version"}, "dovrel-cli"), std::optional<std::string>("dovrel-cli (Vantor) 0.50b\n"));
    }

    void helpIsAskedForAnywhereBeforeTheEndOfOptions()
    {
        QCOMPARE(Answer({"--help"}), std::optional<std::string>(Help));
        QCOMPARE(Answer({"-h"}), std::optional<std::string>(Help));
        QCOMPARE(Answer({"render", "island.map", "--help"}), std::optional<std::string>(Help));
        // The first one asked for is answered.
        QCOMPARE(Answer({"--version", "--help"}), std::optional<std::string>("prog (Vantor) 0.50b\n"));
        QCOMPARE(Answer({"-h", "--version"}), std::optional<std::string>(Help));
    }

    void otherArgumentsAskForNothing()
    {
        QCOMPARE(Answer({}), std::nullopt);
        QCOMPARE(Answer({"island.map"}), std::nullopt);
        QCOMPARE(Answer({"--helpful", "-help", "--versions", "help", "-V"}), std::nullopt);
        // After "--" every word is a file, even one named like an option.
        QCOMPARE(Answer({"--", "--help"}), std::nullopt);
        QCOMPARE(Answer({"island.map", "--", "--version"}), std::nullopt);
    }

    void fileUrlsBecomeLocalPaths_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("path");
        QTest::newRow("plain") << "file:///home/ann/island.map" << "/home/ann/island.map";
        QTest::newRow("escaped space") << "file:///tmp/my%20map.amf" << "/tmp/my map.amf";
        QTest::newRow("escaped hash") << "file:///tmp/a%23b.scn" << "/tmp/a#b.scn";
        QTest::newRow("UTF-8") << "file:///tmp/%C3%AEle.map" << QStringLiteral("/tmp/\u00eele.map");
        QTest::newRow("upper-case scheme") << "FILE:///tmp/island.map" << "/tmp/island.map";
        QTest::newRow("localhost") << "file://localhost/tmp/island.map" << "/tmp/island.map";
    }
    void fileUrlsBecomeLocalPaths()
    {
        QFETCH(QString, argument);
        QFETCH(QString, path);
        QCOMPARE(LocalFileArgument(argument), path);
    }

    void otherArgumentsAreTakenAsTheyAre_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::newRow("absolute path") << "/tmp/my%20map.map";
        QTest::newRow("relative path") << "maps/island.map";
        QTest::newRow("name starting with file") << "file-list.map";
        QTest::newRow("remote URL") << "https://example.org/island.map";
        QTest::newRow("empty") << "";
    }
    void otherArgumentsAreTakenAsTheyAre()
    {
        QFETCH(QString, argument);
        QCOMPARE(LocalFileArgument(argument), argument);
    }
};

QTEST_APPLESS_MAIN(TestProgramInfo)
#include "tst_program_info.moc"
