// SPDX-License-Identifier: GPL-2.0-or-later
#include "exportconfig.h"

#include "fileio.h"
#include "laterfiles.h"
#include "normalize.h"
#include "optionmatcher.h"
#include "versions.h"

namespace cvarden {
namespace {

// Reads what the save is decided from, and decides it.
SavePlan planFor(const std::string &chosenPath, const OptionTree &tree, ValueStore &store, std::string &bytes,
                 const EngineInUse &engine)
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
    const LaterFiles later = ReadLaterFiles(chosenPath, bytes, OptionMatcher(tree));
    // Without engine facts the catalogue's default is the game's.
    std::function<bool(const OptionNode &, std::string_view)> gameDefault;
    if (engine.facts)
        gameDefault = [&engine](const OptionNode &option, std::string_view value) {
            return RunsAnywayWhenLeftOut(*engine.facts, engine.engine, engine.gameCode, option.variable(),
                                         std::string(value), option.defaultValue());
        };
    return PlanSave({bytes, tree, store, gameDefault, &later});
}

void markWritten(const SavePlan &plan, OptionTree &tree)
{
    for (const std::size_t option : plan.writtenOptions())
        tree.item(option).tag = "DONE";
}

} // namespace

SavePlan PlanExport(const std::string &chosenPath, const OptionTree &tree, ValueStore &store, std::string &bytes,
                    const EngineInUse &engine)
{
    return planFor(chosenPath, tree, store, bytes, engine);
}

SavePlan ExportConfig(const std::string &chosenPath, OptionTree &tree, ValueStore &store,
                      const std::string &versionsFolder, const EngineInUse &engine)
{
    for (std::size_t i = 1; i <= tree.count(); ++i)
        tree.item(i).tag.clear();
    std::string bytes;
    SavePlan plan = planFor(chosenPath, tree, store, bytes, engine);
    if (plan.outcome.ok())
        plan.outcome = RefuseToReplace(chosenPath);
    if (plan.outcome.failed())
        return plan;
    // From here on the file is about to be replaced.
    plan.outcome = WriteBackupCopy(chosenPath, bytes);
    if (plan.outcome.ok() && !versionsFolder.empty())
        plan.outcome = KeepVersion(versionsFolder, chosenPath, bytes);
    if (plan.outcome.failed())
        return plan;
    bytes = std::string(); // its memory back, for files of many megabytes
    plan.outcome = ReplaceWholeFile(chosenPath, plan.text);
    if (plan.outcome.ok())
        markWritten(plan, tree);
    return plan;
}

} // namespace cvarden
