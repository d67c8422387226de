// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdio>
#include <cstdlib>

// A property of a fuzz target: when it does not hold, the run stops and says
// which one, so the fuzzer keeps the input that broke it.
inline void requireAt(bool condition, int line)
{
    if (condition)
        return;
    std::fprintf(stderr, "property at line %d does not hold\n", line);
    std::abort();
}
#define require(condition) requireAt((condition), __LINE__)
