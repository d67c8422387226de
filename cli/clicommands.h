#pragma once

#include <QStringList>
#include <string>
#include <vector>

namespace cvarden {

// What every command works with: the catalogue, and the player's own store.
struct CliContext {
    std::string cataloguePath;
    // The command's words after its name, as the bytes they were given.
    std::vector<std::string> arguments;
};

// Each command returns the process's exit status: 0 done, 1 failed (said on
// stderr), 2 used wrongly.
int RunCliCommand(const std::string &command, const CliContext &context);

// The commands and what they take, for --help.
QString CliCommandSummary();

} // namespace cvarden
