// SPDX-License-Identifier: GPL-2.0-or-later
// Import then export of any game file against a small fixed catalogue, each
// checked against the model of how the game runs the file: the import takes
// what the game ends with, the export makes the game end with the values
// written and do all else as before, and a second export changes nothing.
// Each input is also saved as a player of one of the engines would save it
// (which one follows from its size), with that engine's defaults.
// An input with a line "#autoexec.cfg" is two files: what follows it is the
// autoexec.cfg the game runs after q3config.cfg, and the game's start-up as
// a whole is checked against what Cvarden says of it and saves.
#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <unistd.h>

#include "../gamemodel.h"
#include "../memorystore.h"
#include "saveplan.h"
#include "fileio.h"
#include "gamecommands.h"
#include "enginefacts.h"
#include "enginevalues.h"
#include "exportconfig.h"
#include "importconfig.h"
#include "laterfiles.h"
#include "loader.h"
#include "normalize.h"
#include "property.h"
#include "variablename.h"

namespace {

// Names that begin one another, share a variable (once in another letter
// case), or cannot be written: a blank inside; and three the engines know,
// with other defaults (com_maxfps, r_mode) or only in ioquake3 (cl_voip).
const char catalogueText[] =
    "F\r\nG\r\n---\r\n"
    "F\r\nA\r\nd\r\nab\r\nx\r\nVALUE\r\n1\r\n"
    "F\r\nC\r\nd\r\nabc\r\nx\r\nCHECK\r\nx\r\n0\r\n"
    "G\r\nB\r\nd\r\nab\r\nx\r\nCOMBO\r\nENTRIES\r\n2\r\np\r\nq\r\nx\r\nq\r\n"
    "G\r\nU\r\nd\r\nAB\r\nx\r\nVALUE\r\nu\r\n"
    "G\r\nT\r\nd\r\nseta\r\nx\r\nVALUE\r\n\r\n"
    "G\r\nS\r\nd\r\nsp ace\r\nx\r\nVALUE\r\n\"\r\n"
    "G\r\nM\r\nd\r\ncom_maxfps\r\nx\r\nVALUE\r\n85\r\n"
    "G\r\nR\r\nd\r\nr_mode\r\nx\r\nVALUE\r\n-2\r\n"
    "G\r\nV\r\nd\r\ncl_voip\r\nx\r\nVALUE\r\n1\r\n";

const cvarden::OptionTree &catalogue()
{
    static const cvarden::OptionTree tree = [] {
        const std::string path = (std::filesystem::temp_directory_path() /
                                  ("cvarden-fuzz-catalogue-" + std::to_string(::getpid()) + ".dat")).string();
        require(cvarden::WriteWholeFile(path, catalogueText).ok());
        cvarden::Catalogue loaded;
        require(cvarden::OpenOptions(path, loaded).ok());
        std::filesystem::remove(path);
        return loaded.tree;
    }();
    return tree;
}

const cvarden::EngineFacts &engineFacts()
{
    static const cvarden::EngineFacts facts = [] {
        cvarden::EngineFacts loaded;
        require(cvarden::LoadEngineFacts(CVARDEN_SAMPLE_DATA "/engines.dat", loaded).ok());
        return loaded;
    }();
    return facts;
}

// What the properties need of each option, worked out once.
struct OptionFacts {
    std::string text;
    std::string variable; // lower-cased, as the game compares names
    std::string fallback;
};

const std::vector<OptionFacts> &options()
{
    static const std::vector<OptionFacts> facts = [] {
        std::vector<OptionFacts> made;
        for (const cvarden::OptionNode &option : catalogue().options())
            made.push_back({option.text, gamemodel::lowered(option.variable()), option.defaultValue()});
        return made;
    }();
    return facts;
}

const std::set<std::string> &cataloguedNames()
{
    static const std::set<std::string> names = [] {
        std::set<std::string> made;
        for (const OptionFacts &option : options())
            made.insert(option.variable);
        return made;
    }();
    return names;
}

// The value the game ends with for a variable: the last option's, as written;
// for one never set, the engine's default, else the catalogue's.
std::string writtenValue(const MemoryStore &store, const std::string &variable,
                         const cvarden::EngineInUse &engine = {})
{
    const OptionFacts *last = nullptr;
    for (const OptionFacts &option : options()) {
        if (option.variable == variable)
            last = &option;
    }
    const cvarden::VariableFacts *own = engine.of(variable);
    std::string written;
    for (const char c : store.Get(last->text, own ? own->defaultValue : last->fallback)) {
        if (c != '"' && c != '\r' && c != '\n' && c != '\0')
            written.push_back(c);
    }
    return written;
}

bool someValueTooLong(const MemoryStore &store)
{
    for (const std::string &variable : cataloguedNames()) {
        if (cvarden::OptionRecordText(variable, writtenValue(store, variable)).size() > cvarden::gameCommandLimit)
            return true;
    }
    return false;
}

void importTakesWhatTheGameEndsWith(const std::string &input, const MemoryStore &store)
{
    const gamemodel::Outcome game = gamemodel::run(input, cataloguedNames());
    for (const OptionFacts &option : options()) {
        const auto ended = game.catalogued.find(option.variable);
        const auto stored = store.values.find(option.text);
        require((ended == game.catalogued.end()) == (stored == store.values.end()));
        require(ended == game.catalogued.end() || ended->second == stored->second);
    }
}

// What may refuse a save of this text: refused otherwise, it is a fault.
bool mayBeRefused(const std::string &input, const MemoryStore &store)
{
    return someValueTooLong(store) || input.find('\0') != std::string::npos ||
           input.find("/*") != std::string::npos || gamemodel::run(input, cataloguedNames()).cut;
}

// The game ends with the value Cvarden shows for every variable (the
// engine's default for one never set) and runs all else as before; only a
// value never set may be left out.
void exportChangesOnlyWhatItMust(const std::string &before, const std::string &after, const MemoryStore &store,
                                 const cvarden::EngineInUse &engine = {})
{
    const gamemodel::Outcome was = gamemodel::run(before, cataloguedNames());
    const gamemodel::Outcome is = gamemodel::run(after, cataloguedNames());
    require(is.others == was.others);
    for (const std::string &variable : cataloguedNames()) {
        const auto ended = is.catalogued.find(variable);
        if (!cvarden::WhyNotOneWord(variable).empty()) {
            require(ended == is.catalogued.end() ? was.catalogued.count(variable) == 0
                                                 : was.catalogued.at(variable) == ended->second);
            continue;
        }
        if (ended == is.catalogued.end()) {
            const MemoryStore nothingStored;
            require(was.catalogued.count(variable) == 0 &&
                    writtenValue(store, variable, engine) == writtenValue(nothingStored, variable, engine));
            continue;
        }
        require(ended->second == writtenValue(store, variable, engine));
    }
}

bool mentionsExec(const std::string &text)
{
    return gamemodel::lowered(text).find("exec") != std::string::npos;
}

// Whether any option of the variable got a value from the import: the
// player's, as opposed to one added only because the game takes it anyway.
bool playerSet(const MemoryStore &store, const std::string &variable)
{
    for (const OptionFacts &option : options()) {
        if (option.variable == variable && store.values.count(option.text) != 0)
            return true;
    }
    return false;
}

// The game file in a folder of its own, with autoexec.cfg beside it when
// there is one.
std::string writeGameFiles(const std::string &q3config, const std::string *autoexec = nullptr)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("cvarden-fuzz-" + std::to_string(::getpid())) /
                                         (autoexec ? "with-autoexec" : "alone") / "baseq3";
    std::filesystem::create_directories(folder);
    if (autoexec)
        require(cvarden::WriteWholeFile((folder / "autoexec.cfg").string(), *autoexec).ok());
    require(cvarden::WriteWholeFile((folder / "q3config.cfg").string(), q3config).ok());
    return (folder / "q3config.cfg").string();
}

