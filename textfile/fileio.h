// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace cvarden {

// Whole-file reads and writes that say what went wrong in words a player
// understands. Each returns the empty text on success, else the message.

// No bound on a file's size: a game file is read however large it is.
constexpr std::uintmax_t anySize = UINTMAX_MAX;

// Reads a regular file whole. Anything else (a folder, a FIFO, a device) is
// refused at once, before a byte is read: a FIFO would block for ever and a
// device such as /dev/zero has no end. A file larger than `limit` is refused
// too.
[[nodiscard]] std::string ReadWholeFile(const std::string &path, std::string &bytes, std::uintmax_t limit = anySize);

// Says what stands at `path` when it is no regular file (nothing, a folder,
// a named pipe, a device, ...), or returns the empty text when it is one.
[[nodiscard]] std::string WhyNotAFile(const std::string &path);

// Creates the file or empties it, then writes `bytes` into it. For files of
// our own making (tests, benchmarks), never for a player's.
[[nodiscard]] std::string WriteWholeFile(const std::string &path, const std::string &bytes);

// Says why the file may not be changed, or returns the empty text: when the
// system would not let this user write it, whoever owns it (an immutable
// file or a read-only file system included), and when its permissions give
// its owner no write. Players set the latter on purpose to keep the game
// from rewriting its configuration, so it is honoured even when the system
// would let us (root) write.
[[nodiscard]] std::string RefuseReadOnly(const std::string &path);

// Replaces a regular file's content in one step: the new bytes go to a file
// beside it, which then takes its place, so a failure, a kill or a crash of
// the system half-way leaves the old content whole and nothing else behind. A symbolic link is
// written through to its target. The file keeps its owner and permissions;
// one whose owner or permissions its new copy cannot be given (another
// user's file) is refused and left unchanged, as is a read-only one.
[[nodiscard]] std::string ReplaceWholeFile(const std::string &path, const std::string &bytes);

// What a new file must outlast once it is in place: a fault of the program
// (a kill, a full disk), which the one-step write itself guards against, or
// a crash of the whole system too, which costs a wait for the disk.
enum class Durability { SurvivesProgramFaults, SurvivesPowerLoss };

// Puts a new regular file holding `bytes` at `path` in one step, in place of
// a regular file or a symbolic link there: the link itself is replaced,
// never followed. A folder, FIFO or device at `path` is refused and left
// alone. The new file gets the read and write permissions and, where the
// system allows, the owner of the file `like`; with `like` empty, only its
// owner may read and write it.
[[nodiscard]] std::string PlaceNewFile(const std::string &path, const std::string &bytes, const std::string &like,
                                       Durability durability);

} // namespace cvarden
