// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

namespace cvarden {

// Where the earlier versions of the player's game files are kept: a folder
// of Cvarden's own data folder (~/.local/share/Cvarden on Linux), shared by
// the window and cvarden-cli, and never the game's folder.
QString VersionsFolder();

// Where one-step writes note the temporary names they give, so that only
// Cvarden's own leftovers are ever removed: beside the versions.
QString LeftoverLedgerFolder();

} // namespace cvarden
