#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "descriptiontable.h"
#include "optiontree.h"

namespace cvarden {

// Something a catalogue author should fix, at a line of the catalogue.
struct CatalogueFinding {
    std::size_t line = 0;
    std::string text;
};

// Reads the catalogue file at `path` into the tree (its folders, then one
// option node per entry) and the description table. Catalogue errors are
// skipped and loading goes on: the player never hears of them, but when
// `findings` is given, each one is noted there for the catalogue's author.
// Returns the empty text when the file was read, else why it could not be.
// Choice-list files are looked up in the catalogue file's folder, and only
// there. A catalogue or choice list that is not a regular file, or is larger
// than 64 MiB, is not read.
[[nodiscard]] std::string OpenOptions(const std::string &path, OptionTree &tree, DescriptionTable &descriptions,
                        std::vector<CatalogueFinding> *findings = nullptr);

} // namespace cvarden
