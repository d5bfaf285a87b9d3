#include "common/WindowParts.h"
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "output/Exporters.h"
#include "output/PrintJob.h"
#include "platform/ColorBox.h"
#include "platform/DeviceContext.h"
#include "platform/ImageButton.h"
#include "platform/PaintBox.h"
#include "platform/Printer.h"

#include <QCheckBox>
#include <QFile>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPrinter>
#include <QScrollArea>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {
constexpr QRgb White = 0xFFFFFFFF;
constexpr QRgb Green = 0xFF00FF00;

// Printers may smooth or convert colours slightly; a picture's red stays near red.
bool reddish(QRgb c) { return qRed(c) >= 240 && qGreen(c) < 16 && qBlue(c) < 16; }

DIB solidPicture(int width, int height, COLORREF colour)
{
    DIB d;
    newdib(&d, width, height, 24, nullptr, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            setpixel(d, x, y, colour);
    return d;
}

void place(TMainForm &form, int pictureId, double left, double top, double size, int page)
{
    Placement *p = form.Doc->recordsForSetUp().Placements.Append();
    p->PictureId = pictureId;
    p->Left = left;
    p->Top = top;
    p->Width = size;
    p->Height = size;
    p->Page = page;
}

bool blank(const QImage &page)
{
    for (int y = 0; y < page.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(page.constScanLine(y));
        for (int x = 0; x < page.width(); ++x)
            if (row[x] != White)
                return false;
    }
    return true;
}

// A window whose printer draws pages of 1800 x 1800 printer pixels onto images.
std::unique_ptr<TMainForm> makeForm(int dpiY = 600)
{
    auto form = std::make_unique<TMainForm>();
    form->ScreenDpiOverride = 96;
    form->printer().setFixedPage(1800, 1800, 600, dpiY);
    form->printer().setImageOutput(true);
    return form;
}

// Prints pages 1..pageCount on the printer through Qt's engine.
bool printPages(TPrinter &printer, const TArrangement &doc, int pageCount)
{
    ExportRequest request;
    request.Pages = PageSpan(1, pageCount);
    const PrintSetup setup = PrinterPageSetup(printer);
    return PrinterExporter(&printer)->run(doc, ArrangementOptions{}, setup, request).Result == ExportResult::Done;
}

// Paints of the preview from now on.
std::shared_ptr<int> countPreviewPaints(TMainForm &form)
{
    auto count = std::make_shared<int>(0);
    auto *box = static_cast<TPaintBox *>(form.printPage().preview().widget());
    box->onPaint = [count, paint = box->onPaint](QPaintEvent *e) {
        ++*count;
        paint(e);
    };
    return count;
}

// A mouse event to an image button, as the user gives it.
void mouse(TImageButton *button, QEvent::Type type, QPoint at)
{
    QMouseEvent e(type, at, button->mapToGlobal(at), Qt::LeftButton,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(button, &e);
}
} // namespace

class TstPrintJob : public QObject
{
    Q_OBJECT
private slots:

    void pagesFromOneToTheCount_data();
    void pagesFromOneToTheCount();
    void horizontalResolutionScalesBothAxes_data();
    void horizontalResolutionScalesBothAxes();
    void captionHeightAtPrinterResolution();
    void printsToPdfWithTitle();
    void cancelledDialogPrintsNothing();
    void qualityPassRunsBeforeTheDialog();
    void unopenableOutputIsReported();
    void setupRepaintsPreviewWhateverChosen_data();
    void setupRepaintsPreviewWhateverChosen();
    void imageButtonClicksOnlyWhenReleasedOnIt_data();
    void imageButtonClicksOnlyWhenReleasedOnIt();
    void chosenPages_data();
    void chosenPages();
    void onlyTheChosenPagesArePrinted_data();
    void onlyTheChosenPagesArePrinted();
};

void TstPrintJob::pagesFromOneToTheCount_data()
{
    QTest::addColumn<int>("pageCount");
    QTest::addColumn<QList<int>>("placementPages");
    QTest::addColumn<QList<bool>>("pagesWithPictures");
    QTest::newRow("3 pages, pictures only on page 2") << 3 << QList<int>{2, 2} << QList<bool>{false, true, false};
    QTest::newRow("placements beyond the count not printed") << 2 << QList<int>{1, 3, 7} << QList<bool>{true, false};
    QTest::newRow("empty arrangement, one empty sheet") << 1 << QList<int>{} << QList<bool>{false};
}

void TstPrintJob::pagesFromOneToTheCount()
{
    QFETCH(int, pageCount);
    QFETCH(QList<int>, placementPages);
    QFETCH(QList<bool>, pagesWithPictures);
    TArrangement doc;
    const int id = doc.appendPicture(QStringLiteral("/p/red.bmp"), solidPicture(8, 8, RGB(255, 0, 0)));
    for (int page : placementPages) {
        Placement *p = doc.Placements.Append();
        p->PictureId = id;
        p->Left = p->Top = 0.5;
        p->Width = p->Height = 1;
        p->Page = page;
    }
    TPrinter printer;
    printer.setFixedPage(1800, 1800, 600, 600);
    printer.setImageOutput(true);
    QVERIFY(printPages(printer, doc, pageCount));
    const std::vector<QImage> &pages = printer.pageImages();
    QCOMPARE(int(pages.size()), pageCount);
    for (int i = 0; i < pageCount; ++i)
        QCOMPARE(!blank(pages[std::size_t(i)]), pagesWithPictures[i]);
}

void TstPrintJob::horizontalResolutionScalesBothAxes_data()
{
    QTest::addColumn<int>("dpiY");
    QTest::newRow("600 x 600 dpi") << 600;
    QTest::newRow("600 x 300 dpi") << 300;
}

void TstPrintJob::horizontalResolutionScalesBothAxes()
{
    QFETCH(int, dpiY);
    auto form = makeForm(dpiY);
    const int id = form->Doc->recordsForSetUp().appendPicture(QStringLiteral("/p/red.bmp"), solidPicture(10, 10, RGB(255, 0, 0)));
    place(*form, id, 1.0, 1.0, 0.5, 1);
    DialogRecorder rec;
    rec.handler.print = [](QPrinter *) { return true; };
    rec.install();
    form->GoBtn1Click();
    QCOMPARE(int(form->printer().pageImages().size()), 1);
    const QImage &page = form->printer().pageImages().front();
    QVERIFY(reddish(page.pixel(600, 600)));
    QVERIFY(reddish(page.pixel(899, 899)));
    QCOMPARE(page.pixel(599, 600), White);
    QCOMPARE(page.pixel(600, 599), White);
    QCOMPARE(page.pixel(900, 899), White);
    QCOMPARE(page.pixel(899, 900), White);
}

// 11 points at 600 dpi: a character height of trunc(11 * 600 / 72) = 91 printer pixels.
void TstPrintJob::captionHeightAtPrinterResolution()
{
    auto form = makeForm();
    const int id = form->Doc->recordsForSetUp().appendPicture(QStringLiteral("/p/red.bmp"), solidPicture(10, 10, RGB(255, 0, 0)));
    form->Doc->recordsForSetUp().Pictures.back().Comment = QStringLiteral("Caption");
    form->arrangePage().options().BackgroundBox->setSelected(std::int32_t(RGB(0, 255, 0)));
    place(*form, id, 1.0, 1.0, 1.0, 1);
    DialogRecorder rec;
    rec.handler.print = [](QPrinter *) { return true; };
    rec.install();
    form->GoBtn1Click();
    QCOMPARE(int(form->printer().pageImages().size()), 1);
    const QImage &page = form->printer().pageImages().front();
    // The text cells' background rises from the picture's bottom edge by the text height.
    auto greenRow = [&page](int y) {
        for (int x = 600; x < 1200; ++x)
            if (page.pixel(x, y) == Green)
                return true;
        return false;
    };
    int band = 0;
    for (int y = 1199; y >= 600 && greenRow(y); --y)
        ++band;
    QFont font = QFontFromCaption(form->Doc->options().Font);
    font.setPixelSize(91);
    QCOMPARE(band, QFontMetrics(font).height());
}

void TstPrintJob::printsToPdfWithTitle()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("arrangement.pdf"));
    auto form = makeForm();
    form->printer().setImageOutput(false);
    form->printer().setFixedPage(4800, 6600, 600, 600);
    const int id = form->Doc->recordsForSetUp().appendPicture(QStringLiteral("/p/red.bmp"), solidPicture(10, 10, RGB(255, 0, 0)));
    place(*form, id, 1.0, 1.0, 2.0, 2);
    form->arrangePage().setPageCount(3);
    DialogRecorder rec;
    rec.handler.print = [&file](QPrinter *p) {
        p->setOutputFormat(QPrinter::PdfFormat);
        p->setOutputFileName(file);
        return true;
    };
    rec.install();
    form->GoBtn1Click();
    QVERIFY(rec.messages.empty());
    QCOMPARE(PdfPageCount(file), 3);
    QCOMPARE(form->printer().qprinter()->docName(), QStringLiteral("Snapgrid-Edge document"));
    QVERIFY(form->statusText().contains(file));
}

