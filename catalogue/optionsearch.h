#pragma once

#include <cstddef>
#include <string_view>

#include "optiontree.h"

namespace cvarden {

// The first option, from index `start` on in tree order and going round past
// the last node, whose display name or variable name contains `text`, letter
// case ignored; 0 when none does. Folders are passed over.
std::size_t FindOption(const OptionTree &tree, std::string_view text, std::size_t start);

} // namespace cvarden
