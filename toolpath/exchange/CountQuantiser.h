// The no-drift rule: absolute positions are rounded to whole counts and the increments are
// taken between those, so that every axis's increments add up to its last position in counts
// exactly, however many there are.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "base/Geometry.h"
#include "toolpath/element/UnitConversion.h"
#include "toolpath/exchange/ImportedPath.h"

class CountQuantiser {
  public:
    explicit CountQuantiser(const std::array<CountScale, 3>& scales) : m_scales(scales) {}

    // Moves to position (absolute, in the scales' units) and returns the whole counts moved on
    // each axis since the last position, or nothing when a position lies beyond what counts
    // can hold. The path starts at zero.
    std::optional<Counts> MoveTo(const Vec3& position);
    const Counts& Position() const { return m_position; }

  private:
    std::array<CountScale, 3> m_scales;
    Counts m_position{};
};
