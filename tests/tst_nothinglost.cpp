// SPDX-License-Identifier: GPL-2.0-or-later
#include <QtTest>

#include <memory>

#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "clifaultkit.h"
#include "normalize.h"

using namespace clifaultkit;

// A store that cannot be read, files that are no files, other users' files
// and long names, met for real by cvarden-cli: none may cost the player a
// setting, and none may hang it.
namespace {

// A file's owner, group and permissions, as "uid:gid:mode".
QString ownershipOf(const QString &path)
{
    struct stat info {};
    if (::lstat(bytesOf(path).c_str(), &info) != 0)
        return "missing";
    return QString("%1:%2:%3").arg(info.st_uid).arg(info.st_gid).arg(info.st_mode & 07777, 0, 8);
}

// What stands at a path, read without opening anything that could block.
QString standingAt(const QString &path)
{
    struct stat info {};
    if (::lstat(bytesOf(path).c_str(), &info) != 0)
        return "nothing";
    if (S_ISDIR(info.st_mode))
        return "a folder";
    if (S_ISFIFO(info.st_mode))
        return "a FIFO";
    if (S_ISLNK(info.st_mode))
        return "a link";
    return "a file " + ownershipOf(path) + " holding " + QString::fromLatin1(contentOf(path).toHex());
}

// Puts a thing that is no ordinary file at `path`.
void makeOdd(const QString &path, const QString &odd)
{
    QFile::remove(path);
    bool made = false;
    if (odd == "a FIFO")
        made = ::mkfifo(bytesOf(path).c_str(), 0644) == 0;
    else if (odd == "a folder")
        made = QDir().mkdir(path);
    else if (odd == "/dev/zero")
        made = QFile::link("/dev/zero", path);
    else if (odd == "65 MiB") {
        QFile file(path);
        made = file.open(QIODevice::WriteOnly) && file.resize(65 * mebibyte); // sparse: made at once
    }
    if (!made)
        qFatal("cannot put %s at %s", qPrintable(odd), qPrintable(path));
}

} // namespace

class NothingLostTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<CliWorkspace> work;
    OrdinaryUser player;
    bool havePlayer = false;

    void damageStore(const QString &damage) const
    {
        const QString store = work->storeFile();
        const QByteArray good = contentOf(store);
        if (damage == "garbage")
            writeFile(store, noiseOf(3000, 7));
        else if (damage == "cut short") // inside the name of its last value
            writeFile(store, good.left(good.lastIndexOf('=') - 3));
        else if (damage == "a line by hand")
            writeFile(store, good + "a line typed by hand\n");
        else if (damage == "unreadable")
            QVERIFY(QFile::setPermissions(store, {}));
        else
            makeOdd(store, damage);
    }

    Run cliAs(bool asPlayer, const QStringList &arguments) const
    {
        // Long enough for any of these commands, short enough to fail a hang.
        return work->cli(arguments, asPlayer ? player.becomeInChild() : std::function<void()>(), 20000);
    }

