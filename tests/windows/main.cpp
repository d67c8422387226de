// SPDX-License-Identifier: GPL-2.0-or-later
// The Qt-free core's tests on Windows (run under Wine by
// scripts/test-windows.sh). It starts from wmain, as the Qt layer takes its
// arguments wide, and hands the core its paths in UTF-8.
#include <windows.h>

#include <cstdio>

#include "loader.h"
#include "places.h"
#include "winkit.h"

namespace {

std::string makeRoot()
{
    wchar_t temporary[MAX_PATH];
    const DWORD length = GetTempPathW(MAX_PATH, temporary);
    std::string root = winkit::Utf8(std::wstring(temporary, length)) + "cvarden-tests-" +
                       std::to_string(GetCurrentProcessId());
    winkit::RemoveAll(root);
    winkit::MakeFolder(root);
    return root;
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    std::printf("ANSI code page %u, OEM code page %u\n", GetACP(), GetOEMCP());
    Places places;
    for (int i = 1; i < argc; ++i)
        places.names.push_back(winkit::Utf8(argv[i]));
    if (places.names.empty()) {
        std::fprintf(stderr, "usage: cvarden-windows-tests NAME...: the folder names to test in\n");
        return 2;
    }
    places.root = makeRoot();
    const cvarden::Outcome opened =
        cvarden::OpenOptions(std::string(CVARDEN_SAMPLE_DATA) + "/options.dat", places.catalogue);
    if (opened.failed()) {
        std::fprintf(stderr, "%s\n", opened.message().c_str());
        return 1;
    }

    Table table;
    CommandLineRows(table, places);
    PathRows(table, places);
    FileRuleRows(table, places);
    RunningGameRows(table, places);
    GameFolderRows(table, places);
    winkit::RemoveAll(places.root);
    std::printf("%d passed, %d failed\n", table.passed(), table.failed());
    return table.failed() == 0 ? 0 : 1;
}
