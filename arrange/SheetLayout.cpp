#include "arrange/SheetLayout.h"

#include <QCoreApplication>
#include <QLocale>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {
// Lengths that add up to the room exactly must still fit after rounding.
constexpr double Slack = 1e-6; // mm

struct SheetLayoutText {
    Q_DECLARE_TR_FUNCTIONS(SheetLayoutText)
};
QString Mm(double v) { return QString::number(v, 'f', 1); }

// How many frames of `length` fit along `room` with `gap` between them.
int CountAlong(double room, double length, double gap)
{
    if (!(length > 0) || room + Slack < length)
        return 0;
    const double n = std::floor((room + gap + Slack) / (length + gap));
    return int(std::min(n, double(MaxSheetFrames)));
}

QString TooLarge(QSizeF frame, QRectF usable)
{
    return SheetLayoutText::tr(
        "A frame of %1 x %2 mm does not fit on the paper: the room inside the margins is %3 x %4 mm. "
        "Nothing was placed.")
        .arg(Mm(frame.width()), Mm(frame.height()), Mm(usable.width()), Mm(usable.height()));
}

bool borderless(const SheetArea &sheet, const SheetSpacing &spacing) { return spacing.Borderless && sheet.Borderless; }

// Frames that reach the paper's edge grow past it by the overspill.
void bleed(SheetLayout &layout, const SheetArea &sheet, const SheetSpacing &spacing)
{
    const double o = std::clamp(spacing.Overspill, 0.0, 100.0);
    if (!borderless(sheet, spacing) || !(o > 0))
        return;
    // Within a tenth of a millimetre counts as at the edge: paper sizes and
    // print sizes rounded differently must not leave a white sliver.
    constexpr double near = 0.1;
    const QRectF paper(-sheet.Printable.topLeft(), sheet.Paper);
    for (SheetFrame &f : layout.Frames) {
        QRectF &r = f.Rect;
        if (r.left() - paper.left() < near)
            r.setLeft(paper.left() - o);
        if (r.top() - paper.top() < near)
            r.setTop(paper.top() - o);
        if (paper.right() - r.right() < near)
            r.setRight(paper.right() + o);
        if (paper.bottom() - r.bottom() < near)
            r.setBottom(paper.bottom() + o);
    }
}

bool Valid(QSizeF s) { return std::isfinite(s.width()) && std::isfinite(s.height()) && s.width() > 0 && s.height() > 0; }
} // namespace

SheetArea WholeSheet(double width, double height) { return {QSizeF(width, height), QRectF(0, 0, width, height)}; }

QRectF UsableArea(const SheetArea &sheet, const SheetSpacing &spacing)
{
    const double m = std::max(0.0, spacing.Margin);
    const QRectF inside = QRectF(QPointF(0, 0), sheet.Paper).adjusted(m, m, -m, -m);
    if (!inside.isValid() || !sheet.Printable.isValid())
        return {};
    const QRectF usable = borderless(sheet, spacing) ? inside : inside.intersected(sheet.Printable);
    if (usable.isEmpty())
        return {};
    return usable.translated(-sheet.Printable.topLeft());
}

FillGrid BestFillGrid(QSizeF usable, QSizeF frame, double gap)
{
    gap = std::max(0.0, gap);
    FillGrid upright{CountAlong(usable.width(), frame.width(), gap), CountAlong(usable.height(), frame.height(), gap),
                     false};
    FillGrid turned{CountAlong(usable.width(), frame.height(), gap), CountAlong(usable.height(), frame.width(), gap),
                    true};
    if (frame.width() == frame.height())
        return upright;
    return turned.perSheet() > upright.perSheet() ? turned : upright;
}

SheetLayout FillSheets(const SheetArea& sheet, const SheetSpacing& spacing, QSizeF frame, int count, bool upright)
{
    SheetLayout layout;
    const QRectF usable = UsableArea(sheet, spacing);
    if (!Valid(frame)) {
        layout.Error = SheetLayoutText::tr("The print size is empty. Nothing was placed.");
        return layout;
    }
    const double gap = std::max(0.0, spacing.Gap);
    const FillGrid grid = upright ? FillGrid { CountAlong(usable.width(), frame.width(), gap),
        CountAlong(usable.height(), frame.height(), gap), false }
                                  : BestFillGrid(usable.size(), frame, gap);
    if (grid.perSheet() == 0) {
        layout.Error = TooLarge(frame, usable);
        return layout;
    }
    if (count <= 0 && grid.perSheet() > MaxSheetFrames) {
        layout.Error = SheetLayoutText::tr("%1 frames of %2 x %3 mm fit on the paper, more than the %4 placed at once. "
                          "Nothing was placed.")
                           .arg(QLocale().toString(grid.perSheet()), Mm(frame.width()), Mm(frame.height()),
                               QLocale().toString(MaxSheetFrames));
        return layout;
    }
    const QSizeF size = grid.Turned ? frame.transposed() : frame;
    const int n = count <= 0 ? grid.perSheet() : std::min(count, MaxSheetFrames);
    // The grid is centred, so the cut-off borders come out even.
    const double blockW = grid.Cols * size.width() + (grid.Cols - 1) * gap;
    const double blockH = grid.Rows * size.height() + (grid.Rows - 1) * gap;
    const QPointF origin(usable.left() + (usable.width() - blockW) / 2, usable.top() + (usable.height() - blockH) / 2);
    layout.Frames.reserve(std::size_t(n));
    for (int i = 0; i < n; ++i) {
        const int k = i % grid.perSheet();
        SheetFrame f;
        f.Sheet = i / grid.perSheet();
        f.Turned = grid.Turned;
        f.Rect = QRectF(origin + QPointF((k % grid.Cols) * (size.width() + gap), (k / grid.Cols) * (size.height() + gap)),
                        size);
        layout.Frames.push_back(f);
    }
    layout.Sheets = layout.Frames.back().Sheet + 1;
    bleed(layout, sheet, spacing);
    return layout;
}

