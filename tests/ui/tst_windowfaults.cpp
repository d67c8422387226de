// SPDX-License-Identifier: GPL-2.0-or-later
#include <QFileDialog>
#include <QMessageBox>

#include "windowtestkit.h"

using testkit::WindowFixture;

// Faults caused for real while the window works: a chosen file that vanishes
// on its way from the file dialog to the command, and a store that cannot be
// written.
namespace {

const QByteArray gameFile = "// written by the game\n"
                            "seta vid_bright \"0.7\"\n"
                            "seta snd_rate \"44\"\n";

int openNotices()
{
    int count = 0;
    for (QWidget *widget : QApplication::topLevelWidgets())
        count += qobject_cast<QMessageBox *>(widget) && widget->isVisible();
    return count;
}

QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
}

// Deletes the file the moment the window shows its busy pointer: the dialog
// has closed and the chosen file was found, and the command is about to read
// it.
class DeleteWhenBusy : public QObject {
public:
    DeleteWhenBusy(QWidget *window, QString path) : window_(window), path_(std::move(path)) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == window_ && event->type() == QEvent::CursorChange &&
            window_->cursor().shape() == Qt::WaitCursor && !deleted)
            deleted = QFile::remove(path_);
        return false;
    }

    bool deleted = false;

private:
    QWidget *window_;
    QString path_;
};

// Clicks the button and, in the file dialog it opens, types the path and
// accepts it; `prepare` first gets the dialog, which is made at its first use.
void chooseThrough(QWidget *window, const char *button, const QString &path,
                   const std::function<void(QFileDialog *)> &prepare = {})
{
    testkit::whenModalOpens([path, prepare](QWidget *modal) {
        if (auto *dialog = qobject_cast<QFileDialog *>(modal); dialog && prepare)
            prepare(dialog);
        testkit::typeIntoFileDialog(modal, path);
    });
    auto *pushButton = window->findChild<QPushButton *>(QString::fromLatin1(button));
    if (!pushButton)
        qFatal("the window has no button %s", button);
    QTest::mouseClick(pushButton, Qt::LeftButton);
}

// A store path that can never be written, whoever runs the test: its folder
// is a file.
QString unwritableStorePath(const WindowFixture &fixture)
{
    testkit::writeFile(fixture.path("not-a-folder"), "x");
    return fixture.path("not-a-folder/Cvarden.ini");
}

// The window on such a store.
struct WindowOnUnwritableStore {
    explicit WindowOnUnwritableStore(const WindowFixture &fixture)
        : store(unwritableStorePath(fixture)), window(fixture.cataloguePath(), store)
    {
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            qFatal("the main window was not shown");
    }

    testkit::RecordingStore store;
    cvarden::MainWindow window;
};

} // namespace

