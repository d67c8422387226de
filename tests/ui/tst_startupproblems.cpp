// SPDX-License-Identifier: GPL-2.0-or-later
#include <QMessageBox>

#include "windowtestkit.h"

using testkit::WindowFixture;

namespace {

int openNotices()
{
    int count = 0;
    for (QWidget *widget : QApplication::topLevelWidgets())
        count += qobject_cast<QMessageBox *>(widget) && widget->isVisible();
    return count;
}

} // namespace

class StartupProblemsTest : public QObject {
    Q_OBJECT

private slots:
    void shippedCatalogueOpensWithoutANotice()
    {
        WindowFixture fixture;
        for (const QString &name : QStringList{"options.dat", "models.txt"}) {
            QFile::remove(fixture.path(name));
            QVERIFY(QFile::copy(QStringLiteral(CVARDEN_SAMPLE_DATA "/") + name, fixture.path(name)));
        }
        fixture.openWindow();
        QTest::qWait(20);
        QCOMPARE(openNotices(), 0);
        QVERIFY(fixture.control<QTreeWidget>("optiontree")->topLevelItemCount() > 0);
    }

    void missingCatalogueSaysOnceWhichFileItLookedFor()
    {
        WindowFixture fixture;
        QVERIFY(QFile::remove(fixture.cataloguePath()));
        fixture.openWindow();
        QTRY_COMPARE(openNotices(), 1);
        const QString notice = testkit::takeNotice();
        QVERIFY2(notice.contains(QDir::toNativeSeparators(fixture.cataloguePath())), qPrintable(notice));
        QTest::qWait(20);
        QCOMPARE(openNotices(), 0);
        QVERIFY(fixture.window->isVisible());
        QCOMPARE(fixture.control<QTreeWidget>("optiontree")->topLevelItemCount(), 0);
    }

    void storeThatCannotBeWrittenIsReportedOnce()
    {
        WindowFixture fixture;
        // A store whose folder is a file can never be written, whoever runs it.
        testkit::writeFile(fixture.path("not-a-folder"), "x");
        auto store = std::make_unique<testkit::RecordingStore>(fixture.path("not-a-folder/Cvarden.ini"));
        cvarden::MainWindow window(fixture.cataloguePath(), *store);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto *tree = window.findChild<QTreeWidget *>("optiontree");
        QTreeWidgetItem *brightness = tree->topLevelItem(0)->child(0);
        tree->setCurrentItem(brightness);
        auto *editor = window.findChild<QLineEdit *>("val_value");
        QTest::keyClicks(editor, "23");
        QCOMPARE(openNotices(), 1);
        QString why;
        QVERIFY(!testkit::takeNotice(&why).isEmpty());
        QVERIFY2(why.contains("not-a-folder"), qPrintable(why));
        QTest::keyClicks(editor, "4");
        QCOMPARE(openNotices(), 0);
        QCOMPARE(editor->text(), QString("1.0234"));
    }
};

QTEST_MAIN(StartupProblemsTest)
#include "tst_startupproblems.moc"
