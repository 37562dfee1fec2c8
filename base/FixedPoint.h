// The controller's signed 16.16 fixed point, in which it holds the VACC and VSPD operands: the
// host's value types store through it, and the motion model checks against its range.
#pragma once

#include <cstdint>
#include <limits>

namespace fixedpoint {

inline constexpr double kScale = 65536.0;      // raw steps a unit
inline constexpr double kStep = 1.0 / kScale;  // the smallest value above zero
inline constexpr double kRawMin = std::numeric_limits<std::int32_t>::min();
inline constexpr double kRawMax = std::numeric_limits<std::int32_t>::max();
inline constexpr double kMax = kRawMax / kScale;  // the largest value it holds

}  // namespace fixedpoint
