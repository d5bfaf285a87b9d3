// A contact sheet set of 1,000 12 MP photographs (the browse benchmark's forty
// 4000 x 3000 JPEGs, each hard-linked under 25 names) printed to a 300 dpi A4
// PDF: the files read for their cells, added to the collection, laid out 6 x 8
// to a page with name and date lines and a header, and printed, timed from the
// file list to the finished PDF. For reference, the same 1,000 files are
// decoded at 1/8 scale by one thread in the same run.
// Usage: contact [folder]   (default: <temp>/sga-bench-browse)
#include "PhotoFolder.h"
#include "arrange/ContactSheet.h"
#include "arrange/Geometry.h"
#include "arrange/PrintSheet.h"
#include "document/ArrangementDocument.h"
#include "output/PdfJpegCarrier.h"
#include "output/Exporters.h"
#include "picture/ScaledDecode.h"
#include "platform/Printer.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace {

constexpr int Names = 25;
constexpr int Dpi = 300;

struct Failure {
    QString text;
};
[[noreturn]] void fail(const QString &text) { throw Failure{text}; }

double seconds(const QElapsedTimer &clock) { return double(clock.nsecsElapsed()) / 1e9; }

// Processor time of the whole process, every thread counted: on a machine
// whose cores are busy with other work the wall time says little about the
// work done.
double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// The forty photos under 25 names each, hard links where the file system allows.
QStringList linkedPhotos(const QString &folder, const QString &into)
{
    QStringList paths;
    for (int copy = 0; copy < Names; ++copy)
        for (int i = 0; i < PhotoFolder::Files; ++i) {
            const QString source = PhotoFolder::photoPath(folder, i);
            const QString name = into + QStringLiteral("/c%1_photo%2.jpg").arg(copy, 2, 10, QChar('0')).arg(i, 2, 10, QChar('0'));
            if (::link(QFile::encodeName(source).constData(), QFile::encodeName(name).constData()) != 0
                && !QFile::copy(source, name))
                fail(QStringLiteral("cannot link %1").arg(name));
            paths << name;
        }
    return paths;
}

double referenceSeconds(const QStringList &paths)
{
    QElapsedTimer clock;
    clock.start();
    for (const QString &path : paths) {
        ScaledPicture eighth = DecodeScaled(path, 0, QSize(PhotoFolder::Width / 8, PhotoFolder::Height / 8));
        if (!eighth.Dib.Bits)
            fail(QStringLiteral("cannot decode %1").arg(path));
        deldib(&eighth.Dib);
    }
    return seconds(clock);
}

int run(int argc, char **argv)
{
    const PhotoFolder::PrivateHome home;
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : PhotoFolder::defaultFolder();
    if (!PhotoFolder::makeFolder(folder))
        fail(QStringLiteral("cannot make the photo folder %1").arg(folder));
    QTemporaryDir work(QFileInfo(folder).absolutePath() + QStringLiteral("/sga-bench-contact-XXXXXX"));
    if (!work.isValid())
        fail(QStringLiteral("cannot make a temporary folder"));
    const QStringList paths = linkedPhotos(folder, work.path());

    const QString pdf = work.filePath(QStringLiteral("contact.pdf"));
    TPrinter page;
    QPrinter *printer = page.qprinter();
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(pdf);
    printer->setResolution(Dpi);
    printer->setPageSize(QPageSize(QPageSize::A4));
    if (page.LogPixelsX() != Dpi || page.PageWidth() <= 0)
        fail(QStringLiteral("the printer gives %1 dpi, not %2").arg(page.LogPixelsX()).arg(Dpi));

    const double cpuBefore = cpuSeconds();
    const double reference = referenceSeconds(paths);
    const double referenceCpu = cpuSeconds() - cpuBefore;

    ArrangementDocument doc;
    const PageGeometry paper = PaperGeometry(page, 96, 100);
    const SheetArea sheet = PrinterSheet(printer, paper);
    ContactSheetSettings settings;
    settings.Title = QStringLiteral("Benchmark");
    const ContactGrid grid = ContactLayout(settings, sheet);

    QElapsedTimer clock;
    clock.start();
    const double cpuStart = cpuSeconds();
    ContactFiles files = ReadContactFiles(paths, ContactCellBox(grid), nullptr);
    ContactPlacement placed;
    {
        const auto step = doc.step(QStringLiteral("Contact sheet"));
        const std::vector<int> added = AddContactFiles(doc, files);
        placed = PlaceContactSheet(doc, settings, sheet, added, files.Facts, QStringLiteral("Contact sheet"));
    }
    if (!placed.Error.isEmpty() || placed.Placed != int(paths.size()))
        fail(QStringLiteral("placed %1 of %2: %3").arg(placed.Placed).arg(paths.size()).arg(placed.Error));
    const double laidOut = seconds(clock);
    // As the print command sends a job that goes to a file.
    ExportRequest request;
    request.Pages = PageSpan(1, placed.LastPage);
    const PrintSetup setup = JobSetup(page);
    request.FileName = setup.Destination.FileName;
    const ExportOutcome outcome = PrintExporter(setup, QString())->run(doc.records(), doc.options(), setup, request);
    if (outcome.Result != ExportResult::Done)
        fail(QStringLiteral("printing failed: %1").arg(outcome.Reason));
    const double total = seconds(clock);
    const double cpu = cpuSeconds() - cpuStart;
    const int pages = placed.LastPage - placed.FirstPage + 1;
    const qint64 bytes = QFileInfo(pdf).size();

    std::printf("contact_pdf_s: %.2f s\n", total);
    std::printf("contact_reference_s: %.2f s\n", reference);
    std::printf("contact_ratio: %.2f\n", total / reference);
    std::printf("contact_read_and_layout_s: %.2f s\n", laidOut);
    std::printf("contact_cpu_s: %.2f s\n", cpu);
    std::printf("contact_reference_cpu_s: %.2f s\n", referenceCpu);
    std::printf("contact_threads: %d\n", QThread::idealThreadCount());
    std::printf("contact_pages: %d\n", pages);
    std::printf("contact_pdf_kb_per_page: %.0f\n", double(bytes) / 1024.0 / pages);
    std::printf("contact_image_objects: %d\n", CountPdfImages(pdf));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    try {
        return run(argc, argv);
    } catch (const Failure &failure) {
        std::fprintf(stderr, "contact: %s\n", qPrintable(failure.text));
        return 1;
    }
}
