#include "arrange/PrintSheet.h"

#include "arrange/PrintSizes.h"
#include "platform/Printer.h"

#include <QCoreApplication>
#include <QPageLayout>
#include <QPrinter>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace {
struct PrintSheetText {
    Q_DECLARE_TR_FUNCTIONS(PrintSheetText)
};
} // namespace

QSizeF SizeLikePicture(QSizeF sizeMm, QSize picture)
{
    // An ID photo is upright whatever the picture: it is cut to the frame.
    if (const PrintSize* id = MatchIdPhotoSize(sizeMm.width(), sizeMm.height()))
        return QSizeF(id->widthMm(), id->heightMm());
    const bool pictureWide = picture.width() > picture.height();
    const bool pictureTall = picture.height() > picture.width();
    if ((pictureWide && sizeMm.height() > sizeMm.width()) || (pictureTall && sizeMm.width() > sizeMm.height()))
        return sizeMm.transposed();
    return sizeMm;
}

SheetPlan PrintSheetPlan(const SheetLayout &layout, const std::vector<int> &itemPictures)
{
    SheetPlan plan;
    plan.Frames.reserve(layout.Frames.size());
    for (const SheetFrame &f : layout.Frames) {
        SheetPlanFrame frame;
        frame.Picture = f.Item >= 0 && f.Item < int(itemPictures.size()) ? itemPictures[std::size_t(f.Item)] : -1;
        frame.Turned = f.Turned;
        frame.Left = f.Rect.left() / MmPerInch;
        frame.Top = f.Rect.top() / MmPerInch;
        frame.Width = f.Rect.width() / MmPerInch;
        frame.Height = f.Rect.height() / MmPerInch;
        frame.Sheet = f.Sheet;
        plan.Frames.push_back(frame);
    }
    plan.FreshPage = true;
    plan.ShowFirstPage = true;
    return plan;
}

SheetPlacement PlaceSheetLayout(ArrangementDocument &doc, const SheetLayout &layout,
                                const std::vector<int> &itemPictures, const QString &undoText,
                                const PageGeometry &paper, QualityFailures *failures)
{
    const SheetPlaced placed = doc.placeSheet(PrintSheetPlan(layout, itemPictures), undoText, paper, failures);
    SheetPlacement result{placed.Placed, placed.LastPage, {}};
    if (placed.Refused == SheetRefusal::NoPicture)
        result.Error = PrintSheetText::tr("A frame has no picture. Nothing was placed.");
    else if (placed.Refused == SheetRefusal::TooManyPages)
        result.Error = PrintSheetText::tr("These frames need more than %1 pages. Nothing was placed.")
                           .arg(ArrangementDocument::MaxPages);
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
