#pragma once
// Packing the prints of many orders onto the fewest sheets. Quick
// maximal-rectangles packings (several frame orders and placement rules) are
// tried first; unless one reaches the lower bound, sheets are then filled one
// by one with the single-sheet pattern that packs the most value of what is
// left, over rounds that correct each size's value, and then chosen together
// by column generation over a covering programme of patterns. The fewest
// sheets win; among equals, the packing that splits the fewest orders, whose
// frames are then swapped between sheets to gather the orders further.
// Millimetres, as SheetLayout.
#include "arrange/SheetLayout.h"

#include <vector>

// One line of an order: Copies frames of Size for order Order.
struct OrderPackItem {
    QSizeF Size; // mm, as the frame is asked (already matched to the picture)
    int Copies = 1;
    bool Upright = false; // an ID photo: never turned
    int Order = 0;        // frames of one order are kept on as few sheets as costs nothing
};

// The fewest sheets any packing could need: the frames' area, each grown by
// the gap, over the usable area grown by the gap, rounded up. 0 for nothing.
[[nodiscard]] int OrderAreaLowerBound(const SheetArea &sheet, const SheetSpacing &spacing,
                                      const std::vector<OrderPackItem> &items);

// A tighter bound, never below the area bound: each frame's share of a sheet
// is measured by dual-feasible functions of its width and height (a frame
// wider than half the room, say, counts as the whole width when nothing else
// fits beside it), taken the way the frame may lie that counts least.
[[nodiscard]] int OrderLowerBound(const SheetArea &sheet, const SheetSpacing &spacing,
                                  const std::vector<OrderPackItem> &items);

// SheetFrame::Item is the index into items. Refused (Error) when a size is
// empty or does not fit the usable area in any allowed orientation, or when
// more than MaxSheetFrames frames are asked.
[[nodiscard]] SheetLayout PackOrders(const SheetArea &sheet, const SheetSpacing &spacing,
                                     const std::vector<OrderPackItem> &items);

// How many extra sheets the orders are spread over: for each order, the
// sheets it appears on less one, summed.
[[nodiscard]] int OrderSplits(const SheetLayout &layout, const std::vector<OrderPackItem> &items);
