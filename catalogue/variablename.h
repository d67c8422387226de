// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace cvarden {

// Why the game would not read `name` as one word after "seta", or the empty
// text when it would. The game splits its configuration into commands at
// ";" and into words at blanks and control bytes; a double quote starts a
// quoted word, and "//" or "/*" a comment. On the usual builds, where a char
// is signed, bytes above 127 count as blanks too. A variable name holding any
// of these would be cut short, and what follows it run as something else; one
// holding a backslash the game's variable table refuses.
// A name too long for the command `seta NAME ""` to fit in the 1,023 bytes
// the game reads of a command is cut too.
std::string WhyNotOneWord(std::string_view name);

// The longest variable name the game reads whole: its command holds
// "seta ", the name and at least ` ""` within 1,023 bytes.
constexpr std::size_t longestVariableName = 1023 - 8;

// The name as a message shows it: a long one cut short, with its length.
std::string ShownVariableName(std::string_view name);

} // namespace cvarden
