#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "optiontree.h"

namespace cvarden {

// The options of one game variable, in tree order.
struct VariableOptions {
    std::string name;
    std::vector<std::size_t> indices;
};

// Finds the options a line of the game's file belongs to. A line belongs to an
// option when it starts with "seta ", the option's variable name, and then a
// byte that ends a name for the game (a blank, a control byte or a double
// quote): "seta abc 1" is not a line of the option "ab".
class OptionMatcher {
public:
    explicit OptionMatcher(const OptionTree &tree);

    // Puts into `variables` the variables the line sets (one, but for a
    // catalogue whose names hold blanks), in order of their first option;
    // leaves it empty when the line is no option's.
    void match(std::string_view line, std::vector<const VariableOptions *> &variables) const;

    // The options of the named variable; it must be one of the catalogue's.
    const VariableOptions &variable(const std::string &name) const;

    // "seta " and the variable name: what a line of the variable starts with.
    static std::string prefixOf(std::string_view variableName);
    static constexpr std::size_t commandLength = 5; // "seta "

private:
    std::vector<VariableOptions> variables_;
    std::unordered_map<std::string_view, std::size_t> variableByName_; // views into variables_
    std::vector<std::size_t> nameLengths_; // distinct, ascending
};

} // namespace cvarden
