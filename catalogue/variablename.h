// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

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
std::string WhyNotOneWord(std::string_view name);

} // namespace cvarden
