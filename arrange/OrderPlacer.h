#pragma once
// The order packing's placer: the free space of a sheet as maximal
// rectangles, and the rules that score a spot for a cell. Only for
// arrange/Order*.cpp.
#include "arrange/OrderUnits.h"

#include <algorithm>
#include <vector>

namespace OrderUnits {
struct Box {
    Unit X = 0, Y = 0, W = 0, H = 0;
    [[nodiscard]] bool contains(const Box &o) const
    {
        return o.X >= X && o.Y >= Y && o.X + o.W <= X + W && o.Y + o.H <= Y + H;
    }
    [[nodiscard]] bool intersects(const Box &o) const
    {
        return o.X < X + W && X < o.X + o.W && o.Y < Y + H && Y < o.Y + o.H;
    }
};

// How frames may be turned in one packing: each where it scores better, or
// all as asked, all tall or all wide (one orientation for a whole sheet of
// one size often fits one more row).
enum class Turning { Free, AsAsked, Tall, Wide };

enum class Rule { ShortSide, Area, BottomLeft };

struct Score {
    Unit A = 0, B = 0;
    bool operator<(const Score &o) const { return A != o.A ? A < o.A : B < o.B; }
};

inline Score Rate(Rule rule, const Box &free, Unit w, Unit h)
{
    const Unit dw = free.W - w, dh = free.H - h;
    switch (rule) {
    case Rule::ShortSide:
        return {std::min(dw, dh), std::max(dw, dh)};
    case Rule::Area:
        return {free.W * free.H - w * h, std::min(dw, dh)};
    case Rule::BottomLeft:
        break;
    }
    return {free.Y + h, free.X};
}

// The free space of one sheet as maximal rectangles: every largest empty
// rectangle is listed, overlapping ones included.
class Bin
{
public:
    Bin(Unit w, Unit h) { Free.push_back({0, 0, w, h}); }

    // The best spot on this sheet for a w x h cell (turned when allowed and
    // better); false when none fits.
    bool best(Rule rule, Unit w, Unit h, bool mayTurn, Score &score, Box &spot) const
    {
        bool found = false;
        for (const Box &f : Free)
            for (int turn = 0; turn < (mayTurn && w != h ? 2 : 1); ++turn) {
                const Unit cw = turn ? h : w, ch = turn ? w : h;
                if (cw > f.W || ch > f.H)
                    continue;
                const Score s = Rate(rule, f, cw, ch);
                if (!found || s < score) {
                    found = true;
                    score = s;
                    spot = {f.X, f.Y, cw, ch};
                }
            }
        return found;
    }

    void take(const Box &used)
    {
        // Reused: a sheet takes dozens of frames, and allocating anew each
        // time dominated the packing.
        std::vector<Box> &kept = Spare, &added = Cut;
        kept.clear();
        added.clear();
        for (const Box &f : Free) {
            if (!f.intersects(used)) {
                kept.push_back(f);
                continue;
            }
            if (used.X > f.X)
                added.push_back({f.X, f.Y, used.X - f.X, f.H});
            if (used.X + used.W < f.X + f.W)
                added.push_back({used.X + used.W, f.Y, f.X + f.W - used.X - used.W, f.H});
            if (used.Y > f.Y)
                added.push_back({f.X, f.Y, f.W, used.Y - f.Y});
            if (used.Y + used.H < f.Y + f.H)
                added.push_back({f.X, used.Y + used.H, f.W, f.Y + f.H - used.Y - used.H});
        }
        // Only the pieces just cut can be inside another rectangle: the rest
        // were maximal before and still are.
        for (std::size_t i = 0; i < added.size(); ++i) {
            bool inside = false;
            for (const Box &k : kept)
                inside = inside || k.contains(added[i]);
            for (std::size_t j = 0; j < added.size() && !inside; ++j)
                inside = j != i && added[j].contains(added[i]) && !(added[i].contains(added[j]) && j > i);
            if (!inside)
                kept.push_back(added[i]);
        }
        Free.swap(kept);
    }

private:
    std::vector<Box> Free, Spare, Cut;
};
} // namespace OrderUnits
