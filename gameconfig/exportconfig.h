// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "optiontree.h"
#include "valuestore.h"

namespace cvarden {

struct ExportReport {
    std::string error;             // empty on success; else nothing was written
    std::string warning;           // on success, what the player should still know; may be empty
    std::size_t linesReplaced = 0; // commands rewritten in place
    std::size_t linesAdded = 0;
};

// The 1.32 release reads its configuration into a command buffer of 16,384
// bytes, with a line end added: a longer file is ignored whole.
constexpr std::size_t originalReleaseFileLimit = 16383;

// The command that sets a variable in the game's file: `seta`, the name and
// the value in double quotes. Double quotes, CR, LF and NUL are left out of
// the value, so that the game reads it as one value and runs nothing else.
std::string OptionRecordText(std::string_view variableName, std::string_view value);

// Rewrites normalized game text so that the game, running it, ends with the
// stored value of every catalogued variable and does all else as before.
// Each `seta` command of a catalogued variable (in any letter case, after
// blanks or other commands on its line) is rewritten in place with the stored
// value, keeping the file's spelling of the name and every byte around it; a
// record is added at the end for each variable whose last command could not
// be rewritten or that has none. Where several options share a variable, the
// last of them in tree order gives the value, as the game would end with it.
// Fails, writing nothing, when a value is too long for the game's command
// line, or when the game stops reading before the end (a NUL byte, an
// unclosed /* comment) and records would have to be added there.
// Marks each option written with the tag "DONE".
std::string RewriteConfigText(std::string_view normalizedText, OptionTree &tree, const ValueStore &store,
                              ExportReport &report);

// Writes the stored values into the chosen game file: normalizes it into its
// backup copy, keeps the old content as a version in `versionsFolder` (none is
// kept when it is empty), then replaces the file's content in one step. A read-only file, or a store
// that cannot be read, is refused and nothing is written.
[[nodiscard]] ExportReport ExportConfig(const std::string &chosenPath, OptionTree &tree, ValueStore &store,
                                        const std::string &versionsFolder = {});

} // namespace cvarden
