#include "output/Exporters.h"

#include "output/CupsJob.h"
#include "output/PrintCalibration.h"
#include "output/PrintColour.h"
#include "output/PrintJob.h"
#include "platform/Printer.h"

#include <QTemporaryDir>

namespace {

class PdfFile : public PageExporter {
public:
    ExportOutcome run(const TArrangement& doc, const ArrangementOptions& options, const PrintSetup& setup,
        const ExportRequest& request) override
    {
        return WritePdf(doc, options, setup, request, request.FileName);
    }
};

class PictureFiles : public PageExporter {
public:
    ExportOutcome run(const TArrangement& doc, const ArrangementOptions& options, const PrintSetup& setup,
        const ExportRequest& request) override
    {
        return WritePictureFiles(doc, options, setup, request);
    }
};

// The printing system takes PDF jobs: the program writes the file itself, so
// that pictures can go in as their files.
class PrintQueue : public PageExporter {
public:
    explicit PrintQueue(QString command)
        : Command(std::move(command))
    {
    }
    ExportOutcome run(const TArrangement& doc, const ArrangementOptions& options, const PrintSetup& setup,
        const ExportRequest& request) override
    {
        QTemporaryDir folder;
        if (!folder.isValid())
            return ExportOutcome { ExportResult::Failed, {}, {}, {} };
        const QString file = folder.filePath(QStringLiteral("job.pdf"));
        ExportOutcome drawn = WritePdf(
            doc, options, setup, request, file, CalibrationCorrection(setup.Calibration, setup.DpiX, setup.DpiY));
        if (drawn.Result != ExportResult::Done)
            return drawn;
        CupsJobRequest job = CupsJobFor(setup, request.Title);
        // The pixels are already the printer's when a profile converted them.
        const QStringList colour = CupsColourOptions({}, bool(setup.Colour));
        for (int i = 0; i + 1 < colour.size(); i += 2)
            job.Options.push_back({ colour[i], colour[i + 1] });
        const QString error = SubmitCupsJob(job, file, Command);
        ExportOutcome outcome;
        const QStringList args = CupsJobArguments(job, file);
        for (qsizetype i = 0; i + 1 < args.size(); ++i)
            if (args[i] == QLatin1String("-o"))
                outcome.Sent << args[i + 1];
        if (!error.isEmpty()) {
            outcome.Result = ExportResult::Failed;
            outcome.Reason = error;
        }
        return outcome;
    }

private:
    QString Command;
};

class QtPrinter : public PageExporter {
public:
    explicit QtPrinter(TPrinter* device)
        : Device(device)
    {
    }
    ExportOutcome run(const TArrangement& doc, const ArrangementOptions& options, const PrintSetup& setup,
        const ExportRequest& request) override
    {
        ExportOutcome outcome;
        if (Device) {
            outcome = PrintJob(*Device, doc, options, setup, request);
        } else {
            const std::unique_ptr<TPrinter> own = MakeJobPrinter(setup);
            outcome = PrintJob(*own, doc, options, setup, request);
        }
        // As PrintJob puts them on the engine.
        const QStringList o = CupsColourOptions(setup.Destination.CupsOptions, bool(setup.Colour));
        for (qsizetype i = 0; i + 1 < o.size(); i += 2)
            outcome.Sent << o[i] + QLatin1Char('=') + o[i + 1];
        return outcome;
    }

private:
    TPrinter* Device = nullptr;
};

} // namespace

std::unique_ptr<PageExporter> PdfFileExporter() { return std::make_unique<PdfFile>(); }
std::unique_ptr<PageExporter> PictureFilesExporter() { return std::make_unique<PictureFiles>(); }
std::unique_ptr<PageExporter> PrintQueueExporter(const QString& command)
{
    return std::make_unique<PrintQueue>(command);
}
std::unique_ptr<PageExporter> PrinterExporter(TPrinter* device) { return std::make_unique<QtPrinter>(device); }

std::unique_ptr<PageExporter> FileExporter(ExportFormat format)
{
    return format == ExportFormat::Pdf ? PdfFileExporter() : PictureFilesExporter();
}

std::unique_ptr<PageExporter> PrintExporter(const PrintSetup& setup, const QString& queueCommand)
{
    const PrintDestination& d = setup.Destination;
    if (d.PageImages)
        return PrinterExporter();
    if (d.ToFile)
        return PdfFileExporter();
    if (!d.PrinterName.isEmpty() && !queueCommand.isEmpty())
        return PrintQueueExporter(queueCommand);
    return PrinterExporter();
}
