#include "arrange/IdGuides.h"

#include "arrange/PrintSizes.h"
#include "document/PageGeometry.h"
#include "document/Placement.h"
#include "platform/DeviceContext.h"

#include <cmath>

std::vector<IdGuide> IdGuidesFor(const Placement &p, const PageScale &scale)
{
    std::vector<IdGuide> guides;
    const double w = p.Width * MmPerInch, h = p.Height * MmPerInch;
    const PrintSize *size = MatchIdPhotoSize(w, h);
    const DeviceFrame f = PlacementFrame(p, scale);
    if (!size || f.W <= 0 || f.H <= 0)
        return guides;
    // Upright when the frame has the size's own orientation (squares always are).
    const bool upright = std::abs(w - size->widthMm()) <= std::abs(w - size->heightMm());
    const double height = upright ? h : w;
    const int across = upright ? f.H : f.W;
    for (const IdGuideLine &g : IdGuideLines(size->Id, size->heightMm())) {
        const int at = int(std::lround(g.Y / height * across));
        const QLine line = upright ? QLine(f.X, f.Y + at, f.X + f.W, f.Y + at)
                                   : QLine(f.X + f.W - at, f.Y, f.X + f.W - at, f.Y + f.H);
        guides.push_back({line, int(g.What)});
    }
    return guides;
}

void DrawIdGuides(TDC &dc, const Placement &p, const PageScale &scale)
{
    for (const IdGuide &g : IdGuidesFor(p, scale)) {
        const COLORREF colour = g.Kind == IdGuideLine::Eyes ? RGB(255, 140, 0)
            : g.Kind == IdGuideLine::Chin                  ? RGB(0, 170, 0)
                                                          : RGB(0, 120, 255);
        dc.SetPen(colour);
        dc.MoveTo(g.Line.x1(), g.Line.y1());
        dc.LineTo(g.Line.x2(), g.Line.y2());
    }
}
