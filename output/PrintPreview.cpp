// The print preview of the "Print/Save as image" tab: sizing, painting and
// panning by dragging.
#include "output/PrintPreview.h"

#include "app/MainUnit.h"
#include "arrange/ArrangeView.h"
#include "document/Arrangement.h"
#include "output/PageRender.h"
#include "platform/DeviceContext.h"
#include "platform/Dialogs.h"
#include "platform/PaintBox.h"
#include "platform/Printer.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>

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
                  const ArrangementOptions &options, const PictureSupply &supply)
{
    constexpr COLORREF White = RGB(255, 255, 255);
    dc.SetPen(White);
    dc.SetBrush(White);
    dc.Rectangle(0, 0, size.width(), size.height());
    RenderPage(dc, doc, page, PreviewScale(screenDpiX, screenDpiY), options, supply);
}

QImage RenderPageImage(const TArrangement &doc, double page, int dpi, int pageWidth, int pageHeight, int printerDpiX,
                       int printerDpiY, const ArrangementOptions &options, qint64 maxBytes, const PagePictures *fetched)
{
    const QSize size = PreviewSize(pageWidth, pageHeight, dpi, dpi, printerDpiX, printerDpiY);
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
        PaintPreview(dc, doc, size, page, dpi, dpi, options, {PictureWant::FullNow, fetched});
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

// ---------------------------------------------------------------------------
// The main window's handlers

int TMainForm::PreviewDpiX() const { return ScreenDpiOverride > 0 ? ScreenDpiOverride : logicalDpiX(); }
int TMainForm::PreviewDpiY() const { return ScreenDpiOverride > 0 ? ScreenDpiOverride : logicalDpiY(); }

QSize TMainForm::PreviewPageSize() const
{
    const TPrinter &printer = Printer();
    return PreviewSize(printer.PageWidth(), printer.PageHeight(), PreviewDpiX(), PreviewDpiY(),
                       printer.LogPixelsX(), printer.LogPixelsY());
}

bool TMainForm::syncPreviewSize()
{
    const QSize size = PreviewPageSize();
    if (PaintBox3->width() != size.width()) {
        PaintBox3->resize(size.width(), PaintBox3->height());
        return false;
    }
    if (PaintBox3->height() != size.height()) {
        PaintBox3->resize(size);
        return false;
    }
    return true;
}

void TMainForm::paintPreview(TDC &dc)
{
    PaintPreview(dc, *this, PaintBox3->size(), APageEd->value(), PreviewDpiX(), PreviewDpiY(), options());
}

void TMainForm::PaintBox3Paint(QPaintEvent *)
{
    // The resize brings the next paint, which draws at the new size.
    if (Loading || !syncPreviewSize())
        return;
    TDC dc(PaintBox3);
    paintPreview(dc);
}

void TMainForm::ScrollBox3Resize()
{
    // A preview of no size gets no paint event, so its size cannot wait for one.
    if (Loading)
        return;
    syncPreviewSize();
    syncPreviewSize();
    repaintPreview();
}

void TMainForm::PaintBox3MouseDown(QMouseEvent *e)
{
    PreviewDragging = true;
    PreviewGrab = e->position().toPoint();
    PaintBox3->setCursor(Qt::ClosedHandCursor);
}

void TMainForm::PaintBox3MouseMove(QMouseEvent *e)
{
    if (!PreviewDragging)
        return;
    QScrollBar *h = ScrollBox3->horizontalScrollBar();
    QScrollBar *v = ScrollBox3->verticalScrollBar();
    const QPoint to = PanScrollPosition(QPoint(h->value(), v->value()), PreviewGrab, e->position().toPoint(),
                                        QPoint(h->maximum(), v->maximum()));
    h->setValue(to.x());
    v->setValue(to.y());
}

void TMainForm::PaintBox3MouseUp(QMouseEvent *)
{
    PreviewDragging = false;
    PaintBox3->setCursor(Qt::OpenHandCursor);
}
