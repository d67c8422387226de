// SPDX-License-Identifier: GPL-2.0-or-later
#include "enginevalues.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace cvarden {
namespace {

// A choice list of a range offers each whole number of it; a wider range is
// no list a player would scroll.
constexpr double longestRangeList = 40;

// The number the text spells, as the engine's range check takes it: blanks
// before it are allowed, anything after it is not.
bool numberOf(const std::string &text, double &number)
{
    if (text.empty())
        return false;
    const char *start = text.c_str();
    char *end = nullptr;
    errno = 0;
    number = std::strtod(start, &end);
    return end != start && *end == '\0' && errno == 0 && std::isfinite(number);
}

std::string spelled(double number)
{
    if (number == std::trunc(number) && std::fabs(number) < 1e15)
        return std::to_string(static_cast<long long>(number));
    std::string text = std::to_string(number);
    text.erase(text.find_last_not_of('0') + 1);
    return text;
}

std::string listed(const std::vector<std::string> &values)
{
    std::string text;
    for (const std::string &value : values)
        text += (text.empty() ? "" : ", ") + value;
    return text;
}

std::string meaningOf(const VariableFacts *facts, const std::string &value)
{
    if (!facts)
        return {};
    for (const ValueMeaning &meaning : facts->meanings) {
        // "0,1" gives two values one meaning.
        std::size_t start = 0;
        for (std::size_t comma = 0; comma != std::string::npos; start = comma + 1) {
            comma = meaning.value.find(',', start);
            if (meaning.value.substr(start, comma == std::string::npos ? comma : comma - start) == value)
                return meaning.meaning;
        }
    }
    return {};
}

// The values a range of whole numbers holds, when it is short enough to list.
std::vector<std::string> rangeValues(const VariableFacts &facts)
{
    double low = 0;
    double high = 0;
    if (!facts.integer || facts.enforced == Enforced::MenuOnly || !numberOf(facts.min, low) ||
        !numberOf(facts.max, high) || high < low || high - low > longestRangeList)
        return {};
    std::vector<std::string> values;
    for (double each = low; each <= high; ++each)
        values.push_back(spelled(each));
    return values;
}

// An engine's label at the start of a sentence: "The 1.32 release", but
// "ioquake3" as its makers spell it.
std::string Sentence(std::string label)
{
    if (label.compare(0, 4, "the ") == 0)
        label[0] = 'T';
    return label;
}

} // namespace

std::string DefaultInUse(const EngineInUse &engine, const OptionNode &node)
{
    const VariableFacts *facts = engine.of(node.variable());
    return facts ? facts->defaultValue : node.defaultValue();
}

ValueVerdict JudgeValue(const VariableFacts &facts, const std::string &value)
{
    ValueVerdict verdict{ValueVerdict::Kept, value, {}};
    // The engine's own default stands outside its rules where it means
    // something of its own (sv_maxRate 0: no limit).
    if (facts.enforced == Enforced::None || facts.enforced == Enforced::MenuOnly || value == facts.defaultValue)
        return verdict;
    double number = 0;
    if (facts.number && !numberOf(value, number)) {
        // A range checked when set puts the default back; elsewhere the
        // engine reads the text as the number 0.
        if (facts.enforced == Enforced::WhenSet)
            return {ValueVerdict::Default, facts.defaultValue, "not a number"};
        verdict = {ValueVerdict::Cut, "0", "not a number, read as 0"};
        number = 0;
    } else if (facts.number && facts.integer && number != std::trunc(number)) {
        number = std::trunc(number);
        verdict = {ValueVerdict::Cut, spelled(number), "not a whole number"};
    }
    double bound = 0;
    if (facts.number && numberOf(facts.min, bound) && number < bound)
        return {ValueVerdict::Bound, facts.min, "below " + facts.min};
    if (facts.number && numberOf(facts.max, bound) && number > bound)
        return {ValueVerdict::Bound, facts.max, "above " + facts.max};
    const std::string &judged = verdict.kept() ? value : verdict.becomes;
    // Where a value is only read where used, its list says what the values
    // mean (logfile 3 logs as 2 does), not which ones the engine replaces.
    const bool replaces = facts.enforced == Enforced::WhenSet || facts.enforced == Enforced::Later;
    if (replaces && !facts.values.empty() &&
        std::find(facts.values.begin(), facts.values.end(), judged) == facts.values.end())
        return {ValueVerdict::NotOneOfItsValues, facts.defaultValue, "not one of " + listed(facts.values)};
    return verdict;
}

