#include "arrange/AutoLayout.h"
#include "arrange/Editing.h"
#include "arrange/Geometry.h"
#include "common/TestRegistry.h"

#include <QLocale>
#include <QTest>

#include <cstring>

Q_DECLARE_METATYPE(ViewFrame)

namespace {
Placement placement(double left, double top, double width, double height, int page = 1)
{
    Placement p{};
    p.Left = left;
    p.Top = top;
    p.Width = width;
    p.Height = height;
    p.Page = page;
    return p;
}

QByteArray bits(double v)
{
    return QByteArray(reinterpret_cast<const char *>(&v), sizeof v);
}
} // namespace

// Pure rules of mouse editing and of the automatic layouts.
class TestEditing : public QObject
{
    Q_OBJECT
private slots:
    void gripZones_data()
    {
        QTest::addColumn<ViewFrame>("frame");
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("grabDX");
        QTest::addColumn<int>("grabDY");
        const ViewFrame f{100, 100, 200, 100};
        QTest::newRow("on top-left corner") << f << QPoint(100, 100) << 1 << 0 << 0;
        QTest::newRow("3 px outside top-left corner") << f << QPoint(97, 97) << 1 << -3 << -3;
        QTest::newRow("4 px outside top-left corner") << f << QPoint(96, 100) << 0 << 0 << 0;
        QTest::newRow("top-right") << f << QPoint(301, 99) << 2 << 1 << -1;
        QTest::newRow("bottom-left") << f << QPoint(100, 202) << 3 << 0 << 2;
        QTest::newRow("bottom-right") << f << QPoint(303, 203) << 4 << 3 << 3;
        QTest::newRow("top-middle keeps no x offset") << f << QPoint(202, 98) << 5 << 0 << -2;
        QTest::newRow("bottom-middle") << f << QPoint(200, 200) << 6 << 0 << 0;
        QTest::newRow("left-middle keeps no y offset") << f << QPoint(99, 152) << 7 << -1 << 0;
        QTest::newRow("2 px right of right-middle") << f << QPoint(302, 150) << 8 << 2 << 0;
        QTest::newRow("inside moves") << f << QPoint(150, 130) << 9 << 50 << 30;
        QTest::newRow("on the right edge away from handles moves") << f << QPoint(300, 120) << 9 << 200 << 20;
        QTest::newRow("outside") << f << QPoint(50, 50) << 0 << 0 << 0;
        // In a tiny frame the corners come first.
        QTest::newRow("tiny frame: the first zone wins") << ViewFrame{10, 10, 4, 4} << QPoint(12, 10) << 1 << 2
                                                         << 0;
        QTest::newRow("odd width: middle truncates") << ViewFrame{0, 0, 21, 9} << QPoint(7, 0) << 5 << 0 << 0;
    }
    void gripZones()
    {
        QFETCH(ViewFrame, frame);
        QFETCH(QPoint, press);
        QFETCH(int, mode);
        QFETCH(int, grabDX);
        QFETCH(int, grabDY);
        const DragGrip grip = DragGripAt(frame, press.x(), press.y());
        QCOMPARE(grip.Mode, mode);
        QCOMPARE(grip.GrabDX, grabDX);
        QCOMPARE(grip.GrabDY, grabDY);
    }

