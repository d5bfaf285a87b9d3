#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "picture/Dib.h"
#include "picture/DrawDib.h"
#include "picture/Halftone.h"
#include "platform/DeviceContext.h"

#include "platform/PaintBox.h"

#include <QImage>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

namespace {

constexpr QRgb Grey = 0xFF808080u;
constexpr int PicW = 40, PicH = 30;

QImage canvas(int w = 120, int h = 100)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(QColor(Grey));
    return img;
}

QRgb patternAt(int x, int y) { return qRgb(x * 6 + 3, y * 8 + 3, 77); } // y from the top

DIB pattern24()
{
    DIB d;
    newdib(&d, PicW, PicH, 24, nullptr, 0);
    for (int y = 0; y < PicH; ++y)
        for (int x = 0; x < PicW; ++x) {
            const QRgb c = patternAt(x, y);
            setpixel(d, x, y, RGB(qRed(c), qGreen(c), qBlue(c)));
        }
    return d;
}

// An 8-bit picture of PicW x PicH whose palette index at (x, y) is (x + y) % 7.
DIB pattern8()
{
    DIB d;
    BYTE block[sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD)] = {};
    auto *table = reinterpret_cast<RGBQUAD *>(block + sizeof(BITMAPINFOHEADER));
    for (int i = 0; i < 7; ++i)
        table[i] = RGBQUAD{BYTE(30 * i), BYTE(200 - 20 * i), BYTE(10 + 35 * i), 0};
    newdib(&d, PicW, PicH, 8, reinterpret_cast<BITMAPINFOHEADER *>(block), 256);
    for (int y = 0; y < PicH; ++y)
        for (int x = 0; x < PicW; ++x)
            setpixel(d, x, y, std::uint32_t((x + y) % 7));
    return d;
}

// A picture of one colour: 24 bits, or 8/4/1 bits with that colour at index 1.
DIB plain(int bits, QRgb c, int w = 8, int h = 6)
{
    DIB d;
    const int colours = PaletteSize(bits);
    BYTE block[sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD)] = {};
    auto *table = reinterpret_cast<RGBQUAD *>(block + sizeof(BITMAPINFOHEADER));
    table[1] = RGBQUAD{BYTE(qBlue(c)), BYTE(qGreen(c)), BYTE(qRed(c)), 0};
    newdib(&d, w, h, bits, reinterpret_cast<BITMAPINFOHEADER *>(block), colours);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            setpixel(d, x, y, bits == 24 ? RGB(qRed(c), qGreen(c), qBlue(c)) : 1);
    return d;
}

QRgb dibColour(const DIB &d, int x, int yFromTop)
{
    const std::uint32_t v = getpixel(d, x, yFromTop);
    if (DibBitCount(d) == 24)
        return qRgb(GetRValue(v), GetGValue(v), GetBValue(v));
    const RGBQUAD q = DibColors(d)[v];
    return qRgb(q.rgbRed, q.rgbGreen, q.rgbBlue);
}

// ViaCopy: a printer that refuses StretchDIBits but takes DIBs 1:1.
enum Device { OnDisplay, OnPrinter, ViaBitmap, ViaCopy };

void setDevice(TDC &dc, Device device)
{
    TDeviceCaps caps;
    if (device != OnDisplay)
        caps.Technology = DT_RASPRINTER;
    if (device == ViaBitmap || device == ViaCopy)
        caps.FailStretchDIBits = true;
    if (device == ViaBitmap)
        caps.RasterCaps = RC_BITBLT | RC_STRETCHBLT;
    dc.setCaps(caps);
}

// Device whose only way left is the bitmap fallback, which fails at once:
// every path that ends in StretchDIBits shows up as one message.
TDeviceCaps refusingCaps(int technology)
{
    TDeviceCaps caps;
    caps.Technology = technology;
    caps.FailStretchDIBits = true;
    caps.RasterCaps = RC_BITBLT;
    caps.FailCreateBitmap = true;
    return caps;
}

} // namespace

