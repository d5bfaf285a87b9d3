// OpenDib against a plain QImageReader::read of the same file, for a
// 12-megapixel JPEG and PNG of photo-like content, and for baseline and
// progressive JPEG against the djpeg tool when it is installed (CPU time of
// the child, pixels compared with its output) (medians of the process's
// CPU time, which other programs on a busy machine disturb far less than wall
// time; wall-time medians go to stderr), and the peak heap memory
// OpenDib takes on top of what it started with, as a multiple of the final
// DIB's pixel bytes. Heap use is counted by replacing malloc and friends in
// this program (every library's allocations go through them); file pages in
// the system cache are not counted.
#include "picture/JpegDecoder.h"
#include "picture/OpenDib.h"

#include <QCoreApplication>
#include <QFile>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <string>
#include <malloc.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char **environ;

extern "C" {
void *__libc_malloc(size_t);
void *__libc_calloc(size_t, size_t);
void *__libc_realloc(void *, size_t);
void *__libc_memalign(size_t, size_t);
void __libc_free(void *);
}

namespace {
std::atomic<long long> g_current{0};
std::atomic<long long> g_peak{0};

void counted(void *p)
{
    if (!p)
        return;
    const long long now = g_current += (long long)malloc_usable_size(p);
    long long peak = g_peak.load();
    while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
    }
}
void uncounted(void *p)
{
    if (p)
        g_current -= (long long)malloc_usable_size(p);
}
} // namespace

extern "C" {
void *malloc(size_t n)
{
    void *p = __libc_malloc(n);
    counted(p);
    return p;
}
void *calloc(size_t n, size_t m)
{
    void *p = __libc_calloc(n, m);
    counted(p);
    return p;
}
void *realloc(void *old, size_t n)
{
    uncounted(old);
    void *p = __libc_realloc(old, n);
    counted(p ? p : (n ? old : nullptr));
    return p;
}
void free(void *p)
{
    uncounted(p);
    __libc_free(p);
}
void *memalign(size_t align, size_t n)
{
    void *p = __libc_memalign(align, n);
    counted(p);
    return p;
}
void *aligned_alloc(size_t align, size_t n) { return memalign(align, n); }
int posix_memalign(void **out, size_t align, size_t n)
{
    *out = memalign(align, n);
    return *out ? 0 : ENOMEM;
}
}

namespace {

constexpr int Width = 4000, Height = 3000;
constexpr int Runs = 11;

// Smooth light falloff, a few soft shapes and sensor-like noise: compresses
// like a photograph rather than like flat test colours.
QImage photoLike()
{
    QImage img(Width, Height, QImage::Format_RGB32);
    std::uint32_t seed = 12345;
    for (int y = 0; y < Height; ++y) {
        auto *row = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < Width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int noise = int((seed >> 24) % 13) - 6;
            const double fx = double(x) / Width, fy = double(y) / Height;
            const double light = 0.6 + 0.4 * std::sin(fx * 3.1) * std::cos(fy * 2.3);
            const double ring = std::sin(std::hypot(fx - 0.4, fy - 0.55) * 40.0) * 0.15;
            const int r = std::clamp(int(255 * (light * (0.7 + 0.3 * fx) + ring)) + noise, 0, 255);
            const int g = std::clamp(int(255 * (light * 0.8 - ring * 0.5)) + noise, 0, 255);
            const int b = std::clamp(int(255 * (light * (0.5 + 0.4 * fy))) + noise, 0, 255);
            row[x] = qRgb(r, g, b);
        }
    }
    return img;
}

