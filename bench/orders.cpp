// A class's orders: 30 children, each ordering from two of their photos one
// 13 x 18 cm, two 9 x 13 cm, eight wallets (2.5 x 3.5 in) and four ID photos
// (35 x 45 mm), 60 photo-like 6000 x 4000 JPEGs (24 MP, every third
// upright), packed on A4 and on 8 x 10 in, then placed and exported as a
// 300 dpi A4 PDF, and printed to a 300 dpi PDF printer (the printer's way,
// pictures made as pixels). For reference, the same 60 files are decoded in full by one
// thread with QImageReader in the same run.
// Usage: orders [folder]   (default: <temp>/sga-bench-orders, made on first use)
#include "PhotoFolder.h"
#include "arrange/Geometry.h"
#include "arrange/OrderSheet.h"
#include "arrange/PrintSheet.h"
#include "document/ArrangementDocument.h"
#include "output/Exporters.h"
#include "output/PrintJob.h"
#include "platform/Printer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>

namespace {
constexpr int Photos = 60;
constexpr int Children = 30;
constexpr int Long = 6000, Short = 4000;
constexpr int Dpi = 300;

struct Failure {
    QString text;
};
[[noreturn]] void fail(const QString &text) { throw Failure{text}; }
double seconds(const QElapsedTimer &clock) { return double(clock.nsecsElapsed()) / 1e9; }

QString photoPath(const QString &folder, int i) { return folder + QStringLiteral("/child%1.jpg").arg(i, 2, 10, QChar('0')); }

// Smooth colour fields (a small random picture enlarged) with grain, which
// compresses like a photograph.
QImage photo(int i)
{
    QRandomGenerator rng(quint32(7000 + i));
    const bool upright = i % 3 == 2;
    QImage small(upright ? 20 : 30, upright ? 30 : 20, QImage::Format_RGB32);
    for (int y = 0; y < small.height(); ++y)
        for (int x = 0; x < small.width(); ++x)
            small.setPixel(x, y, qRgb(rng.bounded(256), rng.bounded(256), rng.bounded(256)));
    QImage img = small.scaled(upright ? Short : Long, upright ? Long : Short, Qt::IgnoreAspectRatio,
                              Qt::SmoothTransformation);
    quint32 noise = quint32(i) * 2654435761u + 1;
    for (int y = 0; y < img.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            noise ^= noise << 13;
            noise ^= noise >> 17;
            noise ^= noise << 5;
            const int g = int(noise % 17) - 8;
            const QRgb p = line[x];
            line[x] = qRgb(std::clamp(qRed(p) + g, 0, 255), std::clamp(qGreen(p) + g, 0, 255),
                           std::clamp(qBlue(p) + g, 0, 255));
        }
    }
    return img;
}

void makePhotos(const QString &folder)
{
    if (!QDir().mkpath(folder))
        fail(QStringLiteral("cannot make %1").arg(folder));
    for (int i = 0; i < Photos; ++i) {
        if (QFile::exists(photoPath(folder, i)))
            continue;
        QImageWriter writer(photoPath(folder, i), "jpeg");
        writer.setQuality(90);
        if (!writer.write(photo(i)))
            fail(QStringLiteral("cannot write %1").arg(photoPath(folder, i)));
    }
}

OrderList classOrders(const QString &folder)
{
    OrderList lines;
    for (int c = 0; c < Children; ++c) {
        const QString name = QStringLiteral("Child %1").arg(c + 1);
        const QString a = photoPath(folder, 2 * c), b = photoPath(folder, 2 * c + 1);
        lines.push_back({name, a, QStringLiteral("Photo 13 x 18 cm"), 130, 180, false, 1});
        lines.push_back({name, b, QStringLiteral("Photo 9 x 13 cm"), 90, 130, false, 2});
        lines.push_back({name, a, QStringLiteral("Wallet 2.5 x 3.5 in"), 63.5, 88.9, false, 8});
        lines.push_back({name, b, QStringLiteral("Passport / ID 35 x 45 mm"), 35, 45, true, 4});
    }
    return lines;
}

double referenceSeconds(const QString &folder)
{
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < Photos; ++i) {
        QImageReader reader(photoPath(folder, i));
        reader.setAllocationLimit(0);
        if (reader.read().isNull())
            fail(QStringLiteral("cannot decode %1").arg(photoPath(folder, i)));
    }
    return seconds(clock);
}

