#include "arrange/ArrangeView.h"
#include "common/PageSetup.h"
#include "common/TestRegistry.h"
#include "document/Arrangement.h"
#include "document/Options.h"
#include "output/PageExport.h"
#include "output/Exporters.h"
#include "output/PrintPreview.h"
#include "platform/DeviceContext.h"
#include "platform/Printer.h"
#include "platform/Settings.h"

#include <QDir>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

namespace {
constexpr int PrinterDpi = 600;
constexpr int PageInches = 3;
constexpr double MillimetresPerInch = 25.4;

bool reddish(QRgb c) { return qRed(c) >= 200 && qGreen(c) < 60 && qBlue(c) < 60; }

QRect redBox(const QImage &img)
{
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (reddish(img.pixel(x, y)))
                box |= QRect(x, y, 1, 1);
    return box;
}

// One red picture stretched over a frame of odd inches on page 1.
struct RedFrame {
    TArrangement Doc;
    ArrangementOptions Options;
    RedFrame(double left, double top, double width, double height)
    {
        DIB d;
        newdib(&d, 40, 30, 24, nullptr, 0);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x)
                setpixel(d, x, y, RGB(255, 0, 0));
        Placement *p = Doc.Placements.Append();
        *p = Placement{};
        p->PictureId = Doc.appendPicture(QStringLiteral("/p/red.bmp"), d);
        p->Left = left;
        p->Top = top;
        p->Width = width;
        p->Height = height;
        p->Page = 1;
        Options.Sverh = false; // the picture covers its frame exactly
    }
};

// The first page of a PDF at `dpi`, or a null image without pdftoppm.
QImage pdfPage(const QString &pdf, int dpi)
{
    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftoppm.isEmpty())
        return {};
    QProcess ppm;
    ppm.start(pdftoppm, {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png"),
                         QStringLiteral("-singlefile"), pdf, pdf + QStringLiteral(".page")});
    ppm.waitForFinished(120000);
    return QImage(pdf + QStringLiteral(".page.png")).convertToFormat(QImage::Format_RGB32);
}

enum class Surface { ArrangeView, Preview, Print, PrintToPdf, PdfExport, ImageExport };

// Page 1 printed as the print command prints it on the printer: where its
// set-up sends it, with the calibration given.
ExportResult printOn(TPrinter &printer, const TArrangement &doc, const ArrangementOptions &options,
                     const PrintCalibration &calibration = {})
{
    printer.PrepareJob();
    PrintSetup setup = PrinterPageSetup(printer);
    setup.Calibration = calibration;
    ExportRequest request;
    request.Pages = {1};
    request.FileName = setup.Destination.FileName;
    return PrintExporter(setup, QString())->run(doc, options, setup, request).Result;
}
} // namespace

Q_DECLARE_METATYPE(Surface)

class TstPrintCalibration : public QObject
{
    Q_OBJECT
    std::unique_ptr<TPrinter> Device;
private slots:
    void init()
    {
        Device = std::make_unique<TPrinter>();
        Device->setFixedPage(PageInches * PrinterDpi, PageInches * PrinterDpi, PrinterDpi, PrinterDpi);
    }

    // The printer misplaces what it is given (scale * q + offset); a job with
    // its calibration draws the frame where that error brings it back.
    void calibratedFrameLandsWhereMeant_data()
    {
        QTest::addColumn<double>("offsetX"); // mm
        QTest::addColumn<double>("offsetY");
        QTest::addColumn<double>("scale");
        QTest::newRow("no correction") << 0.0 << 0.0 << 1.0;
        QTest::newRow("2 mm right, 1.5 mm high, 0.5 % small") << 2.0 << -1.5 << 0.995;
        QTest::newRow("3 mm left, 4 mm low, 2 % large") << -3.0 << 4.0 << 1.02;
    }
    void calibratedFrameLandsWhereMeant()
    {
        QFETCH(double, offsetX);
        QFETCH(double, offsetY);
        QFETCH(double, scale);
        RedFrame sheet(1.0, 1.5, 1.0, 0.75);
        Device->setImageOutput(true);
        QCOMPARE(printOn(*Device, sheet.Doc, sheet.Options, {offsetX, offsetY, scale}), ExportResult::Done);
        QCOMPARE(int(Device->pageImages().size()), 1);
        const QRect drawn = redBox(Device->pageImages().front());
        const double pxPerMm = PrinterDpi / MillimetresPerInch;
        const auto printedX = [&](double x) { return scale * x + offsetX * pxPerMm; };
        const auto printedY = [&](double y) { return scale * y + offsetY * pxPerMm; };
        const QRectF printed(QPointF(printedX(drawn.left()), printedY(drawn.top())),
                             QPointF(printedX(drawn.right() + 1), printedY(drawn.bottom() + 1)));
        const QRectF meant(600, 900, 600, 450);
        QVERIFY2(std::abs(printed.left() - meant.left()) <= 1 && std::abs(printed.top() - meant.top()) <= 1
                     && std::abs(printed.right() - meant.right()) <= 1
                     && std::abs(printed.bottom() - meant.bottom()) <= 1,
                 qPrintable(QStringLiteral("drawn at %1,%2 %3x%4, printed at %5,%6 - %7,%8")
                                .arg(drawn.x()).arg(drawn.y()).arg(drawn.width()).arg(drawn.height())
                                .arg(printed.left()).arg(printed.top()).arg(printed.right()).arg(printed.bottom())));
    }

