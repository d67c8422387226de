// SPDX-License-Identifier: GPL-2.0-or-later
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

#include "windowtestkit.h"

using testkit::WindowFixture;

namespace {

// What an editor shows, in the text the store keeps for it.
QString shownValue(WindowFixture &fixture, const QString &editor)
{
    if (editor == "val_value")
        return fixture.control<QLineEdit>("val_value")->text();
    if (editor == "val_combo")
        return fixture.control<QComboBox>("val_combo")->currentText();
    switch (fixture.control<QCheckBox>("val_check")->checkState()) {
    case Qt::Unchecked: return "0";
    case Qt::Checked: return "1";
    case Qt::PartiallyChecked: return "2";
    }
    return {};
}

QStringList visibleEditors(WindowFixture &fixture)
{
    QStringList visible;
    for (const char *editor : {"val_value", "val_check", "val_combo"})
        if (fixture.control<QWidget>(editor)->isVisible())
            visible << editor;
    return visible;
}

QStringList choices(QComboBox *combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

// Two options in different folders under one display name.
QStringList sharedNameCatalogue()
{
    return {"A", "B", "---", "A", "Name", "first", "va", "x", "VALUE", "a",
            "B", "Name", "second", "vb", "x", "VALUE", "b"};
}

} // namespace

class OptionEditingTest : public QObject {
    Q_OBJECT

private slots:
    void selectingAnOptionShowsItsEditorAndStoresWhatItShows_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("storedBefore"); // empty: nothing stored
        QTest::addColumn<QString>("editor");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("description");

        QTest::newRow("text, never stored: the default") << "Brightness" << "" << "val_value" << "1.0"
                                                          << "Screen brightness, 1.0 is normal.";
        QTest::newRow("text, stored") << "Brightness" << "0.8" << "val_value" << "0.8"
                                      << "Screen brightness, 1.0 is normal.";
        QTest::newRow("on/off, never stored: ticked by default") << "Full screen" << "" << "val_check" << "1"
                                                                  << "Run in a full screen.";
        QTest::newRow("on/off, stored clear") << "Full screen" << "0" << "val_check" << "0" << "Run in a full screen.";
        QTest::newRow("choice, never stored: the default") << "Mixing rate" << "" << "val_combo" << "22"
                                                            << "Sound mixing rate in kHz.";
        QTest::newRow("choice, stored outside the list") << "Mixing rate" << "48" << "val_combo" << "48"
                                                          << "Sound mixing rate in kHz.";
    }

    void selectingAnOptionShowsItsEditorAndStoresWhatItShows()
    {
        QFETCH(QString, option);
        QFETCH(QString, storedBefore);
        QFETCH(QString, editor);
        QFETCH(QString, shown);
        QFETCH(QString, description);
        WindowFixture fixture;
        if (!storedBefore.isEmpty())
            QVERIFY(fixture.store->store.Save(option.toStdString(), storedBefore.toStdString()).ok());
        fixture.select(option);
        QCOMPARE(visibleEditors(fixture), QStringList{editor});
        QCOMPARE(shownValue(fixture, editor), shown);
        QCOMPARE(fixture.stored(qPrintable(option)), shown);
        QCOMPARE(fixture.control<QLabel>("desclbl")->text(), description);
    }

    void clickingTheCurrentOptionAgainShowsItsValueAfresh()
    {
        WindowFixture fixture;
        fixture.select("Mixing rate");
        // As an Open would: the store changes behind the editor's back.
        QVERIFY(fixture.store->Save("Mixing rate", "44").ok());
        fixture.store->saves.clear();
        fixture.select("Mixing rate");
        QCOMPARE(fixture.control<QComboBox>("val_combo")->currentText(), QString("44"));
        QCOMPARE(fixture.control<QComboBox>("val_combo")->count(), 3);
        // The value shown is stored once, as for any selection.
        QCOMPARE(fixture.store->saves, QStringList{"Mixing rate=44"});
    }

    void clickingAnotherOptionSelectsItOnce()
    {
        WindowFixture fixture;
        fixture.select("Brightness");
        fixture.store->saves.clear();
        fixture.select("Mixing rate");
        QCOMPARE(fixture.store->saves, QStringList{"Mixing rate=22"});
    }

