#include "common/TestRegistry.h"
#include "picture/Dib.h"
#include "platform/DeviceContext.h"
#include "platform/PaintBox.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

#include <climits>

namespace {

constexpr QRgb Grey = 0xFF808080u;

QImage canvas(int w, int h, QImage::Format format = QImage::Format_RGB32)
{
    QImage img(w, h, format);
    img.fill(QColor(Grey));
    return img;
}

// A 24-bit picture whose pixel (x, y from the top) has red = 10x + 1, green = 10y + 1.
DIB gradient24(int w, int h)
{
    DIB d;
    newdib(&d, w, h, 24, nullptr, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            setpixel(d, x, y, RGB(10 * x + 1, 10 * y + 1, 0));
    return d;
}

QRgb rgbOf(int x, int y) { return qRgb(10 * x + 1, 10 * y + 1, 0); }

// Columns of row y whose colour differs from the fill.
QList<int> markedColumns(const QImage &img, int y)
{
    QList<int> cols;
    for (int x = 0; x < img.width(); ++x)
        if (img.pixel(x, y) != Grey)
            cols << x;
    return cols;
}

} // namespace

class TstDeviceContext : public QObject
{
    Q_OBJECT
private slots:
    void capabilities();
    void notXorInvertsAndRestores_data();
    void notXorInvertsAndRestores();
    void notXorOnWidget();
    void rectangleCoversGdiPixels();
    void lineToLeavesEndPoint();
    void stretchDibitsScalesAndClips_data();
    void stretchDibitsScalesAndClips();
    void stretchDibitsRefusesBadInput();
    void rowTransferEightBitTables();
    void memoryBitmapPath();
    void fontHeights();
    void drawTextBackgroundAndClip_data();
    void drawTextBackgroundAndClip();
    void drawTextInExtremeRectangles_data();
    void drawTextInExtremeRectangles();
};

void TstDeviceContext::capabilities()
{
    QImage img = canvas(10, 10);
    TDC dc(&img);
    QCOMPARE(dc.GetDeviceCaps(TECHNOLOGY), DT_RASDISPLAY);
    QVERIFY(dc.GetDeviceCaps(RASTERCAPS) & RC_DIBTODEV);
    QVERIFY(!(dc.GetDeviceCaps(RASTERCAPS) & RC_PALETTE));

    TDeviceCaps caps;
    caps.BitsPixel = 8;
    caps.LogPixelsX = 100;
    caps.LogPixelsY = 50;
    caps.Technology = DT_RASPRINTER;
    dc.setCaps(caps);
    QCOMPARE(dc.GetDeviceCaps(LOGPIXELSX), 100);
    QCOMPARE(dc.GetDeviceCaps(LOGPIXELSY), 50);
    QCOMPARE(dc.GetDeviceCaps(TECHNOLOGY), DT_RASPRINTER);
    QVERIFY(dc.GetDeviceCaps(RASTERCAPS) & RC_PALETTE);
    QCOMPARE(dc.CreateCompatibleDC()->GetDeviceCaps(LOGPIXELSX), 100);

    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("caps.pdf")));
    TDC pdc(&printer);
    QCOMPARE(pdc.GetDeviceCaps(TECHNOLOGY), DT_RASPRINTER);
    QCOMPARE(pdc.GetDeviceCaps(LOGPIXELSX), printer.logicalDpiX());
}

void TstDeviceContext::notXorInvertsAndRestores_data()
{
    QTest::addColumn<int>("format");
    QTest::newRow("rgb32") << int(QImage::Format_RGB32);
    QTest::newRow("premultiplied argb") << int(QImage::Format_ARGB32_Premultiplied);
    QTest::newRow("argb") << int(QImage::Format_ARGB32);
    QTest::newRow("rgb888") << int(QImage::Format_RGB888);
}

