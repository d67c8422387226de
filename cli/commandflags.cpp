// SPDX-License-Identifier: GPL-2.0-or-later
#include "commandflags.h"

#include <algorithm>

namespace cvarden {

bool OnlyFlags(const std::vector<std::string> &words, std::initializer_list<std::string_view> known)
{
    return std::all_of(words.begin(), words.end(), [known](const std::string &word) {
        return std::find(known.begin(), known.end(), word) != known.end();
    });
}

bool HasFlag(const std::vector<std::string> &words, std::string_view flag)
{
    return std::find(words.begin(), words.end(), flag) != words.end();
}

} // namespace cvarden
