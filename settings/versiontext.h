// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QCoreApplication>
#include <QString>

namespace cvarden {

// What --version says of either program: its name and version, and the
// licence under which it may be shared.
inline QString VersionText()
{
    return QCoreApplication::applicationName() + QLatin1Char(' ') + QCoreApplication::applicationVersion() +
           QStringLiteral("\nCopyright (C) 2026 Cvarden developers\n"
                          "License GPL-2.0-or-later: GNU GPL version 2 or later "
                          "<https://www.gnu.org/licenses/old-licenses/gpl-2.0.html>.\n"
                          "This is free software: you are free to change and redistribute it.\n"
                          "There is NO WARRANTY, to the extent permitted by law.\n");
}

} // namespace cvarden
