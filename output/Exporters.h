#pragma once
// The exporters: every way pages leave the program (a PDF file, picture
// files, a print queue, a printer through Qt's engine) behind one interface.
// The window, the command line and the tests hand the same arrangement,
// print set-up and request to whichever they need.
#include "output/PageExport.h"

#include <memory>

class TPrinter;

class PageExporter {
public:
    virtual ~PageExporter() = default;
    // Writes the request's pages of the arrangement as the set-up shapes
    // them. Safe on a worker thread: it touches no printer object made on
    // another thread, and the arrangement must not change meanwhile.
    [[nodiscard]] virtual ExportOutcome run(const TArrangement& doc, const ArrangementOptions& options,
        const PrintSetup& setup, const ExportRequest& request)
        = 0;
};

// One PDF at the request's file name; not calibrated (it may be printed on any printer).
[[nodiscard]] std::unique_ptr<PageExporter> PdfFileExporter();
// One picture file per page in the request's format and resolution, sRGB.
[[nodiscard]] std::unique_ptr<PageExporter> PictureFilesExporter();
// The program's own PDF, calibrated, handed to the set-up's print queue by
// `command` (lp), asking the queue not to convert colours a profile converted.
[[nodiscard]] std::unique_ptr<PageExporter> PrintQueueExporter(const QString& command);
// Qt's engine on a printer made from the set-up on the thread that runs it,
// or on `device` (its thread's own) when one is given.
[[nodiscard]] std::unique_ptr<PageExporter> PrinterExporter(TPrinter* device = nullptr);

// The exporter a file name asks for: a PDF for ".pdf", else picture files.
[[nodiscard]] std::unique_ptr<PageExporter> FileExporter(ExportFormat format);
// Where a print job goes: a PDF file when the set-up prints to one, the
// print queue when there is one and its command (`queueCommand`, empty: none),
// else Qt's engine.
[[nodiscard]] std::unique_ptr<PageExporter> PrintExporter(const PrintSetup& setup, const QString& queueCommand);
