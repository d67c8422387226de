// SPDX-License-Identifier: GPL-2.0-or-later
#include <QCheckBox>
#include <QComboBox>

#include "windowtestkit.h"

using testkit::WindowFixture;

// Options whose value differs from the catalogue default show in bold, with
// their folder, and the marks follow every way a value changes.
namespace {

// The names shown in bold, in tree order.
QStringList boldNames(WindowFixture &fixture)
{
    QStringList bold;
    for (QTreeWidgetItemIterator it(fixture.control<QTreeWidget>("optiontree")); *it; ++it)
        if ((*it)->font(0).bold())
            bold << (*it)->text(0);
    return bold;
}

void typeInto(QLineEdit *editor, const QString &text)
{
    editor->selectAll();
    QTest::keyClicks(editor, text);
}

} // namespace

class ChangedMarksTest : public QObject {
    Q_OBJECT

private slots:
    void storedChangesAreBoldWhenTheWindowOpens_data()
    {
        QTest::addColumn<QStringList>("stored"); // name=value
        QTest::addColumn<QStringList>("bold");
        QTest::newRow("nothing stored") << QStringList{} << QStringList{};
        QTest::newRow("defaults stored") << QStringList{"Brightness=1.0", "Mixing rate=22"} << QStringList{};
        QTest::newRow("one change") << QStringList{"Mixing rate=44"} << QStringList{"Sound", "Mixing rate"};
        QTest::newRow("two changes in one folder")
            << QStringList{"Brightness=0.8", "Full screen=0"} << QStringList{"Display", "Brightness", "Full screen"};
        QTest::newRow("an odd spelling of the default")
            << QStringList{"Full screen=1.0"} << QStringList{"Display", "Full screen"};
    }

    void storedChangesAreBoldWhenTheWindowOpens()
    {
        QFETCH(QStringList, stored);
        QFETCH(QStringList, bold);
        WindowFixture fixture;
        for (const QString &pair : stored)
            QVERIFY(fixture.store->store.Save(pair.section('=', 0, 0).toStdString(), pair.section('=', 1).toStdString()).ok());
        fixture.openWindow();
        QCOMPARE(boldNames(fixture), bold);
    }

    void editingMarksAndUnmarks()
    {
        WindowFixture fixture;
        fixture.select("Brightness");
        QCOMPARE(boldNames(fixture), QStringList());
        auto *editor = fixture.control<QLineEdit>("val_value");
        typeInto(editor, "0.8");
        QCOMPARE(boldNames(fixture), (QStringList{"Display", "Brightness"}));
        typeInto(editor, "1.0");
        QCOMPARE(boldNames(fixture), QStringList());

        fixture.select("Full screen");
        QTest::mouseClick(fixture.control<QCheckBox>("val_check"), Qt::LeftButton);
        QCOMPARE(boldNames(fixture), (QStringList{"Display", "Full screen"}));
    }

    void valueAnotherRunSavedIsMarkedAtTheNextSelection()
    {
        WindowFixture fixture;
        fixture.select("Brightness");
        cvarden::SettingsStore otherRun(fixture.storePath());
        QVERIFY(otherRun.Save("Mixing rate", "11").ok());
        fixture.select("Display"); // a folder, whose selection stores nothing
        QCOMPARE(boldNames(fixture), (QStringList{"Sound", "Mixing rate"}));
    }

    void defaultValueUnmarks()
    {
        WindowFixture fixture;
        QVERIFY(fixture.store->store.Save("Mixing rate", "44").ok());
        QVERIFY(fixture.store->store.Save("Brightness", "0.5").ok());
        fixture.openWindow();
        fixture.select("Mixing rate");
        fixture.click("Command2");
        QCOMPARE(fixture.control<QComboBox>("val_combo")->currentText(), QString("22"));
        QCOMPARE(boldNames(fixture), (QStringList{"Display", "Brightness"}));
    }

    void resetDefaultsUnmarksAll()
    {
        WindowFixture fixture;
        QVERIFY(fixture.store->store.Save("Mixing rate", "44").ok());
        QVERIFY(fixture.store->store.Save("Full screen", "0").ok());
        fixture.openWindow();
        QCOMPARE(boldNames(fixture), (QStringList{"Display", "Full screen", "Sound", "Mixing rate"}));
        fixture.select("Display"); // a folder: no editor takes part
        fixture.click("Command5");
        QCOMPARE(boldNames(fixture), QStringList());
    }

    // Two options of one display name share one value, which can equal only
    // one of their defaults: after a reset the later default is stored, so
    // the earlier option stays bold.
    void resetLeavesTheEarlierOfASharedNameChanged()
    {
        WindowFixture fixture({"A", "B", "---", "A", "Name", "first", "va", "x", "VALUE", "a",
                               "B", "Name", "second", "vb", "x", "VALUE", "b"});
        fixture.click("Command5");
        QCOMPARE(boldNames(fixture), (QStringList{"A", "Name"}));
        QCOMPARE(fixture.stored("Name"), QString("b"));
    }

    void openMarksWhatItTookOver()
    {
        WindowFixture fixture;
        const QString chosen = fixture.path("q3config.cfg");
        testkit::writeFile(chosen, "seta vid_bright \"1.0\"\nseta snd_rate \"11\"\n");
        testkit::whenModalOpens([chosen](QWidget *modal) { testkit::typeIntoFileDialog(modal, chosen); });
        fixture.click("Command4");
        testkit::takeNotice();
        QCOMPARE(boldNames(fixture), (QStringList{"Sound", "Mixing rate"}));
    }

    void boldKeepsTheTreeFont()
    {
        WindowFixture fixture;
        QVERIFY(fixture.store->store.Save("Mixing rate", "44").ok());
        fixture.openWindow();
        auto *tree = fixture.control<QTreeWidget>("optiontree");
        QTreeWidgetItem *item = tree->findItems("Mixing rate", Qt::MatchExactly | Qt::MatchRecursive).value(0);
        QVERIFY(item);
        QCOMPARE(item->font(0).resolve(tree->font()).family(), tree->font().family());
        QCOMPARE(item->font(0).resolve(tree->font()).pixelSize(), tree->font().pixelSize());
    }
};

QTEST_MAIN(ChangedMarksTest)
#include "tst_changedmarks.moc"
