// SPDX-License-Identifier: GPL-2.0-or-later
#include "saveplan.h"

#include "fileproblems.h"
#include "gamecommands.h"
#include "gamerun.h"
#include "optionmatcher.h"
#include "variablename.h"

namespace cvarden {
namespace {

using fileproblems::inQuotes;

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

// Where the plan stands with one catalogued variable while the text is read.
enum class Place {
    NotInFile,      // no command sets it yet: it is added at the end
    RewrittenLast,  // its last command now gives the value
    KeptLast,       // its last command stays as it is (cut, too long, in a comment): the value is added after it
    Added,          // a command was added at the end
    LeftOut,        // a value the game takes anyway, not added, to keep the file within the 1.32 limit
    NotInEngine,    // never set, and the engine in use has no such variable: not added
    SetElsewhere,   // never set, and another file the game runs sets it: not added, so that value stays
    NameUnreadable, // the game cannot read its name: it is never written
    Untouched,      // not to be written into this file
};

struct VariablePlan {
    std::string value; // as written: quotes, line ends and NUL left out
    bool atGameDefault = false;
    Place place = Place::NotInFile;
    std::optional<std::string> before; // the value the game ended with

    bool needsAddition() const { return place == Place::NotInFile || place == Place::KeptLast; }
    bool written() const { return place == Place::RewrittenLast || place == Place::Added; }
};

std::vector<VariablePlan> planVariables(const OptionMatcher &matcher, const SaveInputs &inputs)
{
    std::vector<VariablePlan> plans;
    plans.reserve(matcher.variables().size());
    for (const VariableOptions &variable : matcher.variables()) {
        const OptionNode &option = inputs.tree.item(variable.valueOption());
        VariablePlan plan;
        plan.value = writtenValue(
            inputs.store.Get(option.text, inputs.unsetValue ? inputs.unsetValue(option) : option.defaultValue()));
        plan.atGameDefault = inputs.gameDefault ? inputs.gameDefault(option, plan.value)
                                                : plan.value == writtenValue(option.defaultValue());
        if (!WhyNotOneWord(variable.name).empty())
            plan.place = Place::NameUnreadable;
        plans.push_back(std::move(plan));
    }
    return plans;
}

// The options whose commands the game would cut, each with its value's size.
Outcome refuseValuesTooLong(const OptionMatcher &matcher, const OptionTree &tree,
                            const std::vector<VariablePlan> &plans)
{
    std::string names;
    for (std::size_t v = 0; v < plans.size(); ++v) {
        const VariableOptions &variable = matcher.variables()[v];
        if (plans[v].place == Place::NameUnreadable || plans[v].place == Place::Untouched ||
            OptionRecordText(variable.name, plans[v].value).size() <= gameCommandLimit)
            continue;
        names += (names.empty() ? "" : ", ") + inQuotes(tree.item(variable.valueOption()).text) + " (" +
                 std::to_string(plans[v].value.size()) + " bytes)";
    }
    if (names.empty())
        return {};
    return {Failure::TooLongForGame, "These values are too long for the game, which cuts a command after " +
                                         std::to_string(gameCommandLimit) +
                                         " bytes and runs the rest as a command of its own: " + names +
                                         ". Shorten them and save again; the file was left unchanged."};
}

std::string unreadableNames(const OptionMatcher &matcher, const OptionTree &tree,
                            const std::vector<VariablePlan> &plans)
{
    std::string warning;
    for (std::size_t v = 0; v < plans.size(); ++v) {
        if (plans[v].place != Place::NameUnreadable)
            continue;
        const VariableOptions &variable = matcher.variables()[v];
        warning += "The option " + inQuotes(tree.item(variable.valueOption()).text) +
                   " was not written: the game cannot read " + ShownVariableName(variable.name) +
                   " as a variable name (" + WhyNotOneWord(variable.name) + "), so the catalogue needs mending.\n";
    }
    return warning;
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
        return {command.words[0].end, name.end, " " + std::string(name.text) + " " + inQuotes(value)};
    if (command.words.size() == 2)
        return {name.end, name.end, " " + inQuotes(value)};
    return {command.words[2].begin, command.words.back().end, inQuotes(value)};
}

// What the reading of the text showed that decides what may be added to it.
struct TextEnd {
    bool stopsEarly = false;       // at a NUL byte
    bool inComment = false;        // the game's scan ran to the end in a /* comment
    bool rewroteAfterACut = false; // a command was cut, and one after it rewritten
};

// Rewrites the value of each command of a catalogued variable in place, so
// that every byte around it stays: before it (`seta`, the name, blanks, a
// byte-order mark) and after it (`; bind ...`, a comment, the line end). A
// command the game cut, one that would grow past the game's limit, and one
// whose quotes and comments the game's scan and tokenizer read differently
// (where a rewrite could move where the next command starts) are left as
// they are.
std::string rewriteCommands(std::string_view text, const OptionMatcher &matcher, std::vector<VariablePlan> &plans,
                            SavePlan &plan, TextEnd &end)
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
        VariablePlan &variablePlan = plans[matcher.positionOf(*variable)];
        if (command.words.size() > 2)
            variablePlan.before = command.valueSet();
        if (variablePlan.place == Place::NameUnreadable || variablePlan.place == Place::Untouched)
            continue;
        const Replacement value = valueReplacement(command, variablePlan.value);
        const std::size_t length = command.end - command.begin - (value.to - value.from) + value.text.size();
        if (command.cut || length > gameCommandLimit || command.startedInComment || command.commentAmongWords) {
            variablePlan.place = Place::KeptLast;
            continue;
        }
        out.append(text, copied, value.from - copied);
        out.append(value.text);
        copied = value.to;
        if (text.substr(value.from, value.to - value.from) != value.text)
            plan.edits.push_back({value.from, value.to, value.text});
        end.rewroteAfterACut = end.rewroteAfterACut || cutSeen;
        variablePlan.place = Place::RewrittenLast;
        ++plan.commandsRewritten;
    }
    out.append(text, copied);
    end.stopsEarly = reader.textEnd() < text.size();
    end.inComment = reader.endsInComment();
    return out;
}

