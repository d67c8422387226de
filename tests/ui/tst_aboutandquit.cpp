// SPDX-License-Identifier: GPL-2.0-or-later
#include <QLabel>

#include "aboutdialog.h"
#include "windowtestkit.h"

using testkit::WindowFixture;

class AboutAndQuitTest : public QObject {
    Q_OBJECT

private slots:
    void aboutIsModalUntilOkClosesIt()
    {
        WindowFixture fixture;
        bool clickReturned = false;
        QString name, title, heading, credits, address, ok;
        QSize size;
        QRect addressPlace, okPlace;
        bool modal = false, addressReadOnly = false;
        testkit::whenModalOpens([&](QWidget *about) {
            modal = about->isModal() && !clickReturned;
            name = about->objectName();
            title = about->windowTitle();
            size = about->size();
            heading = about->findChild<QLabel *>("Label1")->text();
            credits = about->findChild<QLabel *>("Label2")->text();
            auto *text1 = about->findChild<QLineEdit *>("Text1");
            address = text1->text();
            addressReadOnly = text1->isReadOnly();
            addressPlace = text1->geometry();
            auto *okButton = about->findChild<QPushButton *>("Command1");
            ok = okButton->text();
            okPlace = okButton->geometry();
            QTest::mouseClick(okButton, Qt::LeftButton);
        });
        fixture.click("Command1");
        clickReturned = true;
        QVERIFY(modal);
        QCOMPARE(name, QString("frmAbout"));
        QCOMPARE(title, QString("About Cvarden"));
        QCOMPARE(size, QSize(226, 130));
        QCOMPARE(heading, QString("Cvarden\nVersion 0.1"));
        QCOMPARE(credits, QString("Enjoy, -Ravelin"));
        QCOMPARE(address, QString("https://cvarden.org"));
        QVERIFY(addressReadOnly);
        QCOMPARE(addressPlace, QRect(9, 38, 199, 15));
        QCOMPARE(ok, QString("&Ok"));
        QCOMPARE(okPlace, QRect(166, 101, 55, 23));
        QCOMPARE(fixture.window->findChildren<cvarden::AboutDialog *>().size(), 0);
        QCOMPARE(fixture.store->saves, QStringList());
    }

    void quitClosesTheWindowAndStoresNothing()
    {
        WindowFixture fixture;
        fixture.click("Command6");
        QVERIFY(!fixture.window->isVisible());
        QCOMPARE(fixture.store->saves, QStringList());
    }

    void anEditSurvivesClosingAndReopeningTheWindow()
    {
        WindowFixture fixture;
        fixture.select("Brightness");
        auto *editor = fixture.control<QLineEdit>("val_value");
        editor->selectAll();
        QTest::keyClicks(editor, "0.4");
        fixture.click("Command6");
        fixture.openWindow();
        fixture.select("Brightness");
        QCOMPARE(fixture.control<QLineEdit>("val_value")->text(), QString("0.4"));
    }
};

QTEST_MAIN(AboutAndQuitTest)
#include "tst_aboutandquit.moc"