class TstDrawDib : public QObject
{
    Q_OBJECT
private slots:
    void clippingKeepsScale_data();
    void clippingKeepsScale();
    void pathChoice_data();
    void pathChoice();
    void halftoneScaledCopy();
    void rowsOutsidePictureAreBlack();
    void eightBitRowsUseColourTable();
    void nearestNeighbourFallback_data();
    void nearestNeighbourFallback();
    void bitmapFallbackMessages_data();
    void bitmapFallbackMessages();
    void paletteRestored();
    void degenerateInputDrawsNothing_data();
    void degenerateInputDrawsNothing();
    void extremeFrameShowsItsMiddle_data();
    void extremeFrameShowsItsMiddle();
    void partialPaintMatchesFullPaint();
    void scrolledWidgetMatchesFullPaint();
    void shortColourTable_data();
    void shortColourTable();
    void samePictureAtEveryPixelRatio_data();
    void samePictureAtEveryPixelRatio();
};

void TstDrawDib::clippingKeepsScale_data()
{
    QTest::addColumn<int>("device");
    QTest::addColumn<QRect>("src"); // SrcY counted from the bottom
    const QList<QPair<const char *, QRect>> rects = {
        {"inside", QRect(5, 4, 20, 10)},
        {"past the right edge", QRect(30, 4, 20, 10)},
        {"past the left edge", QRect(-7, 4, 20, 10)},
        {"past the bottom edge", QRect(5, -6, 20, 10)},
        {"past the top edge", QRect(5, 25, 20, 10)},
        {"past every edge", QRect(-5, -3, 50, 36)},
    };
    const QList<QPair<const char *, int>> devices = {
        {"display rows", OnDisplay}, {"printer stretch", OnPrinter}, {"bitmap fallback", ViaBitmap}};
    for (const auto &d : devices)
        for (const auto &r : rects)
            QTest::addRow("%s, %s", d.first, r.first) << d.second << r.second;
}

// At scale 2 every visible source pixel covers exactly its own 2 x 2 block,
// wherever the source rectangle was cut.
void TstDrawDib::clippingKeepsScale()
{
    QFETCH(int, device);
    QFETCH(QRect, src);
    const DIB pic = pattern24();
    QImage img = canvas();
    DialogRecorder dialogs;
    const int X = 10, Y = 12, DW = src.width() * 2, DH = src.height() * 2;
    {
        TDC dc(&img);
        setDevice(dc, Device(device));
        DrawDib(dc, X, Y, DW, DH, pic, src.x(), src.y(), src.width(), src.height(), true, SRCCOPY, false, {});
    }
    QVERIFY(dialogs.messages.empty());
    const int topRow = PicH - src.y() - src.height(); // source rectangle's top, from the top
    for (int py = 0; py < img.height(); ++py)
        for (int px = 0; px < img.width(); ++px) {
            QRgb want = Grey;
            if (px >= X && px < X + DW && py >= Y && py < Y + DH) {
                const int sx = src.x() + (px - X) / 2, sy = topRow + (py - Y) / 2;
                if (sx >= 0 && sx < PicW && sy >= 0 && sy < PicH)
                    want = patternAt(sx, sy);
            }
            if (img.pixel(px, py) != want)
                QFAIL(qPrintable(QStringLiteral("pixel %1,%2 is %3, expected %4")
                                     .arg(px)
                                     .arg(py)
                                     .arg(img.pixel(px, py), 0, 16)
                                     .arg(want, 0, 16)));
        }
}

void TstDrawDib::pathChoice_data()
{
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("screenBits");
    QTest::addColumn<int>("technology");
    QTest::addColumn<bool>("halftone");
    QTest::addColumn<QString>("path");
    QTest::newRow("24-bit on a true-colour display") << 24 << 32 << DT_RASDISPLAY << true << "rows";
    QTest::newRow("24-bit on a palette display, halftone off") << 24 << 8 << DT_RASDISPLAY << false << "rows";
    QTest::newRow("24-bit on a palette display") << 24 << 8 << DT_RASDISPLAY << true << "halftone";
    QTest::newRow("24-bit printed from a palette display") << 24 << 8 << DT_RASPRINTER << true << "halftone";
    QTest::newRow("24-bit printed, halftone off") << 24 << 8 << DT_RASPRINTER << false << "stretch";
    QTest::newRow("24-bit printed from a true-colour display") << 24 << 32 << DT_RASPRINTER << true << "stretch";
    QTest::newRow("8-bit on a display") << 8 << 32 << DT_RASDISPLAY << true << "rows";
    QTest::newRow("8-bit on a palette display is not halftoned") << 8 << 8 << DT_RASDISPLAY << true << "rows";
    QTest::newRow("8-bit printed") << 8 << 32 << DT_RASPRINTER << true << "stretch";
    QTest::newRow("4-bit on a display") << 4 << 32 << DT_RASDISPLAY << true << "stretch";
    QTest::newRow("1-bit on a display") << 1 << 32 << DT_RASDISPLAY << true << "stretch";
}

