#include "platform/Printer.h"

#include "platform/DeviceContext.h"

#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintEngine>
#include <QPrinter>
#include <QStandardPaths>
#include <QThread>

namespace {
// Page images beyond this are refused rather than allocated (tests use small pages).
constexpr qint64 MaxPageImageBytes = qint64(1) << 30;
// Qt's CUPS engine takes the job's options as this property (name, value pairs).
constexpr auto CupsOptionsKey = QPrintEngine::PrintEnginePropertyKey(0xfe00);
} // namespace

TPrinter::TPrinter()
    : Owner(QThread::currentThread())
{
}

void TPrinter::onOwnThread() const
{
    Q_ASSERT_X(QThread::currentThread() == Owner, "TPrinter", "used on a thread that did not make it");
}

TPrinter::~TPrinter()
{
    if (Printing())
        Abort();
}

QPrinter *TPrinter::qprinter()
{
    onOwnThread();
    if (!Printer) {
        Printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        Printer->setFullPage(false);
    }
    return Printer.get();
}

int TPrinter::PageWidth() const
{
    if (Fixed)
        return FixedWidth;
    return const_cast<TPrinter *>(this)->qprinter()->pageRect(QPrinter::DevicePixel).toRect().width();
}

int TPrinter::PageHeight() const
{
    if (Fixed)
        return FixedHeight;
    return const_cast<TPrinter *>(this)->qprinter()->pageRect(QPrinter::DevicePixel).toRect().height();
}

int TPrinter::LogPixelsX() const
{
    if (Fixed)
        return FixedDpiX;
    return const_cast<TPrinter *>(this)->qprinter()->logicalDpiX();
}

int TPrinter::LogPixelsY() const
{
    if (Fixed)
        return FixedDpiY;
    return const_cast<TPrinter *>(this)->qprinter()->logicalDpiY();
}

void TPrinter::UseLeastMargins()
{
    QPageLayout layout = qprinter()->pageLayout();
    layout.setUnits(QPageLayout::Millimeter);
    qprinter()->setPageMargins(layout.minimumMargins(), QPageLayout::Millimeter);
}

void TPrinter::setFixedPage(int width, int height, int dpiX, int dpiY)
{
    Fixed = true;
    FixedWidth = width;
    FixedHeight = height;
    FixedDpiX = dpiX;
    FixedDpiY = dpiY;
}

void TPrinter::clearFixedPage() { Fixed = false; }

void TPrinter::setImageOutput(bool on, PageImages pages)
{
    ToImages = on;
    Images = pages ? std::move(pages) : std::make_shared<std::vector<QImage>>();
}

// ---------------------------------------------------------------------------
// The job

bool TPrinter::Printing() const { return JobPainter != nullptr; }

TDC &TPrinter::Canvas()
{
    Q_ASSERT(JobCanvas);
    return *JobCanvas;
}

bool TPrinter::PrintsToFile() const
{
    return const_cast<TPrinter *>(this)->qprinter()->outputFormat() == QPrinter::PdfFormat;
}

QString TPrinter::OutputFileName() const { return Printer ? Printer->outputFileName() : QString(); }

// A QPrinter has one resolution: the page gets the fixed width at dpiX and the
// fixed height at dpiY, both as inches of paper, with no margins.
void TPrinter::applyFixedPage()
{
    QPrinter *p = qprinter();
    if (FixedDpiX <= 0 || FixedDpiY <= 0)
        return;
    p->setResolution(FixedDpiX);
    p->setPageSize(QPageSize(QSizeF(double(FixedWidth) / FixedDpiX, double(FixedHeight) / FixedDpiY),
                             QPageSize::Inch, QString(), QPageSize::ExactMatch));
    p->setPageOrientation(QPageLayout::Portrait);
    p->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Inch);
}

void TPrinter::makeCanvas()
{
    // Nothing reaches the margins, as on a printer that cannot print there.
    JobPainter->setClipRect(QRect(0, 0, PageWidth(), PageHeight()));
    JobCanvas = std::make_unique<TDC>(JobPainter.get());
    TDeviceCaps caps;
    caps.LogPixelsX = LogPixelsX();
    caps.LogPixelsY = LogPixelsY();
    caps.Technology = DT_RASPRINTER;
    JobCanvas->setCaps(caps);
}

