#include "output/CutMarks.h"

#include "document/Arrangement.h"
#include "document/PageGeometry.h"
#include "platform/DeviceContext.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <utility>

namespace {
using i64 = std::int64_t;

// Beyond this many frames on one page the pairwise clipping would take too
// long; such a page gets no marks.
constexpr std::size_t MaxMarkedFrames = 4000;

struct Span {
    i64 From, To; // half-open
};

// A mark along a line: the band across it and the spans along it.
struct Mark {
    i64 BandFrom, BandTo;
    Span Along;
};

int ToInt(i64 v) { return int(std::clamp<i64>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max())); }

// Removes [cut.From, cut.To) from every span.
void Subtract(std::vector<Span> &spans, Span cut)
{
    std::vector<Span> out;
    out.reserve(spans.size() + 1);
    for (const Span &s : spans) {
        if (cut.To <= s.From || cut.From >= s.To) {
            out.push_back(s);
            continue;
        }
        if (s.From < cut.From)
            out.push_back({s.From, cut.From});
        if (cut.To < s.To)
            out.push_back({cut.To, s.To});
    }
    spans = std::move(out);
}

// Frames kept `offset` clear, as (across, along) spans for marks running along
// x (horizontal) or y (vertical).
struct Keepout {
    Span X, Y;
};

// Clips marks by the keep-outs, then merges marks on the same band that meet.
// Horizontal marks have their band on y and run along x; vertical ones the reverse.
void Collect(const std::vector<Mark> &marks, const std::vector<Keepout> &keepouts, bool horizontal,
             std::vector<QRect> &out)
{
    std::map<std::pair<i64, i64>, std::vector<Span>> byBand;
    for (const Mark &m : marks) {
        std::vector<Span> spans{m.Along};
        for (const Keepout &k : keepouts) {
            const Span across = horizontal ? k.Y : k.X;
            if (across.To <= m.BandFrom || across.From >= m.BandTo)
                continue;
            Subtract(spans, horizontal ? k.X : k.Y);
            if (spans.empty())
                break;
        }
        auto &band = byBand[{m.BandFrom, m.BandTo}];
        band.insert(band.end(), spans.begin(), spans.end());
    }
    for (auto &[band, spans] : byBand) {
        std::sort(spans.begin(), spans.end(), [](const Span &a, const Span &b) { return a.From < b.From; });
        std::vector<Span> merged;
        for (const Span &s : spans) {
            if (!merged.empty() && s.From <= merged.back().To)
                merged.back().To = std::max(merged.back().To, s.To);
            else
                merged.push_back(s);
        }
        for (const Span &s : merged) {
            const QRect r = horizontal
                ? QRect(QPoint(ToInt(s.From), ToInt(band.first)), QPoint(ToInt(s.To - 1), ToInt(band.second - 1)))
                : QRect(QPoint(ToInt(band.first), ToInt(s.From)), QPoint(ToInt(band.second - 1), ToInt(s.To - 1)));
            if (r.isValid())
                out.push_back(r);
        }
    }
}

// Millimetres to device pixels at dpi and zoom, at least `least`.
int Pixels(double mm, int dpi, int zoom, int least)
{
    const double px = mm / MmPerInch * dpi * zoom / 100.0;
    return std::isfinite(px) ? std::max(least, int(std::lround(std::min(px, 1e6)))) : least;
}
} // namespace

std::vector<QRect> CutMarkRects(
    const std::vector<DeviceFrame>& frames, int thickness, int length, int offset, const std::vector<QRect>& texts)
{
    std::vector<QRect> out;
    if (frames.size() > MaxMarkedFrames || length <= 0)
        return out;
    const i64 t = std::max(1, thickness), len = length, off = std::max(0, offset);
    // A trim line at boundary b is a band of t pixels starting t/2 before it.
    auto band = [t](i64 b) { return std::pair<i64, i64>{b - t / 2, b - t / 2 + t}; };
    std::vector<Mark> horizontal, vertical;
    std::vector<Keepout> keepouts;
    for (const DeviceFrame &f : frames) {
        if (f.W <= 0 || f.H <= 0)
            continue;
        const i64 x0 = f.X, y0 = f.Y, x1 = i64(f.X) + f.W, y1 = i64(f.Y) + f.H;
        keepouts.push_back({{x0 - off, x1 + off}, {y0 - off, y1 + off}});
        for (const i64 y : {y0, y1}) {
            const auto [from, to] = band(y);
            horizontal.push_back({from, to, {x0 - off - len, x0 - off}});
            horizontal.push_back({from, to, {x1 + off, x1 + off + len}});
        }
        for (const i64 x : {x0, x1}) {
            const auto [from, to] = band(x);
            vertical.push_back({from, to, {y0 - off - len, y0 - off}});
            vertical.push_back({from, to, {y1 + off, y1 + off + len}});
        }
    }
    for (const QRect& r : texts)
        if (r.isValid() && keepouts.size() < 2 * MaxMarkedFrames)
            keepouts.push_back({ { i64(r.left()) - off, i64(r.right()) + 1 + off },
                { i64(r.top()) - off, i64(r.bottom()) + 1 + off } });
    Collect(horizontal, keepouts, true, out);
    Collect(vertical, keepouts, false, out);
    return out;
}

void DrawCutMarks(TDC& dc, const TArrangement& doc, double page, const PageScale& scale, const CutMarkStyle& style,
    const std::vector<QRect>& texts)
{
    std::vector<DeviceFrame> frames;
    for (int i = 0; i < doc.Placements.size(); ++i) {
        const Placement &p = doc.Placements.at(i);
        if (double(p.Page) == page)
            frames.push_back(PlacementFrame(p, scale));
    }
    const int dpi = std::min(scale.DpiX, scale.DpiY);
    if (frames.empty() || dpi <= 0)
        return;
    const int thickness = Pixels(style.Thickness, dpi, scale.Zoom, 1);
    const int length = Pixels(style.Length, dpi, scale.Zoom, 2);
    const int offset = Pixels(style.Offset, dpi, scale.Zoom, 1);
    for (const QRect& r : CutMarkRects(frames, thickness, length, offset, texts))
        dc.FillRect(RECT{r.left(), r.top(), r.right() + 1, r.bottom() + 1}, RGB(0, 0, 0));
}
