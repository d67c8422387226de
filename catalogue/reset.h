// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>

#include "optiontree.h"
#include "valuestore.h"

namespace cvarden {

// Stores the catalogue default of every option node, in tree order, so a
// later node wins a display name it shares. Folders are skipped.
Outcome ResetToDefaults(const OptionTree &tree, ValueStore &store);

} // namespace cvarden