void TstPrintJob::cancelledDialogPrintsNothing()
{
    auto form = makeForm();
    const int id = form->Doc->recordsForSetUp().appendPicture(QStringLiteral("/p/red.bmp"), solidPicture(10, 10, RGB(255, 0, 0)));
    place(*form, id, 1.0, 1.0, 0.5, 1);
    form->showTab(TMainForm::Tab::Print);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QTRY_VERIFY(form->printPage().syncPreviewSize());
    QTest::qWait(50);
    const auto paints = countPreviewPaints(*form);
    DialogRecorder rec;
    int dialogs = 0;
    rec.handler.print = [&dialogs](QPrinter *) {
        ++dialogs;
        return false;
    };
    rec.install();
    form->GoBtn1Click();
    QTest::qWait(50);
    QCOMPARE(dialogs, 1);
    QCOMPARE(*paints, 0);
    QVERIFY(form->printer().pageImages().empty());
    QVERIFY(rec.messages.empty());
    // Confirmed, the preview is repainted for the printer chosen.
    rec.handler.print = [](QPrinter *) { return true; };
    rec.install();
    form->GoBtn1Click();
    QVERIFY(*paints > 0);
    QCOMPARE(int(form->printer().pageImages().size()), 1);
}

void TstPrintJob::qualityPassRunsBeforeTheDialog()
{
    auto form = makeForm();
    form->arrangePage().options().EnhanceQualCheck->setChecked(true);
    form->arrangePage().options().MinQualEd->setValue(100);
    const int id = form->Doc->recordsForSetUp().appendPicture(QStringLiteral("/p/red.bmp"), solidPicture(10, 10, RGB(255, 0, 0)));
    place(*form, id, 1.0, 1.0, 2.0, 1); // 2 inches at 100 dpi need 200 pixels
    DialogRecorder rec;
    int widthAtDialog = 0;
    rec.handler.print = [&](QPrinter *) {
        widthAtDialog = DibWidth(form->Doc->records().Pictures.front().Dib);
        return false;
    };
    rec.install();
    form->GoBtn1Click();
    QVERIFY2(widthAtDialog >= 200, qPrintable(QString::number(widthAtDialog)));
    QCOMPARE(DibWidth(form->Doc->records().Pictures.front().Dib), widthAtDialog);
}

