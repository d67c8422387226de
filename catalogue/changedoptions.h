// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <vector>

#include "enginevalues.h"
#include "optiontree.h"
#include "valuestore.h"

namespace cvarden {

// Whether the value the store holds for the option differs, byte for byte,
// from its default (the engine's where it is known, else the catalogue's). A folder is never changed itself.
bool IsChanged(const OptionNode &node, const ValueStore &store, const EngineInUse &engine = {});

// For every node, by index from 1 (slot 0 is unused): whether it is a changed
// option, or a folder holding one.
std::vector<bool> ChangedNodes(const OptionTree &tree, const ValueStore &store, const EngineInUse &engine = {});

} // namespace cvarden
