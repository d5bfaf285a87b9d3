#pragma once
// Laying print frames out on sheets of paper for cutting: one size repeated
// (a grid, turned when more fit that way) and mixed sizes (greedy shelf
// packing). Millimetres throughout; frames are measured from the printable
// area's top-left corner, as placements are.
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <vector>

// The paper and where its printable area lies on it, millimetres.
struct SheetArea {
    QSizeF Paper;
    QRectF Printable; // on the paper
    bool Borderless = false; // the paper may be printed up to its edges
};
// A sheet whose printable area is the whole paper of width x height mm.
[[nodiscard]] SheetArea WholeSheet(double width, double height);

// Margin from the paper's edge and gap between frames for cutting, mm.
struct SheetSpacing {
    double Margin = 5;
    double Gap = 3;
    // Frames may reach the paper's edge (on a sheet that allows it), and those
    // that do are drawn Overspill mm beyond it, so no white edge is left.
    bool Borderless = false;
    double Overspill = 0;
};

// Where frames may go: the paper less its margin, within the printable area
// unless borderless on a borderless sheet, in printable-area coordinates.
// Empty when nothing is left.
[[nodiscard]] QRectF UsableArea(const SheetArea &sheet, const SheetSpacing &spacing);

// One frame on a sheet. Turned: width and height swapped against the size as
// asked. Item: which request it serves (mixed sheets).
struct SheetFrame {
    QRectF Rect; // mm, printable-area coordinates
    int Sheet = 0; // 0 = the first sheet filled
    bool Turned = false;
    int Item = 0;
};

// A grid of one frame size: columns, rows and whether the frames are turned.
struct FillGrid {
    int Cols = 0;
    int Rows = 0;
    bool Turned = false;
    [[nodiscard]] int perSheet() const { return Cols * Rows; }
};
// The orientation that fits more frames of `frame` mm into `usable` mm with
// `gap` mm between them; unturned on a tie. Empty grid when none fits.
[[nodiscard]] FillGrid BestFillGrid(QSizeF usable, QSizeF frame, double gap);

struct SheetLayout {
    std::vector<SheetFrame> Frames;
    int Sheets = 0;
    QString Error; // for the user; nothing is laid out then
};

// count frames of `frame` mm (count <= 0: as many as fit on one sheet), the
// grid centred in the usable area, filling further sheets when more are asked
// than one holds. Refused (Error) when the frame does not fit the sheet, or
// when as many as fit would be more than MaxSheetFrames.
// An upright frame (an ID photo's) is never turned to fit more.
inline constexpr int MaxSheetFrames = 10000;
[[nodiscard]] SheetLayout FillSheets(
    const SheetArea& sheet, const SheetSpacing& spacing, QSizeF frame, int count, bool upright = false);

// Mixed sheets: `copies` frames of each size, packed into shelves (first fit,
// tallest first, each frame turned where that fits a shelf), on as few sheets
// as that needs.
struct SheetItem {
    QSizeF Size; // mm, as asked
    int Copies = 1;
    bool Upright = false; // an ID photo: placed as asked, never turned
};
[[nodiscard]] SheetLayout PackSheets(const SheetArea &sheet, const SheetSpacing &spacing,
                                     const std::vector<SheetItem> &items);
