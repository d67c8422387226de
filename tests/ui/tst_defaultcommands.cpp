// SPDX-License-Identifier: GPL-2.0-or-later
#include <QCheckBox>
#include <QComboBox>

#include "windowtestkit.h"

using testkit::WindowFixture;

namespace {

// Options whose defaults test the edges: a choice default outside its list,
// an on/off default that is no state, and two options of one display name.
QStringList edgeCatalogue()
{
    return {"F", "G", "---",
            "F", "Rate", "d", "rate", "x", "COMBO", "ENTRIES", "2", "11", "22", "x", "33",
            "F", "Odd", "d", "odd", "x", "CHECK", "x", "",
            "F", "Name", "d", "na", "x", "VALUE", "a",
            "G", "Name", "d", "nb", "x", "VALUE", "b"};
}

} // namespace

class DefaultCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void defaultValueBeforeAnySelectionChangesNothing()
    {
        WindowFixture fixture;
        fixture.click("Command2");
        QCOMPARE(fixture.store->saves, QStringList());
        QVERIFY(!fixture.control<QWidget>("val_value")->isVisible());
    }

    void defaultValueAfterAFolderDoesNothing()
    {
        WindowFixture fixture;
        QVERIFY(fixture.store->store.Save("Brightness", "0.5").ok());
        fixture.select("Brightness");
        fixture.select("Display");
        fixture.store->saves.clear();
        fixture.click("Command2");
        QCOMPARE(fixture.store->saves, QStringList());
        QCOMPARE(fixture.stored("Brightness"), QString("0.5"));
    }

    void defaultValueBringsTheCurrentOptionBack_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("defaultValue");
        QTest::newRow("text") << "Brightness" << "0.5" << "1.0";
        QTest::newRow("on/off, shown clear: ticked") << "Full screen" << "0" << "1";
        QTest::newRow("choice") << "Mixing rate" << "44" << "22";
    }

    void defaultValueBringsTheCurrentOptionBack()
    {
        QFETCH(QString, option);
        QFETCH(QString, stored);
        QFETCH(QString, defaultValue);
        WindowFixture fixture;
        QVERIFY(fixture.store->store.Save(option.toStdString(), stored.toStdString()).ok());
        fixture.select(option);
        fixture.click("Command2");
        QCOMPARE(fixture.stored(qPrintable(option)), defaultValue);
    }

    void choiceDefaultOutsideTheListIsShownAndStored()
    {
        WindowFixture fixture(edgeCatalogue());
        fixture.select("Rate");
        auto *combo = fixture.control<QComboBox>("val_combo");
        combo->setEditText("11");
        fixture.click("Command2");
        QCOMPARE(combo->currentText(), QString("33"));
        QCOMPARE(combo->count(), 2);
        QCOMPARE(fixture.stored("Rate"), QString("33"));
    }

    void onOffDefaultThatIsNoStateShowsGreyAndIsStored()
    {
        WindowFixture fixture(edgeCatalogue());
        fixture.select("Odd");
        auto *box = fixture.control<QCheckBox>("val_check");
        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(fixture.stored("Odd"), QString("1"));
        fixture.click("Command2");
        QCOMPARE(box->checkState(), Qt::PartiallyChecked);
        QCOMPARE(fixture.stored("Odd"), QString(""));
    }

    void defaultValueStoresTheDefaultTheEditorAlreadyShows()
    {
        WindowFixture fixture;
        fixture.select("Brightness");
        // A value taken over by an import while the editor shows the default.
        QVERIFY(fixture.store->Save("Brightness", "0.3").ok());
        QCOMPARE(fixture.control<QLineEdit>("val_value")->text(), QString("1.0"));
        fixture.click("Command2");
        QCOMPARE(fixture.stored("Brightness"), QString("1.0"));
    }

    void resetStoresEveryDefaultAndRefreshesTheEditor()
    {
        WindowFixture fixture;
        for (const char *option : {"Brightness", "Full screen", "Mixing rate"})
            QVERIFY(fixture.store->store.Save(option, "9").ok());
        fixture.select("Brightness");
        fixture.click("Command5");
        QCOMPARE(fixture.stored("Brightness"), QString("1.0"));
        QCOMPARE(fixture.stored("Full screen"), QString("1"));
        QCOMPARE(fixture.stored("Mixing rate"), QString("22"));
        QCOMPARE(fixture.control<QLineEdit>("val_value")->text(), QString("1.0"));
    }

    void resetGivesASharedNameTheLaterDefault_data()
    {
        QTest::addColumn<int>("selected"); // which "Name" is current; -1 for none
        QTest::addColumn<QString>("shared");
        QTest::newRow("neither is current: the later one wins") << -1 << "b";
        QTest::newRow("the current one's editor writes last") << 0 << "a";
    }

    void resetGivesASharedNameTheLaterDefault()
    {
        QFETCH(int, selected);
        QFETCH(QString, shared);
        WindowFixture fixture(edgeCatalogue());
        QVERIFY(fixture.store->store.Save("Name", "x").ok());
        if (selected >= 0)
            fixture.select("Name", selected);
        fixture.click("Command5");
        QCOMPARE(fixture.stored("Name"), shared);
    }

    void resetWithoutOptionsStoresNothing()
    {
        WindowFixture fixture({"Only", "Folders", "---"});
        fixture.click("Command5");
        QCOMPARE(fixture.store->saves, QStringList());
    }
};

QTEST_MAIN(DefaultCommandsTest)
#include "tst_defaultcommands.moc"
