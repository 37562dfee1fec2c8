#include "toolpath/exchange/CountQuantiser.h"

#include <cmath>

namespace {
// Beyond 2^53 a double no longer holds every whole count.
constexpr double kMostCounts = 9007199254740992.0;
}  // namespace

std::optional<Counts> CountQuantiser::MoveTo(const Vec3& position) {
    Counts next{};
    for (size_t axis = 0; axis < 3; ++axis) {
        // Halves round away from zero, as the element's columns round.
        const double counts = std::round(m_scales[axis].ToInternal(position[axis]));
        if (!(std::abs(counts) < kMostCounts)) return std::nullopt;
        next[axis] = static_cast<std::int64_t>(counts);
    }
    Counts moved{};
    for (size_t axis = 0; axis < 3; ++axis) moved[axis] = next[axis] - m_position[axis];
    m_position = next;
    return moved;
}
