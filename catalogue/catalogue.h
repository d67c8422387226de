// SPDX-License-Identifier: GPL-2.0-or-later
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

// Everything read from the catalogue file: the option tree, the description
// of each entry, and the mistakes the loader noted on the way.
struct Catalogue {
    OptionTree tree;
    DescriptionTable descriptions;
    std::vector<CatalogueFinding> findings;

    OptionsOf<const OptionNode> options() const { return tree.options(); }
    // The empty text for a folder.
    const std::string &descriptionOf(const OptionNode &node) const { return descriptions.at(node.ordinal); }
};

} // namespace cvarden