void TstDrawDib::pathChoice()
{
    QFETCH(int, bits);
    QFETCH(int, screenBits);
    QFETCH(int, technology);
    QFETCH(bool, halftone);
    QFETCH(QString, path);
    const QRgb colour = qRgb(100, 150, 200); // not a halftone palette colour
    const DIB pic = plain(bits, colour);

    // On a working device: halftoning is seen in the colours.
    QImage img = canvas(20, 20);
    {
        TDC dc(&img);
        TDeviceCaps caps;
        caps.Technology = technology;
        caps.DisplayBitsPixel = screenBits;
        dc.setCaps(caps);
        DrawDib(dc, 2, 3, 8, 6, pic, 0, 0, 8, 6, halftone, SRCCOPY, false, {});
    }
    QRgb want = colour;
    if (path == QLatin1String("halftone")) {
        DIB copy;
        DIBHalftoneDIB(&copy, pic);
        QVERIFY(copy.Bits);
        want = dibColour(copy, 4, 2);
        QVERIFY(want != colour);
    }
    QCOMPARE(img.pixel(2 + 4, 3 + 2), want);
    QCOMPARE(img.pixel(1, 3), Grey);

    // On a device that refuses DIBs: only the stretch path reaches the fallback.
    DialogRecorder dialogs;
    QImage refused = canvas(20, 20);
    {
        TDC dc(&refused);
        TDeviceCaps caps = refusingCaps(technology);
        caps.DisplayBitsPixel = screenBits;
        dc.setCaps(caps);
        DrawDib(dc, 2, 3, 8, 6, pic, 0, 0, 8, 6, halftone, SRCCOPY, false, {});
    }
    QCOMPARE(int(dialogs.messages.size()), path == QLatin1String("stretch") ? 1 : 0);
    QCOMPARE(refused.pixel(6, 5) != Grey, path == QLatin1String("rows"));
}

// Shrinking on a palette display halftones at the destination's scale and
// copies the matching part 1:1.
void TstDrawDib::halftoneScaledCopy()
{
    const DIB pic = pattern24();
    QImage img = canvas();
    {
        TDC dc(&img);
        TDeviceCaps palette;
        palette.DisplayBitsPixel = 8;
        dc.setCaps(palette);
        DrawDib(dc, 4, 5, 10, 15, pic, 20, 0, 20, 30, true, SRCCOPY, false, {});
    }
    DIB copy;
    DIBHalftoneDIBXY(&copy, pic, 20, 15);
    QVERIFY(copy.Bits);
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 10; ++x)
            QCOMPARE(img.pixel(4 + x, 5 + y), dibColour(copy, 10 + x, y));
    QCOMPARE(img.pixel(14, 5), Grey);
    QCOMPARE(img.pixel(4, 20), Grey);
}

// Rows above the picture come out black, and the first real row after them is
// copied in rather than taken for the buffer's old contents.
void TstDrawDib::rowsOutsidePictureAreBlack()
{
    const DIB pic = pattern24();
    QImage img = canvas();
    {
        TDC dc(&img);
        DrawDibRows24(dc, 0, 0, 8, 8, pic, 0, -2, 4, 4);
    }
    for (int y = 0; y < 4; ++y)
        QCOMPARE(img.pixel(3, y), qRgb(0, 0, 0));
    QCOMPARE(img.pixel(3, 4), patternAt(1, 0));
    QCOMPARE(img.pixel(3, 6), patternAt(1, 1));
    QCOMPARE(img.pixel(8, 6), Grey);
}

void TstDrawDib::eightBitRowsUseColourTable()
{
    const DIB pic = pattern8();
    QImage img = canvas();
    {
        TDC dc(&img);
        DrawDib(dc, 1, 1, 80, 60, pic, 0, 0, PicW, PicH, true, SRCCOPY, false, {});
    }
    for (int y : {0, 17, 59})
        for (int x : {0, 33, 79})
            QCOMPARE(img.pixel(1 + x, 1 + y), dibColour(pic, x / 2, y / 2));
}

