// SPDX-License-Identifier: GPL-2.0-or-later
#include "optionkey.h"

#include <limits>

namespace Module1 {
namespace {

constexpr char separator = '?';

// Drops `fields` leading fields, each closed by "?". A field that is not
// closed stays, as dropping stops at the first missing separator.
std::string_view dropFields(std::string_view key, int fields)
{
    for (int i = 0; i < fields; ++i) {
        const std::size_t at = key.find(separator);
        if (at == std::string_view::npos)
            break;
        key.remove_prefix(at + 1);
    }
    return key;
}

// The text before the first "?", or empty when no "?" closes it.
std::string closedField(std::string_view text)
{
    const std::size_t at = text.find(separator);
    return at == std::string_view::npos ? std::string() : std::string(text.substr(0, at));
}

} // namespace

std::string OptionVarName(std::string_view key)
{
    return closedField(key);
}

std::string OptionKind(std::string_view key)
{
    return closedField(dropFields(key, 2));
}

std::string OptionOrdinal(std::string_view key)
{
    return closedField(dropFields(key, 3));
}

std::string OptionDefault(std::string_view key)
{
    const std::size_t at = key.rfind(separator);
    return at == std::string_view::npos ? std::string() : std::string(key.substr(at + 1));
}

unsigned long long WholeNumber(std::string_view text)
{
    constexpr auto limit = std::numeric_limits<unsigned long long>::max();
    unsigned long long number = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return 0;
        const unsigned digit = static_cast<unsigned>(c - '0');
        number = number > (limit - digit) / 10 ? limit : number * 10 + digit;
    }
    return number;
}

std::vector<std::string> OptionChoices(std::string_view key)
{
    std::vector<std::string> choices;
    std::string_view rest = dropFields(key, 4);
    std::size_t at = rest.find(separator);
    if (at == std::string_view::npos)
        return choices;
    unsigned long long count = WholeNumber(rest.substr(0, at));
    rest.remove_prefix(at + 1);
    for (; count > 0 && (at = rest.find(separator)) != std::string_view::npos; --count) {
        choices.emplace_back(rest.substr(0, at));
        rest.remove_prefix(at + 1);
    }
    return choices;
}

} // namespace Module1
