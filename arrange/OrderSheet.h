#pragma once
// Order sheets: every line of an order list packed onto the fewest sheets
// (arrange/OrderPacking) and put into the arrangement as one undo step, the
// list kept with it. Used by the order sheet maker and the command line.
#include "arrange/OrderPacking.h"
#include "document/ArrangementDocument.h"
#include "document/OrderList.h"

#include <QSize>
#include <QStringList>

#include <vector>

// The packing's items: one per line, its size turned like its picture
// (pictureSizes[i], pixels; empty: as listed) unless an ID size. Lines of the
// same order name share an order number.
[[nodiscard]] std::vector<OrderPackItem> OrderPackItems(const OrderList &lines, const std::vector<QSize> &pictureSizes);

// The frames of a packing for the arrangement: lines[f.Item] is what frame f
// serves and linePictures[f.Item] the collection entry it shows; each fills
// its frame. The copies of one picture at one size are linked to share one
// view, and each order's first frame on a sheet gets a label below it in the
// gap (gapMm; none when the gap is too narrow for legible text). Keeps `lines`.
[[nodiscard]] SheetPlan OrderSheetPlan(const SheetLayout &layout, const OrderList &lines,
                                       const std::vector<int> &linePictures, double gapMm);

struct OrderPlacement {
    SheetPlaced Placed;
    int Sheets = 0;
    int LowerBound = 0;
    // Pictures that could not be read ("path: reason"); their lines were left out.
    QStringList Unread;
    QString Error; // for the user; nothing was placed then
};

// Puts the order list into the arrangement: pictures not in the collection
// are read and added, every line packed on `sheet` with `spacing`, and the
// frames placed from the first free page on, with the list, as one step.
OrderPlacement PlaceOrders(ArrangementDocument &doc, const OrderList &lines, const SheetArea &sheet,
                           const SheetSpacing &spacing, const PageGeometry &paper, const QString &undoText,
                           QualityFailures *failures);
