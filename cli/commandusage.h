// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace cvarden {

// What a command takes, read from its usage line, the way --help shows it:
// "export [--dry-run] [--if-game-stopped] FILE", "restore FILE [N]". Reading
// it from there keeps the checks and the help from ever disagreeing.
struct CommandShape {
    struct Flag {
        std::string name;  // "--dry-run"
        std::string value; // what follows it, as "[--engine NAME]" has it; empty for none
    };
    std::vector<Flag> flags;
    std::vector<std::string> arguments; // "FILE", "N", in their order
    std::size_t required = 0;           // how many of the arguments must be given
};

// The shape of the command whose usage line is `usage`: its first line, up
// to the two blanks before its description.
CommandShape ShapeOf(std::string_view usage);

// The part of a usage line that shows the command's words.
std::string UsageWords(std::string_view usage);

// Checks the words given after a command against its shape. When they fit,
// returns the empty text and leaves in `words` what the command reads: its
// flags (with their values) first, then its other words, without the "--"
// that may end the flags. Else says what is wrong, for the player.
std::string CheckUsage(const CommandShape &shape, std::vector<std::string> &words);

// "did you mean ..." for a mistyped word among `known`, or the empty text
// when none comes close.
std::string DidYouMean(const std::string &typed, const std::vector<std::string> &known);

// Says that no command is named `command`, with the closest of `commands`.
std::string NoCommandNamed(const std::string &command, const std::vector<std::string> &commands);

// The long options a QCommandLineParser's help text lists ("--catalogue").
std::vector<std::string> OptionNamesInHelp(std::string_view help);

} // namespace cvarden