class WindowFaultsTest : public QObject {
    Q_OBJECT

private slots:
    void chosenFileVanishesBeforeItIsRead_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("asTheDialogAccepts");
        QTest::newRow("Open, gone as the dialog accepts") << "Command4" << true;
        QTest::newRow("Open, gone just before the read") << "Command4" << false;
        QTest::newRow("Save, gone as the dialog accepts") << "Command3" << true;
        QTest::newRow("Save, gone just before the read") << "Command3" << false;
    }

    // Nothing may be created in its place and no value stored; a file gone
    // after the dialog's own check is reported with its name and why.
    void chosenFileVanishesBeforeItIsRead()
    {
        QFETCH(QString, button);
        QFETCH(bool, asTheDialogAccepts);
        WindowFixture fixture;
        const QString chosen = fixture.path("q3config.cfg");
        testkit::writeFile(chosen, gameFile);
        QStringList expected = entriesOf(fixture.dir.path());
        expected.removeOne("q3config.cfg");

        bool deletedOnAccept = false;
        const auto deleteOnAccept = [&](QFileDialog *dialog) {
            connect(dialog, &QFileDialog::fileSelected, dialog,
                    [&](const QString &file) { deletedOnAccept = QFile::remove(file); });
        };
        DeleteWhenBusy beforeTheRead(fixture.window.get(), chosen);
        if (!asTheDialogAccepts)
            fixture.window->installEventFilter(&beforeTheRead);
        chooseThrough(fixture.window.get(), qPrintable(button), chosen,
                      asTheDialogAccepts ? std::function<void(QFileDialog *)>(deleteOnAccept) : nullptr);
        fixture.window->removeEventFilter(&beforeTheRead);

        QVERIFY2(asTheDialogAccepts ? deletedOnAccept : beforeTheRead.deleted, "the file was not deleted at the intended moment");
        QVERIFY(fixture.window->isVisible());
        QCOMPARE(fixture.store->saves, QStringList());
        QCOMPARE(entriesOf(fixture.dir.path()), expected);
        QString why;
        const QString notice = testkit::takeNotice(&why);
        if (asTheDialogAccepts) {
            // The dialog's own check finds the file gone: nothing happens.
            QCOMPARE(notice, QString());
        } else {
            QVERIFY2(notice.contains(QDir::toNativeSeparators(chosen)), qPrintable(notice));
            QVERIFY2(why.contains("No such file"), qPrintable(why));
        }
        QCOMPARE(openNotices(), 0);
        QCOMPARE(fixture.window->cursor().shape(), Qt::ArrowCursor);
    }

    void storeThatCannotBeWrittenFailsOpenAndSaveStillWorks()
    {
        WindowFixture fixture;
        WindowOnUnwritableStore unwritable(fixture);
        cvarden::MainWindow &window = unwritable.window;
        const QString chosen = fixture.path("q3config.cfg");
        testkit::writeFile(chosen, gameFile);

        chooseThrough(&window, "Command4", chosen);
        QCOMPARE(openNotices(), 1);
        QString why;
        const QString notice = testkit::takeNotice(&why);
        QVERIFY2(notice.contains("could not import"), qPrintable(notice));
        QVERIFY2(why.contains("not-a-folder"), qPrintable(why));
        QCOMPARE(testkit::readFile(chosen), gameFile);

        // The window goes on: saving reads the store, which still answers.
        chooseThrough(&window, "Command3", chosen);
        QVERIFY2(testkit::takeNotice().startsWith("Settings saved"), "saving should still work");
        QVERIFY(window.isVisible());
    }

    // A store that cannot be read used to be taken for an empty one: Save
    // wrote every default over the player's game file.
    void storeThatCannotBeReadRefusesSaveAndOpen_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("Save") << "Command3"
                              << "will not save";
        QTest::newRow("Open") << "Command4"
                              << "will not open a file";
    }

    void storeThatCannotBeReadRefusesSaveAndOpen()
    {
        QFETCH(QString, button);
        QFETCH(QString, refusal);
        WindowFixture fixture;
        const QByteArray damaged = "[Q3A]\n%7EBrightness=0.5\na note typed by hand\n";
        testkit::writeFile(fixture.storePath(), damaged);
        fixture.openWindow();
        QTRY_COMPARE(openNotices(), 1);
        QString why;
        QVERIFY2(testkit::takeNotice(&why).contains("cannot read your option values"), qPrintable(why));
        QVERIFY2(why.contains(fixture.storePath()) && why.contains("To start afresh"), qPrintable(why));
        const QString chosen = fixture.path("q3config.cfg");
        testkit::writeFile(chosen, gameFile);
        const QStringList entries = entriesOf(fixture.dir.path());

        bool dialogShown = false;
        testkit::whenModalOpens([&](QWidget *modal) { dialogShown = qobject_cast<QFileDialog *>(modal) != nullptr; },
                                5);
        fixture.click(qPrintable(button));
        QVERIFY2(testkit::takeNotice(&why).contains(refusal), qPrintable(why));
        QVERIFY2(why.contains(fixture.storePath()), qPrintable(why));
        QTest::qWait(100);
        QVERIFY(!dialogShown);
        QCOMPARE(fixture.store->saves, QStringList());
        QCOMPARE(testkit::readFile(fixture.storePath()), damaged);
        QCOMPARE(testkit::readFile(chosen), gameFile);
        QCOMPARE(entriesOf(fixture.dir.path()), entries);
    }

    void saveKeepsWhatTheFileHeldAsAVersion()
    {
        WindowFixture fixture;
        const QString versions = fixture.path("versions");
        fixture.window = std::make_unique<cvarden::MainWindow>(fixture.cataloguePath(), *fixture.store, versions);
        fixture.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(fixture.window.get()));
        const QString chosen = fixture.path("q3config.cfg");
        testkit::writeFile(chosen, gameFile);

        chooseThrough(fixture.window.get(), "Command3", chosen);
        QVERIFY(testkit::takeNotice().startsWith("Settings saved"));
        const QStringList kept = QDir(versions).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QCOMPARE(kept.size(), 1);
        const QStringList files = QDir(versions + "/" + kept[0]).entryList(QDir::Files);
        QCOMPARE(files.size(), 1);
        QCOMPARE(testkit::readFile(versions + "/" + kept[0] + "/" + files[0]), gameFile);
    }

    void storeThatCannotBeWrittenFailsEveryReset()
    {
        WindowFixture fixture;
        WindowOnUnwritableStore unwritable(fixture);
        cvarden::MainWindow &window = unwritable.window;
        auto *reset = window.findChild<QPushButton *>("Command5");

        // Each reset the player asks for is answered, unlike keystrokes.
        for (int attempt = 0; attempt < 2; ++attempt) {
            QTest::mouseClick(reset, Qt::LeftButton);
            QCOMPARE(openNotices(), 1);
            QString why;
            QVERIFY(testkit::takeNotice(&why).contains("could not reset"));
            QVERIFY2(why.contains("not-a-folder"), qPrintable(why));
        }
        QVERIFY(window.isVisible());
    }
};

QTEST_MAIN(WindowFaultsTest)
#include "tst_windowfaults.moc"
