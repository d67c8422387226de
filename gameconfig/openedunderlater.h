// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "laterfiles.h"
#include "optionmatcher.h"
#include "outcome.h"
#include "valuestore.h"

namespace cvarden {

// The values an Open took over from the chosen file although a file the game
// runs later sets them again to others. The game never ran with them, and
// they may be defaults an earlier save added, so they are not the player's
// choice until the player changes them: a save does not force them into
// that later file. They are kept among the store's own choices.

// Notes them for the Open just made, in place of what the Open before noted.
// `taken` is, by the matcher's list, the value each variable was given.
Outcome NoteValuesOpenedUnderLaterFiles(ValueStore &store, const OptionTree &tree, const OptionMatcher &matcher,
                                        const std::vector<std::optional<std::string>> &taken, const LaterFiles &later);

// What was noted: by option, the value the Open gave it.
std::map<std::string, std::string> ValuesOpenedUnderLaterFiles(const ValueStore &store);

} // namespace cvarden
