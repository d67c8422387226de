// SPDX-License-Identifier: GPL-2.0-or-later
#include "gamefolders.h"

#include <QDir>
#include <QFileInfo>

namespace cvarden {

QStringList UsualGameFolders()
{
#if defined(Q_OS_WIN)
    // c:\q3test is where the game's early test releases installed themselves.
    return {QStringLiteral("c:/q3test"), QStringLiteral("c:/Program Files (x86)/Quake III Arena/baseq3"),
            QStringLiteral("c:/Program Files/Quake III Arena/baseq3")};
#elif defined(Q_OS_MACOS)
    return {QDir::homePath() + QStringLiteral("/Library/Application Support/Quake3/baseq3")};
#else
    // Current ioquake3 keeps its configuration under the XDG configuration
    // folder, and in ~/.q3a only while that folder exists and the XDG one
    // does not. A relative XDG_CONFIG_HOME is no setting at all.
    QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!QDir::isAbsolutePath(configHome))
        configHome = QDir::homePath() + QStringLiteral("/.config");
    return {configHome + QStringLiteral("/Quake3/baseq3"), QDir::homePath() + QStringLiteral("/.q3a/baseq3")};
#endif
}

QString FirstExistingFolder(const QStringList &candidates)
{
    for (const QString &folder : candidates) {
        if (QFileInfo(folder).isDir())
            return folder;
    }
    return QDir::homePath();
}

} // namespace cvarden
