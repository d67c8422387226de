#pragma once

#include <string>

namespace cvarden {

// Whole-file reads and writes that say what went wrong in words a player
// understands. Each returns the empty text on success, else the message.

std::string readWholeFile(const std::string &path, std::string &bytes);

// Creates the file or empties it, then writes `bytes` into it.
std::string writeWholeFile(const std::string &path, const std::string &bytes);

// Says the file is read-only when its permissions give its owner no write, and
// returns the empty text otherwise. Players set this on purpose to keep the
// game from rewriting its configuration, so it is honoured even when the
// system would let us (root) write.
std::string refuseReadOnly(const std::string &path);

// Replaces the file's content in one step: the new bytes go to a file beside
// it, which then takes its place, so a failure or crash half-way leaves the old
// content whole. A symbolic link is written through to its target, and the file
// keeps its permissions. A read-only file is refused and left unchanged.
std::string replaceWholeFile(const std::string &path, const std::string &bytes);

} // namespace cvarden
