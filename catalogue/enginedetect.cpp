// SPDX-License-Identifier: GPL-2.0-or-later
#include "enginedetect.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace cvarden {
namespace {

constexpr std::size_t fewestNames = 3;
constexpr double leastShare = 0.5;
// How much larger one newer engine's share must be than the other's.
constexpr double clearLead = 0.25;
// How many names of each fingerprint the evidence shows.
constexpr std::size_t namesShown = 6;

std::string lowered(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool saves(const VariableFacts *facts)
{
    return facts && facts->saved != Saved::No;
}

const std::vector<Program> &allPrograms()
{
    static const std::vector<Program> programs{Program::Ioquake3, Program::Release132, Program::Quake3e,
                                               Program::Ioquake3Game, Program::Release132Game};
    return programs;
}

// The names only `program` saves, those it always writes apart.
struct Fingerprint {
    std::vector<std::string> always;
    std::vector<std::string> whenNotDefault;
};

// A build writes only the names registered on its system.
bool registeredOn(const VariableFacts &variable, const std::string &system)
{
    return variable.systems.empty() ||
           std::find(variable.systems.begin(), variable.systems.end(), system) != variable.systems.end();
}

Fingerprint fingerprintOf(const EngineFacts &facts, Program program, const std::string &system)
{
    Fingerprint print;
    for (const VariableFacts *variable : facts.all(program)) {
        if (!saves(variable) || !registeredOn(*variable, system))
            continue;
        const bool shared = std::any_of(allPrograms().begin(), allPrograms().end(), [&](Program other) {
            return other != program && saves(facts.find(other, variable->name));
        });
        if (shared)
            continue;
        (variable->saved == Saved::Yes ? print.always : print.whenNotDefault).push_back(lowered(variable->name));
    }
    std::sort(print.always.begin(), print.always.end());
    std::sort(print.whenNotDefault.begin(), print.whenNotDefault.end());
    return print;
}

struct Score {
    Engine engine;
    std::string system;
    std::size_t held = 0; // of the names always written
    std::size_t total = 0;
    std::size_t heldWhenNotDefault = 0;
    std::vector<std::string> shown;
    double share() const { return total == 0 ? 0 : static_cast<double>(held) / static_cast<double>(total); }
    bool candidate() const { return held + heldWhenNotDefault >= fewestNames && share() >= leastShare; }
};

Score scoreOf(Engine engine, const std::string &system, const Fingerprint &print, const std::set<std::string> &names)
{
    Score score{engine, system, 0, print.always.size(), 0, {}};
    for (const std::string &name : print.always) {
        if (names.count(name) && ++score.held <= namesShown)
            score.shown.push_back(name);
    }
    for (const std::string &name : print.whenNotDefault)
        score.heldWhenNotDefault += names.count(name);
    return score;
}

std::string evidenceLine(const Score &score)
{
    std::string line = std::string(EngineName(score.engine)) + ": " + std::to_string(score.held) + " of the " +
                       std::to_string(score.total) + " names only it always saves (" + score.system + " build)";
    if (score.heldWhenNotDefault > 0)
        line += ", and " + std::to_string(score.heldWhenNotDefault) + " it saves when not at their default";
    for (std::size_t i = 0; i < score.shown.size(); ++i)
        line += (i == 0 ? ": " : ", ") + score.shown[i];
    return line + (score.held > score.shown.size() ? ", ..." : "");
}

// The engine's score on the build of the system its names fit best.
Score bestScoreOf(const EngineFacts &facts, Engine engine, Program program, const std::set<std::string> &names)
{
    Score best{engine, {}, 0, 0, 0, {}};
    bool first = true;
    for (const char *system : {"linux", "windows", "mac"}) {
        Score score = scoreOf(engine, system, fingerprintOf(facts, program, system), names);
        if (first || score.share() > best.share())
            best = score;
        first = false;
    }
    return best;
}

Program programOf(Engine engine)
{
    return engine == Engine::Ioquake3     ? Program::Ioquake3
           : engine == Engine::Release132 ? Program::Release132
                                          : Program::Quake3e;
}

} // namespace

EngineDetection DetectEngine(const EngineFacts &facts, const std::vector<std::string> &names)
{
    std::set<std::string> held;
    for (const std::string &name : names)
        held.insert(lowered(name));
    EngineDetection detection;
    std::vector<Score> candidates;
    for (const Engine engine : ServedEngines()) {
        const Score score = bestScoreOf(facts, engine, programOf(engine), held);
        detection.evidence.push_back(evidenceLine(score));
        if (score.candidate())
            candidates.push_back(score);
    }
    // The 1.32 release keeps no names of later engines, but they keep its.
    if (candidates.size() > 1)
        candidates.erase(std::remove_if(candidates.begin(), candidates.end(),
                                        [](const Score &score) { return score.engine == Engine::Release132; }),
                         candidates.end());
    if (candidates.size() == 2) {
        std::sort(candidates.begin(), candidates.end(),
                  [](const Score &a, const Score &b) { return a.share() > b.share(); });
        if (candidates[0].share() - candidates[1].share() < clearLead) {
            detection.evidence.push_back("ioquake3 and Quake3e both match: unknown");
            candidates.clear();
        } else {
            candidates.resize(1);
        }
    }
    if (candidates.empty()) {
        if (detection.evidence.size() == ServedEngines().size())
            detection.evidence.push_back("no engine holds at least half of its names: unknown");
    } else {
        detection.engine = candidates[0].engine;
    }
    const Score gameCode = bestScoreOf(facts, Engine::Ioquake3, Program::Ioquake3Game, held);
    if (gameCode.candidate())
        detection.gameCode = GameCode::Ioquake3;
    std::string line = evidenceLine(gameCode);
    detection.evidence.push_back("ioquake3's game code" + line.substr(line.find(':')) +
                                 (gameCode.candidate() ? "; so ioquake3's game code" : "; so the 1.32 game code"));
    return detection;
}

} // namespace cvarden