    void typingStoresOncePerChange()
    {
        WindowFixture fixture;
        fixture.select("Brightness");
        fixture.store->saves.clear();
        QTest::keyClicks(fixture.control<QLineEdit>("val_value"), "5x");
        QCOMPARE(fixture.store->saves, (QStringList{"Brightness=1.05", "Brightness=1.05x"}));
    }

    void typedChoiceIsStoredAsTyped()
    {
        WindowFixture fixture;
        fixture.select("Mixing rate");
        auto *combo = fixture.control<QComboBox>("val_combo");
        combo->lineEdit()->selectAll();
        fixture.store->saves.clear();
        QTest::keyClicks(combo->lineEdit(), "4");
        QCOMPARE(fixture.store->saves, QStringList{"Mixing rate=4"});
        QCOMPARE(combo->count(), 3);
    }

    void typedTextIsNotCompletedFromTheList()
    {
        WindowFixture fixture;
        fixture.select("Mixing rate");
        auto *combo = fixture.control<QComboBox>("val_combo");
        // A completer acts only on the widget that has the focus.
        fixture.window->activateWindow();
        combo->lineEdit()->setFocus();
        QTRY_VERIFY(combo->lineEdit()->hasFocus());
        combo->lineEdit()->selectAll();
        QTest::keyClicks(combo->lineEdit(), "1");
        QCOMPARE(combo->lineEdit()->text(), QString("1"));
        QCOMPARE(fixture.stored("Mixing rate"), QString("1"));
    }

    void longStoredValueIsShownWhole_data()
    {
        QTest::addColumn<QString>("option");
        QTest::newRow("free text") << "Brightness";
        QTest::newRow("choice list") << "Mixing rate";
    }

    // Longer than a text box's usual limit of 32,767 characters.
    void longStoredValueIsShownWhole()
    {
        QFETCH(QString, option);
        WindowFixture fixture;
        const QString value(40000, 'v');
        QVERIFY(fixture.store->store.Save(option.toStdString(), value.toStdString()).ok());
        fixture.select(option);
        QCOMPARE(fixture.stored(qPrintable(option)), value);
    }

