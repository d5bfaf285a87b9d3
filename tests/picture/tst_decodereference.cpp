#include "DecodeFixtures.h"
#include "common/TestRegistry.h"
#include "picture/DecodeSupport.h"
#include "picture/OpenDib.h"

#include <QDir>
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

QByteArray dibBytes(const DIB &d)
{
    if (!d.Bits)
        return QByteArray();
    const qsizetype colours = qsizetype(d.Info->biClrUsed) * qsizetype(sizeof(RGBQUAD));
    return QByteArray(reinterpret_cast<const char *>(DibColors(d)), colours) +
           QByteArray(reinterpret_cast<const char *>(d.Bits), qsizetype(d.Info->biSizeImage));
}

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
        Opened o;
        OpenDib(&o.dib, path, code, nullptr);
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
};

SGA_TEST(TestDecodeReference)
#include "tst_decodereference.moc"
