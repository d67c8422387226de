// SPDX-License-Identifier: GPL-2.0-or-later
#include <QtTest>

#include "outcomes.h"
#include "catalogue_fixture.h"
#include "loader.h"

using namespace cvarden;

namespace {

// One line per node: parent key (or "-"), key, text, image.
QStringList describe(const OptionTree &tree)
{
    QStringList nodes;
    for (std::size_t i = 1; i <= tree.count(); ++i) {
        const OptionNode &node = tree.item(i);
        const QString parent = node.hasParent() ? QString::fromStdString(tree.item(node.parent).key) : "-";
        nodes << QStringLiteral("%1 | %2 | %3 | %4")
                     .arg(parent, QString::fromStdString(node.key), QString::fromStdString(node.text),
                          QString::fromLatin1(node.image()));
    }
    return nodes;
}

const QStringList twoFolders{"Display", "Sound", "---"};

} // namespace

class LoaderTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    Catalogue catalogue;
    OptionTree &tree = catalogue.tree;
    DescriptionTable &descriptions = catalogue.descriptions;

    QStringList load(const std::string &bytes)
    {
        catalogue = Catalogue();
        const QString path = writeTestFile(dir, "options.dat", bytes);
        const Outcome opened = OpenOptions(path.toStdString(), catalogue);
        if (opened.failed())
            qWarning("%s", opened.message().c_str());
        return describe(tree);
    }

