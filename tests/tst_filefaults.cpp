// SPDX-License-Identifier: GPL-2.0-or-later
#include <QtTest>

#include <cerrno>

#include "outcomes.h"
#include "catalogue_fixture.h"
#include "exportconfig.h"
#include "importconfig.h"
#include "fileio.h"
#include "filesteps.h"
#include "memorystore.h"
#include "normalize.h"
#include "versions.h"

using namespace cvarden;

Q_DECLARE_METATYPE(FileStep)

namespace {

// The files a save writes, in the order it writes them.
enum Written { BackupCopy, Version, GameFile };

// Makes one step of one of the save's files fail or stop, and lets every
// other step run.
struct Fault {
    FileStep step = FileStep::Open;
    int file = GameFile;
    int result = 0;

    FileStepHook hook() const
    {
        // Each file's write begins with its Open step.
        auto opened = std::make_shared<int>(-1);
        return [fault = *this, opened](FileStep step) {
            if (step == FileStep::Open)
                ++*opened;
            return step == fault.step && *opened == fault.file ? fault.result : 0;
        };
    }
};

} // namespace

// Faults of the file system caused through the file layer's seam: a full
// disk, a refused permission, a kill between two steps of a one-step write.
class FileFaultsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir;
    Catalogue catalogue;
    MemoryStore store;
    const std::string old = "seta ab \"1\"\nbind x \"say hi\"\n";

    QString game() const { return dir->filePath("game/q3config.cfg"); }
    std::string ledger() const { return dir->filePath("data/pending").toStdString(); }
    std::string versions() const { return dir->filePath("data/versions").toStdString(); }
    QStringList gameFolder() const
    {
        return QDir(dir->filePath("game")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    }

    // The names the ledger's notes still hold.
    std::string notedNames() const
    {
        std::string names;
        const QDir folder(QString::fromStdString(ledger()));
        for (const QString &note : folder.entryList(QDir::Files | QDir::Hidden))
            names += readTestFile(folder.filePath(note));
        return names;
    }

    Outcome save() { return ExportConfig(game().toStdString(), catalogue.tree, store, versions()).outcome; }

    // What the file holds after a save that goes through.
    std::string saved()
    {
        QTemporaryDir other;
        const QString copy = writeTestFile(other, "q3config.cfg", old);
        if (ExportConfig(copy.toStdString(), catalogue.tree, store).outcome.failed())
            qFatal("the reference save failed");
        return readTestFile(copy);
    }

    std::size_t versionsKept()
    {
        std::vector<KeptVersion> kept;
        if (ListVersions(versions(), game().toStdString(), kept).failed())
            qFatal("the versions cannot be listed");
        return kept.size();
    }

private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir(dir->path()).mkdir("game"));
        QCOMPARE(loadTestCatalogue(*dir, {"F", "---", "F", "A", "d", "ab", "x", "VALUE", "1"}, catalogue),
                 Failure::None);
        store = MemoryStore();
        store.values["A"] = "5";
        writeTestFile(*dir, "game/q3config.cfg", old);
        writeTestFile(*dir, "game/q3config.cfg_", "the previous backup\n");
        SetLeftoverLedger(ledger());
    }

    void cleanup()
    {
        SetFileStepHook({});
        SetLeftoverLedger({});
    }

    void failedStepLeavesTheFileAndTheBackupWhole_data()
    {
        QTest::addColumn<FileStep>("step");
        QTest::addColumn<int>("file");
        QTest::addColumn<int>("error");
        QTest::newRow("the folder takes no new backup copy") << FileStep::Open << int(BackupCopy) << EACCES;
        QTest::newRow("the disk fills up in the backup copy") << FileStep::Write << int(BackupCopy) << ENOSPC;
        QTest::newRow("the backup copy cannot be named") << FileStep::Name << int(BackupCopy) << EACCES;
        QTest::newRow("the disk fills up in the version") << FileStep::Write << int(Version) << ENOSPC;
        QTest::newRow("the folder takes no new game file") << FileStep::Open << int(GameFile) << EACCES;
        QTest::newRow("the disk fills up in the new content") << FileStep::Write << int(GameFile) << ENOSPC;
        QTest::newRow("the file size limit cuts the new content") << FileStep::Write << int(GameFile) << EFBIG;
        QTest::newRow("the disk fails to sync the new content") << FileStep::Sync << int(GameFile) << EIO;
        QTest::newRow("the new content cannot be named") << FileStep::Name << int(GameFile) << EDQUOT;
        QTest::newRow("the rename into place is refused") << FileStep::Rename << int(GameFile) << EPERM;
    }

    void failedStepLeavesTheFileAndTheBackupWhole()
    {
        QFETCH(FileStep, step);
        QFETCH(int, file);
        QFETCH(int, error);
        SetFileStepHook(Fault{step, file, error}.hook());
        const Outcome outcome = save();
        QCOMPARE(outcome, Failure::CannotWrite);
        QVERIFY2(outcome.message().find(std::strerror(error)) != std::string::npos, outcome.message().c_str());
        QCOMPARE(readTestFile(game()), old);
        QCOMPARE(readTestFile(game() + "_"), file == BackupCopy ? std::string("the previous backup\n") : NormalizeText(old));
        QCOMPARE(gameFolder(), QStringList({"q3config.cfg", "q3config.cfg_"}));
        QCOMPARE(notedNames(), std::string());
    }

    void killBetweenStepsLeavesTheOldFileAndTheNextSaveCleansUp_data()
    {
        QTest::addColumn<FileStep>("step");
        QTest::addColumn<int>("leftovers");
        QTest::newRow("killed before the new copy is made") << FileStep::Open << 0;
        QTest::newRow("killed while writing the new content") << FileStep::Write << 0;
        QTest::newRow("killed before the new content is synced") << FileStep::Sync << 0;
        QTest::newRow("killed before the new content is named") << FileStep::Name << 0;
        QTest::newRow("killed between naming and renaming") << FileStep::Rename << 1;
    }

    void killBetweenStepsLeavesTheOldFileAndTheNextSaveCleansUp()
    {
        QFETCH(FileStep, step);
        QFETCH(int, leftovers);
        SetFileStepHook(Fault{step, GameFile, killedHere}.hook());
        QCOMPARE(save(), Failure::CannotWrite);
        QCOMPARE(readTestFile(game()), old);
        QCOMPARE(gameFolder().size(), 2 + leftovers);
        SetFileStepHook({});
        QCOMPARE(save(), Failure::None);
        QCOMPARE(readTestFile(game()), saved());
        QCOMPARE(gameFolder(), QStringList({"q3config.cfg", "q3config.cfg_"}));
        QCOMPARE(notedNames(), std::string());
    }

    // Only a name Cvarden noted before giving it is ever removed, whatever
    // the player's own files beside the game file are called.
    void thePlayersOwnFilesSurviveASave_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("a file named .cvarden-backup") << ".cvarden-backup";
        QTest::newRow("a file named .cvarden-notes1") << ".cvarden-notes1";
        QTest::newRow("a file named as Cvarden names its copies") << ".cvarden-a1b2c3";
    }

    void thePlayersOwnFilesSurviveASave()
    {
        QFETCH(QString, name);
        writeTestFile(*dir, "game/" + name, "notes\n");
        SetFileStepHook(Fault{FileStep::Rename, GameFile, killedHere}.hook());
        QCOMPARE(save(), Failure::CannotWrite);
        SetFileStepHook({});
        QCOMPARE(gameFolder().size(), 4);
        QCOMPARE(save(), Failure::None);
        QCOMPARE(gameFolder(), QStringList({name, "q3config.cfg", "q3config.cfg_"}));
        QCOMPARE(readTestFile(dir->filePath("game/" + name)), std::string("notes\n"));
    }

    void withoutALedgerNothingIsRemoved()
    {
        SetLeftoverLedger({});
        SetFileStepHook(Fault{FileStep::Rename, GameFile, killedHere}.hook());
        QCOMPARE(save(), Failure::CannotWrite);
        SetFileStepHook({});
        QCOMPARE(save(), Failure::None);
        QCOMPARE(gameFolder().size(), 3);
    }

    // The note is only for the cleanup: without it the save still goes on.
    void ledgerThatCannotBeWrittenDoesNotStopTheSave()
    {
        QVERIFY(QDir().mkpath(dir->filePath("data")));
        writeTestFile(*dir, "data/pending", "a file where the ledger's folder goes");
        SetLeftoverLedger(ledger());
        QCOMPARE(save(), Failure::None);
        QCOMPARE(readTestFile(game()), saved());
        QCOMPARE(gameFolder(), QStringList({"q3config.cfg", "q3config.cfg_"}));
    }

    // An import writes the backup copy before it takes anything over.
    void importWhoseBackupCopyCannotBeWrittenTakesNothing_data()
    {
        QTest::addColumn<FileStep>("step");
        QTest::addColumn<int>("error");
        QTest::newRow("the folder takes no new backup copy") << FileStep::Open << EACCES;
        QTest::newRow("the disk fills up in the backup copy") << FileStep::Write << ENOSPC;
        QTest::newRow("the backup copy cannot be renamed into place") << FileStep::Rename << EPERM;
    }

    void importWhoseBackupCopyCannotBeWrittenTakesNothing()
    {
        QFETCH(FileStep, step);
        QFETCH(int, error);
        SetFileStepHook(Fault{step, BackupCopy, error}.hook());
        QCOMPARE(ImportConfig(game().toStdString(), catalogue.tree, store).outcome, Failure::CannotWrite);
        QCOMPARE(store.values["A"], std::string("5"));
        QCOMPARE(readTestFile(game() + "_"), std::string("the previous backup\n"));
        QCOMPARE(gameFolder(), QStringList({"q3config.cfg", "q3config.cfg_"}));
    }

    // A refused version refuses the save: the file and its versions stay.
    void versionThatCannotBeKeptRefusesTheSave()
    {
        SetFileStepHook(Fault{FileStep::Sync, Version, EIO}.hook());
        QCOMPARE(save(), Failure::CannotWrite);
        QCOMPARE(readTestFile(game()), old);
        QCOMPARE(versionsKept(), std::size_t(0));
    }
};

QTEST_APPLESS_MAIN(FileFaultsTest)
#include "tst_filefaults.moc"
