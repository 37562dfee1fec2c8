// Whole numbers from computed doubles (cells, buckets, counts of steps): a double outside an
// int's range, infinite or NaN makes the conversion undefined, so it is clamped first.
#pragma once

// x rounded toward zero and clamped to low..high; NaN gives low.
[[nodiscard]] constexpr int ClampedInt(double x, int low, int high) {
    if (!(x > low)) return low;
    if (!(x < high)) return high;
    return static_cast<int>(x);
}
