// SPDX-License-Identifier: GPL-2.0-or-later
// Import then export of any game file against a small fixed catalogue, each
// checked against the model of how the game runs the file: the import takes
// what the game ends with, the export makes the game end with the values
// written and do all else as before, and a second export changes nothing.
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
#include "importconfig.h"
#include "loader.h"
#include "normalize.h"
#include "property.h"
#include "variablename.h"

namespace {

// Names that begin one another, share a variable (once in another letter
// case), or cannot be written: a blank inside.
const char catalogueText[] =
    "F\r\nG\r\n---\r\n"
    "F\r\nA\r\nd\r\nab\r\nx\r\nVALUE\r\n1\r\n"
    "F\r\nC\r\nd\r\nabc\r\nx\r\nCHECK\r\nx\r\n0\r\n"
    "G\r\nB\r\nd\r\nab\r\nx\r\nCOMBO\r\nENTRIES\r\n2\r\np\r\nq\r\nx\r\nq\r\n"
    "G\r\nU\r\nd\r\nAB\r\nx\r\nVALUE\r\nu\r\n"
    "G\r\nT\r\nd\r\nseta\r\nx\r\nVALUE\r\n\r\n"
    "G\r\nS\r\nd\r\nsp ace\r\nx\r\nVALUE\r\n\"\r\n";

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

// The value the game ends with for a variable: the last option's, as written.
std::string writtenValue(const MemoryStore &store, const std::string &variable)
{
    const OptionFacts *last = nullptr;
    for (const OptionFacts &option : options()) {
        if (option.variable == variable)
            last = &option;
    }
    std::string written;
    for (const char c : store.Get(last->text, last->fallback)) {
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

void exportChangesOnlyWhatItMust(const std::string &before, const std::string &after, const MemoryStore &store)
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
        // A default left out to keep the file within the 1.32 release's limit.
        if (ended == is.catalogued.end()) {
            const MemoryStore nothingStored;
            require(was.catalogued.count(variable) == 0 &&
                    writtenValue(store, variable) == writtenValue(nothingStored, variable));
            continue;
        }
        require(ended->second == writtenValue(store, variable));
    }
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
    const cvarden::SavePlan plan = cvarden::PlanSave({input, tree, store, {}});
    if (plan.outcome.failed()) {
        require(someValueTooLong(store) || input.find('\0') != std::string::npos ||
                input.find("/*") != std::string::npos || gamemodel::run(input, cataloguedNames()).cut);
        return 0;
    }
    exportChangesOnlyWhatItMust(input, plan.text, store);

    const cvarden::SavePlan again = cvarden::PlanSave({plan.text, tree, store, {}});
    require(again.text == plan.text);
    require(again.commandsAdded == 0);
    return 0;
}
