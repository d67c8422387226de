// SPDX-License-Identifier: GPL-2.0-or-later
#include "cataloguelocation.h"

#include <QCoreApplication>
#include <QDir>

namespace cvarden {

QString CatalogueFolderFor(const QString &programFolder, const QString &installedProgramFolder,
                           const QString &installedCatalogueFolder)
{
    // Compared as clean paths: a trailing slash or "bin/." is still the folder.
    if (!installedProgramFolder.isEmpty() && QDir::cleanPath(programFolder) == QDir::cleanPath(installedProgramFolder))
        return installedCatalogueFolder;
    return programFolder;
}

QString DefaultCataloguePath()
{
    // The build fixes both folders, so a copy of the installed program's
    // files elsewhere is not taken for it.
    const QString folder =
        CatalogueFolderFor(QCoreApplication::applicationDirPath(), QStringLiteral(CVARDEN_INSTALLED_PROGRAM_DIR),
                           QStringLiteral(CVARDEN_INSTALLED_CATALOGUE_DIR));
    return folder + QStringLiteral("/options.dat");
}

} // namespace cvarden
