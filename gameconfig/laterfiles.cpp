// SPDX-License-Identifier: GPL-2.0-or-later
#include "laterfiles.h"

#include <algorithm>
#include <filesystem>
#include <map>

#include "fileio.h"
#include "fileproblems.h"
#include "gamecommands.h"
#include "nativepath.h"

namespace cvarden {
namespace fs = std::filesystem;
namespace {

using fileproblems::inQuotes;

// Far more than any player's setup runs, and far less than would make a
// save wait: a file larger or deeper than this is not read, nor more files
// or bytes than this in all (a file may be run again and again).
constexpr std::uintmax_t laterFileLimit = 16u << 20;
constexpr int deepestExec = 16;
constexpr int mostFileRuns = 256;
constexpr std::uintmax_t mostBytesRun = 64u << 20;

// The name `exec` gives, as the game's file system takes it: either
// separator, one leading separator dropped, `.cfg` added to a name without
// an extension. Empty when the game would refuse it: a `..` or a drive
// would leave the game's folders.
std::string gameFileName(std::string name)
{
    std::replace(name.begin(), name.end(), '\\', '/');
    if (!name.empty() && name.front() == '/')
        name.erase(0, 1);
    if (name.empty() || name.front() == '/' || name.find(':') != std::string::npos)
        return {};
    for (std::size_t start = 0; start <= name.size();) {
        const std::size_t end = std::min(name.find('/', start), name.size());
        if (name.compare(start, end - start, "..") == 0)
            return {};
        start = end + 1;
    }
    if (name.find('.', name.rfind('/') == std::string::npos ? 0 : name.rfind('/')) == std::string::npos)
        name += ".cfg";
    return name;
}

class LaterRun {
public:
    LaterRun(const fs::path &chosen, const OptionMatcher &matcher)
        : chosen_(chosen.lexically_normal()), folder_(chosen.parent_path()), matcher_(matcher)
    {
        files_.overrides.resize(matcher.variables().size());
    }

    // Runs the chosen file, then `autoexec.cfg` as the game's start-up does:
    // once the chosen file is done, it may be run again from a later file.
    void runStartUp(std::string_view chosenText)
    {
        running_.push_back(chosen_);
        run(chosenText, CorePath(chosen_.filename()), chosen_, true, 0);
        running_.pop_back();
        runNamed("autoexec.cfg", 1, false);
    }

    // `autoexec.cfg` need not be there; a file named by `exec` should.
    void runNamed(const std::string &given, int depth, bool named = true)
    {
        const std::string name = gameFileName(given);
        if (name.empty()) {
            files_.notRead += inQuotes(given) + " is outside the game's folders, where the game does not look for "
                                                "it, so it was not read.\n";
            return;
        }
        if (depth > deepestExec || ++runs_ > mostFileRuns) {
            files_.notRead += inQuotes(name) + " is run from too deep a chain of files, so it was not read.\n";
            return;
        }
        const LaterText &file = textOf(name);
        if (file.read.failure() == Failure::Missing) {
            if (named)
                files_.notRead += inQuotes(name) + " is run by the game but is not in the game folder (it may be "
                                                   "inside a .pk3 archive, which Cvarden does not open).\n";
            return;
        }
        if (file.read.failed()) {
            files_.notRead += file.read.message() + "\n";
            return;
        }
        // A file that runs itself, directly or through others, would run for
        // ever; one run again after it ended runs again, as in the game.
        if (std::find(running_.begin(), running_.end(), file.path) != running_.end())
            return;
        bytesRun_ += file.text.size();
        if (bytesRun_ > mostBytesRun) {
            files_.notRead += inQuotes(name) + " is run after too many bytes of other files, so it was not read.\n";
            return;
        }
        // The chosen file run again sets what it sets anew: what the save
        // writes into it.
        running_.push_back(file.path);
        run(file.text, name, file.path, file.path == chosen_, depth);
        running_.pop_back();
    }

    LaterFiles result() { return std::move(files_); }

private:
    struct LaterText {
        Outcome read;
        fs::path path;
        std::string text;
    };

