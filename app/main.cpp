#include "app/CommandLine.h"
#include "app/CommandLineExport.h"
#include "app/MainUnit.h"
#include "app/Translations.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>
#include <QTimer>

#include <cstdio>

int main(int argc, char* argv[])
{
    // Parsed before the window system is reached, so --help and --version work
    // without a display.
    CommandLineRequest request;
    {
        QCoreApplication probe(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("snapgrid-atlas"));
        InstallTranslations(probe);
        request = ParseCommandLine(QCoreApplication::arguments(), QDir::currentPath());
    }
    if (!request.Error.isEmpty()) {
        std::fprintf(stderr, "%s\n\n%s", qPrintable(request.Error), qPrintable(request.HelpText));
        return 2;
    }
    if (request.ShowHelp || request.ShowVersion) {
        std::fputs(qPrintable(request.ShowHelp ? request.HelpText : request.VersionText + QLatin1Char('\n')), stdout);
        return 0;
    }

    if (!request.ExportPdf.isEmpty() || !request.ExportImages.isEmpty() || !request.PrintQueue.isEmpty()) {
        // Pages need fonts and a paint engine, not a display.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        SetApplicationNames();
        InstallTranslations(app);
        QTextStream errors(stderr);
        return RunCommandLineExport(request, errors);
    }

    QApplication app(argc, argv);
    SetApplicationNames();
    InstallTranslations(app);
    QApplication::setApplicationVersion(QStringLiteral("4.0"));
    QApplication::setDesktopFileName(QStringLiteral("snapgrid-atlas"));
    TMainForm form;
    form.show();
    // After the first show, so the window is up while the files are read.
    QTimer::singleShot(0, &form, [&form, request] {
        form.OfferRecovery();
        form.ApplyCommandLine(request);
    });
    return app.exec();
}
