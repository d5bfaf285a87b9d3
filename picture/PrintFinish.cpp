#include "picture/PrintFinish.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

ToneTable PrintToneTable(int brightness, int contrast)
{
    const double k = (100.0 + std::clamp(contrast, -100, 100)) / 100;
    const double offset = std::clamp(brightness, -100, 100) * 1.28;
    ToneTable t;
    for (int v = 0; v < 256; ++v)
        t[v] = static_cast<unsigned char>(std::clamp(std::lround((v - 127.5) * k + 127.5 + offset), 0L, 255L));
    return t;
}

namespace {
bool thirtyTwoBit(QImage& image)
{
    const QImage::Format f = image.format();
    if (f == QImage::Format_RGB32 || f == QImage::Format_ARGB32)
        return true;
    image.convertTo(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    return !image.isNull();
}

// Gaussian weights for offsets 0..r that sum to 256 over -r..r; r ends
// where the weights round to nothing.
std::vector<std::uint16_t> gaussianWeights(double sigma)
{
    const int reach = std::max(1, int(std::ceil(3 * sigma)));
    std::vector<double> w(std::size_t(reach) + 1);
    double sum = 0;
    for (int i = 0; i <= reach; ++i) {
        w[std::size_t(i)] = std::exp(-double(i) * i / (2 * sigma * sigma));
        sum += i ? 2 * w[std::size_t(i)] : w[0];
    }
    std::vector<std::uint16_t> out;
    int total = 0;
    for (int i = 0; i <= reach; ++i) {
        const int k = int(std::lround(w[std::size_t(i)] / sum * 256));
        if (i > 0 && k == 0)
            break;
        out.push_back(std::uint16_t(k));
        total += i ? 2 * k : 0;
    }
    out[0] = std::uint16_t(256 - total); // exact sum, so flat areas stay as they are
    return out;
}
} // namespace

void ApplyToneTable(QImage& image, const ToneTable& t)
{
    if (image.isNull() || !thirtyTwoBit(image))
        return;
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = row[x];
            row[x] = qRgba(t[std::size_t(qRed(p))], t[std::size_t(qGreen(p))], t[std::size_t(qBlue(p))], qAlpha(p));
        }
    }
}

// Wider vector units where the processor has them: the loops below are
// most of a sharpened print's time. Not under ThreadSanitizer, whose runtime
// is not up yet when the loader picks the variant.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && !defined(__SANITIZE_THREAD__)
__attribute__((target_clones("avx2", "default")))
#endif
bool UnsharpMask(QImage &image, int amountPercent, double radius)
{
    if (image.isNull() || amountPercent <= 0 || !(radius > 0))
        return true;
    if (!thirtyTwoBit(image))
        return false;
    const std::vector<std::uint16_t> k = gaussianWeights(std::min(radius, 50.0));
    const int r = int(k.size()) - 1;
    if (r == 0)
        return true; // a blur narrower than a pixel changes nothing
    const int w = image.width(), h = image.height();
    const std::size_t rowBytes = std::size_t(w) * 4;
    const std::size_t pad = std::size_t(r) * 4;
    // Bytes of 32-bit pixels, all four channels alike: loops without
    // per-channel work, which the compiler turns into vector code. Originals
    // of the rows above are kept in a ring, as the image is written in place.
    std::vector<std::uint8_t> ring, across;
    std::vector<std::uint16_t> sums;
    std::vector<const std::uint8_t*> rows(std::size_t(2 * r + 1));
    try {
        ring.resize(std::size_t(r + 1) * rowBytes);
        across.resize(rowBytes + 2 * pad);
        sums.resize(rowBytes);
    } catch (const std::bad_alloc&) {
        return false;
    }
    const int amount = amountPercent * 256 / 100;
    const bool alpha = image.hasAlphaChannel();
    for (int y = 0; y < h; ++y) {
        for (int j = -r; j <= r; ++j) {
            const int at = std::clamp(y + j, 0, h - 1);
            rows[std::size_t(j + r)] = at < y ? &ring[std::size_t(at % (r + 1)) * rowBytes] : image.constScanLine(at);
        }
        // Down the columns, into the middle of a row padded with its edge
        // pixels. Tap by tap over the whole row: loops the compiler turns
        // into vector code. Weights sum to 256, so sums of bytes fit 16 bits.
        std::uint8_t* mid = across.data() + pad;
        std::uint16_t* sum = sums.data();
        const std::uint8_t* centre = rows[std::size_t(r)];
        for (std::size_t b = 0; b < rowBytes; ++b)
            sum[b] = std::uint16_t(k[0] * centre[b] + 128);
        for (int j = 1; j < r; ++j) {
            const std::uint8_t *above = rows[std::size_t(r - j)], *below = rows[std::size_t(r + j)];
            const std::uint16_t kj = k[std::size_t(j)];
            for (std::size_t b = 0; b < rowBytes; ++b)
                sum[b] = std::uint16_t(sum[b] + kj * std::uint16_t(above[b] + below[b]));
        }
        {
            const std::uint8_t *above = rows[0], *below = rows[std::size_t(2 * r)];
            const std::uint16_t kr = k[std::size_t(r)];
            for (std::size_t b = 0; b < rowBytes; ++b)
                mid[b] = std::uint8_t(std::uint16_t(sum[b] + kr * std::uint16_t(above[b] + below[b])) >> 8);
        }
        for (std::size_t b = 0; b < pad; ++b) {
            across[b] = mid[b % 4];
            mid[rowBytes + b] = mid[rowBytes - 4 + b % 4];
        }
        std::uint8_t* row = image.scanLine(y);
        std::memcpy(&ring[std::size_t(y % (r + 1)) * rowBytes], row, rowBytes);
        // Along the row, then the difference from the blur added back.
        for (std::size_t b = 0; b < rowBytes; ++b)
            sum[b] = std::uint16_t(k[0] * mid[b] + 128);
        for (int i = 1; i < r; ++i) {
            const std::uint8_t *left = mid - 4 * i, *right = mid + 4 * i;
            const std::uint16_t ki = k[std::size_t(i)];
            for (std::size_t b = 0; b < rowBytes; ++b)
                sum[b] = std::uint16_t(sum[b] + ki * std::uint16_t(left[b] + right[b]));
        }
        const std::uint8_t *left = mid - 4 * r, *right = mid + 4 * r;
        const std::uint16_t kr = k[std::size_t(r)];
        for (std::size_t b = 0; b < rowBytes; ++b) {
            const int v = row[b];
            const int diff = v - (std::uint16_t(sum[b] + kr * std::uint16_t(left[b] + right[b])) >> 8);
            row[b] = std::uint8_t(std::clamp(v + ((diff * amount + 128) >> 8), 0, 255));
        }
        if (alpha)
            for (int x = 0; x < w; ++x)
                row[4 * x + 3] = ring[std::size_t(y % (r + 1)) * rowBytes + 4 * std::size_t(x) + 3];
    }
    return true;
}
