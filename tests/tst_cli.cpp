// SPDX-License-Identifier: GPL-2.0-or-later
#include <QtTest>
#include <cstdio>
#include <sys/stat.h>

#include "catalogue_fixture.h"
#include "caughtoutput.h"
#include "clicommands.h"
#include "settingsstore.h"
#include "standinengine.h"

namespace {

struct Run {
    int status = -1;
    QByteArray out;
    QByteArray err;
};


} // namespace

// Runs the commands of cvarden-cli in this process, on a store of their own;
// what only the program as a whole does (its command line, the bytes a shell
// hands it, a full output) runs the real cvarden-cli.
class CliTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString catalogue;

    QString storePath() const { return dir.filePath("config/Cvarden/Cvarden.conf"); }

    // The words as they follow "cvarden-cli", "--catalogue FILE" first if at all.
    Run cli(QStringList words)
    {
        QString cataloguePath = catalogue;
        if (words.value(0) == "--catalogue") {
            cataloguePath = words.value(1);
            words = words.mid(2);
        }
        cvarden::SettingsStore store(storePath());
        const Caught out;
        const Caught err;
        cvarden::CliContext context{cataloguePath.toStdString(), {}, store, dir.filePath("data/versions").toStdString(),
                                    out.file(), err.file(), {}};
        for (const QString &word : words.mid(1))
            context.arguments.push_back(word.toStdString());
        const int status = cvarden::RunCliCommand(words.value(0).toStdString(), context);
        return {status, out.bytes(), err.bytes()};
    }

    Run program(const QStringList &arguments, const QString &shellLine = {})
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", dir.filePath("config"));
        environment.insert("XDG_DATA_HOME", dir.filePath("data"));
        process.setProcessEnvironment(environment);
        if (shellLine.isEmpty())
            process.start(QCoreApplication::applicationDirPath() + "/cvarden-cli",
                          QStringList{"--catalogue", catalogue} + arguments);
        else
            process.start("/bin/sh",
                          {"-c", shellLine, QCoreApplication::applicationDirPath() + "/cvarden-cli", catalogue});
        if (!process.waitForFinished(60000))
            return {};
        return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
    }

    // The shipped catalogue, with the engine facts beside it.
    void useShippedCatalogue()
    {
        for (const char *name : {"options.dat", "models.txt", "engines.dat"}) {
            QFile::remove(dir.filePath(name));
            QVERIFY(QFile::copy(QString(CVARDEN_SAMPLE_DATA "/") + name, dir.filePath(name)));
        }
        catalogue = dir.filePath("options.dat");
    }

