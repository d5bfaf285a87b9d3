#include "app/CommandLine.h"

#include "document/DroppedFiles.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

CommandLineRequest ParseCommandLine(const QStringList &arguments, const QString &workingFolder)
{
    CommandLineRequest request;
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QCoreApplication::translate("CommandLine", "Lays out photographs on printed pages."));
    // Own options rather than addHelpOption/addVersionOption: those end the
    // process from inside the parser, and -? / --help-all are not wanted.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QCoreApplication::translate("CommandLine", "Shows this help and ends."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QCoreApplication::translate("CommandLine", "Shows the version and ends."));
    parser.addOption(help);
    parser.addOption(version);
    parser.addPositionalArgument(
        QStringLiteral("files"),
        QCoreApplication::translate("CommandLine",
                                    "An arrangement (.sga) to open and/or pictures to add to the collection."),
        QStringLiteral("[FILE.sga] [PICTURES...]"));
    request.HelpText = parser.helpText();
    request.VersionText = QStringLiteral("snapgrid-atlas 4.0");

    if (!parser.parse(arguments)) {
        request.Error = parser.errorText();
        return request;
    }
    request.ShowHelp = parser.isSet(help);
    request.ShowVersion = parser.isSet(version);
    if (request.ShowHelp || request.ShowVersion)
        return request;

    const QDir base(workingFolder);
    for (const QString &name : parser.positionalArguments()) {
        if (name.isEmpty())
            continue;
        const QString path = QDir::cleanPath(base.absoluteFilePath(name));
        if (!IsArrangementFileName(path)) {
            request.Pictures.append(path);
            continue;
        }
        if (!request.Arrangement.isEmpty()) {
            request.Error = QCoreApplication::translate("CommandLine", "Only one arrangement can be opened: %1")
                                .arg(name);
            request.Arrangement.clear();
            request.Pictures.clear();
            return request;
        }
        request.Arrangement = path;
    }
    return request;
}
