#include "picture/Resample.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

bool NewDibLike(DIB *out, const DIB &src, int width, int height)
{
    const int bits = DibBitCount(src);
    // Never read more colour table than the source holds.
    int colours = bits <= 8 ? (1 << bits) : 0;
    if (src.Info)
        colours = std::min<int>(colours, int(std::min<DWORD>(src.Info->biClrUsed, 256)));
    if (!newdib(out, width, height, bits, src.Info, colours))
        return false;
    if (bits <= 8) {
        out->LogPalette = src.LogPalette;
        out->HasPalette = src.HasPalette;
        RealizeDibPalette(out);
    }
    return true;
}

namespace {

// One column of a 24-bit bilinear row: byte offsets of the two source pixels
// and their weights (which add up to 1023, not 1024).
struct BilinearColumn {
    std::uint32_t off0, off1;
    std::uint32_t w0, w1;
};

void horizontalRow(const BYTE *src, const std::vector<BilinearColumn> &cols, std::uint16_t *dst)
{
    for (const BilinearColumn &c : cols) {
        const BYTE *a = src + c.off0;
        const BYTE *b = src + c.off1;
        dst[0] = std::uint16_t((a[0] * c.w0 + b[0] * c.w1) >> 10);
        dst[1] = std::uint16_t((a[1] * c.w0 + b[1] * c.w1) >> 10);
        dst[2] = std::uint16_t((a[2] * c.w0 + b[2] * c.w1) >> 10);
        dst += 3;
    }
}

void resizeBilinear24(const DIB &src, DIB &dst, std::int64_t stepX, std::int64_t stepY, const ProgressFn &progress)
{
    const int W = DibWidth(src), H = DibHeight(src);
    const int NW = DibWidth(dst), NH = DibHeight(dst);
    std::vector<BilinearColumn> cols(static_cast<std::size_t>(NW));
    for (int x = 0; x < NW; ++x) {
        const std::int64_t pos = std::int64_t(x) * stepX;
        const int sx = std::min<int>(int(pos >> 10), W - 1);
        const int sx1 = std::min(sx + 1, W - 1);
        const std::uint32_t fx = std::uint32_t(pos & 1023);
        cols[std::size_t(x)] = {std::uint32_t(sx) * 3, std::uint32_t(sx1) * 3, 1023 - fx, fx};
    }

    // Each source row is interpolated across once and kept while the output
    // rows still need it: output row y mixes the rows of SY and SY + 1.
    const std::size_t lineLen = std::size_t(NW) * 3;
    std::vector<std::uint16_t> lineA(lineLen), lineB(lineLen);
    std::uint16_t *top = lineA.data(), *bottom = lineB.data();
    int topRow = -1, bottomRow = -1;

    for (int y = 0; y < NH; ++y) {
        ReportProgress(progress, RowProgress(y, NH));
        const std::int64_t pos = std::int64_t(y) * stepY;
        const int sy = std::min<int>(int(pos >> 10), H - 1);
        const int sy1 = std::min(sy + 1, H - 1);
        const std::uint32_t fy = std::uint32_t(pos & 1023);
        if (topRow != sy) {
            if (bottomRow == sy) {
                std::swap(top, bottom);
                std::swap(topRow, bottomRow);
            } else {
                horizontalRow(DibRow(src, sy), cols, top);
                topRow = sy;
            }
        }
        if (bottomRow != sy1) {
            horizontalRow(DibRow(src, sy1), cols, bottom);
            bottomRow = sy1;
        }
        const std::uint32_t w0 = 1023 - fy, w1 = fy;
        BYTE *out = DibRow(dst, y);
        for (std::size_t i = 0; i < lineLen; ++i)
            out[i] = BYTE((std::uint32_t(top[i]) * w0 + std::uint32_t(bottom[i]) * w1) >> 10);
    }
}

// Source column of every output column, nearest pixel.
std::vector<std::uint32_t> nearestColumns(int NW, int W, std::int64_t stepX)
{
    std::vector<std::uint32_t> cols(static_cast<std::size_t>(NW));
    for (int x = 0; x < NW; ++x)
        cols[std::size_t(x)] = std::uint32_t(std::min<std::int64_t>((std::int64_t(x) * stepX) >> 10, W - 1));
    return cols;
}

void resizeNearest(const DIB &src, DIB &dst, std::int64_t stepX, std::int64_t stepY, const ProgressFn &progress)
{
    const int W = DibWidth(src), H = DibHeight(src), bits = DibBitCount(src);
    const int NW = DibWidth(dst), NH = DibHeight(dst);
    if (bits == 1) {
        // Rows as getpixel/setpixel count them, from the top.
        const std::vector<std::uint32_t> cols = nearestColumns(NW, W, stepX);
        for (int y = 0; y < NH; ++y) {
            ReportProgress(progress, RowProgress(y, NH));
            const int sy = std::min<int>(int((std::int64_t(y) * stepY) >> 10), H - 1);
            for (int x = 0; x < NW; ++x)
                setpixel(dst, x, y, getpixel(src, int(cols[std::size_t(x)]), sy));
        }
        return;
    }
    if (bits != 4 && bits != 8 && bits != 24 && bits != 32) {
        for (int y = 0; y < NH; ++y)
            ReportProgress(progress, RowProgress(y, NH));
        return; // other depths: the rows stay as newdib made them
    }
    std::vector<std::uint32_t> cols = nearestColumns(NW, W, stepX);
    if (bits >= 24)
        for (std::uint32_t &c : cols)
            c *= std::uint32_t(bits / 8);
    for (int y = 0; y < NH; ++y) {
        ReportProgress(progress, RowProgress(y, NH));
        const int sy = std::min<int>(int((std::int64_t(y) * stepY) >> 10), H - 1);
        const BYTE *in = DibRow(src, sy);
        BYTE *out = DibRow(dst, y);
        switch (bits) {
        case 24:
            for (int x = 0; x < NW; ++x) {
                const BYTE *p = in + cols[std::size_t(x)];
                out[0] = p[0];
                out[1] = p[1];
                out[2] = p[2];
                out += 3;
            }
            break;
        case 32: // not made by the decoders, but never blanked either
            for (int x = 0; x < NW; ++x) {
                std::memcpy(out, in + cols[std::size_t(x)], 4);
                out += 4;
            }
            break;
        case 8:
            for (int x = 0; x < NW; ++x)
                out[x] = in[cols[std::size_t(x)]];
            break;
        case 4:
            for (int x = 0; x < NW; ++x) {
                const std::uint32_t sx = cols[std::size_t(x)];
                const BYTE nibble = (sx & 1) ? (in[sx >> 1] & 0x0F) : (in[sx >> 1] >> 4);
                out[x >> 1] |= (x & 1) ? nibble : BYTE(nibble << 4);
            }
            break;
        }
    }
}

} // namespace

