// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>

#include "catalogue.h"
#include "outcome.h"

namespace cvarden {

// How closely the loader looks for the catalogue author's mistakes. Those it
// meets on the way are always noted; looking for the others (names the game
// would split, display names used twice) costs time at every start, so only
// the catalogue check asks for it.
enum class Checks { OnTheWay, Thorough };

// Reads the catalogue file at `path` into the tree (its folders, then one
// option node per entry) and the description table. Catalogue errors are
// skipped and loading goes on: the player never hears of them, but they are
// noted in the findings for the catalogue's author.
// Choice-list files are looked up in the catalogue file's folder, and only
// there. A catalogue or choice list that is not a regular file, or is larger
// than 64 MiB, is not read.
Outcome OpenOptions(const std::string &path, Catalogue &catalogue, Checks checks = Checks::OnTheWay);

} // namespace cvarden