    // Each printer and paper keeps its own values; what no printer can need is held to the limits.
    void calibrationKeptPerPrinterAndPaper()
    {
        SavePrintCalibration(QStringLiteral("ipp/Office"), QStringLiteral("A4 portrait"), {2, -1.5, 0.995});
        SavePrintCalibration(QStringLiteral("Photo"), QStringLiteral("A4 portrait"), {50, -50, 3});
        const auto load = [](const char *printer, const char *paper) {
            const PrintCalibration c = LoadPrintCalibration(QString::fromLatin1(printer), QString::fromLatin1(paper));
            return QList<double>{c.OffsetX, c.OffsetY, c.Scale};
        };
        QCOMPARE(load("ipp/Office", "A4 portrait"), (QList<double>{2, -1.5, 0.995}));
        QCOMPARE(load("ipp/Office", "A4 landscape"), (QList<double>{0, 0, 1}));
        QCOMPARE(load("ipp_Office", "A5 portrait"), (QList<double>{0, 0, 1}));
        QCOMPARE(load("Photo", "A4 portrait"), (QList<double>{20, -20, 1.1}));
    }

    // One frame, every surface the page rendering rule draws on: its corner and
    // size within one device pixel of the frame's inches at that surface's resolution.
    void frameAgreesOnEverySurface_data()
    {
        QTest::addColumn<Surface>("surface");
        QTest::addColumn<int>("dpi"); // device pixels per inch of the surface
        QTest::newRow("arrange view, 96 dpi at 100 %") << Surface::ArrangeView << 96;
        QTest::newRow("print preview, 96 dpi") << Surface::Preview << 96;
        QTest::newRow("print on a printer, 600 dpi") << Surface::Print << PrinterDpi;
        QTest::newRow("print to a PDF printer, 600 dpi") << Surface::PrintToPdf << PrinterDpi;
        QTest::newRow("PDF export, 600 dpi") << Surface::PdfExport << PrinterDpi;
        QTest::newRow("image export, 150 dpi") << Surface::ImageExport << 150;
    }
    void frameAgreesOnEverySurface()
    {
        QFETCH(Surface, surface);
        QFETCH(int, dpi);
        const double left = 0.73, top = 1.31, width = 1.17, height = 0.83; // inches
        RedFrame sheet(left, top, width, height);
        const int side = PageInches * PrinterDpi;
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
        QImage page;
        switch (surface) {
        case Surface::ArrangeView: {
            ArrangeViewState state;
            state.Zoom = 100;
            state.ScreenDpi = dpi;
            state.PageWidth = state.PageHeight = side;
            state.PrinterDpi = PrinterDpi;
            state.Options = sheet.Options;
            sheet.Doc.SelectedPlacement = -1;
            page = QImage(PageInches * dpi, PageInches * dpi, QImage::Format_RGB32);
            TDC dc(&page);
            PaintArrangeView(dc, sheet.Doc, state, page.rect());
            break;
        }
        case Surface::Preview: {
            page = QImage(PreviewSize(side, side, dpi, dpi, PrinterDpi, PrinterDpi), QImage::Format_RGB32);
            TDC dc(&page);
            PaintPreview(dc, sheet.Doc, page.size(), 1, dpi, dpi, sheet.Options,
                         BarePageSetup(side, side, PrinterDpi, PrinterDpi));
            break;
        }
        case Surface::Print:
            Device->setImageOutput(true);
            QCOMPARE(printOn(*Device, sheet.Doc, sheet.Options), ExportResult::Done);
            page = Device->pageImages().front();
            break;
        case Surface::PrintToPdf:
            Device->qprinter()->setOutputFormat(QPrinter::PdfFormat);
            Device->qprinter()->setOutputFileName(pdf);
            QCOMPARE(printOn(*Device, sheet.Doc, sheet.Options), ExportResult::Done);
            page = pdfPage(pdf, dpi);
            break;
        case Surface::PdfExport:
        case Surface::ImageExport: {
            ExportRequest request;
            request.Pages = {1};
            request.FileName = surface == Surface::PdfExport ? pdf : dir.filePath(QStringLiteral("page.png"));
            request.Format = surface == Surface::PdfExport ? ExportFormat::Pdf : ExportFormat::Png;
            request.Dpi = dpi;
            const PrintSetup setup = BarePageSetup(side, side, 600, 600);
            QCOMPARE(FileExporter(request.Format)->run(sheet.Doc, sheet.Options, setup, request).Result,
                     ExportResult::Done);
            page = surface == Surface::PdfExport ? pdfPage(pdf, dpi) : QImage(request.FileName);
            break;
        }
        }
        if (page.isNull() && (surface == Surface::PrintToPdf || surface == Surface::PdfExport))
            QSKIP("poppler-utils are not installed");
        const QRect box = redBox(page);
        const auto near = [dpi](int pixel, double inches) { return std::abs(pixel - inches * dpi) <= 1; };
        QVERIFY2(near(box.left(), left) && near(box.top(), top) && near(box.width(), width)
                     && near(box.height(), height),
                 qPrintable(QStringLiteral("frame at %1,%2 %3x%4 device pixels")
                                .arg(box.x()).arg(box.y()).arg(box.width()).arg(box.height())));
    }
};

SGA_TEST(TstPrintCalibration)
#include "tst_printcalibration.moc"