void TstDeviceContext::notXorInvertsAndRestores()
{
    QFETCH(int, format);
    QImage img = canvas(20, 20, QImage::Format(format));
    img.setPixel(5, 2, qRgb(10, 200, 30));
    {
        TDC dc(&img);
        dc.SetPen(RGB(0, 0, 0));
        dc.SetHollowBrush();
        dc.SetROP2(R2_NOTXORPEN);
        dc.Rectangle(2, 2, 12, 10);
    }
    QCOMPARE(img.pixel(2, 2), qRgb(127, 127, 127)); // corner inverted once, not twice
    QCOMPARE(img.pixel(5, 2), qRgb(245, 55, 225));
    QCOMPARE(img.pixel(11, 9), qRgb(127, 127, 127));
    QCOMPARE(img.pixel(12, 9), Grey);
    QCOMPARE(img.pixel(5, 5), Grey); // hollow
    {
        TDC dc(&img);
        dc.SetPen(RGB(0, 0, 0));
        dc.SetHollowBrush();
        dc.SetROP2(R2_NOTXORPEN);
        dc.Rectangle(2, 2, 12, 10);
    }
    QCOMPARE(img.pixel(2, 2), Grey);
    QCOMPARE(img.pixel(5, 2), qRgb(10, 200, 30));
}

void TstDeviceContext::notXorOnWidget()
{
    TPaintBox box;
    box.resize(40, 30);
    int passes = 1;
    box.onPaint = [&](QPaintEvent *) {
        {
            QPainter p(&box);
            p.fillRect(box.rect(), QColor(Grey));
        }
        TDC dc(&box);
        dc.SetPen(RGB(0, 0, 0));
        dc.SetHollowBrush();
        dc.SetROP2(R2_NOTXORPEN);
        for (int i = 0; i < passes; ++i)
            dc.Rectangle(5, 5, 20, 20);
    };
    QImage once = box.grab().toImage();
    QCOMPARE(once.pixel(5, 5), qRgb(127, 127, 127));
    passes = 2;
    QImage twice = box.grab().toImage();
    QCOMPARE(twice.pixel(5, 5), Grey);
}

void TstDeviceContext::rectangleCoversGdiPixels()
{
    QImage img = canvas(20, 20);
    {
        TDC dc(&img);
        dc.SetPen(RGB(0, 0, 0));
        dc.SetBrush(RGB(0, 0, 255));
        dc.Rectangle(2, 3, 7, 6); // right and bottom exclusive
        dc.SetBrush(RGB(0, 0, 0));
        dc.Rectangle(10 - 3, 14 - 3, 10 + 3, 14 + 3); // a selection handle: 6 x 6
    }
    QCOMPARE(markedColumns(img, 3), (QList<int>{2, 3, 4, 5, 6}));
    QCOMPARE(img.pixel(3, 4), qRgb(0, 0, 255));
    QCOMPARE(img.pixel(6, 4), qRgb(0, 0, 0));
    QCOMPARE(img.pixel(4, 6), Grey);
    QCOMPARE(markedColumns(img, 11), (QList<int>{7, 8, 9, 10, 11, 12}));
    QCOMPARE(markedColumns(img, 17), QList<int>{});
}

void TstDeviceContext::lineToLeavesEndPoint()
{
    QImage img = canvas(20, 20);
    {
        TDC dc(&img);
        dc.SetPen(RGB(0, 0, 0));
        dc.MoveTo(2, 2);
        dc.LineTo(8, 2);
        dc.SetROP2(R2_NOTXORPEN);
        dc.MoveTo(0, 5);
        dc.LineTo(10, 9); // shallow diagonal: every pixel inverted exactly once
    }
    QCOMPARE(markedColumns(img, 2), (QList<int>{2, 3, 4, 5, 6, 7}));
    int inverted = 0;
    for (int y = 4; y <= 10; ++y)
        for (int x = 0; x < 20; ++x) {
            const QRgb c = img.pixel(x, y);
            QVERIFY2(c == Grey || c == qRgb(127, 127, 127), qPrintable(QString::number(c, 16)));
            inverted += c != Grey;
        }
    QCOMPARE(inverted, 10);
    QCOMPARE(img.pixel(10, 9), Grey);
}

