// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>

#include "optiontree.h"
#include "valuestore.h"

// The import and export as first designed, kept as the baseline the real
// commands are measured against: every option is tested against every line,
// and every value is saved on its own. Both work on an already normalized
// backup copy and write the chosen file directly.
namespace bench {

void literalImport(const std::string &backupPath, const cvarden::OptionTree &tree, cvarden::ValueStore &store);
void literalExport(const std::string &backupPath, const std::string &chosenPath, cvarden::OptionTree &tree,
                   const cvarden::ValueStore &store);

} // namespace bench
