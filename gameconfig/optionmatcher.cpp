#include "optionmatcher.h"

#include <algorithm>

#include "optionkey.h"

namespace cvarden {
namespace {

bool endsName(char c)
{
    return static_cast<unsigned char>(c) <= ' ' || c == '"';
}

} // namespace

OptionMatcher::OptionMatcher(const OptionTree &tree)
{
    std::unordered_map<std::string, std::size_t> positions;
    for (std::size_t i = 1; i <= tree.count(); ++i) {
        if (!tree.item(i).hasParent())
            continue;
        std::string name = Module1::OptionVarName(tree.item(i).key);
        const auto [position, isNew] = positions.try_emplace(name, variables_.size());
        if (isNew)
            variables_.push_back({std::move(name), {}});
        variables_[position->second].indices.push_back(i);
    }
    // The views are taken once the vector no longer moves.
    for (std::size_t v = 0; v < variables_.size(); ++v) {
        variableByName_.emplace(variables_[v].name, v);
        nameLengths_.push_back(variables_[v].name.size());
    }
    std::sort(nameLengths_.begin(), nameLengths_.end());
    nameLengths_.erase(std::unique(nameLengths_.begin(), nameLengths_.end()), nameLengths_.end());
}

void OptionMatcher::match(std::string_view line, std::vector<const VariableOptions *> &variables) const
{
    variables.clear();
    if (line.substr(0, commandLength) != "seta ")
        return;
    for (const std::size_t length : nameLengths_) {
        const std::size_t end = commandLength + length;
        if (end >= line.size())
            break;
        if (!endsName(line[end]))
            continue;
        const auto found = variableByName_.find(line.substr(commandLength, length));
        if (found != variableByName_.end())
            variables.push_back(&variables_[found->second]);
    }
    // Only a catalogue whose variable names hold blanks can match one line twice.
    if (variables.size() > 1)
        std::sort(variables.begin(), variables.end(),
                  [](const VariableOptions *a, const VariableOptions *b) { return a->indices[0] < b->indices[0]; });
}

const VariableOptions &OptionMatcher::variable(const std::string &name) const
{
    return variables_[variableByName_.at(name)];
}

std::string OptionMatcher::prefixOf(std::string_view variableName)
{
    std::string prefix = "seta ";
    prefix.append(variableName);
    return prefix;
}

} // namespace cvarden
