// SPDX-License-Identifier: GPL-2.0-or-later
#include "commandusage.h"

#include <algorithm>
#include <cctype>
#include <sstream>

#include "closestnames.h"
#include "fileproblems.h"

namespace cvarden {
namespace {

using fileproblems::inQuotes;

bool looksLikeOption(const std::string &word)
{
    // "-" alone, and a negative number such as a value "-1" or "-.5", are no
    // options.
    return word.size() > 1 && word[0] == '-' && !(std::isdigit(static_cast<unsigned char>(word[1])) || word[1] == '.');
}

const CommandShape::Flag *flagNamed(const CommandShape &shape, const std::string &name)
{
    for (const CommandShape::Flag &flag : shape.flags) {
        if (flag.name == name)
            return &flag;
    }
    return nullptr;
}

std::string unknownOption(const CommandShape &shape, const std::string &word)
{
    std::vector<std::string> names;
    for (const CommandShape::Flag &flag : shape.flags)
        names.push_back(flag.name);
    std::string message = "no option " + inQuotes(word);
    if (const std::string guess = DidYouMean(word, names); !guess.empty())
        message += "; " + guess;
    else if (names.empty())
        message += "; it takes none";
    if (!shape.arguments.empty())
        message += " (a " + shape.arguments.back() + " that starts with \"-\" goes after \"--\")";
    return message;
}

std::string missing(const CommandShape &shape, std::size_t given)
{
    std::string names;
    for (std::size_t i = given; i < shape.required; ++i)
        names += (names.empty() ? "" : " and ") + shape.arguments[i];
    return names + (shape.required - given == 1 ? " is missing" : " are missing");
}

std::string tooMany(const CommandShape &shape, const std::vector<std::string> &positional)
{
    if (shape.arguments.empty())
        return "it takes no arguments, but was given " + inQuotes(positional.front());
    std::string extra;
    for (std::size_t i = shape.arguments.size(); i < positional.size(); ++i)
        extra += (extra.empty() ? "" : ", ") + inQuotes(positional[i]);
    return "too many arguments: " + extra + " after " + shape.arguments.back();
}

} // namespace

CommandShape ShapeOf(std::string_view usage)
{
    CommandShape shape;
    std::istringstream words(UsageWords(usage));
    std::string word;
    words >> word; // the command's name
    bool inBrackets = false;
    while (words >> word) {
        const bool opens = word.front() == '[';
        const bool closes = word.back() == ']';
        const std::string bare = word.substr(opens ? 1 : 0, word.size() - (opens ? 1 : 0) - (closes ? 1 : 0));
        if (bare.rfind("--", 0) == 0)
            shape.flags.push_back({bare, {}});
        else if (inBrackets && !opens && !shape.flags.empty() && shape.flags.back().value.empty())
            shape.flags.back().value = bare; // "[--engine NAME]"
        else {
            shape.arguments.push_back(bare);
            if (!opens)
                shape.required = shape.arguments.size();
        }
        inBrackets = (inBrackets || opens) && !closes;
    }
    return shape;
}

std::string UsageWords(std::string_view usage)
{
    const std::string_view firstLine = usage.substr(0, usage.find('\n'));
    return std::string(firstLine.substr(0, firstLine.find("  ")));
}

std::string CheckUsage(const CommandShape &shape, std::vector<std::string> &words)
{
    std::vector<std::string> flags;
    std::vector<std::string> positional;
    bool flagsEnded = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string &word = words[i];
        if (!flagsEnded && word == "--") {
            flagsEnded = true;
            continue;
        }
        if (flagsEnded || !looksLikeOption(word)) {
            positional.push_back(word);
            continue;
        }
        const CommandShape::Flag *flag = flagNamed(shape, word);
        if (!flag)
            return unknownOption(shape, word);
        if (!positional.empty())
            return "the option " + inQuotes(word) + " comes after " + inQuotes(positional.back()) +
                   "; options go before the command's other words";
        flags.push_back(word);
        if (!flag->value.empty()) {
            if (i + 1 == words.size())
                return "the option " + inQuotes(word) + " needs a " + flag->value + " after it";
            flags.push_back(words[++i]);
        }
    }
    if (positional.size() < shape.required)
        return missing(shape, positional.size());
    if (positional.size() > shape.arguments.size())
        return tooMany(shape, positional);
    words = flags;
    words.insert(words.end(), positional.begin(), positional.end());
    return {};
}

std::string DidYouMean(const std::string &typed, const std::vector<std::string> &known)
{
    const std::vector<std::string> closest = ClosestNames(typed, known);
    std::string message;
    for (std::size_t i = 0; i < closest.size(); ++i)
        message += (i == 0 ? "did you mean \"" : i + 1 == closest.size() ? "\" or \"" : "\", \"") + closest[i];
    return message.empty() ? message : message + "\"?";
}

std::string NoCommandNamed(const std::string &command, const std::vector<std::string> &commands)
{
    const std::string guess = DidYouMean(command, commands);
    return "no command is named " + inQuotes(command) + "; " +
           (guess.empty() ? std::string("\"cvarden-cli --help\" lists them") : guess);
}

std::vector<std::string> OptionNamesInHelp(std::string_view help)
{
    std::vector<std::string> names;
    std::istringstream lines{std::string(help)};
    bool inOptions = false;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("Options:", 0) == 0 || line.rfind("Arguments:", 0) == 0) {
            inOptions = line[0] == 'O';
            continue;
        }
        if (!inOptions)
            continue;
        // "  -h, --help, --help-all    Displays ..."
        std::istringstream words(line.substr(0, line.find("  ", 2)));
        for (std::string word; words >> word;) {
            if (word.back() == ',')
                word.pop_back();
            if (word.rfind("--", 0) == 0)
                names.push_back(word);
        }
    }
    return names;
}

} // namespace cvarden
