// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstring>
#include <string>

// The words shared by the file functions' messages.
namespace cvarden::fileproblems {

inline std::string quoted(const std::string &path)
{
    return "\"" + path + "\"";
}

inline std::string reason(int error)
{
    return std::strerror(error);
}

} // namespace cvarden::fileproblems
