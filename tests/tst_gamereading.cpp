// SPDX-License-Identifier: GPL-2.0-or-later
#include <QtTest>

#include "outcomes.h"
#include "catalogue_fixture.h"
#include "enginefacts.h"
#include "exportconfig.h"
#include "saveplan.h"
#include "gamemodel.h"
#include "gamerun.h"
#include "importconfig.h"
#include "loader.h"
#include "memorystore.h"
#include "normalize.h"

using namespace cvarden;

namespace {

const char *const absent = "<absent>";

QByteArray bytes(const char *text, std::size_t size) { return QByteArray(text, qsizetype(size)); }

std::string text(const QByteArray &bytes) { return bytes.toStdString(); }

std::set<std::string> cataloguedNames(const OptionTree &tree)
{
    std::set<std::string> names;
    for (const OptionNode &option : tree.options())
        names.insert(gamemodel::lowered(option.variable()));
    return names;
}

} // namespace

// The game runs q3config.cfg as console commands; these tables hold what it
// makes of files players really have, and what Cvarden must do with them.
class GameReadingTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    Catalogue catalogue;
    OptionTree &tree = catalogue.tree;
    MemoryStore store;

    // Options in this order: ab shown as A (default 1), cd shown as D (default 0).
    void loadCatalogue()
    {
        QCOMPARE(loadTestCatalogue(dir,
                                   {"F", "---", "F", "A", "d", "ab", "x", "VALUE", "1", "F", "D", "d", "cd", "x",
                                    "VALUE", "0"},
                                   catalogue),
                 Failure::None);
    }

    bool loadRealCatalogue()
    {
        catalogue = Catalogue();
        return OpenOptions(CVARDEN_SAMPLE_DATA "/options.dat", catalogue).ok();
    }

    SavePlan planFor(const std::string &text) { return PlanSave({text, tree, store, {}, {}, {}}); }

