#include "clicommands.h"

#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>

#include "changedoptions.h"
#include "commandflags.h"
#include "exportconfig.h"
#include "importconfig.h"
#include "loader.h"
#include "normalize.h"
#include "optionkey.h"
#include "reset.h"
#include "runninggamewarning.h"
#include "settingsstore.h"
#include "unifieddiff.h"

namespace cvarden {
namespace {

constexpr int done = 0;
constexpr int failed = 1;
constexpr int usageError = 2;

void print(const std::string &bytes) { std::fwrite(bytes.data(), 1, bytes.size(), stdout); }

int fail(const std::string &message)
{
    std::fprintf(stderr, "cvarden-cli: %s\n", message.c_str());
    return failed;
}

// What the player should know of a command that still succeeded, one line a
// point, on the error output so that scripts reading the output miss nothing.
void warn(const std::string &lines)
{
    std::size_t start = 0;
    for (std::size_t end = lines.find('\n'); end != std::string::npos; end = lines.find('\n', start)) {
        std::fprintf(stderr, "cvarden-cli: warning: %s\n", lines.substr(start, end - start).c_str());
        start = end + 1;
    }
}

struct Catalogue {
    OptionTree tree;
    DescriptionTable descriptions;
    std::string failure;
};

Catalogue loadCatalogue(const CliContext &context)
{
    Catalogue catalogue;
    catalogue.failure = OpenOptions(context.cataloguePath, catalogue.tree, catalogue.descriptions);
    return catalogue;
}

// As the window's file commands do, a path that names no existing file is
// not worked on; here the player hears of it.
bool namesAFile(const std::string &path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

int list(const CliContext &context)
{
    if (!OnlyFlags(context.arguments, {"--changed"}))
        return usageError;
    const bool changedOnly = HasFlag(context.arguments, "--changed");
    const Catalogue catalogue = loadCatalogue(context);
    if (!catalogue.failure.empty())
        return fail(catalogue.failure);
    const SettingsStore store;
    const OptionTree &tree = catalogue.tree;
    for (std::size_t i = 1; i <= tree.count(); ++i) {
        const OptionNode &node = tree.item(i);
        if (!node.hasParent() || (changedOnly && !IsChanged(node, store)))
            continue;
        print(tree.item(node.parent).text + "\t" + node.text + "\t" + Module1::OptionVarName(node.key) + "\t" +
              Module1::OptionKind(node.key) + "\t" + store.Get(node.text, Module1::OptionDefault(node.key)) + "\n");
    }
    return done;
}

int get(const CliContext &context)
{
    const std::string &name = context.arguments[0];
    const Catalogue catalogue = loadCatalogue(context);
    const SettingsStore store;
    if (store.Contains(name)) {
        print(store.Get(name, {}) + "\n");
        return done;
    }
    if (!catalogue.failure.empty())
        return fail(catalogue.failure);
    for (std::size_t i = 1; i <= catalogue.tree.count(); ++i) {
        const OptionNode &node = catalogue.tree.item(i);
        if (node.hasParent() && node.text == name) {
            print(Module1::OptionDefault(node.key) + "\n");
            return done;
        }
    }
    return fail("no option is named \"" + name + "\" and nothing is stored under that name");
}

int set(const CliContext &context)
{
    SettingsStore store;
    const std::string failure = store.Save(context.arguments[0], context.arguments[1]);
    return failure.empty() ? done : fail(failure);
}

// What stops a command on a game file before it starts: the catalogue it
// cannot read, or a path that names no file. The empty text when nothing does.
std::string problemBeforeFileCommand(const Catalogue &catalogue, const std::string &path)
{
    if (!catalogue.failure.empty())
        return catalogue.failure;
    if (!namesAFile(path))
        return "\"" + path + "\" is not a file";
    return {};
}

int importFile(const CliContext &context)
{
    const std::string &path = context.arguments[0];
    Catalogue catalogue = loadCatalogue(context);
    if (std::string problem = problemBeforeFileCommand(catalogue, path); !problem.empty())
        return fail(problem);
    SettingsStore store;
    const ImportReport report = ImportConfig(path, catalogue.tree, store);
    if (!report.error.empty())
        return fail(report.error);
    print("Took over " + std::to_string(report.valuesTaken) + " values from " + path + "\n");
    return done;
}

// Shows what an export would change, touching no file at all.
int previewExport(const std::string &path, OptionTree &tree, const SettingsStore &store)
{
    std::string bytes;
    if (std::string failure = readGameFile(path, bytes); !failure.empty())
        return fail(failure);
    const std::string before = normalizeText(bytes);
    ExportReport report;
    const std::string after = RewriteConfigText(before, tree, store, report);
    if (!report.error.empty())
        return fail(report.error);
    print(UnifiedDiff(before, after, path, path + " (after export)"));
    warn(report.warning);
    return done;
}

int exportFile(const CliContext &context)
{
    const std::vector<std::string> flags(context.arguments.begin(), context.arguments.end() - 1);
    if (!OnlyFlags(flags, {"--dry-run", "--if-game-stopped"}))
        return usageError;
    const bool dryRun = HasFlag(flags, "--dry-run");
    const std::string &path = context.arguments.back();
    Catalogue catalogue = loadCatalogue(context);
    if (std::string problem = problemBeforeFileCommand(catalogue, path); !problem.empty())
        return fail(problem);
    SettingsStore store;
    if (dryRun)
        return previewExport(path, catalogue.tree, store);
    if (!ExportGoesOn(path, HasFlag(flags, "--if-game-stopped")))
        return failed;
    const ExportReport report = ExportConfig(path, catalogue.tree, store);
    if (!report.error.empty())
        return fail(report.error);
    print("Replaced " + std::to_string(report.linesReplaced) + " lines and added " +
          std::to_string(report.linesAdded) + " lines in " + path + "\n");
    warn(report.warning);
    return done;
}

int reset(const CliContext &context)
{
    const Catalogue catalogue = loadCatalogue(context);
    if (!catalogue.failure.empty())
        return fail(catalogue.failure);
    SettingsStore store;
    const std::string failure = ResetToDefaults(catalogue.tree, store);
    return failure.empty() ? done : fail(failure);
}

int check(const CliContext &context)
{
    OptionTree tree;
    DescriptionTable descriptions;
    std::vector<CatalogueFinding> findings;
    if (std::string failure = OpenOptions(context.cataloguePath, tree, descriptions, &findings); !failure.empty())
        return fail(failure);
    for (const CatalogueFinding &finding : findings)
        print(context.cataloguePath + ":" + std::to_string(finding.line) + ": " + finding.text + "\n");
    return findings.empty() ? done : failed;
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
    };
    return table;
}

} // namespace

int RunCliCommand(const std::string &command, const CliContext &context)
{
    const auto found = commands().find(command);
    if (found == commands().end())
        return usageError;
    const Command &entry = found->second;
    if (context.arguments.size() < entry.leastArguments || context.arguments.size() > entry.mostArguments)
        return usageError;
    const int status = entry.run(context);
    // Output that could not be written (a full disk, a closed pipe) is a
    // failure, not a success with nothing to show.
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        return status == done ? fail("cannot write the output") : status;
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