std::string VerdictSentence(Engine engine, const ValueVerdict &verdict)
{
    if (verdict.kept())
        return {};
    return Sentence(EngineLabel(engine)) + " uses " + (verdict.becomes.empty() ? "an empty value" : verdict.becomes) +
           " instead (" + verdict.why + ").";
}

std::string ValueProblem(const EngineInUse &engine, const std::string &variable, const std::string &value)
{
    if (!engine.facts)
        return {};
    if (engine.engine != Engine::None) {
        const VariableFacts *facts = engine.of(variable);
        return facts ? VerdictSentence(engine.engine, JudgeValue(*facts, value)) : std::string();
    }
    std::string sentences;
    for (const Engine each : ServedEngines()) {
        const VariableFacts *facts = engine.facts->of(each, engine.gameCode, variable);
        if (!facts)
            continue;
        const std::string sentence = VerdictSentence(each, JudgeValue(*facts, value));
        if (sentence.empty())
            return {};
        sentences += (sentences.empty() ? "" : " ") + sentence;
    }
    return sentences;
}

bool RunsAnywayWhenLeftOut(const EngineFacts &facts, Engine engine, GameCode gameCode, const std::string &variable,
                           const std::string &value, const std::string &catalogueDefault)
{
    if (engine != Engine::None) {
        const VariableFacts *own = facts.of(engine, gameCode, variable);
        return value == (own ? own->defaultValue : catalogueDefault);
    }
    bool anyRegisters = false;
    for (const Engine each : ServedEngines()) {
        for (const GameCode code : {GameCode::Release132, GameCode::Ioquake3}) {
            const VariableFacts *registered = facts.of(each, code, variable);
            if (!registered)
                continue;
            anyRegisters = true;
            if (registered->defaultValue != value)
                return false;
        }
    }
    return anyRegisters || value == catalogueDefault;
}

std::vector<ShownChoice> ChoicesInUse(const EngineInUse &engine, const OptionNode &node)
{
    const VariableFacts *facts = engine.of(node.variable());
    std::vector<std::string> values = node.choices;
    if (facts && !facts->values.empty() && facts->enforced != Enforced::MenuOnly)
        values = facts->values;
    else if (facts && !rangeValues(*facts).empty())
        values = rangeValues(*facts);
    std::vector<ShownChoice> shown;
    for (const std::string &value : values)
        shown.push_back({value, meaningOf(facts, value)});
    return shown;
}

std::string RestartSentence(Restart restart)
{
    switch (restart) {
    case Restart::Video:
        return "Needs vid_restart.";
    case Restart::Sound:
        return "Needs snd_restart.";
    case Restart::Network:
        return "Needs net_restart.";
    case Restart::Input:
        return "Needs in_restart.";
    case Restart::NextMap:
        return "Applies from the next map.";
    case Restart::Game:
        return "Needs a game restart.";
    case Restart::None:
        break;
    }
    return {};
}

std::string EngineNotes(const EngineInUse &engine, const std::string &variable, const std::string &alreadySaid)
{
    if (engine.engine == Engine::None || !engine.facts || engine.facts->empty())
        return {};
    const std::string label = Sentence(EngineLabel(engine.engine));
    const VariableFacts *facts = engine.of(variable);
    if (!facts)
        return label + " does not know this variable.";
    std::string notes;
    const auto add = [&notes, &alreadySaid](const std::string &sentence) {
        if (!sentence.empty() && alreadySaid.find(sentence) == std::string::npos)
            notes += (notes.empty() ? "" : " ") + sentence;
    };
    if (facts->saved == Saved::No)
        add(label + " does not save it by itself: only a seta line keeps it.");
    add(RestartSentence(facts->restart));
    if (!facts->note.empty())
        add(label + ": " + facts->note + ".");
    return notes;
}

} // namespace cvarden
