// The print job and the printer setup.
#include "output/PrintJob.h"

#include "document/Arrangement.h"
#include "output/CupsJob.h"
#include "output/DevicePictures.h"
#include "output/PageExport.h"
#include "output/PageRender.h"
#include "output/PrintCalibration.h"
#include "output/PrintColour.h"
#include "platform/Dialogs.h"
#include "platform/Printer.h"
#include "platform/Settings.h"

#include <QPageLayout>
#include <QPrinter>
#include <QTemporaryDir>

namespace {
PrintOutcome printToPdf(TPrinter &printer, const QString &file, const TArrangement &doc, int pageCount,
                        int printerDpi, const ArrangementOptions &options, const PrintControl &control,
                        const QTransform &correction = {})
{
    PageExportJob job;
    job.FileName = file;
    job.Format = ExportFormat::Pdf;
    job.FirstPage = 1;
    job.LastPage = pageCount;
    job.PageWidth = printer.PageWidth();
    job.PageHeight = printer.PageHeight();
    job.PrinterDpiX = printerDpi;
    job.PrinterDpiY = printer.LogPixelsY();
    job.PaperLayout = printer.qprinter()->pageLayout();
    job.Title = printer.Title;
    job.PassJpegThrough = control.PassJpegThrough;
    job.Colour = control.Colour;
    job.Cancel = control.Cancel;
    job.PageTransform = correction;
    const ExportResult result = ExportPages(doc, options, job, [&control](int page, int, int total) {
        if (control.PageDone)
            control.PageDone(page, total);
        return true;
    }, nullptr, control.Reason);
    if (result == ExportResult::Cancelled)
        return PrintOutcome::Cancelled;
    return result == ExportResult::Done ? PrintOutcome::Done : PrintOutcome::Failed;
}
} // namespace

PrintOutcome PrintJob(TPrinter &printer, const TArrangement &doc, int pageCount, int printerDpi,
                      const ArrangementOptions &options, const PrintControl &control)
{
    // A PDF file is written by the program itself, so that pictures can go in as their files.
    if (!printer.imageOutput() && printer.PrintsToFile()) {
        printer.PrepareJob();
        return printToPdf(printer, printer.OutputFileName(), doc, pageCount, printerDpi, options, control);
    }
    // So is the file a print queue gets, where the printing system takes PDF jobs.
    if (!printer.imageOutput() && !printer.qprinter()->printerName().isEmpty() && !CupsQueueCommand().isEmpty()) {
        printer.PrepareJob();
        QTemporaryDir folder;
        if (!folder.isValid())
            return PrintOutcome::Failed;
        const QString file = folder.filePath(QStringLiteral("job.pdf"));
        const PrintOutcome drawn =
            printToPdf(printer, file, doc, pageCount, printerDpi, options, control,
                       CalibrationCorrection(control.Calibration, printer.LogPixelsX(), printer.LogPixelsY()));
        if (drawn != PrintOutcome::Done)
            return drawn;
        CupsJobRequest request = CupsJobFor(*printer.qprinter(), printer.Title);
        // The pixels are already the printer's when a profile converted them.
        const QStringList colour = CupsColourOptions({}, bool(control.Colour));
        for (int i = 0; i + 1 < colour.size(); i += 2)
            request.Options.push_back({colour[i], colour[i + 1]});
        const QString error = SubmitCupsJob(request, file);
        if (error.isEmpty())
            return PrintOutcome::Done;
        if (control.Reason)
            *control.Reason = error;
        return PrintOutcome::Failed;
    }
    ApplyCupsColourOptions(printer.qprinter(), bool(control.Colour));
    if (!printer.BeginDoc())
        return PrintOutcome::Failed;
    const PageScale scale = PrintScale(printerDpi);
    std::vector<int> pages;
    for (int page = 1; page <= pageCount; ++page)
        pages.push_back(page);
    DevicePictures pictures(doc, options, pages, {scale, false, control.Cancel, control.Colour});
    for (int page = 1; page <= pageCount; ++page) {
        if (page > 1 && !printer.NewPage()) {
            printer.Abort();
            return PrintOutcome::Failed;
        }
        PictureSupply supply;
        if (!pictures.page(page, &supply)) {
            printer.Abort();
            return PrintOutcome::Cancelled;
        }
        ApplyCalibration(printer, control.Calibration);
        RenderPage(printer.Canvas(), doc, page, scale, options, supply);
        if (control.Cancel && control.Cancel->load()) {
            printer.Abort();
            return PrintOutcome::Cancelled;
        }
        if (control.PageDone)
            control.PageDone(page, pageCount);
    }
    printer.EndDoc();
    return PrintOutcome::Done;
}

bool PrintPages(TPrinter &printer, const TArrangement &doc, int pageCount, int printerDpi,
                const ArrangementOptions &options, const std::function<void(int, int)> &pageDone)
{
    PrintControl control;
    control.PageDone = pageDone;
    return PrintJob(printer, doc, pageCount, printerDpi, options, control) == PrintOutcome::Done;
}

bool RunPrinterSetup(QWidget *owner)
{
    QPrinter *printer = Printer().qprinter();
    if (!Dialogs::pageSetupDialog(owner, printer))
        return false;
    PrinterSettings kept;
    kept.Stored = true;
    kept.Landscape = printer->pageLayout().orientation() == QPageLayout::Landscape;
    SavePrinterSettings(kept);
    return true;
}

void RestorePrinterSettings(TPrinter &printer)
{
    const PrinterSettings kept = LoadPrinterSettings();
    if (kept.Stored)
        printer.qprinter()->setPageOrientation(kept.Landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    // Borderless sheets were laid out on paper without margins.
    if (LoadPrintSheetSettings().Borderless)
        printer.UseLeastMargins();
}
