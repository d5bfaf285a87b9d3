#include "arrange/ContactSheet.h"

#include "document/Collection.h"
#include "document/Paths.h"
#include "document/PictureStore.h"
#include "picture/DecodeBatch.h"
#include "picture/ExifDate.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>

namespace {
struct ContactSheetText {
    Q_DECLARE_TR_FUNCTIONS(ContactSheetText)
};

double lineMm(double points) { return SheetLineInches(points) * MmPerInch; }

int headerLineCount(const ContactSheetSettings &s)
{
    const int first = (s.HeaderTitle || s.HeaderPages) ? 1 : 0;
    const int second = (s.HeaderFolder || s.HeaderDates) ? 1 : 0;
    return first + second;
}

int captionLineCount(const ContactSheetSettings &s)
{
    return int(s.ShowName) + int(s.ShowDate) + int(s.ShowSize);
}

QString dateText(const QDateTime &t) { return t.toString(QStringLiteral("yyyy-MM-dd HH:mm")); }
} // namespace

QRectF ContactGrid::cell(int index) const
{
    const int column = Columns > 0 ? index % Columns : 0;
    const int row = Columns > 0 ? index / Columns : 0;
    return QRectF(Origin.x() + column * (Cell.width() + Gap), Origin.y() + row * (Cell.height() + Gap), Cell.width(),
                  Cell.height());
}

QRectF ContactGrid::pictureBox(int index) const
{
    const QRectF c = cell(index);
    return QRectF(c.left(), c.top(), c.width(), std::max(0.0, c.height() - CaptionMm));
}

ContactGrid ContactLayout(const ContactSheetSettings &s, const SheetArea &sheet)
{
    ContactGrid g;
    QRectF area = UsableArea(sheet, s.Spacing);
    if (area.isEmpty())
        return g;
    if (const int lines = headerLineCount(s)) {
        const double h = lines * lineMm(s.HeaderPoints);
        g.Header = QRectF(area.left(), area.top(), area.width(), h);
        area.setTop(area.top() + h + s.Spacing.Gap);
    }
    g.Gap = s.Spacing.Gap;
    g.CaptionMm = captionLineCount(s) * lineMm(s.CaptionPoints);
    if (s.ByCellSize) {
        if (!(s.CellMm.width() > 0) || !(s.CellMm.height() > 0))
            return {};
        g.Cell = s.CellMm;
        // n cells take n widths and n - 1 gaps.
        g.Columns = int(std::floor((area.width() + g.Gap) / (g.Cell.width() + g.Gap) + 1e-9));
        g.Rows = int(std::floor((area.height() + g.Gap) / (g.Cell.height() + g.Gap) + 1e-9));
    } else {
        g.Columns = std::max(0, s.Columns);
        g.Rows = std::max(0, s.Rows);
        if (g.Columns > 0 && g.Rows > 0)
            g.Cell = QSizeF((area.width() - (g.Columns - 1) * g.Gap) / g.Columns,
                            (area.height() - (g.Rows - 1) * g.Gap) / g.Rows);
    }
    // A cell must leave room for a picture above its caption band.
    if (g.Columns <= 0 || g.Rows <= 0 || !(g.Cell.width() >= 1) || !(g.Cell.height() - g.CaptionMm >= 1))
        return {};
    // The grid centred across the area, from its top.
    const double used = g.Columns * g.Cell.width() + (g.Columns - 1) * g.Gap;
    g.Origin = QPointF(area.left() + (area.width() - used) / 2, area.top());
    if (!g.Header.isEmpty())
        g.Header = QRectF(g.Origin.x(), g.Header.top(), used, g.Header.height());
    return g;
}

int ContactPageCount(int pictures, const ContactGrid &grid)
{
    const int n = grid.perPage();
    return n > 0 && pictures > 0 ? (pictures + n - 1) / n : 0;
}