private slots:
    void init()
    {
        loadCatalogue();
        store = MemoryStore();
    }

    void importTakesWhatTheGameEndsWith_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("underA");
        const QByteArray longValue(1100, 'x');
        QTest::newRow("the name in another letter case") << QByteArray("seta AB \"4\"\n") << "4";
        QTest::newRow("SETA in capitals") << QByteArray("SETA ab 4\n") << "4";
        QTest::newRow("a byte-order mark before seta") << QByteArray("\xEF\xBB\xBFseta ab \"4\"\n") << "4";
        QTest::newRow("blanks before seta") << QByteArray(" \tseta ab 4\n") << "4";
        QTest::newRow("after another command and ;") << QByteArray("bind x y; seta ab 4\n") << "4";
        QTest::newRow("a comment after the value") << QByteArray("seta ab \"Bob\" // my name\n") << "Bob";
        QTest::newRow("a command after the value") << QByteArray("seta ab \"5\"; bind x \"+attack\"\n") << "5";
        QTest::newRow("a ; inside quotes is part of the value") << QByteArray("seta ab \"1;2\"\n") << "1;2";
        QTest::newRow("words after the name join with one blank") << QByteArray("seta ab 1  2\t3\n") << "1 2 3";
        QTest::newRow("an unclosed quote runs to the line end") << QByteArray("seta ab \"a b\n") << "a b";
        QTest::newRow("the name alone sets nothing") << QByteArray("seta ab\n") << absent;
        QTest::newRow("a later command wins, whatever its case") << QByteArray("seta ab 1\nSeta aB 2\n") << "2";
        QTest::newRow("a // comment hides a ;") << QByteArray("// x; seta ab 7\n") << absent;
        QTest::newRow("inside a /* comment over lines") << QByteArray("/* x\nseta ab 7\n*/\n") << absent;
        QTest::newRow("after a /* comment closes") << QByteArray("/* x */ seta ab 7\n") << "7";
        QTest::newRow("set after the last seta wins") << QByteArray("seta ab \"100\"\nset ab \"110\"\n") << "110";
        QTest::newRow("sets and setu set the value too") << QByteArray("sets ab 3\nSETU AB 4\n") << "4";
        QTest::newRow("se, setx and setas are no set commands")
            << QByteArray("seta ab 1\nse ab 5\nsetx ab 6\nSETAS ab 7\n") << "1";
        QTest::newRow("a lone / is part of a word, // ends the words") << QByteArray("seta ab 3/4//5\n") << "3/4";
        QTest::newRow("a set with the name alone sets nothing") << QByteArray("seta ab 1\nset ab\n") << "1";
        QTest::newRow("vstr, toggle and a bare name are not followed")
            << QByteArray("seta ab 1\ntoggle ab\nvstr ab\nab 5\nsetab 6\n") << "1";
        QTest::newRow("a NUL byte ends the game's reading") << bytes("seta ab 1\n\0seta ab 2\n", 22) << "1";
        QTest::newRow("a long command is cut at 1,023 bytes")
            << "seta ab \"" + longValue + "\"\n" << QString(QByteArray(1023 - 9, 'x'));
        QTest::newRow("what follows the cut runs as a command")
            << "seta cd \"" + QByteArray(1014, 'x') + "Xseta ab 9\n" << "9";
        QTest::newRow("after a cut inside a /* comment never closed, the rest is one command")
            << "/*" + QByteArray(1022, 'x') + "seta ab 5;seta ab 6\n" << "5;seta ab 6";
        QTest::newRow("after a cut inside a /* comment closed later, the rest runs as commands")
            << "/*" + QByteArray(1022, 'x') + "seta ab 5;seta ab 6\n*/\n" << "6";
    }

    void importTakesWhatTheGameEndsWith()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, underA);
        QCOMPARE(ImportConfigText(text(file), tree, store).outcome, Failure::None);
        QCOMPARE(QString::fromStdString(store.Get("A", absent)), underA);
        const gamemodel::Outcome game = gamemodel::run(text(file), cataloguedNames(tree));
        const auto ended = game.catalogued.find("ab");
        QCOMPARE(ended == game.catalogued.end() ? QString(absent) : QString::fromStdString(ended->second), underA);
    }

    void exportChangesOnlyWhatItMust_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::newRow("the file's spelling of the name stays")
            << "seta SP AB SP 1 LF" << "seta SP AB SP DQ 5 DQ LF seta SP cd SP DQ 0 DQ LF";
        QTest::newRow("SETA stays") << "SETA SP ab SP 1 LF" << "SETA SP ab SP DQ 5 DQ LF seta SP cd SP DQ 0 DQ LF";
        QTest::newRow("the blanks between name and value stay")
            << "seta SP ab TAB TAB SP DQ 1 DQ LF" << "seta SP ab TAB TAB SP DQ 5 DQ LF seta SP cd SP DQ 0 DQ LF";
        QTest::newRow("every word of the value gives way")
            << "seta SP ab SP 1 SP 2 LF" << "seta SP ab SP DQ 5 DQ LF seta SP cd SP DQ 0 DQ LF";
        QTest::newRow("a name in an unclosed quote is written anew")
            << "seta SP DQ ab LF" << "seta SP ab SP DQ 5 DQ LF seta SP cd SP DQ 0 DQ LF";
        QTest::newRow("blanks before seta stay")
            << "SP TAB seta SP ab SP 1 LF" << "SP TAB seta SP ab SP DQ 5 DQ LF seta SP cd SP DQ 0 DQ LF";
        QTest::newRow("a comment after the value stays")
            << "seta SP ab SP DQ 1 DQ SP // SP mine LF"
            << "seta SP ab SP DQ 5 DQ SP // SP mine LF seta SP cd SP DQ 0 DQ LF";
        QTest::newRow("a command after ; stays")
            << "seta SP ab SP DQ 1 DQ ; SP bind SP x SP DQ +attack DQ LF"
            << "seta SP ab SP DQ 5 DQ ; SP bind SP x SP DQ +attack DQ LF seta SP cd SP DQ 0 DQ LF";
        QTest::newRow("a command before ; stays")
            << "bind SP x SP y ; seta SP ab SP 1 ; seta SP cd SP 3 LF"
            << "bind SP x SP y ; seta SP ab SP DQ 5 DQ ; seta SP cd SP DQ 0 DQ LF";
        QTest::newRow("the name alone gets the value") << "seta SP ab LF" << "seta SP ab SP DQ 5 DQ LF seta SP cd SP DQ 0 DQ LF";
        QTest::newRow("set keeps its own word")
            << "set SP ab SP 1 LF Set SP ab SP DQ 2 DQ LF" << "set SP ab SP DQ 5 DQ LF Set SP ab SP DQ 5 DQ LF seta SP cd SP DQ 0 DQ LF";
        QTest::newRow("sets and setu keep theirs, in an unclosed quote too")
            << "sets SP cd SP 1 LF setu SP DQ ab LF" << "sets SP cd SP DQ 0 DQ LF setu SP ab SP DQ 5 DQ LF";
        QTest::newRow("a setting inside a comment is not one")
            << "// SP seta SP ab SP 1 LF" << "// SP seta SP ab SP 1 LF seta SP ab SP DQ 5 DQ LF seta SP cd SP DQ 0 DQ LF";
    }

    void exportChangesOnlyWhatItMust()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        store.values["A"] = "5";
        const SavePlan report = planFor(spelled(before));
        QCOMPARE(report.outcome, Failure::None);
        QCOMPARE(report.text, spelled(after));
    }

    void exportAddsAfterACommandTheGameCut()
    {
        store.values["A"] = "5";
        const std::string cut = "seta ab \"" + std::string(1100, 'x') + "\"\n";
        const SavePlan report = planFor(NormalizeText(cut));
        const std::string &written = report.text;
        QCOMPARE(report.outcome, Failure::None);
        QCOMPARE(gamemodel::run(written, cataloguedNames(tree)).catalogued.at("ab"), std::string("5"));
        QVERIFY(written.compare(0, cut.size(), cut) == 0);
    }

    void exportRefusesValuesTheGameWouldCut()
    {
        store.values["A"] = std::string(1020, 'x');
        store.values["D"] = std::string(1000, 'y');
        const QString chosen = writeTestFile(dir, "q3config.cfg", "seta ab 1\n");
        const SavePlan report = ExportConfig(chosen.toStdString(), tree, store);
        QCOMPARE(report.outcome, Failure::TooLongForGame);
        QVERIFY2(report.outcome.message().find("\"A\" (1020 bytes)") != std::string::npos, report.outcome.message().c_str());
        QVERIFY2(report.outcome.message().find("\"D\"") == std::string::npos, report.outcome.message().c_str());
        QCOMPARE(readTestFile(chosen), std::string("seta ab 1\n"));
    }

    void exportRefusesToAddWhereTheGameStopsReading_data()
    {
        QTest::addColumn<QByteArray>("stop");
        QTest::newRow("a NUL byte") << bytes("\0x\n", 3);
        QTest::newRow("an unclosed /* comment") << QByteArray("/* x\n");
    }

    void exportRefusesToAddWhereTheGameStopsReading()
    {
        QFETCH(QByteArray, stop);
        QCOMPARE(planFor(NormalizeText("seta ab 1\n" + text(stop))).outcome, Failure::IgnoredByGame);
        // With nothing to add, the commands before it are rewritten.
        const SavePlan report = planFor(NormalizeText("seta ab 1\nseta cd 1\n" + text(stop)));
        QCOMPARE(report.outcome, Failure::None);
        QVERIFY(report.text.find("seta cd \"0\"") != std::string::npos);
    }

    // The game's scan of the cut first line runs on to the "*/" at the end,
    // and whether it takes it for a comment's close hangs on the quotes of
    // the setting between: rewriting that setting would change what the game
    // does with the rest of the file.
    void exportRefusesToChangeWhatACutLineIsReadOver()
    {
        store.values["A"] = "5";
        const std::string file = "/*" + std::string(1030, 'x') + "\nseta ab \"1\nt\"*/ x\n";
        QCOMPARE(planFor(NormalizeText(file)).outcome, Failure::CutLineInTheWay);
    }

    // The game cuts a command only past 1,023 bytes: one of exactly that
    // length is rewritten in place, a longer one is kept and the value added.
    void exportRewritesInPlaceUpToTheGamesLimit_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("inPlace");
        QTest::newRow("a command of 1,023 bytes is whole") << 1023 << true;
        QTest::newRow("a command of 1,024 bytes is cut") << 1024 << false;
    }

    void exportRewritesInPlaceUpToTheGamesLimit()
    {
        QFETCH(int, length);
        QFETCH(bool, inPlace);
        store.values["A"] = "5";
        const std::string command = "seta ab \"" + std::string(std::size_t(length) - 10, 'x') + "\"";
        const SavePlan report = planFor(NormalizeText(command + "\nseta cd 0\n"));
        QCOMPARE(report.outcome, Failure::None);
        QCOMPARE(report.text.compare(0, 12, "seta ab \"5\"\n") == 0, inPlace);
        QCOMPARE(report.commandsAdded, std::size_t(inPlace ? 0 : 1));
    }

    // After a cut, the game's scan may run on into a command that the
    // tokenizer reads otherwise; such a command is never rewritten, so here
    // the value would have to be added inside the open comment.
    void exportLeavesACommandThatBeganInACommentAlone()
    {
        store.values["A"] = "5";
        std::string file;
        for (int line = 0; line < 17; ++line)
            file += "// " + std::string(1000, 'c') + "\n";
        file += "/*" + std::string(1021, 'x') + "Y" + "seta ab 1\n";
        QCOMPARE(planFor(file).outcome, Failure::IgnoredByGame);
    }

    void otherCommandsCompareByTheirWords_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<bool>("same");
        QTest::newRow("another word is another command") << QByteArray("bind x a\n") << QByteArray("bind x b\n") << false;
        QTest::newRow("a word more is another command") << QByteArray("bind x a\n") << QByteArray("bind x a b\n") << false;
        QTest::newRow("quotes and blanks are not words") << QByteArray("bind x a\n") << QByteArray("bind  x \"a\"\n") << true;
        QTest::newRow("catalogued settings are left out") << QByteArray("seta ab 1\nbind x a\n") << QByteArray("bind x a\nseta ab 2\n") << true;
    }

    void otherCommandsCompareByTheirWords()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QFETCH(bool, same);
        QCOMPARE(SameOtherCommands(text(before), text(after), OptionMatcher(tree)), same);
    }

    void exportLeavesOutANameTheGameCannotRead_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QString>("why"); // empty: written
        QTest::newRow("a name the game splits") << QByteArray("x;quit") << QByteArray("2") << "\";\", which ends";
        QTest::newRow("a name whose command the game cuts, even with a short value")
            << QByteArray(1020, 'v') << QByteArray("1") << "it is too long: the game cuts a command after 1023 bytes";
        QTest::newRow("a name one byte too long for an empty value")
            << QByteArray(1016, 'v') << QByteArray() << "it is too long";
        QTest::newRow("the longest name, with an empty value, is written")
            << QByteArray(1015, 'v') << QByteArray() << "";
    }

    void exportLeavesOutANameTheGameCannotRead()
    {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, value);
        QFETCH(QString, why);
        catalogue = Catalogue();
        const QString path = writeTestFile(dir, "split.dat",
                                           crlfLines({"F", "---", "F", "S", "d", name, "x", "VALUE", "1"}));
        QCOMPARE(OpenOptions(path.toStdString(), catalogue), Failure::None);
        store.values["S"] = value.toStdString();
        const std::string before = "// settings\n";
        const SavePlan report = planFor(before);
        QCOMPARE(report.outcome, Failure::None);
        if (why.isEmpty()) {
            QCOMPARE(report.warnings, std::string());
            QCOMPARE(report.text, "// settings\nseta " + name.toStdString() + " \"\"\n");
            return;
        }
        QCOMPARE(report.text, before);
        QCOMPARE(report.count(SettingFate::NameUnreadable), std::size_t(1));
        QVERIFY2(report.warnings.find("\"S\" was not written") != std::string::npos, report.warnings.c_str());
        QVERIFY2(report.warnings.find(why.toStdString()) != std::string::npos, report.warnings.c_str());
    }

    void fileNearTheOriginalReleaseLimitGetsNoDefaultsAdded_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("defaultAdded");
        QTest::addColumn<bool>("warned");
        QTest::newRow("well under the limit: every addition") << 1000 << true << false;
        QTest::newRow("taken past it by additions: no default added") << 16360 << false << false;
        QTest::newRow("past it already: said, no default added") << 17000 << false << true;
    }

    void fileNearTheOriginalReleaseLimitGetsNoDefaultsAdded()
    {
        QFETCH(int, size);
        QFETCH(bool, defaultAdded);
        QFETCH(bool, warned);
        store.values["A"] = "5";
        const std::string filler = "// " + std::string(std::size_t(size) - 4, 'x') + "\n";
        const SavePlan report = planFor(NormalizeText(filler));
        QCOMPARE(report.outcome, Failure::None);
        QVERIFY(report.text.find("seta ab \"5\"") != std::string::npos);
        QCOMPARE(report.text.find("seta cd") != std::string::npos, defaultAdded);
        QCOMPARE(report.count(SettingFate::LeftOutAtDefault), std::size_t(defaultAdded ? 0 : 1));
        QCOMPARE(report.warnings.find("1.32 release ignores") != std::string::npos, warned);
    }

    // Files whose first saves grew them: with the game file's own bytes kept,
    // the game reads the same file (the 1.32 release too) and runs the same
    // commands, a long /* comment included.
    void savedFilesKeepTheGamesView_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("sameSize");
        const QString finding = QStringLiteral(CVARDEN_SHARED_FINDINGS "/lf-15912-every-setting.cfg");
        if (QFile::exists(finding))
            QTest::newRow("an LF file of 15,912 bytes with nothing to change")
                << QByteArray::fromStdString(readTestFile(finding)) << true;
        QByteArray comment = "bind w \"+forward\"\nbind TAB \"+scores\"\n/*\nOld settings:\n";
        for (int n = 10; n < 48; ++n)
            comment += "seta cg_old" + QByteArray::number(n) + " \"11111111\"\n";
        QTest::newRow("a long comment that hides unbindall")
            << comment + "unbindall\n*/\nseta cg_fov \"100\"\n" << false;
        QTest::newRow("a long comment that hides quit")
            << "/*\n" + QByteArray(1019, 'A') + "quit\n*/\nseta cg_fov 100\n" << false;
    }

    void savedFilesKeepTheGamesView()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, sameSize);
        QVERIFY(loadRealCatalogue());
        QCOMPARE(ImportConfigText(text(file), tree, store).outcome, Failure::None);
        if (!sameSize)
            store.values["Field of view"] = "120";
        const SavePlan plan = planFor(text(file));
        QCOMPARE(plan.outcome, Failure::None);
        if (sameSize)
            QCOMPARE(plan.text, text(file));
        const gamemodel::Outcome before = gamemodel::run(text(file), cataloguedNames(tree));
        const gamemodel::Outcome after = gamemodel::run(plan.text, cataloguedNames(tree));
        QVERIFY(after.others == before.others);
        QCOMPARE(after.catalogued.at("cg_fov"), store.Get("Field of view", absent));
    }

    // Its lines end with a bare LF, as the game writes them: kept so, every
    // missing setting still fits within the 1.32 release's limit.
    void aRealFileGetsEveryAddition()
    {
        const QString path = QStringLiteral(CVARDEN_SHARED_CONFIGS "/drummyfish__my_text_data__q3config.cfg");
        if (!QFile::exists(path))
            QSKIP("the shared game files are not here");
        QVERIFY(loadRealCatalogue());
        const std::string file = readTestFile(path);
        QCOMPARE(ImportConfigText(file, tree, store).outcome, Failure::None);
        const SavePlan plan = planFor(file);
        QCOMPARE(plan.outcome, Failure::None);
        QCOMPARE(plan.count(SettingFate::LeftOutAtDefault), std::size_t(0));
        QVERIFY(plan.count(SettingFate::AddedAtDefault) > 0);
        QVERIFY(plan.text.size() <= originalReleaseFileLimit);
        QCOMPARE(plan.text.compare(0, file.size(), file), 0);
    }

    // Past the 1.32 release's limit, a setting at its default is left out
    // only where the player's game runs with that value anyway: 85 frames a
    // second is ioquake3's default and the 1.32 release's, not Quake3e's.
    void aDefaultIsLeftOutOnlyWhereTheEngineHasIt_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<bool>("leftOut");
        QTest::newRow("ioquake3 runs with 85 anyway") << "ioquake3" << true;
        QTest::newRow("the 1.32 release runs with 85 anyway") << "1.32" << true;
        QTest::newRow("Quake3e would run with 125") << "quake3e" << false;
        QTest::newRow("with no engine known, not every engine has 85") << "" << false;
    }

    void aDefaultIsLeftOutOnlyWhereTheEngineHasIt()
    {
        QFETCH(QString, engine);
        QFETCH(bool, leftOut);
        QVERIFY(loadRealCatalogue());
        EngineFacts facts;
        QCOMPARE(LoadEngineFacts(CVARDEN_SAMPLE_DATA "/engines.dat", facts), Failure::None);
        EngineInUse inUse{&facts, Engine::None, GameCode::Release132};
        QVERIFY(engine.isEmpty() || EngineNamed(engine.toStdString(), inUse.engine));
        store.values["Frame rate limit"] = "85";
        const QString chosen = writeTestFile(dir, "big.cfg", "// " + std::string(17000, 'x') + "\n");
        std::string bytes;
        const SavePlan plan = PlanExport(chosen.toStdString(), tree, store, bytes, inUse);
        QCOMPARE(plan.outcome, Failure::None);
        QCOMPARE(plan.text.find("seta com_maxfps \"85\"") == std::string::npos, leftOut);
    }

    void realConfigsEndWithTheValuesWritten_data()
    {
        QTest::addColumn<QString>("file");
        for (const QString &name : QDir(CVARDEN_SHARED_CONFIGS).entryList({"*.cfg"}, QDir::Files))
            QTest::newRow(qPrintable(name)) << name;
        if (!QDir(CVARDEN_SHARED_CONFIGS).exists())
            QTest::newRow("no shared configs") << QString();
    }

    // Import then export: the game ends with what it did before, for the
    // catalogued settings and everything else.
    void realConfigsEndWithTheValuesWritten()
    {
        QFETCH(QString, file);
        if (file.isEmpty())
            QSKIP("the shared game files are not here");
        QVERIFY(loadRealCatalogue());
        const std::string original = readTestFile(QStringLiteral(CVARDEN_SHARED_CONFIGS "/") + file);
        const gamemodel::Outcome before = gamemodel::run(original, cataloguedNames(tree));
        QCOMPARE(ImportConfigText(original, tree, store).outcome, Failure::None);
        const SavePlan report = planFor(NormalizeText(original));
        const std::string &written = report.text;
        QCOMPARE(report.outcome, Failure::None);
        const gamemodel::Outcome after = gamemodel::run(written, cataloguedNames(tree));
        QVERIFY(after.others == before.others);
        for (const auto &[name, value] : before.catalogued)
            QCOMPARE(after.catalogued.at(name), value);
    }
};

QTEST_APPLESS_MAIN(GameReadingTest)
#include "tst_gamereading.moc"
