// The last steps on pictures made for paper: tone table and unsharp mask.
#include "common/TestRegistry.h"
#include "picture/Dib.h"
#include "picture/PrintFinish.h"
#include "picture/Resample.h"

#include <QImage>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
constexpr int Low = 60, High = 190;

// A soft edge as a photograph has it (a ramp a fiftieth of the width), shrunk
// to `width` device pixels as a print job shrinks it.
QImage RenderedEdge(int width)
{
    DIB src;
    const int w = 2000;
    if (!newdib(&src, w, 4, 24, nullptr, 0))
        return {};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < w; ++x) {
            const double t = std::clamp((x - (w / 2 - 20)) / 40.0, 0.0, 1.0);
            std::memset(DibRow(src, y) + 3 * x, int(Low + t * (High - Low) + 0.5), 3);
        }
    QImage out = ResampleToImage(src, QRectF(0, 0, w, 4), QSize(width, 4));
    deldib(&src);
    return out;
}

std::vector<int> Row(const QImage& image)
{
    std::vector<int> v;
    for (int x = 0; x < image.width(); ++x)
        v.push_back(qGreen(image.pixel(x, 1)));
    return v;
}

// Where the row first reaches `level` going right, with linear interpolation.
double Crossing(const std::vector<int>& row, double level)
{
    for (std::size_t x = 1; x < row.size(); ++x)
        if (row[x] >= level && row[x - 1] < level)
            return double(x - 1) + (level - row[x - 1]) / double(row[x] - row[x - 1]);
    return -1;
}

double Rise(const std::vector<int>& row)
{
    return Crossing(row, Low + 0.9 * (High - Low)) - Crossing(row, Low + 0.1 * (High - Low));
}
} // namespace

class TestPrintFinish : public QObject {
    Q_OBJECT
private slots:
    void sharpensEdgeWithoutRinging_data()
    {
        QTest::addColumn<int>("amount");
        QTest::addColumn<double>("radius");
        QTest::newRow("glossy at 300 dpi") << 50 << 1.0;
        QTest::newRow("matte at 300 dpi") << 90 << 2.0;
        QTest::newRow("strong and wide") << 200 << 3.5;
        QTest::newRow("narrower than a pixel: unchanged") << 300 << 0.2;
    }
    void sharpensEdgeWithoutRinging()
    {
        QFETCH(int, amount);
        QFETCH(double, radius);
        const QImage soft = RenderedEdge(301);
        QVERIFY(!soft.isNull());
        QImage sharp = soft;
        QVERIFY(UnsharpMask(sharp, amount, radius));
        const std::vector<int> before = Row(soft), after = Row(sharp);
        if (radius < 0.5) {
            QCOMPARE(after, before);
            return;
        }
        QVERIFY2(Rise(after) < Rise(before), qPrintable(QStringLiteral("%1 -> %2").arg(Rise(before)).arg(Rise(after))));
        // Overshoot stays within the amount of the step, and only near the edge.
        const int step = High - Low;
        const int reach = int(std::ceil(3 * radius)) + 2;
        const int edge = int(Crossing(before, (Low + High) / 2.0));
        for (int x = 0; x < int(after.size()); ++x) {
            QVERIFY(after[std::size_t(x)] <= High + amount * step / 100 / 2 + 1);
            QVERIFY(after[std::size_t(x)] >= Low - amount * step / 100 / 2 - 1);
            if (std::abs(x - edge) > reach)
                QCOMPARE(after[std::size_t(x)], before[std::size_t(x)]);
        }
    }

    void toneTableKeepsOrder_data()
    {
        QTest::addColumn<int>("brightness");
        QTest::addColumn<int>("contrast");
        QTest::addColumn<int>("grey"); // what middle grey 128 becomes, within 1
        QTest::newRow("none") << 0 << 0 << 128;
        QTest::newRow("brighter") << 25 << 0 << 160;
        QTest::newRow("darker") << -25 << 0 << 96;
        QTest::newRow("more contrast keeps the middle") << 0 << 60 << 128;
        QTest::newRow("flat keeps the middle") << 0 << -100 << 128;
        QTest::newRow("both at their ends") << 100 << 100 << 255;
    }
    void toneTableKeepsOrder()
    {
        QFETCH(int, brightness);
        QFETCH(int, contrast);
        QFETCH(int, grey);
        const ToneTable t = PrintToneTable(brightness, contrast);
        QVERIFY(std::abs(int(t[128]) - grey) <= 1);
        for (int v = 1; v < 256; ++v)
            QVERIFY(t[v] >= t[v - 1]);
        if (brightness == 0 && contrast == 0)
            for (int v = 0; v < 256; ++v)
                QCOMPARE(int(t[v]), v);
    }
};

SGA_TEST(TestPrintFinish)
#include "tst_printfinish.moc"
