// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "enginefacts.h"
#include "optiontree.h"

namespace cvarden {

// The engine the player runs, with the facts to judge values by. With no
// engine known (or no facts read), everything falls back to the catalogue.
struct EngineInUse {
    const EngineFacts *facts = nullptr;
    Engine engine = Engine::None;
    GameCode gameCode = GameCode::Release132;

    // What the engine registers for the variable, or null.
    const VariableFacts *of(std::string_view variable) const
    {
        return facts ? facts->of(engine, gameCode, variable) : nullptr;
    }
};

// The default "Default value", "Reset def." and the changed marks use: the
// engine's own where it registers the option's variable, else the catalogue's.
std::string DefaultInUse(const EngineInUse &engine, const OptionNode &node);

// What the engine makes of a value.
struct ValueVerdict {
    enum Kind { Kept, Bound, Default, Cut, NotOneOfItsValues };
    Kind kind = Kept;
    std::string becomes; // the value the engine uses instead; the value itself when kept
    std::string why;     // in a few words: "above 24", "not a number"
    bool kept() const { return kind == Kept; }
};

// Judges a value as the engine holds its variable: a bound for a value out
// of range, the default for a text that is no number, the whole part of a
// number where a whole one is needed, the default for a value not among
// those it accepts (where it replaces such a value). A value only the stock menu limits is kept, and so is the
// engine's own default.
ValueVerdict JudgeValue(const VariableFacts &facts, const std::string &value);

// "Quake3e uses 125 instead (above 1000)." The empty text for a kept value.
std::string VerdictSentence(Engine engine, const ValueVerdict &verdict);

// What the engine makes of a value it would not keep as it is, in a
// sentence; with no engine known, what each engine makes of it when every
// engine that registers the variable would change it. Empty when kept.
std::string ValueProblem(const EngineInUse &engine, const std::string &variable, const std::string &value);

// Whether the game would run with `value` anyway if the variable were left
// out of q3config.cfg: with `engine` known, when it equals that engine's
// default for the variable (the catalogue default when the engine does not
// register it); with Engine::None, only when it equals the default of every
// engine the catalogue serves (and, for one none registers, the catalogue
// default). A save may leave an addition out only then, so that the game
// ends with the value Cvarden shows.
bool RunsAnywayWhenLeftOut(const EngineFacts &facts, Engine engine, GameCode gameCode, const std::string &variable,
                           const std::string &value, const std::string &catalogueDefault);

// A choice as a choice list shows it: the bare value, which is what is
// stored, and what it means for the engine ("1024x768"), maybe empty.
struct ShownChoice {
    std::string value;
    std::string meaning;
};

// The choices a choice option offers: with an engine known that lists the
// values it accepts, those, else the catalogue's; each with its meaning for
// the engine.
std::vector<ShownChoice> ChoicesInUse(const EngineInUse &engine, const OptionNode &node);

// What the player should know of the variable with this engine, beside its
// description: that a change needs a restart, that the engine does not save
// it or does not know it, a note of the facts. Empty with no engine known.
// A sentence `alreadySaid` holds (the description's own restart note) is not
// said again.
std::string EngineNotes(const EngineInUse &engine, const std::string &variable, const std::string &alreadySaid = {});

// "Needs vid_restart." and the like; empty when a change applies at once.
std::string RestartSentence(Restart restart);

} // namespace cvarden
