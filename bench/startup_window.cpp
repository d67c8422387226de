// SPDX-License-Identifier: GPL-2.0-or-later
// The main window as the program starts it, on the catalogue given, quitting
// after its first painted frame. The values go to a store of its own.
#include <QTemporaryDir>

#include "firstpaint.h"
#include "mainwindow.h"
#include "settingsstore.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 2)
        return 2;
    QTemporaryDir dir;
    cvarden::SettingsStore store(dir.filePath(QStringLiteral("Cvarden.conf")));
    cvarden::MainWindow window(QString::fromLocal8Bit(argv[1]), store);
    new QuitAfterFirstPaint(&window);
    window.show();
    return app.exec();
}