bool Resize(const DIB &src, int NW, int NH, bool smooth, DIB *out, const ProgressFn &progress)
{
    ReportProgress(progress, 0);
    DIB result;
    const int W = DibWidth(src), H = DibHeight(src);
    bool ok = src.Bits && W > 0 && H > 0 && NW > 0 && NH > 0 && NewDibLike(&result, src, NW, NH);
    if (ok) {
        const std::int64_t stepX = std::int64_t(W) * 1024 / NW;
        const std::int64_t stepY = std::int64_t(H) * 1024 / NH;
        try {
            if (DibBitCount(src) == 24 && smooth && NW >= W && NH >= H)
                resizeBilinear24(src, result, stepX, stepY, progress);
            else
                resizeNearest(src, result, stepX, stepY, progress);
        } catch (const std::bad_alloc &) {
            ok = false; // the column tables did not fit
        }
    }
    // `out` may be the source record itself, so it is written last.
    *out = ok ? result : DIB{};
    ReportProgress(progress, 0);
    return ok;
}

bool DepthUpTo(DIB *pic, int depth, const ProgressFn &progress)
{
    ReportProgress(progress, 0);
    const int bits = pic ? DibBitCount(*pic) : 0;
    if (!pic || depth != 24 || !pic->Bits || (bits != 1 && bits != 4 && bits != 8))
        return false;
    const int W = DibWidth(*pic), H = DibHeight(*pic);
    DIB full;
    if (!newdib(&full, W, H, 24, nullptr, 0)) {
        ReportProgress(progress, 0);
        return false;
    }

    // Blue, green, red of every index. A 1-bit picture without palette is black
    // and white; with one it keeps its colours (index 0 may well be white).
    BYTE bgr[256][3] = {};
    const int entries = pic->LogPalette.palNumEntries;
    for (int i = 0; i < 256; ++i) {
        const PALETTEENTRY &e = pic->LogPalette.palPalEntry[i];
        bgr[i][0] = e.peBlue;
        bgr[i][1] = e.peGreen;
        bgr[i][2] = e.peRed;
    }
    if (bits == 1 && entries < 2) {
        std::fill_n(&bgr[0][0], 3, BYTE(0));
        std::fill_n(&bgr[1][0], 3, BYTE(255));
    }

    for (int y = 0; y < H; ++y) {
        ReportProgress(progress, RowProgress(y, H));
        const int stored = H - 1 - y;
        const BYTE *in = DibRow(*pic, stored);
        BYTE *out = DibRow(full, stored);
        for (int x = 0; x < W; ++x) {
            int index;
            if (bits == 8)
                index = in[x];
            else if (bits == 4)
                index = (x & 1) ? (in[x >> 1] & 0x0F) : (in[x >> 1] >> 4);
            else
                index = (in[x >> 3] >> (7 - (x & 7))) & 1;
            out[0] = bgr[index][0];
            out[1] = bgr[index][1];
            out[2] = bgr[index][2];
            out += 3;
        }
    }
    deldib(pic);
    *pic = full;
    ReportProgress(progress, 0);
    return true;
}

