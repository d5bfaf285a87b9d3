#pragma once
// Device pixels of a page: the resolution a page is drawn at and where a
// placement's frame lands. Shared by the rendering rule and the cut marks.
#include "document/Placement.h"

// Device pixels per inch on each axis and for the caption font, each times
// Zoom / 100. Frames are trunc(Zoom * (Dpi * inches) / 100); the caption's
// character height is (Zoom * points * FontDpi) div 7200.
struct PageScale {
    int DpiX = 96;
    int DpiY = 96;
    int FontDpi = 96;
    int Zoom = 100; // percent
};

// Screen resolution times the zoom on both axes and for the font.
[[nodiscard]] PageScale ArrangeViewScale(int screenDpi, int zoom);
// The printer's horizontal resolution for both axes and the font.
[[nodiscard]] PageScale PrintScale(int printerDpiX);
// The screen's own resolution per axis; the font follows the horizontal one.
[[nodiscard]] PageScale PreviewScale(int screenDpiX, int screenDpiY);

// A placement's frame in device pixels; values no int can hold are clamped.
struct DeviceFrame {
    int X = 0;
    int Y = 0;
    int W = 0;
    int H = 0;
};
[[nodiscard]] DeviceFrame PlacementFrame(const Placement& p, const PageScale& scale);
