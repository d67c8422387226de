#pragma once

#include <string>

#include "descriptiontable.h"
#include "optiontree.h"

namespace cvarden {

// Reads the catalogue file at `path` into the tree (its folders, then one
// option node per entry) and the description table. Catalogue errors are
// skipped and loading goes on; nothing is ever reported for them. Returns the
// empty text when the file was read, else why it could not be read.
// Choice-list files are looked up in the catalogue file's folder.
std::string OpenOptions(const std::string &path, OptionTree &tree, DescriptionTable &descriptions);

} // namespace cvarden