private slots:
    void initTestCase() { havePlayer = OrdinaryUser::find(player); }
    void init() { work = std::make_unique<CliWorkspace>(); }
    void cleanup() { work.reset(); }

    void storeThatCannotBeReadIsNeitherUsedNorWritten_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("get, garbage in the store") << "garbage" << QStringList{"get", "Field of view"};
        QTest::newRow("list, a folder in the store's place") << "a folder" << QStringList{"list"};
        QTest::newRow("export, garbage in the store") << "garbage" << QStringList{"export", "GAME"};
        QTest::newRow("export, a store the player may not read") << "unreadable" << QStringList{"export", "GAME"};
        QTest::newRow("get, a store the player may not read") << "unreadable" << QStringList{"get", "Field of view"};
        QTest::newRow("a preview, a FIFO in the store's place")
            << "a FIFO" << QStringList{"export", "--dry-run", "GAME"};
        QTest::newRow("import, garbage in the store") << "garbage" << QStringList{"import", "GAME"};
        QTest::newRow("reset, a FIFO in the store's place") << "a FIFO" << QStringList{"reset"};
        // These used to say the value could not be written, yet wrote it
        // over the line the store could not read.
        QTest::newRow("set, a store cut short") << "cut short" << QStringList{"set", "Field of view", "100"};
        QTest::newRow("set, a line added by hand") << "a line by hand" << QStringList{"set", "Field of view", "100"};
    }

    void storeThatCannotBeReadIsNeitherUsedNorWritten()
    {
        QFETCH(QString, damage);
        QFETCH(QStringList, arguments);
        const bool asPlayer = damage == "unreadable";
        if (asPlayer && !havePlayer)
            QSKIP("only a test run as root, from a build others may run, can meet a store as an ordinary user who may not read it");
        if (asPlayer)
            QVERIFY(work->openTo(player, true));
        QCOMPARE(cliAs(asPlayer, {"set", "Field of view", "105"}).status, 0);
        QCOMPARE(cliAs(asPlayer, {"set", "Mouse sensitivity", "2.5"}).status, 0);
        writeFile(work->chosenFile(), smallGameFile());
        if (asPlayer)
            QCOMPARE(::chown(bytesOf(work->chosenFile()).c_str(), player.uid, player.gid), 0);
        damageStore(damage);
        const QString storeBefore = standingAt(work->storeFile());

        const Run run = cliAs(asPlayer, arguments.replaceInStrings("GAME", work->chosenFile()));
        QVERIFY2(run.finished && !run.crashed, "it must answer at once");
        QCOMPARE(run.status, 1);
        QCOMPARE(run.out, QByteArray());
        QVERIFY2(run.err.contains(QFile::encodeName(work->storeFile())), run.err);
        QVERIFY2(run.err.contains("To start afresh"), run.err);
        QCOMPARE(standingAt(work->storeFile()), storeBefore);
        QCOMPARE(contentOf(work->chosenFile()), smallGameFile());
        QCOMPARE(entriesOf(work->gameFolder()), QStringList{"q3config.cfg"});
        QCOMPARE(entriesOf(work->path("data")), QStringList());
    }

    void filesThatAreNoFilesAreRefusedAtOnce_data()
    {
        QTest::addColumn<QString>("role");
        QTest::addColumn<QString>("odd");
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        QTest::newRow("export, a FIFO as the backup copy") << "backup copy"
                                                           << "a FIFO"
                                                           << "export" << 1 << "in its place";
        QTest::newRow("import, a FIFO as the backup copy") << "backup copy"
                                                           << "a FIFO"
                                                           << "import" << 1 << "in its place";
        QTest::newRow("list, a FIFO as the catalogue") << "catalogue"
                                                       << "a FIFO"
                                                       << "list" << 1 << "it is a FIFO";
        QTest::newRow("list, /dev/zero as the catalogue") << "catalogue"
                                                          << "/dev/zero"
                                                          << "list" << 1 << "a device";
        QTest::newRow("list, a catalogue of 65 MiB") << "catalogue"
                                                     << "65 MiB"
                                                     << "list" << 1 << "larger than 64 MiB";
        QTest::newRow("check, a FIFO as a choice list") << "choice list"
                                                        << "a FIFO"
                                                        << "check" << 1 << "it is a FIFO";
        QTest::newRow("list, a FIFO as a choice list") << "choice list"
                                                       << "a FIFO"
                                                       << "list" << 0 << "";
        QTest::newRow("check, /dev/zero as a choice list") << "choice list"
                                                           << "/dev/zero"
                                                           << "check" << 1 << "a device";
        QTest::newRow("check, a choice list of 65 MiB") << "choice list"
                                                        << "65 MiB"
                                                        << "check" << 1 << "larger than 64 MiB";
    }

    void filesThatAreNoFilesAreRefusedAtOnce()
    {
        QFETCH(QString, role);
        QFETCH(QString, odd);
        QFETCH(QString, command);
        QFETCH(int, status);
        QFETCH(QString, message);
        const QString catalogue = work->path("options.dat");
        writeFile(catalogue, "A\r\n---\r\nA\r\nMap\r\nd\r\nsv_map\r\nx\r\nCOMBO\r\nFILE\r\nmaps.txt\r\nx\r\nq3dm1\r\n");
        writeFile(work->chosenFile(), smallGameFile());
        QStringList arguments{command};
        if (role == "backup copy") {
            makeOdd(work->chosenFile() + "_", odd);
            arguments << work->chosenFile();
        } else {
            makeOdd(role == "catalogue" ? catalogue : work->path("maps.txt"), odd);
            arguments = QStringList{"--catalogue", catalogue} + arguments;
        }

        const Run run = work->cli(arguments, {}, 20000);
        QVERIFY2(run.finished && !run.crashed, "it must answer at once, and whole");
        QCOMPARE(run.status, status);
        QVERIFY2((run.out + run.err).contains(message.toLatin1()), run.out + run.err);
        if (role == "backup copy") {
            QCOMPARE(standingAt(work->chosenFile() + "_"), odd);
            QCOMPARE(contentOf(work->chosenFile()), smallGameFile());
        }
    }

    void onlyAFileThePlayerMayWriteIsReplaced_data()
    {
        QTest::addColumn<QString>("owner");
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("asPlayer");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        QTest::newRow("root's file, 0644, in the player's folder")
            << "root" << 0644 << true << 1 << "Permission denied";
        QTest::newRow("root's file that the player's group may write")
            << "root, the player's group" << 0664 << true << 1 << "belongs to another user or group";
        QTest::newRow("the player's own file, 0640") << "the player" << 0640 << true << 0 << "";
        QTest::newRow("an immutable file, saved by root")
            << "root, immutable" << 0644 << false << 1 << "Operation not permitted";
    }

    void onlyAFileThePlayerMayWriteIsReplaced()
    {
        QFETCH(QString, owner);
        QFETCH(int, mode);
        QFETCH(bool, asPlayer);
        QFETCH(int, status);
        QFETCH(QString, message);
        if (!havePlayer)
            QSKIP("only a test run as root, from a build others may run, can give a file to another user");
        QVERIFY(work->openTo(player, true));
        const QString chosen = work->chosenFile();
        writeFile(chosen, smallGameFile());
        const uid_t uid = owner == "the player" ? player.uid : 0;
        const gid_t gid = owner == "root" ? 0 : player.gid;
        QCOMPARE(::chown(bytesOf(chosen).c_str(), uid, gid), 0);
        QCOMPARE(::chmod(bytesOf(chosen).c_str(), static_cast<mode_t>(mode)), 0);
        const QString ownership = ownershipOf(chosen);
        std::unique_ptr<Unchangeable> immutable;
        if (owner.endsWith("immutable")) {
            immutable = std::make_unique<Unchangeable>(chosen);
            if (!immutable->isImmutable())
                QSKIP("this file system keeps no immutable flag");
        }

        const Run run = cliAs(asPlayer, {"export", chosen});
        immutable.reset();
        QVERIFY(run.finished && !run.crashed);
        QVERIFY2(run.status == status, run.err);
        QCOMPARE(ownershipOf(chosen), ownership);
        if (status == 0) {
            QVERIFY(contentOf(chosen) != smallGameFile());
        } else {
            QCOMPARE(contentOf(chosen), smallGameFile());
            QVERIFY2(run.err.contains(QFile::encodeName(chosen)), run.err);
            QVERIFY2(run.err.contains(message.toLatin1()), run.err);
            QVERIFY2(run.err.contains("left unchanged"), run.err);
        }
    }

    void linkAtTheBackupCopyIsReplacedNotFollowed_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("import") << "import";
        QTest::newRow("export") << "export";
    }

    void linkAtTheBackupCopyIsReplacedNotFollowed()
    {
        QFETCH(QString, command);
        const QString backup = work->chosenFile() + "_";
        writeFile(work->chosenFile(), smallGameFile());
        writeFile(work->path("precious.txt"), "precious");
        QVERIFY(QFile::link(work->path("precious.txt"), backup));

        const Run run = work->cli({command, work->chosenFile()});
        QVERIFY2(run.status == 0, run.err);
        QCOMPARE(contentOf(work->path("precious.txt")), QByteArray("precious"));
        QVERIFY(!QFileInfo(backup).isSymLink());
        QCOMPARE(contentOf(backup).toStdString(), cvarden::NormalizeText(smallGameFile().toStdString()));
    }

    // A run killed in the moment between naming its new copy and renaming
    // it into place leaves it; the next run removes it, unless a live run
    // still holds it.
    // Only a copy noted in Cvarden's ledger, by a run that is gone, is
    // removed; a file of the same shape that no run noted is the player's.
    void copiesLeftByAKilledRunAreRemovedByTheNext_data()
    {
        QTest::addColumn<bool>("noted");
        QTest::addColumn<bool>("held");
        QTest::addColumn<bool>("removed");
        QTest::newRow("a noted copy no run holds") << true << false << true;
        QTest::newRow("a noted copy a live run holds") << true << true << false;
        QTest::newRow("a copy no run noted") << false << false << false;
    }

    void copiesLeftByAKilledRunAreRemovedByTheNext()
    {
        QFETCH(bool, noted);
        QFETCH(bool, held);
        QFETCH(bool, removed);
        const QString leftover = work->gameFolder() + "/.cvarden-k1ll3d";
        writeFile(leftover, "the new content of a killed run");
        writeFile(work->chosenFile(), smallGameFile());
        const QString note = work->path("data/Cvarden/pending/n0t3");
        QVERIFY(QDir().mkpath(work->path("data/Cvarden/pending")));
        if (noted)
            writeFile(note, QFile::encodeName(QFileInfo(leftover).absoluteFilePath()));
        QFile holder(note);
        if (held) {
            QVERIFY(holder.open(QIODevice::ReadOnly));
            QCOMPARE(::flock(holder.handle(), LOCK_EX | LOCK_NB), 0);
        }

        const Run run = work->cli({"export", work->chosenFile()});
        QVERIFY2(run.status == 0, run.err);
        QCOMPARE(QFile::exists(leftover), !removed);
        QCOMPARE(QFile::exists(note), noted && !removed);
    }

    // The file system allows 255 bytes to a name; the backup copy's name is
    // one byte longer than the file's.
    void longFileNamesAreSaved_data()
    {
        QTest::addColumn<int>("length");
        QTest::newRow("a name of 245 bytes") << 245;
        QTest::newRow("a name of 254 bytes") << 254;
    }

    void longFileNamesAreSaved()
    {
        QFETCH(int, length);
        const QString name = QString(length - 4, 'q') + ".cfg";
        const QString chosen = QDir(work->gameFolder()).filePath(name);
        writeFile(chosen, smallGameFile());
        const Run run = work->cli({"export", chosen});
        QVERIFY2(run.status == 0, run.err);
        QVERIFY(contentOf(chosen) != smallGameFile());
        QCOMPARE(entriesOf(work->gameFolder()), QStringList({name, name + "_"}));
    }
};

QTEST_GUILESS_MAIN(NothingLostTest)
#include "tst_nothinglost.moc"
