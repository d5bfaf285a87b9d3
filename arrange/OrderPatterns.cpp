#include "arrange/OrderPatterns.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace OrderUnits {

Pattern SheetFiller::fill(const Way &way, std::vector<int> left, const std::vector<int> &byValue) const
{
    Bin bin(BinW, BinH);
    Pattern out;
    auto spot = [&](int k, Score &score, Box &at) {
        const Kind &kind = Kinds[std::size_t(k)];
        const bool wide = way.Turn == Turning::Wide && !kind.Upright;
        return bin.best(way.Scoring, wide ? kind.H : kind.W, wide ? kind.W : kind.H,
                        way.Turn == Turning::Free && !kind.Upright, score, at);
    };
    if (way.Global) {
        for (;;) {
            int pick = -1;
            Score best;
            Box bestAt;
            for (const int k : byValue) {
                Score s;
                Box at;
                if (left[std::size_t(k)] > 0 && spot(k, s, at) && (pick < 0 || s < best)) {
                    pick = k;
                    best = s;
                    bestAt = at;
                }
            }
            if (pick < 0)
                return out;
            bin.take(bestAt);
            out.push_back({pick, bestAt});
            --left[std::size_t(pick)];
        }
    }
    auto place = [&](int k) {
        Score s;
        Box at;
        while (left[std::size_t(k)] > 0 && spot(k, s, at)) {
            bin.take(at);
            out.push_back({k, at});
            --left[std::size_t(k)];
        }
    };
    if (way.First >= 0)
        place(byValue[std::size_t(way.First)]);
    for (const int k : byValue)
        place(k);
    return out;
}

PatternSearch::PatternSearch(std::vector<Kind> kinds, std::vector<int> counts, Unit binW, Unit binH)
    : Kinds(std::move(kinds)), Counts(std::move(counts)), Filler(Kinds, binW, binH), BinArea(binW * binH),
      Weights(Kinds.size(), 1.0)
{
    // Of all rules and kinds to start with, these found nearly as few
    // sheets for the packing test's classes at a fraction of the work.
    for (const Turning t : {Turning::Free, Turning::Tall, Turning::Wide}) {
        Ways.push_back({Rule::ShortSide, t, -1, true});
        Ways.push_back({Rule::ShortSide, t, -1, false});
        for (int k = 1; k < std::min(int(Kinds.size()), FirstRanks); ++k)
            Ways.push_back({Rule::ShortSide, t, k, false});
    }
    for (std::size_t k = 0; k < Kinds.size(); ++k)
        Caps.push_back(int(BinArea / Kinds[k].area()));
}

std::vector<Pattern> PatternSearch::round()
{
    std::vector<int> byValue(Kinds.size());
    for (std::size_t k = 0; k < byValue.size(); ++k)
        byValue[k] = int(k);
    std::stable_sort(byValue.begin(), byValue.end(), [&](int a, int b) { return value(a) > value(b); });
    std::vector<Pattern> sheets;
    std::vector<int> left = Counts;
    // A sheet's best pattern depends on what is left only up to what one
    // sheet could hold, so while plenty is left it repeats.
    std::map<std::vector<int>, Pattern> known;
    while (std::any_of(left.begin(), left.end(), [](int n) { return n > 0; })) {
        std::vector<int> key(left.size());
        for (std::size_t k = 0; k < left.size(); ++k)
            key[k] = std::min(left[k], Caps[k]);
        auto it = known.find(key);
        if (it == known.end() && spent())
            return {};
        if (it == known.end())
            it = known.emplace(key, bestPattern(key, byValue)).first;
        if (it->second.empty())
            return {}; // cannot happen for sizes that fit; never loop
        for (const Slot &s : it->second)
            --left[std::size_t(s.Kind)];
        sheets.push_back(it->second);
    }
    correct(sheets);
    return sheets;
}

Pattern PatternSearch::bestPattern(const std::vector<int> &left, const std::vector<int> &byValue) const
{
    Pattern best;
    double bestValue = -1;
    for (const Way &w : Ways) {
        Pattern p = Filler.fill(w, left, byValue);
        Work += p.size() + 1;
        double v = 0;
        for (const Slot &s : p)
            v += value(s.Kind);
        if (v > bestValue) {
            bestValue = v;
            best = std::move(p);
        }
    }
    return best;
}

void PatternSearch::correct(const std::vector<Pattern> &sheets)
{
    std::vector<double> sum(Kinds.size(), 0), n(Kinds.size(), 0);
    for (const Pattern &p : sheets) {
        Unit used = 0;
        for (const Slot &s : p)
            used += Kinds[std::size_t(s.Kind)].area();
        const double fill = double(used) / double(BinArea);
        for (const Slot &s : p) {
            sum[std::size_t(s.Kind)] += 1 / (fill * fill);
            n[std::size_t(s.Kind)] += 1;
        }
    }
    ++Round;
    for (std::size_t k = 0; k < Kinds.size(); ++k)
        if (n[k] > 0)
            Weights[k] = (Weights[k] * Round + sum[k] / n[k]) / (Round + 1);
}

