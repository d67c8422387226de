// SPDX-License-Identifier: GPL-2.0-or-later
#include "enginefacts.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "fileio.h"

namespace cvarden {
namespace {

// The facts file is a few dozen KiB; anything much larger is not one.
constexpr std::uintmax_t largestFactsFile = 16u << 20;

const std::array<const char *, 5> programNames{"ioquake3", "1.32", "quake3e", "ioquake3-game", "1.32-game"};

std::string lowered(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

std::string keyOf(Program program, std::string_view variable)
{
    return std::to_string(static_cast<int>(program)) + lowered(variable);
}

// The pieces of `line` between separators, as views into it; `cells` is
// reused from line to line, as the file has a thousand of them.
void splitInto(std::string_view line, char separator, std::vector<std::string_view> &cells)
{
    cells.clear();
    std::size_t start = 0;
    for (std::size_t at = line.find(separator); at != std::string_view::npos; at = line.find(separator, start)) {
        cells.emplace_back(line.substr(start, at - start));
        start = at + 1;
    }
    cells.emplace_back(line.substr(start));
}

std::vector<std::string> listed(std::string_view text)
{
    std::vector<std::string_view> pieces;
    splitInto(text, ',', pieces);
    return {pieces.begin(), pieces.end()};
}

// A word of the file among those its column allows; false for any other.
template <typename Value, std::size_t N>
bool wordOf(std::string_view word, const std::array<std::pair<const char *, Value>, N> &words, Value &value)
{
    for (const auto &[text, each] : words) {
        if (word == text) {
            value = each;
            return true;
        }
    }
    return false;
}

const std::array<std::pair<const char *, Saved>, 3> savedWords{
    {{"no", Saved::No}, {"yes", Saved::Yes}, {"nd", Saved::WhenNotDefault}}};
const std::array<std::pair<const char *, Enforced>, 5> enforcedWords{{{"", Enforced::None},
                                                                      {"set", Enforced::WhenSet},
                                                                      {"later", Enforced::Later},
                                                                      {"used", Enforced::WhereUsed},
                                                                      {"menu", Enforced::MenuOnly}}};
const std::array<std::pair<const char *, Restart>, 7> restartWords{{{"", Restart::None},
                                                                    {"vid_restart", Restart::Video},
                                                                    {"snd_restart", Restart::Sound},
                                                                    {"net_restart", Restart::Network},
                                                                    {"in_restart", Restart::Input},
                                                                    {"map", Restart::NextMap},
                                                                    {"game", Restart::Game}}};

// Reads one line's record into the facts; the empty text, or what is wrong.
std::string readRecord(const std::vector<std::string_view> &cells, std::string_view system, EngineFacts &facts)
{
    const std::string tag(cells[0]);
    const std::size_t wanted = tag == "V" ? 13 : tag == "D" || tag == "M" ? 5 : 0;
    if (wanted == 0)
        return "a record is V, D or M, not \"" + tag.substr(0, 20) + "\"";
    if (cells.size() != wanted)
        return tag + " records have " + std::to_string(wanted) + " tab-separated fields, this one " +
               std::to_string(cells.size());
    const auto program = std::find(programNames.begin(), programNames.end(), cells[1]);
    if (program == programNames.end())
        return "\"" + std::string(cells[1]) + "\" is not a program (ioquake3, 1.32, quake3e, ioquake3-game, 1.32-game)";
    const auto which = static_cast<Program>(program - programNames.begin());
    if (tag == "V") {
        VariableFacts variable;
        variable.name = cells[2];
        variable.defaultValue = cells[3];
        variable.integer = cells[5] == "integer";
        variable.number = variable.integer || cells[5] == "float";
        variable.min = cells[6];
        variable.max = cells[7];
        if (!cells[8].empty())
            variable.values = listed(cells[8]);
        variable.note = cells[11];
        if (!cells[12].empty())
            variable.systems = listed(cells[12]);
        if (!wordOf(cells[4], savedWords, variable.saved) || !wordOf(cells[9], enforcedWords, variable.enforced) ||
            !wordOf(cells[10], restartWords, variable.restart))
            return "the saved, enforced or restart field holds a word it does not take";
        if (!facts.add(which, std::move(variable)))
            return std::string(cells[2]) + " is given twice for " + std::string(cells[1]);
        return {};
    }
    VariableFacts *variable = facts.findToChange(which, cells[2]);
    if (!variable)
        return tag + " record for " + std::string(cells[2]) + " before its V record";
    if (tag == "D") {
        if (cells[3] == system)
            variable->defaultValue = cells[4];
    } else {
        variable->meanings.push_back({std::string(cells[3]), std::string(cells[4])});
    }
    return {};
}

} // namespace

const char *EngineName(Engine engine)
{
    switch (engine) {
    case Engine::Ioquake3:
        return "ioquake3";
    case Engine::Release132:
        return "1.32";
    case Engine::Quake3e:
        return "quake3e";
    case Engine::None:
        break;
    }
    return "unknown";
}

const char *EngineLabel(Engine engine)
{
    switch (engine) {
    case Engine::Ioquake3:
        return "ioquake3";
    case Engine::Release132:
        return "the 1.32 release";
    case Engine::Quake3e:
        return "Quake3e";
    case Engine::None:
        break;
    }
    return "no known engine";
}

bool EngineNamed(std::string_view name, Engine &engine)
{
    for (const Engine each : ServedEngines()) {
        if (lowered(name) == EngineName(each)) {
            engine = each;
            return true;
        }
    }
    return false;
}

const std::vector<Engine> &ServedEngines()
{
    static const std::vector<Engine> engines{Engine::Release132, Engine::Ioquake3, Engine::Quake3e};
    return engines;
}

const VariableFacts *EngineFacts::find(Program program, std::string_view variable) const
{
    const auto found = byKey_.find(keyOf(program, variable));
    return found == byKey_.end() ? nullptr : &found->second;
}

VariableFacts *EngineFacts::findToChange(Program program, std::string_view variable)
{
    const auto found = byKey_.find(keyOf(program, variable));
    return found == byKey_.end() ? nullptr : &found->second;
}

const VariableFacts *EngineFacts::of(Engine engine, GameCode gameCode, std::string_view variable) const
{
    if (engine == Engine::None)
        return nullptr;
    const Program own = engine == Engine::Ioquake3     ? Program::Ioquake3
                        : engine == Engine::Release132 ? Program::Release132
                                                       : Program::Quake3e;
    if (const VariableFacts *facts = find(own, variable))
        return facts;
    return find(gameCode == GameCode::Ioquake3 ? Program::Ioquake3Game : Program::Release132Game, variable);
}

std::vector<const VariableFacts *> EngineFacts::all(Program program) const
{
    std::vector<const VariableFacts *> found;
    const std::string prefix = std::to_string(static_cast<int>(program));
    for (const auto &[key, facts] : byKey_) {
        if (key.compare(0, prefix.size(), prefix) == 0)
            found.push_back(&facts);
    }
    return found;
}

bool EngineFacts::add(Program program, VariableFacts facts)
{
    std::string key = keyOf(program, facts.name);
    return byKey_.emplace(std::move(key), std::move(facts)).second;
}

const char *ThisSystem()
{
#if defined(_WIN32)
    return "windows";
#elif defined(__APPLE__)
    return "mac";
#else
    return "linux";
#endif
}

Outcome LoadEngineFacts(const std::string &path, EngineFacts &facts, std::string_view system)
{
    facts = EngineFacts();
    std::string bytes;
    if (Outcome read = ReadWholeFile(path, bytes, largestFactsFile); read.failed())
        return read;
    std::vector<std::string_view> lines;
    splitInto(bytes, '\n', lines);
    std::vector<std::string_view> cells;
    std::size_t lineNumber = 0;
    for (std::string_view line : lines) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line[0] == '#')
            continue;
        splitInto(line, '\t', cells);
        if (std::string problem = readRecord(cells, system, facts); !problem.empty()) {
            facts = EngineFacts();
            return {Failure::Malformed, path + ":" + std::to_string(lineNumber) + ": " + problem};
        }
    }
    // A file cut short before its first record is no file of facts.
    if (facts.empty())
        return {Failure::Malformed, path + ": holds no engine facts"};
    return {};
}

std::string EngineFactsBeside(const std::string &cataloguePath)
{
    const std::size_t slash = cataloguePath.find_last_of("/\\");
    return (slash == std::string::npos ? std::string() : cataloguePath.substr(0, slash + 1)) + "engines.dat";
}

} // namespace cvarden
