// SPDX-License-Identifier: GPL-2.0-or-later
#include <QtTest>

#include "outcomes.h"
#include "catalogue_fixture.h"
#include "changedoptions.h"
#include "loader.h"
#include "memorystore.h"

using namespace cvarden;

namespace {

// Nodes: 1 A, 2 B, 3 Speed (default 5), 4 Invert (default 0), 5 Volume
// (default 0.8), 6 Speed again, in B, with default 7.
QStringList changeCatalogue()
{
    return {"A", "B", "---",
            "A", "Speed", "d", "sensitivity", "x", "VALUE", "5",
            "A", "Invert", "d", "m_pitch", "x", "CHECK", "x", "0",
            "B", "Volume", "d", "s_volume", "x", "VALUE", "0.8",
            "B", "Speed", "d", "cl_speed", "x", "VALUE", "7"};
}

} // namespace

class ChangedOptionsTest : public QObject {
    Q_OBJECT

private slots:
    void changedOptionsAndTheirFoldersAreMarked_data()
    {
        QTest::addColumn<QStringList>("stored"); // name=value
        QTest::addColumn<QList<int>>("marked");  // node indexes

        QTest::newRow("nothing stored: all at their defaults") << QStringList{} << QList<int>{};
        QTest::newRow("the default stored") << QStringList{"Volume=0.8", "Invert=0"} << QList<int>{};
        QTest::newRow("another value, and its folder")
            << QStringList{"Volume=1"} << QList<int>{2, 5};
        QTest::newRow("the same number spelled otherwise is a change")
            << QStringList{"Invert=0.0"} << QList<int>{1, 4};
        QTest::newRow("a blank more is a change") << QStringList{"Volume=0.8 "} << QList<int>{2, 5};
        QTest::newRow("an empty value is a change") << QStringList{"Invert="} << QList<int>{1, 4};
        QTest::newRow("a shared name is held against each option's own default")
            << QStringList{"Speed=7"} << QList<int>{1, 3};
        QTest::newRow("names outside the catalogue mark nothing") << QStringList{"Other=1"} << QList<int>{};
    }

    void changedOptionsAndTheirFoldersAreMarked()
    {
        QFETCH(QStringList, stored);
        QFETCH(QList<int>, marked);
        QTemporaryDir dir;
        Catalogue catalogue;
        OptionTree &tree = catalogue.tree;
        QCOMPARE(loadTestCatalogue(dir, changeCatalogue(), catalogue), Failure::None);
        QCOMPARE(tree.count(), std::size_t(6));
        MemoryStore store;
        for (const QString &pair : stored)
            store.values[pair.section('=', 0, 0).toStdString()] = pair.section('=', 1).toStdString();

        const std::vector<bool> changed = ChangedNodes(tree, store);
        QList<int> got;
        for (std::size_t i = 0; i < changed.size(); ++i)
            if (changed[i])
                got << static_cast<int>(i);
        QCOMPARE(got, marked);
        for (std::size_t i = 1; i <= tree.count(); ++i)
            QCOMPARE(IsChanged(tree.item(i), store), tree.item(i).hasParent() && changed[i]);
    }
};

QTEST_APPLESS_MAIN(ChangedOptionsTest)
#include "tst_changedoptions.moc"
