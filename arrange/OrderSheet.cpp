#include "arrange/OrderSheet.h"

#include "arrange/PrintSheet.h"

#include <QCoreApplication>
#include <QDir>

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

namespace {
struct OrderSheetText {
    Q_DECLARE_TR_FUNCTIONS(OrderSheetText)
};

QString Key(const QString &path) { return QDir::cleanPath(path); }

// Labels keep this far from the frame above them and the one below.
constexpr double LabelClearMm = 0.3;
constexpr double MaxLabelPoints = 6;
constexpr double MinLabelPoints = 3; // smaller than this, the gap holds no label
} // namespace

std::vector<OrderPackItem> OrderPackItems(const OrderList &lines, const std::vector<QSize> &pictureSizes)
{
    std::map<QString, int> orders;
    std::vector<OrderPackItem> items;
    items.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const OrderLine &l = lines[i];
        const QSizeF asked(l.WidthMm, l.HeightMm);
        const QSize picture = i < pictureSizes.size() ? pictureSizes[i] : QSize();
        const QSizeF size = l.Upright ? asked : SizeLikePicture(asked, picture);
        const int order = orders.emplace(l.Order, int(orders.size())).first->second;
        items.push_back({size, l.Copies, l.Upright, order});
    }
    return items;
}

SheetPlan OrderSheetPlan(const SheetLayout &layout, const OrderList &lines, const std::vector<int> &linePictures,
                         double gapMm)
{
    SheetPlan plan = PrintSheetPlan(layout, linePictures);
    plan.Orders = lines;
    // Copies of one picture at one size share one view, however many lines ask for them.
    std::map<std::tuple<int, bool, qint64, qint64>, int> links;
    for (SheetPlanFrame &f : plan.Frames) {
        const auto key = std::make_tuple(f.Picture, f.Turned, qRound64(f.Width * 1000), qRound64(f.Height * 1000));
        f.Link = links.emplace(key, int(links.size()) + 1).first->second;
    }
    // A label in the gap below each order's first frame on a sheet, as large
    // as the gap allows: the next frame down is at least a gap away.
    const double points = std::min(MaxLabelPoints, (gapMm - 2 * LabelClearMm) / MmPerInch * 72 / 1.3);
    if (points < MinLabelPoints)
        return plan;
    std::map<QString, std::vector<int>> sheetsOf; // the sheets of each order, in order
    for (const SheetFrame &f : layout.Frames) {
        std::vector<int> &sheets = sheetsOf[lines[std::size_t(f.Item)].Order];
        if (sheets.empty() || sheets.back() != f.Sheet)
            sheets.push_back(f.Sheet);
    }
    std::set<std::pair<QString, int>> labelled;
    for (std::size_t i = 0; i < layout.Frames.size(); ++i) {
        const SheetFrame &f = layout.Frames[i];
        const QString &order = lines[std::size_t(f.Item)].Order;
        if (!labelled.emplace(order, f.Sheet).second)
            continue;
        const std::vector<int> &sheets = sheetsOf[order];
        const auto n = std::find(sheets.begin(), sheets.end(), f.Sheet) - sheets.begin() + 1;
        const SheetPlanFrame &frame = plan.Frames[i];
        SheetText label;
        label.Lines = {OrderSheetText::tr("%1, sheet %2 of %3").arg(order).arg(n).arg(sheets.size())};
        label.Points = points;
        label.Left = frame.Left;
        label.Top = frame.Top + frame.Height + LabelClearMm / MmPerInch;
        label.Width = frame.Width;
        plan.Labels.emplace(f.Sheet, std::move(label));
    }
    return plan;
}

OrderPlacement PlaceOrders(ArrangementDocument &doc, const OrderList &lines, const SheetArea &sheet,
                           const SheetSpacing &spacing, const PageGeometry &paper, const QString &undoText,
                           QualityFailures *failures)
{
    OrderPlacement result;
    // The sizes are checked before anything is read: a list that cannot be
    // packed changes nothing.
    const SheetLayout check = PackOrders(sheet, spacing, [&] {
        std::vector<OrderPackItem> items = OrderPackItems(lines, {});
        for (OrderPackItem &item : items)
            item.Copies = std::min(item.Copies, 1);
        return items;
    }());
    if (!check.Error.isEmpty()) {
        result.Error = check.Error;
        return result;
    }

    const auto step = doc.step(undoText);
    std::map<QString, int> entries;
    const TArrangement &r = doc.records();
    for (int i = 0; i < r.PictureCount(); ++i)
        entries.emplace(Key(r.Pictures[std::size_t(i)].FileName), i);
    QStringList toRead;
    for (const OrderLine &l : lines)
        if (!entries.contains(Key(l.Picture)) && !toRead.contains(Key(l.Picture)))
            toRead << Key(l.Picture);
    if (!toRead.isEmpty()) {
        const ArrangementDocument::AddResult added = doc.addPictureFiles(toRead, undoText);
        for (qsizetype i = 0; i < added.Failed.size(); ++i)
            result.Unread << added.Failed[i] + QStringLiteral(": ") + added.Reasons.value(i);
        for (int index : added.Added)
            entries.emplace(Key(doc.records().Pictures[std::size_t(index)].FileName), index);
    }

    OrderList placed;
    std::vector<int> linePictures;
    std::vector<QSize> sizes;
    for (const OrderLine &l : lines) {
        const auto found = entries.find(Key(l.Picture));
        if (found == entries.end())
            continue;
        const PictureEntry &entry = doc.records().Pictures[std::size_t(found->second)];
        placed.push_back(l);
        linePictures.push_back(found->second);
        sizes.emplace_back(DibWidth(entry.Dib), DibHeight(entry.Dib));
    }
    const std::vector<OrderPackItem> items = OrderPackItems(placed, sizes);
    const SheetLayout layout = PackOrders(sheet, spacing, items);
    result.Sheets = layout.Sheets;
    result.LowerBound = OrderLowerBound(sheet, spacing, items);
    if (!layout.Error.isEmpty()) {
        result.Error = layout.Error;
        return result;
    }
    SheetPlan plan = OrderSheetPlan(layout, placed, linePictures, spacing.Gap);
    plan.Orders = lines; // those of unread pictures too: they print once found
    result.Placed = doc.placeSheet(plan, undoText, paper, failures);
    if (result.Placed.Refused == SheetRefusal::TooManyPages)
        result.Error = OrderSheetText::tr("These orders need more than %1 pages. Nothing was placed.")
                           .arg(ArrangementDocument::MaxPages);
    return result;
}
