// SPDX-License-Identifier: GPL-2.0-or-later
#include <QtTest>

#include <climits>
#include <sys/stat.h>
#include <unistd.h>

#include "outcomes.h"
#include "catalogue_fixture.h"
#include "versions.h"

using namespace cvarden;

// The earlier contents of a game file, kept outside the game's folder so the
// player can go back to them.
class VersionsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir;

    std::string root() const { return dir->filePath("data/versions").toStdString(); }
    QString game() const { return dir->filePath("game/q3config.cfg"); }

    std::vector<KeptVersion> listed(const QString &gameFile) const
    {
        std::vector<KeptVersion> versions;
        const Outcome listed = ListVersions(root(), gameFile.toStdString(), versions);
        if (listed.failed())
            qWarning("%s", listed.message().c_str());
        return versions;
    }

    // The one folder where the versions of the game file are kept.
    QString versionsFolder() const
    {
        const QDir versions(QString::fromStdString(root()));
        return versions.filePath(versions.entryList(QDir::Dirs | QDir::NoDotAndDotDot).value(0));
    }

    QList<unsigned long> numbersOf(const QString &gameFile) const
    {
        QList<unsigned long> numbers;
        for (const KeptVersion &version : listed(gameFile))
            numbers << version.number;
        return numbers;
    }

