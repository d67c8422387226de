// SPDX-License-Identifier: GPL-2.0-or-later
#include "enginechoice.h"

namespace cvarden {

ResolvedEngine ResolveEngine(const EngineFacts &facts, const ValueStore &store, const std::string &override)
{
    ResolvedEngine resolved;
    resolved.inUse.facts = &facts;
    const std::string ioquake3 = EngineName(Engine::Ioquake3);
    const std::string chosenCode = store.GetChoice(gameCodeChoiceName, "auto");
    if (chosenCode != "auto") {
        resolved.gameCodeWhy = "chosen by you";
        resolved.inUse.gameCode = chosenCode == ioquake3 ? GameCode::Ioquake3 : GameCode::Release132;
    } else if (store.GetChoice(detectedGameCodeName, "") == ioquake3) {
        resolved.gameCodeWhy = "the game file opened or saved last holds names only its game code saves";
        resolved.inUse.gameCode = GameCode::Ioquake3;
    } else {
        resolved.gameCodeWhy = "the stock game code every engine runs from the game's archives";
    }
    Engine engine = Engine::None;
    if (!override.empty() && EngineNamed(override, engine)) {
        resolved.why = "given for this command";
    } else if (EngineNamed(store.GetChoice(engineChoiceName, "auto"), engine)) {
        resolved.why = "chosen by you";
    } else if (EngineNamed(store.GetChoice(detectedEngineName, ""), engine)) {
        resolved.why = "detected from the game file opened or saved last";
    } else {
        resolved.why = "no engine chosen, and none detected from a game file";
    }
    resolved.inUse.engine = facts.empty() ? Engine::None : engine;
    if (facts.empty() && engine != Engine::None)
        resolved.why += ", but the engine facts could not be read";
    return resolved;
}

Outcome ChooseEngine(ValueStore &store, const std::string &choice)
{
    Engine engine = Engine::None;
    if (choice != "auto" && !EngineNamed(choice, engine))
        return {Failure::NoSuchEngine, "\"" + choice + "\" is no engine: name ioquake3, 1.32, quake3e or auto"};
    return store.SaveChoice(engineChoiceName, choice == "auto" ? choice : EngineName(engine));
}

Outcome ChooseGameCode(ValueStore &store, const std::string &choice)
{
    if (choice != "auto" && choice != EngineName(Engine::Release132) && choice != EngineName(Engine::Ioquake3))
        return {Failure::NoSuchEngine, "\"" + choice + "\" is no game code: name 1.32, ioquake3 or auto"};
    return store.SaveChoice(gameCodeChoiceName, choice);
}

Outcome RememberDetection(ValueStore &store, const EngineDetection &detection)
{
    if (Outcome saved = store.SaveChoice(detectedEngineName, EngineName(detection.engine)); saved.failed())
        return saved;
    return store.SaveChoice(
        detectedGameCodeName,
        EngineName(detection.gameCode == GameCode::Ioquake3 ? Engine::Ioquake3 : Engine::Release132));
}

} // namespace cvarden