// Saved as a player of `engine` saves, with its defaults.
void savedWithTheEnginesDefaults(const std::string &input, const cvarden::EngineInUse &engine)
{
    cvarden::OptionTree tree = catalogue();
    MemoryStore store;
    require(cvarden::ImportConfigText(input, tree, store).outcome.ok());
    std::string bytes;
    const cvarden::SavePlan plan = cvarden::PlanExport(writeGameFiles(input), tree, store, bytes, engine);
    if (plan.outcome.failed())
        require(input.empty() || mayBeRefused(input, store));
    else
        exportChangesOnlyWhatItMust(input, plan.text, store, engine);
}

// What Cvarden says the game ends with after start-up: a later file's value
// where it names one, else what the import took.
void laterValuesAreWhatTheGameEndsWith(const gamemodel::Outcome &game, const cvarden::OptionTree &tree,
                                       const std::map<std::size_t, cvarden::LaterSetting> &later,
                                       const MemoryStore &store)
{
    for (const cvarden::OptionNode &option : tree.options()) {
        const std::string variable = gamemodel::lowered(option.variable());
        const auto ended = game.catalogued.find(variable);
        if (const auto setting = later.find(tree.indexOf(option)); setting != later.end()) {
            require(ended != game.catalogued.end() && ended->second == setting->second.value);
            continue;
        }
        const auto stored = store.values.find(option.text);
        require((ended == game.catalogued.end()) == (stored == store.values.end()));
        require(ended == game.catalogued.end() || ended->second == stored->second);
    }
}

