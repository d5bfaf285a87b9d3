#include "output/PrintSetup.h"

#include "output/PrintCalibration.h"
#include "output/PrintColour.h"
#include "platform/Printer.h"

PrintSetup PrinterPageSetup(TPrinter& printer)
{
    PrintSetup s;
    s.PageWidth = printer.PageWidth();
    s.PageHeight = printer.PageHeight();
    s.DpiX = printer.LogPixelsX();
    s.DpiY = printer.LogPixelsY();
    const QPrinter& q = *printer.qprinter();
    s.Paper = q.pageLayout();
    PrintDestination& d = s.Destination;
    d.PrinterName = q.printerName();
    d.ToFile = printer.PrintsToFile();
    d.FileName = q.outputFileName();
    d.Copies = q.copyCount();
    d.Collate = q.collateCopies();
    d.Duplex = q.duplex();
    d.ColourMode = q.colorMode();
    d.CupsOptions = CupsEngineOptions(*printer.qprinter());
    d.FixedPage = printer.hasFixedPage();
    if (printer.imageOutput())
        d.PageImages = printer.pageImageList();
    return s;
}

PrintSetup JobSetup(TPrinter& printer, QString* colourProblem)
{
    PrintSetup s = PrinterPageSetup(printer);
    const PrintColour colour = CurrentPrintColour(printer);
    s.Colour = colour.Conversion;
    s.PrinterProfile = colour.PrinterIcc;
    if (colourProblem)
        *colourProblem = colour.Problem;
    s.Calibration = StoredCalibration(printer);
    return s;
}
