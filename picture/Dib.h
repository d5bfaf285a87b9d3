#pragma once
// The program's picture record and the library calls that make, release and
// address it. Rows are stored bottom-up, each padded to a multiple of 4 bytes.
#include "platform/WinTypes.h"

#include <QString>

#include <cstdint>
#include <cstring>
#include <memory>

struct DIB {
    BITMAPINFOHEADER *Info = nullptr; // header followed by the colour table
    std::uint32_t Private1 = 0;
    std::uint32_t Private2 = 0;
    BYTE *Bits = nullptr; // nil = no picture
    std::uint32_t RowBytes = 0;
    BYTE HasPalette = 0;
    LOGPALETTE256 LogPalette{}; // also holds a failed OpenDib's error text
    HPALETTE Palette;
    // Library-private: shared ownership of the header and the pixel rows, so a
    // shallow copy shares them and deldib drops only one record's hold.
    std::shared_ptr<BYTE[]> InfoMem;
    std::shared_ptr<BYTE[]> BitsMem;
};

// Largest pixel block newdib hands out; biSizeImage is a 32-bit field.
constexpr std::uint64_t MaxDibImageBytes = 0x7FFF0000ull;

inline int DibWidth(const DIB &d) { return d.Info ? d.Info->biWidth : 0; }
inline int DibHeight(const DIB &d) { return d.Info ? d.Info->biHeight : 0; }
inline int DibBitCount(const DIB &d) { return d.Info ? d.Info->biBitCount : 0; }
inline RGBQUAD *DibColors(const DIB &d)
{
    return d.Info ? reinterpret_cast<RGBQUAD *>(reinterpret_cast<BYTE *>(d.Info) + sizeof(BITMAPINFOHEADER)) : nullptr;
}
// Stored row r (0 = bottom row) of a picture with pixels.
inline BYTE *DibRow(const DIB &d, int storedRow) { return d.Bits + std::size_t(storedRow) * d.RowBytes; }
// Bytes per stored row for a width and depth, padded to 4 bytes.
constexpr std::uint32_t DibRowBytes(std::uint32_t width, int bits)
{
    return std::uint32_t(((std::uint64_t(width) * std::uint64_t(bits) + 31) / 32) * 4);
}

// Colour count of a depth: 2, 16, 256, else 0.
int PaletteSize(int bits);

// Makes a zero-filled picture. colourSource: another Info, or any header followed
// by its colour table, or nullptr; its first `colours` entries are copied.
// Returns false (and leaves Bits nil) when out of memory or the size is absurd.
bool newdib(DIB *out, int width, int height, int bits, const BITMAPINFOHEADER *colourSource, int colours);
// Releases this record's hold on header, rows and palette and clears it.
void deldib(DIB *dib);

// Recreates Palette from LogPalette (the first palNumEntries entries).
void RealizeDibPalette(DIB *dib);
HPALETTE CreatePalette(const LOGPALETTE256 &lp);

// Error text of a failed OpenDib, kept in the LogPalette area.
void SetDibError(DIB *dib, const QString &text);
QString DibErrorText(const DIB &dib);

// Pixel access with rows counted from the top. At 24 bits a value has red in
// the low byte, then green, then blue; otherwise it is a palette index.
// Coordinates outside the picture read 0 and write nothing.
inline std::uint32_t getpixel(const DIB &d, int x, int y)
{
    if (!d.Bits || x < 0 || y < 0 || x >= d.Info->biWidth || y >= d.Info->biHeight)
        return 0;
    const BYTE *row = d.Bits + std::size_t(d.Info->biHeight - 1 - y) * d.RowBytes;
    switch (d.Info->biBitCount) {
    case 24: {
        const BYTE *p = row + std::size_t(x) * 3;
        return std::uint32_t(p[2]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[0]) << 16);
    }
    case 8:
        return row[x];
    case 4:
        return (x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4);
    case 1:
        return (row[x >> 3] >> (7 - (x & 7))) & 1;
    default:
        return 0;
    }
}

inline void setpixel(const DIB &d, int x, int y, std::uint32_t v)
{
    if (!d.Bits || x < 0 || y < 0 || x >= d.Info->biWidth || y >= d.Info->biHeight)
        return;
    BYTE *row = d.Bits + std::size_t(d.Info->biHeight - 1 - y) * d.RowBytes;
    switch (d.Info->biBitCount) {
    case 24: {
        BYTE *p = row + std::size_t(x) * 3;
        p[0] = BYTE(v >> 16);
        p[1] = BYTE(v >> 8);
        p[2] = BYTE(v);
        break;
    }
    case 8:
        row[x] = BYTE(v);
        break;
    case 4: {
        BYTE &b = row[x >> 1];
        b = (x & 1) ? BYTE((b & 0xF0) | (v & 0x0F)) : BYTE((b & 0x0F) | ((v & 0x0F) << 4));
        break;
    }
    case 1: {
        BYTE &b = row[x >> 3];
        const BYTE mask = BYTE(0x80 >> (x & 7));
        b = (v & 1) ? BYTE(b | mask) : BYTE(b & ~mask);
        break;
    }
    default:
        break;
    }
}
