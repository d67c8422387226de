// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>

#include "enginedetect.h"
#include "enginevalues.h"
#include "outcome.h"
#include "valuestore.h"

namespace cvarden {

// The store's names for the player's choice of engine ("auto", or an
// engine's name) and for the engine and game code detected last.
constexpr const char *engineChoiceName = "engine";
constexpr const char *detectedEngineName = "detectedEngine";
constexpr const char *detectedGameCodeName = "detectedGameCode";

// The engine in use and why, in a line for the player.
struct ResolvedEngine {
    EngineInUse inUse;
    std::string why;
};

// The player's engine is, in this order: `override` (an engine's name given
// for one command, when not empty), the one the player chose, the one
// detected from the game file opened or saved last, else none. The game code
// is ioquake3's only when detected so.
ResolvedEngine ResolveEngine(const EngineFacts &facts, const ValueStore &store, const std::string &override = {});

// Stores the player's choice: "auto" or an engine's name. The empty text, or
// what went wrong (an unknown name included).
Outcome ChooseEngine(ValueStore &store, const std::string &choice);

// Keeps what was detected from the game file just opened or saved.
Outcome RememberDetection(ValueStore &store, const EngineDetection &detection);

} // namespace cvarden