void TstDrawDib::nearestNeighbourFallback_data()
{
    QTest::addColumn<int>("bits");
    QTest::addColumn<QSize>("dest");
    QTest::newRow("24-bit enlarged") << 24 << QSize(13, 9);
    QTest::newRow("8-bit reduced") << 8 << QSize(5, 4);
    QTest::newRow("4-bit enlarged") << 4 << QSize(13, 9);
    QTest::newRow("1-bit enlarged") << 1 << QSize(13, 9);
    QTest::newRow("one pixel wide takes the middle column") << 24 << QSize(1, 9);
    QTest::newRow("one pixel high takes the middle row") << 8 << QSize(13, 1);
}

// A printer that refuses StretchDIBits but takes DIBs 1:1.
void TstDrawDib::nearestNeighbourFallback()
{
    QFETCH(int, bits);
    QFETCH(QSize, dest);
    DIB pic;
    const int w = 7, h = 5;
    BYTE block[sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD)] = {};
    auto *table = reinterpret_cast<RGBQUAD *>(block + sizeof(BITMAPINFOHEADER));
    for (int i = 0; i < 256; ++i)
        table[i] = RGBQUAD{BYTE(i * 13), BYTE(255 - i * 7), BYTE(i * 29), 0};
    newdib(&pic, w, h, bits, reinterpret_cast<BITMAPINFOHEADER *>(block), PaletteSize(bits));
    const int levels = bits == 24 ? 1 << 24 : PaletteSize(bits);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            setpixel(pic, x, y, std::uint32_t((x * 5 + y * 3 + 1) * 40503) % std::uint32_t(levels));

    DialogRecorder dialogs;
    QImage img = canvas(30, 20);
    const int srcX = 1, srcY = 1, srcW = 5, srcH = 3;
    {
        TDC dc(&img);
        TDeviceCaps caps;
        caps.Technology = DT_RASPRINTER;
        caps.FailStretchDIBits = true;
        caps.FailCreateBitmap = true; // the second fallback would complain
        dc.setCaps(caps);
        DrawDib(dc, 2, 3, dest.width(), dest.height(), pic, srcX, srcY, srcW, srcH, false, SRCCOPY, false, {});
    }
    QVERIFY(dialogs.messages.empty());
    auto pick = [](int start, int count, int i, int n) { return n == 1 ? start + (count - 1) / 2 : start + (count - 1) * i / (n - 1); };
    for (int y = 0; y < dest.height(); ++y) {
        // Rows run in stored order: the destination's bottom row is the source's bottom row.
        const int storedDest = dest.height() - 1 - y;
        const int storedSrc = pick(srcY, srcH, storedDest, dest.height());
        for (int x = 0; x < dest.width(); ++x)
            QCOMPARE(img.pixel(2 + x, 3 + y), dibColour(pic, pick(srcX, srcW, x, dest.width()), h - 1 - storedSrc));
    }
    QCOMPARE(img.pixel(2 + dest.width(), 3), Grey);
}

void TstDrawDib::bitmapFallbackMessages_data()
{
    QTest::addColumn<int>("failure"); // 0 none, 1 bitmap, 2 SetDIBits, 3 StretchBlt, 4 one-to-one copy
    QTest::addColumn<QString>("message");
    QTest::newRow("bitmap refused") << 1 << "Could not create bitmap.";
    QTest::newRow("SetDIBits refused") << 2 << "The device does not support the Funtkion setdibits!";
    QTest::newRow("StretchBlt refused") << 3 << "The device does not support the function StretchBlt!";
    QTest::newRow("bitmap path works") << 0 << QString();
    QTest::newRow("one-to-one copy refused, bitmap path works") << 4 << QString();
}

void TstDrawDib::bitmapFallbackMessages()
{
    QFETCH(int, failure);
    QFETCH(QString, message);
    const DIB pic = pattern24();
    DialogRecorder dialogs;
    QImage img = canvas();
    {
        TDC dc(&img);
        TDeviceCaps caps;
        caps.Technology = DT_RASPRINTER;
        caps.FailStretchDIBits = true;
        if (failure == 4)
            caps.FailSetDIBitsToDevice = true;
        else
            caps.RasterCaps = RC_BITBLT | RC_STRETCHBLT;
        caps.FailCreateBitmap = failure == 1;
        caps.FailSetDIBits = failure == 2;
        caps.FailStretchBlt = failure == 3;
        dc.setCaps(caps);
        // An off-centre source: the bitmap's rows count from the top.
        DrawDib(dc, 10, 10, 20, 20, pic, 3, 2, 10, 10, true, SRCCOPY, false, {});
    }
    if (message.isEmpty()) {
        QVERIFY(dialogs.messages.empty());
        QCOMPARE(img.pixel(10, 10), patternAt(3, PicH - 2 - 10));
        QCOMPARE(img.pixel(29, 29), patternAt(12, PicH - 2 - 1));
    } else {
        QCOMPARE(int(dialogs.messages.size()), 1);
        QCOMPARE(dialogs.messages[0].text, message);
        QCOMPARE(dialogs.messages[0].caption, QString());
        QCOMPARE(dialogs.messages[0].buttons, Dialogs::Ok);
        QCOMPARE(img.pixel(15, 15), Grey);
    }
}