QualitySize MinQualitySize(int W, int H, int minPpi, double frameWidth, double pageWidth)
{
    // Enlarging for the part of a frame beyond the page adds nothing printable.
    const double shown = pageWidth > 0 ? std::min(frameWidth, pageWidth) : frameWidth;
    // Pixels needed across the frame; NaN, zero and negative widths need none.
    const double need = double(minPpi) * shown;
    if (W <= 0 || H <= 0 || !(need >= 1.0))
        return {W, H};
    const std::int64_t needW = need >= double(INT_MAX) ? INT_MAX : std::int64_t(need);
    const std::int64_t needH = std::int64_t(H) * needW / W;
    if (W >= needW && H >= needH)
        return {W, H}; // never reduced
    return {needW, needH};
}

namespace {

// Output pixel i of n covers source [start + i * span / n, start + (i + 1) * span / n);
// each source pixel it touches weighs by the length covered, the weights of one
// output pixel summing to 1. Source indices are held to 0 .. limit - 1.
struct AxisWeights {
    std::vector<int> First;     // per output pixel: index into Taps
    std::vector<int> Count;     // per output pixel
    std::vector<int> Index;     // per tap: source pixel
    std::vector<float> Weight;  // per tap
};

AxisWeights axisWeights(double start, double span, int n, int limit)
{
    AxisWeights a;
    a.First.resize(std::size_t(n));
    a.Count.resize(std::size_t(n));
    const double step = span / n;
    for (int i = 0; i < n; ++i) {
        const double lo = start + i * step, hi = start + (i + 1) * step;
        a.First[std::size_t(i)] = int(a.Index.size());
        if (step <= 1.0) {
            // Enlarging: the nearest source pixel.
            a.Index.push_back(std::clamp(int(std::floor((lo + hi) / 2)), 0, limit - 1));
            a.Weight.push_back(1.0f);
        } else {
            const int j0 = int(std::floor(lo)), j1 = int(std::ceil(hi));
            for (int j = j0; j < j1; ++j) {
                const double w = (std::min(hi, double(j + 1)) - std::max(lo, double(j))) / step;
                if (w <= 0)
                    continue;
                a.Index.push_back(std::clamp(j, 0, limit - 1));
                a.Weight.push_back(float(w));
            }
        }
        a.Count[std::size_t(i)] = int(a.Index.size()) - a.First[std::size_t(i)];
    }
    return a;
}

} // namespace

