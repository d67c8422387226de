// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstddef>
#include <string>

// Inputs for the benchmarks, made to measure.
namespace bench {

// A catalogue of `entries` options in ten folders, every kind represented;
// option i edits the variable "var<i>" and is shown as "Option <i>".
std::string generatedCatalogue(std::size_t entries);

// A game-written file (LF line ends) of `lines` lines: a `seta` line for each
// of the first `options` catalogued variables, then other `seta` and `bind`
// lines up to the count.
std::string generatedGameFile(std::size_t lines, std::size_t options);

// The whole of a file, or the empty text when it cannot be read.
std::string fileBytes(const std::string &path);

} // namespace bench
