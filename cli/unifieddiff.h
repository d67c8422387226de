// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "saveplan.h"

namespace cvarden {

// A unified diff of `before` against what `edits` (in order, none
// overlapping) make of it, headed by the two labels; the empty text when
// there are no edits. Only the lines the edits touch and their context are
// looked at, so a preview of a file of any size costs what its edits do.
// Lines end at LF and are shown without their line ends.
std::string UnifiedDiff(std::string_view before, const std::vector<TextEdit> &edits, const std::string &beforeLabel,
                        const std::string &afterLabel);

} // namespace cvarden
