// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "outcome.h"

namespace cvarden {

// Earlier contents of a game file, kept so the player can go back to them.
// They live in `versionsFolder` (Cvarden's own data folder, never the game's),
// in a folder of their own for each game file; only the last few stay.

constexpr std::size_t versionsKept = 20;

struct KeptVersion {
    unsigned long number = 0; // counts up from 1 for each game file, never reused
    std::int64_t keptAt = 0;  // when it was kept, in seconds since 1970 (UTC)
    std::uintmax_t size = 0;  // in bytes
};

// Keeps `bytes`, what `gameFile` holds before a command replaces it, as its
// newest version, unless the newest already holds the same bytes; then drops
// all but the last `versionsKept`. `keptAs`, when given, gets the number of
// the version that holds them.
Outcome KeepVersion(const std::string &versionsFolder, const std::string &gameFile, const std::string &bytes,
                    unsigned long *keptAs = nullptr);

// The versions kept of `gameFile`, oldest first.
Outcome ListVersions(const std::string &versionsFolder, const std::string &gameFile,
                     std::vector<KeptVersion> &versions);

// Puts version `number` of `gameFile` back (0: the newest), in one step,
// after keeping what the file holds now as a version too, and says which
// version was put back and which one now holds the replaced content.
struct RestoreReport {
    Outcome outcome;
    unsigned long restored = 0;
    unsigned long replacedKeptAs = 0; // 0 when the file was empty
};
RestoreReport RestoreVersion(const std::string &versionsFolder, const std::string &gameFile, unsigned long number);

} // namespace cvarden
