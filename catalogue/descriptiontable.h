// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace cvarden {

// Descriptions by entry ordinal, from 1 up. Slot 0 is never filled, so a
// folder (whose ordinal reads as 0) shows an empty description.
class DescriptionTable {
public:
    void set(std::size_t ordinal, std::string text);
    // The empty text for an ordinal that holds nothing.
    const std::string &at(std::size_t ordinal) const;

private:
    std::vector<std::string> texts_;
};

} // namespace cvarden
