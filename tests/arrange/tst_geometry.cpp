#include "common/WindowParts.h"
#include "arrange/Geometry.h"
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "platform/Printer.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QSpinBox>
#include <QTest>

#include <cmath>

using namespace Geometry;

class TestGeometry : public QObject
{
    Q_OBJECT
private slots:
    void viewSize_data()
    {
        QTest::addColumn<int>("pageW");
        QTest::addColumn<int>("pageH");
        QTest::addColumn<int>("printerDpi");
        QTest::addColumn<int>("screenDpi");
        QTest::addColumn<int>("zoom");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("4800x6600 at 600 dpi, 96 dpi, zoom 25") << 4800 << 6600 << 600 << 96 << 25 << QSize(192, 264);
        QTest::newRow("same page at zoom 100") << 4800 << 6600 << 600 << 96 << 100 << QSize(768, 1056);
        QTest::newRow("A4 printable area truncates") << 4760 << 6814 << 600 << 96 << 25 << QSize(190, 272);
        // 4803 * 96 / 600 = 768.48 screen pixels; dividing in integers first would give 1920.
        QTest::newRow("fraction kept before zoom") << 4803 << 6600 << 600 << 96 << 250 << QSize(1921, 2640);
        QTest::newRow("120 dpi screen") << 4800 << 6600 << 600 << 120 << 50 << QSize(480, 660);
        QTest::newRow("printer without resolution") << 4800 << 6600 << 0 << 96 << 25 << QSize(0, 0);
    }
    void viewSize()
    {
        QFETCH(int, pageW);
        QFETCH(int, pageH);
        QFETCH(int, printerDpi);
        QFETCH(int, screenDpi);
        QFETCH(int, zoom);
        QFETCH(QSize, expected);
        QCOMPARE(ViewSize(pageW, pageH, printerDpi, screenDpi, zoom), expected);
    }

    void toView_data()
    {
        QTest::addColumn<double>("inch");
        QTest::addColumn<int>("zoom");
        QTest::addColumn<int>("screenDpi");
        QTest::addColumn<int>("expected");
        QTest::newRow("1 inch at zoom 100") << 1.0 << 100 << 96 << 96;
        QTest::newRow("-0.01 inch truncates to 0") << -0.01 << 100 << 96 << 0;
        QTest::newRow("-0.02 inch truncates toward zero") << -0.02 << 100 << 96 << -1;
        QTest::newRow("0.59 inch at zoom 25") << 0.59 << 25 << 96 << 14;
        QTest::newRow("5.12 inch at zoom 25") << 5.12 << 25 << 96 << 122;
        QTest::newRow("absurd value clamps") << 1e300 << 100 << 96 << std::numeric_limits<int>::max();
        QTest::newRow("absurd negative clamps") << -1e300 << 100 << 96 << std::numeric_limits<int>::min();
        QTest::newRow("NaN is 0") << std::nan("") << 100 << 96 << 0;
    }
    void toView()
    {
        QFETCH(double, inch);
        QFETCH(int, zoom);
        QFETCH(int, screenDpi);
        QFETCH(int, expected);
        QCOMPARE(ToView(inch, zoom, screenDpi), expected);
    }

    void fromView_data()
    {
        QTest::addColumn<int>("pixels");
        QTest::addColumn<int>("zoom");
        QTest::addColumn<int>("screenDpi");
        QTest::addColumn<double>("expected");
        QTest::newRow("96 pixels at zoom 100") << 96 << 100 << 96 << 1.0;
        QTest::newRow("1 pixel at zoom 25") << 1 << 25 << 96 << 100.0 / 25 / 96;
        QTest::newRow("negative") << -48 << 100 << 96 << -0.5;
        // p * 100 does not fit 32 bits.
        QTest::newRow("large pixel value") << 30000000 << 100 << 96 << 312500.0;
        QTest::newRow("zero zoom") << 96 << 0 << 96 << 0.0;
    }
    void fromView()
    {
        QFETCH(int, pixels);
        QFETCH(int, zoom);
        QFETCH(int, screenDpi);
        QFETCH(double, expected);
        QCOMPARE(FromView(pixels, zoom, screenDpi), expected);
    }

