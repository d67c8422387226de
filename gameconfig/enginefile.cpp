#include "enginefile.h"

#include "gamecommands.h"
#include "normalize.h"

namespace cvarden {

std::vector<std::string> SetaNames(std::string_view fileText)
{
    std::vector<std::string> names;
    GameCommandReader reader(fileText);
    GameCommand command;
    while (reader.next(command)) {
        if (!command.isSeta())
            continue;
        reader.readAllWords(command);
        if (command.words.size() > 2)
            names.emplace_back(command.words[1].text);
    }
    return names;
}

std::string DetectEngineOfFile(const EngineFacts &facts, const std::string &path, EngineDetection &detection)
{
    detection = EngineDetection();
    std::string bytes;
    if (std::string failure = ReadGameFile(path, bytes); !failure.empty())
        return failure;
    detection = DetectEngine(facts, SetaNames(bytes));
    return {};
}

} // namespace cvarden