bool TPrinter::beginImagePage()
{
    const int w = PageWidth(), h = PageHeight();
    if (w <= 0 || h <= 0 || qint64(w) * h * 4 > MaxPageImageBytes)
        return false;
    CurrentImage = QImage(w, h, QImage::Format_RGB32);
    if (CurrentImage.isNull())
        return false;
    CurrentImage.fill(Qt::white);
    if (!JobPainter)
        JobPainter = std::make_unique<QPainter>();
    return JobPainter->begin(&CurrentImage);
}

void TPrinter::endImagePage()
{
    JobCanvas.reset();
    if (JobPainter && JobPainter->isActive())
        JobPainter->end();
    if (!CurrentImage.isNull())
        Images->push_back(CurrentImage);
    CurrentImage = QImage();
}

bool TPrinter::BeginDoc()
{
    onOwnThread();
    if (Printing())
        return false;
    if (ToImages) {
        ChoseFile = false;
        NewFile = false;
        if (!beginImagePage()) {
            JobPainter.reset();
            CurrentImage = QImage();
            return false;
        }
    } else {
        QPrinter *p = qprinter();
        PrepareJob();
        JobPainter = std::make_unique<QPainter>();
        if (!JobPainter->begin(p)) {
            JobPainter.reset();
            return false;
        }
    }
    Page = 1;
    makeCanvas();
    return true;
}

void TPrinter::PrepareJob()
{
    // An image device has no output to prepare.
    if (ToImages)
        return;
    ChoseFile = false;
    const bool fresh = NewFile;
    NewFile = false;
    QPrinter *p = qprinter();
    if (Fixed)
        applyFixedPage();
    p->setDocName(Title);
    const QString last = p->outputFileName();
    if (p->outputFormat() == QPrinter::PdfFormat && (last.isEmpty() || fresh)) {
        QString folder = last.isEmpty() ? QString() : QFileInfo(last).absolutePath();
        if (folder.isEmpty() || !QFileInfo(folder).isDir())
            folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (folder.isEmpty() || !QFileInfo(folder).isDir())
            folder = QDir::homePath();
        p->setOutputFileName(DefaultOutputFile(folder, Title));
        ChoseFile = true;
    }
}

bool TPrinter::NewPage()
{
    onOwnThread();
    if (!Printing())
        return false;
    if (ToImages) {
        endImagePage();
        if (!beginImagePage()) {
            finish();
            return false;
        }
    } else {
        JobCanvas.reset();
        if (!qprinter()->newPage()) {
            makeCanvas();
            return false;
        }
    }
    ++Page;
    makeCanvas();
    return true;
}

void TPrinter::EndDoc()
{
    if (!Printing())
        return;
    if (ToImages)
        endImagePage();
    finish();
}

void TPrinter::Abort()
{
    if (!Printing())
        return;
    if (!ToImages)
        qprinter()->abort();
    finish();
    CurrentImage = QImage();
}

void TPrinter::finish()
{
    JobCanvas.reset();
    if (JobPainter && JobPainter->isActive())
        JobPainter->end();
    JobPainter.reset();
    Page = 0;
}

QString DefaultOutputFile(const QString &folder, const QString &title)
{
    QString base;
    for (const QChar c : title.trimmed()) {
        const bool bad = c.unicode() < 32 || QStringLiteral("/\\:*?\"<>|").contains(c);
        base += bad ? QLatin1Char('_') : c;
    }
    if (base.isEmpty() || base.startsWith(QLatin1Char('.')))
        base.prepend(QLatin1String("print"));
    const QDir dir(folder);
    QString name = dir.filePath(base + QLatin1String(".pdf"));
    for (int n = 2; QFileInfo::exists(name) && n < 10000; ++n)
        name = dir.filePath(QStringLiteral("%1 (%2).pdf").arg(base).arg(n));
    return name;
}

QStringList CupsEngineOptions(QPrinter &printer)
{
    if (printer.outputFormat() != QPrinter::NativeFormat)
        return {};
    return printer.printEngine()->property(CupsOptionsKey).toStringList();
}

void SetCupsEngineOptions(QPrinter &printer, const QStringList &options)
{
    if (printer.outputFormat() == QPrinter::NativeFormat)
        printer.printEngine()->setProperty(CupsOptionsKey, options);
}
