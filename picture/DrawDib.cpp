#include "picture/DrawDib.h"

#include "picture/Halftone.h"
#include "platform/DeviceContext.h"
#include "platform/Dialogs.h"

#include <QCoreApplication>
#include <QTransform>

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

namespace {

// Proportions are rounded to the nearest integer, halves to even.
int scaled(int value, std::int64_t numerator, std::int64_t denominator)
{
    const double v = std::nearbyint(double(value) * double(numerator) / double(denominator));
    return int(std::clamp(v, double(INT_MIN), double(INT_MAX)));
}

void report(const char *text)
{
    Dialogs::messageBox(nullptr, QCoreApplication::translate("DrawDib", text), QString(), Dialogs::Icon::None,
                        Dialogs::Ok);
}

// Entries the picture's colour table really holds (newdib records them in biClrUsed).
int tableEntries(const DIB &pic)
{
    return int(std::min<DWORD>(pic.Info->biClrUsed, DWORD(PaletteSize(DibBitCount(pic)))));
}

// The source stored row or column index for destination index i of n, first
// and last matching; a single destination row or column takes the middle one.
int nearestIndex(int start, int srcCount, int i, int n)
{
    if (n <= 1)
        return start + (srcCount - 1) / 2;
    return int(start + std::int64_t(srcCount - 1) * i / (n - 1));
}

// The part of a destination rectangle the device can show, as rows r0 .. r1 - 1
// and columns c0 .. c1 - 1 counted from its top left corner. Whatever is made
// for drawing is sized by this part, never by the frame, which can be far
// larger than any device.
struct ShownPart {
    int r0 = 0, r1 = 0, c0 = 0, c1 = 0;
    [[nodiscard]] bool empty() const { return r0 >= r1 || c0 >= c1; }
};

ShownPart shownPart(const TDC &dc, int X, int Y, int DestWidth, int DestHeight)
{
    const QRect visible = dc.VisibleRect();
    if (visible.isEmpty())
        return {};
    auto within = [](std::int64_t v, int n) { return int(std::clamp<std::int64_t>(v, 0, n)); };
    return {within(std::int64_t(visible.top()) - Y, DestHeight),
            within(std::int64_t(visible.bottom()) + 1 - Y, DestHeight),
            within(std::int64_t(visible.left()) - X, DestWidth),
            within(std::int64_t(visible.right()) + 1 - X, DestWidth)};
}

// Fallback 1: the shown part of the destination as a copy by nearest neighbour, sent whole.
bool drawScaledCopy(TDC &dc, int X, int Y, int DestWidth, int DestHeight, const DIB &pic, int SrcX, int SrcY,
                    int SrcWidth, int SrcHeight)
{
    const ShownPart shown = shownPart(dc, X, Y, DestWidth, DestHeight);
    if (shown.empty())
        return true;
    const int width = shown.c1 - shown.c0, height = shown.r1 - shown.r0;
    const int bits = DibBitCount(pic);
    DIB copy;
    if (!newdib(&copy, width, height, bits, pic.Info, std::min(PaletteSize(bits), tableEntries(pic))))
        return false;
    std::vector<int> cols(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x)
        cols[std::size_t(x)] = nearestIndex(SrcX, SrcWidth, shown.c0 + x, DestWidth);
    const int h = DibHeight(pic);
    for (int y = 0; y < height; ++y) {
        // Stored rows, bottom-up: the copy's row y is the destination's row DestHeight - r1 + y.
        const int sy = nearestIndex(SrcY, SrcHeight, DestHeight - shown.r1 + y, DestHeight);
        const BYTE *src = DibRow(pic, sy);
        BYTE *dst = DibRow(copy, y);
        for (int x = 0; x < width; ++x) {
            const int sx = cols[std::size_t(x)];
            switch (bits) {
            case 1:
                setpixel(copy, x, height - 1 - y, getpixel(pic, sx, h - 1 - sy));
                break;
            case 4: {
                const BYTE v = (sx & 1) ? (src[sx >> 1] & 0x0F) : (src[sx >> 1] >> 4);
                dst[x >> 1] |= (x & 1) ? v : BYTE(v << 4);
                break;
            }
            case 8:
                dst[x] = src[sx];
                break;
            case 24:
                std::copy_n(src + std::size_t(sx) * 3, 3, dst + std::size_t(x) * 3);
                break;
            default:
                break;
            }
        }
    }
    const bool ok = dc.SetDIBitsToDevice(X + shown.c0, Y + shown.r0, width, height, 0, 0, 0, unsigned(height),
                                         copy.Bits, copy.Info, DIB_RGB_COLORS) != 0;
    deldib(&copy);
    return ok;
}

// Fallback 2: the whole picture into a device bitmap, stretched from there.
void drawThroughBitmap(TDC &dc, int X, int Y, int DestWidth, int DestHeight, const DIB &pic, int SrcX, int SrcY,
                       int SrcWidth, int SrcHeight, DWORD Rop)
{
    const int h = DibHeight(pic);
    HBITMAP bitmap = dc.CreateCompatibleBitmap(DibWidth(pic), h);
    if (!bitmap) {
        report(QT_TRANSLATE_NOOP("DrawDib", "Could not create bitmap."));
        return;
    }
    std::unique_ptr<TDC> memory = dc.CreateCompatibleDC();
    if (dc.SetDIBits(bitmap, 0, unsigned(h), pic.Bits, pic.Info, DIB_RGB_COLORS) == 0) {
        report(QT_TRANSLATE_NOOP("DrawDib", "The device does not support the Funtkion setdibits!"));
        return;
    }
    HBITMAP previous = memory->SelectObject(bitmap);
    // Device bitmaps count rows from the top.
    const int top = h - SrcY - SrcHeight;
    const bool ok = dc.StretchBlt(X, Y, DestWidth, DestHeight, *memory, SrcX, top, SrcWidth, SrcHeight, Rop);
    memory->SelectObject(previous);
    if (!ok)
        report(QT_TRANSLATE_NOOP("DrawDib", "The device does not support the function StretchBlt!"));
}

// Row scaling shared by both depths; bytesPerPixel is 3 or 1. Only the rows and
// columns that can show are filled and sent.
void drawRowsAt(TDC &dc, int X, int Y, int DestWidth, int DestHeight, const DIB &pic, int SrcX, int Top, int SrcWidth,
              int SrcHeight, int bytesPerPixel)
{
    if (!pic.Bits || !pic.Info || DestWidth <= 0 || DestHeight <= 0 || SrcWidth <= 0 || SrcHeight <= 0 ||
        std::int64_t(X) + DestWidth > INT_MAX || std::int64_t(Y) + DestHeight > INT_MAX)
        return;
    const ShownPart shown = shownPart(dc, X, Y, DestWidth, DestHeight);
    if (shown.empty())
        return;
    const int width = shown.c1 - shown.c0;
    DIB row;
    bool made = false;
    if (bytesPerPixel == 3) {
        made = newdib(&row, width, 1, 24, nullptr, 0);
    } else {
        // The row takes a full 256-entry table; a shorter table is padded with black.
        std::vector<BYTE> header(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD), 0);
        std::copy_n(reinterpret_cast<const BYTE *>(DibColors(pic)), std::size_t(tableEntries(pic)) * sizeof(RGBQUAD),
                    header.data() + sizeof(BITMAPINFOHEADER));
        made = newdib(&row, width, 1, 8, reinterpret_cast<const BITMAPINFOHEADER *>(header.data()), 256);
    }
    if (!made)
        return;

