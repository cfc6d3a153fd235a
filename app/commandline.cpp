#include "commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

std::optional<int> answerCommandLine(int argc, char* argv[], const QString& version)
{
    if (argc <= 1)
        return std::nullopt;
    // An application object of its own for the parser, gone again before the
    // program's own one is made; it needs no display.
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Tallivox: a desktop scoreboard for live basketball video, run from the\n"
                       "keyboard. F1 in the program lists the keys."));
    // "-platform" is one unknown option, not eight unknown letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help and exits."));
    const QCommandLineOption versionOption({QStringLiteral("v"), QStringLiteral("version")},
                                           QStringLiteral("Shows the program's version and exits."));
    parser.addOption(help);
    parser.addOption(versionOption);

    QString refused;
    if (!parser.parse(QCoreApplication::arguments()))
        refused = parser.errorText();
    else if (!parser.positionalArguments().isEmpty())
        refused = QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().constFirst());
    else if (parser.isSet(help))
        std::fputs(qPrintable(parser.helpText()), stdout);
    else if (parser.isSet(versionOption))
        std::printf("Tallivox %s\n", qPrintable(version));
    else
        refused = QStringLiteral("Unexpected argument '%1'.").arg(QCoreApplication::arguments().at(1));
    if (refused.isEmpty())
        return 0;
    std::fprintf(stderr, "tallivox: %s\n\n%s", qPrintable(refused), qPrintable(parser.helpText()));
    return 2;
}
