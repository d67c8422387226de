// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstring>
#include <string>
#include <string_view>

// The words shared by the messages of every layer.
namespace cvarden::fileproblems {

// A name, a path or a value as the messages show it: in double quotes.
inline std::string inQuotes(std::string_view text)
{
    std::string out = "\"";
    out.append(text);
    out.push_back('"');
    return out;
}

inline std::string reason(int error)
{
    return std::strerror(error);
}

} // namespace cvarden::fileproblems
