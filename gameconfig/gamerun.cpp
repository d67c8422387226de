#include "gamerun.h"

#include "gamecommands.h"

namespace cvarden {

std::vector<std::optional<std::string>> LastSetaValues(std::string_view text, const OptionMatcher &matcher)
{
    std::vector<std::optional<std::string>> values(matcher.variables().size());
    GameCommandReader reader(text);
    for (GameCommand command; reader.next(command);) {
        const VariableOptions *variable = matcher.variableSetBy(command);
        if (variable == nullptr)
            continue;
        reader.readAllWords(command);
        if (command.words.size() > 2)
            values[matcher.positionOf(*variable)] = command.setaValue();
    }
    return values;
}

std::vector<std::string> OtherCommands(std::string_view text, const OptionMatcher &matcher)
{
    std::vector<std::string> commands;
    GameCommandReader reader(text);
    for (GameCommand command; reader.next(command);) {
        if (matcher.variableSetBy(command) != nullptr)
            continue;
        reader.readAllWords(command);
        std::string joined;
        for (const GameWord &word : command.words)
            joined.append(word.text).push_back('\0');
        if (!joined.empty())
            commands.push_back(std::move(joined));
    }
    return commands;
}

} // namespace cvarden