void TstDeviceContext::stretchDibitsScalesAndClips_data()
{
    QTest::addColumn<QRect>("src"); // x, y from the bottom, w, h
    QTest::addColumn<QRect>("dest");
    QTest::addColumn<QPoint>("probe");      // destination pixel
    QTest::addColumn<QPoint>("expected");   // picture pixel (from the top), or -1 = untouched
    QTest::newRow("whole picture doubled") << QRect(0, 0, 4, 3) << QRect(0, 0, 8, 6) << QPoint(7, 5) << QPoint(3, 2);
    QTest::newRow("doubled, top-left") << QRect(0, 0, 4, 3) << QRect(0, 0, 8, 6) << QPoint(1, 1) << QPoint(0, 0);
    QTest::newRow("bottom row only") << QRect(0, 0, 4, 1) << QRect(0, 0, 4, 1) << QPoint(2, 0) << QPoint(2, 2);
    QTest::newRow("source past the right edge keeps the scale")
        << QRect(2, 0, 4, 3) << QRect(0, 0, 8, 6) << QPoint(3, 0) << QPoint(3, 0);
    QTest::newRow("past the right edge, nothing beyond")
        << QRect(2, 0, 4, 3) << QRect(0, 0, 8, 6) << QPoint(4, 0) << QPoint(-1, -1);
    QTest::newRow("source below the bottom leaves the lower destination")
        << QRect(0, -1, 4, 3) << QRect(0, 0, 8, 6) << QPoint(0, 5) << QPoint(-1, -1);
    QTest::newRow("below the bottom, picture top at the top")
        << QRect(0, -1, 4, 3) << QRect(0, 0, 8, 6) << QPoint(0, 0) << QPoint(0, 1);
    QTest::newRow("source past the left edge moves right")
        << QRect(-1, 0, 4, 3) << QRect(0, 0, 8, 6) << QPoint(2, 0) << QPoint(0, 0);
    QTest::newRow("past the left edge, nothing before")
        << QRect(-1, 0, 4, 3) << QRect(0, 0, 8, 6) << QPoint(1, 0) << QPoint(-1, -1);
}

void TstDeviceContext::stretchDibitsScalesAndClips()
{
    QFETCH(QRect, src);
    QFETCH(QRect, dest);
    QFETCH(QPoint, probe);
    QFETCH(QPoint, expected);
    DIB pic = gradient24(4, 3);
    QImage img = canvas(10, 8);
    {
        TDC dc(&img);
        dc.SetStretchBltMode(COLORONCOLOR);
        QVERIFY(dc.StretchDIBits(dest.x(), dest.y(), dest.width(), dest.height(), src.x(), src.y(), src.width(),
                                 src.height(), pic.Bits, pic.Info, DIB_RGB_COLORS, SRCCOPY) != GDI_ERROR);
    }
    const QRgb want = expected.x() < 0 ? Grey : rgbOf(expected.x(), expected.y());
    QCOMPARE(img.pixel(probe), want);
}

void TstDeviceContext::stretchDibitsRefusesBadInput()
{
    DIB pic = gradient24(4, 3);
    QImage img = canvas(10, 8);
    TDC dc(&img);
    BITMAPINFOHEADER bad = *pic.Info;
    bad.biBitCount = 16;
    QCOMPARE(dc.StretchDIBits(0, 0, 4, 3, 0, 0, 4, 3, pic.Bits, &bad, DIB_RGB_COLORS, SRCCOPY), GDI_ERROR);
    QCOMPARE(dc.StretchDIBits(0, 0, 4, 3, 0, 0, 4, 3, nullptr, pic.Info, DIB_RGB_COLORS, SRCCOPY), GDI_ERROR);
    bad = *pic.Info;
    bad.biSize = 4000; // a colour table would be looked for far past the header
    QCOMPARE(dc.StretchDIBits(0, 0, 4, 3, 0, 0, 4, 3, pic.Bits, &bad, DIB_RGB_COLORS, SRCCOPY), GDI_ERROR);
    QCOMPARE(dc.SetDIBitsToDevice(0, 0, 4, 1, 0, 0, 0, 1, pic.Bits, &bad, DIB_RGB_COLORS), 0);
    TDeviceCaps caps;
    caps.FailStretchDIBits = true;
    dc.setCaps(caps);
    QCOMPARE(dc.StretchDIBits(0, 0, 4, 3, 0, 0, 4, 3, pic.Bits, pic.Info, DIB_RGB_COLORS, SRCCOPY), GDI_ERROR);
    QCOMPARE(img.pixel(0, 0), Grey);
}

