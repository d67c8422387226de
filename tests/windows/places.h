// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>
#include <vector>

#include "catalogue.h"
#include "table.h"

// Where the rows work: a folder of their own under the system's temporary
// folder, the names the command line gave (in Latin-1, Cyrillic and CJK
// letters, one with a space), and the sample catalogue.
struct Places {
    std::string root;
    std::vector<std::string> names;
    cvarden::Catalogue catalogue;
};

// The q3config.cfg the rows start from, and the option they change.
extern const char *const sampleGameFile;
extern const char *const changedOption; // its display name

void CommandLineRows(Table &table, const Places &places);
void PathRows(Table &table, const Places &places);
void FileRuleRows(Table &table, const Places &places);
void RunningGameRows(Table &table, const Places &places);
void GameFolderRows(Table &table, const Places &places);
