// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "outcome.h"

namespace cvarden {

// Whole-file reads and writes that say what went wrong, by its kind and in
// words a player understands.

// No bound on a file's size: a game file is read however large it is.
constexpr std::uintmax_t anySize = UINTMAX_MAX;

// Reads a regular file whole. Anything else (a folder, a FIFO, a device) is
// refused at once, before a byte is read: a FIFO would block for ever and a
// device such as /dev/zero has no end. A file larger than `limit` is refused
// too.
Outcome ReadWholeFile(const std::string &path, std::string &bytes, std::uintmax_t limit = anySize);

// Says what stands at `path` when it is no regular file (nothing, a folder,
// a named pipe, a device, ...), or returns the empty text when it is one.
[[nodiscard]] std::string WhyNotAFile(const std::string &path);

// Creates the file or empties it, then writes `bytes` into it. For files of
// our own making (tests, benchmarks), never for a player's.
Outcome WriteWholeFile(const std::string &path, const std::string &bytes);

// Says why the file may not be replaced, before anything is written: when the
// system would not let this user write it, whoever owns it (an immutable
// file or a read-only file system included), when its permissions give its
// owner no write, and when its new copy could not be given its owner and
// group (another user's file that the player's group may write). Players
// make the file read-only on purpose to keep the game from rewriting its
// configuration, so that is honoured even when the system would let us
// (root) write.
Outcome RefuseToReplace(const std::string &path);

// Replaces a regular file's content in one step: the new bytes go to a file
// beside it, which then takes its place, so a failure, a kill or a crash of
// the system half-way leaves the old content whole and nothing else behind. A symbolic link is
// written through to its target. The file keeps its owner and permissions;
// one whose owner or permissions its new copy cannot be given (another
// user's file) is refused and left unchanged, as is a read-only one.
Outcome ReplaceWholeFile(const std::string &path, const std::string &bytes);

// The folder of Cvarden's own where a one-step write notes each temporary
// name before it gives it, and drops the note once the name is gone. Only a
// noted name is ever removed as a leftover of a killed run, so a file of
// the player's is never taken for one, whatever its name. Set once at
// start; with none set, no leftover is removed.
void SetLeftoverLedger(const std::string &folder);

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
Outcome PlaceNewFile(const std::string &path, const std::string &bytes, const std::string &like, Durability durability);

} // namespace cvarden
