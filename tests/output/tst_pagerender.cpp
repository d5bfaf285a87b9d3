#include "arrange/Geometry.h"
#include "common/PageSetup.h"
#include "common/TestRegistry.h"
#include "document/Arrangement.h"
#include "document/Options.h"
#include "output/PageRender.h"
#include "platform/DeviceContext.h"

#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

#include <climits>
#include <cmath>

namespace {

constexpr QRgb Grey = 0xFF808080u;
constexpr QRgb Yellow = 0xFFFFFF00u;

// A picture whose column x has red = x % 256 and blue = x / 256; green 200.
DIB columnsPicture(int w, int h)
{
    DIB d;
    newdib(&d, w, h, 24, nullptr, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            setpixel(d, x, y, RGB(x % 256, 200, x / 256));
    return d;
}

int columnOf(QRgb c) { return qRed(c) + 256 * qBlue(c); }

Placement placement(double left, double top, double width, double height, int page, int id, bool cut)
{
    Placement p{};
    p.Left = left;
    p.Top = top;
    p.Width = width;
    p.Height = height;
    p.Page = page;
    p.PictureId = id;
    p.Cut = cut ? 1 : 0;
    return p;
}

void addPlacement(TArrangement &doc, const Placement &p) { *doc.Placements.Append() = p; }

ArrangementOptions captionOptions()
{
    ArrangementOptions o;
    o.BkColor = std::int32_t(RGB(255, 255, 0));
    o.Font.Color = std::int32_t(RGB(0, 0, 0));
    return o;
}

QImage canvas(int w = 300, int h = 300)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(QColor(Grey));
    return img;
}

int countInRow(const QImage &img, int y, QRgb c, int x0 = 0, int x1 = -1)
{
    if (x1 < 0)
        x1 = img.width();
    int n = 0;
    for (int x = x0; x < x1; ++x)
        n += img.pixel(x, y) == c;
    return n;
}

} // namespace

Q_DECLARE_METATYPE(Placement)
Q_DECLARE_METATYPE(PageScale)

class TstPageRender : public QObject
{
    Q_OBJECT
private slots:
    void aspectRule_data();
    void aspectRule();
    void frameTruncatesLikeTheView_data();
    void frameTruncatesLikeTheView();
    void captionFontHeight_data();
    void captionFontHeight();
    void captionText_data();
    void captionText();
    void drawsExampleFrames_data();
    void drawsExampleFrames();
    void captionAlongDrawnPicture_data();
    void captionAlongDrawnPicture();
    void captionAlikeOnEveryDevice_data();
    void captionAlikeOnEveryDevice();
    void tinyCaptionFont();
    void pageSelectionAndStacking();
    void unusablePlacementsSkipped_data();
    void unusablePlacementsSkipped();
    void printsToPdf();
};

void TstPageRender::aspectRule_data()
{
    QTest::addColumn<QSize>("frame");
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<bool>("keep");
    QTest::addColumn<bool>("cut");
    QTest::addColumn<QRect>("source");
    QTest::addColumn<QSize>("dest");
    const QSize pic(400, 300);
    QTest::newRow("stretch 400x300 into 2x2 inch") << QSize(200, 200) << pic << false << false << QRect(0, 0, 400, 300)
                                                   << QSize(200, 200);
    QTest::newRow("stretch ignores cut") << QSize(200, 200) << pic << false << true << QRect(0, 0, 400, 300)
                                         << QSize(200, 200);
    QTest::newRow("cut 400x300 into 2x2 inch") << QSize(200, 200) << pic << true << true << QRect(50, 0, 300, 300)
                                               << QSize(200, 200);
    QTest::newRow("fit 400x300 into 2x2 inch") << QSize(200, 200) << pic << true << false << QRect(0, 0, 400, 300)
                                               << QSize(200, 150);
    QTest::newRow("fit 400x300 into 100x100") << QSize(100, 100) << pic << true << false << QRect(0, 0, 400, 300)
                                              << QSize(100, 75);
    QTest::newRow("cut 300x400 into 100x100") << QSize(100, 100) << QSize(300, 400) << true << true
                                              << QRect(0, 50, 300, 300) << QSize(100, 100);
    QTest::newRow("fit tall picture limited by the height")
        << QSize(200, 200) << QSize(300, 400) << true << false << QRect(0, 0, 300, 400) << QSize(150, 200);
    QTest::newRow("cut into a one-pixel frame") << QSize(1, 1) << QSize(1, 5000) << true << true
                                                << QRect(0, 2499, 1, 1) << QSize(1, 1);
    QTest::newRow("products past 32 bits") << QSize(100000, 90000) << QSize(60000, 40000) << true << true
                                           << QRect(7778, 0, 44444, 40000) << QSize(100000, 90000);
}

