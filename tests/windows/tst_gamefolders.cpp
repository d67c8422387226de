// SPDX-License-Identifier: GPL-2.0-or-later
// Where the file dialog starts on Windows: the engines' own folders, from
// the environment's values, and the first of them that exists.
#include "places.h"
#include "usualfolders.h"
#include "winkit.h"

using cvarden::FolderEnvironment;

namespace {

const std::string ioquake3Home = "\\Quake3\\baseq3";
const std::string steamGame = "\\steamapps\\common\\Quake 3 Arena\\baseq3";
const std::string cdGame = "\\Quake III Arena\\baseq3";

FolderEnvironment windowsOf(const std::string &profile)
{
    FolderEnvironment environment;
    environment.appData = profile + "\\AppData\\Roaming";
    environment.programFiles = "C:\\Program Files";
    environment.programFilesX86 = "C:\\Program Files (x86)";
    return environment;
}

} // namespace

void GameFolderRows(Table &table, const Places &places)
{
    struct Case {
        const char *sentence;
        FolderEnvironment environment;
        std::vector<std::string> folders;
    };
    const std::string jorg = "C:\\users\\J\xC3\xB6rg";
    FolderEnvironment withSteam = windowsOf(jorg);
    withSteam.steam = "D:\\Games\\Steam";
    FolderEnvironment bare;
    FolderEnvironment only32 = windowsOf(jorg);
    only32.programFilesX86.clear();
    const Case cases[] = {
        {"ioquake3's profile folder first, then Steam's, the CD's, and c:\\q3test last",
         windowsOf(jorg),
         {jorg + "\\AppData\\Roaming" + ioquake3Home, "C:\\Program Files (x86)\\Steam" + steamGame,
          "C:\\Program Files (x86)" + cdGame, "C:\\Program Files" + cdGame, "c:\\q3test"}},
        {"Steam's folder from the registry stands in for its usual one",
         withSteam,
         {jorg + "\\AppData\\Roaming" + ioquake3Home, "D:\\Games\\Steam" + steamGame,
          "C:\\Program Files (x86)" + cdGame, "C:\\Program Files" + cdGame, "c:\\q3test"}},
        {"a 32-bit system has Steam and the CD's folder under Program Files",
         only32,
         {jorg + "\\AppData\\Roaming" + ioquake3Home, "C:\\Program Files\\Steam" + steamGame,
          "C:\\Program Files" + cdGame, "c:\\q3test"}},
        {"with nothing set, only c:\\q3test", bare, {"c:\\q3test"}},
    };
    for (const Case &test : cases) {
        table.row("game folders: " + std::string(test.sentence), [&](auto &check) {
            check.that(cvarden::GameSettingsFolders(cvarden::GameSystem::Windows, test.environment) == test.folders,
                       "the folders in that order");
        });
    }

    table.row("game folders: the dialog starts in the first that exists, under a profile named in Cyrillic",
              [&](auto &check) {
                  const std::string profile = places.root + "\\" + places.names.at(1);
                  FolderEnvironment environment = windowsOf(profile);
                  environment.programFilesX86 = profile + "\\Program Files (x86)";
                  const std::string install = environment.programFilesX86 + cdGame;
                  const std::string home = environment.appData + ioquake3Home;
                  for (const std::string &folder : {profile, profile + "\\AppData", environment.appData,
                                                    environment.programFilesX86, install.substr(0, install.size() - 7),
                                                    install})
                      check.that(winkit::MakeFolder(folder), "made " + folder);
                  const auto folders = cvarden::GameSettingsFolders(cvarden::GameSystem::Windows, environment);
                  check.that(cvarden::FirstFolderThatExists(folders) == install,
                             "the install folder, while ioquake3's is missing");
                  check.that(winkit::MakeFolder(environment.appData + "\\Quake3") && winkit::MakeFolder(home),
                             "ioquake3's folder is made");
                  check.that(cvarden::FirstFolderThatExists(folders) == home, "ioquake3's folder, once it exists");
              });
}
