#include "optionsearch.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "optionkey.h"

namespace cvarden {
namespace {

bool ContainsFolded(std::string_view haystack, std::string_view needle)
{
    const auto equal = [](unsigned char a, unsigned char b) { return std::tolower(a) == std::tolower(b); };
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end(), equal) != haystack.end();
}

bool Matches(const OptionNode &node, std::string_view text)
{
    return node.hasParent() &&
           (ContainsFolded(node.text, text) || ContainsFolded(Module1::OptionVarName(node.key), text));
}

} // namespace

std::size_t FindOption(const OptionTree &tree, std::string_view text, std::size_t start)
{
    const std::size_t count = tree.count();
    if (count == 0)
        return 0;
    const std::size_t first = start == 0 ? 0 : (start - 1) % count;
    for (std::size_t step = 0; step < count; ++step) {
        const std::size_t index = (first + step) % count + 1;
        if (Matches(tree.item(index), text))
            return index;
    }
    return 0;
}

} // namespace cvarden
