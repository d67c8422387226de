#pragma once

#include <Qt>
#include <optional>
#include <string>
#include <string_view>

namespace cvarden {

// An on/off option is stored as "0" (clear), "1" (ticked) or "2" (grey).
// Any other text (an empty value taken over from the game's file, say) has no
// state: the answer is empty.
std::optional<Qt::CheckState> CheckStateOf(std::string_view stored);

std::string StoredCheckState(Qt::CheckState state);

} // namespace cvarden