QImage ResampleToImage(const DIB &src, const QRectF &source, QSize size)
{
    const int W = DibWidth(src), H = DibHeight(src);
    if (!src.Bits || W <= 0 || H <= 0 || size.isEmpty() || !source.isValid()
        || std::uint64_t(size.width()) * std::uint64_t(size.height()) > std::uint64_t(256) * 1024 * 1024)
        return {};
    const QRectF inside = source.intersected(QRectF(0, 0, W, H));
    if (inside.width() <= 0 || inside.height() <= 0)
        return {};
    const int bits = DibBitCount(src);
    if (bits != 24 && bits != 8 && bits != 4 && bits != 1)
        return {};
    QImage out(size, QImage::Format_RGB32);
    if (out.isNull())
        return {};
    // Rows counted from the top: the source's top edge is H - bottom edge.
    const AxisWeights cols = axisWeights(source.x(), source.width(), size.width(), W);
    const AxisWeights rows = axisWeights(H - source.y() - source.height(), source.height(), size.height(), H);

    // Colour of every palette index as B, G, R.
    BYTE table[256][3] = {};
    if (bits <= 8) {
        const int n = std::min<int>(PaletteSize(bits), int(src.Info->biClrUsed ? src.Info->biClrUsed : PaletteSize(bits)));
        const RGBQUAD *colours = DibColors(src);
        for (int i = 0; i < n && i < 256; ++i) {
            table[i][0] = colours[i].rgbBlue;
            table[i][1] = colours[i].rgbGreen;
            table[i][2] = colours[i].rgbRed;
        }
    }
    auto pixel = [&](const BYTE *row, int x) -> const BYTE * {
        switch (bits) {
        case 24:
            return row + std::size_t(x) * 3;
        case 8:
            return table[row[x]];
        case 4:
            return table[(x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4)];
        default:
            return table[(row[x >> 3] >> (7 - (x & 7))) & 1];
        }
    };

    // One source row resampled across, kept while the next output row needs it.
    const std::size_t across = std::size_t(size.width()) * 3;
    std::vector<float> sum(across), line(across);
    int lineRow = -1;
    for (int y = 0; y < size.height(); ++y) {
        std::fill(sum.begin(), sum.end(), 0.0f);
        const int first = rows.First[std::size_t(y)];
        for (int t = first; t < first + rows.Count[std::size_t(y)]; ++t) {
            const int sy = rows.Index[std::size_t(t)];
            if (sy != lineRow) {
                const BYTE *row = DibRow(src, H - 1 - sy);
                for (int x = 0; x < size.width(); ++x) {
                    float b = 0, g = 0, r = 0;
                    const int f = cols.First[std::size_t(x)];
                    for (int k = f; k < f + cols.Count[std::size_t(x)]; ++k) {
                        const BYTE *p = pixel(row, cols.Index[std::size_t(k)]);
                        const float w = cols.Weight[std::size_t(k)];
                        b += w * p[0];
                        g += w * p[1];
                        r += w * p[2];
                    }
                    line[std::size_t(x) * 3] = b;
                    line[std::size_t(x) * 3 + 1] = g;
                    line[std::size_t(x) * 3 + 2] = r;
                }
                lineRow = sy;
            }
            const float w = rows.Weight[std::size_t(t)];
            for (std::size_t i = 0; i < across; ++i)
                sum[i] += w * line[i];
        }
        auto *to = reinterpret_cast<std::uint32_t *>(out.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const auto channel = [&](int c) {
                return std::uint32_t(std::clamp(int(sum[std::size_t(x) * 3 + std::size_t(c)] + 0.5f), 0, 255));
            };
            to[x] = 0xFF000000u | (channel(2) << 16) | (channel(1) << 8) | channel(0);
        }
    }
    return out;
}
