// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "optionmatcher.h"

namespace cvarden {

// What the game makes of a text, as far as Cvarden reads or keeps it.

// The value each catalogued variable ends with, by its place in the
// matcher's list: the last `seta`, `set`, `sets` or `setu` for it that sets
// a value, if any.
std::vector<std::optional<std::string>> LastValuesSet(std::string_view text, const OptionMatcher &matcher);

// Whether the game runs the same commands, word by word, for both texts,
// leaving out the commands that set catalogued variables. Read side by side,
// so that a file of many megabytes is never held twice more.
bool SameOtherCommands(std::string_view before, std::string_view after, const OptionMatcher &matcher);

} // namespace cvarden
