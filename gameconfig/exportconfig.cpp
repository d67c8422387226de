// SPDX-License-Identifier: GPL-2.0-or-later
#include "exportconfig.h"

#include <vector>

#include "fileio.h"
#include "gamecommands.h"
#include "gamerun.h"
#include "linemodel.h"
#include "normalize.h"
#include "optionmatcher.h"
#include "variablename.h"
#include "versions.h"

namespace cvarden {
namespace {

// What the export writes for one catalogued variable.
struct VariablePlan {
    std::string value;           // as written: quotes, line ends and NUL left out
    bool atDefault = false;      // the value is the catalogue default
    bool nameIsReadable = false; // the game reads the name as one variable name
    bool hasCommand = false;     // the file sets it already
    bool lastCommandRewritten = false;
    bool leftOut = false; // a default not added, to keep the file within the 1.32 release's limit
    bool written = false;

    bool needsAddition() const { return nameIsReadable && !leftOut && (!hasCommand || !lastCommandRewritten); }
};

std::string writtenValue(std::string_view stored)
{
    std::string value;
    value.reserve(stored.size());
    for (const char c : stored) {
        if (c != '"' && c != '\r' && c != '\n' && c != '\0')
            value.push_back(c);
    }
    return value;
}

std::string quoted(const std::string &text)
{
    return "\"" + text + "\"";
}

std::vector<VariablePlan> planVariables(const OptionMatcher &matcher, const OptionTree &tree, const ValueStore &store)
{
    std::vector<VariablePlan> plans;
    plans.reserve(matcher.variables().size());
    for (const VariableOptions &variable : matcher.variables()) {
        const OptionNode &node = tree.item(variable.valueOption());
        const std::string fallback = node.defaultValue();
        VariablePlan plan;
        plan.value = writtenValue(store.Get(node.text, fallback));
        plan.atDefault = plan.value == writtenValue(fallback);
        plan.nameIsReadable = WhyNotOneWord(variable.name).empty();
        plans.push_back(std::move(plan));
    }
    return plans;
}

// The options whose records the game would cut, each with its value's size.
std::string valuesTooLong(const OptionMatcher &matcher, const OptionTree &tree, const std::vector<VariablePlan> &plans)
{
    std::string names;
    for (std::size_t v = 0; v < plans.size(); ++v) {
        const VariableOptions &variable = matcher.variables()[v];
        if (!plans[v].nameIsReadable || OptionRecordText(variable.name, plans[v].value).size() <= gameCommandLimit)
            continue;
        names += (names.empty() ? "" : ", ") + quoted(tree.item(variable.valueOption()).text) + " (" +
                 std::to_string(plans[v].value.size()) + " bytes)";
    }
    if (names.empty())
        return {};
    return "These values are too long for the game, which cuts a command after " + std::to_string(gameCommandLimit) +
           " bytes and runs the rest as a command of its own: " + names +
           ". Shorten them and save again; the file was left unchanged.";
}

std::string unreadableNames(const OptionMatcher &matcher, const OptionTree &tree,
                            const std::vector<VariablePlan> &plans)
{
    std::string warning;
    for (std::size_t v = 0; v < plans.size(); ++v) {
        if (plans[v].nameIsReadable)
            continue;
        const VariableOptions &variable = matcher.variables()[v];
        warning += "The option " + quoted(tree.item(variable.valueOption()).text) +
                   " was not written: the game cannot read " + ShownVariableName(variable.name) +
                   " as a variable name (" + WhyNotOneWord(variable.name) + "), so the catalogue needs mending.\n";
    }
    return warning;
}

void markWritten(const VariableOptions &variable, OptionTree &tree)
{
    for (const std::size_t index : variable.indices)
        tree.item(index).tag = "DONE";
}

// The part of a command that gives way to the written value, and what takes
// its place: the value's words, so that `seta`, the name and the blanks the
// player laid out between them stay. A name in a quote never closed would
// swallow what follows it, so then the whole command is written anew.
struct Replacement {
    std::size_t from = 0;
    std::size_t to = 0;
    std::string text;
};

Replacement valueReplacement(const GameCommand &command, const std::string &value)
{
    const GameWord &name = command.words[1];
    if (name.unclosedQuote)
        return {command.words[0].begin, name.end, OptionRecordText(name.text, value)};
    if (command.words.size() == 2)
        return {name.end, name.end, " \"" + value + "\""};
    return {command.words[2].begin, command.words.back().end, "\"" + value + "\""};
}

// Rewrites the value of each command of a catalogued variable in place, so
// that every byte around it stays: before it (`seta`, the name, blanks, a
// byte-order mark) and after it (`; bind ...`, a comment, the line end). A
// command the game cut, one that would grow past the game's limit, and one
// whose quotes and comments the game's scan and tokenizer read differently
// (where a rewrite could move where the next command starts) are left as
// they are.
// What the reading of the text showed that decides what may be added to it.
struct TextEnd {
    bool stopsEarly = false;       // at a NUL byte
    bool inComment = false;        // the game's scan ran to the end in a /* comment
    bool rewroteAfterACut = false; // a command was cut, and one after it rewritten
};

std::string rewriteCommands(std::string_view text, const OptionMatcher &matcher, std::vector<VariablePlan> &plans,
                            OptionTree &tree, ExportReport &report, TextEnd &end)
{
    GameCommandReader reader(text);
    std::string out;
    out.reserve(text.size() + text.size() / 8 + 64);
    std::size_t copied = 0;
    bool cutSeen = false;
    for (GameCommand command; reader.next(command);) {
        cutSeen = cutSeen || command.cut;
        const VariableOptions *variable = matcher.variableSetBy(command);
        if (variable == nullptr)
            continue;
        reader.readAllWords(command);
        VariablePlan &plan = plans[matcher.positionOf(*variable)];
        plan.hasCommand = true;
        plan.lastCommandRewritten = false;
        const Replacement value = valueReplacement(command, plan.value);
        const std::size_t length = command.end - command.begin - (value.to - value.from) + value.text.size();
        if (!plan.nameIsReadable || command.cut || length > gameCommandLimit || command.startedInComment ||
            command.commentAmongWords)
            continue;
        out.append(text, copied, value.from - copied);
        out.append(value.text);
        copied = value.to;
        end.rewroteAfterACut = end.rewroteAfterACut || cutSeen;
        plan.lastCommandRewritten = true;
        plan.written = true;
        markWritten(*variable, tree);
        ++report.linesReplaced;
    }
    out.append(text, copied);
    end.stopsEarly = reader.textEnd() < text.size();
    end.inComment = reader.endsInComment();
    return out;
}

std::size_t additionSize(const VariableOptions &variable, const VariablePlan &plan)
{
    return OptionRecordText(variable.name, plan.value).size() + 3; // LF, then the record's CR LF
}

// A file that the additions would take past the 1.32 release's limit gets
// none for variables it does not set and whose value is the default: the game
// keeps its own default for them, and the player keeps a file it reads.
void leaveOutDefaultsPastTheLimit(std::size_t size, const OptionMatcher &matcher, std::vector<VariablePlan> &plans)
{
    for (std::size_t v = 0; v < plans.size(); ++v) {
        if (plans[v].needsAddition())
            size += additionSize(matcher.variables()[v], plans[v]);
    }
    if (size <= originalReleaseFileLimit)
        return;
    for (VariablePlan &plan : plans) {
        if (!plan.hasCommand && plan.atDefault)
            plan.leftOut = true;
    }
}

// Whether the game, running the rewritten text, ends with the values written
// and does all else as it did with the text before.
bool keepsWhatTheGameDid(std::string_view before, std::string_view after, const OptionMatcher &matcher,
                         const std::vector<VariablePlan> &plans)
{
    if (!SameOtherCommands(before, after, matcher))
        return false;
    const std::vector<std::optional<std::string>> was = LastSetaValues(before, matcher);
    const std::vector<std::optional<std::string>> is = LastSetaValues(after, matcher);
    for (std::size_t v = 0; v < plans.size(); ++v) {
        if (plans[v].written ? is[v] != plans[v].value : is[v] != was[v])
            return false;
    }
    return true;
}

} // namespace

std::string OptionRecordText(std::string_view variableName, std::string_view value)
{
    std::string text = "seta ";
    text.append(variableName);
    text.append(" \"");
    text.append(writtenValue(value));
    text.push_back('"');
    return text;
}

std::string RewriteConfigText(std::string_view normalizedText, OptionTree &tree, const ValueStore &store,
                              ExportReport &report)
{
    for (std::size_t i = 1; i <= tree.count(); ++i)
        tree.item(i).tag.clear();
    const OptionMatcher matcher(tree);
    std::vector<VariablePlan> plans = planVariables(matcher, tree, store);
    report.error = valuesTooLong(matcher, tree, plans);
    if (!report.error.empty())
        return {};
    report.warning = unreadableNames(matcher, tree, plans);

    TextEnd end;
    std::string out = rewriteCommands(normalizedText, matcher, plans, tree, report, end);
    leaveOutDefaultsPastTheLimit(out.size(), matcher, plans);
    for (std::size_t v = 0; v < plans.size(); ++v) {
        if (!plans[v].needsAddition())
            continue;
        if (end.stopsEarly || end.inComment) {
            report.error =
                end.inComment ? "The file ends inside a /* comment that is never closed, so the game would ignore "
                                "any setting added after it. Close the comment and save again; the file was left "
                                "unchanged."
                              : "The file holds a NUL byte, where the game stops reading, so it would ignore any "
                                "setting added after it. Remove that byte and save again; the file was left unchanged.";
            return {};
        }
        const VariableOptions &variable = matcher.variables()[v];
        WriteRecord(out, OptionRecordText(variable.name, plans[v].value) + "\n");
        plans[v].written = true;
        markWritten(variable, tree);
        ++report.linesAdded;
    }
    // Where the game cut a command, its scan runs on over the commands after
    // it, and what it makes of them can hang on their quotes: where one of
    // those was rewritten, the result is read again as the game would before
    // it may be written. Additions are safe: a scan that would reach them
    // has refused them already.
    if (end.rewroteAfterACut && !keepsWhatTheGameDid(normalizedText, out, matcher, plans)) {
        report.error = "The file holds a line longer than the " + std::to_string(gameCommandLimit) +
                       " bytes the game reads at once, and the settings after it cannot be changed without "
                       "changing what the game makes of that line. Shorten it and save again; the file was left "
                       "unchanged.";
        return {};
    }
    if (out.size() > originalReleaseFileLimit)
        report.warning += "The file is now " + std::to_string(out.size()) +
                          " bytes long: the original 1.32 release ignores a file larger than " +
                          std::to_string(originalReleaseFileLimit) + " bytes (ioquake3 and later engines read it).\n";
    return out;
}

ExportReport ExportConfig(const std::string &chosenPath, OptionTree &tree, ValueStore &store,
                          const std::string &versionsFolder)
{
    ExportReport report;
    // The values written are the player's latest, whichever run saved them;
    // a store that cannot be read has none to give.
    report.error = store.reload();
    if (!report.error.empty())
        return report;
    std::string normalized, original;
    report.error = NormalizeFile(chosenPath, normalized, versionsFolder.empty() ? nullptr : &original);
    if (!report.error.empty())
        return report;
    report.error = RefuseReadOnly(chosenPath);
    if (!report.error.empty())
        return report;
    if (!versionsFolder.empty())
        report.error = KeepVersion(versionsFolder, chosenPath, original);
    if (!report.error.empty())
        return report;
    original = std::string(); // its memory back, for files of many megabytes
    const std::string rewritten = RewriteConfigText(normalized, tree, store, report);
    if (!report.error.empty())
        return report;
    normalized = std::string();
    report.error = ReplaceWholeFile(chosenPath, rewritten);
    return report;
}

} // namespace cvarden
