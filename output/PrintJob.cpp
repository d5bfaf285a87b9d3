// The print job and the printer setup.
#include "output/PrintJob.h"

#include "document/Arrangement.h"
#include "document/PageFeed.h"
#include "output/PageRender.h"
#include "platform/Dialogs.h"
#include "platform/Printer.h"
#include "platform/Settings.h"

#include <QPageLayout>
#include <QPrinter>

bool PrintPages(TPrinter &printer, const TArrangement &doc, int pageCount, int printerDpi,
                const ArrangementOptions &options, const std::function<void(int, int)> &pageDone)
{
    if (!printer.BeginDoc())
        return false;
    const PageScale scale = PrintScale(printerDpi);
    std::vector<int> pages;
    for (int page = 1; page <= pageCount; ++page)
        pages.push_back(page);
    PageFeed feed(doc, pages);
    for (int page = 1; page <= pageCount; ++page) {
        if (page > 1 && !printer.NewPage()) {
            printer.Abort();
            return false;
        }
        RenderPage(printer.Canvas(), doc, page, scale, options, {PictureWant::FullNow, &feed.page(page)});
        if (pageDone)
            pageDone(page, pageCount);
    }
    printer.EndDoc();
    return true;
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
}