void TstPageRender::aspectRule()
{
    QFETCH(QSize, frame);
    QFETCH(QSize, picture);
    QFETCH(bool, keep);
    QFETCH(bool, cut);
    QFETCH(QRect, source);
    QFETCH(QSize, dest);
    const auto layout = LayoutPlacement(DeviceFrame{7, 9, frame.width(), frame.height()}, picture, keep, cut);
    QVERIFY(layout);
    QCOMPARE(layout->Source, source);
    QCOMPARE(layout->Dest, dest);
    QCOMPARE(layout->Frame.X, 7);
}

void TstPageRender::frameTruncatesLikeTheView_data()
{
    QTest::addColumn<double>("inches");
    QTest::addColumn<int>("zoom");
    QTest::newRow("0.29 inch at 100%") << 0.29 << 100;
    QTest::newRow("0.29 inch at 25%") << 0.29 << 25;
    QTest::newRow("1/3 inch at 300%") << 1.0 / 3 << 300;
    QTest::newRow("2.7 inch at 75%") << 2.7 << 75;
    QTest::newRow("130 mm at 33%") << 130 / MmPerInch << 33;
}

// The arrange view's marks use Geometry::ToView; the picture must land on the same pixels.
void TstPageRender::frameTruncatesLikeTheView()
{
    QFETCH(double, inches);
    QFETCH(int, zoom);
    for (int dpi : {72, 96, 100, 120}) {
        const DeviceFrame f = PlacementFrame(placement(inches, inches, inches, inches, 1, 0, false), ArrangeViewScale(dpi, zoom));
        QCOMPARE(f.X, Geometry::ToView(inches, zoom, dpi));
        QCOMPARE(f.H, Geometry::ToView(inches, zoom, dpi));
    }
    const DeviceFrame preview = PlacementFrame(placement(inches, inches, inches, inches, 1, 0, false), PreviewScale(100, 50));
    QCOMPARE(preview.X, int(100.0L * inches));
    QCOMPARE(preview.Y, int(50.0L * inches));
    QCOMPARE(PlacementFrame(placement(0.29, 0, 0, 0, 1, 0, false), PrintScale(100)).X, 28);
}

void TstPageRender::captionFontHeight_data()
{
    QTest::addColumn<int>("points");
    QTest::addColumn<PageScale>("scale");
    QTest::addColumn<int>("height");
    QTest::newRow("11 pt on a 96 dpi screen") << 11 << PreviewScale(96, 96) << -14;
    QTest::newRow("11 pt at 25% zoom") << 11 << ArrangeViewScale(96, 25) << -3;
    QTest::newRow("11 pt at 5% zoom truncates to 0") << 11 << ArrangeViewScale(96, 5) << 1;
    QTest::newRow("11 pt on a 600 dpi printer") << 11 << PrintScale(600) << -91;
    QTest::newRow("12 pt at 150% zoom") << 12 << ArrangeViewScale(96, 150) << -24;
    QTest::newRow("zero-point font") << 0 << PrintScale(600) << 1;
    QTest::newRow("negative size: a cell height") << -11 << PreviewScale(96, 96) << 14;
    QTest::newRow("lowest int size held, its negation defined")
        << INT_MIN << ArrangeViewScale(96, 9000) << MaxCaptionPixels;
    QTest::newRow("highest int size held") << INT_MAX << PrintScale(600) << -MaxCaptionPixels;
}

void TstPageRender::captionFontHeight()
{
    QFETCH(int, points);
    QFETCH(PageScale, scale);
    QFETCH(int, height);
    QCOMPARE(CaptionFontHeight(points, scale), height);
}

