#include "platform/DeviceContext.h"

#include "platform/ColorBox.h"

#include <QGuiApplication>
#include <QPaintEngine>
#include <QPainter>
#include <QPrinter>
#include <QRegion>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

// Largest pixel block a device bitmap or a converted DIB may take.
constexpr std::uint64_t MaxBitmapBytes = 0x7FFF0000ull;

std::uint32_t rowBytesOf(std::uint32_t width, int bits)
{
    return std::uint32_t(((std::uint64_t(width) * std::uint64_t(bits) + 31) / 32) * 4);
}

// The header describes a bottom-up DIB the conversions below can read.
bool validDib(const BITMAPINFOHEADER *info, const void *bits)
{
    if (!info || !bits || info->biSize != sizeof(BITMAPINFOHEADER) || info->biWidth <= 0 || info->biHeight <= 0 ||
        info->biCompression != BI_RGB)
        return false;
    switch (info->biBitCount) {
    case 1:
    case 4:
    case 8:
    case 24:
    case 32:
        return true;
    default:
        return false;
    }
}

// Colour table entries the header is followed by. Every DIB of the program
// records its table length in biClrUsed, so 0 means no table, never a full one:
// reading past the header is worse than showing black.
int colourCount(const BITMAPINFOHEADER *info)
{
    if (info->biBitCount > 8)
        return 0;
    return int(std::min<DWORD>(info->biClrUsed, DWORD(1) << info->biBitCount));
}

inline std::uint32_t opaque(BYTE r, BYTE g, BYTE b)
{
    return 0xFF000000u | (std::uint32_t(r) << 16) | (std::uint32_t(g) << 8) | b;
}

// Converts columns x0 .. x0 + width - 1 of one stored DIB row into 0xFFRRGGBB pixels.
void convertRow(const BYTE *src, int bits, int x0, int width, const std::uint32_t *lut, std::uint32_t *dst)
{
    switch (bits) {
    case 24: {
        const BYTE *p = src + std::size_t(x0) * 3;
        for (int i = 0; i < width; ++i, p += 3)
            dst[i] = opaque(p[2], p[1], p[0]);
        break;
    }
    case 32: {
        const BYTE *p = src + std::size_t(x0) * 4;
        for (int i = 0; i < width; ++i, p += 4)
            dst[i] = opaque(p[2], p[1], p[0]);
        break;
    }
    case 8:
        for (int i = 0; i < width; ++i)
            dst[i] = lut[src[x0 + i]];
        break;
    case 4:
        for (int i = 0; i < width; ++i) {
            const int x = x0 + i;
            const BYTE b = src[x >> 1];
            dst[i] = lut[(x & 1) ? (b & 0x0F) : (b >> 4)];
        }
        break;
    case 1:
        for (int i = 0; i < width; ++i) {
            const int x = x0 + i;
            dst[i] = lut[(src[x >> 3] >> (7 - (x & 7))) & 1];
        }
        break;
    default:
        break;
    }
}

} // namespace

QColor ColorFromRef(COLORREF color) { return ColorFromWindows(std::int32_t(color)); }

// ---------------------------------------------------------------------------
// Construction and capabilities

TDC::TDC(QPaintDevice *device)
    : Device(device)
{
    if (Device) {
        P = new QPainter;
        OwnPainter = true;
        if (!P->begin(Device)) {
            delete P;
            P = nullptr;
        }
    }
    initFromDevice();
}

TDC::TDC(QPainter *activePainter)
    : P(activePainter)
{
    if (P && !P->isActive())
        P = nullptr;
    Device = P ? P->device() : nullptr;
    initFromDevice();
}

TDC::~TDC()
{
    SetPixelUnits(false);
    if (OwnPainter && P) {
        P->end();
        delete P;
    }
}

void TDC::initFromDevice()
{
    if (!Device)
        return;
    switch (Device->devType()) {
    case QInternal::Printer:
        DefaultTechnology = DT_RASPRINTER;
        DefaultBitsPixel = 24;
        break;
    case QInternal::Widget:
        DefaultBitsPixel = static_cast<QWidget *>(Device)->depth();
        break;
    default:
        DefaultBitsPixel = Device->depth();
        break;
    }
    if (P && P->paintEngine() && P->paintEngine()->type() == QPaintEngine::Pdf)
        DefaultTechnology = DT_RASPRINTER;
    if (P)
        P->setRenderHint(QPainter::SmoothPixmapTransform, false);
}

