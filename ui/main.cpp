#include <QApplication>

#include "mainwindow.h"
#include "settingsstore.h"
#include "versionsfolder.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    cvarden::SettingsStore store;
    cvarden::MainWindow window(QCoreApplication::applicationDirPath() + QStringLiteral("/options.dat"), store,
                               cvarden::VersionsFolder());
    window.show();
    return app.exec();
}
