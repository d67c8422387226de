// SPDX-License-Identifier: GPL-2.0-or-later
#include "variablename.h"

namespace cvarden {

std::string WhyNotOneWord(std::string_view name)
{
    if (name.empty())
        return "it is empty";
    if (name.size() > longestVariableName)
        return "it is too long: the game cuts a command after 1023 bytes, which leaves room for a name of " +
               std::to_string(longestVariableName) + " bytes";
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto byte = static_cast<unsigned char>(name[i]);
        if (byte <= 0x20)
            return "it holds a blank or a control byte, which ends a word";
        if (byte >= 0x80)
            return "it holds a byte above 127, which the usual builds of the game take for a blank";
        if (byte == ';')
            return "it holds a \";\", which ends the command";
        if (byte == '"')
            return "it holds a double quote, which starts a quoted word";
        if (byte == '\\')
            return "it holds a backslash, which the game refuses in a variable name";
        if (byte == '/' && i + 1 < name.size() && (name[i + 1] == '/' || name[i + 1] == '*'))
            return "it holds \"" + std::string(name.substr(i, 2)) + "\", which starts a comment";
    }
    return {};
}

std::string ShownVariableName(std::string_view name)
{
    constexpr std::size_t shown = 40;
    if (name.size() <= shown)
        return "\"" + std::string(name) + "\"";
    return "\"" + std::string(name.substr(0, shown)) + "...\" (" + std::to_string(name.size()) + " bytes)";
}

} // namespace cvarden