void TstPrintJob::unopenableOutputIsReported()
{
    QTemporaryDir dir;
    auto form = makeForm();
    form->printer().setImageOutput(false);
    DialogRecorder rec;
    rec.handler.print = [&dir](QPrinter *p) {
        p->setOutputFormat(QPrinter::PdfFormat);
        p->setOutputFileName(dir.filePath(QStringLiteral("no/such/folder/out.pdf")));
        return true;
    };
    rec.install();
    form->GoBtn1Click();
    QCOMPARE(int(rec.messages.size()), 1);
    QCOMPARE(rec.messages.front().caption, QStringLiteral("Error"));
    QVERIFY(!form->printer().Printing());
}

void TstPrintJob::setupRepaintsPreviewWhateverChosen_data()
{
    QTest::addColumn<bool>("accepted");
    QTest::newRow("new paper accepted") << true;
    QTest::newRow("dialog cancelled") << false;
}

void TstPrintJob::setupRepaintsPreviewWhateverChosen()
{
    QFETCH(bool, accepted);
    auto form = makeForm();
    form->printer().setFixedPage(4800, 6600, 600, 600);
    form->showTab(TMainForm::Tab::Print);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QTRY_COMPARE(form->printPage().preview().widget()->size(), QSize(768, 1056));
    const auto paints = countPreviewPaints(*form);
    DialogRecorder rec;
    rec.handler.pageSetup = [accepted, &form](QPrinter *) {
        if (accepted)
            form->printer().setFixedPage(6600, 4800, 600, 600); // landscape
        return accepted;
    };
    rec.install();
    form->SetupBtnClick();
    QVERIFY(*paints > 0);
    QTRY_COMPARE(form->printPage().preview().widget()->size(), accepted ? QSize(1056, 768) : QSize(768, 1056));
}