QRectF FitInside(QSize picture, const QRectF &box)
{
    if (picture.isEmpty() || box.isEmpty())
        return {};
    const double k = std::min(box.width() / picture.width(), box.height() / picture.height());
    const QSizeF size(picture.width() * k, picture.height() * k);
    return QRectF(box.center() - QPointF(size.width() / 2, size.height() / 2), size);
}

QStringList ContactCaption(const ContactFacts &f, const ContactSheetSettings &s)
{
    QStringList lines;
    if (s.ShowName)
        lines << FileNamePart(f.Path);
    if (!f.Failure.isEmpty()) {
        // Always said, in place of the date and size the file could not give.
        if (s.ShowDate || s.ShowSize)
            lines << f.Failure;
        if (s.ShowDate && s.ShowSize)
            lines << QString();
        return lines;
    }
    if (s.ShowDate)
        lines << (f.Taken.isValid() ? dateText(f.Taken) : QString());
    if (s.ShowSize)
        lines << ContactSheetText::tr("%1 x %2 pixels").arg(f.Pixels.width()).arg(f.Pixels.height());
    return lines;
}

std::vector<int> ContactOrder(const std::vector<ContactFacts> &facts, ContactSheetSettings::Order order)
{
    std::vector<int> result(facts.size());
    std::iota(result.begin(), result.end(), 0);
    if (order == ContactSheetSettings::Order::Name) {
        std::stable_sort(result.begin(), result.end(), [&](int a, int b) {
            return ComparePathBytes(FileNamePart(facts[std::size_t(a)].Path), FileNamePart(facts[std::size_t(b)].Path)) < 0;
        });
    } else if (order == ContactSheetSettings::Order::DateTaken) {
        // Pictures without a date go last, in the collection's order.
        std::stable_sort(result.begin(), result.end(), [&](int a, int b) {
            const QDateTime &x = facts[std::size_t(a)].Taken, &y = facts[std::size_t(b)].Taken;
            if (x.isValid() != y.isValid())
                return x.isValid();
            return x.isValid() && x < y;
        });
    }
    return result;
}

QStringList ContactHeader(const std::vector<ContactFacts> &facts, const ContactSheetSettings &s, int page, int pages)
{
    QStringList first, second;
    if (s.HeaderTitle && !s.Title.trimmed().isEmpty())
        first << s.Title.trimmed();
    if (s.HeaderPages)
        first << ContactSheetText::tr("page %1 of %2").arg(page).arg(pages);
    if (s.HeaderFolder) {
        QString folder;
        bool one = true;
        for (const ContactFacts &f : facts) {
            const QString here = QFileInfo(f.Path).absolutePath();
            if (folder.isNull())
                folder = here;
            else if (here != folder)
                one = false;
        }
        if (!folder.isNull())
            second << (one ? QDir::toNativeSeparators(folder) : ContactSheetText::tr("several folders"));
    }
    if (s.HeaderDates) {
        // Dates taken and files' own dates (often the day they were copied)
        // are named apart, so a range never runs from one to the other.
        for (const bool fileDates : { false, true }) {
            QDateTime from, to;
            for (const ContactFacts& f : facts) {
                if (!f.Taken.isValid() || f.FileDate != fileDates)
                    continue;
                if (!from.isValid() || f.Taken < from)
                    from = f.Taken;
                if (!to.isValid() || f.Taken > to)
                    to = f.Taken;
            }
            if (!from.isValid())
                continue;
            const QString a = from.toString(QStringLiteral("yyyy-MM-dd")), b = to.toString(QStringLiteral("yyyy-MM-dd"));
            const QString range = a == b ? a : ContactSheetText::tr("%1 to %2").arg(a, b);
            second << (fileDates ? ContactSheetText::tr("file dates %1").arg(range) : range);
        }
    }
    QStringList lines;
    if (!first.isEmpty())
        lines << first.join(QStringLiteral(" \u2014 "));
    if (!second.isEmpty())
        lines << second.join(QStringLiteral(", "));
    return lines;
}