    // Byte offset in a source row of each shown column (destination column
    // c0 + i); only the columns First .. Last that fall inside the picture are copied.
    const std::int64_t rowLimit = std::int64_t(DibWidth(pic)) * bytesPerPixel;
    std::vector<std::int64_t> offsets(static_cast<std::size_t>(width));
    int first = -1, last = -2;
    for (int i = 0; i < width; ++i) {
        const std::int64_t off = (SrcX + std::int64_t(SrcWidth) * (shown.c0 + i) / DestWidth) * bytesPerPixel;
        offsets[std::size_t(i)] = off;
        if (off >= 0 && off < rowLimit) {
            if (first < 0)
                first = i;
            last = i;
        }
    }

    const int h = DibHeight(pic);
    std::int64_t inBuffer = -1; // stored row now in the buffer, -1 = none
    for (int r = shown.r0; r < shown.r1; ++r) {
        const std::int64_t stored = h - 1 - (Top + std::int64_t(SrcHeight) * r / DestHeight);
        if (stored < 0 || stored >= h) {
            if (inBuffer != -2)
                std::fill_n(row.Bits, row.RowBytes, BYTE(0));
            inBuffer = -2;
        } else if (stored != inBuffer) {
            const BYTE *src = DibRow(pic, int(stored));
            BYTE *const to = row.Bits;
            const std::int64_t *const map = offsets.data();
            // A shrunk picture is read at a stride of many bytes: ask for the
            // source a few pixels ahead so the loads overlap.
            constexpr int Ahead = 16;
            if (bytesPerPixel == 3) {
                for (int i = first; i <= last; ++i) {
                    if (i + Ahead <= last)
                        __builtin_prefetch(src + map[i + Ahead]);
                    const BYTE *from = src + map[i];
                    to[3 * i] = from[0];
                    to[3 * i + 1] = from[1];
                    to[3 * i + 2] = from[2];
                }
            } else {
                for (int i = first; i <= last; ++i) {
                    if (i + Ahead <= last)
                        __builtin_prefetch(src + map[i + Ahead]);
                    to[i] = src[map[i]];
                }
            }
            inBuffer = stored;
        }
        dc.SetDIBitsToDevice(X + shown.c0, Y + r, width, 1, 0, 0, 0, 1, row.Bits, row.Info, DIB_RGB_COLORS);
    }
    deldib(&row);
}

