#include "DecodeFixtures.h"
#include "common/TestRegistry.h"
#include "picture/OpenDib.h"
#include "picture/ScaledDecode.h"

#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Fixtures;

Q_DECLARE_METATYPE(QImage::Format)

class TestScaledDecode : public QObject
{
    Q_OBJECT
private slots:
    void decodesNoSmallerThanTheBox_data()
    {
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<QImage::Format>("pixels");
        QTest::addColumn<QSize>("full");
        QTest::addColumn<QSize>("box");
        QTest::addColumn<QSize>("decoded");
        QTest::addColumn<int>("bits");
        QTest::addColumn<bool>("headerKnown");
        const QImage::Format rgb = QImage::Format_RGB32;
        QTest::newRow("JPEG at 1/8") << QByteArray("jpeg") << rgb << QSize(1600, 1200) << QSize(160, 160)
                                     << QSize(200, 150) << 24 << true;
        QTest::newRow("JPEG at 1/4: 1/8 would be too small")
            << QByteArray("jpeg") << rgb << QSize(1000, 750) << QSize(160, 160) << QSize(250, 188) << 24 << true;
        QTest::newRow("JPEG of odd size rounds up") << QByteArray("jpeg") << rgb << QSize(1001, 751)
                                                    << QSize(160, 160) << QSize(251, 188) << 24 << true;
        QTest::newRow("tall JPEG fitted by height") << QByteArray("jpeg") << rgb << QSize(600, 1600)
                                                    << QSize(160, 160) << QSize(75, 200) << 24 << true;
        QTest::newRow("JPEG smaller than the box: whole")
            << QByteArray("jpeg") << rgb << QSize(100, 80) << QSize(160, 160) << QSize(100, 80) << 24 << true;
        QTest::newRow("empty box: whole") << QByteArray("jpeg") << rgb << QSize(400, 300) << QSize()
                                          << QSize(400, 300) << 24 << true;
        QTest::newRow("grey JPEG: 24 bits as OpenDib") << QByteArray("jpeg") << QImage::Format_Grayscale8
                                                       << QSize(800, 600) << QSize(160, 160) << QSize(200, 150)
                                                       << 24 << true;
        QTest::newRow("PNG decoded whole") << QByteArray("png") << rgb << QSize(400, 300) << QSize(160, 160)
                                           << QSize(400, 300) << 24 << true;
        QTest::newRow("palette PNG: depth only after decoding")
            << QByteArray("png") << QImage::Format_Indexed8 << QSize(40, 30) << QSize(160, 160) << QSize(40, 30)
            << 8 << false;
    }
    void decodesNoSmallerThanTheBox()
    {
        QFETCH(QByteArray, format);
        QFETCH(QImage::Format, pixels);
        QFETCH(QSize, full);
        QFETCH(QSize, box);
        QFETCH(QSize, decoded);
        QFETCH(int, bits);
        QFETCH(bool, headerKnown);
        QTemporaryDir dir;
        const QString path = dir.path() + "/p." + format;
        QImage img = cornerPattern(full.width(), full.height());
        if (pixels == QImage::Format_Indexed8)
            img = img.convertToFormat(pixels, Qt::ThresholdDither);
        else if (pixels != QImage::Format_RGB32)
            img = img.convertToFormat(pixels);
        QVERIFY(QImageWriter(path, format).write(img));

        ScaledPicture p = DecodeScaled(path, DibFormatAuto, box);
        QVERIFY2(p.Dib.Bits, qPrintable(DibErrorText(p.Dib)));
        QCOMPARE(QSize(DibWidth(p.Dib), DibHeight(p.Dib)), decoded);
        QCOMPARE(DibBitCount(p.Dib), bits);
        QCOMPARE(QSize(p.Full.Width, p.Full.Height), full);
        QCOMPARE(p.Full.BitCount, bits);
        QCOMPARE(p.Full.ImageBytes, DibRowBytes(std::uint32_t(full.width()), bits) * std::uint32_t(full.height()));
        // Rows the right way up: red at the top left.
        if (pixels == QImage::Format_RGB32)
            QVERIFY(qRed(dibColour(p.Dib, 1, 1)) > 200 && qBlue(dibColour(p.Dib, 1, 1)) < 60);
        deldib(&p.Dib);

        PictureHeader header;
        QCOMPARE(ReadPictureHeader(path, &header), headerKnown);
        if (headerKnown)
            QCOMPARE(QSize(header.Width, header.Height), full);
    }

    // Printing decodes at any number of eighths, but at 3, 6 and 7 libjpeg is
    // slower than at the next power of two, which also has more pixels.
    void eighthsAtTheFasterSize_data()
    {
        QTest::addColumn<QSize>("box");
        QTest::addColumn<QSize>("decoded");
        QTest::newRow("1/8") << QSize(160, 160) << QSize(200, 150);
        QTest::newRow("3/8 decoded at 4/8") << QSize(500, 375) << QSize(800, 600);
        QTest::newRow("5/8") << QSize(1000, 750) << QSize(1000, 750);
        QTest::newRow("6/8 decoded whole") << QSize(1100, 825) << QSize(1600, 1200);
        QTest::newRow("7/8 decoded whole") << QSize(1350, 1000) << QSize(1600, 1200);
    }
    void eighthsAtTheFasterSize()
    {
        QFETCH(QSize, box);
        QFETCH(QSize, decoded);
        QTemporaryDir dir;
        const QString path = dir.path() + "/p.jpeg";
        QVERIFY(QImageWriter(path, "jpeg").write(cornerPattern(1600, 1200)));
        QFile file;
        QVERIFY(OpenRegularFile(path, file));
        ScaledPicture p = DecodeScaled(file, path, DibFormatAuto, box, DctScales::Eighths);
        QVERIFY2(p.Dib.Bits, qPrintable(DibErrorText(p.Dib)));
        QCOMPARE(QSize(DibWidth(p.Dib), DibHeight(p.Dib)), decoded);
        deldib(&p.Dib);
    }

    // Failures carry OpenDib's text for the same file, and nothing blocks.
    void failures_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("JPEG cut in its data") << "cut";
        QTest::newRow("text named .jpg") << "text";
        QTest::newRow("missing file") << "missing";
    }
    void failures()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString path = dir.path() + "/p.jpg";
        if (kind == "cut") {
            QVERIFY(QImageWriter(path, "jpeg").write(cornerPattern(800, 600)));
            QByteArray bytes = readFile(path);
            QVERIFY(writeFile(path, bytes.left(bytes.size() / 2)));
        } else if (kind == "text") {
            QVERIFY(writeFile(path, "no picture"));
        }
        ScaledPicture p = DecodeScaled(path, DibFormatJpg, QSize(160, 160));
        QVERIFY(!p.Dib.Bits);
        DIB whole;
        OpenDib(&whole, path, DibFormatJpg, nullptr);
        QVERIFY(!whole.Bits);
        QCOMPARE(DibErrorText(p.Dib), DibErrorText(whole));
    }

    void fifoIsRefusedWithoutWaiting()
    {
        QTemporaryDir dir;
        const QString path = dir.path() + "/pipe.jpg";
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        ScaledPicture p = DecodeScaled(path, DibFormatJpg, QSize(160, 160));
        QVERIFY(!p.Dib.Bits);
        PictureHeader header;
        QVERIFY(!ReadPictureHeader(path, &header));
    }
};
SGA_TEST(TestScaledDecode)
#include "tst_scaleddecode.moc"
