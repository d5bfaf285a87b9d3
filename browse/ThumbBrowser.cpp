#include "browse/ThumbBrowser.h"

#include "picture/DrawDib.h"
#include "platform/DeviceContext.h"

#include <QCoreApplication>

#include <algorithm>

int ThumbColumns(int width) { return std::max(1, width / ThumbCellWidth); }

QPoint ThumbCellOrigin(int index, int columns)
{
    return { (index - 1) % columns * ThumbCellWidth, (index - 1) / columns * ThumbCellHeight };
}

int ThumbGridHeight(int count, int columns) { return (count / columns + 1) * ThumbCellHeight; }

QSize ThumbDisplaySize(int w, int h)
{
    if (w <= 0 || h <= 0)
        return {};
    int tw = ThumbBox;
    int th = int(std::int64_t(h) * ThumbBox / w);
    if (th > ThumbBox) {
        th = ThumbBox;
        tw = int(std::int64_t(w) * ThumbBox / h);
    }
    return { tw, th };
}

int ThumbHitTest(QPoint p, int count, int columns)
{
    for (int i = 1; i <= count; ++i) {
        const QPoint o = ThumbCellOrigin(i, columns);
        if (p.x() >= o.x() + 2 && p.x() <= o.x() + 88 && p.y() >= o.y() + 2 && p.y() <= o.y() + 108)
            return i;
    }
    return 0;
}

int ThumbKeyMove(int key, int selection, int count, int columns)
{
    int next = selection;
    switch (key) {
    case Qt::Key_Up:
        next = selection - columns;
        break;
    case Qt::Key_Down:
        next = selection + columns;
        break;
    case Qt::Key_Left:
        next = selection - 1;
        break;
    case Qt::Key_Right:
        next = selection + 1;
        break;
    default:
        break;
    }
    // Up and Left only must not go below 1, Down and Right only beyond the
    // count, so a selection beyond the count can be brought back.
    if (next < selection)
        return next >= 1 ? next : selection;
    return next <= count ? next : selection;
}

int ThumbPaintFrom(int paintFrom, int columns, const QRect& region)
{
    if (paintFrom <= 0 || QRect(ThumbCellOrigin(paintFrom, columns), QSize(ThumbCellWidth, ThumbCellHeight)).contains(region))
        return paintFrom;
    return 0;
}

int ThumbScrollPosition(int selection, int columns, int position, int clientHeight)
{
    const int row = (std::max(selection, 1) - 1) / columns;
    const int top = row * ThumbCellHeight + 2;
    const int bottom = row * ThumbCellHeight + 108;
    if (top < position)
        return top;
    if (position + clientHeight < bottom)
        return bottom - clientHeight;
    return position;
}

QString ThumbStatusText(const ThumbList& list, int selection)
{
    if (selection < 1 || selection > list.count())
        return QCoreApplication::translate("TMainForm", "Picture: none");
    const ThumbInfo& i = list.at(selection - 1).Info;
    return QCoreApplication::translate("TMainForm", "Thumbnail: ") + QString::number(i.FullWidth) + QLatin1String(" x ")
        + QString::number(i.FullHeight) + QLatin1String(" x ") + QString::number(i.Colours) + QLatin1String(" - ")
        + QString::number(i.SizeKB) + QLatin1String(" KByte   ") + QLatin1String(" (") + QString::number(selection)
        + QCoreApplication::translate("TMainForm", " of ") + QString::number(list.count()) + QLatin1String(")");
}

void PaintThumbGrid(TDC& dc, const ThumbList& list, int selection, int paintFrom, int columns, const QRect& clip)
{
    const bool selectionValid = selection >= 1 && selection <= list.count();
    const HPALETTE palette = selectionValid ? list.at(selection - 1).Dib.Palette : HPALETTE();
    const COLORREF white = RGB(255, 255, 255), grey = RGB(128, 128, 128);
    for (int i = std::max(paintFrom, 1); i <= list.count(); ++i) {
        const QPoint o = ThumbCellOrigin(i, columns);
        const int x0 = o.x(), y0 = o.y();
        if (!clip.intersects(QRect(x0, y0, ThumbCellWidth, ThumbCellHeight)))
            continue;
        const DIB& dib = list.at(i - 1).Dib;
        const int w = DibWidth(dib), h = DibHeight(dib);
        const QSize t = ThumbDisplaySize(w, h);
        const int tw = t.width(), th = t.height();

        // Raised frame: light top and left, dark right and bottom.
        dc.SetPen(white);
        dc.MoveTo(x0 + 2, y0 + 2);
        dc.LineTo(x0 + 88, y0 + 2);
        dc.SetPen(grey);
        dc.LineTo(x0 + 88, y0 + 108);
        dc.LineTo(x0 + 2, y0 + 108);
        dc.SetPen(white);
        dc.LineTo(x0 + 2, y0 + 2);

        const bool selected = i == selection;
        const COLORREF fill = selected ? RGB(0, 0, 255) : RGB(192, 192, 192);
        const int px = x0 + 5 + (ThumbBox - tw) / 2;
        const int py = y0 + 5 + (ThumbBox - th) / 2;
        // The picture's own rectangle is left for DrawDib.
        dc.FillRect(RECT { x0 + 3, y0 + 3, px, y0 + 107 }, fill);
        dc.FillRect(RECT { x0 + 3, y0 + 3, x0 + 87, py }, fill);
        dc.FillRect(RECT { x0 + 3, py + th, x0 + 87, y0 + 107 }, fill);
        dc.FillRect(RECT { px + tw, y0 + 3, x0 + 87, y0 + 107 }, fill);
        if (dib.Bits && tw > 0 && th > 0)
            DrawDib(dc, px, py, tw, th, dib, 0, 0, w, h, true, SRCCOPY, selected, palette);

        dc.SetBkMode(OPAQUE);
        dc.SetBkColor(fill);
        dc.DrawText(list.at(i - 1).Name, RECT { x0 + 3, y0 + 90, x0 + 87, y0 + 110 }, 0);
    }
}