// Where the device's units are several pixels each (a high-resolution screen),
// the rows are scaled to those pixels, so the picture is as sharp as the text
// around it; the picture covers the same area either way.
void drawRows(TDC &dc, int X, int Y, int DestWidth, int DestHeight, const DIB &pic, int SrcX, int Top, int SrcWidth,
              int SrcHeight, int bytesPerPixel)
{
    const QTransform toPixels = dc.PixelTransform();
    if (toPixels.type() != QTransform::TxScale || toPixels.m11() <= 0 || toPixels.m22() <= 0) {
        drawRowsAt(dc, X, Y, DestWidth, DestHeight, pic, SrcX, Top, SrcWidth, SrcHeight, bytesPerPixel);
        return;
    }
    const auto pixel = [](double v, bool &ok) {
        const double r = std::nearbyint(v);
        ok = ok && std::isfinite(r) && std::abs(r) < double(INT_MAX / 2);
        return ok ? int(r) : 0;
    };
    bool ok = true;
    const QPointF a = toPixels.map(QPointF(X, Y));
    const QPointF b = toPixels.map(QPointF(double(X) + DestWidth, double(Y) + DestHeight));
    const int x0 = pixel(a.x(), ok), y0 = pixel(a.y(), ok), x1 = pixel(b.x(), ok), y1 = pixel(b.y(), ok);
    if (!ok || x1 <= x0 || y1 <= y0)
        return;
    dc.SetPixelUnits(true);
    drawRowsAt(dc, x0, y0, x1 - x0, y1 - y0, pic, SrcX, Top, SrcWidth, SrcHeight, bytesPerPixel);
    dc.SetPixelUnits(false);
}

} // namespace

void DrawDibRows24(TDC &dc, int X, int Y, int DestWidth, int DestHeight, const DIB &pic, int SrcX, int Top,
                   int SrcWidth, int SrcHeight)
{
    if (DibBitCount(pic) == 24)
        drawRows(dc, X, Y, DestWidth, DestHeight, pic, SrcX, Top, SrcWidth, SrcHeight, 3);
}

void DrawDibRows8(TDC &dc, int X, int Y, int DestWidth, int DestHeight, const DIB &pic, int SrcX, int Top,
                  int SrcWidth, int SrcHeight)
{
    if (DibBitCount(pic) == 8)
        drawRows(dc, X, Y, DestWidth, DestHeight, pic, SrcX, Top, SrcWidth, SrcHeight, 1);
}

