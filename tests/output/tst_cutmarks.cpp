#include "arrange/SheetLayout.h"
#include "common/PageSetup.h"
#include "common/TestRegistry.h"
#include "document/Arrangement.h"
#include "document/Options.h"
#include "document/PageGeometry.h"
#include "output/CutMarks.h"
#include "output/Exporters.h"
#include "output/PrintPreview.h"
#include "platform/Printer.h"

#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {
using Frames = QList<QRect>;

std::vector<DeviceFrame> ToDevice(const Frames &frames)
{
    std::vector<DeviceFrame> out;
    for (const QRect &r : frames)
        out.push_back({r.x(), r.y(), r.width(), r.height()});
    return out;
}

bool Dark(QRgb c) { return qRed(c) < 100 && qGreen(c) < 100 && qBlue(c) < 100; }
bool Reddish(QRgb c) { return qRed(c) > 200 && qGreen(c) < 80 && qBlue(c) < 80; }

DIB Solid(COLORREF colour)
{
    DIB d;
    newdib(&d, 8, 8, 24, nullptr, 0);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            setpixel(d, x, y, colour);
    return d;
}

// A sheet of frames as placements on page 1, showing picture id (-1: none).
void PlaceFrames(TArrangement &doc, const SheetLayout &layout, int pictureId)
{
    for (const SheetFrame &f : layout.Frames) {
        if (f.Sheet != 0)
            continue;
        Placement *p = doc.Placements.Append();
        *p = Placement{};
        p->Left = f.Rect.left() / MmPerInch;
        p->Top = f.Rect.top() / MmPerInch;
        p->Width = f.Rect.width() / MmPerInch;
        p->Height = f.Rect.height() / MmPerInch;
        p->Page = 1;
        p->PictureId = pictureId;
        p->Cut = 1;
    }
}

// An arrangement's options with cut marks on.
ArrangementOptions Marked()
{
    ArrangementOptions o;
    o.CutMarks = true;
    return o;
}

// Rows [y0, y1] and columns [x0, x1) of img hold a dark pixel.
bool DarkIn(const QImage &img, int x0, int x1, int y0, int y1)
{
    for (int y = std::max(0, y0); y <= std::min(img.height() - 1, y1); ++y)
        for (int x = std::max(0, x0); x < std::min(img.width(), x1); ++x)
            if (Dark(img.pixel(x, y)))
                return true;
    return false;
}
} // namespace

class TestCutMarks : public QObject
{
    Q_OBJECT
private slots:
    // The geometry alone: how many marks, none touching a frame or a text,
    // none drawn twice.
    void markRects_data()
    {
        QTest::addColumn<Frames>("frames");
        QTest::addColumn<int>("marks");
        QTest::addColumn<Frames>("texts");
        QTest::newRow("a caption below the frame stops the marks into it")
            << Frames { { 100, 100, 200, 300 } } << 6 << Frames { { 100, 402, 200, 40 } };
        QTest::newRow("a header across the page stops the marks up into it")
            << Frames { { 100, 100, 200, 300 }, { 330, 100, 200, 300 } } << 10 << Frames { { 0, 40, 1000, 50 } };
        QTest::newRow("one frame: two per edge") << Frames { { 100, 100, 200, 300 } } << 8 << Frames {};
        QTest::newRow("frames sharing an edge mark it once")
            << Frames { { 100, 100, 200, 300 }, { 300, 100, 200, 300 } } << 10 << Frames {};
        QTest::newRow("marks meeting in a gap merge")
            << Frames { { 100, 100, 200, 300 }, { 330, 100, 200, 300 } } << 14 << Frames {};
        QTest::newRow("gap narrower than the clearance leaves no mark in it")
            << Frames { { 100, 100, 200, 300 }, { 305, 100, 200, 300 } } << 12 << Frames {};
        QTest::newRow("2 x 2 grid without gaps")
            << Frames { { 0, 0, 50, 50 }, { 50, 0, 50, 50 }, { 0, 50, 50, 50 }, { 50, 50, 50, 50 } } << 12 << Frames {};
        QTest::newRow("empty frame has no marks") << Frames { { 100, 100, 0, 300 } } << 0 << Frames {};
        QTest::newRow("frame at the coordinate limit")
            << Frames { { 2147483500, 2147483500, 140, 140 } } << 8 << Frames {};
    }
    void markRects()
    {
        QFETCH(Frames, frames);
        QFETCH(int, marks);
        QFETCH(Frames, texts);
        const std::vector<QRect> rects = CutMarkRects(ToDevice(frames), 3, 36, 6, { texts.begin(), texts.end() });
        QCOMPARE(int(rects.size()), marks);
        for (std::size_t i = 0; i < rects.size(); ++i) {
            for (const QRect &f : frames)
                QVERIFY2(!rects[i].intersects(f), qPrintable(QStringLiteral("mark %1 touches a frame").arg(i)));
            for (const QRect& t : texts)
                QVERIFY2(!rects[i].intersects(t), qPrintable(QStringLiteral("mark %1 crosses a text").arg(i)));
            for (std::size_t j = i + 1; j < rects.size(); ++j)
                QVERIFY2(!rects[i].intersects(rects[j]), qPrintable(QStringLiteral("marks %1 and %2 overlap").arg(i).arg(j)));
        }
    }

