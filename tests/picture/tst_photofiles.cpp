#include "DecodeFixtures.h"
#include "common/PhotoFixtures.h"
#include "common/TestRegistry.h"
#include "picture/ColourProfile.h"
#include "picture/OpenDib.h"
#include "picture/Orientation.h"

#include <QBuffer>
#include <QColorSpace>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QTest>

using namespace Fixtures;

namespace {
bool near(QRgb a, QRgb b, int tolerance)
{
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

QByteArray encoded(const QImage &img, const char *format)
{
    if (qstrcmp(format, "heic") == 0)
        return PhotoFixtures::heic(img);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(100);
    if (qstrcmp(format, "webp") == 0)
        writer.setQuality(101); // lossless
    writer.write(img);
    return bytes;
}
} // namespace

class TestPhotoFiles : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void todaysExtensionsHaveFormatCodes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("code");
        QTest::newRow("jpeg") << "a.jpeg" << int(DibFormatJpg);
        QTest::newRow("jpe upper case") << "A.JPE" << int(DibFormatJpg);
        QTest::newRow("tiff") << "scan.tiff" << int(DibFormatTif);
        QTest::newRow("webp") << "web.WebP" << int(DibFormatWebp);
        QTest::newRow("heic") << "IMG_0001.HEIC" << int(DibFormatHeif);
        QTest::newRow("heif") << "x.heif" << int(DibFormatHeif);
        QTest::newRow("avif is not offered") << "x.avif" << int(DibFormatAuto);
    }
    void todaysExtensionsHaveFormatCodes()
    {
        QFETCH(QString, name);
        QFETCH(int, code);
        QCOMPARE(DibFormatForFileName(name), code);
    }

    // Every format opens upright with its corners where they were, as 24 bits.
    void decodesTodaysFormats_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("tolerance");
        QTest::newRow("jpeg extension") << "p.jpeg" << QByteArray("jpeg") << QSize(64, 48) << 40;
        QTest::newRow("tiff extension") << "p.tiff" << QByteArray("tiff") << QSize(64, 48) << 0;
        QTest::newRow("webp lossless") << "p.webp" << QByteArray("webp") << QSize(64, 48) << 0;
        QTest::newRow("heic") << "p.heic" << QByteArray("heic") << QSize(64, 48) << 40;
        // An odd size is written as a grid of tiles cropped to the picture, as phones do.
        QTest::newRow("heic tile grid") << "grid.heic" << QByteArray("heic") << QSize(67, 45) << 40;
        QTest::newRow("heic named jpg still decodes") << "phone.jpg" << QByteArray("heic") << QSize(64, 48) << 40;
    }
    void decodesTodaysFormats()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, format);
        QFETCH(QSize, size);
        QFETCH(int, tolerance);
        const QImage img = cornerPattern(size.width(), size.height());
        const QByteArray bytes = encoded(img, format.constData());
        if (bytes.isEmpty())
            QSKIP("no encoder for this format here");
        if (name.startsWith(QLatin1String("grid")))
            QVERIFY(bytes.contains("grid"));
        const QString path = m_dir.filePath(name);
        QVERIFY(writeFile(path, bytes));
        DIB dib;
        OpenDib(&dib, path, 0, nullptr);
        QVERIFY2(dib.Bits, qPrintable(DibErrorText(dib)));
        QCOMPARE(QSize(DibWidth(dib), DibHeight(dib)), size);
        QCOMPARE(DibBitCount(dib), 24);
        const int r = size.width() - 3, b = size.height() - 3;
        for (const QPoint &p : {QPoint(2, 2), QPoint(r, 2), QPoint(2, b), QPoint(r, b)})
            QVERIFY2(near(dibColour(dib, p.x(), p.y()), img.pixel(p), tolerance),
                     qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
        deldib(&dib);
    }

    void damagedHeicFailsCleanly()
    {
        const QByteArray bytes = encoded(cornerPattern(64, 48), "heic");
        if (bytes.isEmpty())
            QSKIP("no HEVC encoder here");
        for (const qsizetype keep : {qsizetype(40), bytes.size() / 2, bytes.size() - 10}) {
            const QString path = m_dir.filePath(QStringLiteral("cut.heic"));
            QVERIFY(writeFile(path, bytes.left(keep)));
            DIB dib;
            OpenDib(&dib, path, 0, nullptr);
            QVERIFY(!dib.Bits);
            QVERIFY(!DibErrorText(dib).isEmpty());
        }
    }

    void cameraOrientationBecomesQuarterTurns_data()
    {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<int>("turns");
        QTest::addColumn<bool>("mirrored");
        QTest::newRow("upright") << 1 << 0 << false;
        QTest::newRow("upside down") << 3 << 2 << false;
        QTest::newRow("turned left in the camera") << 6 << 1 << false;
        QTest::newRow("turned right in the camera") << 8 << 3 << false;
        QTest::newRow("mirrored") << 2 << 0 << true;
        QTest::newRow("flipped") << 4 << 2 << true;
        QTest::newRow("transposed") << 5 << 3 << true;
        QTest::newRow("transversed") << 7 << 1 << true;
        QTest::newRow("out of range") << 9 << 0 << false;
    }
    void cameraOrientationBecomesQuarterTurns()
    {
        QFETCH(int, orientation);
        QFETCH(int, turns);
        QFETCH(bool, mirrored);
        const QString path = m_dir.filePath(QStringLiteral("o%1.jpg").arg(orientation));
        QVERIFY(writeFile(path, PhotoFixtures::jpegWithOrientation(cornerPattern(40, 20), orientation)));
        QCOMPARE(ReadCameraOrientation(path).Turns, turns);
        QCOMPARE(ReadCameraOrientation(path).Mirrored, mirrored);
        // Decoding keeps the stored orientation.
        DIB dib;
        OpenDib(&dib, path, 0, nullptr);
        QCOMPARE(DibWidth(dib), 40);
        deldib(&dib);
    }

    void turnQuartersMovesTheTopLeftCorner_data()
    {
        QTest::addColumn<int>("turns");
        QTest::addColumn<QPoint>("redCorner"); // where the red top-left corner ends
        QTest::newRow("none") << 0 << QPoint(0, 0);
        QTest::newRow("clockwise") << 1 << QPoint(19, 0);
        QTest::newRow("half") << 2 << QPoint(39, 19);
        QTest::newRow("counter-clockwise") << 3 << QPoint(0, 39);
        QTest::newRow("taken modulo four") << 5 << QPoint(19, 0);
    }
    void turnQuartersMovesTheTopLeftCorner()
    {
        QFETCH(int, turns);
        QFETCH(QPoint, redCorner);
        const QString path = m_dir.filePath(QStringLiteral("turn.png"));
        QVERIFY(cornerPattern(40, 20).save(path));
        DIB dib;
        OpenDib(&dib, path, 0, nullptr);
        QVERIFY(TurnQuarters(dib, turns));
        QCOMPARE(DibWidth(dib), turns % 2 ? 20 : 40);
        QVERIFY(near(dibColour(dib, redCorner.x(), redCorner.y()), qRgb(255, 0, 0), 60));
        deldib(&dib);
    }

    // The sRGB primary red written in Display P3 numbers (234, 51, 35) must come
    // back as sRGB red, and the same numbers in linear sRGB as the sRGB curve
    // gives them; without a profile the numbers are taken as they are.
    void embeddedProfileIsConvertedToSrgb_data()
    {
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<int>("profile"); // a QColorSpace::NamedColorSpace, 0 for none
        QTest::addColumn<QRgb>("expected");
        QTest::addColumn<int>("tolerance");
        const int p3 = QColorSpace::DisplayP3;
        QTest::newRow("png with P3") << QByteArray("png") << p3 << qRgb(255, 0, 0) << 3;
        QTest::newRow("jpeg with P3") << QByteArray("jpeg") << p3 << qRgb(255, 0, 0) << 8;
        QTest::newRow("png with linear sRGB") << QByteArray("png") << int(QColorSpace::SRgbLinear)
                                              << qRgb(246, 124, 104) << 2;
        QTest::newRow("png without profile") << QByteArray("png") << 0 << qRgb(234, 51, 35) << 0;
    }
    void embeddedProfileIsConvertedToSrgb()
    {
        QFETCH(QByteArray, format);
        QFETCH(int, profile);
        QFETCH(QRgb, expected);
        QFETCH(int, tolerance);
        QImage img(16, 16, QImage::Format_RGB32);
        img.fill(qRgb(234, 51, 35));
        if (profile)
            img.setColorSpace(QColorSpace(QColorSpace::NamedColorSpace(profile)));
        const QString path = m_dir.filePath(QStringLiteral("p3.") + QString::fromLatin1(format));
        QVERIFY(writeFile(path, encoded(img, format.constData())));
        DIB dib;
        OpenDib(&dib, path, 0, nullptr);
        QVERIFY(dib.Bits);
        const QRgb got = dibColour(dib, 8, 8);
        QVERIFY2(near(got, expected, tolerance),
                 qPrintable(QStringLiteral("%1 %2 %3").arg(qRed(got)).arg(qGreen(got)).arg(qBlue(got))));
        deldib(&dib);
    }

    void unusableProfileLeavesThePicture()
    {
        const QString path = m_dir.filePath(QStringLiteral("plain.png"));
        QVERIFY(cornerPattern(8, 8).save(path));
        DIB dib;
        OpenDib(&dib, path, 0, nullptr);
        const QRgb before = dibColour(dib, 3, 3);
        QVERIFY(ConvertDibToSrgb(dib, QByteArray("not a profile at all")));
        QVERIFY(ConvertDibToSrgb(dib, QColorSpace(QColorSpace::SRgb).iccProfile()));
        QCOMPARE(dibColour(dib, 3, 3), before);
        deldib(&dib);
    }
};

SGA_TEST(TestPhotoFiles)
#include "tst_photofiles.moc"
