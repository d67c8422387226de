// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace cvarden {

// Whether every word is one of the flags a command takes.
bool OnlyFlags(const std::vector<std::string> &words, std::initializer_list<std::string_view> known);

bool HasFlag(const std::vector<std::string> &words, std::string_view flag);

} // namespace cvarden