std::vector<ContactFacts> CollectionFacts(const TArrangement &records, const std::vector<int> &indices)
{
    std::vector<ContactFacts> facts;
    facts.reserve(indices.size());
    for (int i : indices) {
        const PictureEntry &entry = records.Pictures[std::size_t(i)];
        ContactFacts f = ContactFactsOf(entry.FileName);
        f.Pixels = FullSize(entry);
        facts.push_back(std::move(f));
    }
    return facts;
}

ContactFacts ContactFactsOf(const QString& path)
{
    ContactFacts facts { path, ExifDateTaken(path), {}, {} };
    if (!facts.Taken.isValid()) {
        facts.Taken = QFileInfo(path).lastModified();
        facts.FileDate = facts.Taken.isValid();
    }
    return facts;
}

SheetPlan ContactSheetPlan(const ContactSheetSettings &settings, const ContactGrid &grid, const TArrangement &records,
                           const std::vector<int> &pictures, const std::vector<ContactFacts> &facts)
{
    SheetPlan plan;
    plan.FreshPage = true;
    plan.ShowFirstPage = true;
    plan.Enlarge = false; // cells are small prints to choose from
    if (grid.perPage() == 0 || pictures.empty() || pictures.size() != facts.size())
        return plan;
    const std::vector<int> order = ContactOrder(facts, settings.SortBy);
    for (std::size_t k = 0; k < order.size(); ++k) {
        const int n = int(k);
        const int i = order[k];
        const int index = pictures[std::size_t(i)];
        SheetPlanFrame frame;
        frame.Picture = index >= 0 && index < records.PictureCount() ? index : -1;
        frame.Sheet = n / grid.perPage();
        frame.Cut = false;
        if (frame.Picture >= 0) {
            const QRectF box = grid.pictureBox(n % grid.perPage());
            // Standing on the caption band, so each caption sits right under its picture.
            QRectF r = FitInside(FullSize(records.Pictures[std::size_t(index)]), box);
            r.moveBottom(box.bottom());
            if (r.isEmpty())
                continue;
            frame.Left = r.left() / MmPerInch;
            frame.Top = r.top() / MmPerInch;
            frame.Width = r.width() / MmPerInch;
            frame.Height = r.height() / MmPerInch;
            frame.Caption = SheetText{ContactCaption(facts[std::size_t(i)], settings), settings.CaptionPoints,
                                      (box.left() - r.left()) / MmPerInch, (box.bottom() - r.top()) / MmPerInch,
                                      box.width() / MmPerInch};
        }
        plan.Frames.push_back(frame);
    }
    const int pages = ContactPageCount(int(pictures.size()), grid);
    if (!grid.Header.isEmpty())
        for (int page = 0; page < pages; ++page)
            plan.Headers[page] = SheetText{ContactHeader(facts, settings, page + 1, pages), settings.HeaderPoints,
                                           grid.Header.left() / MmPerInch, grid.Header.top() / MmPerInch,
                                           grid.Header.width() / MmPerInch};
    return plan;
}

ContactPlacement PlaceContactSheet(ArrangementDocument &doc, const ContactSheetSettings &settings,
                                   const SheetArea &sheet, const std::vector<int> &pictures,
                                   const std::vector<ContactFacts> &facts, const QString &undoText)
{
    ContactPlacement result;
    const ContactGrid grid = ContactLayout(settings, sheet);
    if (grid.perPage() == 0) {
        result.Error = ContactSheetText::tr("Not one cell fits on the page with these settings. Nothing was placed.");
        return result;
    }
    const SheetPlan plan = ContactSheetPlan(settings, grid, doc.records(), pictures, facts);
    const SheetPlaced placed = doc.placeSheet(plan, undoText, PageGeometry{}, nullptr);
    if (placed.Refused == SheetRefusal::NoPicture)
        result.Error = ContactSheetText::tr("A cell has no picture. Nothing was placed.");
    else if (placed.Refused == SheetRefusal::TooManyPages)
        result.Error = ContactSheetText::tr("These cells need more than %1 pages. Nothing was placed.")
                           .arg(ArrangementDocument::MaxPages);
    else
        result = ContactPlacement{placed.Placed, placed.FirstPage, placed.LastPage, {}};
    return result;
}