private slots:
    void init()
    {
        QDir(dir.filePath("config")).removeRecursively();
        QDir(dir.filePath("data")).removeRecursively();
        QFile::remove(dir.filePath("options.dat"));
        QVERIFY(QFile::copy(CVARDEN_TEST_DATA "/worked-example.dat", dir.filePath("options.dat")));
        catalogue = dir.filePath("options.dat");
    }

    void listShowsEveryOptionWithItsCurrentValue()
    {
        QCOMPARE(cli({"set", "Full screen", "0"}).status, 0);
        const Run run = cli({"list"});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, QByteArray("Display\tBrightness\tvid_bright\tVALUE\t1.0\n"
                                     "Display\tFull screen\tvid_full\tCHECK\t0\n"
                                     "Sound\tMixing rate\tsnd_rate\tCOMBO\t22\n"));
    }

    void listChangedShowsOnlyOptionsOffTheirDefault_data()
    {
        QTest::addColumn<QStringList>("stored"); // name=value
        QTest::addColumn<QByteArray>("out");
        QTest::newRow("nothing stored") << QStringList{} << QByteArray();
        QTest::newRow("defaults stored") << QStringList{"Brightness=1.0", "Mixing rate=22"} << QByteArray();
        QTest::newRow("two changed, one not")
            << QStringList{"Brightness=1.0 ", "Full screen=0", "Mixing rate=22"}
            << QByteArray("Display\tBrightness\tvid_bright\tVALUE\t1.0 \n"
                          "Display\tFull screen\tvid_full\tCHECK\t0\n");
        // Left in the store by an earlier catalogue: set refuses such names now.
        QTest::newRow("names outside the catalogue are no options") << QStringList{"!Other=1"} << QByteArray();
    }

    void listChangedShowsOnlyOptionsOffTheirDefault()
    {
        QFETCH(QStringList, stored);
        QFETCH(QByteArray, out);
        for (const QString &pair : stored) {
            if (pair.startsWith('!')) {
                QSettings raw(storePath(), QSettings::IniFormat);
                raw.setValue("Q3A/" + pair.mid(1).section('=', 0, 0), pair.section('=', 1));
                continue;
            }
            QCOMPARE(cli({"set", pair.section('=', 0, 0), pair.section('=', 1)}).status, 0);
        }
        const Run run = cli({"list", "--changed"});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, out);
    }

    void exportWhileTheGameRuns_data()
    {
        QTest::addColumn<QString>("engine"); // empty: none runs
        QTest::addColumn<QStringList>("flags");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("written");
        QTest::addColumn<QByteArray>("said");
        QTest::newRow("no engine: written, nothing said") << "" << QStringList{} << 0 << true << QByteArray();
        QTest::newRow("no engine, only if it is stopped: written")
            << "" << QStringList{"--if-game-stopped"} << 0 << true << QByteArray();
        QTest::newRow("an engine: written, with a warning")
            << "quake3e.x64" << QStringList{} << 0 << true << QByteArray("warning: the game is running (quake3e.x64)");
        QTest::newRow("an engine, only if it is stopped: refused")
            << "openarena.x86_64" << QStringList{"--if-game-stopped"} << 1 << false
            << QByteArray("the game is running (openarena.x86_64)");
        QTest::newRow("Debian's ioquake3, only if it is stopped: refused")
            << "ioquake3" << QStringList{"--if-game-stopped"} << 1 << false
            << QByteArray("the game is running (ioquake3)");
        QTest::newRow("OpenArena's server by its bare name, only if it is stopped: refused")
            << "oa_ded" << QStringList{"--if-game-stopped"} << 1 << false << QByteArray("the game is running (oa_ded)");
        QTest::newRow("a program named like an engine with more: written")
            << "quake3edit" << QStringList{"--if-game-stopped"} << 0 << true << QByteArray();
        QTest::newRow("an engine, a dry run: nothing to warn of")
            << "quake3e.x64" << QStringList{"--dry-run", "--if-game-stopped"} << 0 << false << QByteArray();
    }

    void exportWhileTheGameRuns()
    {
        QFETCH(QString, engine);
        QFETCH(QStringList, flags);
        QFETCH(int, status);
        QFETCH(bool, written);
        QFETCH(QByteArray, said);
        const std::string before = "seta vid_bright \"2.0\"\n";
        const QString config = writeTestFile(dir, "q3config.cfg", before);
        std::unique_ptr<StandInEngine> running;
        if (!engine.isEmpty())
            running = std::make_unique<StandInEngine>(engine);
        const Run run = cli(QStringList{"export"} + flags + QStringList{config});
        QCOMPARE(run.status, status);
        QCOMPARE(readTestFile(config) != before, written);
        if (said.isEmpty()) {
            QCOMPARE(run.err, QByteArray());
        } else {
            QVERIFY2(run.err.contains(said), run.err);
            QVERIFY2(run.err.contains(config.toLocal8Bit()), run.err);
        }
    }

    // The game writes its file again when it quits, over what was put back.
    void restoreWhileTheGameRuns_data()
    {
        QTest::addColumn<QString>("engine"); // empty: none runs
        QTest::addColumn<QStringList>("flags");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("restored");
        QTest::addColumn<QByteArray>("said");
        QTest::newRow("no engine: restored, nothing said") << "" << QStringList{} << 0 << true << QByteArray();
        QTest::newRow("no engine, only if it is stopped: restored")
            << "" << QStringList{"--if-game-stopped"} << 0 << true << QByteArray();
        QTest::newRow("an engine: restored, with a warning")
            << "quake3e.x64" << QStringList{} << 0 << true << QByteArray("warning: the game is running (quake3e.x64)");
        QTest::newRow("an engine, only if it is stopped: refused")
            << "ioquake3.x86_64" << QStringList{"--if-game-stopped"} << 1 << false
            << QByteArray("the game is running (ioquake3.x86_64)");
    }

    void restoreWhileTheGameRuns()
    {
        QFETCH(QString, engine);
        QFETCH(QStringList, flags);
        QFETCH(int, status);
        QFETCH(bool, restored);
        QFETCH(QByteArray, said);
        const std::string kept = "seta vid_bright \"2.0\"\n";
        const QString config = writeTestFile(dir, "q3config.cfg", kept);
        QCOMPARE(cli({"export", config}).status, 0);
        const std::string saved = readTestFile(config);
        std::unique_ptr<StandInEngine> running;
        if (!engine.isEmpty())
            running = std::make_unique<StandInEngine>(engine);
        const Run run = cli(QStringList{"restore"} + flags + QStringList{config, "1"});
        QCOMPARE(run.status, status);
        QCOMPARE(readTestFile(config), restored ? kept : saved);
        if (said.isEmpty()) {
            QCOMPARE(run.err, QByteArray());
        } else {
            QVERIFY2(run.err.contains(said), run.err);
            QVERIFY2(run.err.contains(config.toLocal8Bit()), run.err);
        }
    }

    void getGivesTheStoredValueElseTheDefault()
    {
        QCOMPARE(cli({"get", "Brightness"}).out, QByteArray("1.0\n"));
        QCOMPARE(cli({"set", "Brightness", " 1.5 "}).status, 0);
        QCOMPARE(cli({"get", "Brightness"}).out, QByteArray(" 1.5 \n"));
        const Run unknown = cli({"get", "Nothing"});
        QCOMPARE(unknown.status, 1);
        QVERIFY2(unknown.err.contains("Nothing"), unknown.err);
    }

    // A typo must neither store a value no option reads nor pass for one.
    void unknownNamesAreRefusedWithTheClosest_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("set, a letter left out")
            << QStringList{"set", "Brightnes", "2"} << "no option is named \"Brightnes\"; did you mean \"Brightness\"?";
        QTest::newRow("get, in other letter case")
            << QStringList{"get", "full screen"} << "did you mean \"Full screen\"?";
        QTest::newRow("set, a part of the name") << QStringList{"set", "rate", "44"} << "did you mean \"Mixing rate\"?";
        QTest::newRow("set, nothing like any option")
            << QStringList{"set", "Sensitivity", "4"} << "no option is named \"Sensitivity\" (\"cvarden-cli list\"";
    }

    void unknownNamesAreRefusedWithTheClosest()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        const Run run = cli(arguments);
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains(message.toLatin1()), run.err);
        QVERIFY(!QFile::exists(storePath()));
    }

    void namesAndValuesAreBytes()
    {
        catalogue = writeTestFile(dir, "bytes.dat", "A\r\n---\r\nA\r\na/b\\\351\r\nd\r\nv\r\nx\r\nVALUE\r\n1\r\n");
        // High bytes that are no UTF-8, straight from the shell.
        const Run set = program({}, R"sh(exec "$0" --catalogue "$1" set "$(printf 'a/b\\\351')" "$(printf '\377\300 x')")sh");
        QCOMPARE(set.status, 0);
        const Run get = program({}, R"sh(exec "$0" --catalogue "$1" get "$(printf 'a/b\\\351')")sh");
        QCOMPARE(get.out, QByteArray("\377\300 x\n"));
    }

    void importTellsHowManyValuesItTook()
    {
        const QString config = writeTestFile(dir, "q3config.cfg", "seta vid_bright \"2.0\"\nseta snd_rate \"44\"\n");
        const Run run = cli({"import", config});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, ("2 settings read; 2 differ from your values (" + config + ")\n").toLocal8Bit());
        QCOMPARE(cli({"get", "Mixing rate"}).out, QByteArray("44\n"));
    }

    void exportTellsWhatItReplacedAndAdded()
    {
        const QString config = writeTestFile(dir, "q3config.cfg", "seta vid_bright \"2.0\"\n");
        const Run run = cli({"export", config});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, ("1 setting changed, 2 added at their default, 0 already right (" + config + ")\n").toLocal8Bit());
        QCOMPARE(readTestFile(config), std::string("seta vid_bright \"1.0\"\nseta vid_full \"1\"\nseta snd_rate \"22\"\n"));
    }

    // What autoexec.cfg sets again is told by get, shown by the preview and,
    // when asked, written into autoexec.cfg too.
    void laterFilesAreToldAndCanBeWritten()
    {
        QVERIFY(QDir().mkpath(dir.filePath("game")));
        const QString config = writeTestFile(dir, "game/q3config.cfg", "seta vid_full \"1\"\n");
        const QString autoexec = writeTestFile(dir, "game/autoexec.cfg", "set vid_bright 0.5 // mine\n");
        // Brightness, never set, is left to autoexec.cfg: not added, so an Open
        // cannot take a default for the player's own and write it over 0.5.
        const Run first = cli({"export", config});
        QVERIFY2(first.out.contains("1 left to the other files the game runs, which sets it"), first.out);
        QCOMPARE(cli({"import", config}).status, 0);
        const Run get = cli({"get", "Brightness"});
        QCOMPARE(get.out, QByteArray("1.0\n"));
        QVERIFY2(get.err.contains("autoexec.cfg line 1 sets it to \"0.5\""), get.err);
        QVERIFY(!cli({"export", "--dry-run", "--into-later-files", config}).out.contains("autoexec.cfg"));

        QCOMPARE(cli({"set", "Brightness", "1.5"}).status, 0);
        const Run preview = cli({"export", "--dry-run", "--into-later-files", config});
        QVERIFY2(preview.out.contains("\n-set vid_bright 0.5 // mine\n+set vid_bright \"1.5\" // mine\n"), preview.out);
        QVERIFY2(preview.out.contains("The value of 1 option would be written into \"autoexec.cfg\" as well."), preview.out);
        QCOMPARE(readTestFile(autoexec), std::string("set vid_bright 0.5 // mine\n"));

        QCOMPARE(cli({"export", "--into-later-files", config}).status, 0);
        QCOMPARE(readTestFile(autoexec), std::string("set vid_bright \"1.5\" // mine\n"));
        QCOMPARE(cli({"get", "Brightness"}).err, QByteArray());
        // Values rewritten as they stand show no line.
        QCOMPARE(cli({"export", "--dry-run", config}).out,
                 QByteArray("Nothing changed: the file already held every value\n"));
    }

    void dryRunShowsTheChangeAndWritesNothing()
    {
        const std::string before = "// mine\nseta vid_bright \"2.0\"\n";
        const QString config = writeTestFile(dir, "preview.cfg", before);
        const Run run = cli({"export", "--dry-run", config});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, ("1 setting changed, 2 added at their default, 0 already right\n"
                           "  Brightness: \"2.0\" -> \"1.0\"\n"
                           "--- " + config + "\n+++ " + config + " (after export)\n"
                           "@@ -1,2 +1,4 @@\n"
                           " // mine\n"
                           "-seta vid_bright \"2.0\"\n"
                           "+seta vid_bright \"1.0\"\n"
                           "+seta vid_full \"1\"\n"
                           "+seta snd_rate \"22\"\n").toLocal8Bit());
        QCOMPARE(readTestFile(config), before);
        QVERIFY(!QFile::exists(config + "_"));
    }

    void exportSaysWhatTheGameWouldMake_data()
    {
        QTest::addColumn<QString>("brightness");
        QTest::addColumn<int>("fileSize");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("said");
        QTest::addColumn<bool>("written");
        QTest::newRow("a value the game would cut: refused, naming the option")
            << QString(1100, 'x') << 100 << 1 << "\"Brightness\" (1100 bytes)" << false;
        QTest::newRow("too large for the 1.32 release: written, and said") << "2" << 17000 << 0
                                                                            << "1.32 release ignores" << true;
    }

    void exportSaysWhatTheGameWouldMake()
    {
        QFETCH(QString, brightness);
        QFETCH(int, fileSize);
        QFETCH(int, status);
        QFETCH(QString, said);
        QFETCH(bool, written);
        QCOMPARE(cli({"set", "Brightness", brightness}).status, 0);
        const std::string before = "// " + std::string(std::size_t(fileSize), 'c') + "\n";
        const QString config = writeTestFile(dir, "q3config.cfg", before);
        for (const QStringList &command : {QStringList{"export", "--dry-run", config}, QStringList{"export", config}}) {
            const Run run = cli(command);
            QCOMPARE(run.status, status);
            QVERIFY2(run.err.contains(said.toUtf8()), run.err);
        }
        QCOMPARE(readTestFile(config) != before, written);
    }

    void backupsListTheVersionsAndRestorePutsOneBack()
    {
        const std::string first = "seta vid_bright \"2.0\"\n";
        const QString config = writeTestFile(dir, "q3config.cfg", first);
        QCOMPARE(cli({"export", config}).status, 0);
        const std::string second = readTestFile(config);
        QCOMPARE(cli({"set", "Brightness", "3.0"}).status, 0);
        QCOMPARE(cli({"export", config}).status, 0);
        const std::string third = readTestFile(config);

        const Run listed = cli({"backups", config});
        QCOMPARE(listed.status, 0);
        const QList<QByteArray> lines = listed.out.split('\n');
        QCOMPARE(lines.size(), 3);
        QVERIFY2(lines[0].startsWith("1\t") && lines[0].endsWith("\t" + QByteArray::number(qsizetype(first.size()))),
                 listed.out);
        QVERIFY2(lines[1].startsWith("2\t") && lines[1].endsWith("\t" + QByteArray::number(qsizetype(second.size()))),
                 listed.out);

        const Run restored = cli({"restore", config, "1"});
        QCOMPARE(restored.status, 0);
        QCOMPARE(restored.out,
                 ("Put version 1 back into " + config + "; what it held is kept as version 3\n").toLocal8Bit());
        QCOMPARE(readTestFile(config), first);
        // The newest version by default: here, what the restore replaced.
        QCOMPARE(cli({"restore", config}).status, 0);
        QCOMPARE(readTestFile(config), third);
        QCOMPARE(cli({"restore", config, "9"}).status, 1);
        // Nothing of the versions lands beside the game's file.
        QCOMPARE(QDir(dir.path()).entryList({"q3config*"}, QDir::Files | QDir::Hidden),
                 QStringList({"q3config.cfg", "q3config.cfg_"}));
    }

    void resetStoresEveryDefault()
    {
        cli({"set", "Mixing rate", "11"});
        QCOMPARE(cli({"reset"}).status, 0);
        QCOMPARE(cli({"get", "Mixing rate"}).out, QByteArray("22\n"));
    }

    void checkListsTheCatalogueMistakes()
    {
        QCOMPARE(cli({"check"}).status, 0);
        catalogue = writeTestFile(dir, "broken.dat", crlfLines({"A", "---", "B", "n", "d", "v", "x", "CHECK", "x", "2"}));
        const Run run = cli({"check"});
        QCOMPARE(run.status, 1);
        QCOMPARE(run.out, (catalogue + ":10: the on/off default \"2\" is not 0 or 1\n" + catalogue +
                           ":3: this entry adds no option: \"B\" is not a folder\n").toLocal8Bit());
    }

    void failuresNameTheFileAndTheReason_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("a missing game file") << QStringList{"import", "/nowhere/q3config.cfg"} << "/nowhere/q3config.cfg";
        QTest::newRow("an empty game file") << QStringList{"export", "EMPTY"} << "is empty";
        QTest::newRow("a missing catalogue") << QStringList{"--catalogue", "/nowhere/options.dat", "list"}
                                             << "/nowhere/options.dat";
        QTest::newRow("a missing catalogue, for a name not stored")
            << QStringList{"--catalogue", "/nowhere/options.dat", "get", "Brightness"} << "/nowhere/options.dat";
    }

    void failuresNameTheFileAndTheReason()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        arguments.replaceInStrings("EMPTY", writeTestFile(dir, "empty.cfg", ""));
        const Run run = cli(arguments);
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains(message.toLocal8Bit()), run.err);
    }

    // The program keeps the versions in the player's data folder, where
    // "backups" finds them again.
    void programKeepsVersionsInTheDataFolder()
    {
        const QString config = writeTestFile(dir, "q3config.cfg", "seta vid_bright \"2.0\"\n");
        QCOMPARE(program({"export", config}).status, 0);
        QCOMPARE(QDir(dir.filePath("data/Cvarden/versions")).isEmpty(), false);
        QCOMPARE(program({"backups", config}).out.count('\n'), 1);
    }

    void outputThatCannotBeWrittenIsAFailure()
    {
        const Run run = program({}, R"sh(exec "$0" --catalogue "$1" list > /dev/full)sh");
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains("cannot write the output"), run.err);
    }

    void wrongUseExitsWithTwo_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("no command") << QStringList{};
        QTest::newRow("an unknown command") << QStringList{"frobnicate"};
        QTest::newRow("a missing argument") << QStringList{"set", "name"};
        QTest::newRow("too many arguments") << QStringList{"get", "a", "b"};
        QTest::newRow("an unknown export flag") << QStringList{"export", "--wet-run", "x"};
        QTest::newRow("an unknown list flag") << QStringList{"list", "--changes"};
        QTest::newRow("an unknown option") << QStringList{"--colour", "list"};
        QTest::newRow("a version that is no number") << QStringList{"restore", "q3config.cfg", "first"};
    }

    void wrongUseExitsWithTwo()
    {
        QFETCH(QStringList, arguments);
        QCOMPARE(program(arguments).status, 2);
    }

    void wrongUseSaysWhatIsWrong_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("said");
        QTest::newRow("a mistyped command gets the closest")
            << QStringList{"expor", "x"} << QByteArray("no command is named \"expor\"; did you mean \"export\"?");
        QTest::newRow("a mistyped option gets the closest")
            << QStringList{"list", "--chnged"}
            << QByteArray("cvarden-cli list: no option \"--chnged\"; did you mean \"--changed\"?");
        QTest::newRow("the start of an option gets the whole")
            << QStringList{"list", "--chan"} << QByteArray("did you mean \"--changed\"?");
        QTest::newRow("a missing name is named")
            << QStringList{"get"} << QByteArray("cvarden-cli get: NAME is missing\nusage: cvarden-cli get NAME\n");
        QTest::newRow("a missing value is named") << QStringList{"set", "Brightness"} << QByteArray("VALUE is missing");
        QTest::newRow("an option after the file is said to come too late")
            << QStringList{"export", "q3config.cfg", "--dry-run"}
            << QByteArray("the option \"--dry-run\" comes after \"q3config.cfg\"; options go before");
        QTest::newRow("a word too many is shown")
            << QStringList{"get", "Brightness", "x"} << QByteArray("too many arguments: \"x\" after NAME");
        QTest::newRow("a command without arguments says so")
            << QStringList{"reset", "now"} << QByteArray("reset: it takes no arguments, but was given \"now\"");
        QTest::newRow("a file named like an option is pointed to --")
            << QStringList{"import", "-f.cfg"} << QByteArray("no option \"-f.cfg\"; it takes none (a FILE that starts with \"-\" goes after \"--\")");
        QTest::newRow("a value like an option is pointed to --")
            << QStringList{"set", "Brightness", "-x"} << QByteArray("(a VALUE that starts with \"-\" goes after \"--\")");
        QTest::newRow("a version that is no number")
            << QStringList{"restore", "q3config.cfg", "first"}
            << QByteArray("N is a version's number (1, 2, ...), not \"first\"");
        QTest::newRow("a mistyped option before the command gets the closest")
            << QStringList{"--catalog", "x", "list"}
            << QByteArray("Unknown option 'catalog'; did you mean \"--catalogue\"?");
    }

    void wrongUseSaysWhatIsWrong()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, said);
        const Run run = arguments.first().startsWith("--") ? program(arguments) : cli(arguments);
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.contains(said), run.err);
        QVERIFY2(!run.err.contains("Commands:"), run.err);
    }

    void doubleDashEndsTheOptions_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QByteArray>("err");
        QTest::newRow("before a name") << QStringList{"get", "--", "Brightness"} << 0 << QByteArray("1.0\n")
                                       << QByteArray();
        QTest::newRow("before a file named like an option")
            << QStringList{"import", "--", "-f.cfg"} << 1 << QByteArray()
            << QByteArray("cvarden-cli: there is no file \"-f.cfg\"\n");
        QTest::newRow("a negative value needs none")
            << QStringList{"set", "Brightness", "-1"} << 0 << QByteArray() << QByteArray();
    }

    void doubleDashEndsTheOptions()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QByteArray, out);
        QFETCH(QByteArray, err);
        const Run run = cli(arguments);
        QCOMPARE(run.err, err);
        QCOMPARE(run.out, out);
        QCOMPARE(run.status, status);
    }

    void notAFileSaysWhatIsThere_data()
    {
        QTest::addColumn<QString>("made"); // what the test puts at the path
        QTest::addColumn<QString>("said");
        QTest::newRow("nothing") << "" << "there is no file \"%1\"";
        QTest::newRow("a folder") << "folder" << "\"%1\" is a folder, not a file";
        QTest::newRow("a named pipe") << "fifo" << "\"%1\" is a named pipe (FIFO), not a file";
        QTest::newRow("a link to nothing") << "dangling" << "\"%1\" is a symbolic link to nothing";
    }

    void notAFileSaysWhatIsThere()
    {
        QFETCH(QString, made);
        QFETCH(QString, said);
        const QString path = dir.filePath("game/q3config.cfg");
        QDir(dir.filePath("game")).removeRecursively();
        QVERIFY(QDir().mkpath(dir.filePath("game")));
        if (made == "folder")
            QVERIFY(QDir().mkpath(path));
        if (made == "fifo")
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        if (made == "dangling")
            QVERIFY(QFile::link(dir.filePath("game/missing.cfg"), path));
        for (const char *command : {"import", "export"}) {
            const Run run = cli({command, path});
            QCOMPARE(run.status, 1);
            QCOMPARE(run.err, ("cvarden-cli: " + said.arg(path) + "\n").toLocal8Bit());
        }
    }

    void helpAllIsAnswered()
    {
        const Run run = program({"--help-all"});
        QCOMPARE(run.status, 0);
        QVERIFY2(run.out.contains("--catalogue <FILE>"), run.out);
    }

    void versionIsTheProgramsOwnUnderItsLicence()
    {
        const Run run = program({"--version"});
        QVERIFY2(run.out.startsWith("cvarden-cli 0.1\nCopyright (C) 2026 Cvarden developers\n"), run.out);
        QVERIFY2(run.out.contains("License GPL-2.0-or-later"), run.out);
    }

    void engineCommandStoresTheChoiceAndSaysWhy_data()
    {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("said");
        QTest::newRow("Quake3e, chosen") << "quake3e" << 0 << QByteArray("quake3e\tchosen by you\n");
        QTest::newRow("the 1.32 release, in capitals") << "1.32" << 0 << QByteArray("1.32\tchosen by you\n");
        QTest::newRow("auto, nothing detected yet")
            << "auto" << 0 << QByteArray("unknown\tno engine chosen, and none detected from a game file\n");
        QTest::newRow("a name that is no engine is refused") << "quake4" << 1
                                                             << QByteArray("unknown\tno engine chosen, and none detected from a game file\n");
        QTest::newRow("ioquake3's game code, chosen") << "--game-code ioquake3" << 0
                                                      << QByteArray("unknown\tno engine chosen, and none detected from a game file\n"
                                                                    "game code ioquake3\tchosen by you\n");
    }

    void engineCommandStoresTheChoiceAndSaysWhy()
    {
        QFETCH(QString, choice);
        QFETCH(int, status);
        QFETCH(QByteArray, said);
        useShippedCatalogue();
        QCOMPARE(cli(QStringList{"engine"} + choice.split(' ')).status, status);
        const Run run = cli({"engine"});
        QCOMPARE(run.status, 0);
        // The game code's line follows unless a row names it.
        QCOMPARE(run.out, said.contains("game code") ? said
                                                     : said + "game code 1.32\tthe stock game code every engine runs "
                                                              "from the game's archives\n");
    }

    void setSaysWhatTheEngineMakesOfTheValue_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QByteArray>("said");
        const QByteArray restart = "cvarden-cli: warning: Needs vid_restart.\n";
        QTest::newRow("Quake3e: mode 30 is stored, and said to become 24")
            << "quake3e" << QStringList{"Video mode", "30"} << 0 << "30"
            << "cvarden-cli: warning: Quake3e uses 24 instead (above 24).\n" + restart;
        QTest::newRow("Quake3e, strict: mode 30 is refused")
            << "quake3e" << QStringList{"--strict", "Video mode", "30"} << 1 << "-2"
            << QByteArray("cvarden-cli: not stored: Quake3e uses 24 instead (above 24).\n");
        QTest::newRow("Quake3e: mode 20 is kept; the restart is said") << "quake3e" << QStringList{"Video mode", "20"}
                                                                      << 0 << "20" << restart;
        QTest::newRow("ioquake3: mode 20 is used as 11")
            << "ioquake3" << QStringList{"Video mode", "20"} << 0 << "20"
            << "cvarden-cli: warning: ioquake3 uses 11 instead (above 11).\n" + restart;
        QTest::newRow("no engine: nothing is said") << "auto" << QStringList{"Video mode", "30"} << 0 << "30"
                                                   << QByteArray();
    }

    void setSaysWhatTheEngineMakesOfTheValue()
    {
        QFETCH(QString, engine);
        QFETCH(QStringList, words);
        QFETCH(int, status);
        QFETCH(QString, stored);
        QFETCH(QByteArray, said);
        useShippedCatalogue();
        QCOMPARE(cli({"engine", engine}).status, 0);
        const Run run = cli(QStringList{"set"} + words);
        QCOMPARE(run.status, status);
        QCOMPARE(run.err, said);
        QCOMPARE(cli({"get", "Video mode"}).out, stored.toLatin1() + "\n");
    }

    void problemsListsTheValuesTheEngineChanges()
    {
        useShippedCatalogue();
        QCOMPARE(cli({"engine", "quake3e"}).status, 0);
        QCOMPARE(cli({"problems"}).status, 0);
        QCOMPARE(cli({"set", "Video mode", "30"}).status, 0);
        QCOMPARE(cli({"set", "Frame rate limit", "fast"}).status, 0);
        const Run run = cli({"problems"});
        QCOMPARE(run.status, 1);
        QCOMPARE(run.out, QByteArray("Video mode\tr_mode\t30\tQuake3e uses 24 instead (above 24).\n"
                                     "Frame rate limit\tcom_maxfps\tfast\tQuake3e uses 125 instead (not a number).\n"));
        // With no engine known, only what every engine changes: a sound
        // rate of 30 only Quake3e changes.
        QCOMPARE(cli({"engine", "auto"}).status, 0);
        QCOMPARE(cli({"set", "Mixing rate", "30"}).status, 0);
        const Run unknown = cli({"problems"});
        QCOMPARE(unknown.status, 1);
        QVERIFY(unknown.out.startsWith("Video mode\tr_mode\t30\t"));
        QVERIFY(!unknown.out.contains("Mixing rate"));
        QCOMPARE(unknown.out.count('\n'), 2);
        QVERIFY(unknown.err.contains("no engine known"));
    }

    void engineOptionAndDetectionRunInTheProgram()
    {
        useShippedCatalogue();
        const Run got = program({"--engine", "1.32", "get", "Video mode"});
        QCOMPARE(got.status, 0);
        QCOMPARE(got.out, QByteArray("3\n"));
        QCOMPARE(program({"--engine", "quake4", "get", "Video mode"}).status, 2);
        const QString file = dir.filePath("q3config.cfg");
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        for (const char *name : {"net_noipx", "net_noudp", "r_customaspect", "r_ext_gamma_control", "r_smp",
                                 "s_separation", "r_lastValidRenderer"})
            out.write(QByteArray("seta ") + name + " \"1\"\n");
        out.close();
        const Run detected = program({"engine", "--detect", file});
        QCOMPARE(detected.status, 0);
        QVERIFY2(detected.out.startsWith("1.32\n1.32: 7 of the 9 names"), detected.out.constData());
    }
};

QTEST_GUILESS_MAIN(CliTest)
#include "tst_cli.moc"