// The line end an added command gets: the file's own, so that a file keeps
// its size and its look in an editor. A file with any bare LF takes LF, as
// the game writes; one whose lines all end with CR LF takes CR LF.
std::string_view lineEndOf(std::string_view text)
{
    const std::size_t lf = text.find('\n');
    if (lf == std::string_view::npos)
        return "\n";
    for (std::size_t at = lf; at != std::string_view::npos; at = text.find('\n', at + 1)) {
        if (at == 0 || text[at - 1] != '\r')
            return "\n";
    }
    return "\r\n";
}

// Whether a command added after the text starts on a line of its own.
bool endsWithALineEnd(std::string_view text)
{
    return text.empty() || text.back() == '\n' || text.back() == '\r';
}

std::size_t additionSize(const VariableOptions &variable, const VariablePlan &plan, std::string_view lineEnd)
{
    return OptionRecordText(variable.name, plan.value).size() + lineEnd.size();
}

// Whether the player gave the option a value: the store then answers with
// it, whatever it is asked to fall back to.
bool storedByPlayer(const ValueStore &store, const std::string &option)
{
    const std::string none;
    return store.Get(option, none) != none || store.Get(option, "-") != "-";
}

// A variable the engine in use does not have is added only with a value
// other than its default: the engine would never use it, the names of
// another engine's variables would make the file look written by that
// engine, and a reset stores every default.
void leaveOutWhatTheEngineLacks(const SaveInputs &inputs, const OptionMatcher &matcher,
                                std::vector<VariablePlan> &plans)
{
    if (!inputs.engineHas)
        return;
    for (std::size_t v = 0; v < plans.size(); ++v) {
        const OptionNode &option = inputs.tree.item(matcher.variables()[v].valueOption());
        if (plans[v].place == Place::NotInFile && !inputs.engineHas(option) && plans[v].atGameDefault)
            plans[v].place = Place::NotInEngine;
    }
}

// A variable the file does not set (or sets only on a line kept as it is),
// the player never set, and another file the game runs sets after it is not
// added: that file's value is the one the game runs with, and a default
// added here would either change it (a file the chosen one runs) or, taken
// in by a later Open, pass for the player's own and be written over it.
void leaveToTheFilesThatSetThem(const SaveInputs &inputs, const OptionMatcher &matcher,
                                std::vector<VariablePlan> &plans)
{
    if (!inputs.later)
        return;
    for (std::size_t v = 0; v < plans.size(); ++v) {
        if (plans[v].needsAddition() && inputs.later->overrides[v] &&
            !storedByPlayer(inputs.store, inputs.tree.item(matcher.variables()[v].valueOption()).text))
            plans[v].place = Place::SetElsewhere;
    }
}

