#include "common/PageSetup.h"
#include "common/TestRegistry.h"
#include "document/Arrangement.h"
#include "document/Options.h"
#include "output/Exporters.h"
#include "output/PrintPreview.h"
#include "picture/Orientation.h"

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

namespace {
constexpr int Dpi = 100;
constexpr double PageInches = 3;

// Smooth across and down with a block in one corner, so any wrong turn or
// mirror moves most pixels by many levels.
DIB patternPicture(int w, int h)
{
    DIB d;
    newdib(&d, w, h, 24, nullptr, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool corner = x < w / 3 && y < h / 3;
            setpixel(d, x, y, RGB(x * 255 / w, y * 255 / h, corner ? 230 : 40));
        }
    return d;
}

enum class Output { Views, Png, Pdf };

// The page with one picture in a frame that shows it turned by `turns` (or
// the picture already turned when `turns` is 0 and `dib` was turned), cut to
// the frame under a zoomed view of the picture as the frame shows it.
QImage page(const DIB& dib, int turns, Output output, const QString& folder)
{
    TArrangement doc;
    const int id = doc.appendPicture(QStringLiteral("pattern.bmp"), dib);
    Placement* p = doc.Placements.Append();
    *p = Placement {};
    const bool upright = ((DibWidth(dib) > DibHeight(dib)) != bool(turns & 1));
    p->Left = 0.4;
    p->Top = 0.3;
    p->Width = upright ? 2 : 1.5;
    p->Height = upright ? 1.5 : 2;
    p->Page = 1;
    p->PictureId = id;
    p->Cut = 1;
    p->View = FrameView { 0.42, 0.58, 1.3 };
    p->Turn = turns;
    ArrangementOptions options;
    options.Sverh = true;
    const PrintSetup setup = BarePageSetup(int(PageInches * Dpi), int(PageInches * Dpi), Dpi, Dpi);
    if (output == Output::Views)
        return RenderPageImage(doc, 1, Dpi, options, setup).convertToFormat(QImage::Format_RGB32);
    ExportRequest job;
    job.Pages = { 1 };
    job.Format = output == Output::Pdf ? ExportFormat::Pdf : ExportFormat::Png;
    job.FileName = folder + (output == Output::Pdf ? QStringLiteral("/page.pdf") : QStringLiteral("/page.png"));
    job.Dpi = Dpi;
    if (FileExporter(job.Format)->run(doc, options, setup, job).Result != ExportResult::Done)
        return {};
    if (output == Output::Png)
        return QImage(job.FileName).convertToFormat(QImage::Format_RGB32);
    QProcess ppm;
    ppm.start(QStandardPaths::findExecutable(QStringLiteral("pdftoppm")),
        { "-r", QString::number(Dpi), "-png", "-singlefile", job.FileName, folder + QStringLiteral("/ppm") });
    if (!ppm.waitForFinished(60000))
        return {};
    return QImage(folder + QStringLiteral("/ppm.png")).convertToFormat(QImage::Format_RGB32);
}

// Over the pixels either page draws on; the white paper counts for nothing.
double meanDifference(const QImage& a, const QImage& b)
{
    double sum = 0;
    qint64 n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if ((p & 0xFFFFFF) == 0xFFFFFF && (q & 0xFFFFFF) == 0xFFFFFF)
                continue;
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
            n += 3;
        }
    return n > 0 ? sum / double(n) : 255;
}
} // namespace

Q_DECLARE_METATYPE(Output)

class TestFrameTurns : public QObject {
    Q_OBJECT
private slots:
    // A frame turning its picture shows what an upright frame shows of the
    // picture turned beforehand, on every output and under a zoomed view.
    void turnedFrameShowsThePictureTurned_data()
    {
        QTest::addColumn<Output>("output");
        QTest::addColumn<int>("turns");
        const std::pair<const char*, Output> outputs[]
            = { { "views", Output::Views }, { "picture export", Output::Png }, { "PDF", Output::Pdf } };
        for (const auto& [name, output] : outputs)
            for (int turns = 0; turns < 4; ++turns)
                QTest::addRow("%s, %d quarter turns", name, turns) << output << turns;
    }
    void turnedFrameShowsThePictureTurned()
    {
        QFETCH(Output, output);
        QFETCH(int, turns);
        if (output == Output::Pdf && QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
            QSKIP("poppler-utils are not installed");
        QTemporaryDir dir;
        const DIB picture = patternPicture(480, 360);
        DIB turned = picture;
        QVERIFY(TurnQuarters(turned, turns));
        const QImage framed = page(picture, turns, output, dir.path());
        const QImage expected = page(turned, 0, output, dir.path());
        QVERIFY(!framed.isNull() && framed.size() == expected.size());
        const double mean = meanDifference(framed, expected);
        qInfo("mean difference %.2f levels", mean);
        QVERIFY2(mean <= 1.5, qPrintable(QStringLiteral("mean difference %1 levels").arg(mean)));
    }
};

SGA_TEST(TestFrameTurns)
#include "tst_frameturns.moc"
