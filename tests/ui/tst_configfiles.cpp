// SPDX-License-Identifier: GPL-2.0-or-later
#include <QFileDialog>
#include <QLabel>

#include "gamefolders.h"
#include "windowtestkit.h"

using testkit::WindowFixture;

namespace {

const QByteArray gameFile = "// written by the game\n"
                            "seta vid_bright \"0.7\"\n"
                            "seta snd_rate \"44\"\n"
                            "bind x \"quit\"\n";

// Clicks the button and, in the file dialog it opens, types the path and
// accepts it.
void chooseThrough(WindowFixture &fixture, const char *button, const QString &path)
{
    testkit::whenModalOpens([path](QWidget *modal) { testkit::typeIntoFileDialog(modal, path); });
    fixture.click(button);
}

} // namespace

class ConfigFilesTest : public QObject {
    Q_OBJECT

private slots:
    void dialogAsksForAnExistingQ3configInBothForms_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("form");
        QTest::newRow("Open") << "Command4" << int(QFileDialog::AcceptOpen);
        QTest::newRow("Save") << "Command3" << int(QFileDialog::AcceptSave);
    }

    void dialogAsksForAnExistingQ3configInBothForms()
    {
        QFETCH(QString, button);
        QFETCH(int, form);
        WindowFixture fixture;
        QString title, nameTyped;
        QStringList filters;
        int shownForm = -1, fileMode = -1;
        testkit::whenModalOpens([&](QWidget *modal) {
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            title = dialog->windowTitle();
            filters = dialog->nameFilters();
            shownForm = dialog->acceptMode();
            fileMode = dialog->fileMode();
            nameTyped = dialog->findChild<QLineEdit *>("fileNameEdit")->text();
            dialog->reject();
        });
        fixture.click(qPrintable(button));
        QCOMPARE(title, QString("Locate q3config.cfg"));
        QCOMPARE(filters, QStringList{"Q3 Config file (q3config.cfg)"});
        QCOMPARE(shownForm, form);
        QCOMPARE(fileMode, int(QFileDialog::ExistingFile));
        QCOMPARE(nameTyped, QString("q3config.cfg"));
    }

    void openTakesTheGamesValuesOver()
    {
        WindowFixture fixture;
        const QString chosen = fixture.path("q3config.cfg");
        testkit::writeFile(chosen, gameFile);
        chooseThrough(fixture, "Command4", chosen);
        QCOMPARE(fixture.stored("Brightness"), QString("0.7"));
        QCOMPARE(fixture.stored("Mixing rate"), QString("44"));
        QCOMPARE(testkit::readFile(chosen), gameFile);
        QString counts;
        const QString notice = testkit::takeNotice(&counts);
        QVERIFY2(notice.contains(chosen), qPrintable(notice));
        QCOMPARE(counts, QString("2 settings read; 2 differ from your values."));
        QCOMPARE(fixture.window->cursor().shape(), Qt::ArrowCursor);
    }

    // What autoexec.cfg sets again holds at every start: the option says so.
    void openShowsWhereALaterFileSetsAnOption()
    {
        WindowFixture fixture;
        const QString chosen = fixture.path("q3config.cfg");
        testkit::writeFile(chosen, gameFile);
        testkit::writeFile(fixture.path("autoexec.cfg"), "// mine\nset vid_bright 0.4\n");
        chooseThrough(fixture, "Command4", chosen);
        QString counts;
        testkit::takeNotice(&counts);
        QVERIFY2(counts.contains("1 is set again by a file the game runs later"), qPrintable(counts));
        fixture.select("Brightness");
        const QString description = fixture.control<QLabel>("desclbl")->text();
        // First, as the label shows only its first lines.
        QVERIFY2(description.startsWith("At every start of the game, autoexec.cfg line 2 sets it to \"0.4\""),
                 qPrintable(description));
        // A new run finds it there too, and its file dialog starts at that file.
        fixture.openWindow();
        fixture.select("Brightness");
        QCOMPARE(fixture.control<QLabel>("desclbl")->text(), description);
        QString folder;
        testkit::whenModalOpens([&](QWidget *modal) {
            folder = qobject_cast<QFileDialog *>(modal)->directory().absolutePath();
            modal->close();
        });
        fixture.click("Command3");
        QCOMPARE(folder, QFileInfo(chosen).absolutePath());
    }

    // Save asks before it writes when a later file would undo a value.
    void saveAsksToWriteIntoTheLaterFiles_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QByteArray>("autoexec");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<QString>("shown"); // what the option then says a later file sets
        const QByteArray mine = "// mine\nset vid_bright 0.4\n";
        QTest::newRow("into them too") << "Write them there too" << QByteArray("// mine\nset vid_bright \"0.9\"\n")
                                       << true << "autoexec.cfg line 2 sets it to \"0.9\"";
        QTest::newRow("only the chosen file")
            << "Save only this file" << mine << true << "autoexec.cfg line 2 sets it to \"0.4\"";
        QTest::newRow("cancelled") << "Cancel" << mine << false << "";
    }

    void saveAsksToWriteIntoTheLaterFiles()
    {
        QFETCH(QString, answer);
        QFETCH(QByteArray, autoexec);
        QFETCH(bool, saved);
        QFETCH(QString, shown);
        WindowFixture fixture;
        QVERIFY(fixture.store->store.Save("Brightness", "0.9").ok());
        const QString chosen = fixture.path("q3config.cfg");
        testkit::writeFile(chosen, gameFile);
        testkit::writeFile(fixture.path("autoexec.cfg"), "// mine\nset vid_bright 0.4\n");
        testkit::SaveAnswers answers(chosen, answer);
        fixture.click("Command3");
        QVERIFY2(answers.question.contains("Brightness: autoexec.cfg line 2 sets it to \"0.4\""),
                 qPrintable(answers.question));
        QCOMPARE(testkit::readFile(fixture.path("autoexec.cfg")), autoexec);
        QCOMPARE(testkit::readFile(chosen) != gameFile, saved);
        QCOMPARE(testkit::takeNotice().startsWith("Settings saved"), saved);
        fixture.select("Brightness");
        const QString description = fixture.control<QLabel>("desclbl")->text();
        QVERIFY2(shown.isEmpty() ? !description.startsWith("At every start")
                                 : description.startsWith("At every start of the game, " + shown),
                 qPrintable(description));
    }

    void openCountsTheOptionsGivenAValueNotTheLines()
    {
        WindowFixture fixture;
        const QString chosen = fixture.path("q3config.cfg");
        testkit::writeFile(chosen, "seta vid_bright \"0.7\"\nseta VID_BRIGHT \"0.8\"\n");
        chooseThrough(fixture, "Command4", chosen);
        QString counts;
        testkit::takeNotice(&counts);
        QCOMPARE(counts, QString("1 setting read; 1 differs from your values."));
        QCOMPARE(fixture.stored("Brightness"), QString("0.8"));
    }

    void saveWritesTheStoredValuesWithoutAskingToOverwrite()
    {
        WindowFixture fixture;
        QVERIFY(fixture.store->store.Save("Brightness", "0.9").ok());
        const QString chosen = fixture.path("q3config.cfg");
        testkit::writeFile(chosen, gameFile);
        chooseThrough(fixture, "Command3", chosen);
        const QByteArray written = testkit::readFile(chosen);
        QVERIFY2(written.contains("seta vid_bright \"0.9\""), written);
        QVERIFY2(written.contains("seta vid_full \"1\""), written);
        QVERIFY2(written.contains("bind x \"quit\""), written);
        QString details;
        const QString notice = testkit::takeNotice(&details);
        QVERIFY2(notice.contains(chosen), qPrintable(notice));
        QCOMPARE(details, QString("2 settings changed, 1 added at its default, 0 already right.\n\nWhat the file held "
                                  "before is kept in %1_, as Cvarden reads it; \"cvarden-cli restore\" brings back "
                                  "the exact earlier file.")
                              .arg(chosen));
        QCOMPARE(fixture.window->cursor().shape(), Qt::ArrowCursor);
    }

    void cancelReadsAndWritesNothing_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("Open") << "Command4";
        QTest::newRow("Save") << "Command3";
    }

    void cancelReadsAndWritesNothing()
    {
        QFETCH(QString, button);
        WindowFixture fixture;
        const QString chosen = fixture.path("q3config.cfg");
        testkit::writeFile(chosen, gameFile);
        testkit::whenModalOpens([chosen](QWidget *modal) {
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            dialog->selectFile(chosen);
            dialog->reject();
        });
        fixture.click(qPrintable(button));
        QCOMPARE(testkit::readFile(chosen), gameFile);
        QVERIFY(!QFile::exists(chosen + "_"));
        QCOMPARE(fixture.store->saves, QStringList());
        QCOMPARE(testkit::takeNotice(), QString());
    }

    void failuresAreShownAndLeaveTheFileAsItWas_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<QString>("reason");
        QTest::newRow("save into a read-only file") << "Command3" << gameFile << true << "read-only";
        QTest::newRow("open an empty file") << "Command4" << QByteArray() << false << "empty";
        QTest::newRow("save into an empty file") << "Command3" << QByteArray() << false << "empty";
    }

    void failuresAreShownAndLeaveTheFileAsItWas()
    {
        QFETCH(QString, button);
        QFETCH(QByteArray, content);
        QFETCH(bool, readOnly);
        QFETCH(QString, reason);
        WindowFixture fixture;
        const QString chosen = fixture.path("q3config.cfg");
        testkit::writeFile(chosen, content);
        if (readOnly)
            QFile::setPermissions(chosen, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
        chooseThrough(fixture, qPrintable(button), chosen);
        QString why;
        const QString notice = testkit::takeNotice(&why);
        QVERIFY2(notice.contains(chosen), qPrintable(notice));
        QVERIFY2(why.contains(reason), qPrintable(why));
        QCOMPARE(testkit::readFile(chosen), content);
        QCOMPARE(fixture.window->cursor().shape(), Qt::ArrowCursor);
    }

    void saveSaysWhatTheGameWouldMakeOfTheFile_data()
    {
        QTest::addColumn<QString>("brightness");
        QTest::addColumn<int>("fileSize");
        QTest::addColumn<QString>("said");
        QTest::addColumn<bool>("written");
        QTest::newRow("a value the game would cut") << QString(1100, 'x') << 100 << "\"Brightness\" (1100 bytes)" << false;
        QTest::newRow("a file too large for the 1.32 release") << "2" << 17000 << "1.32 release ignores" << true;
    }

    void saveSaysWhatTheGameWouldMakeOfTheFile()
    {
        QFETCH(QString, brightness);
        QFETCH(int, fileSize);
        QFETCH(QString, said);
        QFETCH(bool, written);
        WindowFixture fixture;
        QVERIFY(fixture.store->store.Save("Brightness", brightness.toStdString()).ok());
        const QString chosen = fixture.path("q3config.cfg");
        const QByteArray before = "// " + QByteArray(fileSize, 'c') + "\n";
        testkit::writeFile(chosen, before);
        chooseThrough(fixture, "Command3", chosen);
        QString details;
        testkit::takeNotice(&details);
        QVERIFY2(details.contains(said), qPrintable(details));
        QCOMPARE(testkit::readFile(chosen) != before, written);
    }

    void nextUseStartsFromTheFileChosenLast()
    {
        WindowFixture fixture;
        const QString chosen = fixture.path("q3config.cfg");
        testkit::writeFile(chosen, gameFile);
        chooseThrough(fixture, "Command4", chosen);
        testkit::takeNotice();
        QStringList offered;
        testkit::whenModalOpens([&offered](QWidget *modal) {
            offered = qobject_cast<QFileDialog *>(modal)->selectedFiles();
            qobject_cast<QFileDialog *>(modal)->reject();
        });
        fixture.click("Command3");
        QCOMPARE(offered, QStringList{chosen});
    }

    void firstExistingFolderElseHome()
    {
        QTemporaryDir dir;
        const QString missing = dir.filePath("missing");
        const QString present = dir.filePath("baseq3");
        QVERIFY(QDir().mkpath(present));
        QCOMPARE(cvarden::FirstExistingFolder({missing, present}), present);
        QCOMPARE(cvarden::FirstExistingFolder({missing}), QDir::homePath());
        for (const QString &folder : cvarden::UsualGameFolders())
            QVERIFY2(QDir::isAbsolutePath(folder), qPrintable(folder));
    }

#if defined(Q_OS_LINUX)
    void dialogStartsWhereTheGameKeepsItsSettings_data()
    {
        // Folders are under a private home; "config" is the XDG folder named
        // by XDG_CONFIG_HOME, "home" stands for the home itself.
        QTest::addColumn<QString>("xdgConfigHome"); // "<unset>" leaves it out
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("start");

        QTest::newRow("current ioquake3: the XDG folder")
            << "config" << QStringList{"config/Quake3/baseq3"} << "config/Quake3/baseq3";
        QTest::newRow("the XDG folder before the older one")
            << "config" << QStringList{"config/Quake3/baseq3", ".q3a/baseq3"} << "config/Quake3/baseq3";
        QTest::newRow("the older folder while there is no XDG one")
            << "config" << QStringList{".q3a/baseq3"} << ".q3a/baseq3";
        QTest::newRow("without XDG_CONFIG_HOME: under .config")
            << "<unset>" << QStringList{".config/Quake3/baseq3", ".q3a/baseq3"} << ".config/Quake3/baseq3";
        QTest::newRow("an empty XDG_CONFIG_HOME: under .config")
            << "" << QStringList{".config/Quake3/baseq3"} << ".config/Quake3/baseq3";
        QTest::newRow("a relative XDG_CONFIG_HOME: under .config")
            << "relative" << QStringList{".config/Quake3/baseq3"} << ".config/Quake3/baseq3";
        QTest::newRow("the XDG folder of the game only, not its baseq3")
            << "config" << QStringList{"config/Quake3"} << "home";
        QTest::newRow("none of them: the home") << "config" << QStringList{} << "home";
    }

    void dialogStartsWhereTheGameKeepsItsSettings()
    {
        QFETCH(QString, xdgConfigHome);
        QFETCH(QStringList, existing);
        QFETCH(QString, start);
        QTemporaryDir home;
        for (const QString &folder : existing)
            QVERIFY(QDir().mkpath(home.filePath(folder)));
        const QByteArray oldHome = qgetenv("HOME");
        const QByteArray oldXdg = qgetenv("XDG_CONFIG_HOME");
        const bool hadXdg = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
        qputenv("HOME", home.path().toLocal8Bit());
        if (xdgConfigHome == "<unset>")
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", xdgConfigHome == "config" ? home.filePath("config").toLocal8Bit()
                                                                  : xdgConfigHome.toLocal8Bit());
        QString shown;
        {
            WindowFixture fixture;
            testkit::whenModalOpens([&](QWidget *modal) {
                shown = qobject_cast<QFileDialog *>(modal)->directory().absolutePath();
            });
            fixture.click("Command4");
        }
        qputenv("HOME", oldHome);
        if (hadXdg)
            qputenv("XDG_CONFIG_HOME", oldXdg);
        else
            qunsetenv("XDG_CONFIG_HOME");
        QCOMPARE(shown, start == "home" ? home.path() : home.filePath(start));
    }
#endif
};

QTEST_MAIN(ConfigFilesTest)
#include "tst_configfiles.moc"
