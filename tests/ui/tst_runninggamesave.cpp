// SPDX-License-Identifier: GPL-2.0-or-later
#include <QMessageBox>

#include "../standinengine.h"
#include "windowtestkit.h"

using testkit::WindowFixture;

// Save asks first while one of the game's engines runs, since the game writes
// q3config.cfg again when it quits.
namespace {

const QByteArray gameFile = "seta vid_bright \"0.7\"\n";

// While it lives, answers the windows that Save opens: types the file into
// the file dialog, and notes the question about the running game and clicks
// the answer. The notice after a save stays open for the test to read.
class SaveAnswers {
public:
    SaveAnswers(QString file, QString answer) : file_(std::move(file)), answer_(std::move(answer))
    {
        QObject::connect(&poll_, &QTimer::timeout, [this] { Answer(); });
        poll_.start(10);
    }

    QString question;

private:
    void Answer()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (qobject_cast<QFileDialog *>(modal) && !typing_) {
            typing_ = true;
            testkit::typeIntoFileDialog(modal, file_);
            typing_ = false;
            return;
        }
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (!box || !question.isEmpty() || box->text().startsWith("Settings saved"))
            return;
        question = box->text() + "\n" + box->informativeText();
        for (QAbstractButton *button : box->buttons())
            if (button->text() == answer_)
                button->click();
        if (box->isVisible()) // an answer it does not offer: the test fails, but goes on
            box->close();
    }

    QString file_;
    QString answer_;
    QTimer poll_;
    bool typing_ = false; // typing waits in event loops, where the timer runs again
};

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
