#include "arrange/Editing.h"

#include "arrange/Geometry.h"

#include <QCoreApplication>
#include <QLocale>
#include <QPoint>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>

namespace {
using i64 = std::int64_t;

int clampInt(i64 v) { return int(std::clamp<i64>(v, INT_MIN, INT_MAX)); }

bool inZone(i64 px, i64 py, int X, int Y) { return px - 3 <= X && X <= px + 3 && py - 3 <= Y && Y <= py + 3; }
} // namespace

ViewFrame PlacementViewFrame(const Placement &p, int zoom, int screenDpi)
{
    return {Geometry::ToView(p.Left, zoom, screenDpi), Geometry::ToView(p.Top, zoom, screenDpi),
            Geometry::ToView(p.Width, zoom, screenDpi), Geometry::ToView(p.Height, zoom, screenDpi)};
}

int HitTestPlacement(const TDynaArray<Placement> &placements, int page, int X, int Y, int zoom, int screenDpi)
{
    for (int i = placements.size() - 1; i >= 0; --i) {
        const Placement &p = placements.at(i);
        if (p.Page != page)
            continue;
        const ViewFrame f = PlacementViewFrame(p, zoom, screenDpi);
        if (f.L <= X && X <= i64(f.L) + f.W - 1 && f.T <= Y && Y <= i64(f.T) + f.H - 1)
            return i;
    }
    return -1;
}

DragGrip DragGripAt(const ViewFrame &f, int X, int Y)
{
    const i64 x = f.L, y = f.T, w = f.W, h = f.H;
    struct Zone {
        i64 px, py;
        bool grabX, grabY;
    };
    // Same points and order as the selection marks.
    const std::array<Zone, 8> zones{{{x, y, true, true},
                                     {x + w, y, true, true},
                                     {x, y + h, true, true},
                                     {x + w, y + h, true, true},
                                     {x + w / 2, y, false, true},
                                     {x + w / 2, y + h, false, true},
                                     {x, y + h / 2, true, false},
                                     {x + w, y + h / 2, true, false}}};
    for (int i = 0; i < 8; ++i) {
        const Zone &z = zones[std::size_t(i)];
        if (inZone(z.px, z.py, X, Y))
            return {i + 1, z.grabX ? clampInt(X - z.px) : 0, z.grabY ? clampInt(Y - z.py) : 0};
    }
    if (x <= X && X <= x + w && y <= Y && Y <= y + h)
        return {DragMove, clampInt(X - x), clampInt(Y - y)};
    return {};
}

DragStep DragFrame(const ViewFrame &frame, int mode, int mx, int my, QSize view)
{
    i64 L = frame.L, T = frame.T, W = frame.W, H = frame.H;
    switch (mode) {
    case 1:
        W = W + L - mx;
        H = H + T - my;
        L = mx;
        T = my;
        break;
    case 2:
        W = mx - L;
        H = H + T - my;
        T = my;
        break;
    case 3:
        H = my - T;
        W = W + L - mx;
        L = mx;
        break;
    case 4:
        W = mx - L;
        H = my - T;
        break;
    case 5:
        H = H + T - my;
        T = my;
        break;
    case 6:
        H = my - T;
        break;
    case 7:
        W = W + L - mx;
        L = mx;
        break;
    case 8:
        W = mx - L;
        break;
    case DragMove:
        L = mx;
        T = my;
        break;
    default:
        break;
    }
    // Dragged past the opposite edge: continue from that edge.
    if (W < 0) {
        W = -W;
        L -= W;
        switch (mode) {
        case 1: mode = 2; break;
        case 2: mode = 1; break;
        case 3: mode = 4; break;
        case 4: mode = 3; break;
        case 7: mode = 8; break;
        case 8: mode = 7; break;
        default: break;
        }
    }
    if (H < 0) {
        H = -H;
        T -= H;
        switch (mode) {
        case 1: mode = 3; break;
        case 3: mode = 1; break;
        case 2: mode = 4; break;
        case 4: mode = 2; break;
        case 5: mode = 6; break;
        case 6: mode = 5; break;
        default: break;
        }
    }
    // Some part of the frame stays on the view.
    if (L + W - 1 <= 0)
        L = 1 - W;
    if (T + H - 1 <= 0)
        T = 1 - H;
    if (L > view.width() - 1)
        L = view.width() - 1;
    if (T > view.height() - 1)
        T = view.height() - 1;
    return {{clampInt(L), clampInt(T), clampInt(W), clampInt(H)}, mode};
}

void StoreDraggedFrame(Placement &p, const ViewFrame &f, int mode, int zoom, int screenDpi, bool useGrid,
                       double gridMm)
{
    const double keptWidth = p.Width;
    const double keptHeight = p.Height;
    auto stored = [&](int pixels) {
        return Geometry::SnapToGrid(Geometry::FromView(pixels, zoom, screenDpi), useGrid, gridMm);
    };
    p.Left = stored(f.L);
    p.Top = stored(f.T);
    p.Width = stored(f.W);
    p.Height = stored(f.H);
    if (mode == DragMove) {
        // Moving never changes the size, not even by rounding.
        p.Width = keptWidth;
        p.Height = keptHeight;
    }
}

int StripIndexAt(int Y, int stripWidth, int pictureCount)
{
    if (stripWidth <= 0 || Y < 1)
        return -1;
    const i64 pitch = i64(stripWidth) + 2;
    const i64 i = (i64(Y) - 1) / pitch;
    if (i >= pictureCount)
        return -1;
    // Rows i*pitch+1 .. i*pitch+W+1 belong to cell i; the rest of the pitch is the gap.
    return Y <= i * pitch + stripWidth + 1 ? int(i) : -1;
}

QString SizeInfoText(const Placement &p, const QLocale &locale)
{
    QLocale loc = locale;
    loc.setNumberOptions(loc.numberOptions() | QLocale::OmitGroupSeparator);
    auto n = [&loc](double v) { return loc.toString(v, 'f', 2); };
    return QCoreApplication::translate("Editing", "( x: %1inch; y: %2inch ) ( Width: %3inch; Height: %4inch ) ")
        .arg(n(p.Left), n(p.Top), n(p.Width), n(p.Height));
}

QString StripMimeType() { return QStringLiteral("application/x-snapgrid-atlas-strip-picture"); }
