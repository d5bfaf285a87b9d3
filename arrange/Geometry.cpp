#include "arrange/Geometry.h"
#include "platform/Numeric.h"
#include "platform/Printer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace Geometry {

double MmToInch(double mm) { return mm / MmPerInch; }
double InchToMm(double inch) { return inch * MmPerInch; }

int ToView(double inch, int zoom, int screenDpi)
{
    const long double v = static_cast<long double>(zoom) *
                          (static_cast<long double>(screenDpi) * static_cast<long double>(inch)) / 100.0L;
    return TruncToInt(v);
}

double FromView(int pixels, int zoom, int screenDpi)
{
    if (zoom <= 0 || screenDpi <= 0)
        return 0.0;
    const std::int64_t scaled = std::int64_t(pixels) * 100;
    return double(scaled) / zoom / screenDpi;
}

double SnapToGrid(double inch, bool useGrid, double gridMm)
{
    if (!useGrid || !(gridMm > 0.0))
        return inch;
    // nearbyint rounds half to even under the default rounding mode.
    return std::nearbyint(inch * MmPerInch / gridMm) * gridMm / MmPerInch;
}

QSize ViewSize(int pageWidth, int pageHeight, int printerDpi, int screenDpi, int zoom)
{
    if (printerDpi <= 0)
        return QSize(0, 0);
    auto length = [&](int pagePixels) {
        const double onScreen = double(std::int64_t(pagePixels) * screenDpi) / printerDpi;
        return TruncToInt(static_cast<long double>(zoom) * onScreen / 100.0L);
    };
    return QSize(length(pageWidth), length(pageHeight));
}

bool FrameOffPage(double left, double top, double width, double height, double pageWidth, double pageHeight)
{
    // A frame put at the page's edge by arithmetic may miss it by a rounding.
    constexpr double Slack = 1e-6;
    const double x0 = std::min(left, left + width), x1 = std::max(left, left + width);
    const double y0 = std::min(top, top + height), y1 = std::max(top, top + height);
    return !(x0 >= -Slack && y0 >= -Slack && x1 <= pageWidth + Slack && y1 <= pageHeight + Slack);
}

int GridSteps(int pageLength, int printerDpi, double gridMm)
{
    if (printerDpi <= 0 || !(gridMm > 0.0))
        return -1;
    const double lengthMm = double(pageLength) / printerDpi * MmPerInch;
    return TruncToInt(lengthMm / gridMm);
}

std::vector<int> GridViewPositions(int pageLength, int printerDpi, double gridMm, int zoom, int screenDpi)
{
    std::vector<int> positions;
    const int steps = GridSteps(pageLength, printerDpi, gridMm);
    if (steps < 0)
        return positions;
    const double stepInch = gridMm / MmPerInch;
    const int last = ToView(steps * stepInch, zoom, screenDpi);
    const double stepPixels = double(zoom) * screenDpi * stepInch / 100.0;
    if (stepPixels <= 0.5) {
        // Points closer than a pixel apart: every column from 0 to the last is hit.
        if (last >= 0) {
            positions.reserve(std::size_t(last) + 1);
            for (int p = 0; p <= last; ++p)
                positions.push_back(p);
        }
        return positions;
    }
    positions.reserve(std::size_t(steps) + 1);
    for (int i = 0; i <= steps; ++i) {
        const int p = ToView(i * stepInch, zoom, screenDpi);
        if (positions.empty() || positions.back() != p)
            positions.push_back(p);
    }
    return positions;
}

} // namespace Geometry

PageGeometry PaperGeometry(const TPrinter &printer, int screenDpi, int zoom)
{
    PageGeometry g;
    g.PageWidth = printer.PageWidth();
    g.PageHeight = printer.PageHeight();
    g.PrinterDpiX = printer.LogPixelsX();
    g.PrinterDpiY = printer.LogPixelsY();
    g.ScreenDpi = screenDpi;
    g.Zoom = zoom;
    return g;
}
