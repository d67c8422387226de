// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

class QWidget;

namespace cvarden {

// The game writes q3config.cfg again while it runs and when it quits, which
// undoes a save made meanwhile. When one of its engines runs for this user,
// asks the player over `window` whether to save into `file` all the same.
// True when no engine runs or the player chose to save.
bool SaveDespiteRunningGame(QWidget *window, const QString &file);

} // namespace cvarden