void TstPageRender::captionText_data()
{
    QTest::addColumn<QString>("comment");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("showNames");
    QTest::addColumn<QString>("caption");
    QTest::newRow("comment wins") << "Beach" << "/p/a.jpg" << true << "Beach";
    QTest::newRow("no comment, names off") << "" << "/p/a.jpg" << false << "";
    QTest::newRow("no comment, unix path") << "" << "/home/me/pics/photo.jpg" << true << "photo.jpg";
    QTest::newRow("no comment, windows path") << "" << "C:\\pics\\photo.jpg" << true << "photo.jpg";
    QTest::newRow("no comment, drive only") << "" << "C:photo.jpg" << true << "photo.jpg";
}

void TstPageRender::captionText()
{
    QFETCH(QString, comment);
    QFETCH(QString, fileName);
    QFETCH(bool, showNames);
    QFETCH(QString, caption);
    PictureEntry e;
    e.Comment = comment;
    e.FileName = fileName;
    QCOMPARE(CaptionText(e, showNames), caption);
}

void TstPageRender::drawsExampleFrames_data()
{
    QTest::addColumn<bool>("keep");
    QTest::addColumn<bool>("cut");
    QTest::addColumn<QSize>("drawn");
    QTest::addColumn<int>("firstColumn");
    QTest::addColumn<int>("lastColumn");
    QTest::newRow("stretch 400x300 into 2x2 inch") << false << false << QSize(200, 200) << 0 << 398;
    QTest::newRow("cut 400x300 into 2x2 inch") << true << true << QSize(200, 200) << 50 << 348;
    QTest::newRow("fit 400x300 into 2x2 inch") << true << false << QSize(200, 150) << 0 << 398;
}

void TstPageRender::drawsExampleFrames()
{
    QFETCH(bool, keep);
    QFETCH(bool, cut);
    QFETCH(QSize, drawn);
    QFETCH(int, firstColumn);
    QFETCH(int, lastColumn);
    TArrangement doc;
    const int id = doc.appendPicture(QStringLiteral("/p/a.jpg"), columnsPicture(400, 300));
    addPlacement(doc, placement(0.5, 0.25, 2, 2, 1, id, cut));
    ArrangementOptions o = captionOptions();
    o.Sverh = keep;
    QImage img = canvas();
    {
        TDC dc(&img);
        RenderPage(dc, doc, 1, PrintScale(100), o, PrintSetup());
    }
    const int X = 50, Y = 25;
    QCOMPARE(columnOf(img.pixel(X, Y)), firstColumn);
    QCOMPARE(columnOf(img.pixel(X + drawn.width() - 1, Y + drawn.height() - 1)), lastColumn);
    QCOMPARE(img.pixel(X - 1, Y), Grey);
    QCOMPARE(img.pixel(X, Y - 1), Grey);
    QCOMPARE(img.pixel(X + drawn.width(), Y), Grey);
    QCOMPARE(img.pixel(X, Y + drawn.height()), Grey);
}

void TstPageRender::captionAlongDrawnPicture_data()
{
    QTest::addColumn<QString>("comment");
    QTest::addColumn<bool>("showNames");
    QTest::addColumn<bool>("transparent");
    QTest::addColumn<bool>("filled");
    QTest::newRow("opaque caption") << "Holiday" << false << false << true;
    QTest::newRow("transparent caption") << "Holiday" << false << true << false;
    QTest::newRow("no comment, no file names") << "" << false << false << false;
    QTest::newRow("no comment, file name shown") << "" << true << false << true;
}

