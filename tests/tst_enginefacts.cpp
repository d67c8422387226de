// SPDX-License-Identifier: GPL-2.0-or-later
#include <QDir>
#include <QSet>
#include <QtTest>

#include "catalogue_fixture.h"
#include "outcomes.h"
#include "enginechoice.h"
#include "enginedetect.h"
#include "enginefacts.h"
#include "enginefile.h"
#include "enginevalues.h"
#include "exportconfig.h"
#include "loader.h"
#include "memorystore.h"
#include "reset.h"

using cvarden::Engine;
using cvarden::EngineFacts;
using cvarden::GameCode;
using cvarden::ValueVerdict;

Q_DECLARE_METATYPE(cvarden::Engine)
Q_DECLARE_METATYPE(cvarden::GameCode)

namespace {

const QString shippedFacts = QStringLiteral(CVARDEN_SAMPLE_DATA "/engines.dat");
const QString sharedFacts = QStringLiteral(CVARDEN_SHARED_FACTS);

Engine engineNamed(const QString &name)
{
    Engine engine = Engine::None;
    cvarden::EngineNamed(name.toStdString(), engine);
    return engine;
}

// Tab-separated rows of a shared facts file after its header.
QList<QStringList> sharedRows(const QString &file)
{
    QList<QStringList> rows;
    QFile in(sharedFacts + '/' + file);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Text))
        return rows;
    in.readLine();
    while (!in.atEnd()) {
        const QString line = QString::fromUtf8(in.readLine()).trimmed();
        if (!line.isEmpty() && !line.startsWith('#'))
            rows.append(line.split('\t'));
    }
    return rows;
}

cvarden::Program programOf(const QString &factsEngine, const QString &source)
{
    const bool game = source.startsWith("code/cgame/") || source.startsWith("code/game/") ||
                      source.startsWith("code/q3_ui/");
    if (factsEngine == "ioq3")
        return game ? cvarden::Program::Ioquake3Game : cvarden::Program::Ioquake3;
    if (factsEngine == "q3-132" || game)
        return game ? cvarden::Program::Release132Game : cvarden::Program::Release132;
    return cvarden::Program::Quake3e;
}

} // namespace

// The engine facts beside the catalogue: held to the shared facts, read
// strictly, and used for defaults, verdicts, meanings, notes and detection.
class EngineFactsTest : public QObject {
    Q_OBJECT

    EngineFacts facts;

    cvarden::EngineInUse inUse(const QString &engine, GameCode code = GameCode::Release132) const
    {
        return {&facts, engineNamed(engine), code};
    }

private slots:
    void initTestCase() { QCOMPARE(cvarden::LoadEngineFacts(shippedFacts.toStdString(), facts, "linux"), cvarden::Failure::None); }

