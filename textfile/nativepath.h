// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

namespace cvarden {

// The core's paths are std::string. On Windows they are UTF-8, and every
// file call takes them through here to the system's wide form: its narrow
// calls would read the same bytes in the local code page, which cannot even
// name a folder such as "Игрок" where the code page is 1252. Elsewhere a path
// stays the bytes the system gave, whatever their encoding.

std::filesystem::path NativePath(const std::string &path);

// Back to the core's form: UTF-8 on Windows, the bytes elsewhere.
std::string CorePath(const std::filesystem::path &path);

// std::fopen on a core path.
std::FILE *OpenFile(const std::string &path, const char *mode);

} // namespace cvarden
