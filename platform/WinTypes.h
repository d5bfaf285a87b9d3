#pragma once
// The Windows records and constants that the program's files and drawing code
// use, declared with their exact Windows byte layout (little-endian).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using COLORREF = DWORD;

struct BITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
};
static_assert(sizeof(BITMAPINFOHEADER) == 40);
static_assert(offsetof(BITMAPINFOHEADER, biBitCount) == 14);
static_assert(offsetof(BITMAPINFOHEADER, biSizeImage) == 20);
static_assert(offsetof(BITMAPINFOHEADER, biClrImportant) == 36);

struct RGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
};
static_assert(sizeof(RGBQUAD) == 4);

struct PALETTEENTRY {
    BYTE peRed;
    BYTE peGreen;
    BYTE peBlue;
    BYTE peFlags;
};
static_assert(sizeof(PALETTEENTRY) == 4);

struct LOGPALETTE {
    WORD palVersion;
    WORD palNumEntries;
    PALETTEENTRY palPalEntry[1];
};
static_assert(sizeof(LOGPALETTE) == 8);

// A LOGPALETTE with room for 256 entries, as the DIB record carries it.
struct LOGPALETTE256 {
    WORD palVersion;
    WORD palNumEntries;
    PALETTEENTRY palPalEntry[256];
};
static_assert(sizeof(LOGPALETTE256) == 4 + 256 * 4);
static_assert(offsetof(LOGPALETTE256, palPalEntry) == 4);

// A realised logical palette: the stand-in for HPALETTE. Colours are 0xAARRGGBB.
struct PaletteObject {
    std::vector<std::uint32_t> colors;
};
using HPALETTE = std::shared_ptr<const PaletteObject>;

constexpr DWORD BI_RGB = 0;
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr int DIB_RGB_COLORS = 0;
constexpr int GDI_ERROR = -1;

// GetDeviceCaps indices and values
constexpr int TECHNOLOGY = 2;
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int BITSPIXEL = 12;
constexpr int RASTERCAPS = 38;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;
constexpr int DT_RASDISPLAY = 1;
constexpr int DT_RASPRINTER = 2;
constexpr int RC_BITBLT = 0x0001;
constexpr int RC_DI_BITMAP = 0x0080;
constexpr int RC_PALETTE = 0x0100;
constexpr int RC_DIBTODEV = 0x0200;
constexpr int RC_STRETCHBLT = 0x0800;
constexpr int RC_STRETCHDIB = 0x2000;

constexpr int COLORONCOLOR = 3;
constexpr int R2_NOTXORPEN = 10;
constexpr int R2_COPYPEN = 13;
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
constexpr unsigned DT_LEFT = 0x0000;
constexpr unsigned DT_CENTER = 0x0001;
constexpr unsigned DT_RIGHT = 0x0002;
constexpr unsigned DT_VCENTER = 0x0004;
constexpr unsigned DT_BOTTOM = 0x0008;
constexpr unsigned DT_SINGLELINE = 0x0020;
constexpr unsigned DT_NOCLIP = 0x0100;
constexpr int BLACKONWHITE = 1;
constexpr int HALFTONE = 4;
constexpr int DIB_PAL_COLORS = 1;

// A rectangle in device units; right and bottom are exclusive.
struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};

constexpr unsigned WM_USER = 0x0400;

constexpr COLORREF RGB(int r, int g, int b)
{
    return COLORREF(r & 0xFF) | (COLORREF(g & 0xFF) << 8) | (COLORREF(b & 0xFF) << 16);
}
constexpr int GetRValue(COLORREF c) { return int(c & 0xFF); }
constexpr int GetGValue(COLORREF c) { return int((c >> 8) & 0xFF); }
constexpr int GetBValue(COLORREF c) { return int((c >> 16) & 0xFF); }

// System colour values as stored in files (0xFF0000nn).
constexpr std::int32_t clWindowText = std::int32_t(0xFF000008);
constexpr std::int32_t clWindow = std::int32_t(0xFF000005);
constexpr std::int32_t clAppWorkSpace = std::int32_t(0xFF00000C);
constexpr std::int32_t clBtnFace = std::int32_t(0xFF00000F);
