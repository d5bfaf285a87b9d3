#include "arrange/OrderPacking.h"
#include "arrange/OrderUnits.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <tuple>

using namespace OrderUnits;

namespace {
// Dual-feasible functions on [0, 1], given as length over room in units. For
// any set of lengths that fits into the room side by side, their values sum
// to at most 1; the product of one on widths and one on heights so sums to
// at most 1 over the frames of any one sheet.
struct Dff {
    enum { Identity, Steps, Ends } Family;
    Unit Param; // Steps: k; Ends: the length below which a frame counts as nothing
    double operator()(Unit x, Unit room) const
    {
        switch (Family) {
        case Steps: // x if (k + 1) x is whole, else floor((k + 1) x) / k
            if ((Param + 1) * x % room == 0)
                return double(x) / double(room);
            return double((Param + 1) * x / room) / double(Param);
        case Ends: // 1 above 1 - e, 0 below e, x between
            if (x > room - Param)
                return 1;
            if (x < Param)
                return 0;
            break;
        case Identity:
            break;
        }
        return double(x) / double(room);
    }
};

constexpr std::size_t MaxCuts = 24;

std::vector<Dff> DffsFor(const std::vector<Unit> &lengths, Unit room)
{
    std::vector<Dff> all{{Dff::Identity, 0}};
    for (Unit k = 1; k <= 12; ++k)
        all.push_back({Dff::Steps, k});
    std::set<Unit> cuts;
    for (const Unit x : lengths)
        if (2 * x <= room)
            cuts.insert(x);
    // Any cut is sound; a list of thousands of sizes gets an even sample, so
    // the pairs to try stay few.
    const std::vector<Unit> sorted(cuts.begin(), cuts.end());
    const std::size_t step = sorted.size() / MaxCuts + 1;
    for (std::size_t i = 0; i < sorted.size(); i += step)
        all.push_back({Dff::Ends, sorted[i]});
    return all;
}
} // namespace

int OrderLowerBound(const SheetArea &sheet, const SheetSpacing &spacing, const std::vector<OrderPackItem> &items)
{
    const Room room = RoomOf(sheet, spacing);
    if (room.W <= 0 || room.H <= 0)
        return 0;
    std::map<std::tuple<Unit, Unit, bool>, double> cells;
    std::vector<Unit> widths, heights;
    for (const OrderPackItem &item : items) {
        if (item.Copies <= 0 || !ValidSize(item.Size))
            continue;
        const Unit w = CellUp(item.Size.width() + room.GapMm), h = CellUp(item.Size.height() + room.GapMm);
        // Only the ways a frame fits count: one that fits only turned is always turned.
        const bool asAsked = w <= room.W && h <= room.H, turned = !item.Upright && h <= room.W && w <= room.H;
        if (!asAsked && !turned)
            continue;
        const Unit cw = asAsked ? w : h, ch = asAsked ? h : w;
        cells[std::make_tuple(cw, ch, asAsked && turned)] += std::min(item.Copies, MaxSheetFrames);
        widths.push_back(cw);
        heights.push_back(ch);
        if (asAsked && turned) {
            widths.push_back(ch);
            heights.push_back(cw);
        }
    }
    const std::vector<Dff> fs = DffsFor(widths, room.W), gs = DffsFor(heights, room.H);
    double most = 0;
    for (const Dff &f : fs)
        for (const Dff &g : gs) {
            double sum = 0;
            for (const auto &[cell, copies] : cells) {
                const auto [w, h, mayTurn] = cell;
                double v = f(w, room.W) * g(h, room.H);
                if (mayTurn)
                    v = std::min(v, f(h, room.W) * g(w, room.H));
                sum += copies * v;
            }
            most = std::max(most, sum);
        }
    // Rounding in the sums must never lift the bound past a whole sheet.
    return std::max(OrderAreaLowerBound(sheet, spacing, items), int(std::ceil(most - 1e-7)));
}

int OrderAreaLowerBound(const SheetArea &sheet, const SheetSpacing &spacing, const std::vector<OrderPackItem> &items)
{
    const Room room = RoomOf(sheet, spacing);
    if (room.W <= 0 || room.H <= 0)
        return 0;
    Unit total = 0;
    for (const OrderPackItem &item : items)
        if (item.Copies > 0 && ValidSize(item.Size))
            total += Unit(std::min(item.Copies, MaxSheetFrames)) * CellUp(item.Size.width() + room.GapMm)
                * CellUp(item.Size.height() + room.GapMm);
    const Unit per = room.W * room.H;
    return int((total + per - 1) / per);
}