void TstDrawDib::paletteRestored()
{
    const DIB pic = pattern8();
    QVERIFY(pic.HasPalette == 1 && pic.Palette);
    QImage img = canvas();
    TDC dc(&img);
    auto mine = std::make_shared<PaletteObject>();
    dc.SelectPalette(mine, false);
    DrawDib(dc, 0, 0, 10, 10, pic, 0, 0, 10, 10, true, SRCCOPY, true, {});
    QCOMPARE(dc.CurrentPalette(), HPALETTE(mine));
    QCOMPARE(dc.RealizeCount(), 1);
    // A 24-bit picture has no palette to select on a true-colour display.
    DrawDib(dc, 0, 0, 10, 10, pattern24(), 0, 0, 10, 10, true, SRCCOPY, true, {});
    QCOMPARE(dc.RealizeCount(), 1);
}

void TstDrawDib::degenerateInputDrawsNothing_data()
{
    QTest::addColumn<QRect>("dest");
    QTest::addColumn<QRect>("src");
    QTest::addColumn<bool>("emptyPicture");
    QTest::newRow("picture without pixels") << QRect(0, 0, 10, 10) << QRect(0, 0, 10, 10) << true;
    QTest::newRow("zero destination width") << QRect(0, 0, 0, 10) << QRect(0, 0, 10, 10) << false;
    QTest::newRow("negative destination height") << QRect(0, 0, 10, -4) << QRect(0, 0, 10, 10) << false;
    QTest::newRow("zero source height") << QRect(0, 0, 10, 10) << QRect(0, 0, 10, 0) << false;
    QTest::newRow("source right of the picture") << QRect(0, 0, 10, 10) << QRect(PicW, 0, 10, 10) << false;
    QTest::newRow("source below the picture") << QRect(0, 0, 10, 10) << QRect(0, -10, 10, 10) << false;
    QTest::newRow("source left of the picture") << QRect(0, 0, 10, 10) << QRect(-10, 0, 10, 10) << false;
    QTest::newRow("source above the picture") << QRect(0, 0, 10, 10) << QRect(0, PicH, 10, 10) << false;
    QTest::newRow("shrunk to nothing by clipping") << QRect(0, 0, 3, 3) << QRect(PicW - 1, 0, 100, 10) << false;
    QTest::newRow("huge source rectangle") << QRect(0, 0, 10, 10) << QRect(-2000000000, -2000000000, 2100000000, 2100000000)
                                           << false;
}

void TstDrawDib::degenerateInputDrawsNothing()
{
    QFETCH(QRect, dest);
    QFETCH(QRect, src);
    QFETCH(bool, emptyPicture);
    const DIB pic = emptyPicture ? DIB{} : pattern24();
    DialogRecorder dialogs;
    for (Device device : {OnDisplay, OnPrinter, ViaBitmap}) {
        QImage img = canvas(20, 20);
        {
            TDC dc(&img);
            setDevice(dc, device);
            DrawDib(dc, 5, 5, dest.width(), dest.height(), pic, src.x(), src.y(), src.width(), src.height(), true,
                    SRCCOPY, false, {});
        }
        if (QTest::currentDataTag() != QByteArray("huge source rectangle")) {
            QImage blank = canvas(20, 20);
            QCOMPARE(img, blank);
        }
    }
    QVERIFY(dialogs.messages.empty());
}

void TstDrawDib::extremeFrameShowsItsMiddle_data()
{
    QTest::addColumn<int>("device");
    QTest::addColumn<int>("bits");
    QTest::newRow("display, 24-bit rows") << int(OnDisplay) << 24;
    QTest::newRow("display, 8-bit rows") << int(OnDisplay) << 8;
    QTest::newRow("printer") << int(OnPrinter) << 24;
    QTest::newRow("printer taking DIBs only 1:1") << int(ViaCopy) << 8;
    QTest::newRow("device bitmap") << int(ViaBitmap) << 24;
}

