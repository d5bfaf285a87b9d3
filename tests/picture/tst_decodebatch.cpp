#include "common/TestRegistry.h"
#include "picture/DecodeBatch.h"
#include "picture/OpenDib.h"

#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>

#include <algorithm>

#include <sys/stat.h>

namespace {

QByteArray dibBytes(const DIB &d)
{
    if (!d.Bits)
        return DibErrorText(d).toUtf8();
    const qsizetype colours = qsizetype(d.Info->biClrUsed) * qsizetype(sizeof(RGBQUAD));
    return QByteArray(reinterpret_cast<const char *>(d.Info), sizeof(BITMAPINFOHEADER)) +
           QByteArray(reinterpret_cast<const char *>(DibColors(d)), colours) +
           QByteArray(reinterpret_cast<const char *>(d.Bits), qsizetype(d.Info->biSizeImage));
}

// Makes the file a kind names, as `name` in dir: "big" (a noisy JPEG that takes
// a while), "small" (a tiny PNG), "grey" (a palette GIF), "damaged" (half a
// JPEG), "empty", "fifo"; "missing" makes nothing.
QString makeFile(const QTemporaryDir &dir, const QString &kind, int index)
{
    const QString path = dir.filePath(QStringLiteral("%1-%2").arg(index).arg(kind));
    if (kind == QLatin1String("big") || kind == QLatin1String("damaged")) {
        QImage image(1600, 1200, QImage::Format_RGB32);
        QRandomGenerator noise {quint32(index)};
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, noise.generate() | 0xFF000000u);
        QImageWriter(path + ".jpg", "jpeg").write(image);
        if (kind == QLatin1String("damaged")) {
            QFile f(path + ".jpg");
            f.resize(f.size() / 2);
        }
        return path + ".jpg";
    }
    if (kind == QLatin1String("small")) {
        QImage image(5, 3, QImage::Format_RGB32);
        image.fill(qRgb(index * 20, 100, 200));
        QImageWriter(path + ".png").write(image);
        return path + ".png";
    }
    if (kind == QLatin1String("grey")) {
        QImage image(7, 4, QImage::Format_Indexed8);
        image.setColorTable({qRgb(0, 0, 0), qRgb(128, 128, 128), qRgb(255, 255, 255)});
        image.fill(1);
        QImageWriter(path + ".gif").write(image);
        return path + ".gif";
    }
    if (kind == QLatin1String("empty")) {
        QFile f(path + ".bmp");
        f.open(QIODevice::WriteOnly);
        return path + ".bmp";
    }
    if (kind == QLatin1String("fifo"))
        mkfifo(QFile::encodeName(path + ".png").constData(), 0600);
    return path + ".png";
}

} // namespace

class TestDecodeBatch : public QObject
{
    Q_OBJECT

private slots:
    // Whatever order the pool finishes in, the pictures come in list order,
    // each exactly what a decode of its own gives.
    void givesEveryPictureInListOrder_data()
    {
        QTest::addColumn<QString>("kinds");
        QTest::newRow("a small picture after a large one") << "big small small big small";
        QTest::newRow("missing and damaged among good ones") << "small missing big damaged empty grey missing";
        // A plain open would wait for a writer for good; it fails like a missing file.
        QTest::newRow("a FIFO among good ones") << "small fifo small";
        QTest::newRow("nothing to decode") << "";
    }
    void givesEveryPictureInListOrder()
    {
        QFETCH(QString, kinds);
        QTemporaryDir dir;
        QStringList paths;
        for (const QString &kind : kinds.split(' ', Qt::SkipEmptyParts))
            paths.append(makeFile(dir, kind, int(paths.size())));
        std::vector<int> progress;
        {
            DecodeBatch batch(paths);
            batch.Progress = [&progress](int percent) { progress.push_back(percent); };
            QCOMPARE(batch.Count(), paths.size());
            for (const QString &path : paths) {
                DIB got = batch.TakeNext();
                DIB expected;
                if (path.contains(QLatin1String("fifo"))) {
                    QVERIFY(!got.Bits && !DibErrorText(got).isEmpty());
                } else {
                    OpenDib(&expected, path, 0, nullptr);
                    QCOMPARE(dibBytes(got), dibBytes(expected));
                }
                deldib(&got);
                deldib(&expected);
            }
            DIB past = batch.TakeNext();
            QVERIFY(!past.Bits && !past.Info);
        }
        if (!paths.isEmpty()) {
            QVERIFY(std::is_sorted(progress.begin(), progress.end() - 1));
            QCOMPARE(progress.end()[-2], 100);
            QCOMPARE(progress.back(), 0);
        }
    }

    // Abandoning a batch mid-way leaves nothing behind and nothing running
    // into freed memory (the sanitizers watch).
    void abandonedBatchIsSafe_data()
    {
        QTest::addColumn<int>("taken");
        QTest::addColumn<bool>("stopFirst");
        QTest::newRow("destroyed before any was taken") << 0 << false;
        QTest::newRow("destroyed after one was taken") << 1 << false;
        QTest::newRow("stopped, then asked for more") << 2 << true;
    }
    void abandonedBatchIsSafe()
    {
        QFETCH(int, taken);
        QFETCH(bool, stopFirst);
        QTemporaryDir dir;
        QStringList paths;
        for (int i = 0; i < 6; ++i)
            paths.append(makeFile(dir, "big", i));
        {
            DecodeBatch batch(paths);
            for (int i = 0; i < taken; ++i) {
                DIB dib = batch.TakeNext();
                QVERIFY(dib.Bits);
                deldib(&dib);
            }
            if (stopFirst) {
                batch.Stop();
                DIB after = batch.TakeNext();
                QVERIFY(!after.Bits);
                QCOMPARE(batch.Taken(), taken);
            }
        }
        QThreadPool::globalInstance()->waitForDone();
    }
};

SGA_TEST(TestDecodeBatch)
#include "tst_decodebatch.moc"
