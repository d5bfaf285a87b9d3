// A contact sheet of 120 large photos: the 40 photo-like 4000 x 3000 JPEGs of
// the browse benchmark, each placed three times, 4 per page over 30 A4 pages.
// The arrangement is written as a file and opened through the window's open
// command; then one page is repainted at zoom 100 and all pages are printed
// to a 600 dpi PDF through the print command. For reference, the same 120
// files are decoded in full by one thread with QImageReader.
//
// Peak memory is the kernel's high-water mark (VmHWM), reset before each
// measured step by writing 5 to /proc/self/clear_refs; where the kernel
// refuses that, a thread samples VmRSS every 2 ms instead (which can miss
// short peaks).
// Usage: scale [folder [pdf]]   (default: <temp>/sga-bench-browse; the PDF
// printed is kept at `pdf` when given)
#include "PhotoFolder.h"
#include "app/MainUnit.h"
#include "arrange/ArrangeCanvas.h"
#include "arrange/OptionsPanel.h"
#include "arrange/PictureStrip.h"
#include "browse/FolderViews.h"
#include "browse/ThumbGrid.h"
#include "browse/ThumbnailBrowser.h"
#include "document/ArrangementFile.h"
#include "platform/Dialogs.h"
#include "platform/PaintBox.h"
#include "platform/Printer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QPageSize>
#include <QPrinter>
#include <QScrollArea>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "ScaleArrangement.h"

namespace {
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

int run(int argc, char** argv)
{
    const PhotoFolder::PrivateHome home;
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : PhotoFolder::defaultFolder();
    if (!PhotoFolder::makeFolder(folder))
        fail(QStringLiteral("cannot make the photo folder %1").arg(folder));
    QTemporaryDir work;
    if (!work.isValid())
        fail(QStringLiteral("cannot make a temporary folder"));

    // Every message box is answered and kept; any message fails the step it came in.
    QStringList messages;
    Dialogs::Handler answers;
    answers.message = [&messages](const Dialogs::MessageRecord& m) {
        messages << m.text;
        return int(Dialogs::IdOk);
    };
    answers.print = [](QPrinter*) { return true; };
    Dialogs::setHandler(answers);

    // The printer: A4 at 600 dpi into a PDF file, before the window reads its page.
    const QString pdf = work.filePath(QStringLiteral("scale.pdf"));
    TMainForm form;
    TPrinter& page = form.printer();
    QPrinter* printer = page.qprinter();
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(pdf);
    printer->setResolution(PrintDpi);
    printer->setPageSize(QPageSize(QPageSize::A4));
    if (page.LogPixelsX() != PrintDpi || page.PageWidth() <= 0)
        fail(QStringLiteral("the printer gives %1 dpi, not %2").arg(page.LogPixelsX()).arg(PrintDpi));

    const QStringList paths = picturePaths(folder);
    qint64 sourceBytes = 0;
    for (const QString& path : paths) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            fail(QStringLiteral("cannot read %1").arg(path));
        sourceBytes += file.readAll().size(); // also brings it into the page cache
    }
    const QString sga = work.filePath(QStringLiteral("scale.sga"));
    {
        QFile file(sga);
        const QByteArray bytes = arrangementFile(
            paths, double(page.PageWidth()) / PrintDpi, double(page.PageHeight()) / PrintDpi);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            fail(QStringLiteral("cannot write %1").arg(sga));
    }

    const double reference = referenceSeconds(paths);

    form.resize(1600, 1400);
    form.show();
    QApplication::processEvents();

    double openSeconds = 0, openPeak = 0;
    bool highWaterMark = false;
    {
        PeakRss peak;
        QElapsedTimer clock;
        clock.start();
        form.OpenFile(sga);
        // Should opening hand work to the event loop, wait until every picture is in.
        while (form.Doc->records().PictureCount() < Pictures && messages.isEmpty() && clock.elapsed() < 600'000) {
            QEventLoop loop;
            QTimer::singleShot(10, &loop, &QEventLoop::quit);
            loop.exec();
        }
        openSeconds = seconds(clock);
        openPeak = peak.mb();
        highWaterMark = peak.fromHighWaterMark();
    }
    if (!messages.isEmpty())
        fail(QStringLiteral("opening said: %1").arg(messages.join(QStringLiteral(" | "))));
    if (form.Doc->records().PictureCount() != Pictures || form.Doc->records().highestPage() != Pages)
        fail(QStringLiteral("opened %1 pictures on %2 pages, not %3 on %4")
                 .arg(form.Doc->records().PictureCount())
                 .arg(form.Doc->records().highestPage())
                 .arg(Pictures)
                 .arg(Pages));

    // The arrange view at zoom 100 on page 1; the first paints settle its size.
    form.showTab(TMainForm::Tab::Arrange);
    form.arrangePage().setZoom(100);
    form.arrangePage().showPage(1);
    std::vector<double> repaints;
    for (int run = 0; run < 14; ++run) {
        QApplication::processEvents();
        QElapsedTimer clock;
        clock.start();
        form.arrangePage().canvas().repaintArrangeView();
        if (run >= 3)
            repaints.push_back(double(clock.nsecsElapsed()) / 1e6);
    }

    double printSeconds = 0, printPeak = 0;
    {
        PeakRss peak;
        QElapsedTimer clock;
        clock.start();
        form.GoBtn1Click();
        printSeconds = seconds(clock);
        printPeak = peak.mb();
    }
    if (!messages.isEmpty())
        fail(QStringLiteral("printing said: %1").arg(messages.join(QStringLiteral(" | "))));
    const qint64 pdfBytes = QFileInfo(pdf).size();
    if (pdfBytes <= 0)
        fail(QStringLiteral("no PDF was written to %1").arg(pdf));
    if (argc > 2) {
        const QString kept = QString::fromLocal8Bit(argv[2]);
        QFile::remove(kept);
        if (!QFile::copy(pdf, kept))
            fail(QStringLiteral("cannot keep the PDF as %1").arg(kept));
    }

    std::printf("scale_open_s: %.2f s\n", openSeconds);
    std::printf("scale_open_reference_s: %.2f s\n", reference);
    std::printf("scale_open_peak_rss_mb: %.0f MB\n", openPeak);
    std::printf("scale_repaint_zoom100_ms: %.1f ms\n", median(repaints));
    std::printf("scale_print_s: %.2f s\n", printSeconds);
    std::printf("scale_print_peak_rss_mb: %.0f MB\n", printPeak);
    std::printf("scale_pdf_mb: %.1f MB\n", double(pdfBytes) / (1024.0 * 1024.0));
    std::printf("scale_source_mb: %.1f MB\n", double(sourceBytes) / (1024.0 * 1024.0));
    std::fprintf(stderr, "view %dx%d shown in %dx%d; peaks from %s\n", form.arrangePage().canvas().ViewBox->width(),
        form.arrangePage().canvas().ViewBox->height(), form.arrangePage().canvas().ScrollArea->viewport()->width(), form.arrangePage().canvas().ScrollArea->viewport()->height(),
        highWaterMark ? "VmHWM" : "VmRSS sampled every 2 ms");
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        return run(argc, argv);
    } catch (const Failure& failure) {
        std::fprintf(stderr, "scale: %s\n", qPrintable(failure.text));
        return 1;
    }
}
