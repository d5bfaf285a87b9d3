#pragma once
// The print job: every page of the arrangement, one printer page each, drawn by
// the page rendering rule at the printer's resolution.
#include <functional>

class TArrangement;
class TPrinter;
struct ArrangementOptions;

// Prints pages 1 .. pageCount on the printer (its Title already set), page i
// by the rendering rule with printerDpi on both axes and for the caption font;
// a page without placements is an empty sheet. `pageDone(i, pageCount)` runs
// after page i is drawn. False when the job could not be opened or a new page
// was refused (the job is then abandoned).
bool PrintPages(TPrinter &printer, const TArrangement &doc, int pageCount, int printerDpi,
                const ArrangementOptions &options, const std::function<void(int page, int pageCount)> &pageDone = {});

class QWidget;

// The printer setup dialog on the process's printer. A choice made there holds
// for every later job; its paper orientation also for later runs. True when
// the dialog was closed with OK.
bool RunPrinterSetup(QWidget *owner);
// Gives the printer the paper orientation kept from an earlier run, if any.
void RestorePrinterSettings(TPrinter &printer);
