// Opening a dozen 12-megapixel JPEGs, as opening an arrangement does: one
// after another on the calling thread, and through a decode batch on every
// core, taken in file order. Wall-time medians of three rounds each, the two
// ways alternating, with every picture held until the round ends.
#include "picture/DecodeBatch.h"
#include "picture/OpenDib.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QThreadPool>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int Files = 12;
constexpr int Rounds = 3;

// Smooth gradients with a little grain, so the files are photo-sized.
QImage photoLike(int seed)
{
    QImage image(4000, 3000, QImage::Format_RGB32);
    quint32 grain = 2463534242u + quint32(seed);
    for (int y = 0; y < image.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            grain ^= grain << 13;
            grain ^= grain >> 17;
            grain ^= grain << 5;
            const int n = int(grain & 15);
            row[x] = qRgb((x / 16 + seed * 20 + n) & 255, (y / 12 + n) & 255, ((x + y) / 28 + n) & 255);
        }
    }
    return image;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void release(std::vector<DIB> &dibs)
{
    for (DIB &d : dibs)
        deldib(&d);
    dibs.clear();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    QStringList paths;
    for (int i = 0; i < Files; ++i) {
        paths.append(dir.filePath(QStringLiteral("photo%1.jpg").arg(i)));
        QImageWriter writer(paths.back(), "jpeg");
        writer.setQuality(90);
        if (!writer.write(photoLike(i))) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(paths.back()));
            return 1;
        }
    }

    std::vector<double> sequential, parallel;
    std::vector<DIB> dibs;
    int failed = 0;
    for (int round = 0; round < Rounds; ++round) {
        QElapsedTimer t;
        t.start();
        for (const QString &path : paths) {
            dibs.push_back(DIB {});
            OpenDib(&dibs.back(), path, 0, nullptr);
            failed += dibs.back().Bits ? 0 : 1;
        }
        sequential.push_back(t.nsecsElapsed() / 1e9);
        release(dibs);

        t.start();
        {
            DecodeBatch batch(paths);
            for (int i = 0; i < Files; ++i) {
                dibs.push_back(batch.TakeNext());
                failed += dibs.back().Bits ? 0 : 1;
            }
        }
        parallel.push_back(t.nsecsElapsed() / 1e9);
        release(dibs);
    }
    if (failed) {
        std::fprintf(stderr, "%d decodes failed\n", failed);
        return 1;
    }
    const double p = median(parallel), s = median(sequential);
    std::printf("open_parallel_s: %.3f s\n", p);
    std::printf("open_sequential_s: %.3f s\n", s);
    std::printf("open_ratio: %.2f (threads: %d)\n", p / s, QThreadPool::globalInstance()->maxThreadCount());
    return 0;
}
