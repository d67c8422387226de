// SPDX-License-Identifier: GPL-2.0-or-later
#include <QtTest>

#include "outcomes.h"
#include "catalogue_fixture.h"
#include "loader.h"
#include "memorystore.h"
#include "reset.h"

using namespace cvarden;

class ResetTest : public QObject {
    Q_OBJECT

private slots:
    void everyOptionGetsItsDefault_data()
    {
        QTest::addColumn<QStringList>("catalogueLines");
        QTest::addColumn<QStringList>("stored"); // name=value, in name order

        QTest::newRow("every kind")
            << QStringList{"F", "---", "F", "A", "d", "a", "x", "VALUE", "1.5", "F", "B", "d", "b", "x", "CHECK", "x",
                           "1", "F", "C", "d", "c", "x", "COMBO", "ENTRIES", "2", "p", "q", "x", "q"}
            << QStringList{"A=1.5", "B=1", "C=q"};
        QTest::newRow("a shared display name takes the later default")
            << QStringList{"F", "---", "F", "N", "d", "a", "x", "VALUE", "first", "F", "N", "d", "b", "x", "VALUE", "second"}
            << QStringList{"N=second"};
        QTest::newRow("folders only write nothing") << QStringList{"F", "G", "---"} << QStringList{};
        QTest::newRow("an empty default is stored") << QStringList{"F", "---", "F", "E", "d", "e", "x", "VALUE", ""}
                                                    << QStringList{"E="};
    }

    void everyOptionGetsItsDefault()
    {
        QFETCH(QStringList, catalogueLines);
        QFETCH(QStringList, stored);
        QTemporaryDir dir;
        Catalogue catalogue;
        OptionTree &tree = catalogue.tree;
        QCOMPARE(loadTestCatalogue(dir, catalogueLines, catalogue), Failure::None);
        MemoryStore store;
        store.values["Kept"] = "mine";
        QCOMPARE(ResetToDefaults(tree, store), Failure::None);
        QCOMPARE(store.values["Kept"], std::string("mine"));
        store.values.erase("Kept");
        QStringList got;
        for (const auto &[name, value] : store.values)
            got << QString::fromStdString(name + "=" + value);
        QCOMPARE(got, stored);
        QCOMPARE(store.commits, 1);
    }
};

QTEST_APPLESS_MAIN(ResetTest)
#include "tst_reset.moc"
