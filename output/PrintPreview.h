#pragma once
// The 1:1 preview of the printout: one inch of paper is one logical inch of
// the screen.
#include "output/PageRender.h"

#include <QImage>
#include <QPoint>
#include <QSize>

class TArrangement;
class TDC;
struct ArrangementOptions;

// The preview's size in screen pixels: the printable area (printer pixels)
// times the screen's over the printer's resolution, per axis, as integer
// quotients. Empty for a resolution of 0 or less; clamped to widget sizes.
[[nodiscard]] QSize PreviewSize(int pageWidth, int pageHeight, int screenDpiX, int screenDpiY, int printerDpiX,
                                int printerDpiY);

// Draws the preview of `page`: a white sheet of `size`, then the page's
// placements at the screen's resolution per axis (font by the horizontal one).
void PaintPreview(TDC &dc, const TArrangement &doc, QSize size, double page, int screenDpiX, int screenDpiY,
                  const ArrangementOptions &options, const PrintSetup &setup,
                  const PictureSupply &supply = PictureSupply(PictureWant::Full));

// A page as a picture for "Save as image...": white paper of the set-up's
// printable area at `dpi` on both axes (sizes as the preview's), the page's
// placements drawn by the rendering rule at that resolution, the pictures
// from `supply` (export hands over pictures made for the image's resolution).
// Null when the size is empty or the image would take more than maxBytes.
[[nodiscard]] QImage RenderPageImage(const TArrangement &doc, double page, int dpi, const ArrangementOptions &options,
                                     const PrintSetup &setup, qint64 maxBytes = qint64(1) << 30,
                                     const PictureSupply &supply = PictureSupply(PictureWant::FullNow));

// Scroll position while the preview is dragged: the point grabbed at `grab`
// (preview pixels) follows the pointer now at `pointer` (preview pixels at the
// current `scroll`); each axis clamped to 0 .. maximum.
[[nodiscard]] QPoint PanScrollPosition(QPoint scroll, QPoint grab, QPoint pointer, QPoint maximum);