// A file that the additions would take past the 1.32 release's limit gets
// none for variables it does not set and whose value the game takes anyway:
// the game keeps its own default for them, and the player keeps a file it
// reads.
void leaveOutDefaultsPastTheLimit(std::string_view text, std::string_view lineEnd, const OptionMatcher &matcher,
                                  std::vector<VariablePlan> &plans)
{
    std::size_t size = text.size() + (endsWithALineEnd(text) ? 0 : lineEnd.size());
    for (std::size_t v = 0; v < plans.size(); ++v) {
        if (plans[v].needsAddition())
            size += additionSize(matcher.variables()[v], plans[v], lineEnd);
    }
    if (size <= originalReleaseFileLimit)
        return;
    for (VariablePlan &plan : plans) {
        if (plan.place == Place::NotInFile && plan.atGameDefault)
            plan.place = Place::LeftOut;
    }
}

Outcome refuseAdditionPastTheEnd(const TextEnd &end)
{
    if (end.inComment)
        return {Failure::IgnoredByGame, "The file ends inside a /* comment that is never closed, so the game would "
                                        "ignore any setting added after it. Close the comment and save again; the "
                                        "file was left unchanged."};
    return {Failure::IgnoredByGame, "The file holds a NUL byte, where the game stops reading, so it would ignore "
                                    "any setting added after it. Remove that byte and save again; the file was "
                                    "left unchanged."};
}

// Whether the game, running the rewritten text, ends with the values written
// and does all else as it did with the text before.
bool keepsWhatTheGameDid(std::string_view before, std::string_view after, const OptionMatcher &matcher,
                         const std::vector<VariablePlan> &plans)
{
    if (!SameOtherCommands(before, after, matcher))
        return false;
    const std::vector<std::optional<std::string>> was = LastValuesSet(before, matcher);
    const std::vector<std::optional<std::string>> is = LastValuesSet(after, matcher);
    for (std::size_t v = 0; v < plans.size(); ++v) {
        if (plans[v].written() ? is[v] != plans[v].value : is[v] != was[v])
            return false;
    }
    return true;
}

SettingFate fateOf(const VariablePlan &plan)
{
    switch (plan.place) {
    case Place::NameUnreadable:
    case Place::Untouched:
        return SettingFate::NameUnreadable;
    case Place::LeftOut:
        return SettingFate::LeftOutAtDefault;
    case Place::NotInEngine:
        return SettingFate::LeftOutNotInEngine;
    case Place::SetElsewhere:
        return SettingFate::LeftOutSetElsewhere;
    case Place::Added:
        if (!plan.before && plan.atGameDefault)
            return SettingFate::AddedAtDefault;
        break;
    case Place::NotInFile:
    case Place::RewrittenLast:
    case Place::KeptLast:
        break;
    }
    return plan.before == plan.value ? SettingFate::AlreadyRight : SettingFate::Changed;
}

// What the files the game runs later still set again once the save is
// written: a command added at the chosen file's end comes after whatever ran
// before the chosen file ended.
LaterFiles stillWinning(const LaterFiles &later, const std::vector<VariablePlan> &plans)
{
    LaterFiles winning = later;
    for (std::size_t v = 0; v < plans.size(); ++v) {
        if (winning.overrides[v] && plans[v].place == Place::Added && winning.overrides[v]->beforeTheChosenFileEnds)
            winning.overrides[v].reset();
    }
    return winning;
}

// The values saved that a file the game runs later sets again to another.
// A value the player never set is not the player's, even where an earlier
// save added it to the file.
std::vector<NotHolding> valuesThatWillNotHold(const OptionMatcher &matcher, const SaveInputs &inputs,
                                              const LaterFiles &winning, const std::vector<VariablePlan> &plans)
{
    std::vector<NotHolding> found;
    for (std::size_t v = 0; v < plans.size(); ++v) {
        const std::optional<LaterSetting> &setting = winning.overrides[v];
        const std::size_t option = matcher.variables()[v].valueOption();
        if (!setting || !plans[v].written() || setting->value == plans[v].value ||
            !storedByPlayer(inputs.store, inputs.tree.item(option).text))
            continue;
        found.push_back({v, option, *setting});
    }
    return found;
}

std::string describe(const std::vector<NotHolding> &notHolding, const OptionTree &tree)
{
    std::string warnings;
    for (const NotHolding &value : notHolding)
        warnings += "The option " + inQuotes(tree.item(value.option).text) +
                    " will not hold at the next start: " + DescribeLaterSetting(value.where) + ".\n";
    return warnings;
}

