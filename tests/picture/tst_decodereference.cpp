#include "DecodeFixtures.h"
#include "common/TestRegistry.h"
#include "picture/DecodeSupport.h"
#include "picture/OpenDib.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>
#include <cstring>
#include <vector>
#ifdef __GLIBC__
#include <malloc.h>
#endif

using namespace Fixtures;

namespace {

struct Opened {
    DIB dib;
    ~Opened() { deldib(&dib); }
};

// Leaves freed heap blocks full of `fill`, so memory a decoder forgets to set
// holds something else on the next run.
void stirHeap(int fill)
{
#ifdef __GLIBC__
    mallopt(M_PERTURB, fill);
#endif
    std::vector<void *> blocks;
    for (std::size_t size = 16; size <= (std::size_t(1) << 16); size *= 2)
        for (int i = 0; i < 3; ++i)
            if (void *p = std::malloc(size + std::size_t(i) * 24)) {
                std::memset(p, fill, size);
                blocks.push_back(p);
            }
    for (void *p : blocks)
        std::free(p);
}

void putLe32(QByteArray &a, int at, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        a[at + i] = char((v >> (8 * i)) & 0xFF);
}

QByteArray dibBytes(const DIB &d)
{
    if (!d.Bits)
        return QByteArray();
    const qsizetype colours = qsizetype(d.Info->biClrUsed) * qsizetype(sizeof(RGBQUAD));
    return QByteArray(reinterpret_cast<const char *>(DibColors(d)), colours) +
           QByteArray(reinterpret_cast<const char *>(d.Bits), qsizetype(d.Info->biSizeImage));
}

// Cuts a file short at the first progress report of its decode, as another
// program rewriting it would.
struct Shortener {
    QString Path;
    ProgressFn report()
    {
        return [this](int) {
            if (!Path.isEmpty()) {
                QFile::resize(Path, 100);
                Path.clear();
            }
        };
    }
};

} // namespace

// Small pictures in tests/data/decode, each with the pixels an independent
// decoder gave it (composed over white), or named *.refused.* when the
// program refuses it as unsupported.
class TestDecodeReference : public QObject
{
    Q_OBJECT

private slots:
    void decodesLikeAnIndependentDecoder_data()
    {
        QTest::addColumn<QString>("path");
        const QString dir = QFINDTESTDATA("data/decode");
        QVERIFY(!dir.isEmpty());
        const QStringList names = QDir(dir).entryList(QDir::Files, QDir::Name);
        for (const QString &name : names)
            if (!name.endsWith(QLatin1String(".ppm")) && !name.endsWith(QLatin1String(".py")))
                QTest::newRow(qPrintable(name)) << QDir(dir).filePath(name);
    }
    void decodesLikeAnIndependentDecoder()
    {
        QFETCH(QString, path);
        const int code = DibFormatForFileName(path);
        DibDecode::prepareImageReaders();
        const int limit = QImageReader::allocationLimit();
        Opened o;
        OpenDib(&o.dib, path, code, nullptr);
        // A setting of the whole process, read by decodes on other threads.
        QCOMPARE(QImageReader::allocationLimit(), limit);
        if (path.contains(QLatin1String(".refused."))) {
            QVERIFY(!o.dib.Bits);
            QCOMPARE(DibErrorText(o.dib), DibDecode::errorText(DibDecode::Error::Unsupported));
            return;
        }
        QVERIFY2(o.dib.Bits, qPrintable(DibErrorText(o.dib)));
        const QString ppm = path.endsWith(QLatin1String(".dib")) ? path + QLatin1String(".ppm")
                                                                  : path.left(path.lastIndexOf(QLatin1Char('.'))) + QLatin1String(".ppm");
        const QImage expected(ppm);
        QVERIFY2(!expected.isNull(), qPrintable(ppm));
        QCOMPARE(DibWidth(o.dib), expected.width());
        QCOMPARE(DibHeight(o.dib), expected.height());
        for (int y = 0; y < expected.height(); ++y)
            for (int x = 0; x < expected.width(); ++x)
                if (dibColour(o.dib, x, y) != expected.pixel(x, y))
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2 is %3, expected %4")
                                         .arg(x)
                                         .arg(y)
                                         .arg(dibColour(o.dib, x, y) & 0xFFFFFF, 6, 16, QLatin1Char('0'))
                                         .arg(expected.pixel(x, y) & 0xFFFFFF, 6, 16, QLatin1Char('0'))));

        // The same file gives the same bytes, whatever the heap held before.
        for (int fill : {0x00, 0xA5, 0x5A}) {
            stirHeap(fill);
            Opened again;
            OpenDib(&again.dib, path, code, nullptr);
            QCOMPARE(dibBytes(again.dib), dibBytes(o.dib));
        }