QRect TDC::VisibleRect() const
{
    if (!P || !Device)
        return {};
    // Work in the pixels the engine paints (a widget's backing store, with the
    // screen's pixel ratio and the widget's offset in the window), where the
    // system clip lives, and map the result back once.
    bool invertible = false;
    const QTransform fromPixels = P->deviceTransform().inverted(&invertible);
    if (!invertible)
        return {};
    const QPaintEngine *engine = P->paintEngine();
    const QPaintDevice *target = engine && engine->paintDevice() ? engine->paintDevice() : Device;
    QRect pixels(0, 0, target->width(), target->height());
    if (engine) {
        const QRegion system = engine->systemClip();
        if (!system.isEmpty())
            pixels &= system.boundingRect();
    }
    if (pixels.isEmpty())
        return {};
    QRect visible;
    const auto whole = [](double v) { return v == std::trunc(v) && std::abs(v) < 1e9; };
    if (fromPixels.type() <= QTransform::TxTranslate && whole(fromPixels.dx()) && whole(fromPixels.dy()))
        visible = pixels.translated(int(fromPixels.dx()), int(fromPixels.dy()));
    else
        visible = fromPixels.mapRect(pixels).adjusted(-1, -1, 1, 1);
    if (P->hasClipping())
        visible &= P->clipBoundingRect().toAlignedRect();
    return visible;
}

QTransform TDC::PixelTransform() const { return P ? P->deviceTransform() : QTransform(); }

void TDC::SetPixelUnits(bool on)
{
    if (!P || on == PixelUnits)
        return;
    if (!on) {
        P->restore();
        PixelUnits = false;
        return;
    }
    bool invertible = false;
    const QTransform fromPixels = P->deviceTransform().inverted(&invertible);
    if (!invertible)
        return;
    PixelUnits = true;
    P->save();
    // Undo everything between the world and the engine's pixels; the clip
    // already set stays where it is.
    P->setWorldTransform(fromPixels * P->worldTransform());
}

int TDC::GetDeviceCaps(int index) const
{
    const int bits = Caps.BitsPixel.value_or(DefaultBitsPixel);
    switch (index) {
    case LOGPIXELSX:
        return Caps.LogPixelsX.value_or(Device ? Device->logicalDpiX() : 96);
    case LOGPIXELSY:
        return Caps.LogPixelsY.value_or(Device ? Device->logicalDpiY() : 96);
    case TECHNOLOGY:
        return Caps.Technology.value_or(DefaultTechnology);
    case BITSPIXEL:
        return bits;
    case RASTERCAPS:
        return Caps.RasterCaps.value_or(RC_BITBLT | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT | RC_STRETCHDIB |
                                        (bits <= 8 ? RC_PALETTE : 0));
    case HORZRES:
        return Device ? Device->width() : 0;
    case VERTRES:
        return Device ? Device->height() : 0;
    default:
        return 0;
    }
}

// ---------------------------------------------------------------------------
// Palettes

HPALETTE TDC::SelectPalette(const HPALETTE &palette, bool)
{
    HPALETTE old = Palette;
    Palette = palette;
    return old;
}

int TDC::RealizePalette()
{
    ++Realized;
    return Palette ? int(Palette->colors.size()) : 0;
}

// ---------------------------------------------------------------------------
// DIB transfer

int TDC::SetStretchBltMode(int mode)
{
    const int old = StretchMode;
    StretchMode = mode;
    return old;
}

