// SPDX-License-Identifier: GPL-2.0-or-later
// Writes a generated catalogue of the given number of entries to a file.
#include <cstdio>
#include <cstdlib>

#include "fileio.h"
#include "fixtures.h"

int main(int argc, char *argv[])
{
    if (argc != 3)
        return 2;
    const cvarden::Outcome written =
        cvarden::WriteWholeFile(argv[2], bench::generatedCatalogue(std::strtoul(argv[1], nullptr, 10)));
    if (written.failed())
        std::fprintf(stderr, "%s\n", written.message().c_str());
    return written.ok() ? 0 : 1;
}
