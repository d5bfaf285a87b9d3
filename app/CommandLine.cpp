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
    const QCommandLineOption exportPdf(QStringLiteral("export-pdf"),
                                       QCoreApplication::translate("CommandLine",
                                                                   "Writes every page to a PDF file as printing would, then ends."),
                                       QStringLiteral("OUT.pdf"));
    const QCommandLineOption exportImages(QStringLiteral("export-images"),
                                          QCoreApplication::translate("CommandLine",
                                                                      "Writes every page as a numbered PNG into a folder, then ends."),
                                          QStringLiteral("DIR"));
    const QCommandLineOption dpi(QStringLiteral("dpi"),
                                 QCoreApplication::translate("CommandLine", "Dots per inch of --export-images (default 150)."),
                                 QStringLiteral("N"));
    const QCommandLineOption print(QStringLiteral("print"),
        QCoreApplication::translate("CommandLine", "Prints every page on a print queue, then ends."),
        QStringLiteral("QUEUE"));
    const QCommandLineOption preset(QStringLiteral("preset"),
        QCoreApplication::translate("CommandLine", "Makes the pages with a paper preset (its name)."),
        QStringLiteral("NAME"));
    const QCommandLineOption order(QStringLiteral("order"),
        QCoreApplication::translate("CommandLine",
            "Packs the prints of an order list (CSV) onto the fewest sheets and writes them instead of an arrangement."),
        QStringLiteral("ORDERS.csv"));
    const QCommandLineOption paper(QStringLiteral("paper"),
        QCoreApplication::translate("CommandLine", "The paper of --order: a page size (A4, Letter) or W x H mm or in."),
        QStringLiteral("PAPER"));
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(exportPdf);
    parser.addOption(exportImages);
    parser.addOption(dpi);
    parser.addOption(print);
    parser.addOption(preset);
    parser.addOption(order);
    parser.addOption(paper);
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
    if (parser.isSet(exportPdf))
        request.ExportPdf = QDir::cleanPath(base.absoluteFilePath(parser.value(exportPdf)));
    if (parser.isSet(exportImages))
        request.ExportImages = QDir::cleanPath(base.absoluteFilePath(parser.value(exportImages)));
    request.PrintQueue = parser.value(print);
    request.Preset = parser.value(preset);
    if (parser.isSet(order))
        request.Order = QDir::cleanPath(base.absoluteFilePath(parser.value(order)));
    request.Paper = parser.value(paper);
    if (parser.isSet(print) && request.PrintQueue.isEmpty()) {
        request.Error = QCoreApplication::translate("CommandLine", "--print needs the name of a print queue.");
        return request;
    }
    if (parser.isSet(dpi)) {
        bool ok = false;
        request.Dpi = parser.value(dpi).toInt(&ok);
        if (!ok || request.Dpi < 10 || request.Dpi > 1200) {
            request.Error = QCoreApplication::translate("CommandLine", "--dpi takes a number from 10 to 1200: %1")
                                .arg(parser.value(dpi));
            return request;
        }
    }
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
    const int outputs
        = int(!request.ExportPdf.isEmpty()) + int(!request.ExportImages.isEmpty()) + int(!request.PrintQueue.isEmpty());
    if (!request.Order.isEmpty() && (outputs == 0 || !request.Arrangement.isEmpty() || !request.Pictures.isEmpty()))
        request.Error = QCoreApplication::translate(
            "CommandLine", "--order goes with --export-pdf, --export-images or --print, and no other file.");
    else if (parser.isSet(paper) && request.Order.isEmpty())
        request.Error = QCoreApplication::translate("CommandLine", "--paper goes with --order.");
    else if (outputs > 0 && request.Order.isEmpty() && (request.Arrangement.isEmpty() || !request.Pictures.isEmpty()))
        request.Error = QCoreApplication::translate("CommandLine", "An export takes one arrangement (.sga) and nothing else.");
    else if (outputs > 1)
        request.Error = QCoreApplication::translate(
            "CommandLine", "Only one of --export-pdf, --export-images and --print can be given.");
    else if (outputs == 0 && parser.isSet(preset))
        request.Error = QCoreApplication::translate(
            "CommandLine", "--preset goes with --export-pdf, --export-images or --print.");
    return request;
}
