#pragma once
// The arithmetic of a frame's view: which part of the picture a frame of some
// proportions shows at a chosen centre and zoom, held so that the frame never
// shows area outside the picture. Pure functions of sizes in pixels.
#include "document/Placement.h"

#include <QRect>
#include <QRectF>
#include <QSize>
#include <QSizeF>

inline constexpr double MaxViewZoom = 20;

// A turned frame's picture as the frame shows it: width and height swapped
// for an odd number of quarter turns.
[[nodiscard]] QSize TurnedSize(QSize picture, int turns);
// A rectangle of the turned picture back in the picture as stored (`picture`
// is its stored size); rows counted from the bottom either way.
[[nodiscard]] QRectF UnturnedRect(const QRectF &turned, QSizeF picture, int turns);
[[nodiscard]] QRect UnturnedRect(const QRect &turned, QSize picture, int turns);
// The frame's side along which the picture's width runs: its height when
// turned an odd number of quarters.
[[nodiscard]] double FrameSideAlongWidth(const Placement &p);

// The view a frame starts from when the user first moves its picture.
[[nodiscard]] inline FrameView CentredView() { return FrameView{0.5, 0.5, 1}; }

// A view made valid: a centre outside 0..1 to the nearest value in it (NaN to
// 0.5), the zoom to 1..MaxViewZoom (NaN to 1).
[[nodiscard]] FrameView HeldView(const FrameView &view);

// The part of a picture (pixels, y down from the top row) that a frame with
// proportions frameAspect (width / height) shows under a chosen view: at zoom 1
// the largest rectangle of the frame's proportions (the picture itself when the
// aspect is not kept), divided by the zoom, placed at the centre and then moved
// inside the picture. Empty for an empty picture.
[[nodiscard]] QRectF ViewRect(QSizeF picture, double frameAspect, bool keepAspect, const FrameView &view);

// The same rectangle in whole pixels with rows counted from the bottom, as the
// drawing takes it; always inside the picture and at least 1 x 1.
[[nodiscard]] QRect ViewSource(QSize picture, double frameAspect, bool keepAspect, const FrameView &view);

// The view with its centre moved to the centre of what is shown, so that a
// drag starts from what the user sees.
[[nodiscard]] FrameView ShownView(QSizeF picture, double frameAspect, bool keepAspect, const FrameView &view);

// The view after the picture is dragged by (dx, dy) frame widths and heights
// (the picture follows the mouse), held inside the picture.
[[nodiscard]] FrameView MovedView(QSizeF picture, double frameAspect, bool keepAspect, const FrameView &view,
                                  double dx, double dy);

// The view at another zoom, keeping the picture point under (ax, ay) (0..1
// across the frame) where it is; held inside the picture.
[[nodiscard]] FrameView ZoomedView(QSizeF picture, double frameAspect, bool keepAspect, const FrameView &view,
                                   double zoom, double ax = 0.5, double ay = 0.5);

// The share of the picture's width a placement shows: 1 without a chosen view
// (the quality rule counts the whole width, as it always has). `picture` is
// the stored size; the placement's turn is taken into account.
[[nodiscard]] double ShownWidthShare(QSizeF picture, const Placement &p, bool keepAspect);

// Whether the placement's chosen view decides what it shows: a view is used
// by frames that are filled (a cut, or a stretch when the aspect is not kept).
[[nodiscard]] bool UsesView(const Placement &p, bool keepAspect);
