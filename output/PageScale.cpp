#include "output/PageScale.h"

#include "platform/Numeric.h"

namespace {
// Inches to device pixels in extended precision, the zoom applied last as the
// arrange view does.
int toDevice(double inches, int dpi, int zoom)
{
    const long double v = static_cast<long double>(dpi) * static_cast<long double>(inches);
    return TruncToInt(zoom == 100 ? v : static_cast<long double>(zoom) * v / 100.0L);
}
} // namespace

PageScale ArrangeViewScale(int screenDpi, int zoom) { return PageScale { screenDpi, screenDpi, screenDpi, zoom }; }
PageScale PrintScale(int printerDpiX) { return PageScale { printerDpiX, printerDpiX, printerDpiX, 100 }; }
PageScale PreviewScale(int screenDpiX, int screenDpiY) { return PageScale { screenDpiX, screenDpiY, screenDpiX, 100 }; }

DeviceFrame PlacementFrame(const Placement& p, const PageScale& scale)
{
    return DeviceFrame { toDevice(p.Left, scale.DpiX, scale.Zoom), toDevice(p.Top, scale.DpiY, scale.Zoom),
        toDevice(p.Width, scale.DpiX, scale.Zoom), toDevice(p.Height, scale.DpiY, scale.Zoom) };
}
