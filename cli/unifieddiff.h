// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace cvarden {

// A unified diff, in records of the line model, of `before` against `after`,
// headed by the two labels; the empty text when they are the same. Line ends
// are not shown: both texts are normalized, and a record is shown as the game
// reads it, one line each.
std::string UnifiedDiff(std::string_view before, std::string_view after, const std::string &beforeLabel,
                        const std::string &afterLabel);

} // namespace cvarden
