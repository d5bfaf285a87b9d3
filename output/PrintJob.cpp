// The print job and the print and printer setup buttons of the
// "Print/Save as image" tab.
#include "output/PrintJob.h"

#include "app/MainUnit.h"
#include "app/Settings.h"
#include "document/Arrangement.h"
#include "document/PageFeed.h"
#include "output/PageRender.h"
#include "platform/Dialogs.h"
#include "platform/ImageButton.h"
#include "platform/Printer.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPageLayout>
#include <QPrinter>
#include <QSpinBox>

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

// ---------------------------------------------------------------------------
// The main window's handlers

namespace {
void showPressed(TImageButton *pressed, bool down)
{
    pressed->setVisible(down);
    if (down)
        pressed->raise();
}

bool inside(const TImageButton *button, const QMouseEvent *e)
{
    const QPoint p = e->position().toPoint();
    return InsideImage(p.x(), p.y(), button->width(), button->height());
}
} // namespace

bool TMainForm::AcceptChangedPictures(int firstPage, int lastPage)
{
    std::vector<int> pages;
    for (int page = firstPage; page <= lastPage; ++page)
        pages.push_back(page);
    const QStringList changed = ChangedPictureFiles(*this, pages);
    if (changed.isEmpty())
        return true;
    return Dialogs::messageBox(this,
                               tr("These picture files changed or are gone since they were added:\n%1\n"
                                  "They are printed from the copies shown on the screen.")
                                   .arg(changed.join('\n')),
                               tr("Warning"), Dialogs::Icon::Warning, Dialogs::OkCancel)
           == Dialogs::IdOk;
}

void TMainForm::GoBtn1Click()
{
    showPressed(GoBtn1Down, false);
    GoPressed = false;
    // May enlarge pictures in place; the arrangement keeps them.
    Checkallquals();
    if (!AcceptChangedPictures(1, PageCountED->value()))
        return;
    TPrinter &printer = Printer();
    if (!Dialogs::printDialog(this, printer.qprinter()))
        return;
    const int printerDpi = printer.LogPixelsX();
    repaintPreview(); // the dialog may have changed printer or paper
    printer.Title = tr("Snapgrid-Edge document");

    // The job runs here to its end; the bar and the cursor show that it is busy.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    SetProStatus(0);
    const bool printed = PrintPages(printer, *this, PageCountED->value(), printerDpi, options(),
                                    [this](int page, int count) { SetProStatus(page * 100 / count); });
    SetProStatus(0);
    QGuiApplication::restoreOverrideCursor();

    const bool toFile = printer.qprinter()->outputFormat() == QPrinter::PdfFormat;
    if (!printed) {
        Dialogs::messageBox(this,
                            toFile ? tr("Could not print to the file %1!").arg(printer.OutputFileName())
                                   : tr("Could not print! Please check the printer."),
                            tr("Error"), Dialogs::Icon::Error);
    } else if (toFile) {
        // Without a printer the pages go to a PDF file; tell where, above all when it was not asked for.
        StatusText->setText(tr("Printed to %1").arg(printer.OutputFileName()));
    }
}

void TMainForm::SetupBtnClick()
{
    showPressed(SetupBtnDown, false);
    SetupPressed = false;
    RunPrinterSetup(this);
    // Cancelled or not: the preview follows the printer's current page.
    repaintPreview();
}

void TMainForm::GoBtn1MouseDown(QMouseEvent *)
{
    GoPressed = true;
    showPressed(GoBtn1Down, true);
}

void TMainForm::GoBtn1MouseMove(QMouseEvent *e)
{
    if (GoPressed)
        showPressed(GoBtn1Down, inside(GoBtn1, e));
}

void TMainForm::GoBtn1MouseUp(QMouseEvent *e)
{
    const bool wasPressed = GoPressed;
    GoPressed = false;
    showPressed(GoBtn1Down, false);
    if (wasPressed && inside(GoBtn1, e))
        GoBtn1Click();
}

void TMainForm::SetupBtnMouseDown(QMouseEvent *)
{
    SetupPressed = true;
    showPressed(SetupBtnDown, true);
}

void TMainForm::SetupBtnMouseMove(QMouseEvent *e)
{
    if (SetupPressed)
        showPressed(SetupBtnDown, inside(SetupBtn, e));
}

void TMainForm::SetupBtnMouseUp(QMouseEvent *e)
{
    const bool wasPressed = SetupPressed;
    SetupPressed = false;
    showPressed(SetupBtnDown, false);
    if (wasPressed && inside(SetupBtn, e))
        SetupBtnClick();
}
