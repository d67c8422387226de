#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "optiontree.h"
#include "valuestore.h"

namespace cvarden {

struct ImportReport {
    std::string error; // empty on success
    std::size_t valuesTaken = 0;
};

// The value a line of the game's file gives its option, `prefixLength` being
// the length of "seta " and the variable name. The line's own LF, the blanks
// around the value and one pair of enclosing double quotes are not part of it.
std::string ExtractValue(std::string_view line, std::size_t prefixLength);

// Takes the values over from normalized game text: for every line of an
// option, its value is saved under the option's display name, so the last
// such line wins. The saves are committed together at the end.
ImportReport ImportConfigText(std::string_view normalizedText, const OptionTree &tree, ValueStore &store);

// Takes the values of the catalogued options over from the chosen game file
// into the store: for every line of an option, its value is saved under the
// option's display name, so the last such line of the file wins. The file is
// first normalized into its scratch copy and read from there; it is never
// changed. Values saved before a failure stay saved. A store that cannot be
// read is refused before anything is read or written.
ImportReport ImportConfig(const std::string &chosenPath, const OptionTree &tree, ValueStore &store);

} // namespace cvarden
