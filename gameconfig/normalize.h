#pragma once

#include <string>
#include <string_view>

namespace cvarden {

// The game ends its lines with a bare LF, which our line model keeps inside a
// line. Normalizing turns every LF-terminated piece into a record of its own
// (the piece, its LF, then CR LF), so each game line reads as one line.
// A text already normalized comes out unchanged.
std::string normalizeText(std::string_view text);

// The scratch copy sits beside the chosen file: its path with "_" appended.
// It is the player's copy of what the file held before a command touched it.
std::string scratchPathFor(const std::string &chosenPath);

// Reads the chosen game file whole. An empty one fails: it holds no line to
// read, and is often one the game left cut short.
std::string readGameFile(const std::string &chosenPath, std::string &bytes);

// Reads the chosen file and writes its normalized text to the scratch copy,
// which is created or emptied first, and hands that text on in `normalized`
// so the commands need not read it back, and the file's own bytes in
// `original` when asked. Returns the empty text on success, else what failed.
// An empty chosen file fails, holding no line to read, and leaves the scratch
// copy untouched.
std::string normalizeFile(const std::string &chosenPath, std::string &normalized, std::string *original = nullptr);

} // namespace cvarden
