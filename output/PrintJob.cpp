// The print job through Qt's engine, the printer made for a job, the pages
// the print dialog chose, and the printer setup.
#include "output/PrintJob.h"

#include "output/DevicePictures.h"
#include "output/PageRender.h"
#include "output/PrintCalibration.h"
#include "output/PrintColour.h"
#include "platform/Dialogs.h"
#include "platform/Printer.h"
#include "platform/Settings.h"

#include <QPageLayout>
#include <QPageRanges>
#include <QPrinter>

#include <algorithm>
#include <set>

namespace {
const QString CupsPageRanges = QStringLiteral("page-ranges");

ExportOutcome printFailed() { return ExportOutcome { ExportResult::Failed, {}, {}, {} }; }
} // namespace

ExportOutcome PrintJob(TPrinter &printer, const TArrangement &doc, const ArrangementOptions &options,
                       const PrintSetup &setup, const ExportRequest &request)
{
    ApplyCupsColourOptions(printer.qprinter(), bool(setup.Colour));
    printer.Title = request.Title;
    if (!printer.BeginDoc())
        return printFailed();
    const PageScale scale = PrintScale(setup.DpiX);
    DevicePictures pictures(doc, options, request.Pages, setup, {scale, false, true, request.Cancel});
    const int total = int(request.Pages.size());
    for (int i = 0; i < total; ++i) {
        const int page = request.Pages[std::size_t(i)];
        if (i > 0 && !printer.NewPage()) {
            printer.Abort();
            return printFailed();
        }
        PictureSupply supply(PictureWant::FullNow);
        if (!pictures.page(page, &supply)) {
            printer.Abort();
            return ExportOutcome { ExportResult::Cancelled, {}, {}, {} };
        }
        ApplyCalibration(printer, setup.Calibration);
        RenderPage(printer.Canvas(), doc, page, scale, options, setup, supply);
        const bool stop = (request.Cancel && request.Cancel->load())
                          || (request.PageDone && !request.PageDone(page, i + 1, total));
        if (stop) {
            printer.Abort();
            return ExportOutcome { ExportResult::Cancelled, {}, {}, {} };
        }
    }
    printer.EndDoc();
    return {};
}

std::unique_ptr<TPrinter> MakeJobPrinter(const PrintSetup &setup)
{
    auto printer = std::make_unique<TPrinter>();
    const PrintDestination &d = setup.Destination;
    if (d.FixedPage)
        printer->setFixedPage(setup.PageWidth, setup.PageHeight, setup.DpiX, setup.DpiY);
    if (d.PageImages) {
        printer->setImageOutput(true, d.PageImages);
        return printer;
    }
    QPrinter &q = *printer->qprinter();
    if (d.ToFile) {
        q.setOutputFormat(QPrinter::PdfFormat);
        q.setOutputFileName(d.FileName);
    } else {
        q.setPrinterName(d.PrinterName);
    }
    if (setup.Paper.isValid())
        q.setPageLayout(setup.Paper);
    q.setCopyCount(d.Copies);
    q.setCollateCopies(d.Collate);
    q.setDuplex(d.Duplex);
    q.setColorMode(d.ColourMode);
    SetCupsEngineOptions(q, d.CupsOptions);
    return printer;
}

std::vector<int> ChosenPages(int fromPage, int toPage, const QString &pageRanges, int pageCount)
{
    std::set<int> chosen;
    const auto take = [&chosen, pageCount](int from, int to) {
        for (int page = std::max(1, from); page <= std::min(to, pageCount); ++page)
            chosen.insert(page);
    };
    if (!pageRanges.trimmed().isEmpty()) {
        for (const QPageRanges::Range &r : QPageRanges::fromString(pageRanges).toRangeList())
            take(r.from, r.to);
    } else if (fromPage > 0) {
        take(fromPage, std::max(fromPage, toPage));
    } else {
        take(1, pageCount);
    }
    return {chosen.begin(), chosen.end()};
}

std::vector<int> ChosenPages(QPrinter &printer, int pageCount)
{
    QString ranges;
    const QStringList options = CupsEngineOptions(printer);
    QStringList kept;
    for (qsizetype i = 0; i + 1 < options.size(); i += 2) {
        if (options[i] == CupsPageRanges)
            ranges = options[i + 1];
        else
            kept << options[i] << options[i + 1];
    }
    if (!ranges.isEmpty())
        SetCupsEngineOptions(printer, kept);
    const bool range = printer.printRange() == QPrinter::PageRange;
    return ChosenPages(range ? printer.fromPage() : 0, range ? printer.toPage() : 0, ranges, pageCount);
}

bool RunPrinterSetup(QWidget *owner, TPrinter &printer)
{
    QPrinter *q = printer.qprinter();
    if (!Dialogs::pageSetupDialog(owner, q))
        return false;
    PrinterSettings kept;
    kept.Stored = true;
    kept.Landscape = q->pageLayout().orientation() == QPageLayout::Landscape;
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
