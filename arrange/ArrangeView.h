#pragma once
// Painting of the "Arrange" tab's two drawings: the arrange view (the current
// page at the zoom, with grid dots, placements and the selection marks) and
// the picture strip (one thumbnail cell per picture). Both draw on any device
// context, so the same code serves the widgets, tests and benchmarks.
#include "document/Options.h"
#include "document/Placement.h"
#include "document/PictureStore.h"

#include <QPoint>
#include <QRect>
#include <QSize>

#include <array>
#include <functional>
#include <optional>

class TArrangement;
class TDC;

// What the arrange view shows besides the document, read from the window.
struct ArrangeViewState {
    int Page = 1;          // the current page
    int Zoom = 25;         // percent
    int ScreenDpi = 96;    // horizontal
    int PageWidth = 0;     // printable area, printer pixels
    int PageHeight = 0;
    int PrinterDpi = 0;    // horizontal, used for both axes
    bool ShowGrid = false;
    double GridMm = 5;
    bool Dragging = false; // the selection outline inverts and has no handles
    // While dragging: the selected placement as the drag found it. The picture
    // stays there and only the outline follows the stored (dragged) frame.
    std::optional<Placement> DraggedFrom;
    // While a picture is moved inside its frame: drawn from the screen copies.
    bool ScreenCopies = false;
    ArrangementOptions Options;
    // The soft proof: pictures drawn as the printer will render them.
    std::function<DrawPixels(const DrawPixels &pixels, QSize dest, double destPerMm, int intent)> Recolour;
};

// The eight handle points of a frame (view pixels), in the order the marks are
// drawn and the hit zones tested: corners TL, TR, BL, BR, then the middles of
// the top, bottom, left and right edges.
[[nodiscard]] std::array<QPoint, 8> SelectionHandlePoints(int x, int y, int w, int h);

// Whether a frame's marks lie within the coordinates a view can have (a widget's
// largest size either side of 0); stored values near the limits of a double give
// frames far outside, whose marks are not drawn.
[[nodiscard]] bool MarksDrawable(int x, int y, int w, int h);

// Selection marks of a frame: its outline, and unless dragging the eight 6x6
// handle squares. While dragging the outline is drawn in the not-xor pen mode,
// so drawing it twice restores the pixels beneath. Nothing for a frame whose
// marks are not drawable.
void DrawSelectionMarks(TDC &dc, int x, int y, int w, int h, bool dragging);

// Paints the page: white paper, grid dots, the placements of the page in array
// order and the selected one's marks. `clip` (view pixels) bounds the grid dots;
// everything else is drawn whole and clipped by the device.
void PaintArrangeView(TDC &dc, const TArrangement &doc, const ArrangeViewState &state, const QRect &clip);

// Picture strip layout. W is the strip's width; each picture has a W x W cell
// followed by a 2-pixel gap.
[[nodiscard]] inline int StripCellTop(int index, int stripWidth) { return index * (stripWidth + 2); }
// The strip's height for its cells, at least 1 pixel.
[[nodiscard]] int StripHeight(int stripWidth, int pictureCount);
// Whether cell i lies at least partly inside the visible rows [top, top + height).
[[nodiscard]] bool StripCellVisible(int cellTop, int stripWidth, int visibleTop, int visibleHeight);
// Where the thumbnail of a pw x ph picture lands in the cell at cellTop: fitted
// into a (W - 4) square and centred. Empty when nothing can be drawn.
[[nodiscard]] QRect StripThumbRect(int stripWidth, int cellTop, int pictureWidth, int pictureHeight);

// Paints the strip's visible cells: the selected cell blue, then each thumbnail
// scaled from the full picture.
void PaintPictureStrip(TDC &dc, const TArrangement &doc, int stripWidth, int visibleTop, int visibleHeight);
