// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

namespace cvarden {

// Where a program in `programFolder` reads its catalogue: an installed
// program, one that runs from the folder it is installed in
// (`installedProgramFolder`), reads the catalogue installed with it in
// `installedCatalogueFolder`; any other one, as in the build tree, reads the
// one beside it. With no installed folder given (Windows), always beside.
QString CatalogueFolderFor(const QString &programFolder, const QString &installedProgramFolder,
                           const QString &installedCatalogueFolder);

// options.dat in the catalogue folder of the program now running.
QString DefaultCataloguePath();

} // namespace cvarden