// Whether a save of `text`, which this plan wrote, would rewrite every
// command it wrote in place again and change nothing.
bool staysAsItIs(std::string_view text, const OptionMatcher &matcher, const std::vector<VariablePlan> &plans)
{
    std::vector<VariablePlan> again = plans;
    for (VariablePlan &plan : again) {
        if (plan.place != Place::NameUnreadable && plan.place != Place::Untouched)
            plan.place = Place::NotInFile;
    }
    SavePlan scratch;
    TextEnd end;
    if (rewriteCommands(text, matcher, again, scratch, end) != text)
        return false;
    for (std::size_t v = 0; v < plans.size(); ++v) {
        if (plans[v].written() && again[v].place != Place::RewrittenLast)
            return false;
    }
    return true;
}

// Where the game cut a command, its scan runs on over the commands after
// it, and what it makes of them can hang on their quotes: where one of
// those was rewritten, the result is read again as the game would before
// it may be written. Additions are safe: a scan that would reach them
// has refused them already.
// The rewrite can also move where that scan ends, and with it which
// commands Cvarden may rewrite; the next save must find every value in
// place, so the result is planned again and must stay as it is.
Outcome refuseMovingACutScan(std::string_view before, std::string_view after, const OptionMatcher &matcher,
                             const std::vector<VariablePlan> &plans, const TextEnd &end)
{
    if (!end.rewroteAfterACut ||
        (keepsWhatTheGameDid(before, after, matcher, plans) && staysAsItIs(after, matcher, plans)))
        return {};
    return {Failure::CutLineInTheWay,
            "The file holds a line longer than the " + std::to_string(gameCommandLimit) +
                " bytes the game reads at once, and the settings after it cannot be changed without "
                "changing what the game makes of that line. Shorten it and save again; the file was "
                "left unchanged."};
}

std::string sizeWarning(std::string_view text)
{
    if (text.size() <= originalReleaseFileLimit)
        return {};
    return "The file is now " + std::to_string(text.size()) +
           " bytes long: the original 1.32 release ignores a file larger than " +
           std::to_string(originalReleaseFileLimit) + " bytes (ioquake3 and later engines read it).\n";
}

void reportSettings(const OptionMatcher &matcher, std::vector<VariablePlan> &plans, SavePlan &plan)
{
    plan.settings.reserve(plans.size());
    for (std::size_t v = 0; v < plans.size(); ++v) {
        if (plans[v].place == Place::Untouched)
            continue;
        const VariableOptions &variable = matcher.variables()[v];
        plan.settings.push_back(SettingPlan{variable.valueOption(), variable.indices, fateOf(plans[v]),
                                            std::move(plans[v].before), std::move(plans[v].value)});
    }
}

} // namespace

std::size_t SavePlan::count(SettingFate fate) const
{
    std::size_t n = 0;
    for (const SettingPlan &setting : settings)
        n += setting.fate == fate ? 1 : 0;
    return n;
}

std::string OptionRecordText(std::string_view variableName, std::string_view value)
{
    std::string text = "seta ";
    text.append(variableName);
    text.push_back(' ');
    text.append(inQuotes(writtenValue(value)));
    return text;
}

SavePlan PlanSave(const SaveInputs &inputs)
{
    SavePlan plan;
    std::optional<OptionMatcher> built;
    const OptionMatcher &matcher = inputs.matcher ? *inputs.matcher : built.emplace(inputs.tree);
    std::vector<VariablePlan> plans = planVariables(matcher, inputs);
    plan.outcome = refuseValuesTooLong(matcher, inputs.tree, plans);
    if (plan.outcome.failed())
        return plan;
    plan.warnings = unreadableNames(matcher, inputs.tree, plans);

    TextEnd end;
    std::string out = rewriteCommands(inputs.text, matcher, plans, plan, end);
    const std::string_view lineEnd = lineEndOf(inputs.text);
    leaveOutWhatTheEngineLacks(inputs, matcher, plans);
    leaveToTheFilesThatSetThem(inputs, matcher, plans);
    leaveOutDefaultsPastTheLimit(out, lineEnd, matcher, plans);
    const std::size_t rewrittenSize = out.size();
    for (std::size_t v = 0; v < plans.size(); ++v) {
        if (!plans[v].needsAddition())
            continue;
        if (end.stopsEarly || end.inComment) {
            plan.outcome = refuseAdditionPastTheEnd(end);
            return plan;
        }
        if (!endsWithALineEnd(out))
            out.append(lineEnd);
        out.append(OptionRecordText(matcher.variables()[v].name, plans[v].value));
        out.append(lineEnd);
        plans[v].place = Place::Added;
        ++plan.commandsAdded;
    }
    if (out.size() > rewrittenSize)
        plan.edits.push_back({inputs.text.size(), inputs.text.size(), out.substr(rewrittenSize)});
    if (Outcome cut = refuseMovingACutScan(inputs.text, out, matcher, plans, end); cut.failed()) {
        plan.outcome = cut;
        return plan;
    }
    plan.warnings += sizeWarning(out);
    plan.text = std::move(out);
    if (inputs.later) {
        const LaterFiles winning = stillWinning(*inputs.later, plans);
        plan.willNotHold = valuesThatWillNotHold(matcher, inputs, winning, plans);
        if (!inputs.intoLaterFiles)
            plan.warnings += describe(plan.willNotHold, inputs.tree);
        plan.warnings += inputs.later->notRead;
        plan.setLater = ByOption(winning, matcher);
    }
    reportSettings(matcher, plans, plan);
    return plan;
}

