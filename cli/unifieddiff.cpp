// SPDX-License-Identifier: GPL-2.0-or-later
#include "unifieddiff.h"

#include <sstream>
#include <vector>

#include <dtl/dtl.hpp>

#include "linemodel.h"

namespace cvarden {
namespace {

// One entry per record, as the game shows it: without its own line end.
std::vector<std::string> shownRecords(std::string_view text)
{
    std::vector<std::string> records;
    LineReader reader(text);
    for (std::string_view record; reader.readLine(record);) {
        if (!record.empty() && record.back() == '\n')
            record.remove_suffix(1);
        records.emplace_back(record);
    }
    return records;
}

} // namespace

std::string UnifiedDiff(std::string_view before, std::string_view after, const std::string &beforeLabel,
                        const std::string &afterLabel)
{
    const std::vector<std::string> a = shownRecords(before);
    const std::vector<std::string> b = shownRecords(after);
    if (a == b)
        return {};
    dtl::Diff<std::string, std::vector<std::string>> diff(a, b);
    diff.onHuge();
    diff.compose();
    diff.composeUnifiedHunks();
    std::ostringstream out;
    out << "--- " << beforeLabel << "\n+++ " << afterLabel << "\n";
    diff.printUnifiedFormat(out);
    return out.str();
}

} // namespace cvarden
