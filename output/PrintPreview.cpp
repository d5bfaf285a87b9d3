// The 1:1 print preview and the page as a picture: the page rendering rule at
// the screen's or a chosen resolution.
#include "output/PrintPreview.h"

#include "document/Arrangement.h"
#include "output/PageRender.h"
#include "platform/DeviceContext.h"

#include <QWidget>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {
int scaledLength(int printerPixels, int screenDpi, int printerDpi)
{
    if (printerDpi <= 0 || screenDpi <= 0 || printerPixels <= 0)
        return 0;
    const std::int64_t v = std::int64_t(printerPixels) * screenDpi / printerDpi;
    return int(std::min<std::int64_t>(v, QWIDGETSIZE_MAX));
}
} // namespace

QSize PreviewSize(int pageWidth, int pageHeight, int screenDpiX, int screenDpiY, int printerDpiX, int printerDpiY)
{
    return QSize(scaledLength(pageWidth, screenDpiX, printerDpiX), scaledLength(pageHeight, screenDpiY, printerDpiY));
}

void PaintPreview(TDC &dc, const TArrangement &doc, QSize size, double page, int screenDpiX, int screenDpiY,
                  const ArrangementOptions &options, const PrintSetup &setup, const PictureSupply &supply)
{
    constexpr COLORREF White = RGB(255, 255, 255);
    dc.SetPen(White);
    dc.SetBrush(White);
    dc.Rectangle(0, 0, size.width(), size.height());
    RenderPage(dc, doc, page, PreviewScale(screenDpiX, screenDpiY), options, setup, supply);
}

QImage RenderPageImage(const TArrangement &doc, double page, int dpi, const ArrangementOptions &options,
                       const PrintSetup &setup, qint64 maxBytes, const PictureSupply &supply)
{
    const QSize size = PreviewSize(setup.PageWidth, setup.PageHeight, dpi, dpi, setup.DpiX, setup.DpiY);
    if (size.isEmpty() || qint64(size.width()) * size.height() * 4 > maxBytes)
        return {};
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    // Inches per metre: the file records its resolution.
    const int dotsPerMeter = int(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    {
        TDC dc(&image);
        PaintPreview(dc, doc, size, page, dpi, dpi, options, setup, supply);
    }
    return image;
}

QPoint PanScrollPosition(QPoint scroll, QPoint grab, QPoint pointer, QPoint maximum)
{
    auto axis = [](int current, int grabbed, int now, int max) {
        const std::int64_t v = std::int64_t(current) + grabbed - now;
        return int(std::clamp<std::int64_t>(v, 0, std::max(0, max)));
    };
    return QPoint(axis(scroll.x(), grab.x(), pointer.x(), maximum.x()),
                  axis(scroll.y(), grab.y(), pointer.y(), maximum.y()));
}
