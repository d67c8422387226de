// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "outcome.h"

namespace cvarden {

// The engines the catalogue serves. None: the player's engine is not known.
enum class Engine { None, Ioquake3, Release132, Quake3e };
// The game code (cgame, game, menus) the engine runs: every engine runs the
// 1.32 one from the game's archives unless the player installed ioquake3's.
enum class GameCode { Release132, Ioquake3 };

// "ioquake3", "1.32", "quake3e": the names the player types.
const char *EngineName(Engine engine);
// "ioquake3", "the 1.32 release", "Quake3e": the names said to the player.
const char *EngineLabel(Engine engine);
// The engine of a typed name; false for any other word.
bool EngineNamed(std::string_view name, Engine &engine);
// The three engines, oldest first.
const std::vector<Engine> &ServedEngines();

// What registers a variable: an engine, or a game code.
enum class Program { Ioquake3, Release132, Quake3e, Ioquake3Game, Release132Game };

// How an engine holds a value outside what it accepts.
enum class Enforced {
    None,      // no rule known: any text is kept
    WhenSet,   // replaced when set (bound, default, or cut to a whole number)
    Later,     // corrected by the engine when the code using it runs
    WhereUsed, // kept, but used as the bound (or read as a whole number)
    MenuOnly   // only the stock menu limits it; the game takes any value
};
enum class Saved { No, Yes, WhenNotDefault };
enum class Restart { None, Video, Sound, Network, Input, NextMap, Game };

struct ValueMeaning {
    std::string value; // a value, or a description of several ("15..125")
    std::string meaning;
};

// What one program registers for one variable.
struct VariableFacts {
    std::string name;         // as the program spells it
    std::string defaultValue; // the client's default on the system Cvarden runs on
    Saved saved = Saved::No;
    bool integer = false;
    bool number = false;             // integer or float: the engine reads it as a number
    std::string min, max;            // bounds as the engine writes them; empty where none
    std::vector<std::string> values; // the accepted values, when only these are
    Enforced enforced = Enforced::None;
    Restart restart = Restart::None;
    std::string note;                 // something the player should know, in a few words
    std::vector<std::string> systems; // where the engine registers it; empty: everywhere
    std::vector<ValueMeaning> meanings;
};

// The engine facts file, read once at start-up.
class EngineFacts {
public:
    // What `program` registers for the variable (whatever its letter case), or null.
    const VariableFacts *find(Program program, std::string_view variable) const;
    // What the engine makes of the variable: its own registration first (it
    // registers before the game code, and the first default stays), else the
    // game code's. Null for no engine, or a variable neither registers.
    const VariableFacts *of(Engine engine, GameCode gameCode, std::string_view variable) const;
    // Every variable of a program, in no particular order.
    std::vector<const VariableFacts *> all(Program program) const;
    bool empty() const { return byKey_.empty(); }

    // False, adding nothing, when the program already has the variable.
    bool add(Program program, VariableFacts facts);
    VariableFacts *findToChange(Program program, std::string_view variable);

private:
    std::unordered_map<std::string, VariableFacts> byKey_;
};

// The system whose defaults the loader keeps: "linux", "windows" or "mac".
const char *ThisSystem();

// Reads the engine facts file (format in data/README.md). Returns the empty
// text, or why it could not be read with the line at fault; a file that
// cannot be read leaves `facts` empty, so that everything behaves as with no
// engine known.
Outcome LoadEngineFacts(const std::string &path, EngineFacts &facts, std::string_view system = ThisSystem());

// engines.dat in the catalogue's folder.
std::string EngineFactsBeside(const std::string &cataloguePath);

} // namespace cvarden
