// SPDX-License-Identifier: GPL-2.0-or-later
#include "gamerun.h"

#include "gamecommands.h"

namespace cvarden {

std::vector<std::optional<std::string>> LastValuesSet(std::string_view text, const OptionMatcher &matcher)
{
    std::vector<std::optional<std::string>> values(matcher.variables().size());
    GameCommandReader reader(text);
    for (GameCommand command; reader.next(command);) {
        const VariableOptions *variable = matcher.variableSetBy(command);
        if (variable == nullptr)
            continue;
        reader.readAllWords(command);
        if (command.words.size() > 2)
            values[matcher.positionOf(*variable)] = command.valueSet();
    }
    return values;
}

namespace {

// The next command with words that does not set a catalogued variable.
bool nextOtherCommand(GameCommandReader &reader, GameCommand &command, const OptionMatcher &matcher)
{
    while (reader.next(command)) {
        if (matcher.variableSetBy(command) != nullptr)
            continue;
        reader.readAllWords(command);
        if (!command.words.empty())
            return true;
    }
    return false;
}

bool sameWords(const GameCommand &a, const GameCommand &b)
{
    if (a.words.size() != b.words.size())
        return false;
    for (std::size_t i = 0; i < a.words.size(); ++i) {
        if (a.words[i].text != b.words[i].text)
            return false;
    }
    return true;
}

} // namespace

bool SameOtherCommands(std::string_view before, std::string_view after, const OptionMatcher &matcher)
{
    GameCommandReader was(before);
    GameCommandReader is(after);
    GameCommand a;
    GameCommand b;
    for (;;) {
        const bool more = nextOtherCommand(was, a, matcher);
        if (more != nextOtherCommand(is, b, matcher))
            return false;
        if (!more)
            return true;
        if (!sameWords(a, b))
            return false;
    }
}

} // namespace cvarden