// Rows of different pictures in a row must not share a stale colour map.
void TstDeviceContext::rowTransferEightBitTables()
{
    DIB a, b;
    newdib(&a, 3, 1, 8, nullptr, 256);
    newdib(&b, 3, 1, 8, nullptr, 256);
    DibColors(a)[1] = RGBQUAD{0, 0, 255, 0};  // red
    DibColors(b)[1] = RGBQUAD{255, 0, 0, 0};  // blue
    setpixel(a, 1, 0, 1);
    setpixel(b, 1, 0, 1);
    QImage img = canvas(6, 3);
    {
        TDC dc(&img);
        QCOMPARE(dc.SetDIBitsToDevice(0, 0, 3, 1, 0, 0, 0, 1, a.Bits, a.Info, DIB_RGB_COLORS), 1);
        QCOMPARE(dc.SetDIBitsToDevice(0, 1, 3, 1, 0, 0, 0, 1, b.Bits, b.Info, DIB_RGB_COLORS), 1);
        QCOMPARE(dc.SetDIBitsToDevice(2, 2, 3, 1, 0, 0, 0, 1, a.Bits, a.Info, DIB_RGB_COLORS), 1);
    }
    QCOMPARE(img.pixel(1, 0), qRgb(255, 0, 0));
    QCOMPARE(img.pixel(0, 0), qRgb(0, 0, 0));
    QCOMPARE(img.pixel(1, 1), qRgb(0, 0, 255));
    QCOMPARE(img.pixel(3, 2), qRgb(255, 0, 0));
    QCOMPARE(img.pixel(4, 2), qRgb(0, 0, 0));
    QCOMPARE(img.pixel(5, 2), Grey);
    QCOMPARE(img.pixel(1, 2), Grey);
}

void TstDeviceContext::memoryBitmapPath()
{
    DIB pic = gradient24(4, 3);
    QImage img = canvas(10, 8);
    {
        TDC dc(&img);
        HBITMAP bmp = dc.CreateCompatibleBitmap(4, 3);
        QVERIFY(bmp);
        auto mem = dc.CreateCompatibleDC();
        QCOMPARE(dc.SetDIBits(bmp, 0, 3, pic.Bits, pic.Info, DIB_RGB_COLORS), 3);
        HBITMAP old = mem->SelectObject(bmp);
        QVERIFY(dc.StretchBlt(1, 1, 8, 6, *mem, 0, 0, 4, 3, SRCCOPY)); // device bitmaps are top-down
        mem->SelectObject(old);
        QVERIFY(!dc.CreateCompatibleBitmap(0, 3));
        QVERIFY(!dc.CreateCompatibleBitmap(100000, 100000));
    }
    QCOMPARE(img.pixel(1, 1), rgbOf(0, 0));
    QCOMPARE(img.pixel(8, 6), rgbOf(3, 2));
    QCOMPARE(img.pixel(0, 0), Grey);
}

void TstDeviceContext::fontHeights()
{
    QImage img = canvas(10, 10);
    TDC dc(&img);
    dc.SetFont(QFont(QStringLiteral("Sans")), -15);
    QCOMPARE(dc.font().pixelSize(), 15);
    const int cell = dc.GetTextHeight(QStringLiteral("Xg"));
    QVERIFY(cell >= 15);
    dc.SetFont(QFont(QStringLiteral("Sans")), cell);
    QVERIFY(dc.GetTextHeight(QStringLiteral("Xg")) <= cell);
    QVERIFY(dc.font().pixelSize() >= 13);
    dc.SetFont(QFont(QStringLiteral("Sans")), 1);
    QCOMPARE(dc.font().pixelSize(), 1);
}

void TstDeviceContext::drawTextBackgroundAndClip_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("filled");
    QTest::newRow("opaque fills the text cells") << OPAQUE << true;
    QTest::newRow("transparent leaves the background") << TRANSPARENT << false;
}

