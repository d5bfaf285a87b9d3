// A test strip prints its steps as labelled: brighter steps brighter, steps
// of more contrast with more spread, each intent step at its own intent.
#include "arrange/TestStrip.h"
#include "common/PageSetup.h"
#include "common/ProfileFixtures.h"
#include "common/TestRegistry.h"
#include "document/ArrangementDocument.h"
#include "output/Exporters.h"
#include "picture/ColourManagement.h"
#include "output/PageRender.h"
#include "platform/Printer.h"


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

int channelDistance(QRgb a, QRgb b)
{
    return std::max({ std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b)) });
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
        QCOMPARE(plan.Labels.size(), plan.Frames.size());
        auto label = plan.Labels.begin();
        for (std::size_t i = 0; i < plan.Frames.size(); ++i, ++label) {
            const SheetPlanFrame& f = plan.Frames[i];
            QCOMPARE(label->second.Lines, labelled[i].label());
            // Inside the frame, clear of its edges.
            const QRect inside = QRectF(f.Left * 100, f.Top * 100, f.Width * 100, f.Height * 100)
                                     .toAlignedRect()
                                     .adjusted(4, 4, -4, -4);
            const auto [mean, spread] = levels(page, inside);
            // The label is printed in the band below the frame.
            const QRect band = QRectF(f.Left * 100, (f.Top + f.Height) * 100, f.Width * 100, 30).toAlignedRect();
            QVERIFY2(levels(page, band).first < 250, qPrintable(QStringLiteral("step %1 has no label").arg(i)));
            const double measured = varies == int(TestStripVaries::Brightness) ? mean : spread;
            QVERIFY2(
                measured > last + 1, qPrintable(QStringLiteral("step %1: %2 after %3").arg(i).arg(measured).arg(last)));
            last = measured;
        }
    }

    // Intent steps print through the printer profile at their own intent, kept
    // with the copies in the arrangement file.
    void intentStepsPrintAtTheirIntent()
    {
        QTemporaryDir dir;
        QImage flat(120, 80, QImage::Format_RGB32);
        flat.fill(qRgb(200, 200, 200));
        const QString file = dir.filePath(QStringLiteral("flat.png"));
        QVERIFY(flat.save(file));
        ArrangementDocument doc;
        QCOMPARE(doc.addPictureFiles({ file }, QStringLiteral("Add")).Added.size(), std::size_t(1));
        TestStripSettings settings;
        settings.Varies = TestStripVaries::Intent;
        const SheetPlan plan = TestStripPlan(settings, QSizeF(8, 3));
        QCOMPARE(int(plan.Frames.size()), 4);
        const PageGeometry paper { 800, 300, 100, 100, 96, 100 };
        QCOMPARE(doc.placeSheet(plan, QStringLiteral("Test strip"), paper, nullptr).Placed, 4);
        const QString saved = dir.filePath(QStringLiteral("strip.sga"));
        QVERIFY(doc.save(saved));
        ArrangementDocument reopened;
        QCOMPARE(reopened.open(saved, paper).Status, ArrangementDocument::OpenStatus::Opened);

        const QByteArray icc = ProfileFixtures::DullPaper();
        TPrinter printer;
        printer.setFixedPage(800, 300, 100, 100);
        printer.setImageOutput(true);
        PrintSetup setup = PrinterPageSetup(printer);
        setup.Colour = ColourConversion::ToPrinter(icc, RenderIntent::Perceptual, false);
        QVERIFY(setup.Colour);
        ExportRequest request;
        request.Pages = { reopened.currentPage() };
        QCOMPARE(PrinterExporter(&printer)->run(reopened.records(), reopened.options(), setup, request).Result,
            ExportResult::Done);
        QCOMPARE(printer.pageImages().size(), std::size_t(1));
        const QImage page = printer.pageImages().front();
        std::vector<QRgb> expected;
        for (int intent = 0; intent < 4; ++intent) {
            QImage pixel(1, 1, QImage::Format_RGB32);
            pixel.fill(flat.pixel(0, 0));
            ColourConversion::ToPrinter(icc, RenderIntent(intent), false)->apply(pixel);
            expected.push_back(pixel.pixel(0, 0));
        }
        QVERIFY(channelDistance(expected[1], expected[3]) > 8); // else the test could not tell them apart
        for (int i = 0; i < 4; ++i) {
            const DeviceFrame f = PlacementFrame(reopened.records().Placements.at(i), PrintScale(100));
            const QRgb printed = page.pixel(f.X + f.W / 2, f.Y + f.H / 2);
            QVERIFY2(channelDistance(printed, expected[std::size_t(i)]) <= 2,
                qPrintable(QStringLiteral("step %1 printed %2, its intent gives %3")
                               .arg(i)
                               .arg(printed, 0, 16)
                               .arg(expected[std::size_t(i)], 0, 16)));
        }
    }
};

SGA_TEST(TestTestStrip)
#include "tst_teststrip.moc"
