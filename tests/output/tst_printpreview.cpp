#include "common/WindowParts.h"
#include "common/PageSetup.h"
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "output/PrintPreview.h"
#include "platform/DeviceContext.h"
#include "platform/PaintBox.h"
#include "platform/Printer.h"

#include <QCheckBox>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {
constexpr QRgb Grey = 0xFF808080;
constexpr QRgb White = 0xFFFFFFFF;
constexpr QRgb Red = 0xFFFF0000;
constexpr QRgb Blue = 0xFF0000FF;

DIB solidPicture(COLORREF colour)
{
    DIB d;
    newdib(&d, 8, 8, 24, nullptr, 0);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            setpixel(d, x, y, colour);
    return d;
}

std::unique_ptr<TMainForm> makeForm()
{
    auto form = std::make_unique<TMainForm>();
    form->ScreenDpiOverride = 96;
    form->printer().setFixedPage(4800, 6600, 600, 600);
    return form;
}

void pressAt(TMainForm &form, void (PrintPage::*handler)(QMouseEvent *), QEvent::Type type, QPoint at)
{
    QMouseEvent e(type, at, form.printPage().preview().widget()->mapToGlobal(at), Qt::LeftButton,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    (form.printPage().*handler)(&e);
}
} // namespace

class TstPrintPreview : public QObject
{
    Q_OBJECT
private slots:

    void previewSize_data();
    void previewSize();
    void shownTabSizesThePreview();
    void currentPageOnWhitePaper_data();
    void currentPageOnWhitePaper();
    void pageBeyondTheCountShowsTheLast();
    void panScrollPosition_data();
    void panScrollPosition();
    void draggingKeepsTheGrabbedPointUnderThePointer();
    void pageImage_data();
    void pageImage();
    void saveAsImage_data();
    void saveAsImage();
};

void TstPrintPreview::previewSize_data()
{
    QTest::addColumn<QSize>("page");
    QTest::addColumn<QSize>("screenDpi");
    QTest::addColumn<QSize>("printerDpi");
    QTest::addColumn<QSize>("expected");
    QTest::newRow("4800x6600 at 600 dpi on a 96 dpi screen")
        << QSize(4800, 6600) << QSize(96, 96) << QSize(600, 600) << QSize(768, 1056);
    QTest::newRow("each axis by its own resolutions")
        << QSize(4800, 3300) << QSize(96, 120) << QSize(600, 300) << QSize(768, 1320);
    QTest::newRow("integer quotient truncates") << QSize(4799, 6599) << QSize(96, 96) << QSize(600, 600)
                                                << QSize(767, 1055);
    QTest::newRow("no printer resolution") << QSize(4800, 6600) << QSize(96, 96) << QSize(0, 600) << QSize(0, 1056);
    QTest::newRow("products beyond 32 bits") << QSize(2000000000, 10) << QSize(600, 96) << QSize(1, 96)
                                             << QSize(QWIDGETSIZE_MAX, 10);
}

void TstPrintPreview::previewSize()
{
    QFETCH(QSize, page);
    QFETCH(QSize, screenDpi);
    QFETCH(QSize, printerDpi);
    QFETCH(QSize, expected);
    QCOMPARE(PreviewSize(page.width(), page.height(), screenDpi.width(), screenDpi.height(), printerDpi.width(),
                         printerDpi.height()),
             expected);
}

// A preview of no size would never get a paint event to size itself in.
void TstPrintPreview::shownTabSizesThePreview()
{
    auto form = makeForm();
    form->printPage().preview().widget()->resize(0, 0);
    form->showTab(TMainForm::Tab::Print);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QTRY_COMPARE(form->printPage().preview().widget()->size(), QSize(768, 1056));
    // Another paper: the next paint resizes the preview and paints again.
    form->printer().setFixedPage(3000, 3000, 600, 600);
    form->printPage().repaintPreview();
    QTRY_COMPARE(form->printPage().preview().widget()->size(), QSize(480, 480));
}

void TstPrintPreview::currentPageOnWhitePaper_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QRgb>("atFirst");
    QTest::addColumn<QRgb>("atSecond");
    QTest::newRow("page 1 shows only its placement") << 1 << Red << White;
    QTest::newRow("page 2 shows only its placement") << 2 << White << Blue;
}

