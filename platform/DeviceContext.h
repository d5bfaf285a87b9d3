#pragma once
// A device context: the GDI operations the drawing code needs, over a QPainter.
// One class serves a widget (constructed inside its paint event), a QImage
// (tests, page export), a QPrinter and a memory context holding a bitmap.
// Coordinates are device units (pixels of the device); right and bottom edges
// of rectangles are exclusive, as in GDI. Colours are Windows colour values
// (0x00BBGGRR, system colours 0xFF0000nn).
#include "platform/WinTypes.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>
#include <QTransform>

#include <memory>
#include <optional>

class QPaintDevice;
class QPainter;
class QPrinter;
class QRegion;
class QWidget;
struct TCaptionFont;

// A device-dependent bitmap made by CreateCompatibleBitmap (the HBITMAP stand-in).
struct BitmapObject {
    QImage image; // Format_RGB32, top-down
};
using HBITMAP = std::shared_ptr<BitmapObject>;

// What GetDeviceCaps reports, and test switches that make a call fail the way a
// limited device would. Unset values come from the device itself.
struct TDeviceCaps {
    std::optional<int> LogPixelsX;
    std::optional<int> LogPixelsY;
    std::optional<int> Technology; // DT_RASDISPLAY or DT_RASPRINTER
    std::optional<int> RasterCaps; // RC_* bits
    std::optional<int> BitsPixel;  // 8 = palette display
    // The depth of the display the program shows on, whatever the device (a
    // printout from a palette display is halftoned too); unset: the screen's.
    std::optional<int> DisplayBitsPixel;
    bool FailStretchDIBits = false;     // StretchDIBits returns GDI_ERROR
    bool FailSetDIBitsToDevice = false; // SetDIBitsToDevice returns 0
    bool FailCreateBitmap = false;      // CreateCompatibleBitmap returns none
    bool FailSetDIBits = false;         // SetDIBits returns 0
    bool FailStretchBlt = false;        // StretchBlt returns false
};

class TDC
{
public:
    // Paints on the device until destroyed; a widget only inside its paint event.
    explicit TDC(QPaintDevice *device);
    // Draws through a painter that is already active on its device (e.g. a
    // printer whose job is running); the painter is not ended by this context.
    explicit TDC(QPainter *activePainter);
    ~TDC();
    TDC(const TDC &) = delete;
    TDC &operator=(const TDC &) = delete;

    QPainter *painter() const { return P; }
    QPaintDevice *device() const { return Device; }

    // The part of the device that drawing can still change (the paint event's
    // region on a widget, the whole image or page otherwise), in device units;
    // empty when nothing can be drawn. Row-by-row painters skip what lies outside.
    QRect VisibleRect() const;
    // Device units to the pixels the engine really paints: the screen's pixel
    // ratio on a widget (and its offset in the window), an image's own ratio.
    QTransform PixelTransform() const;
    // While on, coordinates are those pixels, so a picture can be drawn at the
    // full sharpness of a high-resolution screen. Only with an invertible
    // PixelTransform; switch it off before any other drawing.
    void SetPixelUnits(bool on);

    // --- capabilities
    int GetDeviceCaps(int index) const;
    void setCaps(const TDeviceCaps &caps) { Caps = caps; }
    [[nodiscard]] int DisplayBitsPerPixel() const;
    TDeviceCaps &caps() { return Caps; }

    // --- palettes (Qt surfaces are true colour: selection is kept and reported)
    HPALETTE SelectPalette(const HPALETTE &palette, bool forceBackground);
    int RealizePalette();
    HPALETTE CurrentPalette() const { return Palette; }
    int RealizeCount() const { return Realized; }

    // --- DIB transfer; DIB rows are bottom-up, source y counts from the bottom row
    int SetStretchBltMode(int mode); // COLORONCOLOR: nearest neighbour, no smoothing
    int GetStretchBltMode() const { return StretchMode; }
    // Scan lines drawn, or GDI_ERROR.
    int StretchDIBits(int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc, int srcWidth,
                      int srcHeight, const void *bits, const BITMAPINFOHEADER *info, unsigned usage, DWORD rop);
    // Copies scans startScan .. startScan + numScans - 1 of a DIB (bits holds only
    // those rows) 1:1; returns the scan lines set, 0 on failure.
    int SetDIBitsToDevice(int xDest, int yDest, int width, int height, int xSrc, int ySrc, unsigned startScan,
                          unsigned numScans, const void *bits, const BITMAPINFOHEADER *info, unsigned usage);

