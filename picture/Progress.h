#pragma once
// Progress reporting of the long pixel operations: a callback that receives a
// percentage (0..100), called once per row and with 0 before and after.
#include <cstdint>
#include <functional>

using ProgressFn = std::function<void(int)>;

// Percentage for row `row` of `rows`: row * 100 div (rows - 1). A single row is
// both the first and the last, so it reports 100.
[[nodiscard]] inline int RowProgress(int row, int rows)
{
    if (rows <= 1)
        return 100;
    return int(std::int64_t(row) * 100 / (rows - 1));
}

inline void ReportProgress(const ProgressFn &progress, int percent)
{
    if (progress)
        progress(percent);
}
