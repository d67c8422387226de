// SPDX-License-Identifier: GPL-2.0-or-later
#include <QtTest>

#include "catalogue_fixture.h"
#include "normalize.h"
#include "outcomes.h"

using namespace cvarden;

class NormalizeTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;

    // What an import or a save does first: the file read, and its backup
    // copy written.
    static Outcome normalizeFile(const std::string &path)
    {
        std::string bytes;
        const Outcome read = ReadGameFile(path, bytes);
        return read.ok() ? WriteBackupCopy(path, bytes) : read;
    }

private slots:
    void everyLfPieceBecomesARecord_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("backup");

        QTest::newRow("game file, LF ends") << "a LF b LF" << "a LF CR LF b LF CR LF";
        QTest::newRow("no LF after the last line") << "a LF b" << "a LF CR LF b CR LF";
        QTest::newRow("editor file, CR LF ends") << "a CR LF b CR LF" << "a CR LF b CR LF";
        QTest::newRow("CR LF file without a final end") << "a CR LF b" << "a CR LF b CR LF";
        QTest::newRow("a lone CR ends a line") << "a CR b" << "a CR LF b CR LF";
        QTest::newRow("already normalized") << "a LF CR LF b LF CR LF" << "a LF CR LF b LF CR LF";
        QTest::newRow("two LFs") << "LF LF" << "LF CR LF LF CR LF";
        QTest::newRow("LFs alone outgrow the room first made") << QString("LF ").repeated(5000) << QString("LF | ").repeated(5000);
        QTest::newRow("an empty piece") << "a LF LF b" << "a LF CR LF LF CR LF b CR LF";
        QTest::newRow("an empty first line") << "CR LF a" << "CR LF a CR LF";
        QTest::newRow("an empty line between CR LF lines") << "a CR LF CR LF b" << "a CR LF CR LF b CR LF";
        QTest::newRow("an empty line after a LF record is its line end") << "a LF CR LF CR LF b" << "a LF CR LF b CR LF";
    }

    void everyLfPieceBecomesARecord()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, backup);
        const QString path = writeTestFile(dir, "q3config.cfg", spelled(chosen));
        QCOMPARE(normalizeFile(path.toStdString()), Failure::None);
        QCOMPARE(readTestFile(path + "_"), spelled(backup));
        QCOMPARE(readTestFile(path), spelled(chosen));
        QCOMPARE(NormalizeText(spelled(backup)), spelled(backup));
    }

    void emptyFileFailsAndKeepsTheBackupCopy()
    {
        const QString path = writeTestFile(dir, "empty.cfg", "");
        writeTestFile(dir, "empty.cfg_", "last good settings");
        QCOMPARE(normalizeFile(path.toStdString()), Failure::Empty);
        QCOMPARE(readTestFile(path + "_"), std::string("last good settings"));
    }

    void backupCopyIsReplacedWhole()
    {
        const QString path = writeTestFile(dir, "short.cfg", "a\n");
        writeTestFile(dir, "short.cfg_", std::string(10000, 'x'));
        QCOMPARE(normalizeFile(path.toStdString()), Failure::None);
        QCOMPARE(readTestFile(path + "_"), std::string("a\n\r\n"));
    }

    void missingFileSaysWhichFileAndWhy()
    {
        const std::string path = dir.filePath("gone.cfg").toStdString();
        const Outcome failure = normalizeFile(path);
        QCOMPARE(failure, Failure::Missing);
        QVERIFY2(failure.message().find(path) != std::string::npos, failure.message().c_str());
        QVERIFY(!QFile::exists(QString::fromStdString(path + "_")));
    }

    void backupCopyThatCannotBeWrittenFailsTheCommand()
    {
        // A folder in the backup copy's place cannot be written, even by root.
        const QString path = writeTestFile(dir, "blocked.cfg", "a\n");
        QVERIFY(QDir(dir.path()).mkdir("blocked.cfg_"));
        QCOMPARE(normalizeFile(path.toStdString()), Failure::NotAFile);
        QCOMPARE(readTestFile(path), std::string("a\n"));
    }

    void binaryBytesPassThroughUnchanged()
    {
        std::string bytes;
        for (int i = 0; i < 256; ++i)
            bytes.push_back(static_cast<char>(i));
        const std::string once = NormalizeText(bytes);
        QCOMPARE(NormalizeText(once), once);
        std::string withoutLineEnds = once;
        withoutLineEnds.erase(std::remove_if(withoutLineEnds.begin(), withoutLineEnds.end(),
                                             [](char c) { return c == '\r' || c == '\n'; }),
                              withoutLineEnds.end());
        QCOMPARE(withoutLineEnds.size(), std::size_t(254));
    }
};

QTEST_APPLESS_MAIN(NormalizeTest)
#include "tst_normalize.moc"
