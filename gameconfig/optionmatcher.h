// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "gamecommands.h"
#include "optiontree.h"

namespace cvarden {

// The options of one game variable, in tree order. Options whose names differ
// only in letter case edit one variable: the game finds variables by name
// ignoring case.
struct VariableOptions {
    std::string name; // as its first option spells it
    std::vector<std::size_t> indices;

    // The option whose value the variable is given: the last, as the game
    // ends with the last value set.
    std::size_t valueOption() const { return indices.back(); }
};

// Finds the catalogued variable that a command of the game's file sets.
class OptionMatcher {
public:
    explicit OptionMatcher(const OptionTree &tree);

    // The variable a `seta`, `set`, `sets` or `setu` command names, in any letter case; null for any
    // other command and for a variable the catalogue does not hold.
    const VariableOptions *variableSetBy(const GameCommand &command) const;

    // Every catalogued variable, in the order of its first option.
    const std::vector<VariableOptions> &variables() const { return variables_; }
    std::size_t positionOf(const VariableOptions &variable) const
    {
        return static_cast<std::size_t>(&variable - variables_.data());
    }

private:
    struct CaseBlindHash {
        std::size_t operator()(std::string_view name) const;
    };
    struct CaseBlindEqual {
        bool operator()(std::string_view a, std::string_view b) const { return EqualIgnoringCase(a, b); }
    };

    // Whether some catalogued name has this length (up to 63) and first
    // letter: most names a file sets are told apart by these alone, without
    // hashing them.
    bool mayBeCatalogued(std::string_view name) const;
    static std::size_t lengthAndLetter(std::string_view name);

    std::vector<VariableOptions> variables_;
    std::vector<bool> lengthsAndLetters_ = std::vector<bool>(64 * 256);
    // Views of the names in variables_.
    std::unordered_map<std::string_view, std::size_t, CaseBlindHash, CaseBlindEqual> variableByName_;
};

} // namespace cvarden
