// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

// An option key joins an option's fields with "?":
//   variable ? reserved ? kind ? ordinal ? kind tail ... ? default
// These accessors are the only readers of a key. Each returns the empty text
// when the separators it needs are missing, so a folder's key (a bare name)
// yields the empty text from all of them.
namespace Module1 {

std::string OptionVarName(std::string_view key);
std::string OptionKind(std::string_view key);
std::string OptionOrdinal(std::string_view key);
std::string OptionDefault(std::string_view key);

// The choices of a COMBO key, in key order: the fifth field is the count n,
// followed by n choices. A count that is not a whole decimal number, or an
// unclosed count field, gives no choices; a count larger than the fields that
// follow gives only those fields.
std::vector<std::string> OptionChoices(std::string_view key);

// Reads a whole decimal number made of digits only; anything else reads as
// 0. Too large a number saturates rather than wrapping.
unsigned long long WholeNumber(std::string_view text);

} // namespace Module1