void DrawDib(TDC &dc, int X, int Y, int DestWidth, int DestHeight, const DIB &pic, int SrcX, int SrcY, int SrcWidth,
             int SrcHeight, bool Halftone, DWORD Rop, bool UseDibPalette, HPALETTE palette)
{
    if (!pic.Bits || !pic.Info || DestWidth <= 0 || DestHeight <= 0 || SrcWidth <= 0 || SrcHeight <= 0 ||
        std::int64_t(X) + DestWidth > INT_MAX || std::int64_t(Y) + DestHeight > INT_MAX)
        return;
    const bool printer = dc.GetDeviceCaps(TECHNOLOGY) == DT_RASPRINTER;
    dc.SetStretchBltMode(COLORONCOLOR);

    // Clip the source to the picture; each cut shrinks the destination in proportion.
    const int w = DibWidth(pic), h = DibHeight(pic), bits = DibBitCount(pic);
    if (std::int64_t(w) < std::int64_t(SrcX) + SrcWidth) {
        const std::int64_t wide = std::int64_t(w) - SrcX;
        if (wide <= 0 || wide > INT_MAX)
            return;
        const int width = int(wide);
        DestWidth = scaled(DestWidth, width, SrcWidth);
        SrcWidth = width;
    }
    if (SrcY < 0) {
        const int height = SrcHeight + SrcY;
        if (height <= 0)
            return;
        DestHeight = scaled(DestHeight, height, SrcHeight);
        SrcHeight = height;
        SrcY = 0;
    }
    if (std::int64_t(h) < std::int64_t(SrcY) + SrcHeight) {
        const int height = h - SrcY;
        if (height <= 0)
            return;
        const int destHeight = scaled(DestHeight, height, SrcHeight);
        Y += DestHeight - destHeight;
        DestHeight = destHeight;
        SrcHeight = height;
    }
    if (SrcX < 0) {
        const int width = SrcWidth + SrcX;
        if (width <= 0)
            return;
        const int destWidth = scaled(DestWidth, width, SrcWidth);
        X += DestWidth - destWidth;
        DestWidth = destWidth;
        SrcWidth = width;
        SrcX = 0;
    }
    if (DestWidth <= 0 || DestHeight <= 0)
        return;

    const HPALETTE chosen = UseDibPalette ? pic.Palette : palette;
    HPALETTE previous;
    bool selected = false;
    if (pic.HasPalette == 1) {
        previous = dc.SelectPalette(chosen, false);
        dc.RealizePalette();
        selected = true;
    }

    bool drawn = false;
    if (bits == 24 && dc.DisplayBitsPerPixel() <= 8 && Halftone) {
        DIB copy;
        int cx = SrcX, cy = SrcY, cw = SrcWidth, ch = SrcHeight;
        if (SrcWidth > DestWidth || SrcHeight > DestHeight) {
            // Halftone at the destination's scale, then copy 1:1.
            const int copyWidth = std::max(1, scaled(w, DestWidth, SrcWidth));
            const int copyHeight = std::max(1, scaled(h, DestHeight, SrcHeight));
            DIBHalftoneDIBXY(&copy, pic, copyWidth, copyHeight);
            cx = scaled(SrcX, copyWidth, w);
            cy = scaled(SrcY, copyHeight, h);
            cw = DestWidth;
            ch = DestHeight;
        } else {
            DIBHalftoneDIB(&copy, pic);
        }
        if (copy.Bits) {
            const HPALETTE before = dc.SelectPalette(chosen, false);
            dc.RealizePalette();
            if (!selected) {
                previous = before;
                selected = true;
            }
            dc.StretchDIBits(X, Y, DestWidth, DestHeight, cx, cy, cw, ch, copy.Bits, copy.Info, DIB_RGB_COLORS, Rop);
            drawn = true;
        }
        deldib(&copy);
    }
    if (!drawn) {
        const int top = h - SrcY - SrcHeight;
        if (bits == 24 && !printer) {
            DrawDibRows24(dc, X, Y, DestWidth, DestHeight, pic, SrcX, top, SrcWidth, SrcHeight);
        } else if (bits == 8 && !printer) {
            DrawDibRows8(dc, X, Y, DestWidth, DestHeight, pic, SrcX, top, SrcWidth, SrcHeight);
        } else if (dc.StretchDIBits(X, Y, DestWidth, DestHeight, SrcX, SrcY, SrcWidth, SrcHeight, pic.Bits, pic.Info,
                                    DIB_RGB_COLORS, Rop) == GDI_ERROR) {
            const bool viaCopy = (dc.GetDeviceCaps(RASTERCAPS) & RC_DIBTODEV) &&
                                 drawScaledCopy(dc, X, Y, DestWidth, DestHeight, pic, SrcX, SrcY, SrcWidth, SrcHeight);
            if (!viaCopy)
                drawThroughBitmap(dc, X, Y, DestWidth, DestHeight, pic, SrcX, SrcY, SrcWidth, SrcHeight, Rop);
        }
    }

    if (selected)
        dc.SelectPalette(previous, false);
}
