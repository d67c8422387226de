#include <QApplication>

#include "mainwindow.h"
#include "settingsstore.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    cvarden::SettingsStore store;
    cvarden::MainWindow window(QCoreApplication::applicationDirPath() + QStringLiteral("/options.dat"), store);
    window.show();
    return app.exec();
}
