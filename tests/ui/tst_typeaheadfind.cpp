// SPDX-License-Identifier: GPL-2.0-or-later
#include <QComboBox>
#include <QLabel>

#include "windowtestkit.h"

using testkit::WindowFixture;

// Typing in the tree finds an option by its display name or variable name.
// The sample tree: Display (Brightness vid_bright, Full screen vid_full),
// Sound (Mixing rate snd_rate), all folders collapsed.
namespace {

QString currentName(WindowFixture &fixture)
{
    QTreeWidgetItem *item = fixture.control<QTreeWidget>("optiontree")->currentItem();
    return item ? item->text(0) : QString();
}

// As a second without keys ends the pause timer.
void pausePassed(WindowFixture &fixture)
{
    auto *pause = fixture.window->findChild<QTimer *>("typeAheadPause");
    QVERIFY2(pause, "the window has no pause of type-ahead find");
    pause->stop();
}

// Plays the keys on the tree: "<Esc>" is Escape, "<pause>" a second without
// typing, any other text is typed.
void play(WindowFixture &fixture, const QStringList &keys)
{
    auto *tree = fixture.control<QTreeWidget>("optiontree");
    for (const QString &key : keys) {
        if (key == "<Esc>")
            QTest::keyClick(tree, Qt::Key_Escape);
        else if (key == "<pause>")
            pausePassed(fixture);
        else
            QTest::keyClicks(tree, key);
    }
}

} // namespace

class TypeAheadFindTest : public QObject {
    Q_OBJECT

private slots:
    void typingFindsAnOption_data()
    {
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("found");

        QTest::newRow("the start of a display name, in a collapsed folder") << QStringList{"mix"} << "Mixing rate";
        QTest::newRow("a variable name") << QStringList{"snd_r"} << "Mixing rate";
        QTest::newRow("inside a name, letter case ignored") << QStringList{"SCREEN"} << "Full screen";
        QTest::newRow("keys within a second add up") << QStringList{"b", "r", "i"} << "Brightness";
        QTest::newRow("a pause starts afresh") << QStringList{"br", "<pause>", "i"} << "Full screen";
        QTest::newRow("Escape starts afresh") << QStringList{"br", "<Esc>", "i"} << "Full screen";
        QTest::newRow("the same text again finds the next option")
            << QStringList{"vid", "<pause>", "vid"} << "Full screen";
        QTest::newRow("a blank inside the typed text") << QStringList{"full s"} << "Full screen";
        QTest::newRow("nothing matches: the selection stays") << QStringList{"mix", "q"} << "Mixing rate";
    }

    void typingFindsAnOption()
    {
        QFETCH(QStringList, keys);
        QFETCH(QString, found);
        WindowFixture fixture;
        play(fixture, keys);
        QCOMPARE(currentName(fixture), found);
    }

    void typingGoesOnFromTheSelectedNodeAsTheTreeShowsIt()
    {
        WindowFixture fixture;
        fixture.select("Sound");
        play(fixture, {"r"}); // Brightness and Full screen hold an r too, above Sound
        QCOMPARE(currentName(fixture), QString("Mixing rate"));
    }

    void foundOptionIsShownAsAClickShowsIt()
    {
        WindowFixture fixture;
        QVERIFY(fixture.store->store.Save("Mixing rate", "44").ok());
        auto *tree = fixture.control<QTreeWidget>("optiontree");
        QTreeWidgetItem *sound = tree->findItems("Sound", Qt::MatchExactly).value(0);
        QVERIFY(!sound->isExpanded());
        play(fixture, {"rate"});
        QVERIFY(sound->isExpanded());
        QVERIFY(tree->currentItem()->isSelected());
        auto *combo = fixture.control<QComboBox>("val_combo");
        QVERIFY(combo->isVisible());
        QCOMPARE(combo->currentText(), QString("44"));
        QCOMPARE(fixture.control<QLabel>("desclbl")->text(), QString("Sound mixing rate in kHz."));
        QVERIFY(tree->hasFocus()); // typing can go on
    }

    void foldersOpenedOnTheWayCloseAgain_data()
    {
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<bool>("displayOpenBefore");
        QTest::addColumn<QStringList>("open");
        // "f" finds Full screen in Display, "fs" no option, "r" Brightness,
        // and "ra" goes on to Mixing rate in Sound.
        QTest::newRow("moving on to another folder closes the one opened")
            << QStringList{"ra"} << false << QStringList{"Sound"};
        QTest::newRow("a folder the player had open stays open")
            << QStringList{"ra"} << true << QStringList{"Display", "Sound"};
        QTest::newRow("a finished find keeps its folder open")
            << QStringList{"r", "<pause>", "mix"} << false << QStringList{"Display", "Sound"};
        QTest::newRow("a find that ends where it opened keeps it open")
            << QStringList{"fs"} << false << QStringList{"Display"};
    }

    void foldersOpenedOnTheWayCloseAgain()
    {
        QFETCH(QStringList, keys);
        QFETCH(bool, displayOpenBefore);
        QFETCH(QStringList, open);
        WindowFixture fixture;
        auto *tree = fixture.control<QTreeWidget>("optiontree");
        tree->topLevelItem(0)->setExpanded(displayOpenBefore);
        play(fixture, keys);
        QStringList opened;
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            if (tree->topLevelItem(i)->isExpanded())
                opened << tree->topLevelItem(i)->text(0);
        QCOMPARE(opened, open);
    }

    void pauseIsASecond()
    {
        WindowFixture fixture;
        play(fixture, {"b"});
        auto *pause = fixture.window->findChild<QTimer *>("typeAheadPause");
        QVERIFY(pause->isActive());
        QCOMPARE(pause->interval(), 1000);
    }

    void treeKeysKeepTheirUseWhenNothingIsTyped()
    {
        WindowFixture fixture;
        auto *tree = fixture.control<QTreeWidget>("optiontree");
        QTreeWidgetItem *sound = tree->findItems("Sound", Qt::MatchExactly).value(0);
        tree->setCurrentItem(sound);
        QTest::keyClick(tree, Qt::Key_Plus);
        QVERIFY(sound->isExpanded());
        QTest::keyClick(tree, Qt::Key_Minus);
        QVERIFY(!sound->isExpanded());
        QCOMPARE(currentName(fixture), QString("Sound"));
    }
};

QTEST_MAIN(TypeAheadFindTest)
#include "tst_typeaheadfind.moc"
