#pragma once

#include <string>

#include "catalogue.h"

namespace cvarden {

// Reads the catalogue file at `path` into the tree (its folders, then one
// option node per entry) and the description table. Catalogue errors are
// skipped and loading goes on: the player never hears of them, but each one
// is noted in the findings for the catalogue's author.
// Returns the empty text when the file was read, else why it could not be.
// Choice-list files are looked up in the catalogue file's folder, and only
// there. A catalogue or choice list that is not a regular file, or is larger
// than 64 MiB, is not read.
[[nodiscard]] std::string OpenOptions(const std::string &path, Catalogue &catalogue);

} // namespace cvarden
