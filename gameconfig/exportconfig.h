// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>

#include "enginevalues.h"
#include "optiontree.h"
#include "saveplan.h"
#include "valuestore.h"

namespace cvarden {

// Whether a save writes, besides the chosen file, the files the game runs
// after it wherever they would set a saved value again to another.
enum class LaterFilesToo { No, Yes };

// Writes the stored values into the chosen game file as PlanSave decides.
// Everything that can refuse the save is asked first: a store that cannot be
// read, a file that cannot be read or is empty, a file the player may not
// replace (read-only, another user's), and whatever the plan refuses; then
// nothing at all is written. Only a save that goes on writes the backup copy
// (the file's normalized text), keeps what the file held as a version in
// `versionsFolder` (none when it is empty), and replaces the file's content in
// one step. Each option written gets the tag "DONE".
// A setting at its default is left out only where the game runs with that
// value anyway: the default of `engine` when it is known, else the default
// every engine shares.
// With `laterFiles`, each later file to change is planned, refused and
// written the same way, with its own backup copy and versions: every file is
// written or none (a file that cannot be replaced puts back those replaced
// before it).
SavePlan ExportConfig(const std::string &chosenPath, OptionTree &tree, ValueStore &store,
                      const std::string &versionsFolder = {}, const EngineInUse &engine = {},
                      LaterFilesToo laterFiles = LaterFilesToo::No);

// The same plan, for a preview: nothing is written anywhere. `bytes` gets
// what the file holds, to show beside it.
SavePlan PlanExport(const std::string &chosenPath, const OptionTree &tree, ValueStore &store, std::string &bytes,
                    const EngineInUse &engine = {}, LaterFilesToo laterFiles = LaterFilesToo::No);

// "The values of 2 options were written into autoexec.cfg as well.", one
// line for each later file a save wrote (or, for a preview, would write);
// empty when there is none.
enum class Tense { Done, Preview };
std::string LaterFilesSummary(const SavePlan &plan, Tense tense);

} // namespace cvarden
