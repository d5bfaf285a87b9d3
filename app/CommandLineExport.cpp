#include "app/CommandLineExport.h"

#include "app/CommandLine.h"
#include "arrange/Geometry.h"
#include "document/ArrangementDocument.h"
#include "output/Exporters.h"
#include "output/PrintJob.h"
#include "platform/Printer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace {
struct CommandLineExportText {
    Q_DECLARE_TR_FUNCTIONS(CommandLineExportText)
};

// The screen's resolution only sizes views, which an export has none of.
constexpr int ViewDpi = 96;
} // namespace

int RunCommandLineExport(const CommandLineRequest &request, QTextStream &errors)
{
    TPrinter printer;
    RestorePrinterSettings(printer);
    ArrangementDocument doc;
    const ArrangementDocument::OpenResult opened =
        doc.open(request.Arrangement, PaperGeometry(printer, ViewDpi, doc.options().Zoom));
    if (opened.Status != ArrangementDocument::OpenStatus::Opened) {
        errors << CommandLineExportText::tr("Cannot open the arrangement %1.").arg(request.Arrangement) << Qt::endl;
        return 1;
    }
    if (!opened.MissingPictures.isEmpty() || !opened.DamagedPictures.isEmpty()) {
        for (const QString &missing : opened.MissingPictures)
            errors << CommandLineExportText::tr("Missing picture: %1").arg(missing) << Qt::endl;
        for (const QString& damaged : opened.DamagedPictures)
            errors << CommandLineExportText::tr("Damaged picture: %1").arg(damaged) << Qt::endl;
        return 1;
    }
    if (!opened.Quality.empty())
        errors << CommandLineExportText::tr(
            "%n picture(s) could not be enlarged to the minimum quality.", nullptr, int(opened.Quality.size()))
               << Qt::endl;

    // The set-up the window makes for this printer and paper: the files are
    // the pages the window would make.
    const bool pdf = !request.ExportPdf.isEmpty();
    QString colourProblem;
    const PrintSetup setup = JobSetup(printer, &colourProblem);
    if (pdf && !colourProblem.isEmpty())
        errors << colourProblem << Qt::endl;
    ExportRequest pages;
    pages.Pages = PageSpan(1, doc.pageCount());
    const QString stem = QFileInfo(request.Arrangement).completeBaseName();
    if (pdf) {
        pages.FileName = request.ExportPdf;
        pages.Format = ExportFormat::Pdf;
        pages.Title = stem;
    } else {
        if (!QDir().mkpath(request.ExportImages)) {
            errors << CommandLineExportText::tr("Cannot make the folder %1.").arg(request.ExportImages) << Qt::endl;
            return 1;
        }
        // Numbered even when there is one page, so scripts find page 1 by one name.
        pages.FileName = QDir(request.ExportImages).filePath(stem + QStringLiteral(".png"));
        pages.Format = ExportFormat::Png;
        pages.Dpi = request.Dpi;
        if (pages.Pages.size() == 1)
            pages.FileName = QDir(request.ExportImages).filePath(stem + QStringLiteral("-01.png"));
    }
    const ExportOutcome outcome = FileExporter(pages.Format)->run(doc.records(), doc.options(), setup, pages);
    switch (outcome.Result) {
    case ExportResult::Done:
        return 0;
    case ExportResult::OutOfMemory:
        errors << CommandLineExportText::tr("Not enough memory for an image of a page at %1 DPI.").arg(pages.Dpi)
               << Qt::endl;
        return 1;
    default:
        errors << CommandLineExportText::tr("Could not write %1.").arg(outcome.FailedFile) << Qt::endl;
        if (!outcome.Reason.isEmpty())
            errors << outcome.Reason << Qt::endl;
        return 1;
    }
}
