// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>

#include "enginevalues.h"
#include "optiontree.h"
#include "valuestore.h"

namespace cvarden {

// Stores the default of every option node (the engine's where it is known,
// else the catalogue's), in tree order, so a later node wins a display name
// it shares. Folders are skipped.
Outcome ResetToDefaults(const OptionTree &tree, ValueStore &store, const EngineInUse &engine = {});

} // namespace cvarden
