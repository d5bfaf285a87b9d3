#pragma once
// The print job: every page of the arrangement, one printer page each, drawn by
// the page rendering rule at the printer's resolution.
#include "platform/Settings.h"

#include <QString>

#include <atomic>
#include <functional>
#include <memory>

class ColourConversion;
class TArrangement;
class TPrinter;
struct ArrangementOptions;

enum class PrintOutcome { Done, Failed, Cancelled };

// How a job runs: its progress, its stop, whether JPEG files may be carried
// unread into a PDF, and what went wrong.
struct PrintControl {
    // After page i of n is drawn; may run on any thread.
    std::function<void(int page, int pageCount)> PageDone;
    // Set from any thread: the job stops within a page and leaves no file.
    const std::atomic<bool> *Cancel = nullptr;
    // Off when the pictures must be converted before they are printed.
    bool PassJpegThrough = true;
    // The printer profile's conversion; none prints the sRGB pixels. With
    // one, JPEG files are not carried and a CUPS job asks not to be converted again.
    std::shared_ptr<const ColourConversion> Colour;
    QString *Reason = nullptr; // what failed, when more is known than the outcome
    // The printer's measured error, corrected on every page sent to a printer.
    // A PDF file is not corrected: it is printed later, on any printer.
    PrintCalibration Calibration;
};

// Prints pages 1 .. pageCount on the printer (its Title already set), page i
// by the rendering rule with printerDpi on both axes and for the caption font;
// a page without placements is an empty sheet. Each picture is handed to the
// printer once per page at the resolution its frame needs; on PDF output the
// file is written whole or not at all, unchanged JPEG files carried as they
// are. Failed when the job could not be opened or a new page was refused
// (the job is then abandoned). Safe on a worker thread.
PrintOutcome PrintJob(TPrinter &printer, const TArrangement &doc, int pageCount, int printerDpi,
                      const ArrangementOptions &options, const PrintControl &control = {});
// The same without a way to stop it: true when it is done.
bool PrintPages(TPrinter &printer, const TArrangement &doc, int pageCount, int printerDpi,
                const ArrangementOptions &options, const std::function<void(int page, int pageCount)> &pageDone = {});

class QWidget;

// The printer setup dialog on the process's printer. A choice made there holds
// for every later job; its paper orientation also for later runs. True when
// the dialog was closed with OK.
bool RunPrinterSetup(QWidget *owner);
// Gives the printer the paper orientation kept from an earlier run, if any.
void RestorePrinterSettings(TPrinter &printer);