    void pickedChoiceIsStored()
    {
        WindowFixture fixture;
        fixture.select("Mixing rate");
        auto *combo = fixture.control<QComboBox>("val_combo");
        combo->showPopup();
        QAbstractItemView *list = combo->view();
        QTRY_VERIFY(list->isVisible());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(2, 0)).center());
        QCOMPARE(combo->currentText(), QString("44"));
        QCOMPARE(fixture.stored("Mixing rate"), QString("44"));
    }

    void rebuildingTheChoiceListStoresNothing_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QStringList>("savesOnSelection");
        QTest::newRow("the first choice") << "11" << QStringList{};
        QTest::newRow("another choice: only it is stored again") << "44" << QStringList{"Mixing rate=44"};
    }

    void rebuildingTheChoiceListStoresNothing()
    {
        QFETCH(QString, stored);
        QFETCH(QStringList, savesOnSelection);
        WindowFixture fixture;
        QVERIFY(fixture.store->store.Save("Mixing rate", stored.toStdString()).ok());
        for (int round = 0; round < 2; ++round) {
            fixture.select("Brightness");
            fixture.store->saves.clear();
            fixture.select("Mixing rate");
            QCOMPARE(fixture.store->saves, savesOnSelection);
            QCOMPARE(choices(fixture.control<QComboBox>("val_combo")), (QStringList{"11", "22", "44"}));
            QCOMPARE(fixture.stored("Mixing rate"), stored);
        }
    }

    void clickingTheBoxStoresItsState()
    {
        WindowFixture fixture;
        fixture.select("Full screen");
        auto *box = fixture.control<QCheckBox>("val_check");
        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(fixture.stored("Full screen"), QString("0"));
        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(fixture.stored("Full screen"), QString("1"));
    }

    void oddOnOffValueShowsGreyAndIsKeptUntilClicked_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QStringList>("savesOnSelection");
        QTest::newRow("empty, as an import may leave it") << "" << QStringList{};
        QTest::newRow("a word") << "on" << QStringList{};
        QTest::newRow("too large") << "7" << QStringList{};
        QTest::newRow("negative") << "-1" << QStringList{};
        QTest::newRow("a fraction") << "1.5" << QStringList{};
        QTest::newRow("a number followed by a word") << "1x" << QStringList{};
        QTest::newRow("blanks only") << "  " << QStringList{};
        QTest::newRow("grey is a state of its own, stored as 2") << "2" << QStringList{"Full screen=2"};
    }

    void oddOnOffValueShowsGreyAndIsKeptUntilClicked()
    {
        QFETCH(QString, stored);
        QFETCH(QStringList, savesOnSelection);
        WindowFixture fixture;
        QVERIFY(fixture.store->store.Save("Full screen", stored.toStdString()).ok());
        fixture.select("Full screen");
        auto *box = fixture.control<QCheckBox>("val_check");
        QCOMPARE(box->checkState(), Qt::PartiallyChecked);
        QCOMPARE(fixture.store->saves, savesOnSelection);
        QCOMPARE(fixture.stored("Full screen"), stored);

        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(box->checkState(), Qt::Checked);
        QCOMPARE(fixture.stored("Full screen"), QString("1"));
        QTest::mouseClick(box, Qt::LeftButton);
        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(box->checkState(), Qt::Checked); // on and off only, grey is gone
    }

    void onOffValueSpelledOtherwiseShowsItsStateWithoutStoring_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("state");
        QTest::newRow("a fraction of zeros, as game files hold it") << "1.0" << int(Qt::Checked);
        QTest::newRow("a leading blank") << " 1" << int(Qt::Checked);
        QTest::newRow("a trailing tab") << "1\t" << int(Qt::Checked);
        QTest::newRow("a leading zero") << "01" << int(Qt::Checked);
        QTest::newRow("a plus sign") << "+1" << int(Qt::Checked);
        QTest::newRow("clear, with a point") << "0." << int(Qt::Unchecked);
        QTest::newRow("clear, negative zero") << "-0" << int(Qt::Unchecked);
        QTest::newRow("grey, as a fraction") << "2.00" << int(Qt::PartiallyChecked);
    }

    void onOffValueSpelledOtherwiseShowsItsStateWithoutStoring()
    {
        QFETCH(QString, stored);
        QFETCH(int, state);
        WindowFixture fixture;
        // The box shows another state first, so showing this one changes it.
        QVERIFY(fixture.store->store.Save("Full screen", state == Qt::Unchecked ? "1" : "0").ok());
        fixture.select("Full screen");
        fixture.select("Brightness");
        QVERIFY(fixture.store->store.Save("Full screen", stored.toStdString()).ok());
        fixture.store->saves.clear();
        fixture.select("Full screen");
        auto *box = fixture.control<QCheckBox>("val_check");
        QCOMPARE(int(box->checkState()), state);
        QCOMPARE(fixture.store->saves, QStringList());
        QCOMPARE(fixture.stored("Full screen"), stored);

        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(fixture.stored("Full screen"), state == Qt::Checked ? QString("0") : QString("1"));
    }

    void optionsOfOneDisplayNameShareTheirValue()
    {
        WindowFixture fixture(sharedNameCatalogue());
        fixture.select("Name", 0);
        auto *editor = fixture.control<QLineEdit>("val_value");
        editor->selectAll();
        QTest::keyClicks(editor, "shared");
        fixture.select("Name", 1);
        QCOMPARE(editor->text(), QString("shared"));
    }

    void selectingAFolderHidesTheEditorsAndClearsTheDescription()
    {
        WindowFixture fixture;
        fixture.select("Brightness");
        fixture.store->saves.clear();
        fixture.select("Display");
        QCOMPARE(visibleEditors(fixture), QStringList());
        QCOMPARE(fixture.control<QLabel>("desclbl")->text(), QString());
        QCOMPARE(fixture.store->saves, QStringList());
    }

    void arrowKeysSelectAsAClickDoes()
    {
        WindowFixture fixture;
        auto *tree = fixture.control<QTreeWidget>("optiontree");
        tree->setCurrentItem(tree->topLevelItem(1));
        QTest::keyClick(tree, Qt::Key_Right); // opens Sound
        QTest::keyClick(tree, Qt::Key_Down);
        QCOMPARE(visibleEditors(fixture), QStringList{"val_combo"});
        QTest::keyClick(tree, Qt::Key_Up);
        QTest::keyClick(tree, Qt::Key_Up);
        QTest::keyClick(tree, Qt::Key_Right); // opens Display
        QTest::keyClick(tree, Qt::Key_Down);
        QCOMPARE(visibleEditors(fixture), QStringList{"val_value"});
        QCOMPARE(fixture.control<QLineEdit>("val_value")->text(), QString("1.0"));
    }
};

QTEST_MAIN(OptionEditingTest)
#include "tst_optionediting.moc"
