#include "document/Options.h"

#include <QString>

#include <algorithm>
#include <cmath>

double EditValue(double v, double lo, double hi)
{
    if (!std::isfinite(v))
        return lo;
    // The spin edit's own rounding: through its two-decimal text.
    const double rounded = QString::number(v, 'f', 2).toDouble();
    return std::clamp(rounded, lo, hi);
}

ArrangementOptions NormalisedOptions(const ArrangementOptions &o)
{
    using namespace OptionRange;
    ArrangementOptions n = o;
    n.Zoom = std::clamp(o.Zoom, ZoomMin, ZoomMax);
    n.Rand = EditValue(o.Rand, 0, MarginMax);
    n.Space = EditValue(o.Space, 0, MarginMax);
    n.Grid = EditValue(o.Grid, GridMin, GridMax);
    n.DBreite = EditValue(o.DBreite, 0, SizeMax);
    n.DHoche = EditValue(o.DHoche, 0, SizeMax);
    const double quality = std::isfinite(o.MinQual) ? o.MinQual : double(MinQualMin);
    n.MinQual = int(std::clamp(quality, double(MinQualMin), double(MinQualMax)));
    return n;
}

bool operator==(const TCaptionFont &a, const TCaptionFont &b)
{
    return a.Name == b.Name && a.Size == b.Size && a.Charset == b.Charset && a.Color == b.Color && a.Pitch == b.Pitch
        && a.PixelsPerInch == b.PixelsPerInch && a.Style == b.Style;
}

bool operator==(const ArrangementOptions &a, const ArrangementOptions &b)
{
    return a.ShowFNames == b.ShowFNames && a.Sverh == b.Sverh && a.Zoom == b.Zoom && a.Rand == b.Rand
        && a.Space == b.Space && a.Transp == b.Transp && a.BkColor == b.BkColor && a.CutDefault == b.CutDefault
        && a.EnhanceQual == b.EnhanceQual && a.UseGrid == b.UseGrid && a.ShowGrid == b.ShowGrid
        && a.MinQual == b.MinQual && a.DBreite == b.DBreite && a.DHoche == b.DHoche && a.Grid == b.Grid
        && a.Font == b.Font && a.CutMarks == b.CutMarks && a.Captions == b.Captions;
}