void TstPrintPreview::currentPageOnWhitePaper()
{
    QFETCH(int, page);
    QFETCH(QRgb, atFirst);
    QFETCH(QRgb, atSecond);
    auto form = makeForm();
    form->arrangePage().options().EnhanceQualCheck->setChecked(false);
    const int red = form->Doc->recordsForSetUp().appendPicture(QStringLiteral("/p/red.bmp"), solidPicture(RGB(255, 0, 0)));
    const int blue = form->Doc->recordsForSetUp().appendPicture(QStringLiteral("/p/blue.bmp"), solidPicture(RGB(0, 0, 255)));
    for (auto [id, onPage, left] : {std::tuple{red, 1, 1.0}, std::tuple{blue, 2, 3.0}}) {
        Placement *p = form->Doc->recordsForSetUp().Placements.Append();
        p->PictureId = id;
        p->Left = left;
        p->Top = 1.0;
        p->Width = p->Height = 1.0;
        p->Page = onPage;
    }
    form->arrangePage().setPageCount(2);
    form->arrangePage().showPage(page);
    form->printPage().preview().widget()->resize(form->printPage().previewPageSize());
    QImage image(800, 1100, QImage::Format_RGB32);
    image.fill(Grey);
    {
        TDC dc(&image);
        form->printPage().paintPreview(dc);
    }
    // One inch of paper is 96 screen pixels: frames at (96, 96) and (288, 96), 96 wide.
    QCOMPARE(image.pixel(96, 96), atFirst);
    QCOMPARE(image.pixel(191, 191), atFirst);
    QCOMPARE(image.pixel(288, 96), atSecond);
    QCOMPARE(image.pixel(95, 96), White);
    QCOMPARE(image.pixel(767, 1055), White);
    QCOMPARE(image.pixel(768, 0), Grey);
    QCOMPARE(image.pixel(0, 1056), Grey);
}

void TstPrintPreview::pageBeyondTheCountShowsTheLast()
{
    auto form = makeForm();
    form->arrangePage().setPageCount(3);
    form->printPage().showPage(7);
    QCOMPARE(form->arrangePage().shownPage(), 3);
    QCOMPARE(form->printPage().shownPage(), 3);
}

void TstPrintPreview::panScrollPosition_data()
{
    QTest::addColumn<QPoint>("scroll");
    QTest::addColumn<QPoint>("grab");
    QTest::addColumn<QPoint>("pointer");
    QTest::addColumn<QPoint>("expected");
    QTest::newRow("drag left and up scrolls right and down")
        << QPoint(100, 100) << QPoint(150, 150) << QPoint(140, 120) << QPoint(110, 130);
    QTest::newRow("far past the bottom stops at the end, horizontal kept")
        << QPoint(100, 100) << QPoint(150, 150) << QPoint(150, -100000) << QPoint(100, 500);
    QTest::newRow("far past the top stops at 0") << QPoint(100, 100) << QPoint(150, 150) << QPoint(150, 100000)
                                                 << QPoint(100, 0);
    QTest::newRow("beyond int range clamps") << QPoint(300, 0) << QPoint(2147483647, 0) << QPoint(-2147483647, 0)
                                             << QPoint(300, 0);
}

void TstPrintPreview::panScrollPosition()
{
    QFETCH(QPoint, scroll);
    QFETCH(QPoint, grab);
    QFETCH(QPoint, pointer);
    QFETCH(QPoint, expected);
    QCOMPARE(PanScrollPosition(scroll, grab, pointer, QPoint(300, 500)), expected);
}

