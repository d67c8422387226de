// SPDX-License-Identifier: GPL-2.0-or-later
#include <QAbstractItemView>
#include <QComboBox>
#include <QWheelEvent>

#include "windowtestkit.h"

using testkit::WindowFixture;

// The choice list of Mixing rate (11, 22, 44; default 22) stands on the value
// shown, and only the player changes that value.
namespace {

// One notch of the wheel over the box; a negative count turns it down.
void turnWheel(QComboBox *combo, int notches)
{
    const QPointF at = combo->rect().center();
    QWheelEvent event(at, combo->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(combo, &event);
}

// Selects Mixing rate with `stored` in the store and, when asked, clicks into
// its text as the player does before using the keys there.
QComboBox *showMixingRate(WindowFixture &fixture, const QString &stored, bool focused)
{
    if (!fixture.store->store.Save("Mixing rate", stored.toStdString()).ok())
        qFatal("the store refused the value");
    fixture.select("Mixing rate");
    auto *combo = fixture.control<QComboBox>("val_combo");
    if (focused)
        QTest::mouseClick(combo->lineEdit(), Qt::LeftButton);
    return combo;
}

} // namespace

class ChoiceListTest : public QObject {
    Q_OBJECT

private slots:
    void listStandsOnTheShownValue_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("item");
        QTest::newRow("the first choice") << "11" << 0;
        QTest::newRow("a later choice") << "44" << 2;
        QTest::newRow("a value outside the list: no item") << "48" << -1;
    }

    void listStandsOnTheShownValue()
    {
        QFETCH(QString, stored);
        QFETCH(int, item);
        WindowFixture fixture;
        QComboBox *combo = showMixingRate(fixture, stored, false);
        QCOMPARE(combo->currentText(), stored);
        QCOMPARE(combo->currentIndex(), item);

        // The list opened with a click on the arrow highlights the same item.
        QTest::mouseClick(combo, Qt::LeftButton, {}, QPoint(combo->width() - 5, combo->height() / 2));
        QAbstractItemView *list = combo->view();
        QTRY_VERIFY(list->isVisible());
        QList<int> highlighted;
        for (const QModelIndex &index : list->selectionModel()->selectedIndexes())
            highlighted << index.row();
        QCOMPARE(highlighted, item < 0 ? QList<int>{} : QList<int>{item});
        combo->hidePopup();
        QCOMPARE(fixture.stored("Mixing rate"), stored);
    }

    void wheelAndKeysStepFromTheShownValue_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("focused");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("after");

        QTest::newRow("wheel down over the box, focus in the tree: nothing changes") << "44" << false << "wheel down"
                                                                                     << "44";
        QTest::newRow("wheel over a value outside the list, focus in the tree: nothing changes")
            << "48" << false << "wheel down"
            << "48";
        QTest::newRow("wheel down, box focused: the next choice") << "22" << true << "wheel down"
                                                                  << "44";
        QTest::newRow("wheel up, box focused: the choice before") << "44" << true << "wheel up"
                                                                  << "22";
        QTest::newRow("Down key: the next choice") << "22" << true << "Down"
                                                   << "44";
        QTest::newRow("Up key: the choice before") << "44" << true << "Up"
                                                   << "22";
        QTest::newRow("Down key on the last choice: it stays") << "44" << true << "Down"
                                                               << "44";
        QTest::newRow("Down key from a value outside the list: the first choice") << "48" << true << "Down"
                                                                                  << "11";
    }

    void wheelAndKeysStepFromTheShownValue()
    {
        QFETCH(QString, stored);
        QFETCH(bool, focused);
        QFETCH(QString, action);
        QFETCH(QString, after);
        WindowFixture fixture;
        QComboBox *combo = showMixingRate(fixture, stored, focused);
        QCOMPARE(combo->hasFocus(), focused);
        if (action == "wheel down")
            turnWheel(combo, -1);
        else if (action == "wheel up")
            turnWheel(combo, 1);
        else
            QTest::keyClick(combo, action == "Down" ? Qt::Key_Down : Qt::Key_Up);
        QCOMPARE(combo->currentText(), after);
        QCOMPARE(fixture.stored("Mixing rate"), after);
    }

    void typedValueIsWhereTheKeysStepFrom()
    {
        WindowFixture fixture;
        QComboBox *combo = showMixingRate(fixture, "11", true);
        combo->lineEdit()->selectAll();
        QTest::keyClicks(combo->lineEdit(), "22");
        QTest::keyClick(combo, Qt::Key_Down);
        QCOMPARE(combo->currentText(), QString("44"));
        QCOMPARE(fixture.stored("Mixing rate"), QString("44"));
    }
};

QTEST_MAIN(ChoiceListTest)
#include "tst_choicelist.moc"