    // --- device bitmaps and memory contexts (the path for devices that refuse DIBs)
    HBITMAP CreateCompatibleBitmap(int width, int height) const; // none on failure
    // Sets scans of a device bitmap from a DIB; returns the lines set, 0 on failure.
    int SetDIBits(const HBITMAP &bitmap, unsigned startScan, unsigned numScans, const void *bits,
                  const BITMAPINFOHEADER *info, unsigned usage) const;
    // A memory context with this device's capabilities; draw into it by selecting a bitmap.
    std::unique_ptr<TDC> CreateCompatibleDC() const;
    HBITMAP SelectObject(const HBITMAP &bitmap); // returns the previous one
    // Copies a rectangle of src's selected bitmap (top-down coordinates) into this
    // context, stretched nearest neighbour. Only SRCCOPY is supported.
    bool StretchBlt(int xDest, int yDest, int destWidth, int destHeight, TDC &src, int xSrc, int ySrc, int srcWidth,
                    int srcHeight, DWORD rop);

    // --- pens, brushes and raster mode
    void SetPen(COLORREF color, int width = 1);
    void SetBrush(COLORREF color); // solid
    void SetHollowBrush();         // the stock null brush
    int SetROP2(int mode);         // R2_COPYPEN or R2_NOTXORPEN; returns the previous mode
    int GetROP2() const { return Rop2; }

    // --- shapes: pen outline, brush interior; right/bottom exclusive
    void Rectangle(int left, int top, int right, int bottom);
    void FillRect(const RECT &rect, COLORREF color);
    void SetPixel(int x, int y, COLORREF color);
    void MoveTo(int x, int y);
    void LineTo(int x, int y); // the end point itself is not drawn

    // --- text
    // height < 0: character height without internal leading; height > 0: cell height.
    void SetFont(const QFont &font, int height);
    // Face, style, colour and pitch of a caption font, with the given height.
    void SetFont(const TCaptionFont &font, int height);
    QFont font() const { return Font; }
    // Text laid out at one reference size and scaled to a character height of
    // `pixels` (unrounded; set before SetFont, 0 = off): it then takes the same
    // share of a picture on the screen and on paper, which the rounded height
    // and hinting at small sizes would change.
    void SetScaledTextLayout(double pixels)
    {
        ScaledPixels = pixels;
        if (pixels <= 0)
            TextScale = 0;
    }
    COLORREF SetTextColor(COLORREF color);
    COLORREF SetBkColor(COLORREF color);
    int SetBkMode(int mode); // OPAQUE or TRANSPARENT; returns the previous mode
    int GetBkMode() const { return BkMode; }
    int GetTextHeight(const QString &text) const; // cell height of the text's lines
    // Height of `lines` lines as DrawText stacks them (unrounded per line when scaled).
    int GetTextBlockHeight(int lines) const;
    int GetTextWidth(const QString &text) const;
    // Draws text in a rectangle: top-aligned lines, DT_LEFT/DT_CENTER/DT_RIGHT,
    // no word wrap, clipped to the rectangle unless DT_NOCLIP. Returns the text height.
    int DrawText(const QString &text, const RECT &rect, unsigned format);
    void TextOut(int x, int y, const QString &text);

private:
    void initFromDevice();
    bool rasterOpsWork() const;
    void paintRegion(const QRegion &region, const QColor &color, bool notXor);

    QPaintDevice *Device = nullptr;
    QPainter *P = nullptr;
    bool OwnPainter = false;
    HBITMAP Selected; // memory contexts only
    bool Memory = false;
    bool PixelUnits = false;

    int DefaultTechnology = DT_RASDISPLAY;
    int DefaultBitsPixel = 32;
    TDeviceCaps Caps;

    HPALETTE Palette;
    int Realized = 0;
    int StretchMode = BLACKONWHITE;
    int Rop2 = R2_COPYPEN;
    QColor PenColor = Qt::black;
    int PenWidth = 1;
    bool Hollow = false;
    QColor BrushColor = Qt::white;
    int CurX = 0, CurY = 0;

    QFont Font;
    double ScaledPixels = 0;
    QFont LayoutFont;      // Font at the reference size, unhinted
    double TextScale = 0;  // device pixels per layout pixel; 0: laid out at the device size
    QColor TextColor = Qt::black;
    QColor BkColor = Qt::white;
    int BkMode = OPAQUE;

    // Reused one-row image for SetDIBitsToDevice, and the colour map of the
    // last 8-bit colour table seen.
    QImage RowImage;
    std::uint32_t Lut[256] = {};
    RGBQUAD LutSource[256] = {};
    int LutColors = -1;
};

// The QColor a Windows colour value stands for.
QColor ColorFromRef(COLORREF color);
// A QFont with a caption font's face, style and pitch (size not set).
QFont QFontFromCaption(const TCaptionFont &font);
// The caption font a font dialog's choice makes of `previous`: face, points,
// style and pitch from `font`; the colour only when `color` differs from the
// one `previous` shows (a system colour stays one); character set and pixels
// per inch kept.
[[nodiscard]] TCaptionFont CaptionFromFont(const QFont &font, const QColor &color, const TCaptionFont &previous);