int TDC::StretchDIBits(int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc, int srcWidth,
                       int srcHeight, const void *bits, const BITMAPINFOHEADER *info, unsigned usage, DWORD rop)
{
    if (Caps.FailStretchDIBits || !P || !validDib(info, bits) || rop != SRCCOPY)
        return GDI_ERROR;
    if (destWidth <= 0 || destHeight <= 0 || srcWidth <= 0 || srcHeight <= 0)
        return 0;

    // Clip the source to the picture; the destination keeps the scale.
    const int w = info->biWidth, h = info->biHeight;
    const double sx = double(destWidth) / srcWidth, sy = double(destHeight) / srcHeight;
    const int x0 = std::max(xSrc, 0), x1 = int(std::min<std::int64_t>(std::int64_t(xSrc) + srcWidth, w));
    const int y0 = std::max(ySrc, 0), y1 = int(std::min<std::int64_t>(std::int64_t(ySrc) + srcHeight, h));
    if (x0 >= x1 || y0 >= y1)
        return 0;
    const int cw = x1 - x0, ch = y1 - y0;
    if (std::uint64_t(cw) * std::uint64_t(ch) * 4 > MaxBitmapBytes)
        return GDI_ERROR;
    // Source rows y0 .. y1 - 1 count from the bottom; the top one lands first.
    const double dx = xDest + (x0 - xSrc) * sx;
    const double dy = yDest + (std::int64_t(ySrc) + srcHeight - y1) * sy;

    QImage img(cw, ch, QImage::Format_RGB32);
    if (img.isNull())
        return GDI_ERROR;
    std::uint32_t lut[256];
    std::fill(std::begin(lut), std::end(lut), 0xFF000000u);
    if (info->biBitCount <= 8) {
        const auto *table = reinterpret_cast<const RGBQUAD *>(reinterpret_cast<const BYTE *>(info) + info->biSize);
        const auto *indices = reinterpret_cast<const WORD *>(table);
        const int n = colourCount(info);
        for (int i = 0; i < n; ++i) {
            if (usage == DIB_PAL_COLORS) {
                const WORD k = indices[i];
                lut[i] = Palette && k < Palette->colors.size() ? Palette->colors[k] : 0xFF000000u;
            } else {
                lut[i] = opaque(table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue);
            }
        }
    }
    const std::uint32_t rb = rowBytesOf(std::uint32_t(w), info->biBitCount);
    const auto *base = static_cast<const BYTE *>(bits);
    for (int r = 0; r < ch; ++r) {
        const int stored = y1 - 1 - r;
        convertRow(base + std::size_t(stored) * rb, info->biBitCount, x0, cw, lut,
                   reinterpret_cast<std::uint32_t *>(img.scanLine(r)));
    }
    const QRectF target(dx, dy, cw * sx, ch * sy);
    P->save();
    P->setCompositionMode(QPainter::CompositionMode_SourceOver);
    P->setRenderHint(QPainter::SmoothPixmapTransform, StretchMode == HALFTONE);
    P->drawImage(target, img, QRectF(0, 0, cw, ch));
    P->restore();
    return ch;
}