// A frame two thousand million pixels on a side, placed so that the small canvas
// lies inside picture pixel (20, 15) whichever way a path rounds: what is made
// for drawing is sized by what the device shows, not by the frame.
void TstDrawDib::extremeFrameShowsItsMiddle()
{
    QFETCH(int, device);
    QFETCH(int, bits);
    const DIB pic = bits == 24 ? pattern24() : pattern8();
    DialogRecorder dialogs;
    QImage img = canvas(20, 20);
    {
        TDC dc(&img);
        setDevice(dc, Device(device));
        DrawDib(dc, -1038000000, -1017000000, 2000000000, 2000000000, pic, 0, 0, PicW, PicH, false, SRCCOPY, false,
                {});
    }
    QVERIFY(dialogs.messages.empty());
    const QRgb middle = dibColour(pic, 20, 15);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            QCOMPARE(img.pixel(x, y), middle);
}

namespace {
// The reference: the whole drawing on a plain image.
QImage fullDrawing(int w, int h)
{
    QImage img = canvas(w, h);
    TDC dc(&img);
    DrawDib(dc, 5, 5, 160, 120, pattern24(), 0, 0, PicW, PicH, true, SRCCOPY, false, {});
    return img;
}
} // namespace

// Row painting skips what cannot show; through a moved and clipped painter the
// pixels that do show must be the same.
void TstDrawDib::partialPaintMatchesFullPaint()
{
    const QImage full = fullDrawing(200, 150);
    QImage part = canvas(60, 50);
    {
        QPainter painter(&part);
        painter.translate(-30, -20);
        painter.setClipRect(QRect(35, 25, 40, 30));
        TDC dc(&painter);
        DrawDib(dc, 5, 5, 160, 120, pattern24(), 0, 0, PicW, PicH, true, SRCCOPY, false, {});
    }
    for (int y = 0; y < part.height(); ++y)
        for (int x = 0; x < part.width(); ++x) {
            const bool inClip = x >= 5 && x < 45 && y >= 5 && y < 35;
            QCOMPARE(part.pixel(x, y), inClip ? full.pixel(x + 30, y + 20) : Grey);
        }
}

void TstDrawDib::scrolledWidgetMatchesFullPaint()
{
    const QImage full = fullDrawing(200, 150);
    QScrollArea area;
    area.setFrameShape(QFrame::NoFrame);
    area.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto *box = new TPaintBox;
    box->resize(200, 150);
    box->onPaint = [box](QPaintEvent *) {
        {
            QPainter p(box);
            p.fillRect(box->rect(), QColor(Grey));
        }
        TDC dc(box);
        DrawDib(dc, 5, 5, 160, 120, pattern24(), 0, 0, PicW, PicH, true, SRCCOPY, false, {});
    };
    area.setWidget(box);
    area.resize(70, 50);
    area.show();
    area.horizontalScrollBar()->setValue(50);
    area.verticalScrollBar()->setValue(40);
    const QImage shown = area.viewport()->grab().toImage();
    QCOMPARE(shown.size(), QSize(70, 50));
    const QPoint offset = -box->pos();
    QCOMPARE(offset, QPoint(50, 40));
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            QCOMPARE(shown.pixel(x, y), full.pixel(x + offset.x(), y + offset.y()));
}

void TstDrawDib::shortColourTable_data()
{
    QTest::addColumn<int>("device");
    QTest::addColumn<int>("colours");
    QTest::newRow("display rows, 4 colours") << int(OnDisplay) << 4;
    QTest::newRow("printer stretch, 4 colours") << int(OnPrinter) << 4;
    QTest::newRow("bitmap fallback, 4 colours") << int(ViaBitmap) << 4;
    QTest::newRow("display rows, no table") << int(OnDisplay) << 0;
    QTest::newRow("printer stretch, no table") << int(OnPrinter) << 0;
}

