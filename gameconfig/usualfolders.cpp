// SPDX-License-Identifier: GPL-2.0-or-later
#include "usualfolders.h"

#include <filesystem>
#include <system_error>

#include "nativepath.h"

namespace cvarden {
namespace {

std::vector<std::string> linuxFolders(const FolderEnvironment &environment)
{
    // Current ioquake3 keeps its configuration under the XDG configuration
    // folder, and in ~/.q3a only while that folder exists and the XDG one
    // does not. A relative XDG_CONFIG_HOME is no setting at all.
    const std::string configHome = !environment.xdgConfigHome.empty() && environment.xdgConfigHome.front() == '/'
                                       ? environment.xdgConfigHome
                                       : environment.home + "/.config";
    return {configHome + "/Quake3/baseq3", environment.home + "/.q3a/baseq3"};
}

std::vector<std::string> windowsFolders(const FolderEnvironment &environment)
{
    std::vector<std::string> folders;
    const auto add = [&folders](const std::string &root, const std::string &below) {
        if (!root.empty())
            folders.push_back(root + below);
    };
    // ioquake3 keeps its home in the roaming profile (Sys_DefaultHomePath).
    add(environment.appData, "\\Quake3\\baseq3");
    // The 1.32 release and Quake3e keep it in the install folder: Steam's,
    // which ioquake3 also searches (Sys_SteamPath), then the CD's, which a
    // 32-bit installer puts under Program Files (x86) on a 64-bit system.
    const std::string steamGame = "\\steamapps\\common\\Quake 3 Arena\\baseq3";
    add(environment.steam, steamGame);
    if (environment.steam.empty())
        add(environment.programFilesX86.empty() ? environment.programFiles : environment.programFilesX86,
            "\\Steam" + steamGame);
    add(environment.programFilesX86, "\\Quake III Arena\\baseq3");
    add(environment.programFiles, "\\Quake III Arena\\baseq3");
    // Where the game's early test releases installed themselves.
    folders.push_back("c:\\q3test");
    return folders;
}

} // namespace

std::vector<std::string> GameSettingsFolders(GameSystem system, const FolderEnvironment &environment)
{
    switch (system) {
    case GameSystem::Windows:
        return windowsFolders(environment);
    case GameSystem::MacOS:
        return {environment.home + "/Library/Application Support/Quake3/baseq3"};
    case GameSystem::Linux:
        break;
    }
    return linuxFolders(environment);
}

std::string FirstFolderThatExists(const std::vector<std::string> &folders)
{
    for (const std::string &folder : folders) {
        std::error_code error;
        if (std::filesystem::is_directory(NativePath(folder), error))
            return folder;
    }
    return {};
}

} // namespace cvarden
