// SPDX-License-Identifier: GPL-2.0-or-later
#include "clicommands.h"

#include <QDateTime>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>

#include "changedoptions.h"
#include "closestnames.h"
#include "commandflags.h"
#include "commandusage.h"
#include "exportconfig.h"
#include "fileio.h"
#include "importconfig.h"
#include "loader.h"
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

int list(const CliContext &context)
{
    if (!OnlyFlags(context.arguments, {"--changed"}))
        return usageError;
    const bool changedOnly = HasFlag(context.arguments, "--changed");
    const LoadedCatalogue loaded = loadCatalogue(context);
    if (loaded.failure.failed())
        return fail(context, loaded.failure);
    ValueStore &store = context.store;
    if (Outcome read = store.reload(); read.failed())
        return fail(context, read);
    const OptionTree &tree = loaded.catalogue.tree;
    // The kind is printed as the catalogue spells it, a misspelt one too.
    for (const OptionNode &option : tree.options()) {
        if (changedOnly && !IsChanged(option, store))
            continue;
        print(context, tree.item(option.parent).text + "\t" + option.text + "\t" + option.variable() + "\t" +
                           Module1::OptionKind(option.key) + "\t" + store.Get(option.text, option.defaultValue()) +
                           "\n");
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

int get(const CliContext &context)
{
    const std::string &name = context.arguments[0];
    const LoadedCatalogue loaded = loadCatalogue(context);
    if (std::string problem = problemBeforeOptionCommand(loaded, name); !problem.empty())
        return fail(context, problem);
    if (Outcome read = context.store.reload(); read.failed())
        return fail(context, read);
    print(context, context.store.Get(name, optionNamed(loaded.catalogue, name)->defaultValue()) + "\n");
    return done;
}

int set(const CliContext &context)
{
    const std::string &name = context.arguments[0];
    if (std::string problem = problemBeforeOptionCommand(loadCatalogue(context), name); !problem.empty())
        return fail(context, problem);
    const Outcome saved = context.store.Save(name, context.arguments[1]);
    return saved.ok() ? done : fail(context, saved);
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
    return done;
}

// Shows what an export would change, touching no file at all: the settings
// that change, then the lines.
int previewExport(const CliContext &context, const std::string &path, const OptionTree &tree)
{
    std::string bytes;
    const SavePlan plan = PlanExport(path, tree, context.store, bytes);
    if (plan.outcome.failed())
        return fail(context, plan.outcome);
    print(context, SaveSummary(plan) + "\n");
    for (const SettingPlan &setting : plan.settings) {
        if (setting.fate == SettingFate::Changed)
            print(context, "  " + tree.item(setting.option).text + ": " +
                               (setting.before ? "\"" + *setting.before + "\"" : std::string("(not set)")) + " -> \"" +
                               setting.after + "\"\n");
    }
    print(context, UnifiedDiff(NormalizeText(bytes), plan.text, path, path + " (after export)"));
    warn(context, plan.warnings);
    return done;
}

int exportFile(const CliContext &context)
{
    const std::vector<std::string> flags(context.arguments.begin(), context.arguments.end() - 1);
    if (!OnlyFlags(flags, {"--dry-run", "--if-game-stopped"}))
        return usageError;
    const std::string &path = context.arguments.back();
    LoadedCatalogue loaded = loadCatalogue(context);
    if (std::string problem = problemBeforeFileCommand(loaded, path); !problem.empty())
        return fail(context, problem);
    OptionTree &tree = loaded.catalogue.tree;
    if (HasFlag(flags, "--dry-run"))
        return previewExport(context, path, tree);
    if (!ExportGoesOn(path, HasFlag(flags, "--if-game-stopped"), context.err))
        return failed;
    const SavePlan plan = ExportConfig(path, tree, context.store, context.versionsFolder);
    if (plan.outcome.failed())
        return fail(context, plan.outcome);
    print(context, SaveSummary(plan) + " (" + path + ")\n");
    warn(context, plan.warnings);
    return done;
}

int reset(const CliContext &context)
{
    const LoadedCatalogue loaded = loadCatalogue(context);
    if (loaded.failure.failed())
        return fail(context, loaded.failure);
    const Outcome reset = ResetToDefaults(loaded.catalogue.tree, context.store);
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
    const std::string &path = context.arguments[0];
    unsigned long number = 0;
    if (context.arguments.size() == 2) {
        number = Module1::WholeNumber(context.arguments[1]);
        if (number == 0) {
            std::fprintf(context.err, "cvarden-cli restore: N is a version's number (1, 2, ...), not \"%s\"\n",
                         context.arguments[1].c_str());
            return usageError;
        }
    }
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
         {0, 1, "list [--changed]          every option (or those changed): folder, name, variable, kind, value",
          list}},
        {"get", {1, 1, "get NAME                  the current value of the option NAME", get}},
        {"set", {2, 2, "set NAME VALUE            stores VALUE for the option NAME", set}},
        {"import", {1, 1, "import FILE               takes the values over from a q3config.cfg", importFile}},
        {"export",
         {1, 3,
          "export [--dry-run] [--if-game-stopped] FILE\n"
          "                            writes the values into a q3config.cfg (or shows what would change);\n"
          "                            warns while the game runs, or refuses with --if-game-stopped",
          exportFile}},
        {"reset", {0, 0, "reset                     sets every option back to its default", reset}},
        {"check", {0, 0, "check                     lists the mistakes of the catalogue", check}},
        {"backups",
         {1, 1, "backups FILE              the earlier versions of a q3config.cfg kept: number, when, size", backups}},
        {"restore",
         {1, 2, "restore FILE [N]          puts version N (the newest by default) back into a q3config.cfg", restore}},
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