int TDC::SetDIBitsToDevice(int xDest, int yDest, int width, int height, int xSrc, int ySrc, unsigned startScan,
                           unsigned numScans, const void *bits, const BITMAPINFOHEADER *info, unsigned usage)
{
    if (Caps.FailSetDIBitsToDevice || !P || !validDib(info, bits) || width <= 0 || height <= 0 || numScans == 0)
        return 0;
    const int w = info->biWidth;
    // Visible columns and source rows (from the bottom) that the given scans hold.
    const int x0 = std::max(xSrc, 0), x1 = int(std::min<std::int64_t>(std::int64_t(xSrc) + width, w));
    const std::int64_t firstScan = std::max<std::int64_t>(ySrc, startScan);
    const std::int64_t endScan = std::min<std::int64_t>({std::int64_t(ySrc) + height, std::int64_t(startScan) + numScans,
                                                          std::int64_t(info->biHeight)});
    if (x0 >= x1 || firstScan >= endScan)
        return int(numScans);
    const int cw = x1 - x0;
    const int rows = int(endScan - firstScan);
    const int dx = xDest + (x0 - xSrc);

    const std::uint32_t *lut = Lut;
    std::uint32_t palLut[256];
    if (info->biBitCount <= 8) {
        const auto *table = reinterpret_cast<const RGBQUAD *>(reinterpret_cast<const BYTE *>(info) + info->biSize);
        const int n = colourCount(info);
        if (usage == DIB_PAL_COLORS) {
            std::fill(std::begin(palLut), std::end(palLut), 0xFF000000u);
            const auto *indices = reinterpret_cast<const WORD *>(table);
            for (int i = 0; i < n; ++i)
                palLut[i] = Palette && indices[i] < Palette->colors.size() ? Palette->colors[indices[i]] : 0xFF000000u;
            lut = palLut;
        } else if (n != LutColors || std::memcmp(table, LutSource, std::size_t(n) * sizeof(RGBQUAD)) != 0) {
            // Rows of one picture share their table: build the map once.
            std::memcpy(LutSource, table, std::size_t(n) * sizeof(RGBQUAD));
            LutColors = n;
            std::fill(std::begin(Lut), std::end(Lut), 0xFF000000u);
            for (int i = 0; i < n; ++i)
                Lut[i] = opaque(table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue);
        }
    }
    const std::uint32_t rb = rowBytesOf(std::uint32_t(w), info->biBitCount);
    const auto *base = static_cast<const BYTE *>(bits);
    auto rowOf = [&](std::int64_t scan) { return base + std::size_t(scan - startScan) * rb; };
    // Source row s lands at yDest + (ySrc + height - 1 - s).
    const std::int64_t topDest = std::int64_t(yDest) + (std::int64_t(ySrc) + height - endScan);

    // Pictures are copied whatever the pen's raster mode. Switching the mode only
    // when needed spares a painter state copy per row of a scaled picture.
    const QPainter::CompositionMode penMode = P->compositionMode();
    if (penMode != QPainter::CompositionMode_SourceOver)
        P->setCompositionMode(QPainter::CompositionMode_SourceOver);
    const auto done = [&](int result) {
        if (penMode != QPainter::CompositionMode_SourceOver)
            P->setCompositionMode(penMode);
        return result;
    };
    if (rows == 1) {
        if (RowImage.width() < cw)
            RowImage = QImage(std::max(cw, 256), 1, QImage::Format_RGB32);
        if (RowImage.isNull())
            return done(0);
        convertRow(rowOf(firstScan), info->biBitCount, x0, cw, lut, reinterpret_cast<std::uint32_t *>(RowImage.bits()));
        P->drawImage(QPoint(dx, int(topDest)), RowImage, QRect(0, 0, cw, 1));
    } else {
        if (std::uint64_t(cw) * std::uint64_t(rows) * 4 > MaxBitmapBytes)
            return done(0);
        QImage img(cw, rows, QImage::Format_RGB32);
        if (img.isNull())
            return done(0);
        for (int r = 0; r < rows; ++r)
            convertRow(rowOf(endScan - 1 - r), info->biBitCount, x0, cw, lut,
                       reinterpret_cast<std::uint32_t *>(img.scanLine(r)));
        P->drawImage(QPoint(dx, int(topDest)), img);
    }
    return done(int(numScans));
}

// ---------------------------------------------------------------------------
// Device bitmaps and memory contexts

HBITMAP TDC::CreateCompatibleBitmap(int width, int height) const
{
    if (Caps.FailCreateBitmap || width <= 0 || height <= 0 ||
        std::uint64_t(width) * std::uint64_t(height) * 4 > MaxBitmapBytes)
        return {};
    auto bmp = std::make_shared<BitmapObject>();
    bmp->image = QImage(width, height, QImage::Format_RGB32);
    if (bmp->image.isNull())
        return {};
    bmp->image.fill(Qt::black);
    return bmp;
}

int TDC::SetDIBits(const HBITMAP &bitmap, unsigned startScan, unsigned numScans, const void *bits,
                   const BITMAPINFOHEADER *info, unsigned usage) const
{
    if (Caps.FailSetDIBits || !bitmap || !validDib(info, bits) || numScans == 0)
        return 0;
    QImage &img = bitmap->image;
    const int w = std::min(info->biWidth, img.width());
    const std::int64_t endScan = std::min<std::int64_t>(std::int64_t(startScan) + numScans, info->biHeight);
    std::uint32_t lut[256];
    std::fill(std::begin(lut), std::end(lut), 0xFF000000u);
    if (info->biBitCount <= 8) {
        const auto *table = reinterpret_cast<const RGBQUAD *>(reinterpret_cast<const BYTE *>(info) + info->biSize);
        const auto *indices = reinterpret_cast<const WORD *>(table);
        const int n = colourCount(info);
        for (int i = 0; i < n; ++i)
            lut[i] = usage == DIB_PAL_COLORS
                         ? (Palette && indices[i] < Palette->colors.size() ? Palette->colors[indices[i]] : 0xFF000000u)
                         : opaque(table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue);
    }
    const std::uint32_t rb = rowBytesOf(std::uint32_t(info->biWidth), info->biBitCount);
    const auto *base = static_cast<const BYTE *>(bits);
    int set = 0;
    for (std::int64_t s = startScan; s < endScan; ++s) {
        const std::int64_t y = std::int64_t(info->biHeight) - 1 - s; // device bitmaps are top-down
        if (y < 0 || y >= img.height())
            continue;
        convertRow(base + std::size_t(s - startScan) * rb, info->biBitCount, 0, w, lut,
                   reinterpret_cast<std::uint32_t *>(img.scanLine(int(y))));
        ++set;
    }
    return set;
}

