// The units of an element's columns by name: as an element selects them, as the numbers of an
// imported file are in, or as the import writes them. "" is the column's internal unit.
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "host/ControllerParameters.h"

struct ColumnUnits {
    std::array<std::string, 3> position;  // of X, Y, Z
    std::string speed;
    std::string acceleration;
};

// The unit of a column by its place in the element (kColumnX ... kColumnSpeed), for a
// ColumnUnits or a const one.
template <class Units>
auto& UnitOf(Units& units, std::size_t column) {
    if (column == kColumnAcceleration) return units.acceleration;
    if (column == kColumnSpeed) return units.speed;
    return units.position[column];
}