// Fit 400x300 into a 2x2 inch frame at 100 dpi: the caption sits on the drawn
// picture's bottom edge at Y + 150, centred on and clipped to its width.
void TstPageRender::captionAlongDrawnPicture()
{
    QFETCH(QString, comment);
    QFETCH(bool, showNames);
    QFETCH(bool, transparent);
    QFETCH(bool, filled);
    TArrangement doc;
    const int id = doc.appendPicture(QStringLiteral("C:\\pics\\WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW.jpg"),
                                     columnsPicture(400, 300));
    doc.Pictures.back().Comment = comment.isEmpty() ? QString() : comment + QStringLiteral(" WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW");
    addPlacement(doc, placement(0.5, 0.25, 2, 2, 1, id, false));
    ArrangementOptions o = captionOptions();
    o.ShowFNames = showNames;
    o.Transp = transparent;
    o.Font.Size = 20;
    QImage img = canvas();
    {
        TDC dc(&img);
        dc.SetBkMode(OPAQUE);
        RenderPage(dc, doc, 1, PrintScale(100), o, PrintSetup());
        QCOMPARE(dc.GetBkMode(), OPAQUE);
    }
    const int X = 50, Y = 25, bottom = Y + 150;
    QCOMPARE(countInRow(img, bottom - 1, Yellow) > 0, filled);
    QCOMPARE(countInRow(img, bottom, Yellow), 0);
    if (filled) {
        // Wider than the picture: clipped exactly at its left and right edges.
        QCOMPARE(img.pixel(X, bottom - 1), Yellow);
        QCOMPARE(img.pixel(X + 199, bottom - 1), Yellow);
        QCOMPARE(img.pixel(X - 1, bottom - 1), Grey);
        QCOMPARE(img.pixel(X + 200, bottom - 1), Grey);
    }
    // Above the caption the picture shows.
    QCOMPARE(qGreen(img.pixel(X + 1, Y + 60)), 200);
}

void TstPageRender::captionAlikeOnEveryDevice_data() { AddDeviceScaleRows(); }

// A caption takes the same share of its picture's width on every device, so
// the arrange view shows what prints: whole there means whole on paper.
void TstPageRender::captionAlikeOnEveryDevice()
{
    QFETCH(PageScale, scale);
    TArrangement doc;
    const int id = doc.appendPicture(QStringLiteral("/p/beach.jpg"), columnsPicture(300, 100));
    doc.Pictures.back().Comment = QStringLiteral("Beach day at the sea");
    addPlacement(doc, placement(0, 0, 3, 1, 1, id, false));
    const ArrangementOptions o = captionOptions(); // 11 points, opaque yellow
    // The share of the picture's width the caption's background spans (its
    // ends: letters reaching into the row cover some of it).
    const auto share = [&](const PageScale &s) {
        const DeviceFrame f = PlacementFrame(doc.Placements.at(0), s);
        const QImage img = FirstFrameDrawn(doc, s, o, QColor(Grey));
        int first = -1, last = -1;
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, f.H - 1) == Yellow) {
                first = first < 0 ? x : first;
                last = x;
            }
        return double(last - first + 1) / f.W;
    };
    const double reference = share(PrintScale(1200));
    const double here = share(scale);
    QVERIFY(reference > 0.3 && reference < 0.9);
    // Within one device pixel of the caption's height at this scale.
    const double slack = 1.5 / PlacementFrame(doc.Placements.at(0), scale).W;
    QVERIFY2(std::abs(here - reference) <= slack,
             qPrintable(QStringLiteral("%1 of the width here, %2 at 1200 dpi").arg(here).arg(reference)));
}

void TstPageRender::tinyCaptionFont()
{
    TArrangement doc;
    const int id = doc.appendPicture(QStringLiteral("/p/a.jpg"), columnsPicture(40, 30));
    doc.Pictures.back().Comment = QStringLiteral("tiny");
    addPlacement(doc, placement(0.1, 0.1, 2, 2, 1, id, false));
    QImage img = canvas();
    TDC dc(&img);
    RenderPage(dc, doc, 1, ArrangeViewScale(96, 5), captionOptions(), PrintSetup());
    QCOMPARE(dc.font().pixelSize(), 1);
    RenderPage(dc, doc, 1, ArrangeViewScale(96, 100), captionOptions(), PrintSetup());
    QCOMPARE(dc.font().pixelSize(), 14);
}