int TDC::DisplayBitsPerPixel() const
{
    if (Caps.DisplayBitsPixel)
        return *Caps.DisplayBitsPixel;
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->depth() : 24;
}

std::unique_ptr<TDC> TDC::CreateCompatibleDC() const
{
    auto dc = std::unique_ptr<TDC>(new TDC(static_cast<QPaintDevice *>(nullptr)));
    dc->Memory = true;
    dc->Caps = Caps;
    dc->DefaultTechnology = DefaultTechnology;
    dc->DefaultBitsPixel = DefaultBitsPixel;
    if (Device) {
        dc->Caps.LogPixelsX = GetDeviceCaps(LOGPIXELSX);
        dc->Caps.LogPixelsY = GetDeviceCaps(LOGPIXELSY);
    }
    return dc;
}

HBITMAP TDC::SelectObject(const HBITMAP &bitmap)
{
    HBITMAP old = Selected;
    if (!Memory)
        return old;
    if (P) {
        P->end();
        delete P;
        P = nullptr;
    }
    Selected = bitmap;
    Device = nullptr;
    OwnPainter = false;
    if (Selected) {
        Device = &Selected->image;
        P = new QPainter;
        OwnPainter = true;
        if (!P->begin(Device)) {
            delete P;
            P = nullptr;
        }
    }
    return old;
}

bool TDC::StretchBlt(int xDest, int yDest, int destWidth, int destHeight, TDC &src, int xSrc, int ySrc, int srcWidth,
                     int srcHeight, DWORD rop)
{
    if (Caps.FailStretchBlt || !P || !src.Selected || rop != SRCCOPY || destWidth <= 0 || destHeight <= 0 ||
        srcWidth <= 0 || srcHeight <= 0)
        return false;
    const QImage &img = src.Selected->image;
    const QRect whole(0, 0, img.width(), img.height());
    const QRect want(xSrc, ySrc, srcWidth, srcHeight);
    const QRect part = want.intersected(whole);
    if (part.isEmpty())
        return true;
    const double sx = double(destWidth) / srcWidth, sy = double(destHeight) / srcHeight;
    P->save();
    P->setCompositionMode(QPainter::CompositionMode_SourceOver);
    P->setRenderHint(QPainter::SmoothPixmapTransform, StretchMode == HALFTONE);
    P->drawImage(QRectF(xDest + (part.x() - xSrc) * sx, yDest + (part.y() - ySrc) * sy, part.width() * sx,
                        part.height() * sy),
                 img, QRectF(part));
    P->restore();
    return true;
}

// ---------------------------------------------------------------------------
// Pens, brushes, shapes

void TDC::SetPen(COLORREF color, int width)
{
    PenColor = ColorFromRef(color);
    PenWidth = std::max(width, 1);
}

void TDC::SetBrush(COLORREF color)
{
    BrushColor = ColorFromRef(color);
    Hollow = false;
}

void TDC::SetHollowBrush() { Hollow = true; }

int TDC::SetROP2(int mode)
{
    const int old = Rop2;
    Rop2 = mode;
    return old;
}

bool TDC::rasterOpsWork() const
{
    if (!P || !P->paintEngine() || P->paintEngine()->type() != QPaintEngine::Raster)
        return false;
    if (Device && Device->devType() == QInternal::Image) {
        switch (static_cast<QImage *>(Device)->format()) {
        case QImage::Format_RGB32:
        case QImage::Format_ARGB32_Premultiplied:
            return true;
        default:
            return false;
        }
    }
    return true;
}

