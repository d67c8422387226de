// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>

#include "laterfiles.h"
#include "optiontree.h"
#include "valuestore.h"

namespace cvarden {

struct ImportReport {
    Outcome outcome;
    std::size_t valuesTaken = 0; // options that were given a value
    std::size_t differed = 0;    // of those, the options that held another value before
    std::size_t setLater = 0;    // variables that files the game runs later set again
    std::map<std::size_t, LaterSetting> setLaterByOption{};
};

// Takes the values over from the text of a game file, as the game would end
// with them: for every catalogued variable, the value of the last `seta`,
// `set`, `sets` or `setu` command for it that the game runs, whatever the
// letter case, the blanks or the other commands around it. Every option of
// that variable is given the value; such a command with no value sets
// nothing. Only these four are followed: `vstr`, `toggle`, `reset` and a bare
// `name value` are not (at start-up the game has not yet registered most
// variables, so it ignores a bare `name value` there). The saves are
// committed together.
ImportReport ImportConfigText(std::string_view fileText, const OptionTree &tree, ValueStore &store);

// What an import did, in a sentence for the player: how many settings were
// read, and how many of them differ from the values stored before.
std::string ImportSummary(const ImportReport &report);

// Takes the values of the catalogued options over from the chosen game file
// into the store. The file is first normalized into its backup copy; it is
// never changed. Values saved before a failure stay saved. A store that
// cannot be read is refused before anything is read or written.
ImportReport ImportConfig(const std::string &chosenPath, const OptionTree &tree, ValueStore &store);

} // namespace cvarden
