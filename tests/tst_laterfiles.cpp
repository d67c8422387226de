// SPDX-License-Identifier: GPL-2.0-or-later
#include <QtTest>
#include <algorithm>
#include <set>

#include "catalogue_fixture.h"
#include "exportconfig.h"
#include "fileio.h"
#include "laterfiles.h"
#include "memorystore.h"
#include "versions.h"
#include "loader.h"
#include "outcomes.h"

using namespace cvarden;

using GameFolder = QMap<QString, QByteArray>; // each file under the folder, and its bytes
using StoredValues = QMap<QString, QString>;  // by option

// The game runs autoexec.cfg after q3config.cfg, and every file either runs
// with exec; what they set comes back at every start.
class LaterFilesTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    Catalogue catalogue;

    // ab shown as A, cd shown as D, ef shown as E.
    void loadCatalogue()
    {
        QCOMPARE(loadTestCatalogue(dir, {"F", "---", "F", "A", "d", "ab", "x", "VALUE", "1", "F", "D", "d", "cd", "x",
                                         "VALUE", "0", "F", "E", "d", "ef", "x", "VALUE", "2"},
                                   catalogue),
                 Failure::None);
    }

    QString writeGameFolder(const GameFolder &files)
    {
        const QString root = dir.filePath(QString::number(++folders_));
        for (auto file = files.begin(); file != files.end(); ++file) {
            const QString path = root + "/" + file.key();
            QDir().mkpath(QFileInfo(path).path());
            writeTestFile(dir, QDir(dir.path()).relativeFilePath(path), file.value().toStdString());
        }
        return root;
    }

    int folders_ = 0;

