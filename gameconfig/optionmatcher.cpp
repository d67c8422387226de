#include "optionmatcher.h"

#include "optionkey.h"

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
    std::unordered_map<std::string, std::size_t, CaseBlindHash, CaseBlindEqual> positions;
    for (std::size_t i = 1; i <= tree.count(); ++i) {
        if (!tree.item(i).hasParent())
            continue;
        std::string name = Module1::OptionVarName(tree.item(i).key);
        const auto [position, isNew] = positions.try_emplace(name, variables_.size());
        if (isNew)
            variables_.push_back({std::move(name), {}});
        variables_[position->second].indices.push_back(i);
    }
    for (std::size_t v = 0; v < variables_.size(); ++v)
        variableByName_.emplace(variables_[v].name, v);
}

const VariableOptions *OptionMatcher::variableSetBy(const GameCommand &command) const
{
    if (!command.isSeta())
        return nullptr;
    const auto found = variableByName_.find(command.words[1].text);
    return found == variableByName_.end() ? nullptr : &variables_[found->second];
}

} // namespace cvarden
