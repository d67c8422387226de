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
// The player's choice of game code: "auto", "1.32" or "ioquake3".
constexpr const char *gameCodeChoiceName = "gameCode";

// The engine in use and why, in a line for the player.
struct ResolvedEngine {
    EngineInUse inUse;
    std::string why;
    std::string gameCodeWhy;
};

// The player's engine is, in this order: `override` (an engine's name given
// for one command, when not empty), the one the player chose, the one
// detected from the game file opened or saved last, else none. The game code
// is the one the player chose, else ioquake3's only when detected so: every
// engine runs the 1.32 game code from the game's archives unless ioquake3's
// own is installed.
ResolvedEngine ResolveEngine(const EngineFacts &facts, const ValueStore &store, const std::string &override = {});

// Stores the player's choice: "auto" or an engine's name. The empty text, or
// what went wrong (an unknown name included).
Outcome ChooseEngine(ValueStore &store, const std::string &choice);

// Stores the player's choice of game code: "auto", "1.32" or "ioquake3".
Outcome ChooseGameCode(ValueStore &store, const std::string &choice);

// Keeps what was detected from the game file just opened or saved.
Outcome RememberDetection(ValueStore &store, const EngineDetection &detection);

} // namespace cvarden
