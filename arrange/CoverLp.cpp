#include "arrange/CoverLp.h"

#include <cstddef>

namespace {
constexpr double Eps = 1e-9;
} // namespace

// Solved as its dual, which starts feasible at zero prices: maximise
// demand . prices subject to pattern . prices <= 1 for every pattern. The
// uses are then the final objective row under the patterns' slacks. A dense
// tableau with Bland's rule: a few dozen kinds and a few hundred patterns.
CoverSolution SolveCover(const std::vector<std::vector<int>> &patterns, const std::vector<int> &demand)
{
    const std::size_t kinds = demand.size(), rows = patterns.size(), cols = kinds + rows;
    CoverSolution out;
    for (std::size_t k = 0; k < kinds; ++k) {
        bool held = demand[k] <= 0;
        for (std::size_t p = 0; p < rows && !held; ++p)
            held = patterns[p].size() == kinds && patterns[p][k] > 0;
        if (!held)
            return out;
    }
    const std::size_t width = cols + 1;
    std::vector<double> t(rows * width, 0.0), z(width, 0.0);
    std::vector<std::size_t> basis(rows);
    for (std::size_t p = 0; p < rows; ++p) {
        for (std::size_t k = 0; k < kinds; ++k)
            t[p * width + k] = patterns[p][k];
        t[p * width + kinds + p] = 1;
        t[p * width + cols] = 1;
        basis[p] = kinds + p;
    }
    for (std::size_t k = 0; k < kinds; ++k)
        z[k] = -double(demand[k]);

    const std::size_t maxPivots = 4 * cols + 50;
    for (std::size_t pivots = 0;; ++pivots) {
        if (pivots > maxPivots)
            return out;
        std::size_t enter = cols;
        for (std::size_t c = 0; c < cols && enter == cols; ++c)
            if (z[c] < -Eps)
                enter = c;
        if (enter == cols)
            break;
        std::size_t leave = rows;
        double ratio = 0;
        for (std::size_t r = 0; r < rows; ++r) {
            const double a = t[r * width + enter];
            if (a <= Eps)
                continue;
            const double q = t[r * width + cols] / a;
            if (leave == rows || q < ratio - Eps || (q <= ratio + Eps && basis[r] < basis[leave])) {
                leave = r;
                ratio = q;
            }
        }
        if (leave == rows)
            return out; // unbounded: cannot happen once every kind is held
        double *pivotRow = &t[leave * width];
        const double a = pivotRow[enter];
        for (std::size_t c = 0; c < width; ++c)
            pivotRow[c] /= a;
        auto eliminate = [&](double *row) {
            const double f = row[enter];
            if (f == 0)
                return;
            for (std::size_t c = 0; c < width; ++c)
                row[c] -= f * pivotRow[c];
        };
        for (std::size_t r = 0; r < rows; ++r)
            if (r != leave)
                eliminate(&t[r * width]);
        eliminate(z.data());
        basis[leave] = enter;
    }
    out.Prices.assign(kinds, 0.0);
    for (std::size_t r = 0; r < rows; ++r)
        if (basis[r] < kinds)
            out.Prices[basis[r]] = t[r * width + cols];
    out.Uses.resize(rows);
    for (std::size_t p = 0; p < rows; ++p) {
        out.Uses[p] = z[kinds + p] > 0 ? z[kinds + p] : 0;
        out.Sheets += out.Uses[p];
    }
    return out;
}
