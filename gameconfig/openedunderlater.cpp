// SPDX-License-Identifier: GPL-2.0-or-later
#include "openedunderlater.h"

namespace cvarden {
namespace {

// The store's choice that holds them: lines of an option's name and its
// value, in turn. Neither can hold a line end (a catalogue entry is a line;
// the game ends a command at a line end).
constexpr const char *noteName = "openedUnderLaterFiles";

} // namespace

Outcome NoteValuesOpenedUnderLaterFiles(ValueStore &store, const OptionTree &tree, const OptionMatcher &matcher,
                                        const std::vector<std::optional<std::string>> &taken, const LaterFiles &later)
{
    std::string note;
    for (std::size_t v = 0; v < taken.size(); ++v) {
        const std::optional<LaterSetting> &setting = later.overrides[v];
        if (!taken[v] || !setting || setting->value == *taken[v])
            continue;
        for (const std::size_t option : matcher.variables()[v].indices)
            note += tree.item(option).text + "\n" + *taken[v] + "\n";
    }
    // Most Opens note what the one before did (nothing): no store write.
    if (store.GetChoice(noteName, {}) == note)
        return {};
    return store.SaveChoice(noteName, note);
}

std::map<std::string, std::string> ValuesOpenedUnderLaterFiles(const ValueStore &store)
{
    std::map<std::string, std::string> values;
    const std::string note = store.GetChoice(noteName, {});
    for (std::size_t at = 0; at < note.size();) {
        const std::size_t nameEnd = note.find('\n', at);
        const std::size_t valueEnd = nameEnd == std::string::npos ? nameEnd : note.find('\n', nameEnd + 1);
        if (valueEnd == std::string::npos)
            break;
        values[note.substr(at, nameEnd - at)] = note.substr(nameEnd + 1, valueEnd - nameEnd - 1);
        at = valueEnd + 1;
    }
    return values;
}

} // namespace cvarden
