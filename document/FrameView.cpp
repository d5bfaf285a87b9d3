#include "document/FrameView.h"

#include <algorithm>
#include <cmath>

namespace {
double held(double v, double lo, double hi, double nan) { return std::isnan(v) ? nan : std::clamp(v, lo, hi); }

// The rectangle shown at zoom 1, in picture pixels.
QSizeF baseSize(QSizeF picture, double frameAspect, bool keepAspect)
{
    if (!keepAspect || !(frameAspect > 0) || !std::isfinite(frameAspect))
        return picture;
    if (picture.width() > picture.height() * frameAspect)
        return QSizeF(picture.height() * frameAspect, picture.height());
    return QSizeF(picture.width(), picture.width() / frameAspect);
}
} // namespace

QSize TurnedSize(QSize picture, int turns) { return (turns & 1) ? picture.transposed() : picture; }

QRectF UnturnedRect(const QRectF &t, QSizeF picture, int turns)
{
    // Rows counted from the bottom: a clockwise quarter turn takes the stored
    // point (x, y) to (y, W - x).
    const double W = picture.width(), H = picture.height();
    switch (turns & 3) {
    case 1:
        return QRectF(W - t.bottom(), t.left(), t.height(), t.width());
    case 2:
        return QRectF(W - t.right(), H - t.bottom(), t.width(), t.height());
    case 3:
        return QRectF(t.top(), H - t.right(), t.height(), t.width());
    default:
        return t;
    }
}

QRect UnturnedRect(const QRect &turned, QSize picture, int turns)
{
    return UnturnedRect(QRectF(turned), QSizeF(picture), turns).toRect();
}

double FrameSideAlongWidth(const Placement &p) { return (p.Turn & 1) ? p.Height : p.Width; }

FrameView HeldView(const FrameView &view)
{
    return FrameView{held(view.CentreX, 0, 1, 0.5), held(view.CentreY, 0, 1, 0.5), held(view.Zoom, 1, MaxViewZoom, 1)};
}

QRectF ViewRect(QSizeF picture, double frameAspect, bool keepAspect, const FrameView &view)
{
    if (!(picture.width() > 0) || !(picture.height() > 0))
        return {};
    const FrameView v = view.chosen() ? HeldView(view) : CentredView();
    const QSizeF base = baseSize(picture, frameAspect, keepAspect);
    const double w = std::min(base.width() / v.Zoom, picture.width());
    const double h = std::min(base.height() / v.Zoom, picture.height());
    const double x = std::clamp(v.CentreX * picture.width() - w / 2, 0.0, picture.width() - w);
    const double y = std::clamp(v.CentreY * picture.height() - h / 2, 0.0, picture.height() - h);
    return QRectF(x, y, w, h);
}

QRect ViewSource(QSize picture, double frameAspect, bool keepAspect, const FrameView &view)
{
    const int W = picture.width(), H = picture.height();
    if (W <= 0 || H <= 0)
        return {};
    const QRectF r = ViewRect(QSizeF(picture), frameAspect, keepAspect, view);
    // Both edges rounded, so neighbouring views share their edges.
    auto span = [](double from, double to, int limit, int &start, int &size) {
        start = std::clamp(int(std::lround(from)), 0, limit - 1);
        size = std::clamp(int(std::lround(to)) - start, 1, limit - start);
    };
    int x = 0, w = 0, top = 0, h = 0;
    span(r.left(), r.right(), W, x, w);
    span(r.top(), r.bottom(), H, top, h);
    return QRect(x, H - top - h, w, h);
}

FrameView ShownView(QSizeF picture, double frameAspect, bool keepAspect, const FrameView &view)
{
    const QRectF r = ViewRect(picture, frameAspect, keepAspect, view);
    if (r.isEmpty())
        return view.chosen() ? HeldView(view) : CentredView();
    const double zoom = view.chosen() ? HeldView(view).Zoom : 1;
    return FrameView{r.center().x() / picture.width(), r.center().y() / picture.height(), zoom};
}

FrameView MovedView(QSizeF picture, double frameAspect, bool keepAspect, const FrameView &view, double dx, double dy)
{
    const QRectF r = ViewRect(picture, frameAspect, keepAspect, view);
    if (r.isEmpty() || !std::isfinite(dx) || !std::isfinite(dy))
        return ShownView(picture, frameAspect, keepAspect, view);
    // The picture follows the mouse: what is shown moves the other way.
    const FrameView moved{(r.center().x() - dx * r.width()) / picture.width(),
                          (r.center().y() - dy * r.height()) / picture.height(),
                          view.chosen() ? HeldView(view).Zoom : 1};
    return ShownView(picture, frameAspect, keepAspect, moved);
}

FrameView ZoomedView(QSizeF picture, double frameAspect, bool keepAspect, const FrameView &view, double zoom,
                     double ax, double ay)
{
    const QRectF r = ViewRect(picture, frameAspect, keepAspect, view);
    const double z = held(zoom, 1, MaxViewZoom, 1);
    if (r.isEmpty())
        return HeldView(FrameView{0.5, 0.5, z});
    ax = held(ax, 0, 1, 0.5);
    ay = held(ay, 0, 1, 0.5);
    const QPointF anchor(r.left() + ax * r.width(), r.top() + ay * r.height());
    const double scale = (view.chosen() ? HeldView(view).Zoom : 1) / z;
    const double w = r.width() * scale, h = r.height() * scale;
    const FrameView zoomed{(anchor.x() - ax * w + w / 2) / picture.width(),
                           (anchor.y() - ay * h + h / 2) / picture.height(), z};
    return ShownView(picture, frameAspect, keepAspect, zoomed);
}

bool UsesView(const Placement &p, bool keepAspect) { return p.View.chosen() && (p.Cut != 0 || !keepAspect); }

double ShownWidthShare(QSizeF picture, const Placement &p, bool keepAspect)
{
    if (!UsesView(p, keepAspect) || !(picture.width() > 0) || !(p.Height > 0))
        return 1;
    const QSizeF shown = (p.Turn & 1) ? picture.transposed() : picture;
    const QRectF r = ViewRect(shown, p.Width / p.Height, keepAspect, p.View);
    if (r.isEmpty())
        return 1;
    return (p.Turn & 1) ? r.height() / shown.height() : r.width() / shown.width();
}
