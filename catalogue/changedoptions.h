// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <vector>

#include "optiontree.h"
#include "valuestore.h"

namespace cvarden {

// Whether the value the store holds for the option differs, byte for byte,
// from its catalogue default. A folder is never changed itself.
bool IsChanged(const OptionNode &node, const ValueStore &store);

// For every node, by index from 1 (slot 0 is unused): whether it is a changed
// option, or a folder holding one.
std::vector<bool> ChangedNodes(const OptionTree &tree, const ValueStore &store);

} // namespace cvarden
