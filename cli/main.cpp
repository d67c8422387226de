// SPDX-License-Identifier: GPL-2.0-or-later
#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

#include "bytetext.h"
#include "cataloguelocation.h"
#include "clicommands.h"
#include "commandusage.h"
#include "enginefacts.h"
#include "fileio.h"
#include "settingsstore.h"
#include "versionsfolder.h"
#include "versiontext.h"

namespace {

// "; did you mean ...?" for a mistyped option before the command.
std::string UnknownOptionGuess(const QCommandLineParser &parser)
{
    const QStringList unknown = parser.unknownOptionNames();
    if (unknown.isEmpty())
        return {};
    const std::string typed = (unknown.first().size() == 1 ? "-" : "--") + unknown.first().toStdString();
    const std::string guess = cvarden::DidYouMean(typed, cvarden::OptionNamesInHelp(parser.helpText().toStdString()));
    return guess.empty() ? guess : "; " + guess;
}

} // namespace

// cvarden-cli: the window's commands for scripts, on the same catalogue and
// the same per-user store.
int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("cvarden-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(CVARDEN_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Reads and writes Cvarden's option values, and the game's q3config.cfg.\n\n") +
        cvarden::CliCommandSummary());
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QCommandLineOption catalogueOption(
        QStringLiteral("catalogue"),
        QStringLiteral("The catalogue to use (default: options.dat of the installed catalogue, or beside a program "
                       "run where it was built)."),
        QStringLiteral("FILE"));
    parser.addOption(catalogueOption);
    const QCommandLineOption engineOption(
        QStringLiteral("engine"),
        QStringLiteral("The engine to judge values by for this command: ioquake3, 1.32 or quake3e."),
        QStringLiteral("ENGINE"));
    parser.addOption(engineOption);
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("What to do; see the list above."),
                                 QStringLiteral("command [arguments...]"));

    if (!parser.parse(QCoreApplication::arguments())) {
        const std::string guess = UnknownOptionGuess(parser);
        QString error = parser.errorText();
        if (!guess.empty() && error.endsWith(QLatin1Char('.')))
            error.chop(1);
        std::fprintf(stderr, "cvarden-cli: %s%s\n", qPrintable(error), guess.c_str());
        return 2;
    }
    // Offered by the help as Qt offers it; the Qt options it adds are those
    // every program of Qt takes.
    if (parser.isSet(QStringLiteral("help-all")))
        parser.process(QCoreApplication::arguments());
    if (parser.isSet(helpOption))
        parser.showHelp(0);
    if (parser.isSet(versionOption)) {
        std::fputs(qPrintable(cvarden::VersionText()), stdout);
        return 0;
    }

    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty()) {
        std::fputs(qPrintable(parser.helpText()), stderr);
        return 2;
    }
    cvarden::SetLeftoverLedger(cvarden::PathBytes(cvarden::LeftoverLedgerFolder()));
    cvarden::SettingsStore store;
    cvarden::CliContext context{cvarden::PathBytes(parser.isSet(catalogueOption) ? parser.value(catalogueOption)
                                                                                 : cvarden::DefaultCataloguePath()),
                                {},
                                store,
                                cvarden::PathBytes(cvarden::VersionsFolder()),
                                stdout,
                                stderr,
                                {}};
    if (parser.isSet(engineOption)) {
        context.engineOverride = parser.value(engineOption).toStdString();
        cvarden::Engine named;
        if (!cvarden::EngineNamed(context.engineOverride, named)) {
            std::fprintf(stderr, "cvarden-cli: \"%s\" is no engine: name ioquake3, 1.32 or quake3e\n",
                         context.engineOverride.c_str());
            return 2;
        }
    }
    // Names, values and paths are bytes, taken as given: the command's words
    // are the last ones of the command line, since options come first.
    for (int i = argc - static_cast<int>(positional.size()) + 1; i < argc; ++i)
        context.arguments.push_back(cvarden::CommandLineWord(argv, i));

    return cvarden::RunCliCommand(positional.first().toStdString(), context);
}
