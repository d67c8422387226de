// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QStringList>
#include <cstdio>
#include <string>
#include <vector>

#include "valuestore.h"

namespace cvarden {

// What every command works with: the catalogue, the player's store, where
// earlier versions of game files are kept, and where its output goes.
struct CliContext {
    std::string cataloguePath;
    // The command's words after its name, as the bytes they were given.
    std::vector<std::string> arguments;
    ValueStore &store;
    std::string versionsFolder;
    std::FILE *out = stdout;
    std::FILE *err = stderr;
    // The engine given with --engine for this command, or empty.
    std::string engineOverride;
};

// Each command returns the process's exit status: 0 done, 1 failed (said on
// the error output), 2 used wrongly.
int RunCliCommand(const std::string &command, const CliContext &context);

// The commands and what they take, for --help.
QString CliCommandSummary();

} // namespace cvarden
