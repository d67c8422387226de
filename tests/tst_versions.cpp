// SPDX-License-Identifier: GPL-2.0-or-later
#include <QtTest>

#include <sys/stat.h>

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

    void restoreThatCannotBeMadeChangesNothing_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<int>("number");
        QTest::addColumn<Failure>("failure");
        QTest::newRow("a version never kept") << "" << 7 << Failure::NoSuchVersion;
        QTest::newRow("no version kept at all") << "no versions" << 0 << Failure::NoSuchVersion;
        QTest::newRow("a read-only game file") << "read-only" << 1 << Failure::ReadOnly;
        QTest::newRow("a game file gone") << "gone" << 1 << Failure::Missing;
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
        if (situation == "gone")
            QVERIFY(QFile::remove(game()));
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
