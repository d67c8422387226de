// SPDX-License-Identifier: GPL-2.0-or-later
#include <QtTest>

#include <unistd.h>

#include "outcomes.h"
#include "settingsstore.h"

using namespace cvarden;

namespace {

std::string bytes(const QByteArray &array) { return array.toStdString(); }

QByteArray everyByteFrom1To255()
{
    QByteArray all;
    for (int c = 1; c <= 255; ++c)
        all.append(static_cast<char>(c));
    return all;
}

} // namespace

class SettingsStoreTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;

    QString iniPath() const { return dir.filePath("Cvarden.conf"); }

private slots:
    void init() { QFile::remove(iniPath()); }

    void valueNamesAreHeldExactly()
    {
        const std::vector<std::string> names{"a/b", "a//b", "a\\b", "", " lead", "trail ", "eq=x", "[br]",
                                             "q\"uote", "%41", "A", "~s", "~", "a~b"};
        {
            SettingsStore store(iniPath());
            for (std::size_t i = 0; i < names.size(); ++i)
                QCOMPARE(store.Save(names[i], std::to_string(i)), Failure::None);
        }
        SettingsStore reopened(iniPath());
        for (std::size_t i = 0; i < names.size(); ++i)
            QCOMPARE(reopened.Get(names[i], "none"), std::to_string(i));
    }

    void valuesComeBackByteForByte_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::newRow("every byte from 1 to 255") << everyByteFrom1To255();
        QTest::newRow("a comma") << QByteArray("a, b");
        QTest::newRow("looks like an invalid variant") << QByteArray("@Invalid()");
        QTest::newRow("looks like a byte array") << QByteArray("@ByteArray(x)");
        QTest::newRow("blanks around") << QByteArray(" x ");
        QTest::newRow("a hash comment") << QByteArray("#c");
        QTest::newRow("a semicolon comment") << QByteArray(";c");
        QTest::newRow("a boolean word") << QByteArray("true");
        QTest::newRow("the empty text") << QByteArray("");
        QTest::newRow("quotes and backslashes") << QByteArray("\"a\\\" b\\");
        QTest::newRow("a line break") << QByteArray("1\r\n2\n");
    }

    void valuesComeBackByteForByte()
    {
        QFETCH(QByteArray, value);
        {
            SettingsStore store(iniPath());
            QCOMPARE(store.Save("Value", bytes(value)), Failure::None);
            QCOMPARE(store.Get("Value", "default"), bytes(value));
        }
        SettingsStore reopened(iniPath());
        QCOMPARE(reopened.Get("Value", "default"), bytes(value));
    }

    void nothingStoredReadsAsTheDefault()
    {
        SettingsStore store(dir.filePath("fresh.conf"));
        QCOMPARE(store.Get("Never saved", "1.0"), std::string("1.0"));
        QCOMPARE(store.Save("Saved empty", ""), Failure::None);
        QCOMPARE(store.Get("Saved empty", "1.0"), std::string());
    }

    void valuesAreKeptInTheQ3ASection()
    {
        {
            SettingsStore store(iniPath());
            QVERIFY(store.Save("Full screen", "0").ok());
        }
        QSettings raw(iniPath(), QSettings::IniFormat);
        QVERIFY2(raw.childGroups().contains("Q3A"), qPrintable(raw.childGroups().join(',')));
    }

    void aSecondProcessReadsWhatWasSaved()
    {
        const std::string value = bytes(everyByteFrom1To255());
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {"--save", iniPath(), "a/b\\c", QString::fromLatin1(QByteArray::fromStdString(value).toHex())});
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitCode(), 0);
        SettingsStore store(iniPath());
        QCOMPARE(store.Get("a/b\\c", "none"), value);
    }

    void aRunSeesWhatAnotherRunSavedSince()
    {
        SettingsStore store(iniPath());
        QCOMPARE(store.Save("Shared", "mine"), Failure::None);
        QCOMPARE(store.Get("Shared", "none"), std::string("mine"));
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {"--save", iniPath(), "Shared", QString::fromLatin1(QByteArray("theirs").toHex())});
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitCode(), 0);
        QVERIFY(store.reload().ok());
        QCOMPARE(store.Get("Shared", "none"), std::string("theirs"));
    }

    void batchedValuesAreWrittenAtTheEnd()
    {
        SettingsStore store(dir.filePath("batch.conf"));
        {
            StoreBatch batch(store);
            QVERIFY(store.Save("one", "1").ok());
            QVERIFY(store.Save("two", "2").ok());
            QVERIFY(!QFile::exists(dir.filePath("batch.conf")));
        }
        SettingsStore reopened(dir.filePath("batch.conf"));
        QCOMPARE(reopened.Get("two", "none"), std::string("2"));
    }

    // Taken for an empty store, it used to give the defaults, and a save
    // wrote over the lines it could not read.
    void storeThatCannotBeReadIsNeverWrittenOver_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("a line typed by hand") << QByteArray("[Q3A]\n%7EField%20of%20view=105\nmy note\n");
        QTest::newRow("cut short inside a name") << QByteArray("[Q3A]\n%7EField%20of%20view=105\n%7EMou");
        QTest::newRow("a section never closed") << QByteArray("[Q3A\n%7EField%20of%20view=105\n");
        QTest::newRow("bytes of another file") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\x01\0");
    }

    void storeThatCannotBeReadIsNeverWrittenOver()
    {
        QFETCH(QByteArray, content);
        QFile file(iniPath());
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        file.close();
        SettingsStore store(iniPath());
        const Outcome problem = store.reload();
        QCOMPARE(problem, Failure::StoreUnreadable);
        QVERIFY2(problem.message().find(iniPath().toStdString()) != std::string::npos, problem.message().c_str());
        QCOMPARE(store.Get("Field of view", "90"), std::string("90"));
        QCOMPARE(store.Save("Field of view", "100"), Failure::StoreUnreadable);
        {
            StoreBatch batch(store);
            QCOMPARE(store.Save("Field of view", "100"), Failure::StoreUnreadable);
        }
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), content);
    }

    // Mending a store's permissions leaves its size and time as they were: a
    // store that could not be read must be read again, never taken as read.
    // Root reads any file, so as root this runs again as the user nobody,
    // from a copy of this program that nobody may run.
    void storeMadeReadableIsReadAgain()
    {
        if (::geteuid() == 0) {
            QTemporaryDir shared;
            const QString copy = shared.filePath("tst_settingsstore");
            QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), copy));
            QVERIFY(QFile::setPermissions(shared.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                             QFile::ReadOther | QFile::ExeOther));
            QVERIFY(QFile::setPermissions(copy, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
            QProcess asNobody;
            asNobody.setProcessChannelMode(QProcess::MergedChannels);
            asNobody.start("runuser", {"-u", "nobody", "--", copy, "storeMadeReadableIsReadAgain"});
            if (!asNobody.waitForStarted(10000))
                QSKIP("runuser is not available here");
            QVERIFY(asNobody.waitForFinished(60000));
            const QByteArray said = asNobody.readAll();
            QVERIFY2(asNobody.exitStatus() == QProcess::NormalExit && asNobody.exitCode() == 0, said.constData());
            QVERIFY2(said.contains("PASS   : SettingsStoreTest::storeMadeReadableIsReadAgain()"), said.constData());
            return;
        }
        // Written apart from QSettings, which keeps what it read of a file.
        QFile file(iniPath());
        const QByteArray stored("[Q3A]\n%7EField%20of%20view=105\n");
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(stored) == stored.size());
        file.close();
        QVERIFY(QFile::setPermissions(iniPath(), QFileDevice::Permissions()));
        SettingsStore store(iniPath());
        QCOMPARE(store.reload(), Failure::StoreUnreadable);
        QVERIFY(QFile::setPermissions(iniPath(), QFile::ReadOwner | QFile::WriteOwner));
        QCOMPARE(store.reload(), Failure::None);
        QCOMPARE(store.Get("Field of view", "90"), std::string("105"));
    }

    void storeMovedAwayIsStartedAfresh()
    {
        QFile file(iniPath());
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("[Q3A\n") == 5);
        file.close();
        SettingsStore store(iniPath());
        QCOMPARE(store.reload(), Failure::StoreUnreadable);
        QVERIFY(QFile::rename(iniPath(), iniPath() + ".damaged"));
        QCOMPARE(store.reload(), Failure::None);
        QCOMPARE(store.Save("Field of view", "100"), Failure::None);
        QCOMPARE(SettingsStore(iniPath()).Get("Field of view", "90"), std::string("100"));
    }

    void unwritableStoreSaysSo()
    {
        // A folder in the store file's place cannot be written, even by root.
        QVERIFY(QDir(dir.path()).mkdir("blocked.conf"));
        SettingsStore store(dir.filePath("blocked.conf"));
        QCOMPARE(store.Save("x", "1"), Failure::StoreUnreadable);
    }

    // A FIFO would block whoever opens it, and a folder cannot be a lock.
    void lockThatIsNoFileNeitherHangsNorIsSavedPast_data()
    {
        QTest::addColumn<QString>("command"); // makes the thing at its one argument
        QTest::newRow("a FIFO") << "mkfifo";
        QTest::newRow("a folder") << "mkdir";
    }

    void lockThatIsNoFileNeitherHangsNorIsSavedPast()
    {
        QFETCH(QString, command);
        QCOMPARE(SettingsStore(iniPath()).Save("kept", "1"), Failure::None);
        const QString lock = iniPath() + ".lock";
        QCOMPARE(QProcess::execute(command, {lock}), 0);
        SettingsStore store(iniPath());
        QCOMPARE(store.Get("kept", "none"), std::string("1"));
        const Outcome failure = store.Save("kept", "2");
        QVERIFY(QFileInfo(lock).isDir() ? QDir().rmdir(lock) : QFile::remove(lock));
        QCOMPARE(failure, Failure::StoreUnwritable);
        QVERIFY2(failure.message().find(bytes(QFile::encodeName(lock))) != std::string::npos, failure.message().c_str());
        QCOMPARE(SettingsStore(iniPath()).Get("kept", "none"), std::string("1"));
    }

    void defaultStoreLivesInTheUsersConfigurationFolder()
    {
        // Test mode puts the user's configuration folder aside for tests.
        const QString file =
            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/Cvarden/Cvarden.conf";
        QFile::remove(file);
        QCOMPARE(SettingsStore().Save("x", "1"), Failure::None);
        QVERIFY(QFile::exists(file));
        QFile::remove(file);
    }
};

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // The child process of aSecondProcessReadsWhatWasSaved.
    if (argc == 5 && QByteArray(argv[1]) == "--save") {
        SettingsStore store(QString::fromLocal8Bit(argv[2]));
        return store.Save(argv[3], QByteArray::fromHex(argv[4]).toStdString()).ok() ? 0 : 1;
    }
    QStandardPaths::setTestModeEnabled(true);
    SettingsStoreTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_settingsstore.moc"
