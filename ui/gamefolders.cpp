// SPDX-License-Identifier: GPL-2.0-or-later
#include "gamefolders.h"

#include <QDir>
#include <QSettings>

#include "bytetext.h"
#include "usualfolders.h"

namespace cvarden {
namespace {

std::string variable(const char *name)
{
    return PathBytes(qEnvironmentVariable(name));
}

GameSystem thisSystem()
{
#if defined(Q_OS_WIN)
    return GameSystem::Windows;
#elif defined(Q_OS_MACOS)
    return GameSystem::MacOS;
#else
    return GameSystem::Linux;
#endif
}

FolderEnvironment thisEnvironment()
{
    FolderEnvironment environment;
    environment.home = PathBytes(QDir::homePath());
    environment.xdgConfigHome = variable("XDG_CONFIG_HOME");
#if defined(Q_OS_WIN)
    environment.appData = variable("APPDATA");
    environment.programFiles = variable("ProgramFiles");
    environment.programFilesX86 = variable("ProgramFiles(x86)");
    // Where Steam is installed, as the engines read it.
    environment.steam =
        PathBytes(QSettings(QStringLiteral("HKEY_CURRENT_USER\\Software\\Valve\\Steam"), QSettings::NativeFormat)
                      .value(QStringLiteral("SteamPath"))
                      .toString());
#endif
    return environment;
}

} // namespace

QStringList UsualGameFolders()
{
    QStringList folders;
    for (const std::string &folder : GameSettingsFolders(thisSystem(), thisEnvironment()))
        folders << FromSystemText(folder);
    return folders;
}

QString FirstExistingFolder(const QStringList &candidates)
{
    std::vector<std::string> folders;
    for (const QString &folder : candidates)
        folders.push_back(PathBytes(folder));
    const std::string first = FirstFolderThatExists(folders);
    return first.empty() ? QDir::homePath() : FromSystemText(first);
}

} // namespace cvarden