private slots:
    void initTestCase() { loadCatalogue(); }

    void laterFilesSetValuesAgain_data()
    {
        QTest::addColumn<GameFolder>("files");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("wins"); // "file:line:value" for ab, or empty
        QTest::addColumn<QString>("unread");
        QTest::newRow("autoexec.cfg sets it after q3config.cfg")
            << GameFolder{{"baseq3/q3config.cfg", "seta ab 1\n"}, {"baseq3/autoexec.cfg", "// mine\nset ab 2\n"}}
            << "baseq3/q3config.cfg" << "autoexec.cfg:2:2" << "";
        QTest::newRow("a file autoexec.cfg runs, .cfg added to its name")
            << GameFolder{{"baseq3/q3config.cfg", "seta ab 1\n"}, {"baseq3/autoexec.cfg", "exec my/x\n"},
                     {"baseq3/my/x.cfg", "\n\nseta ab 3\n"}}
            << "baseq3/q3config.cfg" << "my/x.cfg:3:3" << "";
        QTest::newRow("what q3config.cfg sets after its own exec holds")
            << GameFolder{{"baseq3/q3config.cfg", "exec x.cfg\nseta ab 1\n"}, {"baseq3/x.cfg", "seta ab 4\n"}}
            << "baseq3/q3config.cfg" << "" << "";
        QTest::newRow("a loop of execs ends")
            << GameFolder{{"baseq3/q3config.cfg", "seta ab 1\n"}, {"baseq3/autoexec.cfg", "exec a\n"},
                     {"baseq3/a.cfg", "exec b\nseta ab 5\n"}, {"baseq3/b.cfg", "exec a\nexec autoexec\n"}}
            << "baseq3/q3config.cfg" << "a.cfg:2:5" << "";
        QTest::newRow("a mod's file falls back to baseq3")
            << GameFolder{{"mymod/q3config.cfg", "seta ab 1\n"}, {"mymod/autoexec.cfg", "exec shared\n"},
                     {"baseq3/shared.cfg", "seta ab 6\n"}}
            << "mymod/q3config.cfg" << "shared.cfg:1:6" << "";
        QTest::newRow("a file named but missing is said")
            << GameFolder{{"baseq3/q3config.cfg", "seta ab 1\n"}, {"baseq3/autoexec.cfg", "exec gone\n"}}
            << "baseq3/q3config.cfg" << "" << "\"gone.cfg\"";
        QTest::newRow("a file run twice runs twice")
            << GameFolder{{"baseq3/q3config.cfg", "seta ab 1\n"}, {"baseq3/autoexec.cfg", "exec a\nexec b\nexec a\n"},
                     {"baseq3/a.cfg", "seta ab 5\n"}, {"baseq3/b.cfg", "seta ab 6\n"}}
            << "baseq3/q3config.cfg" << "a.cfg:1:5" << "";
        QTest::newRow("a name that leaves the game's folders is not followed")
            << GameFolder{{"baseq3/q3config.cfg", "seta ab 1\n"}, {"baseq3/autoexec.cfg", "exec ../out\n"},
                     {"out.cfg", "seta ab 8\n"}}
            << "baseq3/q3config.cfg" << "" << "\"../out\" is outside the game's folders";
        QTest::newRow("a comment q3config.cfg leaves open does not reach into autoexec.cfg")
            << GameFolder{{"baseq3/q3config.cfg", "seta ab 1\n/* old"}, {"baseq3/autoexec.cfg", "set ab 2\n"}}
            << "baseq3/q3config.cfg" << "autoexec.cfg:1:2" << "";
        QTest::newRow("q3config.cfg run again by autoexec.cfg sets its values anew")
            << GameFolder{{"baseq3/q3config.cfg", "seta ab 1\n"}, {"baseq3/autoexec.cfg", "set ab 2\nexec q3config\n"}}
            << "baseq3/q3config.cfg" << "" << "";
        QTest::newRow("a file run again and again is read up to a sane number of bytes")
            << GameFolder{{"baseq3/q3config.cfg", "seta ab 1\n"},
                          {"baseq3/autoexec.cfg", QByteArray("exec big\n").repeated(14)},
                          {"baseq3/big.cfg", QByteArray(5 << 20, ' ') + "\nseta ab 3\n"}}
            << "baseq3/q3config.cfg" << "big.cfg:2:3" << "\"big.cfg\" is run after too many bytes";
        QTest::newRow("no autoexec.cfg, no exec: nothing else runs")
            << GameFolder{{"baseq3/q3config.cfg", "seta ab 1\n"}, {"baseq3/other.cfg", "seta ab 7\n"}}
            << "baseq3/q3config.cfg" << "" << "";
    }

    void laterFilesSetValuesAgain()
    {
        QFETCH(GameFolder, files);
        QFETCH(QString, chosen);
        QFETCH(QString, wins);
        QFETCH(QString, unread);
        const QString root = writeGameFolder(files);
        const OverriddenOptions found = FindOverriddenOptions((root + "/" + chosen).toStdString(), catalogue.tree);
        const std::size_t a = catalogue.tree.indexOf(*catalogue.options().begin());
        const auto later = found.options.find(a);
        const QString shown = later == found.options.end()
                                  ? QString()
                                  : QString::fromStdString(later->second.file + ":" + std::to_string(later->second.line) +
                                                           ":" + later->second.value);
        QCOMPARE(shown, wins);
        QCOMPARE(QString::fromStdString(found.notRead).contains(unread), true);
        QCOMPARE(found.notRead.empty(), unread.isEmpty());
    }

    // Writing into the later files changes only their commands of the values
    // saved, each file with its backup copy and version; a refusal in any of
    // them leaves every file as it was.
    void writingIntoLaterFiles_data()
    {
        QTest::addColumn<GameFolder>("files");
        QTest::addColumn<GameFolder>("written"); // empty: nothing may change
        QTest::addColumn<QString>("readOnly");
        QTest::addColumn<Failure>("failure");
        QTest::addColumn<StoredValues>("stored");
        const StoredValues set{{"A", "9"}, {"D", "8"}};
        const QByteArray cut = "set ab 2 //" + QByteArray(1100, 'x') + "\n";
        const GameFolder before{{"q3config.cfg", "seta ab 1\nseta cd 0\n"},
                                {"autoexec.cfg", "// mine\r\nset AB 2 // keep\r\nexec x\r\n"},
                                {"x.cfg", "seta cd \"5\"\n"}};
        QTest::newRow("autoexec.cfg and a file it runs, in place")
            << before
            << GameFolder{{"q3config.cfg", "seta ab \"9\"\nseta cd \"8\"\nseta ef \"2\"\n"},
                          {"autoexec.cfg", "// mine\r\nset AB \"9\" // keep\r\nexec x\r\n"},
                          {"x.cfg", "seta cd \"8\"\n"}}
            << "" << Failure::None << set;
        QTest::newRow("a later command the game cuts cannot change in place")
            << GameFolder{{"q3config.cfg", "seta ab 1\n"}, {"autoexec.cfg", cut}} << GameFolder{} << ""
            << Failure::NotInPlace << set;
        QTest::newRow("a read-only later file") << before << GameFolder{} << "x.cfg" << Failure::ReadOnly << set;
        const GameFolder autoexecSetsEf{{"q3config.cfg", "seta ab 1\n"}, {"autoexec.cfg", "seta ef 5\n"}};
        QTest::newRow("a value never set is neither added nor forced into a later file")
            << autoexecSetsEf
            << GameFolder{{"q3config.cfg", "seta ab \"9\"\nseta cd \"8\"\n"}, {"autoexec.cfg", "seta ef 5\n"}}
            << "" << Failure::None << set;
        QTest::newRow("a value the player set is added and written into a later file, though it is the default")
            << autoexecSetsEf
            << GameFolder{{"q3config.cfg", "seta ab \"9\"\nseta cd \"8\"\nseta ef \"2\"\n"},
                          {"autoexec.cfg", "seta ef \"2\"\n"}}
            << "" << Failure::None << StoredValues{{"A", "9"}, {"D", "8"}, {"E", "2"}};
        QTest::newRow("an addition holds where a later file runs q3config.cfg again after its own value")
            << GameFolder{{"q3config.cfg", "seta ab 1\n"}, {"autoexec.cfg", "seta ef 5\nexec q3config\n"}}
            << GameFolder{{"q3config.cfg", "seta ab \"9\"\nseta cd \"8\"\nseta ef \"7\"\n"},
                          {"autoexec.cfg", "seta ef 5\nexec q3config\n"}}
            << "" << Failure::None << StoredValues{{"A", "9"}, {"D", "8"}, {"E", "7"}};
        const QByteArray keptAsItIs = "seta ef \"1\" //" + QByteArray(1100, 'x') + "\nexec x\n";
        QTest::newRow("a value never set stays the file's that q3config.cfg runs after a line kept as it is")
            << GameFolder{{"q3config.cfg", keptAsItIs}, {"x.cfg", "seta ef 6\n"}}
            << GameFolder{{"q3config.cfg", keptAsItIs + "seta ab \"9\"\nseta cd \"8\"\n"}, {"x.cfg", "seta ef 6\n"}}
            << "" << Failure::None << set;
        QTest::newRow("an addition after the chosen file's own exec holds; a value never set stays that file's")
            << GameFolder{{"q3config.cfg", "exec x\n"}, {"x.cfg", "seta cd 5\nseta ef 6\n"}}
            << GameFolder{{"q3config.cfg", "exec x\nseta ab \"9\"\nseta cd \"8\"\n"},
                          {"x.cfg", "seta cd 5\nseta ef 6\n"}}
            << "" << Failure::None << set;
    }

    void writingIntoLaterFiles()
    {
        QFETCH(GameFolder, files);
        QFETCH(GameFolder, written);
        QFETCH(QString, readOnly);
        QFETCH(Failure, failure);
        QFETCH(StoredValues, stored);
        const QString root = writeGameFolder(files);
        if (!readOnly.isEmpty())
            QVERIFY(QFile::setPermissions(root + "/" + readOnly, QFileDevice::ReadOwner));
        MemoryStore store;
        const std::string versions = (root + "/versions").toStdString();
        const std::string chosen = (root + "/q3config.cfg").toStdString();
        for (auto value = stored.begin(); value != stored.end(); ++value)
            store.values[value.key().toStdString()] = value.value().toStdString();
        const SavePlan plan = ExportConfig(chosen, catalogue.tree, store, versions, {}, LaterFilesToo::Yes);
        QCOMPARE(plan.outcome, failure);
        // What the window marks after the save is what the saved files set.
        const auto described = [](const std::map<std::size_t, LaterSetting> &options) {
            QStringList shown;
            for (const auto &[option, setting] : options)
                shown << QString::number(option) + ": " + QString::fromStdString(DescribeLaterSetting(setting));
            return shown;
        };
        if (plan.outcome.ok())
            QCOMPARE(described(plan.setLater), described(FindOverriddenOptions(chosen, catalogue.tree).options));
        for (auto file = files.begin(); file != files.end(); ++file) {
            const std::string path = (root + "/" + file.key()).toStdString();
            std::string now;
            QVERIFY(ReadWholeFile(path, now).ok());
            QCOMPARE(QByteArray::fromStdString(now), written.isEmpty() ? file.value() : written.value(file.key()));
            const bool changed = now != file.value().toStdString();
            std::vector<KeptVersion> kept;
            QVERIFY(ListVersions(versions, path, kept).ok());
            QCOMPARE(kept.size(), changed ? 1u : 0u);
            QCOMPARE(QFile::exists(QString::fromStdString(path + "_")), changed);
        }
    }

    // A whole game folder as a player runs it: autoexec.cfg runs nine files.
    void aRealGameFolder()
    {
        const QString chosen = QStringLiteral(CVARDEN_SHARED_CONFIGS "/dsebastien-baseq3/q3config.cfg");
        if (!QFile::exists(chosen))
            QSKIP("the shared game files are not here");
        Catalogue real;
        QCOMPARE(OpenOptions(CVARDEN_SAMPLE_DATA "/options.dat", real), Failure::None);
        const OverriddenOptions found = FindOverriddenOptions(chosen.toStdString(), real.tree);
        QCOMPARE(found.notRead, std::string());
        std::set<std::string> variables;
        for (const auto &[option, setting] : found.options)
            variables.insert(real.tree.item(option).variable());
        QCOMPARE(variables.size(), std::size_t(209));
        std::size_t name = 0;
        for (const OptionNode &option : real.options())
            name = option.variable() == "name" ? real.tree.indexOf(option) : name;
        QCOMPARE(DescribeLaterSetting(found.options.at(name)),
                 std::string("playzone/player.cfg line 19 sets it to \"^1)=^7[PlAyZoNe]^1=(\""));
    }
};

QTEST_GUILESS_MAIN(LaterFilesTest)
#include "tst_laterfiles.moc"
