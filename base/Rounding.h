// Rounding to whole numbers for the hot loops of long lists, without a library call.
#pragma once

#include <cmath>

// std::floor and std::ceil to whole numbers, for finite values within the range of long long:
// a truncation and a correction.
inline long long FloorToWhole(double x) {
    const auto truncated = static_cast<long long>(x);
    return static_cast<double>(truncated) > x ? truncated - 1 : truncated;
}
inline long long CeilToWhole(double x) {
    const auto truncated = static_cast<long long>(x);
    return static_cast<double>(truncated) < x ? truncated + 1 : truncated;
}

// std::round: halves away from zero, the sign kept (also of a zero), NaN and infinities as
// they are.
inline double RoundHalfAway(double x) {
    constexpr double kAllWhole = 4503599627370496.0;  // 2^52: no fraction from here on
    if (!(std::fabs(x) < kAllWhole)) return x;
    const double truncated = static_cast<double>(static_cast<long long>(x));
    const double rounded =
        std::fabs(x - truncated) >= 0.5 ? truncated + std::copysign(1.0, x) : truncated;
    return std::copysign(rounded, x);
}
