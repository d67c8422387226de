#include <QtTest>

#include "catalogue_fixture.h"
#include "loader.h"
#include "optionsearch.h"

using namespace cvarden;

namespace {

// Folder A holds Mouse speed (sensitivity) and Invert mouse (m_pitch); folder
// B holds Sound volume (s_volume). Nodes: 1 A, 2 B, 3 Mouse speed, 4 Invert
// mouse, 5 Sound volume.
QStringList searchCatalogue()
{
    return {"A", "B", "---",
            "A", "Mouse speed", "d", "sensitivity", "x", "VALUE", "5",
            "A", "Invert mouse", "d", "m_pitch", "x", "CHECK", "x", "0",
            "B", "Sound volume", "d", "s_volume", "x", "VALUE", "0.8"};
}

} // namespace

class OptionSearchTest : public QObject {
    Q_OBJECT

private slots:
    void findsTheNextOptionHoldingTheText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("start");
        QTest::addColumn<QString>("found"); // the display name, empty for none

        QTest::newRow("the start of a display name") << "Mouse" << 1 << "Mouse speed";
        QTest::newRow("inside a display name") << "volume" << 1 << "Sound volume";
        QTest::newRow("inside a variable name") << "pitch" << 1 << "Invert mouse";
        QTest::newRow("letter case ignored") << "SOUND VOL" << 1 << "Sound volume";
        QTest::newRow("the start node itself counts") << "mouse" << 4 << "Invert mouse";
        QTest::newRow("the first match from the start on") << "mouse" << 2 << "Mouse speed";
        QTest::newRow("going round past the last node") << "speed" << 4 << "Mouse speed";
        QTest::newRow("a start past the end goes round") << "mouse" << 6 << "Mouse speed";
        QTest::newRow("no start: from the first node") << "invert" << 0 << "Invert mouse";
        QTest::newRow("folder names are passed over") << "B" << 1 << "";
        QTest::newRow("nothing holds the text") << "gamma" << 1 << "";
    }

    void findsTheNextOptionHoldingTheText()
    {
        QFETCH(QString, text);
        QFETCH(int, start);
        QFETCH(QString, found);
        QTemporaryDir dir;
        OptionTree tree;
        DescriptionTable descriptions;
        QCOMPARE(OpenOptions(writeTestFile(dir, "options.dat", crlfLines(searchCatalogue())).toStdString(), tree,
                             descriptions),
                 std::string());
        const std::size_t index = FindOption(tree, text.toStdString(), static_cast<std::size_t>(start));
        QCOMPARE(index == 0 ? QString() : QString::fromStdString(tree.item(index).text), found);
    }

    void emptyTreeFindsNothing()
    {
        QCOMPARE(FindOption(OptionTree(), "a", 1), std::size_t(0));
    }
};

QTEST_APPLESS_MAIN(OptionSearchTest)
#include "tst_optionsearch.moc"