// After a save, the game's start-up ends with the values written, except
// where autoexec.cfg sets another: a value the player never set, or, when it
// was not written into autoexec.cfg too, one the save warned of.
void startUpEndsWithTheSavedValues(const std::string &q3config, const std::string &autoexec,
                                   cvarden::LaterFilesToo laterToo)
{
    cvarden::OptionTree tree = catalogue();
    MemoryStore store;
    const std::string path = writeGameFiles(q3config, &autoexec);
    require(cvarden::ImportConfigText(q3config, tree, store).outcome.ok());
    const gamemodel::Outcome was = gamemodel::runStartUp(q3config, autoexec, cataloguedNames());
    laterValuesAreWhatTheGameEndsWith(was, tree, cvarden::FindOverriddenOptions(path, tree).options, store);

    std::string bytes;
    const cvarden::SavePlan plan = cvarden::PlanExport(path, tree, store, bytes, {}, laterToo);
    if (plan.outcome.failed()) {
        require(q3config.empty() || mayBeRefused(q3config, store) || mayBeRefused(autoexec, store));
        return;
    }
    std::string autoexecAfter = autoexec;
    for (const cvarden::LaterFileSave &file : plan.laterFiles) {
        require(file.name == "autoexec.cfg" && laterToo == cvarden::LaterFilesToo::Yes);
        autoexecAfter = file.text;
    }
    const gamemodel::Outcome is = gamemodel::runStartUp(plan.text, autoexecAfter, cataloguedNames());
    require(is.others == was.others);
    for (const std::string &variable : cataloguedNames()) {
        const auto ended = is.catalogued.find(variable);
        const auto laterValue = was.catalogued.find(variable);
        const bool setLater = gamemodel::run(autoexec, cataloguedNames()).catalogued.count(variable) != 0;
        if (ended == is.catalogued.end() || !cvarden::WhyNotOneWord(variable).empty())
            continue; // as for q3config.cfg alone
        if (ended->second == writtenValue(store, variable))
            continue;
        bool warned = false;
        for (const cvarden::NotHolding &value : plan.willNotHold)
            warned = warned || gamemodel::lowered(tree.item(value.option).variable()) == variable;
        require(setLater && ended->second == laterValue->second &&
                (!playerSet(store, variable) || (warned && laterToo == cvarden::LaterFilesToo::No)));
    }

    // A second save changes nothing in either file.
    const std::string pathAgain = writeGameFiles(plan.text, &autoexecAfter);
    const cvarden::SavePlan again = cvarden::PlanExport(pathAgain, tree, store, bytes, {}, laterToo);
    require(again.outcome.ok() && again.text == plan.text && again.laterFiles.empty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char *>(data), size);
    cvarden::OptionTree tree = catalogue();
    MemoryStore store;
    require(cvarden::ImportConfigText(input, tree, store).outcome.ok());
    importTakesWhatTheGameEndsWith(input, store);

    // The game file keeps its own bytes, as a save writes it.
    const cvarden::SavePlan plan = cvarden::PlanSave({input, tree, store, {}, {}, {}});
    if (plan.outcome.failed()) {
        require(mayBeRefused(input, store));
        return 0;
    }
    exportChangesOnlyWhatItMust(input, plan.text, store);

    const cvarden::SavePlan again = cvarden::PlanSave({plan.text, tree, store, {}, {}, {}});
    require(again.text == plan.text);
    require(again.commandsAdded == 0);

    const std::vector<cvarden::Engine> engines{cvarden::Engine::None, cvarden::Engine::Ioquake3,
                                               cvarden::Engine::Release132, cvarden::Engine::Quake3e};
    savedWithTheEnginesDefaults(input, {&engineFacts(), engines[size % engines.size()], cvarden::GameCode::Release132});

    const std::string marker = "\n#autoexec.cfg\n";
    const std::size_t split = input.find(marker);
    if (split == std::string::npos)
        return 0;
    const std::string q3config = input.substr(0, split);
    const std::string autoexec = input.substr(split + marker.size());
    if (mentionsExec(q3config) || mentionsExec(autoexec))
        return 0; // a file that runs others is checked by the tests' tables
    startUpEndsWithTheSavedValues(q3config, autoexec, cvarden::LaterFilesToo::No);
    startUpEndsWithTheSavedValues(q3config, autoexec, cvarden::LaterFilesToo::Yes);
    return 0;
}