ColumnSearch::ColumnSearch(const std::vector<Kind> &kinds, Unit binW, Unit binH)
    : Kinds(kinds), Filler(Kinds, binW, binH)
{
    for (const Turning t : {Turning::Free, Turning::Tall, Turning::Wide}) {
        Ways.push_back({Rule::ShortSide, t, -1, true});
        Ways.push_back({Rule::ShortSide, t, -1, false});
        for (int k = 1; k < std::min(int(Kinds.size()), FirstRanks + 2); ++k)
            Ways.push_back({Rule::ShortSide, t, k, false});
    }
    for (const Kind &k : Kinds)
        Caps.push_back(int(binW * binH / k.area()));
}

std::vector<Pattern> ColumnSearch::solve(std::vector<int> left, const std::vector<Pattern> &start)
{
    for (const Pattern &p : start)
        add(p);
    for (std::size_t k = 0; k < Kinds.size(); ++k) {
        std::vector<int> only(Kinds.size(), 0);
        only[k] = Caps[k];
        add(Filler.fill({Rule::ShortSide, Turning::Free, -1, false}, only, {int(k)}));
    }
    std::vector<Pattern> sheets;
    while (std::any_of(left.begin(), left.end(), [](int n) { return n > 0; })) {
        const CoverSolution lp = priced(left);
        if (lp.Uses.empty() || spent())
            return {};
        bool fixed = false;
        for (std::size_t p = 0; p < lp.Uses.size(); ++p)
            for (int n = int(std::floor(lp.Uses[p] + 1e-6)); n > 0; --n)
                fixed = use(Pool[p], left, sheets) || fixed;
        if (!fixed) {
            const auto most = std::max_element(lp.Uses.begin(), lp.Uses.end()) - lp.Uses.begin();
            if (!use(Pool[std::size_t(most)], left, sheets))
                return {}; // never loop on a pattern that holds nothing left
        }
    }
    return sheets;
}

void ColumnSearch::add(Pattern p)
{
    std::vector<int> counts(Kinds.size(), 0);
    for (const Slot &s : p)
        ++counts[std::size_t(s.Kind)];
    if (!p.empty() && Pool.size() < MaxPool && Known.insert(counts).second) {
        Pool.push_back(std::move(p));
        Counts.push_back(std::move(counts));
    }
}

bool ColumnSearch::use(const Pattern &p, std::vector<int> &left, std::vector<Pattern> &sheets)
{
    Pattern sheet;
    for (const Slot &s : p)
        if (left[std::size_t(s.Kind)] > 0) {
            --left[std::size_t(s.Kind)];
            sheet.push_back(s);
        }
    if (sheet.empty())
        return false;
    sheets.push_back(std::move(sheet));
    return true;
}

CoverSolution ColumnSearch::priced(const std::vector<int> &left)
{
    std::vector<int> room(left.size());
    for (std::size_t k = 0; k < left.size(); ++k)
        room[k] = std::min(left[k], Caps[k]);
    for (int step = 0;; ++step) {
        std::vector<std::vector<int>> trimmed = Counts;
        for (std::vector<int> &c : trimmed)
            for (std::size_t k = 0; k < c.size(); ++k)
                c[k] = std::min(c[k], left[k]);
        CoverSolution lp = SolveCover(trimmed, left);
        Work += trimmed.size() * Kinds.size();
        if (lp.Uses.empty() || step == MaxSteps || spent() || Pool.size() >= MaxPool)
            return lp;
        const std::vector<double> &price = lp.Prices;
        std::vector<int> byPrice(Kinds.size()), byDensity;
        for (std::size_t k = 0; k < byPrice.size(); ++k)
            byPrice[k] = int(k);
        byDensity = byPrice;
        std::stable_sort(byPrice.begin(), byPrice.end(),
                         [&](int a, int b) { return price[std::size_t(a)] > price[std::size_t(b)]; });
        auto density = [&](int k) { return price[std::size_t(k)] / double(Kinds[std::size_t(k)].area()); };
        std::stable_sort(byDensity.begin(), byDensity.end(), [&](int a, int b) { return density(a) > density(b); });
        Pattern best;
        double bestValue = 1 + 1e-6;
        for (const std::vector<int> *order : {&byPrice, &byDensity})
            for (const Way &w : Ways) {
                Pattern p = Filler.fill(w, room, *order);
                Work += p.size() + 1;
                double v = 0;
                for (const Slot &s : p)
                    v += price[std::size_t(s.Kind)];
                if (v > bestValue) {
                    bestValue = v;
                    best = std::move(p);
                }
            }
        const std::size_t before = Pool.size();
        add(std::move(best));
        if (Pool.size() == before)
            return lp;
    }
}

} // namespace OrderUnits
