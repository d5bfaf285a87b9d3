#include "output/PageExport.h"

#include "output/DevicePictures.h"
#include "output/PageRender.h"
#include "output/PdfJpegCarrier.h"
#include "output/PrintPreview.h"
#include "picture/ColourManagement.h"
#include "platform/DeviceContext.h"

#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTemporaryFile>

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

bool stopped(const PageExportJob &job) { return job.Cancel && job.Cancel->load(); }

ExportResult failed(const QString &file, QString *failedFile)
{
    if (failedFile)
        *failedFile = file;
    return ExportResult::WriteFailed;
}

// Qt's PDF engine draws the pages; where JPEG files may be carried as they
// are, it draws into a draft whose marker images are then replaced while the
// final file is written. The file appears only when complete.
ExportResult exportPdf(const TArrangement &doc, const ArrangementOptions &options, const PageExportJob &job,
                       const std::function<bool(int, int, int)> &pageDone, QString *failedFile, QString *reason)
{
    const PageScale scale = PrintScale(job.PrinterDpiX);
    DevicePictures pictures(doc, options, exportedPages(job), {scale, job.PassJpegThrough, job.Cancel, job.Colour, true});
    // Unbuffered, because a short write at the final flush goes unreported.
    CheckedSaveFile target(job.FileName);
    if (!target.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failed(job.FileName, failedFile);
    QTemporaryFile draft(QDir::tempPath() + QStringLiteral("/snapgrid-atlas-XXXXXX.pdf"));
    // The draft is rewritten for carried JPEG files and for the output intent.
    const QByteArray outputProfile = job.Colour ? job.Colour->targetProfile() : QByteArray();
    const bool carry = pictures.mayPassThrough() || !outputProfile.isEmpty();
    if (carry && !draft.open())
        return failed(draft.fileTemplate(), failedFile);
    {
        QPdfWriter pdf(carry ? static_cast<QIODevice *>(&draft) : &target);
        pdf.setCreator(QStringLiteral("Snapgrid-Atlas 4.0"));
        pdf.setTitle(job.Title);
        pdf.setResolution(job.PrinterDpiX);
        pdf.setPageLayout(pdfLayout(job));
        QPainter painter;
        if (!painter.begin(&pdf))
            return failed(job.FileName, failedFile);
        const int total = job.LastPage - job.FirstPage + 1;
        for (int page = job.FirstPage; page <= job.LastPage; ++page) {
            if (page > job.FirstPage)
                pdf.newPage();
            PictureSupply supply;
            bool go = pictures.page(page, &supply);
            if (go) {
                painter.setWorldTransform(job.PageTransform);
                TDC dc(&painter);
                RenderPage(dc, doc, page, scale, options, supply);
            }
            go = go && !stopped(job) && (!pageDone || pageDone(page, page - job.FirstPage + 1, total));
            if (!go) {
                painter.end();
                return ExportResult::Cancelled;
            }
        }
        if (!painter.end())
            return failed(job.FileName, failedFile);
    }
    if (carry) {
        if (!draft.flush())
            return failed(draft.fileName(), failedFile);
        const QString error = CarryJpegFiles(draft.fileName(), target, pictures.passed(),
                                             [&job] { return stopped(job); }, outputProfile);
        if (stopped(job))
            return ExportResult::Cancelled;
        if (!error.isEmpty()) {
            if (reason)
                *reason = error;
            return failed(job.FileName, failedFile);
        }
    }
    if (!target.commitWhole())
        return failed(job.FileName, failedFile);
    return ExportResult::Done;
}

} // namespace

ExportResult ExportPages(const TArrangement &doc, const ArrangementOptions &options, const PageExportJob &job,
                         const std::function<bool(int, int, int)> &pageDone, QString *failedFile, QString *reason)
{
    if (job.Format == ExportFormat::Pdf)
        return exportPdf(doc, options, job, pageDone, failedFile, reason);
    const QStringList names = ExportTargets(job);
    const int total = int(names.size());
    DevicePictures pictures(doc, options, exportedPages(job), {PreviewScale(job.Dpi, job.Dpi), false, job.Cancel, nullptr});
    for (int i = 0; i < total; ++i) {
        const int page = job.FirstPage + i;
        PictureSupply supply;
        if (!pictures.page(page, &supply))
            return ExportResult::Cancelled;
        const QImage image = RenderPageImage(doc, page, job.Dpi, job.PageWidth, job.PageHeight, job.PrinterDpiX,
                                             job.PrinterDpiY, options, qint64(1) << 30, supply);
        if (image.isNull())
            return ExportResult::OutOfMemory;
        CheckedSaveFile file(names[i]);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return failed(names[i], failedFile);
        QImageWriter writer(&file, writerFormat(job.Format));
        // Only JPEG takes a quality: for PNG it would be the compression, and 95 none at all.
        if (job.Format == ExportFormat::Jpeg)
            writer.setQuality(95);
        if (job.Format == ExportFormat::Tiff)
            writer.setCompression(1); // lossless LZW
        if (!writer.write(image) || !file.commitWhole())
            return failed(names[i], failedFile);
        if (stopped(job) || (pageDone && !pageDone(page, i + 1, total)))
            return ExportResult::Cancelled;
    }
    return ExportResult::Done;
}
