// SPDX-License-Identifier: GPL-2.0-or-later
#include "versionsfolder.h"

#include <QStandardPaths>

namespace cvarden {

namespace {

// Named after Cvarden rather than after the running program, which is
// "cvarden" or "cvarden-cli": both find the same data.
QString dataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Cvarden");
}

} // namespace

QString VersionsFolder()
{
    return dataFolder() + QStringLiteral("/versions");
}

QString LeftoverLedgerFolder()
{
    return dataFolder() + QStringLiteral("/pending");
}

} // namespace cvarden
