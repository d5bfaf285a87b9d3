#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "platform/DeviceContext.h"
#include "platform/Printer.h"
#include "platform/PrinterSetupDialog.h"

#include <QComboBox>
#include <QFile>
#include <QPainter>
#include <QPageLayout>
#include <QPrinter>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The first page's size from its media box, in points.
QSizeF pdfMediaBox(const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("/MediaBox\\s*\\[([^\\]]*)\\]")).match(QString::fromLatin1(f.readAll()));
    const QStringList box = m.captured(1).simplified().split(QLatin1Char(' '));
    if (box.size() != 4)
        return {};
    return QSizeF(box[2].toDouble() - box[0].toDouble(), box[3].toDouble() - box[1].toDouble());
}

// Points the printer at a PDF file in `dir` for one test.
class PdfOutput
{
public:
    PdfOutput(TPrinter &printer, const QString &file)
        : Printer(printer)
    {
        QPrinter *p = Printer.qprinter();
        p->setOutputFormat(QPrinter::PdfFormat);
        p->setOutputFileName(file);
    }
    ~PdfOutput() { Printer.qprinter()->setOutputFileName(QString()); }

private:
    TPrinter &Printer;
};

} // namespace

class TstPrinter : public QObject
{
    Q_OBJECT
    TPrinter Device;
private slots:
    void cleanup()
    {
        Device.Abort();
        Device.setImageOutput(false);
        Device.clearFixedPage();
    }
    void pdfJobHasOnePagePerNewPage_data();
    void pdfJobHasOnePagePerNewPage();
    void imagePagesHaveThePrintableSize();
    void canvasReportsThePrinterResolution_data();
    void canvasReportsThePrinterResolution();
    void jobCallsOutOfOrderAreRefused();
    void unwritableOutputOpensNoJob();
    void defaultOutputFile_data();
    void defaultOutputFile();
    void defaultOutputFileNeverReplacesAFile();
    void pdfPagesStopAtThePrintableArea();
    void printerSetupChoosesPrinterPaperAndOrientation();
};

void TstPrinter::pdfJobHasOnePagePerNewPage_data()
{
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("dpiY");
    QTest::addColumn<QSizeF>("mediaBox");
    QTest::newRow("one page 8x11 inch") << 1 << 600 << QSizeF(576, 792);
    QTest::newRow("three pages 8x11 inch") << 3 << 600 << QSizeF(576, 792);
    // The page height is paper inches at the vertical resolution: 6600 rows at 300 dpi.
    QTest::newRow("two pages, vertical 300 dpi") << 2 << 300 << QSizeF(576, 1584);
}

void TstPrinter::pdfJobHasOnePagePerNewPage()
{
    QFETCH(int, pages);
    QFETCH(int, dpiY);
    QFETCH(QSizeF, mediaBox);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("job.pdf"));
    PdfOutput out(Device, file);
    Device.setFixedPage(4800, 6600, 600, dpiY);
    Device.Title = QStringLiteral("Job");
    QVERIFY(Device.BeginDoc());
    QVERIFY(Device.Printing());
    QVERIFY(!Device.ChoseOutputFile());
    for (int i = 1; i <= pages; ++i) {
        if (i > 1)
            QVERIFY(Device.NewPage());
        QCOMPARE(Device.PageNumber(), i);
        TDC &dc = Device.Canvas();
        dc.SetBrush(RGB(0, 0, 0));
        dc.Rectangle(600 * i, 600, 600 * i + 300, 900);
    }
    Device.EndDoc();
    QVERIFY(!Device.Printing());
    QCOMPARE(Device.PageNumber(), 0);
    QCOMPARE(PdfPageCount(file), pages);
    QCOMPARE(pdfMediaBox(file), mediaBox);
}

void TstPrinter::imagePagesHaveThePrintableSize()
{
    Device.setFixedPage(1200, 1800, 600, 600);
    Device.setImageOutput(true);
    QVERIFY(Device.BeginDoc());
    Device.Canvas().FillRect(RECT{600, 600, 601, 601}, RGB(255, 0, 0));
    QVERIFY(Device.NewPage());
    Device.EndDoc();
    const std::vector<QImage> &pages = Device.pageImages();
    QCOMPARE(int(pages.size()), 2);
    QCOMPARE(pages[0].size(), QSize(1200, 1800));
    QCOMPARE(pages[0].pixel(600, 600), qRgb(255, 0, 0));
    QCOMPARE(pages[0].pixel(599, 600), qRgb(255, 255, 255));
    // A page left alone is a white sheet.
    QCOMPARE(pages[1].pixel(600, 600), qRgb(255, 255, 255));
}

void TstPrinter::canvasReportsThePrinterResolution_data()
{
    QTest::addColumn<bool>("images");
    QTest::addRow("image pages") << true;
    QTest::addRow("pdf") << false;
}

void TstPrinter::canvasReportsThePrinterResolution()
{
    QFETCH(bool, images);
    QTemporaryDir dir;
    PdfOutput out(Device, dir.filePath(QStringLiteral("caps.pdf")));
    Device.setFixedPage(1200, 600, 600, 300);
    Device.setImageOutput(images);
    QVERIFY(Device.BeginDoc());
    for (int page = 0; page < 2; ++page) {
        if (page)
            QVERIFY(Device.NewPage());
        QCOMPARE(Device.Canvas().GetDeviceCaps(LOGPIXELSX), 600);
        QCOMPARE(Device.Canvas().GetDeviceCaps(LOGPIXELSY), 300);
        QCOMPARE(Device.Canvas().GetDeviceCaps(TECHNOLOGY), DT_RASPRINTER);
    }
    Device.EndDoc();
}

