#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "optionmatcher.h"

namespace cvarden {

// What the game makes of a text, as far as Cvarden reads or keeps it.

// The value each catalogued variable ends with, by its place in the
// matcher's list: the last `seta` for it that sets a value, if any.
std::vector<std::optional<std::string>> LastSetaValues(std::string_view text, const OptionMatcher &matcher);

// Every other command the game runs, each as its words joined by NUL bytes
// (which no word can hold: the game reads no further than the first).
std::vector<std::string> OtherCommands(std::string_view text, const OptionMatcher &matcher);

} // namespace cvarden
