#pragma once
// The order packing by patterns. Frames of one size that turn alike are
// interchangeable, so sheets are filled from counts of kinds and the orders
// matched to the places afterwards. Only for arrange/Order*.cpp.
#include "arrange/CoverLp.h"
#include "arrange/OrderPlacer.h"

#include <set>
#include <vector>

namespace OrderUnits {
struct Kind {
    Unit W, H; // turnable kinds tall
    bool Upright;
    Unit area() const { return W * H; }
};

struct Slot {
    int Kind;
    Box Cell;
};
using Pattern = std::vector<Slot>;

// One way of filling a sheet: the rule, how turnable kinds lie, and either
// one kind placed first (First: its rank by value) and then the rest by
// value, or at each step the kind and spot that score best (Global).
struct Way {
    Rule Scoring;
    Turning Turn;
    int First;
    bool Global;
};
constexpr int FirstRanks = 2;

class SheetFiller
{
public:
    SheetFiller(const std::vector<Kind> &kinds, Unit binW, Unit binH) : Kinds(kinds), BinW(binW), BinH(binH) {}

    // byValue: kinds most valuable first.
    Pattern fill(const Way &way, std::vector<int> left, const std::vector<int> &byValue) const;

private:
    const std::vector<Kind> &Kinds;
    Unit BinW, BinH;
};

// Sheets filled one by one, each with the way that packs the most value of
// what is left. A kind's value is its area times its weight; weights grow
// for kinds that ended up on poorly filled sheets, so the next round places
// them earlier (sequential value correction).
class PatternSearch
{
public:
    PatternSearch(std::vector<Kind> kinds, std::vector<int> counts, Unit binW, Unit binH);

    // One round: the sheets' patterns, then the weights corrected for the
    // next. Empty once the budget is spent.
    std::vector<Pattern> round();

    // Frames placed so far in all trials: past a budget the search gives up,
    // so thousands of tiny frames in many sizes cannot keep it going long.
    [[nodiscard]] bool spent() const { return Work > WorkBudget; }

private:
    static constexpr std::size_t WorkBudget = 500'000;

    double value(int k) const { return Weights[std::size_t(k)] * double(Kinds[std::size_t(k)].area()); }

    Pattern bestPattern(const std::vector<int> &left, const std::vector<int> &byValue) const;

    void correct(const std::vector<Pattern> &sheets);

    std::vector<Kind> Kinds;
    std::vector<int> Counts, Caps;
    SheetFiller Filler;
    Unit BinArea;
    std::vector<double> Weights;
    std::vector<Way> Ways;
    int Round = 0;
    mutable std::size_t Work = 0;
};

// Column generation: the sheets' patterns as a covering programme, each step
// adding the pattern that the programme's prices value most, until none is
// worth more than a sheet. Patterns used whole are then fixed as sheets (the
// most used one once when none is) and what is left solved again; over a
// class's few sizes this finds sheets the greedy rounds leave half empty.
class ColumnSearch
{
public:
    ColumnSearch(const std::vector<Kind> &kinds, Unit binW, Unit binH);

    // The sheets holding counts, starting from the given patterns; empty
    // when the work budget ran out first.
    std::vector<Pattern> solve(std::vector<int> left, const std::vector<Pattern> &start);

private:
    static constexpr std::size_t WorkBudget = 400'000, MaxPool = 300;
    static constexpr int MaxSteps = 40;

    [[nodiscard]] bool spent() const { return Work > WorkBudget; }

    void add(Pattern p);

    // One sheet of the pattern, its places for kinds no longer asked left
    // out; false when it holds nothing still asked.
    static bool use(const Pattern &p, std::vector<int> &left, std::vector<Pattern> &sheets);

    // The programme over the pool, patterns priced in until none pays.
    CoverSolution priced(const std::vector<int> &left);

    const std::vector<Kind> &Kinds;
    SheetFiller Filler;
    std::vector<int> Caps;
    std::vector<Way> Ways;
    std::vector<Pattern> Pool;
    std::vector<std::vector<int>> Counts;
    std::set<std::vector<int>> Known;
    std::size_t Work = 0;
};
} // namespace OrderUnits
