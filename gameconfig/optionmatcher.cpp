// SPDX-License-Identifier: GPL-2.0-or-later
#include "optionmatcher.h"

#include <algorithm>

namespace cvarden {

std::size_t OptionMatcher::CaseBlindHash::operator()(std::string_view name) const
{
    std::size_t hash = 14695981039346656037ull; // FNV-1a over the lower-cased bytes
    for (const char c : name) {
        hash ^= static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        hash *= 1099511628211ull;
    }
    return hash;
}

OptionMatcher::OptionMatcher(const OptionTree &tree)
{
    // Reserved so that the views of the names, the map's keys, never move
    // (and the map is never rehashed on the way).
    variables_.reserve(tree.count());
    variableByName_.reserve(tree.count());
    for (const OptionNode &option : tree.options()) {
        const std::size_t i = tree.indexOf(option);
        std::string name = option.variable();
        const auto found = variableByName_.find(name);
        if (found != variableByName_.end()) {
            variables_[found->second].indices.push_back(i);
            continue;
        }
        lengthsAndLetters_[lengthAndLetter(name)] = true;
        variables_.push_back({std::move(name), {i}});
        variableByName_.emplace(variables_.back().name, variables_.size() - 1);
    }
}

std::size_t OptionMatcher::lengthAndLetter(std::string_view name)
{
    const auto first = static_cast<unsigned char>(name.empty() ? 0 : name[0]);
    return std::min<std::size_t>(name.size(), 63) * 256 + (first >= 'A' && first <= 'Z' ? first - 'A' + 'a' : first);
}

bool OptionMatcher::mayBeCatalogued(std::string_view name) const
{
    return lengthsAndLetters_[lengthAndLetter(name)];
}

const VariableOptions *OptionMatcher::variableSetBy(const GameCommand &command) const
{
    if (!command.setsAVariable() || !mayBeCatalogued(command.words[1].text))
        return nullptr;
    const auto found = variableByName_.find(command.words[1].text);
    return found == variableByName_.end() ? nullptr : &variables_[found->second];
}

} // namespace cvarden