// A picture holding only 4 colours (or none) but using index 200: nothing is
// read past its table, and a missing colour shows black.
void TstDrawDib::shortColourTable()
{
    QFETCH(int, device);
    QFETCH(int, colours);
    DIB pic;
    BYTE block[sizeof(BITMAPINFOHEADER) + 4 * sizeof(RGBQUAD)] = {};
    reinterpret_cast<RGBQUAD *>(block + sizeof(BITMAPINFOHEADER))[1] = RGBQUAD{0, 0, 255, 0};
    QVERIFY(newdib(&pic, 4, 2, 8, reinterpret_cast<BITMAPINFOHEADER *>(block), colours));
    setpixel(pic, 0, 0, 1);
    setpixel(pic, 1, 0, 200);
    DialogRecorder dialogs;
    QImage img = canvas(10, 10);
    {
        TDC dc(&img);
        setDevice(dc, Device(device));
        DrawDib(dc, 0, 0, 4, 2, pic, 0, 0, 4, 2, true, SRCCOPY, false, {});
    }
    QCOMPARE(img.pixel(0, 0), colours ? qRgb(255, 0, 0) : qRgb(0, 0, 0));
    QCOMPARE(img.pixel(1, 0), qRgb(0, 0, 0));
}

void TstDrawDib::samePictureAtEveryPixelRatio_data()
{
    QTest::addColumn<double>("ratio");
    QTest::addColumn<int>("bits");
    for (const double ratio : {1.25, 1.5, 2.0})
        for (const int bits : {24, 8})
            QTest::addRow("ratio %g, %d bits", ratio, bits) << ratio << bits;
}

// A widget painted for a high-resolution screen shows the whole picture where
// the plain screen shows it, and as sharp as the screen allows: a picture of
// one column per device pixel keeps every column.
void TstDrawDib::samePictureAtEveryPixelRatio()
{
    QFETCH(double, ratio);
    QFETCH(int, bits);
    const int fine = int(std::lround(96 * ratio));
    // 4 x 3 colours, each a block of 24 x 24 units on the screen.
    DIB blocks;
    BYTE block[sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD)] = {};
    auto *table = reinterpret_cast<RGBQUAD *>(block + sizeof(BITMAPINFOHEADER));
    for (int i = 0; i < 12; ++i)
        table[i] = RGBQUAD{BYTE(20 * i), BYTE(250 - 20 * i), BYTE(i % 2 ? 200 : 40), 0};
    QVERIFY(newdib(&blocks, 4, 3, bits, bits == 8 ? reinterpret_cast<BITMAPINFOHEADER *>(block) : nullptr, bits == 8 ? 256 : 0));
    for (int i = 0; i < 12; ++i)
        setpixel(blocks, i % 4, i / 4,
                 bits == 8 ? std::uint32_t(i) : RGB(table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue));
    DIB stripes;
    QVERIFY(newdib(&stripes, fine, 1, 24, nullptr, 0));
    for (int x = 0; x < fine; ++x)
        setpixel(stripes, x, 0, x % 2 ? RGB(255, 255, 255) : RGB(0, 0, 0));
    TPaintBox box;
    box.resize(120, 100);
    box.onPaint = [&](QPaintEvent *) {
        {
            QPainter p(&box);
            p.fillRect(box.rect(), QColor(Grey));
        }
        TDC dc(&box);
        DrawDib(dc, 10, 8, 96, 72, blocks, 0, 0, 4, 3, true, SRCCOPY, false, {});
        DrawDib(dc, 10, 90, 96, 4, stripes, 0, 0, fine, 1, true, SRCCOPY, false, {});
    };
    const auto render = [&box](double r) {
        QImage img(QSize(120, 100) * r, QImage::Format_RGB32);
        img.setDevicePixelRatio(r);
        img.fill(Qt::black);
        box.render(&img);
        return img;
    };
    const QImage plain = render(1), sharp = render(ratio);
    int differing = 0;
    for (int y = 0; y < int(72 * ratio); ++y)
        for (int x = 0; x < sharp.width(); ++x)
            differing += sharp.pixel(x, y) != plain.pixel(int(x / ratio), int(y / ratio));
    // Only the seams between source pixels may fall one device pixel apart.
    QVERIFY2(differing < sharp.width() * int(72 * ratio) / 20, qPrintable(QString::number(differing)));
    const int row = int(std::lround(92 * ratio)), left = int(std::nearbyint(10 * ratio));
    for (int x = 0; x < fine; ++x)
        QCOMPARE(sharp.pixel(left + x, row), x % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
}

SGA_TEST(TstDrawDib)
#include "tst_drawdib.moc"
