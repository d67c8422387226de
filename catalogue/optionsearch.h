// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstddef>
#include <string_view>

#include "optiontree.h"

namespace cvarden {

enum class SearchFrom { TheNode, AfterTheNode };

// The first option whose display name or variable name contains `text`,
// letter case ignored, in the order the tree shows its nodes (each folder
// followed by its options): from node `node` on, or from the one after it,
// going round past the last; 0 when no option holds the text. Node 0 starts
// at the first node.
std::size_t FindOption(const OptionTree &tree, std::string_view text, std::size_t node, SearchFrom from);

} // namespace cvarden