// Fills a region with a colour, or inverts under the not-xor pen mode so that
// painting it twice restores the pixels beneath.
void TDC::paintRegion(const QRegion &region, const QColor &color, bool notXor)
{
    if (!P || region.isEmpty())
        return;
    if (notXor && rasterOpsWork()) {
        P->save();
        P->setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
        for (const QRect &r : region)
            P->fillRect(r, color);
        P->restore();
        return;
    }
    if (notXor && Device && Device->devType() == QInternal::Image && P->transform().isIdentity()) {
        // Image formats the raster operations do not cover: invert by hand.
        auto *img = static_cast<QImage *>(Device);
        const QRgb pen = color.rgb();
        const QRegion visible = region.intersected(QRect(0, 0, img->width(), img->height()));
        for (const QRect &r : visible)
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x)
                    img->setPixel(x, y, (~(pen ^ img->pixel(x, y)) & 0x00FFFFFFu) | 0xFF000000u);
        return;
    }
    P->save();
    P->setCompositionMode(QPainter::CompositionMode_SourceOver);
    for (const QRect &r : region)
        P->fillRect(r, color);
    P->restore();
}

void TDC::Rectangle(int left, int top, int right, int bottom)
{
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
    if (right <= left || bottom <= top)
        return;
    // The pen is centred on the outline through the outermost pixels.
    const int half = PenWidth / 2;
    const QRect outer(left - half, top - half, right - left - 1 + PenWidth, bottom - top - 1 + PenWidth);
    const QRect inner = outer.adjusted(PenWidth, PenWidth, -PenWidth, -PenWidth);
    const QRegion outline = inner.isValid() ? QRegion(outer).subtracted(QRegion(inner)) : QRegion(outer);
    const bool notXor = Rop2 == R2_NOTXORPEN;
    if (!Hollow)
        paintRegion(QRegion(QRect(left, top, right - left, bottom - top)).subtracted(outline), BrushColor, notXor);
    paintRegion(outline, PenColor, notXor);
}

void TDC::FillRect(const RECT &rect, COLORREF color)
{
    if (rect.right > rect.left && rect.bottom > rect.top)
        paintRegion(QRegion(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top), ColorFromRef(color),
                    false);
}

void TDC::SetPixel(int x, int y, COLORREF color)
{
    if (P)
        P->fillRect(QRect(x, y, 1, 1), ColorFromRef(color));
}

void TDC::MoveTo(int x, int y)
{
    CurX = x;
    CurY = y;
}

void TDC::LineTo(int x, int y)
{
    const int x0 = CurX, y0 = CurY;
    CurX = x;
    CurY = y;
    if (!P || (x0 == x && y0 == y))
        return;
    const bool notXor = Rop2 == R2_NOTXORPEN;
    if (PenWidth > 1) {
        P->save();
        if (notXor && rasterOpsWork())
            P->setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
        P->setPen(QPen(PenColor, PenWidth, Qt::SolidLine, Qt::FlatCap));
        P->drawLine(x0, y0, x, y);
        P->restore();
        return;
    }
    // Bresenham from the start up to, not including, the end point; one run of
    // pixels per row, so no pixel is painted twice under the not-xor mode.
    std::vector<QRect> runs;
    const int dx = std::abs(x - x0), dy = -std::abs(y - y0);
    const int stepX = x0 < x ? 1 : -1, stepY = y0 < y ? 1 : -1;
    int err = dx + dy, px = x0, py = y0;
    int runStart = px, runEnd = px, runY = py;
    while (!(px == x && py == y)) {
        if (py != runY) {
            runs.emplace_back(std::min(runStart, runEnd), runY, std::abs(runEnd - runStart) + 1, 1);
            runStart = runEnd = px;
            runY = py;
        } else {
            runEnd = px;
        }
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            px += stepX;
        }
        if (e2 <= dx) {
            err += dx;
            py += stepY;
        }
    }
    runs.emplace_back(std::min(runStart, runEnd), runY, std::abs(runEnd - runStart) + 1, 1);
    QRegion region;
    for (const QRect &r : runs)
        region += r;
    paintRegion(region, PenColor, notXor);
}
