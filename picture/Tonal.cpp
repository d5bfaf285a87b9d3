#include "picture/Tonal.h"

#include <algorithm>
#include <cstring>

namespace {
int clampByte(long long v) { return int(std::clamp<long long>(v, 0, 255)); }

template <typename F>
ToneTable makeTable(F f)
{
    ToneTable t{};
    for (int v = 0; v < 256; ++v)
        t[std::size_t(v)] = BYTE(f(v));
    return t;
}
} // namespace

int BrightnessValue(int v, int B) { return clampByte(static_cast<long long>(v) + B); }

int ContrastValue(int v, int K)
{
    K = std::clamp(K, 0, 200);
    if (K <= 100)
        return clampByte(K * (v - 127) / 100 + 127);
    if (v < 128)
        return clampByte(v * (200 - K) / 100);
    return clampByte(255 - (200 - K) * (255 - v) / 100);
}

int SaturationValue(int v, int S)
{
    return clampByte((static_cast<long long>(v) - 128) * (static_cast<long long>(S) + 100) / 100 + 128);
}

ToneTable BrightnessTable(int B)
{
    return makeTable([B](int v) { return BrightnessValue(v, B); });
}

ToneTable ContrastTable(int K)
{
    return makeTable([K](int v) { return ContrastValue(v, K); });
}

ToneTable SaturationTable(int S)
{
    return makeTable([S](int v) { return SaturationValue(v, S); });
}

ToneTable ComposeTables(const ToneTable &first, const ToneTable &then)
{
    ToneTable t{};
    for (std::size_t v = 0; v < 256; ++v)
        t[v] = then[first[v]];
    return t;
}

bool CopyThroughTable(const DIB &from, DIB &to, const ToneTable &t)
{
    if (!from.Bits || !to.Bits || DibBitCount(from) != 24 || DibBitCount(to) != 24 || DibWidth(from) != DibWidth(to) ||
        DibHeight(from) != DibHeight(to) || from.RowBytes != to.RowBytes)
        return false;
    const std::size_t rowLen = std::size_t(DibWidth(from)) * 3;
    for (int r = 0; r < DibHeight(from); ++r) {
        const BYTE *in = DibRow(from, r);
        BYTE *out = DibRow(to, r);
        for (std::size_t i = 0; i < rowLen; ++i)
            out[i] = t[in[i]];
        std::memcpy(out + rowLen, in + rowLen, from.RowBytes - rowLen);
    }
    return true;
}

void ApplyToneTable(DIB &dib, const ToneTable &t)
{
    if (!dib.Bits || !dib.Info)
        return;
    const int bits = DibBitCount(dib);
    const int n = PaletteSize(bits);
    if (n > 0) {
        for (int i = 0; i < n; ++i) {
            PALETTEENTRY &e = dib.LogPalette.palPalEntry[i];
            e.peRed = t[e.peRed];
            e.peGreen = t[e.peGreen];
            e.peBlue = t[e.peBlue];
        }
        // The colour table may hold fewer entries than the depth allows.
        const int tableEntries = std::min<int>(n, int(dib.Info->biClrUsed));
        RGBQUAD *table = DibColors(dib);
        for (int i = 0; i < tableEntries; ++i) {
            const PALETTEENTRY &e = dib.LogPalette.palPalEntry[i];
            table[i].rgbRed = e.peRed;
            table[i].rgbGreen = e.peGreen;
            table[i].rgbBlue = e.peBlue;
        }
        RealizeDibPalette(&dib);
        return;
    }
    if (bits != 24)
        return;
    const std::size_t rowLen = std::size_t(DibWidth(dib)) * 3;
    for (int r = 0; r < DibHeight(dib); ++r) {
        BYTE *p = DibRow(dib, r);
        for (std::size_t i = 0; i < rowLen; ++i)
            p[i] = t[p[i]];
    }
}