SavePlan PlanInPlaceSave(const SaveInputs &inputs, const std::vector<std::size_t> &variables)
{
    SavePlan plan;
    const std::string_view text = inputs.text;
    const OptionTree &tree = inputs.tree;
    std::optional<OptionMatcher> built;
    const OptionMatcher &matcher = inputs.matcher ? *inputs.matcher : built.emplace(tree);
    std::vector<VariablePlan> plans = planVariables(matcher, inputs);
    std::vector<bool> chosen(plans.size(), false);
    for (const std::size_t v : variables)
        chosen[v] = true;
    for (std::size_t v = 0; v < plans.size(); ++v) {
        if (!chosen[v])
            plans[v].place = Place::Untouched;
    }
    plan.outcome = refuseValuesTooLong(matcher, tree, plans);
    if (plan.outcome.failed())
        return plan;
    TextEnd end;
    std::string out = rewriteCommands(text, matcher, plans, plan, end);
    for (const std::size_t v : variables) {
        if (plans[v].place != Place::RewrittenLast) {
            plan.outcome = {Failure::NotInPlace,
                            "The setting of " + inQuotes(tree.item(matcher.variables()[v].valueOption()).text) +
                                " there cannot be changed where it stands: the game cuts its line, the value "
                                "would make it too long for the game, or a comment lies in it. Change it by hand."};
            return plan;
        }
    }
    if (Outcome cut = refuseMovingACutScan(text, out, matcher, plans, end); cut.failed()) {
        plan.outcome = cut;
        return plan;
    }
    plan.warnings = sizeWarning(out);
    plan.text = std::move(out);
    reportSettings(matcher, plans, plan);
    return plan;
}

std::string SaveSummary(const SavePlan &plan)
{
    const std::size_t changed = plan.count(SettingFate::Changed);
    const std::size_t added = plan.count(SettingFate::AddedAtDefault);
    if (changed == 0 && added == 0)
        return "Nothing changed: the file already held every value";
    const std::size_t notInEngine = plan.count(SettingFate::LeftOutNotInEngine);
    const std::size_t setElsewhere = plan.count(SettingFate::LeftOutSetElsewhere);
    return std::to_string(changed) + (changed == 1 ? " setting" : " settings") + " changed, " + std::to_string(added) +
           " added at " + (added == 1 ? "its" : "their") + " default, " +
           std::to_string(plan.count(SettingFate::AlreadyRight)) + " already right" +
           (notInEngine == 0 ? ""
                             : ", " + std::to_string(notInEngine) + " not added, as your engine does not have " +
                                   (notInEngine == 1 ? "it" : "them")) +
           (setElsewhere == 0 ? ""
                              : ", " + std::to_string(setElsewhere) + " left to the other files the game runs, " +
                                    (setElsewhere == 1 ? "which sets it" : "which set them"));
}

std::vector<std::size_t> SavePlan::writtenOptions() const
{
    std::vector<std::size_t> options;
    for (const SettingPlan &setting : settings) {
        if (setting.fate != SettingFate::NameUnreadable && setting.fate != SettingFate::LeftOutAtDefault &&
            setting.fate != SettingFate::LeftOutNotInEngine && setting.fate != SettingFate::LeftOutSetElsewhere)
            options.insert(options.end(), setting.options.begin(), setting.options.end());
    }
    return options;
}

} // namespace cvarden
