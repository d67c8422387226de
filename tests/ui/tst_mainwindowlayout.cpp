// SPDX-License-Identifier: GPL-2.0-or-later
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

#include "images.h"
#include "windowtestkit.h"

using testkit::WindowFixture;

class MainWindowLayoutTest : public QObject {
    Q_OBJECT

private slots:
    void controlsHaveTheirNamesTextsAndPlaces_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("place");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("toolTip");

        QTest::newRow("Save") << "Command3" << QRect(8, 5, 71, 25) << "&Save" << "Save settings to q3config.cfg";
        QTest::newRow("Open") << "Command4" << QRect(86, 5, 71, 25) << "&Open"
                              << "Import settings from your q3config.cfg file";
        QTest::newRow("Reset") << "Command5" << QRect(164, 5, 71, 25) << "&Reset def."
                               << "Reset all values to their default value";
        QTest::newRow("About, two blanks in its tip") << "Command1" << QRect(242, 5, 71, 25) << "&About"
                                                      << "About  Cvarden";
        QTest::newRow("Quit") << "Command6" << QRect(321, 5, 71, 25) << "&Quit" << "Quit Cvarden";
        QTest::newRow("tree") << "optiontree" << QRect(6, 36, 389, 264) << "" << "";
        QTest::newRow("Value label") << "Label1" << QRect(7, 305, 388, 15) << "Value:" << "";
        QTest::newRow("text editor") << "val_value" << QRect(5, 322, 200, 21) << "" << "";
        QTest::newRow("choice editor") << "val_combo" << QRect(6, 322, 199, 21) << "" << "";
        QTest::newRow("on/off editor") << "val_check" << QRect(8, 325, 73, 16) << "Checked" << "";
        QTest::newRow("Default value, no tip") << "Command2" << QRect(211, 323, 79, 21) << "Default value" << "";
        QTest::newRow("Description label") << "Label2" << QRect(7, 347, 387, 15) << "Description:" << "";
        QTest::newRow("description") << "desclbl" << QRect(7, 363, 386, 36) << "" << "";
        QTest::newRow("rule") << "Frame1" << QRect(5, 399, 390, 4) << "" << "";
        QTest::newRow("updates label") << "Label3" << QRect(74, 406, 118, 13) << "Updates are available at:" << "";
        QTest::newRow("address") << "Text1" << QRect(198, 406, 199, 15) << "https://cvarden.org" << "";
    }

    void controlsHaveTheirNamesTextsAndPlaces()
    {
        QFETCH(QString, name);
        QFETCH(QRect, place);
        QFETCH(QString, caption);
        QFETCH(QString, toolTip);
        WindowFixture fixture;
        auto *control = fixture.control<QWidget>(qPrintable(name));
        QCOMPARE(control->geometry(), place);
        QCOMPARE(control->property("text").toString(), caption);
        QCOMPARE(control->toolTip(), toolTip);
    }

    void windowIsFixedWithAMinimiseButtonOnly()
    {
        WindowFixture fixture;
        QCOMPARE(fixture.window->objectName(), QString("frm_modoptions"));
        QCOMPARE(fixture.window->windowTitle(), QString("Cvarden - v0.1"));
        QCOMPARE(fixture.window->size(), QSize(401, 425));
        QCOMPARE(fixture.window->minimumSize(), fixture.window->maximumSize());
        QVERIFY(fixture.window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!fixture.window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QCOMPARE(fixture.window->windowIcon().availableSizes(), (QList<QSize>{{16, 16}, {32, 32}}));
    }

    void captionsFitTheirControls_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("margin"); // what the control's frame and box take
        for (const char *button : {"Command1", "Command2", "Command3", "Command4", "Command5", "Command6"})
            QTest::newRow(button) << button << 8;
        for (const char *label : {"Label1", "Label2", "Label3"})
            QTest::newRow(label) << label << 0;
        QTest::newRow("val_check") << "val_check" << 19;
        QTest::newRow("Text1") << "Text1" << 4;
    }

    void captionsFitTheirControls()
    {
        QFETCH(QString, name);
        QFETCH(int, margin);
        WindowFixture fixture;
        auto *control = fixture.control<QWidget>(qPrintable(name));
        const QString caption = control->property("text").toString();
        const QSize needed = control->fontMetrics().size(Qt::TextShowMnemonic, caption);
        QCOMPARE_LE(needed.width() + margin, control->width());
        QCOMPARE_LE(needed.height(), control->height());
        QCOMPARE(control->font().pixelSize(), 11);
    }

    void twoLinesOfDescriptionFit()
    {
        WindowFixture fixture;
        auto *description = fixture.control<QLabel>("desclbl");
        const QString twoLines = "Sets how loud the sound effects are against the music, from 0 (silent) to 1 "
                                 "(full); the game's own menu offers the same setting.";
        const QRect needed = description->fontMetrics().boundingRect(QRect(0, 0, description->width(), 1000),
                                                                     Qt::TextWordWrap, twoLines);
        QCOMPARE_GT(needed.height(), description->fontMetrics().lineSpacing());
        QCOMPARE_LE(needed.height(), description->height());
    }

    void startsWithNoEditorNoDescriptionAndTheFocusInTheTree()
    {
        WindowFixture fixture;
        for (const char *editor : {"val_value", "val_check", "val_combo"})
            QVERIFY2(!fixture.control<QWidget>(editor)->isVisible(), editor);
        QCOMPARE(fixture.control<QLabel>("desclbl")->text(), QString());
        QCOMPARE(QApplication::focusWidget(), fixture.control<QWidget>("optiontree"));
    }

    void focusMovesInTheListedOrder()
    {
        WindowFixture fixture;
        const QStringList order{"optiontree", "Command1", "val_check", "val_value", "val_combo",
                                "Command2",   "Command3", "Command4", "Command5",  "Command6"};
        QStringList seen;
        QWidget *widget = fixture.control<QWidget>("optiontree");
        do {
            if (order.contains(widget->objectName()))
                seen << widget->objectName();
            widget = widget->nextInFocusChain();
        } while (widget != fixture.control<QWidget>("optiontree"));
        QCOMPARE(seen, order);
        QCOMPARE(fixture.control<QWidget>("Text1")->focusPolicy() & Qt::TabFocus, 0);
    }

    void treeShowsFoldersThenOptionsWithTheirImages()
    {
        WindowFixture fixture;
        auto *tree = fixture.control<QTreeWidget>("optiontree");
        auto *images = fixture.window->findChild<cvarden::ImageList *>("ImageList1");
        QVERIFY(images);
        QCOMPARE(images->keys(), (QStringList{"check", "folder", "combo", "val"}));
        const auto sameImage = [](const QIcon &a, const QIcon &b) {
            return !a.isNull() && a.pixmap(16).toImage() == b.pixmap(16).toImage();
        };
        QCOMPARE(tree->topLevelItemCount(), 2);
        QTreeWidgetItem *display = tree->topLevelItem(0);
        QCOMPARE(display->text(0), QString("Display"));
        QVERIFY(!display->isExpanded());
        QVERIFY(sameImage(display->icon(0), images->icon("folder")));
        QCOMPARE(display->child(0)->text(0), QString("Brightness"));
        QVERIFY(sameImage(display->child(0)->icon(0), images->icon("val")));
        QVERIFY(sameImage(display->child(1)->icon(0), images->icon("check")));
        QVERIFY(sameImage(tree->topLevelItem(1)->child(0)->icon(0), images->icon("combo")));
        QVERIFY(tree->selectedItems().isEmpty());
    }

    void selectionStaysHighlightedWhenTheTreeLosesTheFocus()
    {
        WindowFixture fixture;
        const QPalette palette = fixture.control<QTreeWidget>("optiontree")->palette();
        QCOMPARE(palette.color(QPalette::Inactive, QPalette::Highlight),
                 palette.color(QPalette::Active, QPalette::Highlight));
    }

    void nodeLabelsCannotBeEdited()
    {
        WindowFixture fixture;
        auto *tree = fixture.control<QTreeWidget>("optiontree");
        QCOMPARE(tree->editTriggers(), QAbstractItemView::NoEditTriggers);
        fixture.select("Brightness");
        QTreeWidgetItem *item = tree->currentItem();
        QVERIFY(!item->flags().testFlag(Qt::ItemIsEditable));
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
        QTest::keyClick(tree, Qt::Key_F2);
        QCOMPARE(tree->viewport()->findChild<QLineEdit *>(), nullptr);
        QCOMPARE(item->text(0), QString("Brightness"));
    }

    void addressIsReadOnly()
    {
        WindowFixture fixture;
        auto *address = fixture.control<QLineEdit>("Text1");
        QVERIFY(address->isReadOnly());
        QVERIFY(address->font().underline());
        QCOMPARE(address->palette().color(QPalette::Text), QColor(0, 0, 192));
    }
};

QTEST_MAIN(MainWindowLayoutTest)
#include "tst_mainwindowlayout.moc"
