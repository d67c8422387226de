// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "laterfiles.h"
#include "optiontree.h"
#include "outcome.h"
#include "valuestore.h"

namespace cvarden {

// Everything a save is decided from. Nothing here is written to: the plan is
// worked out whole before any file is touched, and a preview shows the same
// plan that a save writes.
struct SaveInputs {
    std::string_view text; // what the game file holds
    const OptionTree &tree;
    const ValueStore &store;
    // Whether the game would run with `value` anyway if the file did not set
    // `variable`; by default, when it is the catalogue's default.
    std::function<bool(const OptionNode &option, std::string_view value)> gameDefault;
    // The value of an option the player never set, as Cvarden shows it (the
    // engine's default where it is known); by default the catalogue's.
    std::function<std::string(const OptionNode &option)> unsetValue;
    // Whether the engine in use has the option's variable; null when no
    // engine is known, and then every missing variable is added.
    std::function<bool(const OptionNode &option)> engineHas;
    // What the files the game runs after the chosen one set again; none read
    // when null.
    const LaterFiles *later = nullptr;
    // Whether the values those files would set again are to be written into
    // them as well: then they are not warned of.
    bool intoLaterFiles = false;
    // The index of the catalogue's variables where the caller has built it
    // already; built anew when null.
    const OptionMatcher *matcher = nullptr;
};

// What a save does for one catalogued variable.
enum class SettingFate {
    AlreadyRight,        // the game already ends with this value
    Changed,             // the game ended with another value, or with none, and gets this one
    AddedAtDefault,      // not in the file: added with the value the game would take anyway
    LeftOutAtDefault,    // not in the file, and left out to keep the file readable by the 1.32 release
    LeftOutNotInEngine,  // not in the file, at its default, and the engine in use has no such variable
    LeftOutSetElsewhere, // not in the file, never set, and another file the game runs sets it
    NameUnreadable,      // the game cannot read the variable's name: never written
};

struct SettingPlan {
    std::size_t option = 0;           // the option that gives the value
    std::vector<std::size_t> options; // every option of the variable, in tree order
    SettingFate fate = SettingFate::AlreadyRight;
    std::optional<std::string> before; // what the game ended with; none when nothing set it
    std::string after;                 // the value written
};

// Bytes `from` to `to` of the file give way to `text`; an addition is an
// edit at the file's end.
struct TextEdit {
    std::size_t from = 0;
    std::size_t to = 0;
    std::string text;
};

// A value saved that a file the game runs later sets again to another.
struct NotHolding {
    std::size_t variable = 0; // in the catalogue's list of variables
    std::size_t option = 0;   // the option that gives the value
    LaterSetting where;
};

// A file the game runs later, rewritten so that the values saved hold.
struct LaterFileSave {
    std::string path;
    std::string name;   // as the game names it
    std::string before; // what it holds
    std::string text;   // what it gets
    std::vector<TextEdit> edits;
    std::vector<std::size_t> options; // whose values it now gives
};

struct SavePlan {
    Outcome outcome; // a refusal: then nothing may be written
    std::string text;
    std::vector<TextEdit> edits;       // in order, each after the one before
    std::vector<SettingPlan> settings; // one per catalogued variable
    std::size_t commandsRewritten = 0;
    std::size_t commandsAdded = 0;
    // What the player should still know of a save that goes on, one line each.
    std::string warnings;
    // By option, what a file the game runs later sets again.
    std::map<std::size_t, LaterSetting> setLater;
    std::vector<NotHolding> willNotHold;
    // The files the game runs later that the save writes as well.
    std::vector<LaterFileSave> laterFiles;

    std::size_t count(SettingFate fate) const;
    // The options whose variable's commands were rewritten in place or added.
    std::vector<std::size_t> writtenOptions() const;
};

// The 1.32 release reads its configuration into a command buffer of 16,384
// bytes, with a line end added: a longer file is ignored whole.
constexpr std::size_t originalReleaseFileLimit = 16383;

// The command that sets a variable in the game's file: `seta`, the name and
// the value in double quotes. Double quotes, CR, LF and NUL are left out of
// the value, so that the game reads it as one value and runs nothing else.
std::string OptionRecordText(std::string_view variableName, std::string_view value);

// Works out the text that makes the game, running it, end with the stored
// value of every catalogued variable and do all else as before. Each `seta`,
// `set`, `sets` or `setu` command of a catalogued variable (in any letter
// case, after blanks or other commands on its line) gets the stored value in
// place, keeping its own command word, the file's spelling of the name and
// every byte around it; a command is added at the
// end for each variable whose last command could not be rewritten or that
// has none. Where several options share a variable, the last of them in tree
// order gives the value, as the game would end with it. Refuses when a value
// is too long for the game's command line, when the game stops reading
// before the end (a NUL byte, an unclosed /* comment) and a command would
// have to be added there, and when a line the game cuts would change what
// the game makes of the rest.
SavePlan PlanSave(const SaveInputs &inputs);

// The same rewrite for a file the game runs later (`inputs.text`; its `later`
// is not read): only the commands of `variables` (in the catalogue's list of
// variables) get the stored value,
// each in place; nothing is added. Refused when one of them cannot be
// changed where it stands (the game cuts it, it would grow past the game's
// limit, it begins in a comment), so that the file is written whole or not
// at all.
SavePlan PlanInPlaceSave(const SaveInputs &inputs, const std::vector<std::size_t> &variables);

// What a save did, in a sentence for the player: "Nothing changed" when the
// file already held every value, else how many settings changed, how many
// were added at their default and how many were already right, and how
// many were not added because the engine in use does not have them or
// because other files the game runs set them.
std::string SaveSummary(const SavePlan &plan);

} // namespace cvarden
