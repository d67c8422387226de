// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>
#include <vector>

#include "enginefacts.h"

namespace cvarden {

// Which engine wrote a game file, told by the variables it holds, and why.
struct EngineDetection {
    Engine engine = Engine::None; // None: the evidence is too thin to say
    GameCode gameCode = GameCode::Release132;
    std::vector<std::string> evidence; // one line each, for the player
};

// Each engine writes every variable it saves (Quake3e leaves out those at
// their default, which then prove nothing by their absence), so the names
// that only one engine saves are its fingerprint, taken from the facts. An
// engine is a candidate when the file holds at least half of its fingerprint
// and three names of it. An engine keeps the names of an earlier one that
// the file held, so the 1.32 release's names do not outvote a newer engine's;
// between ioquake3 and Quake3e the clearly larger share wins, else "unknown".
// `names` are the variables the file sets, in any letter case.
EngineDetection DetectEngine(const EngineFacts &facts, const std::vector<std::string> &names);

} // namespace cvarden