#ifdef __GLIBC__
        mallopt(M_PERTURB, 0);
#endif
    }

    // Damaged variants of the same pictures fail with a text, before any
    // allocation the file could not back.
    void damagedFilesFail_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("name");
        const QString dir = QFINDTESTDATA("data/decode");
        auto file = [&](const char *name) { return readFile(QDir(dir).filePath(QLatin1String(name))); };
        const QByteArray pal = file("bmp-v3-56-8bit.bmp");
        const QByteArray rgb = file("bmp-16bit-555.bmp");
        const QByteArray fields = file("bmp-16bit-565-bitfields.bmp");
        const QByteArray rle8 = file("bmp-rle8-no-end-code.bmp");
        const QByteArray rle4 = file("bmp-rle4-delta-absolute.bmp");
        const QByteArray gif = file("gif-three-images-no-delay.gif");
        QTest::newRow("BMP cut inside the info header") << pal.left(30) << "a.bmp";
        QTest::newRow("BMP cut in the last row") << rgb.left(rgb.size() - 3) << "a.bmp";
        QTest::newRow("BMP cut before its bit-field masks") << fields.left(14 + 40 + 6) << "a.bmp";
        QByteArray huge = rgb;
        putLe32(huge, 18, 16000);
        putLe32(huge, 22, 16000);
        QTest::newRow("BMP of 16000 x 16000 in 200 bytes") << huge << "a.bmp";
        QByteArray far = pal;
        putLe32(far, 10, 0x7FFFFFF0);
        QTest::newRow("BMP pixels past the end of the file") << far << "a.bmp";
        QByteArray header = pal;
        putLe32(header, 14, 200);
        QTest::newRow("BMP header of an unknown size") << header << "a.bmp";
        QByteArray zero = pal;
        putLe32(zero, 18, 0);
        QTest::newRow("BMP of width 0") << zero << "a.bmp";
        QByteArray tall = rle8;
        putLe32(tall, 18, 16000);
        putLe32(tall, 22, 16000);
        QTest::newRow("RLE8 stopping short of the last row") << tall << "a.bmp";
        QTest::newRow("RLE4 cut inside an absolute stretch") << rle4.left(rle4.size() - 19) << "a.rle";
        QTest::newRow("DIB without file header, cut") << file("bmp-v3-56-8bit.dib").left(60) << "a.dib";
        QTest::newRow("16-bit PNG with colour key, cut") << file("png-16bit-rgb-trns.png").left(70) << "a.png";
        QTest::newRow("TGA grey with alpha, run-length, cut") << file("tga-grey-alpha-rle.tga").left(30) << "a.tga";
        QTest::newRow("GIF whose last image is cut") << gif.left(gif.size() - 6) << "a.gif";
    }
    void damagedFilesFail()
    {
        QFETCH(QByteArray, data);
        QFETCH(QString, name);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        QVERIFY(writeFile(path, data));
        Opened o;
        OpenDib(&o.dib, path, DibFormatForFileName(path), nullptr);
        QVERIFY(!o.dib.Bits);
        QVERIFY2(DibErrorText(o.dib).size() > 5, qPrintable(DibErrorText(o.dib)));
    }

    // A file another program shortens while it is decoded gives its picture
    // as read, or fails as damaged; it never takes the program down.
    void fileShortenedWhileDecoded_data()
    {
        QTest::addColumn<QByteArray>("format");
        QTest::newRow("BMP, 24 bits") << QByteArray("bmp");
        QTest::newRow("TIFF, uncompressed strips") << QByteArray("tiff");
    }
    void fileShortenedWhileDecoded()
    {
        QFETCH(QByteArray, format);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("cut.") + QString::fromLatin1(format));
        QImageWriter writer(path, format);
        QVERIFY(writer.write(cornerPattern(300, 300)));
        Shortener owner;
        owner.Path = path;
        Opened o;
        OpenDib(&o.dib, path, DibFormatForFileName(path), owner.report());
        QVERIFY(owner.Path.isEmpty()); // it was cut
        if (!o.dib.Bits)
            QCOMPARE(DibErrorText(o.dib), DibDecode::errorText(DibDecode::Error::Damaged));
    }
};

SGA_TEST(TestDecodeReference)
#include "tst_decodereference.moc"
