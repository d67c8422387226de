// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace cvarden {

// Whether a program of this file name is one of the game's engines, which
// rewrite q3config.cfg while they run and when they quit: exactly a name
// those engines ship with, plus at most one build suffix (".x86_64",
// ".ded.x64", ...) and Windows' ".exe", letter case ignored (the game may run
// under Wine). "quake3edit" or "ioquake3-foo" is another program.
bool IsEngineProgram(std::string_view fileName);

#if !defined(_WIN32)
// The file names of the engines running for the user `uid`, each once, read
// from a process list laid out as Linux's /proc is under `procRoot`.
std::vector<std::string> RunningEngines(const std::string &procRoot, unsigned uid);
#endif

// The engines running for the current user, where the platform offers a
// process list (Linux and Windows); none elsewhere.
std::vector<std::string> RunningEnginesForMe();

} // namespace cvarden
