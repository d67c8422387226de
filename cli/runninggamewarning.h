// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdio>
#include <string>

namespace cvarden {

// Before an export (or a restore, `undone` says which) into `path`: when one
// of the game's engines runs for this user, says on `err` that the game will
// write the file again when it quits. Returns whether the command goes on:
// always, unless `refuseWhileRunning` and an engine runs.
bool ExportGoesOn(const std::string &path, bool refuseWhileRunning, std::FILE *err,
                  const std::string &undone = "this export");

} // namespace cvarden
