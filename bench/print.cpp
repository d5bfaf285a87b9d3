// Printing the contact sheet of the scale benchmark (the 40 photo-like
// 4000 x 3000 JPEGs, each placed three times, 4 per page over 30 A4 pages) to
// a 600 dpi PDF through the print command, twice: with the pictures as their
// files are, and with a tonal step on every picture. For reference, the same
// 120 files are decoded in full by one thread with QImageReader.
//
// Figures: time, PDF bytes over source bytes, image objects in the PDF, peak
// memory (VmHWM, reset before each job where the kernel allows it) and the
// longest gap between ticks of a 5 ms timer on the interface thread during
// the job.
// Usage: print [folder]   (default: <temp>/sga-bench-browse)
#include "PhotoFolder.h"
#include "app/MainUnit.h"
#include "arrange/Geometry.h"
#include "document/ArrangementFile.h"
#include "output/PdfJpegCarrier.h"
#include "pages/PrintPage.h"
#include "picture/Tonal.h"
#include "platform/Dialogs.h"
#include "platform/Printer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QPageSize>
#include <QPrinter>
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


struct JobFigures {
    double Seconds = 0;
    double PeakMb = 0;
    double MaxStallMs = 0;
    qint64 Bytes = 0;
    int Images = 0;
};

// Prints through the print command while a 5 ms timer on the interface
// thread records the longest gap between its ticks.
JobFigures printJob(TMainForm& form, const QString& pdf, const QStringList& messages)
{
    QFile::remove(pdf);
    JobFigures f;
    QElapsedTimer ticks;
    qint64 last = 0, longest = 0;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        const qint64 now = ticks.nsecsElapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    {
        PeakRss peak;
        QElapsedTimer clock;
        clock.start();
        ticks.start();
        timer.start(5);
        form.GoBtn1Click();
        timer.stop();
        f.Seconds = seconds(clock);
        f.PeakMb = peak.mb();
    }
    f.MaxStallMs = double(longest) / 1e6;
    if (!messages.isEmpty())
        fail(QStringLiteral("printing said: %1").arg(messages.join(QStringLiteral(" | "))));
    f.Bytes = QFileInfo(pdf).size();
    if (f.Bytes <= 0)
        fail(QStringLiteral("no PDF was written to %1").arg(pdf));
    f.Images = CountPdfImages(pdf);
    return f;
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

    QStringList messages;
    Dialogs::Handler answers;
    answers.message = [&messages](const Dialogs::MessageRecord& m) {
        messages << m.text;
        return int(Dialogs::IdOk);
    };
    answers.print = [](QPrinter*) { return true; };
    Dialogs::setHandler(answers);

    const QString pdf = work.filePath(QStringLiteral("print.pdf"));
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
        sourceBytes += file.readAll().size();
    }
    const QString sga = work.filePath(QStringLiteral("print.sga"));
    {
        QFile file(sga);
        const QByteArray bytes = arrangementFile(
            paths, double(page.PageWidth()) / PrintDpi, double(page.PageHeight()) / PrintDpi);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            fail(QStringLiteral("cannot write %1").arg(sga));
    }
    const double reference = referenceSeconds(paths);

    form.resize(1200, 900);
    form.show();
    QApplication::processEvents();
    form.OpenFile(sga);
    while (form.Doc->records().PictureCount() < Pictures && messages.isEmpty()) {
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();
    }
    if (!messages.isEmpty())
        fail(QStringLiteral("opening said: %1").arg(messages.join(QStringLiteral(" | "))));
    form.showTab(TMainForm::Tab::Print);
    // The quality pass the print command starts with, and the repaints it
    // brings, before the job is timed.
    form.Doc->checkAllQualities(PaperGeometry(page, 96, form.Doc->options().Zoom));
    for (int i = 0; i < 20; ++i)
        QApplication::processEvents();

    const JobFigures same = printJob(form, pdf, messages);

    // A tonal step on every picture, as the brightness command records it.
    const ToneTable brighter = BrightnessTable(10);
    for (PictureEntry& entry : form.Doc->recordsForSetUp().Pictures) {
        DIB adjusted;
        newdib(&adjusted, DibWidth(entry.Dib), DibHeight(entry.Dib), 24, nullptr, 0);
        CopyThroughTable(entry.Dib, adjusted, brighter);
        AdjustEntry(entry, adjusted, brighter);
    }
    // Told as the brightness command tells it, so the views take the new
    // pixels before the job and not inside it.
    form.Doc->touch(ArrangementDocument::Change::Pictures);
    form.Doc->checkAllQualities(PaperGeometry(page, 96, form.Doc->options().Zoom));
    for (int i = 0; i < 20; ++i)
        QApplication::processEvents();
    const JobFigures changed = printJob(form, pdf, messages);

    std::printf("print_pdf_s: %.2f s\n", same.Seconds);
    std::printf("print_reference_s: %.2f s\n", reference);
    std::printf("print_pdf_bytes_ratio: %.3f\n", double(same.Bytes) / double(sourceBytes));
    std::printf("print_source_mb: %.1f MB\n", double(sourceBytes) / (1024.0 * 1024.0));
    std::printf("print_image_objects: %d\n", same.Images);
    std::printf("print_distinct_files: %d\n", PhotoFolder::Files);
    std::printf("print_peak_rss_mb: %.0f MB\n", same.PeakMb);
    std::printf("print_max_stall_ms: %.1f ms\n", same.MaxStallMs);
    std::printf("print_changed_pdf_s: %.2f s\n", changed.Seconds);
    std::printf("print_changed_bytes_ratio: %.3f\n", double(changed.Bytes) / double(sourceBytes));
    std::printf("print_changed_image_objects: %d\n", changed.Images);
    std::printf("print_changed_distinct_pictures: %d\n", Pictures);
    std::printf("print_changed_peak_rss_mb: %.0f MB\n", changed.PeakMb);
    std::printf("print_changed_max_stall_ms: %.1f ms\n", changed.MaxStallMs);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        return run(argc, argv);
    } catch (const Failure& failure) {
        std::fprintf(stderr, "print: %s\n", qPrintable(failure.text));
        return 1;
    }
}