namespace {
// One copy of an item, with the size it starts out with.
struct Want {
    int Item;
    QSizeF Size;
};

bool Fits(QSizeF s, const QRectF &usable)
{
    return s.width() <= usable.width() + Slack && s.height() <= usable.height() + Slack;
}

// Every copy of every item, tallest first. Each starts lying (low shelves
// waste less) where the paper allows it. An error text when a size is empty or
// does not fit at all.
QString CollectWants(const std::vector<SheetItem> &items, const QRectF &usable, std::vector<Want> &wants)
{
    for (int i = 0; i < int(items.size()); ++i) {
        const SheetItem &item = items[std::size_t(i)];
        if (item.Copies <= 0)
            continue;
        if (!Valid(item.Size))
            return SheetLayoutText::tr("The print size is empty. Nothing was placed.");
        const QSizeF lying(std::max(item.Size.width(), item.Size.height()),
                           std::min(item.Size.width(), item.Size.height()));
        const QSizeF start = item.Upright ? item.Size : Fits(lying, usable) ? lying : lying.transposed();
        if (!Fits(start, usable))
            return TooLarge(item.Size, usable);
        const int copies = std::min<int>(item.Copies, MaxSheetFrames - int(wants.size()));
        for (int c = 0; c < copies; ++c)
            wants.push_back({i, start});
    }
    std::stable_sort(wants.begin(), wants.end(),
                     [](const Want &a, const Want &b) { return a.Size.height() > b.Size.height(); });
    return {};
}

// Shelves of frames across the usable area: each frame goes on the first
// shelf it fits (either way round), else on a new shelf of the first sheet
// with room left, else on a new sheet.
class ShelfPacker
{
public:
    ShelfPacker(const std::vector<SheetItem> &items, const QRectF &usable, double gap, SheetLayout &layout)
        : Items(items)
        , Usable(usable)
        , Gap(gap)
        , Layout(layout)
    {
    }
    void add(const Want &want)
    {
        const bool upright = Items[std::size_t(want.Item)].Upright;
        const QSizeF options[2] = { want.Size, upright ? want.Size : want.Size.transposed() };
        for (Shelf &shelf : Shelves)
            for (const QSizeF &s : options)
                if (s.height() <= shelf.Height + Slack && nextX(shelf) + s.width() <= Usable.width() + Slack) {
                    place(shelf, s, want.Item);
                    return;
                }
        for (int sh = 0;; ++sh) {
            if (sh == int(SheetBottom.size()))
                SheetBottom.push_back(0);
            const double top = SheetBottom[std::size_t(sh)] > 0 ? SheetBottom[std::size_t(sh)] + Gap : 0;
            for (const QSizeF &s : options)
                if (Fits(s, Usable) && top + s.height() <= Usable.height() + Slack) {
                    Shelves.push_back({sh, top, s.height(), 0});
                    SheetBottom[std::size_t(sh)] = top + s.height();
                    place(Shelves.back(), s, want.Item);
                    return;
                }
        }
    }
    [[nodiscard]] int sheets() const { return int(SheetBottom.size()); }

private:
    struct Shelf {
        int Sheet;
        double Top, Height, Used;
    };
    [[nodiscard]] double nextX(const Shelf &shelf) const { return shelf.Used > 0 ? shelf.Used + Gap : 0; }
    void place(Shelf &shelf, QSizeF s, int item)
    {
        const double x = nextX(shelf);
        SheetFrame f;
        f.Rect = QRectF(Usable.left() + x, Usable.top() + shelf.Top, s.width(), s.height());
        f.Sheet = shelf.Sheet;
        f.Item = item;
        const QSizeF asked = Items[std::size_t(item)].Size;
        f.Turned = asked.width() != asked.height() && std::abs(s.width() - asked.width()) > Slack;
        shelf.Used = x + s.width();
        Layout.Frames.push_back(f);
    }

    const std::vector<SheetItem> &Items;
    QRectF Usable;
    double Gap;
    SheetLayout &Layout;
    std::vector<Shelf> Shelves;
    std::vector<double> SheetBottom; // where the next shelf of each sheet starts
};
} // namespace

SheetLayout PackSheets(const SheetArea &sheet, const SheetSpacing &spacing, const std::vector<SheetItem> &items)
{
    SheetLayout layout;
    const QRectF usable = UsableArea(sheet, spacing);
    std::vector<Want> wants;
    layout.Error = CollectWants(items, usable, wants);
    if (!layout.Error.isEmpty())
        return layout;
    ShelfPacker packer(items, usable, std::max(0.0, spacing.Gap), layout);
    for (const Want &want : wants)
        packer.add(want);
    layout.Sheets = packer.sheets();
    bleed(layout, sheet, spacing);
    return layout;
}
