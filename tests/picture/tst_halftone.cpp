#include "DecodeFixtures.h"
#include "common/TestRegistry.h"
#include "picture/Halftone.h"

#include <QTest>

#include <set>

using namespace Fixtures;

namespace {

DIB filled24(int w, int h, QRgb colour)
{
    DIB d;
    newdib(&d, w, h, 24, nullptr, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            setpixel(d, x, y, RGB(qRed(colour), qGreen(colour), qBlue(colour)));
    return d;
}

} // namespace

class TestHalftone : public QObject
{
    Q_OBJECT
private slots:
    void flatColours_data()
    {
        QTest::addColumn<QRgb>("colour");
        QTest::addColumn<int>("distinctOutputs");
        QTest::newRow("white stays white") << qRgb(255, 255, 255) << 1;
        QTest::newRow("black stays black") << qRgb(0, 0, 0) << 1;
        QTest::newRow("pure red stays red") << qRgb(255, 0, 0) << 1;
        QTest::newRow("cube colour stays itself") << qRgb(51, 153, 204) << 1;
        QTest::newRow("mid grey dithers to two greys") << qRgb(128, 128, 128) << 2;
        QTest::newRow("orange dithers") << qRgb(240, 130, 20) << 8;
    }
    void flatColours()
    {
        QFETCH(QRgb, colour);
        QFETCH(int, distinctOutputs);
        const int w = 33, h = 17;
        DIB src = filled24(w, h, colour);
        DIB out;
        DIBHalftoneDIB(&out, src);
        QVERIFY(out.Bits);
        QCOMPARE(DibBitCount(out), 8);
        QCOMPARE(DibWidth(out), w);
        QCOMPARE(DibHeight(out), h);
        QCOMPARE(out.HasPalette, BYTE(1));
        QCOMPARE(int(out.LogPalette.palNumEntries), 256);

        std::set<std::uint32_t> used;
        double sum[3] = {0, 0, 0};
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 32; ++x) {
                used.insert(getpixel(out, x, y));
                const QRgb c = dibColour(out, x, y);
                sum[0] += qRed(c);
                sum[1] += qGreen(c);
                sum[2] += qBlue(c);
            }
        QVERIFY(int(used.size()) <= distinctOutputs);
        if (distinctOutputs > 1)
            QVERIFY(used.size() > 1);
        // Over whole dither cells the mean matches the source colour.
        QVERIFY(std::abs(sum[0] / 512 - qRed(colour)) < 3);
        QVERIFY(std::abs(sum[1] / 512 - qGreen(colour)) < 3);
        QVERIFY(std::abs(sum[2] / 512 - qBlue(colour)) < 3);
        deldib(&out);
        deldib(&src);
    }

    void scaledCopyUsesNearestPixels()
    {
        // Red | blue over green | white, scaled from 2 x 2 to 10 x 6.
        DIB src;
        newdib(&src, 2, 2, 24, nullptr, 0);
        setpixel(src, 0, 0, RGB(255, 0, 0));
        setpixel(src, 1, 0, RGB(0, 0, 255));
        setpixel(src, 0, 1, RGB(0, 255, 0));
        setpixel(src, 1, 1, RGB(255, 255, 255));
        DIB out;
        DIBHalftoneDIBXY(&out, src, 10, 6);
        QVERIFY(out.Bits);
        QCOMPARE(DibWidth(out), 10);
        QCOMPARE(DibHeight(out), 6);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 10; ++x) {
                const QRgb expected = y < 3 ? (x < 5 ? qRgb(255, 0, 0) : qRgb(0, 0, 255))
                                            : (x < 5 ? qRgb(0, 255, 0) : qRgb(255, 255, 255));
                QCOMPARE(dibColour(out, x, y), expected);
            }
        DIB shrunk;
        DIBHalftoneDIBXY(&shrunk, src, 1, 1);
        QCOMPARE(dibColour(shrunk, 0, 0), qRgb(255, 0, 0));
        deldib(&shrunk);
        deldib(&out);
        deldib(&src);
    }

    void paletteSourcesAreHalftonedThroughTheirColours_data()
    {
        QTest::addColumn<int>("bits");
        QTest::newRow("1-bit source") << 1;
        QTest::newRow("4-bit source") << 4;
        QTest::newRow("8-bit source") << 8;
    }
    void paletteSourcesAreHalftonedThroughTheirColours()
    {
        QFETCH(int, bits);
        struct {
            BITMAPINFOHEADER h;
            RGBQUAD t[256];
        } block{};
        block.t[0] = RGBQUAD{255, 255, 255, 0}; // white
        block.t[1] = RGBQUAD{0, 0, 255, 0};     // red
        DIB src;
        QVERIFY(newdib(&src, 9, 3, bits, &block.h, PaletteSize(bits)));
        setpixel(src, 4, 1, 1);
        DIB out;
        DIBHalftoneDIB(&out, src);
        QVERIFY(out.Bits);
        QCOMPARE(dibColour(out, 4, 1), qRgb(255, 0, 0));
        QCOMPARE(dibColour(out, 0, 0), qRgb(255, 255, 255));
        QCOMPARE(dibColour(out, 8, 2), qRgb(255, 255, 255));
        deldib(&out);
        deldib(&src);
    }

    void noSourceGivesNoCopy()
    {
        DIB empty;
        DIB out;
        DIBHalftoneDIB(&out, empty);
        QVERIFY(!out.Bits);
        DIB src = filled24(4, 4, qRgb(1, 2, 3));
        DIBHalftoneDIBXY(&out, src, 0, 5);
        QVERIFY(!out.Bits);
        deldib(&src);
    }
};

SGA_TEST(TestHalftone)
#include "tst_halftone.moc"
