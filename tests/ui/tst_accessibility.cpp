// SPDX-License-Identifier: GPL-2.0-or-later
#include <QAccessible>
#include <QLabel>

#include "windowtestkit.h"

using testkit::WindowFixture;

namespace {

// Every interface of the window's accessibility tree, by its widget's object
// name, as a screen reader walks it.
void walk(QAccessibleInterface *node, QHash<QString, QAccessibleInterface *> &found)
{
    if (QObject *object = node->object(); object && !object->objectName().isEmpty())
        found.insert(object->objectName(), node);
    for (int i = 0; i < node->childCount(); ++i) {
        if (QAccessibleInterface *child = node->child(i))
            walk(child, found);
    }
}

QHash<QString, QAccessibleInterface *> accessibilityTree(QWidget *window)
{
    QHash<QString, QAccessibleInterface *> found;
    walk(QAccessible::queryAccessibleInterface(window), found);
    return found;
}

// The relative luminance of a colour, and the contrast of two, as WCAG 2
// defines them.
double luminance(const QColor &colour)
{
    const auto channel = [](double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) + 0.0722 * channel(colour.blueF());
}

double contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QApplication::setPalette(QPalette()); }

    void everyControlIsNamedAndDescribed_data()
    {
        QTest::addColumn<QString>("option"); // selected first, to show its editor
        QTest::addColumn<QString>("control");
        QTest::newRow("the tree") << "Brightness" << "optiontree";
        QTest::newRow("the text editor") << "Brightness" << "val_value";
        QTest::newRow("the check box") << "Full screen" << "val_check";
        QTest::newRow("the choice list") << "Mixing rate" << "val_combo";
        QTest::newRow("About") << "Brightness" << "Command1";
        QTest::newRow("Default value") << "Brightness" << "Command2";
        QTest::newRow("Save") << "Brightness" << "Command3";
        QTest::newRow("Open") << "Brightness" << "Command4";
        QTest::newRow("Reset def.") << "Brightness" << "Command5";
        QTest::newRow("Quit") << "Brightness" << "Command6";
        QTest::newRow("the description") << "Brightness" << "desclbl";
        QTest::newRow("the update address") << "Brightness" << "Text1";
    }

    void everyControlIsNamedAndDescribed()
    {
        QFETCH(QString, option);
        QFETCH(QString, control);
        WindowFixture fixture;
        fixture.select(option);
        const auto tree = accessibilityTree(fixture.window.get());
        QAccessibleInterface *node = tree.value(control);
        QVERIFY2(node, qPrintable(control + " is not in the accessibility tree"));
        QVERIFY2(!node->text(QAccessible::Name).isEmpty(), qPrintable(control + " has no name"));
        QVERIFY2(!node->text(QAccessible::Description).isEmpty(), qPrintable(control + " has no description"));
        // Said, not shown: the captions stay as they were.
        if (auto *button = qobject_cast<QAbstractButton *>(node->object()))
            QVERIFY2(!button->text().isEmpty(), qPrintable(control));
    }

    void checkBoxSaysWhatATickMeansForTheSelectedOption()
    {
        WindowFixture fixture;
        fixture.select("Full screen");
        const QString description = accessibilityTree(fixture.window.get())["val_check"]->text(QAccessible::Description);
        QVERIFY2(description.contains("\"Full screen\" is on (vid_full 1)"), qPrintable(description));
    }

    void descriptionIsReadWithItsText()
    {
        WindowFixture fixture;
        fixture.select("Full screen");
        QCOMPARE(accessibilityTree(fixture.window.get())["desclbl"]->text(QAccessible::Name),
                 QString("Description: Run in a full screen."));
    }

    void valueLabelIsTheBuddyOfTheEditorOnScreen_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("editor"); // empty: none on screen
        QTest::newRow("a text option") << "Brightness" << "val_value";
        QTest::newRow("an on/off option") << "Full screen" << "val_check";
        QTest::newRow("a choice option") << "Mixing rate" << "val_combo";
        QTest::newRow("a folder") << "Sound" << "";
    }

    void valueLabelIsTheBuddyOfTheEditorOnScreen()
    {
        QFETCH(QString, option);
        QFETCH(QString, editor);
        WindowFixture fixture;
        fixture.select("Full screen");
        fixture.select(option);
        auto *label = fixture.control<QLabel>("Label1");
        QCOMPARE(label->buddy() ? label->buddy()->objectName() : QString(), editor);
        QCOMPARE(label->text(), QString("Value:"));
        if (editor.isEmpty())
            return;
        QVERIFY(label->buddy()->isVisible());
        // The reader hears the label with the editor.
        const auto related = accessibilityTree(fixture.window.get())[editor]->relations(QAccessible::Label);
        QVERIFY2(std::any_of(related.begin(), related.end(), [label](const auto &pair) { return pair.first->object() == label; }),
                 qPrintable(editor + " is not labelled by Value:"));
    }

    void updateAddressStaysReadable_data()
    {
        QTest::addColumn<QColor>("button");
        QTest::addColumn<QColor>("link");
        QTest::addColumn<QColor>("shown");
        QTest::newRow("a light palette: the designed dark blue")
            << QColor(240, 240, 240) << QColor(0, 0, 255) << QColor(0, 0, 192);
        QTest::newRow("a dark palette: its own link colour")
            << QColor(49, 54, 59) << QColor(29, 153, 243) << QColor(29, 153, 243);
    }

    void updateAddressStaysReadable()
    {
        QFETCH(QColor, button);
        QFETCH(QColor, link);
        QFETCH(QColor, shown);
        QPalette palette = QApplication::palette();
        palette.setColor(QPalette::Button, button);
        palette.setColor(QPalette::Window, button);
        palette.setColor(QPalette::Link, link);
        QApplication::setPalette(palette);
        WindowFixture fixture;
        const QPalette address = fixture.control<QLineEdit>("Text1")->palette();
        QCOMPARE(address.color(QPalette::Text), shown);
        QCOMPARE(address.color(QPalette::Base), button);
        // At least the 3 : 1 that large or underlined link text needs.
        QVERIFY2(contrast(address.color(QPalette::Text), address.color(QPalette::Base)) >= 3.0,
                 qPrintable(QString::number(contrast(address.color(QPalette::Text), address.color(QPalette::Base)))));
    }
};

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
