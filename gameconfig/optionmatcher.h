#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "optiontree.h"

namespace cvarden {

// Finds the options a line of the game's file belongs to. A line belongs to an
// option when it starts with "seta ", the option's variable name, and then a
// byte that ends a name for the game (a blank, a control byte or a double
// quote): "seta abc 1" is not a line of the option "ab".
class OptionMatcher {
public:
    explicit OptionMatcher(const OptionTree &tree);

    // Puts into `indices` the tree indices of the options the line belongs to,
    // in tree order; leaves it empty when there are none.
    void match(std::string_view line, std::vector<std::size_t> &indices) const;

    // "seta " and the variable name: what a line of the option starts with.
    static std::string prefixOf(std::string_view variableName);
    static constexpr std::size_t commandLength = 5; // "seta "

private:
    std::vector<std::string> names_; // owns the text the map's views point at
    std::unordered_map<std::string_view, std::vector<std::size_t>> indicesByName_;
    std::vector<std::size_t> nameLengths_; // distinct, ascending
};

} // namespace cvarden