    // A page rendered with marks: no mark pixel in any frame, and both ends of
    // every trim edge marked.
    void renderedPage_data()
    {
        QTest::addColumn<QSizeF>("paper"); // mm
        QTest::addColumn<QSizeF>("frame");
        QTest::addColumn<double>("gap");
        QTest::addColumn<int>("dpi");
        QTest::newRow("ID photos on 4x6 in at 600 dpi")
            << QSizeF(4 * MmPerInch, 6 * MmPerInch) << QSizeF(35, 45) << 2.0 << 600;
        QTest::newRow("wallets on A4 at 300 dpi") << QSizeF(210, 297) << QSizeF(2 * MmPerInch, 3 * MmPerInch) << 3.0 << 300;
        QTest::newRow("ID photos without gaps at 600 dpi")
            << QSizeF(4 * MmPerInch, 6 * MmPerInch) << QSizeF(35, 45) << 0.0 << 600;
    }
    void renderedPage()
    {
        QFETCH(QSizeF, paper);
        QFETCH(QSizeF, frame);
        QFETCH(double, gap);
        QFETCH(int, dpi);
        TArrangement doc;
        PlaceFrames(doc, FillSheets(WholeSheet(paper.width(), paper.height()), {5, gap}, frame, 0), -1);
        const int pageW = int(paper.width() / MmPerInch * 600), pageH = int(paper.height() / MmPerInch * 600);
        const QImage img = RenderPageImage(doc, 1, dpi, Marked(), BarePageSetup(pageW, pageH, 600, 600));
        QVERIFY(!img.isNull());
        const PageScale scale = PrintScale(dpi);
        const int reach = int(std::lround((CutMarkStyle().Offset + CutMarkStyle().Length) / MmPerInch * dpi));
        int marked = 0;
        for (int i = 0; i < doc.Placements.size(); ++i) {
            const DeviceFrame f = PlacementFrame(doc.Placements.at(i), scale);
            QVERIFY2(!DarkIn(img, f.X, f.X + f.W, f.Y, f.Y + f.H - 1),
                     qPrintable(QStringLiteral("a mark inside frame %1").arg(i)));
            if (gap == 0)
                continue;
            // Beyond each corner, along each of the two edges meeting there.
            for (const int y : {f.Y, f.Y + f.H}) {
                QVERIFY(DarkIn(img, f.X - reach, f.X, y - 1, y + 1));
                QVERIFY(DarkIn(img, f.X + f.W, f.X + f.W + reach, y - 1, y + 1));
            }
            for (const int x : {f.X, f.X + f.W}) {
                QVERIFY(DarkIn(img, x - 1, x + 2, f.Y - reach, f.Y - 1));
                QVERIFY(DarkIn(img, x - 1, x + 2, f.Y + f.H, f.Y + f.H + reach));
            }
            ++marked;
        }
        QVERIFY(doc.Placements.size() > 1);
        // Without gaps the outer trim lines are still marked in the margin.
        QVERIFY(DarkIn(img, 0, img.width(), 0, img.height() - 1));
    }

