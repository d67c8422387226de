// SPDX-License-Identifier: GPL-2.0-or-later
#include <QtTest>

#include "commandusage.h"

using namespace cvarden;

namespace {

QStringList listed(const std::vector<std::string> &words)
{
    QStringList out;
    for (const std::string &word : words)
        out << QString::fromStdString(word);
    return out;
}

std::vector<std::string> words(const QStringList &list)
{
    std::vector<std::string> out;
    for (const QString &word : list)
        out.push_back(word.toStdString());
    return out;
}

} // namespace

// What a command takes is read from its usage line, so a command added with
// its usage line is checked, and completed, with nothing else to write.
class CommandUsageTest : public QObject {
    Q_OBJECT

private slots:
    void wordsAreCheckedAgainstTheUsageLine_data()
    {
        QTest::addColumn<QString>("usage");
        QTest::addColumn<QStringList>("given");
        QTest::addColumn<QString>("problem");
        QTest::addColumn<QStringList>("read"); // what the command then reads
        const QString engine = "engine [--strict] [--engine NAME] FILE [N]  what it does";
        QTest::newRow("options keep their order, words follow")
            << engine << QStringList{"--engine", "q3e", "--strict", "f"} << ""
            << QStringList{"--engine", "q3e", "--strict", "f"};
        QTest::newRow("an option's value may look like an option")
            << engine << QStringList{"--engine", "--strict", "f"} << "" << QStringList{"--engine", "--strict", "f"};
        QTest::newRow("an option without its value")
            << engine << QStringList{"f", "--engine"} << "the option \"--engine\" comes after \"f\"" << QStringList{};
        QTest::newRow("an option at the end without its value")
            << engine << QStringList{"--engine"} << "the option \"--engine\" needs a NAME after it" << QStringList{};
        QTest::newRow("the optional word given") << engine << QStringList{"f", "3"} << "" << QStringList{"f", "3"};
        QTest::newRow("-- lets a word look like an option")
            << engine << QStringList{"--strict", "--", "--engine"} << "" << QStringList{"--strict", "--engine"};
        QTest::newRow("a second -- is a word") << engine << QStringList{"--", "--", "4"} << "" << QStringList{"--", "4"};
        QTest::newRow("two words missing") << "set NAME VALUE  x" << QStringList{} << "NAME and VALUE are missing"
                                           << QStringList{};
        QTest::newRow("a negative number is a word")
            << "set NAME VALUE  x" << QStringList{"n", "-0.022"} << "" << QStringList{"n", "-0.022"};
        QTest::newRow("a lone dash is a word") << "import FILE  x" << QStringList{"-"} << "" << QStringList{"-"};
        QTest::newRow("words too many")
            << "import FILE  x" << QStringList{"a", "b", "c"} << "too many arguments: \"b\", \"c\" after FILE"
            << QStringList{};
    }

    void wordsAreCheckedAgainstTheUsageLine()
    {
        QFETCH(QString, usage);
        QFETCH(QStringList, given);
        QFETCH(QString, problem);
        QFETCH(QStringList, read);
        std::vector<std::string> checked = words(given);
        const std::string said = CheckUsage(ShapeOf(usage.toStdString()), checked);
        QVERIFY2(QString::fromStdString(said).startsWith(problem) && (problem.isEmpty() == said.empty()), said.c_str());
        if (problem.isEmpty())
            QCOMPARE(listed(checked), read);
    }

    void optionNamesAreReadFromTheHelp()
    {
        const std::string help = "Usage: x [options]\n\nOptions:\n  -h, --help, --help-all  Displays help.\n"
                                 "  --catalogue <FILE>      The catalogue to use\n"
                                 "                          --not-an-option here.\n\nArguments:\n  --nor-this  x\n";
        QCOMPARE(listed(OptionNamesInHelp(help)), (QStringList{"--help", "--help-all", "--catalogue"}));
    }
};

QTEST_APPLESS_MAIN(CommandUsageTest)
#include "tst_commandusage.moc"
