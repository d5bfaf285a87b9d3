#pragma once
// The page as the printer and the screen give it, as one value: rules that need
// the page's size or resolution take it instead of asking a live printer.

// The one millimetre/inch constant (deliberately not 25.4): files and edits
// written with it round-trip only if every conversion uses the same value.
inline constexpr double MmPerInch = 25.39995;

struct PageGeometry {
    int PageWidth = 0;   // printable area, printer pixels
    int PageHeight = 0;
    int PrinterDpiX = 0; // the horizontal resolution serves both axes of the page
    int PrinterDpiY = 0;
    int ScreenDpi = 96;  // horizontal, of the arrange view
    int Zoom = 100;      // percent, of the arrange view

    // The printable area in inches; 0 without a resolution.
    [[nodiscard]] double widthInches() const { return PrinterDpiX > 0 ? double(PageWidth) / PrinterDpiX : 0.0; }
    [[nodiscard]] double heightInches() const { return PrinterDpiX > 0 ? double(PageHeight) / PrinterDpiX : 0.0; }
};
