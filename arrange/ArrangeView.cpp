// The arrange view and the picture strip as free painting routines.
#include "arrange/ArrangeView.h"

#include "arrange/Geometry.h"
#include "arrange/IdGuides.h"
#include "document/Arrangement.h"
#include "output/PageRender.h"
#include "picture/DrawDib.h"
#include "platform/DeviceContext.h"

#include <QWidget>

#include <algorithm>
#include <climits>
#include <cstdint>

namespace {
constexpr COLORREF Black = RGB(0, 0, 0);
constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF Blue = RGB(0, 0, 255);
constexpr COLORREF Red = RGB(255, 0, 0);
} // namespace

std::array<QPoint, 8> SelectionHandlePoints(int x, int y, int w, int h)
{
    // Sums of absurd frames are held to the int range instead of wrapping.
    const std::int64_t X = x, Y = y, W = w, H = h;
    auto pt = [](std::int64_t px, std::int64_t py) {
        auto c = [](std::int64_t v) { return int(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX)); };
        return QPoint(c(px), c(py));
    };
    return {pt(X, Y),         pt(X + W, Y),         pt(X, Y + H),         pt(X + W, Y + H),
            pt(X + W / 2, Y), pt(X + W / 2, Y + H), pt(X, Y + H / 2), pt(X + W, Y + H / 2)};
}

bool MarksDrawable(int x, int y, int w, int h)
{
    const std::int64_t lo = -std::int64_t(QWIDGETSIZE_MAX), hi = QWIDGETSIZE_MAX;
    const auto inside = [&](std::int64_t v) { return lo <= v - 3 && v + 3 <= hi; };
    return inside(x) && inside(y) && inside(std::int64_t(x) + w) && inside(std::int64_t(y) + h);
}

void DrawSelectionMarks(TDC &dc, int x, int y, int w, int h, bool dragging)
{
    if (!MarksDrawable(x, y, w, h))
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
        DrawSelectionMarks(dc, Geometry::ToView(p.Left, s.Zoom, s.ScreenDpi), Geometry::ToView(p.Top, s.Zoom, s.ScreenDpi),
                Geometry::ToView(p.Width, s.Zoom, s.ScreenDpi), Geometry::ToView(p.Height, s.Zoom, s.ScreenDpi),
                s.Dragging);
    };
    const bool dragged = s.Dragging && doc.SelectedPlacement >= 0 && doc.SelectedPlacement < doc.Placements.size();
    for (int i = 0; i < doc.Placements.size(); ++i) {
        const Placement &stored = doc.Placements.at(i);
        const Placement &p = i == doc.SelectedPlacement && dragged && s.DraggedFrom ? *s.DraggedFrom : stored;
        if (p.Page != s.Page)
            continue;
        PictureSupply supply(s.ScreenCopies ? PictureWant::Screen : PictureWant::Sharp);
        supply.Recolour = s.Recolour;
        RenderPlacement(dc, doc, p, scale, s.Options, supply);
        if (s.PrinterDpi > 0
            && Geometry::FrameOffPage(p.Left, p.Top, p.Width, p.Height, double(s.PageWidth) / s.PrinterDpi,
                                      double(s.PageHeight) / s.PrinterDpi)) {
            // Not printed beyond the page: outlined in red.
            const int x = Geometry::ToView(p.Left, s.Zoom, s.ScreenDpi), y = Geometry::ToView(p.Top, s.Zoom, s.ScreenDpi);
            const int w = Geometry::ToView(p.Width, s.Zoom, s.ScreenDpi), h = Geometry::ToView(p.Height, s.Zoom, s.ScreenDpi);
            if (MarksDrawable(x, y, w, h)) {
                dc.SetPen(Red, 2);
                dc.SetHollowBrush();
                dc.Rectangle(x, y, x + w, y + h);
                dc.SetPen(Black);
            }
        }
        if (i == doc.SelectedPlacement && !dragged) {
            DrawIdGuides(dc, p, scale);
            marks(p);
        }
    }
    RenderSheetHeader(dc, doc, s.Page, scale, s.Options);
    // The drag outline follows the mouse even for a selection on another page.
    if (dragged)
        marks(doc.Placements.at(doc.SelectedPlacement));
}

int StripHeight(int stripWidth, int pictureCount)
{
    const std::int64_t h = std::int64_t(stripWidth + 2) * pictureCount;
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