void TstPrintJob::imageButtonClicksOnlyWhenReleasedOnIt_data()
{
    QTest::addColumn<bool>("setup");
    QTest::addColumn<QPoint>("releaseAt");
    QTest::addColumn<bool>("clicked");
    QTest::newRow("print, released on it") << false << QPoint(2, 2) << true;
    QTest::newRow("print, released beside it") << false << QPoint(-1, 2) << false;
    QTest::newRow("setup, released on it") << true << QPoint(2, 2) << true;
    QTest::newRow("setup, released below it") << true << QPoint(2, 5000) << false;
}

void TstPrintJob::imageButtonClicksOnlyWhenReleasedOnIt()
{
    QFETCH(bool, setup);
    QFETCH(QPoint, releaseAt);
    QFETCH(bool, clicked);
    auto form = makeForm();
    auto *button = form->printPage().findChild<TImageButton *>(setup ? QStringLiteral("SetupButton")
                                                                     : QStringLiteral("PrintButton"));
    TImageButton *down = button->PressedLook;
    DialogRecorder rec;
    int dialogs = 0;
    rec.handler.print = rec.handler.pageSetup = [&dialogs](QPrinter *) {
        ++dialogs;
        return false;
    };
    rec.install();
    mouse(button, QEvent::MouseButtonPress, QPoint(2, 2));
    QVERIFY(!down->isHidden());
    mouse(button, QEvent::MouseMove, releaseAt);
    QCOMPARE(down->isHidden(), !clicked);
    mouse(button, QEvent::MouseButtonRelease, releaseAt);
    QVERIFY(down->isHidden());
    QCOMPARE(dialogs, clicked ? 1 : 0);
    QVERIFY(!button->Pressed);
}

void TstPrintJob::chosenPages_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("ranges"); // the printing system's own selection
    QTest::addColumn<QList<int>>("pages");
    QTest::newRow("all pages") << 0 << 0 << QString() << QList<int>{1, 2, 3, 4};
    QTest::newRow("pages from 2 to 3") << 2 << 3 << QString() << QList<int>{2, 3};
    QTest::newRow("a range past the last page") << 3 << 9 << QString() << QList<int>{3, 4};
    QTest::newRow("the printing system's pages") << 0 << 0 << "4,1-2" << QList<int>{1, 2, 4};
    QTest::newRow("the printing system's pages, none there") << 0 << 0 << "7-9" << QList<int>{};
}

