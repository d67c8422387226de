// SPDX-License-Identifier: GPL-2.0-or-later
#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <cstdlib>

#include "bytetext.h"
#include "cataloguelocation.h"
#include "fileio.h"
#include "mainwindow.h"
#include "programinfo.h"
#include "settingsstore.h"
#include "versionsfolder.h"
#include "versiontext.h"

namespace {

// --help and --version are answered before the window's application starts,
// so they work where there is no display (the manual page is written from
// them). Any other argument, Qt's own among them, is left to QApplication.
void AnswerHelpOrVersion(int &argc, char *argv[])
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Shows the options of Quake III Arena from its catalogue, edits their values, and writes them "
                       "into the game's q3config.cfg."));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    parser.parse(arguments);
    if (!parser.isSet(helpOption) && !parser.isSet(versionOption) && !parser.isSet(QStringLiteral("help-all")))
        return;
    const QCoreApplication app(argc, argv);
    if (parser.isSet(versionOption)) {
        std::fputs(qPrintable(cvarden::VersionText()), stdout);
        std::exit(0);
    }
    parser.process(app); // prints the help and ends the program
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("cvarden"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(cvarden::program::version));
    AnswerHelpOrVersion(argc, argv);

    QApplication app(argc, argv);
    cvarden::SetLeftoverLedger(cvarden::PathBytes(cvarden::LeftoverLedgerFolder()));
    cvarden::SettingsStore store;
    cvarden::MainWindow window(cvarden::DefaultCataloguePath(), store, cvarden::VersionsFolder());
    window.show();
    return app.exec();
}