double cpuNs()
{
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e9 + double(t.tv_nsec);
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Figures {
    double ratio;
    double peak;
};

Figures measure(const QString &path)
{
    std::vector<double> plain, open, plainWall, openWall;
    QElapsedTimer t;
    for (int run = 0; run < Runs; ++run) {
        t.start();
        double c = cpuNs();
        {
            QImageReader reader(path);
            const QImage img = reader.read();
            if (img.isNull())
                std::fprintf(stderr, "plain read failed\n");
        }
        plain.push_back(cpuNs() - c);
        plainWall.push_back(double(t.nsecsElapsed()));
        t.start();
        c = cpuNs();
        {
            DIB d;
            OpenDib(&d, path, DibFormatForFileName(path), nullptr);
            if (!d.Bits)
                std::fprintf(stderr, "OpenDib failed: %s\n", qPrintable(DibErrorText(d)));
            deldib(&d);
        }
        open.push_back(cpuNs() - c);
        openWall.push_back(double(t.nsecsElapsed()));
    }

    std::fprintf(stderr, "%s: plain read %.1f ms CPU / %.1f ms wall, OpenDib %.1f ms CPU / %.1f ms wall\n",
                 qPrintable(QFileInfo(path).fileName()), median(plain) / 1e6, median(plainWall) / 1e6,
                 median(open) / 1e6, median(openWall) / 1e6);
    const long long before = g_current.load();
    g_peak = before;
    DIB d;
    OpenDib(&d, path, DibFormatForFileName(path), nullptr);
    const double extra = double(g_peak.load() - before);
    const double dibBytes = d.Info ? double(d.Info->biSizeImage) : 1.0;
    deldib(&d);
    return {median(open) / median(plain), extra / dibBytes};
}

// CPU time (user + system) of one run of a program, in ns; negative when it
// could not run or failed.
double childCpuNs(const std::vector<std::string> &args)
{
    std::vector<char *> argv;
    for (const std::string &a : args)
        argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    int status = 0;
    rusage use{};
    if (wait4(pid, &status, 0, &use) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return (double(use.ru_utime.tv_sec) + double(use.ru_stime.tv_sec)) * 1e9 +
           (double(use.ru_utime.tv_usec) + double(use.ru_stime.tv_usec)) * 1e3;
}

// Whether a DIB holds exactly the pixels of a binary PPM.
bool sameAsPpm(const DIB &d, const QString &ppm)
{
    QFile f(ppm);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray all = f.readAll();
    int w = 0, h = 0, max = 0, used = 0;
    if (std::sscanf(all.constData(), "P6 %d %d %d%n", &w, &h, &max, &used) != 3 || max != 255)
        return false;
    const char *px = all.constData() + used + 1;
    if (w != DibWidth(d) || h != DibHeight(d) || all.size() < used + 1 + qsizetype(w) * h * 3)
        return false;
    for (int y = 0; y < h; ++y) {
        const BYTE *row = DibRow(d, h - 1 - y);
        const char *s = px + qsizetype(y) * w * 3;
        for (int x = 0; x < w; ++x)
            if (BYTE(s[3 * x]) != row[3 * x + 2] || BYTE(s[3 * x + 1]) != row[3 * x + 1] ||
                BYTE(s[3 * x + 2]) != row[3 * x])
                return false;
    }
    return true;
}

void againstDjpeg(const QString &path, const char *tag)
{
    const QString ppm = path + QStringLiteral(".ppm");
    const std::vector<std::string> args = {"djpeg", "-ppm", "-outfile", ppm.toStdString(), path.toStdString()};
    if (childCpuNs(args) < 0) {
        std::printf("%s: djpeg not available, comparison skipped\n", tag);
        return;
    }
    std::vector<double> tool, own;
    for (int run = 0; run < Runs; ++run) {
        tool.push_back(childCpuNs(args));
        const double c = cpuNs();
        DIB d;
        OpenDib(&d, path, DibFormatJpg, nullptr);
        own.push_back(cpuNs() - c);
        deldib(&d);
    }
    DIB d;
    OpenDib(&d, path, DibFormatJpg, nullptr);
    const bool same = sameAsPpm(d, ppm);
    deldib(&d);
    std::fprintf(stderr, "%s: djpeg %.1f ms CPU, OpenDib %.1f ms CPU\n", tag, median(tool) / 1e6, median(own) / 1e6);
    std::printf("%s_vs_djpeg: %.2f x\n", tag, median(own) / median(tool));
    std::printf("%s_pixels_identical_to_djpeg: %s\n", tag, same ? "yes" : "NO");
}

void scaledDecodes(const QString &path)
{
    for (int denominator : {2, 4, 8}) {
        std::vector<double> times;
        for (int run = 0; run < Runs; ++run) {
            QFile f(path);
            f.open(QIODevice::ReadOnly);
            const double c = cpuNs();
            DIB d;
            if (DecodeJpeg(f, denominator, &d) != DibDecode::Error::None)
                std::fprintf(stderr, "scaled decode failed\n");
            times.push_back(cpuNs() - c);
            deldib(&d);
        }
        std::printf("jpeg_scaled_1_%d: %.1f ms CPU\n", denominator, median(times) / 1e6);
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QImage img = photoLike();
    const QString jpeg = dir.filePath(QStringLiteral("photo.jpg"));
    const QString png = dir.filePath(QStringLiteral("photo.png"));
    QImageWriter jw(jpeg, "jpeg");
    jw.setQuality(90);
    QImageWriter pw(png, "png");
    if (!jw.write(img) || !pw.write(img)) {
        std::fprintf(stderr, "cannot write the test pictures\n");
        return 1;
    }

    const QString progressive = dir.filePath(QStringLiteral("progressive.jpg"));
    QImageWriter prw(progressive, "jpeg");
    prw.setQuality(90);
    prw.setProgressiveScanWrite(true);
    if (!prw.write(img)) {
        std::fprintf(stderr, "cannot write the test pictures\n");
        return 1;
    }

    const Figures j = measure(jpeg);
    const Figures pj = measure(progressive);
    const Figures p = measure(png);
    std::printf("opendib_vs_qimagereader_jpeg: %.2f x\n", j.ratio);
    std::printf("opendib_vs_qimagereader_png: %.2f x\n", p.ratio);
    std::printf("opendib_peak_memory_jpeg: %.2f x\n", j.peak);
    std::printf("opendib_peak_memory_png: %.2f x\n", p.peak);
    std::printf("opendib_vs_qimagereader_progressive_jpeg: %.2f x\n", pj.ratio);
    std::printf("opendib_peak_memory_progressive_jpeg: %.2f x\n", pj.peak);
    againstDjpeg(jpeg, "baseline_jpeg");
    againstDjpeg(progressive, "progressive_jpeg");
    scaledDecodes(jpeg);
    return 0;
}
