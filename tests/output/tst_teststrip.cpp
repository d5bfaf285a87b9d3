// A test strip prints its steps as labelled: brighter steps brighter, steps
// of more contrast with more spread.
#include "arrange/TestStrip.h"
#include "common/PageSetup.h"
#include "common/TestRegistry.h"
#include "document/ArrangementDocument.h"
#include "output/Exporters.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

namespace {
// Mean and spread of the grey levels inside a frame of the page image.
std::pair<double, double> levels(const QImage& page, const QRect& frame)
{
    double sum = 0, squares = 0;
    int n = 0;
    for (int y = frame.top(); y <= frame.bottom(); ++y)
        for (int x = frame.left(); x <= frame.right(); ++x) {
            const int v = qGray(page.pixel(x, y));
            sum += v;
            squares += double(v) * v;
            ++n;
        }
    const double mean = sum / n;
    return { mean, std::sqrt(std::max(0.0, squares / n - mean * mean)) };
}
} // namespace

class TestTestStrip : public QObject {
    Q_OBJECT
private slots:
    void stepsPrintAsLabelled_data()
    {
        QTest::addColumn<int>("varies");
        QTest::addColumn<int>("steps");
        QTest::addColumn<int>("size");
        QTest::newRow("five steps of brightness") << int(TestStripVaries::Brightness) << 5 << 15;
        QTest::newRow("three steps of contrast") << int(TestStripVaries::Contrast) << 3 << 40;
    }
    void stepsPrintAsLabelled()
    {
        QFETCH(int, varies);
        QFETCH(int, steps);
        QFETCH(int, size);
        QTemporaryDir dir;
        QImage ramp(300, 200, QImage::Format_RGB32);
        QPainter paint(&ramp);
        QLinearGradient grey(0, 0, 300, 0);
        grey.setColorAt(0, QColor(60, 60, 60));
        grey.setColorAt(1, QColor(190, 190, 190));
        paint.fillRect(ramp.rect(), grey);
        paint.end();
        const QString file = dir.filePath(QStringLiteral("ramp.png"));
        QVERIFY(ramp.save(file));
        ArrangementDocument doc;
        QCOMPARE(doc.addPictureFiles({ file }, QStringLiteral("Add")).Added.size(), std::size_t(1));

        TestStripSettings settings;
        settings.Steps = steps;
        settings.StepSize = size;
        settings.Varies = TestStripVaries(varies);
        const SheetPlan plan = TestStripPlan(settings, QSizeF(8, 10.5));
        QCOMPARE(int(plan.Frames.size()), steps);
        const PageGeometry paper { 4800, 6300, 600, 600, 96, 100 };
        QCOMPARE(doc.placeSheet(plan, QStringLiteral("Test strip"), paper, nullptr).Placed, steps);

        ExportRequest job;
        job.Pages = { doc.currentPage() };
        job.FileName = dir.filePath(QStringLiteral("strip.png"));
        job.Dpi = 100;
        QCOMPARE(
            PictureFilesExporter()->run(doc.records(), doc.options(), BarePageSetup(4800, 6300, 600, 600), job).Result,
            ExportResult::Done);
        const QImage page(job.FileName);
        QVERIFY(!page.isNull());
        const std::vector<TestStripStep> labelled = TestStripSteps(settings);
        double last = -1;
        for (std::size_t i = 0; i < plan.Frames.size(); ++i) {
            const SheetPlanFrame& f = plan.Frames[i];
            QCOMPARE(f.Caption.Lines, labelled[i].label());
            // Inside the frame, clear of its edges.
            const QRect inside = QRectF(f.Left * 100, f.Top * 100, f.Width * 100, f.Height * 100)
                                     .toAlignedRect()
                                     .adjusted(4, 4, -4, -4);
            const auto [mean, spread] = levels(page, inside);
            const double measured = varies == int(TestStripVaries::Brightness) ? mean : spread;
            QVERIFY2(
                measured > last + 1, qPrintable(QStringLiteral("step %1: %2 after %3").arg(i).arg(measured).arg(last)));
            last = measured;
        }
    }
};

SGA_TEST(TestTestStrip)
#include "tst_teststrip.moc"
