// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "enginedetect.h"
#include "outcome.h"

namespace cvarden {

// The variables a game file's `seta` commands name, as the game reads them
// (a `seta` with no value sets nothing, so names none).
std::vector<std::string> SetaNames(std::string_view fileText);

// Which engine the game file looks written by. Returns the empty text, or why
// the file could not be read (then nothing is detected).
Outcome DetectEngineOfFile(const EngineFacts &facts, const std::string &path, EngineDetection &detection);

} // namespace cvarden