private slots:
    void init()
    {
        catalogue = Catalogue();
    }

    void workedExampleYieldsFiveNodesAndThreeDescriptions()
    {
        const QString path = QStringLiteral(CVARDEN_TEST_DATA "/worked-example.dat");
        QCOMPARE(OpenOptions(path.toStdString(), catalogue), Failure::None);
        QCOMPARE(describe(tree), (QStringList{
                                     "- | Display | Display | folder",
                                     "- | Sound | Sound | folder",
                                     "Display | vid_bright?x?VALUE?1?1.0 | Brightness | val",
                                     "Display | vid_full?x?CHECK?2?x?1 | Full screen | check",
                                     "Sound | snd_rate?x?COMBO?3?3?11?22?44?x?22 | Mixing rate | combo",
                                 }));
        QCOMPARE(descriptions.at(0), std::string());
        QCOMPARE(descriptions.at(1), std::string("Screen brightness, 1.0 is normal."));
        QCOMPARE(descriptions.at(2), std::string("Run in a full screen."));
        QCOMPARE(descriptions.at(3), std::string("Sound mixing rate in kHz."));
        QCOMPARE(descriptions.at(4), std::string());
    }

    // What the rest of the program asks of a node, read from its key once.
    void nodesCarryTheirKindChoicesAndDescription_data()
    {
        QTest::addColumn<QString>("entry"); // from the variable line on
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("image");
        QTest::addColumn<QStringList>("choices");
        QTest::addColumn<int>("ordinal"); // as the key gives it
        QTest::newRow("free text") << "v2|x|VALUE|1.0" << int(Kind::Value) << "val" << QStringList{} << 2;
        QTest::newRow("on/off") << "v2|x|CHECK|x|1" << int(Kind::Check) << "check" << QStringList{} << 2;
        QTest::newRow("listed choices") << "v2|x|COMBO|ENTRIES|2|p|q|x|q" << int(Kind::Combo) << "combo"
                                        << QStringList{"p", "q"} << 2;
        QTest::newRow("an unknown choice source") << "v2|x|COMBO|LIST" << int(Kind::Combo) << "combo"
                                                  << QStringList{} << 2;
        QTest::newRow("a misspelt kind: no editor")
            << "v2|x|value|1" << int(Kind::Unknown) << "val" << QStringList{} << 2;
        // The image follows the editor the key gives, not the kind line.
        QTest::newRow("a \"?\" in the variable shifts the kind away: no editor")
            << "v?|x|CHECK|x|1" << int(Kind::Unknown) << "val" << QStringList{} << 0;
    }

    void nodesCarryTheirKindChoicesAndDescription()
    {
        QFETCH(QString, entry);
        QFETCH(int, kind);
        QFETCH(QString, image);
        QFETCH(QStringList, choices);
        QFETCH(int, ordinal);
        load(crlfLines(QString("A|---|A|first|skipped|v|x|VALUE|0|A|Name|Told|" + entry).split('|')));
        QCOMPARE(catalogue.tree.count(), std::size_t(3));
        const OptionNode &folder = catalogue.tree.item(1);
        const OptionNode &node = catalogue.tree.item(3);
        QCOMPARE(int(folder.kind), int(Kind::Folder));
        QCOMPARE(catalogue.descriptionOf(folder), std::string());
        QCOMPARE(int(node.kind), kind);
        QCOMPARE(QString::fromLatin1(node.image()), image);
        QCOMPARE(node.ordinal, std::size_t(ordinal));
        QCOMPARE(catalogue.descriptionOf(node), std::string(ordinal == 0 ? "" : "Told"));
        QStringList got;
        for (const std::string &choice : node.choices)
            got << QString::fromStdString(choice);
        QCOMPARE(got, choices);
        QStringList names;
        for (const OptionNode &option : catalogue.options())
            names << QString::fromStdString(option.text);
        QCOMPARE(names, (QStringList{"first", "Name"}));
    }

    void catalogueLines_data()
    {
        QTest::addColumn<QString>("catalogue"); // lines joined by CR LF; "\\n" is a lone LF
        QTest::addColumn<QStringList>("nodes");

        QTest::newRow("only the exact --- ends the folders")
            << "--- |----|---" << QStringList{"- | ---  | ---  | folder", "- | ---- | ---- | folder"};
        QTest::newRow("a twice-named folder adds one node")
            << "A|A|---|A|n|d|v|x|VALUE|1"
            << QStringList{"- | A | A | folder", "A | v?x?VALUE?1?1 | n | val"};
        QTest::newRow("a parent that is no folder adds nothing but uses its ordinal")
            << "Display|---|Displays|n|d|v|x|VALUE|1|Display|m|d|w|x|VALUE|2"
            << QStringList{"- | Display | Display | folder", "Display | w?x?VALUE?2?2 | m | val"};
        QTest::newRow("a parent line equal to an option's key names no folder")
            << "A|---|A|n|d|v|x|VALUE|1|v?x?VALUE?1?1|m|d|w|x|VALUE|2"
            << QStringList{"- | A | A | folder", "A | v?x?VALUE?1?1 | n | val"};
        QTest::newRow("parents match with letter case")
            << "Display|---|display|n|d|v|x|VALUE|1" << QStringList{"- | Display | Display | folder"};
        QTest::newRow("a kind in lower case is unknown; the next lines start the next entry")
            << "A|---|A|n|d|v|x|value|A|m|d|w|x|VALUE|2"
            << QStringList{"- | A | A | folder", "A | v?x?value?1? | n | val", "A | w?x?VALUE?2?2 | m | val"};
        QTest::newRow("an unknown choice source gives an empty tail and the combo image")
            << "A|---|A|n|d|v|x|COMBO|LIST|A|m|d|w|x|VALUE|2"
            << QStringList{"- | A | A | folder", "A | v?x?COMBO?1? | n | combo", "A | w?x?VALUE?2?2 | m | val"};
        QTest::newRow("a count of 0 gives a ten-line entry")
            << "A|---|A|n|d|v|x|COMBO|ENTRIES|0|r|def"
            << QStringList{"- | A | A | folder", "A | v?x?COMBO?1?0?r?def | n | combo"};
        QTest::newRow("a count that is no number reads no choice lines")
            << "A|---|A|n|d|v|x|COMBO|ENTRIES|two|r|def"
            << QStringList{"- | A | A | folder", "A | v?x?COMBO?1?two?r?def | n | combo"};
        QTest::newRow("a negative count reads no choice lines")
            << "A|---|A|n|d|v|x|COMBO|ENTRIES|-2|r|def"
            << QStringList{"- | A | A | folder", "A | v?x?COMBO?1?-2?r?def | n | combo"};
        QTest::newRow("a huge count reads to the end and counts what it read")
            << "A|---|A|n|d|v|x|COMBO|ENTRIES|999999999|a|b"
            << QStringList{"- | A | A | folder", "A | v?x?COMBO?1?2?a?b?? | n | combo"};
        QTest::newRow("the file ends inside an entry: missing lines keep earlier values")
            << "A|---|A|n|d|v|x|CHECK|r|1|A|m|d|w"
            << QStringList{"- | A | A | folder", "A | v?x?CHECK?1?r?1 | n | check", "A | w?x?CHECK?2?r?1 | m | check"};
        QTest::newRow("blank lines after the last entry add nothing")
            << "A|---|A|n|d|v|x|VALUE|1||" << QStringList{"- | A | A | folder", "A | v?x?VALUE?1?1 | n | val"};
        QTest::newRow("no --- line: every line is a folder")
            << "A|B" << QStringList{"- | A | A | folder", "- | B | B | folder"};
        QTest::newRow("no entry after ---: the folders alone")
            << "A|---" << QStringList{"- | A | A | folder"};
        QTest::newRow("a blank folder line names no folder")
            << "A||---||n|d|v|x|VALUE|1" << QStringList{"- | A | A | folder"};
        QTest::newRow("a description holding a lone LF is one line")
            << "A|---|A|n|two\\nlines|v|x|VALUE|1" << QStringList{"- | A | A | folder", "A | v?x?VALUE?1?1 | n | val"};
        QTest::newRow("two options may share a display name")
            << "A|---|A|n|d|v|x|VALUE|1|A|n|d|w|x|VALUE|2"
            << QStringList{"- | A | A | folder", "A | v?x?VALUE?1?1 | n | val", "A | w?x?VALUE?2?2 | n | val"};
    }

    void catalogueLines()
    {
        QFETCH(QString, catalogue);
        QFETCH(QStringList, nodes);
        catalogue.replace("\\n", "\n");
        QCOMPARE(load(crlfLines(catalogue.split('|'))), nodes);
    }

    void lineEndsFollowTheLineModel_data()
    {
        QTest::addColumn<QByteArray>("catalogue");
        QTest::newRow("CR LF and no final line end") << QByteArray("A\r\n---\r\nA\r\nn\r\nd\r\nv\r\nx\r\nVALUE\r\n1");
        QTest::newRow("lone CRs") << QByteArray("A\r---\rA\rn\rd\rv\rx\rVALUE\r1\r");
    }

    void lineEndsFollowTheLineModel()
    {
        QFETCH(QByteArray, catalogue);
        QCOMPARE(load(catalogue.toStdString()), (QStringList{"- | A | A | folder", "A | v?x?VALUE?1?1 | n | val"}));
    }

    void descriptionWithLoneLfIsKept()
    {
        load("A\r\n---\r\nA\r\nn\r\ntwo\nlines\r\nv\r\nx\r\nVALUE\r\n1\r\n");
        QCOMPARE(descriptions.at(1), std::string("two\nlines"));
    }

    void everyEntryKeepsItsDescription()
    {
        QStringList lines{"A", "---"};
        for (int i = 1; i <= 1500; ++i)
            lines << "A" << QString("n%1").arg(i) << QString("about %1").arg(i) << "v" << "x" << "VALUE" << "0";
        load(crlfLines(lines));
        QCOMPARE(tree.count(), std::size_t(1501));
        QCOMPARE(descriptions.at(1000), std::string("about 1000"));
        QCOMPARE(descriptions.at(1001), std::string("about 1001"));
        QCOMPARE(descriptions.at(1500), std::string("about 1500"));
        QCOMPARE(tree.item(1501).key, std::string("v?x?VALUE?1500?0"));
    }

    void choiceListFilesArePlainLists_data()
    {
        QTest::addColumn<QByteArray>("list"); // empty: no file at all
        QTest::addColumn<QString>("key");
        QTest::newRow("two lines") << QByteArray("a\r\nb\r\n") << "v?x?COMBO?1?2?a?b?r?a";
        QTest::newRow("a final blank line is a choice") << QByteArray("a\r\nb\r\n\r\n") << "v?x?COMBO?1?3?a?b??r?a";
        QTest::newRow("no final line end") << QByteArray("a\r\nb") << "v?x?COMBO?1?2?a?b?r?a";
        QTest::newRow("missing file gives no choices") << QByteArray() << "v?x?COMBO?1?0?r?a";
    }

    void choiceListFilesArePlainLists()
    {
        QFETCH(QByteArray, list);
        QFETCH(QString, key);
        QFile::remove(dir.filePath("list.txt"));
        if (!list.isEmpty())
            writeTestFile(dir, "list.txt", list.toStdString());
        const QStringList nodes = load(crlfLines({"A", "---", "A", "n", "d", "v", "x", "COMBO", "FILE", "list.txt", "r", "a"}));
        QCOMPARE(nodes.value(1), "A | " + key + " | n | combo");
    }

    void choiceListsAreReadOnlyInTheCataloguesFolder_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("key");
        QTest::newRow("a list in a folder inside") << "lists/list.txt"
                                                   << "v?x?COMBO?1?1?inside?r?a";
        QTest::newRow("a list one folder up") << "../list.txt"
                                              << "v?x?COMBO?1?0?r?a";
        QTest::newRow("a way out through a folder inside") << "lists/../../list.txt"
                                                           << "v?x?COMBO?1?0?r?a";
        QTest::newRow("a whole path") << "WHOLE"
                                      << "v?x?COMBO?1?0?r?a";
    }

    void choiceListsAreReadOnlyInTheCataloguesFolder()
    {
        QFETCH(QString, name);
        QFETCH(QString, key);
        QVERIFY(QDir(dir.path()).mkpath("catalogue/lists"));
        writeTestFile(dir, "list.txt", "outside\r\n");
        writeTestFile(dir, "catalogue/lists/list.txt", "inside\r\n");
        name.replace("WHOLE", dir.filePath("list.txt"));
        const QString path =
            writeTestFile(dir, "catalogue/options.dat",
                          crlfLines({"A", "---", "A", "n", "d", "v", "x", "COMBO", "FILE", name, "r", "a"}));
        catalogue = Catalogue();
        QCOMPARE(OpenOptions(path.toStdString(), catalogue), Failure::None);
        QCOMPARE(describe(tree).value(1), "A | " + key + " | n | combo");
    }

    void missingCatalogueSaysWhichFile()
    {
        const std::string missing = dir.filePath("nowhere/options.dat").toStdString();
        const Outcome failure = OpenOptions(missing, catalogue);
        QCOMPARE(failure, Failure::Missing);
        QVERIFY2(failure.message().find(missing) != std::string::npos, failure.message().c_str());
        QCOMPARE(tree.count(), std::size_t(0));
    }

    void binaryCatalogueLoadsWithoutTrouble()
    {
        std::string noise;
        for (int i = 0; i < 200000; ++i)
            noise.push_back(static_cast<char>((i * 7919) % 256));
        load(noise);
        QVERIFY(tree.count() > 0);
    }

    void authorsHearOfEveryMistake_data()
    {
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QStringList>("findings"); // "line: the start of the text"

        QTest::newRow("a sound catalogue") << "A|---|A|n|d|v|x|COMBO|ENTRIES|2|p|q|x|q|A|m|d|w|x|CHECK|x|1"
                                           << QStringList{};
        QTest::newRow("a parent that is no folder")
            << "A|---|B|n|d|v|x|VALUE|1" << QStringList{"3: this entry adds no option"};
        QTest::newRow("an unknown kind") << "A|---|A|n|d|v|x|value" << QStringList{"8: the kind \"value\""};
        QTest::newRow("a question mark in a key line")
            << "A|---|A|n|d|v?|x|VALUE|1" << QStringList{"6: a \"?\" in \"v?\""};
        QTest::newRow("a display name used twice")
            << "A|---|A|n|d|v|x|VALUE|1|A|n|d|w|x|VALUE|1" << QStringList{"11: the display name \"n\" is used before, at line 4"};
        QTest::newRow("an on/off default other than 0 or 1")
            << "A|---|A|n|d|v|x|CHECK|x|2" << QStringList{"10: the on/off default \"2\""};
        QTest::newRow("a choice default that is no choice")
            << "A|---|A|n|d|v|x|COMBO|ENTRIES|1|p|x|q" << QStringList{"13: the default \"q\""};
        QTest::newRow("a count that is no number")
            << "A|---|A|n|d|v|x|COMBO|ENTRIES|two|x|two" << QStringList{"10: the choice count \"two\"", "12: the default"};
        QTest::newRow("a count beyond the end")
            << "A|---|A|n|d|v|x|COMBO|ENTRIES|3|p" << QStringList{"11: the default \"\"", "3: the file ends inside"};
        QTest::newRow("an unknown choice source")
            << "A|---|A|n|d|v|x|COMBO|LIST" << QStringList{"9: the choice source \"LIST\""};
        QTest::newRow("a missing choice-list file")
            << "A|---|A|n|d|v|x|COMBO|FILE|none.txt|x|a" << QStringList{"10: Cannot open", "12: the default"};
        QTest::newRow("a variable name holding a semicolon")
            << "A|---|A|n|d|x;quit|x|VALUE|1" << QStringList{"6: the variable name \"x;quit\" is not one word"};
        QTest::newRow("a variable name holding a blank")
            << "A|---|A|n|d|cg fov|x|VALUE|1" << QStringList{"6: the variable name \"cg fov\" is not one word"};
        QTest::newRow("a variable name holding a double quote")
            << "A|---|A|n|d|a\"b|x|VALUE|1" << QStringList{"6: the variable name \"a\"b\" is not one word"};
        QTest::newRow("a variable name holding a comment")
            << "A|---|A|n|d|a//b|x|VALUE|1" << QStringList{"6: the variable name \"a//b\" is not one word"};
        QTest::newRow("a variable name too long for the game's command")
            << "A|---|A|n|d|" + QString(1020, 'v') + "|x|VALUE|1"
            << QStringList{"6: the variable name \"vvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvv...\" (1020 bytes) is not one word to "
                           "the game: it is too long"};
        QTest::newRow("a choice list outside the catalogue's folder")
            << "A|---|A|n|d|v|x|COMBO|FILE|../list.txt|x|a"
            << QStringList{"10: the choice list \"../list.txt\" lies outside", "12: the default"};
        QTest::newRow("a \"?\" in the variable: the choices are still those listed")
            << "A|---|A|n|d|v?|x|COMBO|ENTRIES|2|p|q|x|q" << QStringList{"6: a \"?\" in \"v?\""};
        QTest::newRow("no --- line") << "A" << QStringList{"1: no \"---\" line", "1: no option entry"};
        QTest::newRow("a folder listed twice") << "A|A|---" << QStringList{"2: the folder \"A\" is listed twice",
                                                                          "3: no option entry"};
    }

    void authorsHearOfEveryMistake()
    {
        QFETCH(QString, lines);
        QFETCH(QStringList, findings);
        const QString path = writeTestFile(dir, "options.dat", crlfLines(lines.split('|')));
        QCOMPARE(OpenOptions(path.toStdString(), catalogue, Checks::Thorough), Failure::None);
        QStringList got;
        for (const CatalogueFinding &finding : catalogue.findings)
            got << QString::number(finding.line) + ": " + QString::fromStdString(finding.text);
        QVERIFY2(got.size() == findings.size(), qPrintable(got.join(" / ")));
        for (int i = 0; i < findings.size(); ++i)
            QVERIFY2(got[i].startsWith(findings[i]), qPrintable(got.join(" / ")));
    }
};

QTEST_APPLESS_MAIN(LoaderTest)
#include "tst_loader.moc"
