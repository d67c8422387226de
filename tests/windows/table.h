// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <functional>
#include <string>
#include <vector>

// A small table runner for the Windows build, which has no Qt Test: each row
// is a sentence and a body whose checks either all hold or fail the row.
class Table {
public:
    // What a row's body checks with; a failed check is noted, and the row
    // goes on, so that one run shows every failure.
    class Checks {
    public:
        void that(bool holds, const std::string &what)
        {
            if (!holds)
                failures.push_back(what);
        }
        std::vector<std::string> failures;
    };

    void row(const std::string &sentence, const std::function<void(Checks &)> &body);
    int passed() const { return passed_; }
    int failed() const { return failed_; }

private:
    int passed_ = 0;
    int failed_ = 0;
};
