// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "optionmatcher.h"

namespace cvarden {

// Where a value the game ends with comes from, when it is not the chosen file.
struct LaterSetting {
    std::string file;     // as the game names it, relative to the game folder
    std::size_t line = 0; // counted from 1
    std::string value;
    std::string path; // where it was read
    // The chosen file runs to its end after it (the setting is in a file
    // the chosen one runs, or a later file runs the chosen one again): a
    // setting added at its end comes after it.
    bool beforeTheChosenFileEnds = false;
};

// What the game runs after (and from) the chosen file: every engine runs
// `autoexec.cfg` from the same folder once `q3config.cfg` is done, and each
// of them may run further files with `exec`. A value set there comes back at
// every start, whatever was saved into the chosen file.
struct LaterFiles {
    // By the matcher's list: the command that gives each variable the value
    // the game ends with, where that command is not in the chosen file.
    std::vector<std::optional<LaterSetting>> overrides;
    // Files that were named but not read, each with why, one line each.
    std::string notRead;

    std::size_t overriddenCount() const;
};

// Runs the chosen file's `exec` commands and then `autoexec.cfg` in its
// folder, as the game does: `exec x` runs `x.cfg`, looked up in the chosen
// file's folder and then, for a mod's folder, in `baseq3` beside it. Each file
// is read as the game reads it and followed once, so a loop of `exec`s ends;
// files inside `.pk3` archives and in the game's install folder are not read.
// `chosenText` is what the chosen file holds.
LaterFiles ReadLaterFiles(const std::string &chosenPath, std::string_view chosenText, const OptionMatcher &matcher);

// By option index, what a file the game runs after the chosen one sets
// again, for the player to see beside the option.
std::map<std::size_t, LaterSetting> ByOption(const LaterFiles &later, const OptionMatcher &matcher);

// The same, for the chosen file read afresh; and what was not read.
struct OverriddenOptions {
    std::map<std::size_t, LaterSetting> options;
    std::string notRead;
};
OverriddenOptions FindOverriddenOptions(const std::string &chosenPath, const OptionTree &tree);

// The store's name for the game file opened or saved last: a command that
// names no file (`get`) tells from it what the game sets again at every start.
constexpr const char *lastGameFileName = "lastGameFile";

// "playzone/settings.cfg line 40 sets it to 16"
std::string DescribeLaterSetting(const LaterSetting &setting);

} // namespace cvarden
