// The names of the units an element's columns are written in.
#pragma once

#include <array>
#include <string>

struct ColumnUnitNames {
    std::array<std::string, 3> position;  // of X, Y, Z
    std::string speed;
    std::string acceleration;
};
