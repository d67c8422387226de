// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "outcome.h"

namespace cvarden {

// The game ends its lines with a bare LF, which our line model keeps inside a
// line. Normalizing turns every LF-terminated piece into a record of its own
// (the piece, its LF, then CR LF), so each game line reads as one line.
// A text already normalized comes out unchanged.
std::string NormalizeText(std::string_view text);

// The backup copy sits beside the chosen file: its path with "_" appended.
// It is the player's copy of what the file held before a command touched it.
std::string BackupPathFor(const std::string &chosenPath);

// Reads the chosen game file whole. An empty one fails: it holds no line to
// read, and is often one the game left cut short.
Outcome ReadGameFile(const std::string &chosenPath, std::string &bytes);

// Replaces the backup copy beside the chosen file with the normalized text of
// `bytes`, what the file held. It is replaced in one step: a fault while it
// is written keeps the previous one whole, and a link in its place is
// replaced, never followed; something other than a file there (a folder, a
// FIFO) is refused and left alone. It gets the chosen file's read and write
// permissions.
Outcome WriteBackupCopy(const std::string &chosenPath, std::string_view bytes);

} // namespace cvarden
