#include "output/PageExport.h"

#include "output/PageRender.h"
#include "output/PrintPreview.h"
#include "platform/DeviceContext.h"

#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <cmath>

ExportFormat ExportFormatForFileName(const QString &fileName)
{
    const QString ext = QFileInfo(fileName).suffix().toLower();
    if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg") || ext == QLatin1String("jpe"))
        return ExportFormat::Jpeg;
    if (ext == QLatin1String("tif") || ext == QLatin1String("tiff"))
        return ExportFormat::Tiff;
    if (ext == QLatin1String("bmp"))
        return ExportFormat::Bmp;
    if (ext == QLatin1String("pdf"))
        return ExportFormat::Pdf;
    return ExportFormat::Png;
}

QStringList ExportFileNames(const QString &fileName, int first, int last)
{
    if (first >= last)
        return {fileName};
    const QFileInfo info(fileName);
    const QString suffix = info.suffix();
    // A dot in a folder name is no extension.
    const QString stem = suffix.isEmpty() ? fileName : fileName.left(fileName.size() - suffix.size() - 1);
    const int digits = std::max(2, int(QString::number(last).size()));
    QStringList names;
    for (int page = first; page <= last; ++page)
        names << QStringLiteral("%1-%2%3")
                     .arg(stem)
                     .arg(page, digits, 10, QLatin1Char('0'))
                     .arg(suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix);
    return names;
}

QStringList ExportTargets(const PageExportJob &job)
{
    if (job.Format == ExportFormat::Pdf)
        return {job.FileName};
    return ExportFileNames(job.FileName, job.FirstPage, job.LastPage);
}

namespace {

// A save file that also notices short writes (a full disk cut the write off
// without an error), which the image and PDF writers do not check.
class CheckedSaveFile : public QSaveFile
{
public:
    using QSaveFile::QSaveFile;
    // Renames over the target only when every write went through whole.
    bool commitWhole()
    {
        if (Short) {
            cancelWriting();
            return false;
        }
        return commit();
    }

protected:
    qint64 writeData(const char *data, qint64 len) override
    {
        const qint64 written = QSaveFile::writeData(data, len);
        Short = Short || written != len;
        return written;
    }

private:
    bool Short = false;
};

std::vector<int> exportedPages(const PageExportJob &job)
{
    std::vector<int> pages;
    for (int page = job.FirstPage; page <= job.LastPage; ++page)
        pages.push_back(page);
    return pages;
}

const char *writerFormat(ExportFormat f)
{
    switch (f) {
    case ExportFormat::Jpeg:
        return "jpeg";
    case ExportFormat::Tiff:
        return "tiff";
    case ExportFormat::Bmp:
        return "bmp";
    default:
        return "png";
    }
}

QPageLayout pdfLayout(const PageExportJob &job)
{
    const QRect area = job.PaperLayout.isValid() ? job.PaperLayout.paintRectPixels(job.PrinterDpiX) : QRect();
    if (area.width() == job.PageWidth && area.height() == job.PageHeight)
        return job.PaperLayout;
    const QSizeF inches(double(job.PageWidth) / job.PrinterDpiX, double(job.PageHeight) / job.PrinterDpiY);
    return QPageLayout(QPageSize(inches, QPageSize::Inch), QPageLayout::Portrait, QMarginsF());
}

ExportResult exportPdf(const TArrangement &doc, const ArrangementOptions &options, const PageExportJob &job,
                       const std::function<bool(int, int, int)> &pageDone, QString *failedFile)
{
    // Written beside the target and renamed over it, so a failed export
    // leaves no broken file and keeps an earlier one. Unbuffered, because a
    // short write at the final flush goes unreported.
    CheckedSaveFile file(job.FileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        if (failedFile)
            *failedFile = job.FileName;
        return ExportResult::WriteFailed;
    }
    QPdfWriter pdf(&file);
    pdf.setCreator(QStringLiteral("Snapgrid-Atlas 4.0"));
    pdf.setResolution(job.PrinterDpiX);
    pdf.setPageLayout(pdfLayout(job));
    QPainter painter;
    if (!painter.begin(&pdf)) {
        if (failedFile)
            *failedFile = job.FileName;
        return ExportResult::WriteFailed;
    }
    const PageScale scale = PrintScale(job.PrinterDpiX);
    const int total = job.LastPage - job.FirstPage + 1;
    PageFeed feed(doc, exportedPages(job));
    for (int page = job.FirstPage; page <= job.LastPage; ++page) {
        if (page > job.FirstPage)
            pdf.newPage();
        {
            TDC dc(&painter);
            RenderPage(dc, doc, page, scale, options, {PictureWant::FullNow, &feed.page(page)});
        }
        if (pageDone && !pageDone(page, page - job.FirstPage + 1, total)) {
            painter.end();
            file.cancelWriting();
            return ExportResult::Cancelled;
        }
    }
    if (!painter.end() || !file.commitWhole()) {
        if (failedFile)
            *failedFile = job.FileName;
        return ExportResult::WriteFailed;
    }
    return ExportResult::Done;
}

} // namespace

ExportResult ExportPages(const TArrangement &doc, const ArrangementOptions &options, const PageExportJob &job,
                         const std::function<bool(int, int, int)> &pageDone, QString *failedFile)
{
    if (job.Format == ExportFormat::Pdf)
        return exportPdf(doc, options, job, pageDone, failedFile);
    const QStringList names = ExportTargets(job);
    const int total = int(names.size());
    PageFeed feed(doc, exportedPages(job));
    for (int i = 0; i < total; ++i) {
        const int page = job.FirstPage + i;
        const QImage image = RenderPageImage(doc, page, job.Dpi, job.PageWidth, job.PageHeight, job.PrinterDpiX,
                                             job.PrinterDpiY, options, qint64(1) << 30, &feed.page(page));
        if (image.isNull())
            return ExportResult::OutOfMemory;
        CheckedSaveFile file(names[i]);
        const bool opened = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
        QImageWriter writer(&file, writerFormat(job.Format));
        // Only JPEG takes a quality: for PNG it would be the compression, and 95 none at all.
        if (job.Format == ExportFormat::Jpeg)
            writer.setQuality(95);
        if (job.Format == ExportFormat::Tiff)
            writer.setCompression(1); // lossless LZW
        if (!opened || !writer.write(image) || !file.commitWhole()) {
            if (failedFile)
                *failedFile = names[i];
            return ExportResult::WriteFailed;
        }
        if (pageDone && !pageDone(page, i + 1, total))
            return ExportResult::Cancelled;
    }
    return ExportResult::Done;
}