    // Runs a file's commands: a value set in the chosen file clears what an
    // earlier file set, a value set elsewhere is noted, and `exec` runs the
    // file it names at that point.
    void run(std::string_view text, const std::string &name, const fs::path &path, bool chosen, int depth)
    {
        GameCommandReader reader(text);
        std::size_t line = 1;
        std::size_t counted = 0;
        for (GameCommand command; reader.next(command);) {
            if (command.words.empty())
                reader.readAllWords(command);
            if (const VariableOptions *variable = matcher_.variableSetBy(command)) {
                reader.readAllWords(command);
                if (command.words.size() < 3)
                    continue;
                line += linesBetween(text, counted, command.begin);
                counted = command.begin;
                auto &override = files_.overrides[matcher_.positionOf(*variable)];
                if (chosen)
                    override.reset();
                else
                    override = LaterSetting{name, line, command.valueSet(), CorePath(path)};
            } else if (command.words.size() >= 2 && EqualIgnoringCase(command.words[0].text, "exec")) {
                runNamed(std::string(command.words[1].text), depth + 1);
            }
        }
        // What the save adds at the chosen file's end comes after every value
        // set so far, whichever run of the chosen file this is.
        if (chosen) {
            for (auto &override : files_.overrides) {
                if (override)
                    override->beforeTheChosenFileEnds = true;
            }
        }
    }

    // Each file is read once, however often it runs; one spelling of a path
    // names it, so that a save plans each file once.
    const LaterText &textOf(const std::string &name)
    {
        if (const auto known = texts_.find(name); known != texts_.end())
            return known->second;
        LaterText file;
        file.path = (folder_ / NativePath(name)).lexically_normal();
        file.read = ReadWholeFile(CorePath(file.path), file.text, laterFileLimit);
        if (file.read.failure() == Failure::Missing && folder_.filename() != "baseq3") {
            file.path = (folder_.parent_path() / "baseq3" / NativePath(name)).lexically_normal();
            file.read = ReadWholeFile(CorePath(file.path), file.text, laterFileLimit);
        }
        return texts_.emplace(name, std::move(file)).first->second;
    }

    static std::size_t linesBetween(std::string_view text, std::size_t from, std::size_t to)
    {
        std::size_t lines = 0;
        for (std::size_t i = from; i < to; ++i) {
            if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')))
                ++lines;
        }
        return lines;
    }

    fs::path chosen_;
    fs::path folder_;
    const OptionMatcher &matcher_;
    LaterFiles files_;
    std::vector<fs::path> running_; // the chain of files running now
    std::map<std::string, LaterText> texts_;
    int runs_ = 0;
    std::uintmax_t bytesRun_ = 0;
};

} // namespace

std::size_t LaterFiles::overriddenCount() const
{
    std::size_t count = 0;
    for (const auto &setting : overrides)
        count += setting ? 1 : 0;
    return count;
}

namespace {

bool mentionsExec(std::string_view text)
{
    // Found from its rarest letter, one fast byte search per letter case:
    // most saves run no other file, and this search is all they pay for it.
    for (const char x : {'x', 'X'}) {
        for (std::size_t at = text.find(x, 1); at != std::string_view::npos; at = text.find(x, at + 1)) {
            if (EqualIgnoringCase(text.substr(at - 1, 4), "exec"))
                return true;
        }
    }
    return false;
}

} // namespace

LaterFiles ReadLaterFiles(const std::string &chosenPath, std::string_view chosenText, const OptionMatcher &matcher)
{
    std::error_code error;
    const fs::path chosen = fs::absolute(NativePath(chosenPath), error);
    const fs::path folder = chosen.parent_path();
    const bool autoexec = fs::exists(folder / "autoexec.cfg", error) ||
                          fs::exists(folder.parent_path() / "baseq3" / "autoexec.cfg", error);
    LaterRun run(chosen, matcher);
    // Most files run nothing else: they cost no second reading.
    if (!autoexec && !mentionsExec(chosenText))
        return run.result();
    run.runStartUp(chosenText);
    return run.result();
}

OverriddenOptions FindOverriddenOptions(const std::string &chosenPath, const OptionTree &tree)
{
    OverriddenOptions found;
    // No engine runs a file this large, and the window asks this at its
    // start: it is not read whole for nothing.
    std::string bytes;
    if (ReadWholeFile(chosenPath, bytes, laterFileLimit).failed())
        return found;
    const OptionMatcher matcher(tree);
    LaterFiles later = ReadLaterFiles(chosenPath, bytes, matcher);
    found.options = ByOption(later, matcher);
    found.notRead = std::move(later.notRead);
    return found;
}

std::map<std::size_t, LaterSetting> ByOption(const LaterFiles &later, const OptionMatcher &matcher)
{
    std::map<std::size_t, LaterSetting> options;
    for (std::size_t v = 0; v < later.overrides.size(); ++v) {
        if (later.overrides[v])
            for (const std::size_t option : matcher.variables()[v].indices)
                options[option] = *later.overrides[v];
    }
    return options;
}

std::string DescribeLaterSetting(const LaterSetting &setting)
{
    return setting.file + " line " + std::to_string(setting.line) + " sets it to " + inQuotes(setting.value);
}

} // namespace cvarden