void TstPageRender::pageSelectionAndStacking()
{
    TArrangement doc;
    const int a = doc.appendPicture(QStringLiteral("/p/a.jpg"), columnsPicture(10, 10));
    DIB red;
    newdib(&red, 10, 10, 24, nullptr, 0);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            setpixel(red, x, y, RGB(255, 0, 0));
    const int b = doc.appendPicture(QStringLiteral("/p/b.jpg"), red);
    addPlacement(doc, placement(0.1, 0.1, 1, 1, 1, a, false));
    addPlacement(doc, placement(0.5, 0.5, 1, 1, 1, b, false)); // over the first
    addPlacement(doc, placement(2.0, 2.0, 0.5, 0.5, 2, a, false));
    const ArrangementOptions o = captionOptions();

    QImage page1 = canvas();
    {
        TDC dc(&page1);
        RenderPage(dc, doc, 1, PrintScale(100), o, PrintSetup());
    }
    QCOMPARE(qGreen(page1.pixel(20, 20)), 200);
    QCOMPARE(page1.pixel(60, 60), qRgb(255, 0, 0));
    QCOMPARE(page1.pixel(210, 210), Grey);

    QImage page2 = canvas();
    {
        TDC dc(&page2);
        RenderPage(dc, doc, 2, PrintScale(100), o, PrintSetup());
    }
    QCOMPARE(page2.pixel(20, 20), Grey);
    QCOMPARE(page2.pixel(60, 60), Grey);
    QCOMPARE(qGreen(page2.pixel(210, 210)), 200);

    QImage between = canvas();
    {
        TDC dc(&between);
        RenderPage(dc, doc, 1.5, PrintScale(100), o, PrintSetup());
    }
    QCOMPARE(between, canvas());
}

void TstPageRender::unusablePlacementsSkipped_data()
{
    QTest::addColumn<Placement>("p");
    QTest::addColumn<bool>("emptyPicture");
    QTest::addColumn<int>("zoom");
    QTest::newRow("zero-width frame") << placement(0.5, 0.5, 0.0, 1, 1, 0, true) << false << 100;
    QTest::newRow("frame under a pixel at a low zoom") << placement(0.5, 0.5, 0.05, 1, 1, 0, true) << false << 10;
    QTest::newRow("negative height") << placement(0.5, 0.5, 1, -1, 1, 0, false) << false << 100;
    QTest::newRow("unknown picture") << placement(0.5, 0.5, 1, 1, 1, 99, false) << false << 100;
    QTest::newRow("picture without pixels") << placement(0.5, 0.5, 1, 1, 1, 0, false) << true << 100;
    QTest::newRow("cut width collapses to 0") << placement(0.5, 0.5, 0.01, 2, 1, 0, true) << false << 100;
    QTest::newRow("frame far off the coordinate range") << placement(1e12, 1e12, 1e12, 1e12, 1, 0, true) << false
                                                        << 100;
}

// Nothing drawn, caption included, and no crash.
void TstPageRender::unusablePlacementsSkipped()
{
    QFETCH(Placement, p);
    QFETCH(bool, emptyPicture);
    QFETCH(int, zoom);
    TArrangement doc;
    doc.appendPicture(QStringLiteral("/p/a.jpg"), emptyPicture ? DIB{} : columnsPicture(400, 30));
    doc.Pictures.back().Comment = QStringLiteral("caption");
    addPlacement(doc, p);
    QImage img = canvas();
    {
        TDC dc(&img);
        RenderPage(dc, doc, 1, ArrangeViewScale(100, zoom), captionOptions(), PrintSetup());
    }
    QCOMPARE(img, canvas());
}

// On a printer the device stretches the picture itself; the page must carry it.
void TstPageRender::printsToPdf()
{
    TArrangement doc;
    const int id = doc.appendPicture(QStringLiteral("/p/a.jpg"), columnsPicture(400, 300));
    doc.Pictures.back().Comment = QStringLiteral("Printed");
    addPlacement(doc, placement(0.5, 0.5, 2, 2, 1, id, true));
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("page.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    qint64 emptySize = 0;
    {
        QPrinter blank(QPrinter::HighResolution);
        blank.setOutputFormat(QPrinter::PdfFormat);
        blank.setOutputFileName(dir.filePath(QStringLiteral("blank.pdf")));
        TDC dc(&blank);
    }
    emptySize = QFile(dir.filePath(QStringLiteral("blank.pdf"))).size();
    {
        TDC dc(&printer);
        QCOMPARE(dc.GetDeviceCaps(TECHNOLOGY), DT_RASPRINTER);
        RenderPage(dc, doc, 1, PrintScale(dc.GetDeviceCaps(LOGPIXELSX)), captionOptions(), PrintSetup());
    }
    QVERIFY(QFile(file).size() > emptySize + 10000);
}

SGA_TEST(TstPageRender)
#include "tst_pagerender.moc"
