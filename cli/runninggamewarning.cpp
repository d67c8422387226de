// SPDX-License-Identifier: GPL-2.0-or-later
#include "runninggamewarning.h"

#include <cstdio>

#include "runninggame.h"

namespace cvarden {

bool ExportGoesOn(const std::string &path, bool refuseWhileRunning, std::FILE *err, const std::string &undone)
{
    const std::vector<std::string> engines = RunningEnginesForMe();
    if (engines.empty())
        return true;
    std::string names;
    for (const std::string &engine : engines)
        names += (names.empty() ? "" : ", ") + engine;
    if (refuseWhileRunning) {
        std::fprintf(err, "cvarden-cli: the game is running (%s); %s is left unchanged\n", names.c_str(), path.c_str());
        return false;
    }
    std::fprintf(err,
                 "cvarden-cli: warning: the game is running (%s); it writes %s again when it quits, which undoes "
                 "%s\n",
                 names.c_str(), path.c_str(), undone.c_str());
    return true;
}

} // namespace cvarden
