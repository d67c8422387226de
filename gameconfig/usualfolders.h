// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>
#include <vector>

namespace cvarden {

// What of the player's environment says where the game keeps q3config.cfg;
// an empty value is one not set. Paths as the core takes them.
struct FolderEnvironment {
    std::string home;            // Linux and macOS: the player's home folder
    std::string xdgConfigHome;   // Linux: XDG_CONFIG_HOME
    std::string appData;         // Windows: %APPDATA%
    std::string programFiles;    // Windows: %ProgramFiles%
    std::string programFilesX86; // Windows: %ProgramFiles(x86)%
    std::string steam;           // Windows: Steam's folder (SteamPath under HKCU\Software\Valve\Steam)
};

enum class GameSystem { Linux, MacOS, Windows };

// The folders where the game's engines keep q3config.cfg on `system`, in the
// order to try them.
std::vector<std::string> GameSettingsFolders(GameSystem system, const FolderEnvironment &environment);

// The first of `folders` that exists as a folder; the empty text when none
// does.
std::string FirstFolderThatExists(const std::vector<std::string> &folders);

} // namespace cvarden
