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

// Weights in fixed point: the taps of one output pixel sum to exactly One.
constexpr int WeightBits = 14;
constexpr int One = 1 << WeightBits;

// Output pixel i of n covers source [start + i * span / n, start + (i + 1) * span / n);
// each source pixel it touches weighs by the length covered. Source indices
// are held to 0 .. limit - 1, and the taps of one output pixel are
// consecutive source pixels.
struct AxisWeights {
    std::vector<int> First;     // per output pixel: index into the taps
    std::vector<int> Count;     // per output pixel
    std::vector<int> Index;     // per tap: source pixel
    std::vector<std::int32_t> Weight; // per tap
};

AxisWeights axisWeights(double start, double span, int n, int limit)
{
    AxisWeights a;
    a.First.resize(std::size_t(n));
    a.Count.resize(std::size_t(n));
    const double step = span / n;
    for (int i = 0; i < n; ++i) {
        const double lo = start + i * step, hi = start + (i + 1) * step;
        const int first = int(a.Index.size());
        a.First[std::size_t(i)] = first;
        if (step <= 1.0) {
            // Enlarging: the nearest source pixel.
            a.Index.push_back(std::clamp(int(std::floor((lo + hi) / 2)), 0, limit - 1));
            a.Weight.push_back(One);
        } else {
            const int j0 = int(std::floor(lo)), j1 = int(std::ceil(hi));
            int total = 0, largest = -1;
            for (int j = j0; j < j1; ++j) {
                const double w = (std::min(hi, double(j + 1)) - std::max(lo, double(j))) / step;
                const int q = int(std::lround(w * One));
                if (q <= 0)
                    continue;
                const int index = std::clamp(j, 0, limit - 1);
                total += q;
                if (int(a.Index.size()) > first && a.Index.back() == index) {
                    // Held at the picture's edge: one tap, so the taps run along the row.
                    a.Weight.back() += q;
                    if (a.Weight.back() > a.Weight[std::size_t(largest)])
                        largest = int(a.Index.size()) - 1;
                    continue;
                }
                if (largest < 0 || q > a.Weight[std::size_t(largest)])
                    largest = int(a.Index.size());
                a.Index.push_back(index);
                a.Weight.push_back(q);
            }
            if (largest < 0) {
                a.Index.push_back(std::clamp(j0, 0, limit - 1));
                a.Weight.push_back(One);
            } else {
                // Rounding left over goes to the heaviest tap: flat areas stay flat.
                a.Weight[std::size_t(largest)] += One - total;
            }
        }
        a.Count[std::size_t(i)] = int(a.Index.size()) - first;
    }
    return a;
}

} // namespace

QImage ResampleToImage(const DIB &src, const QRectF &source, QSize size, int turns)
{
    turns &= 3;
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
    QImage out(turns % 2 ? size.transposed() : size, QImage::Format_RGB32);
    if (out.isNull())
        return {};
    // Where upright pixel (x, y) goes in the turned picture: base + x * dx + y * dy.
    const std::ptrdiff_t stride = out.bytesPerLine() / 4, ow = size.width(), oh = size.height();
    const std::ptrdiff_t base[4] = {0, oh - 1, (oh - 1) * stride + ow - 1, (ow - 1) * stride};
    const std::ptrdiff_t dx[4] = {1, stride, -1, -stride}, dy[4] = {stride, -1, -stride, 1};
    auto *const pixels = reinterpret_cast<std::uint32_t *>(out.bits());
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
    // A palette row is first spelled out as B, G, R.
    std::vector<BYTE> expanded(bits == 24 ? 0 : std::size_t(W) * 3);
    auto bgrRow = [&](int sy) -> const BYTE * {
        const BYTE *row = DibRow(src, H - 1 - sy);
        if (bits == 24)
            return row;
        for (int x = 0; x < W; ++x) {
            const int index = bits == 8 ? row[x]
                : bits == 4         ? ((x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4))
                                    : ((row[x >> 3] >> (7 - (x & 7))) & 1);
            std::memcpy(&expanded[std::size_t(x) * 3], table[index], 3);
        }
        return expanded.data();
    };

    // Down first, over whole rows (which the compiler turns into vector code),
    // then across one row per output row: the scalar part works on output
    // rows only. Sums stay within 32 bits: the rows summed down are brought to
    // 8 fraction bits before the weights across apply.
    const int c0 = cols.Index.front(), c1 = cols.Index.back() + 1; // taps run left to right
    const std::size_t span = std::size_t(c1 - c0) * 3;
    std::vector<std::int32_t> down(span);
    std::vector<std::uint16_t> line(span);
    const std::int32_t *weight = cols.Weight.data();
    for (int y = 0; y < size.height(); ++y) {
        std::fill(down.begin(), down.end(), 0);
        const int first = rows.First[std::size_t(y)];
        for (int t = first; t < first + rows.Count[std::size_t(y)]; ++t) {
            const BYTE *__restrict from = bgrRow(rows.Index[std::size_t(t)]) + std::size_t(c0) * 3;
            // 16-bit factors: vector code multiplies those fastest.
            const auto tap = std::int16_t(rows.Weight[std::size_t(t)]);
            std::int32_t *__restrict into = down.data();
            for (std::size_t i = 0; i < span; ++i)
                into[i] += std::int32_t(tap) * std::int32_t(std::int16_t(from[i]));
        }
        {
            constexpr int shift = WeightBits - 8;
            constexpr std::int32_t half = 1 << (shift - 1);
            const std::int32_t *__restrict from = down.data();
            std::uint16_t *__restrict into = line.data();
            for (std::size_t i = 0; i < span; ++i)
                into[i] = std::uint16_t(std::uint32_t(from[i] + half) >> shift);
        }
        std::uint32_t *to = pixels + base[turns] + y * dy[turns];
        const std::ptrdiff_t step = dx[turns];
        constexpr int shift = WeightBits + 8;
        constexpr std::uint32_t half = 1u << (shift - 1);
        const auto channel = [](std::uint32_t v) { return std::min((v + half) >> shift, 255u); };
        for (int x = 0; x < size.width(); ++x, to += step) {
            std::uint32_t b = 0, g = 0, r = 0;
            const int f = cols.First[std::size_t(x)], end = f + cols.Count[std::size_t(x)];
            const std::uint16_t *p = line.data() + std::size_t(cols.Index[std::size_t(f)] - c0) * 3;
            for (int k = f; k < end; ++k, p += 3) {
                const auto tap = std::uint32_t(weight[k]);
                b += tap * p[0];
                g += tap * p[1];
                r += tap * p[2];
            }
            *to = 0xFF000000u | (channel(r) << 16) | (channel(g) << 8) | channel(b);
        }
    }
    return out;
}
