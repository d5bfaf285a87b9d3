#include "PixelFixtures.h"
#include "common/TestRegistry.h"
#include "picture/Rotate.h"

#include <QTest>

class TestRotate : public QObject
{
    Q_OBJECT
private slots:
    void turnOrMirrorMovesEveryPixel_data()
    {
        QTest::addColumn<int>("bits");
        QTest::addColumn<int>("W");
        QTest::addColumn<int>("H");
        for (int bits : {1, 4, 8, 24}) {
            const QByteArray d = QByteArray::number(bits) + " bit";
            QTest::newRow(d + ", 3x2") << bits << 3 << 2;
            QTest::newRow(d + ", 37x70 across tiles") << bits << 37 << 70;
            QTest::newRow(d + ", one row 9x1") << bits << 9 << 1;
        }
    }
    void turnOrMirrorMovesEveryPixel()
    {
        QFETCH(int, bits);
        QFETCH(int, W);
        QFETCH(int, H);
        const DIB src = patternPicture(W, H, bits);
        for (bool left : {true, false}) {
            DIB pic = src;
            QList<int> seen;
            const auto progress = [&seen](int p) { seen << p; };
            QVERIFY(left ? RotLeft(pic, progress) : RotRight(pic, progress));
            QCOMPARE(DibWidth(pic), H);
            QCOMPARE(DibHeight(pic), W);
            QCOMPARE(DibBitCount(pic), bits);
            if (bits <= 8) {
                QCOMPARE(colourTable(pic), colourTable(src));
                QCOMPARE(logPalette(pic), logPalette(src));
                QCOMPARE(pic.HasPalette, src.HasPalette);
            }
            for (int y = 0; y < H; ++y)
                for (int x = 0; x < W; ++x) {
                    const std::uint32_t moved = left ? getpixel(pic, y, W - 1 - x) : getpixel(pic, H - 1 - y, x);
                    if (moved != getpixel(src, x, y))
                        QFAIL(qPrintable(QStringLiteral("pixel %1,%2 lost turning %3").arg(x).arg(y).arg(left)));
                }
            QVERIFY(seen.size() >= 2);
            QCOMPARE(seen.first(), 0);
            QCOMPARE(seen.last(), 0);
            QVERIFY(seen.contains(H == 1 ? 100 : 0));
            for (int p : seen)
                QVERIFY(p >= 0 && p <= 100);
        }
        DIB mirrored = src;
        QVERIFY(MirrorSides(mirrored));
        QCOMPARE(QSize(DibWidth(mirrored), DibHeight(mirrored)), QSize(W, H));
        QCOMPARE(DibBitCount(mirrored), bits);
        if (bits <= 8)
            QCOMPARE(colourTable(mirrored), colourTable(src));
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                if (getpixel(mirrored, W - 1 - x, y) != getpixel(src, x, y))
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2 lost mirroring").arg(x).arg(y)));
    }

    void topRightGoesTopLeftOnALeftTurn()
    {
        DIB pic = patternPicture(3, 2, 24);
        const std::uint32_t topRight = getpixel(pic, 2, 0), topLeft = getpixel(pic, 0, 0);
        DIB right = pic;
        QVERIFY(RotLeft(pic));
        QCOMPARE(DibWidth(pic), 2);
        QCOMPARE(DibHeight(pic), 3);
        QCOMPARE(getpixel(pic, 0, 0), topRight);
        QVERIFY(RotRight(right));
        QCOMPARE(getpixel(right, 1, 0), topLeft);
    }

    void noPictureIsNotTurned()
    {
        DIB empty;
        QVERIFY(!RotLeft(empty));
        QVERIFY(!RotRight(empty));
    }

    void outOfMemoryLeavesThePicture()
    {
        // One 1-bit row 600 million pixels wide is 75 MB; turned, every pixel
        // needs a padded 4-byte row, more than a picture may take.
        DIB pic;
        QVERIFY(newdib(&pic, 600000000, 1, 1, nullptr, 0));
        const BYTE *bits = pic.Bits;
        QVERIFY(!RotLeft(pic));
        QVERIFY(!RotRight(pic));
        QCOMPARE(pic.Bits, bits);
        QCOMPARE(DibWidth(pic), 600000000);
    }
};
SGA_TEST(TestRotate)

#include "tst_rotate.moc"
