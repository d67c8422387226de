#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "optiontree.h"
#include "valuestore.h"

namespace cvarden {

struct ExportReport {
    std::string error; // empty on success
    std::size_t linesReplaced = 0;
    std::size_t linesAdded = 0;
};

// The record that sets an option in the game's file. The value is always
// quoted, and double quotes, CR and LF are left out of it: the game runs this
// file, and would cut an unquoted value at ";" or "//" and end the command at
// a stray quote or line break. The text ends in LF, the game's own line end,
// unless `endsInLf` is false (for a line of a file with CR LF line ends).
std::string OptionRecordText(std::string_view variableName, std::string_view value, bool endsInLf = true);

// Rewrites normalized game text with the stored values: every line of a
// catalogued variable is replaced by a record with its value, other lines are
// copied, and a record is added at the end for every variable that had none.
// Where several options share a variable, the last of them in tree order
// gives the value, as it is the one the game would end with.
// A replaced line keeps its own line end: one from a CR LF file gets no LF,
// so that a blank line after it is still there after the next export.
// Marks each option written with the tag "DONE".
std::string RewriteConfigText(std::string_view normalizedText, OptionTree &tree, const ValueStore &store,
                              ExportReport &report);

// Writes the stored values into the chosen game file: normalizes it into its
// scratch copy (the player's backup of the old content), keeps the old
// content as a version in `versionsFolder` (none is kept when it is empty),
// then replaces the file's content in one step. A read-only file, or a store
// that cannot be read, is refused and nothing is written.
ExportReport ExportConfig(const std::string &chosenPath, OptionTree &tree, ValueStore &store,
                          const std::string &versionsFolder = {});

} // namespace cvarden
