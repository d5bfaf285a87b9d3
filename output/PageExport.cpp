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

#include <algorithm>
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

std::vector<int> PageSpan(int first, int last)
{
    std::vector<int> pages;
    for (int page = first; page <= last; ++page)
        pages.push_back(page);
    return pages;
}

QStringList ExportFileNames(const QString &fileName, const std::vector<int> &pages)
{
    if (pages.size() <= 1)
        return {fileName};
    const QFileInfo info(fileName);
    const QString suffix = info.suffix();
    // A dot in a folder name is no extension.
    const QString stem = suffix.isEmpty() ? fileName : fileName.left(fileName.size() - suffix.size() - 1);
    const int largest = *std::max_element(pages.begin(), pages.end());
    const int digits = std::max(2, int(QString::number(largest).size()));
    QStringList names;
    for (int page : pages)
        names << QStringLiteral("%1-%2%3")
                     .arg(stem)
                     .arg(page, digits, 10, QLatin1Char('0'))
                     .arg(suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix);
    return names;
}

QStringList PictureTargets(const ExportRequest &request) { return ExportFileNames(request.FileName, request.Pages); }

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

QPageLayout pdfLayout(const PrintSetup &setup)
{
    const QRect area = setup.Paper.isValid() ? setup.Paper.paintRectPixels(setup.DpiX) : QRect();
    if (area.width() == setup.PageWidth && area.height() == setup.PageHeight)
        return setup.Paper;
    const QSizeF inches(double(setup.PageWidth) / setup.DpiX, double(setup.PageHeight) / setup.DpiY);
    return QPageLayout(QPageSize(inches, QPageSize::Inch), QPageLayout::Portrait, QMarginsF());
}

bool stopped(const ExportRequest &request) { return request.Cancel && request.Cancel->load(); }

ExportOutcome failed(const QString &file, const QString &reason = {})
{
    return ExportOutcome { ExportResult::WriteFailed, file, reason, {} };
}

ExportOutcome cancelled() { return ExportOutcome { ExportResult::Cancelled, {}, {}, {} }; }

// Qt's PDF engine draws the pages into `out`.
bool drawPdfPages(QIODevice &out, const TArrangement &doc, const ArrangementOptions &options, const PrintSetup &setup,
                  const ExportRequest &request, DevicePictures &pictures, const QTransform &pageTransform,
                  bool *stop)
{
    const PageScale scale = PrintScale(setup.DpiX);
    QPdfWriter pdf(&out);
    pdf.setCreator(QStringLiteral("Snapgrid-Atlas 4.0"));
    pdf.setTitle(request.Title);
    pdf.setResolution(setup.DpiX);
    pdf.setPageLayout(pdfLayout(setup));
    QPainter painter;
    if (!painter.begin(&pdf))
        return false;
    const int total = int(request.Pages.size());
    for (int i = 0; i < total; ++i) {
        const int page = request.Pages[std::size_t(i)];
        if (i > 0)
            pdf.newPage();
        PictureSupply supply(PictureWant::FullNow);
        bool go = pictures.page(page, &supply);
        if (go) {
            painter.setWorldTransform(pageTransform);
            TDC dc(&painter);
            RenderPage(dc, doc, page, scale, options, setup, supply);
        }
        go = go && !stopped(request) && (!request.PageDone || request.PageDone(page, i + 1, total));
        if (!go) {
            *stop = true;
            painter.end();
            return true;
        }
    }
    return painter.end();
}

} // namespace

// Where JPEG files may be carried as they are, or the PDF names an output
// intent, Qt's engine draws into a draft whose marker images are then
// replaced while the final file is written. The file appears only when complete.
ExportOutcome WritePdf(const TArrangement &doc, const ArrangementOptions &options, const PrintSetup &setup,
                       const ExportRequest &request, const QString &file, const QTransform &pageTransform)
{
    DevicePictures pictures(doc, options, request.Pages, setup,
                            {PrintScale(setup.DpiX), true, true, request.Cancel});
    // Unbuffered, because a short write at the final flush goes unreported.
    CheckedSaveFile target(file);
    if (!target.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failed(file);
    QTemporaryFile draft(QDir::tempPath() + QStringLiteral("/snapgrid-atlas-XXXXXX.pdf"));
    const QByteArray outputProfile = setup.Colour ? setup.PrinterProfile : QByteArray();
    const bool carry = pictures.mayPassThrough() || !outputProfile.isEmpty();
    if (carry && !draft.open())
        return failed(draft.fileTemplate());
    bool stop = false;
    if (!drawPdfPages(carry ? static_cast<QIODevice &>(draft) : target, doc, options, setup, request, pictures,
                      pageTransform, &stop))
        return failed(file);
    if (stop)
        return cancelled();
    if (carry) {
        if (!draft.flush())
            return failed(draft.fileName());
        const QString error = CarryJpegFiles(draft.fileName(), target, pictures.passed(),
                                             [&request] { return stopped(request); }, outputProfile);
        if (stopped(request))
            return cancelled();
        if (!error.isEmpty())
            return failed(file, error);
    }
    if (!target.commitWhole())
        return failed(file);
    return {};
}

ExportOutcome WritePictureFiles(const TArrangement &doc, const ArrangementOptions &options, const PrintSetup &setup,
                                const ExportRequest &request)
{
    const QStringList names = PictureTargets(request);
    const int total = int(request.Pages.size());
    DevicePictures pictures(doc, options, request.Pages, setup,
                            {PreviewScale(request.Dpi, request.Dpi), false, false, request.Cancel});
    for (int i = 0; i < total; ++i) {
        const int page = request.Pages[std::size_t(i)];
        PictureSupply supply(PictureWant::FullNow);
        if (!pictures.page(page, &supply))
            return cancelled();
        const QImage image = RenderPageImage(doc, page, request.Dpi, options, setup, qint64(1) << 30, supply);
        if (image.isNull())
            return ExportOutcome { ExportResult::OutOfMemory, names[i], {}, {} };
        CheckedSaveFile out(names[i]);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return failed(names[i]);
        QImageWriter writer(&out, writerFormat(request.Format));
        // Only JPEG takes a quality: for PNG it would be the compression, and 95 none at all.
        if (request.Format == ExportFormat::Jpeg)
            writer.setQuality(95);
        if (request.Format == ExportFormat::Tiff)
            writer.setCompression(1); // lossless LZW
        if (!writer.write(image) || !out.commitWhole())
            return failed(names[i]);
        if (stopped(request) || (request.PageDone && !request.PageDone(page, i + 1, total)))
            return cancelled();
    }
    return {};
}
