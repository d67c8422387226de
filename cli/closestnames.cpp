// SPDX-License-Identifier: GPL-2.0-or-later
#include "closestnames.h"

#include <algorithm>
#include <cctype>

namespace cvarden {
namespace {

char folded(char c)
{
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

std::string foldedText(const std::string &text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), folded);
    return out;
}

// Letters added, dropped or changed to turn one text into the other.
std::size_t slipsBetween(const std::string &a, const std::string &b)
{
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

} // namespace

std::vector<std::string> ClosestNames(const std::string &typed, const std::vector<std::string> &names, std::size_t most)
{
    const std::string wanted = foldedText(typed);
    // About one slip in three letters still reads as the same name.
    const std::size_t allowed = std::max<std::size_t>(2, wanted.size() / 3);
    std::vector<std::pair<std::size_t, const std::string *>> near;
    for (const std::string &name : names) {
        const std::string candidate = foldedText(name);
        const std::size_t slips = slipsBetween(wanted, candidate);
        const bool holdsIt = !wanted.empty() && candidate.find(wanted) != std::string::npos;
        if (slips <= allowed || holdsIt)
            near.emplace_back(slips, &name);
    }
    std::stable_sort(near.begin(), near.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    std::vector<std::string> closest;
    for (const auto &[slips, name] : near) {
        if (closest.size() == most)
            break;
        if (std::find(closest.begin(), closest.end(), *name) == closest.end())
            closest.push_back(*name);
    }
    return closest;
}

} // namespace cvarden
