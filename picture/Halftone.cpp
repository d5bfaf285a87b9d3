#include "picture/Halftone.h"

#include <algorithm>
#include <vector>

namespace {

// 8x8 ordered-dither thresholds, 0..63.
constexpr int Bayer8[8][8] = {
    {0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26}, {12, 44, 4, 36, 14, 46, 6, 38},
    {60, 28, 52, 20, 62, 30, 54, 22}, {3, 35, 11, 43, 1, 33, 9, 41},   {51, 19, 59, 27, 49, 17, 57, 25},
    {15, 47, 7, 39, 13, 45, 5, 37},  {63, 31, 55, 23, 61, 29, 53, 21},
};

constexpr int Step = 255 / (HalftoneLevels - 1); // 51 between cube levels

// For each channel value and threshold row: the cube level, so the inner loop
// is three table reads. level = floor((v + offset) / Step) with the threshold
// spread over one step.
struct DitherTable {
    BYTE level[64][256];
    DitherTable()
    {
        for (int t = 0; t < 64; ++t)
            for (int v = 0; v < 256; ++v) {
                const int q = v / Step;
                const int rest = v - q * Step; // 0..50
                // rest / Step compared with the threshold (t + 0.5) / 64
                const bool up = rest * 128 > (2 * t + 1) * Step;
                level[t][v] = BYTE(std::min(HalftoneLevels - 1, q + (up ? 1 : 0)));
            }
    }
};

const DitherTable &ditherTable()
{
    static const DitherTable table;
    return table;
}

// The colour of any source pixel as red, green, blue.
struct SourceReader {
    int bits;
    const RGBQUAD *colours;
    int colourCount;

    void read(const BYTE *row, int x, int &r, int &g, int &b) const
    {
        unsigned idx;
        switch (bits) {
        case 24: {
            const BYTE *p = row + std::size_t(x) * 3;
            b = p[0];
            g = p[1];
            r = p[2];
            return;
        }
        case 8:
            idx = row[x];
            break;
        case 4:
            idx = (x & 1) ? (row[x >> 1] & 0x0Fu) : (row[x >> 1] >> 4);
            break;
        default:
            idx = (row[x >> 3] >> (7 - (x & 7))) & 1u;
            break;
        }
        if (colourCount == 0) {
            // No colour table: indices are grey levels.
            r = g = b = int(idx * 255 / unsigned(PaletteSize(bits) - 1));
        } else if (int(idx) < colourCount) {
            r = colours[idx].rgbRed;
            g = colours[idx].rgbGreen;
            b = colours[idx].rgbBlue;
        } else {
            r = g = b = 0;
        }
    }
};

bool makeHalftoneDib(DIB *out, int width, int height)
{
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD table[256];
    } block{};
    for (int r = 0; r < HalftoneLevels; ++r)
        for (int g = 0; g < HalftoneLevels; ++g)
            for (int b = 0; b < HalftoneLevels; ++b)
                block.table[(r * HalftoneLevels + g) * HalftoneLevels + b] =
                    RGBQUAD{BYTE(b * Step), BYTE(g * Step), BYTE(r * Step), 0};
    return newdib(out, width, height, 8, &block.header, 256);
}

} // namespace

void DIBHalftoneDIBXY(DIB *out, const DIB &src, int width, int height)
{
    *out = DIB{};
    const int bits = DibBitCount(src);
    if (!src.Bits || (bits != 1 && bits != 4 && bits != 8 && bits != 24))
        return;
    const int sw = DibWidth(src);
    const int sh = DibHeight(src);
    if (sw <= 0 || sh <= 0 || !makeHalftoneDib(out, width, height))
        return;

    // biClrUsed is the number of entries the header really carries.
    const int colourCount = bits == 24 ? 0 : int(std::min<DWORD>(src.Info->biClrUsed, DWORD(PaletteSize(bits))));
    const SourceReader reader{bits, DibColors(src), colourCount};
    std::vector<int> srcX(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x)
        srcX[std::size_t(x)] = int(std::int64_t(x) * sw / width);
    const DitherTable &dt = ditherTable();
    for (int y = 0; y < height; ++y) {
        const int sy = int(std::int64_t(y) * sh / height);
        const BYTE *srow = DibRow(src, sh - 1 - sy);
        BYTE *drow = DibRow(*out, height - 1 - y);
        const int *thresholds = Bayer8[y & 7];
        for (int x = 0; x < width; ++x) {
            int r, g, b;
            reader.read(srow, srcX[std::size_t(x)], r, g, b);
            const BYTE(&lv)[64][256] = dt.level;
            const int t = thresholds[x & 7];
            drow[x] = BYTE((lv[t][r] * HalftoneLevels + lv[t][g]) * HalftoneLevels + lv[t][b]);
        }
    }
}

void DIBHalftoneDIB(DIB *out, const DIB &src24)
{
    DIBHalftoneDIBXY(out, src24, DibWidth(src24), DibHeight(src24));
}
