#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

// Conversions and sums that never leave their integer type: values beyond the
// range saturate to its ends, so range tests downstream refuse them.
namespace quarnet::arithmetic {

template <typename Integer>
Integer truncateSaturating(double value)
{
    if (std::isnan(value))
        return 0;
    // Both bounds are powers of two, exact as doubles.
    constexpr double upper = -static_cast<double>(std::numeric_limits<Integer>::min());
    constexpr double lower = static_cast<double>(std::numeric_limits<Integer>::min());
    if (value >= upper)
        return std::numeric_limits<Integer>::max();
    if (value <= lower)
        return std::numeric_limits<Integer>::min();
    return static_cast<Integer>(value); // truncates toward zero
}

inline std::int64_t addSaturating(std::int64_t a, std::int64_t b)
{
    constexpr auto max = std::numeric_limits<std::int64_t>::max();
    constexpr auto min = std::numeric_limits<std::int64_t>::min();
    if (b > 0 && a > max - b)
        return max;
    if (b < 0 && a < min - b)
        return min;
    return a + b;
}

} // namespace quarnet::arithmetic