    // A filled sheet printed to PDF: a 35 x 45 mm frame is 827 x 1063 printer
    // pixels (+-1) at 600 dpi, its marks print, and no mark lies in it.
    void printedPdf()
    {
        const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
        if (pdftoppm.isEmpty())
            QSKIP("poppler-utils are not installed");
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("sheet.pdf"));
        TArrangement doc;
        const int red = doc.appendPicture(QStringLiteral("/p/red.bmp"), Solid(RGB(255, 0, 0)));
        const SheetLayout layout = FillSheets(WholeSheet(4 * MmPerInch, 6 * MmPerInch), {3, 2}, {45, 35}, 0);
        PlaceFrames(doc, layout, red);
        ExportRequest request;
        request.Pages = {1};
        request.FileName = file;
        request.Title = QStringLiteral("sheet");
        QCOMPARE(PdfFileExporter()->run(doc, Marked(), BarePageSetup(2400, 3600, 600, 600), request).Result,
                 ExportResult::Done);

        QProcess ppm;
        ppm.start(pdftoppm, {QStringLiteral("-r"), QStringLiteral("600"), QStringLiteral("-png"),
                             QStringLiteral("-singlefile"), file, dir.filePath(QStringLiteral("sheet"))});
        QVERIFY(ppm.waitForFinished(120000));
        const QImage img(dir.filePath(QStringLiteral("sheet.png")));
        QCOMPARE(img.size(), QSize(2400, 3600));
        const DeviceFrame f = PlacementFrame(doc.Placements.at(0), PrintScale(600));
        int w = 0, h = 0;
        for (int x = f.X - 5; x < f.X + f.W + 5; ++x)
            w += Reddish(img.pixel(x, f.Y + f.H / 2));
        for (int y = f.Y - 5; y < f.Y + f.H + 5; ++y)
            h += Reddish(img.pixel(f.X + f.W / 2, y));
        const QSizeF mm = layout.Frames.front().Rect.size();
        QCOMPARE(mm.width() + mm.height(), 80.0); // 35 x 45, turned or not
        const int wantW = int(std::lround(mm.width() / MmPerInch * 600));
        const int wantH = int(std::lround(mm.height() / MmPerInch * 600));
        QVERIFY2(std::abs(w - wantW) <= 1 && std::abs(h - wantH) <= 1,
                 qPrintable(QStringLiteral("%1 x %2 px").arg(w).arg(h)));
        QVERIFY(DarkIn(img, f.X - 80, f.X, f.Y - 2, f.Y + 2));
        QVERIFY(!DarkIn(img, f.X + 2, f.X + f.W - 2, f.Y + 2, f.Y + f.H - 3));
    }

    // A 2 x 2 inch frame exported at 300 dpi is 600 x 600 pixels.
    void exportedFrame()
    {
        TArrangement doc;
        const int red = doc.appendPicture(QStringLiteral("/p/red.bmp"), Solid(RGB(255, 0, 0)));
        PlaceFrames(doc, FillSheets(WholeSheet(4 * MmPerInch, 6 * MmPerInch), {3, 2}, {2 * MmPerInch, 2 * MmPerInch}, 1),
                    red);
        const QImage img = RenderPageImage(doc, 1, 300, ArrangementOptions{}, BarePageSetup(2400, 3600, 600, 600));
        const DeviceFrame f = PlacementFrame(doc.Placements.at(0), PrintScale(300));
        int w = 0, h = 0;
        for (int x = 0; x < img.width(); ++x)
            w += Reddish(img.pixel(x, f.Y + f.H / 2));
        for (int y = 0; y < img.height(); ++y)
            h += Reddish(img.pixel(f.X + f.W / 2, y));
        QVERIFY2(std::abs(w - 600) <= 1 && std::abs(h - 600) <= 1, qPrintable(QStringLiteral("%1 x %2 px").arg(w).arg(h)));
    }
};

SGA_TEST(TestCutMarks)
#include "tst_cutmarks.moc"
