#include "output/PrintGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {
// a * b div c in 64 bits, truncated toward zero; c > 0.
int mulDiv(std::int64_t a, std::int64_t b, std::int64_t c) { return int(a * b / c); }

// round(whole * percent / 100) in floating point, halves to even.
int percentOf(int whole, int percent) { return int(std::nearbyint(double(whole) * double(percent) / 100.0)); }

bool empty(QSize s) { return s.width() <= 0 || s.height() <= 0; }
} // namespace

QRect PrintedPictureRect(QSize picture, QSize page, const PrintSizeChoice &choice)
{
    if (empty(picture) || empty(page))
        return {};
    const int w = picture.width(), h = picture.height();
    const int pw = page.width(), ph = page.height();
    int a = pw, b = ph;
    if (choice.UseFull) {
        if (choice.KeepAspect) {
            const int fullWidthHeight = mulDiv(pw, h, w);
            if (ph < fullWidthHeight)
                a = mulDiv(w, ph, h);
            else
                b = fullWidthHeight;
        }
    } else {
        a = percentOf(pw, choice.WidthPercent);
        b = percentOf(ph, choice.HeightPercent);
    }
    int x = 0, y = 0;
    if (choice.Centered) {
        x = (pw - a) / 2;
        y = (ph - b) / 2;
    }
    return QRect(x, y, a, b);
}

PrintPreviewRects PrintPreviewLayout(QSize box, QSize picture, QSize page, const PrintSizeChoice &choice)
{
    PrintPreviewRects r;
    if (empty(page) || empty(box))
        return r;
    const int bw = box.width(), bh = box.height();
    const int pageW = page.width(), pageH = page.height();
    int pw, ph;
    if (pageH < pageW) {
        pw = bw;
        ph = mulDiv(bw, pageH, pageW);
    } else {
        ph = bh;
        pw = mulDiv(bh, pageW, pageH);
    }
    const int left = (bw - pw) / 2, top = (bh - ph) / 2;
    r.Page = QRect(left, top, pw, ph);
    if (empty(picture))
        return r;

    const int w = picture.width(), h = picture.height();
    int cw = pw, ch = ph;
    if (choice.UseFull) {
        if (choice.KeepAspect) {
            if (ph < mulDiv(pw, h, w)) {
                cw = mulDiv(ph, w, h);
            } else {
                ch = mulDiv(pw, h, w);
            }
        }
    } else {
        cw = percentOf(pw, choice.WidthPercent);
        ch = percentOf(ph, choice.HeightPercent);
    }
    if (choice.Centered)
        r.Picture = QRect(left + (pw - cw) / 2, top + (ph - ch) / 2, cw, ch);
    else
        r.Picture = QRect(left, top, cw, ch);
    return r;
}

std::optional<int> CoupledPercent(int percent, int pictureOther, int pictureThis, int pageThis, int pageOther)
{
    if (pictureOther <= 0 || pictureThis <= 0 || pageThis <= 0 || pageOther <= 0)
        return std::nullopt;
    const double x = double(pictureOther) * double(percent) / double(pictureThis) * double(pageThis) /
                     double(pageOther);
    // Limited before the conversion, so a huge ratio cannot overflow the int.
    return int(std::trunc(std::clamp(x, 1.0, 100.0)));
}
