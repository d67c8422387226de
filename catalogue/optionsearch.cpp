// SPDX-License-Identifier: GPL-2.0-or-later
#include "optionsearch.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace cvarden {
namespace {

bool ContainsFolded(std::string_view haystack, std::string_view needle)
{
    const auto equal = [](unsigned char a, unsigned char b) { return std::tolower(a) == std::tolower(b); };
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end(), equal) != haystack.end();
}

bool Matches(const OptionNode &node, std::string_view text)
{
    return node.hasParent() && (ContainsFolded(node.text, text) || ContainsFolded(node.variable(), text));
}

// The node indexes as the tree shows them: each folder, then its options.
std::vector<std::size_t> ShownOrder(const OptionTree &tree)
{
    std::vector<std::vector<std::size_t>> options(tree.count() + 1);
    for (std::size_t i = 1; i <= tree.count(); ++i)
        options[tree.item(i).parent].push_back(i);
    std::vector<std::size_t> order;
    order.reserve(tree.count());
    for (const std::size_t folder : options[OptionTree::noParent]) {
        order.push_back(folder);
        order.insert(order.end(), options[folder].begin(), options[folder].end());
    }
    return order;
}

} // namespace

std::size_t FindOption(const OptionTree &tree, std::string_view text, std::size_t node, SearchFrom from)
{
    const std::vector<std::size_t> order = ShownOrder(tree);
    if (order.empty())
        return 0;
    const auto at = std::find(order.begin(), order.end(), node);
    std::size_t first = at == order.end() ? 0 : static_cast<std::size_t>(at - order.begin());
    if (at != order.end() && from == SearchFrom::AfterTheNode)
        ++first;
    for (std::size_t step = 0; step < order.size(); ++step) {
        const std::size_t index = order[(first + step) % order.size()];
        if (Matches(tree.item(index), text))
            return index;
    }
    return 0;
}

} // namespace cvarden
