// SPDX-License-Identifier: GPL-2.0-or-later
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
        // Only `seta` marks a variable saved: the names an engine writes.
        if (!command.setsAVariable() || !EqualIgnoringCase(command.words[0].text, "seta"))
            continue;
        reader.readAllWords(command);
        if (command.words.size() > 2)
            names.emplace_back(command.words[1].text);
    }
    return names;
}

Outcome DetectEngineOfFile(const EngineFacts &facts, const std::string &path, EngineDetection &detection)
{
    detection = EngineDetection();
    std::string bytes;
    if (Outcome read = ReadGameFile(path, bytes); read.failed())
        return read;
    detection = DetectEngine(facts, SetaNames(bytes));
    return {};
}

} // namespace cvarden
