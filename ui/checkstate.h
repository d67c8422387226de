// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <Qt>
#include <optional>
#include <string>
#include <string_view>

namespace cvarden {

// An on/off option is stored as "0" (clear), "1" (ticked) or "2" (grey). The
// game reads the value as a number, so another spelling of those numbers
// ("1.0", " 1", "01", as game files hold) has the same state. Any other text
// (an empty value taken over from the game's file, "-1", a word) has no state:
// the answer is empty.
std::optional<Qt::CheckState> CheckStateOf(std::string_view stored);

std::string StoredCheckState(Qt::CheckState state);

} // namespace cvarden
