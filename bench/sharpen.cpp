// Sharpening for print: a 24-megapixel picture (6000 x 4000) resampled for a
// 30 x 20 cm print at 300 dpi, alone and followed by the unsharp mask with the
// suggested glossy and matte values, medians of the same run. Prints the times
// and sharpen_overhead (resample and sharpen over the resample alone).
#include "document/PageGeometry.h"
#include "output/PrintSetup.h"
#include "picture/Dib.h"
#include "picture/PrintFinish.h"
#include "picture/Resample.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {
constexpr int Width = 6000, Height = 4000, Dpi = 300;

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Fine detail everywhere, as a photograph's texture: no run of equal pixels.
bool makePicture(DIB* dib)
{
    if (!newdib(dib, Width, Height, 24, nullptr, 0))
        return false;
    std::uint32_t seed = 12345;
    for (int y = 0; y < Height; ++y) {
        BYTE* row = DibRow(*dib, y);
        for (int x = 0; x < Width * 3; ++x) {
            seed = seed * 1664525u + 1013904223u;
            row[x] = BYTE(((x / 3 + y) & 0xFF) / 2 + (seed >> 25));
        }
    }
    return true;
}

double timeMs(const DIB& src, QSize out, const PrintSharpening& sharpening)
{
    QElapsedTimer timer;
    timer.start();
    QImage image = ResampleToImage(src, QRectF(0, 0, Width, Height), out);
    if (sharpening.on())
        UnsharpMask(image, sharpening.Amount, sharpening.Radius / MmPerInch * Dpi);
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    if (image.isNull())
        std::fprintf(stderr, "resample failed\n");
    return ms;
}
} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    DIB src;
    if (!makePicture(&src)) {
        std::fprintf(stderr, "out of memory\n");
        return 1;
    }
    const QSize out(int(300 / MmPerInch * Dpi + 0.5), int(200 / MmPerInch * Dpi + 0.5));
    std::vector<double> plain, glossy, matte;
    // Interleaved, so that a busy machine weighs on all three alike.
    for (int round = 0; round < 7; ++round) {
        plain.push_back(timeMs(src, out, {}));
        glossy.push_back(timeMs(src, out, GlossySharpening));
        matte.push_back(timeMs(src, out, MatteSharpening));
    }
    deldib(&src);
    const double p = median(plain), g = median(glossy), m = median(matte);
    std::printf("output: %d x %d px\n", out.width(), out.height());
    std::printf("resample: %.1f ms\n", p);
    std::printf("resample_sharpen_glossy: %.1f ms\n", g);
    std::printf("resample_sharpen_matte: %.1f ms\n", m);
    std::printf("sharpen_overhead: %.3f x\n", g / p);
    std::printf("sharpen_overhead_matte: %.3f x\n", m / p);
    return 0;
}
