// SPDX-License-Identifier: GPL-2.0-or-later
#include "table.h"

#include <cstdio>
#include <exception>

void Table::row(const std::string &sentence, const std::function<void(Checks &)> &body)
{
    Checks checks;
    try {
        body(checks);
    } catch (const std::exception &error) {
        checks.failures.push_back(std::string("threw: ") + error.what());
    }
    if (checks.failures.empty()) {
        ++passed_;
        std::printf("PASS  %s\n", sentence.c_str());
        return;
    }
    ++failed_;
    std::printf("FAIL  %s\n", sentence.c_str());
    for (const std::string &failure : checks.failures)
        std::printf("        %s\n", failure.c_str());
}
