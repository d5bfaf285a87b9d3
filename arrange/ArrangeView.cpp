// The arrange view and the picture strip: free painting routines, and the main
// window's paint handlers that size the widgets and hand them a device context.
#include "arrange/ArrangeView.h"

#include "app/MainUnit.h"
#include "arrange/Geometry.h"
#include "document/Arrangement.h"
#include "output/PageRender.h"
#include "picture/DrawDib.h"
#include "platform/DeviceContext.h"
#include "platform/PaintBox.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {
class ResizeWatcher : public QObject
{
public:
    ResizeWatcher(QWidget *widget, std::function<void()> handler)
        : QObject(widget)
        , Handler(std::move(handler))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Resize && watched == parent())
            Handler();
        return false;
    }

private:
    std::function<void()> Handler;
};

constexpr COLORREF Black = RGB(0, 0, 0);
constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF Blue = RGB(0, 0, 255);
} // namespace

void WatchResize(QWidget *widget, std::function<void()> handler) { new ResizeWatcher(widget, std::move(handler)); }

std::array<QPoint, 8> SelectionHandlePoints(int x, int y, int w, int h)
{
    return {QPoint(x, y),         QPoint(x + w, y),         QPoint(x, y + h),         QPoint(x + w, y + h),
            QPoint(x + w / 2, y), QPoint(x + w / 2, y + h), QPoint(x, y + h / 2), QPoint(x + w, y + h / 2)};
}

void markrec(TDC &dc, int x, int y, int w, int h, bool dragging)
{
    // View coordinates are clamped to int; a frame that far out would overflow
    // the outline and handle arithmetic, and no window shows it.
    constexpr std::int64_t Reach = std::numeric_limits<int>::max() / 4;
    auto far = [](std::int64_t v) { return v < -Reach || v > Reach; };
    if (far(x) || far(y) || far(std::int64_t(x) + w) || far(std::int64_t(y) + h))
        return;
    dc.SetPen(Black);
    dc.SetROP2(dragging ? R2_NOTXORPEN : R2_COPYPEN);
    dc.SetHollowBrush();
    dc.Rectangle(x, y, x + w, y + h);
    dc.SetBrush(Black);
    dc.SetROP2(R2_COPYPEN);
    if (dragging)
        return;
    for (const QPoint &p : SelectionHandlePoints(x, y, w, h))
        dc.Rectangle(p.x() - 3, p.y() - 3, p.x() + 3, p.y() + 3);
}

void PaintArrangeView(TDC &dc, const TArrangement &doc, const ArrangeViewState &s, const QRect &clip)
{
    const QSize size = Geometry::ViewSize(s.PageWidth, s.PageHeight, s.PrinterDpi, s.ScreenDpi, s.Zoom);
    dc.SetPen(White);
    dc.SetBrush(White);
    dc.Rectangle(0, 0, size.width(), size.height());

    if (s.ShowGrid) {
        // Only the dots inside the clip: at a high zoom the page is far larger than the window.
        const std::vector<int> columns =
            Geometry::GridViewPositions(s.PageWidth, s.PrinterDpi, s.GridMm, s.Zoom, s.ScreenDpi);
        const std::vector<int> rows =
            Geometry::GridViewPositions(s.PageHeight, s.PrinterDpi, s.GridMm, s.Zoom, s.ScreenDpi);
        const auto firstRow = std::lower_bound(rows.begin(), rows.end(), clip.top());
        for (int x : columns) {
            if (x < clip.left())
                continue;
            if (x > clip.right())
                break;
            for (auto y = firstRow; y != rows.end() && *y <= clip.bottom(); ++y)
                dc.SetPixel(x, *y, Black);
        }
    }

    // The arrange view's scale, on both axes and for the caption font.
    const PageScale scale = ArrangeViewScale(s.ScreenDpi, s.Zoom);
    auto marks = [&](const Placement &p) {
        markrec(dc, Geometry::ToView(p.Left, s.Zoom, s.ScreenDpi), Geometry::ToView(p.Top, s.Zoom, s.ScreenDpi),
                Geometry::ToView(p.Width, s.Zoom, s.ScreenDpi), Geometry::ToView(p.Height, s.Zoom, s.ScreenDpi),
                s.Dragging);
    };
    const bool dragged = s.Dragging && doc.SelectedPlacement >= 0 && doc.SelectedPlacement < doc.Placements.size();
    for (int i = 0; i < doc.Placements.size(); ++i) {
        const Placement &stored = doc.Placements.at(i);
        const Placement &p = i == doc.SelectedPlacement && dragged && s.DraggedFrom ? *s.DraggedFrom : stored;
        if (p.Page != s.Page)
            continue;
        RenderPlacement(dc, doc, p, scale, s.Options);
        if (i == doc.SelectedPlacement && !dragged)
            marks(p);
    }
    // The drag outline follows the mouse even for a selection on another page.
    if (dragged)
        marks(doc.Placements.at(doc.SelectedPlacement));
}

