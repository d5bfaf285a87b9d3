#pragma once
// The frames a sheet maker (print sheets, contact sheets, ...) puts into the
// arrangement: laid out by the maker as plain values, placed by
// ArrangementDocument::placeSheet as one undo step.
#include "document/OrderList.h"
#include "document/SheetTexts.h"
#include "picture/Tonal.h"

#include <map>
#include <optional>
#include <vector>

struct SheetPlanFrame {
    int Picture = -1; // collection index
    // Shows the picture turned a quarter turn clockwise (the frame's turn).
    bool Turned = false;
    // Inches from the printable area's top-left corner.
    double Left = 0;
    double Top = 0;
    double Width = 0;
    double Height = 0;
    int Sheet = 0; // 0 = the plan's first page
    bool Cut = true; // fills its frame; false fits the picture in
    SheetText Caption; // a cell's lines below its frame; none for an ordinary frame
    // Shows the picture through this table: a copy carrying it as a tone
    // step, added to the collection once per picture and table (not turned).
    std::optional<ToneTable> Tone;
    // Frames of the same number above 0 share one view (see Placement::Link).
    int Link = 0;
    // Printed at this rendering intent (0..3) rather than the job's: a copy
    // as for a tone, made once per picture, table and intent; -1 for none.
    int Intent = -1;
};

struct SheetPlan {
    std::vector<SheetPlanFrame> Frames;
    std::map<int, SheetText> Headers; // by sheet, 0 = the first page
    std::multimap<int, SheetText> Labels; // likewise; see SheetTexts::Labels
    // Starts on the first pages from the current one on that hold no frames,
    // so the set does not land on frames already placed; else on the current page.
    bool FreshPage = false;
    bool ShowFirstPage = false; // the first page becomes the current one
    // Each picture enlarged to the minimum quality for its widest frame.
    bool Enlarge = true;
    // The order list the frames were made from, kept in the arrangement in the same step.
    std::optional<OrderList> Orders;

    // Pages the plan takes: its last sheet + 1; 0 when empty.
    [[nodiscard]] int sheets() const;
};

enum class SheetRefusal {
    None,
    NoPicture,    // a frame names no picture of the collection
    TooManyPages, // the pages would run past the last one an arrangement holds
};

struct SheetPlaced {
    int Placed = 0;
    int FirstPage = 0;
    int LastPage = 0; // of the frames placed
    SheetRefusal Refused = SheetRefusal::None; // nothing changed then
};
