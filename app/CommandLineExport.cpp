#include "app/CommandLineExport.h"

#include "app/CommandLine.h"
#include "arrange/Geometry.h"
#include "arrange/OrderCsv.h"
#include "arrange/OrderSheet.h"
#include "arrange/PrintSheet.h"
#include "document/ArrangementDocument.h"
#include "output/CupsJob.h"
#include "output/Exporters.h"
#include "output/JobLog.h"
#include "output/PaperPreset.h"
#include "output/PrintJob.h"
#include "platform/Printer.h"
#include "platform/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPageSize>
#include <QPrinterInfo>
#include <QTextStream>

namespace {
struct CommandLineExportText {
    Q_DECLARE_TR_FUNCTIONS(CommandLineExportText)
};

// The screen's resolution only sizes views, which an export has none of.
constexpr int ViewDpi = 96;

// Puts the queue and the preset on the printer before the arrangement is
// laid out on its paper; false with the reason written when either is not there.
bool ChoosePrinter(const CommandLineRequest& request, TPrinter& printer, PaperPreset* preset, QTextStream& errors)
{
    if (!request.PrintQueue.isEmpty()) {
        if (!QPrinterInfo::availablePrinterNames().contains(request.PrintQueue)) {
            errors << CommandLineExportText::tr("There is no print queue %1.").arg(request.PrintQueue) << Qt::endl;
            return false;
        }
        printer.qprinter()->setOutputFormat(QPrinter::NativeFormat);
        printer.qprinter()->setPrinterName(request.PrintQueue);
    }
    if (request.Preset.isEmpty())
        return true;
    const QString folder = PaperPresetFolder();
    for (const QString& e : ConvertOldPrintSettings(folder))
        errors << e << Qt::endl;
    const PaperPresets presets = LoadPaperPresets(folder);
    const PaperPreset* found = presets.find(request.Preset);
    if (!found) {
        errors << CommandLineExportText::tr("There is no paper preset \"%1\".").arg(request.Preset) << Qt::endl;
        for (const QString& e : presets.Errors)
            errors << e << Qt::endl;
        QStringList names;
        for (const PaperPreset& p : presets.Presets)
            names << p.Name;
        if (!names.isEmpty())
            errors << CommandLineExportText::tr("Paper presets: %1").arg(names.join(QStringLiteral("; "))) << Qt::endl;
        return false;
    }
    *preset = *found;
    // The queue named on the command line is the one printed on.
    if (!request.PrintQueue.isEmpty())
        preset->Printer.clear();
    const QString problem = ApplyPaperPreset(printer, *preset);
    if (!problem.isEmpty())
        errors << problem << Qt::endl;
    preset->Printer.clear(); // chosen now, or told that it is not there
    return true;
}
// The paper a page size's key or name gives (A4, Letter), or a typed size;
// invalid for neither.
QPageSize PaperNamed(const QString &text)
{
    for (int id = 0; id <= int(QPageSize::LastPageSize); ++id) {
        const QPageSize size{QPageSize::PageSizeId(id)};
        if (size.key().compare(text, Qt::CaseInsensitive) == 0 || size.name().compare(text, Qt::CaseInsensitive) == 0)
            return size;
    }
    const OrderSize typed = ParseOrderSize(text, {});
    return typed.Ok ? QPageSize(QSizeF(typed.WidthMm, typed.HeightMm), QPageSize::Millimeter, text) : QPageSize();
}

// Reads the order list and places its sheets in doc on the printer's paper;
// false when nothing could be placed. Bad rows and unread pictures are
// written to errors and make `complete` false.
bool BuildOrders(const CommandLineRequest &request, TPrinter &printer, ArrangementDocument &doc, bool &complete,
                 QTextStream &errors)
{
    if (!request.Paper.isEmpty()) {
        const QPageSize size = PaperNamed(request.Paper);
        if (!size.isValid()) {
            errors << CommandLineExportText::tr("There is no paper \"%1\".").arg(request.Paper) << Qt::endl;
            return false;
        }
        printer.qprinter()->setPageSize(size);
    }
    std::vector<PrintSize> sizes = BuiltInPrintSizes();
    const UserPresets own = LoadUserPrintSizes(UserPrintSizeFolder());
    sizes.insert(sizes.end(), own.Sizes.begin(), own.Sizes.end());
    const OrderCsvRead read = ReadOrderCsvFile(request.Order, sizes);
    for (const OrderCsvError &e : read.Errors)
        errors << request.Order << QStringLiteral(": ") << e.text() << Qt::endl;
    complete = read.Errors.empty();
    if (read.Lines.empty()) {
        errors << CommandLineExportText::tr("The order list %1 holds no row to print.").arg(request.Order) << Qt::endl;
        return false;
    }
    const PageGeometry paper = PaperGeometry(printer, ViewDpi, doc.options().Zoom);
    QualityFailures quality;
    const OrderPlacement placed = PlaceOrders(doc, read.Lines, PrinterSheet(printer.qprinter(), paper),
                                              [] {
                                                  const PrintSheetSettings kept = LoadPrintSheetSettings();
                                                  return SheetSpacing{kept.Margin, kept.Gap};
                                              }(), paper,
                                              CommandLineExportText::tr("Order sheets"), &quality);
    for (const QString &unread : placed.Unread)
        errors << CommandLineExportText::tr("Damaged picture: %1").arg(unread) << Qt::endl;
    complete = complete && placed.Unread.isEmpty();
    if (!placed.Error.isEmpty()) {
        errors << placed.Error << Qt::endl;
        return false;
    }
    if (!quality.empty())
        errors << CommandLineExportText::tr(
            "%n picture(s) could not be enlarged to the minimum quality.", nullptr, int(quality.size()))
               << Qt::endl;
    return placed.Placed.Placed > 0;
}

// Opens the request's arrangement; false with the reason written.
bool OpenArrangement(const CommandLineRequest &request, TPrinter &printer, ArrangementDocument &doc,
                     QTextStream &errors)
{
    const ArrangementDocument::OpenResult opened =
        doc.open(request.Arrangement, PaperGeometry(printer, ViewDpi, doc.options().Zoom));
    if (opened.Status != ArrangementDocument::OpenStatus::Opened) {
        errors << CommandLineExportText::tr("Cannot open the arrangement %1.").arg(request.Arrangement) << Qt::endl;
        return false;
    }
    if (!opened.MissingPictures.isEmpty() || !opened.DamagedPictures.isEmpty()) {
        for (const QString &missing : opened.MissingPictures)
            errors << CommandLineExportText::tr("Missing picture: %1").arg(missing) << Qt::endl;
        for (const QString& damaged : opened.DamagedPictures)
            errors << CommandLineExportText::tr("Damaged picture: %1").arg(damaged) << Qt::endl;
        return false;
    }
    if (!opened.Quality.empty())
        errors << CommandLineExportText::tr(
            "%n picture(s) could not be enlarged to the minimum quality.", nullptr, int(opened.Quality.size()))
               << Qt::endl;
    return true;
}

// Writes doc's pages as the request asks; the exit code.
int WritePages(const CommandLineRequest &request, TPrinter &printer, const PaperPreset &preset,
               ArrangementDocument &doc, QTextStream &errors)
{
    // The set-up the window makes for this printer and paper: the files are
    // the pages the window would make.
    const bool pdf = !request.ExportPdf.isEmpty();
    const bool queue = !request.PrintQueue.isEmpty();
    QString colourProblem;
    PrintSetup setup = request.Preset.isEmpty() ? JobSetup(printer, &colourProblem)
                                                : PresetJobSetup(printer, preset, &colourProblem);
    setup.Stamp = PageStamp{QFileInfo(request.Arrangement).fileName(), QDate::currentDate(), doc.pageCount()};
    if ((pdf || queue) && !colourProblem.isEmpty())
        errors << colourProblem << Qt::endl;
    ExportRequest pages;
    pages.Pages = PageSpan(1, doc.pageCount());
    const QString source = request.Order.isEmpty() ? request.Arrangement : request.Order;
    const QString stem = QFileInfo(source).completeBaseName();
    if (queue) {
        pages.Title = stem;
    } else if (pdf) {
        pages.FileName = request.ExportPdf;
        pages.Format = ExportFormat::Pdf;
        pages.Title = stem;
    } else {
        if (!QDir().mkpath(request.ExportImages)) {
            errors << CommandLineExportText::tr("Cannot make the folder %1.").arg(request.ExportImages) << Qt::endl;
            return 1;
        }
        // Numbered even when there is one page, so scripts find page 1 by one name.
        pages.FileName = QDir(request.ExportImages).filePath(stem + QStringLiteral(".png"));
        pages.Format = ExportFormat::Png;
        pages.Dpi = request.Dpi;
        if (pages.Pages.size() == 1)
            pages.FileName = QDir(request.ExportImages).filePath(stem + QStringLiteral("-01.png"));
    }
    const std::unique_ptr<PageExporter> exporter
        = queue ? PrintQueueExporter(CupsQueueCommand()) : FileExporter(pages.Format);
    const ExportOutcome outcome = exporter->run(doc.records(), doc.options(), setup, pages);
    LogJob(source, queue ? request.PrintQueue : (pdf ? request.ExportPdf : request.ExportImages), setup, pages,
        outcome);
    switch (outcome.Result) {
    case ExportResult::Done:
        return 0;
    case ExportResult::OutOfMemory:
        errors << CommandLineExportText::tr("Not enough memory for an image of a page at %1 DPI.").arg(pages.Dpi)
               << Qt::endl;
        return 1;
    default:
        if (queue)
            errors << CommandLineExportText::tr("Could not print on %1.").arg(request.PrintQueue) << Qt::endl;
        else
            errors << CommandLineExportText::tr("Could not write %1.").arg(outcome.FailedFile) << Qt::endl;
        if (!outcome.Reason.isEmpty())
            errors << outcome.Reason << Qt::endl;
        return 1;
    }
}
} // namespace

int RunCommandLineExport(const CommandLineRequest &request, QTextStream &errors)
{
    TPrinter printer;
    RestorePrinterSettings(printer);
    PaperPreset preset;
    if (!ChoosePrinter(request, printer, &preset, errors))
        return 1;
    ArrangementDocument doc;
    bool complete = true;
    if (!request.Order.isEmpty()) {
        if (!BuildOrders(request, printer, doc, complete, errors))
            return 1;
    } else if (!OpenArrangement(request, printer, doc, errors)) {
        return 1;
    }
    const int written = WritePages(request, printer, preset, doc, errors);
    return written != 0 ? written : complete ? 0 : 1;
}