int StripHeight(int scrollBoxOuterWidth, int pictureCount)
{
    const std::int64_t h = std::int64_t(scrollBoxOuterWidth + 2) * pictureCount;
    return int(std::clamp<std::int64_t>(h, 1, QWIDGETSIZE_MAX));
}

bool StripCellVisible(int cellTop, int stripWidth, int visibleTop, int visibleHeight)
{
    return !(cellTop >= visibleHeight + visibleTop || cellTop + stripWidth <= visibleTop);
}

QRect StripThumbRect(int stripWidth, int cellTop, int pictureWidth, int pictureHeight)
{
    const std::int64_t s = stripWidth - 4;
    if (s <= 0 || pictureWidth <= 0 || pictureHeight <= 0)
        return QRect();
    std::int64_t tw = s;
    std::int64_t th = s * pictureHeight / pictureWidth;
    if (th > s) {
        th = s;
        tw = s * pictureWidth / pictureHeight;
    }
    if (tw <= 0 || th <= 0)
        return QRect();
    return QRect(int((stripWidth - tw) / 2 + 1), int(cellTop + (stripWidth - th) / 2 + 1), int(tw), int(th));
}

void PaintPictureStrip(TDC &dc, const TArrangement &doc, int stripWidth, int visibleTop, int visibleHeight)
{
    const int W = stripWidth;
    for (int i = 0; i < doc.PictureCount(); ++i) {
        const int top = StripCellTop(i, W);
        if (!StripCellVisible(top, W, visibleTop, visibleHeight))
            continue;
        if (i == doc.SelectedPicture) {
            dc.SetBrush(Blue);
            dc.SetPen(Black);
            dc.Rectangle(0, top, W, top + W + 2);
        }
        const DIB &dib = doc.Pictures[std::size_t(i)].Dib;
        if (!dib.Bits)
            continue;
        const QRect r = StripThumbRect(W, top, DibWidth(dib), DibHeight(dib));
        if (r.isEmpty())
            continue;
        DrawDib(dc, r.x(), r.y(), r.width(), r.height(), dib, 0, 0, DibWidth(dib), DibHeight(dib), true, SRCCOPY,
                false, HPALETTE());
    }
}

// ---------------------------------------------------------------------------
// The main window's handlers

bool TMainForm::syncArrangeViewSize()
{
    const QSize size = ArrangeViewSize();
    if (PaintBox2->size() == size)
        return true;
    PaintBox2->resize(size); // brings the next paint
    return false;
}

void TMainForm::paintArrangeView(TDC &dc, const QRect &clip)
{
    ArrangeViewState s;
    s.Page = APageEd->value();
    s.Zoom = ZoomEd->value();
    s.ScreenDpi = ScreenDpi();
    s.PageWidth = PageWidth();
    s.PageHeight = PageHeight();
    s.PrinterDpi = PrinterDpi();
    s.ShowGrid = ShowGridCheck->isChecked();
    s.GridMm = GridEd->value();
    s.Dragging = Dragging == 1;
    if (s.Dragging)
        s.DraggedFrom = DragOrigin;
    s.Options = options();
    PaintArrangeView(dc, *this, s, clip);
}

void TMainForm::PaintBox2Paint(QPaintEvent *event)
{
    if (Loading || !syncArrangeViewSize())
        return;
    TDC dc(PaintBox2);
    if (Dragging != 1 || !event) {
        paintArrangeView(dc, event ? event->rect() : PaintBox2->rect());
        return;
    }
    // A drag repaints thin bands around the old and the new outline; each band
    // is drawn on its own so no picture is rescaled beyond it.
    for (const QRect &band : event->region()) {
        dc.painter()->setClipRect(band, Qt::ReplaceClip);
        paintArrangeView(dc, band);
    }
}

void TMainForm::ScrollBox2Resize()
{
    // An empty view gets no paint event, so the size cannot wait for one.
    syncArrangeViewSize();
    repaintArrangeView();
}

bool TMainForm::syncStripSize()
{
    const int W = ScrollBox1->viewport()->width();
    if (PaintBox1->width() != W) {
        PaintBox1->resize(W, PaintBox1->height());
        return false;
    }
    const int h = StripHeight(ScrollBox1->width(), PictureCount());
    if (PaintBox1->height() != h) {
        PaintBox1->resize(W, h);
        return false;
    }
    return true;
}

void TMainForm::ScrollBox1Resize()
{
    // The strip follows the area's width; an empty strip gets no paint event.
    syncStripSize();
    syncStripSize();
    repaintStrip();
}

void TMainForm::paintStrip(TDC &dc, int visibleTop, int visibleHeight)
{
    PaintPictureStrip(dc, *this, PaintBox1->width(), visibleTop, visibleHeight);
}

void TMainForm::PaintBox1Paint(QPaintEvent *)
{
    if (!syncStripSize())
        return;
    TDC dc(PaintBox1);
    paintStrip(dc, ScrollBox1->verticalScrollBar()->value(), ScrollBox1->viewport()->height());
}
