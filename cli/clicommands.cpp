// SPDX-License-Identifier: GPL-2.0-or-later
#include "clicommands.h"

#include <QDateTime>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>

#include "changedoptions.h"
#include "closestnames.h"
#include "commandflags.h"
#include "commandusage.h"
#include "enginechoice.h"
#include "enginefile.h"
#include "exportconfig.h"
#include "fileio.h"
#include "importconfig.h"
#include "laterfiles.h"
#include "loader.h"
#include "nativepath.h"
#include "normalize.h"
#include "optionkey.h"
#include "reset.h"
#include "runninggamewarning.h"
#include "unifieddiff.h"
#include "versions.h"

namespace cvarden {
namespace {

constexpr int done = 0;
constexpr int failed = 1;
constexpr int usageError = 2;

void print(const CliContext &context, const std::string &bytes)
{
    std::fwrite(bytes.data(), 1, bytes.size(), context.out);
}

int fail(const CliContext &context, const std::string &message)
{
    std::fprintf(context.err, "cvarden-cli: %s\n", message.c_str());
    return failed;
}

int fail(const CliContext &context, const Outcome &outcome)
{
    return fail(context, outcome.message());
}

// What the player should know of a command that still succeeded, one line a
// point, on the error output so that scripts reading the output miss nothing.
void warn(const CliContext &context, const std::string &lines)
{
    std::size_t start = 0;
    for (std::size_t end = lines.find('\n'); end != std::string::npos; end = lines.find('\n', start)) {
        std::fprintf(context.err, "cvarden-cli: warning: %s\n", lines.substr(start, end - start).c_str());
        start = end + 1;
    }
}

// The catalogue, and why it could not be read when it could not.
struct LoadedCatalogue {
    Catalogue catalogue;
    Outcome failure;
};

LoadedCatalogue loadCatalogue(const CliContext &context, Checks checks = Checks::OnTheWay)
{
    LoadedCatalogue loaded;
    loaded.failure = OpenOptions(context.cataloguePath, loaded.catalogue, checks);
    return loaded;
}

// The engine facts beside the catalogue and the engine in use. Facts that
// cannot be read are said once, and the command goes on as with no engine.
struct LoadedEngine {
    EngineFacts facts;
    ResolvedEngine resolved;
};

void loadEngine(const CliContext &context, LoadedEngine &loaded)
{
    // Without the file every engine is treated alike, as the window does.
    if (Outcome read = LoadEngineFacts(EngineFactsBeside(context.cataloguePath), loaded.facts);
        read.failed() && read.failure() != Failure::Missing)
        warn(context, "the engine facts cannot be read, so values are judged by no engine: " + read.message() + "\n");
    loaded.resolved = ResolveEngine(loaded.facts, context.store, context.engineOverride);
}

const OptionNode *optionNamed(const Catalogue &catalogue, const std::string &name)
{
    for (const OptionNode &option : catalogue.options()) {
        if (option.text == name)
            return &option;
    }
    return nullptr;
}

// A typo must not store a value that no option will ever read.
std::string noOptionNamed(const Catalogue &catalogue, const std::string &name)
{
    std::vector<std::string> names;
    for (const OptionNode &option : catalogue.options())
        names.push_back(option.text);
    const std::vector<std::string> closest = ClosestNames(name, names);
    std::string message = "no option is named \"" + name + "\"";
    if (closest.empty())
        return message + " (\"cvarden-cli list\" shows every option)";
    for (std::size_t i = 0; i < closest.size(); ++i)
        message += (i == 0 ? "; did you mean \"" : i + 1 == closest.size() ? "\" or \"" : "\", \"") + closest[i];
    return message + "\"?";
}

// What stops a command on a game file before it starts: the catalogue it
// cannot read, or a path that names no file. The empty text when nothing does.
std::string problemBeforeFileCommand(const LoadedCatalogue &loaded, const std::string &path)
{
    if (loaded.failure.failed())
        return loaded.failure.message();
    // As the window's file commands do, a path that names no existing file
    // is not worked on; here the player hears what is there instead.
    return WhyNotAFile(path);
}

int list(const CliContext &context)
{
    std::vector<std::string> flags = context.arguments;
    std::string gameFile;
    if (const auto at = std::find(flags.begin(), flags.end(), "--overridden"); at != flags.end()) {
        if (at + 1 == flags.end())
            return usageError;
        gameFile = *(at + 1);
        flags.erase(at, at + 2);
    }
    if (!OnlyFlags(flags, {"--changed"}))
        return usageError;
    const bool changedOnly = HasFlag(flags, "--changed");
    const LoadedCatalogue loaded = loadCatalogue(context);
    if (std::string problem = gameFile.empty() ? loaded.failure.message() : problemBeforeFileCommand(loaded, gameFile);
        !problem.empty())
        return fail(context, problem);
    ValueStore &store = context.store;
    if (Outcome read = store.reload(); read.failed())
        return fail(context, read);
    LoadedEngine engine;
    loadEngine(context, engine);
    const EngineInUse &inUse = engine.resolved.inUse;
    const OptionTree &tree = loaded.catalogue.tree;
    OverriddenOptions later;
    if (!gameFile.empty())
        later = FindOverriddenOptions(gameFile, tree);
    warn(context, later.notRead);
    const std::map<std::size_t, LaterSetting> &overridden = later.options;
    // The kind is printed as the catalogue spells it, a misspelt one too.
    for (const OptionNode &option : tree.options()) {
        if (changedOnly && !IsChanged(option, store, inUse))
            continue;
        const auto later = overridden.find(tree.indexOf(option));
        if (!gameFile.empty() && later == overridden.end())
            continue;
        std::string row = tree.item(option.parent).text + "\t" + option.text + "\t" + option.variable() + "\t" +
                          Module1::OptionKind(option.key) + "\t" + store.Get(option.text, DefaultInUse(inUse, option));
        if (later != overridden.end())
            row += "\t" + later->second.file + "\t" + std::to_string(later->second.line) + "\t" + later->second.value;
        print(context, row + "\n");
    }
    return done;
}

// What stops a command on the option `name`: the catalogue it cannot read, or
// no option of that name. The empty text when nothing does.
std::string problemBeforeOptionCommand(const LoadedCatalogue &loaded, const std::string &name)
{
    if (loaded.failure.failed())
        return loaded.failure.message();
    if (!optionNamed(loaded.catalogue, name))
        return noOptionNamed(loaded.catalogue, name);
    return {};
}

// What the game does at every start with the game file used last, when a
// file it runs after it sets the option again to another value.
void warnOfLaterSetting(const CliContext &context, const OptionTree &tree, const OptionNode &option,
                        const std::string &value)
{
    const std::string gameFile = context.store.GetChoice(lastGameFileName, {});
    if (gameFile.empty())
        return;
    const OverriddenOptions later = FindOverriddenOptions(gameFile, tree);
    if (const auto at = later.options.find(tree.indexOf(option));
        at != later.options.end() && at->second.value != value)
        warn(context, "At every start the game runs " + at->second.file + " after " + gameFile + ": " +
                          DescribeLaterSetting(at->second) + ".\n");
}

int get(const CliContext &context)
{
    const std::string &name = context.arguments[0];
    const LoadedCatalogue loaded = loadCatalogue(context);
    if (std::string problem = problemBeforeOptionCommand(loaded, name); !problem.empty())
        return fail(context, problem);
    if (Outcome read = context.store.reload(); read.failed())
        return fail(context, read);
    LoadedEngine engine;
    loadEngine(context, engine);
    const OptionNode &option = *optionNamed(loaded.catalogue, name);
    const std::string value = context.store.Get(name, DefaultInUse(engine.resolved.inUse, option));
    print(context, value + "\n");
    warnOfLaterSetting(context, loaded.catalogue.tree, option, value);
    return done;
}

// Says what the engine makes of a value it would not keep as it is. Stores it
// all the same, as the player may know better; with --strict it is refused.
int set(const CliContext &context)
{
    const bool strict = context.arguments.size() == 3;
    if (strict && context.arguments[0] != "--strict")
        return usageError;
    const std::string &name = context.arguments[strict ? 1 : 0];
    const std::string &value = context.arguments[strict ? 2 : 1];
    const LoadedCatalogue loaded = loadCatalogue(context);
    if (std::string problem = problemBeforeOptionCommand(loaded, name); !problem.empty())
        return fail(context, problem);
    LoadedEngine engine;
    loadEngine(context, engine);
    const EngineInUse &inUse = engine.resolved.inUse;
    const VariableFacts *facts = inUse.of(optionNamed(loaded.catalogue, name)->variable());
    const ValueVerdict verdict = facts ? JudgeValue(*facts, value) : ValueVerdict{};
    if (strict && !verdict.kept())
        return fail(context, "not stored: " + VerdictSentence(inUse.engine, verdict));
    if (const Outcome saved = context.store.Save(name, value); saved.failed())
        return fail(context, saved);
    if (!verdict.kept())
        warn(context, VerdictSentence(inUse.engine, verdict) + "\n");
    if (facts && !RestartSentence(facts->restart).empty())
        warn(context, RestartSentence(facts->restart) + "\n");
    return done;
}

// The engine's verdict on every stored value; with no engine known, the
// values that every engine would change. Exits with 1 when there is any.
int problems(const CliContext &context)
{
    const LoadedCatalogue loaded = loadCatalogue(context);
    if (loaded.failure.failed())
        return fail(context, loaded.failure);
    if (Outcome read = context.store.reload(); read.failed())
        return fail(context, read);
    LoadedEngine engine;
    loadEngine(context, engine);
    const EngineInUse &inUse = engine.resolved.inUse;
    if (inUse.engine == Engine::None)
        warn(context, "no engine known (" + engine.resolved.why + "): these are the values every engine changes\n");
    std::size_t found = 0;
    for (const OptionNode &option : loaded.catalogue.options()) {
        const std::string value = context.store.Get(option.text, DefaultInUse(inUse, option));
        const std::string problem = ValueProblem(inUse, option.variable(), value);
        if (problem.empty())
            continue;
        print(context, option.text + "\t" + option.variable() + "\t" + value + "\t" + problem + "\n");
        ++found;
    }
    return found == 0 ? done : failed;
}

int engine(const CliContext &context)
{
    LoadedEngine engine;
    if (context.arguments.size() == 2 && context.arguments[0] == "--game-code") {
        const Outcome chosen = ChooseGameCode(context.store, context.arguments[1]);
        return chosen.ok() ? done : fail(context, chosen);
    }
    if (context.arguments.size() == 2) {
        if (context.arguments[0] != "--detect")
            return usageError;
        if (Outcome read = LoadEngineFacts(EngineFactsBeside(context.cataloguePath), engine.facts); read.failed())
            return fail(context, read);
        EngineDetection detection;
        if (Outcome read = DetectEngineOfFile(engine.facts, context.arguments[1], detection); read.failed())
            return fail(context, read);
        print(context, std::string(EngineName(detection.engine)) + "\n");
        for (const std::string &line : detection.evidence)
            print(context, line + "\n");
        return done;
    }
    if (context.arguments.size() == 1) {
        const Outcome chosen = ChooseEngine(context.store, context.arguments[0]);
        return chosen.ok() ? done : fail(context, chosen);
    }
    loadEngine(context, engine);
    const bool ioquake3Code = engine.resolved.inUse.gameCode == GameCode::Ioquake3;
    print(context, std::string(EngineName(engine.resolved.inUse.engine)) + "\t" + engine.resolved.why + "\n" +
                       "game code " + EngineName(ioquake3Code ? Engine::Ioquake3 : Engine::Release132) + "\t" +
                       engine.resolved.gameCodeWhy + "\n");
    return done;
}

// The game file and the engine it looks written by are kept ("auto" uses the
// engine), as the window's Open and Save keep them.
void rememberGameFile(const CliContext &context, const std::string &path)
{
    // Absolute, so that `get` finds it from any folder.
    std::error_code error;
    const std::filesystem::path whole = std::filesystem::absolute(NativePath(path), error);
    static_cast<void>(context.store.SaveChoice(lastGameFileName, error ? path : CorePath(whole)));
    LoadedEngine engine;
    loadEngine(context, engine);
    EngineDetection detection;
    if (!engine.facts.empty() && DetectEngineOfFile(engine.facts, path, detection).ok())
        static_cast<void>(RememberDetection(context.store, detection));
}

int importFile(const CliContext &context)
{
    const std::string &path = context.arguments[0];
    const LoadedCatalogue loaded = loadCatalogue(context);
    if (std::string problem = problemBeforeFileCommand(loaded, path); !problem.empty())
        return fail(context, problem);
    const ImportReport report = ImportConfig(path, loaded.catalogue.tree, context.store);
    if (report.outcome.failed())
        return fail(context, report.outcome);
    print(context, ImportSummary(report) + " (" + path + ")\n");
    rememberGameFile(context, path);
    return done;
}

// Shows what an export would change, touching no file at all: the settings
// that change, then the lines of each file, from the plan itself.
int previewExport(const CliContext &context, const std::string &path, const OptionTree &tree, const EngineInUse &engine,
                  LaterFilesToo laterFiles)
{
    std::string bytes;
    const SavePlan plan = PlanExport(path, tree, context.store, bytes, engine, laterFiles);
    if (plan.outcome.failed())
        return fail(context, plan.outcome);
    print(context, SaveSummary(plan) + "\n" + LaterFilesSummary(plan, Tense::Preview));
    for (const SettingPlan &setting : plan.settings) {
        if (setting.fate == SettingFate::Changed)
            print(context, "  " + tree.item(setting.option).text + ": " +
                               (setting.before ? "\"" + *setting.before + "\"" : std::string("(not set)")) + " -> \"" +
                               setting.after + "\"\n");
    }
    print(context, UnifiedDiff(bytes, plan.edits, path, path + " (after export)"));
    for (const LaterFileSave &file : plan.laterFiles)
        print(context, UnifiedDiff(file.before, file.edits, file.path, file.path + " (after export)"));
    warn(context, plan.warnings);
    return done;
}

int exportFile(const CliContext &context)
{
    const std::vector<std::string> flags(context.arguments.begin(), context.arguments.end() - 1);
    if (!OnlyFlags(flags, {"--dry-run", "--if-game-stopped", "--into-later-files"}))
        return usageError;
    const std::string &path = context.arguments.back();
    LoadedCatalogue loaded = loadCatalogue(context);
    if (std::string problem = problemBeforeFileCommand(loaded, path); !problem.empty())
        return fail(context, problem);
    OptionTree &tree = loaded.catalogue.tree;
    LoadedEngine engine;
    loadEngine(context, engine);
    const LaterFilesToo laterFiles = HasFlag(flags, "--into-later-files") ? LaterFilesToo::Yes : LaterFilesToo::No;
    if (HasFlag(flags, "--dry-run"))
        return previewExport(context, path, tree, engine.resolved.inUse, laterFiles);
    if (!ExportGoesOn(path, HasFlag(flags, "--if-game-stopped"), context.err))
        return failed;
    const SavePlan plan =
        ExportConfig(path, tree, context.store, context.versionsFolder, engine.resolved.inUse, laterFiles);
    if (plan.outcome.failed())
        return fail(context, plan.outcome);
    print(context, SaveSummary(plan) + " (" + path + ")\n" + LaterFilesSummary(plan, Tense::Done));
    warn(context, plan.warnings);
    rememberGameFile(context, path);
    return done;
}

int reset(const CliContext &context)
{
    const LoadedCatalogue loaded = loadCatalogue(context);
    if (loaded.failure.failed())
        return fail(context, loaded.failure);
    LoadedEngine engine;
    loadEngine(context, engine);
    const Outcome reset = ResetToDefaults(loaded.catalogue.tree, context.store, engine.resolved.inUse);
    return reset.ok() ? done : fail(context, reset);
}

int backups(const CliContext &context)
{
    std::vector<KeptVersion> versions;
    if (Outcome listed = ListVersions(context.versionsFolder, context.arguments[0], versions); listed.failed())
        return fail(context, listed);
    for (const KeptVersion &version : versions) {
        const QString when =
            QDateTime::fromSecsSinceEpoch(version.keptAt).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        print(context,
              std::to_string(version.number) + "\t" + when.toStdString() + "\t" + std::to_string(version.size) + "\n");
    }
    return done;
}

int restore(const CliContext &context)
{
    // The game writes its file again when it quits, over what was put back.
    const bool refuseWhileRunning = context.arguments[0] == "--if-game-stopped";
    const std::vector<std::string> words(context.arguments.begin() + (refuseWhileRunning ? 1 : 0),
                                         context.arguments.end());
    if (words.empty() || words.size() > 2)
        return usageError;
    const std::string &path = words[0];
    unsigned long number = 0;
    if (words.size() == 2) {
        number = Module1::WholeNumber(words[1]);
        if (number == 0) {
            std::fprintf(context.err, "cvarden-cli restore: N is a version's number (1, 2, ...), not \"%s\"\n",
                         words[1].c_str());
            return usageError;
        }
    }
    if (!ExportGoesOn(path, refuseWhileRunning, context.err, "this restore"))
        return failed;
    const RestoreReport report = RestoreVersion(context.versionsFolder, path, number);
    if (report.outcome.failed())
        return fail(context, report.outcome);
    print(context, "Put version " + std::to_string(report.restored) + " back into " + path +
                       (report.replacedKeptAs == 0
                            ? ""
                            : "; what it held is kept as version " + std::to_string(report.replacedKeptAs)) +
                       "\n");
    return done;
}

int check(const CliContext &context)
{
    const LoadedCatalogue loaded = loadCatalogue(context, Checks::Thorough);
    if (loaded.failure.failed())
        return fail(context, loaded.failure);
    for (const CatalogueFinding &finding : loaded.catalogue.findings)
        print(context, context.cataloguePath + ":" + std::to_string(finding.line) + ": " + finding.text + "\n");
    return loaded.catalogue.findings.empty() ? done : failed;
}

struct Command {
    std::size_t leastArguments;
    std::size_t mostArguments;
    const char *usage;
    std::function<int(const CliContext &)> run;
};

const std::map<std::string, Command> &commands()
{
    static const std::map<std::string, Command> table{
        {"list",
         {0, 3,
          "list [--changed] [--overridden FILE]\n"
          "                            every option (or those changed): folder, name, variable, kind, value;\n"
          "                            with --overridden, only those a file the game runs after FILE sets\n"
          "                            again, followed by that file, its line and the value that wins",
          list}},
        {"get", {1, 1, "get NAME                  the current value of the option NAME", get}},
        {"set",
         {2, 3,
          "set [--strict] NAME VALUE\n"
          "                            stores VALUE for the option NAME, saying what the engine makes of it;\n"
          "                            with --strict, refuses a value the engine would change",
          set}},
        {"problems",
         {0, 0, "problems                  every stored value the engine would change: name, variable, value, verdict",
          problems}},
        {"engine",
         {0, 2,
          "engine [--detect FILE] [--game-code CODE] [ENGINE]\n"
          "                            the engine and the game code in use and why; with ENGINE, stores the\n"
          "                            choice (ioquake3, 1.32, quake3e or auto); with --detect, which engine\n"
          "                            a q3config.cfg looks written by, and the evidence; with --game-code,\n"
          "                            stores the game code (1.32, ioquake3 or auto)",
          engine}},
        {"import", {1, 1, "import FILE               takes the values over from a q3config.cfg", importFile}},
        {"export",
         {1, 4,
          "export [--dry-run] [--if-game-stopped] [--into-later-files] FILE\n"
          "                            writes the values into a q3config.cfg (or shows what would change);\n"
          "                            warns while the game runs, or refuses with --if-game-stopped;\n"
          "                            --into-later-files also writes the values that files the game runs\n"
          "                            later (autoexec.cfg, what it runs) would set again into those files",
          exportFile}},
        {"reset", {0, 0, "reset                     sets every option back to its default", reset}},
        {"check", {0, 0, "check                     lists the mistakes of the catalogue", check}},
        {"backups",
         {1, 1, "backups FILE              the earlier versions of a q3config.cfg kept: number, when, size", backups}},
        {"restore",
         {1, 3,
          "restore [--if-game-stopped] FILE [N]\n"
          "                            puts version N (the newest by default) back into a q3config.cfg;\n"
          "                            warns while the game runs, or refuses with --if-game-stopped",
          restore}},
    };
    return table;
}

std::vector<std::string> commandNames()
{
    std::vector<std::string> names;
    for (const auto &[name, command] : commands())
        names.push_back(name);
    return names;
}

} // namespace

int RunCliCommand(const std::string &command, const CliContext &context)
{
    const auto found = commands().find(command);
    if (found == commands().end()) {
        std::fprintf(context.err, "cvarden-cli: %s\n", NoCommandNamed(command, commandNames()).c_str());
        return usageError;
    }
    const Command &entry = found->second;
    CliContext checked = context;
    std::string problem = CheckUsage(ShapeOf(entry.usage), checked.arguments);
    if (problem.empty() &&
        (checked.arguments.size() < entry.leastArguments || checked.arguments.size() > entry.mostArguments))
        problem = "wrong number of arguments";
    if (!problem.empty())
        std::fprintf(context.err, "cvarden-cli %s: %s\n", command.c_str(), problem.c_str());
    const int status = problem.empty() ? entry.run(checked) : usageError;
    if (status == usageError)
        std::fprintf(context.err, "usage: cvarden-cli %s\n", UsageWords(entry.usage).c_str());
    // Output that could not be written (a full disk, a closed pipe) is a
    // failure, not a success with nothing to show.
    if (std::fflush(context.out) != 0 || std::ferror(context.out))
        return status == done ? fail(context, "cannot write the output") : status;
    return status;
}

QString CliCommandSummary()
{
    QString summary = QStringLiteral("Commands:\n");
    for (const auto &[name, command] : commands())
        summary += QStringLiteral("  ") + QString::fromLatin1(command.usage) + "\n";
    return summary;
}

} // namespace cvarden
