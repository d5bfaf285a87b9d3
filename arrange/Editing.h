#pragma once
// The rules of editing placements with the mouse, as pure functions of view
// pixels: hit testing, the handle zones and their drag modes, the arithmetic
// of moving and resizing (with flipping and clamping), storing a dragged frame
// back in inches, and the picture strip's cell hit test.
#include "document/Placement.h"
#include "document/TDynaArray.h"

#include <QSize>
#include <QString>

class QLocale;

// A placement's frame in arrange-view pixels, each value ToView of the stored one.
struct ViewFrame {
    int L = 0;
    int T = 0;
    int W = 0;
    int H = 0;
    friend bool operator==(const ViewFrame &, const ViewFrame &) = default;
};

[[nodiscard]] ViewFrame PlacementViewFrame(const Placement &p, int zoom, int screenDpi);

// The topmost placement of `page` whose frame holds (X, Y), counting the
// frame's last pixel as w - 1 and h - 1; -1 for none.
[[nodiscard]] int HitTestPlacement(const TDynaArray<Placement> &placements, int page, int X, int Y, int zoom,
                                   int screenDpi);

// Drag modes: 1..4 corners TL, TR, BL, BR; 5, 6 top and bottom middle; 7, 8
// left and right middle; 9 move; 0 none.
inline constexpr int DragMove = 9;

// Where a press at (X, Y) grabs a frame: the mode of the first zone holding it
// (7x7 squares around the handles, then the inside, edges included) and the
// offset between the press and the grabbed edges. Mode 0 with zero offsets
// outside every zone.
struct DragGrip {
    int Mode = 0;
    int GrabDX = 0;
    int GrabDY = 0;
    friend bool operator==(const DragGrip &, const DragGrip &) = default;
};
[[nodiscard]] DragGrip DragGripAt(const ViewFrame &frame, int X, int Y);

// The screen cursor index shown for a drag mode: the mode itself, or the arrow (10).
[[nodiscard]] inline int CursorForDragMode(int mode) { return mode >= 1 && mode <= DragMove ? mode : 10; }

// One step of a drag: the grabbed edges follow (mx, my), the mouse position
// less the grab offset. A size dragged below zero flips the frame, and the mode
// continues from the opposite edge. The frame is then kept so that its last
// pixel column and row are not left of or above 0, and its left and top edges
// not beyond the view's last column and row.
struct DragStep {
    ViewFrame Frame;
    int Mode = 0;
};
[[nodiscard]] DragStep DragFrame(const ViewFrame &frame, int mode, int mx, int my, QSize view);

// Writes a dragged view frame back into the placement in inches, each value
// snapped to the grid when useGrid is set. A move (mode 9) keeps the stored
// width and height exactly.
void StoreDraggedFrame(Placement &p, const ViewFrame &frame, int mode, int zoom, int screenDpi, bool useGrid,
                       double gridMm);

// The strip cell holding strip height Y for a strip `stripWidth` wide, or -1
// when Y lies on a gap between cells or past the last picture.
[[nodiscard]] int StripIndexAt(int Y, int stripWidth, int pictureCount);

// The status bar's size info of a placement: "( x: ...inch; y: ...inch ) ( Width: ...inch; Height: ...inch ) ",
// each value with two decimals and the locale's decimal separator, never grouped.
[[nodiscard]] QString SizeInfoText(const Placement &p, const QLocale &locale);

// The type of the picture strip's drags; the arrange view takes no other drag
// from inside the program.
[[nodiscard]] QString StripMimeType();
