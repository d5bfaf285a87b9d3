#include "PixelFixtures.h"
#include "common/TestRegistry.h"
#include "picture/Resample.h"

#include <QImage>
#include <QTest>

#include <vector>

namespace {
// The nearest source pixel of output pixel (x, yTop), as the rows are counted:
// from the top at 1 bit, in stored (bottom-up) order otherwise.
std::uint32_t nearestExpected(const DIB &src, int NW, int NH, int x, int yTop)
{
    const int W = DibWidth(src), H = DibHeight(src);
    const std::int64_t stepX = std::int64_t(W) * 1024 / NW, stepY = std::int64_t(H) * 1024 / NH;
    const int sx = int((x * stepX) >> 10);
    if (DibBitCount(src) == 1)
        return getpixel(src, sx, int((yTop * stepY) >> 10));
    const int storedY = NH - 1 - yTop;
    const int storedSy = int((storedY * stepY) >> 10);
    return getpixel(src, sx, H - 1 - storedSy);
}
} // namespace

class TestResample : public QObject
{
    Q_OBJECT
private slots:
    // Output pixels average the source area they cover, rows counted from the
    // bottom as DrawDib takes its source rectangle.
    void areaAverage_data()
    {
        QTest::addColumn<int>("bits");
        QTest::addColumn<QRectF>("source");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QList<int>>("greys"); // expected output, row by row from the top
        QTest::addColumn<int>("turns"); // quarter turns clockwise of the output
        // Source 4 x 2, grey value 10 * x + 100 * yTop: top row 0 10 20 30, bottom 100 110 120 130.
        QTest::newRow("2 x 2 blocks") << 24 << QRectF(0, 0, 4, 2) << QSize(2, 1) << QList<int>{55, 75} << 0;
        QTest::newRow("bottom row only") << 24 << QRectF(0, 0, 4, 1) << QSize(2, 1) << QList<int>{105, 125} << 0;
        QTest::newRow("top row, a pixel and a half each") << 24 << QRectF(1, 1, 3, 1) << QSize(2, 1)
                                                          << QList<int>{13, 27} << 0;
        QTest::newRow("palette picture through its table") << 8 << QRectF(0, 0, 4, 2) << QSize(1, 1)
                                                          << QList<int>{65} << 0;
        QTest::newRow("1:1 copies") << 24 << QRectF(2, 0, 2, 2) << QSize(2, 2) << QList<int>{20, 30, 120, 130} << 0;
        QTest::newRow("turned once") << 24 << QRectF(2, 0, 2, 2) << QSize(2, 2) << QList<int>{120, 20, 130, 30} << 1;
        QTest::newRow("turned twice") << 24 << QRectF(2, 0, 2, 2) << QSize(2, 2) << QList<int>{130, 120, 30, 20} << 2;
        QTest::newRow("turned three times") << 24 << QRectF(2, 0, 2, 2) << QSize(2, 2) << QList<int>{30, 130, 20, 120}
                                            << 3;
        QTest::newRow("averaged, then turned on end") << 24 << QRectF(0, 0, 4, 2) << QSize(2, 1) << QList<int>{55, 75}
                                                      << 1;
    }
    void areaAverage()
    {
        QFETCH(int, bits);
        QFETCH(QRectF, source);
        QFETCH(QSize, size);
        QFETCH(QList<int>, greys);
        QFETCH(int, turns);
        DIB src;
        std::vector<BYTE> header(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD), 0);
        auto *table = reinterpret_cast<RGBQUAD *>(header.data() + sizeof(BITMAPINFOHEADER));
        for (int i = 0; i < 256; ++i)
            table[i] = RGBQUAD{BYTE(i), BYTE(i), BYTE(i), 0};
        QVERIFY(newdib(&src, 4, 2, bits, bits == 8 ? reinterpret_cast<BITMAPINFOHEADER *>(header.data()) : nullptr,
                       bits == 8 ? 256 : 0));
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 4; ++x) {
                const std::uint32_t g = std::uint32_t(10 * x + 100 * y);
                setpixel(src, x, y, bits == 8 ? g : g | (g << 8) | (g << 16));
            }
        const QImage out = ResampleToImage(src, source, size, turns);
        deldib(&src);
        QCOMPARE(out.size(), turns % 2 ? size.transposed() : size);
        QList<int> got;
        for (int y = 0; y < out.height(); ++y)
            for (int x = 0; x < out.width(); ++x)
                got << qGreen(out.pixel(x, y));
        QCOMPARE(got, greys);
    }

    void nearestSamplesTheSourceGrid_data()
    {
        QTest::addColumn<int>("bits");
        QTest::addColumn<int>("W");
        QTest::addColumn<int>("H");
        QTest::addColumn<int>("NW");
        QTest::addColumn<int>("NH");
        QTest::addColumn<bool>("smooth");
        for (int bits : {1, 4, 8, 24}) {
            const QByteArray d = QByteArray::number(bits) + " bit";
            QTest::newRow(d + ", enlarge 5x3 to 12x7") << bits << 5 << 3 << 12 << 7 << false;
            QTest::newRow(d + ", shrink 13x9 to 4x5") << bits << 13 << 9 << 4 << 5 << true;
            QTest::newRow(d + ", odd widths 7x4 to 9x3") << bits << 7 << 4 << 9 << 3 << false;
        }
        QTest::newRow("24 bit, smooth but narrower") << 24 << 10 << 4 << 6 << 8 << true;
        QTest::newRow("8 bit, smooth enlarge copies indices") << 8 << 4 << 4 << 10 << 10 << true;
    }
    void nearestSamplesTheSourceGrid()
    {
        QFETCH(int, bits);
        QFETCH(int, W);
        QFETCH(int, H);
        QFETCH(int, NW);
        QFETCH(int, NH);
        QFETCH(bool, smooth);
        DIB src = patternPicture(W, H, bits);
        const QByteArray before = pixelBytes(src);
        DIB out;
        QVERIFY(Resize(src, NW, NH, smooth, &out));
        QCOMPARE(DibWidth(out), NW);
        QCOMPARE(DibHeight(out), NH);
        QCOMPARE(DibBitCount(out), bits);
        QCOMPARE(pixelBytes(src), before);
        if (bits <= 8) {
            QCOMPARE(colourTable(out), colourTable(src));
            QCOMPARE(logPalette(out), logPalette(src));
        }
        for (int y = 0; y < NH; ++y)
            for (int x = 0; x < NW; ++x)
                if (getpixel(out, x, y) != nearestExpected(src, NW, NH, x, y))
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2 differs").arg(x).arg(y)));
        // Padding of every row stays zero.
        const int used = (NW * bits + 7) / 8;
        for (int r = 0; r < NH; ++r)
            for (std::uint32_t i = std::uint32_t(used); i < out.RowBytes; ++i)
                QCOMPARE(int(DibRow(out, r)[i]), 0);
    }

    void bilinearWeights_data()
    {
        QTest::addColumn<QList<int>>("source"); // one row of greys
        QTest::addColumn<int>("NW");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("white comes out 253") << QList<int>{255, 255} << 5 << QList<int>{253, 253, 253, 253, 253};
        QTest::newRow("black stays black") << QList<int>{0, 0} << 3 << QList<int>{0, 0, 0};
        QTest::newRow("ramp 0..255 doubled") << QList<int>{0, 255} << 4 << QList<int>{0, 126, 253, 253};
        QTest::newRow("mid grey") << QList<int>{128} << 2 << QList<int>{126, 126};
    }
    void bilinearWeights()
    {
        QFETCH(QList<int>, source);
        QFETCH(int, NW);
        QFETCH(QList<int>, expected);
        DIB src;
        QVERIFY(newdib(&src, int(source.size()), 1, 24, nullptr, 0));
        for (int x = 0; x < source.size(); ++x)
            std::memset(DibRow(src, 0) + x * 3, source[x], 3);
        DIB out;
        QVERIFY(Resize(src, NW, 1, true, &out));
        QList<int> got;
        for (int x = 0; x < NW; ++x) {
            const BYTE *p = DibRow(out, 0) + x * 3;
            QCOMPARE(p[0], p[1]);
            QCOMPARE(p[1], p[2]);
            got << p[0];
        }
        QCOMPARE(got, expected);
    }

    void bilinearMixesRowsToo()
    {
        // Bottom stored row black, top stored row white; 2 rows become 4.
        DIB src;
        QVERIFY(newdib(&src, 1, 2, 24, nullptr, 0));
        std::memset(DibRow(src, 1), 255, 3);
        DIB out;
        QVERIFY(Resize(src, 1, 4, true, &out));
        QList<int> stored;
        for (int r = 0; r < 4; ++r)
            stored << DibRow(out, r)[0];
        QCOMPARE(stored, (QList<int>{0, 127, 253, 253}));
    }

    void unusableTargetsGiveNoPicture_data()
    {
        QTest::addColumn<int>("NW");
        QTest::addColumn<int>("NH");
        QTest::newRow("zero width") << 0 << 10;
        QTest::newRow("negative height") << 10 << -3;
        QTest::newRow("beyond memory") << 100000 << 100000;
    }
    void unusableTargetsGiveNoPicture()
    {
        QFETCH(int, NW);
        QFETCH(int, NH);
        DIB src = greyPicture(4, 4, 9);
        DIB out = greyPicture(2, 2, 1); // any earlier content is replaced
        QVERIFY(!Resize(src, NW, NH, true, &out));
        QVERIFY(!out.Bits);
        QCOMPARE(DibWidth(src), 4);
    }

    void thirtyTwoBitPixelsAreCopied()
    {
        DIB src;
        QVERIFY(newdib(&src, 2, 1, 32, nullptr, 0));
        const BYTE row[8] = {1, 2, 3, 4, 5, 6, 7, 8};
        std::memcpy(src.Bits, row, 8);
        DIB out;
        QVERIFY(Resize(src, 4, 2, true, &out));
        const QByteArray expected("\x01\x02\x03\x04\x01\x02\x03\x04\x05\x06\x07\x08\x05\x06\x07\x08", 16);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(DibRow(out, 1)), 16), expected);
    }

    void resizeIntoTheSourceRecord()
    {
        DIB pic = greyPicture(3, 3, 200);
        QVERIFY(Resize(pic, 6, 6, false, &pic));
        QCOMPARE(DibWidth(pic), 6);
        QCOMPARE(int(DibRow(pic, 5)[17]), 200);
    }

    void progressOncePerRow_data()
    {
        QTest::addColumn<int>("NH");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("three rows") << 3 << QList<int>{0, 0, 50, 100, 0};
        QTest::newRow("one row reports 100") << 1 << QList<int>{0, 100, 0};
    }
    void progressOncePerRow()
    {
        QFETCH(int, NH);
        QFETCH(QList<int>, expected);
        DIB src = greyPicture(2, 2, 50);
        for (bool smooth : {false, true}) {
            QList<int> seen;
            DIB out;
            QVERIFY(Resize(src, 5, NH, smooth, &out, [&seen](int p) { seen << p; }));
            QCOMPARE(seen, expected);
        }
    }

    void depthUpToUsesThePalette_data()
    {
        QTest::addColumn<int>("bits");
        QTest::newRow("1 bit") << 1;
        QTest::newRow("4 bit, odd width") << 4;
        QTest::newRow("8 bit") << 8;
    }
    void depthUpToUsesThePalette()
    {
        QFETCH(int, bits);
        DIB pic = patternPicture(7, 5, bits);
        const DIB old = pic; // keeps the old pixels alive for comparison
        QList<int> seen;
        QVERIFY(DepthUpTo(&pic, 24, [&seen](int p) { seen << p; }));
        QCOMPARE(DibBitCount(pic), 24);
        QCOMPARE(DibWidth(pic), 7);
        QCOMPARE(DibHeight(pic), 5);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x) {
                const PALETTEENTRY &e = old.LogPalette.palPalEntry[getpixel(old, x, y)];
                const std::uint32_t want = e.peRed | (e.peGreen << 8) | (e.peBlue << 16);
                QCOMPARE(getpixel(pic, x, y), want);
            }
        QCOMPARE(seen, (QList<int>{0, 0, 25, 50, 75, 100, 0}));
    }

    void depthUpToOneBit_data()
    {
        QTest::addColumn<int>("entries");
        QTest::addColumn<QList<quint32>>("colours"); // index 0, index 1 as 24-bit values
        QTest::newRow("no palette: black and white") << 0 << QList<quint32>{0, 0xFFFFFF};
        QTest::newRow("white-on-black palette kept") << 2 << QList<quint32>{0xFFFFFF, 0};
    }
    void depthUpToOneBit()
    {
        QFETCH(int, entries);
        QFETCH(QList<quint32>, colours);
        DIB pic;
        QVERIFY(newdib(&pic, 2, 1, 1, nullptr, 0));
        pic.LogPalette.palNumEntries = WORD(entries);
        if (entries == 2) {
            pic.LogPalette.palPalEntry[0] = PALETTEENTRY{255, 255, 255, 0};
            pic.LogPalette.palPalEntry[1] = PALETTEENTRY{0, 0, 0, 0};
        }
        setpixel(pic, 1, 0, 1);
        QVERIFY(DepthUpTo(&pic, 24));
        QCOMPARE(getpixel(pic, 0, 0), colours[0]);
        QCOMPARE(getpixel(pic, 1, 0), colours[1]);
    }

    void depthUpToLeavesOtherPicturesAlone()
    {
        DIB pic = greyPicture(3, 3, 7);
        const BYTE *bits = pic.Bits;
        QVERIFY(!DepthUpTo(&pic, 24));
        QCOMPARE(pic.Bits, bits);
        DIB empty;
        QVERIFY(!DepthUpTo(&empty, 24));
        QVERIFY(!DepthUpTo(nullptr, 24));
    }
};
SGA_TEST(TestResample)

#include "tst_resample.moc"
