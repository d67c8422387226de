// SPDX-License-Identifier: GPL-2.0-or-later
#include <QtTest>

#include <sys/stat.h>

#include "outcomes.h"
#include "catalogue_fixture.h"
#include "exportconfig.h"
#include "loader.h"
#include "memorystore.h"
#include "versions.h"

using namespace cvarden;

class ExportTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    Catalogue catalogue;
    OptionTree &tree = catalogue.tree;
    MemoryStore store;
    QString chosen;

    // Options in this order: ab shown as A (stored 5), cd shown as D (default 0).
    void loadCatalogue(const QStringList &extraEntries = {})
    {
        const QStringList lines{"F", "---", "F", "A", "d", "ab", "x", "VALUE", "1", "F", "D", "d", "cd", "x", "VALUE", "0"};
        QCOMPARE(loadTestCatalogue(dir, lines + extraEntries, catalogue), Failure::None);
    }

    SavePlan exportBytes(const std::string &bytes)
    {
        chosen = writeTestFile(dir, "q3config.cfg", bytes);
        return ExportConfig(chosen.toStdString(), tree, store);
    }

private slots:
    void init()
    {
        loadCatalogue();
        store = MemoryStore();
        store.values["A"] = "5";
    }

    void fileIsRewrittenWithTheStoredValues_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");

        QTest::newRow("a game-written file")
            << "x SP y LF seta SP ab SP DQ 1 DQ LF seta SP zz SP DQ 9 DQ LF"
            << "x SP y LF seta SP ab SP DQ 5 DQ LF seta SP zz SP DQ 9 DQ LF seta SP cd SP DQ 0 DQ LF";
        QTest::newRow("a line held twice is replaced at both places")
            << "seta SP ab SP 1 LF seta SP ab SP 2 LF"
            << "seta SP ab SP DQ 5 DQ LF seta SP ab SP DQ 5 DQ LF seta SP cd SP DQ 0 DQ LF";
        QTest::newRow("a CR LF file keeps CR LF, added lines too")
            << "x CR LF seta SP ab SP 1 CR LF"
            << "x | seta SP ab SP DQ 5 DQ | seta SP cd SP DQ 0 DQ |";
        QTest::newRow("a blank line after a replaced CR LF line stays")
            << "seta SP ab SP 1 CR LF CR LF x CR LF"
            << "seta SP ab SP DQ 5 DQ | | x | seta SP cd SP DQ 0 DQ |";
        QTest::newRow("the name and its LF is a line of the option")
            << "seta SP ab LF" << "seta SP ab SP DQ 5 DQ LF seta SP cd SP DQ 0 DQ LF";
        QTest::newRow("the bare name without LF gets the value too")
            << "seta SP ab" << "seta SP ab SP DQ 5 DQ LF seta SP cd SP DQ 0 DQ LF";
        QTest::newRow("a longer name keeps its own line")
            << "seta SP abc SP DQ 7 DQ LF"
            << "seta SP abc SP DQ 7 DQ LF seta SP ab SP DQ 5 DQ LF seta SP cd SP DQ 0 DQ LF";
        QTest::newRow("a file with any bare LF gets LF")
            << "x CR LF y LF" << "x CR LF y LF seta SP ab SP DQ 5 DQ LF seta SP cd SP DQ 0 DQ LF";
        QTest::newRow("only comments: every option is added in tree order")
            << "// SP mine LF" << "// SP mine LF seta SP ab SP DQ 5 DQ LF seta SP cd SP DQ 0 DQ LF";
    }

    void fileIsRewrittenWithTheStoredValues()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        const SavePlan report = exportBytes(spelled(before));
        QCOMPARE(report.outcome, Failure::None);
        QCOMPARE(readTestFile(chosen), spelled(after));
    }

    void secondExportChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("a game-written file") << QByteArray("x y\nseta ab \"1\"\n");
        QTest::newRow("a CR LF file with blank lines") << QByteArray("seta ab 1\r\n\r\nx\r\n\r\n");
    }

    void secondExportChangesNothing()
    {
        QFETCH(QByteArray, file);
        exportBytes(file.toStdString());
        const std::string once = readTestFile(chosen);
        const SavePlan again = ExportConfig(chosen.toStdString(), tree, store);
        QCOMPARE(readTestFile(chosen), once);
        QCOMPARE(again.commandsAdded, std::size_t(0));
        QCOMPARE(again.commandsRewritten, std::size_t(2));
        QCOMPARE(SaveSummary(again), std::string("Nothing changed: the file already held every value"));
    }

    void backupCopyHoldsThePreviousContent()
    {
        exportBytes("seta ab \"1\"\n");
        QCOMPARE(readTestFile(chosen + "_"), std::string("seta ab \"1\"\n\r\n"));
    }

    void optionsSharingAVariableWriteOneRecordWithTheLastValue_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::newRow("a line of the variable")
            << "seta SP ab SP DQ 1 DQ LF" << "seta SP ab SP DQ 7 DQ LF seta SP cd SP DQ 0 DQ LF";
        QTest::newRow("no line of the variable") << "x LF" << "x LF seta SP ab SP DQ 7 DQ LF seta SP cd SP DQ 0 DQ LF";
    }

    void optionsSharingAVariableWriteOneRecordWithTheLastValue()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        loadCatalogue({"F", "B", "d", "ab", "x", "VALUE", "7"});
        exportBytes(spelled(before));
        QCOMPARE(readTestFile(chosen), spelled(after));
        // Saving again neither adds nor multiplies lines.
        QCOMPARE(ExportConfig(chosen.toStdString(), tree, store).outcome, Failure::None);
        QCOMPARE(readTestFile(chosen), spelled(after));
    }

    void valuesTheGameWouldMisreadAreMadeSafe_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("written");
        QTest::newRow("a command after ;") << "1; quit" << "1; quit";
        QTest::newRow("a comment marker") << "a // b" << "a // b";
        QTest::newRow("quotes are left out") << "say \"hi\"" << "say hi";
        QTest::newRow("line breaks are left out") << "1\r\nquit\n" << "1quit";
        QTest::newRow("blanks stay") << " a b " << " a b ";
        QTest::newRow("a NUL byte, where the game stops reading, is left out") << QString("1") + QChar(0) + "2" << "12";
    }

    void valuesTheGameWouldMisreadAreMadeSafe()
    {
        QFETCH(QString, stored);
        QFETCH(QString, written);
        store.values["A"] = stored.toStdString();
        exportBytes("seta ab 1\n");
        const std::string expected = "seta ab \"" + written.toStdString() + "\"\nseta cd \"0\"\n";
        QCOMPARE(readTestFile(chosen), expected);
        QCOMPARE(store.values["A"], stored.toStdString());
    }

    void tagsMarkTheOptionsWritten()
    {
        exportBytes("x\n");
        for (std::size_t i = 1; i <= tree.count(); ++i)
            QCOMPARE(tree.item(i).tag, std::string(tree.item(i).hasParent() ? "DONE" : ""));
    }

    void emptyFileIsLeftAloneWithItsBackup()
    {
        writeTestFile(dir, "q3config.cfg_", "last good settings");
        const SavePlan report = exportBytes("");
        QCOMPARE(report.outcome, Failure::Empty);
        QCOMPARE(readTestFile(chosen), std::string());
        QCOMPARE(readTestFile(chosen + "_"), std::string("last good settings"));
    }

    void readOnlyFileIsRefusedEvenForRoot()
    {
        const std::string before = "seta ab \"1\"\n";
        chosen = writeTestFile(dir, "q3config.cfg", before);
        QVERIFY(QFile::setPermissions(chosen, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
        const SavePlan report = ExportConfig(chosen.toStdString(), tree, store);
        QFile::setPermissions(chosen, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QCOMPARE(report.outcome, Failure::ReadOnly);
        QCOMPARE(readTestFile(chosen), before);
        QCOMPARE(tree.item(3).tag, std::string());
        // The next export runs normally once the player allows it.
        QCOMPARE(ExportConfig(chosen.toStdString(), tree, store).outcome, Failure::None);
    }

    // Whatever refuses a save refuses it before the backup copy, a version or
    // the file is touched: each stays byte for byte as it was.
    void refusedSaveLeavesEveryFileAsItWas_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("situation");
        QTest::addColumn<Failure>("failure");
        QTest::newRow("a value too long for the game") << QByteArray("seta ab 1\n") << "long value" << Failure::TooLongForGame;
        QTest::newRow("an addition after a NUL byte") << QByteArray("x\n\0y\n", 6) << "" << Failure::IgnoredByGame;
        QTest::newRow("an addition in an open comment") << QByteArray("x\n/* y\n") << "" << Failure::IgnoredByGame;
        QTest::newRow("a read-only file") << QByteArray("seta ab 1\n") << "read-only" << Failure::ReadOnly;
        QTest::newRow("an empty file") << QByteArray() << "" << Failure::Empty;
        QTest::newRow("a store that cannot be read") << QByteArray("seta ab 1\n") << "unreadable store" << Failure::StoreUnreadable;
    }

    void refusedSaveLeavesEveryFileAsItWas()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, situation);
        QFETCH(Failure, failure);
        const std::string versions = dir.filePath("versions").toStdString();
        chosen = writeTestFile(dir, "q3config.cfg", "seta ab 1\n");
        QCOMPARE(ExportConfig(chosen.toStdString(), tree, store, versions).outcome, Failure::None);
        writeTestFile(dir, "q3config.cfg", file.toStdString());
        const std::string backup = readTestFile(chosen + "_");
        std::vector<KeptVersion> kept;
        QCOMPARE(ListVersions(versions, chosen.toStdString(), kept), Failure::None);
        if (situation == "long value")
            store.values["A"] = std::string(1100, 'x');
        if (situation == "read-only")
            QVERIFY(QFile::setPermissions(chosen, QFileDevice::ReadOwner));
        if (situation == "unreadable store")
            store.unreadable = true;

        QCOMPARE(ExportConfig(chosen.toStdString(), tree, store, versions).outcome, failure);
        QFile::setPermissions(chosen, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QCOMPARE(readTestFile(chosen), file.toStdString());
        QCOMPARE(readTestFile(chosen + "_"), backup);
        std::vector<KeptVersion> after;
        QCOMPARE(ListVersions(versions, chosen.toStdString(), after), Failure::None);
        QCOMPARE(after.size(), kept.size());
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList({"options.dat", "q3config.cfg", "q3config.cfg_", "versions"}));
    }

    void fileKeepsItsPermissions()
    {
        chosen = writeTestFile(dir, "q3config.cfg", "x\n");
        QVERIFY(::chmod(chosen.toLocal8Bit().constData(), 0640) == 0);
        QCOMPARE(ExportConfig(chosen.toStdString(), tree, store).outcome, Failure::None);
        struct stat info {};
        QCOMPARE(::stat(chosen.toLocal8Bit().constData(), &info), 0);
        QCOMPARE(info.st_mode & 07777, mode_t(0640));
    }

    void symbolicLinkIsWrittenThrough()
    {
        const QString target = writeTestFile(dir, "real.cfg", "seta ab 1\n");
        const QString link = dir.filePath("linked.cfg");
        QFile::remove(link);
        QVERIFY(QFile::link(target, link));
        QCOMPARE(ExportConfig(link.toStdString(), tree, store).outcome, Failure::None);
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(readTestFile(target), std::string("seta ab \"5\"\nseta cd \"0\"\n"));
    }

    void noScratchRoomLeavesTheFileUnchanged()
    {
        chosen = writeTestFile(dir, "blocked.cfg", "seta ab 1\n");
        QVERIFY(QDir(dir.path()).mkdir("blocked.cfg_"));
        const SavePlan report = ExportConfig(chosen.toStdString(), tree, store);
        QCOMPARE(report.outcome, Failure::NotAFile);
        QCOMPARE(readTestFile(chosen), std::string("seta ab 1\n"));
    }

    void realGameFilesKeepEveryOtherLine_data()
    {
        QTest::addColumn<QString>("file");
        for (const char *name : {"Steffkn__Quake-configs__baseq3_q3config.cfg", "florianschendel__env__q3config.cfg",
                                 "ExpandingShapes__configs__Quake_3_Arena_q3config.cfg",
                                 "dsebastien__quake3config__baseq3_q3config.cfg",
                                 "drummyfish__my_text_data__q3config.cfg"})
            QTest::newRow(name) << name;
    }

    void realGameFilesKeepEveryOtherLine()
    {
        QFETCH(QString, file);
        const QString path = QStringLiteral(CVARDEN_SHARED_CONFIGS "/") + file;
        if (!QFile::exists(path))
            QSKIP("the shared game files are not here");
        loadCatalogue({"F", "S", "d", "sensitivity", "x", "VALUE", "5"});
        store.values["S"] = "3.5";
        const std::string original = readTestFile(path);
        exportBytes(original);
        const std::string rewritten = readTestFile(chosen);
        // Every line that is not a line of ours comes through, byte for byte.
        QStringList expected;
        for (const QString &line : QString::fromLatin1(original.data(), qsizetype(original.size())).split('\n')) {
            if (!line.startsWith("seta sensitivity") && !line.startsWith("seta ab") && !line.startsWith("seta cd"))
                expected << line;
        }
        QStringList kept;
        const QString after = QString::fromLatin1(rewritten.data(), qsizetype(rewritten.size()));
        for (const QString &line : after.split('\n')) {
            if (!line.startsWith("seta sensitivity") && !line.startsWith("seta ab") && !line.startsWith("seta cd"))
                kept << line;
        }
        while (!expected.isEmpty() && expected.last().isEmpty())
            expected.removeLast();
        while (!kept.isEmpty() && kept.last().isEmpty())
            kept.removeLast();
        QCOMPARE(kept, expected);
        // The blanks the player laid out before the value stay.
        QVERIFY(QRegularExpression("seta sensitivity[ \t]+\"3\\.5\"\n").match(after).hasMatch());
    }
};

QTEST_APPLESS_MAIN(ExportTest)
#include "tst_export.moc"
