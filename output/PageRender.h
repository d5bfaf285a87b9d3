#pragma once
// The one rule that lays a page's placements, pictures and captions, into
// device pixels. The arrange view, the print preview and the print job all draw
// through it; they differ only in the device and its resolution.
#include <QRect>
#include <QRectF>
#include <QSize>
#include <QString>

#include "document/Placement.h"
#include "output/PageScale.h"
#include "output/PrintSetup.h"

#include <functional>
#include <optional>

class TArrangement;
class TDC;
struct ArrangementOptions;
struct PictureEntry;

// Where a picture lands in its frame: the source rectangle (picture pixels,
// y counted from the bottom row as DrawDib takes it) and the drawn size, at the
// frame's top-left corner.
struct PlacementLayout {
    DeviceFrame Frame;
    QRect Source;
    QSize Dest;
    // Source before rounding to whole pixels, for devices that resample
    // themselves: a zoomed view lands exactly where it was chosen.
    QRectF Exact;
    // The frame's quarter turns: Source and Exact are rectangles of the
    // picture turned by them.
    int Turns = 0;
};
// The aspect rule: stretch when the aspect is not kept; otherwise fill the frame
// with a centred crop (cut) or fit inside it. A chosen view decides the source
// of a filled frame (cut or stretch): the part of the picture it shows, always
// inside the picture. Empty when nothing can be drawn: an empty frame or one
// reaching past the device coordinate range, a picture without pixels, or a
// size that comes out at 0.
[[nodiscard]] std::optional<PlacementLayout> LayoutPlacement(const DeviceFrame &frame, QSize picture,
                                                             bool keepAspect, bool cut, const FrameView &view = {});

// Caption font height for the device: minus the character height in pixels,
// or +1 when that truncates to 0. A negative size gives a positive height (a
// cell height). Heights are held to MaxCaptionPixels either way.
inline constexpr int MaxCaptionPixels = 0x7FFF;
[[nodiscard]] int CaptionFontHeight(int pointSize, const PageScale &scale);
// The caption's character height in device pixels before rounding (at least
// 1, at most MaxCaptionPixels): what the layout scales to on every device.
[[nodiscard]] double CaptionPixels(int pointSize, const PageScale &scale);
// The caption of a picture: its comment, else (when asked) the bare file name.
[[nodiscard]] QString CaptionText(const PictureEntry &entry, bool showFileNames);
// The caption a placement shows: the picture's comment, else the template
// for every frame, with their tokens expanded; else (when asked) the bare file name.
[[nodiscard]] QString ShownCaption(const TArrangement &doc, const Placement &p, const PictureEntry &entry,
                                   const ArrangementOptions &options, const PageStamp &stamp);

// Draws a placement's picture where the layout puts it, through the views'
// soft proof when one is given.
using PictureDrawFn = std::function<void(TDC &dc, const TArrangement &doc, const Placement &p,
                                         const PictureEntry &entry, const PlacementLayout &layout,
                                         const SoftProofFn &recolour)>;

// Where a render takes its pictures from: the arrangement's own pictures
// drawn by DrawDib, `want` deciding which pixels (the screen copies while
// they are sharp enough for the views, or the full pictures), or pictures
// made for the device that prints or exports.
struct PictureSupply {
    PictureSupply()
        : PictureSupply(PictureWant::Sharp)
    {
    }
    explicit PictureSupply(PictureWant want);
    explicit PictureSupply(PictureDrawFn draw)
        : Draw(std::move(draw))
    {
    }
    PictureDrawFn Draw;
    // The views' soft proof (unset: the pixels as they are).
    SoftProofFn Recolour;
};

struct SheetText;
// Draws a contact sheet's lines into box (device pixels), one line per equal
// share of its height, each cut with an ellipsis to the box's width; nothing
// is drawn outside the box.
void DrawSheetText(TDC &dc, const SheetText &text, const QRectF &box, const PageScale &scale,
                   const ArrangementOptions &options, bool bold);
// Draws a page's contact sheet header, if it has one, and its labels.
void RenderSheetHeader(TDC &dc, const TArrangement &doc, double page, const PageScale &scale,
                       const ArrangementOptions &options);
// Where a cell's caption lines go: their box placed from the frame's corner.
[[nodiscard]] QRectF SheetCellTextBox(const Placement &p, const SheetText &text, const PageScale &scale);

// The layout of a placement's picture on a device, as RenderPlacement draws
// it; empty when nothing is drawn.
[[nodiscard]] std::optional<PlacementLayout> LayoutOnDevice(const TArrangement &doc, const Placement &p,
                                                            const PageScale &scale, const ArrangementOptions &options);

// Draws one placement's picture and caption. A placement whose picture is
// missing or has no pixels, or whose frame is empty, is skipped.
void RenderPlacement(TDC &dc, const TArrangement &doc, const Placement &p, const PageScale &scale,
                     const ArrangementOptions &options, const PictureSupply &supply = {},
                     const PageStamp &stamp = {});
// Draws the page's header at the top and its footer at the bottom of the
// printable area (`area`, device pixels), each line cut with an ellipsis to its width.
void RenderPageTexts(TDC &dc, const TArrangement &doc, int page, QSize area, const PageScale &scale,
                     const ArrangementOptions &options, const PageStamp &stamp);
// Draws every placement of a page in array order (later ones on top), the
// set-up's soft proof applied to the pictures. The background is the caller's;
// cut marks follow, in the set-up's style, when the arrangement has them.
void RenderPage(TDC &dc, const TArrangement &doc, double page, const PageScale &scale,
                const ArrangementOptions &options, const PrintSetup &setup, const PictureSupply &supply = {});
