// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>
#include <vector>

namespace cvarden {

// The names a mistyped `typed` most likely meant, closest first, at most
// `most` of them: those a few typing slips away (letter case aside), and
// those that hold the typed text. None when nothing comes close.
std::vector<std::string> ClosestNames(const std::string &typed, const std::vector<std::string> &names,
                                      std::size_t most = 3);

} // namespace cvarden