    // Every saved registration of the facts files is in the shipped file,
    // with one of the defaults registered for it, saved as the facts say.
    void shippedFactsHoldEverySavedRegistration_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("engine");
        QTest::newRow("ioquake3's saved variables") << "q3-archived-cvars.tsv" << "ioq3";
        QTest::newRow("the 1.32 release's saved variables") << "q3-132-archived-cvars.tsv" << "q3-132";
        QTest::newRow("Quake3e's saved variables") << "quake3e-archived-cvars.tsv" << "quake3e";
    }

    void shippedFactsHoldEverySavedRegistration()
    {
        QFETCH(QString, file);
        QFETCH(QString, engine);
        if (!QDir(sharedFacts).exists())
            QSKIP("the shared facts folder is not beside the project");
        QMap<QString, QSet<QString>> defaults;
        QMap<QString, cvarden::Program> programs;
        for (const QStringList &row : sharedRows(file)) {
            if (row.value(5).startsWith("code/ui/"))
                continue; // the Team Arena menus are not the base game's
            defaults[row[0]].insert(row.value(1));
            programs[row[0]] = programOf(engine, row.value(5));
        }
        QVERIFY(defaults.size() > 200);
        for (auto it = defaults.cbegin(); it != defaults.cend(); ++it) {
            const cvarden::VariableFacts *found = facts.find(programs[it.key()], it.key().toStdString());
            QVERIFY2(found, qPrintable(it.key()));
            QVERIFY2(found->saved != cvarden::Saved::No, qPrintable(it.key()));
            // A default of another build (a Mac one, say) is in the notes,
            // not the default column: the Linux client's must be one of them
            // unless the build's own branch gave it.
            if (!it.value().contains(QString::fromStdString(found->defaultValue)))
                QVERIFY2(QStringList({"r_glDriver", "com_hunkMegs", "com_zoneMegs", "team_model", "team_headmodel",
                                      "cl_cURLLib", "s_alDriver"})
                             .contains(it.key()),
                         qPrintable(it.key() + " " + QString::fromStdString(found->defaultValue)));
        }
    }

    // Each range the engines check when a value is set is in the file as such.
    void shippedFactsHoldEveryRangeCheck()
    {
        if (!QDir(sharedFacts).exists())
            QSKIP("the shared facts folder is not beside the project");
        int checked = 0;
        for (const QStringList &row : sharedRows("ranges.tsv")) {
            if (!row.value(6).startsWith("engine range check") || row[1] == "r_bloom")
                continue;
            const cvarden::VariableFacts *found = facts.find(programOf(row[0], row.value(7)), row[1].toStdString());
            if (!found)
                continue; // a variable no engine saves and no player sets
            QCOMPARE(found->enforced, cvarden::Enforced::WhenSet);
            const bool numericMin = !row[3].isEmpty() && (row[3][0].isDigit() || row[3][0] == '-');
            if (numericMin && row[3].toDouble() == QString::fromStdString(found->min).toDouble())
                ++checked;
        }
        QVERIFY(checked > 100);
    }

    // Every latched variable has its restart, every meaning is in the file.
    void shippedFactsHoldEveryRestartAndMeaning()
    {
        if (!QDir(sharedFacts).exists())
            QSKIP("the shared facts folder is not beside the project");
        for (const QStringList &row : sharedRows("latched.tsv")) {
            const cvarden::VariableFacts *found = facts.find(programOf(row[0], row.value(3)), row[1].toStdString());
            if (found && row[1] != "r_bloom")
                QVERIFY2(found->restart != cvarden::Restart::None, qPrintable(row.join(' ')));
        }
        for (const QStringList &row : sharedRows("meanings.tsv")) {
            const cvarden::VariableFacts *found = facts.find(programOf(row[0], row.value(4)), row[1].toStdString());
            if (!found)
                continue;
            bool held = false;
            for (const cvarden::ValueMeaning &meaning : found->meanings)
                held = held || (meaning.value == row[2].toStdString() && meaning.meaning == row[3].toStdString());
            QVERIFY2(held, qPrintable(row.join(' ')));
        }
    }

    void malformedFactsAreRefusedWithTheirLine_data()
    {
        QTest::addColumn<QString>("content"); // none: no file at all
        QTest::addColumn<QString>("said");
        const QString good = "V\tquake3e\tcom_maxfps\t125\tno\tinteger\t0\t1000\t\tset\t\t\t\n";
        QTest::newRow("a record of an unknown kind") << good + "X\tquake3e\n" << ":2: a record is V, D or M";
        QTest::newRow("a field too few") << "V\tquake3e\tr_mode\t-2\tyes\n" << ":1: V records have 13";
        QTest::newRow("a program no one knows") << "V\tq4\tr_mode\t-2\tyes\t\t\t\t\t\t\t\t\n" << "is not a program";
        QTest::newRow("a meaning before its variable") << "M\tquake3e\tr_mode\t6\t1024x768\n" << "before its V record";
        QTest::newRow("a restart word it does not take")
            << "V\tquake3e\tr_mode\t-2\tyes\t\t\t\t\t\tsoon\t\t\n" << "does not take";
        QTest::newRow("a variable given twice") << good + good << ":2: com_maxfps is given twice";
        QTest::newRow("only comments: cut short before its first record") << "# V ...\n\n" << "holds no engine facts";
        QTest::newRow("no file: said, not taken for an empty one") << QString() << "engines.dat";
    }

    void malformedFactsAreRefusedWithTheirLine()
    {
        QFETCH(QString, content);
        QFETCH(QString, said);
        QTemporaryDir dir;
        EngineFacts read;
        const QString path = content.isNull() ? dir.filePath("engines.dat")
                                              : writeTestFile(dir, "engines.dat", content.toStdString());
        const cvarden::Outcome failure = cvarden::LoadEngineFacts(path.toStdString(), read);
        QCOMPARE(failure, content.isNull() ? cvarden::Failure::Missing : cvarden::Failure::Malformed);
        QVERIFY2(QString::fromStdString(failure.message()).contains(said), failure.message().c_str());
        QVERIFY(read.empty());
    }

    // The default "Default value", reset, the marks and the leaving out use.
    void defaultIsTheEnginesOwn_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("variable");
        QTest::addColumn<QString>("catalogueDefault");
        QTest::addColumn<QString>("used");
        QTest::addColumn<bool>("added"); // by a save to a file without it, when never set
        QTest::newRow("ioquake3: 85 frames a second") << "ioquake3" << "com_maxfps" << "85" << "85" << true;
        QTest::newRow("Quake3e: 125 frames a second") << "quake3e" << "com_maxfps" << "85" << "125" << true;
        QTest::newRow("1.32: video mode 3, as it has no -2") << "1.32" << "r_mode" << "-2" << "3" << true;
        QTest::newRow("Quake3e: video mode -2") << "quake3e" << "r_mode" << "-2" << "-2" << true;
        QTest::newRow("1.32: rate 3000") << "1.32" << "rate" << "25000" << "3000" << true;
        QTest::newRow("Quake3e: 125 packets") << "quake3e" << "cl_maxpackets" << "30" << "125" << true;
        QTest::newRow("1.32 on Linux: no stencil bits") << "1.32" << "r_stencilbits" << "8" << "0" << true;
        QTest::newRow("Quake3e: the 1.32 game code's team model") << "quake3e" << "team_model" << "james" << "sarge" << true;
        QTest::newRow("ioquake3: its client registers james first") << "ioquake3" << "team_model" << "james"
                                                                     << "james" << true;
        QTest::newRow("no engine known: the catalogue's") << "unknown" << "com_maxfps" << "85" << "85" << true;
        QTest::newRow("a variable the engine does not know: the catalogue's, never added") << "1.32" << "r_bloom" << "0" << "0" << false;
    }

    void defaultIsTheEnginesOwn()
    {
        QFETCH(QString, engine);
        QFETCH(QString, variable);
        QFETCH(QString, catalogueDefault);
        QFETCH(QString, used);
        QFETCH(bool, added);
        QTemporaryDir dir;
        cvarden::Catalogue catalogue;
        QCOMPARE(loadTestCatalogue(dir,
                                   {"F", "---", "F", "Option", "Its description.", variable, "x", "VALUE",
                                    catalogueDefault},
                                   catalogue),
                 cvarden::Failure::None);
        const cvarden::OptionNode &option = *catalogue.options().begin();
        QCOMPARE(QString::fromStdString(cvarden::DefaultInUse(inUse(engine), option)), used);
        // A save writes what the window shows for an option never set.
        const QString file = writeTestFile(dir, "q3config.cfg", "seta other 1\n");
        MemoryStore nothingSet;
        const cvarden::EngineInUse engineInUse = inUse(engine);
        QCOMPARE(cvarden::ExportConfig(file.toStdString(), catalogue.tree, nothingSet, {}, engineInUse).outcome,
                 cvarden::Failure::None);
        const QString expected =
            added ? QString("seta other 1\nseta %1 \"%2\"\n").arg(variable, used) : QString("seta other 1\n");
        QCOMPARE(QString::fromStdString(readTestFile(file)), expected);
        // The same after a reset, which stores every default.
        const QString afterReset = writeTestFile(dir, "reset.cfg", "seta other 1\n");
        MemoryStore reset;
        QCOMPARE(cvarden::ResetToDefaults(catalogue.tree, reset, engineInUse), cvarden::Failure::None);
        QCOMPARE(cvarden::ExportConfig(afterReset.toStdString(), catalogue.tree, reset, {}, engineInUse).outcome,
                 cvarden::Failure::None);
        QCOMPARE(QString::fromStdString(readTestFile(afterReset)), expected);
        // A value the player set is written, whether the engine has it or not.
        MemoryStore playerSet;
        playerSet.values[option.text] = "42";
        QCOMPARE(cvarden::ExportConfig(file.toStdString(), catalogue.tree, playerSet, {}, engineInUse).outcome,
                 cvarden::Failure::None);
        QVERIFY(readTestFile(file).find(variable.toStdString() + " \"42\"") != std::string::npos);
    }

    void defaultIsTheOneOfTheSystemCvardenRunsOn_data()
    {
        QTest::addColumn<QString>("system");
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("variable");
        QTest::addColumn<QString>("used");
        QTest::newRow("1.32 on Windows: opengl32") << "windows" << "1.32" << "r_glDriver" << "opengl32";
        QTest::newRow("1.32 on Linux: libGL.so.1") << "linux" << "1.32" << "r_glDriver" << "libGL.so.1";
        QTest::newRow("1.32 on a Mac: a 64 MB hunk") << "mac" << "1.32" << "com_hunkMegs" << "64";
        QTest::newRow("ioquake3 on a Mac: mouse filter on") << "mac" << "ioquake3" << "m_filter" << "1";
        QTest::newRow("ioquake3 on Windows: mouse filter off") << "windows" << "ioquake3" << "m_filter" << "0";
    }

    void defaultIsTheOneOfTheSystemCvardenRunsOn()
    {
        QFETCH(QString, system);
        QFETCH(QString, engine);
        QFETCH(QString, variable);
        QFETCH(QString, used);
        EngineFacts onSystem;
        QCOMPARE(cvarden::LoadEngineFacts(shippedFacts.toStdString(), onSystem, system.toStdString()), cvarden::Failure::None);
        const cvarden::VariableFacts *found =
            onSystem.of(engineNamed(engine), GameCode::Release132, variable.toStdString());
        QVERIFY(found);
        QCOMPARE(QString::fromStdString(found->defaultValue), used);
    }

    // What the engine makes of a value.
    void verdictSaysWhatTheEngineUses_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<GameCode>("gameCode");
        QTest::addColumn<QString>("variable");
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("becomes");
        const GameCode stock = GameCode::Release132;
        QTest::newRow("Quake3e: video mode 20 is in range") << "quake3e" << stock << "r_mode" << "20" << int(ValueVerdict::Kept) << "20";
        QTest::newRow("Quake3e: video mode 30 becomes the bound") << "quake3e" << stock << "r_mode" << "30" << int(ValueVerdict::Bound) << "24";
        QTest::newRow("ioquake3: video mode 20 is used as 11") << "ioquake3" << stock << "r_mode" << "20" << int(ValueVerdict::Bound) << "11";
        QTest::newRow("1.32: video mode -2 is used as -1") << "1.32" << stock << "r_mode" << "-2" << int(ValueVerdict::Bound) << "-1";
        QTest::newRow("Quake3e: a word for frames becomes the default") << "quake3e" << stock << "com_maxfps" << "fast" << int(ValueVerdict::Default) << "125";
        QTest::newRow("Quake3e: 2000 frames becomes 1000") << "quake3e" << stock << "com_maxfps" << "2000" << int(ValueVerdict::Bound) << "1000";
        QTest::newRow("Quake3e: 90.5 frames is cut to 90") << "quake3e" << stock << "com_maxfps" << "90.5" << int(ValueVerdict::Cut) << "90";
        QTest::newRow("Quake3e: 30 kHz is not one of its rates") << "quake3e" << stock << "s_khz" << "30" << int(ValueVerdict::NotOneOfItsValues) << "22";
        QTest::newRow("Quake3e: 44 kHz is one of its rates") << "quake3e" << stock << "s_khz" << "44" << int(ValueVerdict::Kept) << "44";
        QTest::newRow("ioquake3: 300 packets are corrected to 125") << "ioquake3" << stock << "cl_maxpackets" << "300" << int(ValueVerdict::Bound) << "125";
        QTest::newRow("ioquake3's game code: gun centred") << "ioquake3" << GameCode::Ioquake3 << "cg_drawGun" << "3" << int(ValueVerdict::Kept) << "3";
        QTest::newRow("1.32 game code: gun centred is a gun drawn") << "ioquake3" << stock << "cg_drawGun" << "3" << int(ValueVerdict::Bound) << "1";
        QTest::newRow("ioquake3: a rail colour only the menu limits") << "ioquake3" << GameCode::Ioquake3 << "color1" << "12" << int(ValueVerdict::Kept) << "12";
        QTest::newRow("1.32: log file 3 logs as 2 does") << "1.32" << stock << "logfile" << "3" << int(ValueVerdict::Kept) << "3";
        QTest::newRow("ioquake3: no rate limit, its default, below the bound") << "ioquake3" << stock << "sv_maxRate" << "0" << int(ValueVerdict::Kept) << "0";
        QTest::newRow("ioquake3: a rate limit below 1000 becomes 1000") << "ioquake3" << stock << "sv_maxRate" << "500" << int(ValueVerdict::Bound) << "1000";
        QTest::newRow("ioquake3: a value of a variable with no rule") << "ioquake3" << stock << "name" << "anything" << int(ValueVerdict::Kept) << "anything";
    }

    void verdictSaysWhatTheEngineUses()
    {
        QFETCH(QString, engine);
        QFETCH(GameCode, gameCode);
        QFETCH(QString, variable);
        QFETCH(QString, value);
        QFETCH(int, kind);
        QFETCH(QString, becomes);
        const cvarden::VariableFacts *found = inUse(engine, gameCode).of(variable.toStdString());
        QVERIFY(found);
        const ValueVerdict verdict = cvarden::JudgeValue(*found, value.toStdString());
        QCOMPARE(int(verdict.kind), kind);
        QCOMPARE(QString::fromStdString(verdict.becomes), becomes);
        QCOMPARE(cvarden::ValueProblem(inUse(engine, gameCode), variable.toStdString(), value.toStdString()).empty(),
                 verdict.kept());
    }

    void withNoEngineOnlyWhatEveryEngineChangesIsAProblem_data()
    {
        QTest::addColumn<QString>("variable");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("problem");
        QTest::newRow("video mode 30: every engine changes it") << "r_mode" << "30" << true;
        QTest::newRow("video mode 20: Quake3e keeps it") << "r_mode" << "20" << false;
        QTest::newRow("a word for frames: every engine reads it as another number") << "com_maxfps" << "fast" << true;
        QTest::newRow("sound rate 30: only Quake3e changes it") << "s_khz" << "30" << false;
    }

    void withNoEngineOnlyWhatEveryEngineChangesIsAProblem()
    {
        QFETCH(QString, variable);
        QFETCH(QString, value);
        QFETCH(bool, problem);
        QCOMPARE(!cvarden::ValueProblem(inUse("unknown"), variable.toStdString(), value.toStdString()).empty(),
                 problem);
    }

    // The choices a choice list offers, each with its meaning.
    void choicesAreTheEnginesWithTheirMeanings_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("variable");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("meaning");
        QTest::newRow("Quake3e: video modes -2 to 24") << "quake3e" << "r_mode" << 27 << "6" << "1024x768";
        QTest::newRow("ioquake3: video modes -2 to 11") << "ioquake3" << "r_mode" << 14 << "-2" << "desktop resolution";
        QTest::newRow("1.32: video modes -1 to 11") << "1.32" << "r_mode" << 13 << "11" << "856x480";
        QTest::newRow("Quake3e: five sound rates") << "quake3e" << "s_khz" << 5 << "48" << "48 kHz";
        QTest::newRow("Quake3e: bloom off, on, on the HUD too") << "quake3e" << "r_bloom" << 3 << "2" << "bloom on the 3D view and the HUD";
        QTest::newRow("no engine known: the catalogue's, no meanings") << "unknown" << "r_mode" << 4 << "6" << "";
    }

    void choicesAreTheEnginesWithTheirMeanings()
    {
        QFETCH(QString, engine);
        QFETCH(QString, variable);
        QFETCH(int, count);
        QFETCH(QString, value);
        QFETCH(QString, meaning);
        QTemporaryDir dir;
        cvarden::Catalogue catalogue;
        QCOMPARE(loadTestCatalogue(dir,
                                   {"F", "---", "F", "Option", "Its description.", variable, "x", "COMBO", "ENTRIES",
                                    "4", "-2", "-1", "3", "6", "x", "-2"},
                                   catalogue),
                 cvarden::Failure::None);
        const auto choices = cvarden::ChoicesInUse(inUse(engine), *catalogue.options().begin());
        QCOMPARE(int(choices.size()), count);
        QString found = "<no such value>";
        for (const cvarden::ShownChoice &choice : choices)
            if (choice.value == value.toStdString())
                found = QString::fromStdString(choice.meaning);
        QCOMPARE(found, meaning);
    }

    // What the description area adds for the engine.
    void notesSayRestartsAndWhatIsNotSaved_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("variable");
        QTest::addColumn<QString>("notes");
        QTest::newRow("Quake3e: video mode needs vid_restart") << "quake3e" << "r_mode" << "Needs vid_restart.";
        QTest::newRow("Quake3e: sound rate needs snd_restart") << "quake3e" << "s_khz" << "Needs snd_restart.";
        QTest::newRow("ioquake3: the hunk needs a game restart") << "ioquake3" << "com_hunkMegs" << "Needs a game restart.";
        QTest::newRow("ioquake3: frames apply at once") << "ioquake3" << "com_maxfps" << "";
        QTest::newRow("Quake3e does not save the frame limit")
            << "quake3e" << "com_maxfps" << "Quake3e does not save it by itself: only a seta line keeps it.";
        QTest::newRow("1.32 has no bloom") << "1.32" << "r_bloom" << "The 1.32 release does not know this variable.";
        QTest::newRow("1.32: the sound rate has no effect")
            << "1.32" << "s_khz" << "The 1.32 release: has no effect: the 1.32 release mixes at its own fixed rate.";
        QTest::newRow("no engine known: nothing") << "unknown" << "r_mode" << "";
        QTest::newRow("Quake3e: a restart the description says is not said again")
            << "quake3e" << "r_mode" << "";
    }

    void notesSayRestartsAndWhatIsNotSaved()
    {
        QFETCH(QString, engine);
        QFETCH(QString, variable);
        QFETCH(QString, notes);
        const std::string description = QString(QTest::currentDataTag()).contains("description says")
                                            ? "Screen size. Needs vid_restart."
                                            : "Screen size.";
        QCOMPARE(QString::fromStdString(cvarden::EngineNotes(inUse(engine), variable.toStdString(), description)),
                 notes);
    }

    // Whether a save may leave an addition out.
    void leftOutOnlyWhereTheGameRunsWithItAnyway_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("variable");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("runsAnyway");
        QTest::newRow("ioquake3: 85 frames is its default") << "ioquake3" << "com_maxfps" << "85" << true;
        QTest::newRow("Quake3e: 85 frames is not its default") << "quake3e" << "com_maxfps" << "85" << false;
        QTest::newRow("Quake3e: 125 frames is its default") << "quake3e" << "com_maxfps" << "125" << true;
        QTest::newRow("1.32: video mode 3 is its default") << "1.32" << "r_mode" << "3" << true;
        QTest::newRow("1.32: video mode -2 is not") << "1.32" << "r_mode" << "-2" << false;
        QTest::newRow("no engine: 85 frames is not Quake3e's") << "unknown" << "com_maxfps" << "85" << false;
        QTest::newRow("no engine: -2 is not the 1.32 release's mode") << "unknown" << "r_mode" << "-2" << false;
        QTest::newRow("no engine: sensitivity 5 is every engine's") << "unknown" << "sensitivity" << "5" << true;
        QTest::newRow("no engine: a variable none knows, at the catalogue default")
            << "unknown" << "no_such_variable" << "7" << true;
        QTest::newRow("a spelling of the default is written") << "ioquake3" << "com_maxfps" << "85.0" << false;
    }

    void leftOutOnlyWhereTheGameRunsWithItAnyway()
    {
        QFETCH(QString, engine);
        QFETCH(QString, variable);
        QFETCH(QString, value);
        QFETCH(bool, runsAnyway);
        QCOMPARE(cvarden::RunsAnywayWhenLeftOut(facts, engineNamed(engine), GameCode::Release132,
                                                variable.toStdString(), value.toStdString(), "7"),
                 runsAnyway);
    }

    // Detection on files built from the facts: every name the engine always
    // saves, as the engine itself writes them.
    void detectsAFileOfEachEngine_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("leftoversOf");
        QTest::addColumn<QString>("verdict");
        QTest::newRow("an ioquake3 file") << "ioquake3" << "" << "ioquake3";
        QTest::newRow("a 1.32 file") << "1.32" << "" << "1.32";
        QTest::newRow("a Quake3e file") << "quake3e" << "" << "quake3e";
        QTest::newRow("an ioquake3 file with a 1.32 file's leftovers") << "ioquake3" << "1.32" << "ioquake3";
        QTest::newRow("a Quake3e file with a 1.32 file's leftovers") << "quake3e" << "1.32" << "quake3e";
        QTest::newRow("a Quake3e file with every ioquake3 name: unknown") << "quake3e" << "ioquake3" << "unknown";
        QTest::newRow("no file at all: unknown") << "" << "" << "unknown";
    }

    void detectsAFileOfEachEngine()
    {
        QFETCH(QString, engine);
        QFETCH(QString, leftoversOf);
        QFETCH(QString, verdict);
        std::string text;
        for (const QString &writer : {engine, leftoversOf}) {
            if (writer.isEmpty())
                continue;
            const auto program = writer == "ioquake3" ? cvarden::Program::Ioquake3
                                 : writer == "1.32"   ? cvarden::Program::Release132
                                                      : cvarden::Program::Quake3e;
            for (const cvarden::VariableFacts *variable : facts.all(program))
                if (variable->saved == cvarden::Saved::Yes &&
                    (variable->systems.empty() || variable->systems.front() == "windows" ||
                     std::find(variable->systems.begin(), variable->systems.end(), "windows") !=
                         variable->systems.end()))
                    text += "seta " + variable->name + " \"" + variable->defaultValue + "\"\n";
        }
        const cvarden::EngineDetection detection = cvarden::DetectEngine(facts, cvarden::SetaNames(text));
        QCOMPARE(QString(cvarden::EngineName(detection.engine)), verdict);
        QVERIFY(detection.evidence.size() >= 4);
        if (text.empty())
            return;

        // A save with the engine detected adds no other engine's names, so
        // the file still tells its engine.
        cvarden::Catalogue shipped;
        QCOMPARE(cvarden::OpenOptions(CVARDEN_SAMPLE_DATA "/options.dat", shipped), cvarden::Failure::None);
        QTemporaryDir dir;
        const QString file = writeTestFile(dir, "q3config.cfg", text);
        MemoryStore nothingSet;
        QCOMPARE(cvarden::ExportConfig(file.toStdString(), shipped.tree, nothingSet, {}, inUse(verdict)).outcome,
                 cvarden::Failure::None);
        const std::string saved = readTestFile(file);
        QVERIFY(saved.size() > text.size());
        QCOMPARE(QString(cvarden::EngineName(cvarden::DetectEngine(facts, cvarden::SetaNames(saved)).engine)), verdict);
    }

    // The players' own files.
    void detectsTheSharedConfigs_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("verdict");
        QTest::newRow("the 1.32-era file") << "Steffkn__Quake-configs__baseq3_q3config.cfg" << "1.32";
        QTest::newRow("the ioquake3 file") << "florianschendel__env__q3config.cfg" << "ioquake3";
        QTest::newRow("the OpenArena file, an engine built on ioquake3") << "drummyfish__my_text_data__q3config.cfg"
                                                                          << "ioquake3";
        QTest::newRow("the hand-edited file of a 1.32 player") << "dsebastien__quake3config__baseq3_q3config.cfg"
                                                                << "1.32";
        QTest::newRow("the hand-written file: too few names to tell")
            << "ExpandingShapes__configs__Quake_3_Arena_q3config.cfg" << "unknown";
    }

    void detectsTheSharedConfigs()
    {
        QFETCH(QString, file);
        QFETCH(QString, verdict);
        const QString path = QStringLiteral(CVARDEN_SHARED_CONFIGS "/") + file;
        if (!QFile::exists(path))
            QSKIP("the shared configs are not beside the project");
        cvarden::EngineDetection detection;
        QCOMPARE(cvarden::DetectEngineOfFile(facts, path.toStdString(), detection), cvarden::Failure::None);
        QCOMPARE(QString(cvarden::EngineName(detection.engine)), verdict);
        QCOMPARE(detection.gameCode, GameCode::Release132);
    }

    // Which engine is in use, and why.
    void engineInUseFollowsTheOrderOfChoice_data()
    {
        QTest::addColumn<QString>("override");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("detected");
        QTest::addColumn<QString>("used");
        QTest::newRow("given for the command, over every other") << "1.32" << "quake3e" << "ioquake3" << "1.32";
        QTest::newRow("chosen by the player, over the detection") << "" << "quake3e" << "ioquake3" << "quake3e";
        QTest::newRow("auto: the one detected") << "" << "auto" << "ioquake3" << "ioquake3";
        QTest::newRow("auto, detected unknown: none") << "" << "auto" << "unknown" << "unknown";
        QTest::newRow("nothing stored: none") << "" << "" << "" << "unknown";
    }

    void engineInUseFollowsTheOrderOfChoice()
    {
        QFETCH(QString, override);
        QFETCH(QString, chosen);
        QFETCH(QString, detected);
        QFETCH(QString, used);
        MemoryStore store;
        if (!chosen.isEmpty())
            QCOMPARE(cvarden::ChooseEngine(store, chosen.toStdString()), cvarden::Failure::None);
        if (!detected.isEmpty()) {
            cvarden::EngineDetection detection;
            detection.engine = engineNamed(detected);
            QCOMPARE(cvarden::RememberDetection(store, detection), cvarden::Failure::None);
        }
        const cvarden::ResolvedEngine resolved = cvarden::ResolveEngine(facts, store, override.toStdString());
        QCOMPARE(QString(cvarden::EngineName(resolved.inUse.engine)), used);
        QVERIFY(!resolved.why.empty());
    }

    // The game code: the player's choice, else ioquake3's only when detected.
    void gameCodeFollowsTheOrderOfChoice_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<bool>("detectedIoquake3");
        QTest::addColumn<bool>("ioquake3");
        QTest::newRow("nothing chosen or detected: the 1.32 one") << "" << false << false;
        QTest::newRow("auto: ioquake3's when detected") << "auto" << true << true;
        QTest::newRow("chosen over the detection") << "1.32" << true << false;
        QTest::newRow("ioquake3's, chosen") << "ioquake3" << false << true;
        QTest::newRow("no such game code: refused, the detection holds") << "quake3e" << true << true;
    }

    void gameCodeFollowsTheOrderOfChoice()
    {
        QFETCH(QString, chosen);
        QFETCH(bool, detectedIoquake3);
        QFETCH(bool, ioquake3);
        MemoryStore store;
        if (!chosen.isEmpty())
            QCOMPARE(cvarden::ChooseGameCode(store, chosen.toStdString()),
                     chosen == "quake3e" ? cvarden::Failure::NoSuchEngine : cvarden::Failure::None);
        cvarden::EngineDetection detection;
        detection.gameCode = detectedIoquake3 ? GameCode::Ioquake3 : GameCode::Release132;
        QCOMPARE(cvarden::RememberDetection(store, detection), cvarden::Failure::None);
        const cvarden::ResolvedEngine resolved = cvarden::ResolveEngine(facts, store);
        QCOMPARE(resolved.inUse.gameCode == GameCode::Ioquake3, ioquake3);
    }

    void anUnknownEngineIsNotStored()
    {
        MemoryStore store;
        QCOMPARE(cvarden::ChooseEngine(store, "quake4"), cvarden::Failure::NoSuchEngine);
        QVERIFY(store.choices.empty());
    }
};

QTEST_GUILESS_MAIN(EngineFactsTest)
#include "tst_enginefacts.moc"
