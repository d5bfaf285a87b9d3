#pragma once
// Guide lines over a frame of an ID photo size: where the crown, the chin and
// the eyes belong, so the picture can be moved and scaled in its frame until
// the head fits. Drawn on the screen only, never printed.
#include "output/PageRender.h"

#include <QLine>

#include <vector>

class TDC;
struct Placement;

// The guide lines of placement p in device pixels at scale, across the frame;
// none when the frame is of no ID size. A turned frame (its picture turned a
// quarter turn clockwise) gets them upright, counted from its right edge.
struct IdGuide {
    QLine Line;
    int Kind = 0; // IdGuideLine::Kind
};
[[nodiscard]] std::vector<IdGuide> IdGuidesFor(const Placement &p, const PageScale &scale);
void DrawIdGuides(TDC &dc, const Placement &p, const PageScale &scale);