    void snapToGrid_data()
    {
        QTest::addColumn<double>("inch");
        QTest::addColumn<bool>("useGrid");
        QTest::addColumn<double>("gridMm");
        QTest::addColumn<double>("expectedMm");
        QTest::newRow("0.1 inch snaps to 5 mm") << 0.1 << true << 5.0 << 5.0;
        QTest::newRow("0.0492 inch snaps to 0") << 0.0492 << true << 5.0 << 0.0;
        QTest::newRow("half step ties to even 0") << 0.5 * 5 / MmPerInch << true << 5.0 << 0.0;
        QTest::newRow("1.5 steps ties to even 2") << 1.5 * 5 / MmPerInch << true << 5.0 << 10.0;
        QTest::newRow("2.5 steps ties to even 2") << 2.5 * 5 / MmPerInch << true << 5.0 << 10.0;
        QTest::newRow("-1.5 steps ties to even -2") << -1.5 * 5 / MmPerInch << true << 5.0 << -10.0;
        QTest::newRow("snapping off keeps value") << 0.1 << false << 5.0 << 0.1 * MmPerInch;
        QTest::newRow("fine grid") << 1.0 << true << 0.01 << 25.40;
    }
    void snapToGrid()
    {
        QFETCH(double, inch);
        QFETCH(bool, useGrid);
        QFETCH(double, gridMm);
        QFETCH(double, expectedMm);
        const double snapped = SnapToGrid(inch, useGrid, gridMm);
        QVERIFY2(std::abs(snapped - expectedMm / MmPerInch) < 1e-12, qPrintable(QString::number(snapped, 'g', 17)));
    }

    // The dense-grid shortcut must give the same pixels as visiting every point.
    void gridPositions_data()
    {
        QTest::addColumn<int>("pageLength");
        QTest::addColumn<double>("gridMm");
        QTest::addColumn<int>("zoom");
        QTest::addColumn<int>("expectedCount");
        QTest::newRow("5 mm at zoom 100") << 4800 << 5.0 << 100 << 41;
        QTest::newRow("5 mm at zoom 25") << 4800 << 5.0 << 25 << 41;
        QTest::newRow("0.01 mm at zoom 25 hits every column") << 4800 << 0.01 << 25 << 192;
        QTest::newRow("0.2 mm at zoom 10, about a pixel apart") << 4800 << 0.2 << 10 << -1;
        QTest::newRow("0.1 mm at zoom 10, half a pixel apart") << 4800 << 0.1 << 10 << -1;
        QTest::newRow("1 mm at zoom 10") << 6600 << 1.0 << 10 << -1;
    }
    void gridPositions()
    {
        QFETCH(int, pageLength);
        QFETCH(double, gridMm);
        QFETCH(int, zoom);
        QFETCH(int, expectedCount);
        const int dpi = 600, screen = 96;
        std::vector<int> naive;
        const int steps = GridSteps(pageLength, dpi, gridMm);
        for (int i = 0; i <= steps; ++i) {
            const int p = ToView(i * gridMm / MmPerInch, zoom, screen);
            if (naive.empty() || naive.back() != p)
                naive.push_back(p);
        }
        const std::vector<int> got = GridViewPositions(pageLength, dpi, gridMm, zoom, screen);
        QCOMPARE(got, naive);
        if (expectedCount >= 0)
            QCOMPARE(int(got.size()), expectedCount);
    }

    void gridStepsFromPrintableArea()
    {
        // 8 inches = 203.19960 mm: 40 whole steps of 5 mm, the last at 200 mm.
        QCOMPARE(GridSteps(4800, 600, 5.0), 40);
        // 10 inches are 253.9995 mm, just short of ten 25.4 mm steps.
        QCOMPARE(GridSteps(6000, 600, 25.4), 9);
    }
};
SGA_TEST(TestGeometry)

// The window's edits: millimetre/inch twins and the page controls.
class TestPageControls : public QObject
{
    Q_OBJECT
private slots:

    void startupShowsConvertedDefaults()
    {
        TMainForm form;
        form.printer().setFixedPage(4800, 6600, 600, 600);
        QCOMPARE(form.arrangePage().options().MarginInchEd->value(), 0.59);
        QCOMPARE(form.arrangePage().options().SpacingInchEd->value(), 0.20);
        QCOMPARE(form.arrangePage().options().GridInchEd->value(), 0.20);
        QCOMPARE(form.arrangePage().options().DefaultWidthInchEd->value(), 5.12);
        QCOMPARE(form.arrangePage().options().DefaultHeightInchEd->value(), 3.94);
        QCOMPARE(form.arrangePage().options().MarginEd->value(), 15.0);
    }

