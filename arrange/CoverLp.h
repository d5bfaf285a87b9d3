#pragma once
// The covering linear programme of sheet packing: how many times to use each
// sheet pattern, in fractions, so that every kind of frame is placed as often
// as asked on the fewest sheets. Its prices say what one more frame of each
// kind is worth in sheets, which is what a new pattern must beat.
#include <vector>

struct CoverSolution {
    std::vector<double> Uses;   // per pattern
    std::vector<double> Prices; // per kind, >= 0
    double Sheets = 0;          // the sum of Uses
};

// Minimises the sum of Uses subject to sum over p of patterns[p][k] * Uses[p]
// >= demand[k] for every kind k. Empty Uses when no solution is found: a kind
// asked for that no pattern holds, or more pivots than a small problem needs.
[[nodiscard]] CoverSolution SolveCover(const std::vector<std::vector<int>> &patterns, const std::vector<int> &demand);
