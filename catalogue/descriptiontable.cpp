// SPDX-License-Identifier: GPL-2.0-or-later
#include "descriptiontable.h"

namespace cvarden {

void DescriptionTable::set(std::size_t ordinal, std::string text)
{
    if (ordinal == 0)
        return;
    if (texts_.size() <= ordinal)
        texts_.resize(ordinal + 1);
    texts_[ordinal] = std::move(text);
}

const std::string &DescriptionTable::at(std::size_t ordinal) const
{
    static const std::string empty;
    return ordinal < texts_.size() ? texts_[ordinal] : empty;
}

} // namespace cvarden
