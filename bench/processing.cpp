// Figures for the pixel work on a 12-megapixel 24-bit picture: enlarging by
// 1.5 (output megapixels per second), a quarter turn, and one preview of the
// adjustment dialog with non-neutral values. Medians of several runs.
#include "picture/ToneDialog.h"
#include "picture/Resample.h"
#include "picture/Rotate.h"

#include <QApplication>
#include <QSlider>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {
template <typename F>
double medianSeconds(int runs, F f)
{
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        f();
        t.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

DIB photo(int w, int h)
{
    DIB d;
    if (!newdib(&d, w, h, 24, nullptr, 0))
        return d;
    for (int r = 0; r < h; ++r) {
        BYTE *p = DibRow(d, r);
        for (int x = 0; x < w; ++x, p += 3) {
            p[0] = BYTE(x * 3 + r);
            p[1] = BYTE(x ^ r);
            p[2] = BYTE((x * r) >> 4);
        }
    }
    return d;
}
} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    constexpr int W = 4000, H = 3000, Runs = 5;
    DIB pic = photo(W, H);
    if (!pic.Bits) {
        std::fprintf(stderr, "no memory for the test picture\n");
        return 1;
    }
    int rows = 0;
    const ProgressFn progress = [&rows](int) { ++rows; };

    const int NW = W * 3 / 2, NH = H * 3 / 2;
    const double resize = medianSeconds(Runs, [&] {
        DIB out;
        Resize(pic, NW, NH, true, &out, progress);
        deldib(&out);
    });
    std::printf("resize_output_mp_per_s: %.0f MP/s\n", double(NW) * NH / 1e6 / resize);

    const double rotate = medianSeconds(Runs, [&] { RotRight(pic, progress); });
    std::printf("rotate_12mp_s: %.2f s\n", rotate);

    ToneDialog form;
    form.WorkDib = pic;
    newdib(&form.OldDib, W, H, 24, nullptr, 0);
    std::memcpy(form.OldDib.Bits, pic.Bits, pic.Info->biSizeImage);
    form.BrightnessSlider->setValue(25);
    form.ContrastSlider->setValue(130);
    form.SaturationSlider->setValue(-30);
    const double preview = medianSeconds(Runs, [&] { form.previewTones(); });
    std::printf("bcs_preview_12mp_s: %.2f s\n", preview);
    return rows > 0 ? 0 : 1;
}
