// SPDX-License-Identifier: GPL-2.0-or-later
#include <QtTest>

#include "outcomes.h"
#include "catalogue_fixture.h"
#include "importconfig.h"
#include "loader.h"
#include "memorystore.h"

using namespace cvarden;

namespace {

const char *const absent = "<absent>";

} // namespace

class ImportTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    Catalogue catalogue;
    OptionTree &tree = catalogue.tree;

    // Options: ab shown as A, abc shown as C.
    void loadCatalogue(const QStringList &extraEntries = {})
    {
        const QStringList lines{"F", "---", "F", "A", "d", "ab", "x", "VALUE", "0", "F", "C", "d", "abc", "x", "VALUE", "0"};
        QCOMPARE(loadTestCatalogue(dir, lines + extraEntries, catalogue), Failure::None);
    }

    ImportReport importBytes(const std::string &bytes, MemoryStore &store)
    {
        const QString path = writeTestFile(dir, "q3config.cfg", bytes);
        return ImportConfig(path.toStdString(), tree, store);
    }

private slots:
    void init() { loadCatalogue(); }

    void lineGivesItsOptionAValue_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("underA");
        QTest::addColumn<QString>("underC");

        QTest::newRow("as the game writes it") << "seta SP ab SP DQ 12 DQ LF" << "12" << absent;
        QTest::newRow("from a CR LF file") << "seta SP ab SP DQ 12 DQ" << "12" << absent;
        QTest::newRow("unquoted") << "seta SP ab SP 12 LF" << "12" << absent;
        QTest::newRow("blanks around a quoted value are not part of it")
            << "seta SP ab SP SP DQ x SP y DQ SP LF" << "x y" << absent;
        QTest::newRow("a tab separates like a space") << "seta SP ab TAB DQ 7 DQ LF" << "7" << absent;
        QTest::newRow("a longer name is not a line of the shorter one") << "seta SP abc SP DQ 7 DQ LF" << absent << "7";
        QTest::newRow("a quote right after the name ends it") << "seta SP ab DQ 5 DQ LF" << "5" << absent;
        QTest::newRow("nothing after the name") << "seta SP ab" << absent << absent;
        QTest::newRow("the name and its LF set nothing") << "seta SP ab LF" << absent << absent;
        QTest::newRow("letter case does not matter to the game") << "seta SP AB SP DQ 1 DQ LF" << "1" << absent;
        QTest::newRow("a blank before seta") << "SP seta SP ab SP DQ 1 DQ LF" << "1" << absent;
        QTest::newRow("Seta is seta to the game") << "Seta SP ab SP DQ 1 DQ LF" << "1" << absent;
        QTest::newRow("set sets the value as seta does") << "set SP ab SP DQ 1 DQ LF" << "1" << absent;
        QTest::newRow("an inner quote starts another word") << "seta SP ab SP DQ a DQ b DQ LF" << "a b " << absent;
    }

    void lineGivesItsOptionAValue()
    {
        QFETCH(QString, line);
        QFETCH(QString, underA);
        QFETCH(QString, underC);
        MemoryStore store;
        const ImportReport report = importBytes(spelled(line) + "\r\n", store);
        QCOMPARE(report.outcome, Failure::None);
        QCOMPARE(QString::fromStdString(store.Get("A", absent)), underA);
        QCOMPARE(QString::fromStdString(store.Get("C", absent)), underC);
    }

    void lastMatchingLineWins()
    {
        MemoryStore store;
        const ImportReport report = importBytes("seta ab \"1\"\nseta abc \"3\"\nseta ab \"2\"\n", store);
        // Counted once for each option given a value, however often it is set.
        QCOMPARE(report.valuesTaken, std::size_t(2));
        QCOMPARE(store.values["A"], std::string("2"));
        QCOMPARE(store.values["C"], std::string("3"));
    }

    void optionsSharingAVariableEachTakeTheValue()
    {
        loadCatalogue({"F", "B", "d", "ab", "x", "VALUE", "0"});
        MemoryStore store;
        importBytes("seta ab \"9\"\n", store);
        QCOMPARE(store.values["A"], std::string("9"));
        QCOMPARE(store.values["B"], std::string("9"));
    }

    void everyByteOfAValueIsKept()
    {
        std::string value;
        for (int c = 0x21; c <= 0xFF; ++c) {
            if (c != '"')
                value.push_back(static_cast<char>(c));
        }
        MemoryStore store;
        importBytes("seta ab \"" + value + "\"\n", store);
        QCOMPARE(store.values["A"], value);
    }

    void valuesAreCommittedOnce()
    {
        MemoryStore store;
        importBytes("seta ab 1\nseta abc 2\nseta ab 3\n", store);
        QCOMPARE(store.commits, 1);
    }

    void valuesSavedBeforeAStoreFailureStay()
    {
        MemoryStore store;
        store.failAfter = 1;
        const ImportReport report = importBytes("seta ab 1\nseta abc 2\n", store);
        QCOMPARE(report.outcome, Failure::StoreUnwritable);
        QCOMPARE(store.values["A"], std::string("1"));
        QCOMPARE(store.commits, 1);
    }

    void emptyFileImportsNothingAndSaysSo()
    {
        MemoryStore store;
        const ImportReport report = importBytes("", store);
        QCOMPARE(report.outcome, Failure::Empty);
        QVERIFY(store.values.empty());
    }

    void chosenFileIsNeverChanged()
    {
        const std::string bytes = "seta ab \"1\"\nbind x \"y\"\n";
        MemoryStore store;
        importBytes(bytes, store);
        QCOMPARE(readTestFile(dir.filePath("q3config.cfg")), bytes);
        QCOMPARE(readTestFile(dir.filePath("q3config.cfg_")), std::string("seta ab \"1\"\n\r\nbind x \"y\"\n\r\n"));
    }

    void realGameFilesImport_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("variable");
        QTest::newRow("original game, 1.32") << "Steffkn__Quake-configs__baseq3_q3config.cfg" << "sensitivity";
        QTest::newRow("hand-edited: tabs and spaces after the name")
            << "dsebastien__quake3config__baseq3_q3config.cfg" << "sensitivity";
        QTest::newRow("hand-written with a duplicated line")
            << "ExpandingShapes__configs__Quake_3_Arena_q3config.cfg" << "name";
        QTest::newRow("a variable literally named seta") << "florianschendel__env__q3config.cfg" << "seta";
    }

    void realGameFilesImport()
    {
        QFETCH(QString, file);
        QFETCH(QString, variable);
        const QString path = QStringLiteral(CVARDEN_SHARED_CONFIGS "/") + file;
        if (!QFile::exists(path))
            QSKIP("the shared game files are not here");
        const std::string bytes = readTestFile(path);
        // The value the game would read, found independently of the importer.
        const QRegularExpression line("(?:^|\\n)seta " + QRegularExpression::escape(variable) +
                                      "[ \\t]+\"?([^\"\\n]*)\"?[ \\t]*(?:\\n|$)");
        QRegularExpressionMatch last;
        for (auto it = line.globalMatch(QString::fromLatin1(bytes.data(), qsizetype(bytes.size()))); it.hasNext();)
            last = it.next();
        loadCatalogue({"F", "V", "d", variable, "x", "VALUE", "none"});
        QTemporaryDir copyDir;
        const QString copy = writeTestFile(copyDir, "q3config.cfg", bytes);
        MemoryStore store;
        const ImportReport report = ImportConfig(copy.toStdString(), tree, store);
        QCOMPARE(report.outcome, Failure::None);
        QVERIFY2(last.hasMatch(), "the file holds the variable");
        QCOMPARE(QString::fromStdString(store.Get("V", "none")), last.captured(1));
    }
};

QTEST_APPLESS_MAIN(ImportTest)
#include "tst_import.moc"
