// SPDX-License-Identifier: GPL-2.0-or-later
#include "../caughtoutput.h"
#include "clicommands.h"
#include "windowtestkit.h"

using testkit::WindowFixture;

// The window's Save and `cvarden-cli export` are one command: for the same
// file and the same values they write the same bytes and say the same, a
// refusal included.
class SaveAndExportTest : public QObject {
    Q_OBJECT

private slots:
    void windowAndCliWriteAndSayTheSame_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("brightness");
        QTest::addColumn<bool>("refused");
        QTest::newRow("a file the game wrote") << QByteArray("seta vid_bright \"0.7\"\nbind x \"quit\"\n") << "0.9"
                                               << false;
        QTest::newRow("a file that holds every value") << QByteArray("seta vid_bright \"1.0\"\nseta vid_full \"1\"\n"
                                                                     "seta snd_rate \"22\"\n")
                                                       << "1.0" << false;
        QTest::newRow("a value too long for the game") << QByteArray("seta vid_bright 1\n") << QString(1100, 'x')
                                                       << true;
    }

    void windowAndCliWriteAndSayTheSame()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, brightness);
        QFETCH(bool, refused);
        WindowFixture fixture;
        QVERIFY(fixture.store->store.Save("Brightness", brightness.toStdString()).ok());
        QVERIFY(QDir().mkpath(fixture.path("window")) && QDir().mkpath(fixture.path("cli")));
        const QString byWindow = fixture.path("window/q3config.cfg");
        const QString byCli = fixture.path("cli/q3config.cfg");
        testkit::writeFile(byWindow, file);
        testkit::writeFile(byCli, file);

        testkit::whenModalOpens([byWindow](QWidget *modal) { testkit::typeIntoFileDialog(modal, byWindow); });
        fixture.click("Command3");
        QString said;
        testkit::takeNotice(&said);

        const Caught out;
        const Caught err;
        const cvarden::CliContext context{fixture.cataloguePath().toStdString(), {byCli.toStdString()},
                                          fixture.store->store, {}, out.file(), err.file(), {}};
        const int status = cvarden::RunCliCommand("export", context);

        QCOMPARE(testkit::readFile(byWindow), testkit::readFile(byCli));
        QCOMPARE(status, refused ? 1 : 0);
        // The CLI's sentence, less the file's name it adds, is the window's.
        const QString cliSaid = QString::fromLocal8Bit(refused ? err.bytes() : out.bytes()).trimmed();
        const QString sentence = refused ? cliSaid.mid(cliSaid.indexOf(' ') + 1)
                                         : cliSaid.left(cliSaid.lastIndexOf(" ("));
        QVERIFY2(said.startsWith(sentence), qPrintable(said + " / " + sentence));
        if (refused)
            QCOMPARE(testkit::readFile(byWindow), file);
    }
};

QTEST_MAIN(SaveAndExportTest)
#include "tst_saveandexport.moc"
