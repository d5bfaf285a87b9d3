#pragma once
// Small pictures with known pixels for the processing tests.
#include "picture/Dib.h"

#include <QByteArray>
#include <QtGlobal>

#include <cstring>
#include <vector>

// A picture whose pixels are deterministic pseudo-random values (palette
// indices or packed colours), with a palette of recognisable colours.
inline DIB patternPicture(int width, int height, int bits, unsigned seed = 1)
{
    DIB d;
    std::vector<BYTE> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
    auto *table = reinterpret_cast<RGBQUAD *>(info.data() + sizeof(BITMAPINFOHEADER));
    for (int i = 0; i < 256; ++i)
        table[i] = RGBQUAD{BYTE(i * 7 + 3), BYTE(255 - i), BYTE(i * 13 + 40), 0};
    const auto *header = reinterpret_cast<BITMAPINFOHEADER *>(info.data());
    const bool ok = newdib(&d, width, height, bits, header, PaletteSize(bits));
    Q_ASSERT(ok);
    Q_UNUSED(ok);
    unsigned state = seed * 2654435761u + 12345u;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            state = state * 1103515245u + 12345u;
            setpixel(d, x, y, (state >> 8) & 0xFFFFFF);
        }
    return d;
}

// A 24-bit picture of one grey (blue, green, red bytes all `v`).
inline DIB greyPicture(int width, int height, BYTE v)
{
    DIB d;
    newdib(&d, width, height, 24, nullptr, 0);
    for (int r = 0; r < height; ++r)
        std::memset(DibRow(d, r), v, std::size_t(width) * 3);
    return d;
}

// Every pixel, top row first, as getpixel reads it.
inline std::vector<std::uint32_t> pixels(const DIB &d)
{
    std::vector<std::uint32_t> v;
    for (int y = 0; y < DibHeight(d); ++y)
        for (int x = 0; x < DibWidth(d); ++x)
            v.push_back(getpixel(d, x, y));
    return v;
}

inline QByteArray colourTable(const DIB &d)
{
    const int n = int(d.Info->biClrUsed);
    return QByteArray(reinterpret_cast<const char *>(DibColors(d)), qsizetype(n * sizeof(RGBQUAD)));
}

inline QByteArray logPalette(const DIB &d)
{
    return QByteArray(reinterpret_cast<const char *>(&d.LogPalette), sizeof(LOGPALETTE256));
}

inline QByteArray pixelBytes(const DIB &d)
{
    return QByteArray(reinterpret_cast<const char *>(d.Bits), qsizetype(d.Info->biSizeImage));
}