void TstPrintPreview::draggingKeepsTheGrabbedPointUnderThePointer()
{
    auto form = makeForm();
    form->showTab(TMainForm::Tab::Print);
    form->resize(800, 600);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QTRY_COMPARE(form->printPage().preview().widget()->size(), QSize(768, 1056));
    QScrollBar *h = form->printPage().preview().horizontalScrollBar();
    QScrollBar *v = form->printPage().preview().verticalScrollBar();
    QVERIFY(v->maximum() > 100);
    const int hBefore = h->value();

    pressAt(*form, &PrintPage::previewMousePress, QEvent::MouseButtonPress, QPoint(100, 300));
    const QPoint grabbedInViewport = form->printPage().preview().widget()->mapTo(form->printPage().preview().viewport(), QPoint(100, 300));
    // The pointer moves 60 pixels up: the page follows it.
    pressAt(*form, &PrintPage::previewMouseMove, QEvent::MouseMove, QPoint(100, 240));
    QCOMPARE(v->value(), 60);
    QCOMPARE(form->printPage().preview().widget()->mapTo(form->printPage().preview().viewport(), QPoint(100, 300)).y(),
             grabbedInViewport.y() - 60);
    // Far beyond the bottom edge of the page: the end of the range, horizontal unchanged.
    pressAt(*form, &PrintPage::previewMouseMove, QEvent::MouseMove, QPoint(100, -100000));
    QCOMPARE(v->value(), v->maximum());
    QCOMPARE(h->value(), hBefore);
    pressAt(*form, &PrintPage::previewMouseRelease, QEvent::MouseButtonRelease, QPoint(100, -100000));
    QVERIFY(!form->printPage().previewDragging());
    // Moves without a press do not scroll.
    pressAt(*form, &PrintPage::previewMouseMove, QEvent::MouseMove, QPoint(100, 100000));
    QCOMPARE(v->value(), v->maximum());
}

void TstPrintPreview::pageImage_data()
{
    QTest::addColumn<int>("dpi");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<qint64>("maxBytes");
    QTest::newRow("150 dpi") << 150 << QSize(1200, 1650) << (qint64(1) << 30);
    QTest::newRow("10 dpi") << 10 << QSize(80, 110) << (qint64(1) << 30);
    QTest::newRow("too large is refused") << 600 << QSize(0, 0) << qint64(4800 * 6600 * 4 - 1);
}

void TstPrintPreview::pageImage()
{
    QFETCH(int, dpi);
    QFETCH(QSize, size);
    QFETCH(qint64, maxBytes);
    TArrangement doc;
    const int id = doc.appendPicture(QStringLiteral("/p/red.bmp"), solidPicture(RGB(255, 0, 0)));
    for (int page : {1, 2}) {
        Placement *p = doc.Placements.Append();
        p->PictureId = id;
        p->Left = p->Top = 1.0 + page;
        p->Width = p->Height = 1.0;
        p->Page = page;
    }
    const QImage image =
        RenderPageImage(doc, 1, dpi, ArrangementOptions{}, BarePageSetup(4800, 6600, 600, 600), maxBytes);
    QCOMPARE(image.size(), size);
    if (size.isEmpty())
        return;
    QCOMPARE(image.pixel(2 * dpi, 2 * dpi), Red);
    QCOMPARE(image.pixel(2 * dpi - 1, 2 * dpi), White);
    QCOMPARE(image.pixel(3 * dpi, 3 * dpi), White); // page 2's placement
    QCOMPARE(image.dotsPerMeterX(), qRound(dpi / 0.0254));
}

void TstPrintPreview::saveAsImage_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("written");
    QTest::addColumn<int>("errors");
    QTest::newRow("png") << QStringLiteral("page.png") << true << 0;
    QTest::newRow("jpeg") << QStringLiteral("page.jpg") << true << 0;
    QTest::newRow("bmp") << QStringLiteral("page.bmp") << true << 0;
    QTest::newRow("cancelled") << QString() << false << 0;
    QTest::newRow("unwritable folder") << QStringLiteral("missing/page.png") << false << 1;
}

void TstPrintPreview::saveAsImage()
{
    QFETCH(QString, name);
    QFETCH(bool, written);
    QFETCH(int, errors);
    QTemporaryDir dir;
    const QString file = name.isEmpty() ? QString() : dir.filePath(name);
    auto form = makeForm();
    form->printPage().setImageDpi(20);
    DialogRecorder rec;
    rec.handler.saveFile = [&file](const QString &) { return file; };
    rec.install();
    form->SaveBitBtnClick();
    QCOMPARE(int(rec.messages.size()), errors);
    QCOMPARE(QFile::exists(file), written);
    if (written)
        QCOMPARE(QImage(file).size(), QSize(160, 220));
}

SGA_TEST(TstPrintPreview)
#include "tst_printpreview.moc"
