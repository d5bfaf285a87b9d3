#include "arrange/PrintSheet.h"

#include "document/PictureStore.h"
#include "platform/Printer.h"

#include <QCoreApplication>
#include <QPageLayout>
#include <QPrinter>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <map>

namespace {
QString tr(const char *text) { return QCoreApplication::translate("PrintSheet", text); }
} // namespace

QSizeF SizeLikePicture(QSizeF sizeMm, QSize picture)
{
    const bool pictureWide = picture.width() > picture.height();
    const bool pictureTall = picture.height() > picture.width();
    if ((pictureWide && sizeMm.height() > sizeMm.width()) || (pictureTall && sizeMm.width() > sizeMm.height()))
        return sizeMm.transposed();
    return sizeMm;
}

SheetPlacement PlaceSheetLayout(ArrangementDocument &doc, const SheetLayout &layout,
                                const std::vector<int> &itemPictures, const QString &undoText,
                                const PageGeometry &paper, QualityFailures *failures)
{
    SheetPlacement result;
    TArrangement &records = doc.records();
    for (const SheetFrame &f : layout.Frames) {
        const int item = f.Item;
        if (item < 0 || item >= int(itemPictures.size()) || itemPictures[std::size_t(item)] < 0
            || itemPictures[std::size_t(item)] >= records.PictureCount()) {
            result.Error = tr("A frame has no picture. Nothing was placed.");
            return result;
        }
    }
    const int firstPage = doc.currentPage();
    if (!layout.Frames.empty() && firstPage + layout.Frames.back().Sheet > ArrangementDocument::MaxPages) {
        result.Error = tr("These frames need more than %1 pages. Nothing was placed.").arg(ArrangementDocument::MaxPages);
        return result;
    }
    if (layout.Frames.empty())
        return result;

    const ArrangementDocument::Step step = doc.step(undoText);
    // A turned frame shows its picture turned a quarter turn clockwise, made once per picture.
    std::map<int, int> turnedIds;
    auto turnedCopy = [&](int index) {
        const auto known = turnedIds.find(index);
        if (known != turnedIds.end())
            return known->second;
        PictureEntry copy = records.Pictures[std::size_t(index)];
        int id = copy.PictureId;
        if (TurnEntry(copy, false)) {
            copy.Rotation = (copy.Rotation + 1) % 4;
            copy.PictureId = id = records.NextPictureId++;
            records.Pictures.push_back(copy);
            doc.touch(ArrangementDocument::Change::Collection | ArrangementDocument::Change::Pictures);
        }
        turnedIds[index] = id;
        return id;
    };
    std::map<int, double> widest; // inches, by picture id
    for (const SheetFrame &f : layout.Frames) {
        const int index = itemPictures[std::size_t(f.Item)];
        const int id = f.Turned ? turnedCopy(index) : records.Pictures[std::size_t(index)].PictureId;
        Placement *p = records.Placements.Append();
        p->Left = f.Rect.left() / MmPerInch;
        p->Top = f.Rect.top() / MmPerInch;
        p->Width = f.Rect.width() / MmPerInch;
        p->Height = f.Rect.height() / MmPerInch;
        p->Page = firstPage + f.Sheet;
        p->PictureId = id;
        p->Cut = 1; // a print fills its frame to the trim line
        widest[id] = std::max(widest[id], p->Width);
        result.LastPage = std::max(result.LastPage, p->Page);
        ++result.Placed;
    }
    doc.touch(ArrangementDocument::Change::Placements);
    if (result.LastPage > doc.pageCount())
        doc.setPageCount(result.LastPage);
    for (const auto &[id, width] : widest)
        if (PictureEntry *entry = records.pictureById(id))
            doc.enlargeForFrame(*entry, width, paper, failures);
    return result;
}

bool IsBorderlessPaper(const QString &name, const QMarginsF &margins)
{
    constexpr double none = 0.01; // mm
    if (margins.left() < none && margins.top() < none && margins.right() < none && margins.bottom() < none)
        return true;
    static const QRegularExpression marked(QStringLiteral("(borderless|full ?bleed|fb)$"),
                                           QRegularExpression::CaseInsensitiveOption);
    return marked.match(name.trimmed()).hasMatch();
}

SheetArea PrinterSheet(QPrinter *printer, const PageGeometry &paper)
{
    const SheetArea whole = WholeSheet(paper.widthInches() * MmPerInch, paper.heightInches() * MmPerInch);
    if (!printer)
        return whole;
    // In millimetres, not points: A4 in whole points is 209.9 mm wide, and two
    // frames of half its width would no longer fit.
    QPageLayout layout = printer->pageLayout();
    layout.setUnits(QPageLayout::Millimeter);
    const QPageSize size = layout.pageSize();
    const QMarginsF least = layout.minimumMargins();
    const bool edgeless = IsBorderlessPaper(size.key(), least) || IsBorderlessPaper(size.name(), least);
    const SheetArea sheet{layout.fullRect(QPageLayout::Millimeter).size(), layout.paintRect(QPageLayout::Millimeter),
                          edgeless};
    // A printer whose page disagrees with the arrangement's (a fixed test page) is not asked.
    if (std::abs(sheet.Printable.width() - whole.Paper.width()) > 1
        || std::abs(sheet.Printable.height() - whole.Paper.height()) > 1)
        return whole;
    return sheet;
}

void UseBorderlessPaper(TPrinter &printer, const SheetArea &sheet, SheetLayout &layout)
{
    // A fixed test page has no margins to change.
    if (printer.hasFixedPage())
        return;
    printer.UseLeastMargins();
    const QPointF corner = printer.qprinter()->pageLayout().paintRect(QPageLayout::Millimeter).topLeft();
    const QPointF by = sheet.Printable.topLeft() - corner;
    for (SheetFrame &f : layout.Frames)
        f.Rect.translate(by);
}
