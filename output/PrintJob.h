#pragma once
// The print job through Qt's engine: the requested pages, one printer page
// each, drawn by the page rendering rule at the printer's resolution; the
// printer made for a job; the pages the print dialog chose; the printer setup.
#include "output/PageExport.h"

#include <QString>

#include <memory>
#include <vector>

class QPrinter;
class QWidget;
class TPrinter;

// Prints the request's pages on the printer under the request's title, each
// by the rendering rule with the set-up's horizontal resolution on both axes
// and for the caption font; a page without placements is an empty sheet. Each
// picture is handed to the printer once per page at the resolution its frame
// needs, converted by the set-up's profile, the set-up's calibration
// corrected. Failed when the job could not be opened or a new page was
// refused (the job is then abandoned). Runs on the printer's thread.
ExportOutcome PrintJob(TPrinter &printer, const TArrangement &doc, const ArrangementOptions &options,
                       const PrintSetup &setup, const ExportRequest &request);

// A printer for a job, made from the set-up on the thread that calls it: the
// set-up's printer, paper and job options, or its test device.
[[nodiscard]] std::unique_ptr<TPrinter> MakeJobPrinter(const PrintSetup &setup);

// The pages the print dialog chose of pages 1..pageCount, in order: a range
// ("Pages from 2 to 3"), the pages typed for the printing system, or all.
// The printing system's own page selection is taken off the printer, so Qt's
// engine does not select again from the pages it is given.
[[nodiscard]] std::vector<int> ChosenPages(QPrinter &printer, int pageCount);
// The same from what the dialog left: its range (fromPage..toPage, 0 for
// none) and the printing system's "page-ranges" value ("1-3,5").
[[nodiscard]] std::vector<int> ChosenPages(int fromPage, int toPage, const QString &pageRanges, int pageCount);

// The printer setup dialog on the printer. A choice made there holds for
// every later job; its paper orientation also for later runs. True when the
// dialog was closed with OK.
bool RunPrinterSetup(QWidget *owner, TPrinter &printer);
// Gives the printer the paper orientation kept from an earlier run, if any.
void RestorePrinterSettings(TPrinter &printer);