private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir(dir->path()).mkdir("game"));
        writeTestFile(*dir, "game/q3config.cfg", "what the game wrote\n");
    }

    void onlyTheLastTwentyStay_data()
    {
        QTest::addColumn<int>("keeps");
        QTest::addColumn<int>("oldest");
        QTest::newRow("one keep") << 1 << 1;
        QTest::newRow("twenty keeps") << 20 << 1;
        QTest::newRow("twenty-five keeps") << 25 << 6;
    }

    void onlyTheLastTwentyStay()
    {
        QFETCH(int, keeps);
        QFETCH(int, oldest);
        for (int i = 1; i <= keeps; ++i)
            QCOMPARE(KeepVersion(root(), game().toStdString(), "content " + std::to_string(i)), Failure::None);
        const std::vector<KeptVersion> versions = listed(game());
        QCOMPARE(versions.size(), std::size_t(keeps - oldest + 1));
        QCOMPARE(versions.front().number, static_cast<unsigned long>(oldest));
        QCOMPARE(versions.back().number, static_cast<unsigned long>(keeps));
        QCOMPARE(versions.back().size, std::uintmax_t(std::string("content " + std::to_string(keeps)).size()));
    }

    void unchangedContentIsKeptOnce()
    {
        unsigned long first = 0, again = 0, changed = 0;
        QCOMPARE(KeepVersion(root(), game().toStdString(), "same", &first), Failure::None);
        QCOMPARE(KeepVersion(root(), game().toStdString(), "same", &again), Failure::None);
        QCOMPARE(KeepVersion(root(), game().toStdString(), "other", &changed), Failure::None);
        QCOMPARE(QList<unsigned long>({first, again, changed}), QList<unsigned long>({1, 1, 2}));
    }

    void everyPathToOneFileSharesItsVersions()
    {
        QVERIFY(QFile::link(game(), dir->filePath("link.cfg")));
        QCOMPARE(KeepVersion(root(), game().toStdString(), "one"), Failure::None);
        QCOMPARE(KeepVersion(root(), dir->filePath("link.cfg").toStdString(), "two"), Failure::None);
        QCOMPARE(KeepVersion(root(), dir->filePath("game/../game/q3config.cfg").toStdString(), "three"), Failure::None);
        QCOMPARE(numbersOf(game()), QList<unsigned long>({1, 2, 3}));
        writeTestFile(*dir, "game/other.cfg", "x");
        QCOMPARE(numbersOf(dir->filePath("game/other.cfg")), QList<unsigned long>());
    }

    void versionsAreThePlayersAloneAndNotInTheGamesFolder()
    {
        QCOMPARE(KeepVersion(root(), game().toStdString(), "seta rconpassword \"secret\"\n"), Failure::None);
        QCOMPARE(QDir(dir->filePath("game")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList({"q3config.cfg"}));
        const QStringList folders = QDir(QString::fromStdString(root())).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QCOMPARE(folders.size(), 1);
        QVERIFY2(folders[0].startsWith("q3config.cfg-"), qPrintable(folders[0]));
        struct stat info {};
        QCOMPARE(::stat((root() + "/" + folders[0].toStdString()).c_str(), &info), 0);
        QCOMPARE(info.st_mode & 0777, mode_t(0700));
    }

    // Only a name exactly as Cvarden writes it is a version: anything else
    // there is neither listed, nor taken for the newest, nor trimmed.
    void oddNamesAmongTheVersionsAreIgnored_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("a sign before the number") << "-1-5.cfg";
        QTest::newRow("a plus before the number") << "+40-5.cfg";
        QTest::newRow("a blank before the number") << " 40-5.cfg";
        QTest::newRow("a blank before the time") << "40- 5.cfg";
        QTest::newRow("a leading zero") << "041-5.cfg";
        QTest::newRow("version zero") << "0-5.cfg";
        QTest::newRow("a number past the largest") << "18446744073709551616-5.cfg";
        QTest::newRow("the largest number, which has no next") << QString::number(ULONG_MAX) + "-5.cfg";
        QTest::newRow("a time past the largest") << "40-99999999999999999999.cfg";
        QTest::newRow("not a .cfg") << "40-5.txt";
        QTest::newRow("something after .cfg") << "40-5.cfg~";
        QTest::newRow("no time") << "40.cfg";
    }

    void oddNamesAmongTheVersionsAreIgnored()
    {
        QFETCH(QString, name);
        QCOMPARE(KeepVersion(root(), game().toStdString(), "first"), Failure::None);
        const QString odd = QDir(versionsFolder()).filePath(name);
        writeTestFile(*dir, QDir(dir->path()).relativeFilePath(odd), "not a version\n");
        for (int i = 2; i <= 22; ++i)
            QCOMPARE(KeepVersion(root(), game().toStdString(), "content " + std::to_string(i)), Failure::None);
        QCOMPARE(numbersOf(game()).first(), 3ul);
        QCOMPARE(numbersOf(game()).last(), 22ul);
        QCOMPARE(readTestFile(odd), std::string("not a version\n"));
        const RestoreReport report = RestoreVersion(root(), game().toStdString(), 0);
        QCOMPARE(report.outcome, Failure::None);
        QCOMPARE(report.restored, 22ul);
    }

    // A link planted among the versions would put another file's content
    // into the game file.
    void linkAmongTheVersionsIsNeverFollowed_data()
    {
        QTest::addColumn<int>("number"); // which version the link takes the place of
        QTest::newRow("a link in the newest version's place") << 2;
        QTest::newRow("a link as a version of its own") << 3;
    }

    void linkAmongTheVersionsIsNeverFollowed()
    {
        QFETCH(int, number);
        QCOMPARE(KeepVersion(root(), game().toStdString(), "one\n"), Failure::None);
        QCOMPARE(KeepVersion(root(), game().toStdString(), "two\n"), Failure::None);
        const QString secret = writeTestFile(*dir, "secret", "seta rconpassword \"someone else's\"\n");
        const QDir folder(versionsFolder());
        for (const QString &name : folder.entryList({QString::number(number) + "-*.cfg"}))
            QVERIFY(QFile::remove(folder.filePath(name)));
        QVERIFY(QFile::link(secret, folder.filePath(QString::number(number) + "-5.cfg")));
        QCOMPARE(numbersOf(game()), QList<unsigned long>({1, 2}).mid(0, number - 1));
        QCOMPARE(RestoreVersion(root(), game().toStdString(), number).outcome, Failure::NoSuchVersion);
        QCOMPARE(RestoreVersion(root(), game().toStdString(), 0).outcome, Failure::None);
        QCOMPARE(readTestFile(game()), std::string(number == 2 ? "one\n" : "two\n"));
    }

    // When the player deleted the game file is when a version matters most.
    void restoreBringsBackADeletedFile()
    {
        QCOMPARE(KeepVersion(root(), game().toStdString(), "kept\n"), Failure::None);
        QVERIFY(QFile::remove(game()));
        const RestoreReport report = RestoreVersion(root(), game().toStdString(), 1);
        QCOMPARE(report.outcome, Failure::None);
        QCOMPARE(report.restored, 1ul);
        QCOMPARE(report.replacedKeptAs, 0ul);
        QCOMPARE(readTestFile(game()), std::string("kept\n"));
        struct stat info {};
        QCOMPARE(::stat(game().toLocal8Bit().constData(), &info), 0);
        QCOMPARE(info.st_mode & 07777, mode_t(0644));
        QCOMPARE(info.st_uid, ::geteuid());
    }

    void restoreThatCannotBeMadeChangesNothing_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<int>("number");
        QTest::addColumn<Failure>("failure");
        QTest::newRow("a version never kept") << "" << 7 << Failure::NoSuchVersion;
        QTest::newRow("no version kept at all") << "no versions" << 0 << Failure::NoSuchVersion;
        QTest::newRow("a read-only game file") << "read-only" << 1 << Failure::ReadOnly;
    }

    void restoreThatCannotBeMadeChangesNothing()
    {
        QFETCH(QString, situation);
        QFETCH(int, number);
        QFETCH(Failure, failure);
        if (situation != "no versions")
            QCOMPARE(KeepVersion(root(), game().toStdString(), "kept\n"), Failure::None);
        if (situation == "read-only")
            QVERIFY(QFile::setPermissions(game(), QFile::ReadOwner | QFile::ReadOther));
        const std::string before = readTestFile(game());
        const QList<unsigned long> numbers = numbersOf(game());

        const RestoreReport report = RestoreVersion(root(), game().toStdString(), static_cast<unsigned long>(number));
        QCOMPARE(report.outcome, failure);
        QCOMPARE(readTestFile(game()), before);
        QCOMPARE(numbersOf(game()), numbers);
    }
};

QTEST_APPLESS_MAIN(VersionsTest)
#include "tst_versions.moc"
