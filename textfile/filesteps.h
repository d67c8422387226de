// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <functional>

namespace cvarden {

// The steps of a one-step write, in order: the new copy is made, written,
// synced, given its temporary name, and renamed into place.
enum class FileStep { Open, Write, Sync, Name, Rename };

// What a hook makes of a step: 0 lets it run, an errno value (ENOSPC,
// EACCES) makes it fail so, and `killedHere` stops the write there and
// leaves everything as a run killed at that moment would.
constexpr int killedHere = -1;
using FileStepHook = std::function<int(FileStep)>;

// For tests only: faults of the file system (a full disk, a permission
// refused, a kill between two steps) caused without root, mounts or
// signals. An empty hook lets every step run.
void SetFileStepHook(FileStepHook hook);

} // namespace cvarden
