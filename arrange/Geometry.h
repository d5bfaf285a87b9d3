#pragma once
// The page's coordinate system: inches from the printable area's top-left
// corner, the millimetre/inch conversion, the transform to arrange-view pixels
// at a zoom, the grid and its snapping. Pure functions of numbers; the main
// window reads the printer, the screen and the edits and passes them in.
#include "document/PageGeometry.h"

#include <QSize>

#include <vector>


namespace Geometry {

// Millimetres to inches and back, for the twin edits.
[[nodiscard]] double MmToInch(double mm);
[[nodiscard]] double InchToMm(double inch);

// Inches to arrange-view pixels: trunc(zoom * (screenDpi * v) / 100) in
// extended precision, truncated toward zero. Results outside the int range
// (absurd values) are clamped; NaN maps to 0.
[[nodiscard]] int ToView(double inch, int zoom, int screenDpi);

// Arrange-view pixels to inches: (p * 100) / zoom / screenDpi, the product
// taken in integers. A zoom or resolution of 0 or less yields 0.
[[nodiscard]] double FromView(int pixels, int zoom, int screenDpi);

// Rounds an inch value to the nearest multiple of the grid (millimetres), ties
// to even; unchanged when snapping is off or the grid width is not positive.
[[nodiscard]] double SnapToGrid(double inch, bool useGrid, double gridMm);

// Size in pixels of the arrange view for a printable area given in printer pixels.
[[nodiscard]] QSize ViewSize(int pageWidth, int pageHeight, int printerDpi, int screenDpi, int zoom);

// Number of grid steps along a page length in printer pixels; the grid points
// are at i * gridMm / MmPerInch inches for i = 0 ... steps (inclusive).
[[nodiscard]] int GridSteps(int pageLength, int printerDpi, double gridMm);

// The view coordinates of the grid points along one axis, in increasing order
// and without repeats (at a low zoom several points fall on one pixel). The
// count is bounded by the view length, whatever the grid width.
[[nodiscard]] std::vector<int> GridViewPositions(int pageLength, int printerDpi, double gridMm, int zoom,
                                                 int screenDpi);

// Whether a frame (inches) reaches beyond a printable area of pageWidth x
// pageHeight inches: what lies outside is not printed.
[[nodiscard]] bool FrameOffPage(double left, double top, double width, double height, double pageWidth,
                                double pageHeight);

} // namespace Geometry

class TPrinter;
// The printer's printable area and resolution with the arrange view's screen
// resolution and zoom.
[[nodiscard]] PageGeometry PaperGeometry(const TPrinter &printer, int screenDpi, int zoom);
