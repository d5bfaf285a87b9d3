#include "common/PageSetup.h"
#include "common/TestRegistry.h"
#include "document/Arrangement.h"
#include "document/FrameView.h"
#include "document/Options.h"
#include "output/Exporters.h"
#include "output/PageRender.h"

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

namespace {
// A light grey picture with dark lines 6 pixels wide centred on every
// multiple of 100 pixels plus 50, across and down.
constexpr int Spacing = 100;
DIB gridPicture(int w, int h)
{
    DIB d;
    newdib(&d, w, h, 24, nullptr, 0);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const bool line = std::abs(x % Spacing - 50) < 3 || std::abs(y % Spacing - 50) < 3;
            // setpixel counts rows from the bottom; the grid is symmetric in y anyway.
            setpixel(d, x, y, line ? RGB(0, 0, 0) : RGB(200, 200, 200));
        }
    }
    return d;
}

// 1 x 1 inch from the printable area's corner, 2 x 1.5 inches, at 600 dpi.
const QRect Frame(600, 600, 1200, 900);
// More pixels than the printer puts into the frame, as a photograph has.
const QSize PictureSize(4800, 3600);
const FrameView View{0.3, 0.62, 2.3};

int darkness(QRgb c) { return 255 - qGray(c); }

// The darkness-weighted centre of the pixels [from, to) along a row (or column).
double centroid(const QImage &img, bool across, int at, int from, int to)
{
    double sum = 0, weight = 0;
    for (int i = from; i < to; ++i) {
        const int d = darkness(across ? img.pixel(i, at) : img.pixel(at, i));
        const int w = d > 60 ? d - 60 : 0; // the grey between lines counts for nothing
        sum += (i + 0.5) * w;
        weight += w;
    }
    return weight > 0 ? sum / weight : -1;
}

// Largest distance between where each grid line lies in `page` (page pixels,
// `origin` the page pixel at the image's top-left) and where the view puts it.
double worstLineError(const QImage &img, QPoint origin)
{
    const QRectF shown = ViewRect(QSizeF(PictureSize), double(Frame.width()) / Frame.height(), true, View);
    const double sx = Frame.width() / shown.width(), sy = Frame.height() / shown.height();
    double worst = 0;
    auto check = [&](bool across, double srcFrom, double scale, int frameFrom, int frameSize, int atLine) {
        for (int k = 0; k * Spacing + 50 < 10000; ++k) {
            // A line's pixels 48..52 have their middle at 50.5.
            const double expected = frameFrom + (k * Spacing + 50.5 - srcFrom) * scale;
            if (expected < frameFrom + 20 || expected > frameFrom + frameSize - 20)
                continue;
            const int half = int(Spacing * scale / 2);
            const double found = centroid(img, across, atLine, int(expected) - half - (across ? origin.x() : origin.y()),
                                          int(expected) + half - (across ? origin.x() : origin.y())) +
                                 (across ? origin.x() : origin.y());
            worst = std::max(worst, std::abs(found - expected));
        }
    };
    // Rows and columns between the lines, so each cut crosses only the other kind.
    const int midY = Frame.top() + int((std::floor(shown.top() / Spacing) + 1 - shown.top() / Spacing) * Spacing * sy);
    const int midX =
        Frame.left() + int((std::floor(shown.left() / Spacing) + 1 - shown.left() / Spacing) * Spacing * sx);
    check(true, shown.left(), sx, Frame.left(), Frame.width(), midY - origin.y());
    check(false, shown.top(), sy, Frame.top(), Frame.height(), midX - origin.x());
    // The picture fills the frame to its last pixel, and nothing beyond it.
    const QPoint inner[] = {Frame.topLeft(), Frame.bottomRight()};
    for (const QPoint &p : inner)
        if (darkness(img.pixel(p - origin)) < 20)
            worst = std::max(worst, 99.0);
    for (const QPoint &p : {Frame.topLeft() - QPoint(1, 1), Frame.bottomRight() + QPoint(1, 1)})
        if (darkness(img.pixel(p - origin)) > 10)
            worst = std::max(worst, 99.0);
    return worst;
}
} // namespace

class TestFrameViewOutput : public QObject
{
    Q_OBJECT
private slots:
    // A chosen view exported at 600 dpi and printed to PDF puts every grid
    // line where the view's rectangle says, to the devices' own sampling.
    void exportedAndPrintedAtTheView_data()
    {
        QTest::addColumn<int>("format");
        QTest::newRow("picture at 600 dpi") << int(ExportFormat::Png);
        QTest::newRow("PDF rendered at 600 dpi") << int(ExportFormat::Pdf);
    }
    void exportedAndPrintedAtTheView()
    {
        QFETCH(int, format);
        QTemporaryDir dir;
        TArrangement doc;
        const int id = doc.appendPicture(QStringLiteral("grid.bmp"), gridPicture(PictureSize.width(),
                                                                                  PictureSize.height()));
        Placement *p = doc.Placements.Append();
        p->Left = 1;
        p->Top = 1;
        p->Width = 2;
        p->Height = 1.5;
        p->Page = 1;
        p->PictureId = id;
        p->Cut = 1;
        p->View = View;
        ArrangementOptions options;
        options.Sverh = true;
        ExportRequest job;
        job.Pages = {1};
        job.Format = ExportFormat(format);
        job.FileName = dir.filePath(job.Format == ExportFormat::Pdf ? QStringLiteral("page.pdf")
                                                                    : QStringLiteral("page.png"));
        job.Dpi = 600;
        QCOMPARE(FileExporter(job.Format)->run(doc, options, BarePageSetup(4800, 6600, 600, 600), job).Result,
                 ExportResult::Done);

        QImage img;
        QPoint origin;
        if (job.Format == ExportFormat::Pdf) {
            const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
            if (pdftoppm.isEmpty())
                QSKIP("poppler-utils are not installed");
            origin = Frame.topLeft() - QPoint(50, 50);
            QProcess ppm;
            ppm.start(pdftoppm, {"-r", "600", "-x", QString::number(origin.x()), "-y", QString::number(origin.y()),
                                 "-W", "1300", "-H", "1000", "-png", "-singlefile", job.FileName,
                                 dir.filePath(QStringLiteral("crop"))});
            QVERIFY(ppm.waitForFinished(120000));
            img = QImage(dir.filePath(QStringLiteral("crop.png")));
        } else {
            img = QImage(job.FileName);
        }
        QVERIFY(!img.isNull());
        // The PDF reader stretches an image placed between its pixels by up
        // to one pixel; a misplaced view would move lines by many.
        const double worst = worstLineError(img, origin);
        qInfo("worst line error: %.2f printer pixels", worst);
        if (worst > 1.0)
            img.save(QDir::temp().filePath(QStringLiteral("frameview-actual.png")));
        QVERIFY2(worst <= 1.0, qPrintable(QStringLiteral("worst line error %1 printer pixels").arg(worst)));
    }
};

SGA_TEST(TestFrameViewOutput)
#include "tst_frameviewoutput.moc"