// Processor time of all threads: twice the wall time while both cores work.
double processCpuSeconds()
{
    timespec t {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

std::string loadAverage()
{
    std::ifstream in("/proc/loadavg");
    std::string a, b, c;
    in >> a >> b >> c;
    return a + " " + b + " " + c;
}

int run(int argc, char **argv)
{
    const PhotoFolder::PrivateHome home;
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath() + "/sga-bench-orders";
    makePhotos(folder);
    const OrderList lines = classOrders(folder);
    std::vector<QSize> sizes;
    for (const OrderLine &l : lines)
        sizes.push_back(QImageReader(l.Picture).size());
    const std::vector<OrderPackItem> items = OrderPackItems(lines, sizes);
    const SheetSpacing spacing{5, 3};

    const SheetArea a4 = WholeSheet(210, 297);
    QElapsedTimer clock;
    clock.start();
    const SheetLayout onA4 = PackOrders(a4, spacing, items);
    const double packSeconds = seconds(clock);
    const SheetArea inch8x10 = WholeSheet(8 * MmPerInch, 10 * MmPerInch);
    clock.restart();
    const SheetLayout on8x10 = PackOrders(inch8x10, spacing, items);
    const double pack8x10Seconds = seconds(clock);
    std::vector<SheetItem> plain;
    for (const OrderPackItem &i : items)
        plain.push_back({i.Size, i.Copies, i.Upright});

    QTemporaryDir work;
    const QString pdf = work.filePath(QStringLiteral("orders.pdf"));
    TPrinter page;
    QPrinter *printer = page.qprinter();
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(pdf);
    printer->setResolution(Dpi);
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    ArrangementDocument doc;
    const PageGeometry paper = PaperGeometry(page, 96, 100);
    QualityFailures quality;
    const OrderPlacement placed = PlaceOrders(doc, lines, PrinterSheet(printer, paper), spacing, paper,
                                              QStringLiteral("Order sheets"), &quality);
    if (!placed.Error.isEmpty() || !placed.Unread.isEmpty())
        fail(QStringLiteral("placing failed: %1 %2").arg(placed.Error, placed.Unread.join(' ')));

    const double reference = referenceSeconds(folder);
    ExportRequest request;
    request.Pages = PageSpan(1, doc.pageCount());
    const PrintSetup setup = JobSetup(page);
    request.FileName = setup.Destination.FileName;
    const double cpuBefore = processCpuSeconds();
    clock.restart();
    const ExportOutcome outcome = PrintExporter(setup, QString())->run(doc.records(), doc.options(), setup, request);
    const double exportSeconds = seconds(clock);
    const double exportCpu = processCpuSeconds() - cpuBefore;
    if (outcome.Result != ExportResult::Done)
        fail(QStringLiteral("export failed: %1").arg(outcome.Reason));

    const double pdfMb = double(QFileInfo(request.FileName).size()) / 1e6;
    printer->setOutputFileName(work.filePath(QStringLiteral("printed.pdf")));
    const double printCpuBefore = processCpuSeconds();
    clock.restart();
    const ExportOutcome printed = PrintJob(page, doc.records(), doc.options(), setup, request);
    const double printSeconds = seconds(clock);
    const double printCpu = processCpuSeconds() - printCpuBefore;
    if (printed.Result != ExportResult::Done)
        fail(QStringLiteral("printing failed: %1").arg(printed.Reason));

    std::printf("orders_frames: %d\n", int(onA4.Frames.size()));
    std::printf("orders_sheets: %d\n", onA4.Sheets);
    std::printf("orders_lower_bound: %d\n", OrderAreaLowerBound(a4, spacing, items));
    std::printf("orders_lower_bound_dff: %d\n", OrderLowerBound(a4, spacing, items));
    std::printf("orders_shelf_sheets: %d\n", PackSheets(a4, spacing, plain).Sheets);
    std::printf("orders_split_orders: %d\n", OrderSplits(onA4, items));
    std::printf("orders_sheets_8x10in: %d\n", on8x10.Sheets);
    std::printf("orders_lower_bound_8x10in: %d\n", OrderAreaLowerBound(inch8x10, spacing, items));
    std::printf("orders_lower_bound_dff_8x10in: %d\n", OrderLowerBound(inch8x10, spacing, items));
    std::printf("orders_shelf_sheets_8x10in: %d\n", PackSheets(inch8x10, spacing, plain).Sheets);
    std::printf("orders_split_orders_8x10in: %d\n", OrderSplits(on8x10, items));
    std::printf("orders_pack_s: %.3f s\n", packSeconds);
    std::printf("orders_pack_8x10in_s: %.3f s\n", pack8x10Seconds);
    std::printf("orders_export_s: %.2f s\n", exportSeconds);
    std::printf("orders_export_cpu_s: %.2f s\n", exportCpu);
    std::printf("orders_reference_decode_s: %.2f s\n", reference);
    std::printf("orders_export_ratio: %.3f x\n", exportSeconds / reference);
    std::printf("orders_pdf_pages: %d\n", doc.pageCount());
    std::printf("orders_pdf_mb: %.1f MB\n", pdfMb);
    std::printf("orders_print_s: %.2f s\n", printSeconds);
    std::printf("orders_print_cpu_s: %.2f s\n", printCpu);
    std::printf("orders_load_average: %s\n", loadAverage().c_str());
    return 0;
}
} // namespace

int main(int argc, char **argv)
{
    try {
        return run(argc, argv);
    } catch (const Failure &failure) {
        std::fprintf(stderr, "orders: %s\n", qPrintable(failure.text));
        return 1;
    }
}
