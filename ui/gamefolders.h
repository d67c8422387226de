// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace cvarden {

// The folders where the game usually keeps q3config.cfg on this platform, in
// the order to try them.
QStringList UsualGameFolders();

// The first of `candidates` that exists as a folder, else the player's home.
QString FirstExistingFolder(const QStringList &candidates);

} // namespace cvarden
