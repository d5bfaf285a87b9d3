#pragma once
// Cut marks: short thin lines that continue each frame's trim edges into the
// gaps and margins, so a printed sheet can be cut with a ruler. They never
// touch a frame, and a trim line two frames share is marked once.
#include "output/PageScale.h"

#include <QRect>

#include <vector>

class TArrangement;
class TDC;

// How the marks look, in millimetres. Whether a page has them is the
// arrangement's choice.
struct CutMarkStyle {
    double Thickness = 0.15; // line width
    double Length = 3;       // from the frame's corner outwards
    double Offset = 0.5;     // space left between a frame and any mark
};
// The marks for frames (device pixels) as filled device rectangles: at both
// ends of every frame edge, along the edge's line, clipped so that no mark
// pixel lies in or within `offset` pixels of any frame or of a text in
// `texts` (captions, page headers); collinear marks that meet are merged.
// Sizes in device pixels; thickness at least 1.
[[nodiscard]] std::vector<QRect> CutMarkRects(const std::vector<DeviceFrame>& frames, int thickness, int length,
    int offset, const std::vector<QRect>& texts = {});

// The marks of page `page` drawn in black at the scale's resolution, clear of
// the texts (device pixels) the page shows.
void DrawCutMarks(TDC& dc, const TArrangement& doc, double page, const PageScale& scale, const CutMarkStyle& style,
    const std::vector<QRect>& texts = {});