void TstPrinter::jobCallsOutOfOrderAreRefused()
{
    Device.setFixedPage(100, 100, 100, 100);
    Device.setImageOutput(true);
    QVERIFY(!Device.NewPage());
    Device.EndDoc(); // nothing open: nothing happens
    QCOMPARE(int(Device.pageImages().size()), 0);
    QVERIFY(Device.BeginDoc());
    QVERIFY(!Device.BeginDoc());
    Device.Abort();
    QVERIFY(!Device.Printing());
    QCOMPARE(int(Device.pageImages().size()), 0);
    // A page no image can hold opens no job.
    Device.setFixedPage(100000, 100000, 600, 600);
    QVERIFY(!Device.BeginDoc());
    QVERIFY(!Device.Printing());
}

void TstPrinter::unwritableOutputOpensNoJob()
{
    QTemporaryDir dir;
    PdfOutput out(Device, dir.filePath(QStringLiteral("missing/folder/job.pdf")));
    Device.setFixedPage(4800, 6600, 600, 600);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral(".*")));
    QVERIFY(!Device.BeginDoc());
    QVERIFY(!Device.Printing());
}

void TstPrinter::defaultOutputFile_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("name");
    QTest::newRow("plain title") << QStringLiteral("Snapgrid-Edge document") << QStringLiteral("Snapgrid-Edge document.pdf");
    QTest::newRow("separators replaced") << QStringLiteral("a/b\\c:d") << QStringLiteral("a_b_c_d.pdf");
    QTest::newRow("empty title") << QString() << QStringLiteral("print.pdf");
    QTest::newRow("hidden file avoided") << QStringLiteral("..") << QStringLiteral("print...pdf");
}

void TstPrinter::defaultOutputFile()
{
    QFETCH(QString, title);
    QFETCH(QString, name);
    QTemporaryDir dir;
    QCOMPARE(DefaultOutputFile(dir.path(), title), dir.filePath(name));
}

void TstPrinter::defaultOutputFileNeverReplacesAFile()
{
    QTemporaryDir dir;
    for (const char *existing : {"Doc.pdf", "Doc (2).pdf"}) {
        QFile f(dir.filePath(QString::fromLatin1(existing)));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QCOMPARE(DefaultOutputFile(dir.path(), QStringLiteral("Doc")), dir.filePath(QStringLiteral("Doc (3).pdf")));
}

// Drawing past every edge of the printable area, on two pages: the PDF shows
// it only inside the area, the margins stay white.
void TstPrinter::pdfPagesStopAtThePrintableArea()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("margins.pdf"));
    PdfOutput out(Device, file);
    QPrinter *p = Device.qprinter();
    const QPageLayout before = p->pageLayout();
    p->setPageLayout(QPageLayout(QPageSize(QSizeF(4, 3), QPageSize::Inch, QString(), QPageSize::ExactMatch),
                                 QPageLayout::Portrait, QMarginsF(1, 0.5, 1, 0.5), QPageLayout::Inch));
    QVERIFY(Device.BeginDoc());
    for (int page = 1; page <= 2; ++page) {
        if (page > 1)
            QVERIFY(Device.NewPage());
        Device.Canvas().FillRect(RECT{-500, -500, Device.PageWidth() + 500, Device.PageHeight() + 500},
                                    RGB(255, 0, 0));
    }
    Device.EndDoc();
    p->setPageLayout(before);

    // 20 pixels per inch: the printable area is x 20..59, y 10..49.
    QProcess render;
    render.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("20"), QStringLiteral("-png"), file,
                                              dir.filePath(QStringLiteral("page"))});
    QVERIFY2(render.waitForFinished(60000) && render.exitCode() == 0, "pdftoppm (poppler-utils) is needed");
    for (int page = 1; page <= 2; ++page) {
        const QImage img(dir.filePath(QStringLiteral("page-%1.png").arg(page)));
        QCOMPARE(img.size(), QSize(80, 60));
        QCOMPARE(img.pixel(40, 30), qRgb(255, 0, 0));
        for (const QPoint margin : {QPoint(10, 30), QPoint(70, 30), QPoint(40, 4), QPoint(40, 55)})
            QCOMPARE(img.pixel(margin), qRgb(255, 255, 255));
    }
}

// The setup shows the printer's choices (the PDF file last, always there) and
// changes the printer on OK only.
void TstPrinter::printerSetupChoosesPrinterPaperAndOrientation()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    TPrinterSetupDialog dialog(&printer);
    QCOMPARE(dialog.PrinterCombo->currentIndex(), dialog.PrinterCombo->count() - 1);
    QCOMPARE(dialog.chosenPrinter(), QString());
    QVERIFY(dialog.chosenPaper().isEquivalentTo(QPageSize(QPageSize::A4)));
    QVERIFY(dialog.PortraitRadio->isChecked());

    QVERIFY(dialog.choosePaper(QPageSize(QPageSize::A5)));
    dialog.LandscapeRadio->setChecked(true);
    QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Portrait);
    dialog.Apply();
    QCOMPARE(printer.outputFormat(), QPrinter::PdfFormat);
    QVERIFY(printer.pageLayout().pageSize().isEquivalentTo(QPageSize(QPageSize::A5)));
    QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Landscape);

    TPrinterSetupDialog again(&printer);
    QVERIFY(again.chosenPaper().isEquivalentTo(QPageSize(QPageSize::A5)));
    QVERIFY(again.LandscapeRadio->isChecked());
}

SGA_TEST(TstPrinter)
#include "tst_printer.moc"