    void dragSteps_data()
    {
        QTest::addColumn<ViewFrame>("frame");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QPoint>("m");
        QTest::addColumn<ViewFrame>("expected");
        QTest::addColumn<int>("expectedMode");
        const ViewFrame f{100, 100, 200, 100};
        QTest::newRow("right edge outwards") << f << 8 << QPoint(350, 0) << ViewFrame{100, 100, 250, 100} << 8;
        QTest::newRow("right edge past the left edge flips to left") << f << 8 << QPoint(50, 0)
                                                                     << ViewFrame{50, 100, 50, 100} << 7;
        QTest::newRow("left edge past the right edge flips to right") << f << 7 << QPoint(320, 0)
                                                                      << ViewFrame{300, 100, 20, 100} << 8;
        QTest::newRow("top-left past both edges becomes bottom-right")
            << f << 1 << QPoint(400, 300) << ViewFrame{300, 200, 100, 100} << 4;
        QTest::newRow("bottom-middle above the top flips to top") << f << 6 << QPoint(0, 60)
                                                                  << ViewFrame{100, 60, 200, 40} << 5;
        QTest::newRow("bottom-left only vertically flipped") << f << 3 << QPoint(90, 80)
                                                             << ViewFrame{90, 80, 210, 20} << 1;
        QTest::newRow("collapsed to zero width stays") << f << 8 << QPoint(100, 0) << ViewFrame{100, 100, 0, 100}
                                                       << 8;
        QTest::newRow("move keeps size") << f << 9 << QPoint(10, 20) << ViewFrame{10, 20, 200, 100} << 9;
        QTest::newRow("move far left keeps the last column at 0") << f << 9 << QPoint(-500, 20)
                                                                  << ViewFrame{-199, 20, 200, 100} << 9;
        QTest::newRow("move far up keeps the last row at 0") << f << 9 << QPoint(0, -500)
                                                             << ViewFrame{0, -99, 200, 100} << 9;
        QTest::newRow("move beyond the right and bottom stops at the last pixel")
            << f << 9 << QPoint(5000, 5000) << ViewFrame{767, 1055, 200, 100} << 9;
        QTest::newRow("top-left handle pulled off the view") << f << 1 << QPoint(-50, -50)
                                                             << ViewFrame{-50, -50, 350, 250} << 1;
    }
    void dragSteps()
    {
        QFETCH(ViewFrame, frame);
        QFETCH(int, mode);
        QFETCH(QPoint, m);
        QFETCH(ViewFrame, expected);
        QFETCH(int, expectedMode);
        const DragStep step = DragFrame(frame, mode, m.x(), m.y(), QSize(768, 1056));
        QCOMPARE(step.Frame.L, expected.L);
        QCOMPARE(step.Frame.T, expected.T);
        QCOMPARE(step.Frame.W, expected.W);
        QCOMPARE(step.Frame.H, expected.H);
        QCOMPARE(step.Mode, expectedMode);
    }

    void absurdFramesDoNotOverflow()
    {
        const ViewFrame huge{INT_MAX, INT_MIN, INT_MAX, INT_MAX};
        const DragStep step = DragFrame(huge, 1, INT_MIN, INT_MAX, QSize(768, 1056));
        QVERIFY(step.Frame.W >= 0 && step.Frame.H >= 0);
        QVERIFY(step.Frame.L <= 767 && step.Frame.T <= 1055);
        QCOMPARE(DragGripAt(huge, 0, 0).Mode, 0);
    }

    void hitTest()
    {
        Placement *cursor = nullptr;
        TDynaArray<Placement> placements(&cursor);
        // At zoom 100 and 96 dpi one inch is 96 pixels.
        *placements.Append() = placement(0, 0, 2, 2);       // 0..191
        *placements.Append() = placement(1, 1, 2, 2);       // 96..287
        *placements.Append() = placement(0, 0, 4, 4, 2);    // another page
        QCOMPARE(HitTestPlacement(placements, 1, 100, 100, 100, 96), 1); // overlap: the later one
        QCOMPARE(HitTestPlacement(placements, 1, 50, 50, 100, 96), 0);
        QCOMPARE(HitTestPlacement(placements, 1, 191, 10, 100, 96), 0);  // last column
        QCOMPARE(HitTestPlacement(placements, 1, 192, 10, 100, 96), -1); // the right edge is outside
        QCOMPARE(HitTestPlacement(placements, 1, 300, 300, 100, 96), -1);
        QCOMPARE(HitTestPlacement(placements, 2, 300, 300, 100, 96), 2);
    }

    void storeDraggedFrame()
    {
        // 5 mm grid at zoom 100, 96 dpi.
        const Placement start = placement(0.3, 0.3, 5.1181102362204725, 3.9370078740157481);
        Placement moved = start;
        StoreDraggedFrame(moved, ViewFrame{101, 47, 491, 377}, DragMove, 100, 96, true, 5);
        QCOMPARE(moved.Left, Geometry::SnapToGrid(101.0 / 96, true, 5));
        QCOMPARE(moved.Top, Geometry::SnapToGrid(47.0 / 96, true, 5));
        QCOMPARE(bits(moved.Width), bits(start.Width));
        QCOMPARE(bits(moved.Height), bits(start.Height));

        Placement resized = start;
        StoreDraggedFrame(resized, ViewFrame{101, 47, 300, 377}, 8, 100, 96, true, 5);
        // Every value lies on the 5 mm lattice, the edges not dragged included.
        for (double v : {resized.Left, resized.Top, resized.Width, resized.Height}) {
            const double steps = v * MmPerInch / 5;
            QVERIFY2(qAbs(steps - qRound(steps)) < 1e-9, qPrintable(QString::number(v, 'g', 17)));
        }
        QCOMPARE(resized.Width, Geometry::SnapToGrid(300.0 / 96, true, 5));

        Placement free = start;
        StoreDraggedFrame(free, ViewFrame{101, 47, 300, 377}, 8, 100, 96, false, 5);
        QCOMPARE(free.Left, 101.0 / 96);
        QCOMPARE(free.Width, 300.0 / 96);
    }

