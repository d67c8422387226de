// SPDX-License-Identifier: GPL-2.0-or-later
#include "checkstate.h"

#include <algorithm>

namespace cvarden {
namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The whole number a text spells in decimal, blanks around it, a sign and a
// fraction of zeros allowed ("1.0", " 1", "01", "+2."); nothing for any other
// text. Only 0 to 2 matter, so any larger number reads as some number above 2.
std::optional<int> SmallWholeNumber(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return std::nullopt;
    text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    const bool negative = text.front() == '-';
    if (text.front() == '-' || text.front() == '+')
        text.remove_prefix(1);
    const std::string_view whole = text.substr(0, text.find('.'));
    const std::string_view fraction = text.substr(whole.size() == text.size() ? text.size() : whole.size() + 1);
    if ((whole.empty() && fraction.empty()) || !std::all_of(whole.begin(), whole.end(), IsDigit) ||
        !std::all_of(fraction.begin(), fraction.end(), [](char c) { return c == '0'; }))
        return std::nullopt;
    const std::string_view digits = whole.substr(std::min(whole.find_first_not_of('0'), whole.size()));
    if (digits.empty())
        return 0;
    if (negative)
        return std::nullopt;
    return digits.size() > 1 ? 3 : digits.front() - '0';
}

} // namespace

std::optional<Qt::CheckState> CheckStateOf(std::string_view stored)
{
    switch (SmallWholeNumber(stored).value_or(-1)) {
    case 0:
        return Qt::Unchecked;
    case 1:
        return Qt::Checked;
    case 2:
        return Qt::PartiallyChecked;
    default:
        return std::nullopt;
    }
}

std::string StoredCheckState(Qt::CheckState state)
{
    switch (state) {
    case Qt::Unchecked:
        return "0";
    case Qt::Checked:
        return "1";
    case Qt::PartiallyChecked:
        return "2";
    }
    return "0";
}

} // namespace cvarden
