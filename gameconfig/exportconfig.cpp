// SPDX-License-Identifier: GPL-2.0-or-later
#include "exportconfig.h"

#include <algorithm>
#include <map>

#include "fileio.h"
#include "fileproblems.h"
#include "laterfiles.h"
#include "normalize.h"
#include "optionmatcher.h"
#include "versions.h"

namespace cvarden {
namespace {

using fileproblems::inQuotes;

// Plans each later file that sets a saved value again: only those commands
// change, in place.
Outcome planLaterFiles(SavePlan &plan, const SaveInputs &chosen)
{
    std::map<std::string, std::vector<const NotHolding *>> byPath;
    for (const NotHolding &value : plan.willNotHold)
        byPath[value.where.path].push_back(&value);
    for (const auto &[path, values] : byPath) {
        LaterFileSave file{path, values.front()->where.file, {}, {}, {}, {}};
        const std::string where = "Cannot write into " + inQuotes(file.name) + ", so no file was changed. ";
        if (Outcome read = ReadGameFile(path, file.before); read.failed())
            return read.within(where);
        std::vector<std::size_t> variables;
        for (const NotHolding *value : values) {
            variables.push_back(value->variable);
            file.options.push_back(value->option);
        }
        SaveInputs inputs = chosen;
        inputs.text = file.before;
        SavePlan inPlace = PlanInPlaceSave(inputs, variables);
        if (inPlace.outcome.failed())
            return inPlace.outcome.within(where);
        if (!inPlace.warnings.empty())
            plan.warnings += file.name + ": " + inPlace.warnings;
        file.text = std::move(inPlace.text);
        file.edits = std::move(inPlace.edits);
        plan.laterFiles.push_back(std::move(file));
    }
    // What those files set again is from now on the value saved.
    for (const SettingPlan &setting : plan.settings) {
        const bool written = std::any_of(plan.willNotHold.begin(), plan.willNotHold.end(),
                                         [&](const NotHolding &value) { return value.option == setting.option; });
        if (!written)
            continue;
        for (const std::size_t option : setting.options)
            plan.setLater.at(option).value = setting.after;
    }
    return {};
}

// Reads what the save is decided from, and decides it.
SavePlan planFor(const std::string &chosenPath, const OptionTree &tree, ValueStore &store, std::string &bytes,
                 const EngineInUse &engine, LaterFilesToo laterFiles)
{
    SavePlan plan;
    // The values written are the player's latest, whichever run saved them;
    // a store that cannot be read has none to give.
    plan.outcome = store.reload();
    if (plan.outcome.ok())
        plan.outcome = ReadGameFile(chosenPath, bytes);
    if (plan.outcome.failed())
        return plan;
    // The game file keeps its own bytes: only the values change, and an
    // added line takes the file's own line end.
    const OptionMatcher matcher(tree);
    const LaterFiles later = ReadLaterFiles(chosenPath, bytes, matcher);
    // Without engine facts the catalogue's default is the game's.
    std::function<bool(const OptionNode &, std::string_view)> gameDefault;
    std::function<std::string(const OptionNode &)> unsetValue;
    std::function<bool(const OptionNode &)> engineHas;
    if (engine.facts && engine.engine != Engine::None)
        engineHas = [&engine](const OptionNode &option) { return engine.of(option.variable()) != nullptr; };
    if (engine.facts) {
        gameDefault = [&engine](const OptionNode &option, std::string_view value) {
            return RunsAnywayWhenLeftOut(*engine.facts, engine.engine, engine.gameCode, option.variable(),
                                         std::string(value), option.defaultValue());
        };
        unsetValue = [&engine](const OptionNode &option) { return DefaultInUse(engine, option); };
    }
    const SaveInputs inputs{
        bytes, tree, store, gameDefault, unsetValue, engineHas, &later, laterFiles == LaterFilesToo::Yes, &matcher};
    plan = PlanSave(inputs);
    if (plan.outcome.ok() && laterFiles == LaterFilesToo::Yes)
        plan.outcome = planLaterFiles(plan, inputs);
    return plan;
}

// A file the save replaces: what it holds, and what it gets.
struct Replacing {
    const std::string &path;
    const std::string &before;
    const std::string &after;
};

Outcome keepWhatEachHeld(const std::vector<Replacing> &files, const std::string &versionsFolder)
{
    for (const Replacing &file : files) {
        Outcome kept = WriteBackupCopy(file.path, file.before);
        if (kept.ok() && !versionsFolder.empty())
            kept = KeepVersion(versionsFolder, file.path, file.before);
        if (kept.failed())
            return kept;
    }
    return {};
}

// Replaces every file, or, when one cannot be, puts back those replaced
// before it.
Outcome replaceAll(const std::vector<Replacing> &files)
{
    for (std::size_t i = 0; i < files.size(); ++i) {
        Outcome replaced = ReplaceWholeFile(files[i].path, files[i].after);
        if (replaced.ok())
            continue;
        std::string notPutBack;
        for (std::size_t back = 0; back < i; ++back) {
            if (ReplaceWholeFile(files[back].path, files[back].before).failed())
                notPutBack += " " + inQuotes(files[back].path);
        }
        if (!notPutBack.empty())
            return replaced.within("These files were saved but could not be put back; their backup copies hold "
                                   "what they held:" +
                                   notPutBack + ". ");
        return i == 0 ? replaced : replaced.within("No file was changed. ");
    }
    return {};
}

void markWritten(const SavePlan &plan, OptionTree &tree)
{
    for (const std::size_t option : plan.writtenOptions())
        tree.item(option).tag = "DONE";
}

} // namespace

SavePlan PlanExport(const std::string &chosenPath, const OptionTree &tree, ValueStore &store, std::string &bytes,
                    const EngineInUse &engine, LaterFilesToo laterFiles)
{
    return planFor(chosenPath, tree, store, bytes, engine, laterFiles);
}

SavePlan ExportConfig(const std::string &chosenPath, OptionTree &tree, ValueStore &store,
                      const std::string &versionsFolder, const EngineInUse &engine, LaterFilesToo laterFiles)
{
    for (std::size_t i = 1; i <= tree.count(); ++i)
        tree.item(i).tag.clear();
    std::string bytes;
    SavePlan plan = planFor(chosenPath, tree, store, bytes, engine, laterFiles);
    if (plan.outcome.ok())
        plan.outcome = RefuseToReplace(chosenPath);
    for (std::size_t i = 0; plan.outcome.ok() && i < plan.laterFiles.size(); ++i) {
        plan.outcome = RefuseToReplace(plan.laterFiles[i].path);
        if (plan.outcome.failed())
            plan.outcome = plan.outcome.within("No file was saved. ");
    }
    if (plan.outcome.failed())
        return plan;
    // From here on the files are about to be replaced.
    std::vector<Replacing> files{{chosenPath, bytes, plan.text}};
    for (const LaterFileSave &file : plan.laterFiles)
        files.push_back({file.path, file.before, file.text});
    plan.outcome = keepWhatEachHeld(files, versionsFolder);
    if (plan.outcome.ok())
        plan.outcome = replaceAll(files);
    if (plan.outcome.ok())
        markWritten(plan, tree);
    return plan;
}

std::string LaterFilesSummary(const SavePlan &plan, Tense tense)
{
    std::string summary;
    for (const LaterFileSave &file : plan.laterFiles) {
        const std::size_t n = file.options.size();
        const bool one = n == 1;
        summary += (one ? std::string("The value of 1 option") : "The values of " + std::to_string(n) + " options") +
                   (tense == Tense::Done ? (one ? " was" : " were") : " would be") + " written into " +
                   inQuotes(file.name) + " as well.\n";
    }
    return summary;
}

} // namespace cvarden