    void stripCells_data()
    {
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("index");
        // Strip 100 wide, 3 pictures: cell i spans rows i*102+1 .. i*102+101.
        QTest::newRow("row 0 belongs to no cell") << 0 << -1;
        QTest::newRow("first row of cell 0") << 1 << 0;
        QTest::newRow("last row of cell 0") << 101 << 0;
        QTest::newRow("gap after cell 0") << 102 << -1;
        QTest::newRow("first row of cell 1") << 103 << 1;
        QTest::newRow("last cell") << 250 << 2;
        QTest::newRow("below the last cell") << 320 << -1;
        QTest::newRow("negative") << -5 << -1;
    }
    void stripCells()
    {
        QFETCH(int, y);
        QFETCH(int, index);
        QCOMPARE(StripIndexAt(y, 100, 3), index);
    }

    void sizeInfoText_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<double>("left");
        QTest::addColumn<double>("width");
        QTest::addColumn<QString>("text");
        const QLocale english(QLocale::English, QLocale::UnitedStates);
        const QLocale german(QLocale::German, QLocale::Germany);
        QTest::newRow("small values") << QLocale::c() << 0.59 << 5.12
                                      << "( x: 0.59inch; y: -0.25inch ) ( Width: 5.12inch; Height: 0.00inch ) ";
        QTest::newRow("thousands, English: no grouping")
            << english << 1234.5 << 1e6
            << "( x: 1234.50inch; y: -0.25inch ) ( Width: 1000000.00inch; Height: 0.00inch ) ";
        QTest::newRow("thousands, German: decimal comma, no grouping")
            << german << 1234.567 << 1e6
            << "( x: 1234,57inch; y: -0,25inch ) ( Width: 1000000,00inch; Height: 0,00inch ) ";
    }
    void sizeInfoText()
    {
        QFETCH(QLocale, locale);
        QFETCH(double, left);
        QFETCH(double, width);
        QFETCH(QString, text);
        QCOMPARE(SizeInfoText(placement(left, -0.25, width, 0.001), locale), text);
    }

    void gridShape_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("cols");
        QTest::addColumn<int>("rows");
        QTest::newRow("1 placement") << 1 << 1 << 1;
        QTest::newRow("2 placements: one column") << 2 << 1 << 2;
        QTest::newRow("3 placements: one column") << 3 << 1 << 3;
        QTest::newRow("4 placements") << 4 << 2 << 2;
        QTest::newRow("5 placements") << 5 << 2 << 3;
        QTest::newRow("7 placements") << 7 << 2 << 4;
        QTest::newRow("10 placements") << 10 << 3 << 4;
    }
    void gridShape()
    {
        QFETCH(int, n);
        QFETCH(int, cols);
        QFETCH(int, rows);
        const CellGrid g = AutoArrangeGrid(n, 8, 11, 15, 5);
        QCOMPARE(g.Cols, cols);
        QCOMPARE(g.Rows, rows);
        QVERIFY(g.Cols * g.Rows >= n);
    }

    void gridCells()
    {
        // 8 x 11 inch printable area, 15 mm margin, 5 mm distance.
        const CellGrid g = AutoArrangeGrid(4, 8, 11, 15, 5);
        QCOMPARE(qRound(g.CellWidth * 1e4), 33110);
        QCOMPARE(qRound(g.CellHeight * 1e4), 48110);
        const double expected[4][2] = {{0.5906, 0.5906}, {4.0984, 0.5906}, {0.5906, 5.5984}, {4.0984, 5.5984}};
        for (int k = 0; k < 4; ++k) {
            QCOMPARE(qRound(g.cellLeft(k) * 1e4), qRound(expected[k][0] * 1e4));
            QCOMPARE(qRound(g.cellTop(k) * 1e4), qRound(expected[k][1] * 1e4));
        }
        QVERIFY(g.hasRoom());
        QVERIFY(!AutoArrangeGrid(4, 8, 11, 110, 5).hasRoom());
        QCOMPARE(AutoArrangeGrid(0, 8, 11, 15, 5).Cols, 0);
    }

    void cascade()
    {
        const double expected[] = {0, 1.7778, 3.5556};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(qRound(CascadeLeft(i, 3, 8) * 1e4), qRound(expected[i] * 1e4));
            QCOMPARE(qRound(CascadeTop(i, 3, 8) * 1e4), qRound(expected[i] * 1e4));
        }
    }
};

SGA_TEST(TestEditing)
#include "tst_editing.moc"
