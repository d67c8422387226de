// SPDX-License-Identifier: GPL-2.0-or-later
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>

#include <limits>
#include <functional>
#include <memory>
#include <vector>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "outcomes.h"
#include "clifaultkit.h"
#include "exportconfig.h"
#include "importconfig.h"
#include "loader.h"
#include "normalize.h"
#include "settingsstore.h"

// Faults caused for real against cvarden-cli and the core: files that cannot
// be written, vanish or are cut short, kills, races on the store, and inputs
// far larger or stranger than any player's.
using namespace clifaultkit;

namespace {

// What a measured child did, with its own peak resident memory.
struct Measured {
    bool finished = false;
    bool exitedNormally = false;
    int status = -1;
    qint64 peakBytes = 0;
    QByteArray err;
};

} // namespace

class FaultsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<CliWorkspace> work;

    QString path(const QString &name) const { return work->path(name); }
    QString gameFolder() const { return work->gameFolder(); }
    QString chosenFile() const { return work->chosenFile(); }
    QString storeFile() const { return work->storeFile(); }
    QProcessEnvironment childEnvironment() const { return work->environment(); }

    Run cli(const QStringList &arguments, const std::function<void()> &inChild = {}, int timeoutMs = 60000) const
    {
        return work->cli(arguments, inChild, timeoutMs);
    }

    // Runs cvarden-cli and reaps it with wait4, which gives that one child's
    // own peak memory. A plain fork starts the child from this process's
    // present size, which is small here, where a vfork-style spawn would
    // charge it this process's own peak. Its output goes to files, so a large
    // one never stalls.
    Measured measured(const QStringList &arguments, int timeoutMs = 120000) const
    {
        std::vector<QByteArray> words{QFile::encodeName(cliPath())};
        for (const QString &argument : arguments)
            words.push_back(QFile::encodeName(argument));
        std::vector<char *> argv;
        for (QByteArray &word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        std::vector<QByteArray> settings;
        for (const QString &entry : childEnvironment().toStringList())
            settings.push_back(entry.toLocal8Bit());
        std::vector<char *> envp;
        for (QByteArray &entry : settings)
            envp.push_back(entry.data());
        envp.push_back(nullptr);
        const QByteArray outPath = QFile::encodeName(path("measured.out"));
        const QByteArray errPath = QFile::encodeName(path("measured.err"));

        Measured result;
        const pid_t pid = ::fork();
        if (pid < 0)
            return result;
        if (pid == 0) {
            // Between fork and exec: plain system calls only.
            const int in = ::open("/dev/null", O_RDONLY);
            const int out = ::open(outPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            const int err = ::open(errPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (in < 0 || out < 0 || err < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0)
                ::_exit(126);
            ::execve(argv[0], argv.data(), envp.data());
            ::_exit(127);
        }

        QElapsedTimer clock;
        clock.start();
        int status = 0;
        struct rusage usage {};
        for (;;) {
            const pid_t done = ::wait4(pid, &status, WNOHANG, &usage);
            if (done == pid) {
                result.finished = true;
                break;
            }
            if (done < 0 && errno != EINTR)
                break;
            if (clock.elapsed() > timeoutMs) {
                ::kill(pid, SIGKILL);
                ::wait4(pid, &status, 0, &usage);
                break;
            }
            QThread::msleep(5);
        }
        result.exitedNormally = result.finished && WIFEXITED(status);
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.peakBytes = static_cast<qint64>(usage.ru_maxrss) * 1024; // Linux counts KiB
        result.err = contentOf(path("measured.err"));
        QFile::remove(path("measured.out"));
        return result;
    }

    // "A small multiple of the input's size", plus room for Qt itself.
    // A sanitized build carries the sanitizers' own memory, which says nothing
    // of ours: there only the absence of crashes and hangs is checked.
    static qint64 memoryBound(qint64 inputSize)
    {
#ifdef CVARDEN_SANITIZED
        Q_UNUSED(inputSize);
        return std::numeric_limits<qint64>::max();
#else
        return 6 * inputSize + 64 * mebibyte;
#endif
    }

    // What a completed export makes of `old`, with the store as it is now.
    QByteArray completedExport(const QByteArray &old) const
    {
        const QString copy = path("reference/q3config.cfg");
        QDir().mkpath(path("reference"));
        writeFile(copy, old);
        const Run run = cli({"export", copy});
        if (!run.finished || run.status != 0)
            qFatal("the reference export failed: %s", run.err.constData());
        const QByteArray result = contentOf(copy);
        QDir(path("reference")).removeRecursively();
        return result;
    }

    static void loadShippedCatalogue(cvarden::Catalogue &catalogue)
    {
        const cvarden::Outcome opened = cvarden::OpenOptions(bytesOf(shippedCatalogue()), catalogue);
        if (opened.failed())
            qFatal("%s", opened.message().c_str());
    }

private slots:
    void init()
    {
        work = std::make_unique<CliWorkspace>();
    }

    void cleanup() { work.reset(); }

    // Players make the file read-only to keep the game off it; that holds
    // even for root, who could write it.
    void readOnlyFileIsRefusedAndLeftWhole_data()
    {
        QTest::addColumn<bool>("throughTheProgram");
        QTest::newRow("cvarden-cli export") << true;
        QTest::newRow("ExportConfig") << false;
    }

    void readOnlyFileIsRefusedAndLeftWhole()
    {
        QFETCH(bool, throughTheProgram);
        const QByteArray old = smallGameFile();
        writeFile(chosenFile(), old);
        QCOMPARE(::chmod(QFile::encodeName(chosenFile()).constData(), 0444), 0);

        QByteArray message;
        if (throughTheProgram) {
            const Run run = cli({"export", chosenFile()});
            QVERIFY(run.finished && !run.crashed);
            QCOMPARE(run.status, 1);
            message = run.err;
        } else {
            cvarden::Catalogue catalogue;
            loadShippedCatalogue(catalogue);
            cvarden::OptionTree &tree = catalogue.tree;
            cvarden::SettingsStore store(path("store.ini"));
            message = QByteArray::fromStdString(cvarden::ExportConfig(bytesOf(chosenFile()), tree, store).outcome.message());
        }
        QVERIFY2(message.contains(QFile::encodeName(chosenFile())), message);
        QVERIFY2(message.contains("read-only"), message);
        QCOMPARE(contentOf(chosenFile()), old);
        struct stat info {};
        QCOMPARE(::stat(QFile::encodeName(chosenFile()).constData(), &info), 0);
        QCOMPARE(info.st_mode & 07777, mode_t(0444));
        // A refused save writes no backup copy either.
        QCOMPARE(entriesOf(gameFolder()), QStringList({"q3config.cfg"}));
    }

    void noRoomForTheBackupCopy_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("blocker");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        QTest::newRow("import, a folder where the backup goes") << "import" << "folder" << 1 << "backup copy";
        QTest::newRow("export, a folder where the backup goes") << "export" << "folder" << 1 << "backup copy";
    }

    void noRoomForTheBackupCopy()
    {
        QFETCH(QString, command);
        QFETCH(QString, blocker);
        QFETCH(int, status);
        QFETCH(QString, message);
        const QByteArray old = smallGameFile();
        writeFile(chosenFile(), old);
        if (blocker == "folder")
            QVERIFY(QDir().mkdir(chosenFile() + "_"));
        const QStringList before = entriesOf(gameFolder());

        const Run run = cli({command, chosenFile()});
        QVERIFY(run.finished && !run.crashed);
        QCOMPARE(run.status, status);
        if (status != 0) {
            QVERIFY2(run.err.contains(QFile::encodeName(chosenFile())), run.err);
            QVERIFY2(run.err.contains(message.toLatin1()), run.err);
        }
        QCOMPARE(contentOf(chosenFile()), old);
        QCOMPARE(entriesOf(gameFolder()), before);
    }

    void missingFileFailsAndCreatesNothing_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("name");
        QTest::newRow("import") << "import" << "q3config.cfg";
        QTest::newRow("export") << "export" << "q3config.cfg";
        QTest::newRow("import, in a missing folder") << "import" << "gone/q3config.cfg";
        QTest::newRow("export, in a missing folder") << "export" << "gone/q3config.cfg";
    }

    void missingFileFailsAndCreatesNothing()
    {
        QFETCH(QString, command);
        QFETCH(QString, name);
        const QString missing = QDir(gameFolder()).filePath(name);
        cvarden::Catalogue catalogue;
        loadShippedCatalogue(catalogue);
        cvarden::OptionTree &tree = catalogue.tree;
        cvarden::SettingsStore store(path("store.ini"));
        const cvarden::Outcome failure = command == "import"
                                             ? cvarden::ImportConfig(bytesOf(missing), tree, store).outcome
                                             : cvarden::ExportConfig(bytesOf(missing), tree, store).outcome;
        QCOMPARE(failure, cvarden::Failure::Missing);
        const QByteArray message = QByteArray::fromStdString(failure.message());
        QVERIFY2(message.contains(QFile::encodeName(missing)), message);
        QCOMPARE(entriesOf(gameFolder()), QStringList());
        QVERIFY(!QFile::exists(path("store.ini")));
    }

    // A write cut short by a small file system that fills up, mounted in a
    // mount namespace of the child's own, so it goes away with the child.
    // (Each step's failure on its own is caused through the file layer's
    // seam in tst_filefaults.)
    void writeCutShortByAFullFileSystem_data()
    {
        QTest::addColumn<bool>("backupFits");
        QTest::newRow("full in the new content") << true;
        QTest::newRow("full in the backup copy") << false;
    }

    void writeCutShortByAFullFileSystem()
    {
        QFETCH(bool, backupFits);
        const QByteArray old = smallGameFile();
        const QByteArray backup = QByteArray::fromStdString(cvarden::NormalizeText(old.toStdString()));
        const QByteArray wanted = completedExport(old);
        const auto pages = [](qint64 size) { return (size + 4095) / 4096; };
        QVERIFY(pages(wanted.size()) > 1);
        // A tmpfs counts whole pages: room for the file, the previous backup
        // and, maybe, the new one, and one page more than that.
        const qint64 size = 4096 * (pages(old.size()) + 1 + (backupFits ? pages(backup.size()) + 1 : 0));
        writeFile(path("original.cfg"), old);
        QVERIFY(QDir().mkpath(path("small")));

        const QString script = QStringLiteral("mount -t tmpfs -o size=$1 tmpfs \"$2\" || exit 77\n"
                                              "cp \"$3\" \"$2/q3config.cfg\" || exit 78\n"
                                              "echo the previous backup >\"$2/q3config.cfg_\"\n"
                                              "\"$4\" export \"$2/q3config.cfg\" 2>\"$5/err\"\n"
                                              "status=$?\n"
                                              "cp \"$2/q3config.cfg\" \"$5/after.cfg\"\n"
                                              "cp \"$2/q3config.cfg_\" \"$5/backup.cfg\"\n"
                                              "ls -A \"$2\" >\"$5/listing\"\n"
                                              "exit $status\n");
        QProcess process;
        process.setProcessEnvironment(childEnvironment());
        process.start("unshare", {"--mount", "--propagation", "private", "/bin/sh", "-c", script, "sh",
                                  QString::number(size), path("small"), path("original.cfg"), cliPath(), work->root()});
        if (!process.waitForStarted(10000))
            QSKIP("unshare is not available here");
        QVERIFY(process.waitForFinished(60000));
        if (process.exitCode() == 77 || (process.exitCode() == 1 && !QFile::exists(path("err"))))
            QSKIP("no small file system can be mounted here");
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        const QByteArray err = contentOf(path("err"));
        QCOMPARE(process.exitCode(), 1);
        QVERIFY2(err.contains("q3config.cfg"), err);
        QVERIFY2(err.contains("No space left on device"), err);
        QCOMPARE(contentOf(path("after.cfg")), old);
        QCOMPARE(contentOf(path("listing")), QByteArray("q3config.cfg\nq3config.cfg_\n"));
        QCOMPARE(contentOf(path("backup.cfg")), backupFits ? backup : QByteArray("the previous backup\n"));
    }

    // After each kill the file must be exactly the old or exactly the new
    // content, and so must every read made while the export runs. A kill
    // at each step of the write is made through the file layer's seam in
    // tst_filefaults; these are real signals at random moments.
    void killedAtRandomMomentsLeavesOldOrNew()
    {
        QCOMPARE(cli({"set", "Field of view", "105"}).status, 0);
        QCOMPARE(cli({"set", "Mouse sensitivity", "2.25"}).status, 0);
        QByteArray old;
        for (int i = 0; old.size() < mebibyte; ++i) {
            old += i % 40 == 0 ? QByteArray("seta cg_fov \"100\"\n")
                               : "bind k" + QByteArray::number(i) + " \"say a line of a large game file\"\n";
        }
        QElapsedTimer clock;
        clock.start();
        const QByteArray wanted = completedExport(old);
        // Kill moments span one whole export, so kills land from before the
        // file is read to after it is replaced.
        const qint64 span = qMax<qint64>(20, clock.elapsed() * 12 / 10);
        QVERIFY(wanted != old);

        const quint32 seed = QRandomGenerator::global()->generate();
        qInfo("seed %u, kills within %lld ms", seed, span);
        QRandomGenerator random(seed);
        int sawOld = 0, sawNew = 0;
        QSet<QString> leftBehind;
        const auto whole = [&](const QByteArray &now) { return now == old || now == wanted; };
        for (int run = 0; run < 8; ++run) {
            writeFile(chosenFile(), old);
            QProcess process;
            process.setProcessEnvironment(childEnvironment());
            process.start(cliPath(), {"export", chosenFile()});
            QVERIFY(process.waitForStarted(10000));
            const qint64 delay = random.bounded(span + 1);
            QElapsedTimer waited;
            waited.start();
            while (waited.elapsed() < delay)
                QVERIFY2(whole(contentOf(chosenFile())), qPrintable(QString("run %1, during").arg(run)));
            process.kill();
            QVERIFY(process.waitForFinished(10000));
            const QByteArray after = contentOf(chosenFile());
            QVERIFY2(whole(after), qPrintable(QString("run %1, %2 ms").arg(run).arg(delay)));
            (after == old ? sawOld : sawNew) += 1;
            for (const QString &name : entriesOf(gameFolder()))
                leftBehind << name;
        }
        // A kill in the moment between naming the new copy and renaming it
        // into place leaves it; the next export removes it, and nothing of a
        // killed export stays.
        leftBehind -= QSet<QString>{"q3config.cfg", "q3config.cfg_"};
        qInfo("old content %d times, new content %d times, %lld copies left for the next export to remove", sawOld,
              sawNew, static_cast<long long>(leftBehind.size()));
        QCOMPARE(cli({"export", chosenFile()}).status, 0);
        QCOMPARE(entriesOf(gameFolder()), QStringList({"q3config.cfg", "q3config.cfg_"}));
    }

    void concurrentSavesKeepTheStoreReadable()
    {
        const int rounds = 10;
        // Options of the shipped catalogue: one both runs set, and one of
        // each run's own per round.
        QStringList names;
        for (const QByteArray &row : cli({"list"}).out.split('\n'))
            names << QString::fromLatin1(row.split('\t').value(1));
        names.removeDuplicates();
        QVERIFY(names.size() > 2 * rounds + 1);
        const QString shared = names[0];
        const auto own = [&](int round, int run) { return names[1 + 2 * round + run]; };

        const QString both = QStringLiteral("\"$0\" set \"$3\" \"$1\" && \"$0\" set \"$2\" \"$1\"");
        for (int round = 0; round < rounds; ++round) {
            const QString a = QString("a%1").arg(round), b = QString("b%1").arg(round);
            QProcess first, second;
            for (QProcess *process : {&first, &second})
                process->setProcessEnvironment(childEnvironment());
            first.start("/bin/sh", {"-c", both, cliPath(), a, own(round, 0), shared});
            second.start("/bin/sh", {"-c", both, cliPath(), b, own(round, 1), shared});
            QVERIFY(first.waitForFinished(30000));
            QVERIFY(second.waitForFinished(30000));
            QVERIFY2(first.exitCode() == 0, first.readAllStandardError());
            QVERIFY2(second.exitCode() == 0, second.readAllStandardError());
            const Run get = cli({"get", shared});
            QCOMPARE(get.status, 0);
            QVERIFY2(get.out == a.toLatin1() + "\n" || get.out == b.toLatin1() + "\n", get.out);
        }
        const cvarden::SettingsStore store(storeFile());
        for (int round = 0; round < rounds; ++round) {
            const std::string a = "a" + std::to_string(round), b = "b" + std::to_string(round);
            QCOMPARE(store.Get(own(round, 0).toStdString(), "<lost>"), a);
            QCOMPARE(store.Get(own(round, 1).toStdString(), "<lost>"), b);
        }
    }

    // The store's folder is a file, which no user can write into.
    void storeThatCannotBeWritten_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("out");
        QTest::newRow("set") << QStringList{"set", "Field of view", "100"} << 1 << QByteArray();
        QTest::newRow("import") << QStringList{"import", "GAME"} << 1 << QByteArray();
        QTest::newRow("reset") << QStringList{"reset"} << 1 << QByteArray();
        QTest::newRow("get still answers") << QStringList{"get", "Field of view"} << 0 << QByteArray("90\n");
        QTest::newRow("export still writes") << QStringList{"export", "GAME"} << 0
                                             << QByteArray("28 settings changed, 397 added at their default, 0 already right (GAME)\n");
    }

    void storeThatCannotBeWritten()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QByteArray, out);
        writeFile(chosenFile(), smallGameFile());
        QVERIFY(QDir().mkpath(path("config")));
        writeFile(path("config/Cvarden"), "a file where the store's folder should be");
        arguments.replaceInStrings("GAME", chosenFile());
        out.replace("GAME", QFile::encodeName(chosenFile()));
        const Run run = cli(arguments);
        QVERIFY(run.finished && !run.crashed);
        QCOMPARE(run.status, status);
        QCOMPARE(run.out, out);
        if (status == 0) {
            QCOMPARE(run.err, QByteArray());
        } else {
            QVERIFY2(run.err.contains("Cannot save the settings"), run.err);
            QVERIFY2(run.err.contains(QFile::encodeName(storeFile())), run.err);
        }
    }

    void hugeGameFileWithoutCarriageReturns_data()
    {
        QTest::addColumn<bool>("oneLine");
        QTest::newRow("short lines") << false;
        QTest::newRow("a single line") << true;
    }

    void hugeGameFileWithoutCarriageReturns()
    {
        QFETCH(bool, oneLine);
        const qint64 size = 16 * mebibyte;
        qint64 backupSize = 0;
        {
            QByteArray bytes;
            bytes.reserve(size + 64);
            if (oneLine) {
                bytes = "// ";
                bytes += QByteArray(size - bytes.size(), 'x');
            } else {
                for (int i = 0; bytes.size() < size; ++i) {
                    if (i % 50 == 0)
                        bytes += "seta cg_fov \"" + QByteArray::number(90 + i % 40) + "\"\n";
                    else
                        bytes += "bind k" + QByteArray::number(i) + " \"say line " + QByteArray::number(i) + "\"\n";
                }
                bytes.truncate(size);
            }
            QVERIFY(!bytes.contains('\r'));
            // Normalizing adds CR LF after every LF, and after a last
            // unfinished line.
            backupSize = size + 2 * bytes.count('\n') + (bytes.endsWith('\n') ? 0 : 2);
            writeFile(chosenFile(), bytes);
        }
        for (const QString &command : {QStringLiteral("import"), QStringLiteral("export")}) {
            const Measured run = measured({command, chosenFile()});
            QVERIFY2(run.finished, qPrintable(command));
            QVERIFY2(run.exitedNormally, qPrintable(command));
            QVERIFY2(run.status == 0, run.err);
            qInfo("%s: peak %lld MiB for %lld MiB", qPrintable(command), run.peakBytes / mebibyte, size / mebibyte);
            QVERIFY2(run.peakBytes < memoryBound(size), qPrintable(QString::number(run.peakBytes)));
        }
        // The file keeps every byte it held.
        QVERIFY(QFileInfo(chosenFile()).size() >= size);
        QCOMPARE(QFileInfo(chosenFile() + "_").size(), backupSize);
        QFile::remove(chosenFile());
        QFile::remove(chosenFile() + "_");
    }

    void catalogueOfTwentyFiveThousandEntries()
    {
        const int entries = 25000;
        QByteArray catalogue = "Video\r\nSound\r\nPlayer\r\n---\r\n";
        const char *folders[] = {"Video", "Sound", "Player"};
        for (int i = 0; i < entries; ++i) {
            const QByteArray n = QByteArray::number(i);
            catalogue += QByteArray(folders[i % 3]) + "\r\nOption " + n + "\r\nWhat option " + n +
                         " does, in a sentence.\r\nvar_" + n + "\r\nx\r\n";
            switch (i % 3) {
            case 0: catalogue += "VALUE\r\n" + n + "\r\n"; break;
            case 1: catalogue += "CHECK\r\nx\r\n1\r\n"; break;
            default: catalogue += "COMBO\r\nENTRIES\r\n3\r\nlow\r\nmid\r\nhigh\r\nx\r\nmid\r\n";
            }
        }
        writeFile(path("huge.dat"), catalogue);
        // Values other than the defaults, which are all added, however large
        // the file grows.
        QByteArray values;
        for (int i = 0; i < entries; ++i)
            values += "seta var_" + QByteArray::number(i) + " z\n";
        writeFile(path("values.cfg"), values);
        writeFile(chosenFile(), "seta var_6 \"old\"\n");
        const qint64 size = catalogue.size();
        catalogue.clear();

        const Measured check = measured({"--catalogue", path("huge.dat"), "check"});
        QVERIFY(check.finished && check.exitedNormally);
        QCOMPARE(check.status, 0);
        QVERIFY2(check.peakBytes < memoryBound(size), qPrintable(QString::number(check.peakBytes)));
        const Measured imported = measured({"--catalogue", path("huge.dat"), "import", path("values.cfg")});
        QVERIFY2(imported.finished && imported.exitedNormally && imported.status == 0, imported.err);
        const Measured exported = measured({"--catalogue", path("huge.dat"), "export", chosenFile()});
        QVERIFY(exported.finished && exported.exitedNormally);
        QVERIFY2(exported.status == 0, exported.err);
        QVERIFY2(exported.peakBytes < memoryBound(size), qPrintable(QString::number(exported.peakBytes)));
        qInfo("check: peak %lld MiB, export: peak %lld MiB, for %lld MiB", check.peakBytes / mebibyte,
              exported.peakBytes / mebibyte, size / mebibyte);
        const QByteArray written = contentOf(chosenFile());
        QCOMPARE(written.count("\nseta var_"), entries - 1);
        QVERIFY2(written.startsWith("seta var_6 \"z\"\n"), written.left(40));
    }

    void randomBytes_data()
    {
        QTest::addColumn<QString>("role");
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("status");
        QTest::newRow("a game file to import") << "game" << "import" << 0;
        // With no engine known, settings whose defaults differ between the
        // engines must be added, which a NUL byte in the noise refuses.
        QTest::newRow("a game file to export into") << "game" << "export" << 1;
        QTest::newRow("a catalogue to check") << "catalogue" << "check" << 1;
        QTest::newRow("a catalogue to list") << "catalogue" << "list" << 0;
    }

    void randomBytes()
    {
        QFETCH(QString, role);
        QFETCH(QString, command);
        QFETCH(int, status);
        const qint64 size = 4 * mebibyte;
        const QByteArray noise = noiseOf(size, 6);
        QStringList arguments{command};
        if (role == "game") {
            writeFile(chosenFile(), noise);
            arguments << chosenFile();
        } else {
            writeFile(path("noise.dat"), noise);
            arguments.prepend(path("noise.dat"));
            arguments.prepend("--catalogue");
        }
        const Measured run = measured(arguments);
        QVERIFY(run.finished && run.exitedNormally);
        QVERIFY2(run.status == status, run.err);
        QVERIFY2(run.peakBytes < memoryBound(size), qPrintable(QString::number(run.peakBytes)));
        // The noise sets no catalogued variable: an import takes nothing from
        // it, and an export refused changes nothing.
        if (role == "game")
            QCOMPARE(contentOf(chosenFile()), noise);
    }
};

QTEST_GUILESS_MAIN(FaultsTest)
#include "tst_faults.moc"
