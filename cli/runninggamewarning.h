// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdio>
#include <string>

namespace cvarden {

// Before an export into `path`: when one of the game's engines runs for this
// user, says on `err` that the game will write the file again when it quits.
// Returns whether the export goes on: always, unless `refuseWhileRunning` and
// an engine runs.
bool ExportGoesOn(const std::string &path, bool refuseWhileRunning, std::FILE *err);

} // namespace cvarden
