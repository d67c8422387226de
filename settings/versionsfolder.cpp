// SPDX-License-Identifier: GPL-2.0-or-later
#include "versionsfolder.h"

#include <QStandardPaths>

namespace cvarden {

QString VersionsFolder()
{
    // Named after Cvarden rather than after the running program, which is
    // "cvarden" or "cvarden-cli": both find the same versions.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Cvarden/versions");
}

} // namespace cvarden
