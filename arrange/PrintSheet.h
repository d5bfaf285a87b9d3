#pragma once
// Puts a sheet layout into the arrangement: each frame an ordinary placement
// that fills its frame, on the current page and the pages after it, as one
// undo step. A frame turned against its picture shows a turned copy of the
// picture, added to the collection once per picture.
#include "arrange/SheetLayout.h"
#include "document/ArrangementDocument.h"

#include <QMarginsF>
#include <QSize>
#include <QSizeF>

class QPrinter;
class TPrinter;

// The print size turned to the picture's orientation: a landscape picture gets
// the landscape frame. Squares and square pictures keep the size as given; an
// ID size is always upright, as defined.
[[nodiscard]] QSizeF SizeLikePicture(QSizeF sizeMm, QSize picture);

// The frames of a layout for the arrangement: itemPictures[f.Item] is the
// collection index each frame shows; each fills its frame (a print is cut to
// its trim line) and starts on the current page.
[[nodiscard]] SheetPlan PrintSheetPlan(const SheetLayout &layout, const std::vector<int> &itemPictures);

struct SheetPlacement {
    int Placed = 0;
    int LastPage = 0;
    QString Error; // for the user; nothing changed then
};
// Places layout's frames on the first pages from the current one on that hold
// no frames (f.Sheet counted from there), which then shows; the page count grows
// as needed. Refused when a frame names no picture or the pages would run out.
SheetPlacement PlaceSheetLayout(ArrangementDocument &doc, const SheetLayout &layout,
                                const std::vector<int> &itemPictures, const QString &undoText,
                                const PageGeometry &paper, QualityFailures *failures);

// Whether a printer's paper size is one it prints without borders: a media
// name or key marked borderless or full bleed (".Borderless", ".FB", "FB"
// after the size), or a paper without hardware margins (the least margins
// the printer reports, not the ones set).
[[nodiscard]] bool IsBorderlessPaper(const QString &name, const QMarginsF &hardwareMarginsMm);

// The sheet the printer prints on: its paper and printable area (mm) and
// whether it is borderless, taken as the whole printable area of `paper`
// (not borderless) when the printer reports none that agrees with it.
[[nodiscard]] SheetArea PrinterSheet(QPrinter *printer, const PageGeometry &paper);

// Prints a borderless layout: gives the printer the least margins its paper
// allows and moves the frames, laid out on `sheet`, to the printable area that
// leaves, so they stay where they were on the paper.
void UseBorderlessPaper(TPrinter &printer, const SheetArea &sheet, SheetLayout &layout);