DIB FailedCellPicture()
{
    DIB dib;
    constexpr int W = 64, H = 48;
    if (!newdib(&dib, W, H, 24, nullptr, 0))
        return dib;
    std::fill_n(static_cast<std::uint8_t *>(dib.Bits), std::size_t(dib.RowBytes) * H, std::uint8_t(0xC0));
    return dib;
}

QSize ContactCellBox(const ContactGrid &grid)
{
    const QRectF box = grid.pictureBox(0);
    return QSize(std::max(1, int(std::ceil(box.width() / MmPerInch * SheetCellDpi))),
                 std::max(1, int(std::ceil(box.height() / MmPerInch * SheetCellDpi))));
}

ContactFiles ReadContactFiles(const QStringList &paths, QSize box, const std::atomic<bool> *cancel,
                              const std::function<void(int, int)> &progress)
{
    ContactFiles files;
    DecodeBatch batch(paths, box);
    const int total = int(paths.size());
    files.Pictures.reserve(std::size_t(total));
    files.Facts.reserve(std::size_t(total));
    for (const QString &path : paths) {
        if (cancel && cancel->load()) {
            batch.Stop();
            files.Cancelled = true;
            break;
        }
        DecodedPicture picture = batch.TakeNextPicture();
        ContactFacts facts = ContactFactsOf(path);
        if (!picture.Dib.Bits) {
            facts.Failure = DibErrorText(picture.Dib);
            if (facts.Failure.isEmpty())
                facts.Failure = ContactSheetText::tr("cannot be read");
        } else if (picture.Reduced) {
            // Halved while twice the box still fits in it: the cell needs no more.
            const DIB smaller = ShrinkToEdge(picture.Dib, std::max(box.width(), box.height()));
            if (smaller.Bits) {
                deldib(&picture.Dib);
                picture.Dib = smaller;
            }
        }
        files.Pictures.push_back(std::move(picture));
        files.Facts.push_back(std::move(facts));
        if (progress)
            progress(int(files.Pictures.size()), total);
    }
    return files;
}

std::vector<int> AddContactFiles(ArrangementDocument &doc, ContactFiles &files)
{
    // A file the collection holds keeps its entry (the first, as the user
    // sees it); its adjustments and caption then reach the cell too.
    std::map<QString, int> known;
    const auto& pictures = doc.records().Pictures;
    for (std::size_t i = pictures.size(); i-- > 0;)
        if (!pictures[i].Recipe.File.isEmpty()) // not a stand-in
            known[QFileInfo(pictures[i].FileName).absoluteFilePath()] = int(i);
    std::vector<int> added;
    for (std::size_t i = 0; i < files.Pictures.size(); ++i) {
        ContactFacts &facts = files.Facts[i];
        const auto entry = known.find(QFileInfo(facts.Path).absoluteFilePath());
        int index = -1;
        if (entry != known.end()) {
            index = entry->second;
            facts.Failure.clear();
            facts.Pixels = FullSize(doc.records().Pictures[std::size_t(index)]);
            added.push_back(index);
            continue;
        }
        if (files.Pictures[i].Dib.Bits)
            index = doc.addDecodedPicture(facts.Path, std::move(files.Pictures[i]));
        if (index < 0) {
            if (facts.Failure.isEmpty())
                facts.Failure = ContactSheetText::tr("cannot be read");
            index = doc.addStandInPicture(facts.Path, FailedCellPicture());
        } else {
            facts.Pixels = FullSize(doc.records().Pictures[std::size_t(index)]);
        }
        added.push_back(index);
    }
    files.Pictures.clear();
    return added;
}
