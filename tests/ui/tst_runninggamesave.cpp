// SPDX-License-Identifier: GPL-2.0-or-later
#include <QMessageBox>

#include "../standinengine.h"
#include "windowtestkit.h"

using testkit::SaveAnswers;
using testkit::WindowFixture;

// Save asks first while one of the game's engines runs, since the game writes
// q3config.cfg again when it quits.
namespace {

const QByteArray gameFile = "seta vid_bright \"0.7\"\n";

} // namespace

class RunningGameSaveTest : public QObject {
    Q_OBJECT

private slots:
    void saveAsksWhileTheGameRuns_data()
    {
        QTest::addColumn<QString>("engine"); // empty: none runs
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("saved");
        QTest::newRow("no engine: saved without a question") << ""
                                                             << "" << false << true;
        QTest::newRow("Quake3e running, the player cancels") << "quake3e.x64"
                                                             << "Cancel" << true << false;
        QTest::newRow("Quake3e running, the player saves anyway") << "quake3e.x64"
                                                                  << "Save anyway" << true << true;
        QTest::newRow("ioquake3 running, the player cancels") << "ioquake3.x86_64"
                                                              << "Cancel" << true << false;
        QTest::newRow("another program of a similar name: no question") << "quake3-tools"
                                                                        << "" << false << true;
    }

    void saveAsksWhileTheGameRuns()
    {
        QFETCH(QString, engine);
        QFETCH(QString, answer);
        QFETCH(bool, asked);
        QFETCH(bool, saved);
        std::unique_ptr<StandInEngine> running;
        if (!engine.isEmpty())
            running = std::make_unique<StandInEngine>(engine);
        WindowFixture fixture;
        const QString file = fixture.path("q3config.cfg");
        testkit::writeFile(file, gameFile);

        SaveAnswers answers(file, answer);
        fixture.click("Command3");
        const QString question = answers.question;
        QCOMPARE(!question.isEmpty(), asked);
        if (asked) {
            QVERIFY2(question.contains(engine), qPrintable(question));
            QVERIFY2(question.contains(QDir::toNativeSeparators(file)), qPrintable(question));
        }
        QCOMPARE(testkit::readFile(file) != gameFile, saved);
        QCOMPARE(testkit::takeNotice().startsWith("Settings saved"), saved);
        QVERIFY(fixture.window->isVisible());
    }
};

QTEST_MAIN(RunningGameSaveTest)
#include "tst_runninggamesave.moc"
