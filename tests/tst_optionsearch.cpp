// SPDX-License-Identifier: GPL-2.0-or-later
#include <QtTest>

#include "outcomes.h"
#include "catalogue_fixture.h"
#include "loader.h"
#include "optionsearch.h"

using namespace cvarden;

namespace {

// The catalogue lists an option of folder A after one of folder B, so the
// tree shows its nodes in another order than the catalogue's: A (1), Mouse
// speed (3), Invert mouse (5), B (2), Sound volume (4).
QStringList searchCatalogue()
{
    return {"A", "B", "---",
            "A", "Mouse speed", "d", "sensitivity", "x", "VALUE", "5",
            "B", "Sound volume", "d", "s_volume", "x", "VALUE", "0.8",
            "A", "Invert mouse", "d", "m_pitch", "x", "CHECK", "x", "0"};
}

} // namespace

class OptionSearchTest : public QObject {
    Q_OBJECT

private slots:
    void findsTheNextOptionHoldingTheText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("node");
        QTest::addColumn<bool>("after");
        QTest::addColumn<QString>("found"); // the display name, empty for none

        QTest::newRow("the start of a display name") << "Mouse" << 0 << false << "Mouse speed";
        QTest::newRow("inside a display name") << "volume" << 0 << false << "Sound volume";
        QTest::newRow("inside a variable name") << "pitch" << 0 << false << "Invert mouse";
        QTest::newRow("letter case ignored") << "SOUND VOL" << 0 << false << "Sound volume";
        QTest::newRow("the node itself counts") << "mouse" << 5 << false << "Invert mouse";
        QTest::newRow("after the node") << "mouse" << 5 << true << "Mouse speed";
        QTest::newRow("in the order the tree shows") << "s" << 3 << true << "Invert mouse";
        QTest::newRow("from a folder, its own options first") << "e" << 2 << true << "Sound volume";
        QTest::newRow("going round past the last node") << "speed" << 4 << true << "Mouse speed";
        QTest::newRow("no node: from the first") << "invert" << 0 << true << "Invert mouse";
        QTest::newRow("folder names are passed over") << "B" << 0 << false << "";
        QTest::newRow("nothing holds the text") << "gamma" << 1 << true << "";
    }

    void findsTheNextOptionHoldingTheText()
    {
        QFETCH(QString, text);
        QFETCH(int, node);
        QFETCH(bool, after);
        QFETCH(QString, found);
        QTemporaryDir dir;
        Catalogue catalogue;
        OptionTree &tree = catalogue.tree;
        QCOMPARE(loadTestCatalogue(dir, searchCatalogue(), catalogue), Failure::None);
        const std::size_t index = FindOption(tree, text.toStdString(), static_cast<std::size_t>(node),
                                             after ? SearchFrom::AfterTheNode : SearchFrom::TheNode);
        QCOMPARE(index == 0 ? QString() : QString::fromStdString(tree.item(index).text), found);
    }

    void emptyTreeFindsNothing()
    {
        QCOMPARE(FindOption(OptionTree(), "a", 1, SearchFrom::AfterTheNode), std::size_t(0));
    }
};

QTEST_APPLESS_MAIN(OptionSearchTest)
#include "tst_optionsearch.moc"