void TstPrintJob::chosenPages()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QString, ranges);
    QFETCH(QList<int>, pages);
    const std::vector<int> chosen = ChosenPages(from, to, ranges, 4);
    QCOMPARE(QList<int>(chosen.begin(), chosen.end()), pages);
}

void TstPrintJob::onlyTheChosenPagesArePrinted_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("page"); // from and to of the dialog's range
    QTest::newRow("Qt's engine") << "engine" << 2;
    QTest::newRow("print to file") << "file" << 2;
    QTest::newRow("print queue") << "queue" << 2;
    QTest::newRow("a page past the last one: nothing") << "engine" << 5;
}

// "Pages from 2 to 2" of three pages, each with a frame in a colour of its
// own: one sheet, page 2's, on every path a job takes.
void TstPrintJob::onlyTheChosenPagesArePrinted()
{
    QFETCH(QString, path);
    QFETCH(int, page);
    auto form = makeForm();
    const COLORREF colours[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
    for (int n = 1; n <= 3; ++n) {
        const int id = form->Doc->recordsForSetUp().appendPicture(QStringLiteral("/p/%1.bmp").arg(n),
                                                          solidPicture(10, 10, colours[n - 1]));
        place(*form, id, 1.0, 1.0, 0.5, n);
    }
    form->Doc->setPageCount(3);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("chosen.pdf"));
    std::vector<QImage> pages;
    if (path == QLatin1String("queue")) {
        // No queue can be chosen here: the exporter a job to a queue takes,
        // with a queue command that keeps the file it is handed.
        const QString lp = dir.filePath(QStringLiteral("lp"));
        QFile script(lp);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(QStringLiteral("#!/bin/sh\nfor last; do :; done\ncp \"$last\" '%1'\n").arg(pdf).toUtf8());
        script.close();
        QVERIFY(script.setPermissions(script.permissions() | QFileDevice::ExeOwner));
        PrintSetup setup = PrinterPageSetup(form->printer());
        setup.Destination.PageImages.reset();
        setup.Destination.ToFile = false;
        setup.Destination.PrinterName = QStringLiteral("Photo");
        ExportRequest request;
        request.Pages = ChosenPages(page, page, QString(), form->Doc->pageCount());
        const ExportOutcome sent = PrintExporter(setup, lp)->run(form->Doc->records(), form->Doc->options(), setup,
                                                                 request);
        QVERIFY2(sent.Result == ExportResult::Done, qPrintable(sent.FailedFile + QLatin1Char(' ') + sent.Reason));
        pages = PdfPageImages(pdf, 600);
    } else {
        const bool toFile = path == QLatin1String("file");
        form->printer().setImageOutput(!toFile);
        DialogRecorder rec;
        rec.handler.print = [&](QPrinter *p) {
            if (toFile) {
                p->setOutputFormat(QPrinter::PdfFormat);
                p->setOutputFileName(pdf);
            }
            p->setPrintRange(QPrinter::PageRange);
            p->setFromTo(page, page);
            return true;
        };
        rec.install();
        form->GoBtn1Click();
        QVERIFY(rec.messages.empty());
        pages = toFile ? PdfPageImages(pdf, 600) : form->printer().pageImages();
    }
    if (page > form->Doc->pageCount()) {
        QVERIFY(pages.empty());
        return;
    }
    QCOMPARE(int(pages.size()), 1);
    const QRgb frame = pages.front().pixel(750, 750); // inside the half-inch frame at one inch
    QVERIFY2(qGreen(frame) > 200 && qRed(frame) < 60 && qBlue(frame) < 60,
             qPrintable(QString::number(frame, 16)));
}

SGA_TEST(TstPrintJob)
#include "tst_printjob.moc"
