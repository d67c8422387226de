// SPDX-License-Identifier: GPL-2.0-or-later
#include <QtTest>
#include <unistd.h>

#include "runninggame.h"
#include "standinengine.h"

using namespace cvarden;

namespace {

QStringList Listed(const std::vector<std::string> &names)
{
    QStringList listed;
    for (const std::string &name : names)
        listed << QString::fromStdString(name);
    return listed;
}

// Lays out a process list as Linux's /proc: a folder per process id, with
// the link to its program file and its command line.
void AddProcess(const QTemporaryDir &proc, const QString &id, const QString &program, const QByteArray &commandLine)
{
    const QString folder = proc.filePath(id);
    if (!QDir().mkpath(folder))
        qFatal("cannot make %s", qPrintable(folder));
    if (!program.isEmpty() && !QFile::link(program, folder + "/exe"))
        qFatal("cannot link %s", qPrintable(folder));
    QFile file(folder + "/cmdline");
    if (!file.open(QIODevice::WriteOnly) || file.write(commandLine) != commandLine.size())
        qFatal("cannot write %s", qPrintable(folder));
}

} // namespace

class RunningGameTest : public QObject {
    Q_OBJECT

private slots:
    void engineProgramsAreKnownByTheirExactName_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<bool>("engine");
        QTest::newRow("ioquake3 as Debian installs it") << "ioquake3" << true;
        QTest::newRow("its dedicated server as Debian installs it") << "ioq3ded" << true;
        QTest::newRow("ioquake3 on Linux") << "ioquake3.x86_64" << true;
        QTest::newRow("ioquake3 on an ARM board") << "ioquake3.aarch64" << true;
        QTest::newRow("its dedicated server") << "ioq3ded.x86_64" << true;
        QTest::newRow("the 1.32 release by its bare name") << "quake3" << true;
        QTest::newRow("the 1.32 release") << "quake3.x86" << true;
        QTest::newRow("the 1.32 dedicated server") << "q3ded" << true;
        QTest::newRow("Quake3e by its bare name") << "quake3e" << true;
        QTest::newRow("Quake3e with a build suffix") << "quake3e.x64" << true;
        QTest::newRow("Quake3e's dedicated server") << "quake3e.ded.x64" << true;
        QTest::newRow("Quake3e's Vulkan build") << "quake3e-vulkan.x64" << true;
        QTest::newRow("OpenArena by its bare name") << "openarena" << true;
        QTest::newRow("OpenArena") << "openarena.x86_64" << true;
        QTest::newRow("OpenArena's server by its bare name") << "oa_ded" << true;
        QTest::newRow("OpenArena's server") << "oa_ded.x86_64" << true;
        QTest::newRow("the Windows release") << "quake3.exe" << true;
        QTest::newRow("ioquake3 on Windows") << "ioquake3.x86_64.exe" << true;
        QTest::newRow("Quake3e on Windows") << "quake3e.x64.exe" << true;
        QTest::newRow("OpenArena on Windows") << "openarena.exe" << true;
        QTest::newRow("letter case ignored") << "Quake3.EXE" << true;
        QTest::newRow("a longer name starting with an engine's") << "quake3edit" << false;
        QTest::newRow("an engine's name with a word added") << "ioquake3-foo" << false;
        QTest::newRow("two build suffixes") << "quake3e.x64.x64" << false;
        QTest::newRow("a suffix no build has") << "quake3e-1.0" << false;
        QTest::newRow("a build suffix alone") << ".x86_64" << false;
        QTest::newRow("an engine's name inside another") << "myquake3e" << false;
        QTest::newRow("the start of an engine's name only") << "ioquake" << false;
        QTest::newRow("an empty name") << "" << false;
        QTest::newRow("another program") << "bash" << false;
    }

    void engineProgramsAreKnownByTheirExactName()
    {
        QFETCH(QString, fileName);
        QFETCH(bool, engine);
        QCOMPARE(IsEngineProgram(fileName.toStdString()), engine);
    }

    void processListShowsTheEnginesOfThisUser_data()
    {
        QTest::addColumn<QStringList>("programs"); // one process each
        QTest::addColumn<QByteArray>("commandLine");
        QTest::addColumn<bool>("ofAnotherUser");
        QTest::addColumn<QStringList>("found");

        QTest::newRow("an engine, by its program file")
            << QStringList{"/opt/q3/ioquake3.x86_64"} << QByteArray("./ioquake3.x86_64\0+set\0", 23) << false
            << QStringList{"ioquake3.x86_64"};
        QTest::newRow("an engine whose file was replaced while it runs")
            << QStringList{"/opt/q3/quake3e.x64 (deleted)"} << QByteArray("quake3e.x64\0", 12) << false
            << QStringList{"quake3e.x64"};
        QTest::newRow("a Windows engine under Wine, by its command line")
            << QStringList{"/usr/lib/wine/wine64-preloader"} << QByteArray("C:\\Games\\Quake3\\quake3.exe\0", 27)
            << false << QStringList{"quake3.exe"};
        QTest::newRow("a Windows engine started by Wine's loader, as its first argument")
            << QStringList{"/usr/bin/wine64"} << QByteArray("wine64\0C:\\Games\\Quake3e\\quake3e.x64.exe\0", 40)
            << false << QStringList{"quake3e.x64.exe"};
        QTest::newRow("a Windows engine under Proton, by its command line")
            << QStringList{"/home/p/Proton/files/bin/wine-preloader"}
            << QByteArray("Z:\\games\\openarena.exe\0-fullscreen\0", 35) << false << QStringList{"openarena.exe"};
        QTest::newRow("another Windows program under Wine")
            << QStringList{"/usr/lib/wine/wine64-preloader"} << QByteArray("C:\\windows\\notepad.exe\0quake3.exe\0", 34)
            << false << QStringList{};
        QTest::newRow("Debian's ioquake3, by its program file")
            << QStringList{"/usr/lib/ioquake3/ioquake3"} << QByteArray("/usr/lib/ioquake3/ioquake3\0", 27) << false
            << QStringList{"ioquake3"};
        QTest::newRow("a program that only names an engine on its command line")
            << QStringList{"/usr/bin/vim"} << QByteArray("quake3\0", 7) << false << QStringList{};
        QTest::newRow("a program whose name starts with an engine's")
            << QStringList{"/opt/q3/quake3edit"} << QByteArray() << false << QStringList{};
        QTest::newRow("an engine whose program file cannot be read")
            << QStringList{""} << QByteArray("/usr/games/q3ded\0", 17) << false << QStringList{"q3ded"};
        QTest::newRow("two processes of one engine, named once")
            << QStringList{"/a/openarena.x86_64", "/b/openarena.x86_64"} << QByteArray() << false
            << QStringList{"openarena.x86_64"};
        QTest::newRow("other programs") << QStringList{"/usr/bin/bash", "/usr/bin/quake3-launcher"}
                                        << QByteArray("bash\0", 5) << false << QStringList{};
        QTest::newRow("an engine of another user")
            << QStringList{"/opt/q3/ioquake3.x86_64"} << QByteArray() << true << QStringList{};
        QTest::newRow("a process with no program and no command line")
            << QStringList{""} << QByteArray() << false << QStringList{};
    }

    void processListShowsTheEnginesOfThisUser()
    {
        QFETCH(QStringList, programs);
        QFETCH(QByteArray, commandLine);
        QFETCH(bool, ofAnotherUser);
        QFETCH(QStringList, found);
        QTemporaryDir proc;
        int id = 100;
        for (const QString &program : programs)
            AddProcess(proc, QString::number(id++), program, commandLine);
        // Entries that are no process: the list's own folders and links.
        AddProcess(proc, "self", "/opt/q3/quake3e.x64", {});
        AddProcess(proc, "12a", "/opt/q3/quake3e.x64", {});
        const unsigned me = getuid();
        QCOMPARE(Listed(RunningEngines(proc.path().toStdString(), ofAnotherUser ? me + 1 : me)), found);
    }

    void missingProcessListShowsNoEngine()
    {
        QTemporaryDir dir;
        QCOMPARE(Listed(RunningEngines(dir.filePath("missing").toStdString(), getuid())), QStringList());
    }

    void engineRunningNowIsFoundUntilItEnds()
    {
        {
            const StandInEngine engine("quake3e.x64");
            QVERIFY(Listed(RunningEnginesForMe()).contains("quake3e.x64"));
        }
        QVERIFY(!Listed(RunningEnginesForMe()).contains("quake3e.x64"));
    }
};

QTEST_GUILESS_MAIN(RunningGameTest)
#include "tst_runninggame.moc"