    void twinEdits_data()
    {
        QTest::addColumn<QString>("edited");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("twin");
        QTest::addColumn<double>("expectedTwin");
        QTest::addColumn<double>("expectedEdited");
        QTest::newRow("1 inch margin is 25.40 mm") << "MarginInchEd" << 1.0 << "MarginEd" << 25.40 << 1.0;
        QTest::newRow("25.4 mm distance is 1.00 inch") << "SpacingEd" << 25.4 << "SpacingInchEd" << 1.0 << 25.4;
        QTest::newRow("inch beyond millimetre range clamps the twin") << "MarginInchEd" << 5.0 << "MarginEd" << 100.0 << 5.0;
        QTest::newRow("grid 0.5 inch") << "GridInchEd" << 0.5 << "GridEd" << 12.70 << 0.5;
        QTest::newRow("default width 200 mm") << "DefaultWidthEd" << 200.0 << "DefaultWidthInchEd" << 7.87 << 200.0;
        QTest::newRow("default height 2 inch") << "DefaultHeightInchEd" << 2.0 << "DefaultHeightEd" << 50.80 << 2.0;
    }
    void twinEdits()
    {
        QFETCH(QString, edited);
        QFETCH(double, value);
        QFETCH(QString, twin);
        QFETCH(double, expectedTwin);
        QFETCH(double, expectedEdited);
        TMainForm form;
        form.printer().setFixedPage(4800, 6600, 600, 600);
        const std::map<QString, QDoubleSpinBox *> edits = {
            {"MarginEd", form.arrangePage().options().MarginEd},       {"MarginInchEd", form.arrangePage().options().MarginInchEd},       {"SpacingEd", form.arrangePage().options().SpacingEd},
            {"SpacingInchEd", form.arrangePage().options().SpacingInchEd}, {"GridEd", form.arrangePage().options().GridEd},           {"GridInchEd", form.arrangePage().options().GridInchEd},
            {"DefaultWidthEd", form.arrangePage().options().DefaultWidthEd}, {"DefaultWidthInchEd", form.arrangePage().options().DefaultWidthInchEd}, {"DefaultHeightEd", form.arrangePage().options().DefaultHeightEd},
            {"DefaultHeightInchEd", form.arrangePage().options().DefaultHeightInchEd}};
        edits.at(edited)->setValue(value);
        QCOMPARE(edits.at(twin)->value(), expectedTwin);
        // The twin's write did not come back to the edited box.
        QCOMPARE(edits.at(edited)->value(), expectedEdited);
        QVERIFY(!form.arrangePage().options().UpdateGuard);
    }

    void pages_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("newCount");
        QTest::addColumn<int>("page2");
        QTest::addColumn<int>("expectedCurrent");
        // page2 = 0: leave the print tab's edit alone.
        QTest::newRow("lowering the count moves the current page") << 5 << 4 << 2 << 0 << 2;
        QTest::newRow("raising the count keeps the current page") << 2 << 2 << 6 << 0 << 2;
        QTest::newRow("current page beyond the count is clamped") << 3 << 7 << 3 << 0 << 3;
        QTest::newRow("print tab page sets the current page") << 4 << 1 << 4 << 3 << 3;
        QTest::newRow("print tab page beyond the count is clamped") << 3 << 1 << 3 << 9 << 3;
    }
    void pages()
    {
        QFETCH(int, count);
        QFETCH(int, current);
        QFETCH(int, newCount);
        QFETCH(int, page2);
        QFETCH(int, expectedCurrent);
        TMainForm form;
        form.printer().setFixedPage(4800, 6600, 600, 600);
        form.arrangePage().setPageCount(count);
        form.arrangePage().showPage(current);
        form.arrangePage().setPageCount(newCount);
        if (page2 > 0)
            form.printPage().showPage(page2);
        QCOMPARE(form.arrangePage().shownPage(), expectedCurrent);
        QCOMPARE(form.printPage().shownPage(), expectedCurrent);
        QVERIFY(!form.arrangePage().options().UpdateGuard);
    }

    void windowTransformsReadTheEdits()
    {
        TMainForm form;
        form.printer().setFixedPage(4800, 6600, 600, 600);
        form.ScreenDpiOverride = 96;
        QCOMPARE(form.arrangePage().canvas().ArrangeViewSize(), QSize(192, 264));
        form.arrangePage().setZoom(100);
        QCOMPARE(form.arrangePage().canvas().ToView(1.0), 96);
        QCOMPARE(form.arrangePage().canvas().FromView(96), 1.0);
        QCOMPARE(form.arrangePage().canvas().SnapToGrid(0.1), 5.0 / MmPerInch);
        form.arrangePage().options().UseGridCheck->setChecked(false);
        QCOMPARE(form.arrangePage().canvas().SnapToGrid(0.1), 0.1);
        form.arrangePage().options().GridEd->setValue(10);
        form.arrangePage().options().UseGridCheck->setChecked(true);
        QCOMPARE(form.arrangePage().canvas().SnapToGrid(0.1), 0.0);
    }
};
SGA_TEST(TestPageControls)

#include "tst_geometry.moc"