void TstDeviceContext::drawTextBackgroundAndClip()
{
    QFETCH(int, mode);
    QFETCH(bool, filled);
    QImage img = canvas(200, 40);
    const QString text = QStringLiteral("WWWWWWWWWWWWWWWW");
    int textWidth = 0, height = 0;
    {
        TDC dc(&img);
        dc.SetFont(QFont(QStringLiteral("Sans")), -12);
        dc.SetTextColor(RGB(0, 0, 0));
        dc.SetBkColor(RGB(255, 255, 0));
        dc.SetBkMode(mode);
        textWidth = dc.GetTextWidth(text);
        QVERIFY(textWidth > 60);
        height = dc.DrawText(text, RECT{50, 10, 110, 40}, DT_CENTER);
    }
    QVERIFY(height > 0 && height < 30);
    const QRgb yellow = qRgb(255, 255, 0);
    // Centred text wider than the rectangle: clipped at both sides.
    QCOMPARE(img.pixel(49, 11), Grey);
    QCOMPARE(img.pixel(110, 11), Grey);
    QCOMPARE(img.pixel(50, 11) == yellow, filled);
    QCOMPARE(img.pixel(109, 11) == yellow, filled);
    QCOMPARE(img.pixel(80, 10 + height), Grey); // below the text cell
    int dark = 0;
    for (int x = 50; x < 110; ++x)
        for (int y = 10; y < 10 + height; ++y)
            dark += qGray(img.pixel(x, y)) < 60;
    QVERIFY(dark > 20);
}

void TstDeviceContext::drawTextInExtremeRectangles_data()
{
    QTest::addColumn<QList<int>>("box"); // left, top, right, bottom of the RECT
    QTest::addColumn<int>("format");
    QTest::addColumn<QPoint>("cell");  // a pixel the text cells cover, or (-1, -1) for none
    QTest::addColumn<QPoint>("clear"); // a pixel they leave
    const int lo = INT_MIN, hi = INT_MAX;
    const QPoint none(-1, -1);
    QTest::newRow("centred, from the far left")
        << QList<int>{lo, 10, 100, 40} << int(DT_CENTER) << none << QPoint(0, 11);
    QTest::newRow("centred across the whole range")
        << QList<int>{lo, 10, hi, 40} << int(DT_CENTER) << QPoint(0, 11) << QPoint(150, 11);
    QTest::newRow("right-aligned at the far right")
        << QList<int>{0, 10, hi, 40} << int(DT_RIGHT) << none << QPoint(199, 11);
    QTest::newRow("one line centred across the whole height")
        << QList<int>{0, lo, 200, hi} << int(DT_SINGLELINE | DT_VCENTER) << QPoint(1, 0) << QPoint(1, 30);
    QTest::newRow("one line at the bottom of a rectangle from the far top")
        << QList<int>{0, lo, 200, 20} << int(DT_SINGLELINE | DT_BOTTOM) << QPoint(1, 19) << QPoint(1, 20);
    QTest::newRow("lines running past the far bottom")
        << QList<int>{0, hi - 5, 200, hi} << int(DT_NOCLIP) << none << QPoint(1, 1);
}

// Rectangles of absurd frames: positions are taken in 64 bits, and what shows
// of the text is drawn where it belongs.
void TstDeviceContext::drawTextInExtremeRectangles()
{
    QFETCH(QList<int>, box);
    QFETCH(int, format);
    QFETCH(QPoint, cell);
    QFETCH(QPoint, clear);
    QImage img = canvas(200, 40);
    {
        TDC dc(&img);
        dc.SetFont(QFont(QStringLiteral("Sans")), -12);
        dc.SetBkColor(RGB(255, 255, 0));
        dc.DrawText(QStringLiteral("Wig\nWag\nWog"), RECT{box[0], box[1], box[2], box[3]}, unsigned(format));
    }
    if (cell.x() >= 0)
        QVERIFY(img.pixel(cell) != Grey); // background or ink
    else
        QVERIFY(markedColumns(img, clear.y()).isEmpty());
    QCOMPARE(img.pixel(clear), Grey);
}

SGA_TEST(TstDeviceContext)
#include "tst_devicecontext.moc"
