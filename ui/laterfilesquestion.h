// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <optional>

#include "exportconfig.h"

class QWidget;

namespace cvarden {

// Files the game runs after the chosen one (autoexec.cfg, what it runs)
// would set some saved values again at every start. Asks the player over
// `window` whether to write those values into them as well; nothing when
// the player cancels the save. `plan` is the save planned without them.
std::optional<LaterFilesToo> AskAboutLaterFiles(QWidget *window, const SavePlan &plan, const OptionTree &tree);

} // namespace cvarden
