#include "app/CommandLineExport.h"

#include "app/CommandLine.h"
#include "arrange/Geometry.h"
#include "document/ArrangementDocument.h"
#include "output/PageExport.h"
#include "output/PrintJob.h"
#include "platform/Printer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QTextStream>

namespace {
QString tr(const char *text, int n = -1) { return QCoreApplication::translate("CommandLineExport", text, nullptr, n); }

// The screen's resolution only sizes views, which an export has none of.
constexpr int ViewDpi = 96;
} // namespace

int RunCommandLineExport(const CommandLineRequest &request, QTextStream &errors)
{
    TPrinter &printer = Printer();
    RestorePrinterSettings(printer);
    ArrangementDocument doc;
    const ArrangementDocument::OpenResult opened =
        doc.open(request.Arrangement, PaperGeometry(printer, ViewDpi, doc.options().Zoom));
    if (opened.Status != ArrangementDocument::OpenStatus::Opened) {
        errors << tr("Cannot open the arrangement %1.").arg(request.Arrangement) << Qt::endl;
        return 1;
    }
    if (!opened.MissingPictures.isEmpty()) {
        for (const QString &missing : opened.MissingPictures)
            errors << tr("Missing picture: %1").arg(missing) << Qt::endl;
        return 1;
    }
    if (!opened.Quality.empty())
        errors << tr("%n picture(s) could not be enlarged to the minimum quality.", int(opened.Quality.size()))
               << Qt::endl;

    PageExportJob job;
    job.FirstPage = 1;
    job.LastPage = doc.pageCount();
    job.PageWidth = printer.PageWidth();
    job.PageHeight = printer.PageHeight();
    job.PrinterDpiX = printer.LogPixelsX();
    job.PrinterDpiY = printer.LogPixelsY();
    job.PaperLayout = printer.qprinter()->pageLayout();
    if (!request.ExportPdf.isEmpty()) {
        job.FileName = request.ExportPdf;
        job.Format = ExportFormat::Pdf;
        job.Title = QFileInfo(request.Arrangement).completeBaseName();
    } else {
        if (!QDir().mkpath(request.ExportImages)) {
            errors << tr("Cannot make the folder %1.").arg(request.ExportImages) << Qt::endl;
            return 1;
        }
        // Numbered even when there is one page, so scripts find page 1 by one name.
        const QString stem = QFileInfo(request.Arrangement).completeBaseName();
        job.FileName = QDir(request.ExportImages).filePath(stem + QStringLiteral(".png"));
        job.Format = ExportFormat::Png;
        job.Dpi = request.Dpi;
        if (job.LastPage == 1)
            job.FileName = QDir(request.ExportImages).filePath(stem + QStringLiteral("-01.png"));
    }
    QString failed, reason;
    const ExportResult result = ExportPages(doc.records(), doc.options(), job, {}, &failed, &reason);
    switch (result) {
    case ExportResult::Done:
        return 0;
    case ExportResult::OutOfMemory:
        errors << tr("Not enough memory for an image of a page at %1 DPI.").arg(job.Dpi) << Qt::endl;
        return 1;
    default:
        errors << tr("Could not write %1.").arg(failed) << Qt::endl;
        if (!reason.isEmpty())
            errors << reason << Qt::endl;
        return 1;
    }
}
