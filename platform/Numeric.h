#pragma once
#include <cmath>
#include <limits>

// Truncation toward zero that stays defined for values no int can hold.
[[nodiscard]] inline int TruncToInt(long double v)
{
    if (std::isnan(v))
        return 0;
    if (v >= static_cast<long double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (v <= static_cast<long double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(v);
}
