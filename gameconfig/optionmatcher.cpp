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
    std::vector<std::pair<std::string, std::size_t>> options;
    for (std::size_t i = 1; i <= tree.count(); ++i) {
        if (tree.item(i).hasParent())
            options.emplace_back(Module1::OptionVarName(tree.item(i).key), i);
    }
    names_.reserve(options.size());
    for (auto &[name, index] : options) {
        auto found = indicesByName_.find(name);
        if (found == indicesByName_.end()) {
            names_.push_back(std::move(name));
            found = indicesByName_.emplace(names_.back(), std::vector<std::size_t>()).first;
            nameLengths_.push_back(names_.back().size());
        }
        found->second.push_back(index);
    }
    std::sort(nameLengths_.begin(), nameLengths_.end());
    nameLengths_.erase(std::unique(nameLengths_.begin(), nameLengths_.end()), nameLengths_.end());
}

void OptionMatcher::match(std::string_view line, std::vector<std::size_t> &indices) const
{
    indices.clear();
    if (line.substr(0, commandLength) != "seta ")
        return;
    std::size_t namesMatched = 0;
    for (const std::size_t length : nameLengths_) {
        const std::size_t end = commandLength + length;
        if (end >= line.size())
            break;
        if (!endsName(line[end]))
            continue;
        const auto found = indicesByName_.find(line.substr(commandLength, length));
        if (found == indicesByName_.end())
            continue;
        indices.insert(indices.end(), found->second.begin(), found->second.end());
        ++namesMatched;
    }
    // Only a catalogue whose variable names hold blanks can match one line twice.
    if (namesMatched > 1)
        std::sort(indices.begin(), indices.end());
}

std::string OptionMatcher::prefixOf(std::string_view variableName)
{
    std::string prefix = "seta ";
    prefix.append(variableName);
    return prefix;
}

} // namespace cvarden
